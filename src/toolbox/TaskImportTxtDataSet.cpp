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

// A table names no unit apart from its curve, but a name may end in one: in square
// brackets or parentheses ("RHOB [g/cc]", "DTC (USEC/FT)"; an unclosed one as if closed,
// "DT [US/FT"), or after a blank where it reads as a unit the data set holds: a last word
// ("DT US/FT") or the words either side of a slash with blanks around it ("DT US / FT").
// Any other last word is part of the name ("TT R1", "DT 1"), and so is a number in
// brackets, an index and no unit ("GR(1)").
enum class UnitEnclosure : uint8_t { None, Brackets, Parentheses };
struct NamedCurve {
    std::string_view name; // without its unit
    std::string_view unit; // as written, with its brackets; "" where the name gives none
    std::string_view bare; // the unit without its brackets and the blanks inside them
    UnitEnclosure enclosure = UnitEnclosure::None;
};

// Digits alone name no unit: "(1)" numbers a curve.
bool IsIndex(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Where the unit a name may end in after a blank begins, 0 where it ends in none: the
// words either side of its last slash ("US / FT", "US /FT"), else its last word, the
// first of them that reads as a unit the data set holds.
size_t UnitAfterBlank(std::string_view whole)
{
    const auto wordAfterBlank = [](std::string_view text) {
        const size_t blank = text.find_last_of(" \t");
        return blank == std::string_view::npos ? 0 : blank + 1;
    };
    const auto reads = [&](size_t at) { return at > 0 && CurveUnitCode(whole.substr(at)) != kUnitNone; };
    const size_t slash = whole.rfind('/');
    if (slash != std::string_view::npos) {
        // One word after the slash, the one before it found past the blanks at the slash.
        const std::string_view per = TrimBlanks(whole.substr(slash + 1));
        const std::string_view head = whole.substr(0, slash);
        const size_t end = head.find_last_not_of(" \t");
        const size_t at = end == std::string_view::npos ? 0 : wordAfterBlank(head.substr(0, end + 1));
        if (per.find_first_of(" \t") == std::string_view::npos && reads(at)) return at;
    }
    const size_t last = wordAfterBlank(whole);
    return reads(last) ? last : 0;
}

NamedCurve SplitUnit(std::string_view whole)
{
    const bool closed = whole.ends_with(']') || whole.ends_with(')');
    const size_t open = closed ? whole.rfind(whole.back() == ']' ? '[' : '(') : whole.find_last_of("[(");
    // An unclosed bracket is one no closing bracket of its kind follows.
    const bool enclosed = open != std::string_view::npos
                          && (closed || whole.find(whole[open] == '[' ? ']' : ')', open) == std::string_view::npos);
    if (enclosed) {
        const std::string_view name = TrimBlanks(whole.substr(0, open));
        const std::string_view unit = whole.substr(open);
        const std::string_view bare = TrimBlanks(unit.substr(1, unit.size() - 1 - closed));
        // A name that is all brackets has no unit after it.
        if (name.empty() || IsIndex(bare)) return {whole, {}, {}};
        return {name, unit, bare, whole[open] == '[' ? UnitEnclosure::Brackets : UnitEnclosure::Parentheses};
    }
    const size_t at = closed ? 0 : UnitAfterBlank(whole);
    if (at == 0) return {whole, {}, {}};
    return {TrimBlanks(whole.substr(0, at)), whole.substr(at), TrimBlanks(whole.substr(at)), UnitEnclosure::None};
}

// The item type and axis unit a curve's name gives it (later tests override earlier
// ones), from the name without its unit. A unit the name ends in that the data set holds
// is the curve's, read as the LAS import reads units, whatever its type; without one a
// slowness is per foot where "ft" is anywhere in the name as written, else per metre.
CQtxDatum ClassifiedCurve(const NamedCurve& curve, std::string_view whole)
{
    const std::string_view n = curve.name;
    const std::string_view mnemonic = n.substr(0, 4);
    const uint8_t slowness =
        whole.find("ft") != std::string_view::npos ? kUnitMicrosecondsPerFoot : kUnitMicrosecondsPerMetre;
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
    if (const uint8_t named = CurveUnitCode(curve.bare); named != kUnitNone) unit = named;
    return CurveDatum(std::string(n), type, unit);
}

// A unit the name ends in that the curve is not stored in is told, for values in one
// unit stored under another would pass unseen: one the data set has no code for, where
// the curve carries none, with the units it cannot hold (unheldUnits); any other into
// unitsChanged, with the label of the unit stored, its heading naming the enclosure.
void TellUnit(const NamedCurve& curve, const std::string& whole, TextTable& t)
{
    const uint8_t stored = t.datums.back().m_axis1.m_unit;
    const bool kept = curve.bare.empty() || CurveUnitCode(curve.bare) != kUnitNone;
    t.unheldUnits.emplace_back(!kept && stored == kUnitNone ? curve.unit : std::string_view());
    if (kept || stored == kUnitNone) return;
    t.unitsChanged.push_back(whole + " as " + CReceiverGeometry::GetUnitLabel(stored));
    (curve.enclosure == UnitEnclosure::Parentheses ? t.changedInParentheses : t.changedInBrackets) = true;
}

} // namespace

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
        const std::string whole(TrimBlanks(line));
        // Columns count from the depth's, as the end message counts blank LAS names.
        if (whole.empty())
            return Refuse(kReadHeader + path + Format(kBlankName, k + 1, long(comments) + 1 + k));
        const NamedCurve curve = SplitUnit(whole);
        t.datums.push_back(ClassifiedCurve(curve, whole));
        t.writtenNames.push_back(whole);
        TellUnit(curve, whole, t);
    }
    // The item types come from the names without their units, the data set's names must
    // stay apart as the LAS import keeps its mnemonics apart.
    NameUnitsNotHeld(t);
    MakeNamesDistinct(t);
    t.headerLines = comments + int(columns);
    return 1;
}

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
