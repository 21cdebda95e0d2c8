#include "lis/DalToolWaveformDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/DalToolWaveformDlgIds.h"
#include "res/StringTable.h"

using namespace lis::recognise;

namespace {

constexpr unsigned kMaxReceivers = 32;
constexpr float kMaxPeriod = 2048.0f;

} // namespace

CDalToolWaveformDlg::CDalToolWaveformDlg() : CWavePickDlg(kIddDalToolWaveform, 0)
{
    using namespace dal_tool_waveform;
    for (int r = 0; r < kRows; ++r) {
        On(kSetWaves[r], Notify::Clicked, [this, r] { OnSetWave(r); });
        On(kClearWaves[r], Notify::Clicked, [this, r] { OnClearWave(r); });
    }
    On(kIdcSetGain, Notify::Clicked, [this] { OnSetGain(); });
    On(kIdcClearGain, Notify::Clicked, [this] { OnClearGain(); });
    On(kIdcSetStart, Notify::Clicked, [this] { OnSetStart(); });
    On(kIdcClearStart, Notify::Clicked, [this] { OnClearStart(); });
    On(kIdcTransfer, Notify::Clicked, [this] { OnTransfer(); });
    On(kIdcClearWave, Notify::Clicked, [this] { OnClearFromWaveList(); });
    On(kIdcWaveList, Notify::DblClick, [this] { OnClearFromWaveList(); });
}

void CDalToolWaveformDlg::ClearPicks()
{
    for (auto& w : m_waves) w.clear();
    m_waveKeys.fill(-1);
    m_gain.clear();
    m_start.clear();
    m_gainKey = m_startKey = -1;
}

bool CDalToolWaveformDlg::OnInitDialog()
{
    ClearPicks();
    m_receivers = 0;
    m_samplePeriod = 0;
    m_transmitter = kNoTransmitter;
    BeginPicking();
    CDialog::OnInitDialog();
    FillDatumList(kIdcDatumList);
    return true;
}

void CDalToolWaveformDlg::DoDataExchange(DataExchange& dx)
{
    if (!dx.Saving()) SetItemText(kIdcDataSet, "Data Set: " + m_dataSetName);
    dx.Text(kIdcSamplePeriod, m_samplePeriod);
    dx.MinMax(m_samplePeriod, 0.0f, kMaxPeriod);
    for (int r = 0; r < kRows; ++r) dx.Text(dal_tool_waveform::kWaveFields[r], m_waves[size_t(r)]);
    dx.Text(kIdcGain, m_gain);
    dx.Text(kIdcReceivers, m_receivers);
    dx.MinMax(m_receivers, 0u, kMaxReceivers);
    dx.Radio(kIdcNear, m_transmitter);
    dx.Text(kIdcStart, m_start);
}

void CDalToolWaveformDlg::OnSetWave(int row)
{
    PickChannel(kIdcDatumList, dal_tool_waveform::kWaveFields[row], m_waveKeys[size_t(row)]);
}

void CDalToolWaveformDlg::OnClearWave(int row)
{
    m_waveKeys[size_t(row)] = -1;
    m_waves[size_t(row)].clear();
    SetItemText(dal_tool_waveform::kWaveFields[row], "");
}

void CDalToolWaveformDlg::OnSetGain() { PickChannel(kIdcDatumList, kIdcGain, m_gainKey); }

void CDalToolWaveformDlg::OnClearGain()
{
    if (!UpdateData(true)) return;
    m_gainKey = -1;
    m_gain.clear();
    UpdateData(false);
}

void CDalToolWaveformDlg::OnSetStart() { PickChannel(kIdcDatumList, kIdcStart, m_startKey); }

void CDalToolWaveformDlg::OnClearStart()
{
    if (!UpdateData(true)) return;
    m_startKey = -1;
    m_start.clear();
    UpdateData(false);
}

void CDalToolWaveformDlg::OnTransfer()
{
    if (!UpdateData(true)) return;
    for (int r = 0; r < kRows; ++r)
        if (!ChannelOfKey(m_waveKeys[size_t(r)])) {
            MessageBox(Format("Please pick a Wave%d name from the Datum List     ", r + 1), MB_OK);
            return;
        }
    if (!CheckTransferFields(m_samplePeriod, m_receivers, m_transmitter != kNoTransmitter,
                             "Please Select a Transmitter     "))
        return;
    const CLisChannelItem* gain = ChannelOfKey(m_gainKey);
    if (NeedsDatum(gain, "Gain Datum")) return;
    const CLisChannelItem* start = ChannelOfKey(m_startKey);
    if (NeedsDatum(start, "Start Time Datum")) return;

    const CLisChannelItem& first = *ChannelOfKey(m_waveKeys[0]);
    const std::string label = m_transmitter == kNear ? "DALNEAR" : "DALFAR";
    auto item = NewWaveform(uint32_t(m_waveKeys[0]), kDal, label, ItemTypeOfLabel(kDal, label),
                            LoadString(kIdsWaveMonopole), m_receivers, m_samplePeriod);
    NameAfter(*item, first);
    item->m_samplesPerWaveform = uint16_t(first.SampleCount());
    for (int64_t key : m_waveKeys)
        if (auto copy = TakeChannel(key)) item->m_waveChannels.push_back(std::move(copy));
    if (gain) SliceElements(item->m_gainChannels, *gain, "GN", m_receivers);
    if (start) SliceElements(item->m_startTimeChannels, *start, "ST", m_receivers);
    m_picked.push_back(std::move(item));
    FillWaveList(kIdcWaveList);

    ClearPicks();
    m_receivers = 0;
    m_samplePeriod = 0;
    m_transmitter = kNoTransmitter;
    UpdateData(false);
}

void CDalToolWaveformDlg::OnClearFromWaveList()
{
    if (!RemoveSelectedWaveform(kIdcWaveList)) return;
    for (int r = 0; r < kRows; ++r) OnClearWave(r);
    m_gainKey = m_startKey = -1;
    m_gain.clear();
    m_start.clear();
    SetItemText(kIdcGain, "");
    SetItemText(kIdcStart, "");
    FillWaveList(kIdcWaveList);
}
