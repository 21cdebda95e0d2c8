// Child windows of the main frame (the viewers and the plot window): a class with
// virtual handlers for painting, sizing, scrolling, keys, mouse, activation and
// system commands. The host creates the on-screen window and calls the handlers;
// the window asks the host for its client size, scroll bars, repaints and cursor.
#pragma once

#include "platform/Dc.h"
#include "platform/Geometry.h"
#include "platform/Input.h"

#include <memory>
#include <string>
#include <vector>

struct CommandState;

// A registered kind of child window.
struct WindowClass {
    std::string name;
    unsigned style = 0;            // CS_DBLCLKS: double clicks reach OnLButtonDblClk
    Color background = Rgb(255, 255, 255);
    CursorKind cursor = CursorKind::Arrow;
    int icon = 128;
};

// Registers a class (a later registration of the same name replaces it); returns its name.
std::string RegisterWindowClass(const WindowClass& windowClass);
const WindowClass* FindWindowClass(const std::string& name);

class CWnd;

// What the host keeps for one on-screen child window.
class IWindowImpl {
public:
    virtual ~IWindowImpl() = default;
    virtual Rect ClientRect() const = 0;
    virtual void Invalidate(bool erase) = 0;
    virtual void Update() = 0; // paints now when something is invalid
    virtual void SetFocus() = 0;
    virtual bool IsIconic() const = 0;
    virtual bool IsZoomed() const = 0;
    virtual void SetScrollInfo(int bar, const ScrollInfo& info, bool redraw) = 0;
    virtual ScrollInfo GetScrollInfo(int bar) const = 0;
    virtual void SetCursor(CursorKind cursor) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() const = 0;
    // A context that draws into the window's backing image outside the paint
    // handler; what it draws stays until the next paint.
    virtual std::unique_ptr<Dc> BackingDc() = 0;
    virtual void SetTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(unsigned id) = 0;
    virtual Point ClientToScreen(Point p) const = 0;
};

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creates the on-screen MDI child of the registered class; false on failure
    // (OnCreate returning -1 fails it too).
    bool CreateChild(const std::string& className, const std::string& caption, unsigned style = 0);
    // Destroys the window without running its close handler.
    void DestroyWindow();
    bool IsWindow() const { return m_impl != nullptr; }
    const std::string& ClassName() const { return m_className; }
    unsigned Style() const { return m_style; }

    // ---- handlers ------------------------------------------------------------------------
    virtual int OnCreate() { return 0; }
    virtual void OnPaint(Dc& dc) { (void)dc; }
    // Default: fills the client area with the class background; return true when
    // the background was handled.
    virtual bool OnEraseBkgnd(Dc& dc);
    virtual void OnSize(unsigned type, int cx, int cy) { (void)type, (void)cx, (void)cy; }
    virtual void OnClose() { DestroyWindow(); }
    virtual void OnDestroy() {}
    virtual void OnMDIActivate(bool activate) { (void)activate; }
    // Default: minimise, maximise, restore and close (close runs OnClose).
    virtual void OnSysCommand(unsigned id);
    virtual void OnVScroll(int code, int pos) { (void)code, (void)pos; }
    virtual void OnHScroll(int code, int pos) { (void)code, (void)pos; }
    virtual void OnKeyDown(unsigned key, unsigned repeat, unsigned flags) { (void)key, (void)repeat, (void)flags; }
    virtual void OnMouseMove(unsigned flags, Point p) { (void)flags, (void)p; }
    virtual void OnLButtonDown(unsigned flags, Point p) { (void)flags, (void)p; }
    virtual void OnLButtonUp(unsigned flags, Point p) { (void)flags, (void)p; }
    virtual void OnLButtonDblClk(unsigned flags, Point p) { (void)flags, (void)p; }
    virtual void OnRButtonDown(unsigned flags, Point p) { (void)flags, (void)p; }
    virtual void OnRButtonUp(unsigned flags, Point p) { (void)flags, (void)p; }
    virtual void OnTimer(unsigned id) { (void)id; }
    // Commands reach the active child first; true when handled.
    virtual bool OnCommand(int id) { (void)id; return false; }
    virtual bool OnUpdateCommand(CommandState& state) { (void)state; return false; }
    // Called after the window has been destroyed; a window owned by the frame deletes itself here.
    virtual void PostNcDestroy() {}

    // ---- services ------------------------------------------------------------------------
    Rect GetClientRect() const;
    void Invalidate(bool erase = true);
    void UpdateWindow();
    void SetFocus();
    bool IsIconic() const;
    bool IsZoomed() const;
    void SetScrollInfo(int bar, const ScrollInfo& info, bool redraw = true);
    ScrollInfo GetScrollInfo(int bar) const;
    int SetScrollPos(int bar, int pos, bool redraw = true); // returns the previous position
    int GetScrollPos(int bar) const;
    void SetScrollRange(int bar, int min, int max, bool redraw = true);
    void SetCursor(CursorKind cursor);
    void SetWindowText(const std::string& caption);
    std::string GetWindowText() const;
    std::unique_ptr<Dc> GetDC();
    void SetTimer(unsigned id, unsigned milliseconds);
    void KillTimer(unsigned id);
    Point ClientToScreen(Point p) const;

    // ---- called by hosts -------------------------------------------------------------------
    // Erases (when asked) and paints into `dc`; message boxes raised meanwhile are
    // shown after the paint.
    void DispatchPaint(Dc& dc, bool erase);
    // A second left press in quick succession: a double click for a class with
    // CS_DBLCLKS, a plain press otherwise.
    void DispatchDoubleClick(unsigned flags, Point p);
    void Attach(IWindowImpl* impl, const std::string& className, unsigned style);
    void Detach(); // the host destroyed the window: calls OnDestroy and PostNcDestroy
    IWindowImpl* Impl() const { return m_impl; }

private:
    IWindowImpl* m_impl = nullptr;
    std::string m_className;
    unsigned m_style = 0;
};
