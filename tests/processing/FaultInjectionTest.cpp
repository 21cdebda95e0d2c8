// The profile save when the disk fills part-way: the data set is gone or counts the
// frames it holds, and the failure was told.
#include "ProfileFixture.h"

#include "support/OutputChecks.h"

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

} // namespace
