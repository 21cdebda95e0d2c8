// LIS logs of known truth drawn from one table of dimensions with a fixed seed: every
// frame's grid place, depth and values are known, so a reader's output can be judged
// frame by frame. Depth codes and units (from depth 0 too), the step in either depth
// system, EB 8 and EB 3 (right, absent, wrong, padded with zeros or with absent values),
// gaps, direction, depth per frame or once a record, records of 1-40 frames, one record
// or two, logs of up to 20,000 frames, other channels around the judged ones, one odd
// depth, splice, repeat section or reversal, and how code-68 depth words are cut are
// each drawn from the table. Further cases are drawn as kinds of log that readers have
// read wrong (Kind), each from the same table with the dimensions its kind fixes; kinds
// added later come from a draw of their own, so that no case drawn before changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sweep {

// EB 8: right in the depths' units or the other system's, absent, 0, 1.5 or 2 times the
// step, off by Case::off of it (1e-4 in the table), a half or a third of it, or three
// times it (kinds only).
enum class Spacing : uint8_t { Right, OtherUnits, Absent, Zero, OneAndHalf, Twice, Off, Half, Third, Thrice };
// AfterRecords: Case::gapAfter places missing after each record (kinds only).
enum class Gaps : uint8_t { None, OneGap, EveryThird, RandomShare, AfterRecords };
// EB 3: as the frames, absent, padded with absent values or with zeros (both right), or
// wrong: larger, smaller, twice the frames with no padding; OwnSize is twice the
// channels with zeros behind each frame (right); Blanks pads with 0x20 bytes (right);
// Changing pads with a word that changes from frame to frame (Case::changing) and
// HeldDepth with a depth Case::heldShare of a step past the frame's own, zeros after
// either where the padding is longer (both right).
enum class Layout : uint8_t { AsFrames, Absent, Padded, Larger, Smaller, Multiple, OwnSize, Zeros, Blanks, Changing,
                              HeldDepth };
// The padding word of Layout::Changing: a frame counter (from 1), the same with every
// third frame's 0, a time in milliseconds, the data record's number (from 1).
enum class Changing : uint8_t { Counter, SomeZero, Time, RecordNumber };
enum class Words : uint8_t { Rounded, Cut, FloatCut }; // how a code-68 depth word is made
enum class Records : uint8_t { Runs, Single, Two };    // up to perRecord frames each, one, or two
// Once in the log (kinds: more often): one depth (depth once: one record's) off its
// grid; the grid moved on by a fraction of a step; the depths going back several feet
// between records and running on; the depths going back 0.05 ft and running on; depth
// once, a record starting inside the one before (the grid moved back by more than a
// step, less than that record's frames).
enum class Event : uint8_t { None, Odd, Splice, Repeat, Reversal, SpliceBack };

