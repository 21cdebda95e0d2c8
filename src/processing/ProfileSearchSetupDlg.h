// The three small dialogs that confirm the range of a profile search before it runs:
// slowness (the time and slowness domains), frequency and azimuth (with the extreme
// to track). The window fills their members with its range and takes them back after
// OK; Cancel ends the search before anything changes.
#pragma once

#include "platform/Dialog.h"

#include <cstdint>
#include <string>

class CSlownessProfileSetupDlg : public CDialog {
public:
    CSlownessProfileSetupDlg();
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    float m_minimum = 40.0f;
    float m_maximum = 480.0f;
    std::string m_unitText; // follows "Slowness range " in the group's title
};

class CFrequencyProfileSetupDlg : public CDialog {
public:
    CFrequencyProfileSetupDlg();
    void DoDataExchange(DataExchange& dx) override;

    float m_minimum = 40.0f;
    float m_maximum = 480.0f;
};

class CAzimuthProfileSetupDlg : public CDialog {
public:
    CAzimuthProfileSetupDlg();
    void DoDataExchange(DataExchange& dx) override;
    // The two boxes act as a pair: checking one clears the other.
    void OnTrackMinimum();
    void OnTrackMaximum();

    float m_minimum = 0.0f;
    float m_maximum = 360.0f;
    uint32_t m_trackMaximum = 0; // the caller's to set
    uint32_t m_trackMinimum = 0;
};
