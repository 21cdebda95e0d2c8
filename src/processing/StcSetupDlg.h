// Slowness Time Coherence Setup: the input semblance map and its ranges, the output
// projection data set, how the slowness is searched and how the borehole is described,
// and the curves chosen from the slowness and caliper profiles. "Run" and "Save Setup"
// end the dialog with their own ids; the group then holds the curve choices.
#pragma once

#include "common/SetupDlg.h"
#include "res/StcSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>

class CStcSetupDlg : public CSetupDlg<StcSetupGroup> {
public:
    using enum stc_setup::Control;
    enum Search : int { kFixedRange, kPWaveGuided, kVariableCenter };

    CStcSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    int OnSelectInputMapFile();
    int OnSelectOutputFile();
    int OnSelectCaliperProfile();
    int OnSelectSlownessProfile();
    void OnBorehole(bool fixedBitSize);
    void OnSearch(Search search);
    void OnSelchangeCaliperList();
    void OnSelchangeSlownessList();
    void OnEnd(int code); // Run or Save Setup
    void OnHelp();
    void UpdateBoreholeControls();
    void UpdateSlownessSearchControls();

    // Rebuild a profile's curve list; 0, with the list as it was, when the data set
    // cannot be read or holds more datums than the list's flags.
    int FillCaliperList(const std::string& path);
    int FillSlownessList(const std::string& path);

    int m_caliperRow = -1;
    int m_slownessRow = -1;

    struct Profile; // the members of one profile and its list

private:
    int FillList(const Profile& profile, const std::string& path);
    int PickProfile(const Profile& profile);
    // The profile's selected flags become what its list shows selected.
    void TakeSelected(const Profile& profile, int& row);
};
