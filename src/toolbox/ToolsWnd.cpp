#include "toolbox/ToolsWnd.h"

#include "common/Fft.h"
#include "common/OutputGuard.h"
#include "common/PathLabel.h"
#include "common/ProgressDlg.h"
#include "common/QtxDataSetHistoryDlg.h"
#include "dataset/FastDatum.h"
#include "dataset/QtxLayout.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/OutputFile.h"
#include "platform/Path.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>

static_assert(kToolSampleCapacity + 1 == size_t(kFftDataSize));

thread_local float g_toolBuffer[kToolSampleCapacity + 1];

namespace {

const char kTooManyDatums[] = "Encountered %zu datums in file :\n%s\nA data set holds at most %d datums: no task can read "
                               "this one.\nOperation will be abandoned.";
const char kStopQuestion[] = "Are you sure you want to stop processing?";
const char kErrorReadingFrame[] = "Error reading frame data in file :\n";
const char kLowHistory[] = "You are running low with the data history buffer.\nWould you like to edit the history?";
const char kNothingToConvert[] = "Could not find any data to be converted!\nOperation will be abandoned.";
const char kInvalidStep[] = "Encountered invalid depth step : %.4f!\nOperation will be abandoned.";
const char kInvalidInputStep[] = "Encountered invalid depth step in file :\n%s\nOperation will be abandoned.";
const char kUnknownDirection[] = "Encountered unknown log direction in file :\n%s\nOperation will be abandoned.";
const char kTooManyFrames[] = "Encountered %u frames in file :\n%s\nA data set holds at most %d frames.\nOperation will be "
                              "abandoned.";

constexpr size_t kHistoryHeadroom = 500;
constexpr uint32_t kNullBits = std::bit_cast<uint32_t>(qtx::kAbsentValue);

// Offsets beyond int reach ReadFrameItem as -1, which it refuses with its read message.
int FrameOffset(uint64_t at) { return at > uint64_t(INT_MAX) ? -1 : int(at); }

} // namespace

using namespace toolbox;

int toolbox::Refuse(const std::string& text)
{
    MessageBox(text, MB_OK | MB_ICONSTOP);
    return 0;
}

// Every task writes depths that follow its output's header.
CToolsWnd::CToolsWnd() { m_writer.HoldDepthRule(); }

// ---- helpers ------------------------------------------------------------------------------------

uint64_t toolbox::ItemValueCount(const CQtxDatum& item)
{
    const uint64_t rows = IsTwoAxis(item) ? item.m_axis2.m_sampleCount : 1u;
    return uint64_t(item.m_traceCount) * item.m_axis1.m_sampleCount * rows;
}

// ---- steps of a task -----------------------------------------------------------------------

int CToolsWnd::OpenInput(ToolInput& in)
{
    in.list.clear();
    if (!OkOrShow(in.file.OpenRead(in.path))) return 0;
    in.top = in.file.GetTopDepth();
    in.bottom = in.file.GetBottomDepth();
    in.step = in.file.GetDepthStep();
    const uint32_t count = in.file.GetFrameCount();
    // After a successful open these are the header's own values: a depth or a step of
    // -1.0 is as good as any (an up log at one foot a frame). Frame indices are int.
    if (count > uint32_t(INT32_MAX)) {
        in.file.CloseInput();
        return Refuse(Format(kTooManyFrames, unsigned(count), in.path.c_str(), INT32_MAX));
    }
    if (!OkOrShow(in.file.ReadDatumList(in.list))) {
        in.file.CloseInput();
        return 0;
    }
    in.frameCount = int32_t(count);
    in.framesHeld = FramesHeld(in);
    in.logDirection = in.file.Header().logDirection;
    in.depthUnits = in.file.Header().depthUnits;
    return 1;
}

int CToolsWnd::OpenSingleInput()
{
    if (!OpenInput(m_task.primary)) return 0;
    m_task.logDirectionLabel = m_task.primary.logDirection == qtx::kLogUp ? "UP" : "DOWN";
    m_task.depthUnitLabel = m_task.primary.depthUnits == qtx::kUnitsMetres ? " [m]" : " [ft]";
    m_task.singleFrameIndex = 0;
    m_task.firstIndex = 0;
    m_task.endIndex = m_task.primary.frameCount;
    // Neither up nor down gives no direction to step the depths in: no frame could be written.
    if (m_task.primary.logDirection == qtx::kLogUp || m_task.primary.logDirection == qtx::kLogDown) return 1;
    CloseInputs();
    return Refuse(Format(kUnknownDirection, m_task.primary.path.c_str()));
}

