#include "platform/OutputFile.h"

#include "platform/Path.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSuffixLetters = 6;

std::string RandomLetters()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string s;
    for (int i = 0; i < kSuffixLetters; ++i) s += kLetters[pick(random)];
    return s;
}

// The rename is durable only once the folder's entry is on the disk; a file system
// that cannot flush a folder has nothing more to do, so its refusal is no failure.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

OutputFile::~OutputFile() { Abandon(); }

OutputFile::OutputFile(OutputFile&& other) noexcept : BinaryFile(std::move(other))
{
    m_target = std::move(other.m_target);
    m_temporary = std::move(other.m_temporary);
    other.m_temporary.clear();
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept
{
    if (this != &other) {
        Abandon();
        BinaryFile::operator=(std::move(other));
        m_target = std::move(other.m_target);
        m_temporary = std::move(other.m_temporary);
        other.m_temporary.clear();
    }
    return *this;
}

bool OutputFile::Open(const std::string& path, int* errorCode)
{
    Abandon();
    const auto fail = [errorCode](int code) {
        if (errorCode) *errorCode = code;
        errno = code > 0 ? code : EINVAL;
        return false;
    };
    if (path.empty()) return fail(ENOENT);

    std::string target = path;
    struct stat st {};
    mode_t mode = 0666;
    bool replaces = false;
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return fail(EISDIR);
        if (!S_ISREG(st.st_mode)) return fail(kNotRegularFile);
        // A file its owner made read-only was never opened for writing: a rename must
        // not replace it either.
        if (::access(path.c_str(), W_OK) != 0) return fail(errno);
        replaces = true;
        mode = st.st_mode & 07777;
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            char resolved[PATH_MAX];
            if (::realpath(path.c_str(), resolved)) target = resolved;
        }
    }

    int fd = -1;
    std::string temporary;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = target + kPartialSuffix + RandomLetters();
        fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR) return fail(errno);
    }
    if (fd < 0) return fail(EEXIST);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // A replacement keeps the permissions of the file it replaces.
    if (replaces) ::fchmod(fd, mode);

    Adopt(fd, path, true);
    StartWritebackEarly();
    m_target = target;
    m_temporary = temporary;
    return true;
}

bool OutputFile::Commit()
{
    if (m_temporary.empty()) {
        errno = EBADF;
        return false;
    }
    if (!SyncAndClose()) {
        const int error = errno;
        Abandon();
        errno = error;
        return false;
    }
    if (WriteFault::RenameFails() || ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = WriteFault::RenameFails() ? EIO : errno;
        Abandon();
        errno = error;
        return false;
    }
    m_temporary.clear();
    const std::string folder = FolderOf(m_target);
    SyncFolder(folder.empty() ? "." : folder);
    return true;
}

void OutputFile::Abandon()
{
    BinaryFile::Close();
    if (m_temporary.empty()) return;
    const int saved = errno;
    ::unlink(m_temporary.c_str());
    errno = saved;
    m_temporary.clear();
}
