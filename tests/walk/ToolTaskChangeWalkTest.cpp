// QTX mode > Utilities > Tools, as a new user goes on after a LAS import: the LAS export
// picked next does not offer the LAS file as its input nor as its own output, and the
// setup kept so opens again without an error box. Then an import stopped part-way: its
// end message and its history say how many data lines it holds and to which depth.
#include "walk/Walk.h"

#include "dataset/QtxFile.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace utilities_setup;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Runs Utilities > Tools with the user's steps; false (and a failure) when they got stuck.
void RunTools(QtFrame& frame, User& user)
{
    ChooseMenu(frame, "&Utilities", ID_UTILITIES_TOOLS);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
}

TEST_F(Walk, TheLasExportAfterTheLasImportOffersNeitherTheLasFileNorAnError)
{
    TempDir dir;
    const std::string las = dir.File("twelfth.las");
    WriteText(las, LasText(LasShape{}));
    ChooseMenu(frame, "&File", ID_FILE_QTX);
    {
        User user;
        ChooseToolTask(user, "Convert LAS To QTX", las);
        user.InDialog(kIddUtilitiesSetup, "Utilities Setup: Run the import",
                      [](QDialog& dlg) { Click(Control<QPushButton>(dlg, kIdcRun)); });
        ASSERT_NO_FATAL_FAILURE(RunTools(frame, user));
        ASSERT_TRUE(std::filesystem::exists(dir.File("twelfth_Task.qtx")));
    }
    {
        User user;
        user.InDialog(kIddUtilitiesSetup, "Utilities Setup: the LAS export picked, Save Setup", [&](QDialog& dlg) {
            auto* primary = Control<QLabel>(dlg, kIdcPrimaryFile);
            ASSERT_NE(primary, nullptr);
            EXPECT_TRUE(primary->text().contains("twelfth.las")) << "the import's file, before the change";
            ASSERT_NO_FATAL_FAILURE(PickComboEntry(*Control<QComboBox>(dlg, kIdcTask), "Convert QTX To LAS"));
            EXPECT_EQ(primary->text().toStdString(), "Primary File : ");
            EXPECT_EQ(Control<QLabel>(dlg, kIdcOutputFile)->text().toStdString(), "Output File : ");
            EXPECT_EQ(Control<QListWidget>(dlg, kIdcPrimaryList)->count(), 0);
            Screenshot("task-change");
            Click(Control<QPushButton>(dlg, kIdcSaveSetup));
        });
        ASSERT_NO_FATAL_FAILURE(RunTools(frame, user));
    }
    {
        // An error box before the dialog would leave this step waiting, and the walk stuck.
        User user;
        user.patienceMs = 15000;
        user.InDialog(kIddUtilitiesSetup, "Utilities Setup: opens as kept, Cancel", [](QDialog& dlg) {
            EXPECT_EQ(Control<QComboBox>(dlg, kIdcTask)->currentText().toStdString(), "Convert QTX To LAS");
            EXPECT_EQ(Control<QLabel>(dlg, kIdcPrimaryFile)->text().toStdString(), "Primary File : ");
            Screenshot("task-change-reopened");
            Click(Control<QPushButton>(dlg, IDCANCEL));
        });
        ASSERT_NO_FATAL_FAILURE(RunTools(frame, user));
    }
}

TEST_F(Walk, AStoppedImportSaysWhereItStopped)
{
    TempDir dir;
    const std::string las = dir.File("long.las"), out = dir.File("long_Task.qtx");
    LasShape shape;
    shape.unit = "F";
    shape.curveUnit = "K/M3"; // a unit the data set cannot hold: the end message comes
    shape.depths.clear();
    for (int k = 0; k < 600000; ++k) shape.depths.push_back(1000.0 + 0.5 * k);
    WriteText(las, LasText(shape));
    ChooseMenu(frame, "&File", ID_FILE_QTX);

    User user;
    ChooseToolTask(user, "Convert LAS To QTX", las);
    user.InDialog(kIddUtilitiesSetup, "Utilities Setup: Run the import",
                  [](QDialog& dlg) { Click(Control<QPushButton>(dlg, kIdcRun)); });
    const auto progress = []() -> QDialog* {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w);
                d && d->isVisible() && d->objectName() == QStringLiteral("dialog%1").arg(kIddProgress))
                return d;
        return nullptr;
    };
    // Stopped once part of the file is in: a stop before the first line keeps nothing.
    const auto percent = [progress] {
        auto* label = progress() ? Control<QLabel>(*progress(), kIdcProgressPercent) : nullptr;
        return label ? label->text().trimmed().chopped(1).trimmed().toInt() : 0;
    };
    user.Then("the progress dialog at 10 %: Cancel", [percent] { return percent() >= 10; }, [progress] {
        Screenshot("stopped-import-progress");
        Click(Control<QPushButton>(*progress(), IDCANCEL));
    });
    user.AnswerMessage("Are you sure you want to stop processing?", QMessageBox::Yes);
    std::string told;
    const auto endBox = []() -> QMessageBox* {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box && box->isVisible() && box->text().startsWith("Stopped after") ? box : nullptr;
    };
    user.Then("the end message: OK", [endBox] { return endBox() != nullptr; }, [&told, endBox] {
        told = endBox()->text().toStdString();
        Screenshot("stopped-import-message");
        Click(endBox()->button(QMessageBox::Ok));
    });
    ASSERT_NO_FATAL_FAILURE(RunTools(frame, user));

    CQtxFile set;
    ASSERT_TRUE(set.OpenRead(out));
    const uint32_t frames = set.GetFrameCount();
    ASSERT_GT(frames, 0u);
    ASSERT_LT(frames, 600000u) << "stopped before the end";
    char line[128];
    std::snprintf(line, sizeof line, "Stopped after %u data line(s): the data set holds 1000.0000 - %.4f [ft].", frames,
                  set.GetBottomDepth());
    EXPECT_EQ(told.substr(0, told.find('\n')), line) << told;
    const std::string history(set.Header().history, sizeof set.Header().history);
    EXPECT_NE(history.find("*** Depth range :  1000.0000 - 300999.5000  [ft]\r\n*** Tools (Convert LAS to QTX)\r\n*** " +
                           std::string(line)),
              std::string::npos)
        << history;
    set.CloseInput();
    EXPECT_EQ(frame.PaneText(0), "Convert LAS To QTX stopped: wrote " + out);
}

} // namespace
