#include "platform/testing/ScriptedFrame.h"

#include <algorithm>

namespace {

// A recording context whose operations land in a window's backing record.
class BackingRecorder : public RecordingDc {
public:
    BackingRecorder(ScriptedWindow& window) : RecordingDc(window.caps), m_window(window) {}
    ~BackingRecorder() override
    {
        m_window.backing.insert(m_window.backing.end(), ops.begin(), ops.end());
    }

private:
    ScriptedWindow& m_window;
};

} // namespace

// ---- ScriptedWindow ---------------------------------------------------------------------

ScriptedWindow::ScriptedWindow(CWnd& w, const WindowClass& c, std::string text, unsigned s)
    : window(w), windowClass(c), caption(std::move(text)), style(s)
{
}

void ScriptedWindow::Invalidate(bool erase)
{
    invalid = true;
    eraseRequested = eraseRequested || erase;
}

void ScriptedWindow::Update()
{
    if (invalid && !iconic) Paint();
}

void ScriptedWindow::Paint()
{
    const bool erase = eraseRequested;
    invalid = false;
    eraseRequested = false;
    if (paintTarget) {
        if (std::unique_ptr<Dc> target = paintTarget()) {
            window.DispatchPaint(*target, erase);
            ++paintCount;
            return;
        }
    }
    RecordingDc dc(caps);
    window.DispatchPaint(dc, erase);
    ++paintCount;
    lastPaint = dc.ops;
    backing.push_back("Paint");
    backing.insert(backing.end(), dc.ops.begin(), dc.ops.end());
}

void ScriptedWindow::SetFocus() { focused = true; }

void ScriptedWindow::SetScrollInfo(int bar, const ScrollInfo& info, bool)
{
    scroll[bar == SB_VERT ? 1 : 0] = info.Kept();
}

std::unique_ptr<Dc> ScriptedWindow::BackingDc() { return std::make_unique<BackingRecorder>(*this); }

void ScriptedWindow::SetTimer(unsigned id, unsigned milliseconds)
{
    timers[id] = std::max(milliseconds, 1u);
    timerDue.erase(id); // counts from now, not from an earlier setting
}

// ---- ScriptedFrame ------------------------------------------------------------------------

ScriptedFrame::ScriptedFrame() = default;

ScriptedFrame::~ScriptedFrame()
{
    // Windows still open are destroyed with the frame, as a closing frame does.
    ScriptedFrame::Destroy();
}

bool ScriptedFrame::Create(const std::string& frameTitle, IFrameHandler* handler, IAppHandler* app)
{
    if (failCreate) return false;
    title = frameTitle;
    m_handler = handler;
    m_app = app;
    exists = true;
    if (handler && handler->OnCreate() == -1) {
        exists = false;
        return false;
    }
    return true;
}

void ScriptedFrame::Destroy()
{
    // Children go down with the frame: none is activated on the way.
    active = nullptr;
    m_activation.clear();
    while (!m_windows.empty()) DestroyChild(m_windows.back()->window);
    exists = false;
}

void ScriptedFrame::Show(unsigned showCmd)
{
    lastShowCmd = showCmd;
    switch (showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: showState = SW_SHOWMINIMIZED; break;
    case SW_SHOWMAXIMIZED: showState = SW_SHOWMAXIMIZED; break;
    case SW_HIDE: showState = SW_HIDE; break;
    default: showState = SW_SHOWNORMAL; break;
    }
    placement.showCmd = showState;
}

bool ScriptedFrame::GetPlacement(WindowPlacement& out) const
{
    if (!exists) return false;
    out = placement;
    out.showCmd = showState;
    return true;
}

void ScriptedFrame::SetPlacement(const WindowPlacement& p)
{
    const Rect before = placement.normal;
    placement = p;
    if (!FitPlacement(p.normal, screens, placement.normal)) placement.normal = before;
    Show(p.showCmd);
}

void ScriptedFrame::SetMenu(const Menu& m)
{
    menu = m;
    ++menuChanges;
}

bool ScriptedFrame::CreateToolBar(const ToolBarDef& toolBar)
{
    auto& state = toolBars[toolBar.id];
    state.def = toolBar;
    state.visible = true;
    ++state.creations;
    return true;
}

void ScriptedFrame::ShowToolBar(int id, bool show)
{
    const auto it = toolBars.find(id);
    if (it != toolBars.end()) it->second.visible = show;
}

