// LIS logs of known truth drawn from one table of dimensions with a fixed seed: every
// frame's grid place, depth and values are known, so a reader's output can be judged
// frame by frame. Depth codes and units (from depth 0 too), the step in either depth
// system, EB 8 and EB 3 (right, absent, wrong, padded with zeros or with absent values),
// gaps, direction, depth per frame or once a record, records of 1-40 frames, one record
// or two, logs of up to 20,000 frames, other channels around the judged ones, one odd
// depth, splice, repeat section or reversal, and how code-68 depth words are cut are
// each drawn from the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sweep {

// EB 8: right in the depths' units or the other system's, absent, 0, 1.5 or 2 times the
// step, off by 1e-4 of it, or a half or a third of it.
enum class Spacing : uint8_t { Right, OtherUnits, Absent, Zero, OneAndHalf, Twice, Off, Half, Third };
enum class Gaps : uint8_t { None, OneGap, EveryThird, RandomShare };
// EB 3: as the frames, absent, padded with absent values or with zeros (both right), or
// wrong: larger, smaller, twice the frames with no padding; OwnSize is twice the
// channels with zeros behind each frame (right).
enum class Layout : uint8_t { AsFrames, Absent, Padded, Larger, Smaller, Multiple, OwnSize, Zeros };
enum class Words : uint8_t { Rounded, Cut, FloatCut }; // how a code-68 depth word is made
enum class Records : uint8_t { Runs, Single, Two };    // up to perRecord frames each, one, or two
// Once in the log: one depth (depth once: one record's) off its grid; the grid moved on
// by a fraction of a step; the depths going back several feet between records and
// running on; the depths going back 0.05 ft and running on.
enum class Event : uint8_t { None, Odd, Splice, Repeat, Reversal };

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

struct Case {
    int id = 0;
    DepthCode depth{};
    Step step{};
    Spacing spacing = Spacing::Right;
    Gaps gaps = Gaps::None;
    bool up = false;
    bool once = false;   // depth once a record (EB 13 = 1)
    Records records = Records::Runs;
    int perRecord = 1;   // frames a data record at most
    Layout layout = Layout::AsFrames;
    int extra = 0;       // filler bytes a frame (Padded, Zeros) or bytes EB 3 adds (Larger)
    Words words = Words::Rounded;
    int samples = 2;     // of the fast channel FA
    int others = 0;      // channels of codes 68, 73 and 79 before, between and after GR and FA
    int grid = 0;        // grid places from the first frame to the last, missing ones included
    double shallow = 0;  // the shallowest grid depth, in feet or metres
    Event event = Event::None;
    int eventAt = 0;       // the frame it starts at (Odd: the frame, or its record's first)
    double eventSize = 0;  // Odd: the depth's offset; Splice: the grid's move on; Repeat and
                           // Reversal: how far the next depth lies behind the one before
                           // (depth once, the record before's) in feet or metres, along the log
    uint32_t seed = 0;   // of the case's own picks (gaps, the other channels)

    double StepOut() const; // the step in the depths' system (feet or metres)
    std::string Describe() const;
};

// One frame as written: its number in the file (which its values name), its grid place
// (gaps counted; an event moves the grid, not the places), its exact depth in feet or
// metres and the depth the file records (depth once: its record's), its place in its
// data record, and the stretch of the log on one grid it lies in.
struct Frame {
    int index;
    int place;
    double depth;
    double recorded;
    int inRecord;
    int stretch = 0;
    bool odd = false;     // the one odd depth
    bool dropped = false; // its recorded depth is the next frame's: the reader keeps the later
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

// `count` cases from `seed`.
std::vector<Case> Draw(uint32_t seed, int count);
Written Write(const Case& c);

// Values that name their frame: GR and sample s of FA of frame `index`.
double Gr(int index);
double Fa(int index, int sample);

// Code-68 words from the format's definition: sign, excess-128 exponent, fraction in
// [1/2, 1) of 23 bits, negatives as the one's complement of the exponent and the two's
// complement of the fraction.
uint32_t Word68(double value, Words how);
double Value68(uint32_t word);

} // namespace sweep
