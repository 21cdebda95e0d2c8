// CToolsWnd: the tool-box engine. Not a window: one object per Run of the tool box
// that holds the task settings, the input and output data sets and the steps the
// tasks are built from. The dispatcher fills the public settings, runs one task of
// the task table (ToolTasks.h) on it and throws the object away.
//
// Refusals (empty selection, a No, a data set that does not fit or runs neither up
// nor down, an output that is one of the inputs, an existing output not to be
// replaced, nothing to convert) happen before the output is created. Once frames are
// being written, every ending (done, stopped, failed) leaves an output whose header
// counts exactly the whole frames it holds; a run that wrote no frame leaves no output.
#pragma once

#include "dataset/DepthRule.h"
#include "dataset/QtxFile.h"
#include "dataset/QtxFrameWriter.h"
#include "toolbox/SegyFile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Values a shared read buffer holds: g_fftData is used from element 1 on.
inline constexpr size_t kToolSampleCapacity = 65536;
// The read buffer of a second operand (frame B of the depth resampler), also from element 1.
extern float g_toolBuffer[kToolSampleCapacity + 1];

// The header image of an output data set besides its datums.
struct ToolOutputHead {
    uint8_t logDirection = qtx::kLogDown;
    uint8_t depthUnits = qtx::kUnitsFeet;
    double top = 0.0, bottom = 0.0, step = 0.0; // top and bottom until the frames settle them
    const char* history = nullptr; // the 4096 bytes the output's history starts from; nullptr: blanks
};

// A frame range of an input: indices first..end, end excluded.
struct ToolFrameSpan {
    int32_t first = 0;
    int32_t end = 0;
};

// One input data set of a run; the primary, secondary and density inputs alike.
struct ToolInput {
    static constexpr int kMaxDatums = qtx::kMaxDatums; // entries of the selection flags

    explicit ToolInput(const char* name) : role(name) {}

    const char* role; // "primary", "secondary" or "density": how messages name the input
    std::string path;
    CQtxFile file;
    CQtxDatumList list;
    double top = 0.0, bottom = 0.0, step = 0.0;
    int32_t frameCount = 0;
    uint8_t logDirection = 0; // header byte 0
    uint8_t depthUnits = 0;   // header byte 1
    std::array<uint32_t, kMaxDatums> selected{}; // by position in `list`; non-zero: chosen
    uint16_t selectedCount = 0;

    bool IsSelected(size_t k) const { return k < selected.size() && selected[k] != 0; }
};

class CToolsWnd {
public:
    static constexpr size_t kHistoryLimit = 4094; // last history position read back; lines end before it

    CToolsWnd();
    CToolsWnd(const CToolsWnd&) = delete;
    CToolsWnd& operator=(const CToolsWnd&) = delete;

    // ---- settings the dispatcher fills ------------------------------------------------------
    uint16_t m_startSample = 0;
    uint16_t m_stopSample = 0;
    uint16_t m_decimation = 1;
    float m_factor = 0.0f;        // "Factor"
    double m_factorDouble = 0.0;  // "Factor" as a double (the depth shift reads this one)
    double m_startDepth = 0.0;    // requested primary start depth (history line)
    double m_stopDepth = 0.0;     // requested primary stop depth (history line)
    double m_spliceDepth = 0.0;   // "Splice depth"
    std::string m_outputPath;
    bool m_outputConfirmed = false; // a save dialog already asked before replacing m_outputPath
    // Set by the dispatcher for the tasks that convert either way: 1 towards metric units.
    int32_t m_depthToMetric = 0;
    int32_t m_slownessToMetric = 0;
    // Set by the dispatcher for Add (+1) and Subtract (-1) Waveforms.
    int32_t m_waveformSign = 1;
    // The inputs the task reads (the dispatcher's count): with more than one, messages name them.
    int m_inputCount = 1;

    // ---- task state ----------------------------------------------------------------------------
    ToolInput m_primary{"primary"}; // also the input the history names and the history editor reopens
    ToolInput m_secondary{"secondary"};
    ToolInput m_density{"density"};
    CQtxFile m_outputFile;
    std::string m_taskLine;          // the history's line for the task; "" adds none
    std::string m_depthUnitLabel;    // " [ft]" or " [m]"
    std::string m_logDirectionLabel; // "UP" or "DOWN"
    double m_currentDepth = 0.0;     // depth written in front of the next output frame
    int32_t m_singleFrameIndex = 0;  // the input frame the frame routine works on
    int32_t m_firstIndex = 0;        // input frame range, end excluded
    int32_t m_endIndex = 0;
    // Two-input loops: the secondary frame beside primary frame k is k + m_secondaryOffset.
    int32_t m_secondaryOffset = 0;
    double m_rangeStart = 0.0, m_rangeEnd = 0.0; // the depths both inputs cover (FindDepthOverlap)
    char m_history[qtx::kHistorySize] = {};
    bool m_outputCreated = false; // this run opened an output for m_outputPath
    bool m_segyOutput = false;    // ... through m_segy rather than m_outputFile
    bool m_stopped = false;       // the user stopped the frame loop
    bool m_historyLostInput = false; // the history editor could not reopen the primary

