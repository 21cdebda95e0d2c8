#include "platform/BinaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>

namespace {
constexpr size_t kSmallRead = 16 * 1024;
constexpr size_t kWindowSize = 256 * 1024;
constexpr size_t kWritebackBytes = 8u << 20;

std::atomic<bool> g_faultArmed{false};
std::atomic<int64_t> g_faultBudget{0};
std::atomic<int64_t> g_faultWritten{0};
std::atomic<bool> g_faultTripped{false};
std::atomic<bool> g_renameFails{false};

// How many of n bytes the armed budget still allows (n when unarmed).
size_t FaultAllowance(size_t n)
{
    if (!g_faultArmed.load(std::memory_order_relaxed)) return n;
    const int64_t before = g_faultWritten.fetch_add(int64_t(n), std::memory_order_relaxed);
    const int64_t left = g_faultBudget.load(std::memory_order_relaxed) - before;
    if (left >= int64_t(n)) return n;
    g_faultTripped.store(true, std::memory_order_relaxed);
    return left > 0 ? size_t(left) : 0;
}
} // namespace

void WriteFault::FailAfter(int64_t bytes)
{
    g_faultWritten = 0;
    g_faultTripped = false;
    g_faultBudget = std::max<int64_t>(bytes, 0);
    g_faultArmed = true;
}

void WriteFault::FailRename() { g_renameFails = true; }
bool WriteFault::RenameFails() { return g_renameFails.load(std::memory_order_relaxed); }

void WriteFault::Off()
{
    g_renameFails = false;
    g_faultArmed = false;
    g_faultWritten = 0;
    g_faultTripped = false;
}

int64_t WriteFault::Written() { return g_faultWritten.load(std::memory_order_relaxed); }
bool WriteFault::Tripped() { return g_faultTripped.load(std::memory_order_relaxed); }

BinaryFile::~BinaryFile() { Close(); }

void BinaryFile::Forget() const
{
    m_windowLength = 0;
    m_length = -1;
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept { *this = std::move(other); }

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        m_mem = std::move(other.m_mem);
        m_memWritable = other.m_memWritable;
        m_writable = other.m_writable;
        m_pos = other.m_pos;
        m_readAhead = other.m_readAhead;
        m_writeError = other.m_writeError;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
        other.m_mem.reset();
        other.m_pos = 0;
        Forget();
        other.Forget();
    }
    return *this;
}

