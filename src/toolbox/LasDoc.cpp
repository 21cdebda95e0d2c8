#include "toolbox/LasDoc.h"

#include "dataset/QtxLayout.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr char kCtrlZ = 26;
constexpr size_t kReadPiece = size_t(64) << 10; // more than kMaxLine: a whole line always fits
constexpr size_t kWritePiece = size_t(1) << 20;
static_assert(kReadPiece > CLasDoc::kMaxLine);

int Fail(const char* text, const std::string& path)
{
    MessageBox(text + path, MB_OK | MB_ICONSTOP);
    return 0;
}

bool BeginsWith(std::string_view line, std::string_view key) { return line.substr(0, key.size()) == key; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

size_t FieldsOf(std::string_view line)
{
    size_t fields = 0;
    for (size_t k = 0; k < line.size(); ++k)
        if (!IsBlank(line[k]) && (k == 0 || IsBlank(line[k - 1]))) ++fields;
    return fields;
}

// A line that never belongs to a depth step: blank, a comment or a section.
bool StandsAlone(std::string_view line)
{
    const auto first = std::find_if_not(line.begin(), line.end(), IsBlank);
    return first == line.end() || *first == '#' || *first == '~';
}

// A depth right-aligned in a field, as AppendDepth writes it.
std::string DepthField(double depth)
{
    std::string text;
    CLasDoc::AppendDepth(text, depth);
    return text;
}

struct LasUnit {
    uint8_t code;
    std::string_view mnemonic;
};
constexpr LasUnit kLasUnits[] = {
    {kUnitMicroseconds, "US"}, {kUnitMicrosecondsPerFoot, "US/F"}, {kUnitMicrosecondsPerMetre, "US/M"},
    {kUnitHertz, "HZ"},        {kUnitDegrees, "DEG"},              {kUnitMillivolts, "MV"},
};

} // namespace

CLasDoc::CLasDoc() : m_buffer(kReadPiece) {}

std::string_view CLasDoc::UnitMnemonic(uint8_t code)
{
    for (const LasUnit& u : kLasUnits)
        if (u.code == code) return u.mnemonic;
    return {};
}

uint8_t CLasDoc::UnitCode(std::string_view mnemonic)
{
    for (const LasUnit& u : kLasUnits)
        if (u.mnemonic.size() == mnemonic.size()
            && std::equal(u.mnemonic.begin(), u.mnemonic.end(), mnemonic.begin(),
                          [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); }))
            return u.code;
    return kUnitNone;
}

// ---- reading -------------------------------------------------------------------------------

int CLasDoc::OpenInput(const std::string& path)
{
    m_path = path;
    CloseInput();
    // No length rule: an empty text reads as one without lines, and files of the
    // system (/proc) report no length.
    if (Status opened = OpenInputFile(m_fileIn, path); !opened) {
        MessageBox(opened.Message(), MB_OK | MB_ICONSTOP);
        return 0;
    }
    m_inputLength = std::max<int64_t>(m_fileIn.GetLength(), 0);
    return 1;
}

void CLasDoc::CloseInput()
{
    m_fileIn.Close();
    m_begin = m_end = 0;
    m_bufferOffset = 0;
    m_noMoreBytes = false;
    m_linesRead = 0;
}

void CLasDoc::Rewind()
{
    m_begin = 0;
    m_linesRead = 0;
    // A text whose start is still in the buffer is not read again.
    if (m_bufferOffset == 0) return;
    m_end = 0;
    m_bufferOffset = 0;
    m_noMoreBytes = false;
    m_fileIn.Seek(0);
}

std::string_view CLasDoc::Head()
{
    Rewind();
    if (m_end == 0) Refill();
    return std::string_view(m_buffer.data(), m_end);
}

bool CLasDoc::Refill()
{
    if (m_noMoreBytes || !m_fileIn.IsOpen()) {
        m_noMoreBytes = true;
        return false;
    }
    const size_t kept = m_end - m_begin;
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, kept);
    m_bufferOffset += int64_t(m_begin);
    m_begin = 0;
    m_end = kept;
    const size_t got = m_fileIn.Read(m_buffer.data() + kept, m_buffer.size() - kept);
    m_end += got;
    m_noMoreBytes = got == 0;
    return got > 0;
}

