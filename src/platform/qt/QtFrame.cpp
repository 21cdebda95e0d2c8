#include "platform/qt/QtFrame.h"

#include "platform/Format.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDc.h"
#include "platform/Placement.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr char kCommandProperty[] = "commandId";
constexpr char kWindowListProperty[] = "windowList";
constexpr int kWindowListChars = 60; // longest caption the Window menu lists whole

// Half the screen the frame is on: the most the Window menu's captions take.
int WindowListRoom(const QWidget* window)
{
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() / 2 : 640;
}

// Status prompt, tool tip and button label of a command ("prompt\ntip[\nlabel]").
struct PromptText {
    std::string prompt, tip, label;
};
PromptText PromptParts(int id)
{
    const std::string text = CommandPrompt(id);
    const size_t first = text.find('\n');
    if (first == std::string::npos) return {text, text, std::string()};
    const size_t second = text.find('\n', first + 1);
    if (second == std::string::npos) return {text.substr(0, first), text.substr(first + 1), std::string()};
    return {text.substr(0, first), text.substr(first + 1, second - first - 1), text.substr(second + 1)};
}

// A button's image as the program draws it, at the bar's size and twice that for
// dense screens; without one, the given label or the tool tip's initials on a tile.
QIcon ButtonIcon(const std::string& tip, const std::string& given, int id, int size)
{
    const QImage drawn = CommandImage(id, size);
    if (!drawn.isNull()) {
        QIcon icon(QPixmap::fromImage(drawn));
        icon.addPixmap(QPixmap::fromImage(CommandImage(id, size * 2)));
        return icon;
    }
    std::string label = given;
    if (!label.empty()) {
    } else if (tip.size() <= 3) label = tip;
    else {
        bool start = true;
        for (char c : tip) {
            if (start && std::isalnum(static_cast<unsigned char>(c))) label += char(std::toupper(static_cast<unsigned char>(c)));
            start = c == ' ' || c == '-';
        }
        if (label.size() < 2) label = tip.substr(0, 2);
        if (label.size() > 3) label.resize(3);
    }
    if (label.empty()) label = std::to_string(id % 100);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(225, 232, 245));
    p.setPen(QColor(70, 90, 140));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), 4, 4);
    QFont font("Liberation Sans");
    font.setPixelSize(label.size() > 2 ? size / 3 : size * 5 / 12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 30, 80));
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, Q(label));
    return QIcon(pixmap);
}

unsigned Modifiers(Qt::KeyboardModifiers m)
{
    unsigned out = 0;
    if (m & Qt::ShiftModifier) out |= kModShift;
    if (m & Qt::ControlModifier) out |= kModControl;
    if (m & Qt::AltModifier) out |= kModAlt;
    return out;
}

// Sees every key and mouse press of the program first: the splash closes on any
// of them, and the frame gets its keys (pop-up menu) before the windows.
class InputFilter : public QObject {
public:
    explicit InputFilter(QtFrame& frame) : m_frame(frame) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return m_frame.FilterInput(watched, event); }

private:
    QtFrame& m_frame;
};

} // namespace

class QtFrame::MainWindow : public QMainWindow {
public:
    explicit MainWindow(QtFrame& frame) : m_frame(frame) {}

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (m_frame.CloseRequested()) e->accept();
        else e->ignore();
    }
    bool event(QEvent* e) override
    {
        // Sent before the toolkit hands the focus back: a window without a focus
        // widget would give it to the first view, which would then take the activation.
        if (e->type() == QEvent::WindowActivate && !focusWidget()) m_frame.FocusActiveChild();
        // Menu and toolbar prompts go to pane 0, not over the panes as a passing message.
        if (e->type() == QEvent::StatusTip) {
            m_frame.ShowPrompt(static_cast<QStatusTipEvent*>(e)->tip().toStdString());
            return true;
        }
        return QMainWindow::event(e);
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QMainWindow::resizeEvent(e);
        m_frame.FitPanes();
    }
    void showEvent(QShowEvent* e) override
    {
        QMainWindow::showEvent(e);
        m_frame.FitPanes(); // only now are the panes laid out
    }

private:
    QtFrame& m_frame;
};

QtFrame::QtFrame() = default;

