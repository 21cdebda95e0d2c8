// The start-up splash: a modeless window centred on the main frame.
#pragma once

#include "platform/Dialog.h"

class CSplashDlg : public CDialog {
public:
    CSplashDlg();
    bool OnInitDialog() override;
};
