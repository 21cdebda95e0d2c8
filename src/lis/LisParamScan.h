// The LIS parameter scan: one pass over a LIS file, record by record, that builds the
// logical files (DFSR values, channels, depth entries, information tables), runs the
// chosen tool's recogniser at each file trailer and turns the channels it left into
// curve items. The model is in lis/LisScanModel.h.
#pragma once

#include "lis/LisRecordIO.h"
#include "lis/LisScanModel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lis::scan {

constexpr uint32_t kInitialCapacity = 8192; // record buffer at the start
constexpr uint32_t kCapacitySlack = 1024;   // added when the buffer grows
constexpr int kProgressSteps = 1000;
// Damaged files: the first logical file needs more depth entries than this to be worth keeping.
constexpr size_t kRecoverableDepths = 10;
constexpr int kFileHeaderExpected = 32; // the third argument of OnFileHeader

// File header (type 128) fields, offsets in the logical record.
constexpr size_t kFhName = 2;
constexpr size_t kFhNameSize = 10;
constexpr size_t kFhMaxPhysical = 37;
constexpr size_t kFhMaxPhysicalSize = 5;

// Component block of an information record.
constexpr size_t kCbType = 0;
constexpr size_t kCbCode = 1;
constexpr size_t kCbSize = 2;
constexpr size_t kCbMnemonic = 4;
constexpr size_t kCbUnits = 8;
constexpr size_t kCbValue = 12; // header bytes before the value
constexpr uint8_t kCbTableName = 73;
constexpr uint8_t kCbRowStart = 0;
constexpr uint8_t kCbRowColumn = 69;

// Entry block of a DFSR: type, size, code, value.
constexpr size_t kEbHeader = 3;

// Datum specification block of a DFSR.
constexpr size_t kDsbSize = 40;
constexpr size_t kDsbMnemonic = 0;
constexpr size_t kDsbUnits = 18;
constexpr size_t kDsbChannelSize = 28; // BE 16-bit, bytes of all samples
constexpr size_t kDsbSamples = 33;
constexpr size_t kDsbCode = 34;

} // namespace lis::scan

class CLisDictionary;

class CLisParamScan : public CLisScanState {
public:
    CLisParamScan();
    virtual ~CLisParamScan();
    CLisParamScan(const CLisParamScan&) = delete;
    CLisParamScan& operator=(const CLisParamScan&) = delete;

    // Scans `lisPath` with the tool `toolCode` (low byte; lis::kTool...), the tool
    // dictionary read from `dictionaryDirectory`. On success appends the logical files
    // (with their items, depths and tables) to *logicalFiles, whose owner the caller
    // becomes, and returns 1. Returns 0 when the file does not open, the dictionary is
    // missing ("Tool Dictionary File Not Found!"), the user stops, the file is damaged
    // beyond recovery or a recogniser fails; *logicalFiles is then untouched.
    int Scan(const std::string& lisPath, CLisLogicalFileList* logicalFiles, const std::string& dictionaryDirectory,
             int toolCode);

    // The record loop over m_inputFile; 1 at a normal end (logical files cleaned up), 0 on failure.
    int ScanRecords(int toolCode);
    // Completes `file` at its trailer; `longestRecord` in bytes. 1, or the recogniser's 0.
    int OnFileTrailer(CLisLogicalFile* file, uint32_t longestRecord, int toolCode);
    // Runs the recogniser of the tool (or of files written by this program), then makes
    // curve items of the unused channels. 1, or 0 without a recogniser or when it fails.
    int RecogniseTool(CLisLogicalFile* file, int toolCode);
    // Of two consecutive depth entries with the same depth, drops the earlier. Returns 1.
    int RemoveRepeatedDepths();
    void ResetScanState();

    // Record handlers; `record` holds `length` bytes, its 2-byte header included.
    // Nothing is read past `length`.
    CLisLogicalFile* OnFileHeader(const uint8_t* record, uint32_t length, int expected);
    int OnInformationRecord(const uint8_t* record, uint32_t length, CLisLogicalFile* file);
    // `data` holds the component blocks (`length` bytes).
    void ParseTable(const uint8_t* data, uint32_t length, CLisLogicalFile* file);
    void ParseLooseParameters(const uint8_t* data, uint32_t length, CLisLogicalFile* file);
    int ParseDfsr(const uint8_t* record, uint32_t length, CLisLogicalFile* file);
    // `position` is the file position at which the record began.
    int OnDataRecord(const uint8_t* record, uint32_t length, uint64_t position, CLisLogicalFile* file);

protected:
    // Seams for tests: the dictionary load (1 loaded, 0 missing) and the recogniser look-up.
    virtual int LoadDictionary(const std::string& directory);
    virtual LisRecogniser FindRecogniser(int toolCode);

private:
    // Damaged-file rule; returns the loop's result.
    int OnDamagedFile(CLisLogicalFile* current, uint32_t longest, int toolCode);
    void CleanUp();
    void MakeCurveItems(CLisLogicalFile* file);

    CLisRecordIO m_recordIO;
    std::unique_ptr<CLisDictionary> m_ownedDictionary;
    std::vector<uint8_t> m_buffer; // one logical record; only grows
};
