// OutputFile: the one way a command creates a file. Everything is written into a
// temporary beside the chosen name ("<name>.partial-XXXXXX", in the same folder so
// that the rename cannot cross file systems); Commit flushes it to the disk and
// renames it over the chosen name, so that name holds the old file or the whole new
// one, never a part, even when the program is killed. Every path that does not
// commit (a failure, a Stop that abandons, the destructor) removes the temporary.
// Writers seek back and patch headers on the temporary before they commit.
#pragma once

#include "platform/BinaryFile.h"

#include <string>

class OutputFile : public BinaryFile {
public:
    // What follows the chosen name in a temporary's name (then six characters).
    static constexpr const char* kPartialSuffix = ".partial-";

    OutputFile() = default;
    ~OutputFile();
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;

    // Creates the temporary for `path`, open for reading and writing; an open output
    // is abandoned first. Refuses (false, *errorCode set) without creating anything:
    // a folder (EISDIR), a FIFO, device or socket (kNotRegularFile), an existing file
    // the user may not write, a missing or unwritable folder (their errno). A symbolic
    // link is followed: its target is replaced.
    bool Open(const std::string& path, int* errorCode = nullptr);

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
    // The descriptor of the temporary, for a writer that needs it (the PDF printer).
    int Handle() const { return Descriptor(); }

private:
    std::string m_target;    // where Commit renames to (a symbolic link's target)
    std::string m_temporary;
};

