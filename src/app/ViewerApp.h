// The application object: start-up and shut-down, the main frame, the splash, the
// three working modes, the registered window classes and the command table. Every
// setting it writes at start-up lives in the settings store (`theApp`); each
// subsystem's commands are added from a file of their own (AppCommands.h).
#pragma once

#include "platform/Frame.h"
#include "settings/SettingsStore.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CSplashDlg;

// Slots of the registered window classes, in member order; the second stays empty
// and the "Spare" slots serve no window of this edition.
enum WindowClassSlot : int {
    kClassSpare1,
    kClassNone,
    kClassDomain,
    kClassVdl,
    kClassSpare5,
    kClassSpare6,
    kClassSpare7,
    kClassPlot,
    kClassSpare9,
    kClassSpare10,
    kClassSpare11,
    kClassSemblanceMap,
    kClassSpare13,
    kClassSpare14,
    kClassTools,
    kClassSpare16,
    kClassXPlot,
    kClassSpare18,
    kWindowClassSlots,
};

class CViewerApp : public IAppHandler {
public:
    CViewerApp();
    ~CViewerApp() override;

    bool InitInstance();
    int ExitInstance() { return 0; }
    // Back to the state before start-up, the settings store included (tests).
    void ResetToStartupState();
    bool OnCommand(int id) override { return m_commands.OnCommand(id); }
    bool OnUpdateCommand(CommandState& state) override { return m_commands.OnUpdateCommand(state); }
    void OnInputEvent() override;
    bool OnIdle(long count) override;
    void OnTimer(unsigned id) override;
    bool SplashShown() const;
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    // Every dialog id two templates share, every command id two commands share (a held
    // dormant one included), every id a menu, toolbar or key shows that no map adds or holds,
    // and every command under the id of a text that is no prompt: what a debug start-up
    // refuses, each named.
    std::vector<std::string> CommandIdProblems() const;
    const std::string& ClassName(WindowClassSlot slot) const { return m_windowClasses[size_t(slot)]; }

    // The mode commands and the control bar (File menu, View menu).
    void EnterMode(AppMode mode);
    void OnViewControlBar();
    // Closes the viewers that own records and frees the records.
    void CloseViewers();
    void SetToolBarCreated(int toolBarId);

    std::array<std::string, kWindowClassSlots> m_windowClasses;
    struct ModeRecord {
        int menu = 0;
        int accelerators = 0;
        int toolBar = 0; // resource id; 0: none
        bool toolBarCreated = false;
    };
    std::array<ModeRecord, 5> m_modes;
    uint64_t m_splashStartTick = 0;

    // The user's folder of the tool dictionary, beside the settings; the start-up
    // folder where the platform names none.
    std::string m_dataDir;

    // How the program was started.
    std::string m_commandLine;
    unsigned m_showCommand = SW_SHOWNORMAL;

    CommandMap m_commands;

private:
    void BuildCommandMap();
    void RegisterWindowClasses();
    void CloseSplash();
    ModeRecord* ModeOfToolBar(int toolBarId);
    void ShowToolBar(int toolBarId, bool show);

    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<CSplashDlg> m_splash;
};

extern CViewerApp theViewerApp;

// Timer of the splash screen's timeout.
constexpr unsigned kSplashTimer = 1;
constexpr uint64_t kSplashMilliseconds = 10000;
