#include "platform/qt/QtFrame.h"

#include "platform/qt/QtChildView.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr char kCommandProperty[] = "commandId";

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

// A small button image drawn in code: the given label, or the tool tip's initials, on a tile.
QIcon ButtonIcon(const std::string& tip, const std::string& given, int id)
{
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
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(225, 232, 245));
    p.setPen(QColor(70, 90, 140));
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 4, 4);
    QFont font("Liberation Sans");
    font.setPixelSize(label.size() > 2 ? 8 : 10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 30, 80));
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, Q(label));
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
}

QMainWindow* QtFrame::Window() const { return m_window.get(); }

bool QtFrame::Create(const std::string& title, IFrameHandler* handler, IAppHandler* app)
{
    m_handler = handler;
    m_app = app;
    m_window = std::make_unique<MainWindow>(*this);
    m_window->setWindowTitle(Q(title));
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

void QtFrame::SetPlacement(const WindowPlacement& placement)
{
    if (!m_window) return;
    const Rect& n = placement.normal;
    if (n.Width() >= 200 && n.Height() >= 150) m_window->setGeometry(n.left, n.top, n.Width(), n.Height());
}

bool QtFrame::IsEnabled() const { return m_window && m_window->isEnabled(); }

void QtFrame::Enable(bool enable)
{
    if (m_window) m_window->setEnabled(enable);
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
    for (const auto& item : menu.items) {
        if (item.IsPopup()) BuildMenu(bar->addMenu(Q(item.text)), item.items);
        else if (!item.IsSeparator()) {
            QAction* action = bar->addAction(Q(item.text));
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, action, [this, id] { RouteCommand(id); });
        }
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
    bar->setIconSize(def.dock == ToolBarDef::Left || def.dock == ToolBarDef::Right ? QSize(20, 20) : QSize(24, 24));
    for (int id : def.buttons) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        const auto [prompt, tip, label] = PromptParts(id);
        QAction* action = bar->addAction(ButtonIcon(tip, label, id), Q(tip.empty() ? std::to_string(id) : tip));
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
        if (paneWidths[i] < 0) status->addWidget(label, 1);
        else {
            label->setFixedWidth(paneWidths[i]);
            status->addPermanentWidget(label);
        }
        m_panes.push_back(label);
    }
    return true;
}

void QtFrame::SetPaneText(int pane, const std::string& text)
{
    if (pane >= 0 && size_t(pane) < m_panes.size()) m_panes[size_t(pane)]->setText(QString::fromLatin1(text.c_str()));
}

std::string QtFrame::PaneText(int pane) const
{
    if (pane < 0 || size_t(pane) >= m_panes.size()) return std::string();
    return m_panes[size_t(pane)]->text().toLatin1().toStdString();
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

void QtFrame::Cascade()
{
    if (m_mdi) m_mdi->cascadeSubWindows();
}
void QtFrame::TileHorizontal()
{
    if (m_mdi) m_mdi->tileSubWindows();
}
void QtFrame::TileVertical()
{
    if (m_mdi) m_mdi->tileSubWindows();
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
