// The LIS tool dictionary: per tool, records naming the LIS channel mnemonics of one
// output item, the parameters that describe it, its waveform name and item label.
// Users keep it as text (any line ends: LF, CR LF or CR) and import it into
// "LisDic.dit" in their data folder; that file holds the text with every byte after its second end-of-line character
// XORed with a one-byte key.
#pragma once

#include "platform/BinaryFile.h"
#include "platform/Status.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lisdic {

constexpr const char* kFileName = "LisDic.dit";
constexpr uint8_t kScrambleKey = 0x6D;
// End-of-line characters (CR and LF each count one) that stay plain at the file's start.
constexpr int kPlainLineEnds = 2;
constexpr size_t kMaxLineLength = 90;   // a longer line reads as kLineTooLong
constexpr size_t kMaxFields = 32;       // fields of a record line; later ones are dropped
constexpr size_t kListSize = 16;        // strings in each mnemonic list of an entry
constexpr const char* kLineTooLong = "Line too long";
constexpr const char* kSectionEnd = "END::";
// Larger files are refused rather than allocated: real dictionaries are a few kilobytes.
constexpr int64_t kMaxFileBytes = 16 * 1024 * 1024;
// Entries one dictionary may hold (real ones hold a few hundred). Each entry takes about
// 2 KB whatever its line's length: a file of more is refused, so that millions of short
// lines cannot take gigabytes.
constexpr size_t kMaxEntries = 16384;

constexpr const char* kDepthTool = "DepthMnemonics";

// Scrambles or unscrambles (the operation is its own inverse): bytes up to and
// including the second CR or LF stay, every later byte is XORed with the key.
void Scramble(std::vector<uint8_t>& bytes);

} // namespace lisdic

class CLisDictionaryEntry {
public:
    using List = std::array<std::string, lisdic::kListSize>;

    std::string m_toolName;      // "Xmac", "Dsi", ...; FindTool compares against it
    uint8_t m_mnemonicCount = 0; // meaningful entries of m_waveMnemonics, as the section sets it (<= 16)
    List m_waveMnemonics;        // receiver channels (DEPTH section: the depth mnemonics)
    List m_gainMnemonics;
    List m_extraMnemonics;
    std::string m_samplesParam;
    std::string m_periodParam;
    std::string m_receiversParam;
    std::string m_delayParam;
    std::string m_waveName;
    std::string m_itemLabel;
};

class CLisDictionary {
public:
    CLisDictionary() = default;
    CLisDictionary(const CLisDictionary&) = delete;
    CLisDictionary& operator=(const CLisDictionary&) = delete;

    // Reads `directory`/LisDic.dit into the entry list. Returns 1 on success or when
    // already loaded; 0 when the file is missing, unreadable, larger than
    // lisdic::kMaxFileBytes or holds more than lisdic::kMaxEntries entries (the entry
    // list then stays empty).
    int Load(const std::string& directory);
    // Same from a file the caller opened (read from offset 0; position left at its end).
    int Load(BinaryFile& file);

    // Appends to `out`, in dictionary order, every entry whose tool name equals
    // `toolName` exactly (case-sensitive); 1 if at least one was appended. The
    // entries stay owned by the dictionary.
    int FindTool(std::vector<CLisDictionaryEntry*>& out, const std::string& toolName);

    // Process > Dictionary: asks for a text file and writes it scrambled to
    // `directory`/LisDic.dit. Fails quietly when cancelled or when the text is the
    // dictionary itself (told at once); with its message when the text cannot be read,
    // holds no entry the loader would read or more than lisdic::kMaxEntries, or the
    // output cannot be written (the old
    // dictionary then stays and no partial file remains).
    Status Import(const std::string& directory);

    bool IsLoaded() const { return m_loaded; }
    const std::vector<std::unique_ptr<CLisDictionaryEntry>>& Entries() const { return m_entries; }

private:
    struct Section;
    using Fields = std::vector<std::string>;

    // Parses unscrambled text as Load does: 1, or 0 (no entry kept) for more entries than
    // lisdic::kMaxEntries.
    int ParsePlain(std::vector<uint8_t> text);
    // The entry a section line makes; nullptr once the dictionary is full (the rest of
    // the text is then skipped).
    CLisDictionaryEntry* NewEntry(const char* toolName);
    int ParseText();
    // The next line (ended by LF, CR LF, CR or the text's end), upper-cased.
    std::string ReadLine();
    void ParseDepthSection();
    void ParseRecordSection(const Section& section);
    static Fields SplitFields(const std::string& line);

    bool m_loaded = false;
    std::vector<std::unique_ptr<CLisDictionaryEntry>> m_entries; // in file order
    std::vector<uint8_t> m_text; // the unscrambled file while Load runs
    size_t m_cursor = 0;         // next byte of m_text to read
    bool m_full = false;         // the text holds more entries than lisdic::kMaxEntries
};
