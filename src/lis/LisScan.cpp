#include "lis/LisScan.h"

#include "common/OutputGuard.h"
#include "common/ProgressDlg.h"
#include "lis/LisLayout.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

using lis::Field;

constexpr size_t kInitialCapacity = 1024;
constexpr size_t kCapacitySlack = 1024;
constexpr int kProgressSteps = 1000;
constexpr double kScanVersion = 2.05;
constexpr const char* kStopQuestion = "Are you sure you want to stop scanning?";

// A text field of a record as it stands (up to a NUL, as the report prints it), cut
// where the record ends.
std::string FieldText(const uint8_t* r, uint32_t length, Field f)
{
    if (f.offset >= length) return {};
    const size_t n = std::min<size_t>(f.size, length - f.offset);
    const char* p = reinterpret_cast<const char*>(r + f.offset);
    return std::string(p, strnlen(p, n));
}

std::string Printable(const uint8_t* p, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        if (p[i] >= 32 && p[i] <= 126) s += char(p[i]);
    return s;
}

// A fixed-width name field (mnemonic, units) as report text: each byte that is no
// printable character (NUL padding above all) becomes a blank, so that columns stay
// aligned and the report stays text.
std::string Blanked(const uint8_t* p, size_t n)
{
    std::string s(reinterpret_cast<const char*>(p), n);
    for (char& c : s)
        if (!(static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) <= 126)) c = ' ';
    return s;
}

std::string Trim(const std::string& s, bool left = true)
{
    size_t a = 0, b = s.size();
    while (left && a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

double RoundHalfAway(double v, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return v < 0 ? -std::floor(-v * scale + 0.5) / scale : std::floor(v * scale + 0.5) / scale;
}

// The value of an entry or component of `size` bytes at `p` as a number; 0 for text,
// unknown codes, values shorter than their code and code-50 values beyond a double.
double Number(uint8_t code, const uint8_t* p, size_t size)
{
    double v = 0.0;
    lis::DecodeNumber(code, p, p + size, v);
    return std::isfinite(v) ? v : 0.0;
}

int IntegerOf(double v) { return ClampToInt(std::trunc(v)); }

// Depth scale and unit letter of a depth unit mnemonic; false for the units read as they stand.
bool DepthScaleOf(const std::string& units, double& scale, const char*& letter)
{
    if (units.rfind(".1IN", 0) == 0) return scale = 1.0 / 120.0, letter = "F", true;
    if (units.rfind(".5MM", 0) == 0) return scale = 0.0005, letter = "M", true;
    if (units.rfind(".25C", 0) == 0) return scale = 0.0025, letter = "M", true;
    return false;
}

} // namespace

std::string CLisScan::ProposedReportName(const std::string& lisPath)
{
    std::string name = lisPath;
    const size_t slash = LastSeparator(name);
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name + ".txt";
}

CLisScanFileState& CLisScan::State()
{
    // Records before any file header still need a state to be read against.
    if (m_files.empty()) m_files.push_back(std::make_unique<CLisScanFileState>());
    return *m_files.back();
}

int CLisScan::FlushText()
{
    if (m_text.empty()) return 1;
    const bool ok = m_report.Write(m_text.data(), m_text.size());
    m_text.clear();
    // The first failure is the one told; Run returns it.
    if (!ok && m_reportFailure)
        m_reportFailure = Status::Failure("Error writing scan file :\n" + m_reportPath
                                          + OutputFailureCause(m_reportPath, m_report.Error()));
    return ok ? 1 : 0;
}

// ---- run ----------------------------------------------------------------------------------

Status CLisScan::Run(const std::string& lisPath, const std::string& reportPath)
{
    m_lisPath = lisPath;
    m_reportPath = reportPath;
    m_buffer.assign(kInitialCapacity, 0);
    m_files.clear();
    m_reportFailure = Status();
    if (Status spared = OutputSparesInputs(reportPath, {lisPath}); !spared) return spared;
    // The input first: one that cannot be read leaves an older report as it was.
    if (Status opened = OpenInput(); !opened) return opened;
    if (Status opened = OpenReport(); !opened) {
        m_input.Close();
        return opened;
    }
    const int result = ScanRecords();
    Status closed = Close(result == 1);
    if (!closed) return closed;
    return result == 1 ? Status() : Status::Quiet(); // stopped by the user
}

Status CLisScan::OpenReport()
{
    std::error_code error;
    if (std::filesystem::exists(m_reportPath, error)
        && MessageBox(Format("%s already exists do you want to overwrite?", m_reportPath.c_str()), MB_YESNO) != IDYES)
        return Status::Quiet();
    int openError = 0;
    if (!m_report.Open(m_reportPath, &openError))
        return Status::Failure("Could not open output file :\n" + m_reportPath
                               + OutputFailureCause(m_reportPath, openError));
    return Status();
}

Status CLisScan::OpenInput()
{
    if (Status opened = CLisRecordIO::OpenInput(m_input, m_lisPath); !opened) return opened;
    // Records come in physical pieces behind 4-byte headers: the read-ahead window serves
    // them, rather than two system calls a piece.
    m_input.EnableReadAhead();
    const int64_t length = m_input.GetLength();
    m_fileLength = length > 0 ? uint64_t(length) : 0;
    return Status();
}

Status CLisScan::Close(bool keepReport)
{
    // A report some of whose text never reached the file is no report of the file.
    if (keepReport) keepReport = FlushText() && m_reportFailure;
    m_text.clear();
    m_buffer = std::vector<uint8_t>();
    m_input.Close();
    if (!keepReport) {
        m_report.Abandon();
        return m_reportFailure;
    }
    if (!m_report.Commit())
        return Status::Failure("Error writing scan file :\n" + m_reportPath
                               + OutputFailureCause(m_reportPath, m_report.Error()));
    return Status();
}

uint32_t CLisScan::ReadRecord(uint64_t& position, lis::RecordStatus& status)
{
    uint32_t length =
        CLisRecordIO::ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_input, position, m_framing, &status);
    if (status == lis::RecordStatus::NoRoom) {
        const uint32_t needed = CLisRecordIO::ProbeLogicalRecord(m_input, position, m_framing);
        if (needed > m_buffer.size()) {
            m_buffer.assign(size_t(needed) + kCapacitySlack, 0);
            length = CLisRecordIO::ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_input, position, m_framing,
                                                     &status);
        }
    }
    return length;
}

