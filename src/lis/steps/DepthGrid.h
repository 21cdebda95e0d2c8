// The grid a log's depths lie on, measured from the depths themselves to the precision
// their code holds them. A depth in an integer code is exact to half a unit, one in
// code 68 to one unit of its 23-bit fraction, so a single step between two recorded
// depths can be off by about a unit: a step of 39.37 units is recorded as 39 or 40, and
// 1/120 ft at 20,000 ft scatters by half its size. Over the span the error is that of
// two depths only, so the step is measured as the span over the steps it holds.
#pragma once

#include "lis/steps/Thresholds.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace lis::frames {

// How far a step between two recorded depths may lie from the true one: one unit of an
// integer code, one unit of code 68's fraction at `deepest` (both in the recorded units,
// `deepest` too); 0 for a code that holds no depth.
double StepPrecision(uint8_t code, double deepest);

// The way a log's depths run: the way kNearCourseShare times as many distances run as the
// other way, else the way they travel furthest; 0 where none differ (or they overflow). A
// frame is a distance, however short: a repeat section or a reversal that goes back further
// than the frames after it ran is still a turn back.
double CourseOf(const std::vector<double>& depths);

struct DepthGrid {
    bool holds = false;
    double step = 0.0;   // the span over its steps, unsigned
    uint64_t steps = 0;  // steps from the first depth to the last
    bool exact = false;  // every depth lies on it with no rounding
    size_t distances = 0; // between depths that differ
    size_t gapless = 0;   // of them, exactly their least count of steps
};

// What one grid search cost, counted where the caller gives it (the tests that bound the
// cost): candidate steps followed over the depths (a pass each), counts of steps tried on
// their first stretches, and distances sorted.
struct GridSearchWork {
    size_t followed = 0, firstCounts = 0, sorted = 0;
};

// The coarsest grid on which every depth of `depths` (in file order) lies a whole number
// of steps from the first, within `precision` of its place, at least `leastSteps[j]`
// steps (1 where the list is empty) beyond depth j, and on which at least a quarter of
// the distances are exactly that least count (an eighth of depth-once records, which
// frames missing at random leave with a gap after most): gaps and missing frames keep
// the grid.
// A grid the depths fit exactly wins over one that needs rounding. A step (over its
// least count) is wider than twice the precision: a finer one is the depth code's own
// rounding, not the log's; but where `unitGrid` (integer codes) and the depths fit a
// grid of exactly one unit. Repeated depths are no distance. No grid
// holds for depths that go back or are not finite. Linear in the depths but for a sort
// of a sample of their distances.
DepthGrid MeasureDepthGrid(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps,
                           double precision, bool unitGrid = false, GridSearchWork* work = nullptr);

// How a step lays out a log's anchors (every frame's depth, or each depth-once record's
// with the frames it holds): each anchor counted in whole steps from the anchor before
// it, never fewer than that anchor's frames take, its miss measured from the first of
// its stretch, within what two depths of `precision` (one unit of an `integer` code,
// else of code 68's fraction) leave of their distance. A step a little off drifts: a
// header's step by no more than its drift over the distance, a step measured roughly
// (`follow`) by small jumps from one anchor to the next. An anchor off the grid whose
// next anchor is back on it is a glitch and skipped; else a new stretch starts there (a
// splice, a repeat section, a turn back). A step a header gives is held as given; one
// measured roughly is followed again on its longest stretch's span while that lengthens
// the stretch. The one question every rule asks of a step and a log's depths.
struct StepFit {
    double step = 0.0;     // the longest stretch's span over its steps (the step followed where none)
    uint64_t steps = 0;    // counted over that stretch
    uint64_t counted = 0;  // over every stretch
    size_t onGrid = 0;     // distances counted on the grid
    size_t gapless = 0;    // of them, exactly their least count of steps
    size_t odd = 0;        // anchors off the grid (one that turns back and runs on from there starts a stretch)
    size_t runPast = 0;    // anchors nearer than the frames of a record before them need
    size_t overlaps = 0;   // anchors a record's last frame meets (counted on the grid)
    size_t drift = 0;      // anchors off their place by the drift of a step a little off (counted)
    uint32_t multiple = 1; // the coarsest whole multiple (up to 8) of the step that every counted
                           // distance holds its least count of, enough of them exactly; 1: none
    double sign = 1.0;     // the way most distances run
    uint32_t wholeMultiples = 0; // bit g set: g steps may be the step (every counted distance a
                                 // whole multiple of g but for what one odd depth breaks); to be
                                 // borne out by laying g steps over the anchors
    uint32_t unbroken = 0;       // of them, every counted distance a whole multiple of g

