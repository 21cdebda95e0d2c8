#include "support/LisSweep.h"

#include "platform/Endian.h"
#include "platform/Format.h"
#include "support/LisBuilder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>

namespace sweep {

namespace {

constexpr double kFoot = 0.3048;

// The table of dimensions: each case picks one value of every row (and, below, a
// record length, FA's samples, the extra bytes of EB 3, the log's length and place).
// Code 79 holds 32,767 .1IN at most: its logs lie within 50-270 ft.
constexpr DepthCode kDepthCodes[] = {
    {68, "F", false, 1.0, 1000, 28000, "M", 1.0},         {68, "M", true, 1.0, 300, 8500, "F", 1.0},
    {73, ".1IN", false, 1.0 / 120, 1000, 28000, ".5MM", 0.0005},
    {73, ".5MM", true, 0.0005, 300, 8500, ".1IN", 1.0 / 120}, {79, ".1IN", false, 1.0 / 120, 50, 270, ".5MM", 0.0005},
};
constexpr Step kSteps[] = {{0.5, false},    {0.25, false}, {1.0 / 12, false}, {1.0 / 120, false},
                           {0.1524, true},  {0.1, true},   {0.0762, true},    {0.0254, true}};
constexpr Spacing kSpacings[] = {Spacing::Right, Spacing::OtherUnits, Spacing::Absent,
                                 Spacing::Zero,  Spacing::OneAndHalf, Spacing::Twice};
constexpr Gaps kGaps[] = {Gaps::None, Gaps::OneGap, Gaps::EveryThird, Gaps::RandomShare};
constexpr Layout kLayouts[] = {Layout::AsFrames, Layout::Absent,   Layout::Padded, Layout::Larger,
                               Layout::Smaller,  Layout::Multiple, Layout::OwnSize};
constexpr Words kWords[] = {Words::Rounded, Words::Cut, Words::FloatCut};
constexpr int kMaxPerRecord = 6, kShortest = 50, kLongest = 400, kLongShare = 20, kMissingPercent = 15;

// Uniform picks of our own: the standard distributions differ between libraries.
struct Rng {
    std::mt19937 g;
    uint32_t Pick(uint32_t n) { return uint32_t(g() % n); }
    double Unit() { return double(g()) / 4294967296.0; }
    template <class T, size_t N> const T& Of(const T (&row)[N]) { return row[Pick(N)]; }
};

const char* Name(Spacing s)
{
    static const char* const names[] = {"right", "other units", "absent", "0", "1.5x", "2x"};
    return names[int(s)];
}
const char* Name(Gaps g)
{
    static const char* const names[] = {"no gap", "one gap", "every third missing", "15% missing"};
    return names[int(g)];
}
const char* Name(Layout l)
{
    static const char* const names[] = {"as frames", "absent", "padded", "larger", "smaller", "multiple", "own size"};
    return names[int(l)];
}
const char* Name(Words w)
{
    static const char* const names[] = {"rounded", "cut", "float-cut"};
    return names[int(w)];
}

void AppendDepth(std::vector<uint8_t>& r, const Case& c, double depth)
{
    const double recorded = depth / c.depth.unit;
    if (c.depth.code != 68) return lisb::AppendValue(r, c.depth.code, std::round(recorded));
    uint8_t b[4];
    endian::PutBE32(b, Word68(recorded, c.words));
    r.insert(r.end(), b, b + 4);
}

void AppendFrame(std::vector<uint8_t>& r, const Case& c, const Frame& f, uint32_t channelBytes)
{
    if (!c.once) AppendDepth(r, c, f.depth);
    lisb::AppendValue(r, 68, Gr(f.index));
    for (int s = 0; s < c.samples; ++s) lisb::AppendValue(r, 68, Fa(f.index, s));
    if (c.layout == Layout::Padded)
        for (int w = 0; w < c.extra / 4; ++w) lisb::AppendValue(r, 68, -999.25);
    if (c.layout == Layout::OwnSize) r.insert(r.end(), channelBytes, 0);
}

// The grid places written: gaps taken out.
std::vector<int> Places(const Case& c)
{
    Rng rng{std::mt19937(c.seed)};
    const int gapAt = c.grid / 4 + int(rng.Pick(uint32_t(c.grid / 2)));
    const int gapLength = 2 + int(rng.Pick(uint32_t(c.grid / 5)));
    std::vector<int> out;
    for (int j = 0; j < c.grid; ++j) {
        const bool missing = (c.gaps == Gaps::OneGap && j >= gapAt && j < gapAt + gapLength)
                             || (c.gaps == Gaps::EveryThird && j % 3 == 2)
                             || (c.gaps == Gaps::RandomShare && j > 0 && rng.Pick(100) < kMissingPercent);
        if (!missing) out.push_back(j);
    }
    return out;
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
}

uint32_t Declared(const Case& c, uint32_t channels)
{
    switch (c.layout) {
    case Layout::Padded:
    case Layout::Larger: return channels + uint32_t(c.extra);
    case Layout::Smaller: return channels - 4;
    case Layout::Multiple:
    case Layout::OwnSize: return 2 * channels;
    default: return channels;
    }
}

// The DFSR of the case; EB 3 and EB 8 (with its units, EB 9) taken out where the case
// leaves them out.
std::vector<uint8_t> DfsrOf(const Case& c, const Written& w)
{
    lisb::Dfsr d;
    d.depthOnce = c.once;
    d.depthCode = c.depth.code;
    d.depthUnits = c.depth.units;
    d.direction = uint8_t(c.up ? 1 : 255);
    d.spacing = w.entry8;
    d.spacingUnits = w.entry8Units;
    d.maxFrames = uint8_t(c.perRecord);
    d.frameSize = int64_t(w.declared);
    d.channels = {lisb::Channel("GR", "GAPI"), lisb::Channel("FA", "US", uint16_t(4 * c.samples), uint8_t(c.samples))};
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

} // namespace

double Case::StepOut() const
{
    if (step.metres == depth.metres) return step.value;
    return depth.metres ? step.value * kFoot : step.value / kFoot;
}

std::string Case::Describe() const
{
    return Format("#%d code %u %s, %.6g %s step (%.6g %s), %d places from %.4f %s, %s, %s %d a record, EB 8 %s, "
                  "EB 3 %s%s, FA %d samples, words %s",
                  id, unsigned(depth.code), depth.units, step.value, step.metres ? "m" : "ft", StepOut(),
                  depth.metres ? "m" : "ft", grid, up ? shallow + (grid - 1) * StepOut() : shallow, up ? "up" : "down",
                  Name(gaps), once ? "depth once," : "per-frame depths,", perRecord, Name(spacing), Name(layout),
                  extra ? Format(" %+d", extra).c_str() : "", samples, Name(words));
}

std::vector<Case> Draw(uint32_t seed, int count)
{
    Rng rng{std::mt19937(seed)};
    std::vector<Case> out;
    for (int id = 0; id < count; ++id) {
        Case c;
        c.id = id;
        c.depth = rng.Of(kDepthCodes);
        c.step = rng.Of(kSteps);
        c.spacing = rng.Of(kSpacings);
        c.gaps = rng.Of(kGaps);
        c.up = rng.Pick(2) == 1;
        c.once = rng.Pick(2) == 1;
        c.layout = rng.Of(kLayouts);
        c.perRecord = c.layout == Layout::OwnSize && !c.once ? 1 : 1 + int(rng.Pick(kMaxPerRecord));
        if (c.layout == Layout::Padded || c.layout == Layout::Larger)
            c.extra = (c.layout == Layout::Padded ? 4 : 8) + 4 * int(rng.Pick(2));
        c.words = rng.Of(kWords);
        c.samples = 2 + int(rng.Pick(3));
        c.grid = rng.Pick(kLongShare) == 0 ? 1000 + int(rng.Pick(2001))
                                           : kShortest + int(rng.Pick(kLongest - kShortest + 1));
        const double room = c.depth.deep - c.depth.shallow;
        c.grid = std::min(c.grid, 1 + int(room * 0.9 / c.StepOut()));
        c.shallow = c.depth.shallow + (room - (c.grid - 1) * c.StepOut()) * rng.Unit();
        c.seed = uint32_t(rng.g());
        out.push_back(c);
    }
    return out;
}

Written Write(const Case& c)
{
    Written w;
    w.channelBytes = (c.once ? 0 : uint32_t(lisb::CodeSize(c.depth.code))) + 4 + 4 * uint32_t(c.samples);
    w.declared = Declared(c, w.channelBytes);
    Entry8(c, w);
    LisBuilder b;
    b.FileHeader("SWEEP .001").Record(DfsrOf(c, w));
    const double first = c.up ? c.shallow + (c.grid - 1) * c.StepOut() : c.shallow;
    const double step = c.up ? -c.StepOut() : c.StepOut();
    const std::vector<int> places = Places(c);
    for (size_t at = 0; at < places.size();) {
        // A record of up to perRecord frames; depth once, of grid places in a row only.
        size_t end = at + 1;
        while (end < places.size() && end - at < size_t(c.perRecord) && (!c.once || places[end] == places[end - 1] + 1))
            ++end;
        std::vector<uint8_t> r{0, 0};
        if (c.once) AppendDepth(r, c, first + places[at] * step);
        for (size_t k = at; k < end; ++k) {
            w.frames.push_back({places[k], first + places[k] * step, int(k - at)});
            AppendFrame(r, c, w.frames.back(), w.channelBytes);
        }
        const size_t frameBytes = r.size() - 2 - (c.once ? size_t(lisb::CodeSize(c.depth.code)) : 0);
        w.recordsWholeInDeclared = w.recordsWholeInDeclared && frameBytes % w.declared == 0;
        w.recordsWholeInChannels = w.recordsWholeInChannels && frameBytes % w.channelBytes == 0;
        b.Record(r);
        if (end < places.size()) {
            w.recordsRunOn = w.recordsRunOn || places[end] == places[end - 1] + 1;
            w.channelsRunPast = w.channelsRunPast || frameBytes > size_t(places[end] - places[at]) * w.channelBytes;
        }
        at = end;
    }
    b.FileTrailer("SWEEP .001");
    w.bytes = b.Bytes();
    return w;
}

double Gr(int index) { return index + 0.5; }
double Fa(int index, int sample) { return index * 8.0 + sample; }

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
