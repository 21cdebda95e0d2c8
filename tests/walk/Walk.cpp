#include "walk/Walk.h"

#include "platform/qt/QtChildView.h"
#include "res/CommandIds.h"
#include "res/DomainSetupDlgIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/SelectInputFileItemsDlgIds.h"
#include "res/SelectToolDlgIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "viewers/DomainWnd.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

User::User() : m_timer(new QTimer)
{
    QObject::connect(m_timer, &QTimer::timeout, [this] { Tick(); });
    m_timer->start(50);
}

User::~User() { delete m_timer; }

void User::Then(std::string what, std::function<bool()> ready, std::function<void()> act)
{
    m_steps.push_back({std::move(what), std::move(ready), std::move(act)});
}

void User::InDialog(int templateId, std::string what, std::function<void(QDialog&)> act)
{
    Then(std::move(what), [templateId] { return DialogUp(templateId) != nullptr; },
         [templateId, act] {
             QDialog& dialog = *DialogUp(templateId);
             // A person can only use a dialog that is wholly on the screen.
             const QRect screen = dialog.screen()->availableGeometry();
             EXPECT_TRUE(screen.contains(dialog.frameGeometry()))
                 << "dialog " << templateId << " at " << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y()
                 << " size " << dialog.frameGeometry().width() << "x" << dialog.frameGeometry().height();
             act(dialog);
         });
}

void User::ChooseFile(const std::string& path)
{
    Then("type " + path + " into the file dialog",
         [] {
             auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
             return dialog && dialog->isVisible() && dialog->findChild<QLineEdit*>("fileNameEdit");
         },
         [path] {
             // The dialog may still be filling its name field or list when the name is
             // typed; a name it did not take is typed again.
             QPointer<QFileDialog> dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
             for (int attempt = 0; attempt < 5 && dialog && dialog->isVisible(); ++attempt) {
                 auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
                 edit->clear();
                 TypeInto(edit, path);
                 // The completer's list would take a Return for itself: it is closed,
                 // and the dialog's Open or Save button pressed.
                 if (QCompleter* completer = edit->completer(); completer && completer->popup())
                     completer->popup()->hide();
                 auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
                 ASSERT_NE(buttons, nullptr);
                 for (QAbstractButton* b : buttons->buttons())
                     if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole && b->isEnabled()) Click(b);
                 // A dialog still up is tried again by the loop.
                 (void)QTest::qWaitFor([&] { return !dialog || !dialog->isVisible(); }, 2000);
             }
         });
}

void User::AnswerMessage(const std::string& text, int button)
{
    const auto up = [text]() -> QMessageBox* {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box && box->isVisible() && box->text().toStdString().find(text) != std::string::npos ? box : nullptr;
    };
    Then("answer \"" + text + "\"", [up] { return up() != nullptr; }, [up, button] {
        QAbstractButton* b = up()->button(QMessageBox::StandardButton(button));
        ASSERT_NE(b, nullptr) << "button " << button;
        Click(b);
    });
}

void User::Tick()
{
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    if (m_steps.empty()) {
        // A modal dialog nobody will answer would block the walk's own call for good.
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            m_unansweredSince = -1;
            return;
        }
        if (m_unansweredSince < 0) m_unansweredSince = clock.elapsed();
        if (clock.elapsed() - m_unansweredSince < patienceMs) return;
        const auto* box = qobject_cast<QMessageBox*>(modal);
        stuckAt = "a dialog no step answers: " + (box ? box->text() : modal->objectName()).toStdString();
        m_stuck = true;
        m_unansweredSince = -1;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return;
    }
    if (m_waitingSince < 0) m_waitingSince = clock.elapsed();
    if (!m_steps.front().ready()) {
        if (std::getenv("WALK_TRACE") && clock.elapsed() % 1000 < 50) {
            QWidget* m = QApplication::activeModalWidget();
            std::fprintf(stderr, "waiting for %s; modal: %s %s\n", m_steps.front().what.c_str(),
                         m ? m->metaObject()->className() : "-", m ? qPrintable(m->objectName()) : "");
        }
        if (clock.elapsed() - m_waitingSince < patienceMs) return;
        // Stuck: cancel whatever is up so the test's own call returns and fails.
        stuckAt = m_steps.front().what;
        m_stuck = true;
        m_steps.clear();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    m_waitingSince = -1;
    if (std::getenv("WALK_TRACE")) std::fprintf(stderr, "step: %s\n", step.what.c_str());
    // Acted on outside this tick: a timer does not fire again while its own tick runs,
    // and the action may not return before later steps close a dialog it opens.
    ++m_acting;
    QTimer::singleShot(0, m_timer, [this, act = std::move(step.act)] {
        act();
        --m_acting;
    });
}

