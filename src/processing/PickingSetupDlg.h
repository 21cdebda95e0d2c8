// Picking Setup: input and output data sets, one of four picking modes, a frequency
// filter (with a preview of its response), a time and a slowness window, options and
// the receivers to exclude. "Run" ends with IDOK, "Save Setup" with kSavedSetup.
#pragma once

#include "processing/ProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/PickingSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <array>
#include <string>

class CPickingSetupDlg : public CProfileSetupDlg<PickingSetupGroup, picking_setup::Control> {
public:
    using enum picking_setup::Control;
    enum Mode : int { kIfs, kGuided, kStc, kSfc };

    CPickingSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    int OnSelectInputFile();
    void OnMode(Mode mode);
    void OnFrequencyEnable(bool enable);
    void OnProfileKind(bool fixed);
    void OnSlownessMode(int which); // 0 fixed, 1 variable, 2 Vp/Vs
    void OnUnits(bool english);
    void OnToggle(int id);          // Noisy Data, Dispersion Package, Normalize, Force Inputs, Exclude
    void OnSelchangeReceiverList();

    void UpdateOptionsAndOutputName();
    void UpdateFrequencyControls();
    void UpdateTimeControls();
    void UpdateSlownessControls();
    void FillReceiverList();
    // The output file name of the input title for the mode flags (unchanged when no
    // mode is set), moved into the input's folder.
    void DeriveOutputName();

    uint32_t m_outputNameReset = 0;
    int m_rowCount = kPickingReceiverRows;
    int m_currentRow = -1;
    std::array<std::string, kPickingReceiverRows> m_receiverNames;

private:
    InputChangeBookkeeping& Changes() override;
    void ProfileRead(SetupInput which, const CQtxDatumList& datums) override;
};