    // What in the anchors disproves the step, the first that does of: records' frames
    // running past the next record's depth after more than a quarter of the distances (so
    // one in three does), most records overlapping the next, more than a few odd anchors
    // (one odd depth, a splice or a repeat section never does), two or more distances off
    // its grid (odd or running past) that are most of them, every distance a whole
    // multiple of it.
    enum class Disproof : uint8_t { None, RunPast, Overlaps, Odd, MostOffGrid, Multiple };

    size_t Distances() const { return onGrid + odd + runPast; }
    // Anchors the step misplaces: off its grid, running past or met by a record before.
    size_t Misplaced() const { return odd + runPast + overlaps; }
    Disproof Why() const;
    bool Disproves() const { return Why() != Disproof::None; }
    // Whether enough distances on the grid are exactly their least count of steps
    // (kExactShare) for the step to be the log's rather than a finer one's.
    bool EnoughGapless(bool once) const;
    // Odd anchors a step stands with over `distances`: what one odd depth makes (two odd
    // distances), or one in sixteen (a splice or repeat section in a long log).
    static size_t OddAllowed(size_t distances);
};

inline size_t ExactShare(bool once) { return once ? kExactShareOnce : kExactShare; }

// How a step is held: as a header gives it (`follow` false: it drifts no more than a
// step a little off does over the distance), or followed as measured roughly (only the
// jump from the anchor before counts); counting stops once more than `oddLimit` anchors
// are odd (where only whether the step is disproved is asked).
// An anchor a step places on its stretch: the stretch (counted from 0), its steps from
// the stretch's first anchor and its distance along the log from it.
struct PlacedAnchor {
    size_t stretch = 0;
    uint64_t steps = 0;
    double along = 0.0;
};

struct HoldOptions {
    bool follow = false;
    size_t oddLimit = SIZE_MAX;
    std::function<void(const PlacedAnchor&)> place; // where given, told every anchor placed on a stretch, in turn
};

// `step` laid over the anchors as given: no multiple of it searched, not followed again.
StepFit HoldStep(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                 double precision, bool integer, const HoldOptions& options = {});

// The step of a log whose anchors run one way on one grid across a few long gaps (each
// more than kLongGap steps of `step`): measured on all the shorter distances together and
// each gap counted in it, where that lays the whole run within two depths' rounding and one
// step more or less over any gap does not; kept where `step` drifts from it by more than
// the rounding over the run. Else `step`.
double CountAcrossLongGaps(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                           double precision, bool integer);

// A measured step (or `step` itself where it does) that lays every stretch of the anchors
// (split where a distance is no whole count of `step` within two depths' rounding, runs
// past, or spans a long gap) within the depths' rounding: the middle of the steps that
// do, where `step` is not among them; `step` where no step lays them all.
double StepLayingStretches(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                           double precision, bool integer);

StepFit FitStep(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
                double precision, bool integer = false, bool follow = false);

// Where a step comes from: a header's stands unless the bytes prove it wrong; one measured
// roughly has no such standing.
enum class StepFrom : uint8_t { Header, Measured };

// The one answer to whether a whole multiple of a step is the step: the coarsest of the
// multiples `candidates` (bit g: g steps; those the distances `fine`, `step` held, counted
// allow) that holding bears out; 1: none.
uint32_t CoarsestMultiple(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps,
                          const StepFit& fine, double step, double precision, bool integer, uint32_t candidates,
                          StepFrom from);

} // namespace lis::frames
