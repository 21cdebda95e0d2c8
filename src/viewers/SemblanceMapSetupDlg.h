// Semblance Map Viewer Setup: the dialog Display > Map runs before a semblance map
// view opens, on the Semblance Map setup group: the input file, the depth range, the
// time and slowness windows, the presentation and the Normalize switch. "Run" ends
// with IDOK, "Save Setup" with kSavedSetup, and both give the edited group back.
#pragma once

#include "common/ViewerSetupDlg.h"
#include "res/SemblanceMapSetupDlgIds.h"
#include "settings/SemblanceMapSetupGroup.h"

class CSemblanceMapSetupDlg : public CPresentationSetupDlg<SemblanceMapSetupGroup, semblance_map_setup::Control> {
public:
    using enum semblance_map_setup::Control; // ids shared with the template
    // The Palette list's lines, in order.
    static constexpr Palette kPalettes[] = {kPaletteColor, kPaletteBlackWhite};

    CSemblanceMapSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectInputFile();
};
