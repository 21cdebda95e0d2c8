// How a LIS data set's frames lie: the frame size its data records are cut by (EB 3's
// unless the records' bytes rule it out, for the sum of its channels') and the step from
// one frame to the next (EB 8's, read in full, unless the depths rule it out, for the
// step measured from them). The parameter scan feeds these
// rules record by record and settles each once the data set's records are read.
#pragma once

#include "lis/LisScanModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lis::scan {

// A frame spacing (feet or metres) beyond this is no log's: an absent value written in its place.
constexpr double kMaxFrameSpacing = 1.0e5;

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
// EB 8, read in full, stands unless the depths (in depth-once mode the records' depths
// over their frames) disprove it (lis/steps/DepthGrid.h StepFit::Why): more than a few odd
// depths between its places, records' frames running past the next record's after more
// than a quarter of the distances, most distances off its grid, every distance a whole
// multiple of it but for two where holding that multiple bears it out; one odd depth, a
// splice or a repeat section never does. It is written where it holds over the whole
// run, else the span over the steps it counts. Where its distances are a whole multiple
// of it and lie on its grid, the step is that multiple of it, written as EB 8 is. Without
// EB 8, the step of the grid the depths lie on, else the best of four measured candidates
// (see MeasuredStep). Where the frames give no step at all (their depths are one), EB 8
// stands, or the data set has none. Depth-once frames are placed at the step the way
// most records run (see RecordsCourse); a record's last frame that meets the next
// record's depth (within a unit of the depth code, but half the step at most), where that
// lies ahead, is listed in m_placedOnNext, to be dropped. m_spacingOverruled tells the
// log that EB 8 was not the step used.
void SettleSpacing(CLisLogicalFile& file);

// ---- the frame layout --------------------------------------------------------------------

// A frame size tried on a data set's data records. With depths in every frame, their
// depths in file order across the records; with the depth once a record, each record's
// depth and the whole frames it holds. Whether every record held whole frames, and of
// the bytes behind the channels in a larger frame how often they held channel data (depth
// once) or a depth between their frame's and the next's (depths in every frame).
// `fits` false once the frames cannot be this size's.
struct LayoutTrial {
    uint32_t size = 0;
    bool fits = true;
    bool whole = true;
    uint64_t padData = 0; // depth-once frames whose padding is neither filler nor the frame before's
    std::vector<uint8_t> lastPad;
    uint64_t padBetween = 0;
    double padDepth = 0.0; // behind the channels of the frame before
    uint64_t frames = 0;
    std::vector<double> depths; // in the data set's units
    std::vector<uint32_t> counts;
};

// EB 3's frame size and the sum of the channels' sizes, while they disagree.
struct LayoutTrials {
    LayoutTrial declared, channels;
};

// The two layouts of `file`'s DFSR to try on its records; both sizes 0 where EB 3 and
// the channels agree (or either is missing): there is nothing to judge.
LayoutTrials LayoutsToTry(const CLisLogicalFile& file);
// Tries both layouts on one data record: `body` holds its `bytes` bytes behind the
// record header (the depth value of a depth-once record included).
void TryLayouts(LayoutTrials& trials, const CLisLogicalFile& file, const uint8_t* body, uint32_t bytes);
// The frame size that lays out the frames of the records tried; 0 where neither fits.
// EB 3 stands unless the bytes rule it out: records that do not hold whole frames of it
// (where they do of the channels), frames whose depths turn back and forth (where the
// channels' run one way, or its frames are not whole in every record) or keep no step,
// frames smaller than the channels where the records hold whole frames of the channels,
// or, where the channels' own reading runs one way, bytes behind the channels that hold
// the next frames' depths or (once a record) channel data in more than half the frames
// rather than filler or the frame before's bytes (but for a usable EB 8 that steps EB 3's
// frames from record to record with no gap after most and runs the channels' past or
// onto the next records). `why` names what ruled EB 3 out, empty where it stands.
uint32_t SettleFrameLayout(const LayoutTrials& trials, const CLisLogicalFile& file, std::string* why = nullptr);
// Why `file`'s frames cannot be read (its layout was refused); empty where they can.
std::string LayoutRefusal(const CLisLogicalFile& file);

} // namespace lis::frames
