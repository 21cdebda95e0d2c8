// The LIS record layer: the two framings of a tape image (plain, and TIF with a
// 12-byte header before every physical record), physical records with their
// attribute bits and trailers, logical records assembled from (or split into)
// physical records, TIF file marks, and the number conversions every LIS reader
// and writer shares. The layer never opens or closes files; readers keep their own
// position.
#pragma once

#include "platform/BinaryFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lis {

// TIF header (little-endian words).
constexpr size_t kTifHeaderSize = 12;
constexpr size_t kTifType = 0;     // 0: a physical record follows; otherwise a file mark
constexpr size_t kTifPrevious = 4; // offset of the previous TIF header
constexpr size_t kTifNext = 8;     // offset of the next TIF header

// Physical record header (big-endian).
constexpr size_t kPhysicalHeaderSize = 4;
constexpr size_t kPhysicalLength = 0;     // u16: the whole physical record
constexpr size_t kPhysicalAttributes = 2; // u16

constexpr uint16_t kSuccessor = 0x0001;
constexpr uint16_t kPredecessor = 0x0002;
constexpr uint16_t kChecksumTrailer = 0x1000;
constexpr uint16_t kFileNumberTrailer = 0x0400;
constexpr uint16_t kRecordNumberTrailer = 0x0200;

// Logical record header: type, attribute byte.
constexpr size_t kLogicalHeaderSize = 2;

enum RecordType : uint8_t {
    kNormalData = 0,
    kInformation = 34,
    kToolString = 47,
    kDataFormatSpec = 64,
    kFileHeader = 128,
    kFileTrailer = 129,
    kTapeHeader = 130,
    kTapeTrailer = 131,
    kReelHeader = 132,
    kReelTrailer = 133,
    kComment = 232,
};

enum Framing : int { kNotLis = -1, kPlain = 0, kTif = 1 };

// The length a TIF file mark reports.
constexpr uint32_t kFileMarkLength = 12;

// Bytes of one element of a representation code (1 for codes it does not size).
int RepresentationSize(int code);

} // namespace lis

// Representation code 68 from and to IEEE single precision; the word is in host
// order, its bytes stored most significant first.
uint32_t LisFloat68FromIeee(double value);
float LisFloat68ToIeee(uint32_t word);

class CLisRecordIO {
public:
    CLisRecordIO() = default;
    virtual ~CLisRecordIO() = default;

    // 1 TIF, 0 plain, -1 not a LIS file. Reads the first bytes of the file.
    static signed char DetectFraming(BinaryFile& file);

    // Bytes ReadLogicalRecord will place in its buffer for the logical record at
    // `position` (at least the record's length; trailers included); 12 for a TIF file
    // mark; 0 when no readable record stands there.
    static uint32_t ProbeLogicalRecord(BinaryFile& file, uint64_t position, int framing);

    // Reads the logical record at `position` into `buffer` (which holds `capacity`
    // bytes) and advances `position` past it. Returns the record's length (its 2-byte
    // header included, trailers removed); 0 at the end of the file or for a damaged
    // record, including one that would not fit the buffer, and a TIF chain whose next
    // header lies inside the physical record before it. A TIF file mark returns
    // 12 with `*fileMark` set (the mark's type word in the buffer's first 4 bytes);
    // a plain file has no file marks, so a 12-byte record there is a record.
    static uint32_t ReadLogicalRecord(uint8_t* buffer, size_t capacity, BinaryFile& file, uint64_t& position,
                                      int framing, bool* fileMark = nullptr);

    // Writes one logical record (header included) as physical records of at most
    // `maxPhysicalLength` bytes at the file's position; TIF headers when framing is 1.
    // Returns 1, or 0 when the file refused a write.
    int WriteLogicalRecord(BinaryFile& file, const uint8_t* record, uint32_t length, uint32_t maxPhysicalLength,
                           int framing);
    int WriteFileMark(BinaryFile& file);

    static uint16_t SwapBytes16(uint16_t value) { return uint16_t((value >> 8) | (value << 8)); }
    static double RoundTo4Decimals(double value);

    // The TIF header to be written next, and where.
    uint32_t m_tifType = 0;
    uint32_t m_tifPrevious = 0;
    uint32_t m_tifNext = 0;
    uint32_t m_writePosition = 0;

private:
    std::vector<uint8_t> m_out; // physical records of the record being written
};