int CLisScan::WriteRecord(const uint8_t* r, uint32_t length, uint64_t start)
{
    const uint16_t kind = uint16_t(r[lis::kRecordType] | (r[lis::kRecordAttribute] << 8));
    switch (kind) {
    case lis::kNormalData: AddDataRecord(r, length, start); return 1;
    case lis::kInformation: return WriteInformationRecord(r, length, start);
    case lis::kToolString: return WriteTableDumpRecord(start);
    case lis::kDataFormatSpec: return WriteDfsr(r, length, start);
    case lis::kFileHeader: return WriteFileRecord(r, length, start, false);
    case lis::kFileTrailer: return WriteFileRecord(r, length, start, true);
    case lis::kTapeHeader: return WriteTapeRecord(r, length, start, false);
    case lis::kTapeTrailer: return WriteTapeRecord(r, length, start, true);
    case lis::kReelHeader: return WriteReelRecord(r, length, start, false);
    case lis::kReelTrailer: return WriteReelRecord(r, length, start, true);
    case lis::kComment: return WriteCommentRecord(r, length, start);
    default:
        Put(Format("\r\n\r\nUNKNOWN RECORD TYPE = %d   Record Offset: 0x%llx\r\n\r\n", int(kind),
                   static_cast<unsigned long long>(start)));
        return 1;
    }
}

int CLisScan::FinishReport(bool truncated, uint64_t position, size_t records)
{
    if (truncated || position > m_fileLength) {
        SummaryIfPending();
        const unsigned long long at = position;
        Put(Format("\r\n CAUTION: LIS file is truncated near offset %#.4llx\r\n\r\n", at));
        FlushText();
        MessageBox(Format("LIS file damaged near offset %#.4llx", at), MB_OK | MB_ICONSTOP);
        return 1;
    }
    // A file that ends without its trailer still gets the summary of its last run.
    SummaryIfPending();
    if (records == 0) {
        // Otherwise the report would hold its heading alone, and the user wonder why.
        Put("\r\n CAUTION: no LIS record was found in this file\r\n");
        FlushText();
        MessageBox(Format("No LIS record was found in file :\n%s\nThe scan report holds only its heading.",
                          m_lisPath.c_str()),
                   MB_OK | MB_ICONEXCLAMATION);
    }
    return 1;
}