bool ScriptedFrame::IsToolBarVisible(int id) const
{
    const auto it = toolBars.find(id);
    return it != toolBars.end() && it->second.visible;
}

bool ScriptedFrame::CreateStatusBar(const std::vector<int>& widths)
{
    paneWidths = widths;
    panes.assign(widths.size(), std::string());
    return true;
}

void ScriptedFrame::SetPaneText(int pane, const std::string& text)
{
    if (pane >= 0 && size_t(pane) < panes.size()) panes[size_t(pane)] = text;
}

std::string ScriptedFrame::PaneText(int pane) const
{
    return pane >= 0 && size_t(pane) < panes.size() ? panes[size_t(pane)] : std::string();
}

void ScriptedFrame::TrackPopupMenu(const Menu& popup, Point screen)
{
    popups.emplace_back(popup.id, screen);
    const int choice = popupChoice;
    popupChoice = 0;
    if (choice) RouteCommand(choice);
}

void ScriptedFrame::SetAppTimer(unsigned id, unsigned milliseconds)
{
    appTimers[id] = std::max(milliseconds, 1u);
    appTimerDue[id] = clock + appTimers[id];
}

bool ScriptedFrame::CreateChild(CWnd& window, const WindowClass& windowClass, const std::string& caption,
                                unsigned style)
{
    if (failChildCreate || !exists) return false;
    m_windows.push_back(std::make_unique<ScriptedWindow>(window, windowClass, caption, style));
    ScriptedWindow* impl = m_windows.back().get();
    impl->clientWidth = childClientSize.cx;
    impl->clientHeight = childClientSize.cy;
    impl->zoomed = style & WS_MAXIMIZE;
    impl->paintTarget = childPaintTarget;
    window.Attach(impl, windowClass.name, style);
    if (window.OnCreate() == -1) {
        DestroyChild(window);
        return false;
    }
    CWnd* previous = active;
    Activated(window);
    if (previous) previous->OnMDIActivate(false);
    window.OnSize(impl->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED, impl->clientWidth, impl->clientHeight);
    window.OnMDIActivate(true);
    impl->Invalidate(true);
    return true;
}

void ScriptedFrame::DestroyChild(CWnd& window)
{
    const auto it = std::find_if(m_windows.begin(), m_windows.end(),
                                 [&](const auto& w) { return &w->window == &window; });
    if (it == m_windows.end()) return;
    std::unique_ptr<ScriptedWindow> impl = std::move(*it);
    m_windows.erase(it);
    m_activation.erase(std::remove(m_activation.begin(), m_activation.end(), &window), m_activation.end());
    const bool wasActive = active == &window;
    // As MDI does, the child that was active before it takes over.
    if (wasActive) active = m_activation.empty() ? nullptr : m_activation.back();
    window.Detach(); // may delete the window object
    if (wasActive && active) active->OnMDIActivate(true);
}

void ScriptedFrame::ActivateChild(CWnd& window)
{
    if (!WindowOf(window) || active == &window) return;
    CWnd* previous = active;
    Activated(window);
    if (previous) previous->OnMDIActivate(false);
    window.OnMDIActivate(true);
}

void ScriptedFrame::Activated(CWnd& window)
{
    m_activation.erase(std::remove(m_activation.begin(), m_activation.end(), &window), m_activation.end());
    m_activation.push_back(&window);
    active = &window;
}

std::vector<CWnd*> ScriptedFrame::Children() const
{
    std::vector<CWnd*> out;
    for (const auto& w : m_windows) out.push_back(&w->window);
    return out;
}

ScriptedWindow* ScriptedFrame::WindowOf(const CWnd& window) const
{
    for (const auto& w : m_windows)
        if (&w->window == &window) return w.get();
    return nullptr;
}

void ScriptedFrame::Resize(CWnd& window, int cx, int cy)
{
    ScriptedWindow* w = WindowOf(window);
    if (!w) return;
    w->clientWidth = std::max(cx, 0);
    w->clientHeight = std::max(cy, 0);
    window.OnSize(w->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED, w->clientWidth, w->clientHeight);
    w->Invalidate(true);
}

