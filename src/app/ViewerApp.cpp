#include "app/ViewerApp.h"

#include "app/MainFrame.h"
#include "app/SplashDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Wnd.h"
#include "res/CommandIds.h"

#include <algorithm>

CViewerApp theApp;

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
    m_viewOptions.clear();
    m_mainFrame.reset();
    m_helpBaseDir.clear();
    m_helpPath.clear();
    m_message.clear();
    m_startupDir.clear();
    m_controlBar = 0;
    m_display = DisplayOptionBlock();
    m_convertCnv = ConvertCnvValues();
    m_domainSetup = DomainSetupGroup();
    m_vdlSetup = VdlSetupGroup();
    m_logSetup = LogSetupGroup();
    m_semblanceMapSetup = SemblanceMapSetupGroup();
    m_xplotSetup = XPlotSetupGroup();
    m_utilitiesSetup = UtilitiesSetupGroup();
    m_dormant = DormantSetupGroups();
    m_windowClasses = {};
    m_modes = {};
    m_splashStartTick = 0;
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

// ---- display options ------------------------------------------------------------------------

size_t CViewerApp::AddViewOptions(int windowId, uint16_t kind, const int available[kReceivers], CWnd* window)
{
    auto record = std::make_unique<CViewOptions>();
    record->m_windowId = uint16_t(windowId);
    record->m_kind = kind;
    record->m_window = window;
    for (int i = 0; i < kReceivers; ++i) {
        m_display.receiverAvailable[size_t(i)] = available[i] ? 1 : 0;
        record->m_available[i] = uint32_t(available[i]);
        record->m_shown[i] = m_display.receiverShown[size_t(i)];
    }
    record->m_zoomFactor1 = m_display.zoomFactor1;
    record->m_zoomFactor2 = m_display.zoomFactor2;
    record->m_zoomFactor3 = m_display.zoomFactor3;
    m_viewOptions.push_back(std::move(record));
    return m_viewOptions.size() - 1;
}

void CViewerApp::RemoveViewOptions(uint16_t windowId)
{
    for (auto it = m_viewOptions.begin(); it != m_viewOptions.end(); ++it)
        if ((*it)->m_windowId == windowId) {
            m_viewOptions.erase(it);
            m_display.zoomFactor1 = m_display.zoomFactor2 = m_display.zoomFactor3 = 1.0f;
            return;
        }
}

const CViewOptions* CViewerApp::FindViewOptions(uint16_t windowId) const
{
    for (const auto& r : m_viewOptions)
        if (r->m_windowId == windowId) return r.get();
    return nullptr;
}

void CViewerApp::LoadViewOptions()
{
    const CViewOptions* r = FindViewOptions(m_display.activeWindowId);
    if (!r) {
        m_display.zoomFactor1 = m_display.zoomFactor2 = m_display.zoomFactor3 = 1.0f;
        return;
    }
    for (int i = 0; i < kReceivers; ++i) {
        m_display.receiverAvailable[size_t(i)] = r->m_available[i];
        m_display.receiverShown[size_t(i)] = r->m_shown[i];
    }
    m_display.zoomFactor1 = r->m_zoomFactor1;
    m_display.zoomFactor2 = r->m_zoomFactor2;
    m_display.zoomFactor3 = r->m_zoomFactor3;
}

void CViewerApp::StoreViewOptions()
{
    for (auto& r : m_viewOptions)
        if (r->m_windowId == m_display.activeWindowId) {
            for (int i = 0; i < kReceivers; ++i) r->m_shown[i] = m_display.receiverShown[size_t(i)];
            r->m_zoomFactor1 = m_display.zoomFactor1;
            r->m_zoomFactor2 = m_display.zoomFactor2;
            r->m_zoomFactor3 = m_display.zoomFactor3;
        }
    CWnd* child = Frame() ? Frame()->ActiveChild() : nullptr;
    if (!child || child->IsIconic()) return;
    m_display.redrawRequest = 0;
    m_display.optionsStored = 1;
    child->Invalidate(true);
    child->UpdateWindow();
    child->SetFocus();
}

void CViewerApp::RepaintActiveView()
{
    CWnd* child = Frame() ? Frame()->ActiveChild() : nullptr;
    if (!child || child->IsIconic()) return;
    m_display.redrawRequest = 0;
    child->Invalidate(true);
    child->UpdateWindow();
    child->SetFocus();
}

int CViewerApp::CountShownReceivers() const
{
    return int(std::count_if(m_display.receiverShown.begin(), m_display.receiverShown.end(),
                             [](uint32_t v) { return v != 0; }));
}

// ---- display commands -------------------------------------------------------------------------

void CViewerApp::Store()
{
    m_display.redrawRequest = 1;
    StoreViewOptions();
}

void CViewerApp::OnZoomReset()
{
    m_display.zoomLevel = 0;
    m_display.zoomFactor1 = m_display.zoomFactor2 = m_display.zoomFactor3 = 1.0f;
    Store();
}

void CViewerApp::OnZoomIn()
{
    if (m_display.zoomLevel >= 5) {
        m_message = Format("Reached maximum zoom in (+x%2d times)!\nOperation will be abandoned.", 32);
        MessageBox(m_message, MB_OK | MB_ICONSTOP);
        return;
    }
    ++m_display.zoomLevel;
    m_display.zoomFactor1 *= 2.0f;
    m_display.zoomFactor2 += 0.1f;
    m_display.zoomFactor3 += 0.1f;
    Store();
}

