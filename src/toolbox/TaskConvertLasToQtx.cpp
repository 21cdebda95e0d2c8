// Convert LAS To QTX: the curves of a LAS 1.x, 2.0 or 3.0 file (one line per depth
// step) as a data set of one curve datum per curve after the depth, one frame per data
// line. What this reader cannot read right it refuses with a message before the output
// exists: wrapped lines, delimiters other than blanks and tabs, data lines whose column
// count is not the curve count, depth units other than feet and metres.
#include "toolbox/LasDoc.h"
#include "toolbox/TextImport.h"
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

using toolbox::Refuse;

namespace {

const char kOpen[] = "Could not open input LAS file :\n";
const char kSkipHeader[] = "Error skiping header section in LAS file :\n";
const char kVersion[] = "Urecognized version in LAS file :\n";
const char kReadHeader[] = "Error reading header section in LAS file :\n";
const char kUnits[] = "Error searching for depth units header section in LAS file :\n";
const char kNoDataLine[] = "Error searching data line in file :\n";
const char kWrapped[] = "Wrapped data lines (WRAP YES) are not supported in LAS file :\n";
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

int ReadLasHeader(CLasDoc& doc, const std::string& path, TextTable& t)
{
    if (!doc.OpenInput(path)) return Refuse(kOpen + path);
    if (doc.FindLineWithin("~V", 1) < 0) return Refuse(kSkipHeader + path);
    if (doc.FindLineWithin("3.", 2) < 0 && doc.FindLineWithin("2.", 2) < 0 && doc.FindLineWithin("1.", 2) < 0)
        return Refuse(kVersion + path);

    // The version section says how the data lines are laid out.
    std::string line;
    LasEntry entry;
    doc.SkipLines(1);
    while (doc.ReadLine(&line) >= 0 && !line.starts_with('~')) {
        if (!ParseEntry(line, entry)) continue;
        if (SameText(entry.mnemonic, "WRAP") && SameText(entry.value, "YES")) return Refuse(kWrapped + path);
        if (SameText(entry.mnemonic, "DLM") && !entry.value.empty() && !SameText(entry.value, "SPACE")
            && !SameText(entry.value, "TAB"))
            return Refuse(Format(kDelimiter, std::string(entry.value).c_str()) + path);
    }

    // The curve section: the first curve is the depth; it runs to the next section.
    if (doc.FindLine("~C") < 0) return Refuse(kSkipHeader + path);
    size_t curves = 0;
    for (;;) {
        if (doc.ReadLine(&line) < 0) return Refuse(kReadHeader + path);
        if (line.starts_with('~')) break;
        if (!ParseEntry(line, entry)) continue;
        if (curves++ > 0) t.datums.push_back(CurveDatum(std::string(entry.mnemonic)));
    }
    if (t.datums.empty()) return Refuse(kNoCurves);

    // The depth unit of the start depth, from the sections before the data.
    doc.Rewind();
    t.depthUnits = 0;
    while (doc.ReadLine(&line) >= 0 && !line.starts_with("~A"))
        if (ParseEntry(line, entry) && SameText(entry.mnemonic, "STRT")) {
            t.depthUnits = DepthUnits(entry.unit);
            break;
        }
    if (t.depthUnits == 0) return Refuse(kUnits + path);

    t.headerLines = doc.FindLine("~A");
    if (t.headerLines < 0) return Refuse(kSkipHeader + path);
    std::string_view data;
    int got = doc.SkipLines(t.headerLines);
    while (got >= 0 && (got = doc.ReadDataLine(&data)) >= 0 && IsBlankLine(data)) {
    }
    if (got < 0 || data.starts_with('~')) return Refuse(kNoDataLine + path);
    if (const size_t columns = CountFields(data); columns != curves)
        return Refuse(Format(kColumns, columns, curves) + path);
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
    // A curve more than a data set holds is refused before the data are read.
    if (!ReadLasHeader(doc, path, table) || !OkOrShow(RefuseDatumCount(table.datums.size(), e.Settings().outputPath))
        || !ScanDataLines(doc, table, path))
        return -1;
    e.Task().taskLine = "*** Tools (Convert LAS to QTX)";
    return RunTextImport(e, doc, table, "Convert LAS to QTX : ");
}
