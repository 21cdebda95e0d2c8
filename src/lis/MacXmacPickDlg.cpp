#include "lis/MacXmacPickDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Host.h"
#include "res/MacXmacPickDlgIds.h"
#include "res/StringTable.h"

#include <iterator>

using namespace lis::recognise;

namespace {

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

CMacXmacPickDlg::CMacXmacPickDlg() : CWaveDatumPickDlg(kIddMacXmacPick)
{
    On(kIdcSetStart, Notify::Clicked, [this] { OnSetStart(); });
    On(kIdcClearStart, Notify::Clicked, [this] { OnClearStart(); });
}

bool CMacXmacPickDlg::OnInitDialog()
{
    m_start.clear();
    m_startKey = -1;
    return CWaveDatumPickDlg::OnInitDialog();
}

void CMacXmacPickDlg::DoDataExchange(DataExchange& dx)
{
    ExchangeSharedFields(dx);
    dx.Text(kIdcStart, m_start);
    dx.Radio(kIdcWmno, m_mnemonic);
}

void CMacXmacPickDlg::OnSetStart() { PickChannel(kIdcDatumList, kIdcStart, m_startKey); }

void CMacXmacPickDlg::OnClearStart() { ClearPick(kIdcStart, m_startKey); }

void CMacXmacPickDlg::OnTransfer()
{
    ControlState* datums = nullptr;
    CLisChannelItem* gain = nullptr;
    if (!CheckTransfer(kWaveformCount, datums, gain)) return;
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
