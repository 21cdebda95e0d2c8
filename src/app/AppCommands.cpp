// Start-up and the command table of the application object: the mode commands,
// Close All, Control Bar, the pop-up menu, the mnemonics reminder and About.
#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/SplashDlg.h"
#include "app/ViewerApp.h"
#include "common/QtxMnemonicsDlg.h"
#include "lis/QtxToLis.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "platform/Wnd.h"
#include "res/CommandIds.h"
#include "res/Images.h"
#include "res/Menus.h"
#include "res/StringTable.h"

namespace {

// Work commands whose handlers arrive with their own subsystems.
void NotYetAvailable(const char* what)
{
    MessageBox(Format("%s is not available in this build yet.", what), MB_OK | MB_ICONINFORMATION);
}

} // namespace

bool CViewerApp::InitInstance()
{
    IHost& host = Host();
    // Dialogs: grey background, blue text.
    host.SetDialogColors(Rgb(192, 192, 192), Rgb(0, 0, 255));
    host.SetProfileOrganisation("Merrowdyne Revezirider");

    IFrame* frame = Frame();
    if (!frame) return false;
    // Before the frame: its windows take the program's icon as they are made.
    SetImageDrawers(DrawButtonImage, DrawProgramImage);
    m_mainFrame = std::make_unique<CMainFrame>();
    BuildCommandMap();
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
    SetCommandPromptSource(CommandPromptText);

    m_controlBar = 1;
    frame->Update();

    if (!frame->IsIconic() && m_commandLine.empty()) {
        m_splash = std::make_unique<CSplashDlg>();
        if (!m_splash->Create()) m_splash.reset();
    }
    m_splashStartTick = host.TickCount();
    // A timer, not idle polling, ends the splash: idle polling kept the processor busy.
    if (m_splash) frame->SetAppTimer(kSplashTimer, unsigned(kSplashMilliseconds + 1));

    m_startupDir = host.CurrentDirectory();

    m_display.currentMode = kModeNone;
    m_display.windowCounter = 0;
    m_display.activeWindowId = 0;
    m_viewOptions.clear();
    m_display.SetDefaults();

    m_domainSetup.SetDefaults();
    m_vdlSetup.SetDefaults();
    m_dormant.SetDefaults();
    m_logSetup.SetDefaults();
    m_semblanceMapSetup.SetDefaults();
    m_xplotSetup.SetDefaults();
    m_utilitiesSetup.SetDefaults();

    RegisterWindowClasses();

    m_helpBaseDir = host.CurrentDirectory();
    m_helpPath = JoinPath(m_helpBaseDir, "WebHelp/BronteluxHtmlHelp.htm");
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
    auto& c = m_commands;
    c.Add(ID_FILE_CNV, [this] { OnFileCnv(); });
    c.Add(ID_FILE_LIS, [this] { OnFileLis(); });
    c.Add(ID_FILE_QTX, [this] { OnFileQtx(); });
    c.Add(ID_VIEW_CONTROL_BAR, [this] { OnViewControlBar(); },
          [this](CommandState& s) { s.check = m_controlBar ? 2 : 0; });
    c.Add(ID_WINDOW_CLOSE_ALL, [this] { OnWindowCloseAll(); });
    c.Add(ID_POPUP, [this] { OnPopUp(); });
    c.Add(ID_MNEMONICS, [this] { OnMnemonics(); });
    c.Add(ID_APP_ABOUT, [this] { OnAppAbout(); });

    const std::pair<int, const char*> later[] = {
        {ID_SCAN_QTX, "Scan QTX"},         {ID_SCAN_CNV, "Scan CNV"},       {ID_SCAN_LIS, "Scan LIS"},
        {ID_LIS_TO_QTX, "Lis to QTX"},
        {ID_CONVERT_CNV, "Convert CNV"},   {ID_DISPLAY_VDL, "Display VDL"},   {ID_DISPLAY_LOG, "Display Log"}, {ID_DISPLAY_MAP, "Display Map"},
        {ID_DISPLAY_XPLOT, "Display Xplot Map"},
    };
    for (const auto& [id, name] : later) c.Add(id, [name = name] { NotYetAvailable(name); });

    c.Add(ID_QTX_TO_LIS, [] {
        CQtxToLis exporter;
        exporter.Run();
    });
    c.Add(ID_UTILITIES_TOOLS, [this] { OnUtilitiesTools(); });
    c.Add(ID_DICTIONARY, [this] { OnDictionary(); });
    c.Add(ID_DISPLAY_TIME, [this] { OnDisplayDomain(1); });
    c.Add(ID_DISPLAY_FREQUENCY, [this] { OnDisplayDomain(2); });
    c.Add(ID_DISPLAY_SLOWNESS, [this] { OnDisplayDomain(3); });
    c.Add(ID_DISPLAY_AZIMUTH, [this] { OnDisplayDomain(4); });
    AddDisplayCommands();
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
    m_display.windowCounter = 0;
    m_display.activeWindowId = 0;
    m_display.currentMode = mode;
    if (mode == kModeQtx) m_display.receiverShown.fill(1);
    frame->Update();
}

void CViewerApp::OnFileCnv() { EnterMode(kModeCnv); }
void CViewerApp::OnFileLis() { EnterMode(kModeLis); }
void CViewerApp::OnFileQtx() { EnterMode(kModeQtx); }

void CViewerApp::CloseViewers()
{
    // The records go first, so that a closing viewer finds none to remove; then
    // exactly the windows that owned them are destroyed, whichever one is active.
    std::vector<std::unique_ptr<CViewOptions>> records;
    records.swap(m_viewOptions);
    IFrame* frame = Frame();
    if (!frame) return;
    for (const auto& record : records) {
        if (!record->m_window) continue;
        const auto children = frame->Children();
        if (std::find(children.begin(), children.end(), record->m_window) != children.end())
            frame->DestroyChild(*record->m_window);
    }
}

void CViewerApp::OnWindowCloseAll()
{
    CloseViewers();
    m_display.windowCounter = 0;
    m_display.activeWindowId = 0;
    m_display.zoomFactor1 = m_display.zoomFactor2 = m_display.zoomFactor3 = 1.0f;
}

void CViewerApp::OnViewControlBar()
{
    IFrame* frame = Frame();
    if (!frame) return;
    if (m_controlBar) {
        m_controlBar = 0;
        frame->SetMenu(MenuResourceFor(kMenuQtx));
        ShowToolBar(kToolBarDisplay, false);
    } else {
        m_controlBar = 1;
        frame->SetMenu(MenuResourceFor(kMenuReducedQtx));
        ShowToolBar(kToolBarDisplay, true);
    }
    frame->Update();
}

void CViewerApp::OnPopUp()
{
    if (m_mainFrame) m_mainFrame->OnPopUp();
}

void CViewerApp::OnMnemonics()
{
    CQtxMnemonicsDlg dialog;
    dialog.DoModal();
}

void CViewerApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
