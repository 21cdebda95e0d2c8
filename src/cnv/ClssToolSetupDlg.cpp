#include "cnv/ClssToolSetupDlg.h"

#include "res/ClssToolSetupDlgIds.h"
#include "res/DialogTemplates.h"

using namespace clss_tool_setup;

CClssToolSetupDlg::CClssToolSetupDlg() : CDialog(DialogTemplateFor(kIddClssToolSetup))
{
    for (int k = 0; k < kReceiverButtons; ++k) On(kIdcReceiver1 + k, Notify::Clicked, [this, k] { OnReceiver(k); });
    On(kIdcOk, Notify::Clicked, [this] { OnOk(); });
}

void CClssToolSetupDlg::DoDataExchange(DataExchange&)
{
    // The flags are the truth in both directions: the buttons only show them, and a
    // click sets the flags itself.
    for (int k = 0; k < kReceiverButtons; ++k)
        if (ControlState* button = Item(kIdcReceiver1 + k)) button->SetCheck(m_receiver[k] ? 1 : 0);
}

void CClssToolSetupDlg::OnReceiver(int k)
{
    for (int i = 0; i < kReceiverButtons; ++i) m_receiver[i] = i == k ? 1 : 0;
    for (int i = 0; i < kReceiverButtons; ++i)
        if (ControlState* button = Item(kIdcReceiver1 + i)) button->SetCheck(i == k ? 1 : 0);
}

void CClssToolSetupDlg::OnOk()
{
    if (UpdateData(true)) EndDialog(kIdcOk);
}

int CClssToolSetupDlg::SelectedReceiver() const
{
    for (int k = 0; k < kReceiverButtons; ++k)
        if (m_receiver[k]) return k;
    return 0;
}
