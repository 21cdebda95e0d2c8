// What the LIS parameter scan builds and the tool recognisers consume: one
// CLisLogicalFile per file-header record with its DFSR values, its channels, depth
// entries and information tables, and the scanner state a recogniser reads and
// changes (CLisScanState, the base of CLisParamScan).
//
// Ownership: each CLisLogicalFile owns the channels of its DFSR (m_channels), its
// items, depth entries and tables. The scanner's channel list holds plain pointers to
// channels owned by logical files; pick items hold copies of the channels they read
// (CWaveformPickItem::m_waveChannels), so dropping an item or emptying a list never
// frees a channel still in use.
//
// Recogniser entry point (one per tool code, looked up by RecogniserFor in
// lis/LisRecognise.h):
//     int Recognise(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
// called at a file trailer when `file` has depth entries. It appends items to
// file.m_items, sets m_used on every channel of scan.m_channelList it consumed, empties
// scan.m_toolEntries, and returns 1 when the tool's dictionary entries were processed
// (even with no item), 0 when the dictionary has no entry for the tool or the work
// failed (the scan then fails). toolCode is the user's code (low byte significant).
// The recogniser of files written by this program is keyed lis::kToolQtxWritten.
#pragma once

#include "dataset/QtxLayout.h"
#include "lis/LisRecords.h"
#include "lis/LisTable.h"
#include "platform/BinaryFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CLisDictionary;
class CLisDictionaryEntry;

namespace lis {

// Tool codes of the Select Tool to Convert dialog (the low byte of the scan's tool code).
constexpr int kToolApx = 0x20;
constexpr int kToolXmac = 0x21;
constexpr int kToolMac = 0x22;
constexpr int kToolDal = 0x23;
constexpr int kToolDsi = 0x24;
constexpr int kToolIsonic = 0x25;
constexpr int kToolSlt = 0x26;
constexpr int kToolQslt = 0x27;
constexpr int kToolWaveSonic = 0x28;
constexpr int kToolBat = 0x29;
constexpr int kToolScout = 0x2a;
constexpr int kToolFws = 0x2b;
constexpr int kToolLss = 0x2c;
constexpr int kToolDslt = 0x2d;
// Key of the recogniser of LIS files written by this program (outside the low byte,
// so no user choice reaches it).
constexpr int kToolQtxWritten = 0x100;

// Depth unit kinds (CLisLogicalFile::m_depthUnitKind).
constexpr uint8_t kUnitUnknown = 0;
constexpr uint8_t kUnitFeet = 1;
constexpr uint8_t kUnitMetres = 255;

// Frames dropped for a repeated depth that the conversion log names one by one.
constexpr size_t kNamedDroppedFrames = 10000;

} // namespace lis

// One depth frame found by the scan.
class CLisDepthEntry {
public:
    double m_depth = 0.0;          // feet or metres (value x depth factor)
    uint64_t m_recordPosition = 0; // file position of the frame's logical record
    uint32_t m_dataLength = 0;     // bytes of the body behind the 2-byte header (less the depth value in depth-once mode)
    uint32_t m_frameOffset = 0;    // bytes from the start of that body to the frame
};

// A data record whose body is not a whole number of frames: the bytes behind its last
// whole frame are not read.
class CLisRecordRemainder {
public:
    uint64_t m_recordPosition = 0; // file position of the record
    uint32_t m_frames = 0;         // whole frames read from it
    uint32_t m_bytes = 0;          // bytes left behind them
};

// A frame the scan dropped because the frame after it has the same depth (or its step placed it there).
class CLisDroppedFrame {
public:
    uint64_t m_frame = 0; // from 0, among the logical file's frames in file order
    double m_depth = 0.0;
    bool m_placedOnNext = false; // a depth-once frame its step placed on the next record's depth
};

// A row of a table named "DIM".
class CLisDimRow {
public:
    std::string m_mnem; // "MNEM"
    std::string m_chan; // "CHAN": the channel the row describes
    std::string m_ndim; // "NDIM"
    std::string m_size; // "SIZE"
    std::string m_incr; // "INCR": sample interval
    std::string m_incu; // "INCU"
    std::string m_offs; // "OFFS"
    std::string m_samp; // "SAMP"
    uint32_t m_used = 0; // set by the recognisers
};

// One information record whose first component has type 73. Rows of a "CONS" or
// "QTX" table go to m_rows, rows of a "DIM" table to m_dimRows; other names get none.
class CLisTable {
public:
    std::string m_name;       // the table type, trailing blanks removed
    uint32_t m_spare = 0;
    uint32_t m_columnCount = 0; // components of the first row
    std::vector<CLisTableRow> m_rows;
    std::vector<CLisDimRow> m_dimRows;
};

// One component of an untabled information record.
class CLisParameterItem {
public:
    std::string m_mnemonic; // 4 characters as read
    std::string m_units;    // 4 characters as read
    std::string m_value;
};