int CLisScan::ScanRecords()
{
    Put(Format("\r\nScanning File: %s\r\n", m_lisPath.c_str()));
    Put(Format("LisScan Version: %4.2f\r\n", kScanVersion));
    m_framing = CLisRecordIO::DetectFraming(m_input);
    Put(m_framing == lis::kTif ? "TIF File Format\r\n\r\n" : "STD File Format\r\n\r\n");
    if (m_framing != lis::kTif) m_framing = lis::kPlain; // not LIS: walked as plain LIS

    CProgressDlg progress;
    progress.Create();
    progress.SetStatus(Format("Scanning LIS File: %s", FileName(m_lisPath).c_str()));
    progress.SetRange(0, kProgressSteps);
    progress.SetPos(0);

    uint64_t position = 0;
    bool truncated = false;
    size_t records = 0; // logical records met
    int shownPos = 0;
    while (position < m_fileLength) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO) == IDYES) return 0;
        const uint64_t start = position;
        lis::RecordStatus status;
        const uint32_t length = ReadRecord(position, status);
        if (status == lis::RecordStatus::End) break;
        if (status == lis::RecordStatus::FileMark) {
            Put(Format("\r\nEOF Marker Detected at Offset: 0x%llx\r\n", static_cast<unsigned long long>(start)));
        } else if (status != lis::RecordStatus::Record || length < lis::kLogicalHeaderSize) {
            truncated = true;
            break;
        } else {
            ++records;
            if (!WriteRecord(m_buffer.data(), length, start) || !FlushText()) return 0;
        }
        const int pos = int(double(std::min(start, m_fileLength)) / double(m_fileLength) * kProgressSteps);
        if (pos != shownPos) progress.SetPos(shownPos = pos);
    }
    return FinishReport(truncated, position, records);
}

// ---- headers and trailers --------------------------------------------------------------------

int CLisScan::WriteReelRecord(const uint8_t* r, uint32_t length, uint64_t offset, bool trailer)
{
    auto f = [&](Field field) { return FieldText(r, length, field); };
    const unsigned long long at = offset;
    Put(trailer ? Format("\r\n\r\nREEL TRAILER RECORD - TYPE 133  Record Offset: %#.4llx\r\n", at)
                : Format("\r\n\r\nREEL HEADER RECORD - TYPE  Record Offset: %#.4llx\r\n", at));
    Put(Format(" Service Name:       %s\r\n", f(lis::kReelServiceName).c_str()));
    Put(Format(" Date:               %s\r\n", f(lis::kReelDate).c_str()));
    Put(Format(" Data_Origin:        %s\r\n", f(lis::kReelOrigin).c_str()));
    Put(Format(" Reel Name:          %s\r\n", f(lis::kReelName).c_str()));
    Put(Format(trailer ? " Reel Coninuation No:%s\r\n" : " Reel Coninuation No: %s\r\n", f(lis::kReelContinuation).c_str()));
    Put(Format(trailer ? " Next Reel Name:     %s\r\n" : " Previous Reel Name: %s\r\n", f(lis::kReelPreviousName).c_str()));
    Put(Format(trailer ? " Comments: %s\r\n" : " Comments:           %s\r\n", f(lis::kReelComment).c_str()));
    return 1;
}

int CLisScan::WriteTapeRecord(const uint8_t* r, uint32_t length, uint64_t offset, bool trailer)
{
    auto f = [&](Field field) { return FieldText(r, length, field); };
    const unsigned long long at = offset;
    Put(trailer ? Format("\r\n\r\nTAPE TRAILER RECORD - TYPE 131  Record Offset: %#.4llx\r\n", at)
                : Format("\r\n\r\nTAPE HEADER RECORD - TYPE 130  Record Offset: %#.4llx\r\n", at));
    Put(Format(" Service Name:       %s\r\n", f(lis::kReelServiceName).c_str()));
    Put(Format(" Date:               %s\r\n", f(lis::kReelDate).c_str()));
    Put(Format(" Data Origin:        %s\r\n", f(lis::kReelOrigin).c_str()));
    Put(Format(" Tape Name:          %s\r\n", f(lis::kReelName).c_str()));
    Put(Format(" Tape_Continuation_No:%s\r\n", f(lis::kReelContinuation).c_str()));
    Put(Format(" Previous Tape Name: %s\r\n", f(lis::kReelPreviousName).c_str()));
    Put(Format(" Commenmts: %s\r\n", f(lis::kReelComment).c_str()));
    return 1;
}