Status CToolsWnd::DatumListsFit()
{
    // A later datum could be neither chosen nor skipped reliably.
    for (const ToolInput* in : {&m_task.primary, &m_task.secondary, &m_task.density})
        if (in->list.size() > size_t(ToolInput::kMaxDatums)) {
            std::string text = Format(kTooManyDatums, in->list.size(), in->path.c_str(), ToolInput::kMaxDatums);
            CloseInputs();
            return Status::Failure(std::move(text));
        }
    return {};
}

void CToolsWnd::CloseInputs()
{
    m_segyOut.file.CloseInput();
    m_task.primary.file.CloseInput();
    m_task.secondary.file.CloseInput();
    m_task.density.file.CloseInput();
}

Status CToolsWnd::HasFramesToConvert()
{
    if (m_task.endIndex > m_task.firstIndex) return {};
    CloseInputs();
    return Status::Failure(kNothingToConvert);
}

Status CToolsWnd::NewDepthStepFits(double step, double outputFrames)
{
    if (step > 0.0 && std::isfinite(step) && outputFrames <= double(INT32_MAX)) return {};
    CloseInputs();
    return Status::Failure(Format(kInvalidStep, step));
}

Status CToolsWnd::InputHasDepthStep()
{
    const double step = std::fabs(m_task.primary.step);
    if (step > 0.0 && std::isfinite(step)) return {};
    CloseInputs();
    return Status::Failure(Format(kInvalidInputStep, m_task.primary.path.c_str()));
}

int CToolsWnd::ConfirmOutput()
{
    if (!OkOrShow(OutputSparesInputs(m_settings.outputPath, {m_task.primary.path, m_task.secondary.path, m_task.density.path}))
        || (!m_settings.outputConfirmed && !MayReplaceExisting(m_settings.outputPath))) {
        CloseInputs();
        return 0;
    }
    return 1;
}

uint64_t CToolsWnd::OutputFrames() const
{
    return m_segyOutput ? m_segyOut.file.ShotsWritten() : m_outputFile.WrittenFrameCount();
}

void CToolsWnd::ClaimSegyOutput(bool created)
{
    m_segyOutput = true;
    m_outputCreated = created;
}

void CToolsWnd::AbandonOutput()
{
    m_outputFile.CloseOutput();
    m_outputCreated = false;
}

int CToolsWnd::SettleOutput(int result)
{
    if (!m_outputCreated || OutputFrames() > 0) return result;
    // Nothing without a whole frame was committed: what is still open is abandoned.
    m_writer.Abandon();
    m_segyOut.file.CloseOutput(false);
    m_outputCreated = false;
    if (result != 1 || m_task.stopped) return result;
    Refuse(kNothingToConvert);
    return -1;
}

double CToolsWnd::Shallowest() const { return std::min(m_task.primary.top, m_task.primary.bottom); }
double CToolsWnd::Deepest() const { return std::max(m_task.primary.top, m_task.primary.bottom); }

ToolFrameSpan toolbox::FrameRange(uint8_t logDirection, double first, double last, int32_t count, double start,
                                  double stop)
{
    if (count <= 0) return {};
    // One depth for every frame: the frames lie in the range or not at all.
    if (first == last) return start <= first && first <= stop ? ToolFrameSpan{0, count} : ToolFrameSpan{};
    // Up logs count their frames from the deepest depth.
    const bool up = logDirection == qtx::kLogUp;
    const double span = up ? first - last : last - first;
    const double from = up ? first - stop : start - first;
    const double to = up ? first - start : stop - first;
    const int32_t a = std::clamp(ClampToInt(from * count / span), 0, count);
    const int32_t b = std::clamp(ClampToInt(to * count / span), 0, count);
    return {a, std::max(a, b)};
}

double CToolsWnd::InputDepthStep() const
{
    const double step = std::fabs(m_task.primary.step);
    return m_task.primary.logDirection == qtx::kLogUp ? -step : step;
}