QtFrame::~QtFrame()
{
    if (m_inputFilter) qApp->removeEventFilter(m_inputFilter);
    delete m_inputFilter;
    while (!m_children.empty()) {
        CWnd* w = m_children.back()->window;
        if (w) DestroyChild(*w);
        else m_children.pop_back();
    }
    m_retired.clear();
}

QMainWindow* QtFrame::Window() const { return m_window.get(); }

bool QtFrame::Create(const std::string& title, IFrameHandler* handler, IAppHandler* app)
{
    m_handler = handler;
    m_app = app;
    m_window = std::make_unique<MainWindow>(*this);
    m_window->setWindowTitle(Q(title));
    // Every window of the program, views and dialogs too, shows the program's icon.
    const QIcon icon = ResourceIcon(kProgramIcon);
    if (!icon.isNull()) {
        QApplication::setWindowIcon(icon);
        m_window->setWindowIcon(icon);
    }
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1280, 900);
    m_window->resize(std::min(1280, screen.width() * 9 / 10), std::min(960, screen.height() * 9 / 10));
    m_mdi = new QMdiArea;
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_window->setCentralWidget(m_mdi);
    QObject::connect(m_mdi, &QMdiArea::subWindowActivated, m_mdi, [this](QMdiSubWindow* sub) { SubWindowActivated(sub); });
    m_inputFilter = new InputFilter(*this);
    qApp->installEventFilter(m_inputFilter);
    m_idleTimer = new QTimer(m_window.get());
    QObject::connect(m_idleTimer, &QTimer::timeout, m_window.get(), [this] {
        UpdateCommandStates();
        if (m_app) m_app->OnIdle(0);
    });
    m_idleTimer->start(250);
    if (handler && handler->OnCreate() == -1) {
        m_window.reset();
        return false;
    }
    return true;
}

bool QtFrame::CloseRequested()
{
    if (m_closing) return true;
    if (m_handler) m_handler->OnClose();
    else Destroy();
    return m_closing;
}

void QtFrame::Destroy()
{
    if (m_destroyed) return;
    m_closing = true;
    while (!m_children.empty()) {
        CWnd* w = m_children.back()->window;
        if (w) DestroyChild(*w);
        else m_children.pop_back();
    }
    for (auto& [id, timer] : m_appTimers) timer->stop();
    if (m_window) m_window->close();
    m_destroyed = true;
    QApplication::quit();
}

bool QtFrame::Exists() const { return m_window && !m_destroyed; }

void QtFrame::Show(unsigned showCmd)
{
    if (!m_window) return;
    switch (showCmd) {
    case SW_HIDE: m_window->hide(); break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE: m_window->showMinimized(); break;
    case SW_SHOWMAXIMIZED: m_window->showMaximized(); break;
    default: m_window->showNormal(); break;
    }
    if (m_refitWhenFramed && m_window->isVisible()) QTimer::singleShot(0, m_window.get(), [this] { RefitToFrame(40); });
}

void QtFrame::Update()
{
    if (m_window) m_window->update();
}

bool QtFrame::IsIconic() const { return m_window && m_window->isMinimized(); }
bool QtFrame::IsZoomed() const { return m_window && m_window->isMaximized(); }

bool QtFrame::GetPlacement(WindowPlacement& placement) const
{
    if (!m_window) return false;
    const QRect r = m_window->isMaximized() || m_window->isMinimized() ? m_window->normalGeometry() : m_window->geometry();
    placement.flags = 0;
    placement.showCmd = IsIconic() ? SW_SHOWMINIMIZED : IsZoomed() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement.minPosition = {-1, -1};
    placement.maxPosition = {-1, -1};
    placement.normal = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return true;
}

namespace {

Rect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// The desktop's screens, the primary first. A placement is the window's inside, so
// each free area is taken less the window's frame (title bar and borders, once the
// desktop has framed it): the frame must fit on the screen too.
std::vector<ScreenArea> ScreenAreas(const QMargins& frame)
{
    std::vector<ScreenArea> areas;
    auto add = [&](const QScreen* screen) {
        areas.push_back({ToRect(screen->geometry()), ToRect(screen->availableGeometry().marginsRemoved(frame))});
    };
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) add(primary);
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary) add(screen);
    return areas;
}

} // namespace

