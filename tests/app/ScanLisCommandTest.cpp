// Process > Scan Lis: the report is proposed beside the LIS file under the file's name,
// a finished scan says what it wrote, and a report that was not made is not opened.
#include "platform/BinaryFile.h"
#include "res/CommandIds.h"
#include "support/AppFixture.h"
#include "support/LisBuilder.h"
#include "support/TempDir.h"

namespace {

using ScanLisCommandTest = AppTest;

TEST_F(ScanLisCommandTest, TheReportGoesBesideTheFileAndOnlyAMadeOneIsOpened)
{
    Start();
    frame.Command(ID_FILE_LIS);
    TempDir dir;
    const std::string lis = dir.File("well.lis"), report = dir.File("well.txt");
    lisb::Dfsr d;
    d.channels = {lisb::Channel{"GR", "GAPI"}};
    LisBuilder().FileHeader("WAVE  .001").Dfsr(d).Data(d, 1000.0, 0.5, 3).FileTrailer("WAVE  .001").Write(lis);

    host.ExpectFileDialog("Open Lis File to Scan", lis);
    host.ExpectFileDialog("Create Scan File", report);
    EXPECT_TRUE(frame.Command(ID_SCAN_LIS));
    EXPECT_EQ(host.FileDialogs().back().options.initialName, report) << "proposed beside the LIS file";
    EXPECT_TRUE(FileExists(report));
    EXPECT_EQ(frame.PaneText(0), "Scan Lis done: wrote " + report);
    EXPECT_EQ(host.ShellOpened(), std::vector<std::string>{report});

    // No to replacing the report: nothing is made, so nothing is opened, and the first
    // scan's word is gone.
    host.ExpectFileDialog("Open Lis File to Scan", lis);
    host.ExpectFileDialog("Create Scan File", report);
    host.ExpectMessage("already exists", IDNO);
    EXPECT_TRUE(frame.Command(ID_SCAN_LIS));
    EXPECT_EQ(host.ShellOpened().size(), 1u);
    EXPECT_EQ(frame.PaneText(0), "");
}

} // namespace
