#include "common/QtxFileDlg.h"

#include "common/PathLabel.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Format.h"
#include "res/DialogTemplates.h"
#include "res/QtxFileDlgIds.h"

namespace {

constexpr const char* kTabNames[] = {"Time", "Frequency", "Slowness", "Azimuth", "Semb Map", "Traces"};

// Slowness axes are in microseconds per foot (unit code 2) or per metre.
const char* SlownessUnit(uint8_t unit) { return unit == 2 ? "[uSec/ft]" : "[uSec/m]"; }

template <typename Item> void AppendTo(std::vector<CQtxItem*>& out, const CQtxItemList<Item>& list)
{
    for (const auto& item : list) out.push_back(item.get());
}

template <typename Item> Item& NewItem(CQtxItemList<Item>& list, const CQtxDatum& d, std::string unitText)
{
    auto item = std::make_unique<Item>();
    item->m_mnemonic = d.m_mnemonic;
    item->m_unitText = std::move(unitText);
    item->m_typeCode = d.m_typeCode;
    item->m_datumNumber = d.m_datumNumber;
    item->m_offset = d.m_offset;
    list.push_back(std::move(item));
    return *list.back();
}

// Waveform-like items: one axis sampled over several traces.
void TakeAxis(CQtxFrequencyItem& item, const CQtxDatum& d)
{
    item.m_step = d.m_axis1.m_step;
    item.m_sampleCount = d.m_axis1.m_sampleCount;
    item.m_traceCount = d.m_traceCount;
}

} // namespace

std::string CQtxTimeItem::ListLine() const
{
    return Format("%s  %d @ %4.1f  [uSec]", m_mnemonic.c_str(), int(m_sampleCount), double(m_step));
}

std::string CQtxFrequencyItem::ListLine() const
{
    // A frequency item is a waveform seen through its spectrum: the line shows its time sampling.
    return Format("%s  %d @ %4.1f  [uSec]", m_mnemonic.c_str(), int(m_sampleCount), double(m_step));
}

std::string CQtxSlownessItem::ListLine() const
{
    return Format("%s  %d @ %6.3f  %s", m_mnemonic.c_str(), int(m_sampleCount), double(m_step), m_unitText.c_str());
}

std::string CQtxAzimuthItem::ListLine() const
{
    return Format("%s  %d @ %6.1f  [deg]", m_mnemonic.c_str(), int(m_sampleCount), double(m_step));
}

std::string CQtxSembMapItem::ListLine() const
{
    return Format("%s  %dx%d @ %6.3f  %s", m_mnemonic.c_str(), int(m_sampleCount2), int(m_sampleCount),
                  double(m_step), m_unitText.c_str());
}

std::string CQtxTraceItem::ListLine() const
{
    const std::string line = Format("%s  %s", m_mnemonic.c_str(), m_unitText.c_str());
    if (m_valueCount < 2) return line;
    return line + Format("  (%u values a frame: the log shows the one at the frame's depth)", unsigned(m_valueCount));
}

CQtxFileDlg::CQtxFileDlg() : CDialog(DialogTemplateFor(kIddQtxFile))
{
    On(kIdcAdd, Notify::Clicked, [this] { OnAdd(); });
    On(kIdcFound, Notify::DblClick, [this] { OnAdd(); });
    On(kIdcRemove, Notify::Clicked, [this] { OnRemove(); });
    On(kIdcSelected, Notify::DblClick, [this] { OnRemove(); });
    On(kIdcSelectAll, Notify::Clicked, [this] { OnSelectAll(); });
    On(kIdcClearAll, Notify::Clicked, [this] { OnClearAll(); });
    On(kIdcTab, Notify::SelChange, [this] { OnSelchangeTab(); });
    On(kIdcFound, Notify::SelChange, [this] { OnSelchangeFound(); });
    On(kIdcSelected, Notify::SelChange, [this] { OnSelchangeSelected(); });
    On(kIdcHelp, Notify::Clicked, [] {}); // the dialog has no help page
}

std::vector<CQtxItem*> CQtxFileDlg::Items(int tab) const
{
    std::vector<CQtxItem*> out;
    switch (tab) {
    case kTabTime: AppendTo(out, m_timeItems); break;
    case kTabFrequency: AppendTo(out, m_frequencyItems); break;
    case kTabSlowness: AppendTo(out, m_slownessItems); break;
    case kTabAzimuth: AppendTo(out, m_azimuthItems); break;
    case kTabSembMap: AppendTo(out, m_sembMapItems); break;
    case kTabTraces: AppendTo(out, m_traceItems); break;
    default: break;
    }
    return out;
}

std::vector<CQtxItem*> CQtxFileDlg::SelectedItems(int tab) const
{
    std::vector<CQtxItem*> out;
    for (CQtxItem* item : Items(tab))
        if (item->m_selected == 1) out.push_back(item);
    return out;
}

void CQtxFileDlg::ClearItems()
{
    m_timeItems.clear();
    m_frequencyItems.clear();
    m_slownessItems.clear();
    m_azimuthItems.clear();
    m_sembMapItems.clear();
    m_traceItems.clear();
}

