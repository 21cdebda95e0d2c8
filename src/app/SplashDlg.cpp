#include "app/SplashDlg.h"

#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

CSplashDlg::CSplashDlg() : CDialog(DialogTemplateFor(kIddSplash)) {}

bool CSplashDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    return true;
}
