#include "processing/DepthProfileSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/PathLabel.h"
#include "common/DomainRangeChecks.h"
#include "common/RangeCheck.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "res/DepthProfileSetupDlgIds.h"
#include "settings/SettingsStore.h"

#include <initializer_list>
#include <utility>

namespace {

using enum depth_profile_setup::Control;

constexpr const char* kInputLabel = "Input File : ";
constexpr const char* kOutputLabel = "Output File : ";
constexpr uint32_t kHelpDepthProfileSetup = 9;
// The Type list's one line: the profile draws images.
constexpr WaveStyle kStyles[] = {WaveStyle::kVdl};
constexpr ViewDomain kDomains[] = {ViewDomain::kTime, ViewDomain::kFrequency, ViewDomain::kSlowness, ViewDomain::kAzimuth,
                                   ViewDomain::kTimeFrequency};

constexpr RangeFields kDepths{kIdcTopDepth, kIdcBottomDepth, "top depth", "bottom depth", "ft", -100.0, 50000.0};
// The window's own depth zoom limits.
constexpr FieldLimits kDepthScale{"depth scale", 100.0, 1000.0, ""};
using C = depth_profile_setup::Control;
// The frequency reaches 50 kHz; the slowness keeps the slowness search dialog's limits.
constexpr DomainRangeCheck kRanges[] = {TimeCheck<C>(), FrequencyCheck<C>(50000.0), SlownessCheck<C>(30.0, 1250.0),
                                        AzimuthCheck<C>()};

constexpr int kSwitched[] = {kIdcNormalize, kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop,
                             kIdcSlowMin,   kIdcSlowMax,   kIdcAzimMin,  kIdcAzimMax};

} // namespace

std::string CDepthProfileSetupDlg::OutputName(const std::string& title, ViewDomain domain)
{
    const char* suffix = domain == ViewDomain::kTime            ? "_time.qtx"
                         : domain == ViewDomain::kFrequency     ? "_frequency.qtx"
                         : domain == ViewDomain::kSlowness      ? "_slowness.qtx"
                         : domain == ViewDomain::kTimeFrequency ? "_timefreq.qtx"
                                                                : "_azimuth.qtx";
    return title + suffix;
}

std::string CDepthProfileSetupDlg::OutputFolder(const std::string& path, const std::string& name)
{
    // No separator occurs in a file name: the run stops at the last one.
    const size_t keep = path.find_last_not_of(name);
    return keep == std::string::npos ? std::string() : path.substr(0, keep + 1);
}

CDepthProfileSetupDlg::CDepthProfileSetupDlg() : CPresentationSetupDlg(kIddDepthProfileSetup, kHelpDepthProfileSetup, kStyles, kPalettes, kDomains)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    On(kIdcDomain, Notify::SelChange, [this] { OnSelChangeDomain(); });
}

void CDepthProfileSetupDlg::DoDataExchange(DataExchange& dx)
{
    ExchangeDomainView(dx, kDepths, kDepthScale, kRanges);
}

bool CDepthProfileSetupDlg::OnInitDialog()
{
    // The lists must hold their entries before the exchange selects the stored ones.
    FillDomainList();
    FillTypeList();
    FillList(Item(kIdcColour), depth_profile_setup::kColours);
    FillPaletteList();
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPath(kInputLabel, m_setup.inputPath));
    SetItemText(kIdcOutputFile, ShortenPath(kOutputLabel, m_setup.outputPath));
    if (m_setup.slownessUnit != SlownessUnit::kUnset) SetItemText(kIdcSlownessGroup, SlownessRangeTitle(m_setup.slownessUnit));
    EnableRanges();
    EnableByType();
    CenterWindow();
    return true;
}

void CDepthProfileSetupDlg::OnOK()
{
    if (m_setup.inputPath.empty()) {
        MessageBox("Select the input QTX file to profile first.", MB_OK | MB_ICONEXCLAMATION);
        SetFocus(kIdcSelectInputFile);
        return;
    }
    CDialog::OnOK();
}

void CDepthProfileSetupDlg::EnableRanges()
{
    for (int id : kSwitched) EnableItem(id, false);
    auto enable = [this](std::initializer_list<int> ids) {
        for (int id : ids) EnableItem(id, true);
    };
    switch (m_setup.domain) {
    case ViewDomain::kFrequency: enable({kIdcFreqStart, kIdcFreqStop}); break;
    case ViewDomain::kSlowness: enable({kIdcSlowMin, kIdcSlowMax, kIdcNormalize}); break;
    case ViewDomain::kAzimuth: enable({kIdcAzimMin, kIdcAzimMax}); break;
    case ViewDomain::kTimeFrequency: enable({kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop}); break;
    default: enable({kIdcTimeStart, kIdcTimeStop}); // time, and a group that names none
    }
}

void CDepthProfileSetupDlg::DeriveOutput()
{
    m_setup.outputName = OutputName(m_setup.inputTitle, m_setup.domain);
    m_setup.outputFolder = OutputFolder(m_setup.inputPath, m_setup.inputName);
    m_setup.outputPath = m_setup.outputFolder + m_setup.outputName;
    m_setup.outputExt = ".qtx";
    SetItemText(kIdcOutputFile, ShortenPath(kOutputLabel, m_setup.outputPath));
}

int CDepthProfileSetupDlg::OnSelectInputFile()
{
    if (!ChooseQtxInput(*this, kIdcInputFile, InputFileOf(m_setup))) return 0;
    DeriveOutput();
    QtxInputRead read;
    if (!ReadInput(m_setup.inputPath, read)) return 0;
    TakeSlownessWindow(*this, read.datums, {kIdcSlownessGroup, kIdcSlowMin, kIdcSlowMax, m_setup.slownessUnit,
                                            m_setup.slowMin, m_setup.slowMax});
    return 1;
}

int CDepthProfileSetupDlg::OnSelectOutputFile()
{
    return ChooseOutputFile(*this, kIdcOutputFile, "Browse Output QTX File", kOutputLabel,
                            {m_setup.outputPath, m_setup.outputName, m_setup.outputExt})
               ? 1
               : 0;
}

void CDepthProfileSetupDlg::OnSelChangeDomain()
{
    m_setup.domain = SelectedDomain();
    EnableRanges();
    if (m_setup.inputPath.empty()) return;
    SetItemText(kIdcInputFile, ShortenPath(kInputLabel, m_setup.inputPath));
    DeriveOutput();
}
