// The profile and Kalman saves when the disk fills part-way (or the user stops the
// Kalman save): the data set is gone or counts the frames it holds, and a failure was told.
#include "ProfileFixture.h"

#include "processing/KalmanWnd.h"

#include "support/OutputChecks.h"
#include "res/QtxFileDlgIds.h"
#include "res/ResourceIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <cstdio>

namespace {

class ProfileFaultTest : public ProfileWndTest {
protected:
    void TearDown() override
    {
        WriteFault::Off();
        ProfileWndTest::TearDown();
    }
};

TEST_F(ProfileFaultTest, AFailedSaveLeavesNoFileThatLies)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(13, 64, 10, 179)}, 30, 1000.0, 0.5));
    CProfileWnd* view = Open("Time");
    ASSERT_NE(view, nullptr);
    host.onUnexpected = [](const std::string&) {};
    ExpectNoLyingOutput(host, {.run = [&](bool clean) { EXPECT_TRUE(view->SaveProfile() == 1 || !clean); },
                               .output = setup.outputPath,
                               .lies = QtxOutputLies,
                               .points = [](int64_t total) { return QtxFaultPoints(13, 8 + 13 * 4, total); },
                               .stops = {},
                               .progressId = 0,
                               .stopQuestion = ""});
    Close(view);
}

// Wherever the disk fills, even in the last flush, the profile's save tells it and
// leaves no file: a data set that stops short would read as the whole profile.
TEST_F(ProfileFaultTest, AFailedSaveLeavesNoFileAtAll)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(13, 64, 10, 179)}, 30, 1000.0, 0.5));
    CProfileWnd* view = Open("Time");
    ASSERT_NE(view, nullptr);
    WriteFault::FailAfter(int64_t(1) << 40);
    ASSERT_EQ(view->SaveProfile(), 1);
    const int64_t total = WriteFault::Written();
    WriteFault::Off();
    host.onUnexpected = [](const std::string&) {};
    for (const FaultPoint& p : QtxFaultPoints(13, 8 + 13 * 4, total)) {
        std::remove(setup.outputPath.c_str());
        host.ClearMessages();
        {
            ScopedWriteFault fault(p.bytes);
            EXPECT_EQ(view->SaveProfile(), 0) << p.where;
        }
        EXPECT_FALSE(FileExists(setup.outputPath)) << p.where;
        EXPECT_FALSE(host.Messages().empty()) << "the failure was told " << p.where;
    }
    Close(view);
}

TEST_F(ProfileFaultTest, AFailedOrStoppedKalmanSaveLeavesNoFileThatLies)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(2, 64, 10)}, 30));
    KalmanSetupGroup kalman;
    kalman.inputPath = path;
    kalman.outputPath = dir.File("wave_Kalman.qtx");
    kalman.topDepth = 0;
    kalman.bottomDepth = 100000;
    kalman.timeStart = 0;
    kalman.timeStop = 640;
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    CKalmanWnd* view = OpenKalmanWnd(kalman, theViewerApp.ClassName(kClassSpare9));
    ASSERT_NE(view, nullptr);
    host.onUnexpected = [](const std::string&) {};
    const auto run = [&](bool clean) {
        const int result = view->SaveProfile();
        EXPECT_TRUE(result == 1 || !clean);
        EXPECT_FALSE(WriteFault::Tripped() && result == 1) << "a failed save returned success";
    };
    ExpectNoLyingOutput(host, {.run = run,
                               .output = kalman.outputPath,
                               .lies = QtxOutputLies,
                               .points = [&](int64_t total) { return QtxFaultPointsOf(kalman.outputPath, total); },
                               .stops = {1, 4},
                               .progressId = kIddProgress,
                               .stopQuestion = "Are you sure you want to stop processing?"});
    host.ExpectMessage("Do you want to save output file :\n" + kalman.outputPath, IDNO);
    view->OnClose();
}

} // namespace
