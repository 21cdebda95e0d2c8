// CSegyFile: the one reader and writer of the program's SEG-Y files (SegyLayout.h):
// one datum of a data set, one shot per depth frame and one trace per receiver. The
// tool box's two conversions use it; the owner fills or reads its shape. It writes the
// program's own variant (segy) and reads both that and the published layout
// (segy::standard) that one earlier version wrote.
//
// Buffers: a file header of segy::kFileHeaderSize bytes, a trace header of
// segy::kTraceHeaderSize bytes and a shot buffer of segy::kMaxTraces slots of
// segy::kSlotSize bytes (trace t of a shot in slot t; only its first TraceSize(S)
// bytes are read or written). Trace headers and slots hold the variant's form
// whatever the file's layout: the reader converts at the file. Offsets are
// 64-bit. Every failure has been shown in a message box with the stop icon when the
// call returns.
#pragma once

#include "platform/BinaryFile.h"
#include "platform/OutputFile.h"
#include "toolbox/SegyLayout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CSegyFile {
public:
    using HeaderBuffer = std::span<uint8_t, segy::kFileHeaderSize>;
    using TraceHeaderBuffer = std::span<uint8_t, segy::kTraceHeaderSize>;
    using ShotBuffer = std::span<uint8_t, segy::kShotBufferSize>;

    CSegyFile();
    CSegyFile(const CSegyFile&) = delete;
    CSegyFile& operator=(const CSegyFile&) = delete;

    // The header's fields: set by the owner before OpenOutput, by OpenInput from a file.
    struct Shape {
        float sampleInterval = 0.0f; // axis-1 step of the datum
        int16_t samplesPerTrace = 0; // S, 1..kMaxSamples
        int16_t tracesPerShot = 0;   // T, 1..kMaxTraces
        uint8_t depthUnits = segy::kUnitsFeet;
        uint8_t logDirection = segy::kLogDown;
        uint8_t itemType = 0;
        uint8_t category = 0;
        // The axis's unit code and first index, behind the variant's axis tag. A file
        // without it gives none (axisGiven false, 0 and 0): the datum then takes its
        // category's unit. A given unit, 0 among them, is the datum's own.
        uint8_t axisUnit = 0;
        uint16_t firstIndex = 0;
        bool axisGiven = false;
    };
    // The import's words for the first field of `shape` it refuses, or nullptr when it
    // reads them all. The export asks it too, so that it never writes such a file.
    static const char* ShapeRefusal(const Shape& shape);
    Shape m_shape;

    // Whole shots in the input (a torn last shot is not one).
    int64_t ShotCount() const { return m_shotCount; }
    // Bytes after the last whole shot: a shot the file ends inside (0 for a whole file).
    int64_t TornBytes() const { return m_tornBytes; }
    // Byte offset of the shot or trace read last.
    int64_t SeekOffset() const { return m_seekOffset; }
    // The last depth reader failed: its value is no depth.
    bool ReadFailed() const { return m_readFailed; }
    // errno of the last failed open (0 when the open succeeded); never shown.
    int OpenError() const { return m_openError; }
    bool OutputOpen() const { return m_fileOut.IsOpen(); }

    // Opens the file for reading only, reads its header into `header` (the first bytes
    // of a published-layout header) and the fields, and refuses a file that is neither
    // of this program's layouts (their marks or tag, counts, flag, category and unit
    // bytes) before any shot is read. 1, or 0 with the input closed.
    int OpenInput(HeaderBuffer header, const std::string& path);
    // Creates the output under a temporary name (a file under its name stays until
    // CloseOutput commits) and writes the variant's header, built in `header` from the
    // fields. 1, or 0 with the output abandoned.
    int OpenOutput(HeaderBuffer header, const std::string& path);
    // The input is in the published layout of the earlier export (else the variant).
    bool StandardInput() const { return m_standardInput; }

    // Depth of the first trace of the first shot and of the last trace of the last whole
    // shot. On failure they return -1.0 and set m_readFailed. The trace read is checked:
    // its number must be its place in a shot of the header's trace count, and a
    // published-layout depth must fit thousandths with its scalar; else the file is
    // refused with the frame named.
    double ReadFirstShotDepth(TraceHeaderBuffer traceHeader);
    double ReadLastShotDepth(TraceHeaderBuffer traceHeader);
    // Depth of the first trace of shot `index` (from 0, below m_shotCount); on failure
    // -1.0 after its message, with m_readFailed set.
    double ReadShotDepth(TraceHeaderBuffer traceHeader, int64_t index);
    // Reads shot `index` (from 0) into the slots, its first trace checked as above.
    int ReadShotAt(ShotBuffer shots, int64_t index);
    // Numbers the slots' traces and appends the shot; 1, or 0 after a failed write
    // (the output is then abandoned: a failed run commits nothing).
    int WriteShot(ShotBuffer shots);
    // Writes what is gathered and commits the output under its name when `commit` is
    // set and it holds a whole shot; otherwise abandons it. 1, or 0 after a failed
    // write or commit (the name then keeps what it held before).
    int CloseOutput(bool commit = true);
    void CloseInput() { m_fileIn.Close(); }
    // Shots that reached the output file (0 once it is abandoned).
    uint32_t ShotsWritten() const { return m_shotsWritten; }

    // Depth of a trace header's depth field (a header in the variant's form).
    static double TraceDepth(const uint8_t* traceHeader);
    // A depth in the thousandths a trace header holds, rounded to the nearest (not cut:
    // cut depths make the steps of a regular log wobble by a thousandth); false when they
    // do not fit its 32 bits (or the depth is no number).
    static bool DepthThousandths(double depth, int32_t* thousandths);
    // An axis unit code a datum may carry.
    static bool KnownAxisUnit(uint8_t unit);

