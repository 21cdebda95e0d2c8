#include "lis/LisFrameRules.h"

#include "lis/LisDepthGrid.h"
#include "lis/LisRecordIO.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <utility>

using lis::ReprCode;
using lis::scan::kMaxFrameSpacing;
using lis::scan::kSpacingTolerance;

namespace lis::frames {

namespace {

constexpr double kMetresPerFoot = 0.3048;
// Distances sorted first where the least that two share is looked for.
constexpr size_t kFirstLook = 64;

bool Blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// The frames of one depth-once record: the entries from `start` that share its position.
size_t RecordEnd(const std::vector<CLisDepthEntry>& d, size_t start)
{
    size_t end = start + 1;
    while (end < d.size() && d[end].m_recordPosition == d[start].m_recordPosition) ++end;
    return end;
}

bool Agree(double a, double b, double rounding)
{
    return std::fabs(a - b) <= std::max(kSpacingTolerance * b, rounding);
}

// The step the most distances share: the mean of the steps that agree with it (their sum
// is a difference of depths, which the depths' rounding does not bias).
double CommonestStep(std::vector<double> steps, double rounding)
{
    const auto mean = [&](double step) {
        double sum = 0.0;
        size_t count = 0;
        for (double a : steps)
            if (Agree(a, step, rounding)) sum += a, ++count;
        return std::pair{count > 0 ? sum / double(count) : 0.0, count};
    };
    // Where most steps share one, the middle step is among them.
    const auto middle = steps.begin() + std::ptrdiff_t(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    if (const auto atMiddle = mean(*middle); Most(atMiddle.second, steps.size())) return atMiddle.first;
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
    return mean(steps[bestAt]).first;
}

// Whether padding holds no channel data: every byte zero, or one 4-byte word over and
// over (an absent value written as filler), which takes two words at least: a single
// word is a value like any channel's.
bool Filler(const uint8_t* p, uint32_t size)
{
    if (std::all_of(p, p + size, [](uint8_t b) { return b == 0; })) return true;
    if (size < 8 || size % 4 != 0) return false;
    for (uint32_t i = 4; i < size; ++i)
        if (p[i] != p[i % 4]) return false;
    return true;
}

// Notes of each depth-once frame of a layout whether the bytes behind its channels hold
// channel data: neither filler nor the padding of the frame before (the last of the
// record before for a record's first), which a writer copies on unchanged.
void NotePadding(LayoutTrial& trial, const uint8_t* first, uint32_t frames, uint32_t channels)
{
    const uint32_t size = trial.size - channels;
    for (uint32_t k = 0; k < frames; ++k) {
        const uint8_t* pad = first + uint64_t(k) * trial.size + channels;
        const bool same = trial.lastPad.size() == size && std::equal(pad, pad + size, trial.lastPad.begin());
        trial.padData += !same && !Filler(pad, size);
        trial.lastPad.assign(pad, pad + size);
    }
}

// One layout tried on one record. Depth-once frames carry no depth: a record gives its
// depth and how many whole frames it holds. Frames with depths of their own give every
// depth. Bytes a frame holds behind the channels (`channels` bytes) are padding: it is
// noted whether any holds channel data, and (per frame) whether it holds a depth between
// its frame's and the next's, a frame of its own.
void TryLayout(LayoutTrial& trial, bool once, uint8_t depthCode, double factor, uint32_t channels,
               const uint8_t* body, uint32_t bytes)
{
    if (!trial.fits) return;
    const uint32_t depthSize = DepthSize(depthCode);
    const uint32_t frameBytes = once ? bytes - std::min(bytes, depthSize) : bytes;
    const uint32_t frames = frameBytes / trial.size;
    trial.frames += frames;
    trial.whole = trial.whole && frameBytes % trial.size == 0;
    if (once) {
        if (frames == 0) return;
        if (channels < trial.size) NotePadding(trial, body + std::min(bytes, depthSize), frames, channels);
        trial.depths.push_back(ReadDepth(body, body + bytes, depthCode) * factor);
        trial.counts.push_back(frames);
        return;
    }
    trial.fits = trial.size >= depthSize;
    const bool padDepth = channels < trial.size && trial.size - channels >= depthSize;
    for (uint32_t k = 0; k < frames && trial.fits; ++k) {
        const uint8_t* frame = body + uint64_t(k) * trial.size;
        const double depth = ReadDepth(frame, body + bytes, depthCode) * factor;
        trial.fits = std::isfinite(depth);
        if (padDepth && !trial.depths.empty()) {
            const double before = trial.depths.back(), pad = trial.padDepth;
            trial.padBetween += (pad - before) * (depth - pad) > 0.0;
        }
        if (padDepth) trial.padDepth = ReadDepth(frame + channels, body + bytes, depthCode) * factor;
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

// Depth once, records that run on after most, where one alone starts inside the one
// before (a splice back by part of a record, no odd depth), bear a step out: in a log of a
// few records that one is more than the share of running past a step stands with, and a
// step at which most records run on is the log's rather than one that lands the splice
// on a finer grid.
bool RunsOnButOneSpliceBack(const StepFit& f, bool once)
{
    return once && f.odd == 0 && f.runPast == 1 && Most(f.gapless, f.Distances());
}

// The best of four candidates the anchors give, each followed over the run (`course` the
// way the log runs): the commonest distance over its frames, the least (records of frames
// missing at random are followed by a gap more often than not, and a step no record's
// frames run past is no larger), the median, and the least that two distances share;
// `holds` false where they give none.
struct Candidate {
    bool holds = false;
    StepFit fit;
};

Candidate BestCandidate(const std::vector<double>& depths, const std::vector<uint32_t>& counts, double precision,
                        bool integer, double course)
{
    std::vector<double> units;
    uint32_t fewest = UINT32_MAX;
    for (size_t j = 1; j < depths.size(); ++j) {
        const uint32_t least = counts.empty() ? 1u : std::max<uint32_t>(counts[j - 1], 1u);
        if (const double d = (depths[j] - depths[j - 1]) * course; d > 0.0 && std::isfinite(d)) {
            units.push_back(d / double(least));
            fewest = std::min(fewest, least);
        }
    }
    if (units.empty()) return {};
    const double rounding = kCandidateRounding * precision / double(fewest);
    std::vector<double> candidates{CommonestStep(units, rounding)};
    candidates.push_back(*std::min_element(units.begin(), units.end()));
    const auto middle = units.begin() + std::ptrdiff_t(units.size() / 2);
    std::nth_element(units.begin(), middle, units.end());
    candidates.push_back(*middle);
    // The least that another agrees with, from the least distances up, a few more at a
    // time: a long log's sorted whole would cost more a frame than a short one's.
    for (size_t look = std::min(units.size(), kFirstLook), found = 0; !found; look = std::min(units.size(), 4 * look)) {
        const auto end = units.begin() + std::ptrdiff_t(look);
        std::partial_sort(units.begin(), end, units.end());
        for (size_t i = 0; i + 1 < look && !found; ++i)
            if (Agree(units[i + 1], units[i], rounding)) candidates.push_back(units[i]), found = 1;
        if (look == units.size()) break;
    }
    // Ranked: one the depths do not disprove; one enough of whose distances are exactly
    // their least count (a finer step is a gap after every frame); one after which most
    // records run on but one that starts inside the one before; the fewest misses, a
    // record's last frame met by the next record's depth among them; the coarsest.
    const bool once = !counts.empty();
    const auto rank = [&](const StepFit& f) {
        const size_t misses = f.odd + f.runPast + f.drift + f.overlaps;
        const bool spliceBack = RunsOnButOneSpliceBack(f, once);
        return std::tuple(!f.Disproves() || spliceBack, f.EnoughGapless(once), spliceBack, SIZE_MAX - misses, f.step);
    };
    Candidate best;
    for (double candidate : candidates) {
        const StepFit fit = FitStep(depths, counts, candidate, precision, integer, true);
        if (!best.holds || rank(fit) > rank(best.fit)) best = {true, fit};
    }
    return best;
}

// The step anchors give where EB 8 gives none: that of the grid they lie on, else the
// best candidate (BestCandidate); 0 where they give none.
double MeasuredStep(const std::vector<double>& depths, const std::vector<uint32_t>& counts, double precision,
                    uint8_t code)
{
    const bool integer = !lis::IsRealCode(code), once = !counts.empty();
    // Distances the way the log runs (the way its depths travel furthest): a turn back is
    // no step.
    double travel = 0.0;
    for (size_t j = 1; j < depths.size(); ++j) travel += depths[j] - depths[j - 1];
    const double course = travel < 0.0 ? -1.0 : 1.0;
    // The grid's step is measured over its whole span already; where the log turns back
    // (a repeat section, a reversal), over its longest stretch that runs one way. A grid
    // every distance holds a whole multiple of but for what one odd depth breaks is no
    // finer than that multiple: the candidates measure the step. Depth once, a grid
    // after which most records leave a gap may be a finer one that a splice back lands
    // on: a candidate at which most run on and one starts inside the one before is the
    // step.
    const auto wholeMultiple = [&](double step) {
        HoldOptions followed;
        followed.follow = true;
        return HoldStep(depths, counts, step, precision, integer, followed).wholeMultiples != 0;
    };
    if (const DepthGrid grid = MeasureDepthGrid(depths, counts, precision, integer);
        grid.holds && !wholeMultiple(grid.step)) {
        if (!once || Most(grid.gapless, grid.distances)) return grid.step;
        const Candidate best = BestCandidate(depths, counts, precision, integer, course);
        return best.holds && RunsOnButOneSpliceBack(best.fit, once) ? best.fit.step : grid.step;
    }
    size_t start = 0, from = 0, longest = 0;
    for (size_t j = 1; j <= depths.size(); ++j)
        if (j == depths.size() || (depths[j] - depths[j - 1]) * course < 0.0) {
            if (j - start > longest) longest = j - start, from = start;
            start = j;
        }
    if (longest >= kLongestPiece && longest < depths.size()) {
        const auto first = std::ptrdiff_t(from), last = std::ptrdiff_t(from + longest);
        const std::vector<double> piece(depths.begin() + first, depths.begin() + last);
        // (Depth once, every anchor has its count.)
        const std::vector<uint32_t> pieceCounts =
            once ? std::vector<uint32_t>(counts.begin() + first, counts.begin() + last) : std::vector<uint32_t>();
        if (const DepthGrid grid = MeasureDepthGrid(piece, pieceCounts, precision, integer); grid.holds)
            return grid.step;
    }
    const Candidate best = BestCandidate(depths, counts, precision, integer, course);
    return best.holds ? best.fit.step : 0.0;
}

// Whether frames' depths run one way but for a few turns (a repeat section, a reversal,
// an odd depth): a reading cut across the channels jumps back and forth.
struct Turns {
    size_t ahead = 0, back = 0; // distances that grow, and that shrink
};

Turns TurnsOf(const std::vector<double>& depths)
{
    Turns t;
    for (size_t j = 1; j < depths.size(); ++j) t.ahead += depths[j] > depths[j - 1], t.back += depths[j] < depths[j - 1];
    return t;
}

bool RunsOneWay(const std::vector<double>& depths)
{
    const Turns t = TurnsOf(depths);
    return std::min(t.ahead, t.back) <= std::max<size_t>(1, (t.ahead + t.back) / kTurnsShare);
}

// Whether frames of a layout keep a step at all: a garbled reading's depths do not.
bool KeepsAStep(const LayoutTrial& trial, uint8_t code, double factor)
{
    const double precision = StepPrecisionOf(trial.depths, code, factor);
    const double step = MeasuredStep(trial.depths, trial.counts, precision, code);
    return step > 0.0 && !FitStep(trial.depths, trial.counts, step, precision, !lis::IsRealCode(code), true).Disproves();
}

// Whether a step laid from the top holds over the whole run: held strictly, it lays the
// anchors out in stretches as long and as few as the best step measured does, where a
// step that drifts splits the run wherever it leaves the precision.
bool HoldsOverTheRun(const StepFit& fit, const StepFit& best)
{
    return fit.drift == 0 && fit.steps >= best.steps && fit.odd + fit.runPast <= best.odd + best.runPast;
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
        const double into = depth == kUnitFeet ? 1.0 / kMetresPerFoot : kMetresPerFoot;
        f.m_frameSpacing *= into;
        f.m_frameSpacingUnits.assign(1, depth == kUnitMetres ? 'M' : 'F');
        f.m_depthUnitKind = depth;
        // Four places of the other system are no four places of this one (0.0610 m of a
        // 0.06096 m step is 0.2001 ft of a 0.2 ft one): EB 8 as read is rounded once converted.
        if (f.m_spacingRead != 0.0) {
            const double x = f.m_frameSpacing;
            f.m_spacingRead = x;
            f.m_spacingRounding = x != 0.0 ? CLisRecordIO::RoundTo4Decimals(x) / x : 1.0;
        }
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


// The way most depth-once records (`a`) run, where nine in ten or more do, or all but one
// or two (a repeat section, a reversal) of a short log; where records that jump about lie
// near each other at `step`, the way kNearCourseShare times as many run, else the way EB 4
// gives (`header`: 1 down, -1 up, 0 none); else 0 (passes logged apart: each as read).
double RecordsCourse(const GridAnchors& a, double step, double header)
{
    const Turns t = TurnsOf(a.depths);
    const auto most = [](size_t more, size_t fewer) {
        return kCourseShare * fewer <= more + fewer || (fewer <= kFewTurns && more >= kFewTurnsRunOn * fewer);
    };
    if (most(t.ahead, t.back)) return 1.0;
    if (most(t.back, t.ahead)) return -1.0;
    bool near = step > 0.0; // (every record has its count)
    for (size_t j = 1; j < a.depths.size() && near; ++j)
        near = std::fabs(a.depths[j] - a.depths[j - 1]) <= kNearRecords * double(a.counts[j - 1]) * step;
    if (!near) return 0.0;
    return t.ahead >= kNearCourseShare * t.back ? 1.0 : t.back >= kNearCourseShare * t.ahead ? -1.0 : header;
}

// How near a record's last frame lies to the next record's depth to meet it: within one
// unit of the depth code (each of the two depths carries its own rounding), but never
// more than half the step (else a frame a step short of it would meet it too); with no
// step, half a unit.
double MeetingWindow(double step, double unit) { return step > 0.0 ? std::min(unit, step / 2.0) : unit / 2.0; }

// The frames of every depth-once record `step` apart from its recorded depth, the way
// most records run (`course`); where they jump about, each the way it lay as read. A
// last frame placed within the meeting window of the next record's depth is placed at
// it: the two are one depth.
void PlaceRecordFrames(std::vector<CLisDepthEntry>& d, double step, double course, double unit)
{
    const double window = MeetingWindow(step, unit);
    for (size_t start = 0, next = 0; start < d.size(); start = next) {
        next = RecordEnd(d, start);
        const double first = d[start].m_depth;
        const double along = course != 0.0 ? course * step
                             : next - start >= 2 ? std::copysign(step, d[start + 1].m_depth - first) : step;
        for (size_t k = start + 1; k < next; ++k) d[k].m_depth = first + double(k - start) * along;
        if (next < d.size() && next - start >= 2 && std::fabs(d[next - 1].m_depth - d[next].m_depth) <= window)
            d[next - 1].m_depth = d[next].m_depth;
    }
}

// A depth-once record's last frame that its step places on the next record's depth
// (within the meeting window) is no frame of its own: the next record's depth stands for
// it. Only where the next record lies ahead (beyond the window): a repeated or backward
// record depth starts a repeat section, whose frames are kept and named as going back.
// A frame past the next record's depth is kept and named too, as are the frames of a
// record the step runs past the next: the step is in doubt there.
void MarkFramesOnNextRecord(CLisLogicalFile& f, double step, double course, double unit)
{
    f.m_placedOnNext.clear();
    const auto& d = f.m_depths;
    if (f.m_depthMode != kDepthPerRecord || d.size() < 2 || course == 0.0) return;
    const double window = MeetingWindow(step, unit);
    for (size_t start = 0, next = RecordEnd(d, 0); next < d.size(); start = next, next = RecordEnd(d, start)) {
        if ((d[next].m_depth - d[start].m_depth) * course <= window) continue;
        const auto meets = [&](size_t k) { return std::fabs(d[next].m_depth - d[k].m_depth) <= window; };
        const auto behind = [&](size_t k) { return (d[next].m_depth - d[k].m_depth) * course <= window; };
        if (next - start >= 2 && meets(next - 1) && !behind(next - 2)) f.m_placedOnNext.push_back(next - 1);
    }
}

// Depth-once frames at `step` from their records' depths; the last frames placed on the
// next record's depth (`unit` that of the depth code) marked.
void PlaceAndMark(CLisLogicalFile& f, const GridAnchors& records, double step, double unit)
{
    if (f.m_depthMode != kDepthPerRecord) return;
    // Where the records do not tell, EB 4 does (up: depths that decrease).
    const double header = f.m_headerUpDown == kLogUp ? -1.0 : f.m_headerUpDown == kLogDown ? 1.0 : 0.0;
    const double course = RecordsCourse(records, step, header);
    if (step > 0.0) PlaceRecordFrames(f.m_depths, step, course, unit);
    MarkFramesOnNextRecord(f, step, course, unit);
}

// What in the depths ruled a usable EB 8 out, for the log.
std::string SpacingRuling(const StepFit& fit)
{
    switch (fit.Why()) {
    case StepFit::Disproof::None: return "laid from the top, it drifts from the depths over the run";
    case StepFit::Disproof::RunPast: return "a data record's frames at it run past the next data record's depth";
    case StepFit::Disproof::Overlaps: return "most data records' last frames at it meet the next record's depth";
    case StepFit::Disproof::Multiple:
        return Format("every distance between the frames holds a whole multiple (%u) of it", unsigned(fit.multiple));
    case StepFit::Disproof::MostOffGrid:
        return Format("%zu of the %zu distances between the frames or records lie off its places",
                      fit.odd + fit.runPast, fit.Distances());
    case StepFit::Disproof::Odd: break;
    }
    return Format("%zu frame or record depth(s) lie between its places", fit.odd);
}

// What the anchors of a data set and their depth code give a step to be held against.
struct StepAnchors {
    GridAnchors anchors;
    double precision = 0.0;
    bool integer = false;

    StepFit Hold(double step) const { return HoldStep(anchors.depths, anchors.counts, step, precision, integer); }
};

// The step written where EB 8 (`given`) stands: EB 8 to four places, as read before,
// where the run shows it holds as well; else EB 8 where it holds over the whole run;
// else the step EB 8 counts over its longest stretch.
double StepOfEntry8(const StepAnchors& s, double given, double rounded, const StepFit& byEntry8)
{
    // Held against the step EB 8 counts, measured over its longest stretch, and that
    // followed again while it lengthens the stretch: a step a little off splits the run
    // into short ones.
    StepFit run = byEntry8;
    for (int again = 0; again < kMostRunFollows && run.steps > 0; ++again) {
        const StepFit next = s.Hold(run.step);
        if (next.steps <= run.steps) break;
        run = next;
    }
    // (The rounding moves no frame by half the depths' precision over the run: the frames
    // the last record places from its depth counted too.)
    const auto& counts = s.anchors.counts;
    const double placed = counts.empty() ? 0.0 : double(std::max<uint32_t>(counts.back(), 1u) - 1u);
    const double steps = double(std::max(run.counted, byEntry8.counted)) + placed;
    const bool roundedHolds = rounded != given && run.steps > 0
                              && std::fabs(rounded - given) * steps <= s.precision / 2.0
                              && HoldsOverTheRun(s.Hold(rounded), run);
    return roundedHolds ? rounded : HoldsOverTheRun(byEntry8, run) ? given : run.step;
}

// g x a usable EB 8 (`given`; `read` as the DFSR holds it, 0 where its code is no real
// one), held as EB 8 is (`held` its fit) and written as EB 8 would be: the multiple of EB 8
// as read to four places where that holds as well.
double HeldMultiple(const StepAnchors& s, double given, double read, uint32_t g, const StepFit& held)
{
    const double step = given * g, asRead = read * g;
    const double rounded = asRead != 0.0 ? step * (CLisRecordIO::RoundTo4Decimals(asRead) / asRead) : step;
    return StepOfEntry8(s, step, rounded, held);
}

// How badly a step lays anchors out, worst first: anchors misplaced (odd, or records
// running past or onto the next), drift, then distances with a gap (a finer step leaves more).
std::tuple<size_t, size_t, size_t> Misfit(const StepFit& f)
{
    return {f.Misplaced(), f.drift, f.onGrid - std::min(f.onGrid, f.gapless)};
}


// Whether one step is a whole multiple (2 to kMostMultiple) of the other.
bool WholeRatio(double a, double b)
{
    if (!(a > 0.0) || !(b > 0.0)) return false;
    const double ratio = std::max(a, b) / std::min(a, b), whole = std::nearbyint(ratio);
    return whole >= 2.0 && whole <= kMostMultiple && Agree(ratio, whole, 0.0);
}

// How a step lays a log's anchors out, held over each one-way piece of the log: an anchor
// that turns back, or a depth-once record that starts inside the one before at the step (a
// splice back), starts a piece; neither is an anchor off the step's places, but splices
// are counted. Also counted: the depth-once frames it loses (a record's last frame placed
// on the next record's depth), the anchors off their place (odd, running past or onto the
// next) and those a step a little off drifts, the distances with a gap, and those exactly
// their frames' count.
struct Reading {
    size_t lost = 0, misplaced = 0, drift = 0, splices = 0, gaps = 0, gapless = 0, distances = 0;

    // Anchors off their place: a header's step held as given forgives its drift where a
    // measured one counts its rounding odd, so drift and odd anchors are one count.
    size_t Off() const { return misplaced + drift; }
};

Reading ReadingAt(const StepAnchors& s, double step)
{
    const auto& d = s.anchors.depths;
    const auto& c = s.anchors.counts;
    const bool once = !c.empty();
    const double window = MeetingWindow(step, s.precision);
    const auto frames = [&](size_t j) { return once ? double(std::max<uint32_t>(c[j], 1u)) : 1.0; };
    Reading r;
    std::vector<double> depths;
    std::vector<uint32_t> counts;
    const auto hold = [&](size_t from, size_t to) {
        if (to - from < 2) return;
        depths.assign(d.begin() + std::ptrdiff_t(from), d.begin() + std::ptrdiff_t(to));
        if (once) counts.assign(c.begin() + std::ptrdiff_t(from), c.begin() + std::ptrdiff_t(to));
        const StepFit f = HoldStep(depths, counts, step, s.precision, s.integer);
        r.misplaced += f.Misplaced();
        r.drift += f.drift;
        r.gaps += f.onGrid - std::min(f.onGrid, f.gapless);
        r.gapless += f.gapless;
    };
    size_t start = 0;
    double way = 0.0;
    for (size_t j = 1; j < d.size(); ++j) {
        const double dist = d[j] - d[j - 1];
        if (dist == 0.0 || !std::isfinite(dist)) continue;
        if (way == 0.0) way = dist > 0.0 ? 1.0 : -1.0;
        ++r.distances;
        // How far on from the record before's last frame this anchor lies.
        const double on = dist * way - (frames(j - 1) - 1.0) * step;
        if (dist * way > 0.0 && on >= -window) {
            r.lost += once && frames(j - 1) >= 2.0 && on <= window;
            continue;
        }
        r.splices += dist * way > 0.0;
        hold(start, j);
        start = j;
        way = 0.0;
    }
    hold(start, d.size());
    return r;
}

// A reading whose records start inside the one before more often than a step stands with
// anchors off their place (or mostly), or where no record but a splice runs on exactly,
// lays them out no better than any step.
bool Spliced(const Reading& r)
{
    return r.splices > StepFit::OddAllowed(r.distances) || Most(r.splices, r.distances)
           || (r.splices > 0 && r.gapless == 0);
}

bool LaysOut(const Reading& r) { return r.Off() == 0 && r.splices == 0; }

// A step chosen that runs a record past the next (but splices back) shows what a
// step cannot: it gives way to the whole fraction of EB 8 (`given`) or of itself (the
// coarsest of those that fit alike) that lays the anchors out best, no record running past
// first, where it lays them out strictly better. The fraction is no fraction of the step
// (every distance a whole multiple of it), and enough of its distances are exactly their
// least count (a fraction fine enough lands any splice on its grid, a gap after every record).
double FinerWhereRunsPast(const StepAnchors& s, double step, double given)
{
    const StepFit fit = s.Hold(step);
    if (fit.runPast == 0 || RunsOnButOneSpliceBack(fit, !s.anchors.counts.empty())) return step;
    // Records that start inside the one before are splices back, however many, where the
    // step lays every other anchor in its place and runs records on: a fraction is then
    // taken only where it lays every record out, none off its place or spliced back.
    const Reading atStep = ReadingAt(s, step);
    const bool splicesBack = atStep.Off() == 0 && !Spliced(atStep);
    // Records running past the next cannot be: the fraction that runs none fits better
    // whatever odd depths it finds.
    const auto misfit = [](const StepFit& f) { return std::tuple(f.runPast + f.overlaps, Misfit(f)); };
    std::vector<double> finer;
    for (const double base : {given, step})
        for (uint32_t k = 2; base > 0.0 && k <= kMostMultiple; ++k)
            if (base / k < step * (1.0 - kSpacingTolerance)) finer.push_back(base / k);
    std::sort(finer.begin(), finer.end(), std::greater<>());
    double best = step;
    StepFit bestFit = fit;
    for (const double f : finer) {
        const StepFit at = FitStep(s.anchors.depths, s.anchors.counts, f, s.precision, s.integer);
        if (at.Why() != StepFit::Disproof::Multiple && at.EnoughGapless(!s.anchors.counts.empty())
            && misfit(at) < misfit(bestFit) && (!splicesBack || LaysOut(ReadingAt(s, f))))
            best = f, bestFit = at;
    }
    return best;
}

// Whether a whole multiple g of a usable EB 8 (`given`) is the step: every distance holds
// it (byEntry8.multiple, borne out by holding it); or a step `measured` from the depths
// agrees with that multiple. g, else 1.
uint32_t MultipleOfEntry8(const StepFit& byEntry8, double given, double measured)
{
    if (!(given > 0.0) || byEntry8.multiple < 2) return 1;
    if (measured > 0.0) return Agree(measured, given * byEntry8.multiple, 0.0) ? byEntry8.multiple : 1;
    return byEntry8.multiple;
}

// What would take a disproved EB 8's place, held as EB 8 is: nothing looked for yet, the
// whole multiple of it that is the step, or a step measured from the depths (0: none).
struct Alternative {
    enum class Kind : uint8_t { None, Fraction, Multiple, Measured };
    Kind kind = Kind::None;
    double step = 0.0;
    StepFit fit;
};

enum class Verdict : uint8_t { Entry8, Other, Undecided };

// The coarsest whole fraction of a standing EB 8 with odd anchors, more than one odd depth
// makes, that lays the anchors out with none odd, enough of its distances exactly their
// least count (else a fine fraction lands any odd depth on its grid); kind None where none.
Alternative FractionOfEntry8(const StepAnchors& s, double given, const StepFit& byEntry8)
{
    if (byEntry8.odd == 0) return {};
    // Fewer odd anchors than one odd depth makes (a lone odd frame among a few) give way
    // only to a fraction that runs most frames on with no gap.
    const bool few = byEntry8.odd < kOddFloor, once = !s.anchors.counts.empty();
    // A distance exactly its least count of a fraction is shorter than its count of EB 8:
    // one to or from one of EB 8's odd or running-past anchors. Where too few are for any
    // fraction to be exact enough, none is held over the log.
    const size_t shorter = 2 * (byEntry8.odd + byEntry8.runPast), distances = byEntry8.Distances();
    if (few ? !Most(shorter, distances) : shorter * ExactShare(once) < distances) return {};
    for (uint32_t g = 2; g <= kMostMultiple; ++g) {
        const StepFit fit = FitStep(s.anchors.depths, s.anchors.counts, given / g, s.precision, s.integer);
        const bool exact = few ? Most(fit.gapless, fit.onGrid) : fit.EnoughGapless(once);
        if (fit.odd == 0 && exact) return {Alternative::Kind::Fraction, given / g, fit};
    }
    return {};
}

// The one question of EB 8: whether it stands against `other`. It stands where nothing
// in the depths disproves it; where nothing measured takes its place; against its whole
// multiple where that misplaces more anchors and runs records past or onto the next that
// it does not, and nothing but the multiple disproved it (a multiple that misplaces more
// otherwise leaves the question to a measured step); against a measured step that is
// disproved and misses as many anchors, or that is no whole multiple or fraction of it
// and lays the anchors out no better. Without EB 8 a measured step is the step.
Verdict Entry8Against(const StepFit& byEntry8, double given, const Alternative& other)
{
    using Kind = Alternative::Kind;
    if (!(given > 0.0)) return other.kind == Kind::Measured && other.step > 0.0 ? Verdict::Other : Verdict::Undecided;
    // A whole fraction of EB 8 on whose grid its odd anchors lie, more than one odd depth
    // makes, and that lays every anchor out with none odd and no more misplaced: the frames
    // lie between EB 8's places, not off them.
    if (other.kind == Kind::Fraction)
        return byEntry8.odd > 0 && other.fit.odd == 0 && other.fit.Misplaced() < byEntry8.Misplaced()
                       && !other.fit.Disproves()
                   ? Verdict::Other
                   : Verdict::Entry8;
    if (!byEntry8.Disproves()) return Verdict::Entry8;
    const auto misses = [](const StepFit& fit) { return fit.odd + fit.runPast + fit.drift; };
    switch (other.kind) {
    case Kind::None:
    case Kind::Fraction: return Verdict::Undecided;
    case Kind::Multiple: {
        if (other.fit.Misplaced() <= byEntry8.Misplaced()) return Verdict::Other;
        const bool runsOn = other.fit.runPast + other.fit.overlaps > byEntry8.runPast + byEntry8.overlaps;
        return runsOn && byEntry8.Why() == StepFit::Disproof::Multiple ? Verdict::Entry8 : Verdict::Undecided;
    }
    case Kind::Measured:
        if (!(other.step > 0.0)) return Verdict::Entry8;
        if (other.fit.Disproves() && misses(other.fit) >= misses(byEntry8)) return Verdict::Entry8;
        return !WholeRatio(other.step, given) && !(Misfit(other.fit) < Misfit(byEntry8)) ? Verdict::Entry8
                                                                                           : Verdict::Other;
    }
    return Verdict::Undecided;
}

// The step of the data set and whether EB 8 stands as it: EB 8 (`given`, `rounded` to four
// places as read before, `read` as the DFSR holds it) where it stands (StepOfEntry8); else
// the whole multiple of it that is the step, written as EB 8 would be (HeldMultiple); else
// the step measured (MeasuredStep), given way to a finer fraction where it runs records
// past (FinerWhereRunsPast), held as EB 8 is (measured again, deep rounding would bias it).
struct StepRuling {
    double step = 0.0;
    bool entry8 = false;
    bool asEntry8 = false; // EB 8's whole multiple as it gives it (not a step measured over a stretch)
};

// g x EB 8 written as HeldMultiple writes it; held as EB 8 is where that is g x EB 8 as given.
StepRuling MultipleRuling(const StepAnchors& s, double given, double read, uint32_t g, const StepFit& held)
{
    const double step = HeldMultiple(s, given, read, g, held);
    const double asRead = read * g;
    const bool as = step == given * g
                    || (asRead != 0.0 && step == given * g * (CLisRecordIO::RoundTo4Decimals(asRead) / asRead));
    return {step, false, as};
}

StepRuling RuleTheStep(const StepAnchors& s, double given, double rounded, double read, const StepFit& byEntry8,
                       uint8_t code)
{
    if (Entry8Against(byEntry8, given, {}) == Verdict::Entry8) {
        if (const Alternative fraction = FractionOfEntry8(s, given, byEntry8);
            Entry8Against(byEntry8, given, fraction) == Verdict::Other)
            return {fraction.step, false};
        return {StepOfEntry8(s, given, rounded, byEntry8), true};
    }
    if (const uint32_t g = MultipleOfEntry8(byEntry8, given, 0.0); g > 1) {
        Alternative multiple{Alternative::Kind::Multiple, given * g, s.Hold(given * g)};
        const Verdict v = Entry8Against(byEntry8, given, multiple);
        if (v == Verdict::Entry8) return {given, true};
        if (v == Verdict::Other) return MultipleRuling(s, given, read, g, multiple.fit);
    }
    const auto& a = s.anchors;
    Alternative measured{Alternative::Kind::Measured, MeasuredStep(a.depths, a.counts, s.precision, code), {}};
    if (measured.step > 0.0) measured.step = FinerWhereRunsPast(s, measured.step, given);
    if (measured.step > 0.0 && given > 0.0) {
        if (const uint32_t g = MultipleOfEntry8(byEntry8, given, measured.step); g > 1)
            return MultipleRuling(s, given, read, g, s.Hold(given * g));
        measured.fit = s.Hold(measured.step);
    }
    if (Entry8Against(byEntry8, given, measured) == Verdict::Entry8) return {given, true};
    return {measured.step, false};
}

// The last word of a usable EB 8 (`given`) over the step the rules chose: EB 8 stands
// unless the reading at the chosen step is strictly better, frames lost first, then
// anchors off their place, then distances with a gap; a tie keeps EB 8. Between a step
// and its whole multiple or fraction that order cannot choose (the finer misplaces fewer
// and leaves more gaps): there EB 8 stands where it lays every anchor in its place, some
// distance exactly its frames' count, and the chosen step does not, or is the finer.
// Where the rules let EB 8 stand (`stood`) and a step the depths give is heard against
// it, EB 8 gives way only where its reading is disproved and the other's is not.
bool Entry8HasTheLastWord(const StepAnchors& s, double given, double chosen, bool stood = false)
{
    if (!(given > 0.0) || !(chosen > 0.0) || chosen == given) return given > 0.0;
    const Reading e8 = ReadingAt(s, given), other = ReadingAt(s, chosen);
    // Nor does one with more splices and anchors off their place together than a step
    // stands with.
    const auto spliced = Spliced;
    // Drift counts against EB 8 only beside the step it is a little off from, measured
    // better.
    const bool near = std::fabs(chosen - given) <= kDriftShare * given;
    const auto disproved = [&](const Reading& r) {
        return spliced(r) || r.splices + (near ? r.Off() : r.misplaced) > StepFit::OddAllowed(r.distances);
    };
    // A step heard against an EB 8 the rules let stand runs some record on exactly and
    // puts no more anchors off their place.
    if (stood) return !disproved(e8) || disproved(other) || other.gapless == 0 || other.Off() > e8.Off();
    if (spliced(e8) != spliced(other)) return !spliced(e8);
    if (e8.lost != other.lost) return e8.lost < other.lost;
    if (WholeRatio(given, chosen)) {
        // Of a step and its whole multiple, the log's is the coarsest that lays every
        // anchor in its place with some distance exactly its frames' count: a finer one
        // lays them too, with a gap after every frame.
        const auto lays = [&](const Reading& r) { return r.Off() == 0 && r.gapless > 0 && !spliced(r); };
        return lays(e8) && (!lays(other) || given > chosen);
    }
    if (disproved(e8) != disproved(other)) return !disproved(e8);
    // Else a splice back is no anchor off the step's places, but no record running on
    // either: it counts as a gap does.
    return !(std::tuple(other.Off(), other.gaps + other.splices) < std::tuple(e8.Off(), e8.gaps + e8.splices));
}

} // namespace

void SettleSpacing(CLisLogicalFile& f)
{
    const double given = std::fabs(f.m_frameSpacing); // EB 8 where it is a log's spacing, else 0
    StepAnchors s;
    s.anchors = AnchorsOf(f);
    const auto& a = s.anchors.depths;
    bool apart = false;
    for (size_t j = 1; j < a.size() && !apart; ++j) apart = a[j] != a[j - 1] && std::isfinite(a[j] - a[j - 1]);
    if (!apart) {
        // No step to judge by (one frame, or one depth): EB 8 stands, or the data set has
        // none; the log tells an EB 8 of no use.
        f.m_spacingOverruled = given == 0.0 && f.m_spacingGiven && f.m_dfsrSpacing != 0.0;
        return;
    }
    s.precision = StepPrecisionOf(a, f.m_depthCode, f.m_depthFactor);
    s.integer = !lis::IsRealCode(f.m_depthCode);
    // EB 8 stands unless the depths disprove it; the step written is EB 8 where it holds
    // over the whole run, else the step measured on the longest stretch it counts.
    const StepFit byEntry8 =
        given > 0.0 ? FitStep(a, s.anchors.counts, given, s.precision, s.integer) : StepFit{};
    const double rounded = given * f.m_spacingRounding; // EB 8 to four places, as read before
    const StepRuling ruling = RuleTheStep(s, given, rounded, f.m_spacingRead, byEntry8, f.m_depthCode);
    const double chosen = ruling.step;
    // A measured step is the one that lays every stretch within the depths' rounding; EB 8's
    // whole multiple as it gives it is held as EB 8 is.
    const double laid = chosen == given || chosen == rounded || ruling.asEntry8
                            ? chosen
                            : StepLayingStretches(a, s.anchors.counts, chosen, s.precision, s.integer);
    double step = CountAcrossLongGaps(a, s.anchors.counts, laid, s.precision, s.integer);
    // Nothing after the rules overrules a usable EB 8 the reading at their step does not
    // better: where they let it stand, the long-gap count gives way to what they wrote.
    bool stands = ruling.entry8;
    if (given > 0.0 && step != given && step != rounded && Entry8HasTheLastWord(s, given, step)) {
        step = stands ? laid : StepOfEntry8(s, given, rounded, byEntry8);
        stands = true;
    }
    // Where the rules let EB 8 stand over depths it does not lay out cleanly, the step the
    // depths give is heard too (its whole multiples and fractions have rules of their own),
    // and EB 8 keeps the last word against it unless its own reading is disproved.
    bool heard = false;
    if (stands && ruling.entry8 && byEntry8.Misplaced() + byEntry8.drift > 0) {
        const double measured = MeasuredStep(a, s.anchors.counts, s.precision, f.m_depthCode);
        if (measured > 0.0 && !WholeRatio(measured, given) && !Entry8HasTheLastWord(s, given, measured, true)) {
            step = StepLayingStretches(a, s.anchors.counts, measured, s.precision, s.integer);
            stands = false, heard = true;
        }
    }
    // EB 8 the rules let stand with a gap after every record, and odd anchors, is kept only
    // where it misplaces fewer anchors than a whole multiple of it that runs some record on
    // exactly and splices none mostly (the coarsest such); where EB 8's own odd anchors are
    // more than a step stands with they decide nothing, and the multiple that misplaces
    // fewest is the step.
    if (stands && ruling.entry8 && byEntry8.odd > 0 && !s.anchors.counts.empty()) {
        const Reading atEntry8 = ReadingAt(s, given);
        const bool disproved = atEntry8.Off() > StepFit::OddAllowed(atEntry8.distances);
        uint32_t best = 0;
        size_t fewest = disproved ? SIZE_MAX : atEntry8.Off() + 1;
        for (uint32_t g = kMostMultiple; atEntry8.gapless == 0 && g >= 2; --g) {
            const Reading r = ReadingAt(s, given * g);
            if (r.gapless > 0 && !Spliced(r) && r.Off() < fewest) best = g, fewest = r.Off();
            if (best > 0 && !disproved) break;
        }
        if (best > 0) {
            step = HeldMultiple(s, given, f.m_spacingRead, best, s.Hold(given * best));
            stands = false, heard = true;
        }
    }
    if (stands && step == rounded) {
        f.m_frameSpacing = std::copysign(rounded, f.m_frameSpacing);
    } else if (step != given) {
        f.m_spacingOverruled = true;
        f.m_frameSpacing = std::copysign(step, f.m_frameSpacing); // measured, not rounded: no drift over the span
        if (given > 0.0) f.m_spacingRuling = heard ? "the step its depths give lays them out better" : SpacingRuling(byEntry8);
    }
    PlaceAndMark(f, s.anchors, step, s.precision);
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
    if (trials.declared.size > 0)
        TryLayout(trials.declared, once, f.m_depthCode, f.m_depthFactor, trials.channels.size, body, bytes);
    if (trials.channels.size > 0)
        TryLayout(trials.channels, once, f.m_depthCode, f.m_depthFactor, trials.channels.size, body, bytes);
}

uint32_t SettleFrameLayout(const LayoutTrials& trials, const CLisLogicalFile& f, std::string* why)
{
    std::string ignored;
    std::string& ruled = why ? *why : ignored;
    ruled.clear();
    const bool once = f.m_depthMode == kDepthPerRecord;
    const LayoutTrial &declared = trials.declared, &channels = trials.channels;
    const uint8_t code = f.m_depthCode;
    const double factor = f.m_depthFactor;
    // Depth-once frames carry no depth: records of whole frames are all that bears a size out.
    const auto read = [&](const LayoutTrial& t) { return t.size > 0 && t.frames > 0 && t.fits && (!once || t.whole); };
    if (!read(declared) && !read(channels)) return 0;
    // Frames whose depths turn back and forth are no frames: a reading cut across the
    // channels. Of two readings that run one way, one whose depths keep no step where the
    // other's do is none either.
    const auto runs = [&](const LayoutTrial& t) { return read(t) && (once || RunsOneWay(t.depths)); };
    const bool channelsRun = runs(channels);
    const bool stepless = !once && runs(declared) && channelsRun && !KeepsAStep(declared, code, factor)
                          && KeepsAStep(channels, code, factor);
    ruled = !read(declared) ? "its frames cannot be read"
            : !declared.whole && channels.whole && channelsRun ? "the data records do not hold whole frames of it"
            : !runs(declared) && (channelsRun || !declared.whole) ? "its frames' depths turn back and forth"
            : stepless                                        ? "its frames' depths keep no step"
                                                              : "";
    // Its padding holds frames: the next frame's depth between two of its frames' depths,
    // or (once a record) channel data where padding would be filler. Not where the
    // channels' own reading does not run one way (then the padding is a counter, a time or
    // a depth of the writer's), nor, once a record, where a usable EB 8 steps its frames
    // from record to record with no gap after enough of them (frames missing at random
    // leave one after most) and misplaces fewer of them than the channels' frames.
    const double spacing = std::fabs(f.m_frameSpacing);
    const auto byEntry8 = [&](const LayoutTrial& t) {
        return FitStep(t.depths, t.counts, spacing, StepPrecisionOf(t.depths, code, factor), !lis::IsRealCode(code));
    };
    const auto entry8StepsDeclared = [&] {
        if (!(spacing > 0.0) || !read(channels)) return false;
        const StepFit ofDeclared = byEntry8(declared), ofChannels = byEntry8(channels);
        return !ofDeclared.Disproves() && ofDeclared.EnoughGapless(true)
               && ofDeclared.Misplaced() < ofChannels.Misplaced();
    };
    // Frames that fill every record whole, where the channels' leave bytes unread, are
    // the records' frames: the depth behind their channels is the writer's own.
    const bool fillsRecords = declared.whole && !channels.whole;
    if (ruled.empty() && !once && channelsRun && Most(declared.padBetween, declared.depths.size()) && !fillsRecords)
        ruled = "the bytes behind its channels hold the next frames' depths";
    // Frames smaller than the channels, where the records hold whole frames of the
    // channels too, leave channel data unread.
    if (ruled.empty() && declared.size < channels.size && read(channels) && channels.whole && channelsRun)
        ruled = "the data records hold whole frames of the channels, which reach past its frames";
    if (ruled.empty() && once && channelsRun && Most(declared.padData, declared.frames) && !entry8StepsDeclared())
        ruled = "the bytes behind its channels hold channel data, not filler";
    if (ruled.empty()) return declared.size;
    return channelsRun ? channels.size : 0;
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
