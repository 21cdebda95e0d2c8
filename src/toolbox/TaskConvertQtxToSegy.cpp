// Convert QTX To SEGY: one selected datum as a SEG-Y file in the program's own variant
// (little-endian, a 3596-byte header; SegyLayout.h), one shot per frame and one trace
// per receiver. The task fills each slot's depth, sample count, interval and samples;
// CSegyFile numbers the traces and writes them out.
#include "toolbox/ToolsWnd.h"

#include "common/Fft.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <cmath>

namespace {

const char kMultiple[] = "Encountered multiple selection list!\nOperation will be abandoned.";
const char kEmpty[] = "Encountered empty selection list!\nOperation will be abandoned.";
const char kDomain[] =
    "Segy conversion requires either time, slowness or azimuth domain data!\nOperation will be abandoned.";
const char kDepthFit[] = "Depth %.4f of frame %d does not fit a SEGY shot depth (thousandths in 32 bits) in file :\n"
                         "%s\nOperation will be abandoned.";
const char kOffStep[] = "Wrote each frame's own depth to the SEGY file :\n%s\nIts depths are not evenly spaced in one "
                        "direction:\n%s\nConvert SEGY To QTX will not import it as one data set.";
const char kShape[] = "Segy conversion requires a datum of one axis in a known unit, 1 to 16 traces of 1 to 2048 "
                      "samples and a tool type up to 230!\nOperation will be abandoned.";

int Refuse(CToolsWnd& e, const char* text)
{
    e.Inputs().CloseInputs();
    MessageBox(text, MB_OK | MB_ICONSTOP);
    return -1;
}

// A shot depth holds the depth's thousandths as a 32-bit integer: clamped, a depth
// beyond it would be written as another depth. Frames count from 0.
bool ReadShotDepth(CToolsWnd& e, int frame, int32_t* thousandths, double* depth = nullptr)
{
    double value = 0.0;
    if (!toolbox::HoldsFrame(e.Task().primary, frame) || !toolbox::ReadFrameDepth(e.Task().primary.file, frame, &value))
        return false;
    if (depth) *depth = value;
    if (CSegyFile::DepthThousandths(value, thousandths)) return true;
    MessageBox(Format(kDepthFit, value, frame + 1, e.Task().primary.path.c_str()), MB_OK | MB_ICONSTOP);
    return false;
}

// Each shot takes its own frame's depth, the first two as a reader that steps from them
// needs them; the grid judges them for the message at the end.
struct ShotDepths {
    CSegyDepthGrid grid;
    int32_t lead[2] = {0, 0}; // thousandths of shots 0 and 1
};

int ShotFrame(CToolsWnd& e, const CQtxDatum& d, ShotDepths& depths)
{
    int32_t thousandths = 0;
    const int frame = e.Task().singleFrameIndex;
    if (!ReadShotDepth(e, frame, &thousandths)) return 0;
    if (frame == 0 || frame == 1) thousandths = depths.lead[frame];
    depths.grid.Take(double(thousandths) / segy::kDepthScale);
    const int traces = d.m_traceCount;
    const int samples = d.m_axis1.m_sampleCount;
    const int offset = d.m_offset > uint32_t(INT_MAX) ? -1 : int(d.m_offset);
    const float* values = g_fftData + 1;
    if (!OkOrShow(e.Task().primary.file.ReadFrameItem(e.Task().singleFrameIndex, offset, traces, samples, g_fftData + 1,
                                                      kToolSampleCapacity)))
        return 0;
    const float step = d.m_axis1.m_step;
    const uint16_t interval = uint16_t(std::clamp(std::isnan(step) ? 0.0f : step, 0.0f, 65535.0f));
    for (int t = 0; t < traces; ++t) {
        uint8_t* slot = e.Segy().shotBuffer.data() + size_t(t) * segy::kSlotSize;
        endian::PutLE32(slot + segy::kDepth, uint32_t(thousandths));
        endian::PutLE16(slot + segy::kTraceSamples, uint16_t(samples));
        endian::PutLE16(slot + segy::kTraceInterval, interval);
        endian::FloatsToLEBytes(slot + segy::kSamples, values + size_t(t) * size_t(samples), size_t(samples));
    }
    return e.Segy().file.WriteShot(e.Segy().shotBuffer);
}

// The file's header fields from the datum and the data set.
CSegyFile::Shape SegyShape(const CQtxDatum& d, const ToolInput& in)
{
    CSegyFile::Shape shape;
    shape.sampleInterval = d.m_axis1.m_step;
    shape.samplesPerTrace = int16_t(d.m_axis1.m_sampleCount);
    shape.tracesPerShot = int16_t(d.m_traceCount);
    shape.itemType = d.m_typeCode;
    shape.category = d.m_category;
    shape.axisUnit = d.m_axis1.m_unit;
    shape.firstIndex = d.m_axis1.m_firstIndex;
    shape.axisGiven = true;
    // Data sets say feet with any byte but 0xFF; the file says it with 1.
    shape.depthUnits = in.depthUnits == qtx::kUnitsMetres ? segy::kUnitsMetres : segy::kUnitsFeet;
    shape.logDirection = in.logDirection;
    return shape;
}

// Whether every frame keeps the import's depth rule with shots 0 and 1 at `lead` (the
// last at `last`), or false after a depth that does not fit a shot has been named.
bool KeepsDepthRule(CToolsWnd& e, uint8_t direction, int32_t frames, const int32_t (&lead)[2], int32_t last,
                    bool* kept)
{
    CSegyDepthGrid grid(direction, lead[0] / segy::kDepthScale, last / segy::kDepthScale, frames);
    for (int frame = 0; frame < frames && !grid.Broken(); ++frame) {
        int32_t thousandths = frame < 2 ? lead[frame] : 0;
        if (frame >= 2 && !ReadShotDepth(e, frame, &thousandths)) return false;
        grid.Take(thousandths / segy::kDepthScale);
    }
    *kept = grid.Kept();
    return true;
}

// The depths of the first two shots and the last, in thousandths, or false after the
// depth that does not fit a shot has been named. Shot 1 moves by the depths' single
// precision only where every frame keeps the rule with it: an irregular log's shots
// stay at their own depths.
bool LeadDepths(CToolsWnd& e, uint8_t direction, int32_t frames, ShotDepths& depths, int32_t* last)
{
    double d0 = 0.0, d1 = 0.0;
    int32_t unused = 0;
    if (!ReadShotDepth(e, 0, &depths.lead[0], &d0) || !ReadShotDepth(e, frames - 1, last)
        || (frames > 1 && !ReadShotDepth(e, 1, &unused, &d1)))
        return false;
    if (frames < 2) return true;
    int32_t wide[2] = {0, 0};
    CSegyDepthGrid::LeadShots(d0, d1, *last, frames, false, &depths.lead[0], &depths.lead[1]);
    CSegyDepthGrid::LeadShots(d0, d1, *last, frames, true, &wide[0], &wide[1]);
    if (wide[0] == depths.lead[0] && wide[1] == depths.lead[1]) return true;
    bool kept = false;
    if (!KeepsDepthRule(e, direction, frames, wide, *last, &kept)) return false;
    if (kept) std::copy(std::begin(wide), std::end(wide), depths.lead);
    return true;
}

} // namespace

