// One MDI child on screen: a sub-window whose client area paints from a backing
// image and whose scroll bars, keys and mouse reach the system's window handlers.
#pragma once

#include "platform/Wnd.h"

#include <QImage>
#include <QMetaObject>

#include <map>
#include <vector>

class QMdiSubWindow;
class QScrollBar;
class QTimer;
class QWidget;
class QtFrame;

class QtChildView : public IWindowImpl {
public:
    QtChildView(QtFrame& frame, CWnd& window, const WindowClass& windowClass, const std::string& caption,
                unsigned style);
    ~QtChildView() override;

    Rect ClientRect() const override;
    void Invalidate(bool erase) override;
    void Update() override;
    void SetFocus() override;
    bool IsIconic() const override;
    bool IsZoomed() const override;
    void SetScrollInfo(int bar, const ScrollInfo& info, bool redraw) override;
    ScrollInfo GetScrollInfo(int bar) const override;
    void SetCursor(CursorKind cursor) override;
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
    std::unique_ptr<Dc> BackingDc() override;
    void SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;
    Point ClientToScreen(Point p) const override;

    // ---- from the widgets ----------------------------------------------------------------
    void PaintClient();               // the client's paint event
    void ClientResized(int cx, int cy);
    void ScrollAction(int bar, int action);
    void ScrollReleased(int bar);
    void StateChanged(bool minimised, bool maximised);
    void CloseRequested();
    void Detach(); // the window is gone: widgets stop calling it

    CWnd* window;
    WindowClass windowClass;
    QMdiSubWindow* sub = nullptr;
    QWidget* client = nullptr;
    QImage backing;
    bool invalid = true;
    bool eraseRequested = true;

private:
    void ApplyScroll(int bar);

    QtFrame& m_frame;
    QScrollBar* m_bars[2] = {nullptr, nullptr};
    ScrollInfo m_scroll[2];
    std::map<unsigned, QTimer*> m_timers;
    std::vector<QMetaObject::Connection> m_connections; // cut when the window goes
    bool m_minimised = false;
    bool m_maximised = false;
};
