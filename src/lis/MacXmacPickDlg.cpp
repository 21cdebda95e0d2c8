#include "lis/MacXmacPickDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Host.h"
#include "res/MacXmacPickDlgIds.h"
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

void CMacXmacPickDlg::OnAddWave() { AddWaveDatum(kIdcDatumList, kIdcWaveDatums); }

void CMacXmacPickDlg::OnRemoveWave()
{
    if (ControlState* datums = Item(kIdcWaveDatums)) RemoveWaveDatum(*datums);
}

void CMacXmacPickDlg::OnSetGain() { PickChannel(kIdcDatumList, kIdcGain, m_gainKey); }

void CMacXmacPickDlg::OnClearGain() { ClearPick(kIdcGain, m_gainKey); }

void CMacXmacPickDlg::OnSetStart() { PickChannel(kIdcDatumList, kIdcStart, m_startKey); }

void CMacXmacPickDlg::OnClearStart() { ClearPick(kIdcStart, m_startKey); }

void CMacXmacPickDlg::OnTransfer()
{
    if (!UpdateData(true)) return;
    ControlState* datums = PickedWaveDatums(kIdcWaveDatums);
    if (!datums || !CheckTransferFields(m_samplePeriod, m_receivers, m_mnemonic >= 0 && m_mnemonic < kWaveformCount,
                                        "Please Select a Waveform Mnemonic     "))
        return;
    CLisChannelItem* gain = ChannelOfKey(m_gainKey);
    if (NeedsDatum(gain, "Gain Datum")) return;
    CLisChannelItem* start = ChannelOfKey(m_startKey);
    if (NeedsDatum(start, "Start Datum")) return;
    if (gain) gain->m_used = 1;
    if (start) start->m_used = 1;

    const Waveform& kind = kWaveforms[m_mnemonic];
    auto item = NewWaveform(m_nextKey++, kXmac, kind.label, ItemTypeOfLabel(kXmac, kind.label),
                            LoadString(kind.mnemonicId), m_receivers, m_samplePeriod);
    TakeWaveDatums(*datums, *item, ReceiverStem);
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