int CLisScan::WriteFileRecord(const uint8_t* r, uint32_t length, uint64_t offset, bool trailer)
{
    if (trailer && !SummaryIfPending()) return 0;
    auto f = [&](Field field) { return FieldText(r, length, field); };
    const unsigned long long at = offset;
    Put(trailer ? Format("\r\n\r\nFILE TRAILER RECORD - TYPE 129  Record Offset: %#.4llx\r\n", at)
                : Format("\r\n\r\nFILE HEADER RECORD - TYPE 128  File Offset: %#.4llx\r\n", at));
    Put(Format(" File Name:          %s\r\n", f(lis::kFileName).c_str()));
    Put(Format(" Service Sub Level:  %s\r\n", f(lis::kFileSubLevel).c_str()));
    Put(Format(" Version Number:     %s\r\n", f(lis::kFileVersion).c_str()));
    Put(Format(" Version Date:       %s\r\n", f(lis::kFileDate).c_str()));
    const std::string maxPhysical = f(lis::kFileMaxPhysical);
    Put(Format(" Max Phys Record Length: %s\r\n", maxPhysical.c_str()));
    Put(Format(" File Type:          %s\r\n", f(lis::kFileType).c_str()));
    Put(Format(" Prev File Name:     %s\r\n", f(lis::kFilePreviousName).c_str()));
    if (!trailer) {
        m_maxPhysicalLength = ClampToInt(std::atof(maxPhysical.c_str()));
        m_files.push_back(std::make_unique<CLisScanFileState>());
    }
    return 1;
}

// ---- comments, information, table dumps --------------------------------------------------

int CLisScan::WriteCommentRecord(const uint8_t* r, uint32_t length, uint64_t offset)
{
    if (!SummaryIfPending()) return 0;
    Put(Format("\r\n\r\nCOMMENT RECORD - TYPE 232  Record Offset: %#.4llx\r\n\r\n", static_cast<unsigned long long>(offset)));
    std::string line;
    int breaks = 0;
    for (uint32_t i = lis::kLogicalHeaderSize; i < length; ++i) {
        const uint8_t c = r[i];
        if (c >= 10 && c <= 126) line += char(c);
        if (c == '\r' || c == '\n') {
            if (++breaks == 2) {
                Put(line);
                line.clear();
                breaks = 0;
                continue;
            }
        }
        if (line.size() >= 72) {
            Put(line + "\r\n");
            line.clear();
        }
    }
    Put(line + "\r\n");
    return 1;
}

int CLisScan::WriteTableDumpRecord(uint64_t offset)
{
    if (!SummaryIfPending()) return 0;
    Put(Format("\r\n\r\nTABLE DUMP RECORD - TYPE 47 File Offset: %#.4llx\r\n", static_cast<unsigned long long>(offset)));
    return 1;
}

namespace {

// One component block of an information record, checked against the record's end.
struct Component {
    uint8_t type = 0, code = 0, size = 0;
    std::string mnemonic, units;
    const uint8_t* value = nullptr;
    size_t next = 0; // where the following component starts
};

bool ReadComponent(const uint8_t* r, uint32_t length, size_t at, Component& c)
{
    if (at + lis::kCompHeaderSize > length) return false;
    const uint8_t* p = r + at;
    c.type = p[lis::kCompType];
    c.code = p[lis::kCompCode];
    c.size = p[lis::kCompSize];
    if (at + lis::kCompHeaderSize + c.size > length) return false;
    c.mnemonic = Blanked(p + lis::kCompMnemonic.offset, lis::kCompMnemonic.size);
    c.units = Blanked(p + lis::kCompUnits.offset, lis::kCompUnits.size);
    c.value = p + lis::kCompValue;
    c.next = at + lis::kCompHeaderSize + c.size;
    return true;
}

// A component's value as the report prints it; `left` gives the parameter list's forms.
std::string ValueText(const Component& c, bool left)
{
    const size_t need = size_t(lis::RepresentationSize(c.code));
    if (lis::Is(c.code, lis::ReprCode::Text)) return Printable(c.value, c.size);
    if (c.size < need) return {};
    int32_t v = 0;
    float f = 0;
    switch (lis::ReprCode(c.code)) {
    case lis::ReprCode::Int8: lis::DecodeInt8(c.value, v); return Format(left ? "%-d" : "%d", v);
    case lis::ReprCode::Byte: lis::DecodeByte(c.value, v); return Format("%d", v);
    case lis::ReprCode::Int16: lis::DecodeInt16(c.value, v); return Format(left ? "%-d" : "%d", v);
    case lis::ReprCode::Int32: lis::DecodeInt32(c.value, v); return Format(left ? "%-d" : "%d", v);
    case lis::ReprCode::Float: lis::DecodeFloat(c.value, f); return Format(left ? "%-10.3f" : "%10.3f", double(f));
    case lis::ReprCode::Float16:
    case lis::ReprCode::FloatLow:
    case lis::ReprCode::Fixed: {
        double d = 0.0;
        lis::DecodeNumber(c.code, c.value, c.value + c.size, d);
        return Format(left ? "%-10.3f" : "%10.3f", d);
    }
    default: return {};
    }
}

} // namespace

