// Log Setup: the page settings of a log and its plot list. The dialog opens no file
// and no window: each button that needs the application ends it with the button's
// id (kAdd, kLoadSettings, kViewLog, ...), and the Display > Log command acts on that
// code and, for most codes, shows the dialog again.
//
// The dialog edits a copy of the Log Setup group whose plot list holds copies of the
// items, so Cancel leaves the group's items as they were; any other end gives the
// copy back.
#pragma once

#include "common/SetupDlg.h"
#include "plot/LogPlotItem.h"
#include "res/LogSetupDlgIds.h"
#include "settings/LogSetupGroup.h"

#include <cstdint>
#include <memory>

class CLogSetupDlg : public CSetupDlg<LogSetupGroup> {
public:
    using enum log_setup::Control; // ids shared with the template
    // End codes besides IDCANCEL: the ids of the buttons.
    enum : int {
        kAdd = kIdcAdd,
        kEdit = kIdcEdit,
        kCopy = kIdcCopy,
        kDelete = kIdcDelete,
        kClearAll = kIdcClearAll,
        kLoadSettings = kIdcLoadSettings,
        kSaveSettings = kIdcSaveSettings,
        kBrowseFolder = kIdcBrowseFolder,
        kViewLog = kIdcViewLog,
        kPrintLog = kIdcPrintLog,
        kApply = kIdcApply,
    };
    enum : uint32_t { kHelpContextId = 8 };

    CLogSetupDlg();

    // Runs the dialog on a deep copy of `group` (see above); returns its end code.
    int Edit(LogSetupGroup& group);

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

private:
    void OnDepthColumn(int id);
    void OnUnits(int id);
    void OnBackground(int id);
    void OnSelChangeEnabled();
    void OnSelChangeDisabled();
    void OnDblClkEnabled();
    void OnDblClkDisabled();
    void OnAdd();
    void OnEdit();
    void OnCopy();
    void OnDelete();
    void OnClearAll();
    void OnLoadSettings();
    void OnSaveSettings();
    void OnBrowseFolder();
    void OnEditCommand();
    void OnHelp();
    // Apply, View Log, Print PDF File and the buttons above that end the dialog: the
    // page is checked first, and a refused value keeps the dialog open.
    void EndWith(int code);

    int16_t m_nEnabledSel = -1, m_nDisabledSel = -1;
    int16_t m_nEnabledCount = 0, m_nDisabledCount = 0;
    CLogPlotItem m_itemBuffer; // the item Add and Copy append

    void FillLists();
    // The n-th item of the list with this enabled state; null when there is none.
    std::shared_ptr<CLogPlotItem> ItemAt(bool enabled, int n) const;
    void Append(const CLogPlotItem& item);
};
