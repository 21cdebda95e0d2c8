#include "platform/qt/QtChildView.h"

#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

int g_paintEvents = 0; // views' paint events running now (nested ones included)

unsigned MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    unsigned flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

unsigned VirtualKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default:
        if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + unsigned(key - Qt::Key_F1);
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return unsigned(key);
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return unsigned(key);
        return 0;
    }
}

// The client area: paints from the backing image and forwards input.
class ClientWidget : public QWidget {
public:
    explicit ClientWidget(QtChildView* view) : m_view(view)
    {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void Forget() { m_view = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_view) m_view->PaintClient();
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (m_view) m_view->ClientResized(width(), height());
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        const unsigned key = VirtualKey(e->key());
        if (m_view && m_view->window && key) m_view->window->OnKeyDown(key, unsigned(std::max(1, e->count())), 0);
        else QWidget::keyPressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (m_view && m_view->window) m_view->window->OnMouseMove(MouseFlags(e->buttons(), e->modifiers()), At(e));
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (!m_view || !m_view->window) return;
        setFocus();
        const unsigned flags = MouseFlags(e->buttons(), e->modifiers());
        if (e->button() == Qt::LeftButton) m_view->window->OnLButtonDown(flags, At(e));
        else if (e->button() == Qt::RightButton) m_view->window->OnRButtonDown(flags, At(e));
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (!m_view || !m_view->window) return;
        const unsigned flags = MouseFlags(e->buttons(), e->modifiers());
        if (e->button() == Qt::LeftButton) m_view->window->OnLButtonUp(flags, At(e));
        else if (e->button() == Qt::RightButton) m_view->window->OnRButtonUp(flags, At(e));
    }
    void wheelEvent(QWheelEvent* e) override
    {
        if (!m_view || !m_view->window) return;
        // Sideways with Shift, or from a wheel that tilts; a notch is 120 units, and
        // fine-grained wheels add up to whole notches.
        const QPoint delta = e->angleDelta();
        const bool horizontal = (e->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
        const int amount = delta.y() != 0 ? delta.y() : delta.x();
        int& rest = m_wheelRest[horizontal ? 1 : 0];
        rest += amount;
        const int steps = rest / 120;
        rest -= steps * 120;
        e->accept();
        if (steps) m_view->Wheel(steps, horizontal);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (!m_view || !m_view->window || e->button() != Qt::LeftButton) return;
        m_view->window->DispatchDoubleClick(MouseFlags(e->buttons(), e->modifiers()), At(e));
    }

private:
    static Point At(QMouseEvent* e) { return {int(e->position().x()), int(e->position().y())}; }
    QtChildView* m_view;
    int m_wheelRest[2] = {0, 0};
};

// The sub-window: its close box asks the system's window.
class SubWindow : public QMdiSubWindow {
public:
    explicit SubWindow(QtChildView* view) : m_view(view) { setAttribute(Qt::WA_DeleteOnClose, false); }
    void Forget() { m_view = nullptr; }
    bool closing = false;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (closing || !m_view) {
            e->accept();
            return;
        }
        e->ignore();
        m_view->CloseRequested();
    }

private:
    QtChildView* m_view;
};

// A window's context describes its screen, as a window's device context does: the
// screen's pixels and millimetres, whatever the window's size (the standard values
// where no screen tells them).
DeviceCaps ScreenCaps(const QWidget* widget)
{
    DeviceCaps caps;
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return caps;
    const QSize pixels = screen->size();
    const QSizeF millimetres = screen->physicalSize();
    if (pixels.width() > 0 && pixels.height() > 0 && millimetres.width() >= 1 && millimetres.height() >= 1) {
        caps.horzRes = pixels.width();
        caps.vertRes = pixels.height();
        caps.horzSize = int(millimetres.width() + 0.5);
        caps.vertSize = int(millimetres.height() + 0.5);
    }
    caps.logPixelsX = std::max(int(screen->logicalDotsPerInchX() + 0.5), 1);
    caps.logPixelsY = std::max(int(screen->logicalDotsPerInchY() + 0.5), 1);
    return caps;
}

