// The step rules' shared pieces, for the files of this folder alone: how a step lays a
// log's anchors out (Reading.cpp), the step measured from them (MeasuredStep.cpp), whether
// EB 8 stands (Entry8.cpp).
#pragma once

#include "lis/LisScanModel.h"
#include "lis/steps/DepthGrid.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace lis::frames {

// Whether frames' depths run one way but for a few turns (a repeat section, a reversal,
// an odd depth): a reading cut across the channels jumps back and forth.
struct Turns {
    size_t ahead = 0, back = 0; // distances that grow, and that shrink
};

// The depths the grid is measured on: every frame's, or once a record each record's
// with the frames it holds.
struct GridAnchors {
    std::vector<double> depths;
    std::vector<uint32_t> counts;
};

// What the anchors of a data set and their depth code give a step to be held against.
struct StepAnchors {
    GridAnchors anchors;
    double precision = 0.0;
    bool integer = false;

    StepFit Hold(double step) const { return HoldStep(anchors.depths, anchors.counts, step, precision, integer); }
};

// How a step lays a log's anchors out, held over each one-way piece of the log: an anchor
// that turns back, or a depth-once record that starts inside the one before at the step (a
// splice back), starts a piece; neither is an anchor off the step's places, but splices
// are counted. Also counted: the depth-once frames it loses (a record's last frame placed
// on the next record's depth), the anchors off their place (odd, running past or onto the
// next) and those a step a little off drifts, the distances with a gap, and those exactly
// their frames' count.
struct Reading {
    size_t lost = 0, misplaced = 0, drift = 0, splices = 0, gaps = 0, gapless = 0, distances = 0;
    size_t turns = 0; // anchors that turn back, each starting a piece

    // Anchors off their place: a header's step held as given forgives its drift where a
    // measured one counts its rounding odd, so drift and odd anchors are one count.
    size_t Off() const { return misplaced + drift; }
};

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

// ---- how a step lays the anchors out ----

// The frames of one depth-once record: the entries from `start` that share its position.
size_t RecordEnd(const std::vector<CLisDepthEntry>& d, size_t start);

// Whether two steps agree: within kSpacingTolerance of `b`, or `rounding`.
bool Agree(double a, double b, double rounding);

// The precision of a step between two of `depths` (scaled by `factor` from a depth code).
double StepPrecisionOf(const std::vector<double>& depths, uint8_t code, double factor);

// Depth once, records that run on after most, where one alone starts inside the one
// before (a splice back by part of a record, no odd depth), bear a step out: in a log of a
// few records that one is more than the share of running past a step stands with, and a
// step at which most records run on is the log's rather than one that lands the splice
// on a finer grid.
bool RunsOnButOneSpliceBack(const StepFit& f, bool once);

Turns TurnsOf(const std::vector<double>& depths);
// Frames' depths run one way but for one turn in kTurnsShare distances (or one).
bool RunsOneWay(const std::vector<double>& depths);

// Whether a step laid from the top holds over the whole run: held strictly, it lays the
// anchors out in stretches as long and as few as the best step measured does, where a
// step that drifts splits the run wherever it leaves the precision.
bool HoldsOverTheRun(const StepFit& fit, const StepFit& best);

// Every frame's depth, or once a record each record's depth with the frames it holds.
GridAnchors AnchorsOf(const CLisLogicalFile& f);

// How near a record's last frame lies to the next record's depth to meet it: within one
// unit of the depth code (each of the two depths carries its own rounding), but never
// more than half the step (else a frame a step short of it would meet it too); with no
// step, half a unit.
double MeetingWindow(double step, double unit);

// How badly a step lays anchors out, worst first: anchors misplaced (odd, or records
// running past or onto the next), drift, then distances with a gap (a finer step leaves more).
std::tuple<size_t, size_t, size_t> Misfit(const StepFit& f);

// Whether one step is a whole multiple (2 to kMostMultiple) of the other.
bool WholeRatio(double a, double b);

// `step` held over each one-way piece of the anchors (see Reading).
Reading ReadingAt(const StepAnchors& s, double step);
Reading ReadingAt(const std::vector<double>& depths, const std::vector<uint32_t>& counts, double precision,
                  bool integer, double step);

