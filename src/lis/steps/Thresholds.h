// Every threshold of the rules that settle a LIS data set's step and frame layout, each
// beside its reason (the files of lis/steps). scripts/lis-thresholds.sh moves
// each one step either way and runs the LIS tests, naming the tests each move fails. Two
// cost bounds read every log tried alike whatever their value: kSampledDistances fails the
// cost test only when moved up, kFirstLook no test either way (no counter follows the
// candidates' sort). They keep a 1M-frame log's memory and cost a frame flat.
// kCandidateRounding fails a test only when moved up: since the measured candidates whose
// records run past rank by their reading, no log tried reads otherwise at 2.25 (the logs
// of known truth, 1,900 drawn logs, eight sweep seeds).
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>

namespace lis::frames {

// ---- shares of a log's distances --------------------------------------------------------

// "Most": more than one in this many (a half).
constexpr size_t kMostShare = 2;
inline bool Most(size_t part, size_t whole) { return kMostShare * part > whole; }

// Of a step's distances on its grid, at least one in this many are exactly their least
// count of it where it is the log's step: a finer step leaves a gap after every frame. One
// in four single steps; one in eight depth-once records, which frames missing at random
// leave with a gap after most.
constexpr size_t kExactShare = 4, kExactShareOnce = 8;

// Odd distances one odd depth makes: a step stands with as many, but not where they are
// most of a short log's distances (a step that misses nearly every one is none).
constexpr size_t kOddFloor = 2;
// A long log's odd anchors a step stands with: one in this many distances (splices,
// repeat sections and odd depths in a long log).
constexpr size_t kOddShare = 16;

// A share of the distances past which records running past the next disprove a step:
// one in up to three distances still does, but the frames of a record that starts inside
// the one before (a splice back by part of a record) do not.
constexpr size_t kRunPastShare = 4;

// ---- how far a depth may lie off its place ----------------------------------------------

// A distance plainly holds n steps where it lies within this share of a step of n steps
// (beyond the depths' rounding): half a step would tie two counts, and a step a little
// off moves a long distance by part of one.
constexpr double kCountReach = 0.25;
// Code 68's depths are words rounded, cut or cut from a float: two of them lie up to this
// many units of the fraction from their distance.
constexpr double kCutWordReach = 1.25;
// One place of a 32-bit float's 23-bit fraction, relative to its value: EB 8 written to four
// places only where they are what its float stands for. (A fact of the float, not a
// threshold: the script does not move it.)
constexpr double kFloatPlace = 1.0 / 8388608.0;
// Where two depths' rounding reaches one in this many of a step, a single distance's count
// of it is in doubt (a distance of one step may read as two, or none): a header's step is
// held as given, each whole multiple of it out of doubt a candidate to bear out; a rough
// step is not first measured on the distances it counts one by one.
constexpr double kDoubtShare = 3.0;
// The share of a distance a step a little off (EB 8 rounded, or off by a ten-thousandth)
// drifts by over it: an anchor off the grid by no more is drift, not a splice.
constexpr double kDriftShare = 1.0e-3;
// Two steps agree where one lies no further from the other than a step a little off does
// (a share of the one they are held against), or within the rounding of a depth code that
// rounds: a header's step rounded to four places, or a thousandth off, is still the step.
constexpr double kSpacingTolerance = kDriftShare;

// ---- following a step measured roughly --------------------------------------------------

// Times a rough step is followed again (and a header's step on the longest stretch it
// counts, to tell whether it holds over the run): the first passes lengthen the stretch it
// holds over by far more than twice; later ones recount a few steps of a long log where a
// distance's count is in doubt, and may walk on to a grid the depths do not lie on, each
// a pass over every depth.
constexpr int kMostFollows = 4;
// Of a step followed roughly, two depths' rounding (the tolerance) a miss may jump by from
// one anchor to the next: both anchors' rounding adds to it.
constexpr double kFollowJump = 2.0;
// Steps of a stretch past which its own span over them counts a distance better than a
// step held as given (one a little off drifts by a step over a long gap).
constexpr uint64_t kCountingSteps = 64;

// ---- whole multiples and fractions of a step --------------------------------------------

// The coarsest whole multiple of a step looked for (and fraction, a step given way to).
constexpr uint32_t kMostMultiple = 8;
// Distances a whole multiple of the step may break: what one odd depth breaks.
constexpr size_t kMultipleBroken = 2;
// Distances on the grid it takes to show that every one is a whole multiple of the step:
// fewer, a gap or two would.
constexpr size_t kMultipleDistances = 4;

// ---- long gaps and splices inside the rounding ------------------------------------------

// A distance of more steps than this is a long gap: one step's error of a header's step a
// little off (up to a thousandth) adds up over it to a share of a step that miscounts it.
constexpr double kLongGap = 250.0;
// Times in turn a stretch that no step lays within the depths' rounding is split in two
// (each piece again, so eight pieces at most): splices the step held takes for rounding (of
// a unit or two of an integer code).
constexpr int kMostSplits = 3;

// ---- measured candidates ----------------------------------------------------------------

// Candidate steps tried a pass, each followed over the depths once (a pass each, so the
// cost stays linear): as many as clusters of the distances can each hold the share a
// depth-once grid's single steps need (kExactShareOnce). More windows than that lie within
// one spread of the distances, where no grid holds.
constexpr int kMostTries = int(kExactShareOnce);
// Anchors of the first stretch, whose count of steps is found by trying each; it spans
// as many steps at least as a stretch's own span counts a distance better in than a step
// given (kCountingSteps).
constexpr size_t kFirstAnchors = 48;
// Counts tried on the first stretch (each a fit of its anchors): more leave the step to
// the rounding alone.
constexpr double kMostFirstCounts = 512.0;
// Distances the candidates are drawn from: an even sample of a long log's, so that the
// search's memory and its cost a frame stay flat however long the log (every distance
// sorted costs a 1M-frame log a fifth more memory). A cost bound: fewer read every log
// tried alike, more only cost more.
constexpr size_t kSampledDistances = 4096;
// Distances sorted first where the least that two share is looked for (four times as many
// each time none is found): a long log's sorted whole would cost more a frame. A cost bound,
// as kSampledDistances is.
constexpr size_t kFirstLook = 64;

// Two distances agree as one candidate step within this many units of the depths' precision
// (over their least count): each end of each distance rounded.
constexpr double kCandidateRounding = 2.5;
// The least anchors of a stretch that runs one way for its own grid to be measured where
// the log turns back: fewer leave a gap or two to decide the step.
constexpr size_t kLongestPiece = 8;

// ---- the way a log runs -----------------------------------------------------------------

// Frames' depths run one way but for one turn in this many distances (or one): a reading
// cut across the channels jumps back and forth.
constexpr size_t kTurnsShare = 16;
// Depth-once records run one way where one in this many or fewer distances turn back.
constexpr size_t kCourseShare = 10;
// ...or, in a short log, where no more than this many turn back and this many times as
// many run on (a repeat section, a reversal).
constexpr size_t kFewTurns = 2, kFewTurnsRunOn = 3;
// Records lie near each other where no two in turn lie further apart than this many
// records' frames at the step: a log that turns back over a few records and runs on,
// not passes logged apart.
constexpr double kNearRecords = 64.0;
// Of records that jump about but lie near each other, the frames run the way this many
// times as many record distances run as the other way; so does a log whose depths turn
// back (else the way they travel furthest).
constexpr size_t kNearCourseShare = 2;

// ---- facts of the arithmetic and the depths (the script does not move them) ------------

// A depth rounded to its unit is exact to this share of it, so a frame moved by less than
// this much of the depths' precision is where its depth says.
constexpr double kRoundingShare = 0.5;
// What double arithmetic on the depths leaves of an exact fit, relative to the deepest.
constexpr double kArithmetic = 64.0 * DBL_EPSILON;
// A step lays a run where its anchors' misses lie within the tolerance of one grid, on
// either side of it: they spread over twice the tolerance.
constexpr double kLaidSpread = 2.0;
// A value at a bound after a few operations on it: within the bound (1 + this), or a bound
// strictly inside an edge by it.
constexpr double kAtTheBound = 1.0e-6, kInsideTheEdge = 1.0e-9;
// More steps than any log holds: a count this far off is none (a hostile depth).
constexpr double kMostSteps = 1.0e12;
// Halvings of the bracket a step is searched in: past a double's 52 bits of fraction.
constexpr int kSearchRounds = 48;

} // namespace lis::frames