bool CQtxFileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcFileName, ShortenPath("File name : ", m_fileName));
    SetItemText(kIdcStartDepth, ShortenPath("Start depth : ", m_startDepth));
    SetItemText(kIdcStopDepth, ShortenPath("Stop depth : ", m_stopDepth));
    SetItemText(kIdcDepthStep, ShortenPath("Depth step : ", m_depthStep));
    SetItemText(kIdcDepthUnits, ShortenPath("Depth units : ", m_depthUnits));
    SetItemText(kIdcDepthFrames, ShortenPath("Depth frames : ", m_depthFrames));
    if (!m_allowSelectAll) EnableItem(kIdcSelectAll, false);

    m_currentTab = ClampTab(m_startTab);
    if (ControlState* tabs = Item(kIdcTab)) {
        tabs->ResetContent();
        for (const char* name : kTabNames) tabs->AddString(name);
        tabs->SetCurSel(m_currentTab - 1);
    }

    ClearItems();
    SortDatums();
    FillFound();
    FillSelected();
    m_foundIndex = -1;
    m_selectedIndex = -1;
    return true;
}

void CQtxFileDlg::SortDatums()
{
    if (!m_datums) return;
    for (const auto& datum : *m_datums) {
        const CQtxDatum& d = *datum;
        switch (d.m_category) {
        case 1: { // a waveform is listed both under Time and under Frequency
            auto& time = NewItem(m_timeItems, d, "[uSec]");
            time.m_unit = d.m_axis1.m_unit;
            time.m_step = d.m_axis1.m_step;
            time.m_sampleCount = d.m_axis1.m_sampleCount;
            time.m_traceCount = d.m_traceCount;
            TakeAxis(NewItem(m_frequencyItems, d, "[Hz]"), d);
            break;
        }
        case 3: TakeAxis(NewItem(m_slownessItems, d, SlownessUnit(d.m_axis1.m_unit)), d); break;
        case 4: TakeAxis(NewItem(m_azimuthItems, d, "[deg]"), d); break;
        case 5: {
            auto& map = NewItem(m_sembMapItems, d, SlownessUnit(d.m_axis1.m_unit));
            map.m_step = d.m_axis1.m_step;
            map.m_sampleCount = d.m_axis1.m_sampleCount;
            map.m_firstIndex = d.m_axis1.m_firstIndex;
            map.m_step2 = d.m_axis2.m_step;
            map.m_sampleCount2 = d.m_axis2.m_sampleCount;
            map.m_firstIndex2 = d.m_axis2.m_firstIndex;
            break;
        }
        case 6:
            NewItem(m_traceItems, d, CReceiverGeometry::GetUnitLabel(d.m_axis1.m_unit)).m_valueCount =
                uint32_t(std::max(1, int(d.m_traceCount)) * std::max(1, int(d.m_axis1.m_sampleCount)));
            break;
        default: break; // other categories have no tab
        }
    }
}

void CQtxFileDlg::FillFound()
{
    ControlState* found = Item(kIdcFound);
    if (!found) return;
    found->ResetContent();
    for (const CQtxItem* item : Items(m_currentTab)) found->AddString(item->ListLine());
}

void CQtxFileDlg::FillSelected()
{
    ControlState* selected = Item(kIdcSelected);
    if (!selected) return;
    selected->ResetContent();
    for (const CQtxItem* item : SelectedItems(m_currentTab)) selected->AddString(item->ListLine());
}

void CQtxFileDlg::OnAdd()
{
    if (m_foundIndex < 0) return;
    const std::vector<CQtxItem*> items = Items(m_currentTab);
    if (size_t(m_foundIndex) < items.size()) items[size_t(m_foundIndex)]->m_selected = 1;
    FillSelected();
}

void CQtxFileDlg::OnRemove()
{
    if (m_selectedIndex < 0) return;
    // The Selected list was refilled since the index was stored: only a line the
    // user has picked again counts.
    const ControlState* list = Item(kIdcSelected);
    m_selectedIndex = list ? list->CurSel() : -1;
    const std::vector<CQtxItem*> chosen = SelectedItems(m_currentTab);
    if (m_selectedIndex >= 0 && size_t(m_selectedIndex) < chosen.size()) chosen[size_t(m_selectedIndex)]->m_selected = 0;
    FillSelected();
}

void CQtxFileDlg::OnSelectAll()
{
    for (CQtxItem* item : Items(m_currentTab)) item->m_selected = 1;
    FillSelected();
}

void CQtxFileDlg::OnClearAll()
{
    for (CQtxItem* item : Items(m_currentTab)) item->m_selected = 0;
    FillSelected();
    m_selectedIndex = -1;
}

void CQtxFileDlg::OnSelchangeTab()
{
    const ControlState* tabs = Item(kIdcTab);
    if (!tabs || tabs->CurSel() < 0) return;
    m_currentTab = tabs->CurSel() + 1;
    FillFound();
    FillSelected();
    m_foundIndex = -1;
    m_selectedIndex = -1;
}

void CQtxFileDlg::OnSelchangeFound()
{
    const ControlState* list = Item(kIdcFound);
    m_foundIndex = list ? list->CurSel() : -1;
}

void CQtxFileDlg::OnSelchangeSelected()
{
    const ControlState* list = Item(kIdcSelected);
    m_selectedIndex = list ? list->CurSel() : -1;
}
