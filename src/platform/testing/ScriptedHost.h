// The scripted headless host for tests. Answers to message boxes, file and folder
// dialogs are queued in advance and matched by text or title; dialogs run scripts
// of user actions queued per template id; every prompt shown is recorded; anything
// unscripted is reported through `onUnexpected` (the test fixture turns that into
// a failure) and answered with Cancel instead of blocking.
#pragma once

#include "platform/Controls.h"
#include "platform/Dc.h"
#include "platform/Host.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    std::string summary;  // what the box shows above its scrolled area (LayOutMessage)
    std::string scrolled; // the scrolled area's text; "" when the text fits without one
    std::string caption;
    unsigned type = 0;
    int answer = 0;
    bool expected = false;
};

struct ShownFileDialog {
    FileDialogOptions options;
    FileDialogResult result;
};

struct ShownDialog {
    int templateId = 0;
    std::string caption;
    bool modal = true;
    int endCode = 0;
    bool centered = false;
    int focus = 0;
    std::vector<ControlState> controls; // as the dialog left them
    const ControlState* Item(int id) const;
};

// The user's actions on one dialog, in order.
class DialogScript {
public:
    DialogScript& Type(int id, const std::string& text);    // edit or combo text + EditChange
    DialogScript& Check(int id, int state = 1);              // check box + Clicked
    DialogScript& Radio(int id);                              // radio button + Clicked
    DialogScript& Select(int id, int index);                  // list (a plain click), combo or tab + SelChange
    // A click on a list line with MK_SHIFT / MK_CONTROL, as the list's style has it, + SelChange.
    DialogScript& Click(int id, int line, unsigned keys = 0);
    // A key on a list (VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SPACE); SelChange when the selection changed.
    DialogScript& Key(int id, unsigned key, unsigned keys = 0);
    DialogScript& SelectText(int id, const std::string& item);
    DialogScript& SelectMany(int id, const std::vector<int>& indices); // multiple-selection list
    DialogScript& DoubleClick(int id, int index);             // list line: select + DblClick
    DialogScript& SelectNode(int id, const std::string& text);     // tree + SelChange
    DialogScript& DoubleClickNode(int id, const std::string& text); // tree + DblClick
    DialogScript& Press(int id);                              // button + Clicked
    DialogScript& Enter();
    DialogScript& Escape();
    DialogScript& Pumps(int count); // modeless: let `count` event pumps pass first
    DialogScript& Inspect(std::function<void(CDialog&)> check); // look at the live dialog

    struct Action {
        enum Kind { Type, Check, Radio, Select, Click, Key, SelectText, SelectMany, DoubleClick, SelectNode,
                    DoubleClickNode, Press, Enter, Escape, Pumps, Inspect };
        Kind kind = Press;
        int id = 0;
        int value = 0;
        unsigned keys = 0; // MK_SHIFT, MK_CONTROL
        std::string text;
        std::vector<int> indices;
        std::function<void(CDialog&)> inspect;
    };
    std::deque<Action> actions;
};

class ScriptedHost : public HostBase {
public:
    ScriptedHost();

    // ---- scripting ------------------------------------------------------------------
    // Queues the answer to the next message box whose text contains `textPart`
    // (an empty part matches any text). Expectations are consumed in order.
    void ExpectMessage(const std::string& textPart, int answer = IDOK);
    // Queues a file dialog whose title contains `titlePart`: chooses `path`, or
    // cancels when `path` is empty.
    void ExpectFileDialog(const std::string& titlePart, const std::string& path);
    void ExpectFolder(const std::string& titlePart, const std::string& folder);
    // Queues a script for the next run of the dialog with this template id.
    DialogScript& ScriptDialog(int templateId);
    // Runs the actions now on a dialog that is open.
    void Act(CDialog& dialog, DialogScript script);

