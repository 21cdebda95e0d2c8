#include "app/ViewerApp.h"
#include "dataset/QtxFile.h"
#include "res/CommandIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/UtilitiesSetupDlg.h"
#include "settings/UtilitiesSetupGroup.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>

namespace {

using D = CUtilitiesSetupDlg;

TEST(ToolTasks, EveryTaskIsFoundByItsCodeAndItsExactNameAndTheTaskBoxOffersAllButTheAverage)
{
    // Codes run from 1 without a gap, one row each.
    const size_t rows = ToolTaskTable().size();
    ASSERT_GT(rows, 0u);
    EXPECT_EQ(size_t(ToolTaskTable().back().task), rows);
    for (const ToolTaskRow& row : ToolTaskTable()) {
        EXPECT_EQ(FindToolTask(row.task), &row);
        EXPECT_EQ(ToolTaskCode(row.name), int(row.task)) << row.name;
    }
    EXPECT_EQ(FindToolTask(ToolTask::None), nullptr);
    EXPECT_EQ(FindToolTask(ToolTask(rows + 1)), nullptr);
    for (const char* name : {"reverse depth order", "Reverse Depth Order ", ""})
        EXPECT_EQ(ToolTaskCode(name), 0) << name;

    std::set<int> codes;
    for (const std::string& entry : UtilitiesSetupTaskEntries()) {
        EXPECT_NE(ToolTaskCode(entry), 0) << entry;
        codes.insert(ToolTaskCode(entry));
    }
    EXPECT_EQ(codes.size(), UtilitiesSetupTaskEntries().size()); // no name twice
    EXPECT_EQ(codes.size(), size_t(std::ranges::count(ToolTaskTable(), true, &ToolTaskRow::inTaskBox)));
    EXPECT_EQ(codes.count(int(ToolTask::ComputeAverageValue)), 0u);
}

TEST(ToolTasks, EveryTaskHasARunner)
{
    for (const ToolTaskRow& row : ToolTaskTable()) EXPECT_NE(row.runner, nullptr) << row.name;
}

class ToolsCommandTest : public AppTest {
protected:
    TempDir dir;
    std::string input = dir.File("in.qtx");
    std::string output = dir.File("in_rev.qtx");
};

// Cancel keeps the settings, Save Setup takes them and runs nothing; only Run of a task
// writes the output. A stored name the box does not offer shows no task, and Run then asks
// for one instead of running anything.
TEST_F(ToolsCommandTest, OnlyRunOfABuiltTaskWritesTheOutput)
{
    Start();
    frame.Command(ID_FILE_QTX);
    ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WMNO", .traces = 2, .samples = 8}}, 5, 1000.0, 0.5));
    struct Case {
        const char* task;
        int button;
        std::string message; // "": none
        int answer;
        uint16_t code; // the stored task code afterwards
    };
    const std::string kNoTask = "Select a task in the task box.";
    std::vector<Case> cases = {
        {"Reverse Depth Order", IDCANCEL, "", 0, 0},
        {"Reverse Depth Order", D::kIdcSaveSetup, "", 0, 0},
        {"Compute Average Value", D::kIdcRun, kNoTask, IDOK, 0},
        {"No Such Task", D::kIdcRun, kNoTask, IDOK, 0},
    };
    cases.push_back({"Reverse Depth Order", D::kIdcRun,
                     "This data set log direction is : DOWN.\nWould you like to continue?.", IDYES, 14});
    UtilitiesSetupGroup& s = theApp.m_utilitiesSetup;
    for (const Case& c : cases) {
        s.taskName = c.task;
        host.ExpectFileDialog("Select Primary File", input);
        host.ExpectFileDialog("Select Output File", output);
        DialogScript& script =
            host.ScriptDialog(kIddUtilitiesSetup).Press(D::kIdcSelectPrimary).Press(D::kIdcSelectOutput).Press(c.button);
        if (c.message == kNoTask) script.Press(IDCANCEL); // the dialog stayed up
        if (!c.message.empty()) host.ExpectMessage(c.message, c.answer);
        EXPECT_TRUE(frame.Command(ID_UTILITIES_TOOLS));
        EXPECT_EQ(s.primary.path, c.button == IDCANCEL ? std::string() : input) << c.task;
        EXPECT_EQ(s.taskCode, c.code) << c.task;
        EXPECT_EQ(FileExists(output), c.code == 14) << c.task;
    }
    EXPECT_EQ(frame.PaneText(0), "Reverse Depth Order done: wrote " + output) << "the run's last word";
    CQtxFile out;
    ASSERT_TRUE(out.OpenRead(output).Ok());
    EXPECT_EQ(out.GetFrameCount(), 5u);
    EXPECT_EQ(out.GetTopDepth(), 1002.0);
}

// Run with no file chosen for an input the task reads names that input and writes nothing.
TEST_F(ToolsCommandTest, RunWithoutAnInputFileNamesTheMissingFile)
{
    Start();
    frame.Command(ID_FILE_QTX);
    ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WMNO", .traces = 2, .samples = 8}}, 5, 1000.0, 0.5));
    UtilitiesSetupGroup& s = theApp.m_utilitiesSetup;
    s.taskName = "Extract Depth Range";
    host.ScriptDialog(kIddUtilitiesSetup).Press(D::kIdcRun);
    host.ExpectMessage("Primary file name is not set!\nOperation will be abandoned.");
    EXPECT_TRUE(frame.Command(ID_UTILITIES_TOOLS));
    s.taskName = "Splice At Depth";
    host.ExpectFileDialog("Select Primary File", input);
    host.ScriptDialog(kIddUtilitiesSetup).Press(D::kIdcSelectPrimary).Press(D::kIdcRun);
    host.ExpectMessage("Secondary file name is not set!\nOperation will be abandoned.");
    EXPECT_TRUE(frame.Command(ID_UTILITIES_TOOLS));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "nothing but the input";
    // A secondary that is the output proposed takes the proposal: no output is named.
    const std::string secondary = dir.File("in_Task.qtx");
    ASSERT_TRUE(WriteQtx(secondary, {{.mnemonic = "WMNO", .traces = 2, .samples = 8}}, 5, 1000.0, 0.5));
    host.ExpectFileDialog("Select Primary File", input);
    host.ExpectFileDialog("Select Secondary File", secondary);
    host.ScriptDialog(kIddUtilitiesSetup).Press(D::kIdcSelectPrimary).Press(D::kIdcSelectSecondary).Press(D::kIdcRun);
    host.ExpectMessage("Output file name is not set!\nOperation will be abandoned.");
    EXPECT_TRUE(frame.Command(ID_UTILITIES_TOOLS));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2) << "nothing but the inputs";
}

