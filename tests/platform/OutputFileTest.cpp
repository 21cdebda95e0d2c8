#include "platform/OutputFile.h"

#include "support/KilledWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& path)
{
    BinaryFile f;
    if (!f.Open(path, BinaryFile::modeRead)) return "<none>";
    std::string s(size_t(f.GetLength()), '\0');
    f.Read(s.data(), s.size());
    return s;
}

void Put(const std::string& path, const std::string& text)
{
    BinaryFile f;
    ASSERT_TRUE(f.Open(path, BinaryFile::modeWrite | BinaryFile::modeCreate));
    ASSERT_TRUE(f.Write(text.data(), text.size()));
}

// The chosen name holds the old file until the commit, then the whole new one; the
// temporary lies beside it under a recognisable name, and the replacement keeps the
// old file's permissions and a symbolic link's place.
TEST(OutputFileTest, TheChosenNameHoldsTheOldFileUntilTheCommitThenTheWholeNewOne)
{
    TempDir dir;
    const std::string path = dir.File("out.qtx");
    Put(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    OutputFile out;
    ASSERT_TRUE(out.Open(path));
    EXPECT_EQ(out.GetPath(), path);
    EXPECT_EQ(out.TemporaryPath().rfind(path + ".partial-", 0), 0u) << out.TemporaryPath();
    EXPECT_EQ(out.TemporaryPath().size(), path.size() + 15);
    ASSERT_TRUE(out.Write("new header", 10));
    ASSERT_TRUE(out.WriteAt(0, "NEW", 3)) << "a header is patched before the commit";
    EXPECT_EQ(ReadAll(path), "old");
    ASSERT_TRUE(out.Commit());
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(ReadAll(path), "NEW header");
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    const std::string link = dir.File("link.qtx");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    ASSERT_TRUE(out.Open(link));
    ASSERT_TRUE(out.Write("via link", 8));
    ASSERT_TRUE(out.Commit());
    struct stat ls {};
    ASSERT_EQ(::lstat(link.c_str(), &ls), 0);
    EXPECT_TRUE(S_ISLNK(ls.st_mode)) << "the link stays a link";
    EXPECT_EQ(ReadAll(path), "via link");

    if (::geteuid() != 0) { // root may write any file
        ASSERT_EQ(::chmod(path.c_str(), 0440), 0);
        int error = 0;
        EXPECT_FALSE(out.Open(path, &error)) << "a read-only file is not replaced";
        EXPECT_EQ(error, EACCES);
    }
}

// Every way out but a commit leaves the old file whole and no temporary behind: the
// object going, an abandon, a commit after a close, a full disk, a failed rename.
TEST(OutputFileTest, EveryPathButACommitLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    const std::string path = dir.File("out.las");
    struct Case {
        const char* what;
        std::function<bool(std::optional<OutputFile>&)> end; // the result a caller sees
        bool goneAtOnce = true; // else when the object goes
    };
    const Case cases[] = {
        {"destroyed", [](std::optional<OutputFile>& f) { f.reset(); return false; }},
        {"abandoned", [](std::optional<OutputFile>& f) { f->Abandon(); return false; }},
        {"closed, then committed", [](std::optional<OutputFile>& f) { f->Close(); return f->Commit(); }},
        {"disk full",
         [](std::optional<OutputFile>& f) {
             ScopedWriteFault fault(4);
             return f->Write("more than four", 14) && f->Commit();
         },
         false},
        {"rename fails",
         [](std::optional<OutputFile>& f) {
             WriteFault::FailRename();
             const bool committed = f->Commit();
             WriteFault::Off();
             return committed;
         }},
    };
    for (const Case& c : cases) {
        Put(path, "old file");
        std::optional<OutputFile> out(std::in_place);
        ASSERT_TRUE(out->Open(path));
        ASSERT_TRUE(out->Write("partial", 7));
        EXPECT_FALSE(c.end(out)) << c.what;
        EXPECT_EQ(PartialOutputsIn(dir.Path()).empty(), c.goneAtOnce) << c.what;
        out.reset();
        EXPECT_EQ(ReadAll(path), "old file") << c.what;
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << c.what;
    }
    // Moved, the temporary belongs to the new owner only.
    OutputFile a;
    ASSERT_TRUE(a.Open(path));
    OutputFile b(std::move(a));
    ASSERT_TRUE(b.Write("moved", 5));
    a.Abandon();
    ASSERT_TRUE(b.Commit());
    EXPECT_EQ(ReadAll(path), "moved");
}

// A FIFO, a device, a folder and a missing folder are refused before anything could
// block or be created; the alarm ends a test that blocks.
TEST(OutputFileTest, NonRegularPathsAreRefusedAtOnceAsInputsAndOutputs)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(20);
    struct Case {
        std::string path;
        int error;
        std::string cause; // of the path as an input
    };
    const Case cases[] = {
        {fifo, BinaryFile::kNotRegularFile, "\n" + fifo + " is not a regular file"},
        {"/dev/null", BinaryFile::kNotRegularFile, "\n/dev/null is not a regular file"},
        {dir.Path(), EISDIR, "\n" + dir.Path() + " is a folder, not a file."},
        {dir.File("none/out"), ENOENT, "\nThere is no such file."},
    };
    for (const Case& c : cases) {
        int error = 0;
        OutputFile out;
        EXPECT_FALSE(out.Open(c.path, &error)) << c.path;
        EXPECT_EQ(error, c.error) << c.path;
        for (unsigned mode : {unsigned(BinaryFile::modeRead), unsigned(BinaryFile::modeWrite)}) {
            BinaryFile in;
            error = 0;
            EXPECT_FALSE(in.Open(c.path, mode, &error)) << c.path;
            EXPECT_EQ(error, c.error) << c.path << " mode " << mode;
        }
        EXPECT_EQ(OpenFailureCause(c.path), c.cause);
        EXPECT_EQ(OpenFailureCause(c.path, c.error), c.cause);
    }
    ::alarm(0);
    EXPECT_EQ(NotRegularFileText(fifo), fifo + " is not a regular file");
    EXPECT_EQ(OpenFailureCause(fifo, EACCES), "\nThe file may not be read (no permission).");
    EXPECT_EQ(OpenFailureCause(fifo, 0), "");
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

// In a sticky folder (mode 1777, as /tmp) only a file's owner, the folder's owner or
// the superuser may rename over the file: anyone else's output is refused at the open,
// not by the rename after all the work.
TEST(OutputFileTest, StickyFolderAllowsOnlyTheOwnersAndTheSuperuserToReplace)
{
    const struct {
        mode_t folderMode;
        uid_t folderOwner, entryOwner, user;
        bool allowed;
    } cases[] = {
        {01777, 0, 1000, 1001, false}, // a shared folder, someone else's file
        {01777, 0, 1001, 1001, true},  // the user's own file
        {01777, 1001, 1000, 1001, true}, // the user's own folder
        {01777, 0, 1000, 0, true},     // the superuser
        {0777, 0, 1000, 1001, true},   // no sticky bit: the folder's write permission decides
        {01755, 2, 3, 4, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StickyFolderAllows(c.folderMode, c.folderOwner, c.entryOwner, c.user), c.allowed)
            << std::oct << c.folderMode << std::dec << " " << c.entryOwner << " by " << c.user;
}

// The refusal for real: another user's file in a sticky folder is refused at the open
// with that cause, nothing is created, and the user's own file there is replaced. Only
// root can give a file to another user, so a child process of root becomes one.
TEST(OutputFileTest, AnotherUsersFileInAStickyFolderIsRefusedAtTheOpenWithThatCause)
{
    if (::geteuid() != 0) GTEST_SKIP() << "only root may make a file of another user (running as uid " << ::geteuid() << ")";
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string shared = dir.File("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    const std::string theirs = shared + "/theirs.qtx", mine = shared + "/mine.qtx";
    Put(theirs, "theirs");
    ASSERT_EQ(::chmod(theirs.c_str(), 0666), 0); // writable by all: only the sticky bit stops a rename
    constexpr uid_t kNobody = 65534;
    Put(mine, "mine");
    ASSERT_EQ(::chown(mine.c_str(), kNobody, kNobody), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Each failed check is its own exit code.
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(10);
        OutputFile out;
        int error = 0;
        if (out.Open(theirs, &error)) ::_exit(11);
        if (error != OutputFile::kOtherOwnerInStickyFolder) ::_exit(12);
        if (OutputFailureCause(theirs, error)
            != "\n" + theirs + " belongs to another user, and its folder " + shared
                   + " is a shared one (sticky) where only a file's owner may replace it.\nThe existing file is unchanged.")
            ::_exit(13);
        if (!PartialOutputsIn(shared).empty()) ::_exit(14);
        if (!out.Open(mine, &error) || !out.Write("new", 3) || !out.Commit()) ::_exit(15);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadAll(theirs), "theirs");
    EXPECT_EQ(ReadAll(mine), "new");
}

// A read-only file of the user's own is replaced only when asked (after the user agreed):
// until the commit it keeps its text and its mode, then the new file is writable.
TEST(OutputFileTest, AReadOnlyFileIsReplacedOnlyWhenAskedAndThenBecomesWritable)
{
    TempDir dir;
    const std::string path = dir.File("well.log");
    Put(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    struct stat st {};
    if (::geteuid() != 0) { // root may write any file
        OutputFile refused;
        int error = 0;
        EXPECT_FALSE(refused.Open(path, &error));
        EXPECT_EQ(OutputFailureCause(path, error), "\n" + path + " is read-only.\nThe existing file is unchanged.");
    }
    {
        OutputFile abandoned;
        ASSERT_TRUE(abandoned.Open(path, nullptr, true));
        ASSERT_TRUE(abandoned.Write("new", 3));
    }
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u) << "a run that does not commit changes nothing";
    EXPECT_EQ(ReadAll(path), "old");
    OutputFile out;
    ASSERT_TRUE(out.Open(path, nullptr, true));
    ASSERT_TRUE(out.Write("new", 3));
    ASSERT_TRUE(out.Commit());
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(ReadAll(path), "new");
}

} // namespace