QDialog* DialogUp(int templateId)
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return nullptr;
    return dialog->objectName() == QStringLiteral("dialog%1").arg(templateId) ? dialog : nullptr;
}

void Click(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    // A radio button or check box answers only on its mark and label, which may end
    // well before the middle of a wide one.
    const bool marked = qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                      marked ? QPoint(7, widget->height() / 2) : widget->rect().center());
}

void ClickListRow(QWidget* list, int row)
{
    auto* view = qobject_cast<QAbstractItemView*>(list);
    ASSERT_NE(view, nullptr);
    const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
    ASSERT_TRUE(index.isValid()) << "row " << row;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
}

void TypeInto(QWidget* edit, const std::string& text)
{
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

void Retype(QLineEdit* edit, const std::string& text)
{
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    TypeInto(edit, text);
}

namespace {
QAction* FindCommand(QMenu* menu, int commandId)
{
    for (QAction* a : menu->actions()) {
        if (a->property("commandId").toInt() == commandId) return a;
    }
    return nullptr;
}
} // namespace

void PickComboEntry(QComboBox& box, const std::string& entry)
{
    const int row = box.findText(QString::fromStdString(entry));
    ASSERT_GE(row, 0) << entry;
    box.showPopup(); // as a click on the box does (a quick press and release there may also pick)
    QAbstractItemView* list = box.view();
    ASSERT_TRUE(WaitFor([&] { return list->isVisible(); })) << "the list of " << entry;
    const QModelIndex index = list->model()->index(row, box.modelColumn());
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(index).center());
    ASSERT_TRUE(WaitFor([&] { return !list->isVisible(); }));
    ASSERT_EQ(box.currentText().toStdString(), entry);
}

void ChooseToolTask(User& user, const std::string& task, const std::string& primary)
{
    user.InDialog(kIddUtilitiesSetup, "Utilities Setup: the task, Select Primary", [task](QDialog& dlg) {
        auto* box = Control<QComboBox>(dlg, utilities_setup::kIdcTask);
        ASSERT_NE(box, nullptr);
        ASSERT_NO_FATAL_FAILURE(PickComboEntry(*box, task));
        Click(Control<QPushButton>(dlg, utilities_setup::kIdcSelectPrimary));
    });
    user.ChooseFile(primary);
}

void ChooseMenu(QtFrame& frame, const QString& title, int commandId)
{
    QMenuBar* bar = frame.Window()->menuBar();
    QAction* top = nullptr;
    for (QAction* a : bar->actions())
        if (a->text() == title) top = a;
    ASSERT_NE(top, nullptr) << title.toStdString();
    QMenu* menu = top->menu();
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(top).center());
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); })) << title.toStdString() << " did not open";
    QAction* entry = FindCommand(menu, commandId);
    ASSERT_NE(entry, nullptr) << "command " << commandId << " in " << title.toStdString();
    ASSERT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    QTest::mouseMove(menu, menu->actionGeometry(entry).center());
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(entry).center());
}

bool WaitFor(const std::function<bool()>& done, int ms)
{
    return QTest::qWaitFor(done, ms);
}

