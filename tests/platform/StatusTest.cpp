#include "platform/Status.h"

#include "platform/Host.h"
#include "support/HostFixture.h"

namespace {

using StatusTest = HostTest;

// The layer that owns the window shows a failure once, as the stop box its reader used
// to raise; a success and a quiet failure show nothing, and each tests true only on a success.
TEST_F(StatusTest, OkOrShowShowsAFailuresMessageOnceAsAStopBox)
{
    const Status ok;
    EXPECT_TRUE(OkOrShow(ok));
    EXPECT_TRUE(ok.Ok());
    const Status quiet = Status::Quiet();
    EXPECT_FALSE(OkOrShow(quiet));
    EXPECT_FALSE(quiet.Ok());
    EXPECT_TRUE(quiet.Message().empty());
    EXPECT_TRUE(host.Messages().empty()) << "nothing to show for a success or a quiet failure";

    const Status failed = Status::Failure("Could not open input file :\n/logs/a.qtx");
    EXPECT_TRUE(host.Messages().empty()) << "a failure shows nothing until its caller shows it";
    host.ExpectMessage("Could not open input file :\n/logs/a.qtx");
    EXPECT_FALSE(OkOrShow(failed));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Could not open input file :\n/logs/a.qtx");
    EXPECT_EQ(host.Messages()[0].type, unsigned(MB_OK | MB_ICONSTOP));
    EXPECT_FALSE(failed);
}

// Status compares with no int: `status == -1` would compile and always be false.
template <typename S>
concept ComparesWithInt = requires(const S& s) { s == 0; };
static_assert(!ComparesWithInt<Status>);

} // namespace
