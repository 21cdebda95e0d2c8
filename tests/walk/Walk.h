// The desktop walkthrough's person at the keyboard: the program on the real Qt
// frame, its menus chosen and its dialogs answered with Qt's test input.
#pragma once

#include "app/ViewerApp.h"
#include "platform/qt/QtFrame.h"
#include "platform/qt/QtHost.h"

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <string>

#include <gtest/gtest.h>

class QImage;
class QObject;
class QTimer;
class QWidget;

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
    bool Done() const { return m_steps.empty() && m_acting == 0 && !m_stuck; }
    // A step that waited longer than this gives up: every dialog is cancelled.
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

// Chooses Title > entry (the entry found by its command id) with the mouse.
void ChooseMenu(QtFrame& frame, const QString& title, int commandId);
// Polls the event loop until `done` or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms = 30000);

// The screen as it is, saved as walk-shots/<name>.png beside the test program.
QImage Screenshot(const std::string& name);
// A pixel of a widget's area on screen, taken from `screen`.
unsigned ScreenPixel(const QImage& screen, const QWidget* widget, int x, int y);

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
