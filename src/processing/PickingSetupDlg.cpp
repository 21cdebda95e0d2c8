#include "processing/PickingSetupDlg.h"

#include "platform/Format.h"
#include "platform/Host.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/PickingSetupDlgIds.h"
#include "res/StringTable.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"

#include <algorithm>
#include <initializer_list>

namespace {

using enum picking_setup::Control;

constexpr uint32_t kHelpPickingSetup = 7;
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

} // namespace

CPickingSetupDlg::CPickingSetupDlg() : CProfileSetupDlg(kIddPickingSetup, kHelpPickingSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    for (int m = 0; m < 4; ++m) On(kModeIds[m], Notify::Clicked, [this, m] { OnMode(Mode(m)); });
    On(kIdcFrequencyEnable, Notify::Clicked, [this] { OnFrequencyEnable(true); });
    On(kIdcFrequencyDisable, Notify::Clicked, [this] { OnFrequencyEnable(false); });
    On(kIdcFixedProfile, Notify::Clicked, [this] { OnProfileKind(true); });
    On(kIdcVariableProfile, Notify::Clicked, [this] { OnProfileKind(false); });
    On(kIdcSlownessFixed, Notify::Clicked, [this] { OnSlownessMode(0); });
    On(kIdcSlownessVariable, Notify::Clicked, [this] { OnSlownessMode(1); });
    On(kIdcSlownessVpVs, Notify::Clicked, [this] { OnSlownessMode(2); });
    On(kIdcEnglish, Notify::Clicked, [this] { OnUnits(true); });
    On(kIdcMetric, Notify::Clicked, [this] { OnUnits(false); });
    for (int id : {kIdcNoisyData, kIdcDispersionPackage, kIdcNormalizeWaveforms, kIdcForceInputs, kIdcExclude})
        On(id, Notify::Clicked, [this, id] { OnToggle(id); });
    for (bool single : {true, false})
        On(single ? kIdcSingle : kIdcArray, Notify::Clicked, [this, single] {
            SetRadioPair(*this, m_setup.singleMode, m_setup.arrayMode, single, kIdcSingle, kIdcArray);
        });
    const int resolution[] = {kIdcResolutionLow, kIdcResolutionMedium, kIdcResolutionHigh, kIdcResolutionVeryHigh};
    for (int r = 0; r < 4; ++r)
        On(resolution[r], Notify::Clicked, [this, r] {
            auto& s = m_setup;
            SetRadioSet(*this,
                        {{kIdcResolutionLow, &s.resolutionLow}, {kIdcResolutionMedium, &s.resolutionMedium},
                         {kIdcResolutionHigh, &s.resolutionHigh}, {kIdcResolutionVeryHigh, &s.resolutionVeryHigh}},
                        r);
        });
    On(kIdcReceivers, Notify::SelChange, [this] { OnSelchangeReceiverList(); });
}

InputChangeBookkeeping& CPickingSetupDlg::Changes() { return theApp.m_dormant.picking.changes; }

bool CPickingSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowPaths();
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
    SetRadioPair(*this, m_setup.frequencyEnabled, m_setup.frequencyDisabled, enable, kIdcFrequencyEnable,
                 kIdcFrequencyDisable);
    UpdateFrequencyControls();
}

void CPickingSetupDlg::OnProfileKind(bool fixed)
{
    SetRadioPair(*this, m_setup.fixedProfile, m_setup.variableProfile, fixed, kIdcFixedProfile, kIdcVariableProfile);
    UpdateFrequencyControls();
}

void CPickingSetupDlg::OnSlownessMode(int which)
{
    SetRadioSet(*this,
                {{kIdcSlownessFixed, &m_setup.slownessFixed}, {kIdcSlownessVariable, &m_setup.slownessVariable},
                 {kIdcSlownessVpVs, &m_setup.slownessVpVs}},
                which);
    UpdateSlownessControls();
}

void CPickingSetupDlg::OnUnits(bool english)
{
    SetRadioPair(*this, m_setup.english, m_setup.metric, english, kIdcEnglish, kIdcMetric);
    UpdateSlownessControls();
}

void CPickingSetupDlg::OnToggle(int id)
{
    uint16_t& flag = id == kIdcNoisyData           ? m_setup.noisyData
                     : id == kIdcDispersionPackage ? m_setup.dispersionPackage
                     : id == kIdcNormalizeWaveforms ? m_setup.normalizeWaveforms
                     : id == kIdcForceInputs        ? m_setup.forceInputs
                                                    : m_setup.exclude;
    ToggleCheck(*this, id, flag);
    if (id == kIdcForceInputs && flag) ForceAllInputs(m_setup, Changes());
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
    // String-table ids of the receiver names: R1 to R8, and R9 to R13 in a run of their own.
    constexpr unsigned kIdsReceiverR1 = 61264, kIdsReceiverR9 = 50054;
    for (int i = 0; i < 8; ++i) m_receiverNames[size_t(i)] = LoadString(kIdsReceiverR1 + unsigned(i));
    for (int i = 0; i < 5; ++i) m_receiverNames[size_t(8 + i)] = LoadString(kIdsReceiverR9 + unsigned(i));
    m_rowCount = kPickingReceiverRows;
    if (!m_setup.inputPath.empty()) {
        CQtxFile file;
        CQtxDatumList datums;
        if (OkOrShow(file.OpenRead(m_setup.inputPath)) && OkOrShow(file.ReadDatumList(datums))) {
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
    m_currentRow = list->CaretIndex();
    // Every row takes what the list shows: one change may select or clear several.
    const int rows = std::min(list->Count(), kPickingReceiverRows);
    for (int row = 0; row < rows; ++row) m_setup.excluded[size_t(row)] = list->IsSelected(row) ? 1 : 0;
}

int CPickingSetupDlg::OnSelectInputFile()
{
    CQtxDatumList datums;
    if (!SelectInput(m_setup.inputTitle, [this] { DeriveOutputName(); }, datums)) return 0;
    DrawResponse();
    return 1;
}

void CPickingSetupDlg::ProfileRead(SetupInput which, const CQtxDatumList&)
{
    if (which == SetupInput::Slowness) FillReceiverList();
}
