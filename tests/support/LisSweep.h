// LIS logs of known truth drawn from one table of dimensions with a fixed seed: every
// frame's grid place, depth and values are known, so a reader's output can be judged
// frame by frame. Depth codes and units, the step in either depth system, EB 8 and EB 3
// (right, absent or wrong), gaps, direction, depth per frame or once a record, and how
// code-68 depth words are cut are each drawn from the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sweep {

enum class Spacing : uint8_t { Right, OtherUnits, Absent, Zero, OneAndHalf, Twice }; // EB 8
enum class Gaps : uint8_t { None, OneGap, EveryThird, RandomShare };
enum class Layout : uint8_t { AsFrames, Absent, Padded, Larger, Smaller, Multiple, OwnSize }; // EB 3
enum class Words : uint8_t { Rounded, Cut, FloatCut }; // how a code-68 depth word is made

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
    int perRecord = 1;   // frames a data record at most
    Layout layout = Layout::AsFrames;
    int extra = 0;       // filler bytes a frame (Padded) or bytes EB 3 adds (Larger)
    Words words = Words::Rounded;
    int samples = 2;     // of the fast channel FA
    int grid = 0;        // grid places from the first frame to the last, missing ones included
    double shallow = 0;  // the shallowest grid depth, in feet or metres
    uint32_t seed = 0;   // of the case's own picks (gaps)

    double StepOut() const; // the step in the depths' system (feet or metres)
    std::string Describe() const;
};

// One frame as written: its grid place (which its values name), its exact depth in feet
// or metres, and its place in its data record.
struct Frame {
    int index;
    double depth;
    int inRecord;
};

struct Written {
    std::vector<uint8_t> bytes; // the LIS file
    std::vector<Frame> frames;
    uint32_t channelBytes = 0;  // a frame's channels, the depth channel included
    uint32_t declared = 0;      // EB 3 (as written, even where left out)
    bool recordsWholeInDeclared = true, recordsWholeInChannels = true; // depth once: each record's frame bytes
    bool recordsRunOn = false;  // some record is followed by the next with no grid place missing
    bool channelsRunPast = false; // depth once: read as frames of the channels, some record's frames
                                  // reach past the next record's depth (at the true step)
    double entry8 = 0;          // as written, in `entry8Units`
    std::string entry8Units;
    double entry8Factor = 1;    // one of those units in feet or metres
    bool entry8Metres = false;
};

// `count` cases from `seed`.
std::vector<Case> Draw(uint32_t seed, int count);
Written Write(const Case& c);

// Values that name their frame: GR and sample s of FA of grid place `index`.
double Gr(int index);
double Fa(int index, int sample);

// Code-68 words from the format's definition: sign, excess-128 exponent, fraction in
// [1/2, 1) of 23 bits, negatives as the one's complement of the exponent and the two's
// complement of the fraction.
uint32_t Word68(double value, Words how);
double Value68(uint32_t word);

} // namespace sweep
