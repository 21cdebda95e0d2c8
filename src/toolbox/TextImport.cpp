#include "toolbox/TextImport.h"

#include "toolbox/LasDoc.h"
#include "toolbox/OneFrameStep.h"
#include "toolbox/ToolsWnd.h"
#include "dataset/QtxLayout.h"
#include "platform/BinaryFile.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <set>

using toolbox::Refuse;

namespace {

constexpr size_t kTenColumn = 10;
constexpr int32_t kLinesPerStep = 64;

const char kFormatError[] = "Format error in file :\n";
const char kNoDepths[] = "Error getting top depth in file :\n";
const char kLeftOut[] = "Imported the first log of file :\n%s\nLeft out %zu further log(s): %s.";
const char kImported[] = "Imported file :\n%s";
const char kLeftOutSections[] = "Left out %zu section(s) this import does not read: %s.";
const char kBeyond[] = "Wrote %lld value(s) beyond the single-precision range as absent values (-999.25).";
const char kNulls[] = "Wrote %lld value(s) equal to the file's NULL %s as absent values (-999.25).";
const char kNans[] = "Wrote %lld value(s) that are no number or infinite (nan, inf) as absent values (-999.25).";
const char kRenamed[] = "Renamed %zu curve(s) whose first four characters repeat another's: %s.";
const char kShortened[] = "Stored %zu curve(s) under the first four characters of their names: %s.";
const char kUnitsNotHeld[] = "Stored %zu curve(s) without their units, which the data set cannot hold: %s.";
const char kUnitsChanged[] = "Stored %zu curve(s) not in the unit in brackets in their names: %s.";
const char kUnitsChangedParentheses[] = "Stored %zu curve(s) not in the unit in parentheses in their names: %s.";
const char kUnitsChangedEither[] = "Stored %zu curve(s) not in the unit in brackets or parentheses in their names: %s.";
const char kStopped[] = "Stopped after %lld data line(s): the data set holds %.4f - %.4f%s.";
// A wrapped LAS file's frames each take several lines.
const char kStoppedWrapped[] = "Stopped after %lld frame(s) from %lld data line(s): the data set holds %.4f - %.4f%s.";
// In a history note's place where the history has no room for it, after its heading.
const char kNoteLeftOut[] = "***  Left out of this history for room: the end message lists them all.";
constexpr size_t kNamesShown = 5;
// Renamings are listed up to this many: a file of 256 curves of one prefix gives a count,
// not a page, and the data set's history lists them all.
constexpr size_t kRenamingsShown = 16;
const char kInHistory[] = ", listed in the data set's history";
constexpr size_t kHistoryWidth = 80; // the history's lines are broken after a name within it
const char kOneLine[] = "data line";

constexpr float kAbsent = qtx::kAbsentValue;

// Field `field` of a line: the depth (any number double holds: the depth rule judges it),
// then the values.
bool TakeField(std::string_view text, size_t field, double* depth, float* values, ValueTally* tally)
{
    double v = 0.0;
    const TextNumber read = ReadTextNumber(text, v);
    if (read == TextNumber::None || (field == 0 && read != TextNumber::Number)) return false;
    if (read == TextNumber::Beyond) {
        // Beyond double, so beyond float too: absent, as any value no float holds.
        values[field - 1] = kAbsent;
        if (tally) ++tally->beyond;
    } else if (field == 0) {
        *depth = v;
    } else if (tally && tally->null && (v == *tally->null || (std::isnan(v) && std::isnan(*tally->null)))) {
        // The file's own mark of no value: read as a number, it would plot as a spike.
        values[field - 1] = kAbsent;
        ++tally->nulls;
    } else if (!std::isfinite(v)) {
        // No number, or an infinite one, is no measurement either; the data set has its
        // own mark for that.
        values[field - 1] = kAbsent;
        if (tally) ++tally->nans;
    } else if (FitsFloat(v)) {
        values[field - 1] = float(v);
    } else {
        // Clamped, it would pass for a measured value; the data set's absent value does not.
        values[field - 1] = kAbsent;
        if (tally) ++tally->beyond;
    }
    return true;
}

bool ParseBlankFields(std::string_view line, size_t count, double* depth, float* values, ValueTally* beyond)
{
    const char* p = line.data();
    const char* const end = p + line.size();
    size_t field = 0;
    for (;;) {
        while (p != end && IsFieldBlank(*p)) ++p;
        if (p == end) return field == count + 1;
        const char* q = p;
        while (q != end && !IsFieldBlank(*q)) ++q;
        if (field > count || !TakeField(std::string_view(p, size_t(q - p)), field, depth, values, beyond))
            return false;
        ++field;
        p = q;
    }
}

// Columns of ten: a value wider than its column would leave part of it in the next one,
// which then holds no whole number, or text after the last column.
bool ParseTenColumns(std::string_view line, size_t count, double* depth, float* values, ValueTally* beyond)
{
    const size_t fields = count + 1;
    const size_t width = fields * kTenColumn;
    if (line.size() > width && !IsBlankLine(line.substr(width))) return false;
    for (size_t k = 0; k < fields; ++k) {
        const size_t at = std::min(k * kTenColumn, line.size());
        const std::string_view text = TrimBlanks(line.substr(at, kTenColumn));
        if (text.empty() || !TakeField(text, k, depth, values, beyond)) return false;
    }
    return true;
}

// The depth field's text of a data line (its first field).
std::string_view DepthField(std::string_view line, DataColumns columns)
{
    std::string_view text = columns == DataColumns::Tens ? line.substr(0, kTenColumn) : line;
    while (!text.empty() && IsFieldBlank(text.front())) text.remove_prefix(1);
    const auto end = std::find_if(text.begin(), text.end(), IsFieldBlank);
    return text.substr(0, size_t(end - text.begin()));
}

// The depth field alone of a data line.
bool ParseDepthField(std::string_view line, DataColumns columns, double* depth)
{
    const std::string_view text = DepthField(line, columns);
    return !text.empty() && ParseTextNumber(text, *depth);
}

// A section title that opens a block of data lines: "~A..." or a LAS 3.0 "~<name>_Data".
bool IsDataSection(std::string_view line, std::string* title, bool wholeNames)
{
    const LasSection section = ClassifyLasSection(line, title, wholeNames);
    return section == LasSection::Data || section == LasSection::OtherData;
}

// A line the data loops pass over: blank, or a comment where the format has them.
bool IsSkippedLine(const TextTable& t, std::string_view line)
{
    if (IsBlankLine(line)) return true;
    if (!t.hashComments) return false;
    while (!line.empty() && IsFieldBlank(line.front())) line.remove_prefix(1);
    return line.starts_with('#');
}

// Names line `number` of the file and what is wrong with it.
std::string FormatError(const std::string& path, int64_t number, std::string_view line, const TextTable& t)
{
    const size_t need = t.datums.size() + 1;
    std::string detail;
    double depth = 0.0;
    if (t.columns == DataColumns::Blanks && CountFields(line) != need)
        detail = Format("Line %lld holds %zu field(s) where the depth and %zu curve(s) need %zu.",
                        static_cast<long long>(number), CountFields(line), t.datums.size(), need);
    else if (ReadTextNumber(DepthField(line, t.columns), depth) == TextNumber::Beyond)
        detail = Format("Line %lld holds a depth beyond the range of numbers.", static_cast<long long>(number));
    else if (t.columns == DataColumns::Blanks)
        detail = Format("Line %lld holds a field that is no number.", static_cast<long long>(number));
    else
        detail = Format("Line %lld does not hold %zu numbers in columns of ten characters.",
                        static_cast<long long>(number), need);
    return kFormatError + path + "\n" + detail;
}

int RefuseLine(int got, const std::string& path, int64_t number, std::string_view line, const TextTable& t)
{
    return Refuse(got == CLasDoc::kLongLine ? LongLineRefusal(number, path) : FormatError(path, number, line, t));
}

// The curves stored under another name than their whole one, or without their unit or
// in another, and how the end tells them.
std::array<std::pair<const std::vector<std::string>*, const char*>, 4> NameLists(const TextTable& t)
{
    const char* changed = !t.changedInParentheses ? kUnitsChanged
                          : t.changedInBrackets   ? kUnitsChangedEither
                                                  : kUnitsChangedParentheses;
    return {std::pair(&t.renamed, kRenamed), std::pair(&t.shortened, kShortened),
            std::pair(&t.unitsNotHeld, kUnitsNotHeld), std::pair(&t.unitsChanged, changed)};
}

// The lists the history keeps: those of names too long for the end message, and those of
// units, which the data set then keeps nowhere else.
bool ForHistory(const TextTable& t, const std::vector<std::string>& names)
{
    return !names.empty() && (names.size() > kRenamingsShown || &names == &t.unitsNotHeld || &names == &t.unitsChanged);
}

// The history's notes, one per list it keeps, in the order of NameLists: each list whole,
// in the message's words, broken after a name into lines of kHistoryWidth; in its place,
// where it does not fit, its heading and that it was left out.
std::vector<ToolHistoryNote> HistoryNotes(const TextTable& t)
{
    std::vector<ToolHistoryNote> notes;
    for (const auto& [names, format] : NameLists(t)) {
        if (!ForHistory(t, *names)) continue;
        std::string list;
        for (size_t k = 0; k < names->size(); ++k) list += (k ? ", " : "") + (*names)[k];
        const std::string text = Format(format, names->size(), list.c_str());
        // The heading up to its ":", then each name with the blank before it and its ",".
        size_t at = text.find(": ") + 1;
        ToolHistoryNote& note = notes.emplace_back();
        note.leftOut = {"*** " + text.substr(0, at), kNoteLeftOut};
        std::string line = note.leftOut.front();
        while (at < text.size()) {
            const size_t comma = text.find(", ", at);
            const size_t end = comma == std::string::npos ? text.size() : comma + 1;
            if (line.size() + (end - at) > kHistoryWidth) {
                note.lines.push_back(line);
                line = "***  ";
            }
            line += text.substr(at, end - at);
            at = end;
        }
        note.lines.push_back(line);
    }
    return notes;
}

// What a finished (or stopped) import left out or wrote absent, or nothing when it took
// every value as it stands. Lists are cut short with a count: a file may hold 100,000
// logs. Names of curves stored under others are all told: those beyond the message's
// count are listed in the data set's history where it took their note (written, one per
// note of HistoryNotes), else in the message.
std::string ImportNotice(const std::string& path, const TextTable& t, const ValueTally& tally,
                         const std::vector<bool>& written)
{
    std::string notice;
    if (!t.otherLogs.empty()) notice = Format(kLeftOut, path.c_str(), t.otherLogs.size(), NameList(t.otherLogs).c_str());
    const auto headed = [&](const std::string& text) {
        if (notice.empty()) notice = Format(kImported, path.c_str());
        notice += '\n' + text;
    };
    if (t.defaultStep) {
        if (notice.empty()) notice = one_frame::Headline(kOneLine, path);
        notice += '\n' + one_frame::StepLine(kOneLine, t.headerStep, t.depthUnits == qtx::kUnitsMetres);
    }
    if (!t.leftOutSections.empty())
        headed(Format(kLeftOutSections, t.leftOutSections.size(), NameList(t.leftOutSections).c_str()));
    size_t note = 0;
    for (const auto& [names, format] : NameLists(t)) {
        if (names->empty()) continue;
        const bool inHistory = ForHistory(t, *names) && note < written.size() && written[note++];
        // A list the history does not hold goes into the message whole.
        const size_t shown = inHistory ? kRenamingsShown : names->size();
        std::string list;
        for (size_t k = 0; k < names->size() && k < shown; ++k) list += (k ? ", " : "") + (*names)[k];
        if (names->size() > shown) list += Format(" and %zu more%s", names->size() - shown, kInHistory);
        headed(Format(format, names->size(), list.c_str()));
    }
    const auto line = [&notice](const std::string& text) { notice += (notice.empty() ? "" : "\n") + text; };
    if (tally.nulls > 0) line(Format(kNulls, static_cast<long long>(tally.nulls), tally.nullText.c_str()));
    if (tally.nans > 0) line(Format(kNans, static_cast<long long>(tally.nans)));
    if (tally.beyond > 0) line(Format(kBeyond, static_cast<long long>(tally.beyond)));
    return notice;
}

// A failed import commits nothing: the name keeps what it held before.
void RemoveOutput(CToolsWnd& e) { e.Output().AbandonOutput(); }

// A file of one data line gives no step: its header's STEP, else the one every one-frame
// import takes, stands for it (its sign the direction, as a LAS export writes it).
void TakeOneLineStep(TextTable& t)
{
    const double step = t.headerStep;
    t.defaultStep = !(std::isfinite(step) && std::isfinite(t.top + step) && t.top + step != t.top);
    if (t.defaultStep) t.headerStep = one_frame::Step(t.depthUnits == qtx::kUnitsMetres);
    t.second = t.top + t.headerStep;
}

// A curve name as the data set keeps it: its first four characters, blank-padded.
std::string FourOf(std::string_view name)
{
    std::string kept(name.substr(0, 4));
    kept.resize(4, ' ');
    return kept;
}

// The digits a name ends in, one to three after some other character ("13" of CBP13);
// empty when there are none or more.
std::string_view TrailingDigits(std::string_view name)
{
    size_t at = name.size();
    while (at > 0 && std::isdigit(static_cast<unsigned char>(name[at - 1]))) --at;
    const size_t digits = name.size() - at;
    return at > 0 && digits >= 1 && digits <= 3 ? name.substr(at) : std::string_view();
}

// A name for a curve whose four characters another curve has: its first characters and
// a number in the last ("NPH1"), one no other curve has.
std::string DistinctName(std::string_view name, const std::set<std::string>& taken)
{
    const std::string_view base = TrimBlanks(name.substr(0, 4));
    for (int digits = 1, first = 1; digits <= 3; ++digits, first *= 10)
        for (int n = first; n < first * 10; ++n) {
            const std::string candidate = std::string(base.substr(0, 4 - size_t(digits))) + std::to_string(n);
            if (!taken.count(FourOf(candidate))) return candidate;
        }
    return std::string(base); // not reached: 256 curves cannot take 900 numbers
}

// A curve as the end message names it: as the file writes it, a blank name by its column
// (the depth's the first), for "as 1" alone would not say which curve became 1.
std::string TellName(const TextTable& t, const std::string& name, size_t curve)
{
    if (curve < t.writtenNames.size()) return t.writtenNames[curve];
    return name.empty() ? Format("blank (column %zu)", curve + 2) : name;
}

// A micro sign as files write it: UTF-8's, Latin-1's, or the Greek mu UTF-8 stands it for.
std::string_view MicroSign(std::string_view text)
{
    for (const std::string_view sign : {"\xC2\xB5", "\xCE\xBC", "\xB5"})
        if (text.starts_with(sign)) return sign;
    return {};
}

} // namespace

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