int CLasDoc::NextLine(std::string_view* line)
{
    for (;;) {
        // A UTF-8 byte-order mark, which editors on some systems put first, is no text.
        if (m_bufferOffset == 0 && m_begin == 0) {
            if (m_end < 3 && Refill()) continue;
            if (m_end >= 3 && std::memcmp(m_buffer.data(), "\xEF\xBB\xBF", 3) == 0) m_begin = 3;
        }
        const char* start = m_buffer.data() + m_begin;
        const size_t available = m_end - m_begin;
        // An LF beyond the longest line is never looked for: such a line is refused anyway.
        const void* lf = std::memchr(start, '\n', std::min(available, kMaxLine + 2));
        size_t length = lf ? size_t(static_cast<const char*>(lf) - start) : available;
        size_t consumed = lf ? length + 1 : length;
        // A CR that no LF follows ends its line too (files from systems that end lines
        // with CR alone); a CR last in the buffer waits for the byte after it.
        if (const void* cr = std::memchr(start, '\r', std::min(length, kMaxLine + 2))) {
            const size_t at = size_t(static_cast<const char*>(cr) - start);
            if (at + 1 < available && start[at + 1] != '\n') {
                length = at;
                consumed = at + 1;
                lf = cr;
            } else if (at + 1 == available && !m_noMoreBytes) {
                lf = nullptr;
            }
        }
        if (const void* z = std::memchr(start, kCtrlZ, length)) {
            // The text ends at the Ctrl-Z; what stands before it on its line is its last line.
            length = size_t(static_cast<const char*>(z) - start);
            consumed = available;
            m_noMoreBytes = true;
            if (length == 0) {
                m_begin = m_end;
                return kEnd;
            }
        } else if (!lf && !m_noMoreBytes) {
            if (available > kMaxLine) return kLongLine;
            Refill();
            continue;
        }
        if (consumed == 0) return kEnd;
        if (length > kMaxLine) return kLongLine;
        m_begin += consumed;
        ++m_linesRead;
        *line = std::string_view(start, length);
        return int(length);
    }
}

int CLasDoc::ReadDataLine(std::string_view* line)
{
    m_linesTaken = 1;
    if (m_wrappedFields == 0) return NextLine(line);
    std::string_view part;
    int got = NextLine(&part);
    if (got < 0 || StandsAlone(part)) {
        if (got >= 0) *line = part;
        return got;
    }
    m_record.assign(part);
    for (size_t fields = FieldsOf(part); fields < m_wrappedFields; fields += FieldsOf(part)) {
        got = NextLine(&part);
        if (got == kLongLine) {
            ++m_linesTaken;
            return got;
        }
        if (got < 0) break; // a step the text cuts short: its parse tells
        ++m_linesTaken;
        m_record += ' ';
        m_record.append(part);
    }
    *line = m_record;
    return int(std::min<size_t>(m_record.size(), size_t(INT32_MAX)));
}

int CLasDoc::ReadLine(std::string* line)
{
    std::string_view text;
    const int got = NextLine(&text);
    if (got < 0) return got;
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    line->assign(text);
    return got;
}

int CLasDoc::SkipLines(int count)
{
    Rewind();
    std::string_view text;
    for (int i = 0; i < std::max(count, 1); ++i) {
        const int got = NextLine(&text);
        if (got < 0) return got;
    }
    return 0;
}

int CLasDoc::FindLine(std::string_view key)
{
    Rewind();
    std::string_view text;
    for (int number = 1;; ++number) {
        const int got = NextLine(&text);
        if (got < 0) return got;
        if (BeginsWith(text, key)) return number;
    }
}

int CLasDoc::FindLineWithin(std::string_view text, int maxLines)
{
    Rewind();
    std::string_view line;
    for (int number = 1; number <= maxLines; ++number) {
        if (NextLine(&line) < 0) return kEnd;
        if (line.find(text) != std::string_view::npos) return number;
    }
    return kEnd;
}

int CLasDoc::CountCommentLines()
{
    Rewind();
    std::string_view text;
    for (int number = 1;; ++number) {
        const int got = NextLine(&text);
        if (got < 0) return got;
        if (!BeginsWith(text, "*")) return number;
    }
}

// ---- writing -------------------------------------------------------------------------------

int CLasDoc::OpenOutput(const std::string& path)
{
    m_path = path;
    m_pending.clear();
    m_written = 0;
    m_stopAt = -1;
    m_writeFailed = false;
    int error = 0;
    if (!m_fileOut.Open(path, &error))
        return Fail("Could not open output file :\n", path + OutputFailureCause(path, error));
    return 1;
}

void CLasDoc::FlushOutput()
{
    m_written += int64_t(m_pending.size());
    if (!m_writeFailed && !m_pending.empty() && !m_fileOut.Write(m_pending.data(), m_pending.size()))
        m_writeFailed = true;
    m_pending.clear();
}

void CLasDoc::WriteLine(std::string_view text)
{
    m_pending.append(text);
    m_pending.push_back('\n');
    if (m_pending.size() >= kWritePiece) FlushOutput();
}

