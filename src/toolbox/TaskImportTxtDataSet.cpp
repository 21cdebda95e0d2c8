// Import TXT Data Set: a text curve table as a data set. The table: comment lines that
// begin with "*", one line of no meaning, the column count N (the depth's column
// included), one curve name per line for the N - 1 value columns, then data lines of N
// columns of exactly ten characters, the depth first. Names give each curve its item
// type and unit, and are kept apart in their four characters as the LAS import keeps them.
#include "toolbox/LasDoc.h"
#include "toolbox/TextImport.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <cmath>
#include <string>
#include <string_view>

using toolbox::Refuse;

namespace {

constexpr long kMinColumns = 2;
constexpr long kMaxColumns = 102;

const char kSkipHeader[] = "Error skiping header section in file :\n";
const char kCount[] = "Error reading number of curves in file :\n";
const char kColumns[] = "Encountered %s columns (2 to 102 allowed) in file :\n";
// The count a line can say in the message; a larger one is said to be more than it.
constexpr long kLargestCount = 999999999;
const char kReadHeader[] = "Error reading header section in TXT file :\n";
const char kBlankName[] = "\nThe curve name of column %ld (line %ld) is blank.";

// The integer a line begins with (blanks and a sign before it allowed); 0 when none,
// and one beyond kLargestCount for any larger.
long LeadingInteger(std::string_view line)
{
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string_view::npos) return 0;
    const bool negative = line[at] == '-';
    if (line[at] == '-' || line[at] == '+') ++at;
    long value = 0;
    for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at)
        value = std::min(value * 10 + (line[at] - '0'), kLargestCount + 1);
    return negative ? -value : value;
}

// A table names no unit apart from its curve, but a name may end in one, in square
// brackets as the program's own labels write units ("RHOB [g/cc]"): that unit with its
// brackets, or "".
std::string_view BracketedUnit(std::string_view name)
{
    const size_t open = name.rfind('[');
    if (open == std::string_view::npos || !name.ends_with(']')) return {};
    return BareUnit(name.substr(open)).empty() ? std::string_view() : name.substr(open);
}

// The item type and axis unit a curve's name gives it; later tests override earlier ones.
// A slowness whose name ends in a unit per foot or per metre is stored in that unit, read
// as the LAS import reads units; one without such a unit is per foot where "ft" is in its
// name, else per metre.
CQtxDatum ClassifiedCurve(const std::string& name)
{
    const std::string_view n = name;
    const std::string_view mnemonic = n.substr(0, 4);
    uint8_t slowness = CurveUnitCode(BracketedUnit(n));
    if (slowness != kUnitMicrosecondsPerFoot && slowness != kUnitMicrosecondsPerMetre)
        slowness = n.find("ft") != std::string_view::npos ? kUnitMicrosecondsPerFoot : kUnitMicrosecondsPerMetre;
    uint8_t type = 0;
    uint8_t unit = kUnitNone;
    if (n.starts_with("DT")) {
        type = kItemTypeSlownessCurve;
        unit = slowness;
    }
    if (n.starts_with("TT")) {
        unit = kUnitMicroseconds;
        const std::string_view receiver = n.substr(n.size() - 2);
        if (receiver[0] == 'R' && receiver[1] >= '1' && receiver[1] <= '8')
            type = uint8_t(kItemTypeTransitTimeR1 + (receiver[1] - '1'));
    }
    if (mnemonic == "FREQ") {
        type = kItemTypeFrequencyCurve;
        unit = kUnitHertz;
    }
    if (mnemonic == "SEMB") type = kItemTypeSemblanceCurve;
    if (n.starts_with("SD")) {
        type = kItemTypeSdCurve;
        unit = slowness;
    }
    if (n.starts_with("GD")) type = kItemTypeGdCurve;
    return CurveDatum(name, type, unit);
}

// The curve's unit is the one its name's classification gives; a unit in brackets it
// does not carry is told, for values in one unit stored under another would pass unseen.
// One the data set has no code for, where the curve carries none, goes with the units
// it cannot hold (unheldUnits); any other that differs into unitsChanged, with the
// label of the unit stored.
void TellBracketedUnit(const std::string& name, TextTable& t)
{
    const std::string_view bracketed = BracketedUnit(name);
    const uint8_t stored = t.datums.back().m_axis1.m_unit;
    const uint8_t named = bracketed.empty() ? stored : CurveUnitCode(bracketed);
    const bool unheld = !bracketed.empty() && named == kUnitNone && stored == kUnitNone;
    t.unheldUnits.emplace_back(unheld ? bracketed : std::string_view());
    if (named == stored) return;
    t.unitsChanged.push_back(name + (stored == kUnitNone ? " with no unit"
                                                         : " as " + CReceiverGeometry::GetUnitLabel(stored)));
}

int ReadTxtHeader(CLasDoc& doc, const std::string& path, TextTable& t)
{
    if (!OpenTextInput(doc, path)) return 0; // told by the open
    // The comment lines and the line that closes them.
    const int comments = doc.CountCommentLines();
    if (comments == CLasDoc::kEnd)
        return Refuse(kSkipHeader + path + EndedTextCause(doc.LinesRead(), "the line after its comments"));
    if (comments < 0) return Refuse(kSkipHeader + path);
    std::string line;
    int got = doc.ReadLine(&line);
    if (got == CLasDoc::kEnd) return Refuse(kCount + path + EndedTextCause(doc.LinesRead(), "its column count"));
    if (got < 0) return Refuse(kCount + path);
    const long columns = LeadingInteger(line);
    if (columns < kMinColumns || columns > kMaxColumns) {
        const std::string count = columns > kLargestCount ? Format("more than %ld", kLargestCount) : Format("%ld", columns);
        return Refuse(Format(kColumns, count.c_str()) + path);
    }
    // A blank name line ends the list early: the names would not fit the columns.
    for (long k = 1; k < columns; ++k) {
        if ((got = doc.ReadLine(&line)) < 0)
            return Refuse(kReadHeader + path
                          + (got == CLasDoc::kEnd ? EndedTextCause(doc.LinesRead(), Format("its %ld curve names", columns - 1))
                                                  : std::string()));
        const std::string name(TrimBlanks(line));
        // Columns count from the depth's, as the end message counts blank LAS names.
        if (name.empty())
            return Refuse(kReadHeader + path + Format(kBlankName, k + 1, long(comments) + 1 + k));
        t.datums.push_back(ClassifiedCurve(name));
        TellBracketedUnit(name, t);
    }
    // The item types come from the whole names, the data set's names must stay apart.
    NameUnitsNotHeld(t);
    MakeNamesDistinct(t);
    t.headerLines = comments + int(columns);
    return 1;
}

} // namespace

int ImportTxtDataSet(CToolsWnd& e)
{
    const std::string path = e.Task().primary.path;
    CLasDoc doc;
    TextTable table;
    table.columns = DataColumns::Tens;
    // The output, with all its checks, before the data are read: an output that cannot be
    // written is refused without reading a large file first.
    if (!ReadTxtHeader(doc, path, table) || !e.Output().CreateOutput(table.datums.size())
        || !ScanDataLines(doc, table, path))
        return -1;
    // Tables name no depth unit: a step of about half a foot is taken for feet.
    const double step = std::fabs(table.second - table.top);
    table.depthUnits = step >= 0.4 && step <= 0.6 ? qtx::kUnitsFeet : qtx::kUnitsMetres;
    e.Task().taskLine.clear();
    return RunTextImport(e, doc, table, "Convert TXT to QTX : ");
}
