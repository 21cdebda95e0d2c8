#include "lis/LisWrite.h"

#include "dataset/FastDatum.h"
#include "dataset/ItemTypes.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Path.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

using namespace lis;
using namespace lis::writer;

namespace {

const char kErrorReelHeader[] = "Error writing reel header in file :\n";
const char kErrorTapeHeader[] = "Error writing tape header in file :\n";
const char kErrorFileHeader[] = "Error writing file header in file :\n";
const char kErrorInformation[] = "Error writing information record in file :\n";
const char kErrorComment[] = "Error writing comment in file :\n";
const char kErrorDfsr[] = "Error writing data format specification in file :\n";
const char kErrorDataRecord[] = "Error writing data record in file :\n";
const char kErrorFileTrailer[] = "Error writing file trailer in file :\n";
const char kErrorTapeTrailer[] = "Error writing tape trailer in file :\n";
const char kErrorReelTrailer[] = "Error writing reel trailer in file :\n";
const char kErrorFileMark[] = "Error writing file mark in file :\n";

const char kServiceName[] = "QTX";
constexpr size_t kNamedDatums = 8; // a longer list of datums is cut, with a count
const char kOrigin[] = "QTX";
const char kReelAndTapeName[] = "01";
const char kContinuation[] = "01";
const char kReelCommentText[] = "Merrowdyne Revezirider LLC. Processing";
const char kLisFileName[] = "QTX   .001";
const char kVersion[] = "1.000";
const char kLisFileType[] = "LO";
const char kMaker[] = "Merrowdyne";

// The frame buffer is first sized by the header's frame size, up to this bound;
// larger frames grow it when their values arrive, so a hostile header cannot
// demand memory that no frame ever uses.
constexpr uint64_t kFrameBufferFirstCap = 64u << 20;
constexpr size_t kFrameBufferSlack = 1024;

// Copies `text` into a blank field, cut to its width.
void PutText(uint8_t* at, size_t width, const std::string& text)
{
    std::memcpy(at, text.data(), std::min(width, text.size()));
}
void PutText(uint8_t* record, Field field, const std::string& text) { PutText(record + field.offset, field.size, text); }

std::string Padded(std::string text, size_t width)
{
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

std::string Mnemonic(const QtxDatumDescriptor& d) { return std::string(d.mnemonic, sizeof d.mnemonic); }

// Unit mnemonic of a QTX axis unit code; empty for codes it does not name.
std::string UnitMnemonic(uint8_t code)
{
    switch (code) {
    case kUnitMicroseconds: return "USEC";
    case kUnitMicrosecondsPerFoot: return "US/F";
    case kUnitMicrosecondsPerMetre: return "US/M";
    case kUnitHertz: return "HZ";
    case kUnitDegrees: return "DEG";
    default: return std::string();
    }
}

// ---- the information table's vocabulary -------------------------------------------------

// Row names of each item family in the information table: receivers, samples and
// period of a waveform; samples, period and first index of a processed kind.
std::array<const char*, 3> FamilyRows(ItemFamily family)
{
    switch (family) {
    case ItemFamily::Monopole: return {"MNR", "MNS", "MSP"};
    case ItemFamily::DipoleX: return {"DXNR", "DXNS", "DXSP"};
    case ItemFamily::DipoleY: return {"DYNR", "DYNS", "DYSP"};
    case ItemFamily::Quadrupole: return {"QDNR", "QDNS", "QDSP"};
    case ItemFamily::Phase: return {"PDNS", "PDSP", "PDSD"};
    case ItemFamily::Semblance: return {"SPNS", "SPSP", "SPSD"};
    case ItemFamily::Energy: return {"EGNS", "EGSP", "EGSD"};
    case ItemFamily::InstFrequency: return {"IFNS", "IFSP", "IFSD"};
    case ItemFamily::InstSlowness: return {"ISNS", "ISSP", "ISSD"};
    default: return {"", "", ""};
    }
}

// Waveform datums that may be written one channel per receiver, with the stems of
// their receiver channels.
struct ReceiverStem {
    const char* mnemonic;
    const char* stem;
};
constexpr ReceiverStem kReceiverStems[] = {
    {"WMNO", "MON"}, {"WDXX", "DXX"}, {"WDXY", "DXY"}, {"WDYX", "DYX"}, {"WDYY", "DYY"}, {"WQUD", "QUD"},
};

const char* FindReceiverStem(const std::string& mnemonic)
{
    for (const ReceiverStem& s : kReceiverStems)
        if (mnemonic == s.mnemonic) return s.stem;
    return nullptr;
}

std::string TooLargeForAChannel(const std::string& mnemonic, uint32_t size, const std::string& path)
{
    return Format("Datum %s does not fit into a LIS channel!\nIts %u bytes a frame are more than the %u a channel of "
                  "file :\n%s\nholds. Extract the other items to a data set of their own (Utilities > Tools, "
                  "Extract Item(s)) and export that.\nOperation will be abandoned.",
                  mnemonic.c_str(), unsigned(size), unsigned(kMaxChannelSize), path.c_str());
}

struct Channel {
    std::string mnemonic;
    uint64_t size;
    std::string units;
    uint8_t samples = 1; // samples a frame: above 1 a fast channel
};

// A fast datum goes out as the fast channel it came from: all its values in one
// channel of that many samples a frame. Any other datum is one sample a frame.
uint8_t ChannelSamples(const QtxDatumDescriptor& d)
{
    const uint32_t samples = qtx::FastSamples(d);
    return samples <= std::numeric_limits<uint8_t>::max() ? uint8_t(samples) : 1;
}

// Receiver channels only where they describe the datum's bytes exactly.
bool SplitsIntoReceivers(const QtxDatumDescriptor& d)
{
    return d.traceCount > 0 && d.traceCount <= CLisWrite::kMaxReceiverChannels && d.size % d.traceCount == 0
           && d.size / d.traceCount <= kMaxChannelSize;
}

} // namespace

CLisWrite::CLisWrite() { m_information.resize(kInformationBufferSize); }

std::string CLisWrite::FormatDate(std::time_t time)
{
    std::tm utc {};
    gmtime_r(&time, &utc);
    const std::string year = Format("%4d", utc.tm_year + 1900);
    return Format("%s/%02d/%02d", year.substr(year.size() - 2).c_str(), utc.tm_mon + 1, utc.tm_mday);
}

std::string CLisWrite::ReceiverMnemonic(const std::string& stem, unsigned receiver)
{
    // One base-36 digit keeps the 4-character names unique and their stems intact,
    // so the receivers of one datum still share the first three characters.
    if (receiver == 0 || receiver > kMaxReceiverChannels) return std::string();
    const char digit = receiver <= 9 ? char('0' + receiver) : char('A' + (receiver - 10));
    return Padded(stem, 3).substr(0, 3) + digit;
}

// ---- writing records ------------------------------------------------------------------------

Status CLisWrite::Fail(const char* what)
{
    m_failed = true;
    return Status::Failure(what + m_path + OutputFailureCause(m_path, m_file.Error()));
}

Status CLisWrite::Put(const uint8_t* record, size_t length, const char* what)
{
    if (m_failed) return Status::Quiet();
    if (length > std::numeric_limits<uint32_t>::max() || !m_file.IsOpen()
        || !m_recordIO.WriteLogicalRecord(m_file, record, uint32_t(length), m_maxPhysicalLength, kTif))
        return Fail(what);
    return Status();
}

Status CLisWrite::PutFileMark()
{
    if (m_failed) return Status::Quiet();
    if (!m_file.IsOpen() || !m_recordIO.WriteFileMark(m_file)) return Fail(kErrorFileMark);
    return Status();
}

Status CLisWrite::Create(const std::string& path)
{
    m_path = FullPath(path);
    m_created = false;
    m_failed = false;
    m_pending = 0;
    m_used = 0;
    m_recordIO = CLisRecordIO(); // the TIF chain starts at offset 0 of every file
    // The message names the path as the caller gave it.
    if (!m_file.Open(m_path, &m_openError))
        return Status::Failure("Could not open output file :\n" + path + OutputFailureCause(path, m_openError));
    m_created = true;
    return Status();
}

namespace {

// Reel and tape records share their layout; only the reel's carries the comment.
void FillReelOrTape(uint8_t* r, uint8_t type, const std::string& date)
{
    std::memset(r, ' ', kReelSize);
    r[kRecordType] = type;
    r[kRecordAttribute] = 0;
    PutText(r, kReelServiceName, kServiceName);
    PutText(r, kReelDate, date);
    PutText(r, kReelOrigin, kOrigin);
    PutText(r, kReelName, kReelAndTapeName);
    PutText(r, kReelContinuation, kContinuation);
}

} // namespace

Status CLisWrite::WriteReel(uint8_t type)
{
    uint8_t r[kReelSize];
    FillReelOrTape(r, type, FormatDate(m_clock()));
    PutText(r, kReelComment, kReelCommentText);
    return Put(r, sizeof r, type == kReelHeader ? kErrorReelHeader : kErrorReelTrailer);
}

Status CLisWrite::WriteTape(uint8_t type)
{
    uint8_t r[kReelSize];
    FillReelOrTape(r, type, FormatDate(m_clock()));
    return Put(r, sizeof r, type == kTapeHeader ? kErrorTapeHeader : kErrorTapeTrailer);
}

Status CLisWrite::WriteFileRecord(uint8_t type)
{
    uint8_t r[kFileSize];
    std::memset(r, ' ', sizeof r);
    r[kRecordType] = type;
    r[kRecordAttribute] = 0;
    PutText(r, kFileName, kLisFileName);
    PutText(r, kFileVersion, kVersion);
    PutText(r, kFileDate, FormatDate(m_clock()));
    PutText(r, kFileMaxPhysical, Format("%5d", int(m_maxPhysicalLength)));
    PutText(r, kFileType, kLisFileType);
    return Put(r, sizeof r, type == kFileHeader ? kErrorFileHeader : kErrorFileTrailer);
}

Status CLisWrite::WriteHeaders()
{
    if (Status s = WriteReel(kReelHeader); !s) return s;
    if (Status s = WriteTape(kTapeHeader); !s) return s;
    if (Status s = PutFileMark(); !s) return s;
    return WriteFileRecord(kFileHeader);
}

void CLisWrite::BuildTypeTable(const QtxFileHeader& header, const QtxDatumDescriptor* descriptors)
{
    CLisTableRow first;
    first.m_mnem = kServiceName;
    first.m_valu = kMaker;
    m_rows.push_back(first);
    if (!descriptors) return;
    for (size_t i = 0; i < header.datumCount; ++i) {
        const QtxDatumDescriptor& d = descriptors[i];
        const ItemType& type = ItemTypeOf(d.typeCode);
        if (type.family == ItemFamily::None) continue;
        const std::array<const char*, 3> rows = FamilyRows(type.family);
        auto add = [&](const std::string& mnem, const std::string& valu, const std::string& tuni = std::string(),
                       const std::string& desc = std::string()) {
            CLisTableRow row;
            row.m_mnem = mnem;
            row.m_tuni = tuni;
            row.m_valu = valu;
            row.m_desc = desc;
            m_rows.push_back(std::move(row));
        };
        add(Mnemonic(d), Format("%d", int(d.typeCode)), std::string(), type.label);
        const std::string period = Format("%8.4f", double(d.axis1.step));
        if (!IsProcessed(type.family)) {
            add(rows[0], Format("%d", int(d.traceCount)));
            add(rows[1], Format("%d", int(d.axis1.sampleCount)));
            add(rows[2], period);
        } else {
            add(rows[0], Format("%d", int(d.axis1.sampleCount)));
            add(rows[1], period, UnitMnemonic(d.axis1.unit));
            if (d.axis1.firstIndex > 0) add(rows[2], Format("%d", int(d.axis1.firstIndex)));
        }
    }
}

Status CLisWrite::WriteInformationRecord(const std::string& tableName, const QtxFileHeader* header,
                                         const QtxDatumDescriptor* descriptors)
{
    if (m_failed || !header) return Status::Quiet();
    m_rows.clear();
    BuildTypeTable(*header, descriptors);

    // A component value is at least 4 bytes, and its size must fit its one byte
    // (DESC stays even).
    auto value = [](const std::string& text, bool even) {
        std::string v = Padded(text, 4);
        if (even && v.size() % 2) v += ' ';
        const size_t limit = even ? 254 : 255;
        if (v.size() > limit) v.resize(limit);
        return v;
    };
    struct Block {
        uint8_t type;
        const char* mnemonic;
        std::string value;
    };
    std::vector<Block> blocks;
    blocks.reserve(1 + 4 * m_rows.size());
    blocks.push_back({kCompTableName, "TYPE", Padded(tableName, 4).substr(0, 4)});
    for (const CLisTableRow& row : m_rows) {
        blocks.push_back({kCompRowStart, "MNEM", value(row.m_mnem, false)});
        blocks.push_back({kCompRowColumn, "TUNI", value(row.m_tuni, false)});
        blocks.push_back({kCompRowColumn, "DESC", value(row.m_desc, true)});
        blocks.push_back({kCompRowColumn, "VALU", value(row.m_valu, false)});
    }
    size_t length = kLogicalHeaderSize;
    for (const Block& b : blocks) length += kCompHeaderSize + b.value.size();
    if (m_information.size() < length) m_information.resize(length);

    uint8_t* r = m_information.data();
    r[kRecordType] = kInformation;
    r[kRecordAttribute] = 0;
    size_t at = kLogicalHeaderSize;
    for (const Block& b : blocks) {
        uint8_t* c = r + at;
        c[kCompType] = b.type;
        c[kCompCode] = uint8_t(ReprCode::Text);
        c[kCompSize] = uint8_t(b.value.size());
        c[kCompCategory] = 0;
        std::memset(c + kCompUnits.offset, ' ', kCompUnits.size);
        PutText(c, kCompMnemonic, b.mnemonic);
        std::memcpy(c + kCompValue, b.value.data(), b.value.size());
        at += kCompHeaderSize + b.value.size();
    }
    Status written = Put(r, length, kErrorInformation);
    m_rows.clear();
    return written;
}

Status CLisWrite::WriteComment(const QtxFileHeader* header)
{
    if (m_failed || !header) return Status::Quiet();
    // The history is text up to its first zero byte.
    const char* h = header->history;
    size_t n = 0;
    while (n < sizeof header->history && h[n] != '\0') ++n;
    while (n > 0 && (h[n - 1] == ' ' || h[n - 1] == '\t' || h[n - 1] == '\r' || h[n - 1] == '\n')) --n;
    std::vector<uint8_t> r(kLogicalHeaderSize + n + (n % 2), ' ');
    r[kRecordType] = kComment;
    r[kRecordAttribute] = 0;
    std::memcpy(r.data() + kLogicalHeaderSize, h, n);
    return Put(r, kErrorComment);
}

Status CLisWrite::WriteDfsr(const QtxFileHeader* header, const QtxDatumDescriptor* descriptors, int perReceiver)
{
    m_splitNotice.clear();
    if (m_failed || !header) return Status::Quiet();
    const bool metres = header->depthUnits == qtx::kUnitsMetres;

    // The channels first, so that a datum the format cannot describe is refused
    // before anything is written.
    std::vector<Channel> channels;
    channels.push_back({"DEPT", uint64_t(RepresentationSize(uint8_t(ReprCode::Float))), metres ? "M" : "FT"});
    std::string splitDatums; // packed datums too large for one channel, written per receiver
    size_t split = 0;
    const size_t datums = descriptors ? header->datumCount : 0;
    for (size_t i = 0; i < datums; ++i) {
        const QtxDatumDescriptor& d = descriptors[i];
        const std::string mnemonic = Mnemonic(d);
        const std::string units = UnitMnemonic(d.axis1.unit);
        const char* stem = FindReceiverStem(mnemonic);
        const bool tooLarge = d.size > kMaxChannelSize;
        if (stem && perReceiver == 1 && d.traceCount == 0 && d.size == 0) continue;
        if (stem && (perReceiver == 1 || tooLarge) && SplitsIntoReceivers(d)) {
            if (perReceiver != 1 && ++split <= kNamedDatums) splitDatums += (splitDatums.empty() ? "" : ", ") + mnemonic;
            for (unsigned r = 1; r <= d.traceCount; ++r)
                channels.push_back({ReceiverMnemonic(stem, r), d.size / d.traceCount, units});
            continue;
        }
        if (tooLarge) {
            m_failed = true;
            return Status::Failure(TooLargeForAChannel(mnemonic, d.size, m_path));
        }
        channels.push_back({mnemonic, d.size, units, ChannelSamples(d)});
    }
    if (split > kNamedDatums) splitDatums += Format(" and %zu more", split - kNamedDatums);
    if (!splitDatums.empty())
        m_splitNotice = "Waveforms too large for one LIS channel are written one channel per receiver :\n" + splitDatums;

    std::vector<uint8_t> r = {kDataFormatSpec, 0};
    // An entry of a numeric code takes the code's size, so that size and code agree.
    auto entry = [&](EntryType type, ReprCode code, size_t size = 0) {
        if (code != ReprCode::Text) size = size_t(RepresentationSize(uint8_t(code)));
        const size_t at = r.size();
        r.resize(at + kEntryValue + size, ' ');
        r[at + kEntryType] = uint8_t(type);
        r[at + kEntrySize] = uint8_t(size);
        r[at + kEntryCode] = uint8_t(code);
        return r.data() + at + kEntryValue;
    };
    EncodeByte(entry(EntryType::DataRecordType, ReprCode::Byte), 0);
    EncodeByte(entry(EntryType::DatumSpecBlockType, ReprCode::Byte), 0);
    // The LIS frame leaves out the 4 bytes by which the QTX depth (f64) is longer than its own (code 68).
    EncodeInt32(entry(EntryType::FrameSize, ReprCode::Int32), int32_t(header->frameSize >= 4 ? header->frameSize - 4 : 0));
    EncodeByte(entry(EntryType::UpDown, ReprCode::Byte), header->logDirection == qtx::kLogDown ? kLogDown : kLogUp);
    EncodeByte(entry(EntryType::OpticalDepthUnits, ReprCode::Byte), metres ? kOpticalMetres : kOpticalFeet);
    // The data set's depth step as it stands, its sign included, so that it comes back
    // as it went; in the depth channel's units, feet written "F" as the format's spacing units.
    EncodeFloat(entry(EntryType::FrameSpacing, ReprCode::Float), header->depthStep);
    PutText(entry(EntryType::FrameSpacingUnits, ReprCode::Text, 4), 4, metres ? "M" : "F");
    EncodeByte(entry(EntryType::MaxFramesPerRecord, ReprCode::Byte), 1);
    EncodeByte(entry(EntryType::DepthMode, ReprCode::Byte), kDepthPerFrame);
    EncodeByte(entry(EntryType::DatumSpecSubtype, ReprCode::Byte), 1);
    EncodeInt16(entry(EntryType::End, ReprCode::Int16), 0);

    for (const Channel& c : channels) {
        const size_t at = r.size();
        r.resize(at + kDsbSize, 0);
        uint8_t* b = r.data() + at;
        std::memset(b, ' ', kDsbApiCodes.offset); // the text fields before the API codes
        PutText(b, kDsbMnemonic, c.mnemonic);
        PutText(b, kDsbUnits, c.units);
        endian::PutBE16(b + kDsbFileNumber, 0);
        endian::PutBE16(b + kDsbChannelSize, uint16_t(c.size));
        b[kDsbSamples] = c.samples;
        b[kDsbCode] = uint8_t(ReprCode::Float);
    }
    if (Status s = Put(r, kErrorDfsr); !s) return s;
    if (m_frameBuffer.empty())
        m_frameBuffer.resize(size_t(std::min<uint64_t>(header->frameSize, kFrameBufferFirstCap) + kFrameBufferSlack));
    return Status();
}

// ---- frames -----------------------------------------------------------------------------------

bool CLisWrite::EnsureFrameBuffer(uint64_t bytes)
{
    if (bytes > std::numeric_limits<uint32_t>::max()) return false;
    if (m_frameBuffer.size() < bytes) m_frameBuffer.resize(size_t(bytes));
    return true;
}

Status CLisWrite::FlushPendingFrame()
{
    if (m_pending != kFrameValues) return m_failed ? Status::Quiet() : Status();
    m_pending = 0;
    return Put(m_frameBuffer.data(), m_used, kErrorDataRecord);
}

Status CLisWrite::WriteFrame(const float* values, uint32_t count, double depth, uint32_t kind)
{
    if (m_failed) return Status::Quiet();
    if (kind == kFrameStart) {
        if (Status s = FlushPendingFrame(); !s) return s;
        EnsureFrameBuffer(kFrameFirstValue);
        m_frameBuffer[kRecordType] = kNormalData;
        m_frameBuffer[kRecordAttribute] = 0;
        EncodeFloat(m_frameBuffer.data() + kFrameDepth, depth);
        m_used = kFrameFirstValue;
        m_pending = kFrameValues;
        return Status();
    }
    if (m_pending != kFrameValues) return Status(); // no record to append to
    if (count == 0) return Status();
    if (!values) return Status::Quiet();
    constexpr uint32_t kValueSize = RepresentationSize(uint8_t(ReprCode::Float));
    if (!EnsureFrameBuffer(uint64_t(m_used) + uint64_t(kValueSize) * count)) return Fail(kErrorDataRecord);
    EncodeFloats(m_frameBuffer.data() + m_used, values, count);
    m_used += kValueSize * count;
    return Status();
}

Status CLisWrite::WriteTrailers()
{
    if (Status s = FlushPendingFrame(); !s) return s;
    if (Status s = WriteFileRecord(kFileTrailer); !s) return s;
    if (Status s = WriteTape(kTapeTrailer); !s) return s;
    return WriteReel(kReelTrailer);
}

Status CLisWrite::Close()
{
    // The first failure is the one told: after it every step fails quietly.
    Status result;
    auto keep = [&result](Status step) {
        if (result && !step) result = std::move(step);
    };
    if (m_file.IsOpen()) {
        keep(FlushPendingFrame());
        if (!m_failed && m_file.Seek(0, BinaryFile::end) < 0) keep(Fail(kErrorFileMark));
        if (Status mark = PutFileMark(); !mark) keep(std::move(mark));
        else keep(PutFileMark());
        // Only a whole file reaches its name; the file marks are its last bytes.
        if (result && !m_file.Commit()) keep(Fail(kErrorFileMark));
        m_file.Abandon();
        m_created = false;
    }
    m_pending = 0;
    m_used = 0;
    std::vector<uint8_t>().swap(m_frameBuffer);
    return result;
}

void CLisWrite::DeleteOutput()
{
    if (!m_created) return;
    m_file.Abandon();
    m_created = false;
}
