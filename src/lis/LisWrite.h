// CLisWrite: writes one QTX data set as a LIS tape image in TIF framing: reel, tape
// and file headers, information tables that describe every datum, a comment with
// the data set's history, a data format specification (DFSR), one data record per
// depth frame (every value in code 68) and the trailers. Its caller (the QTX-to-LIS
// export) reads the QTX file and hands over header, descriptors and frames.
//
// Every operation returns 1 on success and 0 on failure. A write failure is shown
// once ("Error writing ... in file :\n" + path); from then on every operation
// returns 0 without a message, so a caller that goes on does not repeat it.
#pragma once

#include "dataset/QtxLayout.h"
#include "lis/LisRecordIO.h"
#include "lis/LisTable.h"
#include "platform/BinaryFile.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// Layout tables of the records the writer builds (byte offsets from the start of
// the logical record, its 2-byte header included). Text fields are blank-padded
// and carry no terminating zero.
namespace lis::writer {

// Every record opens with its type and an attribute byte of 0.
constexpr size_t kRecordType = 0;
constexpr size_t kRecordAttribute = 1;

// Reel and tape header/trailer; a tape record has no comment.
constexpr size_t kReelSize = 128;
constexpr size_t kReelServiceName = 2;   // 6
constexpr size_t kReelDate = 14;         // 8, YY/MM/DD
constexpr size_t kReelOrigin = 24;       // 4
constexpr size_t kReelName = 30;         // 8
constexpr size_t kReelContinuation = 40; // 2
constexpr size_t kReelPreviousName = 44; // 8
constexpr size_t kReelComment = 54;      // 38

// File header/trailer.
constexpr size_t kFileSize = 58;
constexpr size_t kFileName = 2;           // 10
constexpr size_t kFileSubLevel = 14;      // 6
constexpr size_t kFileVersion = 20;       // 8
constexpr size_t kFileDate = 28;          // 8
constexpr size_t kFileMaxPhysical = 37;   // 5, "%5d"
constexpr size_t kFileType = 44;          // 2, "LO"
constexpr size_t kFilePreviousName = 48;  // 10

// Information record component block; the value follows the 12 bytes.
constexpr size_t kComponentHeaderSize = 12;
constexpr size_t kComponentType = 0;
constexpr size_t kComponentCode = 1;
constexpr size_t kComponentSize = 2;
constexpr size_t kComponentCategory = 3;
constexpr size_t kComponentMnemonic = 4; // 4
constexpr size_t kComponentUnits = 8;    // 4
constexpr size_t kComponentValue = 12;
constexpr uint8_t kComponentTableName = 73;
constexpr uint8_t kComponentRowStart = 0;
constexpr uint8_t kComponentRowValue = 69;
// The record buffer first sized for a table; a larger table grows it.
constexpr size_t kInformationBufferSize = 32764;

// DFSR entry block: type, size, code, then the value.
constexpr size_t kEntryType = 0;
constexpr size_t kEntrySize = 1;
constexpr size_t kEntryCode = 2;
constexpr size_t kEntryValue = 3;
constexpr size_t kDfsrFirstEntry = 2;
constexpr size_t kDfsrEntryBytes = 54;
constexpr size_t kDfsrFirstBlock = kDfsrFirstEntry + kDfsrEntryBytes;

// Datum specification block.
constexpr size_t kDsbSize = 40;
constexpr size_t kDsbMnemonic = 0;      // 4
constexpr size_t kDsbServiceId = 4;     // 6
constexpr size_t kDsbServiceOrder = 10; // 8
constexpr size_t kDsbUnits = 18;        // 4
constexpr size_t kDsbApiCodes = 22;     // 4 zero bytes
constexpr size_t kDsbFileNumber = 26;   // u16
constexpr size_t kDsbChannelSize = 28;  // u16, bytes per frame
constexpr size_t kDsbZeros = 30;        // 3 zero bytes
constexpr size_t kDsbSamples = 33;      // u8
constexpr size_t kDsbCode = 34;         // u8
constexpr size_t kDsbReserved = 35;     // 5 zero bytes
// LIS readers take the channel size as a signed 16-bit value.
constexpr uint32_t kMaxChannelSize = 0x7FFF;

// Data record: depth in code 68, then every value in code 68.
constexpr size_t kFrameDepth = 2;
constexpr size_t kFrameFirstValue = 6;

constexpr uint32_t kMaxPhysicalLength = 8192;

} // namespace lis::writer

