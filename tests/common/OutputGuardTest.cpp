#include "common/OutputGuard.h"

#include "support/HostFixture.h"
#include "support/TempDir.h"

#include <fstream>
#include <unistd.h>

namespace {

class OutputGuardTest : public HostTest {
protected:
    TempDir dir;
};

TEST_F(OutputGuardTest, LinksAndOtherSpellingsOfAnInputAreRefused)
{
    const std::string input = dir.File("in.qtx");
    std::ofstream(input) << "data";
    ASSERT_EQ(::link(input.c_str(), dir.File("hard.qtx").c_str()), 0);
    ASSERT_EQ(::symlink(input.c_str(), dir.File("soft.qtx").c_str()), 0);

    for (const std::string& output : {input, dir.File("hard.qtx"), dir.File("soft.qtx"), dir.Path() + "/./in.qtx"}) {
        host.ExpectMessage("Output file is the same as input file :\n" + input);
        EXPECT_TRUE(RefuseOutputOverInput(output, {dir.File("other.qtx"), input})) << output;
    }
}

TEST_F(OutputGuardTest, NewOrDistinctOutputsPass)
{
    std::ofstream(dir.File("a.qtx")) << "a";
    std::ofstream(dir.File("b.qtx")) << "a";
    EXPECT_FALSE(RefuseOutputOverInput(dir.File("b.qtx"), {dir.File("a.qtx")}));
    EXPECT_FALSE(RefuseOutputOverInput(dir.File("new.qtx"), {dir.File("a.qtx")}));
}

} // namespace
