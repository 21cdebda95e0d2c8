// QTX mode > Utilities > Tools: text typed into the task box cannot name a task the box
// does not list. After a task was picked and "Extract It" typed over it, the box shows
// one of its tasks, Select Primary File and Run follow that task, and the status bar
// ends the run with what was written and where.
#include "walk/Walk.h"

#include "res/CommandIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "toolbox/UtilitiesSetupDlg.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace {

TEST_F(Walk, TheTaskBoxShowsTheTaskThatRuns)
{
    TempDir dir;
    const std::string set = dir.File("in.qtx"), out = dir.File("in_Task.qtx");
    ASSERT_TRUE(WriteQtx(set, {{.mnemonic = "GR", .category = 6}}, 12, 1000.0, 0.5));
    ChooseMenu(frame, "&File", ID_FILE_QTX);

    std::string shown;
    User user;
    user.InDialog(kIddUtilitiesSetup, "Utilities Setup: a task, then \"Extract It\" typed", [&shown](QDialog& dlg) {
        auto* box = Control<QComboBox>(dlg, utilities_setup::kIdcTask);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isEditable()) << "the box takes no free text";
        ASSERT_NO_FATAL_FAILURE(PickComboEntry(*box, "Convert LAS To QTX"));
        box->setFocus();
        QTest::keyClicks(box, "Extract It");
        if (box->view()->isVisible()) QTest::keyClick(box->view(), Qt::Key_Escape);
        ASSERT_TRUE(WaitFor([&] { return !box->view()->isVisible(); }));
        shown = box->currentText().toStdString();
        const auto& entries = UtilitiesSetupTaskEntries();
        EXPECT_NE(std::find(entries.begin(), entries.end(), shown), entries.end()) << shown << " is no task";
        Screenshot("task-box");
        Click(Control<QPushButton>(dlg, utilities_setup::kIdcSelectPrimary));
    });
    user.ChooseFile(set);
    user.InDialog(kIddUtilitiesSetup, "Utilities Setup: Run", [&shown](QDialog& dlg) {
        EXPECT_EQ(Control<QComboBox>(dlg, utilities_setup::kIdcTask)->currentText().toStdString(), shown);
        Click(Control<QPushButton>(dlg, utilities_setup::kIdcRun));
    });
    ChooseMenu(frame, "&Utilities", ID_UTILITIES_TOOLS);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;

    // The task shown ran, and said so.
    ASSERT_TRUE(WaitFor([&] { return !frame.PaneText(0).empty(); })) << "no word at the end of the run";
    EXPECT_EQ(frame.PaneText(0), shown + " done: wrote " + out);
    Screenshot("task-box-done");
}

} // namespace
