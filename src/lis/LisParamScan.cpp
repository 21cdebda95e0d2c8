#include "lis/LisParamScan.h"

#include "common/OutputGuard.h"
#include "common/ProgressDlg.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

using namespace lis::scan;
using lis::EntryType;
using lis::frames::DepthSize;
using lis::frames::DfsrUnits;
using lis::frames::ReadDepth;
using lis::ReprCode;

namespace {

constexpr const char* kDictionaryMissing = "Tool Dictionary File Not Found!";
constexpr const char* kStopQuestion = "Are you sure you want to stop scanning?";
constexpr const char* kNotRecoverable = "The LIS File is damaged, Data is NOT recoverable!";
constexpr const char* kProceedQuestion = "LIS The File is damaged but there is some data. Do you want to proceed?";
constexpr const char* kSorryNotRecoverable = "Sorry, Data is NOT recoverable!";
constexpr const char* kDictionaryHint = "\nProcess > Dictionary imports one.";
// Added to the damaged-file messages when complete logical files came before the damage.
constexpr const char* kKeptFiles = "\nThe %zu complete logical file(s) before the damaged one are kept.";
constexpr const char* kNoSpacing = "Encountered data records without frame spacing in file :\n%s\n"
                                   "Only the first frame of each such record is kept.";

// Record dispatch values: LIS type in the low byte, the header's second byte in the high.
constexpr uint16_t kDispatchData = lis::kNormalData;
constexpr uint16_t kDispatchInformation = lis::kInformation;
constexpr uint16_t kDispatchTableDump = lis::kToolString;
constexpr uint16_t kDispatchDfsr = lis::kDataFormatSpec;
constexpr uint16_t kDispatchFileHeader = lis::kFileHeader;
constexpr uint16_t kDispatchFileTrailer = lis::kFileTrailer;

std::string TrimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string Trim(const std::string& s)
{
    size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    size_t e = s.size();
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

// `n` bytes at `p` as text, cut at what lies inside [p, end).
std::string Chars(const uint8_t* p, size_t n, const uint8_t* end)
{
    if (p >= end) return std::string();
    n = std::min<size_t>(n, size_t(end - p));
    return std::string(reinterpret_cast<const char*>(p), n);
}

// A text field of the record or block at `base`, cut at `end`.
std::string Text(const uint8_t* base, lis::Field field, const uint8_t* end)
{
    if (base >= end || field.offset >= size_t(end - base)) return std::string();
    return Chars(base + field.offset, field.size, end);
}

// A float truncated toward zero into [0, max]; NaN gives 0.
uint32_t TruncateToUnsigned(double value, uint32_t max)
{
    if (!(value > 0.0)) return 0;
    if (value >= double(max)) return max;
    return uint32_t(value);
}

// One component block of an information record; false when it does not lie whole
// inside [p, end).
struct Component {
    uint8_t type = 0;
    uint8_t code = 0;
    uint8_t size = 0;
    const uint8_t* mnemonic = nullptr; // 4 bytes
    const uint8_t* units = nullptr;    // 4 bytes
    const uint8_t* value = nullptr;    // size bytes
};

bool ReadComponent(const uint8_t* p, const uint8_t* end, Component& c)
{
    if (p >= end || size_t(end - p) < lis::kCompHeaderSize) return false;
    c.type = p[lis::kCompType];
    c.code = p[lis::kCompCode];
    c.size = p[lis::kCompSize];
    if (size_t(end - p) - lis::kCompHeaderSize < c.size) return false;
    c.mnemonic = p + lis::kCompMnemonic.offset;
    c.units = p + lis::kCompUnits.offset;
    c.value = p + lis::kCompValue;
    return true;
}

// The value text of a component by its representation code; `asFloat` formats every
// numeric code "%10.3f" after conversion to a 32-bit float (the untabled parameters).
std::string ValueText(const Component& c, bool asFloat)
{
    if (lis::Is(c.code, lis::ReprCode::Text)) {
        std::string text;
        for (size_t i = 0; i < c.size; ++i)
            if (c.value[i] >= 0x20 && c.value[i] <= 0x7E) text += char(c.value[i]);
        return text;
    }
    double v = 0;
    if (!lis::DecodeNumber(c.code, c.value, c.value + c.size, v)) return std::string();
    if (asFloat || lis::IsRealCode(c.code)) return Format("%10.3f", double(ClampToFloat(v)));
    return Format("%d", int(v));
}

bool MnemonicIs(const Component& c, const char* key)
{
    char padded[lis::kCompMnemonic.size];
    std::memset(padded, ' ', sizeof padded);
    std::memcpy(padded, key, std::min(std::strlen(key), sizeof padded));
    return std::memcmp(c.mnemonic, padded, sizeof padded) == 0;
}

void StoreColumn(CLisTableRow& row, const Component& c, const std::string& text)
{
    if (MnemonicIs(c, "MNEM")) row.m_mnem = text;
    else if (MnemonicIs(c, "PUNI")) row.m_puni = text;
    else if (MnemonicIs(c, "TUNI")) row.m_tuni = text;
    else if (MnemonicIs(c, "VALU")) row.m_valu = text;
    else if (MnemonicIs(c, "SVC")) row.m_svc = text;
    else if (MnemonicIs(c, "DESC")) row.m_desc = text;
}

void StoreColumn(CLisDimRow& row, const Component& c, const std::string& text)
{
    if (MnemonicIs(c, "MNEM")) row.m_mnem = text;
    else if (MnemonicIs(c, "CHAN")) row.m_chan = text;
    else if (MnemonicIs(c, "NDIM")) row.m_ndim = text;
    else if (MnemonicIs(c, "SIZE")) row.m_size = text;
    else if (MnemonicIs(c, "INCR")) row.m_incr = text;
    else if (MnemonicIs(c, "INCU")) row.m_incu = text;
    else if (MnemonicIs(c, "OFFS")) row.m_offs = text;
    else if (MnemonicIs(c, "SAMP")) row.m_samp = text;
}

// Walks the rows of a table: type 0 opens a row, type 69 adds to it, anything else ends.
template <typename Row>
void ParseRows(const uint8_t* p, const uint8_t* end, CLisTable& table, std::vector<Row>& rows)
{
    Row row;
    bool haveRow = false;
    bool firstRow = true;
    Component c;
    while (ReadComponent(p, end, c)) {
        if (c.type == lis::kCompRowStart) {
            if (haveRow) {
                rows.push_back(std::move(row));
                row = Row();
                firstRow = false;
            }
            haveRow = true;
        } else if (c.type != lis::kCompRowColumn) {
            break;
        }
        if (haveRow) {
            if (firstRow) ++table.m_columnCount;
            StoreColumn(row, c, Trim(ValueText(c, false)));
        }
        p += lis::kCompHeaderSize + c.size;
    }
    if (haveRow) rows.push_back(std::move(row));
}

// Units conversion shared by EB 9, EB 14 and the depth channel: the factor to feet or
// metres, the spacing units and the depth unit kind of a recorded unit.
struct UnitRule {
    const char* units;
    double factor;
    const char* spacingUnits; // nullptr: unchanged
    uint8_t kind;
};
constexpr UnitRule kUnitRules[] = {
    {"IN", 1.0 / 12.0, "F", lis::kUnitFeet},     {".1IN", 1.0 / 120.0, "F", lis::kUnitFeet},
    {"MM", 0.001, "M", lis::kUnitMetres},        {".5MM", 0.0005, "M", lis::kUnitMetres},
    {".25C", 0.0025, "M", lis::kUnitMetres},     {"M", 1.0, "M", lis::kUnitMetres},
    {"FT", 1.0, nullptr, lis::kUnitFeet},        {"F", 1.0, nullptr, lis::kUnitFeet},
};

const UnitRule* FindUnitRule(const std::string& units)
{
    const std::string u = Trim(units);
    for (const UnitRule& r : kUnitRules)
        if (u == r.units) return &r;
    return nullptr;
}

bool IsDepthChannel(const std::string& mnemonic)
{
    return mnemonic == "DEPT" || mnemonic == "TDEP" || mnemonic == "MDEP";
}

} // namespace

CLisParamScan::CLisParamScan() = default;
CLisParamScan::~CLisParamScan()
{
    // The channel list points into logical files; let go of it before they go.
    m_channelList.clear();
}

void CLisParamScan::ResetScanState()
{
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_dfsrSeen = 0;
    m_frameCount = 0;
    m_upDownText.clear();
    m_spacingUnits.clear();
    m_frameSpacing = 0.0;
    m_firstDepth = 0.0;
    m_lastDepth = 0.0;
    m_depthStep = 0.0;
    m_lastOnce = {};
    m_onceStep = 0.0;
    m_layoutFile = nullptr;
    m_recordStart = 0;
    m_spacingWarned = false;
    m_currentComplete = false;
    m_cleanFile = 0;
    m_cleanDepths = 0;
}

int CLisParamScan::LoadDictionary(const std::string& directory)
{
    if (!m_ownedDictionary) m_ownedDictionary = std::make_unique<CLisDictionary>();
    m_dictionary = m_ownedDictionary.get();
    return m_ownedDictionary->Load(directory);
}

LisRecogniser CLisParamScan::FindRecogniser(int toolCode) { return RecogniserFor(toolCode); }

int CLisParamScan::Scan(const std::string& lisPath, CLisLogicalFileList* logicalFiles,
                        const std::string& dictionaryDirectory, int toolCode)
{
    ResetScanState();
    if (!OpenCommandInput(m_inputFile, lisPath, lis::kInputRule)) return 0;
    m_inputFile.EnableReadAhead();
    if (!LoadDictionary(dictionaryDirectory)) {
        m_inputFile.Close();
        MessageBox(std::string(kDictionaryMissing) + kDictionaryHint, MB_OK);
        return 0;
    }
    int result = 0;
    try {
        result = ScanRecords(toolCode);
    } catch (const std::bad_alloc&) {
        result = 0;
    }
    m_inputFile.Close();
    m_buffer = std::vector<uint8_t>();
    if (!result) return 0;
    m_channelList.clear();
    if (logicalFiles) {
        for (auto& file : m_logicalFiles) logicalFiles->push_back(std::move(file));
        m_logicalFiles.clear();
    }
    return 1;
}

uint32_t CLisParamScan::ReadRecord(uint64_t& position, lis::RecordStatus& status)
{
    // Read first and probe only when the record needs a larger buffer: the probe
    // walks the physical records a second time, which doubles the system calls.
    uint32_t length =
        m_recordIO.ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_inputFile, position, m_framing, &status);
    if (status == lis::RecordStatus::NoRoom) {
        const uint32_t needed = m_recordIO.ProbeLogicalRecord(m_inputFile, position, m_framing);
        if (needed > m_buffer.size()) {
            m_buffer.resize(size_t(needed) + kCapacitySlack);
            length = m_recordIO.ReadLogicalRecord(m_buffer.data(), m_buffer.size(), m_inputFile, position, m_framing,
                                                  &status);
        }
    }
    return length;
}

