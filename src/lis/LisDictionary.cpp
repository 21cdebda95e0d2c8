#include "lis/LisDictionary.h"

#include "common/OutputGuard.h"
#include "platform/FileChoice.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
#include "platform/Path.h"

#include <algorithm>

namespace {

const char kNoEntry[] = "Encountered no dictionary entry in file :\n%s\nOperation will be abandoned.";
const char kTooManyEntries[] = "Encountered more than %zu dictionary entries in file :\n%s\nOperation will be abandoned.";

bool IsLineEnd(uint8_t c) { return c == '\r' || c == '\n'; }

void ToUpper(std::string& s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
}

// Field i of a record line; missing fields (also negative positions, which the
// from-the-end mappings give on short lines) read as empty.
class FieldView {
public:
    explicit FieldView(const std::vector<std::string>& fields) : m_fields(fields) {}
    int Count() const { return int(m_fields.size()); }
    const std::string& operator[](int i) const
    {
        static const std::string empty;
        return i >= 0 && i < Count() ? m_fields[size_t(i)] : empty;
    }

private:
    const std::vector<std::string>& m_fields;
};

using Entry = CLisDictionaryEntry;

// Fields first..first+count-1 into list[0..count-1], as far as the list has room.
void FillList(Entry::List& list, const FieldView& f, int first, int count)
{
    for (int i = 0; i < count && i < int(lisdic::kListSize); ++i) list[size_t(i)] = f[first + i];
}

// Most records start with their waveform mnemonics, as many as the section counts.
void FillWaves(Entry& e, const FieldView& f, int count)
{
    FillList(e.m_waveMnemonics, f, 0, count);
    e.m_mnemonicCount = uint8_t(count);
}

// Most records end in the waveform's name and the item's label.
void FillNames(Entry& e, const FieldView& f, int at)
{
    e.m_waveName = f[at];
    e.m_itemLabel = f[at + 1];
}

void FillXmac(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 1);
    e.m_gainMnemonics[0] = f[1];
    e.m_extraMnemonics[0] = f[2];
    FillNames(e, f, 3);
}

void FillApx(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 1);
    e.m_gainMnemonics[0] = f[1];
    FillNames(e, f, 2);
}

void FillDal(Entry& e, const FieldView& f)
{
    FillXmac(e, f);
    e.m_mnemonicCount = 4;
}

void FillDsi(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 1);
    if (f.Count() == 5) {
        e.m_periodParam = f[1];
        e.m_delayParam = f[2];
        FillNames(e, f, 3);
    } else {
        e.m_gainMnemonics[0] = f[1];
        e.m_extraMnemonics[0] = f[2];
        e.m_samplesParam = f[3];
        e.m_periodParam = f[4];
        e.m_receiversParam = f[5];
        FillNames(e, f, 6);
    }
}

void FillSlt(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 2);
    FillList(e.m_extraMnemonics, f, 2, 2);
    e.m_delayParam = f[4];
    e.m_periodParam = f[5];
    FillNames(e, f, 6);
}

void FillQslt(Entry& e, const FieldView& f)
{
    // The section counts five though its records name one mnemonic.
    e.m_waveMnemonics[0] = f[0];
    e.m_mnemonicCount = 5;
    e.m_delayParam = f[1];
    e.m_samplesParam = f[2];
    e.m_periodParam = f[3];
    FillNames(e, f, 4);
}

void FillIsonic(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 8);
    e.m_delayParam = f[8];
    e.m_periodParam = f[9];
    FillNames(e, f, 10);
}

void FillWavesonic(Entry& e, const FieldView& f)
{
    // Lines of one or two fields give no mnemonics (the count would go negative).
    FillWaves(e, f, std::clamp(f.Count() - 2, 0, int(lisdic::kListSize)));
    FillNames(e, f, f.Count() - 2);
}

void FillBat(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 7);
    FillNames(e, f, 7);
}

void FillFws(Entry& e, const FieldView& f)
{
    if (f.Count() > 2) {
        FillWaves(e, f, 4);
        FillList(e.m_gainMnemonics, f, 4, 4);
    } else {
        FillWaves(e, f, 1);
    }
    FillNames(e, f, f.Count() - 2);
}

void FillScout(Entry& e, const FieldView& f)
{
    if (f.Count() == 3) {
        FillWaves(e, f, 1);
        FillNames(e, f, 1);
    } else if (f.Count() == 6) {
        FillWaves(e, f, 4);
        FillNames(e, f, 4);
    }
}

