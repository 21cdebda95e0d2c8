#include "processing/FilterSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "platform/Format.h"
#include "platform/Path.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"

#include <initializer_list>

namespace {

using enum filter_setup::Control;

constexpr const char* kFilter = "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||";
constexpr uint32_t kHelpFilterSetup = 3;
constexpr int kEndScroll = 8;

constexpr int kFrequencyGroup[] = {kIdcSelectFrequencyProfile, kIdcFrequencyProfile, kIdcAxisEnd, kIdcAxisStart,
                                   kIdcFrequencyStartLabel, kIdcFrequencyStopLabel, kIdcFrequencyStart,
                                   kIdcFrequencyStop, kIdcBellShape, kIdcSemiRectangular, kIdcFixedProfile,
                                   kIdcVariableProfile, kIdcResponse};
constexpr int kTimeGroup[] = {kIdcSelectTimeProfile, kIdcTimeProfile, kIdcTimeStart,  kIdcTimeStop,   kIdcHannWindow,
                              kIdcFrontMute,         kIdcBackMute,    kIdcTimeStartLabel, kIdcTimeStopLabel};
constexpr int kSlownessGroup[] = {kIdcSelectSlownessProfile, kIdcSlownessProfile, kIdcSlownessStart,
                                  kIdcSlownessStop,          kIdcSlownessStartLabel, kIdcSlownessStopLabel};

std::string Shorten(const char* label, const std::string& path) { return ShortenPath(label, path, kNarrowPathLabel); }

} // namespace

struct CFilterSetupDlg::ProfileFiles {
    const char* title;
    std::string FilterSetupGroup::*path;
    std::string FilterSetupGroup::*name;
    std::string FilterSetupGroup::*ext;
    int label;
    uint32_t InputChangeBookkeeping::*changed;
    uint32_t InputChangeBookkeeping::*size;
};

CFilterSetupDlg::CFilterSetupDlg() : CSetupDlg(kIddFilterSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcSelectFrequencyProfile, Notify::Clicked, [this] { OnSelectFrequencyProfile(); });
    On(kIdcSelectTimeProfile, Notify::Clicked, [this] { OnSelectTimeProfile(); });
    On(kIdcSelectSlownessProfile, Notify::Clicked, [this] { OnSelectSlownessProfile(); });
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    On(kIdcFrequencyEnable, Notify::Clicked, [this] { OnFrequencyEnable(true); });
    On(kIdcFrequencyDisable, Notify::Clicked, [this] { OnFrequencyEnable(false); });
    On(kIdcTimeEnable, Notify::Clicked, [this] { OnTimeEnable(true); });
    On(kIdcTimeDisable, Notify::Clicked, [this] { OnTimeEnable(false); });
    On(kIdcSlownessEnable, Notify::Clicked, [this] { OnSlownessEnable(true); });
    On(kIdcSlownessDisable, Notify::Clicked, [this] { OnSlownessEnable(false); });
    On(kIdcCrossDipole, Notify::Clicked, [this] { OnCrossDipole(); });
    On(kIdcForceInputs, Notify::Clicked, [this] { OnForceInputs(); });
    On(kIdcFixedProfile, Notify::Clicked, [this] { OnProfileKind(true); });
    On(kIdcVariableProfile, Notify::Clicked, [this] { OnProfileKind(false); });
    On(kIdcBellShape, Notify::Clicked, [this] { OnShape(true); });
    On(kIdcSemiRectangular, Notify::Clicked, [this] { OnShape(false); });
    On(kIdcHannWindow, Notify::Clicked, [this] { OnTimeWindow(0); });
    On(kIdcFrontMute, Notify::Clicked, [this] { OnTimeWindow(1); });
    On(kIdcBackMute, Notify::Clicked, [this] { OnTimeWindow(2); });
    On(kIdcResponse, Notify::Clicked, [this] { DrawResponse(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

InputChangeBookkeeping& CFilterSetupDlg::Changes() { return theApp.m_dormant.filter.changes; }

bool CFilterSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, Shorten("Input File : ", m_setup.inputPath));
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));
    SetItemText(kIdcFrequencyProfile, Shorten("Profile : ", m_setup.frequencyProfilePath));
    SetItemText(kIdcTimeProfile, Shorten("Profile : ", m_setup.timeProfilePath));
    SetItemText(kIdcSlownessProfile, Shorten("Profile : ", m_setup.slownessProfilePath));
    if (!m_setup.slownessTitle.empty()) SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    UpdateGroups();
    CenterWindow();
    return true;
}

void CFilterSetupDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(kIdcTopDepth, m_setup.topDepth);
    dx.Text(kIdcBottomDepth, m_setup.bottomDepth);
    dx.Text(kIdcSlownessStart, m_setup.slownessStart);
    dx.Text(kIdcSlownessStop, m_setup.slownessStop);
    dx.OneHot({{kIdcFrequencyEnable, &m_setup.frequencyEnabled}, {kIdcFrequencyDisable, &m_setup.frequencyDisabled}});
    dx.OneHot({{kIdcTimeEnable, &m_setup.timeEnabled}, {kIdcTimeDisable, &m_setup.timeDisabled}});
    dx.OneHot({{kIdcSlownessEnable, &m_setup.slownessEnabled}, {kIdcSlownessDisable, &m_setup.slownessDisabled}});
    dx.OneHot({{kIdcFixedProfile, &m_setup.fixedProfile}, {kIdcVariableProfile, &m_setup.variableProfile}});
    dx.OneHot({{kIdcBellShape, &m_setup.bellShape}, {kIdcSemiRectangular, &m_setup.semiRectangular}});
    dx.OneHot({{kIdcHannWindow, &m_setup.hannWindow}, {kIdcFrontMute, &m_setup.frontMute},
               {kIdcBackMute, &m_setup.backMute}});
    dx.OneHot({{kIdcCrossDipole, &m_setup.crossDipole}});
    dx.OneHot({{kIdcForceInputs, &m_setup.forceInputs}});
}

void CFilterSetupDlg::OnDrawItem(int id, Dc& dc, const Rect& client)
{
    if (id != kIdcResponse) return;
    const double f1 = ResponseEditValue(GetItemText(kIdcFrequencyStart));
    const double f2 = ResponseEditValue(GetItemText(kIdcFrequencyStop));
    ::DrawResponse(dc, client, m_setup.bellShape != 0, f1, f2, m_sampleInterval, m_response);
}

void CFilterSetupDlg::ApplySlownessRange(const CQtxDatumList& datums)
{
    for (const auto& datum : datums) {
        if (datum->m_category != kCategorySlowness) continue;
        const bool metres = datum->m_axis1.m_unit == kUnitMicrosecondsPerMetre;
        m_setup.slownessTitle = SlownessRangeTitle(metres);
        m_setup.slownessStart = metres ? 100.0f : 40.0f;
        m_setup.slownessStop = metres ? 600.0f : 240.0f;
        SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
        SetItemText(kIdcSlownessStart, Format("%6.1f", double(m_setup.slownessStart)));
        SetItemText(kIdcSlownessStop, Format("%6.1f", double(m_setup.slownessStop)));
    }
}

int CFilterSetupDlg::OnSelectInputFile()
{
    const std::string previous = m_setup.inputPath;
    std::string path = m_setup.inputPath, title = m_setup.inputName, ext = m_setup.inputExt;
    if (!BrowseFile(Browse::Open, "Browse Input QTX File", kFilter, path, title, ext)) return 0;
    m_setup.inputPath = path;
    m_setup.inputName = FileName(path);
    m_setup.inputExt = ext;
    NoteInputChange(Changes().inputChanged, Changes().inputSize, m_setup.forceInputs, path, previous);
    m_setup.changes = Changes();
    SetItemText(kIdcInputFile, Shorten("Input File : ", m_setup.inputPath));

    CQtxFile file;
    if (!file.OpenRead(m_setup.inputPath)) return 0;
    m_setup.outputName = title + "_filt.qtx";
    m_setup.inputFolder = CDepthProfileSetupDlg::OutputFolder(m_setup.inputPath, m_setup.inputName);
    m_setup.outputPath = m_setup.inputFolder + m_setup.outputName;
    m_setup.outputExt = ".qtx";
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));

    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, m_setup.topDepth, m_setup.bottomDepth, datums)) return 0;
    SetItemText(kIdcTopDepth, DepthText(m_setup.topDepth));
    SetItemText(kIdcBottomDepth, DepthText(m_setup.bottomDepth));
    ApplySlownessRange(datums);
    DrawResponse();
    return 1;
}

