#include "processing/PickingSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "settings/SettingsStore.h"

#include <initializer_list>

namespace {

using enum picking_setup::Control;

constexpr const char* kFilter = "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||";
constexpr uint32_t kHelpPickingSetup = 7;
constexpr int kEndScroll = 8;
constexpr const char* kSuffixes[] = {"_Ifs.qtx", "_Semb.qtx", "_SembMap.qtx", "_FreqMap.qtx"};
constexpr int kModeIds[] = {kIdcIfsAnalysis, kIdcGuidedSemblance, kIdcStcMap, kIdcSfcMap};

constexpr int kFrequencyControls[] = {kIdcSelectFrequencyProfile, kIdcFrequencyProfile, kIdcAxisStart, kIdcAxisEnd,
                                      kIdcFrequencyStartLabel, kIdcFrequencyStopLabel, kIdcFrequencyStart,
                                      kIdcFrequencyStop, kIdcBellShape, kIdcSemiRectangular, kIdcFixedProfile,
                                      kIdcVariableProfile, kIdcResponse};
constexpr int kTimeControls[] = {kIdcSelectTimeProfile, kIdcTimeProfile, kIdcTimeStart, kIdcTimeStop,
                                 kIdcTimeWidth, kIdcTimeStartLabel, kIdcTimeStopLabel, kIdcTimeWidthLabel};
constexpr int kSlownessControls[] = {kIdcSelectSlownessProfile, kIdcSlownessProfile, kIdcSlownessStart,
                                     kIdcSlownessStop, kIdcSlownessWidth, kIdcMinVpVs, kIdcMaxVpVs,
                                     kIdcSlownessStopLabel, kIdcSlownessStartLabel, kIdcSlownessWidthLabel,
                                     kIdcMinVpVsLabel, kIdcMaxVpVsLabel};

std::string Shorten(const char* label, const std::string& path) { return ShortenPath(label, path, kNarrowPathLabel); }

} // namespace

struct CPickingSetupDlg::ProfileFiles {
    const char* title;
    std::string PickingSetupGroup::*path;
    std::string PickingSetupGroup::*name;
    std::string PickingSetupGroup::*ext;
    int label;
    uint32_t InputChangeBookkeeping::*changed;
    uint32_t InputChangeBookkeeping::*size;
};

CPickingSetupDlg::CPickingSetupDlg() : CSetupDlg(kIddPickingSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcSelectFrequencyProfile, Notify::Clicked, [this] { OnSelectFrequencyProfile(); });
    On(kIdcSelectTimeProfile, Notify::Clicked, [this] { OnSelectTimeProfile(); });
    On(kIdcSelectSlownessProfile, Notify::Clicked, [this] { OnSelectSlownessProfile(); });
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    for (int m = 0; m < 4; ++m) On(kModeIds[m], Notify::Clicked, [this, m] { OnMode(Mode(m)); });
    On(kIdcFrequencyEnable, Notify::Clicked, [this] { OnFrequencyEnable(true); });
    On(kIdcFrequencyDisable, Notify::Clicked, [this] { OnFrequencyEnable(false); });
    On(kIdcFixedProfile, Notify::Clicked, [this] { OnProfileKind(true); });
    On(kIdcVariableProfile, Notify::Clicked, [this] { OnProfileKind(false); });
    On(kIdcBellShape, Notify::Clicked, [this] { OnShape(true); });
    On(kIdcSemiRectangular, Notify::Clicked, [this] { OnShape(false); });
    On(kIdcResponse, Notify::Clicked, [this] { DrawResponse(); });
    On(kIdcSlownessFixed, Notify::Clicked, [this] { OnSlownessMode(0); });
    On(kIdcSlownessVariable, Notify::Clicked, [this] { OnSlownessMode(1); });
    On(kIdcSlownessVpVs, Notify::Clicked, [this] { OnSlownessMode(2); });
    On(kIdcEnglish, Notify::Clicked, [this] { OnUnits(true); });
    On(kIdcMetric, Notify::Clicked, [this] { OnUnits(false); });
    for (int id : {kIdcNoisyData, kIdcDispersionPackage, kIdcNormalizeWaveforms, kIdcForceInputs, kIdcExclude})
        On(id, Notify::Clicked, [this, id] { OnToggle(id); });
    const auto set = [this](uint16_t& a, uint16_t& b, bool first) {
        a = first ? 1 : 0, b = first ? 0 : 1;
        Item(kIdcSingle)->SetCheck(m_setup.singleMode), Item(kIdcArray)->SetCheck(m_setup.arrayMode);
    };
    On(kIdcSingle, Notify::Clicked, [this, set] { set(m_setup.singleMode, m_setup.arrayMode, true); });
    On(kIdcArray, Notify::Clicked, [this, set] { set(m_setup.singleMode, m_setup.arrayMode, false); });
    const int resolution[] = {kIdcResolutionLow, kIdcResolutionMedium, kIdcResolutionHigh, kIdcResolutionVeryHigh};
    for (int r = 0; r < 4; ++r)
        On(resolution[r], Notify::Clicked, [this, r, resolution] {
            uint16_t* flags[] = {&m_setup.resolutionLow, &m_setup.resolutionMedium, &m_setup.resolutionHigh,
                                 &m_setup.resolutionVeryHigh};
            for (int i = 0; i < 4; ++i) *flags[i] = i == r ? 1 : 0, Item(resolution[i])->SetCheck(*flags[i]);
        });
    On(kIdcReceivers, Notify::SelChange, [this] { OnSelchangeReceiverList(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

InputChangeBookkeeping& CPickingSetupDlg::Changes() { return theApp.m_dormant.picking.changes; }

bool CPickingSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, Shorten("Input File : ", m_setup.inputPath));
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));
    SetItemText(kIdcFrequencyProfile, Shorten("Profile : ", m_setup.frequencyProfilePath));
    SetItemText(kIdcTimeProfile, Shorten("Profile : ", m_setup.timeProfilePath));
    SetItemText(kIdcSlownessProfile, Shorten("Profile : ", m_setup.slownessProfilePath));
    UpdateOptionsAndOutputName();
    UpdateFrequencyControls();
    UpdateTimeControls();
    UpdateSlownessControls();
    FillReceiverList();
    CenterWindow();
    return true;
}

