// One MDI child on screen: a sub-window whose client area paints from a backing
// image and whose scroll bars, keys and mouse reach the system's window handlers.
#pragma once

#include "platform/Wnd.h"

#include <QImage>
#include <QMetaObject>

#include <map>
#include <memory>
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
    // Brings the backing image up to date (the window's paint handler runs when
    // something is invalid); false when it cannot be drawn on now.
    bool RenderBacking();
    void PaintClient(); // the client's paint event: renders, then shows the image
    void ClientResized(int cx, int cy);
    // The mouse wheel: `steps` notches (positive away from the user), as line
    // codes of the vertical bar, or the horizontal one with Shift.
    void Wheel(int steps, bool horizontal);
    void ScrollAction(int bar, int action);
    void ScrollReleased(int bar);
    void StateChanged(bool minimised, bool maximised);
    void CloseRequested();
    void Detach(); // the window is gone: widgets stop calling it
    const QImage& Backing() const { return m_backing->image; }
    // True while a view's paint event runs: nothing modal may start then.
    static bool InPaintEvent();

    CWnd* window;
    WindowClass windowClass;
    QMdiSubWindow* sub = nullptr;
    QWidget* client = nullptr;
    bool invalid = true;
    bool eraseRequested = true;

    // The backing image, shared with contexts that draw outside a paint (they may
    // outlive the window). One painter at a time: while one draws, the image is
    // neither painted by another nor replaced.
    struct BackingStore {
        QImage image;
        bool busy = false;
    };

private:
    void ApplyScroll(int bar);
    void NewBacking(QSize size, bool keepContents);

    std::shared_ptr<BackingStore> m_backing = std::make_shared<BackingStore>();
    bool m_rendering = false;
    bool m_resizing = false; // the window's OnSize runs

    QtFrame& m_frame;
    QScrollBar* m_bars[2] = {nullptr, nullptr};
    ScrollInfo m_scroll[2];
    std::map<unsigned, QTimer*> m_timers;
    std::vector<QMetaObject::Connection> m_connections; // cut when the window goes
    bool m_minimised = false;
    bool m_maximised = false;
};