// ---- frames ----------------------------------------------------------------------------------

int CToolsWnd::StageDepth(double depth) { return OkOrShow(m_writer.WriteDepth(depth)); }

uint8_t* CToolsWnd::ReserveFrameBytes(size_t bytes)
{
    uint8_t* at = nullptr;
    return OkOrShow(m_writer.Reserve(bytes, at)) ? at : nullptr;
}

void CToolsWnd::SetDepthResolution(double resolution) { m_writer.HoldDepthRule(resolution); }

int CToolsWnd::StageValues(const float* values, size_t count, ToolValueOp op)
{
    if (op == ToolValueOp::Copy) return OkOrShow(m_writer.WriteValues(values, count));
    const double factor = double(m_settings.factor);
    const size_t piece = m_writer.PieceBytes() / sizeof(float);
    while (count > 0) {
        const size_t n = std::min(count, piece);
        uint8_t* to = nullptr;
        if (!OkOrShow(m_writer.Reserve(n * sizeof(float), to))) return 0;
        for (size_t i = 0; i < n; ++i) {
            const float v = values[i];
            // A product or sum beyond the float range is clamped: its conversion would be undefined.
            const float w = std::bit_cast<uint32_t>(v) == kNullBits ? v
                            : op == ToolValueOp::Offset             ? ClampToFloat(factor + double(v))
                                                                    : ClampToFloat(factor * double(v));
            endian::PutLEFloat(to + i * sizeof(float), w);
        }
        values += n;
        count -= n;
    }
    return 1;
}

int CToolsWnd::CopyItem(const CQtxDatum& item, ToolValueOp op)
{
    return CopyItem(m_task.primary, m_task.singleFrameIndex, item, op);
}

int CToolsWnd::CopyItem(ToolInput& in, int frame, const CQtxDatum& item, ToolValueOp op)
{
    const uint64_t total = ItemValueCount(item);
    float* buffer = g_fftData + 1;
    for (uint64_t done = 0; done < total;) {
        const size_t n = size_t(std::min<uint64_t>(total - done, kToolSampleCapacity));
        if (!ReadValues(in, frame, item, done, n, buffer) || !StageValues(buffer, n, op)) return 0;
        done += n;
    }
    return 1;
}

int toolbox::HoldsFrame(ToolInput& in, int frame)
{
    return frame >= 0 && frame < in.framesHeld ? 1 : OkOrShow(in.file.ReportFrameReadFailure(frame));
}

int toolbox::ReadValues(ToolInput& in, int frame, const CQtxDatum& item, uint64_t first, size_t count, float* to)
{
    const uint64_t at = uint64_t(item.m_offset) + first * sizeof(float);
    return HoldsFrame(in, frame)
           && OkOrShow(in.file.ReadFrameItem(frame, FrameOffset(at), 1, int(std::min(count, kToolSampleCapacity)), to,
                                             kToolSampleCapacity));
}

int toolbox::ReadValue(ToolInput& in, int frame, const CQtxDatum& item, float& value)
{
    const uint64_t at = uint64_t(item.m_offset) + sizeof(float) * qtx::ValueAtFrameDepth(item);
    return HoldsFrame(in, frame) && OkOrShow(in.file.ReadFrameItem(frame, FrameOffset(at), 1, 1, &value, 1));
}

int toolbox::ReadFrameDepth(CQtxFile& file, int frame, double* depth)
{
    float halves[2];
    if (!OkOrShow(file.ReadFrameItem(frame, 0, 1, 2, halves, 2))) return 0;
    uint8_t bytes[qtx::kDepthSize];
    endian::PutLEFloat(bytes, halves[0]);
    endian::PutLEFloat(bytes + 4, halves[1]);
    *depth = endian::GetLEDouble(bytes);
    return 1;
}

int CToolsWnd::CopyFrame(double depth, ToolValueOp selectedOp)
{
    ToolInput& in = m_task.primary;
    if (!HoldsFrame(in, m_task.singleFrameIndex) || !StageDepth(depth)) return 0;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (!CopyItem(*in.list[k], in.IsSelected(k) ? selectedOp : ToolValueOp::Copy)) return 0;
    return 1;
}

// ---- history ---------------------------------------------------------------------------------