void CPickingSetupDlg::DoDataExchange(DataExchange& dx)
{
    auto& s = m_setup;
    dx.Text(kIdcTopDepth, s.topDepth);
    dx.Text(kIdcBottomDepth, s.bottomDepth);
    dx.OneHot({{kIdcFrequencyEnable, &s.frequencyEnabled}, {kIdcFrequencyDisable, &s.frequencyDisabled}});
    dx.OneHot({{kIdcFixedProfile, &s.fixedProfile}, {kIdcVariableProfile, &s.variableProfile}});
    dx.OneHot({{kIdcBellShape, &s.bellShape}, {kIdcSemiRectangular, &s.semiRectangular}});
    dx.OneHot({{kIdcSingle, &s.singleMode}, {kIdcArray, &s.arrayMode}});
    dx.OneHot({{kIdcEnglish, &s.english}, {kIdcMetric, &s.metric}});
    dx.OneHot({{kIdcSlownessFixed, &s.slownessFixed}, {kIdcSlownessVariable, &s.slownessVariable},
               {kIdcSlownessVpVs, &s.slownessVpVs}});
    dx.OneHot({{kIdcIfsAnalysis, &s.ifsAnalysis}, {kIdcGuidedSemblance, &s.guidedSemblance},
               {kIdcStcMap, &s.stcMap}, {kIdcSfcMap, &s.sfcMap}});
    dx.OneHot({{kIdcResolutionLow, &s.resolutionLow}, {kIdcResolutionMedium, &s.resolutionMedium},
               {kIdcResolutionHigh, &s.resolutionHigh}, {kIdcResolutionVeryHigh, &s.resolutionVeryHigh}});
    // The toggles' marks follow their flags; only a click changes a flag.
    if (dx.Saving() || dx.Failed()) return;
    for (auto [id, flag] : {std::pair{kIdcNoisyData, s.noisyData}, {kIdcDispersionPackage, s.dispersionPackage},
                            {kIdcNormalizeWaveforms, s.normalizeWaveforms}, {kIdcForceInputs, s.forceInputs},
                            {kIdcExclude, s.exclude}})
        if (ControlState* c = Item(id)) c->SetCheck(flag ? 1 : 0);
}

