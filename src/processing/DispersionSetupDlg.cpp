#include "processing/DispersionSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "processing/SetupFiles.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace {

using enum dispersion_setup::Control;
using G = DispersionSetupGroup;

constexpr const char* kFilter = "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||";
constexpr uint32_t kHelpDispersionSetup = 2;

struct ListSide {
    const char* title;
    const char* label;
    int labelId;
    int listId;
    std::string G::*path;
    std::string G::*name;
    std::string G::*ext;
};
constexpr ListSide kSides[] = {
    {"Select Input DTS File", "Input DTS File : ", kIdcInputFile, kIdcInputList, &G::inputPath, &G::inputTitle,
     &G::inputExt},
    {"Select Frequency Profile", "Frequency Profile : ", kIdcFrequencyProfile, kIdcFrequencyList,
     &G::frequencyProfilePath, &G::frequencyProfileTitle, &G::frequencyProfileExt},
    {"Select Caliper Profile", "Caliper Profile : ", kIdcCaliperProfile, kIdcCaliperList, &G::caliperProfilePath,
     &G::caliperProfileTitle, &G::caliperProfileExt},
    {"Select Density Profile", "Density Profile : ", kIdcDensityProfile, kIdcDensityList, &G::densityProfilePath,
     &G::densityProfileTitle, &G::densityProfileExt},
};

} // namespace

CDispersionSetupDlg::CDispersionSetupDlg() : CSetupDlg(kIddDispersionSetup)
{
    for (int l = 0; l < 4; ++l) {
        const int button[] = {kIdcSelectInputFile, kIdcSelectFrequencyProfile, kIdcSelectCaliperProfile,
                              kIdcSelectDensityProfile};
        On(button[l], Notify::Clicked, [this, l] { OnSelect(List(l)); });
        On(kSides[l].listId, Notify::SelChange, [this, l] { OnSelchange(List(l)); });
    }
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    On(kIdcFixedFrequency, Notify::Clicked, [this] { OnFixedFrequency(true); });
    On(kIdcVariableFrequency, Notify::Clicked, [this] { OnFixedFrequency(false); });
    On(kIdcFixedBitSize, Notify::Clicked, [this] { OnFixedBitSize(true); });
    On(kIdcUseCaliper, Notify::Clicked, [this] { OnFixedBitSize(false); });
    On(kIdcFixedDensity, Notify::Clicked, [this] { OnFixedDensity(true); });
    On(kIdcVariableDensity, Notify::Clicked, [this] { OnFixedDensity(false); });
    On(kIdcRun, Notify::Clicked, [this] { OnEnd(kIdcRun); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnEnd(kIdcSaveSetup); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

bool CDispersionSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const ListSide& side : kSides) SetItemText(side.labelId, ShortenPath(side.label, m_setup.*side.path));
    SetItemText(kIdcOutputFile, ShortenPath("Output DTS File : ", m_setup.outputPath));
    UpdatePairControls();
    CenterWindow();
    return true;
}

void CDispersionSetupDlg::DoDataExchange(DataExchange& dx)
{
    auto& s = m_setup;
    dx.OneHot({{kIdcFixedFrequency, &s.fixedFrequency}, {kIdcVariableFrequency, &s.variableFrequency}});
    dx.OneHot({{kIdcFixedBitSize, &s.fixedBitSize}, {kIdcUseCaliper, &s.useCaliper}});
    dx.OneHot({{kIdcFixedDensity, &s.fixedDensity}, {kIdcVariableDensity, &s.variableDensity}});
}

void CDispersionSetupDlg::UpdatePairControls()
{
    const struct {
        uint16_t fixed;
        int picker, label, edit;
    } pairs[] = {
        {m_setup.fixedFrequency, kIdcSelectFrequencyProfile, kIdcFrequencyProfile, kIdcFixedFrequencyValue},
        {m_setup.fixedBitSize, kIdcSelectCaliperProfile, kIdcCaliperProfile, kIdcBitSize},
        {m_setup.fixedDensity, kIdcSelectDensityProfile, kIdcDensityProfile, kIdcFixedDensityValue},
    };
    for (const auto& p : pairs) {
        EnableItem(p.picker, !p.fixed);
        EnableItem(p.label, !p.fixed);
        EnableItem(p.edit, p.fixed != 0);
    }
}

namespace {
void SetPair(CDialog& dlg, uint16_t& fixed, uint16_t& variable, int fixedId, int variableId, bool toFixed)
{
    fixed = toFixed ? 1 : 0, variable = toFixed ? 0 : 1;
    if (ControlState* c = dlg.Item(fixedId)) c->SetCheck(fixed);
    if (ControlState* c = dlg.Item(variableId)) c->SetCheck(variable);
}
} // namespace

void CDispersionSetupDlg::OnFixedFrequency(bool fixed)
{
    SetPair(*this, m_setup.fixedFrequency, m_setup.variableFrequency, kIdcFixedFrequency, kIdcVariableFrequency,
            fixed);
    UpdatePairControls();
}

void CDispersionSetupDlg::OnFixedBitSize(bool fixed)
{
    SetPair(*this, m_setup.fixedBitSize, m_setup.useCaliper, kIdcFixedBitSize, kIdcUseCaliper, fixed);
    UpdatePairControls();
}

void CDispersionSetupDlg::OnFixedDensity(bool fixed)
{
    SetPair(*this, m_setup.fixedDensity, m_setup.variableDensity, kIdcFixedDensity, kIdcVariableDensity, fixed);
    UpdatePairControls();
}

int CDispersionSetupDlg::OnSelect(List list)
{
    const ListSide& side = kSides[list];
    std::string path = m_setup.*side.path, title = m_setup.*side.name, ext = m_setup.*side.ext;
    if (!BrowseFile(Browse::Open, side.title, kFilter, path, title, ext)) return 0;
    m_setup.*side.path = path, m_setup.*side.name = title, m_setup.*side.ext = ext;
    SetItemText(side.labelId, ShortenPath(side.label, path));
    const int filled = FillItemList(list, path);
    if (ControlState* c = Item(side.listId)) c->SetCurSel(-1);
    if (list != kInput) return filled;
    // The output sits beside the input. Only a dot of the file name counts: one in a
    // folder's name would move the output into another folder.
    const size_t separator = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) {
        m_setup.outputPath = path.substr(0, dot) + "_disp.qtx";
        m_setup.outputTitle = title + "_disp.qtx";
        m_setup.outputExt = "qtx";
        SetItemText(kIdcOutputFile, ShortenPath("Output DTS File : ", m_setup.outputPath));
    }
    return filled;
}