std::filesystem::path ShotFolder()
{
    char exe[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    const std::filesystem::path folder =
        (n > 0 ? std::filesystem::path(std::string(exe, size_t(n))).parent_path() : std::filesystem::temp_directory_path()) /
        "walk-shots";
    std::filesystem::create_directories(folder);
    return folder;
}

QImage Screenshot(const std::string& name)
{
    QApplication::processEvents();
    QTest::qWait(100);
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    EXPECT_TRUE(image.save(QString::fromStdString((ShotFolder() / (name + ".png")).string()))) << name;
    return image;
}

unsigned ScreenPixel(const QImage& screen, const QWidget* widget, int x, int y)
{
    const QPoint at = widget->mapToGlobal(QPoint(x, y));
    return screen.pixel(at) & 0xFFFFFFu;
}

QtChildView* ViewOf(const CWnd* window)
{
    return window ? dynamic_cast<QtChildView*>(window->Impl()) : nullptr;
}

QScrollBar* ViewScrollBar(const QtChildView& view, Qt::Orientation orientation)
{
    for (QScrollBar* b : view.sub->findChildren<QScrollBar*>())
        if (b->orientation() == orientation && b->isVisible()) return b;
    return nullptr;
}

void ScrollDownThrough(QtFrame& frame, QScrollBar& bar, const std::vector<std::string>& depths)
{
    ASSERT_TRUE(bar.isEnabled()) << "more frames than a page";
    const QPoint downArrow(bar.width() / 2, bar.height() - bar.width() / 2);
    for (const std::string& depth : depths) {
        QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, downArrow);
        EXPECT_TRUE(WaitFor([&] { return frame.PaneText(1).find(depth) != std::string::npos; }, 10000))
            << depth << " vs " << frame.PaneText(1);
    }
}

bool WaitPainted(const QtChildView& view)
{
    return WaitFor([&] { return !view.invalid; }, 10000);
}

namespace {

// A move of the mouse, its left button held or not: QTest's moves carry no button, and
// one to where the mouse already is never arrives.
void MoveMouse(QWidget* widget, QPoint at, Qt::MouseButtons held)
{
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), global, Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QApplication::processEvents();
}

} // namespace

void ShrinkStepByStep(QtChildView& view, const std::string& shot)
{
    QMdiSubWindow* sub = view.sub;
    ASSERT_NE(sub, nullptr);
    QMdiArea* area = sub->mdiArea();
    ASSERT_NE(area, nullptr);
    const QColor workspace = area->background().color();
    // A view opens maximised: restored first, as its restore button does.
    if (sub->isMaximized()) sub->showNormal();
    ASSERT_TRUE(WaitFor([&] { return !sub->isMaximized(); }));
    ASSERT_TRUE(WaitPainted(view));
    const QRect start = sub->geometry(); // in the area's viewport
    const int x = sub->width() / 2;
    int bottom = sub->height() - 6;
    for (int step = 1; step <= 3; ++step) {
        // Onto the bottom border, as a person does, until the pointer turns into the resize
        // arrow (the sub-window learns where its borders are 200 ms after a resize); then
        // the border dragged up by a quarter of the first height.
        QTest::qWait(300);
        for (int y = bottom - 12; y < sub->height() && sub->cursor().shape() != Qt::SizeVerCursor; ++y) {
            MoveMouse(sub, QPoint(x, y), Qt::NoButton);
            bottom = y;
        }
        ASSERT_EQ(sub->cursor().shape(), Qt::SizeVerCursor) << "step " << step << ": no border to drag";
        const int to = bottom - start.height() / 4;
        QTest::mousePress(sub, Qt::LeftButton, Qt::NoModifier, QPoint(x, bottom));
        for (int y = bottom - 8; y > to - 8; y -= 8) MoveMouse(sub, QPoint(x, std::max(y, to)), Qt::LeftButton);
        QTest::mouseRelease(sub, Qt::LeftButton, Qt::NoModifier, QPoint(x, to));
        ASSERT_LT(sub->height(), start.height() - step * start.height() / 4 + 8) << "step " << step << " shrank nothing";
        bottom = sub->height() - 6;
        ASSERT_TRUE(WaitPainted(view));
        const QImage screen = Screenshot(shot + "-" + std::to_string(step));
        // Every pixel of the strip given up shows the workspace.
        int stale = 0;
        QPoint first;
        for (int ay = sub->geometry().bottom() + 1; ay <= start.bottom(); ++ay)
            for (int ax = start.left(); ax <= start.right(); ++ax) {
                const QPoint at = area->viewport()->mapToGlobal(QPoint(ax, ay));
                if (!screen.rect().contains(at) || !area->viewport()->rect().contains(QPoint(ax, ay))) continue;
                if ((screen.pixel(at) & 0xFFFFFFu) == (workspace.rgb() & 0xFFFFFFu)) continue;
                if (stale++ == 0) first = QPoint(ax, ay);
            }
        EXPECT_EQ(stale, 0) << "step " << step << ": pixels not of the workspace below the view, the first at "
                            << first.x() << "," << first.y() << " of the workspace";
    }
}