void FillLss(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 2);
    FillList(e.m_gainMnemonics, f, 2, 2);
    e.m_itemLabel = f[4];
}

void FillDslt(Entry& e, const FieldView& f)
{
    FillWaves(e, f, 2);
    FillList(e.m_extraMnemonics, f, 2, 2);
    e.m_delayParam = f[4];
    e.m_itemLabel = f[5];
}

void FillQtx(Entry& e, const FieldView& f)
{
    e.m_waveMnemonics[0] = f[0];
    e.m_samplesParam = f[1];
    e.m_periodParam = f[2];
    e.m_delayParam = f[3];
    e.m_receiversParam = f[4];
    e.m_waveName = f[5];
    e.m_mnemonicCount = 0;
}

// The file's bytes; a failure names why it cannot be opened or read (a size limit included).
Status ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    BinaryFile file;
    if (Status opened = OpenInputFile(file, path, {0, lisdic::kMaxFileBytes}); !opened) return opened;
    const int64_t length = file.GetLength();
    bytes.resize(size_t(std::max<int64_t>(length, 0)));
    if (length < 0 || file.Read(bytes.data(), bytes.size()) != bytes.size())
        return Status::Failure("Error reading input file :\n" + path);
    return Status();
}

} // namespace

struct CLisDictionary::Section {
    const char* name;     // the "~" line that opens it (upper case)
    const char* toolName; // given to every entry it makes
    void (*fill)(CLisDictionaryEntry&, const FieldView&); // nullptr: the DEPTH section
};

void lisdic::Scramble(std::vector<uint8_t>& bytes)
{
    int lineEnds = 0;
    size_t i = 0;
    for (; i < bytes.size() && lineEnds < kPlainLineEnds; ++i)
        if (IsLineEnd(bytes[i])) ++lineEnds;
    for (; i < bytes.size(); ++i) bytes[i] ^= kScrambleKey;
}

int CLisDictionary::Load(const std::string& directory)
{
    if (m_loaded) return 1;
    const std::string path = JoinPath(directory, lisdic::kFileName);
    if (!FileExists(path)) return 0;
    BinaryFile file;
    if (!file.Open(path, BinaryFile::modeRead)) return 0;
    return Load(file);
}

int CLisDictionary::Load(BinaryFile& file)
{
    if (m_loaded) return 1;
    const int64_t length = file.GetLength();
    if (length < 0 || length > lisdic::kMaxFileBytes) return 0;
    std::vector<uint8_t> text(static_cast<size_t>(length));
    if (file.Seek(0) != 0 || file.Read(text.data(), text.size()) != text.size()) return 0;
    lisdic::Scramble(text);
    return ParsePlain(std::move(text));
}

int CLisDictionary::ParsePlain(std::vector<uint8_t> text)
{
    m_text = std::move(text);
    m_cursor = 0;
    m_full = false;
    int result = ParseText();
    if (m_full) {
        m_entries.clear();
        m_loaded = false;
        result = 0;
    }
    m_text.clear();
    m_text.shrink_to_fit();
    m_cursor = 0;
    return result;
}

int CLisDictionary::ParseText()
{
    static const Section kSections[] = {
        {"~DEPTH", lisdic::kDepthTool, nullptr},
        {"~MAC/XMAC", "Xmac", FillXmac},
        {"~APX", "Apx", FillApx},
        {"~DAL", "DAL", FillDal},
        {"~DSI", "Dsi", FillDsi},
        {"~SLT", "SLT", FillSlt},
        {"~QSLT", "Qslt", FillQslt},
        {"~ISONIC", "Isonic", FillIsonic},
        {"~WAVESONIC", "Wavesonic", FillWavesonic},
        {"~BAT", "Bat", FillBat},
        {"~FWS", "Fws", FillFws},
        {"~CLSS/SCOUT", "Scout", FillScout},
        {"~LSS", "LSS", FillLss},
        {"~DSLT", "Dslt", FillDslt},
        {"~QTX", "QTX", FillQtx},
    };
    while (m_cursor < m_text.size()) {
        const std::string line = ReadLine();
        if (line.empty() || line[0] != '~') continue;
        for (const Section& s : kSections) {
            if (line != s.name) continue;
            if (s.fill)
                ParseRecordSection(s);
            else
                ParseDepthSection();
            break;
        }
    }
    m_loaded = true;
    return 1;
}

