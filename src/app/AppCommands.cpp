// Start-up of the application object, its modes and the shell's commands: the mode
// commands, Close All, Control Bar, the pop-up menu, the mnemonics reminder and About.
#include "app/AboutDlg.h"
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "app/SplashDlg.h"
#include "app/ViewerApp.h"
#include "common/QtxMnemonicsDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "platform/UserFolders.h"
#include "platform/Wnd.h"
#include "res/CommandIds.h"
#include "res/DialogTemplates.h"
#include "res/Images.h"
#include "res/Menus.h"
#include "res/StringTable.h"
#include "settings/DisplayOptions.h"

#include <cstdio>

namespace {
constexpr char kOrganisation[] = "Merrowdyne Revezirider"; // names the settings file and the data folder
} // namespace

bool CViewerApp::InitInstance()
{
    IHost& host = Host();
    // Dialogs: grey background, blue text.
    host.SetDialogColors(Rgb(192, 192, 192), Rgb(0, 0, 255));
    host.SetProfileOrganisation(kOrganisation);

    IFrame* frame = Frame();
    if (!frame) return false;
    // Before the frame: its windows take the program's icon as they are made.
    SetImageDrawers(DrawButtonImage, DrawProgramImage);
    // Before the first menu: its entries take their status-bar prompts as they are made.
    SetCommandPromptSource(CommandPromptText);
    m_mainFrame = std::make_unique<CMainFrame>();
    BuildCommandMap();
#ifndef NDEBUG
    // Two dialogs under one id would show one template for both, and a command whose id
    // another command already has would never run (or hide the other): a developer's slip
    // that must not get as far as a user. Every one is named, so one rebuild mends them all.
    if (const auto problems = CommandIdProblems(); !problems.empty()) {
        for (const std::string& line : problems) std::fprintf(stderr, "%s.\n", line.c_str());
        m_mainFrame.reset();
        return false;
    }
#endif
    if (!frame->Create("BronteluxViewer", m_mainFrame.get(), this)) {
        m_mainFrame.reset();
        return false;
    }
    m_mainFrame->InitialShowWindow(m_showCommand);

    m_modes[0] = {kMenuStart, 128, 0, false};
    m_modes[1] = {kMenuCnv, 128, kToolBarCnv, false};
    m_modes[2] = {kMenuLis, 128, kToolBarLis, false};
    m_modes[3] = {kMenuQtx, 128, kToolBarQtx, false};
    m_modes[4] = {kMenuReducedQtx, 128, kToolBarDisplay, false};
    frame->SetMenu(MenuResourceFor(kMenuStart));
    frame->SetAccelerators(AcceleratorTable());

    theApp.m_controlBar = 1;
    frame->Update();

    if (!frame->IsIconic() && m_commandLine.empty()) {
        m_splash = std::make_unique<CSplashDlg>();
        if (!m_splash->Create()) m_splash.reset();
    }
    m_splashStartTick = host.TickCount();
    // A timer, not idle polling, ends the splash: idle polling kept the processor busy.
    if (m_splash) frame->SetAppTimer(kSplashTimer, unsigned(kSplashMilliseconds + 1));

    theApp.m_startupDir = host.CurrentDirectory();
    m_dataDir = UserDataFolder(kOrganisation, "BronteluxViewer");
    if (m_dataDir.empty()) m_dataDir = theApp.m_startupDir;

    theApp.SetStartupDefaults();

    RegisterWindowClasses();

    theApp.m_helpBaseDir = host.CurrentDirectory();
    theApp.m_helpPath = JoinPath(theApp.m_helpBaseDir, "WebHelp/BronteluxHtmlHelp.htm");
    return true;
}

void CViewerApp::RegisterWindowClasses()
{
    const Color white = Rgb(255, 255, 255);
    const Color lightGray = Rgb(192, 192, 192);
    struct Slot {
        int index;
        unsigned style;
        Color background;
    };
    // Member order, except that the last slot is registered ninth.
    const Slot slots[] = {{0, 0, white},          {2, 0, white},          {3, 0, lightGray},
                          {4, 0, lightGray},      {5, 0, lightGray},      {6, 0, lightGray},
                          {7, CS_DBLCLKS, lightGray}, {8, CS_DBLCLKS, lightGray}, {17, CS_DBLCLKS, lightGray},
                          {9, 0, lightGray},      {10, 0, lightGray},     {11, 0, lightGray},
                          {12, 0, lightGray},     {13, 0, white},         {14, 0, white},
                          {15, 0, white},         {16, 0, white}};
    for (const Slot& s : slots) {
        WindowClass c;
        c.name = Format("BronteluxWnd%d", s.index + 1);
        c.style = s.style;
        c.background = s.background;
        m_windowClasses[size_t(s.index)] = RegisterWindowClass(c);
    }
}

void CViewerApp::BuildCommandMap()
{
    m_commands = CommandMap();
    AddShellCommands(m_commands, *this);
    AddDisplayOptionCommands(m_commands);
    AddViewerCommands(m_commands, *this);
    AddLisCommands(m_commands);
    AddToolBoxCommands(m_commands, *this);
    AddLogPlotCommands(m_commands, *this);
    AddCnvCommands(m_commands);
    // Shown, disabled, and kept from any new command until they get their handlers.
    for (int id : DormantCommandIds()) m_commands.Hold(id);
}