QMargins QtFrame::FrameMargins() const
{
    if (!m_window) return {};
    const QRect inside = m_window->geometry(), outside = m_window->frameGeometry();
    return {inside.left() - outside.left(), inside.top() - outside.top(), outside.right() - inside.right(),
            outside.bottom() - inside.bottom()};
}

void QtFrame::SetPlacement(const WindowPlacement& placement)
{
    if (!m_window) return;
    Rect n;
    if (!FitPlacement(placement.normal, ScreenAreas(FrameMargins()), n)) return;
    m_window->setGeometry(n.left, n.top, n.Width(), n.Height());
    // A window not shown yet has no frame: once the desktop has framed it, the fit
    // is made again with the frame's size (a window the fit moved or shrank then
    // goes wholly inside the free area, frame and all).
    m_refitWhenFramed = !m_window->isVisible();
    m_placementAdjusted = n != placement.normal;
    m_placedSize = QSize(n.Width(), n.Height());
}

void QtFrame::RefitToFrame(int tries)
{
    m_refitWhenFramed = false;
    // Sized since (by the user or the program): that size stands.
    if (!m_window || m_window->isMaximized() || m_window->isMinimized() || m_window->size() != m_placedSize) return;
    const QMargins frame = FrameMargins();
    // The desktop frames a new window a little after it is shown (never without a
    // window manager): look again for a while.
    if (frame.isNull()) {
        if (tries > 1) QTimer::singleShot(50, m_window.get(), [this, tries] { RefitToFrame(tries - 1); });
        return;
    }
    const QRect g = m_window->geometry();
    Rect n;
    if (!FitPlacement(ToRect(g), ScreenAreas(frame), n, m_placementAdjusted) || n == ToRect(g)) return;
    // Placed by its frame: desktops differ in where they put a framed window's inside.
    m_window->resize(n.Width(), n.Height());
    m_window->move(n.left - frame.left(), n.top - frame.top());
}

bool QtFrame::IsEnabled() const { return m_window && m_window->isEnabled(); }

void QtFrame::Enable(bool enable)
{
    if (!m_window) return;
    m_window->setEnabled(enable);
    // Disabling took the focus from the active view; it goes back there, not to
    // whichever view comes first when the frame is next activated.
    if (enable) FocusActiveChild();
}

void QtFrame::FocusActiveChild()
{
    if (m_active && m_active->client && m_window && m_window->isEnabled()) m_active->client->setFocus(Qt::OtherFocusReason);
}

QMenu* QtFrame::BuildMenu(QMenu* menu, const std::vector<MenuItem>& items)
{
    for (const auto& item : items) {
        if (item.IsPopup()) {
            BuildMenu(menu->addMenu(Q(item.text)), item.items);
        } else if (item.IsSeparator()) {
            menu->addSeparator();
        } else {
            QAction* action = menu->addAction(Q(item.text));
            action->setProperty(kCommandProperty, item.id);
            action->setStatusTip(Q(PromptParts(item.id).prompt));
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, action, [this, id] { RouteCommand(id); });
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] {
        for (QAction* action : menu->actions()) {
            const QVariant id = action->property(kCommandProperty);
            if (!id.isValid()) continue;
            const CommandState state = QueryCommand(id.toInt());
            action->setEnabled(state.enabled);
            action->setCheckable(state.check != 0);
            action->setChecked(state.check != 0);
        }
    });
    return menu;
}

void QtFrame::SetMenu(const Menu& menu)
{
    if (!m_window) return;
    m_menuId = menu.id;
    QMenuBar* bar = m_window->menuBar();
    bar->clear();
    for (size_t index = 0; index < menu.items.size(); ++index) {
        const MenuItem& item = menu.items[index];
        if (item.IsPopup()) {
            QMenu* popup = BuildMenu(bar->addMenu(Q(item.text)), item.items);
            if (int(index) == menu.windowMenu)
                QObject::connect(popup, &QMenu::aboutToShow, popup, [this, popup] { ListWindows(popup); });
        } else if (!item.IsSeparator()) {
            QAction* action = bar->addAction(Q(item.text));
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, action, [this, id] { RouteCommand(id); });
        }
    }
}