int ConvertQtxToSegy(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection()) return -1;
    if (in.selectedCount > 1) return Refuse(e, kMultiple);
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit()) || !OkOrShow(e.Inputs().HasFramesToConvert()))
        return -1;
    const CQtxDatum* chosen = nullptr;
    for (size_t k = 0; k < in.list.size() && !chosen; ++k)
        if (in.IsSelected(k)) chosen = in.list[k].get();
    if (!chosen) return Refuse(e, kEmpty);
    const CQtxDatum& d = *chosen;
    // What the reader would refuse is not written. A datum of category 2 is under no
    // view's tab, and its mnemonic would not come back.
    if (d.m_category != kCategoryWaveform && d.m_category != kCategorySlowness && d.m_category != kCategoryAzimuth)
        return Refuse(e, kDomain);
    if (toolbox::IsTwoAxis(d) || d.m_traceCount < 1 || d.m_traceCount > segy::kMaxTraces || d.m_axis1.m_sampleCount < 1
        || d.m_axis1.m_sampleCount > segy::kMaxSamples || d.m_typeCode > segy::kMaxItemType
        || !CSegyFile::KnownAxisUnit(d.m_axis1.m_unit))
        return Refuse(e, kShape);
    const CSegyFile::Shape shape = SegyShape(d, in);
    // The rest of what the import refuses, in its own words (an axis step of 0, below 0
    // or no number among them).
    if (const char* refusal = CSegyFile::ShapeRefusal(shape)) return Refuse(e, refusal);
    // The ends' depths fit a shot, or nothing is written; they also span the depth rule.
    // A file cut short ends at its last whole frame.
    const int32_t frames = std::min(e.Task().endIndex, in.framesHeld);
    ShotDepths depths{CSegyDepthGrid(shape.logDirection, 0.0, 0.0, 0), {}};
    int32_t last = 0;
    if (!LeadDepths(e, shape.logDirection, frames, depths, &last)) {
        e.Inputs().CloseInputs();
        return -1;
    }
    if (!e.Output().ConfirmOutput()) return -1;

    CSegyFile& segy = e.Segy().file;
    segy.m_shape = shape;
    const int opened = segy.OpenOutput(e.Segy().fileHeader, e.Settings().outputPath);
    e.Output().ClaimSegyOutput(opened || segy.OpenError() == 0); // a header write that failed left a file
    if (!opened) { // told by the open, with its cause
        e.Inputs().CloseInputs();
        return -1;
    }
    const double top = depths.lead[0] / segy::kDepthScale;
    depths.grid = CSegyDepthGrid(shape.logDirection, top, last / segy::kDepthScale, frames);
    const int result = e.Output().RunFrames("Convert to SEGY : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                            [&](double) { return ShotFrame(e, d, depths); });
    // An irregular data set keeps its real depths, and the user hears what that means.
    if (result == 1 && !e.Task().stopped && !depths.grid.Kept() && e.Output().OutputFrames() > 0)
        MessageBox(Format(kOffStep, e.Settings().outputPath.c_str(), depths.grid.Detail().c_str()),
                   MB_OK | MB_ICONEXCLAMATION);
    return result;
}