int CFilterSetupDlg::PickProfile(const ProfileFiles& kind)
{
    const std::string previous = m_setup.*kind.path;
    std::string path = m_setup.*kind.path, title = m_setup.*kind.name, ext = m_setup.*kind.ext;
    if (!BrowseFile(Browse::Open, kind.title, kFilter, path, title, ext)) return 0;
    m_setup.*kind.path = path;
    m_setup.*kind.name = FileName(path);
    m_setup.*kind.ext = ext;
    NoteInputChange(Changes().*kind.changed, Changes().*kind.size, m_setup.forceInputs, path, previous);
    m_setup.changes = Changes();
    SetItemText(kind.label, Shorten("Profile : ", path));
    CQtxFile file;
    if (!file.OpenRead(path)) return 0;
    CQtxDatumList datums;
    if (!file.ReadDatumList(datums)) return 0;
    file.CloseInput();
    ApplySlownessRange(datums);
    DrawResponse();
    return 1;
}

int CFilterSetupDlg::OnSelectFrequencyProfile()
{
    using G = FilterSetupGroup;
    using C = InputChangeBookkeeping;
    return PickProfile({"Browse Frequency Profile", &G::frequencyProfilePath, &G::frequencyProfileName,
                        &G::frequencyProfileExt, kIdcFrequencyProfile, &C::frequencyProfileChanged,
                        &C::frequencyProfileSize});
}

int CFilterSetupDlg::OnSelectTimeProfile()
{
    using G = FilterSetupGroup;
    using C = InputChangeBookkeeping;
    return PickProfile({"Browse Time Profile", &G::timeProfilePath, &G::timeProfileName, &G::timeProfileExt,
                        kIdcTimeProfile, &C::timeProfileChanged, &C::timeProfileSize});
}

int CFilterSetupDlg::OnSelectSlownessProfile()
{
    using G = FilterSetupGroup;
    using C = InputChangeBookkeeping;
    return PickProfile({"Browse Slowness Profile", &G::slownessProfilePath, &G::slownessProfileName,
                        &G::slownessProfileExt, kIdcSlownessProfile, &C::slownessProfileChanged,
                        &C::slownessProfileSize});
}

int CFilterSetupDlg::OnSelectOutputFile()
{
    std::string path = m_setup.outputPath, title = m_setup.outputName, ext = m_setup.outputExt;
    if (!BrowseFile(Browse::Save, "Browse Output QTX File", kFilter, path, title, ext)) return 0;
    m_setup.outputPath = path;
    m_setup.outputName = title;
    m_setup.outputExt = ext;
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));
    DrawResponse();
    return 1;
}

void CFilterSetupDlg::SetFlags(uint16_t& on, uint16_t& off, bool enable, int onId, int offId)
{
    on = enable ? 1 : 0;
    off = enable ? 0 : 1;
    if (ControlState* c = Item(onId)) c->SetCheck(on);
    if (ControlState* c = Item(offId)) c->SetCheck(off);
}

void CFilterSetupDlg::OnFrequencyEnable(bool enable)
{
    SetFlags(m_setup.frequencyEnabled, m_setup.frequencyDisabled, enable, kIdcFrequencyEnable, kIdcFrequencyDisable);
    if (enable) SetFlags(m_setup.slownessEnabled, m_setup.slownessDisabled, false, kIdcSlownessEnable, kIdcSlownessDisable);
    UpdateGroups();
}

void CFilterSetupDlg::OnTimeEnable(bool enable)
{
    SetFlags(m_setup.timeEnabled, m_setup.timeDisabled, enable, kIdcTimeEnable, kIdcTimeDisable);
    if (enable) SetFlags(m_setup.slownessEnabled, m_setup.slownessDisabled, false, kIdcSlownessEnable, kIdcSlownessDisable);
    UpdateGroups();
}

