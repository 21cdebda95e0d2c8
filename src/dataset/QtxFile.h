// CQtxFile: the one reader and writer of QTX data sets. One object reads one input
// file and writes one output file; callers read and set its header through it, and
// never reach its files. Every operation that can fail returns a Status: a failure
// carries the message for the caller to show (OkOrShow) and shows nothing itself.
#pragma once

#include "dataset/QtxLayout.h"
#include "platform/BinaryFile.h"
#include "platform/OutputFile.h"
#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

class CQtxDatumAxis {
public:
    uint8_t m_unit = 0;
    uint16_t m_firstIndex = 0;
    uint16_t m_sampleCount = 0;
    float m_step = 0.0f;
};

// One datum as read from its descriptor. For a one-axis datum the second axis stays zero.
class CQtxDatum {
public:
    CQtxDatum(uint32_t flag, const std::string& mnemonic, uint8_t typeCode, uint8_t category, uint8_t typeCode2,
              uint16_t datumNumber, uint16_t traceCount, uint16_t axisCount, uint32_t offset, uint32_t size,
              uint8_t unit1, uint16_t firstIndex1, uint16_t count1, float step1);
    CQtxDatum(uint32_t flag, const std::string& mnemonic, uint8_t typeCode, uint8_t category, uint8_t typeCode2,
              uint16_t datumNumber, uint16_t traceCount, uint16_t axisCount, uint32_t offset, uint32_t size,
              uint8_t unit1, uint16_t firstIndex1, uint16_t count1, float step1, uint8_t unit2,
              uint16_t firstIndex2, uint16_t count2, float step2);

    uint32_t m_flag = 0; // selected flag; 1 from the reader
    std::string m_mnemonic;
    uint8_t m_typeCode = 0;
    uint8_t m_category = 0;
    uint8_t m_typeCode2 = 0;
    uint16_t m_datumNumber = 0;
    uint16_t m_traceCount = 0;
    uint16_t m_axisCount = 0;
    uint32_t m_offset = 0;
    uint32_t m_size = 0;
    CQtxDatumAxis m_axis1;
    CQtxDatumAxis m_axis2;
};

// A verbatim copy of one 39-byte descriptor, as laid out by AddDatum.
class CQtxDescriptorItem {
public:
    explicit CQtxDescriptorItem(const QtxDatumDescriptor& descriptor) { descriptor.Encode(m_bytes); }
    QtxDatumDescriptor Descriptor() const
    {
        QtxDatumDescriptor d;
        d.Decode(m_bytes);
        return d;
    }
    uint8_t m_bytes[qtx::kDescriptorSize] = {};
};

using CQtxDatumList = std::vector<std::unique_ptr<CQtxDatum>>;
using CQtxDescriptorList = std::vector<CQtxDescriptorItem>;

class CQtxFile {
public:
    CQtxFile();
    // A data set known by its name and header only, with no file open (what a dialog
    // that describes a data set is given without reading one).
    CQtxFile(const std::string& path, const QtxFileHeader& header);

