#include "support/LisSweep.h"

#include "platform/Endian.h"
#include "platform/Format.h"
#include "support/LisBuilder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <random>

namespace sweep {

namespace {

constexpr double kFoot = 0.3048;

// The table of dimensions: each case picks one value of every row (and, below, a
// record length, FA's samples, the extra bytes of EB 3, the other channels, the log's
// length and place, and where its event lies and how large it is).
// Code 79 holds 32,767 .1IN at most: its logs lie within 50-270 ft.
constexpr DepthCode kDepthCodes[] = {
    {68, "F", false, 1.0, 1000, 28000, "M", 1.0},         {68, "M", true, 1.0, 300, 8500, "F", 1.0},
    {73, ".1IN", false, 1.0 / 120, 1000, 28000, ".5MM", 0.0005},
    {73, ".5MM", true, 0.0005, 300, 8500, ".1IN", 1.0 / 120}, {79, ".1IN", false, 1.0 / 120, 50, 270, ".5MM", 0.0005},
};
constexpr Step kSteps[] = {{0.5, false},   {0.25, false}, {1.0 / 12, false}, {1.0 / 120, false}, {0.1, false},
                           {0.2, false},   {1.0, false},  {0.1524, true},    {0.1, true},        {0.0762, true},
                           {0.0254, true}, {0.05, true},  {0.2, true},       {0.125, true}};
constexpr Spacing kSpacings[] = {Spacing::Right,      Spacing::OtherUnits, Spacing::Absent,
                                 Spacing::Zero,       Spacing::OneAndHalf, Spacing::Twice,
                                 Spacing::Off,        Spacing::Half,       Spacing::Third};
constexpr Gaps kGaps[] = {Gaps::None, Gaps::OneGap, Gaps::EveryThird, Gaps::RandomShare};
constexpr Layout kLayouts[] = {Layout::AsFrames, Layout::Absent,   Layout::Padded,  Layout::Larger,
                               Layout::Smaller,  Layout::Multiple, Layout::OwnSize, Layout::Zeros};
constexpr Words kWords[] = {Words::Rounded, Words::Cut, Words::FloatCut};
constexpr Records kRecords[] = {Records::Runs, Records::Runs, Records::Runs, Records::Runs, Records::Single,
                                Records::Two};
constexpr Event kEvents[] = {Event::None, Event::None, Event::Odd, Event::Splice, Event::Repeat, Event::Reversal};
constexpr uint8_t kOtherCodes[] = {68, 73, 79};
constexpr int kShortRecords = 6, kMaxPerRecord = 40, kShortest = 50, kLongest = 400, kMissingPercent = 15;
// One log in 20 of 1,000-3,000 places, one in 40 of 10,000-20,000; one in 3 with
// 5-40 other channels; one down log in 8 from depth 0.
constexpr int kLongShare = 20, kLongestShare = 40, kOthersShare = 3, kFromZeroShare = 8;
// An odd depth lies 0.01-0.05 ft off its place, within 0.4 of a step (further, it would
// be a reversal); a splice moves the grid on by 0.2-0.8 of a step; a repeat section goes
// back 5-10 ft (whole steps, no further than the log came); a reversal 0.05 ft.
constexpr double kOddLeast = 0.01, kOddMost = 0.05, kOddShare = 0.4, kRepeatLeast = 5, kReversal = 0.05;
// The kinds' odd depths lie this many roundings of their code off their place at least.
constexpr double kOddRoundings = 4;
// The kinds' own rows. Integer codes in whole feet or metres (code 79 holds 32,767 of them).
constexpr DepthCode kIntegerDepthCodes[] = {
    {73, "FT", false, 1.0, 1000, 28000, "M", 1.0}, {79, "FT", false, 1.0, 1000, 28000, "M", 1.0},
    {73, "M", true, 1.0, 300, 8500, "FT", 1.0},    {79, "M", true, 1.0, 300, 8500, "FT", 1.0},
};
constexpr Spacing kHeaderSpacings[] = {Spacing::Right, Spacing::Right, Spacing::OtherUnits, Spacing::Absent,
                                       Spacing::Zero};
constexpr Layout kPaddings[] = {Layout::Zeros, Layout::OwnSize, Layout::Padded, Layout::Blanks, Layout::Blanks};
constexpr Layout kFramePaddings[] = {Layout::Zeros, Layout::OwnSize, Layout::Padded};
constexpr Kind kKinds[] = {Kind::IntegerDepths, Kind::SpliceBack, Kind::FractionOdd, Kind::StrayPadding,
                           Kind::DeepHalf,      Kind::Drifting,   Kind::ShortRepeats};
constexpr uint32_t kKindSeed = 0x6b696e64; // the kinds' draw, apart from the table's
// DeepHalf: 200-4,000 frames within 20,000-29,000 ft; Drifting: 3,000-10,000 frames, EB 8
// off by 0.01-0.1%; ShortRepeats: 20-31 frames.
constexpr int kDeepLeast = 200, kDeepMost = 4000, kDriftShortest = 3000, kDriftLongest = 10000;
constexpr double kDeepShallowest = 20000, kDeepDeepest = 29000, kDriftLeast = 1e-4, kDriftMost = 1e-3;
constexpr int kRepeatsLeast = 20, kRepeatsMost = 31;
// The later kinds' own rows and ranges. Each row as the kinds before: picked uniformly.
constexpr Kind kLaterKinds[] = {Kind::ChangingPadding, Kind::HeldDepth, Kind::RecordGaps, Kind::FewSpliceBack,
                                Kind::ThreeFrames,     Kind::WideGaps,  Kind::HalfManyOdd, Kind::TurnBack};
constexpr uint32_t kLaterKindSeed = 0x6c617465; // the later kinds' draw, apart from both others
constexpr Changing kChangings[] = {Changing::Counter, Changing::SomeZero, Changing::Time, Changing::RecordNumber};
constexpr Layout kRecordLayouts[] = {Layout::AsFrames, Layout::Absent, Layout::Padded};
// No EB 8 that gives the step: absent, 0, or a multiple the records run past with.
constexpr Spacing kUnusableSpacings[] = {Spacing::Absent, Spacing::Zero, Spacing::OneAndHalf, Spacing::Twice};
constexpr Spacing kRightSpacings[] = {Spacing::Right, Spacing::Right, Spacing::OtherUnits};
// Integer codes whose step is two of their units: a half of EB 8 is whole units too.
constexpr DepthCode kTwoUnitCodes[] = {kIntegerDepthCodes[0], kDepthCodes[4], kDepthCodes[3], kIntegerDepthCodes[2]};
// A time padding word: milliseconds from the first frame's, a few apart.
constexpr double kTimeFirst = 4048, kTimeApart = 5;
// HeldDepth: records of 5-16 frames, logs of 20-200, the held depth 0.2-0.8 of a step on
// (nearer the frame's own or the next, a depth code's rounding would make it either).
constexpr int kHeldRecordLeast = 5, kHeldRecordMost = 16, kHeldShortest = 20, kHeldLongest = 200;
constexpr double kHeldLeast = 0.2, kHeldMost = 0.8;
// RecordGaps: 30-40 records of 1-5 frames, one log in 20 of 1,000-2,000 records, and
// 1-2 of them with no gap after; deep logs (one in three of the kind) of 30-40 records of
// 2-10 frames, 2-5 with no gap after, at 18,000-29,000 ft. WideGaps: 1-2 with no gap.
constexpr int kGapRecordsLeast = 30, kGapRecordsMost = 40, kGapLongShare = 20, kGapLongLeast = 1000,
              kGapLongMost = 2000, kGapFramesMost = 5, kDeepGapFramesLeast = 2, kDeepGapFramesMost = 10,
              kDeepGapShare = 3;
constexpr int kGaplessLeast = 1, kGaplessMost = 2, kDeepGaplessLeast = 2, kDeepGaplessMost = 5;
constexpr double kDeepGapShallowest = 18000;
// FewSpliceBack: 4-9 records of 3-20 frames; one log in three with a gap after another.
constexpr int kFewRecordsLeast = 4, kFewRecordsMost = 9, kFewFramesLeast = 3, kFewFramesMost = 20, kFewGapShare = 3;
// ThreeFrames: EB 8 3-10% off; depth once, records of 2-6 frames.
constexpr double kTyOffLeast = 0.03, kTyOffMost = 0.10;
constexpr int kTyFramesLeast = 2, kTyFramesMost = 6;
// WideGaps: 5-8 records of 9-40 frames; the gaps 1 to 1.25 records' frames long.
constexpr int kWideRecordsLeast = 5, kWideRecordsMost = 8, kWideFramesLeast = 9;
// HalfManyOdd: 400-4,000 places, 5-8 odd depths.
constexpr int kManyOddShortest = 400, kManyOddLongest = 4000, kManyOddLeast = 5, kManyOddMost = 8;
// TurnBack: 6-12 records of 3-8 frames, 2-3 turns.
constexpr int kTurnRecordsLeast = 6, kTurnRecordsMost = 12, kTurnFramesLeast = 3, kTurnFramesMost = 8,
              kTurnsLeast = 2, kTurnsMost = 3;
// The new family's rows and ranges, each picked uniformly.
constexpr Kind kNewKinds[] = {Kind::GappedChanging, Kind::HeldPairs,     Kind::LongGaps,
                              Kind::RightFewSplice, Kind::MultipleGaps,  Kind::OtherIntegers,
                              Kind::IntegerSplices, Kind::SpliceUnderStep, Kind::FiveFrames};
constexpr uint32_t kNewKindSeed = 0x6e657766; // the new family's draw, apart from all others
// GappedChanging: 6-40 records of 2-10 frames, gaps of 1-3 places.
constexpr int kGcRecordsLeast = 6, kGcRecordsMost = 40, kGcFramesLeast = 2, kGcFramesMost = 10, kGcGapMost = 3;
// LongGaps: 2-6 runs of 40-80 frames, gaps of 700-9,000 places.
constexpr int kLgRunsLeast = 2, kLgRunsMost = 6, kLgRunLeast = 40, kLgRunMost = 80, kLgGapLeast = 700,
              kLgGapMost = 9000;
// RightFewSplice: 3-12 records; MultipleGaps: up to 12.
constexpr int kRfRecordsLeast = 3, kRfRecordsMost = 12, kMgRecordsMost = 12;
// IntegerSplices and SpliceUnderStep: steps of whole .1IN, 200-4,000 frames, splices of
// 0.15-0.85 of a step (under a step).
constexpr Step kInchSteps[] = {{0.5, false}, {0.25, false}, {1.0 / 12, false}, {0.1, false}, {0.2, false}};
constexpr Spacing kSplicedSpacings[] = {Spacing::Half, Spacing::Third, Spacing::OneAndHalf};
constexpr int kSplicedShortest = 200, kSplicedLongest = 4000, kFiveFrames = 5;
constexpr double kUnderLeast = 0.15, kUnderMost = 0.85;
// Two true depths at one place, one computed a record further on, agree to far within
// this share of the depth; distinct places lie a step apart at least.
constexpr double kSameDepth = 1e-9;
// Larger records are cut into physical records of this many bytes.
constexpr size_t kPhysicalBody = 8000;

// Uniform picks of our own: the standard distributions differ between libraries.
struct Rng {
    std::mt19937 g;
    uint32_t Pick(uint32_t n) { return uint32_t(g() % n); }
    double Unit() { return double(g()) / 4294967296.0; }
    template <class T, size_t N> const T& Of(const T (&row)[N]) { return row[Pick(N)]; }
    int Between(int least, int most) { return least + int(Pick(uint32_t(most - least + 1))); }
};

const char* Name(Spacing s)
{
    static const char* const names[] = {"right", "other units", "absent", "0",  "1.5x",
                                        "2x",    "1e-4 off",    "1/2",    "1/3", "3x"};
    return names[int(s)];
}
const char* Name(Gaps g)
{
    static const char* const names[] = {"no gap", "one gap", "every third missing", "15% missing",
                                        "gaps after records"};
    return names[int(g)];
}
const char* Name(Layout l)
{
    static const char* const names[] = {"as frames",     "absent",        "padded -999.25", "larger",
                                        "smaller",       "multiple",      "own size",       "padded zeros",
                                        "padded blanks", "padded changing", "padded a depth"};
    return names[int(l)];
}
const char* Name(Changing c)
{
    static const char* const names[] = {"a counter", "a counter every third 0", "a time", "the record's number"};
    return names[int(c)];
}
const char* Name(Words w)
{
    static const char* const names[] = {"rounded", "cut", "float-cut"};
    return names[int(w)];
}
const char* Name(Event e)
{
    static const char* const names[] = {"no event", "odd depth", "splice", "repeat section", "reversal", "splice back"};
    return names[int(e)];
}


// Feet in the depths' system.
double FeetOut(const Case& c, double feet) { return c.depth.metres ? feet * kFoot : feet; }

void AppendDepth(std::vector<uint8_t>& r, const Case& c, double depth)
{
    const double recorded = depth / c.depth.unit;
    if (c.depth.code != 68) return lisb::AppendValue(r, c.depth.code, std::round(recorded));
    uint8_t b[4];
    endian::PutBE32(b, Word68(recorded, c.words));
    r.insert(r.end(), b, b + 4);
}

// The depth a reader finds where `depth` was written.
double Recorded(const Case& c, double depth)
{
    const double recorded = depth / c.depth.unit;
    if (c.depth.code != 68) return std::round(recorded) * c.depth.unit;
    return Value68(Word68(recorded, c.words)) * c.depth.unit;
}

// The frame's channels and padding; `record` the data record's number from 0.
void AppendFrame(std::vector<uint8_t>& r, const Case& c, const std::vector<uint8_t>& others, const Frame& f,
                 uint32_t channelBytes, int record)
{
    if (!c.once) AppendDepth(r, c, f.depth);
    const size_t before = others.size() / 3, between = 2 * others.size() / 3;
    for (size_t i = 0; i < before; ++i) lisb::AppendValue(r, others[i], Other(f.index, others[i], int(i)));
    lisb::AppendValue(r, 68, Gr(f.index));
    for (size_t i = before; i < between; ++i) lisb::AppendValue(r, others[i], Other(f.index, others[i], int(i)));
    for (int s = 0; s < c.samples; ++s) lisb::AppendValue(r, 68, Fa(f.index, s));
    for (size_t i = between; i < others.size(); ++i)
        lisb::AppendValue(r, others[i], Other(f.index, others[i], int(i)));
    const size_t padding = r.size();
    if (c.layout == Layout::Padded)
        for (int w = 0; w < c.extra / 4; ++w) lisb::AppendValue(r, 68, -999.25);
    if (c.layout == Layout::Zeros) r.insert(r.end(), size_t(c.extra), 0);
    if (c.layout == Layout::Blanks) r.insert(r.end(), size_t(c.extra), 0x20);
    if (c.layout == Layout::OwnSize) r.insert(r.end(), channelBytes, 0);
    if (c.layout == Layout::Changing) {
        if (c.changing == Changing::Counter) lisb::AppendValue(r, 73, f.index + 1);
        if (c.changing == Changing::SomeZero) lisb::AppendValue(r, 73, f.index % 3 == 0 ? 0 : f.index + 1);
        if (c.changing == Changing::Time) lisb::AppendValue(r, 68, kTimeFirst + kTimeApart * f.index);
        if (c.changing == Changing::RecordNumber) lisb::AppendValue(r, 73, record + 1);
    }
    if (c.layout == Layout::HeldDepth) AppendDepth(r, c, f.depth + (c.up ? -1.0 : 1.0) * c.heldShare * c.StepOut());
    if (c.layout == Layout::Changing || c.layout == Layout::HeldDepth) r.resize(padding + size_t(c.extra), 0);
    if (f.index == c.strayFrame && padding + size_t(c.strayByte) < r.size())
        r[padding + size_t(c.strayByte)] ^= c.strayValue;
}

// The grid places written: gaps taken out.
std::vector<int> Places(const Case& c)
{
    Rng rng{std::mt19937(c.seed)};
    const int gapAt = c.grid / 4 + int(rng.Pick(uint32_t(std::max(1, c.grid / 2))));
    const int gapLength = 2 + int(rng.Pick(uint32_t(std::max(1, c.grid / 5))));
    std::vector<int> out;
    if (c.gaps == Gaps::AfterRecords) {
        for (size_t record = 0, j = 0; int(j) < c.grid; ++record) {
            for (int k = 0; k < c.perRecord && int(j) < c.grid; ++k) out.push_back(int(j++));
            j += record < c.gapAfter.size() ? size_t(c.gapAfter[record]) : 0;
        }
        return out;
    }
    for (int j = 0; j < c.grid; ++j) {
        const bool missing = (c.gaps == Gaps::OneGap && j >= gapAt && j < gapAt + gapLength)
                             || (c.gaps == Gaps::EveryThird && j % 3 == 2)
                             || (c.gaps == Gaps::RandomShare && j > 0 && rng.Pick(100) < kMissingPercent);
        if (!missing) out.push_back(j);
    }
    return out;
}

// Where each data record starts (frame numbers), and where the last one ends. Depth once,
// a record holds grid places in a row only.
std::vector<size_t> RecordStarts(const Case& c, const std::vector<int>& places)
{
    const size_t n = places.size();
    if (c.records == Records::Single) return {0, n};
    if (c.records == Records::Two) return {0, n / 2, n};
    std::vector<size_t> starts;
    for (size_t at = 0; at < n;) {
        starts.push_back(at);
        size_t end = at + 1;
        while (end < n && end - at < size_t(c.perRecord) && (!c.once || places[end] == places[end - 1] + 1)) ++end;
        at = end;
    }
    starts.push_back(n);
    return starts;
}

// A frame's channels, the depth channel included.
uint32_t ChannelBytes(const Case& c)
{
    uint32_t bytes = (c.once ? 0 : uint32_t(lisb::CodeSize(c.depth.code))) + 4 + 4 * uint32_t(c.samples);
    for (uint8_t code : OtherCodes(c)) bytes += uint32_t(lisb::CodeSize(code));
    return bytes;
}

// Where the case's event lies and how large it is; none where the log is too short for it.
void PlaceEvent(Case& c, Rng& rng)
{
    const std::vector<int> places = Places(c);
    const std::vector<size_t> starts = RecordStarts(c, places);
    const int n = int(places.size()), records = int(starts.size()) - 1;
    const double step = c.StepOut();
    const double u = rng.Unit();
    const uint32_t pick = uint32_t(rng.g());
    // A record start (depth once, or a repeat section) or a frame in the log's middle half.
    int at = -1;
    if (c.event == Event::Odd) {
        if (c.once && records >= 3) at = int(starts[1 + pick % uint32_t(records - 2)]);
        if (!c.once && n >= 3) at = 1 + int(pick % uint32_t(n - 2));
    } else if (c.once || c.event == Event::Repeat) {
        std::vector<int> middle;
        for (int r = 1; r < records; ++r)
            if (int(starts[size_t(r)]) >= n / 4 && int(starts[size_t(r)]) <= 3 * n / 4) middle.push_back(int(starts[size_t(r)]));
        if (middle.empty() && records >= 2) middle.push_back(int(starts[1]));
        if (!middle.empty()) at = middle[pick % middle.size()];
    }
    if (at < 0 && !c.once && c.event != Event::Odd && n >= 4) at = n / 4 + int(pick % uint32_t(n / 2));
    // How far the log came before the event: to the frame before, or depth once, to the
    // record before's depth, which the next goes back from.
    size_t before = at > 0 ? size_t(at - 1) : 0;
    if (c.once)
        for (size_t r = 0; r + 1 < starts.size() && int(starts[r]) < at; ++r) before = starts[r];
    const double covered = at > 0 ? (places[before] - places[0]) * step : 0.0;
    double size = 0;
    switch (c.event) {
    case Event::None: break;
    case Event::Odd:
        size = std::min(FeetOut(c, kOddLeast + (kOddMost - kOddLeast) * u), kOddShare * step);
        if (pick & 0x100) size = -size;
        break;
    case Event::Splice: size = (0.2 + 0.6 * u) * step; break;
    case Event::Repeat:
        size = std::round(std::min(FeetOut(c, kRepeatLeast * (1 + u)), 0.8 * covered) / step) * step;
        if (size < step) at = -1;
        break;
    case Event::Reversal:
        size = FeetOut(c, kReversal);
        if (size > covered) at = -1;
        break;
    case Event::SpliceBack: break; // a kind's, placed with its kind
    }
    if (at <= 0) {
        c.event = Event::None;
        return;
    }
    c.eventAt = at;
    c.eventSize = size;
}

void Entry8(const Case& c, Written& w)
{
    const double feet = c.step.metres ? c.step.value / kFoot : c.step.value;
    const double metres = c.step.metres ? c.step.value : c.step.value * kFoot;
    w.entry8Units = c.depth.units;
    w.entry8Factor = c.depth.unit;
    w.entry8Metres = c.depth.metres;
    w.entry8 = c.StepOut() / c.depth.unit;
    if (c.spacing == Spacing::OtherUnits) {
        w.entry8Units = c.depth.other;
        w.entry8Factor = c.depth.otherUnit;
        w.entry8Metres = !c.depth.metres;
        w.entry8 = (c.depth.metres ? feet : metres) / c.depth.otherUnit;
    }
    if (c.spacing == Spacing::Zero) w.entry8 = 0;
    if (c.spacing == Spacing::OneAndHalf) w.entry8 *= 1.5;
    if (c.spacing == Spacing::Twice) w.entry8 *= 2;
    if (c.spacing == Spacing::Thrice) w.entry8 *= 3;
    if (c.spacing == Spacing::Off) w.entry8 *= 1 + c.off;
    if (c.spacing == Spacing::Half) w.entry8 /= 2;
    if (c.spacing == Spacing::Third) w.entry8 /= 3;
}

uint32_t Declared(const Case& c, uint32_t channels)
{
    switch (c.layout) {
    case Layout::Padded:
    case Layout::Zeros:
    case Layout::Blanks:
    case Layout::Changing:
    case Layout::HeldDepth:
    case Layout::Larger: return channels + uint32_t(c.extra);
    case Layout::Smaller: return channels - 4;
    case Layout::Multiple:
    case Layout::OwnSize: return 2 * channels;
    default: return channels;
    }
}

// The DFSR of the case; EB 3 and EB 8 (with its units, EB 9) taken out where the case
// leaves them out.
std::vector<uint8_t> DfsrOf(const Case& c, const Written& w, int mostFrames)
{
    lisb::Dfsr d;
    d.depthOnce = c.once;
    d.depthCode = c.depth.code;
    d.depthUnits = c.depth.units;
    d.direction = uint8_t(c.up ? 1 : 255);
    d.spacing = w.entry8;
    d.spacingUnits = w.entry8Units;
    d.maxFrames = uint8_t(std::min(mostFrames, 255));
    d.frameSize = int64_t(w.declared);
    const std::vector<uint8_t> others = OtherCodes(c);
    const size_t before = others.size() / 3, between = 2 * others.size() / 3;
    const auto other = [&](size_t i) {
        return lisb::Channel(Format("X%03zu", i), "", uint16_t(lisb::CodeSize(others[i])), 1, others[i]);
    };
    for (size_t i = 0; i < before; ++i) d.channels.push_back(other(i));
    d.channels.push_back(lisb::Channel("GR", "GAPI"));
    for (size_t i = before; i < between; ++i) d.channels.push_back(other(i));
    d.channels.push_back(lisb::Channel("FA", "US", uint16_t(4 * c.samples), uint8_t(c.samples)));
    for (size_t i = between; i < others.size(); ++i) d.channels.push_back(other(i));
    std::vector<uint8_t> r = lisb::DfsrRecord(d);
    // Entry blocks (type, size, code, value) from byte 2 up to the type-0 one.
    for (size_t at = 2; at + 3 <= r.size() && r[at] != 0;) {
        const bool out = (r[at] == 3 && c.layout == Layout::Absent)
                         || ((r[at] == 8 || r[at] == 9) && c.spacing == Spacing::Absent);
        if (out) r.erase(r.begin() + long(at), r.begin() + long(at + 3 + r[at + 1]));
        else at += 3 + r[at + 1];
    }
    return r;
}

// The case's events in order: the first, then those of its kind.
std::vector<Mark> Marks(const Case& c)
{
    std::vector<Mark> marks;
    if (c.event == Event::None) return marks;
    marks.push_back({c.eventAt, c.eventSize});
    marks.insert(marks.end(), c.more.begin(), c.more.end());
    return marks;
}

// The frames at their depths: the grid from the first, its events applied.
std::vector<Frame> FramesOf(const Case& c, const std::vector<int>& places, const std::vector<size_t>& starts)
{
    const double step = c.StepOut(), sign = c.up ? -1.0 : 1.0;
    const double first = c.up ? c.shallow + (c.grid - 1) * step : c.shallow;
    const std::vector<Mark> marks = Marks(c);
    std::vector<Frame> frames;
    // The grid's move, the last frame's distance from the first, and its record's first
    // frame's: depth once, only the records' depths are written, and a repeat section or
    // reversal goes back from the record before's depth (its frames all kept).
    double shift = 0, along = 0, recordAlong = 0, oddSize = 0;
    int stretch = 0;
    size_t record = 0, oddRecord = starts.size(), next = 0;
    for (size_t j = 0; j < places.size(); ++j) {
        while (starts[record + 1] <= j) ++record;
        bool odd = false;
        if (next < marks.size() && marks[next].at == int(j)) {
            const double size = marks[next++].size;
            if (c.event == Event::Odd) {
                odd = true;
                oddSize = size;
                oddRecord = record;
            } else {
                ++stretch;
                const double from = c.once ? recordAlong : along;
                if (c.event == Event::Splice) shift += size;
                else if (c.event == Event::SpliceBack) shift -= size;
                else shift = from - size - places[j] * step;
            }
        }
        odd = odd || (c.event == Event::Odd && c.once && record == oddRecord);
        along = places[j] * step + shift;
        const double depth = first + sign * (along + (odd ? oddSize : 0.0));
        if (j == starts[record]) recordAlong = along;
        Frame f{int(j), places[j], depth, 0.0, int(j - starts[record]), stretch, odd, false};
        f.recorded = c.once && f.inRecord > 0 ? frames.back().recorded : Recorded(c, depth);
        frames.push_back(f);
    }
    if (!c.once)
        for (size_t j = 0; j + 1 < frames.size(); ++j) frames[j].dropped = frames[j].recorded == frames[j + 1].recorded;
    // Depth once, a record's last frame at the next record's depth is one depth with it.
    for (size_t r = 1; c.once && r + 1 < starts.size(); ++r) {
        Frame &last = frames[starts[r] - 1], &next = frames[starts[r]];
        last.dropped = std::fabs(last.depth - next.depth) <= kSameDepth * std::max(1.0, std::fabs(next.depth));
    }
    return frames;
}

// One case of the table: a pick of every row.
Case DrawTable(Rng& rng, int id)
{
    Case c;
    c.id = id;
    c.depth = rng.Of(kDepthCodes);
    c.step = rng.Of(kSteps);
    c.spacing = rng.Of(kSpacings);
    c.gaps = rng.Of(kGaps);
    c.up = rng.Pick(2) == 1;
    c.once = rng.Pick(2) == 1;
    c.layout = rng.Of(kLayouts);
    c.records = rng.Of(kRecords);
    c.perRecord = 1 + int(rng.Pick(rng.Pick(2) ? kShortRecords : kMaxPerRecord));
    // Depth once, one or two records hold places in a row.
    if (c.once && c.records != Records::Runs) c.gaps = Gaps::None;
    if (c.layout == Layout::Padded || c.layout == Layout::Larger || c.layout == Layout::Zeros)
        c.extra = (c.layout == Layout::Larger ? 8 : 4) + 4 * int(rng.Pick(2));
    c.words = rng.Of(kWords);
    c.samples = 2 + int(rng.Pick(3));
    c.others = rng.Pick(kOthersShare) == 0 ? 5 + int(rng.Pick(36)) : 0;
    const bool longest = c.records == Records::Runs && rng.Pick(kLongestShare) == 0;
    const bool longer = c.records == Records::Runs && rng.Pick(kLongShare) == 0;
    c.grid = longest  ? 10000 + int(rng.Pick(10001))
             : longer ? 1000 + int(rng.Pick(2001))
                      : kShortest + int(rng.Pick(kLongest - kShortest + 1));
    const bool fromZero = !c.up && rng.Pick(kFromZeroShare) == 0;
    const double shallowest = fromZero ? 0.0 : c.depth.shallow;
    const double room = c.depth.deep - shallowest;
    c.grid = std::min(c.grid, 1 + int(room * 0.9 / c.StepOut()));
    c.shallow = shallowest + (fromZero ? 0.0 : (room - (c.grid - 1) * c.StepOut()) * rng.Unit());
    c.event = rng.Of(kEvents);
    c.seed = uint32_t(rng.g());
    PlaceEvent(c, rng);
    return c;
}

// The log's length, `least` to `most` grid places (fewer where its depths have no room),
// and its place between `shallowest` and `deepest`.
void Lay(Case& c, Rng& rng, int least, int most, double shallowest, double deepest)
{
    c.grid = least + int(rng.Pick(uint32_t(most - least + 1)));
    const double room = deepest - shallowest;
    c.grid = std::max(2, std::min(c.grid, 1 + int(room * 0.9 / c.StepOut())));
    c.shallow = shallowest + (room - (c.grid - 1) * c.StepOut()) * rng.Unit();
}
void Lay(Case& c, Rng& rng, int least, int most) { Lay(c, rng, least, most, c.depth.shallow, c.depth.deep); }

// Record starts among frames [from, to], none where there is none.
std::vector<int> StartsWithin(const Case& c, int from, int to)
{
    std::vector<int> out;
    for (size_t at : RecordStarts(c, Places(c)))
        if (int(at) >= from && int(at) <= to) out.push_back(int(at));
    return out;
}

// `count` distinct numbers below `n` (all where there are no more), in order.
std::vector<int> Distinct(Rng& rng, int count, int n)
{
    std::vector<int> all(size_t(std::max(n, 0)));
    std::iota(all.begin(), all.end(), 0);
    for (size_t i = 0; i < all.size() && int(i) < count; ++i)
        std::swap(all[i], all[i + rng.Pick(uint32_t(all.size() - i))]);
    all.resize(std::min(all.size(), size_t(std::max(count, 0))));
    std::sort(all.begin(), all.end());
    return all;
}

// The depths' rounding where the code's logs lie deepest: an integer code's half unit, a
// code-68 word's unit (a cut word is off by up to one).
double Rounding(const Case& c)
{
    if (c.depth.code != 68) return 0.5 * c.depth.unit;
    int e = 0;
    std::frexp(c.depth.deep / c.depth.unit, &e);
    return std::ldexp(1.0, e - 23) * c.depth.unit;
}

// The kinds' odd depths lie far enough off their places that their code writes them off
// (past the rounding of the written depth and of the grid's, with one to spare), and
// within kOddShare of a step.
double OddLeast(const Case& c) { return std::max(FeetOut(c, kOddLeast), kOddRoundings * Rounding(c)); }
double OddMost(const Case& c) { return std::min(FeetOut(c, kOddMost), kOddShare * c.StepOut()); }

// Depth once, a splice back of `size` no further than leaves the record three roundings
// of the depths past the record before's depth, so that its code writes it inside that
// record, not on its depth.
double InsideBack(const Case& c, double size)
{
    return std::min(size, c.perRecord * c.StepOut() - 3 * Rounding(c));
}

// A step whose odd depths the code writes: the one drawn, or where its rounding is too
// coarse for any (1/120 ft in .1IN), another of the table's (0.5 ft suits every code).
void StepForOdds(Case& c, Rng& rng)
{
    for (int tries = 0; OddLeast(c) > OddMost(c); ++tries) c.step = tries < 20 ? rng.Of(kSteps) : Step{0.5, false};
}

// `count` odd depths (depth once, records' depths), none first or last, every other
// candidate at most so that a frame (record) on the grid lies between any two; depth
// once, records short enough that the log holds that many.
void PlaceOdds(Case& c, Rng& rng, int count)
{
    if (c.once) c.perRecord = std::min(c.perRecord, std::max(1, int(Places(c).size()) / (2 * count + 2)));
    std::vector<int> candidates;
    if (c.once) candidates = StartsWithin(c, 1, int(Places(c).size()) - 2);
    else
        for (int j = 1; j + 1 < int(Places(c).size()); ++j) candidates.push_back(j);
    std::vector<int> chosen;
    for (int i : Distinct(rng, count, (int(candidates.size()) + 1) / 2)) chosen.push_back(candidates[size_t(2 * i)]);
    c.event = chosen.empty() ? Event::None : Event::Odd;
    c.more.clear();
    for (size_t i = 0; i < chosen.size(); ++i) {
        double size = OddLeast(c) + (OddMost(c) - OddLeast(c)) * rng.Unit();
        if (rng.Pick(2)) size = -size;
        if (i == 0) c.eventAt = chosen[0], c.eventSize = size;
        else c.more.push_back({chosen[i], size});
    }
}

// The fewest frames of `c`'s step that make a whole number of its depth units, up to a
// record's most; 0 where none do.
int WholeUnits(const Case& c)
{
    const double units = c.StepOut() / c.depth.unit;
    for (int m = 1; m <= kMaxPerRecord; ++m)
        if (std::fabs(m * units - std::round(m * units)) < 1e-9) return m;
    return 0;
}

// Kind IntegerDepths: steps of half a unit or less; three records in four a whole number
// of units long, so that their depths are exact.
void DrawIntegerDepths(Case& c, Rng& rng)
{
    c.depth = rng.Of(kIntegerDepthCodes);
    const bool exact = rng.Pick(4) != 0;
    std::vector<Step> steps;
    for (const Step& s : kSteps) {
        c.step = s;
        if (c.StepOut() <= 0.5 * c.depth.unit + 1e-12 && (!exact || WholeUnits(c) > 0)) steps.push_back(s);
    }
    c.step = steps[rng.Pick(uint32_t(steps.size()))];
    const int whole = WholeUnits(c);
    c.perRecord = exact ? whole * (1 + int(rng.Pick(uint32_t(kMaxPerRecord / whole))))
                        : 2 + int(rng.Pick(kMaxPerRecord - 1));
    c.once = true;
    c.records = Records::Runs;
    c.gaps = rng.Pick(2) ? Gaps::None : Gaps::OneGap;
    c.spacing = rng.Of(kHeaderSpacings);
    c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
    Lay(c, rng, kShortest, kLongest);
}

// Kind SpliceBack: 8-40 records of 3-20 frames running on; one in their middle half starts
// inside the record before, 1.2 steps to that record's frames less 0.2 behind the place
// it would have started at.
void DrawSpliceBack(Case& c, Rng& rng)
{
    c.once = true;
    c.records = Records::Runs;
    c.gaps = Gaps::None;
    c.perRecord = 3 + int(rng.Pick(18));
    c.spacing = rng.Of(kHeaderSpacings);
    c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
    const int records = 8 + int(rng.Pick(33));
    Lay(c, rng, records * c.perRecord, records * c.perRecord);
    const std::vector<int> middle = StartsWithin(c, c.grid / 4, 3 * c.grid / 4);
    if (middle.empty()) return;
    c.event = Event::SpliceBack;
    c.eventAt = middle[rng.Pick(uint32_t(middle.size()))];
    c.eventSize = InsideBack(c, (1 + int(rng.Pick(uint32_t(c.perRecord - 1))) + 0.2 + 0.6 * rng.Unit()) * c.StepOut());
}

// Kind StrayPadding: depth once, padded frames; one byte of one frame's padding changed
// (padding of blanks: every other case).
void DrawStrayPadding(Case& c, Rng& rng)
{
    c.once = true;
    c.records = Records::Runs;
    c.spacing = rng.Of(kHeaderSpacings);
    c.layout = rng.Of(kPaddings);
    c.extra = c.layout == Layout::Blanks    ? 2 + int(rng.Pick(7))
              : c.layout == Layout::OwnSize ? 0
                                            : 4 + 4 * int(rng.Pick(2));
    Lay(c, rng, kShortest, kLongest);
    const int padding = c.layout == Layout::OwnSize ? int(ChannelBytes(c)) : c.extra;
    if (c.layout == Layout::Blanks && rng.Pick(2)) return;
    c.strayFrame = int(rng.Pick(uint32_t(Places(c).size())));
    c.strayByte = int(rng.Pick(uint32_t(padding)));
    c.strayValue = uint8_t(1 + rng.Pick(255));
    if (c.strayValue == 0x20) c.strayValue = 0x21;
}

// Kind ShortRepeats: two repeat sections at record starts, each going back whole steps,
// up to 0.8 of its stretch so far.
void PlaceRepeats(Case& c, Rng& rng)
{
    const std::vector<int> first = StartsWithin(c, c.grid / 5, c.grid / 2);
    if (first.empty()) return;
    const int at = first[rng.Pick(uint32_t(first.size()))];
    const std::vector<int> second = StartsWithin(c, at + 3, c.grid - 3);
    if (second.empty()) return;
    const int then = second[rng.Pick(uint32_t(second.size()))];
    const auto back = [&](int covered) { return double(1 + int(rng.Pick(uint32_t(std::max(1, covered * 4 / 5))))); };
    c.event = Event::Repeat;
    c.eventAt = at;
    c.eventSize = back(at - 1) * c.StepOut();
    c.more = {{then, back(then - 1 - at) * c.StepOut()}};
}

// The grid places from the first of `records` records of c.perRecord frames to the last,
// c.gapAfter's gaps between them.
int RecordsGrid(const Case& c, int records)
{
    int grid = records * c.perRecord;
    for (int g : c.gapAfter) grid += g;
    return grid;
}

// Depth once, the records laid between `shallowest` and `deepest`, all of them: where
// they have no room, the caller's pick must leave it.
void LayRecords(Case& c, Rng& rng, int records, double shallowest, double deepest)
{
    c.once = true;
    c.records = Records::Runs;
    c.gaps = Gaps::AfterRecords;
    const int grid = RecordsGrid(c, records);
    Lay(c, rng, grid, grid, shallowest, deepest);
}
// Within the code's own depths; where code 79's few hundred feet hold no such log, a
// code of 4 bytes (68 or 73, in the same system) takes it, so that no record is cut.
void LayRecords(Case& c, Rng& rng, int records)
{
    if (RecordsGrid(c, records) > 1 + int((c.depth.deep - c.depth.shallow) * 0.9 / c.StepOut()))
        c.depth = kDepthCodes[c.depth.metres ? 1 + 2 * rng.Pick(2) : 2 * rng.Pick(2)];
    LayRecords(c, rng, records, c.depth.shallow, c.depth.deep);
}

// Padding of 4 or 8 bytes.
int PaddingBytes(Rng& rng) { return 4 + 4 * int(rng.Pick(2)); }

// Depth once, the records' frames as they are, with EB 3 left out, or padded.
void PickRecordLayout(Case& c, Rng& rng)
{
    c.layout = rng.Of(kRecordLayouts);
    c.extra = c.layout == Layout::Padded ? PaddingBytes(rng) : 0;
}

// Kind ChangingPadding: depth once, one word of padding changing from frame to frame
// (with zeros after it in 8 bytes); one record-number log in two of one-frame records,
// whose padding then changes from frame to frame too.
void DrawChangingPadding(Case& c, Rng& rng)
{
    c.once = true;
    c.records = Records::Runs;
    c.gaps = rng.Pick(2) ? Gaps::None : Gaps::OneGap;
    c.spacing = rng.Of(kHeaderSpacings);
    c.layout = Layout::Changing;
    c.changing = rng.Of(kChangings);
    c.extra = PaddingBytes(rng);
    c.perRecord = c.changing == Changing::RecordNumber && rng.Pick(2) ? 1 : 1 + int(rng.Pick(kMaxPerRecord));
    Lay(c, rng, kShortest, kLongest);
}

// Kind HeldDepth: per-frame depths of 4 bytes (codes 68 and 73), the padding holding the
// depth a part of a step on (with zeros after it in 8 bytes).
void DrawHeldDepth(Case& c, Rng& rng)
{
    c.depth = kDepthCodes[rng.Pick(4)];
    c.once = false;
    c.records = Records::Runs;
    c.gaps = rng.Pick(2) ? Gaps::None : Gaps::OneGap;
    c.perRecord = rng.Between(kHeldRecordLeast, kHeldRecordMost);
    c.spacing = rng.Of(kHeaderSpacings);
    c.layout = Layout::HeldDepth;
    c.extra = PaddingBytes(rng);
    c.heldShare = kHeldLeast + (kHeldMost - kHeldLeast) * rng.Unit();
    Lay(c, rng, kHeldShortest, kHeldLongest);
}

// Kind RecordGaps: EB 8 right; a gap of one record's places after each record but one or
// two (deep, two to five).
void DrawRecordGaps(Case& c, Rng& rng)
{
    c.spacing = rng.Of(kRightSpacings);
    PickRecordLayout(c, rng);
    const bool deep = rng.Pick(kDeepGapShare) == 0;
    int records = rng.Between(kGapRecordsLeast, kGapRecordsMost);
    if (deep && rng.Pick(2)) {
        c.depth = kDepthCodes[0];
        c.step = {1.0 / 120, false};
    } else if (deep) {
        c.depth = rng.Of(kTwoUnitCodes);
        c.step = {2 * c.depth.unit, c.depth.metres};
    } else if (rng.Pick(kGapLongShare) == 0) {
        records = rng.Between(kGapLongLeast, kGapLongMost);
    }
    c.perRecord = deep ? rng.Between(kDeepGapFramesLeast, kDeepGapFramesMost) : rng.Between(1, kGapFramesMost);
    c.gapAfter.assign(size_t(records - 1), c.perRecord);
    const int gapless = deep ? rng.Between(kDeepGaplessLeast, kDeepGaplessMost)
                             : rng.Between(kGaplessLeast, kGaplessMost);
    for (int r : Distinct(rng, gapless, records - 1)) c.gapAfter[size_t(r)] = 0;
    if (deep && c.depth.code == 68) LayRecords(c, rng, records, kDeepGapShallowest, kDeepDeepest);
    else LayRecords(c, rng, records);
}

// Kind FewSpliceBack: no usable EB 8; one record starts 1 to (its frames - 1/2) steps,
// in half steps, behind the place it would have run on to: one step back, on the record
// before's last depth.
void DrawFewSpliceBack(Case& c, Rng& rng)
{
    c.spacing = rng.Of(kUnusableSpacings);
    PickRecordLayout(c, rng);
    c.perRecord = rng.Between(kFewFramesLeast, kFewFramesMost);
    const int records = rng.Between(kFewRecordsLeast, kFewRecordsMost);
    const int spliced = 1 + int(rng.Pick(uint32_t(records - 1)));
    c.gapAfter.assign(size_t(records - 1), 0);
    if (rng.Pick(kFewGapShare) == 0) {
        const int other = int(rng.Pick(uint32_t(records - 2)));
        c.gapAfter[size_t(other < spliced - 1 ? other : other + 1)] = 1 + int(rng.Pick(uint32_t(c.perRecord)));
    }
    LayRecords(c, rng, records);
    c.event = Event::SpliceBack;
    c.eventAt = spliced * c.perRecord;
    c.eventSize = InsideBack(c, 0.5 * (2 + int(rng.Pick(uint32_t(2 * c.perRecord - 2)))) * c.StepOut());
}

// Kind ThreeFrames: EB 8 3-10% too large or too small.
void DrawThreeFrames(Case& c, Rng& rng)
{
    c.spacing = Spacing::Off;
    c.off = (rng.Pick(2) ? 1 : -1) * (kTyOffLeast + (kTyOffMost - kTyOffLeast) * rng.Unit());
    c.once = rng.Pick(2) == 0;
    c.gaps = Gaps::None;
    c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
    c.perRecord = c.once ? rng.Between(kTyFramesLeast, kTyFramesMost) : 1 + int(rng.Pick(3));
    const int frames = c.once ? 3 * c.perRecord : 3;
    Lay(c, rng, frames, frames);
}

// Kind WideGaps: EB 8 1.5 times the step; after each record but one or two a gap of 1 to
// 1.25 times its frames.
void DrawWideGaps(Case& c, Rng& rng)
{
    c.spacing = Spacing::OneAndHalf;
    PickRecordLayout(c, rng);
    c.perRecord = rng.Between(kWideFramesLeast, kMaxPerRecord);
    const int records = rng.Between(kWideRecordsLeast, kWideRecordsMost);
    c.gapAfter.clear();
    for (int r = 0; r + 1 < records; ++r)
        c.gapAfter.push_back(1 + int(rng.Pick(uint32_t(c.perRecord + c.perRecord / 4))));
    for (int r : Distinct(rng, rng.Between(kGaplessLeast, kGaplessMost), records - 1))
        c.gapAfter[size_t(r)] = 0;
    LayRecords(c, rng, records);
}

// Kind TurnBack: EB 8 right, records running on; 2-3 of them (apart, or one after the
// other) start 1 step to two records' frames behind the record before's depth.
void DrawTurnBack(Case& c, Rng& rng)
{
    c.spacing = rng.Of(kRightSpacings);
    PickRecordLayout(c, rng);
    c.perRecord = rng.Between(kTurnFramesLeast, kTurnFramesMost);
    const int records = rng.Between(kTurnRecordsLeast, kTurnRecordsMost);
    c.gapAfter.assign(size_t(records - 1), 0);
    LayRecords(c, rng, records);
    const int count = rng.Between(kTurnsLeast, kTurnsMost);
    const std::vector<int> turns = Distinct(rng, count, records - 1);
    c.event = Event::Repeat;
    c.more.clear();
    for (int r : turns) {
        const Mark m{(r + 1) * c.perRecord, (1 + int(rng.Pick(uint32_t(2 * c.perRecord)))) * c.StepOut()};
        if (r == turns.front()) c.eventAt = m.at, c.eventSize = m.size;
        else c.more.push_back(m);
    }
}

// Kind GappedChanging: EB 8 right, padding changing from frame to frame, records of 2-10
// frames; after half the records or more a gap of 1-3 places, at random.
void DrawGappedChanging(Case& c, Rng& rng)
{
    c.spacing = rng.Of(kRightSpacings);
    c.layout = Layout::Changing;
    c.changing = rng.Of(kChangings);
    c.extra = PaddingBytes(rng);
    c.perRecord = rng.Between(kGcFramesLeast, kGcFramesMost);
    const int records = rng.Between(kGcRecordsLeast, kGcRecordsMost);
    c.gapAfter.assign(size_t(records - 1), 0);
    for (int r : Distinct(rng, rng.Between(records / 2, records - 1), records - 1))
        c.gapAfter[size_t(r)] = rng.Between(1, kGcGapMost);
    LayRecords(c, rng, records);
}

// Kind LongGaps: EB 8 0.01-0.1% off; 2-6 runs of 40-80 frames (depth once, one record
// each, one log in three) with gaps of 700-9,000 places between them, at a step whose
// depths have room for them.
void DrawLongGaps(Case& c, Rng& rng)
{
    c.depth = kDepthCodes[rng.Pick(4)];
    c.spacing = Spacing::Off;
    c.off = (rng.Pick(2) ? 1 : -1) * (kDriftLeast + (kDriftMost - kDriftLeast) * rng.Unit());
    c.once = rng.Pick(3) == 0;
    c.records = Records::Runs;
    c.gaps = Gaps::AfterRecords;
    c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
    c.perRecord = rng.Between(kLgRunLeast, kLgRunMost);
    const int runs = rng.Between(kLgRunsLeast, kLgRunsMost);
    c.gapAfter.clear();
    for (int r = 0; r + 1 < runs; ++r) c.gapAfter.push_back(rng.Between(kLgGapLeast, kLgGapMost));
    const int grid = RecordsGrid(c, runs);
    for (int tries = 0; tries < 20 && (grid - 1) * c.StepOut() > 0.9 * (c.depth.deep - c.depth.shallow); ++tries)
        c.step = rng.Of(kSteps);
    if ((grid - 1) * c.StepOut() > 0.9 * (c.depth.deep - c.depth.shallow)) c.step = {1.0 / 120, false};
    Lay(c, rng, grid, grid);
}

// Kind RightFewSplice: EB 8 right; 3-12 records of 3-20 frames running on; one or two
// start 1 step to their frames less 1/2 behind the place they would have run on to.
void DrawRightFewSplice(Case& c, Rng& rng)
{
    c.spacing = rng.Of(kRightSpacings);
    PickRecordLayout(c, rng);
    c.perRecord = rng.Between(kFewFramesLeast, kFewFramesMost);
    const int records = rng.Between(kRfRecordsLeast, kRfRecordsMost);
    c.gapAfter.assign(size_t(records - 1), 0);
    LayRecords(c, rng, records);
    const std::vector<int> spliced = Distinct(rng, rng.Between(1, 2), records - 1);
    c.event = Event::SpliceBack;
    c.more.clear();
    for (int r : spliced) {
        const Mark m{(r + 1) * c.perRecord,
                     InsideBack(c, 0.5 * (2 + int(rng.Pick(uint32_t(2 * c.perRecord - 2)))) * c.StepOut())};
        if (r == spliced.front()) c.eventAt = m.at, c.eventSize = m.size;
        else c.more.push_back(m);
    }
}

// Kind MultipleGaps: EB 8 1.5 or 3 times the step; 5-12 records of 3-40 frames, after
// each but one or two a gap of 1 place to 1.25 records' frames.
void DrawMultipleGaps(Case& c, Rng& rng)
{
    c.spacing = rng.Pick(2) ? Spacing::OneAndHalf : Spacing::Thrice;
    PickRecordLayout(c, rng);
    c.perRecord = rng.Between(kFewFramesLeast, kMaxPerRecord);
    const int records = rng.Between(kWideRecordsLeast, kMgRecordsMost);
    c.gapAfter.clear();
    for (int r = 0; r + 1 < records; ++r)
        c.gapAfter.push_back(1 + int(rng.Pick(uint32_t(c.perRecord + c.perRecord / 4))));
    for (int r : Distinct(rng, rng.Between(kGaplessLeast, kGaplessMost), records - 1)) c.gapAfter[size_t(r)] = 0;
    LayRecords(c, rng, records);
}

// Kind OtherIntegers: IntegerDepths with EB 8 right in the other system; one log in two
// per frame at a step of one unit.
void DrawOtherIntegers(Case& c, Rng& rng)
{
    DrawIntegerDepths(c, rng);
    c.spacing = Spacing::OtherUnits;
    if (rng.Pick(2)) {
        c.once = false;
        c.step = {1.0, c.depth.metres};
        Lay(c, rng, kShortest, kLongest);
    }
}

// Kinds IntegerSplices and SpliceUnderStep: per-frame .1IN (code 73 or 79) at a step of
// whole units; one or two splices, of 1-3 units (EB 8 a half, a third or 1.5 times the
// step) or of 0.15-0.85 of a step (EB 8 right), either way.
void DrawInchSplices(Case& c, Rng& rng)
{
    const bool units = c.kind == Kind::IntegerSplices;
    c.depth = kDepthCodes[rng.Pick(2) ? 2 : 4];
    c.step = rng.Of(kInchSteps);
    c.once = false;
    c.gaps = Gaps::None;
    c.spacing = units ? rng.Of(kSplicedSpacings) : Spacing::Right;
    c.layout = rng.Of(kRecordLayouts);
    c.extra = c.layout == Layout::Padded ? PaddingBytes(rng) : 0;
    Lay(c, rng, kSplicedShortest, kSplicedLongest);
    const int n = int(Places(c).size());
    const std::vector<int> at = Distinct(rng, rng.Between(1, 2), n / 2);
    c.event = Event::Splice;
    c.more.clear();
    for (int a : at) {
        const double size = (rng.Pick(2) ? 1 : -1)
                            * (units ? rng.Between(1, 3) * c.depth.unit
                                     : (kUnderLeast + (kUnderMost - kUnderLeast) * rng.Unit()) * c.StepOut());
        const Mark m{n / 4 + a, size};
        if (a == at.front()) c.eventAt = m.at, c.eventSize = m.size;
        else c.more.push_back(m);
    }
}

// One case of `kind`: the table's pick, with what the kind fixes drawn anew.
Case DrawKind(Rng& rng, int id, Kind kind)
{
    Case c = DrawTable(rng, id);
    c.kind = kind;
    c.event = Event::None;
    c.eventAt = 0;
    c.eventSize = 0;
    c.records = Records::Runs;
    c.extra = 0;
    switch (kind) {
    case Kind::Table: break;
    case Kind::IntegerDepths: DrawIntegerDepths(c, rng); break;
    case Kind::SpliceBack: DrawSpliceBack(c, rng); break;
    case Kind::StrayPadding: DrawStrayPadding(c, rng); break;
    case Kind::FractionOdd:
        c.spacing = rng.Pick(2) ? Spacing::Half : Spacing::Third;
        c.once = rng.Pick(3) == 0;
        c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
        StepForOdds(c, rng);
        Lay(c, rng, kShortest, kLongest);
        PlaceOdds(c, rng, 3 + int(rng.Pick(3)));
        break;
    case Kind::DeepHalf:
        c.depth = kDepthCodes[0];
        c.step = {1.0 / 120, false};
        c.spacing = Spacing::Half;
        c.once = false;
        c.gaps = Gaps::None;
        c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
        Lay(c, rng, kDeepLeast, kDeepMost, kDeepShallowest, kDeepDeepest);
        break;
    case Kind::Drifting:
        c.depth = kDepthCodes[rng.Pick(4)]; // codes 68 and 73: room for the longest logs
        c.once = false;
        c.spacing = Spacing::Off;
        c.off = (rng.Pick(2) ? 1 : -1) * (kDriftLeast + (kDriftMost - kDriftLeast) * rng.Unit());
        c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
        Lay(c, rng, kDriftShortest, kDriftLongest);
        break;
    case Kind::ShortRepeats:
        c.once = false;
        c.gaps = Gaps::None;
        c.perRecord = 2 + int(rng.Pick(7));
        c.spacing = rng.Of(kHeaderSpacings);
        c.layout = rng.Of(kFramePaddings);
        c.extra = c.layout == Layout::OwnSize ? 0 : 4 + 4 * int(rng.Pick(2));
        Lay(c, rng, kRepeatsLeast, kRepeatsMost);
        PlaceRepeats(c, rng);
        break;
    case Kind::ChangingPadding: DrawChangingPadding(c, rng); break;
    case Kind::HeldDepth: DrawHeldDepth(c, rng); break;
    case Kind::RecordGaps: DrawRecordGaps(c, rng); break;
    case Kind::FewSpliceBack: DrawFewSpliceBack(c, rng); break;
    case Kind::ThreeFrames: DrawThreeFrames(c, rng); break;
    case Kind::WideGaps: DrawWideGaps(c, rng); break;
    case Kind::HalfManyOdd:
        c.spacing = Spacing::Half;
        c.once = rng.Pick(3) == 0;
        c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
        StepForOdds(c, rng);
        Lay(c, rng, kManyOddShortest, kManyOddLongest);
        PlaceOdds(c, rng, rng.Between(kManyOddLeast, kManyOddMost));
        break;
    case Kind::TurnBack: DrawTurnBack(c, rng); break;
    case Kind::GappedChanging: DrawGappedChanging(c, rng); break;
    case Kind::HeldPairs:
        DrawHeldDepth(c, rng);
        c.perRecord = 2;
        break;
    case Kind::LongGaps: DrawLongGaps(c, rng); break;
    case Kind::RightFewSplice: DrawRightFewSplice(c, rng); break;
    case Kind::MultipleGaps: DrawMultipleGaps(c, rng); break;
    case Kind::OtherIntegers: DrawOtherIntegers(c, rng); break;
    case Kind::IntegerSplices:
    case Kind::SpliceUnderStep: DrawInchSplices(c, rng); break;
    case Kind::FiveFrames:
        c.once = false;
        c.gaps = Gaps::None;
        c.spacing = Spacing::Twice;
        c.layout = rng.Pick(2) ? Layout::AsFrames : Layout::Absent;
        c.perRecord = rng.Between(1, 5);
        Lay(c, rng, kFiveFrames, kFiveFrames);
        break;
    }
    return c;
}

// The gaps after records: those after the few records named where all others are
// alike, else each.
std::string GapsAfter(const std::vector<int>& gaps)
{
    const int most = gaps.empty() ? 0 : *std::max_element(gaps.begin(), gaps.end());
    const size_t none = size_t(std::count(gaps.begin(), gaps.end(), 0));
    if (most == 0) return ", records running on";
    std::string list;
    if (none + size_t(std::count(gaps.begin(), gaps.end(), most)) == gaps.size()) {
        const bool fewGaps = 2 * none >= gaps.size(); // name the records with a gap, else those without
        for (size_t r = 0; r < gaps.size(); ++r)
            if ((gaps[r] != 0) == fewGaps) list += Format(" %zu", r);
        return Format(fewGaps ? ", a gap of %d after record%s" : ", a gap of %d after each record but%s", most,
                      list.c_str());
    }
    for (int g : gaps) list += Format(" %d", g);
    return Format(", gaps after the records:%s", list.c_str());
}

} // namespace

double Case::StepOut() const
{
    if (step.metres == depth.metres) return step.value;
    return depth.metres ? step.value * kFoot : step.value / kFoot;
}

std::string Case::Describe() const
{
    const std::string records = this->records == Records::Single ? "one record"
                                : this->records == Records::Two  ? "two records"
                                                                 : Format("%d a record", perRecord);
    const char* system = depth.metres ? "m" : "ft";
    std::string what = Format("#%d code %u %s, %.6g %s step (%.6g %s), %d places from %.4f %s, %s, %s, %s %s, EB 8 %s, "
                              "EB 3 %s%s, FA %d samples, %d other channels, words %s, %s",
                              id, unsigned(depth.code), depth.units, step.value, step.metres ? "m" : "ft", StepOut(),
                              system, grid, up ? shallow + (grid - 1) * StepOut() : shallow, system, up ? "up" : "down",
                              Name(gaps), once ? "depth once," : "per-frame depths,", records.c_str(),
                              spacing == Spacing::Off && off != 1e-4 ? Format("%+.3g%% off", off * 100).c_str()
                                                                     : Name(spacing),
                              Name(layout), extra ? Format(" %+d", extra).c_str() : "", samples, others, Name(words),
                              Name(event));
    if (event != Event::None) what += Format(" of %.4g %s at frame %d", eventSize, system, eventAt);
    for (const Mark& m : more) what += Format(", %.4g %s at frame %d", m.size, system, m.at);
    if (strayFrame >= 0) what += Format(", byte %d of frame %d's padding ^ 0x%02x", strayByte, strayFrame, strayValue);
    if (layout == Layout::Changing) what += Format(", padding %s", Name(changing));
    if (layout == Layout::HeldDepth) what += Format(", padding %.3g steps on", heldShare);
    if (gaps == Gaps::AfterRecords) what += GapsAfter(gapAfter);
    if (kind != Kind::Table) what = Format("[%s] ", KindName(kind)) + what;
    return what;
}

bool NewFamily(Kind k) { return std::find(std::begin(kNewKinds), std::end(kNewKinds), k) != std::end(kNewKinds); }

std::vector<Case> Draw(uint32_t seed, int count, int kindCount, int newCount)
{
    Rng rng{std::mt19937(seed)};
    std::vector<Case> out;
    for (int id = 0; id < count; ++id) out.push_back(DrawTable(rng, id));
    // Of every round of all kinds, the earlier kinds' share.
    const size_t all = std::size(kKinds) + std::size(kLaterKinds);
    int earlier = 0;
    for (int k = 0; k < kindCount; ++k) earlier += size_t(k) % all < std::size(kKinds) ? 1 : 0;
    Rng kinds{std::mt19937(seed ^ kKindSeed)};
    for (int k = 0; k < earlier; ++k) out.push_back(DrawKind(kinds, count + k, kKinds[size_t(k) % std::size(kKinds)]));
    Rng later{std::mt19937(seed ^ kLaterKindSeed)};
    for (int k = 0; k < kindCount - earlier; ++k)
        out.push_back(DrawKind(later, count + earlier + k, kLaterKinds[size_t(k) % std::size(kLaterKinds)]));
    Rng fresh{std::mt19937(seed ^ kNewKindSeed)};
    for (int k = 0; k < newCount; ++k)
        out.push_back(DrawKind(fresh, count + kindCount + k, kNewKinds[size_t(k) % std::size(kNewKinds)]));
    return out;
}

Written Write(const Case& c)
{
    Written w;
    const std::vector<uint8_t> others = OtherCodes(c);
    w.channelBytes = ChannelBytes(c);
    w.declared = Declared(c, w.channelBytes);
    Entry8(c, w);
    const std::vector<int> places = Places(c);
    const std::vector<size_t> starts = RecordStarts(c, places);
    w.frames = FramesOf(c, places, starts);
    w.records = int(starts.size()) - 1;
    int mostFrames = 0;
    for (int r = 0; r < w.records; ++r) mostFrames = std::max(mostFrames, int(starts[size_t(r + 1)] - starts[size_t(r)]));
    LisBuilder b;
    b.FileHeader("SWEEP .001").Record(DfsrOf(c, w, mostFrames));
    bool anyNext = false, allFill = true;
    for (int r = 0; r < w.records; ++r) {
        const size_t at = starts[size_t(r)], end = starts[size_t(r + 1)];
        std::vector<uint8_t> bytes{0, 0};
        if (c.once) AppendDepth(bytes, c, w.frames[at].depth);
        for (size_t k = at; k < end; ++k) AppendFrame(bytes, c, others, w.frames[k], w.channelBytes, r);
        const size_t frameBytes = bytes.size() - 2 - (c.once ? size_t(lisb::CodeSize(c.depth.code)) : 0);
        w.recordsWholeInDeclared = w.recordsWholeInDeclared && frameBytes % w.declared == 0;
        w.recordsWholeInChannels = w.recordsWholeInChannels && frameBytes % w.channelBytes == 0;
        b.Record(bytes, std::vector<size_t>((bytes.size() - 1) / kPhysicalBody, kPhysicalBody));
        // Depth once, what each layout's frames make of the distance to the next record
        // on the same grid.
        if (!c.once || end == w.frames.size()) continue;
        const Frame &first = w.frames[at], &next = w.frames[end];
        if (first.odd || next.odd || first.stretch != next.stretch) continue;
        const size_t distance = size_t(next.place - first.place);
        anyNext = true;
        w.recordsRunOn = w.recordsRunOn || distance == end - at;
        w.channelsRunPast = w.channelsRunPast || frameBytes > distance * w.channelBytes;
        w.declaredRunPast = w.declaredRunPast || frameBytes > distance * w.declared;
        allFill = allFill && frameBytes == distance * w.channelBytes;
    }
    w.channelsFillGaps = anyNext && allFill && !w.recordsRunOn;
    b.FileTrailer("SWEEP .001");
    w.bytes = b.Bytes();
    return w;
}

const char* KindName(Kind k)
{
    static const char* const names[] = {"table",           "integer depths", "splice back",      "stray padding",
                                        "fraction odd",    "deep half",      "drifting EB 8",    "short repeats",
                                        "changing padding", "held depth",    "record gaps",      "few splice back",
                                        "three frames",    "wide gaps",      "half many odd",    "turn back",
                                        "gapped changing", "held pairs",     "long gaps",        "right few splice",
                                        "multiple gaps",   "other integers", "integer splices",  "splice under step",
                                        "five frames"};
    return names[int(k)];
}

double Gr(int index) { return index + 0.5; }
double Fa(int index, int sample) { return index * 8.0 + sample; }

double Other(int index, uint8_t code, int channel)
{
    if (code == 79) return 1 + (index * 7 + channel * 131) % 30000;
    if (code == 73) return 100000 + index * 13 + channel;
    return 1 + index * 0.5 + channel;
}

// The first third lie before GR, the next third between GR and FA, the rest after FA.
std::vector<uint8_t> OtherCodes(const Case& c)
{
    std::vector<uint8_t> codes;
    for (int i = 0; i < c.others; ++i) codes.push_back(kOtherCodes[(uint32_t(i) + c.seed) % 3]);
    return codes;
}

uint32_t Word68(double value, Words how)
{
    if (how == Words::FloatCut) return lisb::Code68(value);
    if (value == 0.0) return 0;
    int e = 0;
    const double scaled = std::ldexp(std::frexp(std::fabs(value), &e), 23); // 2^22 <= scaled < 2^23
    uint32_t fraction = uint32_t(how == Words::Rounded ? std::round(scaled) : std::trunc(scaled));
    if (fraction == 1u << 23) { // rounded up to the next power of two
        fraction >>= 1;
        ++e;
    }
    const uint32_t exponent = uint32_t(e + 128) & 0xFF;
    if (value > 0) return exponent << 23 | fraction;
    return 0x80000000u | (~exponent & 0xFF) << 23 | ((0x800000u - fraction) & 0x7FFFFF);
}

double Value68(uint32_t word)
{
    uint32_t exponent = word >> 23 & 0xFF, fraction = word & 0x7FFFFF;
    const bool negative = word & 0x80000000u;
    if (negative) {
        exponent = ~exponent & 0xFF;
        fraction = 0x800000u - fraction;
    }
    const double magnitude = std::ldexp(double(fraction), int(exponent) - 128 - 23);
    return negative ? -magnitude : magnitude;
}

} // namespace sweep