void CPickingSetupDlg::OnDrawItem(int id, Dc& dc, const Rect& client)
{
    if (id != kIdcResponse) return;
    ::DrawResponse(dc, client, m_setup.bellShape != 0, ResponseEditValue(GetItemText(kIdcFrequencyStart)),
                   ResponseEditValue(GetItemText(kIdcFrequencyStop)), m_sampleInterval, m_response);
}

void CPickingSetupDlg::OnMode(Mode mode)
{
    uint16_t* flags[] = {&m_setup.ifsAnalysis, &m_setup.guidedSemblance, &m_setup.stcMap, &m_setup.sfcMap};
    m_outputNameReset = *flags[mode] == 1 ? 0 : 1;
    for (int i = 0; i < 4; ++i) {
        *flags[i] = i == mode ? 1 : 0;
        if (ControlState* c = Item(kModeIds[i])) c->SetCheck(*flags[i]);
    }
    UpdateOptionsAndOutputName();
    UpdateTimeControls();
    UpdateSlownessControls();
}

void CPickingSetupDlg::OnFrequencyEnable(bool enable)
{
    m_setup.frequencyEnabled = enable ? 1 : 0, m_setup.frequencyDisabled = enable ? 0 : 1;
    Item(kIdcFrequencyEnable)->SetCheck(m_setup.frequencyEnabled);
    Item(kIdcFrequencyDisable)->SetCheck(m_setup.frequencyDisabled);
    UpdateFrequencyControls();
}

void CPickingSetupDlg::OnProfileKind(bool fixed)
{
    m_setup.fixedProfile = fixed ? 1 : 0, m_setup.variableProfile = fixed ? 0 : 1;
    Item(kIdcFixedProfile)->SetCheck(m_setup.fixedProfile);
    Item(kIdcVariableProfile)->SetCheck(m_setup.variableProfile);
    UpdateFrequencyControls();
}

void CPickingSetupDlg::OnShape(bool bell)
{
    m_setup.bellShape = bell ? 1 : 0, m_setup.semiRectangular = bell ? 0 : 1;
    Item(kIdcBellShape)->SetCheck(m_setup.bellShape);
    Item(kIdcSemiRectangular)->SetCheck(m_setup.semiRectangular);
    DrawResponse();
}

void CPickingSetupDlg::OnSlownessMode(int which)
{
    uint16_t* flags[] = {&m_setup.slownessFixed, &m_setup.slownessVariable, &m_setup.slownessVpVs};
    const int ids[] = {kIdcSlownessFixed, kIdcSlownessVariable, kIdcSlownessVpVs};
    for (int i = 0; i < 3; ++i) *flags[i] = i == which ? 1 : 0, Item(ids[i])->SetCheck(*flags[i]);
    UpdateSlownessControls();
}

void CPickingSetupDlg::OnUnits(bool english)
{
    m_setup.english = english ? 1 : 0, m_setup.metric = english ? 0 : 1;
    Item(kIdcEnglish)->SetCheck(m_setup.english);
    Item(kIdcMetric)->SetCheck(m_setup.metric);
    UpdateSlownessControls();
}

void CPickingSetupDlg::OnToggle(int id)
{
    uint16_t& flag = id == kIdcNoisyData           ? m_setup.noisyData
                     : id == kIdcDispersionPackage ? m_setup.dispersionPackage
                     : id == kIdcNormalizeWaveforms ? m_setup.normalizeWaveforms
                     : id == kIdcForceInputs        ? m_setup.forceInputs
                                                    : m_setup.exclude;
    flag = flag ? 0 : 1;
    if (ControlState* c = Item(id)) c->SetCheck(flag);
    if (id == kIdcForceInputs && flag) {
        InputChangeBookkeeping& ch = Changes();
        ch.inputChanged = ch.timeProfileChanged = ch.frequencyProfileChanged = ch.slownessProfileChanged = 1;
        m_setup.changes = ch;
    }
    if (id == kIdcExclude) FillReceiverList();
}

void CPickingSetupDlg::DeriveOutputName()
{
    const uint16_t flags[] = {m_setup.ifsAnalysis, m_setup.guidedSemblance, m_setup.stcMap, m_setup.sfcMap};
    for (int i = 0; i < 4; ++i)
        if (flags[i]) m_setup.outputName = m_setup.inputTitle + kSuffixes[i];
    m_setup.inputFolder = CDepthProfileSetupDlg::OutputFolder(m_setup.inputPath, m_setup.inputName);
    m_setup.outputPath = m_setup.inputFolder + m_setup.outputName;
    m_setup.outputExt = ".qtx";
}

