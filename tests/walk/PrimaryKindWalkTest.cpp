// QTX mode > Utilities > Tools > Extract Item(s), as a new user tries "All Files": a LAS
// file picked as the primary is refused at the pick in one box, the data set picked
// before stays with its list and its output, and no later opening shows a box; a setup
// an earlier version kept with such a file opens without it.
#include "walk/Walk.h"

#include "res/CommandIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <fstream>

namespace {

using namespace utilities_setup;

void RunTools(QtFrame& frame, User& user)
{
    ChooseMenu(frame, "&Utilities", ID_UTILITIES_TOOLS);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
}

std::string Label(QDialog& dlg, int id) { return Control<QLabel>(dlg, id)->text().toStdString(); }
int ListCount(QDialog& dlg) { return Control<QListWidget>(dlg, kIdcPrimaryList)->count(); }

TEST_F(Walk, ALasFilePickedUnderAllFilesForADataSetTaskIsRefusedAtThePick)
{
    TempDir dir;
    const std::string set = dir.File("well.qtx"), las = dir.File("sample_2.0.las");
    ASSERT_TRUE(WriteQtx(set, {{.mnemonic = "WAVE", .category = 1, .samples = 8}, {.mnemonic = "DTCO", .category = 6}},
                         12, 1000.0, 0.5));
    std::ofstream(las, std::ios::binary) << LasText(LasShape{});
    // The output the LAS file would have proposed is there, as a user's earlier import left it.
    std::ofstream(dir.File("sample_2.0_Task.qtx"), std::ios::binary) << "x";
    ChooseMenu(frame, "&File", ID_FILE_QTX);

    std::string told;
    {
        User user;
        ChooseToolTask(user, "Extract Item(s)", set);
        user.InDialog(kIddUtilitiesSetup, "Utilities Setup: Select Primary again", [](QDialog& dlg) {
            EXPECT_EQ(ListCount(dlg), 2);
            Click(Control<QPushButton>(dlg, kIdcSelectPrimary));
        });
        user.Then("file dialog: Files of type All Files",
                  [] {
                      auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                      return d && d->isVisible() && d->findChild<QComboBox*>("fileTypeCombo");
                  },
                  [] {
                      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                      auto* box = dialog->findChild<QComboBox*>("fileTypeCombo");
                      int all = -1;
                      for (int i = 0; i < box->count(); ++i)
                          if (box->itemText(i).startsWith("All Files")) all = i;
                      ASSERT_GE(all, 0);
                      ASSERT_NO_FATAL_FAILURE(PickComboEntry(*box, box->itemText(all).toStdString()));
                  });
        user.ChooseFile(las);
        const auto box = []() -> QMessageBox* {
            auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return b && b->isVisible() ? b : nullptr;
        };
        user.Then("the box that says why: OK", [box] { return box() != nullptr; }, [&told, box] {
            told = box()->text().toStdString();
            Screenshot("primary-kind-refused");
            Click(box()->button(QMessageBox::Ok));
        });
        user.InDialog(kIddUtilitiesSetup, "Utilities Setup: as before the pick, Save Setup", [](QDialog& dlg) {
            EXPECT_NE(Label(dlg, kIdcPrimaryFile).find("well.qtx"), std::string::npos) << Label(dlg, kIdcPrimaryFile);
            EXPECT_NE(Label(dlg, kIdcOutputFile).find("well_Task.qtx"), std::string::npos)
                << Label(dlg, kIdcOutputFile);
            EXPECT_EQ(ListCount(dlg), 2);
            Screenshot("primary-kind-kept");
            Click(Control<QPushButton>(dlg, kIdcSaveSetup));
        });
        ASSERT_NO_FATAL_FAILURE(RunTools(frame, user));
    }
    EXPECT_NE(told.find("sample_2.0.las"), std::string::npos) << told;
    EXPECT_EQ(theApp.m_utilitiesSetup.primary.path, set);

    // An error box before the dialog would leave these steps waiting, and the walk stuck.
    {
        User user;
        user.patienceMs = 15000;
        user.InDialog(kIddUtilitiesSetup, "Utilities Setup: opens as kept, Cancel", [](QDialog& dlg) {
            EXPECT_NE(Label(dlg, kIdcPrimaryFile).find("well.qtx"), std::string::npos);
            EXPECT_EQ(ListCount(dlg), 2);
            Click(Control<QPushButton>(dlg, IDCANCEL));
        });
        ASSERT_NO_FATAL_FAILURE(RunTools(frame, user));
    }
    theApp.m_utilitiesSetup.primary.path = las; // as an earlier version kept the pick
    {
        User user;
        user.patienceMs = 15000;
        user.InDialog(kIddUtilitiesSetup, "Utilities Setup: the LAS file kept before, Cancel", [](QDialog& dlg) {
            EXPECT_EQ(Label(dlg, kIdcPrimaryFile), "Primary File : ");
            EXPECT_EQ(Label(dlg, kIdcOutputFile), "Output File : ");
            EXPECT_EQ(ListCount(dlg), 0);
            Screenshot("primary-kind-kept-before");
            Click(Control<QPushButton>(dlg, IDCANCEL));
        });
        ASSERT_NO_FATAL_FAILURE(RunTools(frame, user));
    }
}

} // namespace