    // ---- reading -------------------------------------------------------------
    // Whether `file` is a data set by its own header: a log direction and depth units of
    // the format, a frame of at least its depth and every descriptor inside the frame (as
    // ReadDatumList requires), whatever the file's length; a header of no datums only at
    // exactly the length it counts. `lengthFits` (when given, and only when true is
    // returned) tells whether the file is exactly the header, descriptors and frames it
    // counts; one that is not is a damaged data set. Readers of other formats ask it
    // first, so that a data set is refused by name rather than read as their records.
    static bool HoldsDataSet(BinaryFile& file, bool* lengthFits = nullptr);
    // Opens the input for reading only and reads its header (Header()).
    Status OpenRead(const std::string& path);
    double GetTopDepth() const { return m_topDepth; }       // -1.0 before a successful OpenRead
    double GetBottomDepth() const { return m_bottomDepth; } // -1.0 before a successful OpenRead
    double GetDepthStep() const { return m_depthStep; }     // -1.0 before a successful OpenRead
    uint32_t GetFrameCount() const { return m_frameCount; } // 0xFFFFFFFF before a successful OpenRead
    uint32_t GetFrameSize() const { return m_frameSize; }
    short GetDatumCount() const { return m_datumCount; }
    // The header as read last, or as set for writing (SetHeader, then completed by
    // WriteHeader and Finalize).
    const QtxFileHeader& Header() const { return m_header; }
    const std::string& Path() const { return m_path; } // of the last OpenRead or OpenWrite
    bool InputOpen() const { return m_fileIn.IsOpen(); }
    // Where the input stands: after the header (OpenRead), at the first frame
    // (ReadDatumList), after the floats read (ReadFrameItem).
    int64_t InputPosition() const { return m_fileIn.GetPosition(); }
    // Whole frames the input holds behind its descriptors, by its length (a header may
    // count more than were written); 0 with no input open.
    int64_t FramesHeld() const;
    // For a caller that reads the frames in order, front to back.
    void EnableReadAhead() { m_fileIn.EnableReadAhead(); }
    // Views set this: one damaged frame must not take the readable ones with it.
    void KeepInputOnFrameError() { m_keepInputOnFrameError = true; }
    // Re-reads the header and appends one CQtxDatum per descriptor, in file order.
    // On failure the datums already appended stay in the list and the input is closed.
    Status ReadDatumList(CQtxDatumList& list);
    // Reads count1 x count2 floats of frame `frame` (from 0) starting at byte
    // `offsetInFrame` of the frame into `out`, which holds `outCapacity` floats.
    // A request reaching past the frame or past `out` is refused like a short read:
    // the frame-read message, input closed. On a closed input it fails quietly, since
    // viewers call it on every paint. After KeepInputOnFrameError, a failed read
    // leaves the input open and only the first failure since OpenRead carries the
    // message (the later ones are quiet).
    Status ReadFrameItem(int frame, int64_t offsetInFrame, int count1, int count2, float* out,
                         size_t outCapacity = std::numeric_limits<size_t>::max());
    // The same read for several threads at once: nothing but `out` changes (no file
    // position, no message, the input stays open), so a caller that reads frames on
    // worker threads reports a failure afterwards on its own thread through
    // ReportFrameReadFailure. 1 when every float was read, else 0 with `out` in an
    // unspecified state (a closed input, a refused request, a short read alike).
    [[nodiscard]] int ReadFrameItemShared(int frame, int64_t offsetInFrame, int count1, int count2, float* out,
                                          size_t outCapacity = std::numeric_limits<size_t>::max()) const;
    // What ReadFrameItem does on a failed read, for one that ReadFrameItemShared
    // reported: the frame-read failure (its message the first only, after
    // KeepInputOnFrameError; else the input closed), a quiet one on a closed input.
    // `frame` (from 0) is the one that failed, when the caller knows it.
    Status ReportFrameReadFailure(int64_t frame = -1);
    // Whole frames from `first` on, as the file stores them (little-endian), at most
    // `count` and at most `capacity` bytes, in one read: for a caller that walks many
    // frames and takes a few values of each. The number of whole frames read: 0 on a
    // closed input, at or past the file's end and on a failed read, which the caller
    // reports through ReportFrameReadFailure. No file position changes.
    [[nodiscard]] int ReadFrameBytes(int first, int count, uint8_t* out, size_t capacity) const;
    // For a frame loop that tells a failed frame read itself, with what it kept of its
    // output: from now on a failed frame read is quiet (the input still closes) and
    // FailedFrame names the frame.
    void DeferFrameReadFailures()
    {
        m_deferFrameErrors = true;
        m_failedFrame = -1;
    }
    // The first frame (from 0) whose read failed since OpenRead or DeferFrameReadFailures;
    // -1 when none did (or the failing caller did not know the frame).
    int64_t FailedFrame() const { return m_failedFrame; }
    // Writes `history` as the 4096 history bytes of the input data set, in place, and
    // keeps them in Header(). The input is open for reading only, so this opens the
    // file for writing itself.
    Status WriteHistory(const char (&history)[qtx::kHistorySize]);
    void CloseInput() { m_fileIn.Close(); }