bool BinaryFile::Open(const std::string& path, unsigned flags, int* errorCode)
{
    Close();
    const auto fail = [errorCode](int code) {
        if (errorCode) *errorCode = code;
        return false;
    };
    // A FIFO would block the open until a writer or reader came, a device would
    // never end: both are refused by a look before the open.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile);

    int oflags = O_CLOEXEC | O_NONBLOCK;
    const bool wantRead = flags & modeRead;
    const bool wantWrite = flags & modeWrite;
    if (wantRead && wantWrite)
        oflags |= O_RDWR;
    else if (wantWrite)
        oflags |= O_WRONLY;
    else
        oflags |= O_RDONLY;
    if (flags & modeCreate)
        oflags |= O_CREAT | O_TRUNC;
    int fd;
    do {
        fd = ::open(path.c_str(), oflags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return fail(errno == ENXIO ? kNotRegularFile : errno); // ENXIO: a FIFO without a reader
    // The path may have been swapped since the look: the opened file decides.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    Adopt(fd, path, wantWrite);
    return true;
}

void BinaryFile::Adopt(int fd, const std::string& path, bool writable)
{
    Close();
    m_fd = fd;
    m_writable = writable;
    m_pos = 0;
    m_writeError = 0;
    m_path = path;
}

bool BinaryFile::SyncAndClose()
{
    if (m_fd < 0) return false;
    int synced;
    do {
        synced = ::fsync(m_fd);
    } while (synced != 0 && errno == EINTR);
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    Close();
    return synced == 0 && closed;
}

void BinaryFile::OpenMemory(std::shared_ptr<std::vector<uint8_t>> bytes, bool writable)
{
    Close();
    m_mem = bytes ? std::move(bytes) : std::make_shared<std::vector<uint8_t>>();
    m_memWritable = writable;
    m_writable = writable;
    m_pos = 0;
    m_path = "<memory>";
}

void BinaryFile::EnableReadAhead(bool enable)
{
    m_readAhead = enable;
    Forget();
}

void BinaryFile::Close()
{
    Forget();
    m_readAhead = false;
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_mem.reset();
    m_pos = 0;
    m_writable = false;
    m_earlyWriteback = false;
    m_sinceWriteback = 0;
}

size_t BinaryFile::ReadAt(int64_t position, void* buffer, size_t n) const
{
    if (!IsOpen() || position < 0 || n == 0) return 0;
    if (m_mem || !m_readAhead || n > kSmallRead) return ReadAtOnAnyThread(position, buffer, n);
    const bool inside =
        m_windowLength > 0 && position >= m_windowStart && uint64_t(position - m_windowStart) + n <= m_windowLength;
    if (!inside) {
        m_window.resize(kWindowSize);
        m_windowStart = position;
        m_windowLength = 0;
        while (m_windowLength < kWindowSize) {
            const ssize_t got = ::pread(m_fd, m_window.data() + m_windowLength, kWindowSize - m_windowLength,
                                        off_t(position + int64_t(m_windowLength)));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            m_windowLength += size_t(got);
        }
    }
    const uint64_t offset = uint64_t(position - m_windowStart);
    if (offset >= m_windowLength) return 0;
    const size_t take = size_t(std::min<uint64_t>(n, m_windowLength - offset));
    std::memcpy(buffer, m_window.data() + offset, take);
    return take;
}

size_t BinaryFile::ReadAtOnAnyThread(int64_t position, void* buffer, size_t n) const
{
    if (!IsOpen() || position < 0 || n == 0) return 0;
    if (m_mem) {
        const auto size = int64_t(m_mem->size());
        if (position >= size) return 0;
        const size_t take = size_t(std::min<int64_t>(int64_t(n), size - position));
        std::memcpy(buffer, m_mem->data() + position, take);
        return take;
    }
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(m_fd, out + done, n - done, off_t(position + int64_t(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    return done;
}

size_t BinaryFile::Read(void* buffer, size_t n)
{
    const size_t got = ReadAt(m_pos, buffer, n);
    m_pos += int64_t(got);
    return got;
}

bool BinaryFile::WriteAt(int64_t position, const void* buffer, size_t n)
{
    if (!IsOpen() || !m_writable || position < 0) return false;
    Forget();
    if (n == 0) return true;
    if (m_mem) {
        if (uint64_t(position) + n > uint64_t(std::numeric_limits<int32_t>::max())) return false;
        if (m_mem->size() < size_t(position) + n) m_mem->resize(size_t(position) + n);
        std::memcpy(m_mem->data() + position, buffer, n);
        return true;
    }
    const auto* in = static_cast<const uint8_t*>(buffer);
    const size_t allowed = FaultAllowance(n);
    const auto failed = [this](int error) {
        if (!m_writeError) m_writeError = error;
        errno = error;
        return false;
    };
    size_t done = 0;
    while (done < allowed) {
        const ssize_t put = ::pwrite(m_fd, in + done, allowed - done, off_t(position + int64_t(done)));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return failed(put == 0 ? ENOSPC : errno);
        done += size_t(put);
    }
    if (allowed < n) return failed(ENOSPC);
    if (m_earlyWriteback && (m_sinceWriteback += n) >= kWritebackBytes) {
        // Starts the disk write of what is dirty without waiting for it.
        ::sync_file_range(m_fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        m_sinceWriteback = 0;
    }
    return true;
}

bool BinaryFile::Write(const void* buffer, size_t n)
{
    if (!WriteAt(m_pos, buffer, n)) return false;
    m_pos += int64_t(n);
    return true;
}

int64_t BinaryFile::Seek(int64_t offset, SeekOrigin origin)
{
    if (!IsOpen()) return -1;
    int64_t base = 0;
    if (origin == current) base = m_pos;
    else if (origin == end) {
        base = GetLength();
        if (base < 0) return -1;
    }
    const int64_t target = base + offset;
    if (target < 0) return -1;
    m_pos = target;
    return m_pos;
}

int64_t BinaryFile::GetLength() const
{
    if (m_mem) return int64_t(m_mem->size());
    if (m_fd < 0) return -1;
    if (m_readAhead && m_length >= 0) return m_length;
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) return -1;
    // Kept until this object writes: readers ask for the length before every record.
    m_length = int64_t(st.st_size);
    return m_length;
}

bool BinaryFile::SetLength(int64_t length)
{
    if (!IsOpen() || !m_writable || length < 0) return false;
    Forget();
    if (m_mem) {
        m_mem->resize(size_t(length));
        return true;
    }
    if (::ftruncate(m_fd, off_t(length)) == 0) return true;
    if (!m_writeError) m_writeError = errno;
    return false;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string NotRegularFileText(const std::string& path) { return path + " is not a regular file"; }

namespace {

std::string InputCauseText(const std::string& path, int errorCode)
{
    switch (errorCode) {
    case 0: return {};
    case BinaryFile::kNotRegularFile: return NotRegularFileText(path);
    case ENOENT: return "There is no such file.";
    case EISDIR: return path + " is a folder, not a file.";
    case EACCES:
    case EPERM: return "The file may not be read (no permission).";
    case ENOTDIR: return "A part of the path before the name is a file, not a folder.";
    case ELOOP: return "The name is a chain of symbolic links that leads to no file.";
    case ENAMETOOLONG: return "The name is too long.";
    default: return std::strerror(errorCode);
    }
}

std::string Line(const std::string& text)
{
    if (text.empty()) return text;
    std::string line = "\n"; // appended, not "\n" + ...: gcc 12 warns falsely on that form
    line += text;
    return line;
}

} // namespace

std::string OpenFailureCause(const std::string& path, int errorCode) { return Line(InputCauseText(path, errorCode)); }

std::string OpenFailureCause(const std::string& path)
{
    struct stat st {};
    int error = 0;
    if (::stat(path.c_str(), &st) != 0) error = errno;
    else if (S_ISDIR(st.st_mode)) error = EISDIR;
    else if (!S_ISREG(st.st_mode)) error = BinaryFile::kNotRegularFile;
    else if (::access(path.c_str(), R_OK) != 0) error = errno;
    return OpenFailureCause(path, error);
}

std::string ShortInputCause(int64_t length, uint64_t headerBytes)
{
    if (length < 0 || uint64_t(length) >= headerBytes) return {};
    if (length == 0) return Line("The file is empty.");
    return Line("The file is " + std::to_string(length) + (length == 1 ? " byte" : " bytes")
                + " long, shorter than the " + std::to_string(headerBytes) + "-byte header of its format.");
}

std::string OversizeInputCause(int64_t length, int64_t limit)
{
    if (limit <= 0 || length <= limit) return {};
    return Line("The file is " + std::to_string(length) + " bytes long, over the limit of " + std::to_string(limit)
                + " bytes this command reads.");
}

std::string EndedTextCause(int64_t lines, const std::string& awaited)
{
    if (lines <= 0) return Line("The file holds no line of text.");
    return Line("The text ends after " + std::to_string(lines) + (lines == 1 ? " line" : " lines") + ", before "
                + awaited + ".");
}

std::string ZeroBytesCause(int64_t zeros, int64_t length)
{
    if (zeros >= length) return Line("The file holds zero bytes only (" + std::to_string(zeros) + "), no text.");
    return Line("The file begins with " + std::to_string(zeros) + " zero bytes, no text.");
}

Status OpenInputFile(BinaryFile& file, const std::string& path, const InputRule& rule)
{
    int error = 0;
    if (!file.Open(path, BinaryFile::modeRead, &error))
        return Status::Failure(kCouldNotOpenInput + path + OpenFailureCause(path, error));
    const int64_t length = file.GetLength();
    std::string cause = OversizeInputCause(length, rule.maxBytes);
    if (!cause.empty()) {
        file.Close();
        return Status::Failure(kCouldNotOpenInput + path + cause);
    }
    cause = ShortInputCause(length, rule.headerBytes);
    if (!cause.empty()) {
        file.Close();
        return Status::Failure(rule.headerFailure + path + cause);
    }
    return Status();
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
