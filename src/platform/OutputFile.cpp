#include "platform/OutputFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSuffixLetters = 6;
constexpr int kMaxLinks = 40; // as the system's own limit on a chain of symbolic links
const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The folder as the system resolves it: before the last '/', "." when there is none.
// (Path.h's FolderOf also splits at '\\', which on this system is a letter of a name.)
std::string SystemFolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomLetters()
{
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string s;
    for (int i = 0; i < kSuffixLetters; ++i) s += kLetters[pick(random)];
    return s;
}

size_t NameMax(const std::string& folder)
{
    const long max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? size_t(max) : size_t(NAME_MAX);
}

// The temporaries' names before their letters: "<name>.partial-", the name cut (at a
// character's start) so that a name near the folder's longest still has a temporary.
std::string TemporaryStem(const std::string& target)
{
    const std::string folder = SystemFolderOf(target);
    std::string name = NameOf(target);
    const size_t room = NameMax(folder) - std::strlen(OutputFile::kPartialSuffix) - kSuffixLetters;
    if (name.size() > room) {
        size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return target.substr(0, target.size() - NameOf(target).size()) + name + OutputFile::kPartialSuffix;
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

// Whether `fd` is still the file under `path` (a clearing run may have removed it).
bool SameFile(int fd, const std::string& path)
{
    struct stat byFd {}, byName {};
    return ::fstat(fd, &byFd) == 0 && byFd.st_nlink > 0 && ::lstat(path.c_str(), &byName) == 0
        && byFd.st_dev == byName.st_dev && byFd.st_ino == byName.st_ino;
}

// Removes the temporaries of `stem` nobody holds locked: those of killed runs. A live
// writer holds its lock until its temporary is renamed or removed.
void ClearLeftovers(const std::string& stem)
{
    const std::string folder = SystemFolderOf(stem), prefix = NameOf(stem);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + kSuffixLetters || name.compare(0, prefix.size(), prefix) != 0
            || name.find_first_not_of(kLetters, prefix.size()) != std::string::npos)
            continue;
        const std::string path = folder + "/" + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && SameFile(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// Follows a symbolic link that leads nowhere yet to the name it leads to, which the
// output then creates. 0, or the errno of a chain that cannot be followed.
int DanglingTarget(const std::string& path, std::string& target)
{
    std::string current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) return errno;
            target = current;
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) return ELOOP; // it exists after all: changed meanwhile
        char link[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), link, sizeof link - 1);
        if (n < 0) return errno;
        const std::string next(link, size_t(n));
        current = next[0] == '/' ? next : SystemFolderOf(current) + "/" + next;
    }
    return ELOOP;
}

// Creates a temporary of `stem` and locks it. -1 with errno set when none could be made.
int CreateLockedTemporary(const std::string& stem, std::string& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + RandomLetters();
        const int fd =
            ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) continue;
            return -1;
        }
        // A file system without locks has no leftovers cleared either: a clearer locks first.
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if ((locked || errno != EWOULDBLOCK) && SameFile(fd, temporary)) return fd;
        // A clearing run took it between its creation and the lock: it is that run's to remove.
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Whether the file `file` under `target` is another user's in a sticky folder: the
// rename of the commit could not replace it.
bool StickyFolderForbids(const std::string& target, const struct stat& file)
{
    struct stat folder {};
    return ::stat(SystemFolderOf(target).c_str(), &folder) == 0
        && !StickyFolderAllows(folder.st_mode, folder.st_uid, file.st_uid, ::geteuid());
}

} // namespace

bool StickyFolderAllows(mode_t folderMode, uid_t folderOwner, uid_t entryOwner, uid_t user)
{
    return !(folderMode & S_ISVTX) || user == 0 || user == entryOwner || user == folderOwner;
}

OutputFile::~OutputFile() { Abandon(); }

OutputFile::OutputFile(OutputFile&& other) noexcept : BinaryFile(std::move(other))
{
    m_target = std::move(other.m_target);
    m_temporary = std::move(other.m_temporary);
    m_lock = other.m_lock;
    m_error = other.m_error;
    other.m_temporary.clear();
    other.m_lock = -1;
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept
{
    if (this != &other) {
        Abandon();
        BinaryFile::operator=(std::move(other));
        m_target = std::move(other.m_target);
        m_temporary = std::move(other.m_temporary);
        m_lock = other.m_lock;
        m_error = other.m_error;
        other.m_temporary.clear();
        other.m_lock = -1;
    }
    return *this;
}

bool OutputFile::Open(const std::string& path, int* errorCode, bool replaceReadOnly)
{
    Abandon();
    m_error = 0;
    const auto fail = [this, errorCode](int code) {
        if (errorCode) *errorCode = code;
        m_error = code;
        errno = code > 0 ? code : EINVAL;
        return false;
    };
    if (path.empty()) return fail(ENOENT);

    std::string target = path;
    struct stat st {};
    bool replaces = false;
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return fail(EISDIR);
        if (!S_ISREG(st.st_mode)) return fail(kNotRegularFile);
        // A file its owner made read-only was never opened for writing: a rename must
        // not replace it either, unless its owner agreed.
        const bool mayChangeMode = ::geteuid() == 0 || ::geteuid() == st.st_uid;
        if (!(replaceReadOnly && mayChangeMode) && ::access(path.c_str(), W_OK) != 0) return fail(errno);
        replaces = true;
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            char resolved[PATH_MAX];
            if (::realpath(path.c_str(), resolved)) target = resolved;
        }
        // Found now, not by the rename after all the work.
        if (StickyFolderForbids(target, st)) return fail(kOtherOwnerInStickyFolder);
    } else if (errno == ENOENT) {
        // A link that leads to no file yet: the file is made where it leads, the link stays.
        if (const int error = DanglingTarget(path, target)) return fail(error);
    } else {
        // A loop of links, a path through a file: the rename would replace the link itself.
        return fail(errno);
    }
    // The rename would refuse a name longer than the folder allows, after all the work.
    if (NameOf(target).size() > NameMax(SystemFolderOf(target))) return fail(ENAMETOOLONG);

    const std::string stem = TemporaryStem(target);
    ClearLeftovers(stem);
    std::string temporary;
    const int fd = CreateLockedTemporary(stem, temporary);
    if (fd < 0) return fail(errno);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // A replacement keeps the owner, group and permissions of the file it replaces, as
    // far as the process may give them: a user who is not the owner keeps at least the group.
    if (replaces) {
        if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, uid_t(-1), st.st_gid) != 0) {
            // Neither was allowed: the file is the writer's, which every later step accepts.
        }
        ::fchmod(fd, (st.st_mode & 07777) | (replaceReadOnly ? S_IWUSR : 0));
    }
    // The lock lives on a second descriptor: the first is flushed and closed before the rename.
    m_lock = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);

    Adopt(fd, path, true);
    StartWritebackEarly();
    m_target = target;
    m_temporary = temporary;
    return true;
}