private:
    uint32_t m_shotCounter = 0; // shots written, counted from OpenOutput
    int64_t m_shotCount = 0;
    int64_t m_tornBytes = 0;
    int64_t m_seekOffset = 0;
    uint64_t m_traceSize = 0; // TraceSize(S) as last computed
    bool m_readFailed = false;
    std::string m_inputPath;
    std::string m_outputPath;
    BinaryFile m_fileIn;
    OutputFile m_fileOut;
    int m_openError = 0;

    bool m_standardInput = false;
    uint64_t m_inputHeaderSize = segy::kFileHeaderSize;

    uint64_t ShotSize() const;
    bool ReadVariantShape(const uint8_t* header);
    int ReadStandardShape(const uint8_t* header);
    int CheckShape();
    // A trace header read from the input, into the variant's form in place and, when
    // `check` is set, checked as trace `trace` (from 0) of shot `shot`: 1, or 0 after
    // its refusal.
    int InputTraceHeader(uint8_t* traceHeader, int64_t shot, int trace, bool check) const;
    // A trace of the input (header and samples) into a slot, in the variant's form.
    int InputTrace(const uint8_t* trace, uint8_t* slot, int64_t shot, int t, bool check) const;
    // The depth of a trace header just read, or -1.0 with m_readFailed set.
    double InputDepth(uint8_t* traceHeader, int64_t shot, int trace);
    // A slot as a trace of the variant appended to the pending output.
    void OutputTrace(const uint8_t* slot, int trace);
    int Refuse(const char* text);
    int FailShotRead();
    int FlushOutput();

    // Shots are read and written in large pieces: a system call per trace costs more
    // than the copying.
    std::vector<uint8_t> m_window; // whole input shots from m_windowStart
    int64_t m_windowStart = 0;
    size_t m_windowLength = 0;
    std::vector<uint8_t> m_pending; // output shots not written yet
    uint32_t m_pendingShots = 0;
    uint32_t m_shotsWritten = 0;
};

// The one rule for the shot depths of a file that imports as a data set: depths evenly
// spaced in one direction. Shot k lies at first + k x step, the step taken from the
// first and last shots (rounded to thousandths, two neighbours' step wobbles; the span
// does not), and each shot moves on from the one before it in the file's direction.
// The export judges the depths it writes by it, the import the depths it reads. A shot
// may lie off its place by its rounding and by the precision of a depth that came
// through a 32-bit float at the file's depths (a deep log's LIS depth channel).
class CSegyDepthGrid {
public:
    // Shots a reader counts that takes its step from a file's first two shots and its
    // count from the span over that step, trunc((last - first) / step + 0.005) + 1 (the
    // constant a float), the depths in thousandths. 0 when the two shots give no step.
    static int64_t StepReaderShots(int32_t first, int32_t second, int32_t last);
    // Thousandths for the first two of `shots` shots (depths d0 and d1; the last shot
    // at `last` thousandths) that such a reader counts whole: a step rounded up past the
    // true one would leave the last shots out (0.3048 read as 0.305). Shot 1 is taken
    // toward shot 0 as far as that reader needs, and shot 0 toward shot 1 when shot 1
    // alone cannot go so far; each stays less than a thousandth off its depth, else, with
    // singlePrecision, shot 1 up to the depths' single precision more (a deep log's first
    // two depths may lie that much further apart than its step; only for a log that
    // keeps the rule within it), else (irregular depths, which the grid names) both are
    // rounded.
    static void LeadShots(double d0, double d1, int32_t last, int64_t shots, bool singlePrecision, int32_t* first,
                          int32_t* second);

    // How far a shot may lie off its place for rounding alone: a thousandth for the
    // rounding of its depth and of the grid's ends, half of one for the data set's own
    // step tolerance.
    static constexpr double kTolerance = 0.0015;

    // `logDirection` as the header's byte (segy::kLogUp, any other byte down).
    CSegyDepthGrid(uint8_t logDirection, double first, double last, int64_t shots);
    double Step() const { return m_step; } // signed: negative when depths run up
    // How far a shot may lie off its place: kTolerance and the spread of single-precision
    // depths at the deeper end (qtx::SinglePrecisionSpread).
    double Tolerance() const { return kTolerance + m_spread; }
    // Takes the next shot's depth (shots in file order from the first). Shots after one
    // off its place are still taken: a frame missing further on puts earlier ones off
    // their places on the span's step, and the break is what Detail() names.
    void Take(double depth);
    // Every shot taken keeps the rule.
    bool Kept() const { return m_kept; }
    // The rule is broken and no later shot changes what Detail() names: the caller may stop.
    bool Broken() const { return !m_kept && !m_break.empty(); }
    // "Frame <n> is at depth ...": the first shot where the depths break (one not beyond
    // the shot before it, or off it by more than two shots' allowance from one step),
    // else the first shot off its place.
    std::string Detail() const { return m_break.empty() ? m_firstOff : m_break; }

private:
    std::string PlaceDetail(double depth, double place) const;

    bool m_up;
    double m_first;
    double m_end; // the last shot's depth
    double m_step;
    double m_spread;
    int64_t m_taken = 0;
    double m_last = 0.0;
    bool m_kept = true;
    std::string m_firstOff; // the first shot off its place
    std::string m_break;    // the first shot where the depths break
};
