#include "lis/LisRecordIO.h"

#include "platform/Endian.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

using namespace lis;

int lis::RepresentationSize(int code)
{
    switch (code) {
    case 68:
    case 73: return 4;
    case 79: return 2;
    default: return 1;
    }
}

// ---- representation code 68 ----------------------------------------------------------------
//
//   bit 31     sign
//   bits 30-23 exponent E, excess 128 (one's complement when negative)
//   bits 22-0  fraction F, 1/2 <= F < 1 (two's complement within 23 bits when negative)
//   value = F x 2^(E - 128); the word 0 is zero

uint32_t LisFloat68FromIeee(double value)
{
    const float f = float(value);
    if (std::isnan(f)) return 0;
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    const bool negative = bits >> 31;
    uint32_t exponent = (bits >> 23) & 0xFF;
    const uint32_t mantissa = bits & 0x7FFFFF;
    if (exponent == 0) return 0; // zero, and magnitudes too small for a normal float
    uint32_t fraction;
    if (exponent == 0xFF || exponent + 2 > 0xFF) {
        // Beyond the largest code-68 magnitude: the largest it can hold.
        exponent = 0xFF;
        fraction = 0x7FFFFF;
    } else {
        exponent += 2;
        fraction = (mantissa | 0x800000) >> 1; // the lowest mantissa bit is dropped
    }
    if (!negative) return (exponent << 23) | fraction;
    fraction = ((~fraction) & 0x7FFFFF) + 1;
    exponent = (~exponent) & 0xFF;
    return 0x80000000u | (exponent << 23) | (fraction & 0x7FFFFF);
}

float LisFloat68ToIeee(uint32_t word)
{
    const bool negative = word >> 31;
    uint32_t exponent = (word >> 23) & 0xFF;
    uint32_t fraction = word & 0x7FFFFF;
    if (fraction == 0) {
        // A positive zero fraction is zero; a negative one is the two's complement of
        // a full fraction, a power of two (0xBF800000 is -1.0).
        if (!negative) return 0.0f;
        exponent = (~exponent) & 0xFF;
        return float(-std::ldexp(1.0, int(exponent) - 128));
    }
    if (negative) {
        exponent = (~exponent) & 0xFF;
        fraction = (~(fraction - 1)) & 0x7FFFFF;
    }
    const double magnitude = std::ldexp(double(fraction), int(exponent) - 128 - 23);
    return float(negative ? -magnitude : magnitude);
}

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
        return 2 * (((attributes & kChecksumTrailer) ? 1 : 0) + ((attributes & kFileNumberTrailer) ? 1 : 0)
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

// Walks the physical records of one logical record; `copy` receives each body
// (data and trailers) at the data written so far. Returns the data length, or 0.
template <typename Copy>
uint32_t Walk(BinaryFile& file, uint64_t& position, int framing, bool* fileMark, bool probe, Copy copy)
{
    if (fileMark) *fileMark = false;
    const int64_t signedLength = file.GetLength();
    if (signedLength < 0) return 0;
    const uint64_t fileLength = uint64_t(signedLength);
    const bool tif = framing == kTif;

    uint64_t header = position; // TIF header, or the physical record in plain framing
    uint64_t physical = position;
    uint32_t next = 0;
    if (tif) {
        uint32_t type = 0;
        if (header + kTifHeaderSize > fileLength || !ReadTif(file, header, type, next)) return 0;
        if (type != 0) {
            if (fileMark) *fileMark = true;
            if (!probe) position += kTifHeaderSize;
            return kFileMarkLength;
        }
        physical = header + kTifHeaderSize;
    }
    PhysicalHeader h;
    if (!ReadPhysical(file, physical, fileLength, h)) return 0;
    uint64_t data = 0;   // data bytes so far (trailers removed)
    uint64_t copied = 0; // bytes the buffer must hold
    if (!copy(physical + kPhysicalHeaderSize, data, h.length - kPhysicalHeaderSize)) return 0;
    copied = h.length - kPhysicalHeaderSize;
    data = h.length - kPhysicalHeaderSize - uint32_t(h.TrailerBytes());

    while (h.attributes & kSuccessor) {
        uint64_t at;
        if (tif) {
            // Each TIF header must lie at or past the end of the physical record it
            // follows: a chain that leads back loops, one that overlaps reads the same
            // bytes again and again, so the record could outgrow the file.
            if (next < physical + h.length) return 0;
            header = next;
            uint32_t type = 0;
            if (header + kTifHeaderSize > fileLength || !ReadTif(file, header, type, next)) return 0;
            at = header + kTifHeaderSize;
        } else {
            at = physical + h.length;
        }
        physical = at;
        if (!ReadPhysical(file, physical, fileLength, h)) return 0;
        if (!copy(physical + kPhysicalHeaderSize, data, h.length - kPhysicalHeaderSize)) return 0;
        copied = data + h.length - kPhysicalHeaderSize;
        data += h.length - kPhysicalHeaderSize - uint32_t(h.TrailerBytes());
        if (data > std::numeric_limits<uint32_t>::max()) return 0;
    }
    if (tif && next < physical + h.length) return 0;
    if (data < kLogicalHeaderSize) return 0; // not even a logical record header
    if (!probe) position = tif ? next : physical + h.length;
    return uint32_t(probe ? copied : data);
}

} // namespace

