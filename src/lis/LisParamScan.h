// The LIS parameter scan: one pass over a LIS file, record by record, that builds the
// logical files (DFSR values, channels, depth entries, information tables), runs the
// chosen tool's recogniser at each file trailer and turns the channels it left into
// curve items. The model is in lis/LisScanModel.h.
#pragma once

#include "lis/steps/FrameRules.h"
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
// Damaged files: the damaged logical file needs more depth entries than this to be worth keeping.
constexpr size_t kRecoverableDepths = 10;
constexpr int kFileHeaderExpected = 32; // the third argument of OnFileHeader

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
    // missing ("Tool Dictionary File Not Found!"), the user stops, a recogniser fails,
    // or the file is damaged beyond recovery and no complete logical file comes before
    // the damage; *logicalFiles is then untouched.
    int Scan(const std::string& lisPath, CLisLogicalFileList* logicalFiles, const std::string& dictionaryDirectory,
             int toolCode);

    // The record loop over m_inputFile; 1 at a normal end (logical files cleaned up), 0 on failure.
    int ScanRecords(int toolCode);
    // Completes `file` at its trailer; `longestRecord` in bytes. 1, or the recogniser's 0.
    int OnFileTrailer(CLisLogicalFile* file, uint32_t longestRecord, int toolCode);
    // Runs the recogniser of the tool (or of files written by this program), then makes
    // curve items of the unused channels. 1, or 0 without a recogniser or when it fails.
    int RecogniseTool(CLisLogicalFile* file, int toolCode);
    // Of two consecutive depth entries with the same depth, drops the earlier. Only the
    // entries added since the last call are looked at (with the one before them), so a
    // file of many logical files is cleaned in linear time. Returns 1.
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
    // The logical record at `position` into m_buffer (grown when it needs room); its
    // length, `position` moved past it as ReadLogicalRecord does, `status` what was found.
    uint32_t ReadRecord(uint64_t& position, lis::RecordStatus& status);
    // Hands a record to its handler; `current` follows file headers. 0 when a trailer's
    // recogniser failed, else 1.
    int DispatchRecord(const uint8_t* record, uint32_t length, uint64_t recordStart, CLisLogicalFile*& current,
                       uint32_t longest, int toolCode);
    void CleanUp();
    void MakeCurveItems(CLisLogicalFile* file);
    // The channel list of `file`'s DFSR: the channels its frames hold whole, with a
    // layout of values; each marked when it reaches past the frame's end.
    void ListReadableChannels(CLisLogicalFile& file);
    // Where `file`'s EB 3 and channels disagree, tries both layouts on each data record
    // (`body` holds its `bytes` bytes, `position` where it begins); the first such record
    // lays the frames out by the layout it bears out, until the last settles it.
    void TryFrameLayouts(CLisLogicalFile& file, const uint8_t* body, uint32_t bytes, uint64_t position);
    // Settles the frame layout of the data set whose records were tried (at its trailer,
    // at the next file header, at damage or at the end of the scan); its frames are read
    // again where the first record had laid them out otherwise.
    void FinishFrameLayout();
    // The data records of `file` from its first one up to the record being handled, read
    // again with the frame size settled.
    void ReadFramesAgain(CLisLogicalFile& file);
    // The step between the frames of a depth-once record whose first frame lies at
    // `first`; places the frames of the record before it again once it is known.
    double DepthOnceStep(CLisLogicalFile& file, double first);
    // Ends the depth-once record chain of the current logical file (at its trailer, at
    // the next file header, at the end of the scan).
    void FinishDepthOnce();

    CLisRecordIO m_recordIO;
    std::unique_ptr<CLisDictionary> m_ownedDictionary;
    std::vector<uint8_t> m_buffer; // one logical record; only grows

    // The last depth-once record of the current logical file, while its frames may
    // still be placed again: its first entry, frames, first depth and frame step
    // (0: not known yet).
    struct DepthOnceRecord {
        CLisLogicalFile* file = nullptr;
        size_t start = 0;
        uint32_t frames = 0;
        double first = 0.0;
        double step = 0.0;
    };
    DepthOnceRecord m_lastOnce;
    // The data set whose frame layouts are being tried (null when none is), the two
    // layouts, where its first data record begins and the depth-once frames counted
    // before it; and where the record being handled begins.
    CLisLogicalFile* m_layoutFile = nullptr;
    lis::frames::LayoutTrials m_layouts;
    uint64_t m_firstData = 0;
    uint32_t m_framesBefore = 0;
    uint64_t m_recordStart = 0;
    double m_onceStep = 0.0;       // the last known frame step of the current logical file
    bool m_spacingWarned = false;  // frames without a spacing were reported
    bool m_currentComplete = false; // the current logical file's trailer was read
    // Depth entries already free of repeats: every logical file before m_cleanFile,
    // and the first m_cleanDepths entries of that one.
    size_t m_cleanFile = 0;
    size_t m_cleanDepths = 0;
};