uint8_t DepthUnits(std::string_view unit)
{
    for (const char* feet : {"F", "FT", "FEET", "FOOT"})
        if (SameText(unit, feet)) return qtx::kUnitsFeet;
    for (const char* metres : {"M", "METER", "METERS", "METRE", "METRES"})
        if (SameText(unit, metres)) return qtx::kUnitsMetres;
    return 0;
}

std::string_view BareUnit(std::string_view unit)
{
    unit = TrimBlanks(unit);
    if (unit.size() >= 2 && ((unit.front() == '[' && unit.back() == ']') || (unit.front() == '(' && unit.back() == ')')))
        unit = TrimBlanks(unit.substr(1, unit.size() - 2));
    return unit;
}

uint8_t CurveUnitCode(std::string_view unit)
{
    std::string upper = Upper(BareUnit(unit));
    // "µs/ft" is "us/ft" written with the sign.
    if (const std::string_view micro = MicroSign(upper); !micro.empty()) upper.replace(0, micro.size(), "U");
    const size_t slash = upper.find('/');
    // Blanks around the slash ("us / ft") belong to neither unit.
    std::string time(TrimBlanks(std::string_view(upper).substr(0, slash)));
    if (time == "USEC" || time == "MICROSEC" || time == "MICROSECOND" || time == "MICROSECONDS") time = "US";
    if (slash == std::string::npos) return CLasDoc::UnitCode(time);
    const std::string_view depth = TrimBlanks(std::string_view(upper).substr(slash + 1));
    const uint8_t per = DepthUnits(depth);
    if (per == 0) return CLasDoc::UnitCode(time + "/" + std::string(depth));
    return CLasDoc::UnitCode(time + (per == qtx::kUnitsFeet ? "/F" : "/M"));
}

