#include "app/ViewerApp.h"

#include "app/MainFrame.h"
#include "app/SplashDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Wnd.h"
#include "res/CommandIds.h"

#include <algorithm>

CViewerApp theViewerApp;

CViewerApp::CViewerApp() = default;

CViewerApp::~CViewerApp()
{
    // Windows are the host's; at program end only the objects go.
    if (m_splash && m_splash->IsWindow()) m_splash->DestroyWindow();
}

void CViewerApp::ResetToStartupState()
{
    if (m_splash && m_splash->IsWindow()) m_splash->DestroyWindow();
    m_splash.reset();
    if (Frame()) Frame()->KillAppTimer(kSplashTimer);
    theApp.Clear();
    m_mainFrame.reset();
    m_windowClasses = {};
    m_modes = {};
    m_splashStartTick = 0;
    m_dataDir.clear();
    m_commandLine.clear();
    m_showCommand = SW_SHOWNORMAL;
    m_commands = CommandMap();
}

// ---- splash -------------------------------------------------------------------------------

bool CViewerApp::SplashShown() const { return m_splash && m_splash->IsWindow(); }

void CViewerApp::CloseSplash()
{
    if (!SplashShown()) return;
    m_splash->DestroyWindow();
    if (Frame()) {
        Frame()->KillAppTimer(kSplashTimer);
        Frame()->Update();
    }
}

void CViewerApp::OnInputEvent() { CloseSplash(); }

bool CViewerApp::OnIdle(long) { return false; }

void CViewerApp::OnTimer(unsigned id)
{
    if (id != kSplashTimer) return;
    if (!SplashShown()) {
        if (Frame()) Frame()->KillAppTimer(kSplashTimer);
        return;
    }
    if (Host().TickCount() - m_splashStartTick > kSplashMilliseconds) CloseSplash();
}

void CViewerApp::SetToolBarCreated(int toolBarId)
{
    if (ModeRecord* mode = ModeOfToolBar(toolBarId)) mode->toolBarCreated = true;
}

CViewerApp::ModeRecord* CViewerApp::ModeOfToolBar(int toolBarId)
{
    for (auto& m : m_modes)
        if (m.toolBar == toolBarId && toolBarId != 0) return &m;
    return nullptr;
}
