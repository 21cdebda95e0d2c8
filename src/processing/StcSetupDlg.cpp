#include "processing/StcSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "processing/StcRanges.h"
#include "res/StcSetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"

namespace {

using enum stc_setup::Control;
using G = StcSetupGroup;

constexpr uint32_t kHelpStcSetup = 14;

std::string Shorten(const char* label, const std::string& path) { return ShortenPath(label, path, kWidePathLabel); }
std::string Whole(float value) { return Format("%d", int(value)); }

} // namespace

struct CStcSetupDlg::Profile {
    const char* title;
    const char* label;
    int list;
    int labelId;
    std::string G::*path;
    std::string G::*name;
    std::string G::*ext;
    double G::*top;
    double G::*bottom;
    ProfileCurveList G::*curves;
};

namespace {
const CStcSetupDlg::Profile kCaliper{"Select Caliper Profile", "Caliper Profile : ", kIdcCaliperList,
                                     kIdcCaliperProfile,       &G::caliperProfilePath, &G::caliperProfileName,
                                     &G::caliperProfileExt,    &G::caliperTopDepth,    &G::caliperBottomDepth,
                                     &G::caliperList};
const CStcSetupDlg::Profile kSlowness{"Select Slowness Profile", "Slowness Profile : ", kIdcSlownessList,
                                      kIdcSlownessProfile,       &G::slownessProfilePath, &G::slownessProfileName,
                                      &G::slownessProfileExt,    &G::slownessTopDepth,    &G::slownessBottomDepth,
                                      &G::slownessList};
} // namespace

CStcSetupDlg::CStcSetupDlg() : CSetupDlg(kIddStcSetup)
{
    On(kIdcRun, Notify::Clicked, [this] { OnEnd(kIdcRun); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnEnd(kIdcSaveSetup); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputMapFile(); });
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    On(kIdcSelectCaliperProfile, Notify::Clicked, [this] { OnSelectCaliperProfile(); });
    On(kIdcSelectSlownessProfile, Notify::Clicked, [this] { OnSelectSlownessProfile(); });
    On(kIdcFixedBitSize, Notify::Clicked, [this] { OnBorehole(true); });
    On(kIdcUseCaliper, Notify::Clicked, [this] { OnBorehole(false); });
    On(kIdcFixedSlownessRange, Notify::Clicked, [this] { OnSearch(kFixedRange); });
    On(kIdcPWaveGuided, Notify::Clicked, [this] { OnSearch(kPWaveGuided); });
    On(kIdcVariableCenterSlowness, Notify::Clicked, [this] { OnSearch(kVariableCenter); });
    On(kIdcCaliperList, Notify::SelChange, [this] { OnSelchangeCaliperList(); });
    On(kIdcSlownessList, Notify::SelChange, [this] { OnSelchangeSlownessList(); });
}

bool CStcSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, Shorten("Input Map File : ", m_setup.inputPath));
    SetItemText(kIdcOutputFile, Shorten("Output Projection File : ", m_setup.outputPath));
    SetItemText(kIdcCaliperProfile, Shorten(kCaliper.label, m_setup.caliperProfilePath));
    SetItemText(kIdcSlownessProfile, Shorten(kSlowness.label, m_setup.slownessProfilePath));
    if (!m_setup.slownessTitle.empty()) SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    UpdateBoreholeControls();
    UpdateSlownessSearchControls();
    CenterWindow();
    return true;
}

void CStcSetupDlg::DoDataExchange(DataExchange& dx)
{
    auto& s = m_setup;
    dx.Text(kIdcTopDepth, s.topDepth);
    dx.Text(kIdcBottomDepth, s.bottomDepth);
    dx.OneHot({{kIdcFixedBitSize, &s.fixedBitSize}, {kIdcUseCaliper, &s.useCaliper}});
    dx.OneHot({{kIdcFixedSlownessRange, &s.fixedSlownessRange},
               {kIdcPWaveGuided, &s.pWaveGuided},
               {kIdcVariableCenterSlowness, &s.variableCenterSlowness}});
}

void CStcSetupDlg::OnBorehole(bool fixedBitSize)
{
    SetRadioPair(*this, m_setup.fixedBitSize, m_setup.useCaliper, fixedBitSize, kIdcFixedBitSize, kIdcUseCaliper);
    UpdateBoreholeControls();
}

void CStcSetupDlg::OnSearch(Search search)
{
    uint16_t* flags[] = {&m_setup.fixedSlownessRange, &m_setup.pWaveGuided, &m_setup.variableCenterSlowness};
    const int ids[] = {kIdcFixedSlownessRange, kIdcPWaveGuided, kIdcVariableCenterSlowness};
    for (int i = 0; i < 3; ++i) {
        *flags[i] = i == search ? 1 : 0;
        if (ControlState* c = Item(ids[i])) c->SetCheck(*flags[i]);
    }
    UpdateSlownessSearchControls();
}

