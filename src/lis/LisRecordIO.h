// The LIS record layer: the two framings of a tape image (plain, and TIF with a
// 12-byte header before every physical record), physical records with their
// attribute bits and trailers, logical records assembled from (or split into)
// physical records, and TIF file marks; the layouts and codes are in lis/LisLayout.h.
// The layer never opens or closes files; readers keep their own position.
#pragma once

#include "lis/LisLayout.h"
#include "platform/BinaryFile.h"
#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lis {

// What a read found at its position.
enum class RecordStatus : uint8_t {
    Record,   // a logical record
    FileMark, // a TIF file mark
    End,      // nothing: the position lies at or past the end of the file
    Damaged,  // a record that cannot be trusted: cut short, shorter than its headers or
              // trailers, or a TIF chain that leads back or into the record before it
    NoRoom,   // a whole record larger than the buffer (ProbeLogicalRecord sizes it)
};

// What every LIS input needs before its first read: one physical record header and the
// logical record header behind it. A shorter file is refused with its cause.
inline constexpr InputRule kInputRule{kPhysicalHeaderSize + kLogicalHeaderSize, 0, kCouldNotOpenInput};

} // namespace lis

class CLisRecordIO {
public:
    CLisRecordIO() = default;
    virtual ~CLisRecordIO() = default;

    // 1 TIF, 0 plain, -1 not a LIS file. Reads the first bytes of the file.
    static signed char DetectFraming(BinaryFile& file);

    // Whether the file, walked from its start as the readers walk it (TIF framing when
    // detected, else plain), opens with a LIS record; never for a QTX data set
    // (CQtxFile::HoldsDataSet), whatever its bytes read as. Past any file marks, a whole logical
    // record of a log tape's types (lis::IsLisRecord). A data record, which many a
    // binary file seems to open with, counts only when the file ends, or a file mark or
    // another such whole record follows it.
    static bool HoldsRecord(BinaryFile& file);

    // Opens `path` as the input of a LIS command, before any question is asked about it:
    // refused with its cause when it cannot be read, is shorter than a record's headers
    // (kInputRule), is a QTX data set, whole or damaged, or holds no LIS record
    // (HoldsRecord); the file is then closed.
    static Status OpenInput(BinaryFile& file, const std::string& path);

    // Bytes ReadLogicalRecord will place in its buffer for the logical record at
    // `position` (at least the record's length; trailers included); 12 for a TIF file
    // mark; 0 when no readable record stands there.
    static uint32_t ProbeLogicalRecord(BinaryFile& file, uint64_t position, int framing);

    // Reads the logical record at `position` into `buffer` (which holds `capacity`
    // bytes) and advances `position` past it. Returns the record's length (its 2-byte
    // header included, trailers removed), or 12 at a TIF file mark (the mark's type
    // word in the buffer's first 4 bytes; a plain file has no marks, so a 12-byte record
    // there is a record). Returns 0 with `position` unchanged at the end of the file, for
    // a damaged record and for one that does not fit the buffer; `*status` tells which.
    static uint32_t ReadLogicalRecord(uint8_t* buffer, size_t capacity, BinaryFile& file, uint64_t& position,
                                      int framing, lis::RecordStatus* status = nullptr);

    // Writes one logical record (header included) as physical records of at most
    // `maxPhysicalLength` bytes at the file's position; TIF headers when framing is 1.
    // A refused write is a quiet failure: the record layer knows no path, so the writer
    // that called it words the message.
    Status WriteLogicalRecord(BinaryFile& file, const uint8_t* record, uint32_t length, uint32_t maxPhysicalLength,
                              int framing);
    Status WriteFileMark(BinaryFile& file);

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