int toolbox::HistoryLength(const char* history)
{
    for (int i = int(kHistoryLimit); i >= 1; --i)
        if (history[i] != ' ') return i + 1;
    return 1;
}

int CToolsWnd::AppendHistory(int length)
{
    if (length < 0) return length;
    if (size_t(length) + kHistoryHeadroom > qtx::kHistorySize && MessageBox(kLowHistory, MB_YESNO) == IDYES) {
        const int edited = EditHistory();
        if (edited < 0) return length; // the input could not be reopened: the old history stays as it was
        length = edited;
    }
    m_historyStart = length;
    return WriteHistoryLines(length);
}

int CToolsWnd::WriteHistoryLines(int length)
{
    size_t used = size_t(length);
    // A line break is added while it starts before the limit (its LF may land on it, still
    // inside the 4096 bytes and still seen by HistoryLength); a line only whole, before it.
    auto lineBreak = [&] {
        if (used >= kHistoryLimit) return false;
        std::memcpy(m_task.history + used, "\r\n", 2);
        used += 2;
        return true;
    };
    auto line = [&](const std::string& text) {
        if (text.empty() || used + text.size() >= kHistoryLimit) return;
        std::memcpy(m_task.history + used, text.data(), text.size());
        used += text.size();
    };
    if (lineBreak() && lineBreak()) {
        line(Format("*** Input data : %s", m_task.primary.path.c_str()));
        if (lineBreak()) {
            line(Format("*** Depth range : %10.4f - %10.4f %s", m_settings.startDepth, m_settings.stopDepth,
                        m_task.depthUnitLabel.c_str()));
            if (lineBreak()) {
                line(m_task.taskLine);
                // Where the output ends, for the depth range above is what was asked for.
                if (m_task.stopped && m_task.stoppedLine && (m_task.taskLine.empty() || lineBreak()))
                    line(m_task.stoppedLine());
            }
        }
    }
    // Each note goes in whole or not at all: a list cut short would pass for the whole one.
    // All together where they fit; else each in turn where it fits whole beside the words
    // that the later ones were left out, which take the place of one left out.
    const std::vector<ToolHistoryNote>& notes = m_task.historyNotes;
    const auto size = [](const std::vector<std::string>& lines) {
        size_t bytes = 0;
        for (const std::string& text : lines) bytes += 2 + text.size();
        return bytes;
    };
    size_t all = 0;
    std::vector<size_t> laterLeftOut(notes.size() + 1, 0);
    for (size_t k = notes.size(); k-- > 0;) {
        all += size(notes[k].lines);
        laterLeftOut[k] = laterLeftOut[k + 1] + size(notes[k].leftOut);
    }
    const bool allFit = used + all < kHistoryLimit;
    m_task.historyNotesWritten.assign(notes.size(), false);
    for (size_t k = 0; k < notes.size(); ++k) {
        const bool whole = allFit || used + size(notes[k].lines) + laterLeftOut[k + 1] < kHistoryLimit;
        const std::vector<std::string>& lines = whole ? notes[k].lines : notes[k].leftOut;
        // Its words that it was left out go in together too: a heading alone would end
        // the history in a list of nothing.
        if (!whole && used + size(lines) >= kHistoryLimit) continue;
        m_task.historyNotesWritten[k] = whole;
        for (const std::string& text : lines) {
            // Each on a line of its own, after a task line or after none.
            if (used < 2 || std::memcmp(m_task.history + used - 2, "\r\n", 2) != 0) lineBreak();
            line(text);
        }
    }
    return int(used);
}

void CToolsWnd::RewriteStoppedHistory()
{
    if (m_historyStart < 0 || size_t(m_historyStart) > kHistoryLimit) return;
    // The lines written at the head go: before them the history is as the input's was.
    std::memset(m_task.history + m_historyStart, ' ', kHistoryLimit + 1 - size_t(m_historyStart));
    WriteHistoryLines(m_historyStart);
    QtxFileHeader header = m_outputFile.Header();
    std::memcpy(header.history, m_task.history, qtx::kHistorySize);
    m_outputFile.SetHeader(header);
}