void NameUnitsNotHeld(TextTable& t)
{
    t.unitsNotHeld.clear();
    for (size_t k = 0; k < t.datums.size() && k < t.unheldUnits.size(); ++k) {
        const std::string& unit = t.unheldUnits[k];
        if (unit.empty()) continue;
        // A unit the file already encloses is shown as it stands, once where the name ends in it.
        const std::string name = TellName(t, t.datums[k].m_mnemonic, k);
        const bool enclosed = unit.front() == '[' || unit.front() == '(';
        const std::string told = enclosed && name.ends_with(unit) ? "" : enclosed ? " " + unit : " [" + unit + "]";
        t.unitsNotHeld.push_back(name + told);
    }
}

void MakeNamesDistinct(TextTable& t)
{
    const size_t count = t.datums.size();
    std::set<std::string> taken, used; // the four characters of every curve; those given so far
    std::map<std::string, size_t> sharing; // curves by their four characters
    for (const CQtxDatum& d : t.datums) {
        taken.insert(FourOf(d.m_mnemonic));
        ++sharing[FourOf(d.m_mnemonic)];
    }
    // What each curve is stored as, none while undecided: a blank name is a decision too.
    std::vector<std::optional<std::string>> names(count);
    // A whole name is its curve's wherever a longer one stands (the first of equal ones).
    for (size_t k = 0; k < count; ++k) {
        const std::string& name = t.datums[k].m_mnemonic;
        if (name.size() <= 4 && used.insert(FourOf(name)).second) names[k] = name;
    }
    // Shorter names first: of ABCD1 and ABCDE1 the one nearer to its four characters keeps ABC1.
    std::vector<size_t> order(count);
    for (size_t k = 0; k < count; ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return t.datums[a].m_mnemonic.size() < t.datums[b].m_mnemonic.size(); });
    for (const size_t k : order) {
        const std::string& name = t.datums[k].m_mnemonic;
        const std::string_view digits = TrailingDigits(name);
        if (names[k] || name.size() <= 4 || sharing[FourOf(name)] < 2 || digits.empty()) continue;
        const std::string kept = name.substr(0, 4 - digits.size()) + std::string(digits);
        if (!taken.insert(FourOf(kept)).second) continue;
        names[k] = kept;
        used.insert(FourOf(kept));
    }
    for (size_t k = 0; k < count; ++k) {
        if (names[k]) continue;
        const std::string& name = t.datums[k].m_mnemonic;
        if (used.insert(FourOf(name)).second) {
            names[k] = name.substr(0, 4);
            continue;
        }
        names[k] = DistinctName(name, taken);
        taken.insert(FourOf(*names[k]));
        used.insert(FourOf(*names[k]));
    }
    // Every curve that is not stored under its whole name is told: one of shared four
    // characters as renamed, a lone long name as cut to its four.
    for (size_t k = 0; k < count; ++k) {
        std::string& name = t.datums[k].m_mnemonic;
        const std::string& kept = *names[k];
        if (kept == name) continue;
        const bool shared = sharing[FourOf(name)] > 1;
        // Blanks a curve line leaves behind a name ("GR   ") are no part of it to lose.
        const size_t last = name.find_last_not_of(' ');
        if (shared || (last != std::string::npos && last >= 4))
            (shared ? t.renamed : t.shortened).push_back(TellName(t, name, k) + " as " + kept);
        if (kept != name.substr(0, 4)) name = kept;
    }
}