int CDispersionSetupDlg::OnSelectOutputFile()
{
    std::string path = m_setup.outputPath, title = m_setup.outputTitle, ext = m_setup.outputExt;
    if (!BrowseFile(Browse::Save, "Select Output DTS File", kFilter, path, title, ext)) return 0;
    m_setup.outputPath = path, m_setup.outputTitle = title, m_setup.outputExt = ext;
    SetItemText(kIdcOutputFile, ShortenPath("Output DTS File : ", path));
    return 1;
}

int CDispersionSetupDlg::FillItemList(List list, const std::string& path)
{
    CQtxFile file;
    if (!file.OpenRead(path)) return 0;
    double top = 0.0, bottom = 0.0;
    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, top, bottom, datums, false)) return 0;
    // One listed and one selected flag per datum: a data set with more is refused
    // rather than listed in part.
    if (datums.size() > size_t(kProfileListFlagCount)) {
        MessageBox(Format("The data set has %d datums; at most %d can be listed.", int(datums.size()),
                          kProfileListFlagCount),
                   MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    m_setup.topDepth[size_t(list)] = top, m_setup.bottomDepth[size_t(list)] = bottom;
    ProfileCurveList& curves = m_setup.lists[size_t(list)];
    curves.listed.fill(0), curves.selected.fill(0);
    ControlState* box = Item(kSides[list].listId);
    if (box) box->ResetContent();
    for (size_t i = 0; i < datums.size(); ++i) {
        if (datums[i]->m_category != kCategoryTrace) continue;
        if (box) box->AddString(datums[i]->m_mnemonic);
        curves.listed[i] = 1;
    }
    curves.itemCount = int32_t(datums.size());
    return 1;
}

void CDispersionSetupDlg::OnSelchange(List list)
{
    const ControlState* box = Item(kSides[list].listId);
    if (!box || box->CurSel() < 0) return;
    const int row = box->CurSel();
    ProfileCurveList& curves = m_setup.lists[size_t(list)];
    const int count = std::clamp<int>(curves.itemCount, 0, kProfileListFlagCount);
    for (int i = 0, shown = 0; i < count; ++i) {
        if (!curves.listed[size_t(i)]) continue;
        if (shown++ != row) continue;
        curves.selected[size_t(i)] = curves.selected[size_t(i)] ? 0 : 1;
        return;
    }
}

// The group holds the flags the run is handed; Edit gives them back on any end but Cancel.
void CDispersionSetupDlg::OnEnd(int code)
{
    if (UpdateData(true)) EndDialog(code);
}

void CDispersionSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpDispersionSetup); }

// ---- Slowness units --------------------------------------------------------------------

CSlownessUnitsDlg::CSlownessUnitsDlg() : CDialog(DialogTemplateFor(kIddSlownessUnits))
{
    On(kIdcEnglish, Notify::Clicked, [this] { OnUnits(true); });
    On(kIdcMetric, Notify::Clicked, [this] { OnUnits(false); });
    On(kIdcWireline, Notify::Clicked, [this] { OnTool(kWireline); });
    On(kIdcBat675, Notify::Clicked, [this] { OnTool(kBat675); });
    On(kIdcBat800, Notify::Clicked, [this] { OnTool(kBat800); });
}

void CSlownessUnitsDlg::DoDataExchange(DataExchange& dx)
{
    dx.OneHot({{kIdcEnglish, &m_english}, {kIdcMetric, &m_metric}});
    dx.OneHot({{kIdcWireline, &m_tools[0]}, {kIdcBat675, &m_tools[1]}, {kIdcBat800, &m_tools[2]}});
}

void CSlownessUnitsDlg::OnUnits(bool english)
{
    m_english = english ? 1 : 0, m_metric = english ? 0 : 1;
    if (ControlState* c = Item(kIdcEnglish)) c->SetCheck(m_english);
    if (ControlState* c = Item(kIdcMetric)) c->SetCheck(m_metric);
}

void CSlownessUnitsDlg::OnTool(Tool tool)
{
    const int ids[] = {kIdcWireline, kIdcBat675, kIdcBat800};
    for (int t = 0; t < 3; ++t) {
        m_tools[size_t(t)] = t == tool ? 1 : 0;
        if (ControlState* c = Item(ids[t])) c->SetCheck(m_tools[size_t(t)]);
    }
}