int CToolsWnd::EditHistory()
{
    for (;;) {
        CQtxDataSetHistoryDlg dialog;
        dialog.m_path = m_task.primary.path;
        const int end = dialog.DoModal();
        if (end != CQtxDataSetHistoryDlg::kSavedHistory && end != CQtxDataSetHistoryDlg::kClearedHistory) break;
    }
    m_task.primary.file.CloseInput();
    if (!OkOrShow(m_task.primary.file.OpenRead(m_task.primary.path))) {
        m_historyLostInput = true;
        return -1;
    }
    QtxFileHeader header = m_outputFile.Header();
    std::memcpy(header.history, m_task.primary.file.Header().history, qtx::kHistorySize);
    m_outputFile.SetHeader(header);
    std::memcpy(m_task.history, m_task.primary.file.Header().history, qtx::kHistorySize);
    return HistoryLength(m_task.history);
}

// ---- output and frame loop ----------------------------------------------------------------

ToolOutputHead CToolsWnd::PrimaryHead(uint8_t logDirection, double top, double bottom) const
{
    return {logDirection, m_task.primary.depthUnits, top,
            bottom,       m_task.primary.step,       m_task.primary.file.Header().history};
}

std::vector<CQtxDatum> CToolsWnd::PrimaryDatums() const
{
    std::vector<CQtxDatum> datums;
    for (const auto& d : m_task.primary.list) datums.push_back(*d);
    return datums;
}

int CToolsWnd::WriteOutputHead(uint8_t logDirection, double top, double bottom)
{
    return WriteOutputHead(PrimaryHead(logDirection, top, bottom), PrimaryDatums());
}

int CToolsWnd::CreateOutput(size_t datumCount)
{
    // Before the question whether to replace the output: the answer would not matter.
    if (!OkOrShow(DatumCountFits(datumCount, m_task.primary.path))) {
        CloseInputs();
        return 0;
    }
    if (!ConfirmOutput()) return 0;
    if (!OkOrShow(m_outputFile.OpenWrite(m_settings.outputPath, datumCount, m_task.primary.path))) {
        CloseInputs();
        return 0;
    }
    m_outputCreated = true;
    return 1;
}

int CToolsWnd::WriteOutputHead(const ToolOutputHead& head, const std::vector<CQtxDatum>& datums)
{
    if (!m_outputFile.OutputOpen() && !CreateOutput(datums.size())) return 0;
    QtxFileHeader header = m_outputFile.Header();
    header.logDirection = head.logDirection;
    header.depthUnits = head.depthUnits;
    header.frameCount = 0;
    header.topDepth = head.top;
    header.bottomDepth = head.bottom;
    header.depthStep = head.step;
    if (head.history) {
        std::memcpy(header.history, head.history, qtx::kHistorySize);
        std::memcpy(m_task.history, head.history, qtx::kHistorySize);
    } else {
        std::memset(header.history, ' ', qtx::kHistorySize);
        std::memset(m_task.history, ' ', qtx::kHistorySize);
    }
    m_historyLostInput = false;
    m_outputFile.SetHeader(header);
    // The history editor may give the output the input's edited history.
    const int length = AppendHistory(HistoryLength(m_task.history));
    header = m_outputFile.Header();
    if (length > 0) std::memcpy(header.history, m_task.history, size_t(length));
    m_outputFile.SetHeader(header);

    CQtxDescriptorList descriptors;
    // The history editor may have lost the input; then there is nothing to copy from.
    bool ok = !m_historyLostInput;
    for (size_t k = 0; ok && k < datums.size(); ++k) {
        const CQtxDatum& d = datums[k];
        ok = IsTwoAxis(d) ? OkOrShow(m_outputFile.AddTwoAxisDatum(descriptors, d.m_mnemonic, d.m_typeCode,
                                                                  d.m_axisCount, d.m_category, d.m_traceCount,
                                                                  d.m_axis1.m_unit, d.m_axis1.m_step,
                                                                  d.m_axis1.m_sampleCount, d.m_axis1.m_firstIndex,
                                                                  d.m_axis2.m_unit, d.m_axis2.m_step,
                                                                  d.m_axis2.m_sampleCount, d.m_axis2.m_firstIndex))
                          : OkOrShow(m_outputFile.AddDatum(descriptors, d.m_mnemonic, d.m_typeCode, d.m_axisCount,
                                                           d.m_category, d.m_traceCount, d.m_axis1.m_unit,
                                                           d.m_axis1.m_step, d.m_axis1.m_sampleCount,
                                                           d.m_axis1.m_firstIndex));
    }
    ok = ok && OkOrShow(m_outputFile.WriteHeader()) && OkOrShow(m_outputFile.WriteDescriptors(descriptors));
    m_writer.Discard();
    // A head cut short (a full disk) is no data set: the run's end removes it.
    if (!ok) CloseInputs();
    return ok ? 1 : 0;
}