int CLisParamScan::DispatchRecord(const uint8_t* record, uint32_t length, uint64_t recordStart,
                                  CLisLogicalFile*& current, uint32_t longest, int toolCode)
{
    const uint16_t kind = uint16_t(record[lis::kRecordType] | (record[lis::kRecordAttribute] << 8));
    switch (kind) {
    case kDispatchData:
        if (current) OnDataRecord(record, length, recordStart, current);
        break;
    case kDispatchInformation:
        if (current) OnInformationRecord(record, length, current);
        break;
    case kDispatchTableDump:
        break;
    case kDispatchDfsr:
        if (current) ParseDfsr(record, length, current);
        break;
    case kDispatchFileHeader:
        current = OnFileHeader(record, length, kFileHeaderExpected);
        break;
    case kDispatchFileTrailer:
        if (current && !OnFileTrailer(current, longest, toolCode)) return 0;
        m_currentComplete = current != nullptr;
        break;
    default:
        break;
    }
    return 1;
}

int CLisParamScan::ScanRecords(int toolCode)
{
    m_framing = m_recordIO.DetectFraming(m_inputFile);
    if (m_buffer.size() < kInitialCapacity) m_buffer.resize(kInitialCapacity);

    const int64_t signedLength = m_inputFile.GetLength();
    const uint64_t fileLength = signedLength > 0 ? uint64_t(signedLength) : 0;
    CProgressDlg progress;
    progress.Create();
    progress.SetStatus(Format("Scanning Input File: %s", FileName(m_inputFile.GetPath()).c_str()));
    progress.SetRange(0, kProgressSteps);
    progress.SetPos(0);

    uint64_t position = 0;
    CLisLogicalFile* current = nullptr;
    uint32_t longest = 0;
    int fileMarks = 0;
    int shownPos = 0;
    while (position < fileLength) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO) == IDYES) {
            m_buffer = std::vector<uint8_t>();
            return 0;
        }
        const uint64_t recordStart = m_recordStart = position;
        lis::RecordStatus status;
        const uint32_t length = ReadRecord(position, status);
        if (status == lis::RecordStatus::End) break;
        if (status == lis::RecordStatus::FileMark) {
            ++fileMarks;
        } else if (status != lis::RecordStatus::Record) {
            return OnDamagedFile(current, longest, toolCode);
        } else {
            fileMarks = 0;
            longest = std::max(longest, length);
            if (!DispatchRecord(m_buffer.data(), length, recordStart, current, longest, toolCode)) {
                m_buffer = std::vector<uint8_t>();
                return 0;
            }
        }
        // A TIF "next" may point far past the end of the file.
        const int pos = int(double(std::min(position, fileLength)) / double(fileLength) * kProgressSteps);
        if (pos != shownPos) {
            progress.SetPos(pos);
            shownPos = pos;
        }
        if (fileMarks >= 2) break;
    }
    m_recordStart = position;
    CleanUp();
    return 1;
}

