#include "app/AboutDlg.h"

#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

CAboutDlg::CAboutDlg() : CDialog(DialogTemplateFor(kIddAbout)) {}
