// The application object and settings store. `theApp` holds every setting of every
// setup dialog (nothing is persisted but the frame's placement), the display
// options of the open viewers and the program-wide handles made at start-up.
// Setup dialogs are filled from its groups and copied back into them; viewers,
// display commands and engines read and write its members directly.
#pragma once

#include "app/SettingsGroups.h"
#include "platform/Frame.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CSplashDlg;
class CWnd;

constexpr int kReceivers = 13;

// The display options of one open viewer.
class CViewOptions {
public:
    uint16_t m_windowId = 0;
    uint16_t m_kind = 0;
    uint32_t m_available[kReceivers] = {};
    uint32_t m_shown[kReceivers] = {};
    float m_zoomFactor2 = 1.0f;
    float m_zoomFactor3 = 1.0f;
    float m_zoomFactor1 = 1.0f;
    CWnd* m_window = nullptr; // the viewer that owns the record, when it said so
};

// Slots of the registered window classes (the second stays empty).
enum WindowClassSlot : int {
    kClassDomain = 2,
    kClassVdl = 3,
    kClassPlot = 7,
    kClassSemblanceMap = 11,
    kClassTools = 14,
    kClassXPlot = 16,
    kWindowClassSlots = 18,
};

enum AppMode : int16_t { kModeNone = -1, kModeQtx = 1, kModeLis = 2, kModeCnv = 3 };

class CViewerApp : public IAppHandler {
public:
    CViewerApp();
    ~CViewerApp() override;

    // ---- life ---------------------------------------------------------------------------------
    bool InitInstance();
    int ExitInstance() { return 0; }
    // Back to the state before start-up: numbers zero, texts empty, no frame (tests).
    void ResetToStartupState();
    bool OnCommand(int id) override { return m_commands.OnCommand(id); }
    bool OnUpdateCommand(CommandState& state) override { return m_commands.OnUpdateCommand(state); }
    void OnInputEvent() override;
    bool OnIdle(long count) override;
    void OnTimer(unsigned id) override;
    bool SplashShown() const;
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

    // ---- display options ------------------------------------------------------------------------
    // Registers a viewer's record; `window` names the viewer so that Close All and
    // the mode commands close exactly the windows that own records.
    size_t AddViewOptions(int windowId, uint16_t kind, const int available[kReceivers], CWnd* window = nullptr);
    void RemoveViewOptions(uint16_t windowId);
    void LoadViewOptions();
    void StoreViewOptions();
    void RepaintActiveView();
    int CountShownReceivers() const;
    const CViewOptions* FindViewOptions(uint16_t windowId) const;

    // ---- commands ---------------------------------------------------------------------------------
    void OnZoomReset();
    void OnZoomIn();
    void OnZoomOut();
    void OnAxisZoom(int16_t DisplayOptionBlock::*request, int16_t value);
    void OnSaveProfile();
    void OnPenColour(uint32_t DisplayOptionBlock::*colour);
    void OnPenWidth(uint32_t DisplayOptionBlock::*width);
    void OnBackground(uint32_t DisplayOptionBlock::*background);
    void OnSingleReceiver();
    void OnReceiver(int receiver); // 1..13
    void OnFileCnv();
    void OnFileLis();
    void OnFileQtx();
    void OnViewControlBar();
    void OnWindowCloseAll();
    void OnPopUp();
    void OnMnemonics();
    void OnAppAbout();
    void OnDisplayDomain(int domain); // 1 time, 2 frequency, 3 slowness, 4 azimuth
    void OnUtilitiesTools();
    void OnDictionary();
    void SetToolBarCreated(int toolBarId);

    // ---- the store ------------------------------------------------------------------------------
    std::string m_helpBaseDir;
    std::string m_helpPath;
    std::string m_message;
    std::string m_startupDir;
    uint32_t m_controlBar = 0;
    DisplayOptionBlock m_display;
    std::vector<std::unique_ptr<CViewOptions>> m_viewOptions; // the records of the open viewers
    ConvertCnvValues m_convertCnv;
    DomainSetupGroup m_domainSetup;
    VdlSetupGroup m_vdlSetup;
    LogSetupGroup m_logSetup;
    SemblanceMapSetupGroup m_semblanceMapSetup;
    XPlotSetupGroup m_xplotSetup;
    UtilitiesSetupGroup m_utilitiesSetup;
    DormantSetupGroups m_dormant;
    std::array<std::string, kWindowClassSlots> m_windowClasses;
    struct ModeRecord {
        int menu = 0;
        int accelerators = 0;
        int toolBar = 0; // resource id; 0: none
        bool toolBarCreated = false;
    };
    std::array<ModeRecord, 5> m_modes;
    uint64_t m_splashStartTick = 0;

    // How the program was started.
    std::string m_commandLine;
    unsigned m_showCommand = SW_SHOWNORMAL;

    CommandMap m_commands;

private:
    void BuildCommandMap();
    void AddDisplayCommands();
    void RegisterWindowClasses();
    void EnterMode(AppMode mode);
    // Closes the viewers that own records and frees the records.
    void CloseViewers();
    void CloseSplash();
    ModeRecord* ModeOfToolBar(int toolBarId);
    void ShowToolBar(int toolBarId, bool show);
    void Store(); // redraw request, then StoreViewOptions

    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<CSplashDlg> m_splash;
};

extern CViewerApp theApp;

// Timer of the splash screen's timeout.
constexpr unsigned kSplashTimer = 1;
constexpr uint64_t kSplashMilliseconds = 10000;
