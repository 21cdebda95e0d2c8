// Filter Setup: the input and output data sets of a filtering run, a frequency filter
// (with a preview of its response) and a time window, or a slowness window instead,
// each with a profile data set. "Run" ends with IDOK, "Save Setup" with kSavedSetup.
// Which inputs changed since their last pick is kept in the settings store.
#pragma once

#include "common/SetupDlg.h"
#include "dataset/QtxFile.h"
#include "processing/FilterResponse.h"
#include "processing/SetupFiles.h"
#include "res/FilterSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>

class CFilterSetupDlg : public CSetupDlg<FilterSetupGroup> {
public:
    using enum filter_setup::Control;
    enum : int { kSavedSetup = kIdcSaveSetup };

    CFilterSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnDrawItem(int id, Dc& dc, const Rect& client) override;

    // Each returns 1 when the pick completed, 0 on Cancel or a failed read.
    int OnSelectInputFile();
    int OnSelectFrequencyProfile();
    int OnSelectTimeProfile();
    int OnSelectSlownessProfile();
    int OnSelectOutputFile();
    void OnFrequencyEnable(bool enable);
    void OnTimeEnable(bool enable);
    void OnSlownessEnable(bool enable);
    void OnCrossDipole();
    void OnForceInputs();
    void OnProfileKind(bool fixed);
    void OnShape(bool bell);
    void OnTimeWindow(int which); // 0 Hann, 1 front mute, 2 back mute
    void OnHScroll(int code);
    void OnSaveSetup();
    void OnHelp();
    void DrawResponse() { RedrawItem(kIdcResponse); }

    // The group updates: each disables its controls, then enables them by the flags.
    void UpdateFrequencyGroup();
    void UpdateTimeGroup();
    void UpdateSlownessGroup();

    // The waveforms' sample interval in microseconds, which the preview's axis needs.
    // Nothing sets it from a data set yet; while it is 0 the preview stays blank.
    float m_sampleInterval = 0.0f;
    ResponseValues m_response{};

private:
    int PickProfile(SetupInput which, int labelId);
    // Reads the slowness datums of `datums` into the slowness caption and range.
    void ApplySlownessRange(const CQtxDatumList& datums);
    // Sets the Enable/Disable radio pair of a group.
    enum class Group { Frequency, Time, Slowness };
    void EnableGroup(Group group, bool enable);
    void UpdateGroups();
    InputChangeBookkeeping& Changes();
};