int OpenTextInput(CLasDoc& doc, const std::string& path)
{
    if (!doc.OpenInput(path)) return 0; // told by the open
    const std::string_view head = doc.Head();
    if (head.empty()) return Refuse(kCouldNotOpenInput + path + ShortInputCause(0, 1));
    if (head.find_first_not_of('\0') == std::string_view::npos)
        return Refuse(kCouldNotOpenInput + path + ZeroBytesCause(int64_t(head.size()), doc.m_inputLength));
    return 1;
}

bool IsBlankLine(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return IsFieldBlank(c); });
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsFieldBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsFieldBlank(text.back())) text.remove_suffix(1);
    return text;
}

size_t CountFields(std::string_view line)
{
    size_t fields = 0;
    bool inField = false;
    for (char c : line) {
        const bool blank = IsFieldBlank(c);
        fields += !blank && !inField;
        inField = !blank;
    }
    return fields;
}

std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (size_t k = 0; k < names.size() && k < kNamesShown; ++k) list += (k ? ", " : "") + names[k];
    if (names.size() > kNamesShown) list += Format(" and %zu more", names.size() - kNamesShown);
    return list;
}

std::string LimitRefusal(const std::string& what, const std::string& path, const std::string& limitAndAdvice)
{
    return what + " in file :\n" + path + "\n" + limitAndAdvice + "\nOperation will be abandoned.";
}