void QtFrame::ListWindows(QMenu* menu)
{
    for (QAction* action : menu->actions())
        if (action->property(kWindowListProperty).isValid()) delete action;
    int number = 0;
    for (const auto& view : m_children) {
        if (!view->window || !view->sub) continue;
        if (number == 0) menu->addSeparator()->setProperty(kWindowListProperty, true);
        ++number;
        const QString full = view->sub->windowTitle();
        // A caption with a long path is cut in its middle, as the dialogs show paths,
        // so the menu stays narrow; the whole caption is the entry's tool tip.
        const QFontMetrics metrics(menu->font());
        const int room = std::min(metrics.averageCharWidth() * kWindowListChars, WindowListRoom(m_window.get()));
        const QString elided = metrics.elidedText(full, Qt::ElideMiddle, room);
        QString caption = elided;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction((number <= 9 ? QStringLiteral("&%1 ") : QStringLiteral("%1 ")).arg(number) + caption);
        if (elided != full) action->setToolTip(full);
        menu->setToolTipsVisible(true);
        action->setProperty(kWindowListProperty, true);
        action->setCheckable(true);
        action->setChecked(view.get() == m_active);
        CWnd* window = view->window;
        QObject::connect(action, &QAction::triggered, action, [this, window] {
            // The view may have closed since the menu was listed.
            for (const auto& v : m_children)
                if (v->window == window && v->sub) {
                    if (v->sub->isMinimized()) v->sub->showNormal();
                    ActivateChild(*window);
                    return;
                }
        });
    }
}

void QtFrame::SetAccelerators(const std::vector<Accelerator>& table)
{
    if (!m_window) return;
    for (QShortcut* old : m_window->findChildren<QShortcut*>()) delete old;
    for (const auto& a : table) {
        int key = 0;
        if (a.key >= VK_F1 && a.key <= VK_F1 + 23) key = Qt::Key_F1 + int(a.key - VK_F1);
        else if (a.key >= 'A' && a.key <= 'Z') key = int(a.key);
        if (!key) continue;
        QKeyCombination combination(Qt::KeyboardModifiers((a.modifiers & kModShift ? Qt::ShiftModifier : Qt::NoModifier)
                                                          | (a.modifiers & kModControl ? Qt::ControlModifier : Qt::NoModifier)
                                                          | (a.modifiers & kModAlt ? Qt::AltModifier : Qt::NoModifier)),
                                    Qt::Key(key));
        auto* shortcut = new QShortcut(QKeySequence(combination), m_window.get());
        shortcut->setContext(Qt::ApplicationShortcut);
        const int id = a.command;
        QObject::connect(shortcut, &QShortcut::activated, m_window.get(), [this, id] { RouteCommand(id); });
    }
}

bool QtFrame::CreateToolBar(const ToolBarDef& def)
{
    if (!m_window) return false;
    auto* bar = new QToolBar(Q("Toolbar " + std::to_string(def.id)));
    bar->setObjectName(Q("toolbar" + std::to_string(def.id)));
    constexpr int kButtonSize = 24;
    bar->setIconSize(QSize(kButtonSize, kButtonSize));
    for (int id : def.buttons) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        const auto [prompt, tip, label] = PromptParts(id);
        QAction* action = bar->addAction(ButtonIcon(tip, label, id, kButtonSize), Q(tip.empty() ? std::to_string(id) : tip));
        action->setProperty(kCommandProperty, id);
        action->setToolTip(Q(tip));
        action->setStatusTip(Q(prompt));
        QObject::connect(action, &QAction::triggered, action, [this, id] { RouteCommand(id); });
    }
    const Qt::ToolBarArea area = def.dock == ToolBarDef::Left     ? Qt::LeftToolBarArea
                                 : def.dock == ToolBarDef::Right  ? Qt::RightToolBarArea
                                 : def.dock == ToolBarDef::Bottom ? Qt::BottomToolBarArea
                                                                  : Qt::TopToolBarArea;
    m_window->addToolBar(area, bar);
    m_toolBars[def.id] = bar;
    UpdateCommandStates();
    return true;
}

void QtFrame::ShowToolBar(int id, bool show)
{
    const auto it = m_toolBars.find(id);
    if (it != m_toolBars.end()) it->second->setVisible(show);
}

