// The desktop walkthrough's person at the keyboard: the program on the real Qt
// frame, its menus chosen and its dialogs answered with Qt's test input.
#pragma once

#include "app/ViewerApp.h"
#include "platform/qt/QtFrame.h"
#include "platform/qt/QtHost.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class CDomainWnd;
class QComboBox;
class QImage;
class QLineEdit;
class QObject;
class QScrollBar;
class QTimer;
class QWidget;
class QtChildView;

// Steps done one after another from a timer, so that they also run while a modal
// dialog blocks the call that opened it. A step waits until it is ready; its action
// may open another modal dialog, and the next step runs inside that one.
class User {
public:
    User();
    ~User();
    void Then(std::string what, std::function<bool()> ready, std::function<void()> act);
    // The dialog of this template, once it is up, gets the action.
    void InDialog(int templateId, std::string what, std::function<void(QDialog&)> act);
    // The file dialog that is up gets this file name typed and Return.
    void ChooseFile(const std::string& path);
    // The message box that is up, its text holding `text`, gets that button pressed.
    void AnswerMessage(const std::string& text, int button);
    bool Done() const { return m_steps.empty() && m_acting == 0 && !m_stuck; }
    // A step that waited longer than this gives up: every dialog is cancelled. So is a
    // dialog that no step is left to answer, once it has been up that long.
    int patienceMs = 60000;
    std::string stuckAt;

private:
    void Tick();
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    std::deque<Step> m_steps;
    QTimer* m_timer;
    qint64 m_waitingSince = -1;
    qint64 m_unansweredSince = -1;
    bool m_stuck = false;
    int m_acting = 0; // actions begun and not yet returned
};

// The visible modal dialog of a template, or null.
QDialog* DialogUp(int templateId);
// A control of a dialog by its id.
template <typename W = QWidget> W* Control(QDialog& dialog, int id)
{
    return dialog.findChild<W*>(QString::number(id));
}
void Click(QWidget* widget);
void ClickListRow(QWidget* list, int row);
void TypeInto(QWidget* edit, const std::string& text);
// The edit's text selected and deleted, then `text` typed.
void Retype(QLineEdit* edit, const std::string& text);

// Chooses Title > entry (the entry found by its command id) with the mouse.
void ChooseMenu(QtFrame& frame, const QString& title, int commandId);
// Opens the drop-down list of `box` and clicks `entry` in it.
void PickComboEntry(QComboBox& box, const std::string& entry);
// In Utilities Setup: picks the task in the task box, then picks `primary` through
// Select Primary File.
void ChooseToolTask(User& user, const std::string& task, const std::string& primary);
// Polls the event loop until `done` or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms = 30000);

// walk-shots/ beside the test program, where the walks leave what they made.
std::filesystem::path ShotFolder();
// The screen as it is, saved as walk-shots/<name>.png beside the test program.
QImage Screenshot(const std::string& name);
// A pixel of a widget's area on screen, taken from `screen`.
unsigned ScreenPixel(const QImage& screen, const QWidget* widget, int x, int y);

// The view of a window on screen (its Qt sub-window, client and scroll bars).
QtChildView* ViewOf(const CWnd* window);
// The visible scroll bar of a view in that orientation, or null.
QScrollBar* ViewScrollBar(const QtChildView& view, Qt::Orientation orientation);
// Clicks the down arrow of a vertical scroll bar once per depth, each time waiting
// for that depth in the depth pane of the status bar.
void ScrollDownThrough(QtFrame& frame, QScrollBar& bar, const std::vector<std::string>& depths);
// Waits until a view has painted what it was last asked to.
bool WaitPainted(const QtChildView& view);
// Drags the bottom border of a view's sub-window up with the mouse, three times a
// quarter of its height, and checks after each step by the screen's pixels that the
// strip the view gave up shows the workspace (screenshots <shot>-1 to -3).
void ShrinkStepByStep(QtChildView& view, const std::string& shot);

// ---- roads shared by several walks ------------------------------------------------------------
// File > Qtx: the QTX mode's menus are up.
void EnterQtxMode(QtFrame& frame);
// LIS mode > Process > Lis to QTX: the tool DSI, the data set named `node` in the items
// tree and the output file `out`, chosen on the real dialogs; returns when it is done.
// The tool dictionary is looked for in theViewerApp.m_dataDir. The items dialog, the data
// set chosen, is saved as the screenshot `shot`.
void ConvertLisToQtx(QtFrame& frame, const std::string& lisPath, const std::string& node, const std::string& out,
                     const std::string& shot);
// QTX mode > Display > Slowness on `path`, the first item of the Slowness tab chosen:
// the view that opened, or a failure.
void OpenSlownessView(QtFrame& frame, const std::string& path, CDomainWnd*& view);

// The program on the Qt frame, its main window shown on the virtual display.
class Walk : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QtHost host{"Merrowdyne Revezirider", "BronteluxViewer"};
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
};
