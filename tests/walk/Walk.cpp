#include "walk/Walk.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

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
         [templateId, act] { act(*DialogUp(templateId)); });
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

void User::Tick()
{
    if (m_steps.empty()) return;
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
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

namespace {
QAction* FindCommand(QMenu* menu, int commandId)
{
    for (QAction* a : menu->actions()) {
        if (a->property("commandId").toInt() == commandId) return a;
    }
    return nullptr;
}
} // namespace

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

QImage Screenshot(const std::string& name)
{
    QApplication::processEvents();
    QTest::qWait(100);
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    char exe[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    const std::filesystem::path folder =
        (n > 0 ? std::filesystem::path(std::string(exe, size_t(n))).parent_path() : std::filesystem::temp_directory_path()) /
        "walk-shots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(image.save(QString::fromStdString((folder / (name + ".png")).string()))) << name;
    return image;
}

unsigned ScreenPixel(const QImage& screen, const QWidget* widget, int x, int y)
{
    const QPoint at = widget->mapToGlobal(QPoint(x, y));
    return screen.pixel(at) & 0xFFFFFFu;
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
