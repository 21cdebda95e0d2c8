#include "lis/PickApxWaveformsDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Host.h"
#include "res/PickApxWaveformsDlgIds.h"
#include "res/StringTable.h"

using namespace lis::recognise;

namespace {

constexpr unsigned kMaxReceivers = 32;
constexpr float kMaxPeriod = 2048.0f;

// A packed APX datum's traces are named after its mnemonic less its first character
// when it has four.
std::string ApxStem(const std::string& mnemonic) { return mnemonic.size() == 4 ? mnemonic.substr(1) : mnemonic; }

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

void CPickApxWaveformsDlg::OnAddWave() { AddWaveDatum(kIdcDatumList, kIdcWaveDatums); }

void CPickApxWaveformsDlg::OnRemoveWave()
{
    if (ControlState* datums = Item(kIdcWaveDatums)) RemoveWaveDatum(*datums);
}

void CPickApxWaveformsDlg::OnSetGain() { PickChannel(kIdcDatumList, kIdcGain, m_gainKey); }

void CPickApxWaveformsDlg::OnClearGain() { ClearPick(kIdcGain, m_gainKey); }

void CPickApxWaveformsDlg::OnTransfer()
{
    if (!UpdateData(true)) return;
    ControlState* datums = PickedWaveDatums(kIdcWaveDatums);
    if (!datums || !CheckTransferFields(m_samplePeriod, m_receivers, m_mnemonic != kNoMnemonic,
                                        "Please Select a Waveform Mnemonic     "))
        return;
    const int count = datums->Count();
    const CLisChannelItem* gain = ChannelOfKey(m_gainKey);
    if (NeedsDatum(gain, "Gain Datum")) return;

    const bool quad = m_mnemonic == kWqud;
    const std::string label = quad ? "APXQUAD" : "APXMONO";
    auto item = NewWaveform(m_nextKey++, kApx, label, ItemTypeOfLabel(kApx, label),
                            LoadString(quad ? kIdsWaveQuadrupole : kIdsWaveMonopole), m_receivers, m_samplePeriod);
    TakeWaveDatums(*datums, *item, ApxStem);
    // Per-receiver datums take a gain element each; a packed datum one per receiver.
    if (gain) SliceElements(item->m_gainChannels, *gain, "GN", count > 1 ? unsigned(count) : m_receivers);
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