bool OutputFile::Commit()
{
    if (m_temporary.empty()) {
        errno = m_error = EBADF;
        return false;
    }
    if (!SyncAndClose()) {
        const int error = errno;
        Abandon();
        errno = m_error = error;
        return false;
    }
    if (WriteFault::RenameFails() || ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = WriteFault::RenameFails() ? EIO : errno;
        Abandon();
        errno = m_error = error;
        return false;
    }
    m_temporary.clear();
    Release();
    SyncFolder(SystemFolderOf(m_target));
    return true;
}

void OutputFile::Abandon()
{
    BinaryFile::Close();
    if (!m_temporary.empty()) {
        const int saved = errno;
        ::unlink(m_temporary.c_str());
        errno = saved;
        m_temporary.clear();
    }
    Release();
}

void OutputFile::Release()
{
    if (m_lock < 0) return;
    const int saved = errno;
    ::close(m_lock);
    errno = saved;
    m_lock = -1;
}

namespace {

// The folder a missing output would be made in: for a link that leads nowhere yet, the
// folder of the name it leads to.
std::string FolderMadeIn(const std::string& path)
{
    std::string target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode) || DanglingTarget(path, target) != 0) target = path;
    return SystemFolderOf(target) == "." ? std::string("the current folder") : SystemFolderOf(target);
}

// The file a path leads to (its links followed), else the path as given.
std::string ResolvedPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// A folder as FolderMadeIn names it, back as a path the system takes.
std::string FolderPath(const std::string& folder) { return folder == "the current folder" ? "." : folder; }

std::string StickyText(const std::string& path, const std::string& folder)
{
    return path + " belongs to another user, and its folder " + folder
         + " is a shared one (sticky) where only a file's owner may replace it.";
}

// A refused permission, by what the file system shows: the file's mode, a sticky
// folder, the folder's own permissions, else the system's word.
std::string PermissionCause(const std::string& path, const std::string& folder, int error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        const std::string target = ResolvedPath(path);
        if (StickyFolderForbids(target, st)) return StickyText(path, SystemFolderOf(target));
        if (::access(path.c_str(), W_OK) != 0) return path + " is read-only.";
    }
    const std::string at = FolderPath(folder);
    if (::access(at.c_str(), F_OK) != 0 && errno == EACCES) return "The folder " + folder + " may not be entered.";
    if (::access(at.c_str(), W_OK) != 0 && errno == EACCES) return "The folder " + folder + " is not writable.";
    return std::string("The system refused the write: ") + std::strerror(error) + ".";
}

std::string CauseOf(const std::string& path, int error)
{
    if (path.empty() && error == ENOENT) return "No file name was given.";
    const std::string folder = FolderMadeIn(path);
    switch (error) {
    case 0: return {};
    case BinaryFile::kNotRegularFile: return NotRegularFileText(path);
    case OutputFile::kOtherOwnerInStickyFolder: return StickyText(path, SystemFolderOf(ResolvedPath(path)));
    case EISDIR: return path + " is a folder.";
    case ENOSPC: return "The disk is full.";
    case EDQUOT: return "The disk quota is used up.";
    case EFBIG: return "The file would pass the largest size this program may write (a file-size limit).";
    case ENAMETOOLONG: return "The name is too long for its folder.";
    case ENOENT:
        if (::access(FolderPath(folder).c_str(), F_OK) == 0)
            return std::strerror(error);
        return "The folder " + folder + " does not exist.";
    case ENOTDIR: return "A part of the path before the name is a file, not a folder.";
    case EROFS: return "The disk is read-only.";
    case EIO: return "The disk reported an input/output error.";
    case ELOOP: return "The name is a chain of symbolic links that leads to no file.";
    case EACCES:
    case EPERM: return PermissionCause(path, folder, error);
    default: return std::strerror(error);
    }
}

} // namespace

std::string OutputFailureCause(const std::string& path, int error, bool olderKept)
{
    std::string text;
    const std::string cause = CauseOf(path, error);
    if (!cause.empty()) {
        text += "\n";
        text += cause;
    }
    if (olderKept && FileExists(path)) text += "\nThe existing file is unchanged.";
    return text;
}