void EnterQtxMode(QtFrame& frame)
{
    ChooseMenu(frame, "&File", ID_FILE_QTX);
    ASSERT_TRUE(WaitFor([&] { return frame.MenuId() != 0 && frame.Window()->menuBar()->actions().size() > 3; }));
}

void ConvertLisToQtx(QtFrame& frame, const std::string& lisPath, const std::string& node, const std::string& out,
                     const std::string& shot)
{
    ChooseMenu(frame, "&File", ID_FILE_LIS);
    ASSERT_TRUE(WaitFor([&] { return frame.MenuId() == 136; }));

    User user;
    user.ChooseFile(lisPath);
    user.InDialog(kIddSelectTool, "Select Tool to Convert: DSI, OK", [](QDialog& dlg) {
        Click(Control<QRadioButton>(dlg, select_tool::kIdcDsi));
        Click(Control<QPushButton>(dlg, IDOK));
    });
    user.InDialog(kIddSelectInputFileItems, "Select Input File Items: the data set, Add, OK", [node, shot](QDialog& dlg) {
        auto* tree = Control<QTreeWidget>(dlg, select_input_items::kIdcTree);
        ASSERT_NE(tree, nullptr);
        const auto found = tree->findItems(QString::fromStdString(node), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << node;
        // Node texts are read whole: no line hides behind a sideways scroll bar.
        EXPECT_FALSE(tree->horizontalScrollBar()->isVisible()) << "a sideways scroll bar over the nodes";
        tree->scrollToItem(found[0]);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(found[0]).center());
        Click(Control<QPushButton>(dlg, select_input_items::kIdcAdd));
        Screenshot(shot);
        Click(Control<QPushButton>(dlg, IDOK));
    });
    user.ChooseFile(out);
    ChooseMenu(frame, "&Process", ID_LIS_TO_QTX);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
}

void OpenSlownessView(QtFrame& frame, const std::string& path, CDomainWnd*& view)
{
    view = nullptr;
    ASSERT_NO_FATAL_FAILURE(EnterQtxMode(frame));

    User user;
    user.InDialog(kIddDomainSetup, "Domain Setup: Select Input File", [](QDialog& d) {
        Click(Control<QPushButton>(d, domain_setup::kIdcSelectInputFile));
    });
    user.ChooseFile(path);
    user.InDialog(kIddDomainSetup, "Domain Setup: OK", [](QDialog& d) { Click(Control<QPushButton>(d, IDOK)); });
    user.InDialog(kIddQtxFile, "QTX File: the slowness datum, Add, OK", [](QDialog& d) {
        ClickListRow(Control(d, qtx_file::kIdcFound), 0);
        Click(Control<QPushButton>(d, qtx_file::kIdcAdd));
        Click(Control<QPushButton>(d, IDOK));
    });
    ChooseMenu(frame, "&Display", ID_DISPLAY_SLOWNESS);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
    CDomainWnd* opened = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (opened = dynamic_cast<CDomainWnd*>(frame.ActiveChild())) != nullptr; }));
    EXPECT_EQ(opened->Domain(), kDomainSlowness);
    EXPECT_EQ(opened->GetWindowText(), "Slowness (" + path + ")");
    ASSERT_NE(ViewOf(opened), nullptr);
    view = opened;
}

void Walk::SetUp()
{
    theViewerApp.ResetToStartupState();
    theViewerApp.m_commandLine = "test";
    ASSERT_TRUE(theViewerApp.InitInstance());
    frame.Show(SW_SHOWNORMAL);
    frame.Window()->setGeometry(20, 20, 1400, 900);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.Window(), 30000));
}

void Walk::TearDown()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
    theViewerApp.ResetToStartupState();
}