// Draws into the backing image outside a paint; the screen follows at the next repaint.
class BackingQtDc : public QtDc {
public:
    BackingQtDc(std::shared_ptr<QtChildView::BackingStore> store, QWidget* client)
        : QtDc(&store->image, ScreenCaps(client)), m_store(std::move(store)), m_client(client)
    {
        m_store->busy = true;
    }
    ~BackingQtDc() override
    {
        Painter().end();
        m_store->busy = false;
        if (m_client) m_client->update();
    }

private:
    std::shared_ptr<QtChildView::BackingStore> m_store;
    QPointer<QWidget> m_client;
};

} // namespace

QtChildView::QtChildView(QtFrame& frame, CWnd& w, const WindowClass& c, const std::string& caption, unsigned style)
    : window(&w), windowClass(c), m_frame(frame)
{
    auto* subWindow = new SubWindow(this);
    sub = subWindow;
    auto* container = new QWidget;
    auto* grid = new QGridLayout(container);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    client = new ClientWidget(this);
    grid->addWidget(client, 0, 0);
    for (int bar : {SB_HORZ, SB_VERT}) {
        auto* scroll = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal);
        m_bars[bar] = scroll;
        if (bar == SB_VERT) grid->addWidget(scroll, 0, 1);
        else grid->addWidget(scroll, 1, 0);
        const bool wanted = style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL);
        scroll->setVisible(wanted);
        scroll->setEnabled(false);
        m_connections.push_back(QObject::connect(scroll, &QAbstractSlider::actionTriggered, scroll,
                                                 [this, bar](int action) { ScrollAction(bar, action); }));
        m_connections.push_back(
            QObject::connect(scroll, &QAbstractSlider::sliderReleased, scroll, [this, bar] { ScrollReleased(bar); }));
    }
    sub->setWidget(container);
    sub->setWindowTitle(QString::fromStdString(caption));
    sub->resize(640, 480);
    m_connections.push_back(QObject::connect(sub, &QMdiSubWindow::windowStateChanged, sub,
                                             [this](Qt::WindowStates, Qt::WindowStates now) {
                                                 StateChanged(now & Qt::WindowMinimized, now & Qt::WindowMaximized);
                                             }));
}

QtChildView::~QtChildView() { Detach(); }

void QtChildView::Detach()
{
    window = nullptr;
    for (const auto& c : m_connections) QObject::disconnect(c);
    m_connections.clear();
    for (auto& [id, timer] : m_timers) {
        timer->stop();
        timer->deleteLater(); // it may be the timer whose handler is running
    }
    m_timers.clear();
    if (client) static_cast<ClientWidget*>(client)->Forget();
    if (sub) {
        auto* s = static_cast<SubWindow*>(sub);
        s->Forget();
        s->closing = true;
        s->close();
        s->deleteLater();
        sub = nullptr;
    }
    client = nullptr;
}

Rect QtChildView::ClientRect() const { return client ? Rect{0, 0, client->width(), client->height()} : Rect{}; }

void QtChildView::Invalidate(bool erase)
{
    invalid = true;
    eraseRequested = eraseRequested || erase;
    if (client) client->update();
}

void QtChildView::Update()
{
    if (!invalid || !client || IsIconic()) return;
    // Inside a paint (this window's or another's) a synchronous repaint would recurse.
    // Inside a resize it would paint and show the screen before the workspace has
    // repainted the strip a shrinking view gave up, and that strip would keep the old
    // picture: the paint waits for the event loop, which paints both together.
    if (m_rendering || m_resizing || InPaintEvent()) client->update();
    else client->repaint();
}

bool QtChildView::InPaintEvent() { return g_paintEvents > 0; }