void CPickingSetupDlg::UpdateOptionsAndOutputName()
{
    const bool ifs = m_setup.ifsAnalysis != 0;
    for (int id : {kIdcTimePoints, kIdcTimePointsLabel, kIdcNoisyData, kIdcSingle, kIdcArray, kIdcDispersionPackage})
        EnableItem(id, ifs);
    for (int id : {kIdcResolutionLow, kIdcResolutionMedium, kIdcResolutionHigh, kIdcResolutionVeryHigh})
        EnableItem(id, !ifs);
    // Only the mark: the package's flag changes by its own click.
    if (ControlState* c = Item(kIdcDispersionPackage)) c->SetCheck(ifs ? 1 : 0);
    if (m_setup.inputTitle.empty()) return;
    if (m_setup.outputPath.empty() || m_outputNameReset) DeriveOutputName();
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));
}

void CPickingSetupDlg::UpdateFrequencyControls()
{
    for (int id : kFrequencyControls) EnableItem(id, m_setup.frequencyEnabled != 0);
    if (m_setup.frequencyEnabled && m_setup.fixedProfile) {
        EnableItem(kIdcSelectFrequencyProfile, false);
        EnableItem(kIdcFrequencyProfile, false);
    }
}

void CPickingSetupDlg::UpdateTimeControls()
{
    for (int id : kTimeControls) EnableItem(id, false);
    for (int id : {kIdcTimeStart, kIdcTimeStartLabel, kIdcTimeWidth, kIdcTimeWidthLabel}) EnableItem(id, true);
    SetItemText(kIdcTimeGroup, "Response [uSec]");
    if (m_setup.stcMap || m_setup.sfcMap) {
        EnableItem(kIdcTimeStop, true);
        EnableItem(kIdcTimeStopLabel, true);
        if (!m_setup.stcMap) SetItemText(kIdcTimeGroup, "Response [Hz]");
        return;
    }
    EnableItem(kIdcSelectTimeProfile, true);
    EnableItem(kIdcTimeProfile, true);
}

void CPickingSetupDlg::UpdateSlownessControls()
{
    SetItemText(kIdcSlownessGroup, m_setup.english ? "Response [uSec/ft]" : "Response [uSec/m]");
    for (int id : kSlownessControls) EnableItem(id, false);
    for (int id : {kIdcSlownessStart, kIdcSlownessStop, kIdcSlownessStopLabel, kIdcSlownessStartLabel})
        EnableItem(id, true);
    if (m_setup.stcMap || m_setup.sfcMap) return;
    if (m_setup.slownessVpVs) {
        for (int id : {kIdcMinVpVs, kIdcMaxVpVs, kIdcMinVpVsLabel, kIdcMaxVpVsLabel, kIdcSelectSlownessProfile,
                       kIdcSlownessProfile})
            EnableItem(id, true);
    } else if (m_setup.slownessVariable) {
        for (int id : {kIdcSelectSlownessProfile, kIdcSlownessProfile, kIdcSlownessWidth, kIdcSlownessWidthLabel})
            EnableItem(id, true);
    }
}

void CPickingSetupDlg::FillReceiverList()
{
    for (int i = 0; i < 8; ++i) m_receiverNames[size_t(i)] = LoadString(61264u + unsigned(i));
    for (int i = 0; i < 5; ++i) m_receiverNames[size_t(8 + i)] = LoadString(50054u + unsigned(i));
    m_rowCount = kPickingReceiverRows;
    if (!m_setup.inputPath.empty()) {
        CQtxFile file;
        CQtxDatumList datums;
        if (file.OpenRead(m_setup.inputPath) && file.ReadDatumList(datums)) {
            file.CloseInput();
            for (const auto& datum : datums) {
                if (datum->m_category != kCategoryWaveform) continue;
                // One exclusion flag and name per row: more receivers than rows are refused.
                if (datum->m_traceCount > kPickingReceiverRows)
                    MessageBox(Format("The input data set has %d receivers; at most %d can be listed.",
                                      int(datum->m_traceCount), kPickingReceiverRows),
                               MB_OK | MB_ICONEXCLAMATION);
                else m_rowCount = datum->m_traceCount;
                break;
            }
        }
    }
    ControlState* list = Item(kIdcReceivers);
    if (!list) return;
    list->ResetContent();
    for (int row = 0; row < m_rowCount; ++row) list->AddString(m_receiverNames[size_t(row)]);
    if (m_setup.exclude) {
        EnableItem(kIdcReceivers, true);
        for (int row = 0; row < m_rowCount; ++row) list->SetSel(row, m_setup.excluded[size_t(row)] != 0);
    } else {
        EnableItem(kIdcReceivers, false);
        m_setup.excluded.fill(0);
        list->SetSel(-1, true);
    }
}

