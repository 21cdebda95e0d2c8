// CToolsWnd: the tool-box engine. Not a window: one object per Run of the tool box
// that holds the task settings, the input and output data sets and the steps the
// tasks are built from. The dispatcher fills Settings(), runs one task of the task
// table (ToolTasks.h) on it and throws the object away. A task's runner reads and
// writes the run's shared values through Task(), takes the input steps through
// Inputs() and the output and frame steps through Output(); the engine's own
// bookkeeping of the output stays private.
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
#include "platform/Status.h"
#include "toolbox/SegyFile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Values a read buffer holds: the thread's g_fftData is used from element 1 on.
inline constexpr size_t kToolSampleCapacity = 65536;
// The read buffer of a second operand (frame B of the depth resampler), also from
// element 1; each thread has its own, as it has its own g_fftData.
extern thread_local float g_toolBuffer[kToolSampleCapacity + 1];

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

// Writes one output frame at the given depth: 1, or 0 after the failing call's message.
using ToolFrameRoutine = std::function<int(double depth)>;
// How a frame routine stages values. Offset: the factor added to each value; Scale: each
// value times the factor (in single precision); -999.25 kept by both.
enum class ToolValueOp { Copy, Offset, Scale };

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
    int32_t framesHeld = 0;   // whole frames the file holds, at most frameCount (taken at the open)
    uint8_t logDirection = 0; // header byte 0
    uint8_t depthUnits = 0;   // header byte 1
    std::array<uint32_t, kMaxDatums> selected{}; // by position in `list`; non-zero: chosen
    uint16_t selectedCount = 0;

    bool IsSelected(size_t k) const { return k < selected.size() && selected[k] != 0; }
};

class CToolsWnd;

namespace toolbox {

// A refusal's message box (stop icon, OK); returns 0, as a refusing step does.
int Refuse(const std::string& text);

inline constexpr size_t kHistoryLimit = 4094; // last history position read back; lines end before it

// The first and the last selected datum of an input's list; nullptr when none is.
const CQtxDatum* FirstSelected(const ToolInput& input);
const CQtxDatum* LastSelected(const ToolInput& input);
// Truncated to four decimals: trunc(x * 10000) * 0.0001.
double RoundDepth(double depth);
// Whole frames an input's file holds, at most its header's count.
int32_t FramesHeld(const ToolInput& input);
// 1 when the file held frame `frame` whole at the open; otherwise fails as a read of it would (the
// message shown, the input closed). Every read of a frame asks it (ReadValues, ReadValue,
// and the tasks that read frames themselves), so that no frame the file does not hold
// whole is written, not even from depths alone or from the datums before a cut.
int HoldsFrame(ToolInput& input, int frame);
// The frames of an input (first and last depth, `count` frames, direction) that a
// depth range start..stop (start below stop) selects: each end's index is the
// depth's share of the input's depth span times the frame count, truncated, and
// clamped to 0..count.
ToolFrameSpan FrameRange(uint8_t logDirection, double first, double last, int32_t count, double start, double stop);
// `count` values (at most kToolSampleCapacity) of a datum from value `first` on, as
// CopyItem reads them; 1, or 0 after the read's message.
int ReadValues(ToolInput& input, int frame, const CQtxDatum& item, uint64_t first, size_t count, float* to);
// A curve's value at the frame's depth (its one value, or a fast channel's last sample).
int ReadValue(ToolInput& input, int frame, const CQtxDatum& item, float& value);
// The depth stored in front of a frame's values; 1, or 0 after the read's message.
int ReadFrameDepth(CQtxFile& file, int frame, double* depth);
// Used length of a 4096-byte history: last non-blank of positions 1..4094, plus 1.
int HistoryLength(const char* history);
// Values a datum holds in one frame (traces x samples x rows); elements, not bytes.
uint64_t ItemValueCount(const CQtxDatum& item);
inline bool IsTwoAxis(const CQtxDatum& item) { return item.m_axisCount != 1; }
// A curve datum of the derived logs: category 6, one trace of one sample, step 1.0.
CQtxDatum CurveDatum(const std::string& mnemonic, uint8_t typeCode, uint8_t unit);
// The two curves a two-input log derives from (the last one selected in each input
// counts), once OpenCurveInputs has passed and the inputs are aligned by depth over at
// least one frame; {nullptr, nullptr} after the refusal.
std::pair<const CQtxDatum*, const CQtxDatum*> OpenAlignedCurves(CToolsWnd& e);
// The curves of the velocity logs: copies of the compressional and the shear slowness
// curves, then VP, VS, VPVS and POIS.
std::vector<CQtxDatum> VelocityCurves(const CQtxDatum& dtp, const CQtxDatum& dts);

} // namespace toolbox