std::string LongLineRefusal(int64_t line, const std::string& path)
{
    return LimitRefusal(Format("Line %lld is too long", static_cast<long long>(line)), path,
                        Format("A line may hold at most %zu characters: split the file into files of fewer curves.",
                               CLasDoc::kMaxLine));
}

LasSection ClassifyLasSection(std::string_view line, std::string* title, bool wholeNames)
{
    const std::string_view named = TrimBlanks(line.substr(1, std::min(line.find('|'), line.size()) - 1));
    *title = std::string(named);
    std::string name(named.substr(0, std::min(named.find_first_of(" \t["), named.size())));
    for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (wholeNames && name.find('_') != std::string::npos) {
        if (name == "LOG_DEFINITION") return LasSection::Curve;
        if (name == "LOG_DATA") return LasSection::Data;
        if (name == "LOG_PARAMETER") return LasSection::Parameter;
        return name.ends_with("_DATA") ? LasSection::OtherData : LasSection::Unknown;
    }
    switch (name.empty() ? ' ' : name.front()) {
    case 'V': return LasSection::Version;
    case 'W': return LasSection::Well;
    case 'C': return LasSection::Curve;
    case 'P': return LasSection::Parameter;
    case 'O': return LasSection::Other;
    case 'A': return LasSection::Data;
    default: return LasSection::Unknown;
    }
}

