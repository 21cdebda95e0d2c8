#include "lis/PickApxWaveformsDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "platform/Host.h"
#include "res/PickApxWaveformsDlgIds.h"
#include "res/StringTable.h"

using namespace lis::recognise;

namespace {

// A packed APX datum's traces are named after its mnemonic less its first character
// when it has four.
std::string ApxStem(const std::string& mnemonic) { return mnemonic.size() == 4 ? mnemonic.substr(1) : mnemonic; }

} // namespace

CPickApxWaveformsDlg::CPickApxWaveformsDlg() : CWaveDatumPickDlg(kIddPickApxWaveforms)
{
    On(kIdcWaveList, Notify::DblClick, [this] { OnClearWave(); });
}

void CPickApxWaveformsDlg::DoDataExchange(DataExchange& dx)
{
    ExchangeSharedFields(dx);
    dx.Radio(kIdcWmno, m_mnemonic);
}

void CPickApxWaveformsDlg::OnTransfer()
{
    ControlState* datums = nullptr;
    CLisChannelItem* gain = nullptr;
    if (!CheckTransfer(kWqud + 1, datums, gain)) return;
    const int count = datums->Count();

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
