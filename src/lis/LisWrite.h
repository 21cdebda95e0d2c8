// CLisWrite: writes one QTX data set as a LIS tape image in TIF framing: reel, tape
// and file headers, information tables that describe every datum, a comment with
// the data set's history, a data format specification (DFSR), one data record per
// depth frame (every value in code 68) and the trailers. Its caller (the QTX-to-LIS
// export) reads the QTX file and hands over header, descriptors and frames.
//
// Every operation returns a Status. A write failure carries its message once
// ("Error writing ... in file :\n" + path); from then on every operation fails
// quietly, so a caller that goes on does not repeat it.
#pragma once

#include "dataset/QtxLayout.h"
#include "lis/LisRecordIO.h"
#include "lis/LisTable.h"
#include "platform/BinaryFile.h"
#include "platform/OutputFile.h"
#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// The writer's own choices; the record layouts are those of lis/LisLayout.h.
namespace lis::writer {

// The record buffer first sized for a table; a larger table grows it.
constexpr size_t kInformationBufferSize = 32764;
// Data record: the frame's depth, then every value, all in code 68.
constexpr size_t kFrameDepth = kLogicalHeaderSize;
constexpr size_t kFrameFirstValue = kFrameDepth + 4;
constexpr uint32_t kMaxPhysicalLength = 8192;

} // namespace lis::writer

class CLisWrite {
public:
    // WriteFrame kinds: start a data record at a depth, or append values to it.
    enum : uint32_t { kFrameStart = 129, kFrameValues = 5 };

    CLisWrite();

    // Creates or truncates `path` for reading and writing; a failure names its cause.
    Status Create(const std::string& path);
    // Reel header, tape header, a file mark, file header.
    Status WriteHeaders();
    // Builds the table rows of the header's datumCount descriptors, writes them as
    // table `tableName` (its first 4 characters), then empties the rows.
    Status WriteInformationRecord(const std::string& tableName, const QtxFileHeader* header,
                                  const QtxDatumDescriptor* descriptors);
    // The history with trailing white space removed, padded to an even length; the
    // history ends at its first zero byte.
    Status WriteComment(const QtxFileHeader* header);
    // One channel per datum (a fast datum as a channel of its samples a frame), or per
    // receiver of the waveform datums when perReceiver is 1. Entry 8 holds the header's
    // depth step, sign included. A packed waveform datum too large for one channel is written per receiver
    // (SplitNotice names them for the user); any other channel over kMaxChannelSize
    // bytes is refused before anything is written.
    Status WriteDfsr(const QtxFileHeader* header, const QtxDatumDescriptor* descriptors, int perReceiver);
    // kFrameStart writes the data record pending, if any, and starts one at `depth`;
    // any other kind appends `count` values to the pending record (ignored when none
    // was started).
    Status WriteFrame(const float* values, uint32_t count, double depth, uint32_t kind);
    // The pending data record, file trailer, tape trailer, reel trailer.
    Status WriteTrailers();
    // The pending data record, two file marks at the end of the file, then commits the
    // file under its name (abandons it after a failed write) and frees the frame buffer.
    // Without an open file it only frees the buffer. 0 when a write or the commit
    // failed, now or before; the name then keeps what it held before.
    Status Close();
    // Abandons the file Create made: nothing reaches its name.
    void DeleteOutput();
    // The waveform datums the last WriteDfsr split into receiver channels, as a notice
    // for the user; empty when none was.
    const std::string& SplitNotice() const { return m_splitNotice; }

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

    Status Put(const std::vector<uint8_t>& record, const char* what) { return Put(record.data(), record.size(), what); }
    Status Put(const uint8_t* record, size_t length, const char* what);
    Status PutFileMark();
    Status Fail(const char* what);
    Status FlushPendingFrame();
    Status WriteReel(uint8_t type);
    Status WriteTape(uint8_t type);
    Status WriteFileRecord(uint8_t type);
    bool EnsureFrameBuffer(uint64_t bytes);

    OutputFile m_file;
    int m_openError = 0; // of the last Create; see OpenFailureCause
    CLisRecordIO m_recordIO;
    std::vector<uint8_t> m_frameBuffer;
    std::vector<uint8_t> m_information;
    uint32_t m_pending = 0; // 5 while a data record is being built
    uint32_t m_used = 0;    // bytes of that record so far
    uint32_t m_maxPhysicalLength = lis::writer::kMaxPhysicalLength;
    std::string m_path;     // full path given to Create
    bool m_created = false; // Create made the file at m_path
    bool m_failed = false;  // a failure was returned; later calls stay quiet
    std::string m_splitNotice;
};
