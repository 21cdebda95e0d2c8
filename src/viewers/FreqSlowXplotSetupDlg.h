// Frequency/Slowness X-Plot Viewer Setup: the dialog Display > Xplot Map runs before a
// cross-plot opens, on the X-Plot setup group: the input file and its waveform
// datums (a multiple-selection list), the depth range and the frequency and slowness
// ranges. "Run" ends with kRun, "Save Setup" with kSavedSetup; both write the datum
// flags into the group from the list's selection as it is then, and give it back.
#pragma once

#include "common/ViewerSetupDlg.h"
#include "res/XPlotSetupDlgIds.h"
#include "settings/XPlotSetupGroup.h"

#include <cstdint>
#include <string>
#include <vector>

class CFreqSlowXplotSetupDlg : public CViewerSetupDlg<XPlotSetupGroup, xplot_setup::Control> {
public:
    using enum xplot_setup::Control; // ids shared with the template
    enum : int { kRun = kIdcRun }; // end code of "Run"

    CFreqSlowXplotSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectInputFile();
    void OnSelchangeDatums();
    void OnRun();
    void OnSaveSetup() override; // keeps the datums' flags, as Run does
    // Fills the list with the waveform datums of the file and the depth edits with its
    // depths, in order. Returns 1, or 0 after a message (the file could not be read,
    // or holds more datums than the flags keep) with the list and edits unchanged.
    int LoadDatumList(const std::string& path);

    uint16_t m_currentIndex = 0xFFFF; // the list line last clicked; 0xFFFF after a refill

private:
    // Validates; on success the flags of the file's datums go to the group and the
    // dialog ends with `code`.
    void Finish(int code);

    int m_datumCount = 0;         // of the file listed last
    std::vector<int> m_lineDatum; // the datum of each list line
};
