// What a killed run leaves is cleared by the next write of the name, and only that; the
// names, links and owners an output meets are written as the user chose them, and a
// refusal says why in words.
#include "platform/OutputFile.h"

#include "support/KilledWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string ReadAll(const std::string& path)
{
    BinaryFile f;
    if (!f.Open(path, BinaryFile::modeRead)) return "<none>";
    std::string s(size_t(f.GetLength()), '\0');
    f.Read(s.data(), s.size());
    return s;
}

bool WriteWhole(const std::string& path, const std::string& text)
{
    OutputFile out;
    return out.Open(path) && out.Write(text.data(), text.size()) && out.Commit();
}

// A killed writer's temporary goes at the next write of its name; a running writer's
// stays, and so do temporaries of other names.
TEST(OutputFileLeftoverTest, TheNextWriteOfANameClearsWhatKilledRunsLeftAndNothingAlive)
{
    TempDir dir;
    const std::string path = dir.File("out.segy"), other = dir.File("other.segy");
    const std::vector<char> block(64 * 1024, 'x');
    const auto killedWriter = [&](const std::string& name) {
        return KillWriterAt(256 * 1024, [&] {
            OutputFile out;
            if (!out.Open(name)) return;
            for (int k = 0; k < 100; ++k) out.Write(block.data(), block.size());
        });
    };
    ASSERT_TRUE(killedWriter(path));
    ASSERT_TRUE(killedWriter(path)); // its open cleared the first one's
    ASSERT_TRUE(killedWriter(other));
    ASSERT_EQ(PartialOutputsIn(dir.Path()).size(), 2u);

    OutputFile live;
    ASSERT_TRUE(live.Open(path));
    ASSERT_TRUE(live.Write("live", 4));
    std::vector<std::string> left = PartialOutputsIn(dir.Path());
    ASSERT_EQ(left.size(), 2u) << "the killed run's temporary of the name is gone";
    EXPECT_EQ(dir.File(left[0]) == live.TemporaryPath() || dir.File(left[1]) == live.TemporaryPath(), true);

    // A second writer of the name leaves the first one's temporary alone.
    ASSERT_TRUE(WriteWhole(path, "second"));
    EXPECT_EQ(PartialOutputsIn(dir.Path()).size(), 2u);
    ASSERT_TRUE(live.Commit()) << "the live writer's temporary was kept";
    EXPECT_EQ(ReadAll(path), "live");
    left = PartialOutputsIn(dir.Path());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind("other.segy.partial-", 0), 0u) << "another name's leftover waits for its own write";
    ASSERT_TRUE(WriteWhole(other, "other"));
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

// A name as long as the folder allows is written (its temporary's name is cut); a longer
// one, a missing folder and a full disk are refused with their causes.
TEST(OutputFileLeftoverTest, LongNamesAreWrittenAndRefusalsSayWhy)
{
    TempDir dir;
    for (const size_t length : {size_t(240), size_t(250), size_t(255)}) {
        // Two-byte characters, so that a cut must fall between them.
        std::string name(length % 2, 'a');
        while (name.size() < length) name += "\xC3\xB8";
        const std::string path = dir.File(name);
        ASSERT_TRUE(WriteWhole(path, "first")) << length;
        ASSERT_TRUE(WriteWhole(path, "second")) << length;
        EXPECT_EQ(ReadAll(path), "second") << length;
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << length;
    }
    OutputFile out;
    int error = 0;
    const std::string tooLong = dir.File(std::string(256, 'n'));
    EXPECT_FALSE(out.Open(tooLong, &error));
    EXPECT_EQ(error, ENAMETOOLONG);
    EXPECT_EQ(OutputFailureCause(tooLong, error), "\nThe name is too long for its folder.");
    EXPECT_EQ(OutputFailureCause(dir.File("gone/x.las"), ENOENT), "\nThe folder " + dir.File("gone") + " does not exist.");
    const std::string kept = dir.File("kept.las");
    ASSERT_TRUE(WriteWhole(kept, "old"));
    EXPECT_EQ(OutputFailureCause(kept, ENOSPC), "\nThe disk is full.\nThe existing file is unchanged.");
    EXPECT_NE(OutputFailureCause(kept, EFBIG).find("file-size limit"), std::string::npos);
    if (::geteuid() != 0) { // root may write any folder
        const std::string locked = dir.File("locked");
        ASSERT_EQ(::mkdir(locked.c_str(), 0700), 0);
        ASSERT_TRUE(WriteWhole(locked + "/a.las", "old"));
        ASSERT_EQ(::chmod(locked.c_str(), 0500), 0);
        EXPECT_FALSE(out.Open(locked + "/a.las", &error));
        EXPECT_EQ(OutputFailureCause(locked + "/a.las", error),
                  "\nThe folder " + locked + " is not writable.\nThe existing file is unchanged.");
        ::chmod(locked.c_str(), 0700);
    }
}

// A link to a file not yet there makes the file where it leads and stays a link; a
// replaced file keeps its owner and group where the process may set them.
TEST(OutputFileLeftoverTest, ADanglingLinkWritesItsTargetAndAReplacementKeepsItsOwner)
{
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("data").c_str(), 0700), 0);
    const std::string link = dir.File("log.pdf"), chained = dir.File("chain.pdf");
    ASSERT_EQ(::symlink("data/log.pdf", link.c_str()), 0); // relative, as a user makes them
    ASSERT_EQ(::symlink(link.c_str(), chained.c_str()), 0);
    ASSERT_TRUE(WriteWhole(chained, "through two links"));
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat(chained.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadAll(dir.File("data/log.pdf")), "through two links");
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
    EXPECT_EQ(PartialOutputsIn(dir.File("data")), std::vector<std::string>());

    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another owner";
    const std::string path = dir.File("theirs.las");
    ASSERT_TRUE(WriteWhole(path, "old"));
    ASSERT_EQ(::chown(path.c_str(), 12345, 23456), 0);
    ASSERT_TRUE(WriteWhole(path, "new"));
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
}

} // namespace

namespace {

// Links that lead to no name a file can take are refused and stay as they were; a link
// into a folder that is not there names that folder, not the link's own.
TEST(OutputFileLeftoverTest, LinksThatLeadNowhereAreRefusedWithTheirCause)
{
    TempDir dir;
    const std::string a = dir.File("a.pdf"), b = dir.File("b.pdf"), away = dir.File("away.pdf");
    ASSERT_EQ(::symlink("b.pdf", a.c_str()), 0);
    ASSERT_EQ(::symlink("a.pdf", b.c_str()), 0);
    ASSERT_EQ(::symlink("gone/log.pdf", away.c_str()), 0);
    const struct {
        std::string path, cause;
    } cases[] = {
        {a, "\nThe name is a chain of symbolic links that leads to no file."},
        {away, "\nThe folder " + dir.File("gone") + " does not exist."},
        {"", "\nNo file name was given."},
    };
    for (const auto& c : cases) {
        OutputFile out;
        int error = 0;
        EXPECT_FALSE(out.Open(c.path, &error)) << c.path;
        EXPECT_EQ(OutputFailureCause(c.path, error), c.cause) << c.path;
    }
    struct stat st {};
    for (const std::string& link : {a, b, away}) {
        ASSERT_EQ(::lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << link;
    }
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

} // namespace