void CFilterSetupDlg::OnSlownessEnable(bool enable)
{
    SetFlags(m_setup.slownessEnabled, m_setup.slownessDisabled, enable, kIdcSlownessEnable, kIdcSlownessDisable);
    if (enable) {
        SetFlags(m_setup.frequencyEnabled, m_setup.frequencyDisabled, false, kIdcFrequencyEnable, kIdcFrequencyDisable);
        SetFlags(m_setup.timeEnabled, m_setup.timeDisabled, false, kIdcTimeEnable, kIdcTimeDisable);
    }
    UpdateGroups();
}

void CFilterSetupDlg::OnCrossDipole()
{
    m_setup.crossDipole = m_setup.crossDipole ? 0 : 1;
    if (ControlState* c = Item(kIdcCrossDipole)) c->SetCheck(m_setup.crossDipole);
    if (m_setup.crossDipole)
        SetFlags(m_setup.slownessEnabled, m_setup.slownessDisabled, false, kIdcSlownessEnable, kIdcSlownessDisable);
    UpdateGroups();
}

void CFilterSetupDlg::OnForceInputs()
{
    m_setup.forceInputs = m_setup.forceInputs ? 0 : 1;
    if (ControlState* c = Item(kIdcForceInputs)) c->SetCheck(m_setup.forceInputs);
    if (!m_setup.forceInputs) return;
    InputChangeBookkeeping& changes = Changes();
    changes.inputChanged = changes.timeProfileChanged = changes.frequencyProfileChanged =
        changes.slownessProfileChanged = 1;
    m_setup.changes = changes;
}

void CFilterSetupDlg::OnProfileKind(bool fixed)
{
    SetFlags(m_setup.fixedProfile, m_setup.variableProfile, fixed, kIdcFixedProfile, kIdcVariableProfile);
    UpdateFrequencyGroup();
}

void CFilterSetupDlg::OnShape(bool bell)
{
    SetFlags(m_setup.bellShape, m_setup.semiRectangular, bell, kIdcBellShape, kIdcSemiRectangular);
    DrawResponse();
}

void CFilterSetupDlg::OnTimeWindow(int which)
{
    uint16_t* flags[] = {&m_setup.hannWindow, &m_setup.frontMute, &m_setup.backMute};
    const int ids[] = {kIdcHannWindow, kIdcFrontMute, kIdcBackMute};
    for (int i = 0; i < 3; ++i) {
        *flags[i] = i == which ? 1 : 0;
        if (ControlState* c = Item(ids[i])) c->SetCheck(*flags[i]);
    }
}

void CFilterSetupDlg::OnHScroll(int code)
{
    if (code == kEndScroll) DrawResponse();
}

void CFilterSetupDlg::UpdateFrequencyGroup()
{
    for (int id : kFrequencyGroup) EnableItem(id, false);
    if (m_setup.slownessEnabled || m_setup.frequencyDisabled || !m_setup.frequencyEnabled) return;
    for (int id : kFrequencyGroup) EnableItem(id, true);
    if (m_setup.fixedProfile) {
        EnableItem(kIdcSelectFrequencyProfile, false);
        EnableItem(kIdcFrequencyProfile, false);
    }
}

void CFilterSetupDlg::UpdateTimeGroup()
{
    for (int id : kTimeGroup) EnableItem(id, !m_setup.slownessEnabled && !m_setup.timeDisabled);
}

void CFilterSetupDlg::UpdateSlownessGroup()
{
    const bool on = !m_setup.crossDipole && !m_setup.timeEnabled && !m_setup.frequencyEnabled && !m_setup.slownessDisabled;
    for (int id : kSlownessGroup) EnableItem(id, on);
}

void CFilterSetupDlg::UpdateGroups()
{
    UpdateFrequencyGroup();
    UpdateTimeGroup();
    UpdateSlownessGroup();
}

void CFilterSetupDlg::OnSaveSetup()
{
    if (UpdateData(true)) EndDialog(kSavedSetup);
}

void CFilterSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpFilterSetup); }