void CStcSetupDlg::UpdateBoreholeControls()
{
    const bool fixed = m_setup.fixedBitSize != 0;
    EnableItem(kIdcSelectCaliperProfile, !fixed);
    EnableItem(kIdcCaliperProfile, !fixed);
    EnableItem(kIdcBitSize, fixed);
}

void CStcSetupDlg::UpdateSlownessSearchControls()
{
    const bool fixed = m_setup.fixedSlownessRange != 0, guided = !fixed && m_setup.pWaveGuided != 0;
    EnableItem(kIdcSelectSlownessProfile, !fixed);
    EnableItem(kIdcSlownessProfile, !fixed);
    EnableItem(kIdcMinVpVs, guided);
    EnableItem(kIdcMaxVpVs, guided);
    EnableItem(kIdcWidth, !fixed && !guided);
}

int CStcSetupDlg::OnSelectInputMapFile()
{
    if (!ChooseQtxInput(*this, kIdcInputFile, InputFileOf(m_setup), kWidePathLabel, "Input Map File : ")) return 0;
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(m_setup.inputPath))) return 0;
    m_setup.outputName = m_setup.inputTitle + "_Semb.qtx";
    m_setup.outputPath = CDepthProfileSetupDlg::OutputFolder(m_setup.inputPath, m_setup.inputName) + m_setup.outputName;
    m_setup.outputExt = ".qtx";
    SetItemText(kIdcOutputFile, Shorten("Output Projection File : ", m_setup.outputPath));
    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, m_setup.topDepth, m_setup.bottomDepth, datums)) return 0;
    ShowDepth(*this, kIdcTopDepth, m_setup.topDepth);
    ShowDepth(*this, kIdcBottomDepth, m_setup.bottomDepth);
    StcMapRanges r;
    if (ReadStcMapRanges(datums, r)) {
        m_setup.slownessTitle = r.slownessTitle;
        SetItemText(kIdcSlownessGroup, r.slownessTitle);
        SetItemText(kIdcTimeStart, Whole(r.timeStart));
        SetItemText(kIdcTimeStop, Whole(r.timeStop));
        SetItemText(kIdcSlowMin, Whole(r.slownessMin));
        SetItemText(kIdcSlowMax, Whole(r.slownessMax));
    }
    return 1;
}

int CStcSetupDlg::OnSelectOutputFile()
{
    return ChooseOutputFile(*this, kIdcOutputFile, "Select Output Projection File", "Output Projection File : ",
                            {m_setup.outputPath, m_setup.outputName, m_setup.outputExt});
}

int CStcSetupDlg::PickProfile(const Profile& profile)
{
    std::string path = m_setup.*profile.path, title = m_setup.*profile.name, ext = m_setup.*profile.ext;
    if (!BrowseFile(Browse::Open, profile.title, kQtxFilter, path, title, ext)) return 0;
    m_setup.*profile.path = path;
    m_setup.*profile.name = title;
    m_setup.*profile.ext = ext;
    SetItemText(profile.labelId, Shorten(profile.label, path));
    return FillList(profile, path);
}

int CStcSetupDlg::OnSelectCaliperProfile() { return PickProfile(kCaliper); }
int CStcSetupDlg::OnSelectSlownessProfile() { return PickProfile(kSlowness); }
int CStcSetupDlg::FillCaliperList(const std::string& path) { return FillList(kCaliper, path); }
int CStcSetupDlg::FillSlownessList(const std::string& path) { return FillList(kSlowness, path); }

int CStcSetupDlg::FillList(const Profile& profile, const std::string& path)
{
    return ReadTraceCurves(path, "profile", Item(profile.list), m_setup.*profile.top, m_setup.*profile.bottom,
                           m_setup.*profile.curves);
}

void CStcSetupDlg::TakeSelected(const Profile& profile, int& row)
{
    const ControlState* list = Item(profile.list);
    if (!list) return;
    row = list->CurSel();
    // A single-selection list: the curve on the selected line is the one chosen.
    ProfileCurveList& curves = m_setup.*profile.curves;
    TakeListedSelection(list, curves.listed, curves.selected, curves.itemCount);
}

void CStcSetupDlg::OnSelchangeCaliperList() { TakeSelected(kCaliper, m_caliperRow); }
void CStcSetupDlg::OnSelchangeSlownessList() { TakeSelected(kSlowness, m_slownessRow); }

// The group holds the flags the run is handed; Edit gives them back on any end but Cancel.
void CStcSetupDlg::OnEnd(int code)
{
    if (UpdateData(true)) EndDialog(code);
}

void CStcSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpStcSetup); }
