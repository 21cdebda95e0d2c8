// OutputFile: the one way a command creates a file. Everything is written into a
// temporary beside the chosen name ("<name>.partial-XXXXXX", in the same folder so
// that the rename cannot cross file systems); Commit flushes it to the disk and
// renames it over the chosen name, so that name holds the old file or the whole new
// one, never a part, even when the program is killed. Every path that does not
// commit (a failure, a Stop that abandons, the destructor) removes the temporary.
// Writers seek back and patch headers on the temporary before they commit.
// While it is written the temporary is locked (flock): a run that opens the same name
// later removes the temporaries of killed runs, which nobody locks any more, and
// leaves those of writers still at work.
#pragma once

#include "platform/BinaryFile.h"

#include <string>
#include <sys/types.h>

class OutputFile : public BinaryFile {
public:
    // What follows the chosen name in a temporary's name (then six characters).
    static constexpr const char* kPartialSuffix = ".partial-";
    // The error code of an open refused because the name holds another user's file in a
    // sticky folder (mode 1777, as /tmp): the rename at the commit could not replace it.
    static constexpr int kOtherOwnerInStickyFolder = -3;

    OutputFile() = default;
    ~OutputFile();
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;

    // Creates the temporary for `path`, open for reading and writing; an open output
    // is abandoned first. Refuses (false, *errorCode set) without creating anything
    // whatever the commit could not replace: a folder (EISDIR), a FIFO, device or socket
    // (kNotRegularFile), an existing file the user may not write, another user's file in
    // a sticky folder (kOtherOwnerInStickyFolder), a missing or unwritable folder (their
    // errno). A symbolic link is followed: its target is replaced, or created when it
    // does not exist yet. A replacement keeps the old file's permissions, and its owner
    // and group where the process may set them. Temporaries of the same name left by
    // killed runs go. `replaceReadOnly` (after the user agreed) replaces a read-only file
    // of the user's own as well; the new file is then writable by its owner.
    bool Open(const std::string& path, int* errorCode = nullptr, bool replaceReadOnly = false);

    // Flushes the temporary, renames it over the chosen name and flushes the folder.
    // On failure the temporary is gone, the chosen name holds what it held before,
    // errno is set and false returned. The object is closed either way.
    bool Commit();
    // Closes and removes the temporary; the chosen name is untouched. Close() (of
    // BinaryFile) only closes the descriptor: the temporary then goes with the object or
    // a later Abandon, and a Commit after it fails.
    void Abandon();

    // The chosen name (GetPath) and the temporary's, empty when not open.
    const std::string& TemporaryPath() const { return m_temporary; }
    // The errno of the last failure since Open (the open, a write, the commit), else 0.
    int Error() const { return m_error ? m_error : WriteError(); }

private:
    void Release(); // closes the lock, which the temporary no longer needs

    std::string m_target;    // where Commit renames to (a symbolic link's target)
    std::string m_temporary;
    int m_lock = -1; // a second descriptor of the temporary holding its flock until it is renamed or gone
    int m_error = 0;
};

// Whether `user` may replace (rename over) an entry owned by `entryOwner` in a folder of
// `folderMode` owned by `folderOwner`: in a sticky folder only the entry's owner, the
// folder's owner or the superuser may. (Write permission on the folder is asked apart.)
bool StickyFolderAllows(mode_t folderMode, uid_t folderOwner, uid_t entryOwner, uid_t user);

// The lines to add to a message about an output that could not be written: its cause
// in words (the disk full, a file-size limit, a name too long for its folder, a folder
// not writable, another user's file in a sticky folder, ...), each said only when the
// file system shows it to be so, and, when a file is under the name, that it is unchanged. Each
// line begins with "\n"; empty when there is nothing to say. A writer that may still
// commit what it wrote before the failure passes olderKept false: the cause only.
std::string OutputFailureCause(const std::string& path, int error, bool olderKept = true);