bool QtFrame::IsToolBarVisible(int id) const
{
    const auto it = m_toolBars.find(id);
    return it != m_toolBars.end() && !it->second->isHidden();
}

void QtFrame::UpdateCommandStates()
{
    for (const auto& [id, bar] : m_toolBars) {
        if (bar->isHidden()) continue;
        for (QAction* action : bar->actions()) {
            const QVariant command = action->property(kCommandProperty);
            if (!command.isValid()) continue;
            const CommandState state = QueryCommand(command.toInt());
            action->setEnabled(state.enabled);
            action->setCheckable(state.check != 0);
            action->setChecked(state.check != 0);
        }
    }
}

bool QtFrame::CreateStatusBar(const std::vector<int>& paneWidths)
{
    if (!m_window) return false;
    QStatusBar* status = m_window->statusBar();
    for (size_t i = 0; i < paneWidths.size(); ++i) {
        auto* label = new QLabel;
        label->setObjectName(Q("pane" + std::to_string(i)));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (paneWidths[i] < 0) {
            // Its room is what the others leave (see FitPanes); a long prompt never widens the frame.
            label->setMinimumWidth(1);
            status->addWidget(label, 1);
        } else {
            // The given width is the least; a longer text widens the pane (see SetPaneText).
            label->setMinimumWidth(paneWidths[i]);
            status->addPermanentWidget(label);
        }
        m_panes.push_back(label);
    }
    return true;
}

void QtFrame::ShowPrompt(const std::string& prompt)
{
    m_prompting = true;
    SetPaneText(0, prompt.empty() ? m_restingPrompt : prompt);
    m_prompting = false;
}

void QtFrame::SetPaneText(int pane, const std::string& text)
{
    if (pane == 0 && !m_prompting) m_restingPrompt = text;
    QLabel* label = Pane(pane);
    if (!label) return;
    // Paths in a command's last word are UTF-8, mnemonics in read-outs Latin-1.
    const QString shown = QString::fromStdString(ScreenText(text));
    const bool refit = pane == 0 || shown.isEmpty() != label->text().isEmpty();
    label->setText(shown);
    // Panes only grow, so read-outs that change as the mouse moves do not shake
    // the panes beside them.
    const int needed = label->sizeHint().width();
    if (pane > 0 && needed > label->minimumWidth()) label->setMinimumWidth(needed);
    if (refit) FitPanes();
}

void QtFrame::FitPanes()
{
    if (m_panes.empty() || !m_window || !m_window->statusBar()->layout() || !m_window->statusBar()->isVisible()) return;
    QLabel* prompt = m_panes[0];
    const int margins = prompt->contentsMargins().left() + prompt->contentsMargins().right() + 2 * prompt->margin();
    const int needed = prompt->text().isEmpty() ? 0 : prompt->fontMetrics().horizontalAdvance(prompt->text()) + margins + 1;
    // Every pane shows again; then empty read-out panes give way, the rightmost first,
    // while the prompt in pane 0 has less room than it needs or the panes do not fit
    // the bar (they would be drawn over each other). Pane 1 (the depth) stays.
    QStatusBar* bar = m_window->statusBar();
    const auto lacksRoom = [&] {
        if (prompt->width() < needed) return true;
        int right = prompt->geometry().right();
        for (size_t i = 1; i < m_panes.size(); ++i) {
            if (m_panes[i]->isHidden()) continue;
            if (m_panes[i]->x() <= right) return true;
            right = m_panes[i]->geometry().right();
        }
        return right >= bar->width();
    };
    for (size_t i = 1; i < m_panes.size(); ++i)
        if (m_panes[i]->isHidden()) m_panes[i]->show();
    bar->layout()->activate();
    for (size_t i = m_panes.size() - 1; i >= 2 && lacksRoom(); --i) {
        if (!m_panes[i]->text().isEmpty()) continue;
        m_panes[i]->hide();
        bar->layout()->activate();
    }
}

QLabel* QtFrame::Pane(int pane) const
{
    return pane >= 0 && size_t(pane) < m_panes.size() ? m_panes[size_t(pane)] : nullptr;
}

std::string QtFrame::PaneText(int pane) const
{
    if (pane < 0 || size_t(pane) >= m_panes.size()) return std::string();
    return m_panes[size_t(pane)]->text().toStdString(); // as shown, in UTF-8
}

