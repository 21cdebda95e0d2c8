// Semblance Map Viewer Setup: the dialog Display > Map runs before a semblance map
// view opens, on the Semblance Map setup group: the input file, the depth range, the
// time and slowness windows, the presentation and the Normalize switch. "Run" ends
// with IDOK, "Save Setup" with kSavedSetup, and both give the edited group back.
#pragma once

#include "common/SetupDlg.h"
#include "res/SemblanceMapSetupDlgIds.h"
#include "settings/SemblanceMapSetupGroup.h"

class CSemblanceMapSetupDlg : public CSetupDlg<SemblanceMapSetupGroup> {
public:
    using enum semblance_map_setup::Control; // ids shared with the template
    enum : int { kSavedSetup = kIdcSaveSetup }; // end code of "Save Setup"

    CSemblanceMapSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectInputFile();
    void OnSelChangeType();
    void OnNormalize();
    void OnSaveSetup();
    void OnHelp();

private:
    // The colour list serves the wiggles, the palette the image.
    void EnableByType();
};
