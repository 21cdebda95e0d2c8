// A printed PDF that cannot be written whole (the disk fills, a file-size limit) is no
// document: the job fails, says why, and an older PDF of the name stays byte for byte.
#include "platform/BinaryFile.h"
#include "platform/qt/QtPrintJob.h"
#include "support/KilledWriter.h"
#include "support/TempDir.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>

#include <gtest/gtest.h>

namespace {

std::string ReadAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<none>");
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

// Three pages of numbered lines: a document of some hundreds of kilobytes.
bool PrintDocument(const std::string& path, std::string& why)
{
    auto job = CreatePdfPrintJob(path);
    if (!job->StartDoc("PDF Log")) {
        why = job->FailureText();
        return false;
    }
    for (int page = 0; page < 3; ++page) {
        if (!job->StartPage()) return false;
        Dc& dc = job->PageDc();
        for (int k = 0; k < 1500; ++k) {
            dc.TextOut(40 + k % 7, 40 + 2 * k, std::to_string(page * 100003 + k * 7919));
            dc.MoveTo(400 + (k * 37) % 1500, 40 + 2 * k);
            dc.LineTo(400 + (k * 91) % 1800, 43 + 2 * k);
        }
        job->EndPage();
    }
    const bool ended = job->EndDoc();
    why = job->FailureText();
    return ended;
}

class QtPdfFailure : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        ASSERT_TRUE(PrintDocument(clean, why)) << why;
        size = int64_t(ReadAll(clean).size());
        ASSERT_GT(size, 20000);
        WriteAll(path, old);
    }
    void ExpectOldKept(const std::string& how)
    {
        EXPECT_EQ(ReadAll(path), old) << how;
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << how;
    }

    TempDir dir;
    std::string clean = dir.File("clean.pdf"), path = dir.File("log.pdf");
    const std::string old = "%PDF-1.4 the user's older log";
    int64_t size = 0;
};

TEST_F(QtPdfFailure, AFullDiskFailsTheJobAndKeepsTheOlderPdf)
{
    for (const int64_t at : {int64_t(0), size / 10, size / 2, size - 10}) {
        const std::string how = "disk full after " + std::to_string(at) + " of " + std::to_string(size);
        std::string why;
        {
            ScopedWriteFault fault(at);
            EXPECT_FALSE(PrintDocument(path, why)) << how;
        }
        EXPECT_NE(why.find("The disk is full."), std::string::npos) << how << ": " << why;
        EXPECT_NE(why.find("The existing file is unchanged."), std::string::npos) << how << ": " << why;
        ExpectOldKept(how);
    }
}

// The limit is set in a child, which tells through its exit code: 0 failed and told the
// limit, 1 reported success, 2 failed without naming the limit.
TEST_F(QtPdfFailure, AFileSizeLimitFailsTheJobAndKeepsTheOlderPdf)
{
    for (const int64_t limit : {size / 10, size / 2, size - 10}) {
        const std::string how = "limit " + std::to_string(limit) + " of " + std::to_string(size);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            ::alarm(60);
            const rlimit cap{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(RLIMIT_FSIZE, &cap);
            std::string why;
            const bool ended = PrintDocument(path, why);
            ::_exit(ended ? 1 : why.find("file-size limit") == std::string::npos ? 2 : 0);
        }
        int status = -1;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << how << ": the child ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << how;
        ExpectOldKept(how);
    }
}

} // namespace
