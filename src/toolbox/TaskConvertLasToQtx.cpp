// Convert LAS To QTX: the curves of a LAS 1.x, 2.0 or 3.0 file (one line per depth
// step, or the lines of each step wrapped, WRAP YES) as a data set of one curve datum
// per curve after the depth, one frame per depth step; values equal to the file's NULL
// become the absent value. What this reader cannot read right it refuses with a message
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
const char kUnits[] = "Error searching for depth units header section in LAS file :\n";
const char kNoDataLine[] = "Error searching data line in file :\n";
const char kDelimiter[] = "Data lines delimited by %s are not supported in LAS file :\n";
const char kColumns[] = "Found %zu data columns for %zu curves (the depth included) in LAS file :\n";
const char kNoCurves[] = "Could not find any data to be converted!\nOperation will be abandoned.";

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

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

// The depth unit of the STRT entry: feet, metres, or 0 for any other.
uint8_t DepthUnits(std::string_view unit)
{
    for (const char* feet : {"F", "FT", "FEET", "FOOT"})
        if (SameText(unit, feet)) return qtx::kUnitsFeet;
    for (const char* metres : {"M", "METER", "METERS", "METRE", "METRES"})
        if (SameText(unit, metres)) return qtx::kUnitsMetres;
    return 0;
}

// What the header sections said, gathered in one pass over them.
struct LasHeader {
    bool version = false;      // a VERS entry of 1.x, 2.x or 3.x
    bool curveSection = false; // the first curve section opened
    bool curvesRead = false;   // ... and closed: a later one is left out
    bool startSeen = false;    // the first STRT entry gave the depth unit
    size_t curves = 0;         // entries of the curve section, the depth's included
    bool wrapped = false;      // WRAP YES: a depth step's fields run over several lines
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
void TakeNull(std::string_view value, TextTable& t)
{
    double v = 0.0;
    if (!ParseTextNumber(value, v) || v == double(qtx::kAbsentValue)) return;
    t.null = v;
    t.nullText = std::string(value);
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
        if (section == LasSection::Well && SameText(entry.mnemonic, "NULL")) TakeNull(entry.value, t);
        break;
    case LasSection::Curve:
        // The first curve is the depth; a unit a data set can name is kept.
        if (h.curves++ > 0)
            t.datums.push_back(CurveDatum(std::string(entry.mnemonic), 0, CLasDoc::UnitCode(entry.unit)));
        break;
    default: break;
    }
    return 1;
}

// Reads the sections from the first line to the data section's, whose number it keeps
// in headerLines. Comment lines ("#") and blank lines may stand anywhere; sections are
// told by name, and those this import does not read are noted by title.
int ReadLasSections(CLasDoc& doc, const std::string& path, TextTable& t, LasHeader& h)
{
    std::string line, title;
    LasSection section = LasSection::Unknown;
    bool opened = false; // a LAS file opens with its version section
    doc.Rewind();
    for (int64_t number = 1;; ++number) {
        const int got = doc.ReadLine(&line);
        if (got == CLasDoc::kLongLine) return Refuse(LongLineRefusal(number, path));
        // The text ends before the data: inside the curve list, that list was cut short.
        if (got < 0) return Refuse((section == LasSection::Curve ? kReadHeader : kSkipHeader) + path);
        const std::string_view text = TrimBlanks(line);
        if (text.empty() || text.starts_with('#')) continue;
        if (!text.starts_with('~')) {
            if (!opened) return Refuse(kSkipHeader + path);
            if (!TakeEntry(section, text, path, h, t)) return 0;
            continue;
        }
        LasSection next = ClassifyLasSection(text, &title, t.lasWholeNames);
        if (!opened && next != LasSection::Version) return Refuse(kSkipHeader + path);
        opened = true;
        if (section == LasSection::Curve) h.curvesRead = true;
        if (next == LasSection::Data) {
            t.headerLines = int(std::min<int64_t>(number, INT_MAX));
            return 1;
        }
        if (next == LasSection::Curve && !h.curvesRead) h.curveSection = true;
        else if (next == LasSection::Curve || next == LasSection::Unknown || next == LasSection::OtherData) {
            t.leftOutSections.push_back(title);
            next = LasSection::Unknown;
        }
        section = next;
    }
}

// The file with too many curves is named, with the limit and what to do.
int RefuseCurveCount(size_t curves, const std::string& path)
{
    if (curves <= size_t(qtx::kMaxDatums)) return 1;
    return Refuse(LimitRefusal(Format("Encountered %zu curves after the depth", curves), path,
                               Format("A data set holds at most %d: split the file's curves into files of at most %d.",
                                      qtx::kMaxDatums, qtx::kMaxDatums)));
}

int ReadLasHeader(CLasDoc& doc, const std::string& path, TextTable& t)
{
    if (!doc.OpenInput(path)) return 0; // told by the open
    LasHeader h;
    t.depthUnits = 0;
    if (!ReadLasSections(doc, path, t, h)) return 0;
    if (!h.version) return Refuse(kVersion + path);
    if (!h.curveSection) return Refuse(kNoCurveSection + path);
    if (t.datums.empty()) return Refuse(kNoCurves);
    if (t.depthUnits == 0) return Refuse(kUnits + path);
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
    if (got < 0 || data.starts_with('~')) return Refuse(kNoDataLine + path);
    if (const size_t columns = CountFields(data); columns != h.curves)
        return Refuse(Format(kColumns, columns, h.curves) + path);
    doc.SkipLines(t.headerLines);
    return 1;
}

} // namespace

int ConvertLasToQtx(CToolsWnd& e)
{
    const std::string path = e.Task().primary.path;
    CLasDoc doc;
    TextTable table;
    table.columns = DataColumns::Blanks;
    table.sectionEndsData = true;
    table.hashComments = true;
    // A curve more than a data set holds is refused before the data are read.
    if (!ReadLasHeader(doc, path, table) || !RefuseCurveCount(table.datums.size(), path)
        || !ScanDataLines(doc, table, path))
        return -1;
    e.Task().taskLine = "*** Tools (Convert LAS to QTX)";
    return RunTextImport(e, doc, table, "Convert LAS to QTX : ");
}
