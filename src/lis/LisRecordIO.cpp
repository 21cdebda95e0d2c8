#include "lis/LisRecordIO.h"

#include "dataset/QtxFile.h"
#include "platform/Endian.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

using namespace lis;

double CLisRecordIO::RoundTo4Decimals(double value)
{
    const double shifted = (value > 0 ? value + 0.00005 : value - 0.00005) * 10000.0;
    if (std::fabs(shifted) < 2147483647.0) return double(int32_t(shifted)) * 0.0001;
    // Beyond 32 bits the same rule in 64 bits.
    if (std::fabs(shifted) < 9.0e18) return double(int64_t(shifted)) * 0.0001;
    return value;
}

// ---- framing and reading -------------------------------------------------------------------

namespace {

struct PhysicalHeader {
    uint32_t length = 0;
    uint16_t attributes = 0;
    int TrailerBytes() const
    {
        return int(kTrailerSize) * (((attributes & kChecksumTrailer) ? 1 : 0) + ((attributes & kFileNumberTrailer) ? 1 : 0)
                                    + ((attributes & kRecordNumberTrailer) ? 1 : 0));
    }
};

bool ReadExact(BinaryFile& file, uint64_t at, void* out, size_t n)
{
    return file.ReadAt(int64_t(at), out, n) == n;
}

bool ReadTif(BinaryFile& file, uint64_t at, uint32_t& type, uint32_t& next)
{
    uint8_t b[kTifHeaderSize];
    if (!ReadExact(file, at, b, sizeof b)) return false;
    type = endian::GetLE32(b + kTifType);
    next = endian::GetLE32(b + kTifNext);
    return true;
}

// A physical record header that can be trusted: at least its own 4 bytes and its
// trailers, and wholly inside the file.
bool ReadPhysical(BinaryFile& file, uint64_t at, uint64_t fileLength, PhysicalHeader& h)
{
    uint8_t b[kPhysicalHeaderSize];
    if (at + kPhysicalHeaderSize > fileLength || !ReadExact(file, at, b, sizeof b)) return false;
    h.length = endian::GetBE16(b + kPhysicalLength);
    h.attributes = endian::GetBE16(b + kPhysicalAttributes);
    if (h.length < kPhysicalHeaderSize + uint32_t(h.TrailerBytes())) return false;
    return at + h.length <= fileLength;
}

// Walks the physical records of one logical record; `copy` receives each body (data
// and trailers) at the data written so far and says false when it has no room, after
// which the walk goes on without copying, to tell a record too large for the buffer
// from a damaged one. For a record, `length` is its data length and `position` moves
// past it unless probing.
template <typename Copy>
RecordStatus Walk(BinaryFile& file, uint64_t& position, int framing, bool probe, uint32_t& length, Copy copy)
{
    length = 0;
    const int64_t signedLength = file.GetLength();
    if (signedLength < 0) return RecordStatus::Damaged;
    const uint64_t fileLength = uint64_t(signedLength);
    if (position >= fileLength) return RecordStatus::End;
    const bool tif = framing == kTif;
    constexpr RecordStatus kDamaged = RecordStatus::Damaged;

    uint64_t header = position; // TIF header, or the physical record in plain framing
    uint64_t physical = position;
    uint32_t next = 0;
    if (tif) {
        uint32_t type = 0;
        if (header + kTifHeaderSize > fileLength || !ReadTif(file, header, type, next)) return kDamaged;
        if (type != 0) {
            if (!probe) position += kTifHeaderSize;
            length = kFileMarkLength;
            return RecordStatus::FileMark;
        }
        physical = header + kTifHeaderSize;
    }
    PhysicalHeader h;
    if (!ReadPhysical(file, physical, fileLength, h)) return kDamaged;
    uint64_t data = 0; // data bytes so far (trailers removed)
    bool room = copy(physical + kPhysicalHeaderSize, data, h.length - kPhysicalHeaderSize);
    data = h.length - kPhysicalHeaderSize - uint32_t(h.TrailerBytes());

    while (h.attributes & kSuccessor) {
        uint64_t at;
        if (tif) {
            // Each TIF header must lie at or past the end of the physical record it
            // follows: a chain that leads back loops, one that overlaps reads the same
            // bytes again and again, so the record could outgrow the file.
            if (next < physical + h.length) return kDamaged;
            header = next;
            uint32_t type = 0;
            if (header + kTifHeaderSize > fileLength || !ReadTif(file, header, type, next)) return kDamaged;
            at = header + kTifHeaderSize;
        } else {
            at = physical + h.length;
        }
        physical = at;
        if (!ReadPhysical(file, physical, fileLength, h)) return kDamaged;
        room = room && copy(physical + kPhysicalHeaderSize, data, h.length - kPhysicalHeaderSize);
        data += h.length - kPhysicalHeaderSize - uint32_t(h.TrailerBytes());
        if (data > std::numeric_limits<uint32_t>::max()) return kDamaged;
    }
    if (tif && next < physical + h.length) return kDamaged;
    if (data < kLogicalHeaderSize) return kDamaged; // not even a logical record header
    if (!room) return RecordStatus::NoRoom;
    if (!probe) position = tif ? next : physical + h.length;
    length = uint32_t(data);
    return RecordStatus::Record;
}

// Walks the logical record at `position` as ReadLogicalRecord does, but copies only its
// header, so that a record of any size is judged without being read. Trailer bytes a
// short piece puts there are overwritten by the data of the pieces behind it, and a
// record whose data end before its header is damaged anyway.
RecordStatus ReadRecordHeader(BinaryFile& file, uint64_t& position, int framing, uint8_t (&header)[kLogicalHeaderSize])
{
    uint32_t length = 0;
    bool read = true;
    const RecordStatus status = Walk(file, position, framing, false, length, [&](uint64_t at, uint64_t written, uint32_t n) {
        if (written < kLogicalHeaderSize)
            read = read && ReadExact(file, at, header + written, std::min<uint64_t>(n, kLogicalHeaderSize - written));
        return true;
    });
    return status == RecordStatus::Record && !read ? RecordStatus::Damaged : status;
}

bool IsLisHeader(const uint8_t (&header)[kLogicalHeaderSize])
{
    return IsLisRecord(header[kRecordType], header[kRecordAttribute]);
}

} // namespace

