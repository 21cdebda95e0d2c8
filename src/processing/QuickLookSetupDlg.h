// Quick Look Setup: input and output data sets, depth range, wave, formation, unit
// system, resolution, bit size and recording-delay calibration of a quick-look run.
// The time and slowness profiles follow from wave, unit and formation (a fixed
// table). "Run" ends with IDOK, "Save Setup" with kSavedSetup.
#pragma once

#include "common/SetupDlg.h"
#include "res/QuickLookSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <cstdint>

struct QuickLookProfile {
    float timeStart, timeStop, timeWidth, slowMin, slowMax;
    bool operator==(const QuickLookProfile&) const = default;
};

// The profile windows of a P or S wave in English or metric units in a fast or slow formation.
QuickLookProfile QuickLookDefaults(bool pWave, bool english, bool fast);

class CQuickLookSetupDlg : public CSetupDlg<QuickLookSetupGroup> {
public:
    using enum quick_look_setup::Control;
    enum : int { kSavedSetup = kIdcSaveSetup };

    CQuickLookSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    int OnSelectInputFile();
    int OnSelectOutputFile();
    void OnUnits(bool english);
    void OnWave(bool p);
    void OnFormation(bool fast);
    void OnResolution(bool medium);
    void OnCalibrateDelay();
    void OnSaveSetup();
    void OnHelp();
    void ApplyProfileDefaults();

    // Bit size and recording delay: exchanged here, not kept by the settings group.
    float m_bitSize = 0.0f;
    float m_delay = 0.0f;

private:
};

// The light of a run: 0 red, 1 amber, 2 green.
class CStatusLightDlg : public CDialog {
public:
    CStatusLightDlg();
    void OnDrawItem(int id, Dc& dc, const Rect& client) override;
    // Sets the light and shows it again; a value outside 0..2 shows no lamp lit.
    void SetLight(int16_t light);
    int16_t m_light = 0;
};