// A reading whose records start inside the one before more often than a step stands with
// anchors off their place (or mostly), or where no record but a splice runs on exactly,
// lays them out no better than any step.
bool Spliced(const Reading& r);

// A reading that splices records (Spliced), or whose splices and anchors off their place
// (drift counted where `drift`) are more than a step stands with, is disproved.
bool Disproved(const Reading& r, bool drift);

// How badly a reading lays the anchors out, worst first: frames lost, then anchors off
// their place, then gaps and splices together (a splice back runs no record on either).
// Another step's reading overrules a header's only where it is strictly less.
std::tuple<size_t, size_t, size_t> ReadingOrder(const Reading& r);

// Some record runs on exactly, and records are not spliced back more than a step stands with.
bool RunsOn(const Reading& r);

// Whether a step lays the anchors out as the log's step: every anchor in its place, and it
// runs them on. Of a step and its whole multiple or fraction, the coarsest that does is the
// step: a finer one lays them too, with a gap after every frame.
bool LaysAsTheStep(const Reading& r);

// Every anchor in its place and no record spliced back: what a fraction of a measured step
// whose records splice back must show, where no header's step is given the doubt of a few
// splices.
bool LaysOut(const Reading& r);

// ---- the step measured from the anchors ----

// The step anchors give where EB 8 gives none: that of the grid they lie on, else the
// best candidate (BestCandidate); 0 where they give none.
double MeasuredStep(const std::vector<double>& depths, const std::vector<uint32_t>& counts, double precision,
                    uint8_t code);

// A step chosen that runs a record past the next (but splices back) shows what a
// step cannot: it gives way to the whole fraction of EB 8 (`given`) or of itself (the
// coarsest of those that fit alike) that lays the anchors out best, no record running past
// first, where it lays them out strictly better. The fraction is no fraction of the step
// (every distance a whole multiple of it), and enough of its distances are exactly their
// least count (a fraction fine enough lands any splice on its grid, a gap after every record).
double FinerWhereRunsPast(const StepAnchors& s, double step, double given);

// ---- whether EB 8 stands ----

// What in the depths ruled a usable EB 8 out, for the log.
std::string SpacingRuling(const StepFit& fit);

// The step written where EB 8 (`given`) stands: EB 8 to four places, as read before,
// where the run shows it holds as well; else EB 8 where it holds over the whole run;
// else the step EB 8 counts over its longest stretch.
double StepOfEntry8(const StepAnchors& s, double given, double rounded, const StepFit& byEntry8);

// g x a usable EB 8 (`given`; `read` as the DFSR holds it, 0 where its code is no real
// one), held as EB 8 is (`held` its fit) and written as EB 8 would be: the multiple of EB 8
// as read to four places where that holds as well.
double HeldMultiple(const StepAnchors& s, double given, double read, uint32_t g, const StepFit& held);

// The step the rules choose, and whether EB 8 stands as it (see StepRuling).
StepRuling RuleTheStep(const StepAnchors& s, double given, double rounded, double read, const StepFit& byEntry8,
                       uint8_t code);

// The last word of a usable EB 8 (`given`) over the step the rules chose: EB 8 stands
// unless the reading at the chosen step is strictly better. A reading that splices records
// mostly, more often than a step stands with odd anchors, or with no record running on
// exactly, is no better than any; then fewer frames lost; then, between a step and its whole
// multiple or fraction, the coarsest that lays every anchor in its place with some distance
// exact; then a reading disproved by its odd anchors and splices (drift counted only beside
// a step EB 8 is a little off from) loses; then fewer anchors off their place, then fewer
// gaps and splices together. A tie keeps EB 8. Where the rules let EB 8 stand (`stood`) and
// a step the depths give is heard against it, EB 8 gives way only where its own reading is
// disproved and the other's is not, runs a record on exactly and misplaces no more.
bool Entry8HasTheLastWord(const StepAnchors& s, double given, double chosen, bool stood = false);

} // namespace lis::frames
