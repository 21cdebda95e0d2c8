// Convert LAS To QTX: the curves of a LAS 1.x, 2.0 or 3.0 file (one line per depth
// step, or the lines of each step wrapped, WRAP YES) as a data set of one curve datum
// per curve after the depth, one frame per depth step; values equal to the file's NULL,
// and those that are no number, become the absent value. The curves are those of the
// curve section the data section belongs to, each under a four-character name no other
// curve of the file has; a file of one data line is one frame. What this reader cannot read right it refuses with a message
// before the output exists: delimiters other than blanks and tabs, data steps whose
// column count is not the curve count, depth units other than feet and metres.
#include "toolbox/LasDoc.h"
#include "toolbox/TextImport.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/QtxLayout.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <string>
#include <string_view>

using toolbox::Refuse;

namespace {

const char kSkipHeader[] = "Error skiping header section in LAS file :\n";
const char kVersion[] = "Urecognized version in LAS file :\n";
const char kReadHeader[] = "Error reading header section in LAS file :\n";
const char kNoCurveSection[] = "Found no curve section (~Curve, or ~Log_Definition in LAS 3.0) in LAS file :\n";
const char kNoLogData[] = "Found no log data section (~A, or ~Log_Data in LAS 3.0) in LAS file :\n";
const char kUtf16[] = "Found UTF-16 text, which this import does not read (save the file as ASCII or UTF-8 text), "
                      "in LAS file :\n";
const char kWhichCurves[] = "Found %zu curve sections (%s) the data section ~%s may belong to, and cannot tell "
                            "which, in LAS file :\n";
const char kUnits[] = "Error searching for depth units header section in LAS file :\n";
const char kNoDataLine[] = "Error searching data line in file :\n";
const char kDelimiter[] = "Data lines delimited by %s are not supported in LAS file :\n";
const char kColumns[] = "Found %zu data columns for %zu curves (the depth included) in LAS file :\n";
const char kNoCurves[] = "Could not find any data to be converted!\nOperation will be abandoned.";
constexpr size_t kTitlesShown = 5;

// One "MNEM.UNIT  VALUE : DESCRIPTION" line of a header section: the mnemonic before
// the first ".", the unit from there to the first blank, the value up to the last ":".
struct LasEntry {
    std::string_view mnemonic;
    std::string_view unit;
    std::string_view value;
};

bool ParseEntry(std::string_view line, LasEntry& entry)
{
    const size_t dot = line.find('.');
    if (line.starts_with('#') || dot == std::string_view::npos) return false;
    entry.mnemonic = TrimBlanks(line.substr(0, dot));
    std::string_view rest = line.substr(dot + 1);
    const size_t unitEnd = std::min(rest.find_first_of(" \t:"), rest.size());
    entry.unit = rest.substr(0, unitEnd);
    rest.remove_prefix(unitEnd);
    entry.value = TrimBlanks(rest.substr(0, rest.rfind(':')));
    return true;
}

// The data section's line: its title and the curve section it names after a "|" (LAS
// 3.0: "~Log_Data[2] | Log_Definition[2]").
struct DataSectionLine {
    std::string title;
    std::string curves;
};

// The curve section's title split in its name and the index LAS 3.0 numbers several
// logs by ("LOG_DEFINITION", "[2]").
std::pair<std::string, std::string> NameAndIndex(std::string_view title)
{
    const size_t open = title.find('[');
    const std::string name = Upper(title.substr(0, std::min(title.find_first_of(" \t["), title.size())));
    if (open == std::string_view::npos) return {name, ""};
    return {name, std::string(title.substr(open, title.find(']', open) - open + 1))};
}

// How well a curve section fits the data section: 2 when the data section names it, 1
// when its name is the curve list's own (LAS 1.2/2.0 "~Curve" or "~C", not "~Core"; LAS
// 3.0 "~Log_Definition" or "~Curve" of the data section's index), 0 for the others.
int CurveRank(std::string_view title, const DataSectionLine& data, bool wholeNames)
{
    if (!data.curves.empty() && SameText(TrimBlanks(title), data.curves)) return 2;
    const auto [name, index] = NameAndIndex(title);
    const bool curveName = name.starts_with("CURVE") || (wholeNames ? name == "LOG_DEFINITION" : name == "C");
    return curveName && (!wholeNames || index == NameAndIndex(data.title).second) ? 1 : 0;
}

// What the header sections said, gathered in one pass over them. The first pass finds
// the data section; the second, knowing it, takes the curve section it belongs to.
struct LasHeader {
    const DataSectionLine* data = nullptr; // the second pass: the data section's line
    DataSectionLine dataLine;              // found by the pass
    bool version = false;                  // a VERS entry of 1.x, 2.x or 3.x
    bool startSeen = false;                // the first STRT entry gave the depth unit
    bool stepSeen = false;
    uint8_t stepUnits = 0;                 // of the STEP entry
    int rank = -1;                         // of the curve section taken, -1 before one
    size_t ties = 0;                       // curve sections of that rank
    std::vector<std::string> tied;         // the first few of their titles
    size_t leftOutAt = 0;                  // where the section taken goes among those left out when a later wins
    std::string taken;                     // its title
    size_t curves = 0;                     // its entries, the depth's included (the datums keep at most a data set's)
    bool wrapped = false;                  // WRAP YES: a depth step's fields run over several lines
};

// The major version of a VERS value: 1, 2 or 3, or 0 for any other.
int LasMajorVersion(std::string_view value)
{
    double v = 0.0;
    if (ParseTextNumber(value, v)) return v >= 1.0 && v < 4.0 ? int(v) : 0;
    for (const char* known : {"1.", "2.", "3."})
        if (value.find(known) != std::string_view::npos) return known[0] - '0';
    return 0;
}

// The file's NULL: values equal to it are no measurements. -999.25 is the data set's own.
// A NaN NULL marks the values that are no number, which never equal it as numbers.
void TakeNull(std::string_view value, TextTable& t)
{
    double v = 0.0;
    if (!ParseTextNumber(value, v) || v == double(qtx::kAbsentValue)) return;
    t.null = v;
    t.nullText = std::string(value);
}

// The well section's STEP, kept for a file of one data line, which gives no other.
void TakeStep(const LasEntry& entry, LasHeader& h, TextTable& t)
{
    double v = 0.0;
    h.stepSeen = true;
    if (!ParseTextNumber(entry.value, v)) return;
    t.headerStep = v;
    h.stepUnits = DepthUnits(entry.unit);
}

// One entry line of `section`: 1, or 0 after a refusal.
int TakeEntry(LasSection section, std::string_view line, const std::string& path, LasHeader& h, TextTable& t)
{
    LasEntry entry;
    if (!ParseEntry(line, entry)) return 1;
    switch (section) {
    case LasSection::Version:
        // The version section says how the data lines are laid out.
        if (SameText(entry.mnemonic, "VERS")) {
            const int major = LasMajorVersion(entry.value);
            h.version = major != 0;
            t.lasWholeNames = major == 3;
        }
        if (SameText(entry.mnemonic, "WRAP")) h.wrapped = SameText(entry.value, "YES");
        if (SameText(entry.mnemonic, "DLM") && !entry.value.empty() && !SameText(entry.value, "SPACE")
            && !SameText(entry.value, "TAB"))
            return Refuse(Format(kDelimiter, std::string(entry.value).c_str()) + path);
        break;
    case LasSection::Well:
    case LasSection::Parameter:
        if (SameText(entry.mnemonic, "STRT") && !h.startSeen) {
            h.startSeen = true;
            t.depthUnits = DepthUnits(entry.unit);
        }
        if (section == LasSection::Well && SameText(entry.mnemonic, "STEP") && !h.stepSeen) TakeStep(entry, h, t);
        if (section == LasSection::Well && SameText(entry.mnemonic, "NULL")) TakeNull(entry.value, t);
        break;
    case LasSection::Curve:
        if (!h.data) break; // the first pass
        // The first curve is the depth. Curves past what a data set holds are counted,
        // not kept: the file is refused by their count, and a header of millions of
        // curve lines must not take memory by the line.
        if (h.curves++ > 0 && t.datums.size() < size_t(qtx::kMaxDatums)) {
            const uint8_t unit = CurveUnitCode(entry.unit);
            t.datums.push_back(CurveDatum(std::string(entry.mnemonic), 0, unit));
            const bool unheld = unit == kUnitNone && !BareUnit(entry.unit).empty();
            t.unheldUnits.emplace_back(unheld ? TrimBlanks(entry.unit) : std::string_view());
        }
        break;
    default: break;
    }
    return 1;
}

// A curve section opens: the second pass takes it when it fits the data section better
// than those before it, and notes the others among the sections left out. The section
// the entries go to is returned (Unknown for a section not taken).
LasSection OpenCurveSection(const std::string& title, LasHeader& h, TextTable& t)
{
    if (!h.data) return LasSection::Curve; // the first pass only looks for the data
    const int rank = CurveRank(title, *h.data, t.lasWholeNames);
    if (rank == h.rank) {
        ++h.ties;
        if (h.tied.size() < kTitlesShown) h.tied.push_back(title);
    }
    if (rank <= h.rank) {
        t.leftOutSections.push_back(title);
        return LasSection::Unknown;
    }
    if (h.rank >= 0) t.leftOutSections.insert(t.leftOutSections.begin() + ptrdiff_t(h.leftOutAt), h.taken);
    h.rank = rank;
    h.ties = 1;
    h.tied.assign(1, title);
    h.taken = title;
    h.leftOutAt = t.leftOutSections.size();
    h.curves = 0;
    t.datums.clear();
    t.unheldUnits.clear();
    return LasSection::Curve;
}

// UTF-16 text: a byte-order mark FF FE or FE FF, or NUL bytes between the characters.
bool IsUtf16(std::string_view first)
{
    if (first.starts_with("\xFF\xFE") || first.starts_with("\xFE\xFF")) return true;
    const size_t nuls = size_t(std::count(first.begin(), first.end(), '\0'));
    return nuls > 0 && nuls * 3 >= first.size();
}

// The "~" line of a section: 1 to go on, 0 after a refusal, 2 at the data section.
int OpenSection(std::string_view text, int64_t number, const std::string& path, TextTable& t, LasHeader& h,
                LasSection& section, bool& opened)
{
    std::string title;
    LasSection next = ClassifyLasSection(text, &title, t.lasWholeNames);
    if (!opened && next != LasSection::Version) return Refuse(kSkipHeader + path);
    opened = true;
    if (next == LasSection::Data) {
        t.headerLines = int(std::min<int64_t>(number, INT_MAX));
        const size_t bar = text.find('|');
        h.dataLine = {title, bar == std::string_view::npos ? "" : std::string(TrimBlanks(text.substr(bar + 1)))};
        return 2;
    }
    if (next == LasSection::Curve) {
        next = OpenCurveSection(title, h, t);
    } else if (next == LasSection::Unknown || next == LasSection::OtherData) {
        t.leftOutSections.push_back(title);
        next = LasSection::Unknown;
    }
    section = next;
    return 1;
}

// Reads the sections from the first line to the data section's, whose number it keeps
// in headerLines. Comment lines ("#") and blank lines may stand anywhere; sections are
// told by name, and those this import does not read are noted by title.
int ReadLasSections(CLasDoc& doc, const std::string& path, TextTable& t, LasHeader& h)
{
    std::string line;
    LasSection section = LasSection::Unknown;
    bool opened = false; // a LAS file opens with its version section
    doc.Rewind();
    for (int64_t number = 1;; ++number) {
        const int got = doc.ReadLine(&line);
        if (got == CLasDoc::kLongLine) return Refuse(LongLineRefusal(number, path));
        if (!opened && got >= 0 && IsUtf16(line)) return Refuse(kUtf16 + path);
        // The text ends before the data: inside the curve list, that list was cut short.
        if (got < 0)
            return Refuse((section == LasSection::Curve ? kReadHeader : opened ? kNoLogData : kSkipHeader) + path
                          + EndedTextCause(number - 1, opened ? "its log data section (~A)" : "its version section (~V)"));
        const std::string_view text = TrimBlanks(line);
        if (text.empty() || text.starts_with('#')) continue;
        if (!text.starts_with('~')) {
            if (!opened) return Refuse(kSkipHeader + path);
            if (!TakeEntry(section, text, path, h, t)) return 0;
            continue;
        }
        const int opening = OpenSection(text, number, path, t, h, section, opened);
        if (opening != 1) return opening == 2 ? 1 : 0;
    }
}

// The file with too many curves is named, with the limit and what to do.
Status CurveCountFits(size_t curves, const std::string& path)
{
    if (curves <= size_t(qtx::kMaxDatums)) return {};
    return Status::Failure(LimitRefusal(Format("Encountered %zu curves after the depth", curves), path,
                               Format("A data set holds at most %d: split the file's curves into files of at most %d.",
                                      qtx::kMaxDatums, qtx::kMaxDatums)));
}

// The curve section the data belong to, its entries in the table: 1, or 0 after a refusal.
int ReadCurveSection(CLasDoc& doc, const std::string& path, TextTable& t, LasHeader& h)
{
    const TextTable start = t;
    if (!ReadLasSections(doc, path, t, h)) return 0;
    const DataSectionLine data = h.dataLine;
    t = start;
    h = LasHeader();
    h.data = &data;
    if (!ReadLasSections(doc, path, t, h)) return 0;
    h.data = nullptr;
    if (!h.version) return Refuse(kVersion + path);
    if (h.rank < 0) return Refuse(kNoCurveSection + path);
    if (h.ties > 1) {
        std::string titles = NameList(h.tied);
        if (h.ties > h.tied.size()) titles += Format(" and %zu more", h.ties - h.tied.size());
        return Refuse(Format(kWhichCurves, h.ties, titles.c_str(), data.title.c_str()) + path);
    }
    return OkOrShow(CurveCountFits(h.curves == 0 ? 0 : h.curves - 1, path)) ? 1 : 0;
}

} // namespace

