// Utilities Setup: the dialog the Utilities > Tools command runs before a tool-box
// task, on the Utilities Setup group. "Run" (kRun) and "Save Setup" (kSaveSetup)
// give the edited group back, datum flags included; the task code stays as it was,
// the command's to derive.
#pragma once

#include "common/SetupDlg.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "settings/UtilitiesSetupGroup.h"
#include "toolbox/ToolTasks.h"

#include <cstdint>
#include <string>
#include <vector>

// The task names of the task box: every task of the table the box offers, in code order
// (the box sorts them itself).
const std::vector<std::string>& UtilitiesSetupTaskEntries();

class CUtilitiesSetupDlg : public CSetupDlg<UtilitiesSetupGroup> {
public:
    using enum utilities_setup::Control; // ids shared with the template
    enum : int { kRun = kIdcRun, kSaveSetup = kIdcSaveSetup }; // end codes besides IDCANCEL
    enum : uint32_t { kHelpContextId = 16 };

    // The controls that belong to one input (primary, secondary or density).
    struct InputControls {
        int list, start, stop, label;
        const char* labelText; // shown before the shortened path once a file is chosen
    };

    CUtilitiesSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectPrimary();
    void OnSelectSecondary();
    void OnSelectDensity();
    void OnSelectOutput();
    void OnSelChangeTask();
    void OnSelChangePrimaryList();
    void OnSelChangeSecondaryList();
    void OnSelChangeDensityList();
    void OnRun();
    void OnSaveSetup();
    void OnHelp();

    // Task index of a task-box entry (exact, case-sensitive); 0 for a text that is no task.
    static int16_t TaskIndex(const std::string& entry);

    // A data set's depths and datums, as its lists show them.
    struct Listing;

    // 1..31: the group's task code at opening, then the task box's selection; kept
    // while the box selects no task.
    int16_t m_nTask = 0;
    // The output was chosen in the save dialog, which asked before replacing it; a
    // derived name clears it.
    bool m_outputConfirmed = false;
    // The output is the dialog's proposal, not the user's choice.
    bool m_outputProposed = false;

private:
    // Recomputes the task index from the box and enables the fields the task uses.
    void ApplyFieldRules();
    void UpdateTaskIndex();
    bool TaskChosen();
    void DeriveOutputName();
    // The primary, its list and the output proposed for it go.
    void ClearPrimary();
    void ClearInput(ToolInputSelection& input, const InputControls& controls);
    void ClearList(ToolInputSelection& input, const InputControls& controls);
    void ClearOutput();
    // The proposed output goes where it names one of the inputs.
    void DropOutputNamingAnInput();
    // Lists the datums of the input's data set and shows its depths.
    void ShowList(ToolInputSelection& input, const InputControls& controls, const Listing& listing);
    // The input's selected flags become what its list shows selected.
    void TakeSelection(ToolInputSelection& input, const InputControls& controls);
    void TakeSelections();
    // The file dialog of one input of that kind; a file chosen that reads as one is taken
    // and shown beside the button (a data set's listing read into `listing`). False when
    // cancelled, or after the box that says why the file was not taken.
    bool ChooseInput(ToolInputSelection& input, const InputControls& controls, const char* title, ToolFile kind,
                     Listing& listing);
};