int CLisScan::WriteInformationRecord(const uint8_t* r, uint32_t length, uint64_t offset)
{
    if (!SummaryIfPending()) return 0;
    Put(Format("\r\n\r\nINFORMATION RECORD - TYPE 34  File Offset: %#.4llx\r\n", static_cast<unsigned long long>(offset)));
    const size_t at = lis::kLogicalHeaderSize;
    if (at >= length) return 1;
    if (r[at] == lis::kCompTableName) WriteTable(r, length, at);
    else if (r[at] == lis::kCompRowStart) WriteParameters(r, length, at);
    return 1;
}

void CLisScan::WriteTable(const uint8_t* r, uint32_t length, size_t at)
{
    Component c;
    if (!ReadComponent(r, length, at, c)) return;
    const std::string name = Trim(ValueText(c, false));
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    for (at = c.next; ReadComponent(r, length, at, c); at = c.next) {
        if (c.type == lis::kCompRowStart) rows.emplace_back();
        else if (c.type != lis::kCompRowColumn) break;
        if (rows.empty()) break; // a cell before any row
        const std::string cell = Trim(ValueText(c, false));
        if (rows.size() == 1) {
            columns.push_back(c.mnemonic);
            rows[0].push_back(cell);
            continue;
        }
        std::vector<std::string>& row = rows.back();
        row.resize(columns.size());
        for (size_t k = 0; k < columns.size(); ++k)
            if (SameText(columns[k], c.mnemonic)) {
                row[k] = cell;
                break;
            }
    }
    std::vector<size_t> widths(columns.size(), 6);
    for (auto& row : rows) {
        row.resize(columns.size());
        for (size_t k = 0; k < columns.size(); ++k) widths[k] = std::max(widths[k], row[k].size() + 2);
    }
    auto padded = [&](const std::string& text, size_t k) {
        return text + std::string(widths[k] + 2 > text.size() ? widths[k] + 2 - text.size() : 0, ' ');
    };
    Put(Format("Table Name: %s\r\n", name.c_str()));
    std::string header;
    for (size_t k = 0; k < columns.size(); ++k) header += padded(columns[k], k);
    Put(header + "\r\n" + std::string(header.size(), '-') + "\r\n");
    for (const auto& row : rows) {
        std::string line;
        for (size_t k = 0; k < columns.size(); ++k) line += padded(row[k], k);
        Put(line + "\r\n");
    }
}

void CLisScan::WriteParameters(const uint8_t* r, uint32_t length, size_t at)
{
    Component c;
    for (; ReadComponent(r, length, at, c) && c.type == lis::kCompRowStart && c.code != 0; at = c.next)
        Put(Trim(c.mnemonic + "  " + c.units + "  " + ValueText(c, true), false) + "\r\n");
    Put("\r\n");
}

// ---- data format specification -------------------------------------------------------------

int CLisScan::WriteDfsr(const uint8_t* r, uint32_t length, uint64_t offset)
{
    State(); // a DFSR before any file header still opens the state it is read against
    Put(Format("\r\n\r\nDATA FORMAT SPECIFICATION RECORD - TYPE 64   Record Offset: %#.4llx \r\n",
               static_cast<unsigned long long>(offset)));
    Put(" Entry Blocks                Rep\r\n");
    Put(" Type Description             Code  Size  Value     Comment\r\n");
    Put("--------------------------------------------------------------------------\r\n");

    size_t at = lis::kLogicalHeaderSize;
    bool ended = false;
    while (!ended && at + lis::kEntryValue <= length) {
        const lis::EntryType type = lis::EntryType(r[at + lis::kEntryType]);
        const uint8_t size = r[at + lis::kEntrySize];
        const uint8_t code = r[at + lis::kEntryCode];
        const uint8_t* value = r + at + lis::kEntryValue;
        if (at + lis::kEntryValue + size > length) break; // an entry cut by the record's end
        at += lis::kEntryValue + size;
        const double number = Number(code, value, size);
        const int whole = IntegerOf(number);
        const std::string text = Trim(Printable(value, size));
        if (type == lis::EntryType::End) {
            Put("  0   Terminator\r\n");
            ended = true;
        } else if (!WriteLayoutEntry(type, code, size, whole, text)) {
            WriteDepthEntry(type, code, size, number, whole, text);
        }
    }
    if (ended) WriteDatumSpecBlocks(r, length, at);
    return 1;
}

