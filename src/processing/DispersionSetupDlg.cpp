#include "processing/DispersionSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "processing/SetupFiles.h"
#include "res/DispersionSetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"

namespace {

using enum dispersion_setup::Control;
using G = DispersionSetupGroup;

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

void CDispersionSetupDlg::OnFixedFrequency(bool fixed)
{
    SetRadioPair(*this, m_setup.fixedFrequency, m_setup.variableFrequency, fixed, kIdcFixedFrequency,
                 kIdcVariableFrequency);
    UpdatePairControls();
}

void CDispersionSetupDlg::OnFixedBitSize(bool fixed)
{
    SetRadioPair(*this, m_setup.fixedBitSize, m_setup.useCaliper, fixed, kIdcFixedBitSize, kIdcUseCaliper);
    UpdatePairControls();
}

void CDispersionSetupDlg::OnFixedDensity(bool fixed)
{
    SetRadioPair(*this, m_setup.fixedDensity, m_setup.variableDensity, fixed, kIdcFixedDensity, kIdcVariableDensity);
    UpdatePairControls();
}

int CDispersionSetupDlg::OnSelect(List list)
{
    const ListSide& side = kSides[list];
    std::string path = m_setup.*side.path, title = m_setup.*side.name, ext = m_setup.*side.ext;
    if (!BrowseFile(Browse::Open, side.title, kQtxFilter, path, title, ext)) return 0;
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
    return ChooseOutputFile(*this, kIdcOutputFile, "Select Output DTS File", "Output DTS File : ",
                            {m_setup.outputPath, m_setup.outputTitle, m_setup.outputExt});
}

int CDispersionSetupDlg::FillItemList(List list, const std::string& path)
{
    return ReadTraceCurves(path, "data set", Item(kSides[list].listId), m_setup.topDepth[size_t(list)],
                           m_setup.bottomDepth[size_t(list)], m_setup.lists[size_t(list)]);
}

void CDispersionSetupDlg::OnSelchange(List list)
{
    const ControlState* box = Item(kSides[list].listId);
    if (!box || box->CurSel() < 0) return;
    // A single-selection list: the curve on the selected line is the one chosen.
    ProfileCurveList& curves = m_setup.lists[size_t(list)];
    TakeListedSelection(box, curves.listed, curves.selected, curves.itemCount);
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