void QtFrame::ShowStatusBar(bool show)
{
    if (m_window) m_window->statusBar()->setVisible(show);
}

bool QtFrame::IsStatusBarVisible() const { return m_window && !m_window->statusBar()->isHidden(); }

void QtFrame::TrackPopupMenu(const Menu& menu, Point screen)
{
    QMenu popup(m_window.get());
    BuildMenu(&popup, menu.items);
    popup.exec(QPoint(screen.x, screen.y));
}

Point QtFrame::ClientToScreen(Point client) const
{
    if (!m_mdi) return client;
    const QPoint global = m_mdi->mapToGlobal(QPoint(client.x, client.y));
    return {global.x(), global.y()};
}

void QtFrame::SetAppTimer(unsigned id, unsigned milliseconds)
{
    QTimer*& timer = m_appTimers[id];
    if (!timer) {
        timer = new QTimer(m_window.get());
        QObject::connect(timer, &QTimer::timeout, timer, [this, id] {
            if (m_app) m_app->OnTimer(id);
        });
    }
    timer->start(int(std::max(milliseconds, 1u)));
}

void QtFrame::KillAppTimer(unsigned id)
{
    const auto it = m_appTimers.find(id);
    if (it == m_appTimers.end()) return;
    it->second->stop();
    it->second->deleteLater();
    m_appTimers.erase(it);
}

bool QtFrame::CreateChild(CWnd& window, const WindowClass& windowClass, const std::string& caption, unsigned style)
{
    if (!Exists()) return false;
    m_children.push_back(std::make_unique<QtChildView>(*this, window, windowClass, caption, style));
    QtChildView* view = m_children.back().get();
    window.Attach(view, windowClass.name, style);
    if (window.OnCreate() == -1) {
        DestroyChild(window);
        return false;
    }
    m_mdi->addSubWindow(view->sub);
    // Without an icon of its own a sub-window shows the toolkit's.
    const QIcon icon = ResourceIcon(windowClass.icon);
    view->sub->setWindowIcon(icon.isNull() ? QApplication::windowIcon() : icon);
    if (style & WS_MAXIMIZE) view->sub->showMaximized();
    else view->sub->show();
    m_mdi->setActiveSubWindow(view->sub);
    if (m_active != view) SubWindowActivated(view->sub);
    return true;
}

void QtFrame::DestroyChild(CWnd& window)
{
    const auto it = std::find_if(m_children.begin(), m_children.end(),
                                 [&](const auto& v) { return v->window == &window; });
    if (it == m_children.end()) return;
    std::unique_ptr<QtChildView> view = std::move(*it);
    m_children.erase(it);
    if (m_active == view.get()) m_active = nullptr;
    view->Detach(); // the widgets stop calling the window
    window.Detach(); // may delete the window object
    if (m_retired.empty() && m_window)
        QTimer::singleShot(0, m_window.get(), [this] { m_retired.clear(); });
    m_retired.push_back(std::move(view));
    if (!m_active && !m_children.empty() && m_mdi) {
        // Qt activates the next sub-window by itself; make sure the window hears of it.
        QMdiSubWindow* next = m_mdi->activeSubWindow();
        if (next) SubWindowActivated(next);
    }
}

void QtFrame::SubWindowActivated(QMdiSubWindow* sub)
{
    // Null: the frame itself lost the focus (a dialog is up); the active child stays.
    if (!sub) return;
    QtChildView* view = nullptr;
    for (const auto& v : m_children)
        if (v->sub == sub) view = v.get();
    if (!view || view == m_active) return;
    QtChildView* previous = m_active;
    m_active = view;
    if (previous && previous->window) previous->window->OnMDIActivate(false);
    if (view->window) view->window->OnMDIActivate(true);
}

CWnd* QtFrame::ActiveChild() const { return m_active ? m_active->window : nullptr; }

void QtFrame::ActivateChild(CWnd& window)
{
    if (QtChildView* view = ViewOf(window)) {
        m_mdi->setActiveSubWindow(view->sub);
        SubWindowActivated(view->sub);
    }
}

std::vector<CWnd*> QtFrame::Children() const
{
    std::vector<CWnd*> out;
    for (const auto& v : m_children)
        if (v->window) out.push_back(v->window);
    return out;
}