// The values the dispatcher fills before a run.
struct ToolSettings {
    uint16_t startSample = 0;
    uint16_t stopSample = 0;
    uint16_t decimation = 1;
    float factor = 0.0f;       // "Factor"
    double factorDouble = 0.0; // "Factor" as a double (the depth shift reads this one)
    double startDepth = 0.0;   // requested primary start depth (history line)
    double stopDepth = 0.0;    // requested primary stop depth (history line)
    double spliceDepth = 0.0;  // "Splice depth"
    std::string outputPath;
    bool outputConfirmed = false; // a save dialog already asked before replacing outputPath
    // Set by the dispatcher for the tasks that convert either way: 1 towards metric units.
    int32_t depthToMetric = 0;
    int32_t slownessToMetric = 0;
    // Set by the dispatcher for Add (+1) and Subtract (-1) Waveforms.
    int32_t waveformSign = 1;
    // The inputs the task reads (the dispatcher's count): with more than one, messages name them.
    int inputCount = 1;
};

// A note of several lines the history keeps whole or not at all (a list cut short would
// pass for the whole one); where it does not fit, `leftOut` says so in its place, whole
// too or not at all.
struct ToolHistoryNote {
    std::vector<std::string> lines;
    std::vector<std::string> leftOut;
};

// What the steps of a running task share: its inputs, the frame range and the history.
struct ToolTaskState {
    ToolInput primary{"primary"}; // also the input the history names and the history editor reopens
    ToolInput secondary{"secondary"};
    ToolInput density{"density"};
    std::string taskLine;          // the history's line for the task; "" adds none
    // Notes the history gets after the task line, in order, each whole where it fits.
    std::vector<ToolHistoryNote> historyNotes;
    std::vector<bool> historyNotesWritten; // per note, set when the history was written: true where it holds the list
    // A task whose history tells where a Stop left its output (the text imports): the
    // line after the task line once the user stopped the frame loop; unset: none.
    std::function<std::string()> stoppedLine;
    std::string depthUnitLabel;    // " [ft]" or " [m]"
    std::string logDirectionLabel; // "UP" or "DOWN"
    int32_t singleFrameIndex = 0;  // the input frame the frame routine works on
    int32_t firstIndex = 0;        // input frame range, end excluded
    int32_t endIndex = 0;
    // Two-input loops: the secondary frame beside primary frame k is k + secondaryOffset.
    int32_t secondaryOffset = 0;
    double rangeStart = 0.0, rangeEnd = 0.0; // the depths both inputs cover (FindDepthOverlap)
    char history[qtx::kHistorySize] = {};
    bool stopped = false; // the user stopped the frame loop

    int SecondaryFrame() const { return singleFrameIndex + secondaryOffset; }
};

// The SEG-Y output of a run and its buffers (file header, trace header, shot of up to 16 traces).
struct ToolSegyOutput {
    CSegyFile file;
    std::array<uint8_t, segy::kFileHeaderSize> fileHeader{};
    std::array<uint8_t, segy::kTraceHeaderSize> traceHeader{};
    std::array<uint8_t, segy::kShotBufferSize> shotBuffer{};
};

