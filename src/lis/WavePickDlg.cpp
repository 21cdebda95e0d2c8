#include "lis/WavePickDlg.h"

#include "lis/LisRecognise.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/DialogTemplates.h"

#include <algorithm>

CWavePickDlg::CWavePickDlg(int templateId, int keyBase) : CDialog(DialogTemplateFor(templateId)), m_keyBase(keyBase) {}

std::string CWavePickDlg::DatumText(const CLisChannelItem& channel)
{
    return Format("%s %s  - %d Samples", channel.m_mnemonic.c_str(), channel.m_units.c_str(), channel.SampleCount());
}

std::string CWavePickDlg::WaveLine(const CWaveformPickItem& item)
{
    if (item.m_category == 1) {
        std::string first = item.m_waveChannels.empty() ? std::string() : item.m_waveChannels.front()->m_mnemonic;
        if (!first.empty()) first.pop_back();
        return Format("%s - %s  %s %d Rcvr, %d @ %4.1f  ", first.c_str(), item.m_mnemonic.c_str(),
                      item.m_itemLabel.c_str(), int(item.m_receiverCount), int(item.m_samplesPerWaveform),
                      double(item.m_samplePeriod));
    }
    return Format("%s  %s %d @ %4.1f  ", item.m_mnemonic.c_str(), item.m_itemLabel.c_str(),
                  int(item.m_samplesPerWaveform), double(item.m_samplePeriod));
}

void CWavePickDlg::RemoveWaveDatum(ControlState& list)
{
    if (list.Count() == 1)
        list.DeleteString(0);
    else if (list.CurSel() >= 0)
        list.DeleteString(list.CurSel());
}

void CWavePickDlg::BeginPicking()
{
    m_usedAtStart.clear();
    for (size_t i = 0; i < m_channelList.size(); ++i) {
        m_usedAtStart.push_back(m_channelList[i]->m_used);
        m_channelList[i]->m_index = uint32_t(int64_t(i) + m_keyBase);
    }
}

void CWavePickDlg::OnCancel()
{
    for (size_t i = 0; i < m_channelList.size() && i < m_usedAtStart.size(); ++i)
        m_channelList[i]->m_used = m_usedAtStart[i];
    m_channelList.clear();
    CDialog::OnCancel();
}

void CWavePickDlg::FillDatumList(int listId)
{
    ControlState* list = Item(listId);
    if (!list) return;
    list->ResetContent();
    for (size_t i = 0; i < m_channelList.size(); ++i) {
        const CLisChannelItem& c = *m_channelList[i];
        if (c.m_used) continue;
        list->SetItemData(list->AddString(DatumText(c)), int64_t(i) + m_keyBase);
    }
}

void CWavePickDlg::FillWaveList(int listId)
{
    ControlState* list = Item(listId);
    if (!list) return;
    list->ResetContent();
    for (const auto& item : m_picked) list->SetItemData(list->AddString(WaveLine(*item)), item->m_key);
}

CLisChannelItem* CWavePickDlg::ChannelOfKey(int64_t key) const
{
    const int64_t i = key - m_keyBase;
    return i >= 0 && i < int64_t(m_channelList.size()) ? m_channelList[size_t(i)] : nullptr;
}

int64_t CWavePickDlg::SelectedKey(int listId) const
{
    const ControlState* list = Item(listId);
    return list && list->CurSel() >= 0 ? list->ItemData(list->CurSel()) : -1;
}

std::unique_ptr<CLisChannelItem> CWavePickDlg::TakeChannel(int64_t key)
{
    CLisChannelItem* channel = ChannelOfKey(key);
    if (!channel) return nullptr;
    channel->m_used = 1;
    auto copy = std::make_unique<CLisChannelItem>(*channel);
    copy->m_index = uint32_t(key);
    return copy;
}

bool CWavePickDlg::RemoveSelectedWaveform(int waveListId)
{
    const int64_t key = SelectedKey(waveListId);
    if (key < 0) return false;
    const auto found = std::find_if(m_picked.begin(), m_picked.end(),
                                    [key](const auto& item) { return int64_t(item->m_key) == key; });
    if (found == m_picked.end()) return false;
    const std::unique_ptr<CWaveformPickItem> removed = std::move(*found);
    m_picked.erase(found);
    // A gain or start-time channel may serve several waveforms: it stays taken while
    // one of them remains.
    auto held = [this](uint32_t index) {
        for (const auto& item : m_picked)
            for (const CLisChannelList* list : {&item->m_waveChannels, &item->m_gainChannels, &item->m_startTimeChannels})
                for (const auto& c : *list)
                    if (c->m_index == index) return true;
        return false;
    };
    for (const CLisChannelList* list : {&removed->m_waveChannels, &removed->m_gainChannels, &removed->m_startTimeChannels})
        for (const auto& c : *list)
            if (CLisChannelItem* channel = ChannelOfKey(c->m_index); channel && !held(c->m_index)) channel->m_used = 0;
    return true;
}