signed char CLisRecordIO::DetectFraming(BinaryFile& file)
{
    auto startsLis = [](const uint8_t* logical) {
        return (logical[kRecordType] == kFileHeader || logical[kRecordType] == kTapeHeader
                || logical[kRecordType] == kReelHeader)
               && logical[kRecordAttribute] == 0;
    };
    uint8_t b[kTifHeaderSize + kPhysicalHeaderSize + kLogicalHeaderSize];
    if (file.ReadAt(0, b, sizeof b) == sizeof b && endian::GetLE32(b + kTifType) == 0
        && endian::GetLE32(b + kTifPrevious) == 0)
        return static_cast<signed char>(startsLis(b + kTifHeaderSize + kPhysicalHeaderSize) ? kTif : kNotLis);
    if (file.ReadAt(0, b, kPhysicalHeaderSize + kLogicalHeaderSize) != kPhysicalHeaderSize + kLogicalHeaderSize)
        return kNotLis;
    return static_cast<signed char>(startsLis(b + kPhysicalHeaderSize) ? kPlain : kNotLis);
}

bool CLisRecordIO::HoldsRecord(BinaryFile& file)
{
    // A data set's direction and units bytes read as a physical record's length, its
    // frame count as a data record and its frames often as more records: it is known
    // by its own header before any record is judged, damaged at its end or not.
    if (CQtxFile::HoldsDataSet(file)) return false;
    const int framing = DetectFraming(file) == kTif ? kTif : kPlain;
    uint64_t position = 0;
    uint8_t header[kLogicalHeaderSize] = {};
    RecordStatus status = RecordStatus::FileMark;
    // File marks move on by their own size: the walk ends.
    while (status == RecordStatus::FileMark) status = ReadRecordHeader(file, position, framing, header);
    if (status != RecordStatus::Record || !IsLisHeader(header)) return false;
    if (header[kRecordType] != kNormalData) return true;
    // Frames mean nothing before a data format specification, and a file of another
    // format often reads as one first (a cut QTX data set's frame count does): what
    // follows must be LIS too.
    status = ReadRecordHeader(file, position, framing, header);
    if (status == RecordStatus::Record) return IsLisHeader(header);
    return status == RecordStatus::End || status == RecordStatus::FileMark;
}

Status CLisRecordIO::OpenInput(BinaryFile& file, const std::string& path)
{
    if (Status opened = OpenInputFile(file, path, kInputRule); !opened) return opened;
    if (HoldsRecord(file)) return Status();
    bool whole = false;
    const bool dataSet = CQtxFile::HoldsDataSet(file, &whole);
    file.Close();
    const char* cause = !dataSet ? "\nThe file holds no LIS record."
                        : whole  ? "\nThe file is a QTX data set, not a LIS file."
                                 : "\nThe file is a damaged QTX data set, not a LIS file.";
    return Status::Failure(std::string(kInputRule.headerFailure) + path + cause);
}

