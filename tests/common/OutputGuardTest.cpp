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
    std::ofstream(dir.File("copy.qtx")) << "data";
    ASSERT_EQ(::link(input.c_str(), dir.File("hard.qtx").c_str()), 0);
    ASSERT_EQ(::symlink(input.c_str(), dir.File("soft.qtx").c_str()), 0);
    for (const std::string& output : {input, dir.File("hard.qtx"), dir.File("soft.qtx"), dir.Path() + "/./in.qtx"}) {
        host.ExpectMessage("Output file is the same as input file :\n" + input);
        EXPECT_TRUE(RefuseOutputOverInput(output, {dir.File("other.qtx"), input})) << output;
    }
    // Same contents, or no file yet, is another file.
    EXPECT_FALSE(RefuseOutputOverInput(dir.File("copy.qtx"), {input}));
    EXPECT_FALSE(RefuseOutputOverInput(dir.File("new.qtx"), {input}));
}

} // namespace
