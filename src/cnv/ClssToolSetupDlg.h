// "CLSS Tool Setup": which of the four receivers recorded a CLSS file's one channel.
// Ends with the OK button's own id (clss_tool_setup::kIdcOk) or IDCANCEL.
#pragma once

#include "platform/Dialog.h"

#include <cstdint>

class CClssToolSetupDlg : public CDialog {
public:
    CClssToolSetupDlg();
    void DoDataExchange(DataExchange& dx) override;

    // Receiver k+1 selected; exactly one is set after a click.
    uint16_t m_receiver[4] = {1, 0, 0, 0};
    // Index 0..3 of the selected receiver (the first set flag; 0 when none is).
    int SelectedReceiver() const;

private:
    void OnReceiver(int k);
    void OnOk();
};
