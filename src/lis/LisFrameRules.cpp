#include "lis/LisFrameRules.h"

#include "lis/LisDepthGrid.h"
#include "lis/LisRecordIO.h"
#include "platform/Format.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

using lis::ReprCode;
using lis::scan::kMaxFrameSpacing;
using lis::scan::kSpacingTolerance;

namespace lis::frames {

namespace {

constexpr double kMetresPerFoot = 0.3048;
// What double arithmetic leaves of an exact agreement between two steps.
constexpr double kArithmeticSlack = 1.0e-9;

bool Blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// The steps between frames that carry their own depths; a repeated depth is no step.
std::vector<double> FrameSteps(const std::vector<CLisDepthEntry>& d)
{
    std::vector<double> steps;
    for (size_t i = 1; i < d.size(); ++i)
        if (const double step = std::fabs(d[i].m_depth - d[i - 1].m_depth); step > 0.0 && std::isfinite(step))
            steps.push_back(step);
    return steps;
}

// The frames of one depth-once record: the entries from `start` that share its position.
size_t RecordEnd(const std::vector<CLisDepthEntry>& d, size_t start)
{
    size_t end = start + 1;
    while (end < d.size() && d[end].m_recordPosition == d[start].m_recordPosition) ++end;
    return end;
}

// The steps the depths of depth-once records give: each record's distance to the next
// over its frames (a repeated record depth is no step).
std::vector<double> RecordSteps(const std::vector<CLisDepthEntry>& d)
{
    std::vector<double> steps;
    for (size_t start = 0, next = 0; start < d.size(); start = next) {
        next = RecordEnd(d, start);
        if (next == d.size()) break;
        if (const double step = std::fabs(d[next].m_depth - d[start].m_depth) / double(next - start);
            step > 0.0 && std::isfinite(step))
            steps.push_back(step);
    }
    return steps;
}

// How far apart two steps may lie and still be one: a real depth code rounds its depths
// (code 68's 23-bit fraction holds 10,000 ft to two thousandths), an integer code holds
// them exactly.
double DepthRounding(const CLisLogicalFile& file)
{
    if (!lis::IsRealCode(file.m_depthCode)) return 0.0;
    double deepest = 0.0;
    for (const CLisDepthEntry& e : file.m_depths)
        if (std::isfinite(e.m_depth)) deepest = std::max(deepest, std::fabs(e.m_depth));
    return 4.0 * deepest * double(FLT_EPSILON);
}

bool Agree(double a, double b, double rounding)
{
    return std::fabs(a - b) <= std::max(kSpacingTolerance * b, rounding);
}

// The step the most frames share: the mean of the steps that agree with it (their sum
// is a difference of depths, which the depths' rounding does not bias), and how many do.
struct SharedStep {
    double step = 0.0;
    size_t count = 0;
};

// The mean of the steps that agree with `step`, summed in the order they come.
SharedStep StepsAgreeingWith(const std::vector<double>& steps, double step, double rounding)
{
    SharedStep shared;
    for (double a : steps)
        if (Agree(a, step, rounding)) {
            shared.step += a;
            ++shared.count;
        }
    if (shared.count > 0) shared.step /= double(shared.count);
    return shared;
}

SharedStep CommonestStep(std::vector<double> steps, double rounding)
{
    // Where most steps share one, the middle step is among them.
    const auto middle = steps.begin() + std::ptrdiff_t(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    const SharedStep atMiddle = StepsAgreeingWith(steps, *middle, rounding);
    if (2 * atMiddle.count > steps.size()) return atMiddle;
    // Else the step that agrees with the most: the steps that agree with steps[i] lie in
    // [first, last) of the sorted steps, and both ends only move up with i.
    std::sort(steps.begin(), steps.end());
    size_t best = 0, bestAt = 0, first = 0, last = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        while (!Agree(steps[first], steps[i], rounding)) ++first;
        last = std::max(last, i);
        while (last < steps.size() && Agree(steps[last], steps[i], rounding)) ++last;
        if (last - first > best) {
            best = last - first;
            bestAt = i;
        }
    }
    return StepsAgreeingWith(steps, steps[bestAt], rounding);
}

// The frames of each depth-once record `step` apart from its recorded depth, each the
// way it lay before; a record already at a step that agrees stays as it was read.
void PlaceRecordFrames(std::vector<CLisDepthEntry>& d, double step, double rounding)
{
    for (size_t start = 0, next = 0; start < d.size(); start = next) {
        next = RecordEnd(d, start);
        const double first = d[start].m_depth;
        if (next - start < 2 || Agree(std::fabs(d[start + 1].m_depth - first), step, rounding)) continue;
        for (size_t k = start + 1; k < next; ++k)
            d[k].m_depth = first + double(k - start) * std::copysign(step, d[k].m_depth - first);
    }
}

// The frames of every depth-once record `step` apart from its recorded depth, the way
// the records' depths run.
void PlaceOnGrid(std::vector<CLisDepthEntry>& d, double step)
{
    if (d.empty()) return;
    const double along = d.back().m_depth >= d.front().m_depth ? step : -step;
    for (size_t start = 0, next = 0; start < d.size(); start = next) {
        next = RecordEnd(d, start);
        for (size_t k = start + 1; k < next; ++k) d[k].m_depth = d[start].m_depth + double(k - start) * along;
    }
}

// One layout tried on one record. Depth-once frames carry no depth: a record gives its
// depth and how many whole frames it holds. Frames with depths of their own give every
// depth, which must run one way across the records; a trial that fails keeps none.
void TryLayout(LayoutTrial& trial, bool once, uint8_t depthCode, double factor, const uint8_t* body, uint32_t bytes)
{
    if (!trial.fits) return;
    const uint32_t depthSize = DepthSize(depthCode);
    const uint32_t frameBytes = once ? bytes - std::min(bytes, depthSize) : bytes;
    const uint32_t frames = frameBytes / trial.size;
    trial.frames += frames;
    if (once) {
        trial.whole = trial.whole && frameBytes % trial.size == 0;
        if (frames == 0) return;
        trial.depths.push_back(ReadDepth(body, body + bytes, depthCode) * factor);
        trial.counts.push_back(frames);
        return;
    }
    trial.fits = trial.size >= depthSize;
    for (uint32_t k = 0; k < frames && trial.fits; ++k) {
        const double depth = ReadDepth(body + uint64_t(k) * trial.size, body + bytes, depthCode) * factor;
        trial.fits = std::isfinite(depth);
        if (trial.fits && !trial.depths.empty() && depth != trial.depths.back()) {
            const int course = depth > trial.depths.back() ? 1 : -1;
            trial.fits = trial.course == 0 || trial.course == course;
            trial.course = course;
        }
        trial.depths.push_back(depth);
    }
    if (!trial.fits) trial.depths = std::vector<double>();
}

// The precision of a step between two of `depths` (scaled by `factor` from a depth code).
double StepPrecisionOf(const std::vector<double>& depths, uint8_t code, double factor)
{
    double deepest = 0.0;
    for (double d : depths)
        if (std::isfinite(d)) deepest = std::max(deepest, std::fabs(d));
    const double scale = factor != 0.0 && std::isfinite(factor) ? std::fabs(factor) : 1.0;
    return StepPrecision(code, deepest / scale) * scale;
}

// How well a layout's frames bear it out: 0 not at all, 1 their depths run one way (or,
// once a record, every record holds whole frames), 2 and lie on a grid of their own.
int JudgeLayout(const LayoutTrial& trial, bool once, uint8_t code, double factor)
{
    if (trial.size == 0 || trial.frames == 0 || !trial.fits || (once && !trial.whole)) return 0;
    const double precision = StepPrecisionOf(trial.depths, code, factor);
    return MeasureDepthGrid(trial.depths, trial.counts, precision, !lis::IsRealCode(code)).holds ? 2 : 1;
}

// Whether a usable EB 8 agrees with a measured grid: within the depths' precision over
// its span, or to the four places EB 8 is read to.
bool SpacingAgrees(double spacing, const DepthGrid& grid, double precision)
{
    if (!(spacing > 0.0) || !grid.holds) return false;
    return std::fabs(spacing - grid.step) <= precision / double(grid.steps) + kArithmeticSlack * spacing
           || CLisRecordIO::RoundTo4Decimals(grid.step) == CLisRecordIO::RoundTo4Decimals(spacing);
}

// Whether EB 8 as read, to four places in its own units (0.00254 m read as 0.0025 m),
// is what a grid's step reads as in those units.
bool AgreesAsRead(const CLisLogicalFile& f, const DepthGrid& grid)
{
    if (!grid.holds || !(f.m_spacingRead > 0.0) || f.m_dfsrSpacing == 0.0) return false;
    const double toDepthUnits = std::fabs(f.m_dfsrSpacing / f.m_spacingRead);
    return CLisRecordIO::RoundTo4Decimals(grid.step / toDepthUnits) == CLisRecordIO::RoundTo4Decimals(f.m_spacingRead);
}

// The grid EB 8 counts depth-once records on, where it agrees with EB 8 (as read, or
// in the depths' units): their frames at EB 8, none running past the next record.
DepthGrid GridOfSpacing(const CLisLogicalFile& f, const std::vector<double>& depths,
                        const std::vector<uint32_t>& counts, double precision)
{
    const double spacing = std::fabs(f.m_frameSpacing);
    const DepthGrid grid = CountedBy(depths, counts, spacing, precision);
    return SpacingAgrees(spacing, grid, precision) || AgreesAsRead(f, grid) ? grid : DepthGrid{};
}

} // namespace

uint32_t DepthSize(uint8_t code)
{
    const bool depth =
        lis::Is(code, ReprCode::Float) || lis::Is(code, ReprCode::Int32) || lis::Is(code, ReprCode::Int16);
    return depth ? uint32_t(lis::RepresentationSize(code)) : 0;
}

double ReadDepth(const uint8_t* p, const uint8_t* end, uint8_t code)
{
    double depth = 0.0;
    lis::DecodeNumber(code, p, end, depth);
    return depth;
}

void SettleDfsrSpacing(CLisLogicalFile& f, const DfsrUnits& units)
{
    // A spacing without units of its own is in the units of the depths.
    if (!units.spacingGiven) {
        f.m_frameSpacing *= f.m_depthFactor;
        if (Blank(f.m_frameSpacingUnits) && f.m_depthUnitKind != kUnitUnknown)
            f.m_frameSpacingUnits.assign(1, f.m_depthUnitKind == kUnitMetres ? 'M' : 'F');
    }
    // EB 8 given in other units than the depths (metres beside a depth channel in feet) is
    // taken into the depths' units, in which the data set counts its step.
    const uint8_t depth = units.depthKind;
    if (units.spacingGiven && units.spacingKind != kUnitUnknown && depth != kUnitUnknown
        && units.spacingKind != depth) {
        f.m_frameSpacing = depth == kUnitFeet ? f.m_frameSpacing / kMetresPerFoot : f.m_frameSpacing * kMetresPerFoot;
        f.m_frameSpacingUnits = depth == kUnitMetres ? "M" : "F";
        f.m_depthUnitKind = depth;
    }
    f.m_dfsrSpacing = f.m_frameSpacing;
    // A spacing beyond any log's is no spacing: the frames give the step.
    if (!(std::fabs(f.m_frameSpacing) <= kMaxFrameSpacing)) f.m_frameSpacing = 0.0;
}

double RecordFrameStep(CLisLogicalFile& f, double delta, uint32_t frames, double known)
{
    const double spacing = std::fabs(f.m_frameSpacing);
    const bool haveSpacing = spacing > 0.0 && std::isfinite(spacing);
    double step = known;
    if (delta != 0.0) {
        step = haveSpacing ? std::copysign(spacing, delta) : delta / double(frames);
        f.m_upDown = delta < 0.0 ? kLogUp : kLogDown;
    }
    // Until then up logs count depth down frame by frame, others up.
    if (step == 0.0 && haveSpacing) step = f.m_upDown == kLogUp ? -spacing : spacing;
    return step;
}

double SignedFrameSpacing(const CLisLogicalFile& f)
{
    const double spacing = std::fabs(f.m_frameSpacing);
    if (!std::isfinite(spacing)) return 0.0;
    const auto& d = f.m_depths;
    if (d.size() > 1 && d.front().m_depth != d.back().m_depth)
        return d.back().m_depth > d.front().m_depth ? spacing : -spacing;
    return f.m_upDown == kLogUp ? -spacing : spacing;
}

namespace {

// The depths the grid is measured on: every frame's, or once a record each record's
// with the frames it holds.
struct GridAnchors {
    std::vector<double> depths;
    std::vector<uint32_t> counts;
};

GridAnchors AnchorsOf(const CLisLogicalFile& f)
{
    GridAnchors a;
    const auto& d = f.m_depths;
    if (f.m_depthMode != kDepthPerRecord) {
        a.depths.reserve(d.size());
        for (const CLisDepthEntry& e : d) a.depths.push_back(e.m_depth);
        return a;
    }
    for (size_t start = 0, next = 0; start < d.size(); start = next) {
        next = RecordEnd(d, start);
        a.depths.push_back(d[start].m_depth);
        a.counts.push_back(uint32_t(next - start));
    }
    return a;
}

// The step where the frames give no grid: where most of their steps (or of the records'
// steps over their frames) share one, that one, unless EB 8 agrees with it.
void SettleSpacingByShare(CLisLogicalFile& f, std::vector<double> steps)
{
    const bool once = f.m_depthMode == kDepthPerRecord;
    const double given = std::fabs(f.m_frameSpacing); // EB 8 where it is a log's spacing, else 0
    const double rounding = DepthRounding(f);
    const size_t count = steps.size();
    const SharedStep shared = CommonestStep(std::move(steps), rounding);
    const bool most = 2 * shared.count > count;
    // EB 8 read to four places (0.0083 for 1/120) is what the depths give, so rounded.
    const bool agrees = Agree(given, shared.step, rounding) || CLisRecordIO::RoundTo4Decimals(shared.step) == given;
    if (given > 0.0 && (agrees || !most)) return;
    f.m_spacingOverruled = true;
    // Rounded as the data set's measured step is; a signed spacing keeps its sign.
    f.m_frameSpacing = std::copysign(CLisRecordIO::RoundTo4Decimals(shared.step), f.m_frameSpacing);
    if (once) PlaceRecordFrames(f.m_depths, shared.step, rounding); // unrounded: no drift over a long record
}

// The step where the frames lie on a grid: EB 8 where it agrees with the grid, else the
// grid's step. Depth-once
// frames are placed at the measured step unless EB 8 already placed them as close.
void SettleSpacingOnGrid(CLisLogicalFile& f, const DepthGrid& grid, double precision)
{
    const bool once = f.m_depthMode == kDepthPerRecord;
    const double given = std::fabs(f.m_frameSpacing);
    const bool close = given > 0.0 && std::fabs(given - grid.step) <= precision / double(grid.steps) + kArithmeticSlack * given;
    if (close) return;
    if (!SpacingAgrees(given, grid, precision)) {
        f.m_spacingOverruled = true;
        f.m_frameSpacing = std::copysign(grid.step, f.m_frameSpacing); // measured, not rounded: no drift over the span
    }
    if (once) PlaceOnGrid(f.m_depths, grid.step);
}

// A depth-once record's last frame that its step places at or past the next record's
// depth (within half a step) is no frame of its own: the next record's depth stands for
// it. Only where the records' depths run one way: where they jump about, every frame is
// kept and the log names those that go back.
void MarkFramesPlacedBehind(CLisLogicalFile& f)
{
    f.m_placedBehind.clear();
    const auto& d = f.m_depths;
    if (f.m_depthMode != kDepthPerRecord || d.size() < 2) return;
    const double sign = d.back().m_depth >= d.front().m_depth ? 1.0 : -1.0;
    for (size_t start = 0, next = RecordEnd(d, 0); next < d.size(); start = next, next = RecordEnd(d, start))
        if ((d[next].m_depth - d[start].m_depth) * sign < 0.0) return;
    // A record's last frame only: where the step runs more of a record's frames past the
    // next, the step is in doubt, and the frames are kept and named as going back.
    const double half = std::fabs(f.m_frameSpacing) / 2.0;
    for (size_t start = 0, next = RecordEnd(d, 0); next < d.size(); start = next, next = RecordEnd(d, start)) {
        const auto behind = [&](size_t k) { return (d[next].m_depth - d[k].m_depth) * sign < half; };
        if (next - start >= 2 && behind(next - 1) && (next - start == 2 || !behind(next - 2)))
            f.m_placedBehind.push_back(next - 1);
    }
}

} // namespace

void SettleSpacing(CLisLogicalFile& f)
{
    const bool once = f.m_depthMode == kDepthPerRecord;
    std::vector<double> steps = once ? RecordSteps(f.m_depths) : FrameSteps(f.m_depths);
    const double given = std::fabs(f.m_frameSpacing); // EB 8 where it is a log's spacing, else 0
    if (steps.empty()) {
        // No step to judge by (one frame, or one depth): EB 8 stands, or the data set has
        // none; the log tells an EB 8 of no use.
        f.m_spacingOverruled = given == 0.0 && f.m_spacingGiven && f.m_dfsrSpacing != 0.0;
        return;
    }
    const GridAnchors anchors = AnchorsOf(f);
    const double precision = StepPrecisionOf(anchors.depths, f.m_depthCode, f.m_depthFactor);
    // Depth-once records whose frames EB 8 steps, none running past the next record, are
    // read at EB 8's grid: a record followed by a gap every time has no grid of its own to tell.
    if (const DepthGrid grid = once ? GridOfSpacing(f, anchors.depths, anchors.counts, precision) : DepthGrid{};
        grid.holds) {
        SettleSpacingOnGrid(f, grid, precision);
        MarkFramesPlacedBehind(f);
        return;
    }
    if (const DepthGrid grid = MeasureDepthGrid(anchors.depths, anchors.counts, precision,
                                                !lis::IsRealCode(f.m_depthCode));
        grid.holds)
        SettleSpacingOnGrid(f, grid, precision);
    else
        SettleSpacingByShare(f, std::move(steps));
    MarkFramesPlacedBehind(f);
}

LayoutTrials LayoutsToTry(const CLisLogicalFile& f)
{
    LayoutTrials trials;
    const uint32_t declared = f.m_declaredFrameSize, channels = f.m_channelBytes;
    if (declared == 0 || channels == 0 || declared == channels) return trials;
    trials.declared.size = declared;
    trials.channels.size = channels;
    return trials;
}

void TryLayouts(LayoutTrials& trials, const CLisLogicalFile& f, const uint8_t* body, uint32_t bytes)
{
    const bool once = f.m_depthMode == kDepthPerRecord;
    for (LayoutTrial* trial : {&trials.declared, &trials.channels})
        if (trial->size > 0) TryLayout(*trial, once, f.m_depthCode, f.m_depthFactor, body, bytes);
}

uint32_t SettleFrameLayout(const LayoutTrials& trials, const CLisLogicalFile& f, bool* byEntry8)
{
    if (byEntry8) *byEntry8 = false;
    const bool once = f.m_depthMode == kDepthPerRecord;
    const LayoutTrial &declared = trials.declared, &channels = trials.channels;
    const int d = JudgeLayout(declared, once, f.m_depthCode, f.m_depthFactor);
    const int c = JudgeLayout(channels, once, f.m_depthCode, f.m_depthFactor);
    if (d == 0 && c == 0) return 0;
    // The better borne out wins; of two alike, the channels' (every byte a channel's),
    // but for depth-once frames that only entry 3's reading steps at a usable EB 8.
    if (d != c) return d > c ? declared.size : channels.size;
    if (once) {
        // Only entry 3's frames stepped at EB 8 (each record's frames ahead of the next
        // record's depth): EB 8 tells the layout.
        const auto stepped = [&](const LayoutTrial& t) {
            return GridOfSpacing(f, t.depths, t.counts, StepPrecisionOf(t.depths, f.m_depthCode, f.m_depthFactor)).holds;
        };
        if (stepped(declared) && !stepped(channels)) {
            if (byEntry8) *byEntry8 = declared.size % channels.size == 0;
            return declared.size;
        }
    }
    return channels.size;
}

std::string LayoutRefusal(const CLisLogicalFile& f)
{
    if (!f.m_layoutRefused) return std::string();
    const char* why = f.m_depthMode == kDepthPerRecord ? "not every data record holds whole frames of either"
                                                       : "the frames' depths of either do not run one way across "
                                                         "the data records";
    return Format("its data records fit neither the DFSR frame size (entry 3) of %u bytes nor the %u bytes of its "
                  "channels: %s",
                  unsigned(f.m_declaredFrameSize), unsigned(f.m_channelBytes), why);
}

} // namespace lis::frames
