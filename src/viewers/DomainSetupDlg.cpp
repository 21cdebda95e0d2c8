#include "viewers/DomainSetupDlg.h"

#include "settings/SettingsStore.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/DomainRangeChecks.h"
#include "common/RangeCheck.h"
#include "common/SetupSteps.h"
#include "dataset/ItemTypes.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/DomainSetupDlgIds.h"

namespace {

using enum domain_setup::Control;

constexpr const char* kInputFileLabel = "Input File : ";

constexpr FieldLimits kDepthFrame{"depth", 1.0, 50000.0, "ft"};
using C = domain_setup::Control;
constexpr DomainRangeCheck kRanges[] = {FrequencyCheck<C>(), TimeCheck<C>(), SlownessCheck<C>(), AzimuthCheck<C>()};

constexpr int kRangeIds[] = {kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop,
                             kIdcSlowMin, kIdcSlowMax, kIdcAzimMin, kIdcAzimMax};

} // namespace

CDomainSetupDlg::CDomainSetupDlg() : CViewerSetupDlg(kIddDomainSetup, 0)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcTraceCursor, Notify::Clicked, [this] { OnTraceCursor(); });
}

void CDomainSetupDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(kIdcDepthFrame, m_setup.depthFrame);
    CheckLimits(dx, kIdcDepthFrame, m_setup.depthFrame, kDepthFrame);
    ExchangeDomainRanges(dx, m_setup, kRanges);
    // The box shows the setting both ways; only OnTraceCursor changes the setting.
    if (!dx.Failed())
        if (ControlState* box = Item(kIdcTraceCursor)) box->SetCheck(m_setup.traceCursor);
}

void CDomainSetupDlg::EnableTimeCurves()
{
    EnableItem(kIdcFreqStart, m_setup.enableFrequency != 0);
    EnableItem(kIdcFreqStop, m_setup.enableFrequency != 0);
    EnableItem(kIdcSlowMin, m_setup.enableSlowness != 0);
    EnableItem(kIdcSlowMax, m_setup.enableSlowness != 0);
}

void CDomainSetupDlg::EnableRanges()
{
    for (int id : kRangeIds) EnableItem(id, false);
    if (m_setup.domain == ViewDomain::kTime) {
        EnableItem(kIdcTimeStart, true);
        EnableItem(kIdcTimeStop, true);
        EnableTimeCurves();
    } else if (m_setup.domain == ViewDomain::kFrequency) {
        EnableItem(kIdcFreqStart, true);
        EnableItem(kIdcFreqStop, true);
    } else if (m_setup.domain == ViewDomain::kSlowness) {
        EnableItem(kIdcSlowMin, true);
        EnableItem(kIdcSlowMax, true);
    } else {
        EnableItem(kIdcAzimMin, true);
        EnableItem(kIdcAzimMax, true);
    }
}

void CDomainSetupDlg::ShowDepths()
{
    SetItemText(kIdcStartDepth, Format("Start depth : %10.4f", m_setup.topDepth));
    SetItemText(kIdcStopDepth, Format("Stop depth : %10.4f", m_setup.bottomDepth));
}

bool CDomainSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));
    EnableRanges();
    SetItemText(kIdcSlownessGroup, SlownessRangeTitle(m_setup.slownessUnit));
    if (!m_setup.path.empty()) ShowDepths();
    CenterWindow();
    return true;
}

void CDomainSetupDlg::OnSelectInputFile()
{
    if (!ChooseQtxInput(*this, kIdcInputFile, m_setup.path, m_setup.title, m_setup.ext)) return;

    CQtxFile file;
    if (!OkOrShow(file.OpenRead(m_setup.path))) return;
    if (file.GetTopDepth() == -1.0 || file.GetBottomDepth() == -1.0) return;
    m_setup.topDepth = file.GetTopDepth();
    m_setup.bottomDepth = file.GetBottomDepth();
    ShowDepths();
    m_setup.depthFrame = m_setup.topDepth;
    SetItemNumber(kIdcDepthFrame, m_setup.depthFrame);

    // Read, used here and dropped: the dialog keeps no datum records.
    CQtxDatumList datums;
    if (!OkOrShow(file.ReadDatumList(datums))) return;
    file.CloseInput();

    TakeSlownessWindow(*this, datums, {kIdcSlownessGroup, kIdcSlowMin, kIdcSlowMax, m_setup.slownessUnit,
                                       m_setup.slowMin, m_setup.slowMax});

    // The two flags are the time view's: another domain leaves them for the next Display > Time.
    if (m_setup.domain == ViewDomain::kTime) {
        m_setup.enableFrequency = 0;
        m_setup.enableSlowness = 0;
        for (const auto& datum : datums) {
            if (InFamily(datum->m_typeCode, ItemFamily::InstFrequency)) m_setup.enableFrequency = 1;
            if (InFamily(datum->m_typeCode, ItemFamily::InstSlowness)) m_setup.enableSlowness = 1;
        }
        EnableTimeCurves();
    }
}

void CDomainSetupDlg::OnTraceCursor()
{
    m_setup.traceCursor = m_setup.traceCursor ? 0 : 1;
    if (ControlState* box = Item(kIdcTraceCursor)) box->SetCheck(m_setup.traceCursor);
}

void CDomainSetupDlg::OnHelp()
{
    uint32_t context = 18;
    if (m_setup.domain == ViewDomain::kTime) context = 15;
    else if (m_setup.domain == ViewDomain::kFrequency) context = 4;
    else if (m_setup.domain == ViewDomain::kSlowness) context = 12;
    ShowHelp(theApp.m_helpPath, kHelpContext, context);
}