bool CLisScan::WriteLayoutEntry(lis::EntryType type, uint8_t code, uint8_t size, int whole, const std::string& text)
{
    CLisScanFileState& s = State();
    switch (type) {
    case lis::EntryType::DataRecordType:
        Put(Format("  1   Data Record Type        %-6d%-6d%-10d\r\n", code, size, whole));
        s.m_dataRecordType = uint8_t(whole);
        break;
    case lis::EntryType::DatumSpecBlockType:
        Put(Format("  2   Datum Spec Block Type   %-6d%-6d%-10d\r\n", code, size, whole));
        s.m_datumSpecBlockType = uint8_t(whole);
        break;
    case lis::EntryType::FrameSize:
        Put(Format("  3   Data Frame Size         %-6d%-6d%-10d\r\n", code, size, whole));
        s.m_frameSize = uint32_t(std::max(whole, 0));
        break;
    case lis::EntryType::UpDown:
        Put(Format("  4   Up/Down Flag            %-6d%-6d%-10d", code, size, whole) + (whole == 1 ? "UP\r\n" : "DOWN\r\n"));
        s.m_upDown = whole == 1 ? 1 : -1;
        break;
    case lis::EntryType::OpticalDepthUnits:
        Put(Format("  5   Depth Scale Units       %-6d%-6d%-10d", code, size, whole)
            + (whole == 0 ? "TIME\r\n" : whole == 1 ? "FT\r\n" : whole == 255 ? "METERS\r\n" : "???\r\n"));
        break;
    case lis::EntryType::DataReferencePoint:
        Put(Format("  6   Data Ref Point          %-6d%-6d%-10d\r\n", code, size, whole));
        s.m_dataRefPoint = uint32_t(whole);
        break;
    case lis::EntryType::DataReferenceUnits:
        Put(Format("  7   Data Ref Units          %-6d%-6d%s\r\n", code, size, text.c_str()));
        s.m_dataRefUnits = text;
        break;
    default: return false;
    }
    return true;
}

void CLisScan::WriteDepthEntry(lis::EntryType type, uint8_t code, uint8_t size, double number, int whole,
                               const std::string& text)
{
    CLisScanFileState& s = State();
    switch (type) {
    case lis::EntryType::FrameSpacing: {
        const double spacing = lis::IsRealCode(code) ? RoundHalfAway(number, 3) : double(whole);
        Put(Format("  8   Frame Spacing           %-6d%-6d%-10.4f\r\n", code, size, spacing));
        s.m_frameSpacing = spacing;
        break;
    }
    case lis::EntryType::FrameSpacingUnits:
        Put(Format("  9   Frame Units             %-6d%-6d%s\r\n", code, size, text.c_str()));
        s.m_frameUnits = text;
        if (text == ".1IN") s.m_frameSpacing /= 120.0;
        else if (text == "MM") s.m_frameSpacing *= 0.001;
        else if (text == ".5MM") s.m_frameSpacing *= 0.0005;
        else if (text == ".25C") s.m_frameSpacing *= 0.0025;
        break;
    case lis::EntryType::MaxFramesPerRecord:
        Put(Format("  11  Max Frames per Record   %-6d%-6d%-10d\r\n", code, size, whole));
        s.m_maxFramesPerRecord = uint8_t(std::clamp(whole, 0, 255));
        break;
    case lis::EntryType::AbsentValue:
        Put(Format("  12  Absent Value            %-6d%-6d%-10.4f\r\n", code, size, number));
        s.m_absentValue = number;
        break;
    case lis::EntryType::DepthMode:
        Put(Format("  13  Depth Record Mode       %-6d%-6d%-10d", code, size, whole)
            + (whole == 0 ? "ONE PER FRAME\r\n" : "ONE PER RECORD\r\n"));
        s.m_depthMode = uint8_t(whole);
        break;
    case lis::EntryType::DepthUnits:
        Put(Format("  14  Data Record Depth Units %-6d%-6d%s\r\n", code, size, text.c_str()));
        s.m_depthUnits = text;
        break;
    case lis::EntryType::DepthCode: {
        Put(Format("  15  Output Depth Rep Code   %-6d%-6d%-10d\r\n", code, size, whole));
        s.m_depthCode = uint8_t(whole);
        const char* letter = nullptr;
        if (DepthScaleOf(s.m_depthUnits, s.m_depthScale, letter)) s.m_depthUnits = letter;
        break;
    }
    case lis::EntryType::DatumSpecSubtype:
        Put(Format("  16  Datum Block Sub Type    %-6d%-6d%-10d\r\n", code, size, whole));
        s.m_datumBlockSubType = uint8_t(whole);
        break;
    default: break;
    }
}