    // ---- read-back ------------------------------------------------------------------
    const std::vector<ShownMessage>& Messages() const { return m_messages; }
    const std::vector<ShownFileDialog>& FileDialogs() const { return m_fileDialogs; }
    const std::vector<ShownDialog>& Dialogs() const { return m_dialogs; }
    const ShownDialog* LastDialog(int templateId) const;
    const std::vector<std::string>& ShellOpened() const { return m_shellOpened; }
    std::vector<std::string> PendingExpectations() const; // unmet answers and scripts
    void ClearMessages() { m_messages.clear(); }
    int PumpCount() const { return m_pumps; }
    std::vector<CDialog*> ModelessDialogs() const { return m_modeless; }
    // What owner-drawn control `id` shows on a screen of cx x cy pixels: the
    // operations of one draw into a fresh recording context (none when it draws nothing).
    std::vector<std::string> DrawnItem(CDialog& dialog, int id, int cx = 200, int cy = 100) const;

    // ---- the simulated machine ------------------------------------------------------
    uint64_t clock = 1000; // TickCount; tests move it
    uint64_t clockStepPerPump = 0;
    std::string currentDirectory = "/work";
    std::string tempDirectory = "/tmp";
    bool mainWindow = true;
    bool mainEnabled = true;
    int mainEnableCalls = 0;
    int mainDisableCalls = 0;
    bool failModelessCreate = false;
    int printerSetups = 0;
    bool printerAvailable = true; // false: CreatePrintJob gives nullptr
    // A test's printer of fixed capabilities; unset, jobs print on the chosen page.
    std::optional<DeviceCaps> printerCaps;
    struct PrintedDocument {
        std::string name;
        std::vector<std::vector<std::string>> pages; // recorded operations per page
        bool ended = false;
        bool aborted = false; // an aborted document keeps no page
    };
    std::vector<PrintedDocument> printed;

    // Called with a description of every prompt or action that nothing matched.
    std::function<void(const std::string&)> onUnexpected;

    // ---- IHost ------------------------------------------------------------------------
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    FileDialogResult FileDialog(const FileDialogOptions& options) override;
    bool ChooseFolder(const std::string& title, std::string& folder) override;
    bool ShellOpen(const std::string& target) override;
    uint64_t TickCount() override { return clock; }
    std::string CurrentDirectory() override { return currentDirectory; }
    bool SetCurrentDirectory(const std::string& path) override;
    std::string TempDirectory() override { return tempDirectory; }
    void PumpEvents() override;
    int RunModal(CDialog& dialog) override;
    bool CreateModeless(CDialog& dialog) override;
    void DestroyModeless(CDialog& dialog) override;
    bool PrinterSetup() override;
    std::unique_ptr<IPrintJob> CreatePrintJob(const std::string& documentName) override;
    bool HasMainWindow() override { return mainWindow; }
    bool IsMainWindowEnabled() override { return mainWindow && mainEnabled; }
    void EnableMainWindow(bool enable) override;

private:
    struct Expectation {
        std::string textPart;
        int answer;
    };
    struct PathAnswer {
        std::string titlePart;
        std::string path;
    };

    void Unexpected(const std::string& what);
    // Runs actions until the dialog ends, the script waits for pumps, or it runs out.
    void RunActions(CDialog& dialog, DialogScript& script);
    bool Perform(CDialog& dialog, DialogScript::Action& action);
    bool PerformChoice(CDialog& dialog, ControlState& control, DialogScript::Action& action);
    ShownDialog Snapshot(const CDialog& dialog) const;

    std::deque<Expectation> m_expected;
    std::deque<PathAnswer> m_fileAnswers;
    std::deque<PathAnswer> m_folderAnswers;
    std::map<int, std::deque<std::unique_ptr<DialogScript>>> m_scripts;
    std::map<const CDialog*, std::unique_ptr<DialogScript>> m_modelessScripts;
    std::vector<CDialog*> m_modeless;
    std::vector<ShownMessage> m_messages;
    std::vector<ShownFileDialog> m_fileDialogs;
    std::vector<ShownDialog> m_dialogs;
    std::vector<std::string> m_shellOpened;
    int m_pumps = 0;
};
