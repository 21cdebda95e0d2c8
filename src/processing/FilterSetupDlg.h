// Filter Setup: the input and output data sets of a filtering run, a frequency filter
// (with a preview of its response) and a time window, or a slowness window instead,
// each with a profile data set. "Run" ends with IDOK, "Save Setup" with kSavedSetup.
// Which inputs changed since their last pick is kept in the settings store.
#pragma once

#include "dataset/QtxFile.h"
#include "processing/ProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/FilterSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>

class CFilterSetupDlg : public CProfileSetupDlg<FilterSetupGroup, filter_setup::Control> {
public:
    using enum filter_setup::Control;

    CFilterSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    // 1 when the pick completed, 0 on Cancel or a failed read.
    int OnSelectInputFile();
    void OnFrequencyEnable(bool enable);
    void OnTimeEnable(bool enable);
    void OnSlownessEnable(bool enable);
    void OnCrossDipole();
    void OnForceInputs();
    void OnProfileKind(bool fixed);
    void OnTimeWindow(int which); // 0 Hann, 1 front mute, 2 back mute

    // The group updates: each disables its controls, then enables them by the flags.
    void UpdateFrequencyGroup();
    void UpdateTimeGroup();
    void UpdateSlownessGroup();

private:
    InputChangeBookkeeping& Changes() override;
    void ProfileRead(SetupInput which, const CQtxDatumList& datums) override;
    // Reads the slowness datums of `datums` into the slowness caption and range.
    void ApplySlownessRange(const CQtxDatumList& datums);
    // Sets the Enable/Disable radio pair of a group.
    enum class Group { Frequency, Time, Slowness };
    void EnableGroup(Group group, bool enable);
    void UpdateGroups();
};