    // ---- writing -------------------------------------------------------------
    // Tests and benchmarks only: it writes any datum count, hostile ones included.
    Status OpenWrite(const std::string& path);
    // Every writer's way in: refuses a data set of more datums than one holds (the
    // failure names `source`, the input they come from) before anything is created,
    // then OpenWrite(path).
    Status OpenWrite(const std::string& path, size_t datumCount, const std::string& source,
                     const std::string& remedy = "select 256 or fewer.");
    bool OutputOpen() const { return m_fileOut.IsOpen(); }
    // The header WriteHeader writes; its frame size and datum count come from the
    // layout, its frame count and depths from Finalize.
    void SetHeader(const QtxFileHeader& header) { m_header = header; }
    // Lays out the next datum after the ones already in `list` (an empty list starts
    // the layout at offset 8) and appends a copy of its descriptor.
    Status AddDatum(CQtxDescriptorList& list, const std::string& mnemonic, uint8_t typeCode, uint16_t axisCount,
                    uint8_t category, uint16_t traceCount, uint8_t unit, float step, uint16_t sampleCount,
                    uint16_t firstIndex);
    Status AddTwoAxisDatum(CQtxDescriptorList& list, const std::string& mnemonic, uint8_t typeCode,
                           uint16_t axisCount, uint8_t category, uint16_t traceCount, uint8_t unit, float step,
                           uint16_t sampleCount, uint16_t firstIndex, uint8_t unit2, float step2,
                           uint16_t sampleCount2, uint16_t firstIndex2);
    // Bytes of one frame as laid out so far (the depth and every datum added).
    uint32_t LayoutFrameSize() const { return m_layoutFrameSize; }
    // Stores the layout's frame size and datum count into the header and writes it at
    // the output's current position.
    Status WriteHeader();
    Status WriteDescriptors(const CQtxDescriptorList& list);
    Status WriteDepth(const double* depth);
    // Writes `count` floats of `values` (at most kDataBufferFloats).
    Status WriteData(const float* values, int count);
    // Reads back `n` bytes the output holds at `position` (frames already written);
    // the bytes read.
    size_t ReadWritten(int64_t position, void* buffer, size_t n) const { return m_fileOut.ReadAt(position, buffer, n); }
    // Counts the whole frames written, drops a torn last frame, reads the first and
    // last depth back, rewrites the header and commits the output under its name. On
    // failure the output is abandoned: the name keeps what it held before.
    Status Finalize();
    // For an output without one whole frame: nothing is committed (the output is
    // abandoned, the name keeps what it held before); a quiet failure when no output
    // was open.
    Status FinalizeEmpty();
    // Finalize when the output holds one whole frame, else FinalizeEmpty; a quiet
    // failure with no output open.
    Status FinalizeFrames();
    uint32_t WrittenFrameCount() const { return m_writtenFrameCount; } // counted by Finalize
    // Frame bytes as laid out by the caller (CQtxFrameWriter); a failure carries the
    // frame-write message and leaves the output open.
    Status WriteFrameBytes(const uint8_t* bytes, size_t count);
    // Both abandon an output that was not finalized: nothing reaches its name.
    void CloseOutput() { m_fileOut.Abandon(); }
    // Abandons the output (a writer that gives up on a header that counts frames the
    // file will not hold); it then counts no frame.
    void DropOutput();

private:
    Status FailRead(const char* prefix);
    Status FailFrameRead(int64_t frame);
    Status FailWrite(const char* prefix) const;
    Status AddLayout(CQtxDescriptorList& list, const std::string& mnemonic, uint64_t size,
                     const QtxDatumDescriptor& fields);
    static QtxDatumDescriptor DescriptorFields(uint8_t typeCode, uint8_t category, uint16_t traceCount,
                                               uint16_t axisCount, const QtxAxisDescriptor& axis1,
                                               const QtxAxisDescriptor& axis2);

    short m_datumCount = 0;
    uint32_t m_frameCount = 0xFFFFFFFFu;
    uint32_t m_frameSize = 0;
    double m_topDepth = -1.0;
    double m_bottomDepth = -1.0;
    double m_depthStep = -1.0;

    uint32_t m_nextOffset = 0;          // writer: offset of the datum added last
    uint32_t m_datumSize = 0;           // writer: size of the datum added last
    uint32_t m_writtenFrameCount = 0;   // writer: frames counted by Finalize
    uint16_t m_datumNumber = 0;         // writer: number of the datum added last
    uint32_t m_layoutFrameSize = qtx::kDepthSize;
    short m_layoutDatumCount = 0;

    std::string m_path;                 // path of the last OpenRead or OpenWrite
    QtxFileHeader m_header;
    BinaryFile m_fileIn;
    OutputFile m_fileOut;               // written under a temporary name until Finalize
    bool m_keepInputOnFrameError = false;
    bool m_frameErrorReported = false;  // since the last OpenRead
    bool m_deferFrameErrors = false;    // since DeferFrameReadFailures, until the next OpenRead
    int64_t m_failedFrame = -1;
    std::string m_inPath;
    std::string m_outPath;
};