// The steps that take, open and check a task's inputs. Each returns 1, or 0 after its
// message; a failed step leaves the inputs closed. The checks named for what they pass
// return a Status instead: a failure has closed the inputs and carries the message for
// the caller to show (`if (!OkOrShow(e.Inputs().HasFramesToConvert())) return -1;`).
class ToolInputSteps {
public:
    // Copies the settings' selection of an input (the flags of its listed datums only)
    // and counts it; refuses an empty one, naming the input when the task reads several.
    // Without an input: the primary's.
    virtual int TakeSelection() = 0;
    virtual int TakeSelection(ToolInput& input) = 0;
    // The selection of every input the task reads, in order; the first empty one refuses.
    virtual int TakeSelections() = 0;
    // Refuses (closing the inputs) with `refusal` unless `holds`: a task's own checks.
    virtual int Require(bool holds, const std::string& refusal) = 0;
    // A selection made on another data set may name none of this one's datums: every
    // input whose selection was taken must have a selected datum in its list.
    virtual int RequireSelectedDatums() = 0;
    // Opens the primary (OpenSingleInput), then each further input the task reads, and
    // refuses inputs of more datums than the selection flags hold.
    virtual int OpenInputs() = 0;
    // Every further input against the primary: frame counts (when asked), depth steps
    // within 0.0005, depth units, log directions; each check over all inputs before the next.
    virtual int CheckInputsAgree(bool sameFrameCount) = 0;
    // Refuses with `refusal` when a selected datum of the input is not of `category`.
    virtual int RequireSelectedCategory(const ToolInput& input, uint8_t category, const std::string& refusal) = 0;
    // The opening of the tasks that derive logs from one curve per input: every input's
    // selection, opened, checked against the primary (frame counts aside), a selected
    // datum in each and only curves selected, each input refused with its own message.
    virtual int OpenCurveInputs() = 0;
    // A datum's traces name per-receiver logs of receivers 1 to 13 only.
    [[nodiscard]] virtual Status ReceiverCountFits(const CQtxDatum& item) = 0;
    // Aligns the secondary with the primary by depth: the primary frame range
    // (firstIndex..endIndex), secondaryOffset and the common depth range; depths
    // compare after RoundDepth. The range never reaches past the secondary's last frame.
    virtual void FindDepthOverlap() = 0;
    // Opens an input and reads its header values and datum list; 0 after the CQtxFile
    // message, or silently for a frame count beyond the int range.
    virtual int OpenInput(ToolInput& input) = 0;
    // Opens the primary as the one input of a task: labels, frame range; refuses an
    // input that runs neither up nor down.
    virtual int OpenSingleInput() = 0;
    // The selection flags have 256 entries: no input may list more datums.
    [[nodiscard]] virtual Status DatumListsFit() = 0;
    // The frame range (firstIndex..endIndex) is not empty; otherwise the nothing-to-convert
    // message.
    [[nodiscard]] virtual Status HasFramesToConvert() = 0;
    // A new depth step (of a task that sets one) is above 0, and not so small that the
    // output would have more frames than a data set counts.
    [[nodiscard]] virtual Status NewDepthStepFits(double step, double outputFrames = 1.0) = 0;
    // The primary's depth step is a number other than 0: its frames have depths to
    // interpolate between.
    [[nodiscard]] virtual Status InputHasDepthStep() = 0;
    virtual void CloseInputs() = 0;
    // The depth change from one input frame to the next: up logs may store their step
    // negative, so only its magnitude counts and the direction gives the sign.
    virtual double InputDepthStep() const = 0;
    // The shallower and the deeper of the primary's first and last depth.
    virtual double Shallowest() const = 0;
    virtual double Deepest() const = 0;

protected:
    ~ToolInputSteps() = default;
};