signed char CLisRecordIO::DetectFraming(BinaryFile& file)
{
    auto startsLis = [](const uint8_t* logical) {
        return (logical[0] == kFileHeader || logical[0] == kTapeHeader || logical[0] == kReelHeader) && logical[1] == 0;
    };
    uint8_t b[18];
    if (file.ReadAt(0, b, sizeof b) == sizeof b && endian::GetLE32(b) == 0 && endian::GetLE32(b + 4) == 0)
        return static_cast<signed char>(startsLis(b + 16) ? kTif : kNotLis);
    if (file.ReadAt(0, b, 6) != 6) return kNotLis;
    return static_cast<signed char>(startsLis(b + 4) ? kPlain : kNotLis);
}

uint32_t CLisRecordIO::ProbeLogicalRecord(BinaryFile& file, uint64_t position, int framing)
{
    uint64_t at = position;
    uint64_t needed = 0;
    const uint32_t result = Walk(file, at, framing, nullptr, true, [&](uint64_t, uint64_t written, uint32_t n) {
        needed = std::max<uint64_t>(needed, written + n);
        return needed <= std::numeric_limits<uint32_t>::max();
    });
    if (result == kFileMarkLength && framing == kTif) {
        uint32_t type = 0, next = 0;
        if (ReadTif(file, position, type, next) && type != 0) return kFileMarkLength;
    }
    return result ? uint32_t(needed) : 0;
}

uint32_t CLisRecordIO::ReadLogicalRecord(uint8_t* buffer, size_t capacity, BinaryFile& file, uint64_t& position,
                                         int framing, bool* fileMark)
{
    bool mark = false;
    const uint64_t start = position;
    const uint32_t length = Walk(file, position, framing, &mark, false, [&](uint64_t at, uint64_t written, uint32_t n) {
        if (written + n > capacity) return false;
        return ReadExact(file, at, buffer + written, n);
    });
    if (fileMark) *fileMark = mark;
    if (mark) {
        uint32_t type = 0, next = 0;
        if (capacity >= 4 && ReadTif(file, start, type, next)) std::memcpy(buffer, &type, 4);
    }
    return length;
}

// ---- writing -------------------------------------------------------------------------------

int CLisRecordIO::WriteLogicalRecord(BinaryFile& file, const uint8_t* record, uint32_t length,
                                     uint32_t maxPhysicalLength, int framing)
{
    if (length == 0) return 1;
    m_tifType = 0;
    const uint32_t maxBody = maxPhysicalLength > kPhysicalHeaderSize ? std::min<uint32_t>(maxPhysicalLength, 0xFFFF) - 4 : 1;
    const uint32_t pieces = (length + maxBody - 1) / maxBody;
    // The physical records go out in one write: a frame of several physical records
    // would otherwise cost three system calls each.
    const size_t headers = framing == kTif ? kTifHeaderSize + kPhysicalHeaderSize : kPhysicalHeaderSize;
    m_out.resize(size_t(length) + size_t(pieces) * headers);
    uint8_t* out = m_out.data();
    for (uint32_t i = 0; i < pieces; ++i) {
        const uint32_t chunk = std::min(maxBody, length - i * maxBody);
        uint16_t attributes = 0;
        if (pieces > 1) attributes = i == 0 ? kSuccessor : i + 1 == pieces ? kPredecessor : kSuccessor | kPredecessor;
        if (framing == kTif) {
            m_tifNext += chunk + 16;
            endian::PutLE32(out + kTifType, m_tifType);
            endian::PutLE32(out + kTifPrevious, m_tifPrevious);
            endian::PutLE32(out + kTifNext, m_tifNext);
            out += kTifHeaderSize;
        }
        endian::PutBE16(out + kPhysicalLength, uint16_t(chunk + 4));
        endian::PutBE16(out + kPhysicalAttributes, attributes);
        std::memcpy(out + kPhysicalHeaderSize, record + size_t(i) * maxBody, chunk);
        out += kPhysicalHeaderSize + chunk;
        if (framing == kTif) {
            m_tifPrevious = m_writePosition;
            m_writePosition += chunk + 16;
        }
    }
    return file.Write(m_out.data(), size_t(out - m_out.data())) ? 1 : 0;
}

int CLisRecordIO::WriteFileMark(BinaryFile& file)
{
    m_tifNext += kTifHeaderSize;
    m_tifType = 1;
    uint8_t tif[kTifHeaderSize];
    endian::PutLE32(tif + kTifType, m_tifType);
    endian::PutLE32(tif + kTifPrevious, m_tifPrevious);
    endian::PutLE32(tif + kTifNext, m_tifNext);
    if (!file.Write(tif, sizeof tif)) return 0;
    m_tifPrevious = m_writePosition;
    m_writePosition += kTifHeaderSize;
    return 1;
}