void ScriptedFrame::SysCommand(CWnd& window, unsigned id)
{
    ScriptedWindow* w = WindowOf(window);
    if (!w) return;
    window.OnSysCommand(id);
    if (!(w = WindowOf(window))) return; // closed by the handler
    switch (id & 0xFFF0) {
    case SC_MINIMIZE:
        w->iconic = true;
        window.OnSize(SIZE_MINIMIZED, 0, 0);
        break;
    case SC_MAXIMIZE:
        w->iconic = false;
        w->zoomed = true;
        window.OnSize(SIZE_MAXIMIZED, w->clientWidth, w->clientHeight);
        w->Invalidate(true);
        break;
    case SC_RESTORE:
        w->iconic = false;
        w->zoomed = false;
        window.OnSize(SIZE_RESTORED, w->clientWidth, w->clientHeight);
        w->Invalidate(true);
        break;
    default: break;
    }
}

void ScriptedFrame::VScroll(CWnd& window, int code, int pos)
{
    if (WindowOf(window)) window.OnVScroll(code, pos);
}

void ScriptedFrame::HScroll(CWnd& window, int code, int pos)
{
    if (WindowOf(window)) window.OnHScroll(code, pos);
}

void ScriptedFrame::Key(CWnd& window, unsigned key, unsigned modifiers)
{
    if (!FrameKeyConsumed(key, modifiers) && WindowOf(window)) window.OnKeyDown(key, 1, modifiers);
}

void ScriptedFrame::FrameKey(unsigned key, unsigned modifiers) { FrameKeyConsumed(key, modifiers); }

bool ScriptedFrame::FrameKeyConsumed(unsigned key, unsigned modifiers)
{
    // The frame sees every key first: the pop-up keys, then the accelerators.
    if (m_app) m_app->OnInputEvent();
    if (m_handler && m_handler->PreTranslateKey(key, modifiers)) return true;
    for (const auto& a : accelerators)
        if (a.key == key && a.modifiers == modifiers) {
            RouteCommand(a.command);
            return true;
        }
    return false;
}

void ScriptedFrame::Mouse(CWnd& window, const std::string& what, unsigned flags, Point p)
{
    ScriptedWindow* w = WindowOf(window);
    if (!w) return;
    if (what != "move" && m_app) m_app->OnInputEvent();
    if (what == "move") window.OnMouseMove(flags, p);
    else if (what == "ldown") window.OnLButtonDown(flags, p);
    else if (what == "lup") window.OnLButtonUp(flags, p);
    else if (what == "rdown") window.OnRButtonDown(flags, p);
    else if (what == "rup") window.OnRButtonUp(flags, p);
    else if (what == "ldbl") window.DispatchDoubleClick(flags, p);
}

void ScriptedFrame::Click()
{
    if (m_app) m_app->OnInputEvent();
}

void ScriptedFrame::CloseFrame()
{
    if (m_handler) m_handler->OnClose();
    else Destroy();
}

void ScriptedFrame::AdvanceClock(uint64_t milliseconds)
{
    const uint64_t end = clock + milliseconds;
    // Step timer by timer so each fires at its own time, in order.
    while (true) {
        uint64_t next = end + 1;
        for (const auto& [id, due] : appTimerDue)
            if (appTimers.count(id)) next = std::min(next, due);
        for (const auto& w : m_windows)
            for (const auto& [id, period] : w->timers) {
                if (!w->timerDue.count(id)) w->timerDue[id] = clock + period;
                next = std::min(next, w->timerDue[id]);
            }
        if (next > end) break;
        if (linkedClock) *linkedClock += next - clock;
        clock = next;
        Fire(clock);
    }
    if (linkedClock) *linkedClock += end - clock;
    clock = end;
}

void ScriptedFrame::Fire(uint64_t now)
{
    for (auto it = appTimerDue.begin(); it != appTimerDue.end();) {
        const unsigned id = it->first;
        if (!appTimers.count(id)) {
            it = appTimerDue.erase(it);
            continue;
        }
        if (it->second <= now) {
            it->second = now + appTimers[id];
            if (m_app) m_app->OnTimer(id);
            return; // the handler may have changed the timers: look again
        }
        ++it;
    }
    for (const auto& w : m_windows)
        for (auto& [id, due] : w->timerDue)
            if (due <= now && w->timers.count(id)) {
                due = now + w->timers[id];
                w->window.OnTimer(id);
                return;
            }
}

void ScriptedFrame::Idle()
{
    long count = 0;
    while (m_app && m_app->OnIdle(count++) && count < 1000) {
    }
}