// The steps that write a task's output: its head, its frames and its history.
class ToolOutputSteps {
public:
    // Refuses an output that is one of the inputs, or an existing file the user does not
    // want replaced (unless outputConfirmed); every writer asks here before creating it.
    virtual int ConfirmOutput() = 0;
    // Output writer: refuses more datums than a data set holds, ConfirmOutput, then the header image
    // (the primary's units and step with the given direction and depths; no frame counted
    // until the frame loop ends, so a killed run claims none), history, every primary
    // datum unchanged, header and descriptors. After a 0 the run's end removes the output.
    virtual int WriteOutputHead(uint8_t logDirection, double top, double bottom) = 0;
    // The same for any header image and datums (each described with all its fields).
    virtual int WriteOutputHead(const ToolOutputHead& head, const std::vector<CQtxDatum>& datums) = 0;
    // For a writer that reads its whole input before it knows its head (the text
    // imports): the checks of WriteOutputHead, then the output created (nothing under its
    // name yet), so that an output that cannot be written is refused before that read.
    // WriteOutputHead then writes into it; a run that writes no frame removes it.
    virtual int CreateOutput(size_t datumCount) = 0;
    // The primary's header image with the given direction and depths, and its datums.
    virtual ToolOutputHead PrimaryHead(uint8_t logDirection, double top, double bottom) const = 0;
    virtual std::vector<CQtxDatum> PrimaryDatums() const = 0;
    // Frame loop over firstIndex..endIndex with the frame index starting at `first`
    // and moving by `indexStep`, the depth starting at `depth` and moving by `depthStep`.
    // Then closes the inputs and finalizes the output (or closes the SEG-Y file); 1 when
    // done or stopped, -1 after a failure. An input that stops early (a frame it does not
    // hold) fails the run but keeps the whole frames written before it, and is told with
    // their count; any other failure (a write, a depth off the header's rule) keeps nothing.
    virtual int RunFrames(const std::string& label, int first, int indexStep, double depth, double depthStep,
                          const ToolFrameRoutine& routine) = 0;
    // The input that stopped the last frame loop early; nullptr when none did.
    virtual const ToolInput* InputStopped() const = 0;
    // Tells that the input stopped: its path, the frame it stopped at and the `kept` frames
    // of the output. RunFrames tells it for data-set and SEG-Y outputs; a task that commits
    // its own output tells it after that.
    virtual void TellInputStopped(uint64_t kept) = 0;
    // Frame routines gather the output's bytes and the loop writes them in large pieces.
    virtual int StageDepth(double depth) = 0;
    virtual int StageValues(const float* values, size_t count, ToolValueOp op = ToolValueOp::Copy) = 0;
    // Room for `bytes` (at most a piece) of little-endian frame bytes the caller fills;
    // nullptr after a failed write.
    virtual uint8_t* ReserveFrameBytes(size_t bytes) = 0;
    // For an input that stores its depths coarsely (CQtxFrameWriter::HoldDepthRule).
    virtual void SetDepthResolution(double resolution) = 0;
    // Every value of a primary datum at singleFrameIndex (a two-axis datum whole,
    // rows after rows), streamed through g_fftData, so any size fits.
    virtual int CopyItem(const CQtxDatum& item, ToolValueOp op = ToolValueOp::Copy) = 0;
    // The same for a datum of any input at any frame.
    virtual int CopyItem(ToolInput& input, int frame, const CQtxDatum& item, ToolValueOp op = ToolValueOp::Copy) = 0;
    // The depth, then every primary datum of the frame at singleFrameIndex: the selected
    // ones staged by `selectedOp`, the others unchanged.
    virtual int CopyFrame(double depth, ToolValueOp selectedOp = ToolValueOp::Copy) = 0;
    // The end of every run: an output it created without a whole frame in it is removed;
    // a run that ended normally so is a refusal. Returns the run's result.
    virtual int SettleOutput(int result) = 0;
    // Whole frames the output holds once finalized.
    virtual uint64_t OutputFrames() const = 0;
    // The SEG-Y writer opened the output (`created`: a file now exists under its name).
    virtual void ClaimSegyOutput(bool created) = 0;
    // Closes the data-set output and forgets it, so the run's end commits nothing.
    virtual void AbandonOutput() = 0;
    // Appends the run's lines to the history behind `length` used characters; returns
    // the new length.
    virtual int AppendHistory(int length) = 0;
    // Runs the history dialog on the primary, reopens it and takes its history; the
    // used length, or -1 when the input cannot be reopened.
    virtual int EditHistory() = 0;

protected:
    ~ToolOutputSteps() = default;
};

