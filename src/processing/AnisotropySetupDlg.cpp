#include "processing/AnisotropySetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "platform/Path.h"
#include "processing/SetupFiles.h"
#include "res/AnisotropySetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"

#include <array>

namespace {

using enum anisotropy_setup::Control;
using G = AnisotropySetupGroup;

constexpr uint32_t kHelpAnisotropySetup = 1;
constexpr int kOptionIds[] = {kIdcCollocateTransmitter, kIdcAnisotropyAnalysis, kIdcRotateWaveforms,
                              kIdcAzimuthCoherence,     kIdcCombineEnergy,      kIdcFastShearAzimuth};
constexpr uint16_t G::*kOptionFlags[] = {&G::collocateTransmitter, &G::anisotropyAnalysis, &G::rotateWaveforms,
                                         &G::azimuthCoherence,     &G::combineEnergy,      &G::fastShearAzimuth};
constexpr int kModeDependent[] = {kIdcSelectProfile,     kIdcProfileFile,       kIdcProfileStart, kIdcProfileWidth,
                                  kIdcProfileStartLabel, kIdcProfileWidthLabel, kIdcInputStart,   kIdcInputStop,
                                  kIdcInputStartLabel,   kIdcInputStopLabel,    kIdcProfileGroup};

} // namespace

// What the input and the profile each keep: their file, list, depths and flags.
struct CAnisotropySetupDlg::Side {
    int list;
    std::string G::*path;
    std::string G::*title;
    std::string G::*ext;
    int32_t G::*count;
    std::array<int32_t, kAnisotropyFlagCount> G::*listed;
    std::array<int32_t, kAnisotropyFlagCount> G::*selected;
    double G::*top;
    double G::*bottom;
    bool input;
};

namespace {
const CAnisotropySetupDlg::Side kInput{kIdcInputList, &G::inputPath,     &G::inputTitle,    &G::inputExt,
                                       &G::inputCount, &G::inputListed,  &G::inputSelected, &G::inputTopDepth,
                                       &G::inputBottomDepth, true};
const CAnisotropySetupDlg::Side kProfile{
    kIdcProfileList,    &G::profilePath,     &G::profileTitle,       &G::profileExt, &G::profileCount,
    &G::profileListed,  &G::profileSelected, &G::profileTopDepth,    &G::profileBottomDepth, false};
} // namespace

