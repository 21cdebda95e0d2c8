#include "processing/FilterSetupDlg.h"

#include "platform/Format.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/FilterSetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"

#include <initializer_list>

namespace {

using enum filter_setup::Control;

constexpr uint32_t kHelpFilterSetup = 3;

constexpr int kFrequencyGroup[] = {kIdcSelectFrequencyProfile, kIdcFrequencyProfile, kIdcAxisEnd, kIdcAxisStart,
                                   kIdcFrequencyStartLabel, kIdcFrequencyStopLabel, kIdcFrequencyStart,
                                   kIdcFrequencyStop, kIdcBellShape, kIdcSemiRectangular, kIdcFixedProfile,
                                   kIdcVariableProfile, kIdcResponse};
constexpr int kTimeGroup[] = {kIdcSelectTimeProfile, kIdcTimeProfile, kIdcTimeStart,  kIdcTimeStop,   kIdcHannWindow,
                              kIdcFrontMute,         kIdcBackMute,    kIdcTimeStartLabel, kIdcTimeStopLabel};
constexpr int kSlownessGroup[] = {kIdcSelectSlownessProfile, kIdcSlownessProfile, kIdcSlownessStart,
                                  kIdcSlownessStop,          kIdcSlownessStartLabel, kIdcSlownessStopLabel};

} // namespace

CFilterSetupDlg::CFilterSetupDlg() : CProfileSetupDlg(kIddFilterSetup, kHelpFilterSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
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
    On(kIdcHannWindow, Notify::Clicked, [this] { OnTimeWindow(0); });
    On(kIdcFrontMute, Notify::Clicked, [this] { OnTimeWindow(1); });
    On(kIdcBackMute, Notify::Clicked, [this] { OnTimeWindow(2); });
}

InputChangeBookkeeping& CFilterSetupDlg::Changes() { return theApp.m_dormant.filter.changes; }

bool CFilterSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowPaths();
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

void CFilterSetupDlg::ApplySlownessRange(const CQtxDatumList& datums)
{
    SlownessWindow window;
    if (!SuggestSlownessWindow(datums, window)) return;
    m_setup.slownessTitle = SlownessRangeTitle(window.unit);
    m_setup.slownessStart = window.min;
    m_setup.slownessStop = window.max;
    SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    SetItemNumber(kIdcSlownessStart, m_setup.slownessStart, "%6.1f");
    SetItemNumber(kIdcSlownessStop, m_setup.slownessStop, "%6.1f");
}

int CFilterSetupDlg::OnSelectInputFile()
{
    std::string title;
    CQtxDatumList datums;
    const auto nameOutput = [&] {
        m_setup.outputName = title + "_filt.qtx";
        m_setup.inputFolder = CDepthProfileSetupDlg::OutputFolder(m_setup.inputPath, m_setup.inputName);
        m_setup.outputPath = m_setup.inputFolder + m_setup.outputName;
        m_setup.outputExt = ".qtx";
    };
    if (!SelectInput(title, nameOutput, datums)) return 0;
    ApplySlownessRange(datums);
    DrawResponse();
    return 1;
}

void CFilterSetupDlg::ProfileRead(SetupInput, const CQtxDatumList& datums) { ApplySlownessRange(datums); }

void CFilterSetupDlg::EnableGroup(Group group, bool enable)
{
    auto& s = m_setup;
    if (group == Group::Frequency)
        SetRadioPair(*this, s.frequencyEnabled, s.frequencyDisabled, enable, kIdcFrequencyEnable, kIdcFrequencyDisable);
    else if (group == Group::Time)
        SetRadioPair(*this, s.timeEnabled, s.timeDisabled, enable, kIdcTimeEnable, kIdcTimeDisable);
    else
        SetRadioPair(*this, s.slownessEnabled, s.slownessDisabled, enable, kIdcSlownessEnable, kIdcSlownessDisable);
}

void CFilterSetupDlg::OnFrequencyEnable(bool enable)
{
    EnableGroup(Group::Frequency, enable);
    if (enable) EnableGroup(Group::Slowness, false);
    UpdateGroups();
}

void CFilterSetupDlg::OnTimeEnable(bool enable)
{
    EnableGroup(Group::Time, enable);
    if (enable) EnableGroup(Group::Slowness, false);
    UpdateGroups();
}

void CFilterSetupDlg::OnSlownessEnable(bool enable)
{
    EnableGroup(Group::Slowness, enable);
    if (enable) {
        EnableGroup(Group::Frequency, false);
        EnableGroup(Group::Time, false);
    }
    UpdateGroups();
}

void CFilterSetupDlg::OnCrossDipole()
{
    ToggleCheck(*this, kIdcCrossDipole, m_setup.crossDipole);
    if (m_setup.crossDipole) EnableGroup(Group::Slowness, false);
    UpdateGroups();
}

void CFilterSetupDlg::OnForceInputs()
{
    ToggleCheck(*this, kIdcForceInputs, m_setup.forceInputs);
    if (m_setup.forceInputs) ForceAllInputs(m_setup, Changes());
}

void CFilterSetupDlg::OnProfileKind(bool fixed)
{
    SetRadioPair(*this, m_setup.fixedProfile, m_setup.variableProfile, fixed, kIdcFixedProfile, kIdcVariableProfile);
    UpdateFrequencyGroup();
}

void CFilterSetupDlg::OnTimeWindow(int which)
{
    SetRadioSet(*this,
                {{kIdcHannWindow, &m_setup.hannWindow}, {kIdcFrontMute, &m_setup.frontMute},
                 {kIdcBackMute, &m_setup.backMute}},
                which);
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