    // ---- SEG-Y file and its buffers (file header, trace header, shot of up to 16 traces)
    CSegyFile m_segy;
    std::array<uint8_t, segy::kFileHeaderSize> m_segyHeader{};
    std::array<uint8_t, segy::kTraceHeaderSize> m_traceHeader{};
    std::array<uint8_t, segy::kShotBufferSize> m_shotBuffer{};

    // ---- steps of a task ------------------------------------------------------------------------
    // Each returns 1, or 0 after its message; a failed step leaves the inputs closed.
    // Copies the settings' selection of an input (the flags of its listed datums only)
    // and counts it; refuses an empty one, naming the input when the task reads several.
    int TakeSelection() { return TakeSelection(m_primary); }
    int TakeSelection(ToolInput& input);
    // The selection of every input the task reads, in order; the first empty one refuses.
    int TakeSelections();
    // Refuses (closing the inputs) with `refusal` unless `holds`: a task's own checks.
    int Require(bool holds, const std::string& refusal);
    // The first and the last selected datum of an input's list; nullptr when none is.
    static const CQtxDatum* FirstSelected(const ToolInput& input);
    static const CQtxDatum* LastSelected(const ToolInput& input);
    // A selection made on another data set may name none of this one's datums: every
    // input whose selection was taken must have a selected datum in its list.
    int RequireSelectedDatums();
    // Opens the primary (OpenSingleInput), then each further input the task reads, and
    // refuses inputs of more datums than the selection flags hold.
    int OpenInputs();
    // Every further input against the primary: frame counts (when asked), depth steps
    // within 0.0005, depth units, log directions; each check over all inputs before the next.
    int CheckInputsAgree(bool sameFrameCount);
    // Refuses with `refusal` when a selected datum of the input is not of `category`.
    int RequireSelectedCategory(const ToolInput& input, uint8_t category, const std::string& refusal);
    // A datum's traces name per-receiver logs of receivers 1 to 13 only.
    int RefuseTooManyReceivers(const CQtxDatum& item);
    // Aligns the secondary with the primary by depth: the primary frame range
    // (m_firstIndex..m_endIndex), m_secondaryOffset and the common depth range; depths
    // compare after RoundDepth. The range never reaches past the secondary's last frame.
    void FindDepthOverlap();
    // Truncated to four decimals: trunc(x * 10000) * 0.0001.
    static double RoundDepth(double depth);
    int SecondaryFrame() const { return m_singleFrameIndex + m_secondaryOffset; }
    // Whole frames an input's file holds, at most its header's count.
    static int32_t FramesHeld(const ToolInput& input);
    // Opens an input and reads its header values and datum list; 0 after the CQtxFile
    // message, or silently for a frame count beyond the int range.
    int OpenInput(ToolInput& input);
    // Opens the primary as the one input of a task: labels, frame range; refuses an
    // input that runs neither up nor down.
    int OpenSingleInput();
    // The selection flags have 256 entries: refuses a primary with more datums.
    int RefuseTooManyDatums();
    // Refuses an empty frame range (m_firstIndex..m_endIndex) with the nothing-to-convert
    // message and closes the inputs.
    int RefuseNothingToConvert();
    // Refuses a new depth step (of a task that sets one) that is not above 0, or so small
    // that the output would have more frames than a data set counts; closes the inputs.
    int RefuseNewDepthStep(double step, double outputFrames = 1.0);
    // Refuses a primary whose depth step is 0 or no number: its frames have no depths
    // to interpolate between.
    int RefuseInputDepthStep();
    // Refuses an output that is one of the inputs, or an existing file the user does not
    // want replaced (unless m_outputConfirmed); every writer asks here before creating it.
    int ConfirmOutput();
    // Output writer: refuses more datums than a data set holds, ConfirmOutput, then the header image
    // (the primary's units and step with the given direction and depths; no frame counted
    // until the frame loop ends, so a killed run claims none), history, every primary
    // datum unchanged, header and descriptors. After a 0 the run's end removes the output.
    int WriteOutputHead(uint8_t logDirection, double top, double bottom);
    // The same for any header image and datums (each described with all its fields).
    int WriteOutputHead(const ToolOutputHead& head, const std::vector<CQtxDatum>& datums);
    // The primary's header image with the given direction and depths, and its datums.
    ToolOutputHead PrimaryHead(uint8_t logDirection, double top, double bottom) const;
    std::vector<CQtxDatum> PrimaryDatums() const;
    // The depth change from one input frame to the next: up logs may store their step
    // negative, so only its magnitude counts and the direction gives the sign.
    double InputDepthStep() const;
    // The shallower and the deeper of the primary's first and last depth.
    double Shallowest() const;
    double Deepest() const;
    // The frames of an input (first and last depth, `count` frames, direction) that a
    // depth range start..stop (start below stop) selects: each end's index is the
    // depth's share of the input's depth span times the frame count, truncated, and
    // clamped to 0..count.
    static ToolFrameSpan FrameRange(uint8_t logDirection, double first, double last, int32_t count, double start,
                                    double stop);