void QtChildView::NewBacking(QSize size, bool keepContents)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(ToQColor(windowClass.background));
    if (keepContents && !m_backing->image.isNull()) {
        QPainter p(&image);
        p.drawImage(0, 0, m_backing->image);
    }
    m_backing->image = std::move(image);
}

bool QtChildView::RenderBacking()
{
    if (!client || m_rendering || m_backing->busy) return false;
    if (m_backing->image.size() != client->size().expandedTo(QSize(1, 1))) {
        NewBacking(client->size(), false);
        invalid = true;
        eraseRequested = true;
    }
    if (!invalid || !window) return true;
    const bool erase = eraseRequested;
    invalid = false;
    eraseRequested = false;
    m_rendering = true;
    m_backing->busy = true;
    {
        QtDc dc(&m_backing->image, ScreenCaps(client));
        window->DispatchPaint(dc, erase);
    }
    m_backing->busy = false;
    m_rendering = false;
    return true;
}

void QtChildView::PaintClient()
{
    QWidget* target = client;
    if (!target) return;
    // Boxes raised meanwhile wait for the event loop (see QtHost::ShowHeldMessage).
    ++g_paintEvents;
    RenderBacking();
    --g_paintEvents;
    QPainter painter(target);
    painter.drawImage(0, 0, m_backing->image);
}

void QtChildView::ClientResized(int cx, int cy)
{
    // An image being drawn on stays; the next render makes one of the new size.
    if (!m_backing->busy) NewBacking(QSize(cx, cy), true);
    const bool wasResizing = std::exchange(m_resizing, true);
    if (window) window->OnSize(m_maximised ? SIZE_MAXIMIZED : SIZE_RESTORED, cx, cy);
    m_resizing = wasResizing;
    Invalidate(true);
}

void QtChildView::Wheel(int steps, bool horizontal)
{
    const int bar = horizontal ? SB_HORZ : SB_VERT;
    const ScrollInfo& s = m_scroll[bar];
    if (!window || !s.Scrolls()) return; // nothing to scroll on that side
    const int lines = std::min(std::abs(steps) * std::max(QApplication::wheelScrollLines(), 1), 1000);
    const int code = steps > 0 ? (horizontal ? SB_LINELEFT : SB_LINEUP) : (horizontal ? SB_LINERIGHT : SB_LINEDOWN);
    for (int i = 0; i < lines && window; ++i) {
        if (horizontal) window->OnHScroll(code, s.pos);
        else window->OnVScroll(code, s.pos);
    }
    if (!window) return; // it closed while it scrolled
    if (horizontal) window->OnHScroll(SB_ENDSCROLL, 0);
    else window->OnVScroll(SB_ENDSCROLL, 0);
    if (window) ApplyScroll(bar);
}

void QtChildView::SetFocus()
{
    if (client) client->setFocus();
}

bool QtChildView::IsIconic() const { return sub && sub->isMinimized(); }
bool QtChildView::IsZoomed() const { return sub && sub->isMaximized(); }

void QtChildView::SetScrollInfo(int bar, const ScrollInfo& info, bool)
{
    const int b = bar == SB_VERT ? SB_VERT : SB_HORZ;
    m_scroll[b] = info.Kept();
    ApplyScroll(b);
}

void QtChildView::ApplyScroll(int bar)
{
    QScrollBar* scroll = m_bars[bar];
    if (!scroll) return;
    const ScrollInfo& s = m_scroll[bar];
    const QSignalBlocker block(scroll);
    scroll->setRange(s.min, s.LastPos());
    scroll->setPageStep(std::max(int(s.page), 1));
    scroll->setSingleStep(1);
    scroll->setValue(s.pos);
    scroll->setSliderPosition(s.pos);
    if (s.Scrolls()) {
        scroll->setVisible(true);
        scroll->setEnabled(true);
    } else if (s.disableNoScroll) {
        scroll->setVisible(true);
        scroll->setEnabled(false);
    } else {
        scroll->setVisible(false);
    }
}

