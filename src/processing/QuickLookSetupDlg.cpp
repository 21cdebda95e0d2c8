#include "processing/QuickLookSetupDlg.h"

#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/SetupSteps.h"
#include "platform/Dc.h"
#include "platform/Format.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/QuickLookSetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/DomainSetupGroup.h"
#include "settings/ProcessingSetupGroups.h"
#include "settings/VdlSetupGroup.h"

namespace {

using enum quick_look_setup::Control;

constexpr uint32_t kHelpQuickLookSetup = 10;

std::string Shorten(const char* label, const std::string& path) { return ShortenPath(label, path, kNarrowPathLabel); }

} // namespace

QuickLookProfile QuickLookDefaults(bool pWave, bool english, bool fast)
{
    // Index: wave (P 0, S 1), unit (English 0, Metric 1), formation (fast 0, slow 1).
    static constexpr QuickLookProfile kTable[2][2][2] = {
        {{{400, 1400, 100, 40.0f, 120.0f}, {400, 2400, 100, 40.0f, 240.0f}},
         {{400, 1400, 100, 120.0f, 420.0f}, {400, 2400, 100, 120.0f, 720.0f}}},
        {{{800, 2800, 250, 80.0f, 280.0f}, {1500, 7500, 500, 80.0f, 680.0f}},
         {{800, 2800, 250, 240.0f, 840.0f}, {1500, 7500, 500, 250.0f, 2250.0f}}},
    };
    return kTable[pWave ? 0 : 1][english ? 0 : 1][fast ? 0 : 1];
}

CQuickLookSetupDlg::CQuickLookSetupDlg() : CSetupDlg(kIddQuickLookSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    On(kIdcEnglish, Notify::Clicked, [this] { OnUnits(true); });
    On(kIdcMetric, Notify::Clicked, [this] { OnUnits(false); });
    On(kIdcPWave, Notify::Clicked, [this] { OnWave(true); });
    On(kIdcSWave, Notify::Clicked, [this] { OnWave(false); });
    On(kIdcFastFormation, Notify::Clicked, [this] { OnFormation(true); });
    On(kIdcSlowFormation, Notify::Clicked, [this] { OnFormation(false); });
    On(kIdcMedium, Notify::Clicked, [this] { OnResolution(true); });
    On(kIdcHigh, Notify::Clicked, [this] { OnResolution(false); });
    On(kIdcCalibrateDelay, Notify::Clicked, [this] { OnCalibrateDelay(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

bool CQuickLookSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, Shorten("Input File : ", m_setup.inputPath));
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));
    if (!m_setup.slownessTitle.empty()) SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    EnableItem(kIdcDelay, m_setup.calibrateDelay != 0);
    CenterWindow();
    return true;
}

void CQuickLookSetupDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(kIdcTopDepth, m_setup.topDepth);
    dx.Text(kIdcBottomDepth, m_setup.bottomDepth);
    dx.Text(kIdcBitSize, m_bitSize);
    dx.Text(kIdcDelay, m_delay);
    dx.OneHot({{kIdcMedium, &m_setup.medium}, {kIdcHigh, &m_setup.high}});
    dx.OneHot({{kIdcEnglish, &m_setup.english}, {kIdcMetric, &m_setup.metric}});
    dx.OneHot({{kIdcPWave, &m_setup.pWave}, {kIdcSWave, &m_setup.sWave}});
    dx.OneHot({{kIdcFastFormation, &m_setup.fastFormation}, {kIdcSlowFormation, &m_setup.slowFormation}});
    dx.OneHot({{kIdcCalibrateDelay, &m_setup.calibrateDelay}});
    if (dx.Saving() || dx.Failed()) return;
    // The profile edits are the program's to fill; the user does not type them.
    SetItemText(kIdcTimeStart, Format("%d", int(m_setup.timeStart)));
    SetItemText(kIdcTimeStop, Format("%d", int(m_setup.timeStop)));
    SetItemText(kIdcTimeWidth, Format("%d", int(m_setup.timeWidth)));
    SetItemNumber(kIdcSlowMin, m_setup.slowMin, "%6.1f");
    SetItemNumber(kIdcSlowMax, m_setup.slowMax, "%6.1f");
}

void CQuickLookSetupDlg::ApplyProfileDefaults()
{
    const QuickLookProfile p = QuickLookDefaults(m_setup.pWave != 0, m_setup.english != 0, m_setup.fastFormation != 0);
    m_setup.timeStart = p.timeStart, m_setup.timeStop = p.timeStop, m_setup.timeWidth = p.timeWidth;
    m_setup.slowMin = p.slowMin, m_setup.slowMax = p.slowMax;
    SetItemNumber(kIdcSlowMin, p.slowMin, "%6.1f");
    SetItemNumber(kIdcSlowMax, p.slowMax, "%6.1f");
    EnableItem(kIdcSlowMin, false);
    EnableItem(kIdcSlowMax, false);
    SetItemText(kIdcTimeStart, Format("%d", int(p.timeStart)));
    SetItemText(kIdcTimeStop, Format("%d", int(p.timeStop)));
    SetItemText(kIdcTimeWidth, Format("%d", int(p.timeWidth)));
}

