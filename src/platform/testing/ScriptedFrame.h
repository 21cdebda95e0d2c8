// The headless main frame for tests: keeps menus, toolbars, panes, placement and
// MDI children as data, paints windows into recording contexts, and lets a test
// drive windows (size, scroll, keys, mouse, activation, system commands), route
// commands, read their states and move the clock to fire timers.
#pragma once

#include "platform/Frame.h"
#include "platform/Placement.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ScriptedWindow : public IWindowImpl {
public:
    ScriptedWindow(CWnd& window, const WindowClass& windowClass, std::string caption, unsigned style);

    Rect ClientRect() const override { return {0, 0, clientWidth, clientHeight}; }
    void Invalidate(bool erase) override;
    void Update() override;
    void SetFocus() override;
    bool IsIconic() const override { return iconic; }
    bool IsZoomed() const override { return zoomed; }
    void SetScrollInfo(int bar, const ScrollInfo& info, bool redraw) override;
    ScrollInfo GetScrollInfo(int bar) const override { return scroll[bar == SB_VERT ? 1 : 0]; }
    void SetCursor(CursorKind c) override { cursor = c; }
    void SetCaption(const std::string& text) override { caption = text; }
    std::string Caption() const override { return caption; }
    std::unique_ptr<Dc> BackingDc() override;
    void SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override
    {
        timers.erase(id);
        timerDue.erase(id);
    }
    Point ClientToScreen(Point p) const override { return {p.x + screenX, p.y + screenY}; }

    // Paints now, whether invalid or not.
    void Paint();
    // When set, paints go to the context it makes instead of a recording one (a benchmark
    // paints into an image, as the Qt backend does) and are not recorded.
    std::function<std::unique_ptr<Dc>()> paintTarget;

    CWnd& window;
    WindowClass windowClass;
    std::string caption;
    unsigned style;
    int clientWidth = 640;
    int clientHeight = 480;
    int screenX = 100;
    int screenY = 100;
    bool iconic = false;
    bool zoomed = false;
    bool invalid = false;
    bool eraseRequested = false;
    bool focused = false;
    int paintCount = 0;
    CursorKind cursor = CursorKind::Arrow;
    ScrollInfo scroll[2];
    std::map<unsigned, unsigned> timers;       // id -> period
    std::map<unsigned, uint64_t> timerDue;     // id -> clock of the next tick
    DeviceCaps caps;
    std::vector<std::string> lastPaint;        // operations of the last paint
    std::vector<std::string> backing;          // every operation since creation, paints included
};

class ScriptedFrame : public IFrame {
public:
    ScriptedFrame();
    ~ScriptedFrame() override;

    // ---- IFrame ----------------------------------------------------------------------------
    bool Create(const std::string& title, IFrameHandler* handler, IAppHandler* app) override;
    void Destroy() override;
    bool Exists() const override { return exists; }
    void Show(unsigned showCmd) override;
    void Update() override { ++updates; }
    bool IsIconic() const override { return showState == SW_SHOWMINIMIZED; }
    bool IsZoomed() const override { return showState == SW_SHOWMAXIMIZED; }
    bool GetPlacement(WindowPlacement& placement) const override;
    void SetPlacement(const WindowPlacement& placement) override;
    bool IsEnabled() const override { return enabled; }
    void Enable(bool enable) override { enabled = enable; }
    void SetMenu(const Menu& menu) override;
    int MenuId() const override { return menu.id; }
    void SetAccelerators(const std::vector<Accelerator>& table) override { accelerators = table; }
    bool CreateToolBar(const ToolBarDef& toolBar) override;
    bool HasToolBar(int id) const override { return toolBars.count(id) != 0; }
    void ShowToolBar(int id, bool show) override;
    bool IsToolBarVisible(int id) const override;
    bool CreateStatusBar(const std::vector<int>& paneWidths) override;
    void SetPaneText(int pane, const std::string& text) override;
    std::string PaneText(int pane) const override;
    void ShowStatusBar(bool show) override { statusBarVisible = show; }
    bool IsStatusBarVisible() const override { return statusBarVisible; }
    void TrackPopupMenu(const Menu& popup, Point screen) override;
    Point ClientToScreen(Point client) const override { return {client.x + 10, client.y + 60}; }
    void SetAppTimer(unsigned id, unsigned milliseconds) override;
    void KillAppTimer(unsigned id) override { appTimers.erase(id); }
    bool CreateChild(CWnd& window, const WindowClass& windowClass, const std::string& caption,
                     unsigned style) override;
    void DestroyChild(CWnd& window) override;
    CWnd* ActiveChild() const override { return active; }
    void ActivateChild(CWnd& window) override;
    std::vector<CWnd*> Children() const override;
    void Cascade() override { ++cascades; }
    void TileHorizontal() override { ++tiles; }
    void TileVertical() override { ++tiles; }

    // ---- driving ------------------------------------------------------------------------------
    ScriptedWindow* WindowOf(const CWnd& window) const;
    void Resize(CWnd& window, int cx, int cy);
    void SysCommand(CWnd& window, unsigned id);
    void VScroll(CWnd& window, int code, int pos = 0);
    void HScroll(CWnd& window, int code, int pos = 0);
    void Key(CWnd& window, unsigned key, unsigned modifiers = 0); // the frame sees it first
    void FrameKey(unsigned key, unsigned modifiers = 0);          // a key with no child focused
    void Mouse(CWnd& window, const std::string& what, unsigned flags, Point p); // "move", "ldown", ...
    void Click();                                                 // a mouse press on the frame itself
    void CloseFrame();                                            // the close box
    void AdvanceClock(uint64_t milliseconds);                     // fires due timers
    void Idle();                                                  // runs idle passes until no more are asked
    bool Command(int id) { return RouteCommand(id); }

    // ---- state the test reads -------------------------------------------------------------------
    std::string title;
    bool exists = false;
    bool enabled = true;
    unsigned showState = SW_HIDE;
    unsigned lastShowCmd = SW_HIDE;
    WindowPlacement placement;
    // The simulated desktop's screens, the primary first (SetPlacement fits to them).
    std::vector<ScreenArea> screens{{{0, 0, 1280, 1024}, {0, 0, 1280, 994}}};
    Menu menu;
    int menuChanges = 0;
    std::vector<Accelerator> accelerators;
    struct ToolBarState {
        ToolBarDef def;
        bool visible = true;
        int creations = 0;
    };
    std::map<int, ToolBarState> toolBars;
    std::vector<int> paneWidths;
    std::vector<std::string> panes;
    bool statusBarVisible = true;
    std::vector<std::pair<int, Point>> popups; // menu id and screen point
    int popupChoice = 0;                       // command a test picks in the next pop-up (0: none)
    std::map<unsigned, unsigned> appTimers;
    std::map<unsigned, uint64_t> appTimerDue;
    int updates = 0;
    int cascades = 0;
    int tiles = 0;
    bool failCreate = false;
    bool failChildCreate = false;
    Size childClientSize{640, 480}; // client area of each child created from now on
    std::function<std::unique_ptr<Dc>()> childPaintTarget; // paint target of each child created from now on
    uint64_t clock = 0;
    uint64_t* linkedClock = nullptr; // a host clock moved along with this one

private:
    void Fire(uint64_t now);
    bool FrameKeyConsumed(unsigned key, unsigned modifiers);

    void Activated(CWnd& window);

    std::vector<std::unique_ptr<ScriptedWindow>> m_windows; // creation order
    std::vector<CWnd*> m_activation;                       // least recently active first
    CWnd* active = nullptr;
};