int ReadLasHeader(CLasDoc& doc, const std::string& path, TextTable& t)
{
    if (!OpenTextInput(doc, path)) return 0; // told by the open
    LasHeader h;
    t.depthUnits = 0;
    if (!ReadCurveSection(doc, path, t, h)) return 0;
    if (t.datums.empty()) return Refuse(kNoCurves);
    if (t.depthUnits == 0) return Refuse(kUnits + path);
    NameUnitsNotHeld(t);
    MakeNamesDistinct(t);
    // A STEP in the other depth unit than STRT's is brought to STRT's.
    if (h.stepUnits != 0 && h.stepUnits != t.depthUnits)
        t.headerStep = h.stepUnits == qtx::kUnitsFeet ? t.headerStep * 0.3048 : t.headerStep * 3.28084;
    // Every reading from here on takes a wrapped step's lines as one.
    if (h.wrapped) doc.SetWrappedFields(h.curves);

    // The first data line holds a value for every curve.
    std::string_view data;
    int64_t number = t.headerLines;
    int got = doc.SkipLines(t.headerLines);
    while (got >= 0 && (got = doc.ReadDataLine(&data)) >= 0) {
        number += doc.LinesTaken();
        if (!IsBlankLine(data) && !TrimBlanks(data).starts_with('#')) break;
    }
    if (got == CLasDoc::kLongLine) return Refuse(LongLineRefusal(number + doc.LinesTaken(), path));
    if (got < 0) return Refuse(kNoDataLine + path + EndedTextCause(doc.LinesRead(), "its first data line"));
    if (data.starts_with('~')) return Refuse(kNoDataLine + path);
    if (const size_t columns = CountFields(data); columns != h.curves)
        return Refuse(Format(kColumns, columns, h.curves) + path);
    doc.SkipLines(t.headerLines);
    return 1;
}

int ConvertLasToQtx(CToolsWnd& e)
{
    const std::string path = e.Task().primary.path;
    CLasDoc doc;
    TextTable table;
    table.columns = DataColumns::Blanks;
    table.sectionEndsData = true;
    table.hashComments = true;
    table.oneLine = true;
    // The output, with all its checks, before the data are read: an output that cannot be
    // written is refused without reading a large file first.
    if (!ReadLasHeader(doc, path, table) || !e.Output().CreateOutput(table.datums.size())
        || !ScanDataLines(doc, table, path))
        return -1;
    e.Task().taskLine = "*** Tools (Convert LAS to QTX)";
    return RunTextImport(e, doc, table, "Convert LAS to QTX : ");
}