void CWavePickDlg::PickChannel(int listId, int fieldId, int64_t& key)
{
    const int64_t selected = SelectedKey(listId);
    if (const CLisChannelItem* channel = ChannelOfKey(selected)) {
        key = selected;
        SetItemText(fieldId, channel->m_mnemonic);
    }
}

void CWavePickDlg::ClearPick(int fieldId, int64_t& key)
{
    key = -1;
    SetItemText(fieldId, "");
}

void CWavePickDlg::AddWaveDatum(int listId, int waveDatumsId)
{
    const int64_t key = SelectedKey(listId);
    const CLisChannelItem* channel = ChannelOfKey(key);
    ControlState* datums = Item(waveDatumsId);
    if (!channel || !datums) return;
    datums->SetItemData(datums->AddString(channel->m_mnemonic), key);
}

ControlState* CWavePickDlg::PickedWaveDatums(int waveDatumsId)
{
    ControlState* datums = Item(waveDatumsId);
    if (datums && datums->Count() > 0) return datums;
    MessageBox(kPickAWave, MB_OK);
    return nullptr;
}

bool CWavePickDlg::CheckTransferFields(float period, unsigned receivers, bool chosen, const char* chooseMessage)
{
    const char* missing = period == 0.0f ? "Please Enter a Sample Perod     "
                          : receivers == 0 ? "Please Enter a Number of Receivers     "
                          : !chosen        ? chooseMessage
                                           : nullptr;
    if (!missing) return true;
    MessageBox(missing, MB_OK);
    return false;
}

bool CWavePickDlg::NeedsDatum(const CLisChannelItem* channel, const char* what)
{
    return !channel && MessageBox(Format("Does this Waveform need a %s?     ", what), MB_YESNO) == IDYES;
}

std::unique_ptr<CWaveformPickItem> CWavePickDlg::NewWaveform(uint32_t key, const std::string& tool,
                                                             const std::string& label, uint8_t typeCode,
                                                             const std::string& mnemonic, unsigned receivers,
                                                             float period)
{
    auto item = std::make_unique<CWaveformPickItem>();
    item->m_key = key;
    item->m_toolName = tool;
    item->m_itemLabel = label;
    item->m_typeCode = typeCode;
    item->m_mnemonic = mnemonic;
    item->m_category = 1;
    item->m_receiverCount = uint16_t(receivers);
    item->m_traceCount = item->m_receiverCount;
    item->m_samplePeriod = period;
    return item;
}

void CWavePickDlg::NameAfter(CWaveformPickItem& item, const CLisChannelItem& first)
{
    item.m_waveformName = first.m_mnemonic;
    item.m_displayName = first.m_mnemonic + " - " + item.m_itemLabel;
}

void CWavePickDlg::TakeWaveDatums(const ControlState& datums, CWaveformPickItem& item,
                                  std::string (*stemOf)(const std::string&))
{
    const int count = datums.Count();
    CLisChannelItem* first = count > 0 ? ChannelOfKey(datums.ItemData(0)) : nullptr;
    if (first) NameAfter(item, *first);
    if (count > 1) {
        // A datum per receiver, in the order picked.
        for (int r = 0; r < count; ++r)
            if (auto copy = TakeChannel(datums.ItemData(r))) item.m_waveChannels.push_back(std::move(copy));
        if (first) item.m_samplesPerWaveform = uint16_t(first->SampleCount());
    } else if (first) {
        // One datum holding every receiver's trace one after another.
        first->m_used = 1;
        const unsigned receivers = item.m_receiverCount;
        const unsigned samples = first->m_size / (receivers * unsigned(first->BytesPerSample()));
        item.m_samplesPerWaveform = uint16_t(samples);
        lis::recognise::SliceTraces(item.m_waveChannels, *first, stemOf(first->m_mnemonic), receivers, samples, true);
    }
}