int CToolsWnd::RunFrames(const std::string& label, int first, int indexStep, double depth, double depthStep,
                         const ToolFrameRoutine& routine)
{
    CProgressDlg progress(0);
    progress.Create();
    progress.SetStatus(label + PathTail(m_task.primary.path));
    progress.SetRange(m_task.firstIndex, m_task.endIndex);

    const int count = std::max(m_task.endIndex - m_task.firstIndex, 0);
    int result = 1;
    // A frame an input does not hold is told once the loop knows what it kept.
    m_inputStopped = nullptr;
    for (ToolInput* in : {&m_task.primary, &m_task.secondary, &m_task.density}) in->file.DeferFrameReadFailures();
    m_task.singleFrameIndex = first;
    m_currentDepth = depth;
    for (int i = 0; i < count; ++i) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO) == IDYES) {
            m_task.stopped = true;
            break;
        }
        if (!routine(m_currentDepth)) {
            result = -1;
            break;
        }
        m_currentDepth += depthStep;
        progress.StepIt();
        m_task.singleFrameIndex += indexStep;
    }
    CloseInputs();
    result = SettleFrames(result);
    progress.DestroyWindow();
    return result;
}

int CToolsWnd::SettleFrames(int result)
{
    // An input that ends early fails the run, but what was written before the frame it
    // lacks is whole and true, as after a Stop: it is kept. Any other failure (a write,
    // a depth off the header's rule) commits nothing, so the name keeps its older file.
    if (result != 1) {
        for (const ToolInput* in : {&m_task.primary, &m_task.secondary, &m_task.density})
            if (!m_inputStopped && in->file.FailedFrame() >= 0) m_inputStopped = in;
    }
    const bool commit = result == 1 || m_inputStopped;
    if (commit && m_task.stopped && m_task.stoppedLine && !m_segyOutput && m_outputFile.OutputOpen())
        RewriteStoppedHistory();
    // What was gathered goes to the file first; the header then counts the whole frames
    // (a torn last frame is cut off).
    bool committed = true;
    if (m_segyOutput) {
        if (m_segyOut.file.OutputOpen()) committed = m_segyOut.file.CloseOutput(commit);
    } else if (!commit) {
        m_writer.Abandon();
    } else if (!OkOrShow(m_writer.Flush())) {
        m_writer.Abandon();
        committed = false;
    } else if (m_outputFile.OutputOpen()) {
        // A header that could not be settled took the output with it.
        committed = OkOrShow(m_writer.Finalize());
    }
    if (!committed) {
        m_inputStopped = nullptr; // the write failure was told, and nothing was kept
        return -1;
    }
    if (m_inputStopped && (m_segyOutput || m_outputCreated)) TellInputStopped(OutputFrames());
    return result;
}

void CToolsWnd::TellInputStopped(uint64_t kept)
{
    if (!m_inputStopped) return;
    const ToolInput& in = *m_inputStopped;
    const std::string& output = m_settings.outputPath;
    std::string text = kErrorReadingFrame + in.path;
    if (in.file.FailedFrame() >= 0)
        text += Format("\nReading stopped at frame %lld of %d", static_cast<long long>(in.file.FailedFrame() + 1),
                       in.frameCount);
    else
        text += "\nReading stopped";
    if (in.framesHeld < in.frameCount) text += Format(" (the file holds %d whole frames)", in.framesHeld);
    if (kept > 0)
        text += Format(".\nThe output keeps the %llu whole frame(s) written before it :\n%s",
                       static_cast<unsigned long long>(kept), output.c_str());
    else
        text += ", before any frame was written: no output was made." + OutputFailureCause(output, 0);
    MessageBox(text, MB_OK | MB_ICONSTOP);
}