std::string CLisDictionary::ReadLine()
{
    // A line ends at LF, CR or CR LF, whichever system saved the text; the text's end
    // ends its last line.
    std::string line;
    while (m_cursor < m_text.size()) {
        const uint8_t c = m_text[m_cursor++];
        if (c == '\n') break;
        if (c == '\r') {
            if (m_cursor < m_text.size() && m_text[m_cursor] == '\n') ++m_cursor;
            break;
        }
        line += char(c);
        if (line.size() > lisdic::kMaxLineLength) {
            line = lisdic::kLineTooLong;
            break;
        }
    }
    ToUpper(line);
    return line;
}

CLisDictionaryEntry* CLisDictionary::NewEntry(const char* toolName)
{
    if (m_entries.size() >= lisdic::kMaxEntries) {
        m_full = true;
        m_cursor = m_text.size();
        return nullptr;
    }
    m_entries.push_back(std::make_unique<CLisDictionaryEntry>());
    m_entries.back()->m_toolName = toolName;
    return m_entries.back().get();
}

void CLisDictionary::ParseDepthSection()
{
    CLisDictionaryEntry* entry = NewEntry(lisdic::kDepthTool);
    if (!entry) return;
    while (m_cursor < m_text.size()) {
        const std::string line = ReadLine();
        if (line == lisdic::kSectionEnd) break;
        // Depth mnemonics past the list's room are dropped.
        if (entry->m_mnemonicCount < lisdic::kListSize) entry->m_waveMnemonics[entry->m_mnemonicCount++] = line;
    }
}

void CLisDictionary::ParseRecordSection(const Section& section)
{
    // A section closed by "END::" leaves one entry with nothing but its tool name; one
    // cut short by the text's end keeps the records read and makes no such entry. A
    // blank line is no record.
    while (m_cursor < m_text.size()) {
        const std::string line = ReadLine();
        if (line.empty()) continue;
        CLisDictionaryEntry* entry = NewEntry(section.toolName);
        if (!entry || line == lisdic::kSectionEnd) break;
        const Fields fields = SplitFields(line);
        section.fill(*entry, FieldView(fields));
    }
}

CLisDictionary::Fields CLisDictionary::SplitFields(const std::string& line)
{
    Fields fields;
    size_t start = 0;
    while (fields.size() < lisdic::kMaxFields) {
        const size_t colon = line.find(':', start);
        if (colon == std::string::npos) {
            fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, colon - start));
        start = colon + 1;
    }
    return fields;
}

int CLisDictionary::FindTool(std::vector<CLisDictionaryEntry*>& out, const std::string& toolName)
{
    int found = 0;
    for (const auto& entry : m_entries) {
        if (entry->m_toolName != toolName) continue;
        out.push_back(entry.get());
        found = 1;
    }
    return found;
}

Status CLisDictionary::Import(const std::string& directory)
{
    FileDialogOptions options;
    options.open = true;
    options.title = "Dictionary File to Import";
    options.filter = "Dictionary Text(.txt)|*.txt|All files(*.*)|*.*|";
    const FileDialogResult chosen = ChooseFile(options);
    if (!chosen.ok) return Status::Quiet();

    // The new dictionary takes its name only when whole, so a failed import leaves
    // the old one as it was.
    const std::string dit = JoinPath(directory, lisdic::kFileName);
    if (Status spared = OutputSparesInputs(dit, {chosen.path}); !spared) return spared;

    std::vector<uint8_t> bytes;
    if (Status read = ReadWholeFile(chosen.path, bytes); !read) return read;
    // Text the loader would read no entry from (any file picked by mistake) would
    // replace a working dictionary with an empty one.
    CLisDictionary probe;
    if (!probe.ParsePlain(bytes))
        return Status::Failure(Format(kTooManyEntries, lisdic::kMaxEntries, chosen.path.c_str()));
    if (probe.m_entries.empty()) return Status::Failure(Format(kNoEntry, chosen.path.c_str()));
    lisdic::Scramble(bytes);

    OutputFile output;
    int openError = 0;
    if (!output.Open(dit, &openError))
        return Status::Failure("Could not open output file :\n" + dit + OutputFailureCause(dit, openError));
    if (!output.Write(bytes.data(), bytes.size()) || !output.Commit())
        return Status::Failure("Error writing dictionary in file :\n" + dit + OutputFailureCause(dit, output.Error()));
    return Status();
}
