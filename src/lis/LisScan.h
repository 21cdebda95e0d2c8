// CLisScan: Process > Scan Lis. Writes a plain-text report of every logical record of
// a LIS tape image: headers and trailers field by field, comments as text, information
// records as tables, the data format specification with its entry and datum
// specification blocks, and one summary per run of data records. Every field is read
// inside its record: a short or hostile record shortens the report, never the walk.
#pragma once

#include "dataset/QtxLayout.h"
#include "lis/LisRecordIO.h"
#include "platform/BinaryFile.h"
#include "platform/OutputFile.h"
#include "platform/Status.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the report keeps of one logical file while it walks it.
class CLisScanFileState {
public:
    uint8_t m_dataRecordType = 0;
    uint8_t m_datumSpecBlockType = 0;
    uint32_t m_frameSize = 0;       // bytes
    int8_t m_upDown = 0;            // 0 unknown, 1 up, -1 down
    uint32_t m_dataRefPoint = 0;
    std::string m_frameUnits;
    double m_frameSpacing = 0.0;
    std::string m_dataRefUnits;
    uint8_t m_maxFramesPerRecord = 1;
    double m_absentValue = qtx::kAbsentValue;
    uint8_t m_depthMode = 0;        // 1: one depth per record; else one per frame
    std::string m_depthUnits;       // printed in the data summary
    uint8_t m_depthCode = 0;        // representation code of the depths
    uint8_t m_datumBlockSubType = 0;
    // The run of data records being summed up.
    uint32_t m_recordCount = 0;
    double m_firstDepth = 0.0;
    double m_lastDepth = 0.0;
    double m_depthScale = 1.0;
    bool m_dataPending = false;
    double m_maxInterval = 0.0;
    double m_minInterval = 9999.0;
    double m_intervalSum = 0.0;
    uint64_t m_firstRecordOffset = 0;
};

class CLisScan {
public:
    // Walks `lisPath` into the report `reportPath`. A success when the whole file was
    // walked (a truncated file included: the report then says where). Fails with its
    // message when the report is the input, the input is refused (CLisRecordIO::OpenInput;
    // an existing report then stays as it was), or the report cannot be opened or written
    // (the report is then deleted); quietly when the user keeps an existing report or
    // stops the scan.
    Status Run(const std::string& lisPath, const std::string& reportPath);

    // The report's name proposed for a LIS file: its name without directory and last
    // extension, + ".txt".
    static std::string ProposedReportName(const std::string& lisPath);

private:
    Status OpenReport();
    Status OpenInput();
    int ScanRecords();
    // The logical record at `position` into m_buffer (grown when it needs room); its
    // length, `position` moved past it as ReadLogicalRecord does, `status` what was found.
    uint32_t ReadRecord(uint64_t& position, lis::RecordStatus& status);
    // The report's part of one record by its type; 1, or 0 when the report could not be written.
    int WriteRecord(const uint8_t* r, uint32_t length, uint64_t offset);
    // The end of the report: the last summary and the caution for a truncated file
    // (cut near `position`) or one without records (both told). Returns 1.
    int FinishReport(bool truncated, uint64_t position, size_t records);
    // Closes both files; the report stays only when asked and all its text was written.
    // Fails when the report does not stay after a failed write.
    Status Close(bool keepReport);

    // Record writers: `r` holds `length` bytes (the 2-byte header included), read at
    // file offset `offset`. Each returns 1, or 0 when the report could not be written.
    int WriteReelRecord(const uint8_t* r, uint32_t length, uint64_t offset, bool trailer);
    int WriteTapeRecord(const uint8_t* r, uint32_t length, uint64_t offset, bool trailer);
    int WriteFileRecord(const uint8_t* r, uint32_t length, uint64_t offset, bool trailer);
    int WriteCommentRecord(const uint8_t* r, uint32_t length, uint64_t offset);
    int WriteInformationRecord(const uint8_t* r, uint32_t length, uint64_t offset);
    int WriteTableDumpRecord(uint64_t offset);
    int WriteDfsr(const uint8_t* r, uint32_t length, uint64_t offset);
    // One entry's line of the DFSR table and the setting it gives: the record and frame
    // layout entries (false for any other type), then the spacing and depth entries.
    bool WriteLayoutEntry(lis::EntryType type, uint8_t code, uint8_t size, int whole, const std::string& text);
    void WriteDepthEntry(lis::EntryType type, uint8_t code, uint8_t size, double number, int whole,
                         const std::string& text);
    void AddDataRecord(const uint8_t* r, uint32_t length, uint64_t offset);
    int WriteDataSummary();
    int SummaryIfPending();

    void WriteTable(const uint8_t* r, uint32_t length, size_t at);
    void WriteParameters(const uint8_t* r, uint32_t length, size_t at);
    void WriteDatumSpecBlocks(const uint8_t* r, uint32_t length, size_t at);
    CLisScanFileState& State();
    void Put(const std::string& text) { m_text += text; }
    int FlushText();

    CLisRecordIO m_recordIO;
    OutputFile m_report; // committed by Close when whole
    BinaryFile m_input;
    std::vector<uint8_t> m_buffer;
    int m_maxPhysicalLength = 0;
    std::string m_lisPath;
    std::string m_reportPath;
    std::vector<std::unique_ptr<CLisScanFileState>> m_files; // the last is the current one
    uint64_t m_fileLength = 0;
    int m_framing = 0;
    std::string m_text; // report lines waiting to be written
    Status m_reportFailure; // the first failed write of the report
};