class CLisWrite {
public:
    // WriteFrame kinds: start a data record at a depth, or append values to it.
    enum : uint32_t { kFrameStart = 129, kFrameValues = 5 };

    CLisWrite();

    // Creates or truncates `path` for reading and writing. 1, or 0 without a message.
    int Create(const std::string& path);
    // Reel header, tape header, a file mark, file header.
    int WriteHeaders();
    // Builds the table rows of the header's datumCount descriptors, writes them as
    // table `tableName` (its first 4 characters), then empties the rows.
    int WriteInformationRecord(const std::string& tableName, const QtxFileHeader* header,
                               const QtxDatumDescriptor* descriptors);
    // The history with trailing white space removed, padded to an even length; the
    // history ends at its first zero byte.
    int WriteComment(const QtxFileHeader* header);
    // One channel per datum, or per receiver of the waveform datums when perReceiver
    // is 1. A packed waveform datum too large for one channel is written per receiver
    // (the user is told once); any other channel over kMaxChannelSize bytes is refused
    // before anything is written.
    int WriteDfsr(const QtxFileHeader* header, const QtxDatumDescriptor* descriptors, int perReceiver);
    // kFrameStart writes the data record pending, if any, and starts one at `depth`;
    // any other kind appends `count` values to the pending record (ignored when none
    // was started).
    int WriteFrame(const float* values, uint32_t count, double depth, uint32_t kind);
    // The pending data record, file trailer, tape trailer, reel trailer.
    int WriteTrailers();
    // The pending data record, two file marks at the end of the file, then closes the
    // file and frees the frame buffer. Without an open file it only frees the buffer.
    // 0 when a write failed, now or before.
    int Close();
    // Closes and deletes the file Create made, if it is a regular file; nothing
    // when none was created.
    void DeleteOutput();

    // Appends the table rows of `count` descriptors to m_rows: a "QTX" row, then per
    // datum a name row and the rows of its item type's family.
    void BuildTypeTable(const QtxFileHeader& header, const QtxDatumDescriptor* descriptors);

    // YY/MM/DD of a time, in UTC.
    static std::string FormatDate(std::time_t time);
    // Channel mnemonic of receiver `receiver` (from 1) of a per-receiver datum: the
    // 3-character stem and one base-36 digit, 1-9 then A-Z; empty beyond 35.
    static std::string ReceiverMnemonic(const std::string& stem, unsigned receiver);
    static constexpr unsigned kMaxReceiverChannels = 35;

    std::vector<CLisTableRow> m_rows; // rows of the information record being built
    std::time_t (*m_clock)() = &SystemTime; // the date written into the headers

private:
    static std::time_t SystemTime() { return std::time(nullptr); }

    int Put(const std::vector<uint8_t>& record, const char* what) { return Put(record.data(), record.size(), what); }
    int Put(const uint8_t* record, size_t length, const char* what);
    int PutFileMark();
    int Fail(const char* what);
    int FlushPendingFrame();
    int WriteReel(uint8_t type);
    int WriteTape(uint8_t type);
    int WriteFileRecord(uint8_t type);
    bool EnsureFrameBuffer(uint64_t bytes);

    BinaryFile m_file;
    CLisRecordIO m_recordIO;
    std::vector<uint8_t> m_frameBuffer;
    std::vector<uint8_t> m_information;
    uint32_t m_pending = 0; // 5 while a data record is being built
    uint32_t m_used = 0;    // bytes of that record so far
    uint32_t m_maxPhysicalLength = lis::writer::kMaxPhysicalLength;
    std::string m_path;     // full path given to Create
    bool m_created = false; // Create made the file at m_path
    bool m_failed = false;  // a failure was shown; later calls stay quiet
};
