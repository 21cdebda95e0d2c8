#include "platform/Status.h"

#include "platform/Host.h"
#include "support/HostFixture.h"

namespace {

using StatusTest = HostTest;

// The layer that owns the window shows a failure once, as the stop box its reader used
// to raise; a success and a quiet failure show nothing, and every one keeps its 1/0 sense.
TEST_F(StatusTest, OkOrShowShowsAFailuresMessageOnceAsAStopBox)
{
    const Status ok;
    EXPECT_TRUE(OkOrShow(ok));
    EXPECT_TRUE(ok == 1);
    const Status quiet = Status::Quiet();
    EXPECT_FALSE(OkOrShow(quiet));
    EXPECT_TRUE(quiet == 0);
    EXPECT_TRUE(quiet.Message().empty());
    EXPECT_TRUE(host.Messages().empty()) << "nothing to show for a success or a quiet failure";

    const Status failed = Status::Failure("Could not open input file :\n/logs/a.qtx");
    EXPECT_TRUE(host.Messages().empty()) << "a failure shows nothing until its caller shows it";
    host.ExpectMessage("Could not open input file :\n/logs/a.qtx");
    EXPECT_FALSE(OkOrShow(failed));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Could not open input file :\n/logs/a.qtx");
    EXPECT_EQ(host.Messages()[0].type, unsigned(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(failed == 0);
}

} // namespace
