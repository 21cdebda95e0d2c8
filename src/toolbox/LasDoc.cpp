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
constexpr size_t kFieldWidth = 11;
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
}

void CLasDoc::Rewind()
{
    m_begin = 0;
    // A text whose start is still in the buffer is not read again.
    if (m_bufferOffset == 0) return;
    m_end = 0;
    m_bufferOffset = 0;
    m_noMoreBytes = false;
    m_fileIn.Seek(0);
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
    m_writeFailed = false;
    int error = 0;
    if (!m_fileOut.Open(path, &error))
        return Fail("Could not open output file :\n", path + OutputFailureCause(path, error));
    return 1;
}

void CLasDoc::FlushOutput()
{
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

int CLasDoc::WriteLas20Header(uint8_t feet, bool wrapped)
{
    const char* unit = feet == 1 ? "F" : "M";
    WriteLine("~Version Information");
    WriteLine(" VERS.                 2.00:   ASCII Standard - VERSION 2.0");
    WriteLine(wrapped ? " WRAP.                  YES:   Multiple lines per depth step"
                      : " WRAP.                   NO:   One line per depth step");
    WriteLine("~Well Information Block");
    WriteLine("#MNEM.UNIT       Data Type    Information");
    WriteLine("#---------     -----------    ---------------------------");
    WriteLine(Format(" STRT.%s            %s:", unit, DepthField(m_topDepth).c_str()));
    WriteLine(Format(" STOP.%s            %s:", unit, DepthField(m_bottomDepth).c_str()));
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
    // LAS 2.0 asks for these three in every file, values or not.
    WriteLine(" SRVC.                        :  SERVICE COMPANY");
    WriteLine(" DATE.                        :  LOG DATE");
    WriteLine(" UWI .                        :  UNIQUE WELL ID");
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

void CLasDoc::AppendField(std::string& line, double value)
{
    if (!(std::fabs(value) < 1e15)) {
        char text[400]; // the widest double in fixed notation with four decimals fits
        const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
        const size_t length = error == std::errc() ? size_t(end - text) : 0;
        if (length < kFieldWidth) line.append(kFieldWidth - length, ' ');
        line.append(text, length);
        return;
    }
    // value x 10^4 exactly: the 53-bit mantissa times 10^4 fits 128 bits; the shift that
    // takes its binary exponent off rounds half to even, as the C library does.
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const int exponent = int(bits >> 52 & 0x7FF);
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (exponent ? uint64_t(1) << 52 : 0);
    const int shift = 1075 - std::max(exponent, 1); // above 0 for values below 2^52
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * 10000u;
    uint64_t units = 0;
    if (shift < 128) {
        const unsigned __int128 whole = scaled >> shift;
        const unsigned __int128 rest = scaled - (whole << shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        units = uint64_t(whole) + (rest > half || (rest == half && (whole & 1)));
    }
    // Written right-aligned straight into the line, from its last digit.
    const bool negative = std::signbit(value);
    size_t length = 6 + negative; // "0.0000"
    for (uint64_t w = units / 100000; w > 0; w /= 10) ++length;
    const size_t at = line.size();
    line.resize(at + std::max(length, kFieldWidth), ' ');
    char* p = line.data() + line.size();
    for (int k = 0; k < 4; ++k, units /= 10) *--p = char('0' + units % 10);
    *--p = '.';
    do {
        *--p = char('0' + units % 10);
        units /= 10;
    } while (units);
    if (negative) *--p = '-';
}

void CLasDoc::AppendDepth(std::string& line, double depth)
{
    const size_t at = line.size();
    AppendField(line, depth);
    if (!std::isfinite(depth)) return;
    double back = 0.0;
    for (int decimals = 5; decimals <= 9; ++decimals) {
        const size_t from = std::min(line.find_first_not_of(' ', at), line.size());
        if (ParseTextNumber(std::string_view(line).substr(from), back) && std::fabs(back - depth) <= kDepthResolution)
            return;
        line.resize(at);
        line += Format("%*.*f", int(kFieldWidth), decimals, depth);
    }
}

void CLasDoc::AppendValue(std::string& line, float value)
{
    const size_t at = line.size();
    AppendField(line, double(value));
    const size_t from = std::min(line.find_first_not_of(' ', at), line.size());
    double back = 0.0;
    if (ParseTextNumber(std::string_view(line).substr(from), back) && float(back) == value) return;
    line.resize(at);
    char text[32]; // the shortest text of any float fits
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    const size_t length = error == std::errc() ? size_t(end - text) : 0;
    if (length < kFieldWidth) line.append(kFieldWidth - length, ' ');
    line.append(text, length);
}
