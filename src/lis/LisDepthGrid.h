// The grid a log's depths lie on, measured from the depths themselves to the precision
// their code holds them. A depth in an integer code is exact to half a unit, one in
// code 68 to one unit of its 23-bit fraction, so a single step between two recorded
// depths can be off by about a unit: a step of 39.37 units is recorded as 39 or 40, and
// 1/120 ft at 20,000 ft scatters by half its size. Over the span the error is that of
// two depths only, so the step is measured as the span over the steps it holds.
#pragma once

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
};

// The coarsest grid on which every depth of `depths` (in file order) lies a whole number
// of steps from the first, within `precision` of its place, at least `leastSteps[j]`
// steps (1 where the list is empty) beyond depth j, and on which at least a quarter of
// the distances are exactly that least count: gaps and missing frames keep the grid, and
// the depth code's own unit is not taken for it. A grid the depths fit exactly wins
// over one that needs rounding. Repeated depths are no distance. No grid holds for
// depths that go back or are not finite. Linear in the depths after one sort.
DepthGrid MeasureDepthGrid(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps,
                           double precision);

// Whether `depths` lie within `precision` of the places `step` apart from the first,
// as `grid` counted them (a rounded step tried in place of the measured one).
bool GridFits(const std::vector<double>& depths, const std::vector<uint32_t>& leastSteps, double step,
              double precision);

} // namespace lis::frames