ScrollInfo QtChildView::GetScrollInfo(int bar) const
{
    ScrollInfo info = m_scroll[bar == SB_VERT ? SB_VERT : SB_HORZ];
    if (QScrollBar* scroll = m_bars[bar == SB_VERT ? SB_VERT : SB_HORZ]) info.trackPos = scroll->sliderPosition();
    return info;
}

void QtChildView::ScrollAction(int bar, int action)
{
    if (!window) return;
    QScrollBar* scroll = m_bars[bar];
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    const int pos = scroll->sliderPosition();
    if (bar == SB_VERT) window->OnVScroll(code, pos);
    else window->OnHScroll(code, pos);
    // The window decides where the bar stands, as scroll bars here do not move by
    // themselves; thumb tracking keeps the thumb under the mouse.
    if (code != SB_THUMBTRACK) QTimer::singleShot(0, scroll, [this, bar] { ApplyScroll(bar); });
}

void QtChildView::ScrollReleased(int bar)
{
    if (!window) return;
    const int pos = m_bars[bar]->sliderPosition();
    if (bar == SB_VERT) {
        window->OnVScroll(SB_THUMBPOSITION, pos);
        if (window) window->OnVScroll(SB_ENDSCROLL, 0);
    } else {
        window->OnHScroll(SB_THUMBPOSITION, pos);
        if (window) window->OnHScroll(SB_ENDSCROLL, 0);
    }
    ApplyScroll(bar);
}

void QtChildView::StateChanged(bool minimised, bool maximised)
{
    if (!window) return;
    const bool wasMinimised = m_minimised;
    const bool wasMaximised = m_maximised;
    m_minimised = minimised;
    m_maximised = maximised;
    if (minimised && !wasMinimised) window->OnSysCommand(SC_MINIMIZE);
    else if (maximised && !wasMaximised) window->OnSysCommand(SC_MAXIMIZE);
    else if (!minimised && !maximised && (wasMinimised || wasMaximised)) window->OnSysCommand(SC_RESTORE);
    if (window && minimised) window->OnSize(SIZE_MINIMIZED, 0, 0);
}

void QtChildView::CloseRequested()
{
    if (window) window->OnSysCommand(SC_CLOSE);
}

void QtChildView::SetCursor(CursorKind cursor)
{
    if (!client) return;
    switch (cursor) {
    case CursorKind::Wait: client->setCursor(Qt::WaitCursor); break;
    case CursorKind::Cross: client->setCursor(Qt::CrossCursor); break;
    case CursorKind::SizeNS: client->setCursor(Qt::SizeVerCursor); break;
    case CursorKind::SizeWE: client->setCursor(Qt::SizeHorCursor); break;
    default: client->setCursor(Qt::ArrowCursor); break;
    }
}

void QtChildView::SetCaption(const std::string& caption)
{
    if (sub) sub->setWindowTitle(QString::fromStdString(caption));
}

std::string QtChildView::Caption() const { return sub ? sub->windowTitle().toStdString() : std::string(); }

std::unique_ptr<Dc> QtChildView::BackingDc()
{
    if (m_backing->image.isNull() && client) NewBacking(client->size(), false);
    // A second context while one draws gets an image of its own, which nobody shows.
    if (m_backing->busy) {
        auto spare = std::make_shared<BackingStore>();
        spare->image = QImage(m_backing->image.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        return std::make_unique<BackingQtDc>(std::move(spare), nullptr);
    }
    return std::make_unique<BackingQtDc>(m_backing, client);
}

void QtChildView::SetTimer(unsigned id, unsigned milliseconds)
{
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [this, id] {
            if (window) window->OnTimer(id);
        });
    }
    timer->start(int(std::max(milliseconds, 1u)));
}

void QtChildView::KillTimer(unsigned id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end()) return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

Point QtChildView::ClientToScreen(Point p) const
{
    if (!client) return p;
    const QPoint global = client->mapToGlobal(QPoint(p.x, p.y));
    return {global.x(), global.y()};
}