// Kinds of log drawn on their own, each the table's case with the dimensions it fixes:
// - IntegerDepths: codes 73 and 79 in FT or M, depth once, a step of half a unit or
//   less (records mostly a whole number of units long);
// - SpliceBack: depth once, records of 3-20 frames running on, one starting inside the
//   record before;
// - StrayPadding: depth once, padded frames (zeros, absent values, own size) with one
//   non-zero byte in one frame's padding, or padding of blanks (with or without one);
// - FractionOdd: EB 8 at 1/2 or 1/3 of the step with 3-5 odd depths (one case in three
//   depth once, the odd depths records');
// - DeepHalf: per-frame code 68 at 20,000-29,000 ft, 1/120 ft, EB 8 at half of it;
// - Drifting: per-frame, EB 8 0.01-0.1% too large or too small, 3,000-10,000 frames;
// - ShortRepeats: per-frame, padded frames, two repeat sections in 20-31 frames.
// Later kinds:
// - ChangingPadding: depth once, padding that changes from frame to frame;
// - HeldDepth: per-frame, padding that holds a depth a part of a step past the frame's;
// - RecordGaps: depth once, EB 8 right, a gap of one record after most records, none after
//   one or two (2-5 deep: code 68 at 18,000-29,000 ft in 1/120 ft, or an integer code
//   stepped two of its units);
// - FewSpliceBack: depth once, 4-9 records, no usable EB 8, one record starting inside
//   the one before (1 step to its frames less 1/2 behind the place it would have run on
//   to, in half steps: one step back, on the record before's last depth), one log in
//   three with a gap after one other record;
// - ThreeFrames: EB 8 3-10% off; three frames, or depth once three records running on;
// - WideGaps: depth once, EB 8 1.5 times the step, 5-8 records, one or two running on
//   and gaps after the others;
// - HalfManyOdd: EB 8 half the step with 5-8 odd depths on 400-4,000 places;
// - TurnBack: depth once, 6-12 records running on but where the depths turn back 2-3
//   times, each turn 1 step to two records' frames behind the record before's depth.
// The kinds' odd depths lie four roundings of their code off their place at least (at a
// step whose code writes that), and a record that starts inside the one before lies three
// past that record's depth, so that the bytes show what the kind promises.
// The new family (a draw of its own again):
// - GappedChanging: depth once, padding that changes from frame to frame, EB 8 right, a
//   gap of 1-3 places after half the records or more;
// - HeldPairs: HeldDepth in records of two frames;
// - LongGaps: EB 8 0.01-0.1% off, 2-6 runs of frames with gaps of 700-9,000 places;
// - RightFewSplice: depth once, EB 8 right, 3-12 records running on, one or two starting
//   inside the one before;
// - MultipleGaps: depth once, EB 8 1.5 or 3 times the step, gaps after all records but
//   one or two;
// - OtherIntegers: integer codes in whole feet or metres, EB 8 right in the other system;
// - IntegerSplices: per-frame .1IN, EB 8 a half, a third or 1.5 times the step, one or
//   two splices of 1-3 units either way;
// - SpliceUnderStep: per-frame .1IN, EB 8 right, one or two splices of under a step
//   either way;
// - FiveFrames: per frame, five frames, EB 8 twice the step.
enum class Kind : uint8_t { Table, IntegerDepths, SpliceBack, StrayPadding, FractionOdd, DeepHalf, Drifting,
                            ShortRepeats, ChangingPadding, HeldDepth, RecordGaps, FewSpliceBack, ThreeFrames,
                            WideGaps, HalfManyOdd, TurnBack, GappedChanging, HeldPairs, LongGaps, RightFewSplice,
                            MultipleGaps, OtherIntegers, IntegerSplices, SpliceUnderStep, FiveFrames };

struct DepthCode {
    uint8_t code;
    const char* units;
    bool metres;
    double unit;           // one recorded unit in feet or metres
    double shallow, deep;  // where its logs lie, in feet or metres
    const char* other;     // units of the other depth system for EB 9
    double otherUnit;      // one of those in feet or metres
};

struct Step {
    double value;
    bool metres;
};

// One more event of the case's kind (odd depths, a second repeat section).
struct Mark {
    int at;
    double size;
};

