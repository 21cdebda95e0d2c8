#include "processing/KalmanSetupDlg.h"

#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/RangeCheck.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "platform/Host.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/KalmanSetupDlgIds.h"
#include "settings/SettingsStore.h"

namespace {

using enum kalman_setup::Control;

constexpr const char* kInputLabel = "Input File : ";
constexpr const char* kOutputLabel = "Output File : ";
constexpr uint32_t kHelpKalmanSetup = 9;

constexpr RangeFields kDepths{kIdcTopDepth, kIdcBottomDepth, "top depth", "bottom depth", "ft", -100.0, 50000.0};
// The window's own depth zoom limits.
constexpr FieldLimits kDepthScale{"depth scale", 100.0, 1000.0, ""};
constexpr RangeFields kTime{kIdcTimeStart, kIdcTimeStop, "start time", "stop time", "uSec", 0.0, 30000.0};

} // namespace

std::string CKalmanSetupDlg::OutputName(const std::string& title) { return title + "_Kalman.qtx"; }

CKalmanSetupDlg::CKalmanSetupDlg() : CSetupDlg(kIddKalmanSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

void CKalmanSetupDlg::DoDataExchange(DataExchange& dx)
{
    // Until an input is named there is no depth range to check: a new setup opens.
    if (m_setup.inputPath.empty()) {
        dx.Text(kIdcTopDepth, m_setup.topDepth);
        dx.Text(kIdcBottomDepth, m_setup.bottomDepth);
    } else {
        ExchangeRange(dx, kDepths, m_setup.topDepth, m_setup.bottomDepth);
    }
    dx.Text(kIdcDepthScale, m_setup.depthScale);
    CheckLimits(dx, kIdcDepthScale, m_setup.depthScale, kDepthScale);
    ExchangeRange(dx, kTime, m_setup.timeStart, m_setup.timeStop);
}

bool CKalmanSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPath(kInputLabel, m_setup.inputPath));
    SetItemText(kIdcOutputFile, ShortenPath(kOutputLabel, m_setup.outputPath));
    CenterWindow();
    return true;
}

void CKalmanSetupDlg::OnOK()
{
    if (m_setup.inputPath.empty()) {
        MessageBox("Select the input QTX file to filter first.", MB_OK | MB_ICONEXCLAMATION);
        SetFocus(kIdcSelectInputFile);
        return;
    }
    CDialog::OnOK();
}

int CKalmanSetupDlg::OnSelectInputFile()
{
    if (!ChooseQtxInput(*this, kIdcInputFile, InputFileOf(m_setup))) return 0;
    // The names are proposed before the read, so a file that cannot be read keeps them.
    m_setup.outputName = OutputName(m_setup.inputTitle);
    m_setup.inputFolder = CDepthProfileSetupDlg::OutputFolder(m_setup.inputPath, m_setup.inputName);
    m_setup.outputPath = m_setup.inputFolder + m_setup.outputName;
    m_setup.outputExt = ".qtx";
    SetItemText(kIdcOutputFile, ShortenPath(kOutputLabel, m_setup.outputPath));

    CQtxFile file;
    if (!OkOrShow(file.OpenRead(m_setup.inputPath))) return 0;
    CQtxDatumList datums;
    if (!ReadDepthsAndDatums(file, m_setup.topDepth, m_setup.bottomDepth, datums)) return 0;
    ShowDepth(*this, kIdcTopDepth, m_setup.topDepth);
    ShowDepth(*this, kIdcBottomDepth, m_setup.bottomDepth);
    return 1;
}

int CKalmanSetupDlg::OnSelectOutputFile()
{
    return ChooseOutputFile(*this, kIdcOutputFile, "Browse Output QTX File", kOutputLabel,
                            {m_setup.outputPath, m_setup.outputName, m_setup.outputExt});
}

void CKalmanSetupDlg::OnSaveSetup()
{
    if (UpdateData(true)) EndDialog(kSavedSetup);
}

void CKalmanSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpKalmanSetup); }
