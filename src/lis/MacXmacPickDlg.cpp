#include "lis/MacXmacPickDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <iterator>

using namespace lis::recognise;

namespace {

constexpr unsigned kMaxReceivers = 32;
constexpr float kMaxPeriod = 2048.0f;

// The waveforms of the mnemonic choice, in radio order: label and QTX mnemonic.
struct Waveform {
    const char* label;
    unsigned mnemonicId;
};
constexpr Waveform kWaveforms[] = {
    {"XMACMONO", 61248}, {"XMACDXX", 61249}, {"XMACDXY", 61250}, {"XMACDYX", 61251}, {"XMACDYY", 61252},
};
constexpr int kWaveformCount = int(std::size(kWaveforms));

} // namespace

CMacXmacPickDlg::CMacXmacPickDlg() : CWavePickDlg(kIddMacXmacPick, 1)
{
    On(kIdcAddWave, Notify::Clicked, [this] { OnAddWave(); });
    On(kIdcRemoveWave, Notify::Clicked, [this] { OnRemoveWave(); });
    On(kIdcWaveDatums, Notify::DblClick, [this] { OnRemoveWave(); });
    On(kIdcSetGain, Notify::Clicked, [this] { OnSetGain(); });
    On(kIdcClearGain, Notify::Clicked, [this] { OnClearGain(); });
    On(kIdcSetStart, Notify::Clicked, [this] { OnSetStart(); });
    On(kIdcClearStart, Notify::Clicked, [this] { OnClearStart(); });
    On(kIdcTransfer, Notify::Clicked, [this] { OnTransfer(); });
    On(kIdcClearWave, Notify::Clicked, [this] { OnClearWave(); });
}

bool CMacXmacPickDlg::OnInitDialog()
{
    m_gain.clear();
    m_start.clear();
    m_receivers = 0;
    m_samplePeriod = 0;
    m_mnemonic = -1;
    m_gainKey = m_startKey = -1;
    BeginPicking();
    CDialog::OnInitDialog();
    FillDatumList(kIdcDatumList);
    return true;
}

void CMacXmacPickDlg::DoDataExchange(DataExchange& dx)
{
    if (!dx.Saving()) SetItemText(kIdcDataSet, "Data Set: " + m_dataSetName);
    dx.Text(kIdcGain, m_gain);
    dx.Text(kIdcReceivers, m_receivers);
    dx.MinMax(m_receivers, 0u, kMaxReceivers);
    dx.Text(kIdcSamplePeriod, m_samplePeriod);
    dx.MinMax(m_samplePeriod, 0.0f, kMaxPeriod);
    dx.Text(kIdcStart, m_start);
    dx.Radio(kIdcWmno, m_mnemonic);
}

void CMacXmacPickDlg::OnAddWave()
{
    const int64_t key = SelectedKey(kIdcDatumList);
    const CLisChannelItem* channel = ChannelOfKey(key);
    ControlState* datums = Item(kIdcWaveDatums);
    if (!channel || !datums) return;
    datums->SetItemData(datums->AddString(channel->m_mnemonic), key);
}

void CMacXmacPickDlg::OnRemoveWave()
{
    if (ControlState* datums = Item(kIdcWaveDatums)) RemoveWaveDatum(*datums);
}

void CMacXmacPickDlg::OnSetGain()
{
    const int64_t key = SelectedKey(kIdcDatumList);
    if (const CLisChannelItem* channel = ChannelOfKey(key)) {
        m_gainKey = key;
        SetItemText(kIdcGain, channel->m_mnemonic);
    }
}

void CMacXmacPickDlg::OnClearGain()
{
    m_gainKey = -1;
    SetItemText(kIdcGain, "");
}

void CMacXmacPickDlg::OnSetStart()
{
    const int64_t key = SelectedKey(kIdcDatumList);
    if (const CLisChannelItem* channel = ChannelOfKey(key)) {
        m_startKey = key;
        SetItemText(kIdcStart, channel->m_mnemonic);
    }
}

void CMacXmacPickDlg::OnClearStart()
{
    m_startKey = -1;
    SetItemText(kIdcStart, "");
}

void CMacXmacPickDlg::OnTransfer()
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
    if (m_mnemonic < 0 || m_mnemonic >= kWaveformCount) {
        MessageBox("Please Select a Waveform Mnemonic     ", MB_OK);
        return;
    }
    CLisChannelItem* gain = ChannelOfKey(m_gainKey);
    if (!gain && MessageBox("Does this Waveform need a Gain Datum?     ", MB_YESNO) == IDYES) return;
    CLisChannelItem* start = ChannelOfKey(m_startKey);
    if (!start && MessageBox("Does this Waveform need a Start Datum?     ", MB_YESNO) == IDYES) return;
    if (gain) gain->m_used = 1;
    if (start) start->m_used = 1;

    const Waveform& kind = kWaveforms[m_mnemonic];
    auto item = std::make_unique<CWaveformPickItem>();
    item->m_key = m_nextKey++;
    item->m_mnemonic = LoadString(kind.mnemonicId);
    item->m_itemLabel = kind.label;
    item->m_typeCode = ItemTypeOfLabel(kXmac, kind.label);
    item->m_toolName = kXmac;
    item->m_category = 1;
    item->m_receiverCount = uint16_t(m_receivers);
    item->m_traceCount = item->m_receiverCount;
    item->m_samplePeriod = m_samplePeriod;

    CLisChannelItem* first = ChannelOfKey(datums->ItemData(0));
    if (first) {
        item->m_waveformName = first->m_mnemonic;
        item->m_displayName = first->m_mnemonic + " - " + kind.label;
    }
    if (count > 1) {
        // A datum per receiver, in the order picked.
        for (int r = 0; r < count; ++r)
            if (auto copy = TakeChannel(datums->ItemData(r))) item->m_waveChannels.push_back(std::move(copy));
        if (first) item->m_samplesPerWaveform = uint16_t(first->SampleCount());
    } else if (first) {
        // One datum holding every receiver's trace one after another.
        first->m_used = 1;
        const unsigned samples = first->m_size / (m_receivers * unsigned(first->BytesPerSample()));
        item->m_samplesPerWaveform = uint16_t(samples);
        SliceTraces(item->m_waveChannels, *first, ReceiverStem(first->m_mnemonic), m_receivers, samples, true);
    }
    if (gain) SliceElements(item->m_gainChannels, *gain, "GN", m_receivers);
    if (start) SliceElements(item->m_startTimeChannels, *start, "ST", m_receivers);
    m_picked.push_back(std::move(item));
    FillWaveList(kIdcWaveList);

    datums->ResetContent();
    m_gain.clear();
    m_start.clear();
    m_gainKey = m_startKey = -1;
    UpdateData(false);
}

void CMacXmacPickDlg::OnClearWave()
{
    if (!RemoveSelectedWaveform(kIdcWaveList)) return;
    FillWaveList(kIdcWaveList);
    FillDatumList(kIdcDatumList);
}
