// "Data Origin": which tool and waveform kind the data of a CNV file come from. The
// converter reads m_originIndex after IDOK (and takes Cancel as entry 0).
#pragma once

#include "platform/Dialog.h"

#include <string>

class CDataOriginDlg : public CDialog {
public:
    CDataOriginDlg();
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    std::string m_originText; // the chosen entry's text
    int m_originIndex = 0;    // the chosen entry's index: the origin code

private:
    void KeepSelection();
};