uint32_t CLisRecordIO::ProbeLogicalRecord(BinaryFile& file, uint64_t position, int framing)
{
    uint64_t needed = 0;
    uint32_t length = 0;
    const RecordStatus status = Walk(file, position, framing, true, length, [&](uint64_t, uint64_t written, uint32_t n) {
        needed = std::max<uint64_t>(needed, written + n);
        return needed <= std::numeric_limits<uint32_t>::max();
    });
    if (status == RecordStatus::FileMark) return kFileMarkLength;
    return status == RecordStatus::Record ? uint32_t(needed) : 0;
}

uint32_t CLisRecordIO::ReadLogicalRecord(uint8_t* buffer, size_t capacity, BinaryFile& file, uint64_t& position,
                                         int framing, RecordStatus* status)
{
    const uint64_t start = position;
    uint32_t length = 0;
    bool readFailed = false;
    RecordStatus found = Walk(file, position, framing, false, length, [&](uint64_t at, uint64_t written, uint32_t n) {
        if (written + n > capacity) return false;
        readFailed = readFailed || !ReadExact(file, at, buffer + written, n);
        return !readFailed;
    });
    if (found == RecordStatus::NoRoom && readFailed) found = RecordStatus::Damaged;
    if (found == RecordStatus::FileMark) {
        uint32_t type = 0, next = 0;
        if (capacity >= sizeof type && ReadTif(file, start, type, next)) std::memcpy(buffer, &type, sizeof type);
    }
    if (status) *status = found;
    return length;
}

// ---- writing -------------------------------------------------------------------------------

Status CLisRecordIO::WriteLogicalRecord(BinaryFile& file, const uint8_t* record, uint32_t length,
                                        uint32_t maxPhysicalLength, int framing)
{
    if (length == 0) return Status();
    m_tifType = 0;
    // The length field is 16 bits wide.
    const uint32_t maxPhysical = std::min<uint32_t>(maxPhysicalLength, std::numeric_limits<uint16_t>::max());
    const uint32_t maxBody = maxPhysical > kPhysicalHeaderSize ? maxPhysical - uint32_t(kPhysicalHeaderSize) : 1;
    const uint32_t pieces = (length + maxBody - 1) / maxBody;
    // The physical records go out in one write: a frame of several physical records
    // would otherwise cost three system calls each.
    const uint32_t headers = uint32_t(framing == kTif ? kTifHeaderSize + kPhysicalHeaderSize : kPhysicalHeaderSize);
    m_out.resize(size_t(length) + size_t(pieces) * headers);
    uint8_t* out = m_out.data();
    for (uint32_t i = 0; i < pieces; ++i) {
        const uint32_t chunk = std::min(maxBody, length - i * maxBody);
        uint16_t attributes = 0;
        if (pieces > 1) attributes = i == 0 ? kSuccessor : i + 1 == pieces ? kPredecessor : kSuccessor | kPredecessor;
        if (framing == kTif) {
            m_tifNext += chunk + headers;
            endian::PutLE32(out + kTifType, m_tifType);
            endian::PutLE32(out + kTifPrevious, m_tifPrevious);
            endian::PutLE32(out + kTifNext, m_tifNext);
            out += kTifHeaderSize;
        }
        endian::PutBE16(out + kPhysicalLength, uint16_t(chunk + kPhysicalHeaderSize));
        endian::PutBE16(out + kPhysicalAttributes, attributes);
        std::memcpy(out + kPhysicalHeaderSize, record + size_t(i) * maxBody, chunk);
        out += kPhysicalHeaderSize + chunk;
        if (framing == kTif) {
            m_tifPrevious = m_writePosition;
            m_writePosition += chunk + headers;
        }
    }
    if (!file.Write(m_out.data(), size_t(out - m_out.data()))) return Status::Quiet();
    return Status();
}

Status CLisRecordIO::WriteFileMark(BinaryFile& file)
{
    m_tifNext += kTifHeaderSize;
    m_tifType = 1; // any type but 0 marks
    uint8_t tif[kTifHeaderSize];
    endian::PutLE32(tif + kTifType, m_tifType);
    endian::PutLE32(tif + kTifPrevious, m_tifPrevious);
    endian::PutLE32(tif + kTifNext, m_tifNext);
    if (!file.Write(tif, sizeof tif)) return Status::Quiet();
    m_tifPrevious = m_writePosition;
    m_writePosition += kTifHeaderSize;
    return Status();
}
