// Depth Profile Setup: the data set to profile and the name of the profile's output,
// the depth range and scale, the domain (time, frequency, slowness and azimuth open
// the depth-profile window, time/frequency the time-frequency one), the
// presentation, one range per domain and Normalize. "Run" ends with IDOK, "Save
// Setup" with kSavedSetup, and both give the edited group back.
#pragma once

#include "common/ViewerSetupDlg.h"
#include "res/DepthProfileSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>

class CDepthProfileSetupDlg : public CPresentationSetupDlg<DepthProfileSetupGroup, depth_profile_setup::Control> {
public:
    using enum depth_profile_setup::Control; // ids shared with the template
    // The Palette list's lines, in order.
    static constexpr Palette kPalettes[] = {kPaletteColor, kPaletteAnisotropy};

    CDepthProfileSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override; // "Run" needs an input file
    // Each returns 1 when a file was chosen (and, for the input, read), else 0.
    int OnSelectInputFile();
    int OnSelectOutputFile();
    void OnSelChangeDomain();

    // The output's file name for an input of file title `title` profiled in `domain`:
    // "_time.qtx", "_frequency.qtx", "_slowness.qtx", "_timefreq.qtx" (time/frequency)
    // or, for any other domain, "_azimuth.qtx" after the title.
    static std::string OutputName(const std::string& title, ViewDomain domain);
    // The input's folder with its closing separator: the path with the trailing run of
    // characters that occur in its file name `name` removed.
    static std::string OutputFolder(const std::string& path, const std::string& name);

private:
    // The range edits of the domain (Normalize with "Slowness"); the others disabled.
    void EnableRanges();
    // The output's name, folder, path and extension from the input and the domain.
    void DeriveOutput();
};