    // ---- frames ------------------------------------------------------------------------------------
    // Writes one output frame at the given depth: 1, or 0 after the failing call's message.
    using FrameRoutine = std::function<int(double depth)>;
    // Frame loop over m_firstIndex..m_endIndex with the frame index starting at `first`
    // and moving by `indexStep`, the depth starting at `depth` and moving by `depthStep`.
    // Then closes the inputs and finalizes the output (or closes the SEG-Y file); 1 when
    // done or stopped, -1 after a failure.
    int RunFrames(const std::string& label, int first, int indexStep, double depth, double depthStep,
                  const FrameRoutine& routine);
    // Frame routines gather the output's bytes and the loop writes them in large pieces.
    // Offset: the factor added to each value; Scale: each value times the factor (in single
    // precision); -999.25 kept by both.
    enum class ValueOp { Copy, Offset, Scale };
    int StageDepth(double depth);
    int StageValues(const float* values, size_t count, ValueOp op = ValueOp::Copy);
    // Room for `bytes` (at most a piece) of little-endian frame bytes the caller fills;
    // nullptr after a failed write.
    uint8_t* ReserveFrameBytes(size_t bytes) { return m_writer.Reserve(bytes); }
    // For an input that stores its depths coarsely (CQtxFrameWriter::HoldDepthRule).
    void SetDepthResolution(double resolution) { m_writer.HoldDepthRule(resolution); }
    // Every value of a primary datum at m_singleFrameIndex (a two-axis datum whole,
    // rows after rows), streamed through g_fftData, so any size fits.
    int CopyItem(const CQtxDatum& item, ValueOp op = ValueOp::Copy);
    // The same for a datum of any input at any frame.
    int CopyItem(ToolInput& input, int frame, const CQtxDatum& item, ValueOp op = ValueOp::Copy);
    // `count` values (at most kToolSampleCapacity) of a datum from value `first` on, as
    // CopyItem reads them; 1, or 0 after the read's message.
    static int ReadValues(ToolInput& input, int frame, const CQtxDatum& item, uint64_t first, size_t count,
                          float* to);
    // The first value of a datum (a curve's one value).
    static int ReadValue(ToolInput& input, int frame, const CQtxDatum& item, float& value);
    // The depth, then every primary datum of the frame at m_singleFrameIndex unchanged.
    int CopyFrame(double depth);
    void CloseInputs();
    // The end of every run: an output it created without a whole frame in it is removed;
    // a run that ended normally so is a refusal. Returns the run's result.
    int SettleOutput(int result);
    // Whole frames the output holds once finalized.
    uint64_t OutputFrames() const;

    // ---- history --------------------------------------------------------------------------------
    // Appends the run's lines to m_history behind `length` used characters; returns
    // the new length.
    int AppendHistory(int length);
    // Runs the history dialog on the primary, reopens it and takes its history; the
    // used length, or -1 when the input cannot be reopened.
    int EditHistory();
    // Used length of a 4096-byte history: last non-blank of positions 1..4094, plus 1.
    static int HistoryLength(const char* history);

    // ---- helpers ----------------------------------------------------------------------------------
    // Values a datum holds in one frame (traces x samples x rows); elements, not bytes.
    static uint64_t ItemValueCount(const CQtxDatum& item);
    static bool IsTwoAxis(const CQtxDatum& item) { return item.m_axisCount != 1; }
    // A curve datum of the derived logs: category 6, one trace of one sample, step 1.0.
    static CQtxDatum CurveDatum(const std::string& mnemonic, uint8_t typeCode, uint8_t unit);

private:
    CQtxFrameWriter m_writer{m_outputFile}; // the output's frames, written in large pieces
};