int CLisParamScan::OnDamagedFile(CLisLogicalFile* current, uint32_t longest, int toolCode)
{
    // The damage lies between logical files: every one of them is whole.
    if (!current || m_currentComplete) {
        CleanUp();
        return 1;
    }
    FinishFrameLayout(); // its frames are those of its settled layout
    // The logical files before the damaged one are complete and stay whatever becomes
    // of it; the question and the messages are about the damaged one.
    const size_t kept = size_t(std::count_if(m_logicalFiles.begin(), m_logicalFiles.end() - 1,
                                             [](const auto& f) { return !f->m_depths.empty(); }));
    const bool othersKept = kept > 0;
    // The data of the damaged file is lost; say so without hiding what is converted.
    auto lost = [&](const char* message) {
        MessageBox(othersKept ? message + Format(kKeptFiles, kept) : std::string(message), MB_OK | MB_ICONSTOP);
    };
    auto dropDamaged = [&] {
        if (!othersKept) {
            m_buffer = std::vector<uint8_t>();
            return 0;
        }
        m_channelList.clear(); // some point into the damaged file
        if (m_lastOnce.file == current) m_lastOnce = {};
        m_logicalFiles.pop_back();
        CleanUp();
        return 1;
    };
    if (current->m_depths.size() <= kRecoverableDepths) {
        lost(kNotRecoverable);
        return dropDamaged();
    }
    if (MessageBox(kProceedQuestion, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return dropDamaged();
    OnFileTrailer(current, longest, toolCode);
    if (current->m_items.empty()) {
        lost(kSorryNotRecoverable);
        return dropDamaged();
    }
    CleanUp();
    return 1;
}

void CLisParamScan::CleanUp()
{
    FinishFrameLayout();
    FinishDepthOnce();
    // Channels point into the logical files that may go below.
    m_channelList.clear();
    std::erase_if(m_logicalFiles, [](const std::unique_ptr<CLisLogicalFile>& f) { return f->m_depths.empty(); });
    for (auto& file : m_logicalFiles) {
        if (file->m_upDown == 0)
            file->m_upDown = file->m_depths.front().m_depth < file->m_depths.back().m_depth ? lis::kLogDown : lis::kLogUp;
        m_upDownText = file->m_upDown == lis::kLogUp ? "UP" : "DOWN";
    }
    m_buffer = std::vector<uint8_t>();
}

int CLisParamScan::RemoveRepeatedDepths()
{
    // Only the current (last) logical file takes depth entries, and only at its end:
    // what was cleaned before stays clean but for its last entry, whose successor may
    // be new.
    if (m_logicalFiles.empty()) return 1;
    for (size_t f = std::min(m_cleanFile, m_logicalFiles.size() - 1); f < m_logicalFiles.size(); ++f) {
        auto& d = m_logicalFiles[f]->m_depths;
        size_t from = f == m_cleanFile ? std::min(m_cleanDepths, d.size()) : 0;
        if (from > 0) --from;
        CLisLogicalFile& file = *m_logicalFiles[f];
        // Entries dropped before all lie ahead of `from`: they count into a frame's number.
        const uint64_t droppedBefore = file.m_droppedCount;
        size_t out = from;
        const auto& onNext = file.m_placedOnNext;
        auto nextOnNext = std::lower_bound(onNext.begin(), onNext.end(), from);
        for (size_t i = from; i < d.size(); ++i) {
            const bool placedOnNext = nextOnNext != onNext.end() && *nextOnNext == i;
            if (placedOnNext) ++nextOnNext;
            if (!placedOnNext && (i + 1 == d.size() || d[i].m_depth != d[i + 1].m_depth)) {
                d[out++] = d[i];
                continue;
            }
            if (file.m_droppedFrames.size() < lis::kNamedDroppedFrames)
                file.m_droppedFrames.push_back({uint64_t(i) + droppedBefore, d[i].m_depth, placedOnNext});
            ++file.m_droppedCount;
            file.m_placedOnNextCount += placedOnNext;
        }
        d.resize(out);
        file.m_placedOnNext.clear();
    }
    m_cleanFile = m_logicalFiles.size() - 1;
    m_cleanDepths = m_logicalFiles.back()->m_depths.size();
    return 1;
}

int CLisParamScan::OnFileTrailer(CLisLogicalFile* file, uint32_t longestRecord, int toolCode)
{
    FinishFrameLayout();
    FinishDepthOnce();
    // Before repeated depths are dropped: depth-once frames are placed at the settled
    // step, and a record's last frame placed at the next record's depth is one of them.
    lis::frames::SettleSpacing(*file);
    RemoveRepeatedDepths();
    if (file->m_depths.empty()) return 1;
    const auto& depths = file->m_depths;
    m_firstDepth = depths.front().m_depth;
    m_lastDepth = depths.back().m_depth;
    if (depths.size() > 1)
        m_depthStep = CLisRecordIO::RoundTo4Decimals(std::fabs(m_lastDepth - m_firstDepth) / double(depths.size() - 1));
    else
        m_depthStep = file->m_frameSpacing; // one frame: no step to measure
    file->m_longestRecord = longestRecord;
    return RecogniseTool(file, toolCode);
}

int CLisParamScan::RecogniseTool(CLisLogicalFile* file, int toolCode)
{
    bool written = false;
    for (const auto& table : file->m_tables) {
        const std::string name = TrimRight(table->m_name);
        if (name == "QTX" || (name == "CONS" && !table->m_rows.empty() && table->m_rows.front().m_mnem == "QTX")) {
            written = true;
            break;
        }
    }
    const int code = toolCode & 0xFF;
    LisRecogniser recognise = nullptr;
    if (written)
        recognise = FindRecogniser(lis::kToolQtxWritten);
    else if (code >= lis::kToolApx && code <= lis::kToolDslt)
        recognise = FindRecogniser(code);
    if (!recognise || !recognise(*this, *file, toolCode)) return 0;
    MakeCurveItems(file);
    m_channelList.clear();
    return 1;
}

void CLisParamScan::MakeCurveItems(CLisLogicalFile* file)
{
    for (CLisChannelItem* channel : m_channelList) {
        if (channel->m_used) continue;
        channel->m_used = 1;
        auto item = std::make_unique<CWaveformPickItem>();
        const bool dtco = channel->m_mnemonic == "DTCO";
        item->m_toolName = channel->m_mnemonic;
        item->m_displayName = channel->m_mnemonic + " " + channel->m_units;
        item->m_mnemonic = channel->m_mnemonic;
        item->m_itemLabel = dtco ? "DTCO" : "UNKNOWN";
        item->m_typeCode = dtco ? 36 : 0;
        item->m_receiverCount = 1;
        item->m_flag = 1;
        item->m_category = 6;
        auto whole = std::make_unique<CLisChannelItem>(*channel);
        if (channel->IsFast()) {
            // Every sample of a fast channel, in the order recorded: the last at the
            // frame's depth, the others back toward the frame before, each a share of
            // the frame spacing apart. The datum's axis gives every value its offset
            // from the frame's depth; a sample of several values steps value by value.
            const int elements = channel->m_size / channel->BytesPerSample();
            const int values = elements * channel->m_frameSamples;
            whole->m_size = uint16_t(channel->m_size * channel->m_frameSamples);
            whole->m_allSamples = true;
            item->m_samplePeriod = float(lis::frames::SignedFrameSpacing(*file) / values);
            item->m_firstIndex = int16_t(-(values - elements));
            item->m_displayName += Format(" (%d samples per frame)", int(channel->m_frameSamples));
        }
        item->m_samplesPerWaveform = uint16_t(whole->m_size / whole->BytesPerSample());
        item->m_waveChannels.push_back(std::move(whole));
        item->m_traceCount = uint16_t(item->m_waveChannels.size());
        file->m_items.push_back(std::move(item));
    }
}

// ---- record handlers -------------------------------------------------------------------------

CLisLogicalFile* CLisParamScan::OnFileHeader(const uint8_t* record, uint32_t length, int expected)
{
    if (expected != kFileHeaderExpected) return nullptr;
    const uint8_t* end = record + length;
    auto file = std::make_unique<CLisLogicalFile>();
    file->m_fileName = Text(record, lis::kFileName, end);
    // A C decimal conversion of five characters: leading blanks, a sign, digits.
    const std::string field = Text(record, lis::kFileMaxPhysical, end);
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) value = value * 10 + (field[i] - '0');
    file->m_maxPhysicalRecord = uint32_t(negative ? -value : value);
    // The logical file before ends here (the record is read: its layout may read records again).
    FinishFrameLayout();
    FinishDepthOnce();
    m_onceStep = 0.0;
    m_currentComplete = false;
    m_dfsrSeen = 0;
    // Channels of a logical file that ended without a trailer (or without depths) are
    // no part of this one.
    m_channelList.clear();
    file->m_framing = m_framing;
    m_logicalFiles.push_back(std::move(file));
    return m_logicalFiles.back().get();
}

int CLisParamScan::OnInformationRecord(const uint8_t* record, uint32_t length, CLisLogicalFile* file)
{
    if (length <= lis::kLogicalHeaderSize) return 1;
    const uint8_t* data = record + lis::kLogicalHeaderSize;
    const uint32_t dataLength = length - uint32_t(lis::kLogicalHeaderSize);
    if (data[lis::kCompType] == lis::kCompTableName)
        ParseTable(data, dataLength, file);
    else if (data[lis::kCompType] == lis::kCompRowStart)
        ParseLooseParameters(data, dataLength, file);
    return 1;
}

void CLisParamScan::ParseTable(const uint8_t* data, uint32_t length, CLisLogicalFile* file)
{
    const uint8_t* end = data + length;
    Component first;
    if (!ReadComponent(data, end, first)) return;
    auto table = std::make_unique<CLisTable>();
    table->m_name = TrimRight(std::string(reinterpret_cast<const char*>(first.value), first.size));
    const uint8_t* rows = data + lis::kCompHeaderSize + first.size;
    if (table->m_name == "DIM")
        ParseRows(rows, end, *table, table->m_dimRows);
    else if (table->m_name == "CONS" || table->m_name == "QTX")
        ParseRows(rows, end, *table, table->m_rows);
    file->m_tables.push_back(std::move(table));
}

void CLisParamScan::ParseLooseParameters(const uint8_t* data, uint32_t length, CLisLogicalFile*)
{
    const uint8_t* p = data;
    const uint8_t* end = data + length;
    Component c;
    while (ReadComponent(p, end, c) && c.type == lis::kCompRowStart && c.code != 0) {
        CLisParameterItem item;
        item.m_mnemonic = std::string(reinterpret_cast<const char*>(c.mnemonic), lis::kCompMnemonic.size);
        item.m_units = std::string(reinterpret_cast<const char*>(c.units), lis::kCompUnits.size);
        item.m_value = ValueText(c, true);
        m_parameters.push_back(std::move(item));
        p += lis::kCompHeaderSize + c.size;
    }
}

namespace {

// One entry block of a DFSR into the data set's settings. Values of a code the entry
// does not expect leave the field as it was.
void ApplyDfsrEntry(EntryType type, uint8_t size, uint8_t code, const uint8_t* v, const uint8_t* end,
                    CLisLogicalFile& f, DfsrUnits& units)
{
    const bool isFloat = lis::IsRealCode(code);
    double x = 0;
    // A code-50 value beyond a double is no setting.
    const bool number = lis::DecodeNumber(code, v, v + size, x) != nullptr && std::isfinite(x);
    switch (type) {
    case EntryType::DataRecordType: if (size) f.m_dataRecordType = v[0]; break;
    case EntryType::DatumSpecBlockType: if (size) f.m_datumSpecBlockType = v[0]; break;
    case EntryType::FrameSize:
        if (number) f.m_frameSize = f.m_declaredFrameSize = TruncateToUnsigned(x, UINT32_MAX);
        break;
    case EntryType::UpDown: if (size) f.m_upDown = f.m_headerUpDown = v[0]; break;
    case EntryType::OpticalDepthUnits: if (size) f.m_opticalDepthUnits = v[0]; break;
    case EntryType::DataReferencePoint:
        if (size >= 4) lis::DecodeInt32(v, f.m_dataReferencePoint); // whatever the code says
        break;
    case EntryType::DataReferenceUnits: f.m_dataReferenceUnits = Chars(v, std::min<size_t>(size, 4), end); break;
    case EntryType::FrameSpacing:
        if (number) {
            f.m_frameSpacing = x; // in full: four places drift over a long log
            f.m_spacingRounding = isFloat && x != 0.0 ? CLisRecordIO::RoundTo4Decimals(x) / x : 1.0;
            f.m_spacingRead = isFloat ? x : 0.0;
        }
        f.m_spacingGiven = f.m_spacingGiven || number;
        f.m_frameSpacingCode = code;
        break;
    case EntryType::FrameSpacingUnits:
        f.m_frameSpacingUnits = Chars(v, std::min<size_t>(size, 4), end);
        units.spacingGiven = !Trim(f.m_frameSpacingUnits).empty();
        if (const UnitRule* r = FindUnitRule(f.m_frameSpacingUnits)) {
            f.m_frameSpacing *= r->factor;
            if (r->spacingUnits) f.m_frameSpacingUnits = r->spacingUnits;
            f.m_depthUnitKind = units.spacingKind = r->kind;
        }
        break;
    case EntryType::MaxFramesPerRecord:
        if (number && (isFloat || lis::Is(code, ReprCode::Byte))) f.m_maxFramesPerRecord = uint8_t(TruncateToUnsigned(x, 255));
        break;
    case EntryType::AbsentValue:
        if (number && isFloat) f.m_absentValue = x;
        else if (number) f.m_absentValueInt = int32_t(x);
        f.m_absentValueCode = code;
        break;
    case EntryType::DepthMode: if (size) f.m_depthMode = v[0]; break;
    case EntryType::DepthUnits:
        f.m_depthUnits = TrimRight(Chars(v, std::min<size_t>(size, 4), end));
        if (f.m_depthMode == lis::kDepthPerRecord) {
            if (const UnitRule* r = FindUnitRule(f.m_depthUnits)) {
                f.m_depthUnitKind = units.depthKind = r->kind;
                if (r->factor != 1.0) f.m_depthFactor = r->factor;
                if (r->spacingUnits) f.m_frameSpacingUnits = r->spacingUnits;
            }
        }
        break;
    case EntryType::DepthCode: if (size) f.m_depthCode = v[0]; break;
    case EntryType::DatumSpecSubtype: if (size) f.m_datumSpecSubtype = v[0]; break;
    default: break;
    }
}

// The channels of the datum specification blocks at [blocks, end); the running total
// sizes a frame the DFSR did not.
void ParseDatumSpecBlocks(const uint8_t* blocks, const uint8_t* end, CLisLogicalFile& f, DfsrUnits& units)
{
    uint64_t offset = 0; // running frame offset, also the running total
    for (const uint8_t* b = blocks; b && b < end && size_t(end - b) >= lis::kDsbSize; b += lis::kDsbSize) {
        auto channel = std::make_unique<CLisChannelItem>();
        channel->m_mnemonic = Trim(Text(b, lis::kDsbMnemonic, end));
        channel->m_units = Trim(Text(b, lis::kDsbUnits, end));
        channel->m_reprCode = b[lis::kDsbCode];
        channel->m_offset = uint32_t(std::min<uint64_t>(offset, UINT32_MAX));
        uint32_t size = endian::GetBE16(b + lis::kDsbChannelSize);
        if (f.m_datumSpecSubtype != 0 && size == lis::kMaxChannelSize) size = lis::kMaxChannelSize + 1;
        const uint8_t samples = b[lis::kDsbSamples];
        channel->m_size = uint16_t(samples > 1 ? size / samples : size);
        if (samples > 1) {
            // Each sample whole elements of the code, or no sample can be told from the next.
            const uint32_t element = uint32_t(lis::RepresentationSize(channel->m_reprCode));
            const bool whole = element > 0 && size >= samples * element && size % samples == 0
                               && (size / samples) % element == 0;
            channel->m_frameSamples = samples;
            // Left out; the log names it by the sizes the DFSR gives.
            if (!whole) {
                channel->m_unevenSamples = true;
                channel->m_size = uint16_t(size);
            }
        }
        offset += size;
        if (IsDepthChannel(channel->m_mnemonic)) {
            channel->m_used = 1;
            if (const UnitRule* r = FindUnitRule(channel->m_units)) {
                if (r->factor != 1.0) f.m_depthFactor = r->factor;
                f.m_frameSpacingUnits = r->spacingUnits ? r->spacingUnits : "F";
                f.m_depthUnitKind = units.depthKind = r->kind;
            }
            // The depth is read with the channel's own code even when its units are unknown.
            f.m_depthCode = channel->m_reprCode;
        }
        f.m_channels.push_back(std::move(channel));
    }
    f.m_channelBytes = uint32_t(std::min<uint64_t>(offset, UINT32_MAX));
    if (f.m_frameSize == 0) f.m_frameSize = f.m_channelBytes;
}

// Where a channel ends in the frame: all its samples.
uint64_t ChannelEnd(const CLisChannelItem& c)
{
    return uint64_t(c.m_offset) + (c.m_unevenSamples ? c.m_size : uint64_t(c.m_size) * std::max<uint8_t>(c.m_frameSamples, 1));
}

} // namespace

int CLisParamScan::ParseDfsr(const uint8_t* record, uint32_t length, CLisLogicalFile* file)
{
    if (m_dfsrSeen == 1) return 1;
    CLisLogicalFile& f = *file;
    const uint8_t* end = record + length;
    const uint8_t* p = record + std::min<size_t>(lis::kLogicalHeaderSize, length);
    const uint8_t* blocks = nullptr; // the datum specification blocks, once the terminator is met
    DfsrUnits units;

    // Entry blocks: the walk ends at the end entry or the record's end.
    while (p < end && size_t(end - p) >= lis::kEntryValue) {
        const EntryType type = EntryType(p[lis::kEntryType]);
        const uint8_t size = p[lis::kEntrySize];
        const uint8_t* v = p + lis::kEntryValue;
        if (size_t(end - v) < size) break;
        if (type == EntryType::End) {
            blocks = v + size;
            break;
        }
        ApplyDfsrEntry(type, size, p[lis::kEntryCode], v, end, f, units);
        p = v + size;
    }

    ParseDatumSpecBlocks(blocks, end, f, units);
    ListReadableChannels(f);
    lis::frames::SettleDfsrSpacing(f, units);
    f.m_frameSpacingUnits = TrimRight(f.m_frameSpacingUnits);
    m_spacingUnits = f.m_frameSpacingUnits;
    m_frameSpacing = f.m_frameSpacing;
    m_dfsrSeen = 1;
    return 1;
}

void CLisParamScan::ListReadableChannels(CLisLogicalFile& f)
{
    // A channel that reaches past the frame cannot be read from it, one whose samples
    // are no whole elements of its code cannot be cut into them, and one whose code
    // holds neither numbers nor text has no values to give: no item is made of any
    // (the conversion log names each kind).
    m_channelList.clear();
    for (const auto& channel : f.m_channels) {
        channel->m_pastFrameEnd = ChannelEnd(*channel) > f.m_frameSize;
        if (!channel->m_pastFrameEnd && !channel->m_unevenSamples && channel->HasValueLayout())
            m_channelList.push_back(channel.get());
    }
}

void CLisParamScan::TryFrameLayouts(CLisLogicalFile& f, const uint8_t* body, uint32_t bytes, uint64_t position)
{
    if (f.m_frameSizeSettled) return;
    if (m_layoutFile != &f) {
        FinishFrameLayout(); // of a data set whose records came before this one's DFSR
        m_layouts = lis::frames::LayoutsToTry(f);
        if (m_layouts.declared.size == 0) {
            f.m_frameSizeSettled = true; // EB 3 and the channels agree
            return;
        }
        m_layoutFile = &f;
        m_firstData = position;
        m_framesBefore = m_frameCount;
        lis::frames::TryLayouts(m_layouts, f, body, bytes);
        // Until the last record settles it, the frames are laid out as the first bears out.
        const uint32_t size = lis::frames::SettleFrameLayout(m_layouts, f);
        f.m_frameSize = size != 0 ? size : m_layouts.channels.size;
        ListReadableChannels(f);
        return;
    }
    lis::frames::TryLayouts(m_layouts, f, body, bytes);
}

void CLisParamScan::FinishFrameLayout()
{
    if (!m_layoutFile) return;
    CLisLogicalFile& f = *m_layoutFile;
    m_layoutFile = nullptr;
    f.m_frameSizeSettled = true;
    const uint32_t size = lis::frames::SettleFrameLayout(m_layouts, f, &f.m_layoutRuling);
    m_layouts = {}; // the depths tried are no longer needed
    // Frames that fit neither layout are not read as either: the data set is refused.
    f.m_layoutRefused = size == 0;
    if (size == 0 || size == f.m_frameSize) return;
    f.m_frameSize = size;
    ListReadableChannels(f);
    ReadFramesAgain(f);
}

void CLisParamScan::ReadFramesAgain(CLisLogicalFile& f)
{
    f.m_depths.clear();
    f.m_remainders.clear();
    f.m_remainderCount = 0;
    m_lastOnce = {};
    m_onceStep = 0.0;
    m_frameCount = m_framesBefore;
    // The records were read once: they read again, and only data records add frames.
    uint64_t position = m_firstData;
    while (m_inputFile.IsOpen() && position < m_recordStart) {
        const uint64_t start = position;
        lis::RecordStatus status;
        const uint32_t length = ReadRecord(position, status);
        if (position <= start || (status != lis::RecordStatus::Record && status != lis::RecordStatus::FileMark)) break;
        if (status == lis::RecordStatus::Record && m_buffer[lis::kRecordType] == kDispatchData
            && m_buffer[lis::kRecordAttribute] == 0)
            OnDataRecord(m_buffer.data(), length, start, &f);
    }
}

int CLisParamScan::OnDataRecord(const uint8_t* record, uint32_t length, uint64_t position, CLisLogicalFile* file)
{
    CLisLogicalFile& f = *file;
    if (f.m_frameSize == 0 || length < lis::kLogicalHeaderSize) return 1;
    const uint8_t* body = record + lis::kLogicalHeaderSize;
    uint32_t dataLength = length - uint32_t(lis::kLogicalHeaderSize);
    const uint32_t depthSize = DepthSize(f.m_depthCode);
    if (depthSize == 0) return 1; // no depth can be read in this code

    const bool once = f.m_depthMode == lis::kDepthPerRecord;
    const uint32_t frameBytes = once ? dataLength - std::min(dataLength, depthSize) : dataLength;
    if (frameBytes > 0) TryFrameLayouts(f, body, dataLength, position);
    // Bytes behind the last whole frame are named, not read as a frame.
    if (const uint32_t rest = frameBytes % f.m_frameSize; rest != 0) {
        if (f.m_remainders.size() < lis::kNamedDroppedFrames)
            f.m_remainders.push_back({position, frameBytes / f.m_frameSize, rest});
        ++f.m_remainderCount;
    }
    if (once) {
        if (dataLength < depthSize) return 1;
        dataLength -= depthSize;
        const uint32_t frames = dataLength / f.m_frameSize;
        if (frames == 0) return 1;
        const double first = ReadDepth(body, body + depthSize, f.m_depthCode) * f.m_depthFactor;
        const double step = DepthOnceStep(f, first);
        const size_t start = f.m_depths.size();
        for (uint32_t k = 0; k < frames; ++k)
            f.m_depths.push_back({first + double(k) * step, position, dataLength, depthSize + k * f.m_frameSize});
        m_lastOnce = {&f, start, frames, first, step};
        m_frameCount += frames;
        return 1;
    }
    const uint32_t frames = dataLength / f.m_frameSize;
    for (uint32_t k = 0; k < frames; ++k) {
        const uint64_t at = uint64_t(k) * f.m_frameSize;
        if (at + depthSize > dataLength) break;
        const double depth = ReadDepth(body + at, body + dataLength, f.m_depthCode) * f.m_depthFactor;
        f.m_depths.push_back({depth, position, dataLength, uint32_t(at)});
    }
    return 1;
}

double CLisParamScan::DepthOnceStep(CLisLogicalFile& f, double first)
{
    DepthOnceRecord& last = m_lastOnce;
    const bool chained = last.file == &f;
    const double step = m_onceStep =
        lis::frames::RecordFrameStep(f, chained ? first - last.first : 0.0, last.frames, m_onceStep);
    if (chained && step == 0.0) {
        FinishDepthOnce();
    } else if (chained && step != last.step && last.start + last.frames <= f.m_depths.size()) {
        for (uint32_t k = 1; k < last.frames; ++k) f.m_depths[last.start + k].m_depth = last.first + double(k) * step;
        last.step = step;
    }
    return step;
}

void CLisParamScan::FinishDepthOnce()
{
    DepthOnceRecord& last = m_lastOnce;
    if (last.file && last.step == 0.0 && last.frames > 1 && last.start < last.file->m_depths.size()) {
        // No spacing and no later record at another depth: the further frames of the
        // record have no depth of their own. They are dropped, and the user told,
        // rather than given the first frame's depth.
        last.file->m_depths.resize(last.start + 1);
        if (!m_spacingWarned) {
            m_spacingWarned = true;
            MessageBox(Format(kNoSpacing, m_inputFile.GetPath().c_str()), MB_OK | MB_ICONEXCLAMATION);
        }
    }
    last = {};
}
