#include "common/OutputGuard.h"

#include "support/HostFixture.h"
#include "support/TempDir.h"

#include <filesystem>
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

// Only an existing file is asked about; only a Yes lets the writer go on.
TEST_F(OutputGuardTest, AnExistingFileIsReplacedOnlyAfterAYes)
{
    std::ofstream(dir.File("old.qtx")) << "data";
    std::filesystem::create_directory(dir.File("folder"));
    const struct {
        std::string path;
        int answer; // 0: no question
        bool refused;
    } cases[] = {
        {dir.File("new.qtx"), 0, false},
        {dir.File("folder"), 0, false}, // no file to replace: opening it fails with its own message
        {dir.File("old.qtx"), IDNO, true},
        {dir.File("old.qtx"), IDYES, false},
    };
    for (const auto& c : cases) {
        host.ClearMessages();
        if (c.answer) host.ExpectMessage(c.path + " already exists. Do you want to replace it?", c.answer);
        EXPECT_EQ(RefuseToReplaceExisting(c.path), c.refused) << c.path;
        ASSERT_EQ(host.Messages().size(), c.answer ? 1u : 0u) << c.path;
        if (c.answer) {
            EXPECT_EQ(host.Messages()[0].type, unsigned(MB_YESNO | MB_ICONEXCLAMATION));
        }
    }
}

} // namespace