class CToolsWnd final : private ToolInputSteps, private ToolOutputSteps {
public:
    CToolsWnd();
    CToolsWnd(const CToolsWnd&) = delete;
    CToolsWnd& operator=(const CToolsWnd&) = delete;

    ToolSettings& Settings() { return m_settings; }
    const ToolSettings& Settings() const { return m_settings; }
    ToolTaskState& Task() { return m_task; }
    const ToolTaskState& Task() const { return m_task; }
    ToolSegyOutput& Segy() { return m_segyOut; }
    ToolInputSteps& Inputs() { return *this; }
    ToolOutputSteps& Output() { return *this; }

private:
    int TakeSelection() override;
    int TakeSelection(ToolInput& input) override;
    int TakeSelections() override;
    int Require(bool holds, const std::string& refusal) override;
    int RequireSelectedDatums() override;
    int OpenInputs() override;
    int CheckInputsAgree(bool sameFrameCount) override;
    int RequireSelectedCategory(const ToolInput& input, uint8_t category, const std::string& refusal) override;
    int OpenCurveInputs() override;
    Status ReceiverCountFits(const CQtxDatum& item) override;
    void FindDepthOverlap() override;
    int OpenInput(ToolInput& input) override;
    int OpenSingleInput() override;
    Status DatumListsFit() override;
    Status HasFramesToConvert() override;
    Status NewDepthStepFits(double step, double outputFrames) override;
    Status InputHasDepthStep() override;
    void CloseInputs() override;
    double InputDepthStep() const override;
    double Shallowest() const override;
    double Deepest() const override;
    int ConfirmOutput() override;
    int WriteOutputHead(uint8_t logDirection, double top, double bottom) override;
    int WriteOutputHead(const ToolOutputHead& head, const std::vector<CQtxDatum>& datums) override;
    int CreateOutput(size_t datumCount) override;
    ToolOutputHead PrimaryHead(uint8_t logDirection, double top, double bottom) const override;
    std::vector<CQtxDatum> PrimaryDatums() const override;
    int RunFrames(const std::string& label, int first, int indexStep, double depth, double depthStep,
                  const ToolFrameRoutine& routine) override;
    const ToolInput* InputStopped() const override { return m_inputStopped; }
    void TellInputStopped(uint64_t kept) override;
    int SettleFrames(int result); // the end of RunFrames: commits what the run keeps
    int StageDepth(double depth) override;
    int StageValues(const float* values, size_t count, ToolValueOp op) override;
    uint8_t* ReserveFrameBytes(size_t bytes) override;
    void SetDepthResolution(double resolution) override;
    int CopyItem(const CQtxDatum& item, ToolValueOp op) override;
    int CopyItem(ToolInput& input, int frame, const CQtxDatum& item, ToolValueOp op) override;
    int CopyFrame(double depth, ToolValueOp selectedOp) override;
    int SettleOutput(int result) override;
    uint64_t OutputFrames() const override;
    void ClaimSegyOutput(bool created) override;
    void AbandonOutput() override;
    int AppendHistory(int length) override;
    // The run's lines behind `length` used characters; the new length.
    int WriteHistoryLines(int length);
    // After a Stop: the run's lines written again with the stop's own, into the output's header.
    void RewriteStoppedHistory();
    int EditHistory() override;
    ToolSettings m_settings;
    ToolTaskState m_task;
    ToolSegyOutput m_segyOut;
    CQtxFile m_outputFile;
    double m_currentDepth = 0.0;            // depth written in front of the next output frame
    bool m_outputCreated = false;           // this run opened an output for the output path
    bool m_segyOutput = false;              // ... through m_segyOut rather than m_outputFile
    bool m_historyLostInput = false;        // the history editor could not reopen the primary
    int m_historyStart = -1;                // where the run's history lines begin; -1 before they are written
    const ToolInput* m_inputStopped = nullptr; // the input whose frame the last frame loop could not read
    CQtxFrameWriter m_writer{m_outputFile}; // the output's frames, written in large pieces
};