void CLisScan::WriteDatumSpecBlocks(const uint8_t* r, uint32_t length, size_t at)
{
    CLisScanFileState& s = State();
    const bool subType1 = s.m_datumBlockSubType == 1;
    if (subType1) {
        Put("\r\n  Type 0 Sub Type 1 Datum Spec Block\r\n");
        Put("                               API  API  API  API  File Size      Num   Rep\r\n");
        Put("Num  MNEM Units Serv  Order No Log  Curv Clas Mod  Num  Byte      Samp Code\r\n");
        Put("-------------------------------------------------------------------------------\r\n");
    } else {
        Put("\r\n  Type 0 Sub Type 0 Datum Spec Block\r\n");
        Put("C                                   API  API  API  API  Size      No   Rep\r\n");
        Put("Num  Mnem Unit Serv   Order    File Log  Type Clas Mod  Byte      Samp Code\r\n");
    }
    uint64_t sizes = 0;
    for (; at + lis::kDsbSize <= length; at += lis::kDsbSize) {
        const uint8_t* b = r + at;
        auto text = [&](Field f) { return Blanked(b + f.offset, f.size); };
        const std::string mnemonic = text(lis::kDsbMnemonic), units = text(lis::kDsbUnits);
        const int position = int(at - lis::kLogicalHeaderSize);
        const int file = endian::GetBE16(b + lis::kDsbFileNumber);
        const int size = endian::GetBE16(b + lis::kDsbChannelSize);
        const int samples = b[lis::kDsbSamples], code = b[lis::kDsbCode];
        sizes += uint64_t(size);
        const uint8_t* api = b + lis::kDsbApiCodes.offset;
        if (subType1) {
            const std::string digits = Format("%08d", int32_t(endian::GetBE32(api)));
            auto cut = [&](size_t from, size_t n) { return from < digits.size() ? digits.substr(from, n) : std::string(); };
            Put(Format("%4d %4s %4s  %6s %8s %-4d %4s %4s %4s %4s %-10d %-4d %-4d\r\n", position, mnemonic.c_str(),
                       units.c_str(), text(lis::kDsbServiceId).c_str(), text(lis::kDsbServiceOrder).c_str(), file,
                       cut(0, 2).c_str(), cut(2, 3).c_str(), cut(5, 2).c_str(), cut(7, 1).c_str(), size, samples, code));
            if (s.m_depthCode == 0 && (mnemonic == "DEPT" || mnemonic == "TDEP" || mnemonic == "MDEP")) {
                s.m_depthCode = uint8_t(code);
                const char* letter = nullptr;
                if (DepthScaleOf(units, s.m_depthScale, letter)) s.m_depthUnits = letter;
            }
        } else {
            Put(Format("%4d %s %s %s %s %-4d %-4d %-4d %-4d %-4d %-10d %-4d %-4d\r\n", position, mnemonic.c_str(),
                       units.c_str(), text(lis::kDsbServiceId).c_str(), text(lis::kDsbServiceOrder).c_str(), file,
                       int(api[0]), int(api[1]), int(api[2]), int(api[3]), size, samples, code));
        }
    }
    if (s.m_frameSize == 0) s.m_frameSize = uint32_t(std::min<uint64_t>(sizes, UINT32_MAX));
}

// ---- data records ------------------------------------------------------------------------------