int CLasDoc::CloseOutput(bool commit)
{
    if (!m_fileOut.IsOpen()) return 1;
    FlushOutput();
    if (m_writeFailed || !commit) {
        m_fileOut.Abandon();
        return m_writeFailed ? Fail("Error writing output file :\n", m_path + OutputCause()) : 1;
    }
    return m_fileOut.Commit() ? 1 : Fail("Error writing output file :\n", m_path + OutputCause());
}

bool CLasDoc::RewriteStop(double depth)
{
    std::string stop;
    AppendDepth(stop, depth, m_stopLength);
    if (m_stopAt < 0 || stop.size() != m_stopLength) return false;
    FlushOutput();
    if (!m_writeFailed && !m_fileOut.WriteAt(m_stopAt, stop.data(), stop.size())) m_writeFailed = true;
    m_bottomDepth = depth;
    return true;
}

int CLasDoc::WriteLas20Header(uint8_t feet)
{
    const char* unit = feet == 1 ? "F" : "M";
    WriteLine("~Version Information");
    WriteLine(" VERS.                 2.00:   ASCII Standard - VERSION 2.0");
    WriteLine(" WRAP.                   NO:   One line per depth step");
    WriteLine("~Well Information Block");
    WriteLine("#MNEM.UNIT       Data Type    Information");
    WriteLine("#---------     -----------    ---------------------------");
    WriteLine(Format(" STRT.%s            %s:", unit, DepthField(m_topDepth).c_str()));
    std::string stop;
    AppendDepth(stop, m_bottomDepth, m_stopWidth);
    const std::string stopLine = Format(" STOP.%s            ", unit);
    m_stopAt = m_written + int64_t(m_pending.size() + stopLine.size());
    m_stopLength = stop.size();
    WriteLine(stopLine + stop + ":");
    WriteLine(Format(" STEP.%s            %s:", unit, DepthField(m_depthStep).c_str()));
    WriteLine(Format(" NULL.               %.4f:", double(qtx::kAbsentValue)));
    WriteLine(" COMP.                        :  COMPANY NAME");
    WriteLine(" COUN.                        :  COUNTY");
    WriteLine(" LOC .                        :  FIELD LOCATION");
    WriteLine(" FL1 .                        :  FIELD LOCATION LINE 1");
    WriteLine(" FL2 .                        :  FIELD LOCATION LINE 2");
    WriteLine(" FLD .                        :  FIELD NAME");
    WriteLine(" R1  .                        :  REMARKS LINE 1");
    WriteLine(" R2  .                        :  REMARKS LINE 2");
    WriteLine(" R3  .                        :  REMARKS LINE 3");
    WriteLine(" R4  .                        :  REMARKS LINE 4");
    WriteLine(" PROV.                        :  STATE");
    WriteLine(" WELL.                        :  WELL NAME");
    WriteLine("~Parameter Information Block");
    WriteLine("#MNEM.UNIT       Value        Description");
    WriteLine("#---------     -----------    ---------------------------");
    WriteLine(" EDF .                        :  ELEVATION OF DRILLING FLOOR");
    WriteLine(" EGL .                        :  ELEVATION OF GROUND LEVEL");
    WriteLine(" EKB .                        :  ELEVATION OF KELLY BUSHING");
    WriteLine("~Curve Information Block");
    WriteLine("#MNEM.UNIT                 API CODE     Curve Description");
    WriteLine("#---------               -----------    ---------------------------");
    WriteLine(Format(" DEPT.%s                 00 000 000 000:  ", unit));
    return 1;
}