void CQuickLookSetupDlg::OnUnits(bool english)
{
    SetRadioPair(*this, m_setup.english, m_setup.metric, english, kIdcEnglish, kIdcMetric);
    m_setup.slownessTitle = english ? "Slowness Profile Setup [uSec/ft]" : "Slowness Profile Setup [uSec/m]";
    SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    theApp.m_dormant.quickLook.english = m_setup.english;
    theApp.m_dormant.quickLook.metric = m_setup.metric;
    const SlownessUnit unit = english ? SlownessUnit::kPerFoot : SlownessUnit::kPerMetre;
    theApp.m_domainSetup.slownessUnit = unit;
    theApp.m_vdlSetup.slownessUnit = unit;
    ApplyProfileDefaults();
}

void CQuickLookSetupDlg::OnWave(bool p)
{
    SetRadioPair(*this, m_setup.pWave, m_setup.sWave, p, kIdcPWave, kIdcSWave);
    ApplyProfileDefaults();
}

void CQuickLookSetupDlg::OnFormation(bool fast)
{
    SetRadioPair(*this, m_setup.fastFormation, m_setup.slowFormation, fast, kIdcFastFormation,
                 kIdcSlowFormation);
    ApplyProfileDefaults();
}

void CQuickLookSetupDlg::OnResolution(bool medium)
{
    SetRadioPair(*this, m_setup.medium, m_setup.high, medium, kIdcMedium, kIdcHigh);
}

void CQuickLookSetupDlg::OnCalibrateDelay()
{
    ToggleCheck(*this, kIdcCalibrateDelay, m_setup.calibrateDelay);
    EnableItem(kIdcDelay, m_setup.calibrateDelay != 0);
}

int CQuickLookSetupDlg::OnSelectInputFile()
{
    if (!ChooseQtxInput(*this, kIdcInputFile, InputFileOf(m_setup), kNarrowPathLabel)) return 0;
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(m_setup.inputPath))) return 0;
    m_setup.outputName = m_setup.inputTitle + "_Quick.qtx";
    m_setup.inputFolder = CDepthProfileSetupDlg::OutputFolder(m_setup.inputPath, m_setup.inputName);
    m_setup.outputPath = m_setup.inputFolder + m_setup.outputName;
    m_setup.outputExt = ".qtx";
    SetItemText(kIdcOutputFile, Shorten("Output File : ", m_setup.outputPath));
    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, m_setup.topDepth, m_setup.bottomDepth, datums)) return 0;
    ShowDepth(*this, kIdcTopDepth, m_setup.topDepth);
    ShowDepth(*this, kIdcBottomDepth, m_setup.bottomDepth);
    // The caption follows the data set's unit; the values follow the unit chosen here.
    for (const auto& datum : datums) {
        if (datum->m_category != kCategorySlowness) continue;
        m_setup.slownessTitle = SlownessRangeTitle(SlownessUnitOfCode(datum->m_axis1.m_unit));
        ApplyProfileDefaults();
        SetItemText(kIdcSlownessGroup, m_setup.slownessTitle);
    }
    return 1;
}

int CQuickLookSetupDlg::OnSelectOutputFile()
{
    return ChooseOutputFile(*this, kIdcOutputFile, "Browse Output QTX File", "Output File : ",
                            {m_setup.outputPath, m_setup.outputName, m_setup.outputExt}, kNarrowPathLabel);
}

void CQuickLookSetupDlg::OnSaveSetup()
{
    if (UpdateData(true)) EndDialog(kSavedSetup);
}

void CQuickLookSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpQuickLookSetup); }

// ---- status light ----------------------------------------------------------------------

CStatusLightDlg::CStatusLightDlg() : CDialog(DialogTemplateFor(kIddStatusLight)) {}

void CStatusLightDlg::SetLight(int16_t light)
{
    m_light = light;
    RedrawItem(kIdcLight);
}

void CStatusLightDlg::OnDrawItem(int id, Dc& dc, const Rect&)
{
    // A 48 x 94 light: three lamps in a dark cyan housing on a grey post.
    if (id != kIdcLight || m_light < 0 || m_light > 2) return;
    constexpr Color kLit[] = {Rgb(255, 0, 0), Rgb(255, 191, 0), Rgb(0, 255, 0)};
    dc.FillRect({20, 72, 28, 94}, Rgb(128, 128, 128));
    dc.FillRect({0, 0, 48, 72}, Rgb(0, 128, 128));
    for (int lamp = 0; lamp < 3; ++lamp) {
        const int top = 4 + lamp * 22;
        dc.FillRect({12, top, 36, top + 20}, lamp == m_light ? kLit[lamp] : Rgb(192, 192, 192));
    }
}
