#include "common/ProgressDlg.h"

#include "platform/Host.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace {
constexpr unsigned kDefaultCaptionId = 59394; // "Processing progress"
}

CProgressDlg::CProgressDlg(unsigned captionId)
    : CDialog(DialogTemplateFor(kIddProgress)), m_captionId(captionId ? captionId : kDefaultCaptionId)
{
}

CProgressDlg::~CProgressDlg()
{
    if (IsWindow()) DestroyWindow();
    ReEnableParent();
}

bool CProgressDlg::Create()
{
    IHost& host = Host();
    if (host.HasMainWindow() && host.IsMainWindowEnabled()) {
        host.EnableMainWindow(false);
        m_parentDisabled = true;
    }
    if (!CDialog::Create()) {
        ReEnableParent();
        return false;
    }
    return true;
}

bool CProgressDlg::DestroyWindow()
{
    ReEnableParent();
    return CDialog::DestroyWindow();
}

void CProgressDlg::ReEnableParent()
{
    if (m_parentDisabled && Host().HasMainWindow()) Host().EnableMainWindow(true);
    m_parentDisabled = false;
}

bool CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (ControlState* bar = Item(kIdcProgressBar)) {
        bar->SetRange(m_lower, m_upper);
        bar->SetStep(m_step);
        bar->SetPos(m_lower);
    }
    SetCaption(LoadString(m_captionId));
    return true;
}

void CProgressDlg::OnCancel() { m_cancel = true; }

void CProgressDlg::SetStatus(const std::string& text)
{
    SetItemText(kIdcProgressStatus, text);
    if (IsWindow()) Host().DialogChanged(*this);
}

void CProgressDlg::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    // The whole 32-bit range goes to the bar: large runs must still fill it evenly.
    if (ControlState* bar = Item(kIdcProgressBar)) bar->SetRange(lower, upper);
}

int CProgressDlg::SetPos(int pos)
{
    PumpMessages();
    ControlState* bar = Item(kIdcProgressBar);
    const int previous = bar ? bar->SetPos(pos) : 0;
    UpdatePercent(pos);
    if (IsWindow()) Host().DialogChanged(*this);
    return previous;
}

int CProgressDlg::StepIt()
{
    PumpMessages();
    ControlState* bar = Item(kIdcProgressBar);
    const int previous = bar ? bar->StepIt() : 0;
    UpdatePercent(previous + m_step);
    if (IsWindow()) Host().DialogChanged(*this);
    return previous;
}

bool CProgressDlg::CheckCancelButton()
{
    PumpMessages();
    const bool cancel = m_cancel;
    m_cancel = false;
    return cancel;
}

void CProgressDlg::PumpMessages() { Host().PumpEvents(); }

void CProgressDlg::UpdatePercent(int pos)
{
    if (m_upper == m_lower) return;
    // 64-bit arithmetic: (pos - lower) x 100 overflows 32 bits for long runs.
    long long percent = (static_cast<long long>(pos) - m_lower) * 100 / (static_cast<long long>(m_upper) - m_lower);
    if (percent != 100) percent %= 100;
    // Every step of a frame loop comes here: no formatting machinery for two digits.
    const std::string text = std::to_string(percent) + '%';
    if (GetItemText(kIdcProgressPercent) != text) SetItemText(kIdcProgressPercent, text);
}

CReadWaitDlg::CReadWaitDlg() : CDialog(DialogTemplateFor(kIddReadWait)) {}
CReadWaitDlg::~CReadWaitDlg()
{
    if (IsWindow()) DestroyWindow();
}

CSaveWaitDlg::CSaveWaitDlg() : CDialog(DialogTemplateFor(kIddSaveWait)) {}
CSaveWaitDlg::~CSaveWaitDlg()
{
    if (IsWindow()) DestroyWindow();
}
