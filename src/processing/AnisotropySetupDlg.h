// Anisotropy Analysis Setup: one of six runs over cross-dipole data, its input (in the
// fast-shear-azimuth run a tool-azimuth data set) and profile (there a rotation-azimuth
// data set), and the datums of both chosen in two lists. "Run" and "Save Setup" end
// the dialog with their own ids; the group then holds the list choices.
#pragma once

#include "common/SetupDlg.h"
#include "res/AnisotropySetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>

class CAnisotropySetupDlg : public CSetupDlg<AnisotropySetupGroup> {
public:
    using enum anisotropy_setup::Control;
    enum Option : int { kCollocate, kAnalysis, kRotate, kCoherence, kCombine, kFastShear };

    CAnisotropySetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    void OnOption(Option option);
    int OnSelectCrossDipoleFile();
    int OnSelectTrackingProfile();
    void OnSelchangeInputList();
    void OnSelchangeProfileList();
    void OnEnd(int code); // Run or Save Setup
    void OnHelp();
    void UpdateControls();

    // Read a data set's depths and list its datums; 0 when it cannot be read or
    // holds more datums than the flag arrays.
    int ReadInputHeader(const std::string& path);
    int ReadProfileHeader(const std::string& path);

    int m_inputCaret = -1;
    int m_profileCaret = -1;

    struct Side; // the members of the input or of the profile

private:
    int ReadHeader(const Side& side, const std::string& path);
    int Pick(const Side& side, const char* title);
    // The side's selected flags become what its list shows selected.
    void TakeSelected(const Side& side, int& caret);
};
