#include "plot/EditCommandDlg.h"

#include "common/Help.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/DialogTemplates.h"
#include "plot/PlotExchange.h"
#include "res/PlotChoices.h"
#include "res/EditCommandDlgIds.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <vector>

namespace {

using enum edit_command::Control;

constexpr float kMaxLimit = 50000.0f;

void FillCombo(CDialog& d, int id, const std::vector<std::string>& entries)
{
    if (ControlState* box = d.Item(id)) {
        box->ResetContent();
        for (const auto& e : entries) box->AddString(e);
    }
}

} // namespace

CEditCommandDlg::CEditCommandDlg() : CDialog(DialogTemplateFor(kIddEditCommand))
{
    On(kIdcNextItem, Notify::Clicked, [this] { OnNextItem(); });
    On(kIdcPreviousItem, Notify::Clicked, [this] { OnPreviousItem(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

CLogPlotItem* CEditCommandDlg::Current() const
{
    if (!m_pPlotItems || m_nCurrentItem < 0 || size_t(m_nCurrentItem) >= m_pPlotItems->size()) return nullptr;
    return (*m_pPlotItems)[size_t(m_nCurrentItem)].get();
}

void CEditCommandDlg::DoDataExchange(DataExchange& dx)
{
    namespace px = plot_exchange;
    Fields& f = m_fields;
    dx.Text(kIdcFileTitle, f.fileTitle);
    if (!dx.Saving()) {
        SetItemText(kIdcDataTop, Format("%10.4f", f.dataTop));
        SetItemText(kIdcDataBottom, Format("%10.4f", f.dataBottom));
    }
    px::DepthRange(dx, kIdcStartDepth, kIdcStopDepth, f.startDepth, f.stopDepth, "%10.4f");
    px::Shift(dx, kIdcShift, f.depthShift, "%10.4f");
    dx.Text(kIdcName, f.name);
    dx.MaxChars(f.name, 255);
    dx.Text(kIdcMnemonic, f.mnemonic);
    dx.MaxChars(f.mnemonic, 255);
    dx.Text(kIdcUnits, f.units);
    dx.MaxChars(f.units, 255);
    px::Limit(dx, kIdcLeftLimit, f.leftLimit, kMaxLimit, true, "%10.2f");
    px::Limit(dx, kIdcRightLimit, f.rightLimit, kMaxLimit, false, "%10.2f");
    px::Track(dx, kIdcTrack, f.track);
    if (dx.Failed()) return;
    px::Choice<NamedColour>(dx, kIdcColor, kColourLines, f.colour);
    px::Choice<LineWidth>(dx, kIdcLineWidth, kLineWidthLines, f.lineWidth);
    px::Choice<Palette>(dx, kIdcPalette, kPaletteLines, f.palette);
}

bool CEditCommandDlg::OnInitDialog()
{
    FillCombo(*this, kIdcColor, PlotColourEntries());
    FillCombo(*this, kIdcLineWidth, PlotLineWidthEntries());
    FillCombo(*this, kIdcPalette, PlotPaletteEntries());
    m_nItemCount = m_pPlotItems ? int(std::min<size_t>(m_pPlotItems->size(), 0xFFFF)) : 0;
    m_nCurrentItem = 0;
    Load();
    return true;
}

void CEditCommandDlg::Load()
{
    const CLogPlotItem* item = Current();
    if (!item) return;
    Fields f;
    f.dataTop = item->m_file.dataTop;
    f.dataBottom = item->m_file.dataBottom;
    f.startDepth = item->m_scale.startDepth;
    f.stopDepth = item->m_scale.stopDepth;
    f.depthShift = item->m_scale.depthShift;
    f.leftLimit = item->m_scale.leftLimit;
    f.rightLimit = item->m_scale.rightLimit;
    f.track = item->m_scale.track;
    f.fileTitle = item->m_file.title;
    f.name = item->m_strName;
    if (item->m_datum.current >= 0 && item->m_datum.current < kPlotNameCount)
        f.mnemonic = item->m_datum.names[size_t(item->m_datum.current)];
    f.units = item->m_datum.unitsName;
    f.colour = item->m_style.color;
    f.lineWidth = item->m_style.lineWidth;
    f.palette = item->m_style.palette;
    m_fields = f;
    UpdateData(false);
    const bool curve = item->m_datum.domain == kPlotCurve;
    EnableItem(kIdcColor, curve);
    EnableItem(kIdcLineWidth, curve);
    EnableItem(kIdcPalette, !curve);
}

bool CEditCommandDlg::Store()
{
    CLogPlotItem* item = Current();
    if (!item) return true;
    if (!UpdateData(true)) return false;
    const Fields& f = m_fields;
    item->m_file.dataTop = f.dataTop;
    item->m_file.dataBottom = f.dataBottom;
    item->m_scale.startDepth = f.startDepth;
    item->m_scale.stopDepth = f.stopDepth;
    item->m_scale.depthShift = f.depthShift;
    item->m_scale.leftLimit = f.leftLimit;
    item->m_scale.rightLimit = f.rightLimit;
    item->m_scale.track = f.track;
    item->m_file.title = f.fileTitle;
    item->m_strName = f.name;
    if (item->m_datum.current >= 0 && item->m_datum.current < kPlotNameCount)
        item->m_datum.names[size_t(item->m_datum.current)] = f.mnemonic;
    item->m_datum.unitsName = f.units;
    item->m_style.color = f.colour;
    item->m_style.lineWidth = f.lineWidth;
    item->m_style.palette = f.palette;
    return true;
}

void CEditCommandDlg::Step(int delta)
{
    if (m_nItemCount == 0 || !Store()) return;
    m_nCurrentItem = (m_nCurrentItem + delta + m_nItemCount) % m_nItemCount;
    Load();
}

void CEditCommandDlg::OnNextItem() { Step(1); }
void CEditCommandDlg::OnPreviousItem() { Step(-1); }

void CEditCommandDlg::OnOK()
{
    if (Store()) EndDialog(IDOK);
}

void CEditCommandDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpContextId); }