bool ParseDataLine(std::string_view line, DataColumns columns, size_t count, double* depth, float* values,
                   ValueTally* beyond)
{
    return columns == DataColumns::Tens ? ParseTenColumns(line, count, depth, values, beyond)
                                        : ParseBlankFields(line, count, depth, values, beyond);
}

CQtxDatum CurveDatum(const std::string& name, uint8_t typeCode, uint8_t unit)
{
    return CQtxDatum(1, name, typeCode, kCategoryTrace, typeCode, 0, 1, 1, 0, 0, unit, 0, 1, 1.0f);
}

int ScanDataLines(CLasDoc& doc, TextTable& t, const std::string& path)
{
    std::vector<float> values(t.datums.size());
    std::string last;
    int64_t lines = 0, number = t.headerLines, lastNumber = 0;
    std::optional<CDepthRule> rule; // known from the second line on
    std::string_view line;
    int got;
    while ((got = doc.ReadDataLine(&line)) >= 0) {
        number += doc.LinesTaken();
        if (t.sectionEndsData && line.starts_with('~')) break;
        if (IsSkippedLine(t, line)) continue;
        ++lines;
        double depth = 0.0;
        const bool parsed = lines <= 2 ? ParseDataLine(line, t.columns, values.size(), &depth, values.data())
                                       : ParseDepthField(line, t.columns, &depth);
        if (!parsed) return RefuseLine(got, path, number, line, t);
        if (lines == 1) {
            t.top = depth;
        } else {
            if (lines == 2) {
                t.second = depth;
                // The first step gives the direction and the step every later one keeps.
                rule.emplace(depth > t.top ? qtx::kLogDown : qtx::kLogUp, depth - t.top);
                if (!OkOrShow(rule->Check(t.top, path))) return 0;
            }
            if (!OkOrShow(rule->Check(depth, path))) return 0;
        }
        last.assign(line);
        lastNumber = number;
    }
    if (got == CLasDoc::kLongLine) return Refuse(LongLineRefusal(number + doc.LinesTaken(), path));
    if (lines > int64_t(INT32_MAX)) return Refuse(kFormatError + path);
    if (lines == 0 || (lines == 1 && !t.oneLine))
        return Refuse(kNoDepths + path + (got < 0 ? EndedTextCause(doc.LinesRead(), lines ? "its second data line" : "its first data line") : ""));
    if (lines == 1) {
        if (!OkOrShow(CDepthRule::FiniteOnly().Check(t.top, path))) return 0;
        TakeOneLineStep(t);
    }
    if (!ParseDataLine(last, t.columns, values.size(), &t.last, values.data()))
        return RefuseLine(0, path, lastNumber, last, t);
    // What follows the data: further logs of the file, which are not read.
    t.otherLogs.clear();
    std::string title;
    if (got >= 0)
        for (std::string_view rest = line; got >= 0; got = doc.ReadDataLine(&rest))
            if (rest.starts_with('~') && IsDataSection(rest, &title, t.lasWholeNames)) t.otherLogs.push_back(title);
    t.dataLines = int32_t(lines);
    doc.SkipLines(t.headerLines);
    return 1;
}