// One LIS logical file (file header to file trailer).
class CLisLogicalFile {
public:
    uint32_t m_longestRecord = 0;   // longest logical record of the file up to this file's trailer
    uint32_t m_maxPhysicalRecord = 0; // from the file header
    int32_t m_framing = 0;          // the scan's framing code at the file header
    std::string m_fileName;         // 10 characters of the file header
    uint8_t m_dataRecordType = 0;   // EB 1
    uint8_t m_datumSpecBlockType = 0; // EB 2
    uint32_t m_frameSize = 0;       // EB 3, or the sum of the channel sizes (see m_declaredFrameSize)
    // EB 3 as the DFSR gives it (0: none) and the sum of its channels' sizes. Where the
    // two disagree, the data records settle which lays out the frames (lis/steps/FrameRules.h);
    // where neither does, the frames cannot be read and the data set is refused.
    uint32_t m_declaredFrameSize = 0;
    uint32_t m_channelBytes = 0;
    bool m_frameSizeSettled = false;
    bool m_layoutRefused = false;
    // What in the data records ruled EB 3 out, for the log; empty where it stands.
    std::string m_layoutRuling;
    uint8_t m_upDown = 0;           // EB 4: 1 up, 255 down, 0 none (filled from the depths at the end;
                                    // in depth-once mode the record depths decide)
    uint8_t m_headerUpDown = 0;     // EB 4 as the DFSR gives it (m_upDown follows the depths)
    uint8_t m_opticalDepthUnits = 1; // EB 5
    int32_t m_dataReferencePoint = 0; // EB 6
    std::string m_dataReferenceUnits; // EB 7
    double m_frameSpacing = 0.0;    // EB 8, in feet or metres
    uint8_t m_frameSpacingCode = 0; // code of EB 8
    std::string m_frameSpacingUnits; // EB 9, "F" or "M" when converted
    // Whether EB 8 held a number, and that number in the depths' units; where the data
    // set's step is not EB 8 (it was absent, 0, beyond any log's spacing, or the frames'
    // own depths overruled it) m_spacingOverruled is set and m_frameSpacing holds the step.
    bool m_spacingGiven = false;
    bool m_spacingOverruled = false;
    std::string m_spacingRuling; // what in the depths ruled a usable EB 8 out, for the log
    double m_dfsrSpacing = 0.0;
    // EB 8 of a real code to four places over EB 8 in full (1 where they are one): the step
    // as releases before read it, kept where it holds over the whole run.
    double m_spacingRounding = 1.0;
    double m_spacingRead = 0.0; // EB 8 of a real code as the DFSR holds it (0 for other codes)
    uint8_t m_depthUnitKind = lis::kUnitUnknown;
    uint8_t m_maxFramesPerRecord = 0; // EB 11
    int32_t m_absentValueInt = 0;   // EB 12 with codes 56, 66, 73, 79
    double m_absentValue = qtx::kAbsentValue; // EB 12 with code 68
    uint8_t m_absentValueCode = 0;
    uint8_t m_depthMode = 0;        // EB 13: 1 one depth per data record, 0 depth leads every frame
    std::string m_depthUnits;       // EB 14
    uint8_t m_depthCode = 0;        // EB 15, or the depth channel's code
    double m_depthFactor = 1.0;     // recorded depth units to feet or metres
    uint8_t m_datumSpecSubtype = 0; // EB 16

    CLisChannelList m_channels;     // owned: the channels of this file's DFSR
    CWaveformPickList m_items;      // owned output items
    std::vector<CLisDepthEntry> m_depths; // in file order
    // Frames dropped for a repeated depth: every one counted, the first
    // lis::kNamedDroppedFrames kept for the conversion log.
    std::vector<CLisDroppedFrame> m_droppedFrames;
    uint64_t m_droppedCount = 0;
    uint64_t m_placedOnNextCount = 0; // of them, depth-once frames placed on the next record
    // Depth-once frames placed on the next record's depth (indices into m_depths,
    // rising), dropped with the repeated depths.
    std::vector<size_t> m_placedOnNext;
    std::vector<std::unique_ptr<CLisTable>> m_tables; // in file order
    // Data records with bytes behind their last whole frame: every one counted, the
    // first lis::kNamedDroppedFrames kept for the conversion log.
    std::vector<CLisRecordRemainder> m_remainders;
    uint64_t m_remainderCount = 0;

    uint32_t m_treeKey = 0;  // Select Input File Items dialog
    uint32_t m_selected = 0; // 1: convert this logical file
};

using CLisLogicalFileList = std::vector<std::unique_ptr<CLisLogicalFile>>;

// The scanner's state that record handlers and recognisers share.
class CLisScanState {
public:
    BinaryFile m_inputFile;             // open while the scan runs
    CLisDictionary* m_dictionary = nullptr; // the loaded tool dictionary (owned by the scanner)
    int32_t m_framing = -1;             // 1 TIF, 0 plain, -1 not recognised
    uint32_t m_dfsrSeen = 0;            // 1 once the current logical file's DFSR was parsed
    std::string m_upDownText;           // "UP" or "DOWN" after the clean-up
    std::string m_spacingUnits;         // of the last parsed DFSR
    double m_frameSpacing = 0.0;        // of the last parsed DFSR
    CLisLogicalFileList m_logicalFiles; // owned, in file order
    // Channels of the current logical file's DFSR that can be read from its frames, in
    // DFSR order, until a recogniser has run; owned by the logical file.
    std::vector<CLisChannelItem*> m_channelList;
    std::vector<CLisParameterItem> m_parameters; // untabled information of the whole file
    std::vector<CLisDictionaryEntry*> m_toolEntries; // not owning; empty between recognitions
    uint32_t m_frameCount = 0;          // frames of depth-once data records
    double m_firstDepth = 0.0;          // of the logical file at its trailer
    double m_lastDepth = 0.0;
    double m_depthStep = 0.0;           // rounded depth step of that logical file
};

// A tool recogniser; see the comment at the top.
using LisRecogniser = int (*)(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
