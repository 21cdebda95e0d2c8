#include "lis/WavePickDlg.h"

#include "platform/Format.h"
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