void CLisScan::AddDataRecord(const uint8_t* r, uint32_t length, uint64_t offset)
{
    CLisScanFileState& s = State();
    const uint8_t* body = r + lis::kLogicalHeaderSize;
    const size_t bodyLength = length - lis::kLogicalHeaderSize;
    const uint8_t code = s.m_depthCode;
    auto depthAt = [&](size_t at, size_t width) {
        if (at + width > bodyLength) return 0.0;
        const bool known = lis::Is(code, lis::ReprCode::Float) || lis::Is(code, lis::ReprCode::Int32)
                           || lis::Is(code, lis::ReprCode::Int16);
        double v = 1.0; // a depth of no known code
        if (known) lis::DecodeNumber(code, body + at, body + at + width, v);
        return v * s.m_depthScale;
    };

    // Without a frame size no depth can be placed: the record only counts.
    uint64_t frames = 0;
    double first = 0.0, last = 0.0, second = 0.0;
    if (s.m_depthMode == lis::kDepthPerRecord) {
        const size_t width = lis::Is(code, lis::ReprCode::Int16) ? 2 : 4;
        first = depthAt(0, width);
        frames = s.m_frameSize && bodyLength > width ? (bodyLength - width) / s.m_frameSize : 0;
        const double step = s.m_upDown == 1 ? -s.m_frameSpacing : s.m_frameSpacing;
        last = first + double(frames > 0 ? frames - 1 : 0) * step;
    } else if (s.m_frameSize) {
        const bool known = lis::Is(code, lis::ReprCode::Float) || lis::Is(code, lis::ReprCode::Int32);
        frames = bodyLength / s.m_frameSize;
        auto frameDepth = [&](uint64_t k) { return known ? depthAt(size_t(k * s.m_frameSize), 4) : s.m_depthScale; };
        first = frameDepth(0);
        last = frames ? frameDepth(frames - 1) : first;
        second = frames > 1 ? frameDepth(1) : first;
    }

    if (s.m_recordCount == 0) {
        s.m_firstDepth = first;
        s.m_firstRecordOffset = offset;
    } else {
        const double interval =
            std::fabs(frames > 1 ? (last - first) / double(frames - 1) : s.m_lastDepth - first);
        if (std::isfinite(interval)) {
            s.m_maxInterval = std::max(s.m_maxInterval, interval);
            s.m_minInterval = std::min(s.m_minInterval, interval);
            s.m_intervalSum += interval;
        }
        if (s.m_frameSpacing == 0.0)
            s.m_frameSpacing = s.m_depthMode != lis::kDepthPerRecord && frames > 1
                                   ? std::fabs(RoundHalfAway(second - first, 3))
                                   : interval;
        if (s.m_upDown == 0) s.m_upDown = s.m_firstDepth - first <= 0 ? -1 : 1;
    }
    s.m_lastDepth = last;
    ++s.m_recordCount;
    s.m_dataPending = true;
}

int CLisScan::SummaryIfPending() { return m_files.empty() || !State().m_dataPending ? 1 : WriteDataSummary(); }

int CLisScan::WriteDataSummary()
{
    CLisScanFileState& s = State();
    s.m_dataPending = false;
    const char* units = s.m_depthUnits.c_str();
    Put(Format("\r\n\r\nDATA RECORD - TYPE 0  Record Offset: 0x%llx \r\n",
               static_cast<unsigned long long>(s.m_firstRecordOffset)));
    Put(Format(" Start Depth:       %-10.4f %s\r\n", s.m_firstDepth, units));
    Put(Format(" End Depth:         %-10.4f %s\r\n", s.m_lastDepth, units));
    // A run of one record has no interval between records.
    if (s.m_recordCount > 1 && s.m_maxInterval != s.m_minInterval) {
        Put(Format(" Max Depth Interval:  %-10.4f\r\n", s.m_maxInterval));
        Put(Format(" Min Depth Interval:  %-10.4f\r\n", s.m_minInterval));
        Put(Format(" Avg Depth Interval:  %-10.4f\r\n", s.m_intervalSum / double(s.m_recordCount - 1)));
    } else {
        Put(Format(" Depth Interval:  %-10.4f\r\n", s.m_maxInterval));
    }
    Put(Format(" Number of Depth Records: %-6d\r\n", int(std::min<uint32_t>(s.m_recordCount, INT32_MAX))));
    s.m_firstDepth = s.m_lastDepth = s.m_maxInterval = s.m_intervalSum = 0.0;
    s.m_minInterval = 9999.0;
    s.m_recordCount = 0;
    return 1;
}