void CViewerApp::OnZoomOut()
{
    if (m_display.zoomLevel <= -5) {
        m_message = Format("Reached minimum zoom out (-x%2d) times)!\nOperation will be abandoned.", 32);
        MessageBox(m_message, MB_OK | MB_ICONSTOP);
        return;
    }
    --m_display.zoomLevel;
    m_display.zoomFactor1 /= 2.0f;
    m_display.zoomFactor2 -= 0.1f;
    m_display.zoomFactor3 -= 0.1f;
    Store();
}

void CViewerApp::OnAxisZoom(int16_t DisplayOptionBlock::*request, int16_t value)
{
    m_display.*request = value;
    Store();
}

void CViewerApp::OnSaveProfile()
{
    m_display.saveProfile = m_display.saveProfile ? 0 : 1;
    StoreViewOptions();
}

void CViewerApp::OnPenColour(uint32_t DisplayOptionBlock::*colour)
{
    if (m_display.*colour) return;
    for (auto member : {&DisplayOptionBlock::redPen, &DisplayOptionBlock::greenPen, &DisplayOptionBlock::bluePen,
                        &DisplayOptionBlock::blackPen, &DisplayOptionBlock::whitePen})
        m_display.*member = member == colour ? 1 : 0;
    m_display.penColourChanged = 1;
    RepaintActiveView();
}

void CViewerApp::OnPenWidth(uint32_t DisplayOptionBlock::*width)
{
    if (m_display.*width) return;
    m_display.thinPen = width == &DisplayOptionBlock::thinPen ? 1 : 0;
    m_display.thickPen = width == &DisplayOptionBlock::thickPen ? 1 : 0;
    m_display.penWidthChanged = 1;
    RepaintActiveView();
}

void CViewerApp::OnBackground(uint32_t DisplayOptionBlock::*background)
{
    if (m_display.*background) return;
    for (auto member : {&DisplayOptionBlock::whiteBackground, &DisplayOptionBlock::yellowBackground,
                        &DisplayOptionBlock::grayBackground})
        m_display.*member = member == background ? 1 : 0;
    m_display.backgroundChanged = 1;
    RepaintActiveView();
}

void CViewerApp::OnSingleReceiver() { m_display.singleReceiver = m_display.singleReceiver ? 0 : 1; }

void CViewerApp::OnReceiver(int receiver)
{
    const size_t i = size_t(receiver - 1);
    if (i >= size_t(kReceivers) || !m_display.receiverAvailable[i]) return;
    if (!m_display.receiverShown[i]) {
        m_display.receiverShown[i] = 1;
        Store();
        return;
    }
    if (CountShownReceivers() > 1) {
        m_display.receiverShown[i] = 0;
        Store();
        return;
    }
    m_message = Format("Could not disable receiver R%d.\nMinimum one receiver has to be active.\n"
                       "Operation will be abandoned.",
                       receiver);
    MessageBox(m_message, MB_OK | MB_ICONSTOP);
}

void CViewerApp::AddDisplayCommands()
{
    using D = DisplayOptionBlock;
    auto& c = m_commands;
    c.Add(ID_ZOOM_RESET, [this] { OnZoomReset(); });
    c.Add(ID_ZOOM_IN, [this] { OnZoomIn(); });
    c.Add(ID_ZOOM_OUT, [this] { OnZoomOut(); });
    c.Add(ID_DEPTH_ZOOM_IN, [this] { OnAxisZoom(&D::depthZoomRequest, 1); });
    c.Add(ID_DEPTH_ZOOM_OUT, [this] { OnAxisZoom(&D::depthZoomRequest, -1); });
    c.Add(ID_DATA_ZOOM_IN, [this] { OnAxisZoom(&D::dataAxisZoomRequest, 1); });
    c.Add(ID_DATA_ZOOM_OUT, [this] { OnAxisZoom(&D::dataAxisZoomRequest, -1); });
    c.Add(ID_SAVE_PROFILE, [this] { OnSaveProfile(); });

    // Options shown as indeterminate (2) while on.
    auto onOff = [this](uint32_t D::*flag) { return [this, flag](CommandState& s) { s.check = m_display.*flag ? 2 : 0; }; };
    const std::pair<int, uint32_t D::*> pens[] = {{ID_RED_PEN, &D::redPen}, {ID_GREEN_PEN, &D::greenPen},
                                                 {ID_BLUE_PEN, &D::bluePen}, {ID_BLACK_PEN, &D::blackPen},
                                                 {ID_WHITE_PEN, &D::whitePen}};
    for (const auto& [id, flag] : pens) c.Add(id, [this, flag = flag] { OnPenColour(flag); }, onOff(flag));
    c.Add(ID_THIN_PEN, [this] { OnPenWidth(&D::thinPen); }, onOff(&D::thinPen));
    c.Add(ID_THICK_PEN, [this] { OnPenWidth(&D::thickPen); }, onOff(&D::thickPen));
    const std::pair<int, uint32_t D::*> backgrounds[] = {{ID_WHITE_BACKGROUND, &D::whiteBackground},
                                                        {ID_YELLOW_BACKGROUND, &D::yellowBackground},
                                                        {ID_GRAY_BACKGROUND, &D::grayBackground}};
    for (const auto& [id, flag] : backgrounds) c.Add(id, [this, flag = flag] { OnBackground(flag); }, onOff(flag));
    c.Add(ID_SINGLE_RECEIVER, [this] { OnSingleReceiver(); }, onOff(&D::singleReceiver));

    for (int n = 1; n <= kReceivers; ++n)
        c.Add(
            ReceiverCommand(n), [this, n] { OnReceiver(n); },
            [this, n](CommandState& s) {
                const size_t i = size_t(n - 1);
                s.check = m_display.receiverAvailable[i] && m_display.receiverShown[i] ? 0 : 2;
            });
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
