#include "app/ViewerApp.h"
#include "dataset/QtxFile.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "toolbox/UtilitiesSetupDlg.h"

namespace {

using D = CUtilitiesSetupDlg;

class ToolsCommandTest : public AppTest {
protected:
    TempDir dir;
    std::string input = dir.File("in.qtx");
    std::string output = dir.File("in_rev.qtx");

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
        QtxDatumShape d;
        d.mnemonic = "WMNO";
        d.traces = 2;
        d.samples = 8;
        ASSERT_TRUE(WriteQtx(input, {d}, 5, 1000.0, 0.5));
    }
    DialogScript& ChooseFiles(const std::string& task, const std::string& chosenOutput = "")
    {
        theApp.m_utilitiesSetup.taskName = task;
        host.ExpectFileDialog("Select Primary File", input);
        host.ExpectFileDialog("Select Output File", chosenOutput.empty() ? output : chosenOutput);
        return host.ScriptDialog(kIddUtilitiesSetup).Press(D::kIdcSelectPrimary)
            .Press(D::kIdcSelectOutput);
    }
};

TEST_F(ToolsCommandTest, ReverseDepthOrderRunsFromTheMenuToAFinishedDataSet)
{
    ChooseFiles("Reverse Depth Order").Press(D::kIdcRun);
    host.ExpectMessage("This data set log direction is : DOWN.\nWould you like to continue?.", IDYES);
    EXPECT_TRUE(frame.Command(ID_UTILITIES_TOOLS));
    EXPECT_EQ(theApp.m_utilitiesSetup.taskCode, 14);
    CQtxFile out;
    ASSERT_EQ(out.OpenRead(output), 1);
    EXPECT_EQ(out.GetFrameCount(), 5u);
    EXPECT_EQ(out.GetTopDepth(), 1002.0);
    EXPECT_EQ(out.GetBottomDepth(), 1000.0);
    EXPECT_NE(std::string(out.m_header.history, 4096).find("*** "), std::string::npos) << "a history line was added";
}

TEST_F(ToolsCommandTest, AnOutputOverThePrimaryIsRefusedAndTheInputKept)
{
    const std::vector<uint8_t> before = ReadBytes(input);
    ChooseFiles("Shift By Factor", input).Select(D::kIdcPrimaryList, 0).Press(D::kIdcRun);
    host.ExpectMessage("Output file is the same as input file :\n" + input + "\nOperation will be abandoned.");
    frame.Command(ID_UTILITIES_TOOLS);
    EXPECT_EQ(ReadBytes(input), before);
}

TEST_F(ToolsCommandTest, SaveSetupAndCancelRunNothing)
{
    ChooseFiles("Reverse Depth Order").Press(D::kIdcSaveSetup);
    frame.Command(ID_UTILITIES_TOOLS);
    EXPECT_FALSE(FileExists(output));
    EXPECT_EQ(theApp.m_utilitiesSetup.primary.path, input) << "Save Setup keeps the values";
    EXPECT_EQ(theApp.m_utilitiesSetup.outputPath, output);

    host.ScriptDialog(kIddUtilitiesSetup).Press(IDCANCEL);
    frame.Command(ID_UTILITIES_TOOLS);
    EXPECT_FALSE(FileExists(output));
}

TEST_F(ToolsCommandTest, TasksOfLaterBuildsAndTheAverageTaskRunNothing)
{
    ChooseFiles("Extract Item(s)").Press(D::kIdcRun);
    host.ExpectMessage("Extract Item(s) is not available in this build yet.");
    frame.Command(ID_UTILITIES_TOOLS);
    EXPECT_FALSE(FileExists(output));

    // Typed, since the box does not offer it: the run ends without a word.
    const size_t shown = MessageTexts().size();
    theApp.m_utilitiesSetup.taskName = "Compute Average Value";
    host.ScriptDialog(kIddUtilitiesSetup).Press(D::kIdcRun);
    frame.Command(ID_UTILITIES_TOOLS);
    EXPECT_EQ(theApp.m_utilitiesSetup.taskCode, 25);
    EXPECT_EQ(MessageTexts().size(), shown);
    EXPECT_FALSE(FileExists(output));
}

} // namespace