void CPickingSetupDlg::OnSelchangeReceiverList()
{
    const ControlState* list = Item(kIdcReceivers);
    if (!list) return;
    const int row = list->CaretIndex();
    if (row < 0 || row >= kPickingReceiverRows) return;
    m_currentRow = row;
    m_setup.excluded[size_t(row)] = m_setup.excluded[size_t(row)] ? 0 : 1;
}

int CPickingSetupDlg::OnSelectInputFile()
{
    const std::string previous = m_setup.inputPath;
    std::string path = m_setup.inputPath, title = m_setup.inputName, ext = m_setup.inputExt;
    if (!BrowseFile(Browse::Open, "Browse Input QTX File", kFilter, path, title, ext)) return 0;
    m_setup.inputPath = path;
    m_setup.inputName = FileName(path);
    m_setup.inputExt = ext;
    m_setup.inputTitle = title;
    NoteInputChange(Changes().inputChanged, Changes().inputSize, m_setup.forceInputs, path, previous);
    m_setup.changes = Changes();
    SetItemText(kIdcInputFile, Shorten("Input File : ", path));
    CQtxFile file;
    if (!file.OpenRead(path)) return 0;
    DeriveOutputName();
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));
    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, m_setup.topDepth, m_setup.bottomDepth, datums)) return 0;
    SetItemText(kIdcTopDepth, DepthText(m_setup.topDepth));
    SetItemText(kIdcBottomDepth, DepthText(m_setup.bottomDepth));
    DrawResponse();
    return 1;
}

int CPickingSetupDlg::PickProfile(const ProfileFiles& kind)
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
    CQtxDatumList datums;
    if (!file.OpenRead(path) || !file.ReadDatumList(datums)) return 0;
    file.CloseInput();
    if (kind.label == kIdcSlownessProfile) FillReceiverList();
    DrawResponse();
    return 1;
}

int CPickingSetupDlg::OnSelectFrequencyProfile()
{
    using G = PickingSetupGroup;
    using C = InputChangeBookkeeping;
    return PickProfile({"Browse Frequency Profile", &G::frequencyProfilePath, &G::frequencyProfileName,
                        &G::frequencyProfileExt, kIdcFrequencyProfile, &C::frequencyProfileChanged,
                        &C::frequencyProfileSize});
}

int CPickingSetupDlg::OnSelectTimeProfile()
{
    using G = PickingSetupGroup;
    using C = InputChangeBookkeeping;
    return PickProfile({"Browse Time Profile", &G::timeProfilePath, &G::timeProfileName, &G::timeProfileExt,
                        kIdcTimeProfile, &C::timeProfileChanged, &C::timeProfileSize});
}

int CPickingSetupDlg::OnSelectSlownessProfile()
{
    using G = PickingSetupGroup;
    using C = InputChangeBookkeeping;
    return PickProfile({"Browse Slowness Profile", &G::slownessProfilePath, &G::slownessProfileName,
                        &G::slownessProfileExt, kIdcSlownessProfile, &C::slownessProfileChanged,
                        &C::slownessProfileSize});
}

int CPickingSetupDlg::OnSelectOutputFile()
{
    std::string path = m_setup.outputPath, title = m_setup.outputName, ext = m_setup.outputExt;
    if (!BrowseFile(Browse::Save, "Browse Output QTX File", kFilter, path, title, ext)) return 0;
    m_setup.outputPath = path;
    m_setup.outputName = title;
    m_setup.outputExt = ext;
    SetItemText(kIdcOutputFile, Shorten("Output File : ", path));
    DrawResponse();
    return 1;
}

void CPickingSetupDlg::OnHScroll(int code)
{
    if (code == kEndScroll) DrawResponse();
}

void CPickingSetupDlg::OnSaveSetup()
{
    if (UpdateData(true)) EndDialog(kSavedSetup);
}

void CPickingSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpPickingSetup); }
