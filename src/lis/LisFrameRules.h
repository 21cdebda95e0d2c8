// How a LIS data set's frames lie: the step from one frame to the next (EB 8's, or the
// step most frames share). The parameter scan settles it once the data set's records
// are read.
#pragma once

#include "lis/LisScanModel.h"

#include <cstdint>
#include <vector>

namespace lis::scan {

// A frame spacing (feet or metres) beyond this is no log's: an absent value written in its place.
constexpr double kMaxFrameSpacing = 1.0e5;
// Two steps agree within this share of the one they are held against (and within the
// rounding of a depth code that rounds).
constexpr double kSpacingTolerance = 1.0e-3;

} // namespace lis::scan

namespace lis::frames {

// What a DFSR says of its units: whether EB 9 names the spacing's units and of which
// kind, and the kind of the depths themselves (EB 14 in depth-once mode, else the
// depth channel's units).
struct DfsrUnits {
    bool spacingGiven = false;
    uint8_t spacingKind = kUnitUnknown;
    uint8_t depthKind = kUnitUnknown;
};

// Bytes of a depth value by code (68, 73 and 79; 0 for any other code).
uint32_t DepthSize(uint8_t code);
// The depth value at `p` in `code`, as recorded (not scaled).
double ReadDepth(const uint8_t* p, const uint8_t* end, uint8_t code);

// ---- the frame step ----------------------------------------------------------------------

// EB 8 once the DFSR is read, in the units of the depths, where the data set counts its
// step: m_dfsrSpacing keeps it as given, m_frameSpacing holds it only where it is a log's
// spacing (0 where it is absent, 0 or beyond any log's).
void SettleDfsrSpacing(CLisLogicalFile& file, const DfsrUnits& units);

// The step between the frames of a depth-once record while the records are read: EB 8
// (where it is a log's spacing) the way the records' depths run, else the record
// before's distance `delta` to this one over its `frames` frames; `delta` 0 where it is
// not known, `known` the step taken last (0: none). The records' depths set the log's
// direction, whatever its flag claims.
double RecordFrameStep(CLisLogicalFile& file, double delta, uint32_t frames, double known);

// The distance from one frame to the next along the log: the data set's step, its sign
// that of the depths' course (the direction flag where the depths do not tell).
double SignedFrameSpacing(const CLisLogicalFile& file);

// The data set's step, once its frames are read (before repeated depths are dropped).
// Where most of the frames' steps (in depth-once mode, each record's step to the next
// over its frames) share one step, that step is the data set's step and the fast
// samples' spacing, unless EB 8 agrees with it. EB 8 stands where it agrees, or where no
// step is shared by most; where EB 8 is of no use then, the step the most frames share
// is taken. Where the frames give no step at all (their depths are one), EB 8 stands,
// or the data set has none. Depth-once frames are placed at the step taken.
// m_spacingOverruled tells the log that EB 8 was not the step used.
void SettleSpacing(CLisLogicalFile& file);

} // namespace lis::frames
