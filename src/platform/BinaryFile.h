// The platform's binary file: 64-bit offsets, short reads reported by their count.
// Two backends behind one class: a disk file and a memory buffer (tests feed byte
// vectors built in code through the latter).
#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class BinaryFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x1,
        modeWrite = 0x2,
        modeReadWrite = 0x3,
        modeCreate = 0x4, // create, or truncate an existing file
    };
    enum SeekOrigin { begin, current, end };
    // The error code of an open refused because the path names a FIFO, a device or a
    // socket: opening one could block, and reading one would not read a file.
    static constexpr int kNotRegularFile = -2;

    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;

    // Opens a disk file; any open file is closed first. On failure returns false,
    // leaves the object closed and stores errno (or kNotRegularFile) in *errorCode
    // when given. Never blocks: a path that is no regular file is refused before
    // anything could wait on it. Outputs are created through OutputFile, not here.
    bool Open(const std::string& path, unsigned flags, int* errorCode = nullptr);
    // Opens a memory buffer shared with the caller; writes grow it.
    void OpenMemory(std::shared_ptr<std::vector<uint8_t>> bytes, bool writable = true);

    bool IsOpen() const { return m_fd >= 0 || m_mem != nullptr; }
    void Close();
    const std::string& GetPath() const { return m_path; }

    // Reads up to n bytes at the current position and advances past them.
    // Returns the number of bytes read: fewer than n at the end of the file or on
    // an error, 0 when closed.
    size_t Read(void* buffer, size_t n);
    // Reads up to n bytes at an absolute position; the current position stays.
    size_t ReadAt(int64_t position, void* buffer, size_t n) const;
    // The same read past the read-ahead window, which it leaves alone: safe on several
    // threads at once while nobody writes the file.
    size_t ReadAtOnAnyThread(int64_t position, void* buffer, size_t n) const;
    // Writes all n bytes at the current position and advances; false on any failure
    // (the position then stands after the bytes that were written).
    bool Write(const void* buffer, size_t n);
    bool WriteAt(int64_t position, const void* buffer, size_t n);

    // Returns the new position, or -1 (position unchanged) for a negative target or a closed file.
    int64_t Seek(int64_t offset, SeekOrigin origin = begin);
    int64_t GetPosition() const { return IsOpen() ? m_pos : -1; }
    // Length in bytes, -1 when closed or on error.
    int64_t GetLength() const;
    bool SetLength(int64_t length);

    // For readers that walk many small headers of a file nobody changes meanwhile
    // (LIS records): reads of up to 16 KiB come from a 256 KiB read-ahead window and the
    // length is asked of the system once. Writes through this object still see both
    // renewed; changes made by others are not seen.
    void EnableReadAhead(bool enable = true);
protected:
    // Takes ownership of an opened descriptor (OutputFile's temporary).
    void Adopt(int fd, const std::string& path, bool writable);
    // A file that will be flushed to the disk at its end hands every few megabytes
    // to the disk as they are written, so the final flush overlaps the work instead
    // of waiting for all of it.
    void StartWritebackEarly() { m_earlyWriteback = true; }
    int Descriptor() const { return m_fd; }
    // The errno of the first write that failed since the file was opened, else 0.
    int WriteError() const { return m_writeError; }
    // Closes the descriptor after flushing it to the disk; false when either fails.
    bool SyncAndClose();

private:
    void Forget() const; // drops the read-ahead window and the cached length

    int m_fd = -1;
    // Small reads (record headers) are served from a read-ahead window: a reader
    // walking headers of a few bytes would otherwise pay a system call for each.
    mutable std::vector<uint8_t> m_window;
    mutable int64_t m_windowStart = 0;
    mutable size_t m_windowLength = 0;
    mutable int64_t m_length = -1;
    bool m_readAhead = false;
    std::shared_ptr<std::vector<uint8_t>> m_mem;
    bool m_memWritable = false;
    bool m_writable = false;
    bool m_earlyWriteback = false;
    size_t m_sinceWriteback = 0; // bytes written since the disk was last handed some
    int64_t m_pos = 0;
    int m_writeError = 0; // kept past Close: the message about a failed output is given after it
    std::string m_path;
};

// Fault injection for tests: disk writes (not memory buffers) fail once a budget of
// bytes, counted process-wide from the moment it is set, is spent. The write that
// crosses the budget puts the bytes that fit and fails with ENOSPC, as a full disk
// would; every later write fails too until the budget is lifted. Off by default; when
// off a write pays one relaxed atomic load.
class WriteFault {
public:
    static void FailAfter(int64_t bytes);
    static void Off();
    // Bytes offered to disk writes since the last FailAfter (a huge budget measures a
    // writer's output, to choose failure points inside it).
    static int64_t Written();
    // Whether a write has been refused since the last FailAfter.
    static bool Tripped();
    // Every OutputFile commit fails at its rename (as on a full or read-only folder)
    // until Off.
    static void FailRename();
    static bool RenameFails();
};
// Sets a write budget for one scope.
struct ScopedWriteFault {
    explicit ScopedWriteFault(int64_t bytes) { WriteFault::FailAfter(bytes); }
    ~ScopedWriteFault() { WriteFault::Off(); }
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;
};

bool FileExists(const std::string& path);
// "<path> is not a regular file": the one text for a refused FIFO, device or socket.
std::string NotRegularFileText(const std::string& path);

// ---- inputs ---------------------------------------------------------------------------
// Every command tells an input it cannot read in one form: its reader's first line and
// the path ("Could not open input file :\n<path>"; "Error reading header in file :\n<path>"
// for a file too short for its header), then the cause on a line of its own: no such
// file, a folder, no permission, not a regular file, empty, shorter than its header,
// over a size limit. The causes are worded here and nowhere else.

// The line to add to an open failure's message for `errorCode` (an errno, or
// kNotRegularFile): "\n" and the cause; empty for 0.
std::string OpenFailureCause(const std::string& path, int errorCode);
// The same for a caller that kept no error code: asks the file system (never opens).
std::string OpenFailureCause(const std::string& path);
// The line to add for a file of `length` bytes that a format needs `headerBytes` of:
// "\nThe file is empty." or how much shorter it is; empty when it is long enough.
std::string ShortInputCause(int64_t length, uint64_t headerBytes);
// The line to add for a file of `length` bytes over a reader's limit of `limit` bytes.
std::string OversizeInputCause(int64_t length, int64_t limit);
// Text inputs (read line by line, no fixed header): the line to add for a text that
// ends after `lines` lines, before `awaited` (what its reader still needed, "its data
// section"); and for a file whose first `zeros` bytes of `length` are all zero, as a
// crash often leaves one, which holds no text in any encoding.
std::string EndedTextCause(int64_t lines, const std::string& awaited);
std::string ZeroBytesCause(int64_t zeros, int64_t length);

// The first line of every input's refusal, the path and its cause following.
inline constexpr char kCouldNotOpenInput[] = "Could not open input file :\n";

// What a reader needs of its input before its first read.
struct InputRule {
    uint64_t headerBytes = 0; // a shorter file is refused (1: an empty one is)
    int64_t maxBytes = 0;     // a longer file is refused; 0: no limit
    const char* headerFailure = "Error reading header in file :\n"; // the reader's line for a short file
};
// Opens `path` for reading as a command's input and holds it to `rule`. On failure the
// file is closed and the message in the form above is returned, for the caller to show.
Status OpenInputFile(BinaryFile& file, const std::string& path, const InputRule& rule = {});
// Whether both paths name one existing file (same device and inode), so hard and
// symbolic links and other spellings of a path count as the same file.
bool IsSameFile(const std::string& a, const std::string& b);