QtChildView* QtFrame::ViewOf(const CWnd& window) const
{
    for (const auto& v : m_children)
        if (v->window == &window) return v.get();
    return nullptr;
}

void QtFrame::Cascade() { Arrange(Arrangement::Cascade); }
void QtFrame::TileHorizontal() { Arrange(Arrangement::TileHorizontal); }
void QtFrame::TileVertical() { Arrange(Arrangement::TileVertical); }

void QtFrame::Arrange(Arrangement arrangement)
{
    if (!m_mdi) return;
    // Minimised views keep their place, as the desktop's own arranging does.
    std::vector<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : m_mdi->subWindowList(arrangement == Arrangement::Cascade ? QMdiArea::StackingOrder
                                                                                       : QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized()) subs.push_back(sub);
    if (subs.empty()) return;
    // Nothing is drawn, nor moved on screen, until every view stands in its place:
    // the area's own scrolling of half-arranged views left stale pixels behind.
    m_mdi->setUpdatesEnabled(false);
    for (QMdiSubWindow* sub : subs)
        if (sub->isMaximized()) sub->showNormal();
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(subs.size());
    if (arrangement == Arrangement::Cascade) {
        // Each one a title bar lower and to the right, keeping two thirds of the area at least.
        const int step = m_mdi->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs.front()) + 4;
        const int width = std::max(area.width() * 2 / 3, area.width() - step * (n - 1));
        const int height = std::max(area.height() * 2 / 3, area.height() - step * (n - 1));
        const int room = std::max(1, std::min(area.width() - width, area.height() - height) / step + 1);
        for (int i = 0; i < n; ++i) {
            const int offset = (i % room) * step;
            subs[size_t(i)]->setGeometry(area.left() + offset, area.top() + offset, width, height);
            subs[size_t(i)]->raise();
        }
    } else {
        Tile(subs, area, arrangement == Arrangement::TileHorizontal);
    }
    m_mdi->setUpdatesEnabled(true);
}

void QtFrame::Tile(const std::vector<QMdiSubWindow*>& subs, const QRect& area, bool stacked)
{
    const int n = int(subs.size());
    // Horizontal tiles are wide and stacked one above the other; vertical ones stand
    // side by side. Past three views they fill a grid: groups of views, one group per
    // column (horizontal) or per row (vertical), later groups taking the extra ones.
    const int groups = n > 3 ? int(std::sqrt(double(n))) : 1;
    int next = 0;
    for (int g = 0; g < groups; ++g) {
        const int inGroup = n / groups + (g >= groups - n % groups ? 1 : 0);
        for (int k = 0; k < inGroup; ++k, ++next) {
            // Edges by integer division, so the tiles cover the area without gaps.
            const int across0 = (stacked ? area.width() : area.height()) * g / groups;
            const int across1 = (stacked ? area.width() : area.height()) * (g + 1) / groups;
            const int along0 = (stacked ? area.height() : area.width()) * k / inGroup;
            const int along1 = (stacked ? area.height() : area.width()) * (k + 1) / inGroup;
            const QRect tile = stacked ? QRect(across0, along0, across1 - across0, along1 - along0)
                                       : QRect(along0, across0, along1 - along0, across1 - across0);
            subs[size_t(next)]->setGeometry(tile.translated(area.topLeft()));
        }
    }
}

bool QtFrame::FilterInput(QObject*, void* e)
{
    auto* event = static_cast<QEvent*>(e);
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::NonClientAreaMouseButtonPress) {
        if (m_app) m_app->OnInputEvent();
        return false;
    }
    if (type != QEvent::KeyPress) return false;
    if (m_app) m_app->OnInputEvent();
    auto* key = static_cast<QKeyEvent*>(event);
    // Only keys meant for the main window and its children: dialogs keep theirs.
    QWidget* focus = QApplication::focusWidget();
    if (!m_window || (focus && focus->window() != m_window.get())) return false;
    unsigned vk = 0;
    if (key->key() == Qt::Key_F10) vk = VK_F10;
    else if (key->key() == Qt::Key_Menu) vk = VK_APPS;
    if (!vk || !m_handler) return false;
    return m_handler->PreTranslateKey(vk, Modifiers(key->modifiers()));
}