int RunTextImport(CToolsWnd& e, CLasDoc& doc, const TextTable& t, const std::string& label)
{
    // The first step gives the direction; the frames keep each line's own depth.
    const bool down = t.second > t.top;
    // One line: the step taken as it stands, not as its sum with the depth gives it back.
    const double step = std::fabs(t.dataLines == 1 ? t.headerStep : t.second - t.top);
    e.Settings().startDepth = std::min(t.top, t.last);
    e.Settings().stopDepth = std::max(t.top, t.last);
    e.Task().depthUnitLabel = t.depthUnits == qtx::kUnitsMetres ? " [m]" : " [ft]";
    e.Task().logDirectionLabel = down ? "DOWN" : "UP";
    e.Task().firstIndex = 0;
    e.Task().historyNotes = HistoryNotes(t);
    const ToolOutputHead head{down ? qtx::kLogDown : qtx::kLogUp, t.depthUnits, t.top, t.last, step, nullptr};
    if (!e.Output().WriteOutputHead(head, t.datums)) return -1;

    // The frame loop steps a block of lines at a time: its progress and stop question
    // cost more than reading a line.
    e.Task().endIndex = (t.dataLines - 1) / kLinesPerStep + 1;
    int32_t left = t.dataLines;
    std::vector<float> values(t.datums.size());
    const std::string& path = e.Task().primary.path;
    ValueTally tally{t.null, t.nullText};
    int64_t number = t.headerLines;
    double lastDepth = t.top;
    int64_t linesTaken = 0; // by the frames read
    // A stopped import tells where it stopped, in its history and its end message: the
    // depth range in the history is the file's.
    const auto stopped = [&]() -> std::string {
        const int64_t read = int64_t(t.dataLines) - left;
        if (read <= 0) return {};
        const double from = std::min(t.top, lastDepth), to = std::max(t.top, lastDepth);
        const char* unit = e.Task().depthUnitLabel.c_str();
        if (linesTaken == read) return Format(kStopped, static_cast<long long>(read), from, to, unit);
        return Format(kStoppedWrapped, static_cast<long long>(read), static_cast<long long>(linesTaken), from, to, unit);
    };
    e.Task().stoppedLine = [&stopped] {
        const std::string line = stopped();
        return line.empty() ? line : "*** " + line;
    };
    const auto lines = [&](double) {
        for (int32_t n = std::min(left, kLinesPerStep); n > 0; --n, --left) {
            std::string_view line;
            int got;
            while ((got = doc.ReadDataLine(&line)) >= 0) {
                number += doc.LinesTaken();
                if (!IsSkippedLine(t, line)) break;
            }
            double depth = 0.0;
            if (got < 0) return Refuse(kFormatError + path);
            if (!ParseDataLine(line, t.columns, values.size(), &depth, values.data(), &tally))
                return RefuseLine(got, path, number, line, t);
            if (!e.Output().StageDepth(depth) || !e.Output().StageValues(values.data(), values.size())) return 0;
            lastDepth = depth;
            linesTaken += doc.LinesTaken();
        }
        return 1;
    };
    const int result = e.Output().RunFrames(label, 0, 1, t.top, down ? step : -step, lines);
    e.Task().stoppedLine = nullptr; // it reads this run's locals
    doc.CloseInput();
    if (result != 1) {
        RemoveOutput(e);
        return result;
    }
    // A stopped import keeps the frames it wrote under the names and units told, and its
    // history may leave their lists to this message: it is told too, unless nothing is kept.
    std::string notice = ImportNotice(path, t, tally, e.Task().historyNotesWritten);
    if (e.Task().stopped && e.Output().OutputFrames() == 0) notice.clear();
    if (e.Task().stopped && !notice.empty()) notice = stopped() + "\n" + notice;
    if (!notice.empty()) MessageBox(notice, MB_OK | MB_ICONINFORMATION);
    return result;
}
