// Kalman Filter Setup: the data set the Kalman window corrects and the output it
// writes, the depth range and scale and the time window the window opens with. "Run"
// ends with IDOK, "Save Setup" with kSavedSetup; both give the edited group back.
#pragma once

#include "common/SetupDlg.h"
#include "res/KalmanSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>

class CKalmanSetupDlg : public CSetupDlg<KalmanSetupGroup> {
public:
    using enum kalman_setup::Control;
    enum : int { kSavedSetup = kIdcSaveSetup };

    CKalmanSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override; // "Run" needs an input file
    // Each returns 1 when a file was chosen (and, for the input, read), else 0.
    int OnSelectInputFile();
    int OnSelectOutputFile();
    void OnSaveSetup();
    void OnHelp();

    // "<title>_Kalman.qtx": the output proposed for an input of file title `title`.
    static std::string OutputName(const std::string& title);
};