namespace {

constexpr uint64_t kTenTo[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
constexpr int kMostDecimals = 9;
constexpr uint64_t kExactWhole = uint64_t(1) << 53; // whole numbers up to here are exact doubles

// |value| x 10^decimals (0 to 9) rounded half to even, as the C library's "%.*f" rounds
// the exact binary value; false for what is no number, infinite, or 10^15 or more.
bool ScaledUnits(double value, int decimals, uint64_t* units)
{
    if (!(std::fabs(value) < 1e15)) return false;
    // The 53-bit mantissa times 10^9 fits 128 bits; the shift that takes the binary
    // exponent off is above 0 for values below 2^52.
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const int exponent = int(bits >> 52 & 0x7FF);
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (exponent ? uint64_t(1) << 52 : 0);
    const int shift = 1075 - std::max(exponent, 1);
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kTenTo[decimals];
    *units = 0;
    if (shift < 128) {
        const unsigned __int128 whole = scaled >> shift;
        const unsigned __int128 rest = scaled - (whole << shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        const unsigned __int128 rounded = whole + (rest > half || (rest == half && (whole & 1)));
        if (rounded >> 64) return false;
        *units = uint64_t(rounded);
    }
    return true;
}

// units / 10^decimals in fixed notation, right-aligned in `width`, written straight into
// the line from its last digit.
void PutFixed(std::string& line, uint64_t units, bool negative, int decimals, size_t width)
{
    size_t length = size_t(negative) + size_t(decimals > 0) + size_t(decimals) + 1;
    for (uint64_t w = units / kTenTo[decimals] / 10; w > 0; w /= 10) ++length;
    line.resize(line.size() + std::max(length, width), ' ');
    char* p = line.data() + line.size();
    // The decimals from one 32-bit remainder (at most nine), the whole part after them.
    uint32_t fraction = uint32_t(units % kTenTo[decimals]);
    units /= kTenTo[decimals];
    for (int k = 0; k < decimals; ++k, fraction /= 10) *--p = char('0' + fraction % 10);
    if (decimals > 0) *--p = '.';
    do {
        *--p = char('0' + units % 10);
        units /= 10;
    } while (units);
    if (negative) *--p = '-';
}

void PutText(std::string& line, const char* text, size_t length, size_t width)
{
    if (length < width) line.append(width - length, ' ');
    line.append(text, length);
}

// What a text of `units` / 10^decimals reads back as through strtod: below 2^53 both
// are exact doubles and one division rounds their quotient as the parser would.
bool ReadsBack(uint64_t units, int decimals, double* back)
{
    if (units >= kExactWhole) return false;
    *back = double(units) / double(kTenTo[decimals]);
    return true;
}

} // namespace

void CLasDoc::AppendField(std::string& line, double value, size_t width, int decimals)
{
    decimals = std::clamp(decimals, 0, kMostDecimals);
    uint64_t units = 0;
    if (ScaledUnits(value, decimals, &units)) return PutFixed(line, units, std::signbit(value), decimals, width);
    char text[400]; // the widest double in fixed notation with nine decimals fits
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    PutText(line, text, error == std::errc() ? size_t(end - text) : 0, width);
}

void CLasDoc::AppendDepth(std::string& line, double depth, size_t width)
{
    for (int decimals = 4; decimals < kMostDecimals && std::isfinite(depth); ++decimals) {
        uint64_t units = 0;
        double back = 0.0;
        if (!ScaledUnits(depth, decimals, &units) || !ReadsBack(units, decimals, &back)) {
            // Depths of a billion and more: written and read back as text.
            const size_t at = line.size();
            AppendField(line, depth, width, decimals);
            const size_t from = std::min(line.find_first_not_of(' ', at), line.size());
            if (ParseTextNumber(std::string_view(line).substr(from), back) && std::fabs(back - depth) <= kDepthResolution)
                return;
            line.resize(at);
        } else if (std::fabs(back - std::fabs(depth)) <= kDepthResolution) {
            return PutFixed(line, units, std::signbit(depth), decimals, width);
        }
    }
    AppendField(line, depth, width, std::isfinite(depth) ? kMostDecimals : 4);
}

void CLasDoc::AppendValue(std::string& line, float value, size_t width)
{
    const double wide = value;
    const bool negative = std::signbit(wide);
    uint64_t units = 0;
    double back = 0.0;
    if (!ScaledUnits(wide, 4, &units) || !ReadsBack(units, 4, &back)) {
        // No number, infinite, or 2^53 / 10^4 and more: such floats are whole numbers,
        // which four decimals give back exactly.
        return AppendField(line, wide, width);
    }
    if (float(negative ? -back : back) == value) return PutFixed(line, units, negative, 4, width);
    // From 1 on, the fewest decimals that read back are the shortest text, found without
    // its search (all floats of 1 and more but below 2^24 tried: the same text; from
    // 2^24 on they are whole).
    for (int decimals = 5; std::fabs(wide) >= 1.0 && decimals <= kMostDecimals; ++decimals) {
        if (!ScaledUnits(wide, decimals, &units) || !ReadsBack(units, decimals, &back)) break;
        if (float(negative ? -back : back) == value) return PutFixed(line, units, negative, decimals, width);
    }
    // The shortest text that reads back as the float. Read through a double, as the
    // import reads it, that text gives the float back for every float but one pair
    // (+-0x1.5c87fap-84, 7.038531e-26, tried on all of them), which takes the double's.
    char text[32]; // the shortest text of any double fits
    const bool odd = (std::bit_cast<uint32_t>(value) & 0x7FFFFFFFu) == 0x15AE43FDu;
    const auto [end, error] = odd ? std::to_chars(text, text + sizeof text, wide) : std::to_chars(text, text + sizeof text, value);
    PutText(line, text, error == std::errc() ? size_t(end - text) : 0, width);
}
