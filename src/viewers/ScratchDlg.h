#pragma once

#include "common/SetupDlg.h"

struct ScratchGroup {
    float value = 0.0f;
    void SetDefaults() { *this = ScratchGroup{}; }
};

class CScratchDlg : public CSetupDlg<ScratchGroup> {
public:
    CScratchDlg();
    void DoDataExchange(DataExchange& dx) override;
};

