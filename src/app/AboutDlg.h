// Help > About: a plain dialog with static content.
#pragma once

#include "platform/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