CAnisotropySetupDlg::CAnisotropySetupDlg() : CSetupDlg(kIddAnisotropySetup)
{
    for (int o = 0; o < 6; ++o) On(kOptionIds[o], Notify::Clicked, [this, o] { OnOption(Option(o)); });
    On(kIdcSelectInput, Notify::Clicked, [this] { OnSelectCrossDipoleFile(); });
    On(kIdcSelectProfile, Notify::Clicked, [this] { OnSelectTrackingProfile(); });
    On(kIdcInputList, Notify::SelChange, [this] { OnSelchangeInputList(); });
    On(kIdcProfileList, Notify::SelChange, [this] { OnSelchangeProfileList(); });
    On(kIdcRun, Notify::Clicked, [this] { OnEnd(kIdcRun); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnEnd(kIdcSaveSetup); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

bool CAnisotropySetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateControls();
    CenterWindow();
    return true;
}

void CAnisotropySetupDlg::DoDataExchange(DataExchange& dx)
{
    auto& s = m_setup;
    dx.Text(kIdcInputStart, s.inputTopDepth);
    dx.Text(kIdcInputStop, s.inputBottomDepth);
    dx.OneHot({{kIdcCollocateTransmitter, &s.collocateTransmitter},
               {kIdcAnisotropyAnalysis, &s.anisotropyAnalysis},
               {kIdcRotateWaveforms, &s.rotateWaveforms},
               {kIdcAzimuthCoherence, &s.azimuthCoherence},
               {kIdcCombineEnergy, &s.combineEnergy},
               {kIdcFastShearAzimuth, &s.fastShearAzimuth}});
}

void CAnisotropySetupDlg::OnOption(Option option)
{
    for (int o = 0; o < 6; ++o) {
        m_setup.*kOptionFlags[o] = o == option ? 1 : 0;
        if (ControlState* c = Item(kOptionIds[o])) c->SetCheck(m_setup.*kOptionFlags[o]);
    }
    UpdateControls();
}

void CAnisotropySetupDlg::UpdateControls()
{
    EnableItem(kIdcProfileList, false);
    const bool fast = m_setup.fastShearAzimuth != 0;
    SetItemText(kIdcSelectInput, fast ? "Select Tool Azimuth" : "Select Cross Dipole File");
    SetItemText(kIdcSelectProfile, fast ? "Select Rotation Azimuth" : "Select Tracking Profile");
    SetItemText(kIdcInputFile, ShortenPath(fast ? "Tool Azimuth : " : "Input File : ", m_setup.inputPath));
    SetItemText(kIdcProfileFile, ShortenPath(fast ? "Rotation Azimuth : " : "Profile : ", m_setup.profilePath));
    SetItemText(kIdcInputGroup, fast ? "Tool Azimuth" : "Input Data");
    SetItemText(kIdcProfileGroup, fast ? "Rotation Azimuth" : "Profile");
    for (int id : kModeDependent) EnableItem(id, false);
    EnableItem(kIdcInputGroup, true);
    const auto enable = [this](std::initializer_list<int> ids) {
        for (int id : ids) EnableItem(id, true);
    };
    if (fast) {
        enable({kIdcSelectProfile, kIdcProfileFile, kIdcProfileList, kIdcProfileGroup});
        return;
    }
    enable({kIdcInputStart, kIdcInputStop, kIdcInputStartLabel, kIdcInputStopLabel});
    if (m_setup.anisotropyAnalysis)
        enable({kIdcSelectProfile, kIdcProfileFile, kIdcProfileStart, kIdcProfileWidth, kIdcProfileList,
                kIdcProfileStartLabel, kIdcProfileWidthLabel, kIdcProfileGroup});
    if (m_setup.rotateWaveforms) enable({kIdcSelectProfile, kIdcProfileFile, kIdcProfileList, kIdcProfileGroup});
}

int CAnisotropySetupDlg::ReadHeader(const Side& side, const std::string& path)
{
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(path))) return 0;
    double top = 0.0, bottom = 0.0;
    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, top, bottom, datums)) return 0;
    // One listed and one selected flag per datum: a data set with more is refused
    // rather than listed in part.
    if (datums.size() > size_t(kAnisotropyFlagCount)) {
        MessageBox(Format("The data set has %d datums; at most %d can be listed.", int(datums.size()),
                          kAnisotropyFlagCount),
                   MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    ControlState* list = Item(side.list);
    if (list) list->ResetContent();
    auto& listed = m_setup.*side.listed;
    auto& selected = m_setup.*side.selected;
    listed.fill(0), selected.fill(0);
    for (size_t i = 0; i < datums.size(); ++i) {
        const uint8_t category = datums[i]->m_category;
        const bool curve = category == kCategoryTrace;
        const bool wanted = !side.input || m_setup.fastShearAzimuth
                                ? curve
                                : category == kCategoryWaveform || category == kCategoryAzimuth;
        if (!wanted) continue;
        if (list) list->AddString(datums[i]->m_mnemonic);
        listed[i] = 1;
    }
    m_setup.*side.count = int32_t(datums.size());
    m_setup.*side.top = top, m_setup.*side.bottom = bottom;
    if (side.input) {
        ShowDepth(*this, kIdcInputStart, top);
        ShowDepth(*this, kIdcInputStop, bottom);
    }
    return 1;
}

int CAnisotropySetupDlg::Pick(const Side& side, const char* title)
{
    std::string path = m_setup.*side.path, name = m_setup.*side.title, ext = m_setup.*side.ext;
    if (!BrowseFile(Browse::Open, title, kQtxFilter, path, name, ext)) return 0;
    m_setup.*side.path = path, m_setup.*side.title = name, m_setup.*side.ext = ext;
    if (!ReadHeader(side, path)) return 0;
    EnableItem(side.list, true);
    UpdateControls();
    return 1;
}

int CAnisotropySetupDlg::ReadInputHeader(const std::string& path) { return ReadHeader(kInput, path); }
int CAnisotropySetupDlg::ReadProfileHeader(const std::string& path) { return ReadHeader(kProfile, path); }

int CAnisotropySetupDlg::OnSelectCrossDipoleFile() { return Pick(kInput, "Select Input Cross Dipole File"); }
int CAnisotropySetupDlg::OnSelectTrackingProfile() { return Pick(kProfile, "Select Tracking Profile"); }

void CAnisotropySetupDlg::TakeSelected(const Side& side, int& caret)
{
    const ControlState* list = Item(side.list);
    if (!list) return;
    caret = list->CaretIndex();
    TakeListedSelection(list, m_setup.*side.listed, m_setup.*side.selected, m_setup.*side.count);
}

void CAnisotropySetupDlg::OnSelchangeInputList() { TakeSelected(kInput, m_inputCaret); }
void CAnisotropySetupDlg::OnSelchangeProfileList() { TakeSelected(kProfile, m_profileCaret); }

// The group holds the flags the run is handed; Edit gives them back on any end but Cancel.
void CAnisotropySetupDlg::OnEnd(int code)
{
    if (UpdateData(true)) EndDialog(code);
}

void CAnisotropySetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpAnisotropySetup); }