struct Case {
    int id = 0;
    Kind kind = Kind::Table;
    DepthCode depth{};
    Step step{};
    Spacing spacing = Spacing::Right;
    double off = 1e-4;   // Spacing::Off: EB 8's share of the step too large (below 0: too small)
    Gaps gaps = Gaps::None;
    bool up = false;
    bool once = false;   // depth once a record (EB 13 = 1)
    Records records = Records::Runs;
    int perRecord = 1;   // frames a data record at most
    Layout layout = Layout::AsFrames;
    int extra = 0;       // filler bytes a frame (Padded, Zeros, Blanks) or bytes EB 3 adds (Larger)
    int strayFrame = -1; // the frame whose padding holds one stray byte (none: -1)
    int strayByte = 0;   // its place in that padding
    uint8_t strayValue = 0; // XORed into that byte: never 0, nor 0x20 (a blank would turn 0)
    Changing changing = Changing::Counter; // Layout::Changing's word
    double heldShare = 0;   // Layout::HeldDepth: how far past the frame's depth, in steps
    std::vector<int> gapAfter; // Gaps::AfterRecords: places missing after each record but the last
    Words words = Words::Rounded;
    int samples = 2;     // of the fast channel FA
    int others = 0;      // channels of codes 68, 73 and 79 before, between and after GR and FA
    int grid = 0;        // grid places from the first frame to the last, missing ones included
    double shallow = 0;  // the shallowest grid depth, in feet or metres
    Event event = Event::None;
    int eventAt = 0;       // the frame it starts at (Odd: the frame, or its record's first)
    double eventSize = 0;  // Odd: the depth's offset; Splice: the grid's move on; Repeat and
                           // Reversal: how far the next depth lies behind the one before
                           // (depth once, the record before's) in feet or metres, along the log;
                           // SpliceBack: how far the record starts behind the place it ran on to
    std::vector<Mark> more; // further events of the same kind, in order after eventAt
    uint32_t seed = 0;   // of the case's own picks (gaps, the other channels)

    double StepOut() const; // the step in the depths' system (feet or metres)
    std::string Describe() const;
};

// One frame as written: its number in the file (which its values name), its grid place
// (gaps counted; an event moves the grid, not the places), its exact depth in feet or
// metres and the depth the file records (depth once: its record's), its place in its
// data record, and the stretch of the log on one grid it lies in (counted from 0, one
// more after each splice, repeat section or reversal).
struct Frame {
    int index;
    int place;
    double depth;
    double recorded;
    int inRecord;
    int stretch = 0;
    bool odd = false;     // an odd depth
    bool dropped = false; // its depth is the next frame's (per frame, as recorded; depth once,
                          // a record's last frame on the next record's depth): the reader
                          // keeps the later
};

struct Written {
    std::vector<uint8_t> bytes; // the LIS file
    std::vector<Frame> frames;
    int records = 0;
    uint32_t channelBytes = 0;  // a frame's channels, the depth channel included
    uint32_t declared = 0;      // EB 3 (as written, even where left out)
    bool recordsWholeInDeclared = true, recordsWholeInChannels = true; // each record's frame bytes
    // Depth once, records followed by the next on one grid going on (at the true step):
    bool recordsRunOn = false;     // some record with no grid place missing after it
    bool channelsRunPast = false;  // read as frames of the channels, some record's frames
                                   // reach past the next record's depth
    bool declaredRunPast = false;  // read as frames of EB 3, the same
    bool channelsFillGaps = false; // read as frames of the channels, every record's frames
                                   // end where the next record starts
    double entry8 = 0;          // as written, in `entry8Units`
    std::string entry8Units;
    double entry8Factor = 1;    // one of those units in feet or metres
    bool entry8Metres = false;
};

// `count` cases of the table from `seed`, then `kindCount` of the kinds in turn (from a
// draw of their own, so that the table's cases do not change with them): first those
// of the earlier kinds, then those of the later ones (from a third draw), so that a seed
// draws every earlier kind's cases as before the later kinds were added; then `newCount`
// of the new family in turn, from a draw of their own.
std::vector<Case> Draw(uint32_t seed, int count, int kindCount = 0, int newCount = 0);
bool NewFamily(Kind k);
Written Write(const Case& c);
const char* KindName(Kind k); // "table" for the table's cases

// Values that name their frame: GR and sample s of FA of frame `index`, and the other
// channel `channel` (of code `code`; OtherCodes(c) gives them in order).
double Gr(int index);
double Fa(int index, int sample);
double Other(int index, uint8_t code, int channel);
std::vector<uint8_t> OtherCodes(const Case& c);

// Code-68 words from the format's definition: sign, excess-128 exponent, fraction in
// [1/2, 1) of 23 bits, negatives as the one's complement of the exponent and the two's
// complement of the fraction.
uint32_t Word68(double value, Words how);
double Value68(uint32_t word);

} // namespace sweep
