// VDL Setup: the dialog Display > VDL runs before a VDL view opens, on the VDL Setup
// group: the input file, the depth interval and scale, the domain and presentation,
// one range per domain and the Normalize switch. "Run" ends with IDOK, "Save Setup"
// with kSavedSetup, and both give the edited group back.
#pragma once

#include "common/ViewerSetupDlg.h"
#include "res/VdlSetupDlgIds.h"
#include "settings/VdlSetupGroup.h"

class CVdlSetupDlg : public CPresentationSetupDlg<VdlSetupGroup, vdl_setup::Control> {
public:
    using enum vdl_setup::Control; // ids shared with the template
    // The Palette list's lines, in order.
    static constexpr Palette kPalettes[] = {kPaletteColor, kPaletteBlackWhite, kPaletteWhiteBlack, kPaletteAnisotropy};

    CVdlSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectInputFile();
    void OnSelChangeDomain();
    // The lists' choices reach the group by the exchange only.
    void OnSelChangeType() override { EnableByType(); }

private:
    // Enables the range edits of the domain (and Normalize for "Slowness"); the
    // others stay disabled. "Time" adds the frequency and slowness edits when the
    // group's flags say the chosen file holds instantaneous curves against time.
    void EnableRanges();
};
