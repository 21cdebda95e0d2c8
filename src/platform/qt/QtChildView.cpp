#include "platform/qt/QtChildView.h"

#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace {

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
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (!m_view || !m_view->window || e->button() != Qt::LeftButton) return;
        const unsigned flags = MouseFlags(e->buttons(), e->modifiers());
        // Without the double-click class style the second press is a plain press.
        if (m_view->windowClass.style & CS_DBLCLKS) m_view->window->OnLButtonDblClk(flags, At(e));
        else m_view->window->OnLButtonDown(flags, At(e));
    }

private:
    static Point At(QMouseEvent* e) { return {int(e->position().x()), int(e->position().y())}; }
    QtChildView* m_view;
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

// Draws into the backing image outside a paint; the screen follows at the next repaint.
class BackingQtDc : public QtDc {
public:
    BackingQtDc(QImage& image, QWidget* client) : QtDc(&image, Caps(image)), m_client(client) {}
    ~BackingQtDc() override
    {
        Painter().end();
        if (m_client) m_client->update();
    }
    static DeviceCaps Caps(const QImage& image)
    {
        DeviceCaps caps;
        caps.horzRes = image.width();
        caps.vertRes = image.height();
        return caps;
    }

private:
    QWidget* m_client;
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
    if (invalid && client && !IsIconic()) client->repaint();
}

void QtChildView::PaintClient()
{
    if (!client) return;
    if (backing.size() != client->size()) {
        backing = QImage(client->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        backing.fill(ToQColor(windowClass.background));
        invalid = true;
        eraseRequested = true;
    }
    if (invalid && window) {
        const bool erase = eraseRequested;
        invalid = false;
        eraseRequested = false;
        QtDc dc(&backing, BackingQtDc::Caps(backing));
        window->DispatchPaint(dc, erase);
    }
    QPainter painter(client);
    painter.drawImage(0, 0, backing);
}

void QtChildView::ClientResized(int cx, int cy)
{
    QImage old = backing;
    backing = QImage(QSize(std::max(cx, 1), std::max(cy, 1)), QImage::Format_RGB32);
    backing.fill(ToQColor(windowClass.background));
    if (!old.isNull()) {
        QPainter p(&backing);
        p.drawImage(0, 0, old);
    }
    if (window) window->OnSize(m_maximised ? SIZE_MAXIMIZED : SIZE_RESTORED, cx, cy);
    Invalidate(true);
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
    ScrollInfo& s = m_scroll[b];
    s = info;
    const int top = info.page > 0 ? std::max(info.min, info.max - int(info.page) + 1) : info.max;
    s.pos = std::clamp(info.pos, info.min, std::max(info.min, top));
    ApplyScroll(b);
}

void QtChildView::ApplyScroll(int bar)
{
    QScrollBar* scroll = m_bars[bar];
    if (!scroll) return;
    const ScrollInfo& s = m_scroll[bar];
    const int page = int(s.page);
    const int top = page > 0 ? s.max - page + 1 : s.max;
    const bool scrolls = top > s.min;
    const QSignalBlocker block(scroll);
    scroll->setRange(s.min, std::max(s.min, top));
    scroll->setPageStep(std::max(page, 1));
    scroll->setSingleStep(1);
    scroll->setValue(s.pos);
    scroll->setSliderPosition(s.pos);
    if (scrolls) {
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
    if (backing.isNull() && client) backing = QImage(client->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    return std::make_unique<BackingQtDc>(backing, client);
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
