// Utilities Setup: the dialog the Utilities > Tools command runs before a tool-box
// task. The command copies its settings group in (LoadFrom), runs the dialog and,
// after "Run" (kRun) or "Save Setup" (kSaveSetup), copies the values back (StoreTo).
// Cancel leaves the group as it was.
#pragma once

#include "settings/SettingsGroups.h"
#include "platform/Dialog.h"
#include "res/UtilitiesSetupDlgIds.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CWnd;

// The 30 task names of the task box, in the order its resource lists them (the box
// sorts them itself). Defined beside the dialog's template.
const std::vector<std::string>& UtilitiesSetupTaskEntries();

class CUtilitiesSetupDlg : public CDialog {
public:
    using enum utilities_setup::Control; // ids shared with the template
    enum : int { kRun = kIdcRun, kSaveSetup = kIdcSaveSetup }; // end codes besides IDCANCEL
    enum : uint32_t { kHelpContextId = 16 };

    // One input data set (primary, secondary or density) and the datums it lists.
    struct Input {
        int32_t m_nCount = 0; // datums read by the last fill (at most kToolBoxFlagCount)
        std::array<uint32_t, kToolBoxFlagCount> m_listed{};   // non-zero: the datum has a list line
        std::array<uint32_t, kToolBoxFlagCount> m_selected{}; // non-zero: the user selected it
        int16_t m_nListIndex = -1; // caret line of the last selection change; -1 none
        // Where Run and Save Setup copy the first m_nCount flags; null: nowhere.
        uint32_t* m_pListedOut = nullptr;
        uint32_t* m_pSelectedOut = nullptr;
        std::string m_strPath, m_strTitle, m_strExt;
        double m_dStartDepth = 0.0, m_dStopDepth = 0.0;
    };

    // The controls that belong to one input.
    struct InputControls {
        int list, start, stop, label;
        const char* labelText; // shown before the shortened path once a file is chosen
    };

    explicit CUtilitiesSetupDlg(CWnd* parent = nullptr); // the host places the dialog

    // Copies the group in, flags included, and points the flag targets of the three
    // inputs at the group's arrays (the group must outlive the dialog's run).
    void LoadFrom(UtilitiesSetupGroup& group);
    // Copies the values back, and the first datum-count flags of each input (the
    // task code is the command's to derive).
    void StoreTo(UtilitiesSetupGroup& group) const;

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

    // Task index of a task-box entry (exact, case-sensitive); 0 for any other text.
    static int16_t TaskIndex(const std::string& entry);

    std::string m_strTask;
    int16_t m_nTask = 0; // 1..31; kept when the box has no matching selection
    Input m_primary, m_secondary, m_density;
    std::string m_strOutputPath, m_strOutputTitle, m_strOutputExt;
    float m_fFactor = 0.0f;
    int16_t m_nStartSample = 0, m_nStopSample = 0, m_nDecimate = 1;
    double m_dSpliceDepth = 0.0;
    std::string m_strDepthText; // scratch for the depth edits

private:
    // Recomputes the task index from the box and enables the fields the task uses.
    void ApplyFieldRules();
    void UpdateTaskIndex();
    void DeriveOutputName();
    // Reads the input's data set and lists its datums; on failure keeps the list.
    void FillList(Input& input, const InputControls& controls);
    void ToggleSelection(Input& input, const InputControls& controls);
    // The file dialog of one input; false when cancelled.
    bool ChooseInput(Input& input, const char* title, const std::string& filter);
    void EndWith(int code);
};