// A derived name may be the file of an earlier run: it is replaced only after a Yes, and a
// No leaves it byte for byte with nothing else written. A name from the save dialog, which
// asked itself, is not asked about again.
TEST_F(ToolsCommandTest, AnExistingOutputIsReplacedOnlyAfterAYes)
{
    Start();
    frame.Command(ID_FILE_QTX);
    ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WMNO", .traces = 2, .samples = 8}}, 5, 1000.0, 0.5));
    const std::string derived = dir.File("in_Task.qtx");
    const std::vector<uint8_t> old{'o', 'l', 'd'};
    struct Case {
        const char* what;
        bool browse;
        int answer; // 0: not asked
    };
    const Case cases[] = {
        {"derived, No", false, IDNO},
        {"derived, Yes", false, IDYES},
        {"chosen in the save dialog", true, 0},
    };
    theApp.m_utilitiesSetup.taskName = "Reverse Depth Order";
    for (const Case& c : cases) {
        WriteBytes(derived, old);
        host.ClearMessages();
        host.ExpectFileDialog("Select Primary File", input);
        DialogScript& s = host.ScriptDialog(kIddUtilitiesSetup).Press(D::kIdcSelectPrimary);
        if (c.browse) {
            host.ExpectFileDialog("Select Output File", derived);
            s.Press(D::kIdcSelectOutput);
        }
        s.Press(D::kIdcRun);
        host.ExpectMessage("This data set log direction is", IDYES);
        if (c.answer) host.ExpectMessage(derived + " already exists. Do you want to replace it?", c.answer);
        EXPECT_TRUE(frame.Command(ID_UTILITIES_TOOLS));
        ASSERT_EQ(host.Messages().size(), c.answer ? 2u : 1u) << c.what;
        EXPECT_EQ(host.Messages().back().type, MB_YESNO | (c.answer ? unsigned(MB_ICONEXCLAMATION) : 0u)) << c.what;
        if (c.answer == IDNO) {
            EXPECT_EQ(ReadBytes(derived), old) << c.what;
        } else {
            CQtxFile out;
            ASSERT_TRUE(out.OpenRead(derived).Ok()) << c.what;
            EXPECT_EQ(out.GetFrameCount(), 5u) << c.what;
        }
        const auto files = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
        EXPECT_EQ(files, 2) << c.what << ": the input and the output alone";
    }
}

} // namespace
