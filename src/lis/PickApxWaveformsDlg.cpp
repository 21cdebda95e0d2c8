#include "lis/PickApxWaveformsDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

using namespace lis::recognise;

namespace {

constexpr unsigned kMaxReceivers = 32;
constexpr float kMaxPeriod = 2048.0f;

} // namespace

CPickApxWaveformsDlg::CPickApxWaveformsDlg() : CWavePickDlg(kIddPickApxWaveforms, 1)
{
    On(kIdcAddWave, Notify::Clicked, [this] { OnAddWave(); });
    On(kIdcRemoveWave, Notify::Clicked, [this] { OnRemoveWave(); });
    On(kIdcWaveDatums, Notify::DblClick, [this] { OnRemoveWave(); });
    On(kIdcSetGain, Notify::Clicked, [this] { OnSetGain(); });
    On(kIdcClearGain, Notify::Clicked, [this] { OnClearGain(); });
    On(kIdcTransfer, Notify::Clicked, [this] { OnTransfer(); });
    On(kIdcClearWave, Notify::Clicked, [this] { OnClearWave(); });
    On(kIdcWaveList, Notify::DblClick, [this] { OnClearWave(); });
}

bool CPickApxWaveformsDlg::OnInitDialog()
{
    m_gain.clear();
    m_receivers = 0;
    m_samplePeriod = 0;
    m_mnemonic = kNoMnemonic;
    m_gainKey = -1;
    BeginPicking();
    CDialog::OnInitDialog();
    FillDatumList(kIdcDatumList);
    return true;
}

void CPickApxWaveformsDlg::DoDataExchange(DataExchange& dx)
{
    if (!dx.Saving()) SetItemText(kIdcDataSet, "Data Set: " + m_dataSetName);
    dx.Text(kIdcGain, m_gain);
    dx.Text(kIdcReceivers, m_receivers);
    dx.MinMax(m_receivers, 0u, kMaxReceivers);
    dx.Text(kIdcSamplePeriod, m_samplePeriod);
    dx.MinMax(m_samplePeriod, 0.0f, kMaxPeriod);
    dx.Radio(kIdcWmno, m_mnemonic);
}

void CPickApxWaveformsDlg::OnAddWave()
{
    const int64_t key = SelectedKey(kIdcDatumList);
    const CLisChannelItem* channel = ChannelOfKey(key);
    ControlState* datums = Item(kIdcWaveDatums);
    if (!channel || !datums) return;
    datums->SetItemData(datums->AddString(channel->m_mnemonic), key);
}

void CPickApxWaveformsDlg::OnRemoveWave()
{
    if (ControlState* datums = Item(kIdcWaveDatums)) RemoveWaveDatum(*datums);
}

void CPickApxWaveformsDlg::OnSetGain()
{
    const int64_t key = SelectedKey(kIdcDatumList);
    const CLisChannelItem* channel = ChannelOfKey(key);
    if (!channel) return;
    m_gainKey = key;
    SetItemText(kIdcGain, channel->m_mnemonic);
}

void CPickApxWaveformsDlg::OnClearGain()
{
    m_gainKey = -1;
    SetItemText(kIdcGain, "");
}

void CPickApxWaveformsDlg::OnTransfer()
{
    if (!UpdateData(true)) return;
    ControlState* datums = Item(kIdcWaveDatums);
    const int count = datums ? datums->Count() : 0;
    if (count == 0) {
        MessageBox("Please pick a Wave name from the Datum List     ", MB_OK);
        return;
    }
    if (m_samplePeriod == 0.0f) {
        MessageBox("Please Enter a Sample Perod     ", MB_OK);
        return;
    }
    if (m_receivers == 0) {
        MessageBox("Please Enter a Number of Receivers     ", MB_OK);
        return;
    }
    if (m_mnemonic == kNoMnemonic) {
        MessageBox("Please Select a Waveform Mnemonic     ", MB_OK);
        return;
    }
    const CLisChannelItem* gain = ChannelOfKey(m_gainKey);
    if (!gain && MessageBox("Does this Waveform need a Gain Datum?     ", MB_YESNO) == IDYES) return;

    auto item = std::make_unique<CWaveformPickItem>();
    item->m_key = m_nextKey++;
    item->m_toolName = kApx;
    const bool quad = m_mnemonic == kWqud;
    item->m_mnemonic = LoadString(quad ? kIdsWaveQuadrupole : kIdsWaveMonopole);
    item->m_itemLabel = quad ? "APXQUAD" : "APXMONO";
    item->m_typeCode = ItemTypeOfLabel(kApx, item->m_itemLabel);
    item->m_category = 1;
    item->m_receiverCount = uint16_t(m_receivers);
    item->m_traceCount = item->m_receiverCount;
    item->m_samplePeriod = m_samplePeriod;

    const CLisChannelItem* first = ChannelOfKey(datums->ItemData(0));
    if (first) {
        item->m_waveformName = first->m_mnemonic;
        item->m_displayName = first->m_mnemonic + " - " + item->m_itemLabel;
    }
    if (count > 1) {
        // A datum per receiver, in the order picked.
        for (int i = 0; i < count; ++i)
            if (auto copy = TakeChannel(datums->ItemData(i))) item->m_waveChannels.push_back(std::move(copy));
        if (first) item->m_samplesPerWaveform = uint16_t(first->SampleCount());
        if (gain) SliceElements(item->m_gainChannels, *gain, "GN", unsigned(count));
    } else if (first) {
        // One datum holding every receiver's trace one after another.
        ChannelOfKey(datums->ItemData(0))->m_used = 1;
        const unsigned samples = first->m_size / (m_receivers * unsigned(first->BytesPerSample()));
        item->m_samplesPerWaveform = uint16_t(samples);
        const std::string& m = first->m_mnemonic;
        SliceTraces(item->m_waveChannels, *first, m.size() == 4 ? m.substr(1) : m, m_receivers, samples, true);
        if (gain) SliceElements(item->m_gainChannels, *gain, "GN", m_receivers);
    }
    m_picked.push_back(std::move(item));
    FillWaveList(kIdcWaveList);

    datums->ResetContent();
    m_gain.clear();
    m_gainKey = -1;
    m_receivers = 0;
    m_samplePeriod = 0;
    m_mnemonic = kNoMnemonic;
    UpdateData(false);
}

void CPickApxWaveformsDlg::OnClearWave()
{
    if (!RemoveSelectedWaveform(kIdcWaveList)) return;
    OnClearGain();
    if (ControlState* datums = Item(kIdcWaveDatums)) datums->ResetContent();
    FillWaveList(kIdcWaveList);
}