std::vector<std::string> CViewerApp::CommandIdProblems() const
{
    std::vector<std::string> problems;
    for (int id : SharedDialogIds(RegisteredDialogTemplates()))
        problems.push_back("Dialog id " + std::to_string(id) + " is registered by two templates");
    const auto add = [&problems](std::vector<std::string> lines) {
        for (std::string& line : lines) problems.push_back(std::move(line));
    };
    add(CommandIdClashes({&m_mainFrame->Commands(), &m_commands}));
    add(UnclaimedCommandIds(ShownCommandIds(), {&m_mainFrame->Commands(), &m_commands}));
    add(CommandIdsOfOtherTexts({&m_mainFrame->Commands(), &m_commands}));
    return problems;
}

void CViewerApp::ShowToolBar(int toolBarId, bool show)
{
    ModeRecord* mode = ModeOfToolBar(toolBarId);
    if (!mode) return;
    if (!show) {
        if (mode->toolBarCreated) Frame()->ShowToolBar(toolBarId, false);
        return;
    }
    if (!mode->toolBarCreated) {
        int result = -1;
        switch (toolBarId) {
        case kToolBarCnv: result = m_mainFrame->CreateCnvToolBar(); break;
        case kToolBarLis: result = m_mainFrame->CreateLisToolBar(); break;
        case kToolBarQtx: result = m_mainFrame->CreateQtxToolBar(); break;
        case kToolBarDisplay: result = m_mainFrame->CreateDisplayToolBar(); break;
        default: break;
        }
        if (result != 0) return; // the mode goes on without a toolbar
    }
    Frame()->ShowToolBar(toolBarId, true);
}

void CViewerApp::EnterMode(AppMode mode)
{
    IFrame* frame = Frame();
    if (!frame || !m_mainFrame) return;
    ShowToolBar(kToolBarCnv, mode == kModeCnv);
    ShowToolBar(kToolBarLis, mode == kModeLis);
    if (mode != kModeQtx) {
        ShowToolBar(kToolBarQtx, false);
        ShowToolBar(kToolBarDisplay, false);
    }
    frame->SetMenu(MenuResourceFor(mode == kModeCnv ? kMenuCnv : mode == kModeLis ? kMenuLis : kMenuQtx));
    if (mode == kModeQtx) {
        ShowToolBar(kToolBarQtx, true);
        ShowToolBar(kToolBarDisplay, true);
    }
    CloseViewers();
    theApp.m_display.windowCounter = 0;
    theApp.m_display.activeWindowId = 0;
    theApp.m_display.currentMode = mode;
    if (mode == kModeQtx) theApp.m_display.receiverShown.fill(1);
    frame->Update();
}

void CViewerApp::CloseViewers()
{
    // The records go first, so that a closing viewer finds none to remove; then
    // exactly the windows that owned them are destroyed, whichever one is active.
    std::vector<std::unique_ptr<CViewOptions>> records;
    records.swap(theApp.m_viewOptions);
    IFrame* frame = Frame();
    if (!frame) return;
    for (const auto& record : records) {
        if (!record->m_window) continue;
        const auto children = frame->Children();
        if (std::find(children.begin(), children.end(), record->m_window) != children.end())
            frame->DestroyChild(*record->m_window);
    }
}

void CViewerApp::OnViewControlBar()
{
    IFrame* frame = Frame();
    if (!frame) return;
    if (theApp.m_controlBar) {
        theApp.m_controlBar = 0;
        frame->SetMenu(MenuResourceFor(kMenuQtx));
        ShowToolBar(kToolBarDisplay, false);
    } else {
        theApp.m_controlBar = 1;
        frame->SetMenu(MenuResourceFor(kMenuReducedQtx));
        ShowToolBar(kToolBarDisplay, true);
    }
    frame->Update();
}

void AddShellCommands(CommandMap& c, CViewerApp& app)
{
    c.Add(ID_FILE_CNV, [&app] { app.EnterMode(kModeCnv); });
    c.Add(ID_FILE_LIS, [&app] { app.EnterMode(kModeLis); });
    c.Add(ID_FILE_QTX, [&app] { app.EnterMode(kModeQtx); });
    c.Add(ID_VIEW_CONTROL_BAR, [&app] { app.OnViewControlBar(); },
          [](CommandState& s) { s.check = theApp.m_controlBar ? 2 : 0; });
    c.Add(ID_WINDOW_CLOSE_ALL, [&app] {
        app.CloseViewers();
        DisplayOptionBlock& d = theApp.m_display;
        d.windowCounter = 0;
        d.activeWindowId = 0;
        d.zoomFactor1 = d.zoomFactor2 = d.zoomFactor3 = 1.0f;
    });
    // ID_POPUP is the frame's: it routes before the application.
    c.Add(ID_MNEMONICS, [] {
        CQtxMnemonicsDlg dialog;
        dialog.DoModal();
    });
    c.Add(ID_APP_ABOUT, [] {
        CAboutDlg about;
        about.DoModal();
    });
}
