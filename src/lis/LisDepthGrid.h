// The grid a log's depths lie on, measured from the depths themselves to the precision
// their code holds them. A depth in an integer code is exact to half a unit, one in
// code 68 to one unit of its 23-bit fraction, so a single step between two recorded
// depths can be off by about a unit: a step of 39.37 units is recorded as 39 or 40, and
// 1/120 ft at 20,000 ft scatters by half its size. Over the span the error is that of
// two depths only, so the step is measured as the span over the steps it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lis::frames {

// How far a step between two recorded depths may lie from the true one: one unit of an
// integer code, one unit of code 68's fraction at `deepest` (both in the recorded units,
// `deepest` too); 0 for a code that holds no depth.
double StepPrecision(uint8_t code, double deepest);

struct DepthGrid {
    bool holds = false;
    double step = 0.0;   // the span over its steps, unsigned
    uint64_t steps = 0;  // steps from the first depth to the last
    bool exact = false;  // every depth lies on it with no rounding
    size_t distances = 0; // between depths that differ
    size_t gapless = 0;   // of them, exactly their least count of steps
};

// The coarsest grid on which every depth of `depths` (in file order) lies a whole number
// of steps from the first, within `precision` of its place, at least `leastSteps[j]`
// steps (1 where the list is empty) beyond depth j, and on which at least a quarter of
// the distances are exactly that least count (an eighth of depth-once records, which
// frames missing at random leave with a gap after most): gaps and missing frames keep
// the grid.
// A grid the depths fit exactly wins over one that needs rounding. The grid is wider
// than the precision, the depth code's own unit, but where `unitGrid` (integer codes)
// and the depths fit one of exactly that unit. Repeated depths are no distance. No grid
// holds for depths that go back or are not finite. Linear in the depths but for a sort
// of a sample of their distances.
DepthGrid MeasureDepthGrid(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps,
                           double precision, bool unitGrid = false);

// The grid of `depths` whose steps are counted by `spacing` distance by distance (a
// spacing read to four places drifts over a long log), each at least its least count:
// the span over the steps, where every depth lies within `precision` of its place.
DepthGrid CountedBy(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double spacing,
                    double precision);

} // namespace lis::frames
