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
        const Status spared = OutputSparesInputs(output, {dir.File("other.qtx"), input});
        EXPECT_FALSE(spared) << output;
        EXPECT_EQ(spared.Message(), "Output file is the same as input file :\n" + input + "\nOperation will be abandoned.");
    }
    // Same contents, or no file yet, is another file.
    EXPECT_TRUE(OutputSparesInputs(dir.File("copy.qtx"), {input}).Ok());
    EXPECT_TRUE(OutputSparesInputs(dir.File("new.qtx"), {input}).Ok());
    EXPECT_TRUE(host.Messages().empty()) << "the caller shows the refusal";
}

// Replacing asks only about a file that is there, and goes on only on Yes.
TEST_F(OutputGuardTest, MayReplaceExistingAsksOnlyAboutAFileThatIsThere)
{
    EXPECT_TRUE(MayReplaceExisting(dir.File("new.qtx")));
    EXPECT_TRUE(host.Messages().empty());
    std::ofstream(dir.File("old.qtx")) << "data";
    for (const int answer : {IDYES, IDNO}) {
        host.ExpectMessage(dir.File("old.qtx") + " already exists. Do you want to replace it?", answer);
        EXPECT_EQ(MayReplaceExisting(dir.File("old.qtx")), answer == IDYES);
    }
}

} // namespace
