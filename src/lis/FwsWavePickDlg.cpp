#include "lis/FwsWavePickDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/FwsWavePickDlgIds.h"
#include "res/StringTable.h"

#include <algorithm>

using namespace lis::recognise;

namespace {

constexpr unsigned kMinOtherPeriod = 1;
constexpr unsigned kMaxOtherPeriod = 256;
constexpr unsigned kReceivers = 4;
constexpr const char* kLabel = "FWSMONO";

} // namespace

CFwsWavePickDlg::CFwsWavePickDlg() : CWavePickDlg(kIddFwsWavePick, 0)
{
    using namespace fws_pick;
    for (int r = 0; r < kRows; ++r) {
        On(kSetWaves[r], Notify::Clicked, [this, r] { OnSetWave(r); });
        On(kSetGains[r], Notify::Clicked, [this, r] { OnSetGain(r); });
        On(kClearRows[r], Notify::Clicked, [this, r] { OnClearRow(r); });
    }
    On(kIdcPacked, Notify::Clicked, [this] { OnWaveformType(); });
    On(kIdcIndividual, Notify::Clicked, [this] { OnWaveformType(); });
    for (int id : {kIdc4us, kIdc8us, kIdcOther}) On(id, Notify::Clicked, [this] { UpdateData(true); });
    On(kIdcTransfer, Notify::Clicked, [this] { OnTransfer(); });
    On(kIdcClearWaveList, Notify::Clicked, [this] { OnClearWaveList(); });
    On(kIdcWaveList, Notify::DblClick, [this] { OnClearWaveList(); });
}

void CFwsWavePickDlg::ClearRows()
{
    for (auto& s : m_waves) s.clear();
    for (auto& s : m_gains) s.clear();
    m_waveKeys.fill(-1);
    m_gainKeys.fill(-1);
}

bool CFwsWavePickDlg::OnInitDialog()
{
    ClearRows();
    m_waveformType = kPacked;
    m_periodChoice = -1;
    BeginPicking();
    CDialog::OnInitDialog();
    FillDatumList(kIdcDatumList);
    EnableRows();
    return true;
}

void CFwsWavePickDlg::DoDataExchange(DataExchange& dx)
{
    using namespace fws_pick;
    if (!dx.Saving()) SetItemText(kIdcDataSet, "Data Set: " + m_dataSetName);
    for (int r = 0; r < kRows; ++r) {
        dx.Text(kGainFields[r], m_gains[size_t(r)]);
        dx.Text(kWaveFields[r], m_waves[size_t(r)]);
    }
    dx.Radio(kIdc4us, m_periodChoice);
    // The range of "Other" is checked by the transfer: clicking a radio button takes the
    // typed values and must not complain of a period not typed yet.
    dx.Text(kIdcOtherPeriod, m_otherPeriod);
    dx.Radio(kIdcPacked, m_waveformType);
}

void CFwsWavePickDlg::EnableRows()
{
    // A packed datum holds every receiver: only R1 takes one.
    using namespace fws_pick;
    const bool individual = m_waveformType == kIndividual;
    for (int r = 1; r < kRows; ++r)
        for (int id : {kWaveFields[r], kGainFields[r], kSetWaves[r], kSetGains[r], kClearRows[r]})
            EnableItem(id, individual);
}

void CFwsWavePickDlg::OnWaveformType()
{
    UpdateData(true);
    EnableRows();
}

void CFwsWavePickDlg::OnSetWave(int row)
{
    PickChannel(kIdcDatumList, fws_pick::kWaveFields[row], m_waveKeys[size_t(row)]);
}

void CFwsWavePickDlg::OnSetGain(int row)
{
    PickChannel(kIdcDatumList, fws_pick::kGainFields[row], m_gainKeys[size_t(row)]);
}

void CFwsWavePickDlg::OnClearRow(int row)
{
    // Picking took no channel yet, so clearing frees none: a channel another waveform
    // holds stays its.
    m_waveKeys[size_t(row)] = m_gainKeys[size_t(row)] = -1;
    m_waves[size_t(row)].clear();
    m_gains[size_t(row)].clear();
    SetItemText(fws_pick::kWaveFields[row], "");
    SetItemText(fws_pick::kGainFields[row], "");
}

void CFwsWavePickDlg::OnTransfer()
{
    if (!UpdateData(true)) return;
    const bool individual = m_waveformType == kIndividual;
    auto picked = [this](const std::array<int64_t, kRows>& keys) {
        return int(std::count_if(keys.begin(), keys.end(), [this](int64_t k) { return ChannelOfKey(k) != nullptr; }));
    };
    if (individual) {
        if (picked(m_waveKeys) < kRows) {
            MessageBox(Format("Please pick a Wave name from the Datum List - %d Required", kRows), MB_OK);
            return;
        }
        const int gains = picked(m_gainKeys);
        if (gains > 0 && gains < kRows) {
            MessageBox(Format("There should be either 0 or %d Gain mnemonics", kRows), MB_OK);
            return;
        }
    } else if (!ChannelOfKey(m_waveKeys[0])) {
        MessageBox(kPickAWave, MB_OK);
        return;
    }
    if (m_periodChoice < kChoice4us || m_periodChoice > kChoiceOther) {
        MessageBox("Please select a Sample Period", MB_OK);
        return;
    }
    if (m_periodChoice == kChoiceOther && (m_otherPeriod < kMinOtherPeriod || m_otherPeriod > kMaxOtherPeriod)) {
        MessageBox(Format("Please enter an integer between %u and %u.", kMinOtherPeriod, kMaxOtherPeriod), MB_OK);
        SetFocus(kIdcOtherPeriod);
        return;
    }

    CLisChannelItem& first = *ChannelOfKey(m_waveKeys[0]);
    const float period =
        m_periodChoice == kChoice4us ? 4.0f : m_periodChoice == kChoice8us ? 8.0f : float(m_otherPeriod);
    auto item = NewWaveform(uint32_t(m_waveKeys[0]), kFws, kLabel, ItemTypeOfLabel(kNoTool, kLabel),
                            LoadString(kIdsWaveMonopole), kReceivers, period);
    NameAfter(*item, first);
    if (individual) {
        item->m_samplesPerWaveform = uint16_t(first.SampleCount());
        for (int64_t key : m_waveKeys)
            if (auto copy = TakeChannel(key)) item->m_waveChannels.push_back(std::move(copy));
    } else {
        first.m_used = 1;
        const unsigned samples = first.m_size / (kReceivers * unsigned(first.BytesPerSample()));
        item->m_samplesPerWaveform = uint16_t(samples);
        SliceTraces(item->m_waveChannels, first, ReceiverStem(first.m_mnemonic), kReceivers, samples, false);
    }
    for (int64_t key : m_gainKeys)
        if (auto copy = TakeChannel(key)) item->m_gainChannels.push_back(std::move(copy));
    m_picked.push_back(std::move(item));
    FillWaveList(kIdcWaveList);
    ClearRows();
    UpdateData(false);
}

void CFwsWavePickDlg::OnClearWaveList()
{
    if (RemoveSelectedWaveform(kIdcWaveList)) FillWaveList(kIdcWaveList);
}
