// A sweep of LIS logs of known truth, drawn with a fixed seed from one table of
// dimensions and as kinds of log readers have read wrong (support/LisSweep.h), each
// converted through the scan and Lis to Qtx and judged against the truth: every frame
// written is read, in order, with its own values in every channel, at its depth within
// what its depth code holds (a per-frame depth as the file records it, odd or going
// back; a depth-once frame from its record's depth at the step), but for the earlier of
// two frames of one depth (per frame, or a depth-once record's last frame on the next
// record's depth), which the reader drops. The data set's step holds over the run: from
// the read depth of the first frame, top + k x step lies within the depths' precision of
// every true depth to the last frame, over the longest stretch on one grid (a splice,
// repeat section or reversal starts another; odd depths are judged as frames only); and
// over the whole run from the file's first frame to its last, its miss times the steps
// between their true depths stays within 0.01 ft or m. The fast samples are spaced by
// that step. A case is left out only where its bytes are as well those of another log,
// which the truth and the bytes tell (Undecidable). Where EB 8 neither gives nor names the
// step, the log's step is the coarsest that lays the recorded depths (LogStep): a finer
// one lays them too, with a gap after every frame. A reading at another step is judged as
// that log's only where no coarser step lays them, or it is an EB 8 that lays them
// (Allows), its depths the truth's or on its own grid within what the bytes leave. A case
// whose log does not show what its kind promises (Promises) fails the test: it would pass
// without trying anything. Each kind may fail its known share (kKnownFailures) of the
// cases a run judges, over five seeds by default.
// LIS_SWEEP_LIST=<path> writes "<seed>/<case> <PASS|FAIL|LEFT-OUT|UNKEPT> <why> | <case>"
// a line, so that two builds can be compared case by case.
#include "lis/LisParamScan.h"
#include "lis/LisToQtx.h"

#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/LisSweep.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>

namespace {

using sweep::Case;
using sweep::Event;
using sweep::Gaps;
using sweep::Layout;
using sweep::Spacing;
using sweep::Written;

// Five seeds from kSeed, each drawing kCases of the table, kKindCases of the kinds in turn
// (3 of each of the 15) and kNewCases of the new family (3 of each of its 9): about the
// cases and the time one seed of 300, 300 and 54 took, over draws that no one seed's luck
// decides. Other draws for a longer look: LIS_SWEEP_SEED (the first seed),
// LIS_SWEEP_SEEDS (how many from it, or a list: "786,787,788"), LIS_SWEEP_CASES,
// LIS_SWEEP_KINDS and LIS_SWEEP_NEW (each seed's).
constexpr uint32_t kSeed = 20240131;
constexpr int kSeeds = 5, kCases = 60, kKindCases = 45, kNewCases = 27;
// Seeds whose kinds are written (not read) to see that each keeps its promise.
constexpr uint32_t kKindSeeds = 5;

uint32_t FromEnvironment(const char* name, uint32_t otherwise)
{
    const char* text = std::getenv(name);
    return text && *text ? uint32_t(std::strtoul(text, nullptr, 10)) : otherwise;
}

std::vector<uint32_t> Seeds()
{
    const uint32_t first = FromEnvironment("LIS_SWEEP_SEED", kSeed);
    const char* text = std::getenv("LIS_SWEEP_SEEDS");
    std::vector<uint32_t> seeds;
    if (text && std::strpbrk(text, ", ")) {
        for (const char* at = text; *at;) {
            char* end = nullptr;
            const unsigned long seed = std::strtoul(at, &end, 10);
            if (end == at) ++at;
            else seeds.push_back(uint32_t(seed)), at = end;
        }
        return seeds;
    }
    const uint32_t count = FromEnvironment("LIS_SWEEP_SEEDS", kSeeds);
    for (uint32_t k = 0; k < count; ++k) seeds.push_back(first + k);
    return seeds;
}
constexpr double kFoot = 0.3048;

// One unit of a code-68 word's 23-bit fraction at `x`, and half a float's last place.
double Unit68(double x)
{
    int e = 0;
    std::frexp(std::fabs(x), &e);
    return std::ldexp(1.0, e - 23);
}
double HalfUlp32(double x)
{
    int e = 0;
    std::frexp(std::fabs(x), &e);
    return std::ldexp(1.0, e - 25);
}

// What a depth code holds of a depth (feet or metres): a code-68 word one unit of its
// fraction, an integer code half a unit.
double CodeRounding(const Case& c, double depth)
{
    return c.depth.code == 68 ? Unit68(depth / c.depth.unit) * c.depth.unit : 0.5 * c.depth.unit;
}

// How far a depth may lie from its truth: its code's rounding, and the output may round
// it to a float.
double DepthPrecision(const Case& c, double depth) { return CodeRounding(c, depth) + HalfUlp32(depth); }

// The frames the step is judged over: the longest stretch on one grid (between the
// log's start or end and a splice, repeat section or reversal), odd depths and frames
// the reader drops left out; and what the depths hold there.
struct Stretch {
    std::vector<size_t> frames; // into Written::frames, in order
    int places = 0;             // from the first to the last
    int measured = 0;           // the places the step can be measured over: depth once, from
                                // the first record's depth to the last's
    double precision = 0;       // of a depth code at the deepest frame (no float rounding)
    double unit = 0;            // a step's allowance over the places measured, times them
};

Stretch StretchOf(const Case& c, const Written& w)
{
    Stretch s;
    std::vector<int> from, to;
    double deepest = 0;
    for (const sweep::Frame& f : w.frames) {
        deepest = std::max(deepest, std::fabs(f.depth));
        if (f.odd || f.dropped) continue;
        if (size_t(f.stretch) >= from.size()) {
            from.resize(size_t(f.stretch) + 1, -1);
            to.resize(size_t(f.stretch) + 1, -1);
        }
        if (from[size_t(f.stretch)] < 0) from[size_t(f.stretch)] = f.place;
        to[size_t(f.stretch)] = f.place;
    }
    int longest = 0, span = -1; // the first of equal ones
    for (size_t k = 0; k < from.size(); ++k)
        if (from[k] >= 0 && to[k] - from[k] > span) longest = int(k), span = to[k] - from[k];
    for (size_t i = 0; i < w.frames.size(); ++i)
        if (w.frames[i].stretch == longest && !w.frames[i].odd && !w.frames[i].dropped) s.frames.push_back(i);
    s.places = std::max(span, 0);
    for (size_t i : s.frames)
        if (!c.once || w.frames[i].inRecord == 0) s.measured = w.frames[i].place - w.frames[s.frames.front()].place;
    s.precision = c.depth.code == 68 ? Unit68(deepest / c.depth.unit) * c.depth.unit : 0.5 * c.depth.unit;
    // Two depths each within their precision give a step to one integer unit, or one
    // code-68 unit, over the places between them.
    s.unit = c.depth.code == 68 ? s.precision : c.depth.unit;
    return s;
}

// Where `top + k x step` (k the grid places from the stretch's first frame) misses a
// frame's true depth by more than the depths' precision (beyond the top's own miss, which
// the frames are judged by); empty where it holds to the
// last frame. Depth once, only a record's depth is in the file: its later frames may
// stray by the step's allowance over their places in the record.
std::string StepMisses(const Case& c, const Written& w, const Stretch& s, double top, double step)
{
    if (s.frames.empty()) return "";
    const sweep::Frame& first = w.frames[s.frames.front()];
    const double sign = c.up ? -1.0 : 1.0;
    for (size_t i : s.frames) {
        const sweep::Frame& f = w.frames[i];
        const int k = f.place - first.place;
        const double at = top + sign * k * step;
        // The top's own rounding is the frames' judge's; here only what the step adds.
        const double allowed = s.precision + std::fabs(top - first.depth) + HalfUlp32(f.depth) + k * HalfUlp32(step)
                               + (c.once && s.measured > 0 ? f.inRecord * s.unit / s.measured : 0.0);
        if (!(std::fabs(at - f.depth) <= allowed))
            return Format("top %.6f + %d x step %.9g = %.6f for frame %d at %.6f (off %.3g, allowed %.3g); ", top, k,
                          step, at, f.index, f.depth, at - f.depth, allowed);
    }
    return "";
}

// How far a frame's depth may lie from its truth: what its depth code holds, and depth
// once, frame k of a record standing k steps from the record's depth, the step's
// allowance k times.
double FrameAllowance(const Case& c, const Stretch& s, const sweep::Frame& f)
{
    const int k = c.once ? f.inRecord : 0;
    const double stepAllowance = s.measured > 0 ? s.unit / s.measured + HalfUlp32(c.StepOut()) : 0.0;
    return DepthPrecision(c, std::fabs(f.depth) + k * c.StepOut()) // no shallower than its record's
           + k * (stepAllowance + c.StepOut() * FLT_EPSILON);
}

// The header's step against the truth: within 1e-4 or 0.1% of it, and over the whole
// run within 0.01 ft or m, where a step's miss is multiplied by the steps between the
// file's first and last true depths (so a step rounded to four places that drifts a long
// log's frames fails); but no closer than the depths' rounding holds it over the places
// it can be measured on (two records, a short stretch between repeat sections, three
// frames).
constexpr double kStepLeast = 1e-4, kStepShare = 1e-3, kOverRun = 0.01;

std::string JudgeRun(const Case& c, const Written& w, const Stretch& s, double step)
{
    const double truth = c.StepOut(), miss = std::fabs(step - truth);
    const double steps = std::round(std::fabs(w.frames.back().depth - w.frames.front().depth) / truth);
    const double held = s.measured > 0 ? s.unit / s.measured : 0.0; // what the bytes hold of the step
    if (miss <= std::max({kStepLeast, truth * kStepShare, held}) && miss * steps <= std::max(kOverRun, held * steps))
        return "";
    return Format("step %.9g for %.9g: off %.3g over the run of %.0f steps; ", step, truth, miss * steps, steps);
}

// The anchors of each stretch (`oneGrid`: of the whole log, as if on one grid), the
// depths the file records: every frame's, or depth once each record's first; odd depths
// and frames the reader drops left out.
std::vector<std::vector<size_t>> AnchorsOf(const Case& c, const Written& w, bool oneGrid = false)
{
    std::vector<std::vector<size_t>> out;
    for (size_t i = 0; i < w.frames.size(); ++i) {
        const sweep::Frame& f = w.frames[i];
        if (f.odd || f.dropped || (c.once && f.inRecord > 0)) continue;
        const size_t stretch = oneGrid ? 0 : size_t(f.stretch);
        if (stretch >= out.size()) out.resize(stretch + 1);
        out[stretch].push_back(i);
    }
    return out;
}

// Whether the bytes are as well those of a log stepped `t` (feet or metres): on every
// stretch (`oneGrid`: over the whole log), the anchors' recorded depths lie on one grid
// of `t` within two depths' rounding, each on a place of its own further along the log,
// and depth once the frames written from one anchor to the next fit the places between
// them (no record's frames reach the next record's depth, nor run past an odd one's).
bool LaysOut(const Case& c, const Written& w, const Stretch& s, double t, bool oneGrid = false)
{
    if (!(t > 0)) return false;
    const double sign = c.up ? -1.0 : 1.0;
    for (const std::vector<size_t>& anchors : AnchorsOf(c, w, oneGrid)) {
        if (anchors.empty()) continue;
        const double d0 = w.frames[anchors.front()].recorded;
        double least = 0, most = 0, deepest = 1;
        long previous = 0;
        for (size_t p = 1; p < anchors.size(); ++p) {
            const sweep::Frame& f = w.frames[anchors[p]];
            const double along = (f.recorded - d0) * sign;
            const long n = std::lround(along / t);
            const long written = long(anchors[p] - anchors[p - 1]);
            if (n <= previous || (c.once && written > n - previous)) return false;
            least = std::min(least, along - double(n) * t);
            most = std::max(most, along - double(n) * t);
            deepest = std::max(deepest, std::fabs(f.recorded));
            previous = n;
        }
        if (most - least > 2 * s.precision + 1e-12 * deepest) return false;
    }
    // Depth once, nor past the depth of an odd record: a record's last frame lies short of
    // the next record's depth (or on it) on one stretch.
    for (size_t first = 0, i = 1; c.once && i < w.frames.size(); ++i) {
        if (w.frames[i].inRecord > 0) continue;
        const double span = (w.frames[i].recorded - w.frames[first].recorded) * sign;
        if ((oneGrid || w.frames[i].stretch == w.frames[first].stretch)
            && double(i - first - 1) * t > span + 2 * s.precision)
            return false;
        first = i;
    }
    return true;
}

// EB 8 in the depths' units, read in full from its code-68 word; 0 where absent.
double Entry8Read(const Case& c, const Written& w)
{
    if (c.spacing == Spacing::Absent) return 0.0;
    double s = sweep::Value68(lisb::Code68(w.entry8)) * w.entry8Factor;
    if (w.entry8Metres != c.depth.metres) s = c.depth.metres ? s * kFoot : s / kFoot;
    return s;
}

// The data records (type 0) of a plain-framed file, their physical records joined.
std::vector<std::vector<uint8_t>> DataRecords(const std::vector<uint8_t>& bytes)
{
    std::vector<std::vector<uint8_t>> logical;
    for (size_t at = 0; at + 4 <= bytes.size();) {
        const size_t length = size_t(bytes[at]) << 8 | bytes[at + 1];
        const bool continued = (bytes[at + 3] & lisb::kPredecessor) != 0;
        if (length < 4 || at + length > bytes.size()) break;
        if (!continued || logical.empty()) logical.emplace_back();
        logical.back().insert(logical.back().end(), bytes.begin() + long(at + 4), bytes.begin() + long(at + length));
        at += length;
    }
    std::vector<std::vector<uint8_t>> data;
    for (std::vector<uint8_t>& r : logical)
        if (!r.empty() && r[0] == 0) data.push_back(std::move(r));
    return data;
}

// Each frame's padding as written: the bytes past its channels, to EB 3's frame.
std::vector<std::vector<uint8_t>> PaddingsOf(const Case& c, const Written& w)
{
    std::vector<std::vector<uint8_t>> out;
    if (w.declared <= w.channelBytes) return out;
    const size_t body = 2 + (c.once ? size_t(lisb::CodeSize(c.depth.code)) : 0);
    for (const std::vector<uint8_t>& r : DataRecords(w.bytes))
        for (size_t at = body; at + w.declared <= r.size(); at += w.declared)
            out.emplace_back(r.begin() + long(at + w.channelBytes), r.begin() + long(at + w.declared));
    return out;
}

// A depth word of the case's code at the start of `bytes`, in feet or metres.
double DepthWord(const Case& c, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < size_t(lisb::CodeSize(c.depth.code))) return NAN;
    const uint32_t word = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
    if (c.depth.code == 79) return double(int16_t(uint16_t(bytes[0] << 8 | bytes[1]))) * c.depth.unit;
    if (c.depth.code == 73) return double(int32_t(word)) * c.depth.unit;
    return sweep::Value68(word) * c.depth.unit;
}

// The frames that start data records, in order.
std::vector<const sweep::Frame*> RecordFirsts(const Written& w)
{
    std::vector<const sweep::Frame*> out;
    for (const sweep::Frame& f : w.frames)
        if (f.inRecord == 0) out.push_back(&f);
    return out;
}

// Frames in each record.
std::vector<int> RecordSizes(const Written& w)
{
    std::vector<int> out;
    for (const sweep::Frame& f : w.frames) {
        if (f.inRecord == 0) out.push_back(0);
        ++out.back();
    }
    return out;
}

double Along(const Case& c, double depth) { return c.up ? -depth : depth; }

// What follows judges the depths as written (recorded), not as meant: a kind's promise
// is kept only where the bytes show it.

// Depth once, the records that start inside the one before, as their recorded depths
// show: past the record before's depth, and on or behind its last frame's place (within
// two roundings, half a step at most).
int StartsInside(const Case& c, const Written& w)
{
    int inside = 0;
    size_t first = 0;
    for (size_t i = 1; i < w.frames.size(); ++i) {
        if (w.frames[i].inRecord > 0) continue;
        const double from = Along(c, w.frames[first].recorded), slack = 2 * CodeRounding(c, w.frames[i].depth);
        const double last = from + double(i - first - 1) * c.StepOut(), at = Along(c, w.frames[i].recorded);
        inside += at > from && at <= last + std::min(slack, 0.5 * c.StepOut());
        first = i;
    }
    return inside;
}

// Depth once, the records whose recorded depth lies behind the record before's.
int TurnsBack(const Case& c, const Written& w)
{
    const std::vector<const sweep::Frame*> firsts = RecordFirsts(w);
    int back = 0;
    for (size_t r = 1; r < firsts.size(); ++r)
        back += Along(c, firsts[r]->recorded) < Along(c, firsts[r - 1]->recorded);
    return back;
}

// Per frame, the frames whose recorded depth lies behind (or on) the frame before's.
int FramesBack(const Case& c, const Written& w)
{
    int back = 0;
    for (size_t i = 1; i < w.frames.size(); ++i)
        back += Along(c, w.frames[i].recorded) <= Along(c, w.frames[i - 1].recorded);
    return back;
}

// The grid places missing after each record but the last, as the recorded depths show
// them: the steps from a record's first depth to the next record's, less its frames.
std::vector<int> GapsAfterRecords(const Case& c, const Written& w)
{
    std::vector<int> out;
    size_t first = 0;
    for (size_t i = 1; i < w.frames.size(); ++i) {
        if (w.frames[i].inRecord > 0) continue;
        const double steps = Along(c, w.frames[i].recorded - w.frames[first].recorded) / c.StepOut();
        out.push_back(int(std::lround(steps)) - int(i - first));
        first = i;
    }
    return out;
}

// Odd depths as written (depth once, records'): anchors whose recorded depth lies off
// their place, reckoned from the nearest frame on the grid of their stretch, by more than
// two roundings (so that no reading can take it for a depth on the grid).
int OddAnchors(const Case& c, const Written& w)
{
    int odd = 0;
    for (size_t i = 0; i < w.frames.size(); ++i) {
        const sweep::Frame& f = w.frames[i];
        if (!f.odd || (c.once && f.inRecord > 0)) continue;
        const auto onGrid = [&](size_t j) { return !w.frames[j].odd && w.frames[j].stretch == f.stretch; };
        size_t near = i;
        for (size_t j = i; j-- > 0 && near == i;) near = onGrid(j) ? j : i;
        for (size_t j = i + 1; j < w.frames.size() && near == i; ++j) near = onGrid(j) ? j : i;
        if (near == i) continue;
        const sweep::Frame& on = w.frames[near];
        const double place = on.depth + (c.up ? -1.0 : 1.0) * (f.place - on.place) * c.StepOut();
        odd += std::fabs(f.recorded - place) > 2 * CodeRounding(c, f.depth);
    }
    return odd;
}

// EB 8 as written, as a share of the true step (0 where absent).
double Entry8Share(const Case& c, const Written& w) { return Entry8Read(c, w) / c.StepOut(); }
bool Near(double x, double y) { return std::fabs(x - y) <= 1e-5 * std::fabs(y); }

// The bytes two paddings of one size differ in.
int Differ(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int n = 0;
    for (size_t k = 0; k < a.size() && k < b.size(); ++k) n += a[k] != b[k];
    return n;
}

// The paddings' bytes that differ from the commonest padding's (one stray byte leaves
// the first three frames' paddings at least two alike); and whether that is all blanks.
std::pair<int, bool> StrayBytes(const std::vector<std::vector<uint8_t>>& paddings)
{
    if (paddings.empty()) return {0, false};
    // The commonest padding: the one the fewest bytes set apart from all others.
    size_t fill = 0;
    int least = INT32_MAX;
    for (size_t i = 0; i < paddings.size() && i < 3; ++i) {
        int apart = 0;
        for (const std::vector<uint8_t>& p : paddings) apart += Differ(p, paddings[i]);
        if (apart < least) fill = i, least = apart;
    }
    const int stray = least;
    const std::vector<uint8_t>& fillBytes = paddings[fill];
    return {stray, std::all_of(fillBytes.begin(), fillBytes.end(), [](uint8_t b) { return b == 0x20; })};
}

// Per frame, whether the grid moves (a new stretch starts) somewhere, each move between
// `least` and `most` of the depth code's units off a whole number of steps.
bool SpliceSizes(const Case& c, const Written& w, double least, double most)
{
    int moves = 0;
    for (size_t i = 1; i < w.frames.size(); ++i) {
        if (w.frames[i].stretch == w.frames[i - 1].stretch) continue;
        const double along = Along(c, w.frames[i].recorded - w.frames[i - 1].recorded) / c.StepOut();
        const double off = std::fabs(along - std::round(along)) * c.StepOut() / c.depth.unit;
        if (!(off >= least - 1e-6 && off <= most + 1e-6)) return false;
        ++moves;
    }
    return moves > 0;
}

struct Promise;
const Promise& PromiseOf(sweep::Kind k);

// What each kind promises of its logs, judged from what was written (the frames' true
// places and depths, the records, the bytes), never from a reading: a kind whose logs
// do not show it tries nothing of what it was made for.
struct Promise {
    sweep::Kind kind;
    const char* what;
    std::function<bool(const Case&, const Written&)> kept;
};

const std::vector<Promise>& Promises()
{
    using K = sweep::Kind;
    static const std::vector<Promise> promises{
        {K::Table, "nothing", [](const Case&, const Written&) { return true; }},
        {K::IntegerDepths, "integer depths once a record of several frames, a step of half a unit or less",
         [](const Case& c, const Written& w) {
             return (c.depth.code == 73 || c.depth.code == 79) && c.once && w.records < int(w.frames.size())
                    && c.StepOut() <= 0.5 * c.depth.unit * (1 + 1e-9);
         }},
        {K::SpliceBack, "depth once, a record starting inside the one before",
         [](const Case& c, const Written& w) { return c.once && StartsInside(c, w) >= 1; }},
        {K::StrayPadding, "depth once, one stray byte in the padding, or padding of blanks",
         [](const Case& c, const Written& w) {
             const auto [stray, blanks] = StrayBytes(PaddingsOf(c, w));
             return c.once && (stray == 1 || (blanks && stray == 0));
         }},
        {K::FractionOdd, "EB 8 a half or a third of the step, 3 odd depths or more",
         [](const Case& c, const Written& w) {
             const double share = Entry8Share(c, w);
             return (Near(share, 0.5) || Near(share, 1.0 / 3)) && OddAnchors(c, w) >= 3;
         }},
        {K::DeepHalf, "per-frame code 68 at 1/120 ft below 20,000 ft, EB 8 half the step",
         [](const Case& c, const Written& w) {
             return !c.once && c.depth.code == 68 && Near(c.StepOut(), 1.0 / 120) && !c.depth.metres
                    && w.frames.front().depth >= 20000 && Near(Entry8Share(c, w), 0.5);
         }},
        {K::Drifting, "per frame, EB 8 0.01-0.1% off, over 3,000 places or more",
         [](const Case& c, const Written& w) {
             const double off = std::fabs(Entry8Share(c, w) - 1);
             return !c.once && off >= 0.99e-4 && off <= 1.01e-3 && w.frames.back().place >= 3000 - 1;
         }},
        {K::ShortRepeats, "per frame, padded, two repeat sections in 20-31 frames",
         [](const Case& c, const Written& w) {
             return !c.once && w.declared > w.channelBytes && FramesBack(c, w) == 2 && w.frames.size() >= 20
                    && w.frames.size() <= 31;
         }},
        {K::ChangingPadding, "depth once, padding that changes from frame to frame",
         [](const Case& c, const Written& w) {
             const std::vector<std::vector<uint8_t>> p = PaddingsOf(c, w);
             bool changes = false;
             for (size_t i = 1; i < p.size(); ++i) changes = changes || Differ(p[i], p[i - 1]) > 0;
             return c.once && changes;
         }},
        {K::HeldDepth, "per frame, padding that holds a depth up to a step past the frame's",
         [](const Case& c, const Written& w) {
             const std::vector<std::vector<uint8_t>> p = PaddingsOf(c, w);
             if (c.once || p.size() != w.frames.size()) return false;
             // A depth code's rounding may lay it on the frame's own depth or the next.
             for (size_t i = 0; i < p.size(); ++i) {
                 const double on = Along(c, DepthWord(c, p[i]) - w.frames[i].recorded);
                 const double slack = DepthPrecision(c, w.frames[i].depth);
                 if (!(on >= -slack && on <= c.StepOut() + slack)) return false;
             }
             return !p.empty();
         }},
        {K::RecordGaps, "depth once, EB 8 right, a gap of one record after most records, none after one or more",
         [](const Case& c, const Written& w) {
             const std::vector<int> gaps = GapsAfterRecords(c, w), sizes = RecordSizes(w);
             int whole = 0, none = 0;
             for (size_t r = 0; r < gaps.size(); ++r) whole += gaps[r] == sizes[r], none += gaps[r] == 0;
             return c.once && Near(Entry8Share(c, w), 1) && 2 * whole > int(gaps.size()) && none >= 1;
         }},
        {K::FewSpliceBack, "depth once, 4-9 records, no EB 8 of the step, a record starting inside the one before",
         [](const Case& c, const Written& w) {
             const double share = Entry8Share(c, w);
             return c.once && w.records >= 4 && w.records <= 9 && (share == 0 || share >= 1.5 - 1e-5)
                    && StartsInside(c, w) >= 1;
         }},
        {K::ThreeFrames, "EB 8 3-10% off; three frames, or depth once three records running on",
         [](const Case& c, const Written& w) {
             const double off = std::fabs(Entry8Share(c, w) - 1);
             const std::vector<int> gaps = GapsAfterRecords(c, w);
             const bool three = c.once ? w.records == 3 && std::count(gaps.begin(), gaps.end(), 0) == 2
                                       : w.frames.size() == 3;
             return off >= 0.03 - 1e-6 && off <= 0.1 + 1e-6 && three;
         }},
        {K::WideGaps, "depth once, EB 8 1.5 steps, 5-8 records, one or two running on and gaps after the others",
         [](const Case& c, const Written& w) {
             const std::vector<int> gaps = GapsAfterRecords(c, w);
             const long none = std::count(gaps.begin(), gaps.end(), 0);
             return c.once && Near(Entry8Share(c, w), 1.5) && w.records >= 5 && w.records <= 8 && none >= 1
                    && none <= 2 && none < long(gaps.size());
         }},
        {K::HalfManyOdd, "EB 8 half the step, 5 odd depths or more",
         [](const Case& c, const Written& w) { return Near(Entry8Share(c, w), 0.5) && OddAnchors(c, w) >= 5; }},
        {K::TurnBack, "depth once, 6-12 records whose depths turn back 2-3 times",
         [](const Case& c, const Written& w) {
             const int back = TurnsBack(c, w);
             return c.once && w.records >= 6 && w.records <= 12 && back >= 2 && back <= 3;
         }},
        {K::GappedChanging, "depth once, changing padding, EB 8 right, a gap after half the records or more",
         [](const Case& c, const Written& w) {
             const std::vector<std::vector<uint8_t>> p = PaddingsOf(c, w);
             bool changes = false;
             for (size_t i = 1; i < p.size(); ++i) changes = changes || Differ(p[i], p[i - 1]) > 0;
             const std::vector<int> gaps = GapsAfterRecords(c, w);
             const long gapped = long(gaps.size()) - std::count(gaps.begin(), gaps.end(), 0);
             return c.once && changes && Near(Entry8Share(c, w), 1) && gapped >= 1 && 2 * gapped >= long(gaps.size());
         }},
        {K::HeldPairs, "per frame, padding that holds a depth, in records of two frames",
         [](const Case& c, const Written& w) {
             const std::vector<int> sizes = RecordSizes(w);
             const bool pairs = std::count(sizes.begin(), sizes.end(), 2) >= long(sizes.size()) - 1;
             return pairs && PromiseOf(K::HeldDepth).kept(c, w);
         }},
        {K::LongGaps, "EB 8 0.01-0.1% off, a gap of 700-9,000 places",
         [](const Case& c, const Written& w) {
             const double off = std::fabs(Entry8Share(c, w) - 1);
             const std::vector<int> gaps = GapsAfterRecords(c, w);
             const bool long_ = std::any_of(gaps.begin(), gaps.end(), [](int g) { return g >= 700 && g <= 9000; });
             return off >= 0.99e-4 && off <= 1.01e-3 && long_;
         }},
        {K::RightFewSplice, "depth once, EB 8 right, 3-12 records, one or two starting inside the one before",
         [](const Case& c, const Written& w) {
             const int inside = StartsInside(c, w);
             return c.once && Near(Entry8Share(c, w), 1) && w.records >= 3 && w.records <= 12 && inside >= 1
                    && inside <= 2;
         }},
        {K::MultipleGaps, "depth once, EB 8 1.5 or 3 steps, gaps after some records",
         [](const Case& c, const Written& w) {
             const std::vector<int> gaps = GapsAfterRecords(c, w);
             const double share = Entry8Share(c, w);
             return c.once && (Near(share, 1.5) || Near(share, 3))
                    && std::count(gaps.begin(), gaps.end(), 0) < long(gaps.size());
         }},
        {K::OtherIntegers, "integer depths, EB 8 right in the other system",
         [](const Case& c, const Written& w) {
             return (c.depth.code == 73 || c.depth.code == 79) && w.entry8Metres != c.depth.metres
                    && Near(Entry8Share(c, w), 1);
         }},
        {K::IntegerSplices, "per-frame integer depths, EB 8 a fraction or 1.5 steps, splices of 1-3 units",
         [](const Case& c, const Written& w) {
             const double share = Entry8Share(c, w);
             return !c.once && (c.depth.code == 73 || c.depth.code == 79)
                    && (Near(share, 0.5) || Near(share, 1.0 / 3) || Near(share, 1.5)) && SpliceSizes(c, w, 1, 3);
         }},
        {K::SpliceUnderStep, "per frame, EB 8 right, splices of under a step",
         [](const Case& c, const Written& w) {
             return !c.once && Near(Entry8Share(c, w), 1) && SpliceSizes(c, w, 0.5, c.StepOut() / c.depth.unit - 0.5);
         }},
        {K::FiveFrames, "per frame, five frames, EB 8 twice the step",
         [](const Case& c, const Written& w) {
             return !c.once && w.frames.size() == 5 && Near(Entry8Share(c, w), 2);
         }},
    };
    return promises;
}

const Promise& PromiseOf(sweep::Kind k)
{
    return *std::find_if(Promises().begin(), Promises().end(), [k](const Promise& p) { return p.kind == k; });
}

// What the case's kind promises and its log does not show; nullptr where it does.
const char* Unkept(const Case& c, const Written& w)
{
    for (const Promise& p : Promises())
        if (p.kind == c.kind) return p.kept(c, w) ? nullptr : p.what;
    return "a kind with no promise to judge it by";
}

// EB 8 off by under 1% of the step (the table's 1e-4, a drifting EB 8) still names the
// step, which the depths show it drifting from; 3% off, it names another step.
constexpr double kEntry8Near = 0.01;
// The share of a value by which two computations of it may differ (the truth's depths,
// one computed a record further on than the other).
constexpr double kRoundOff = 1e-9;

// Depth once, EB 3 a multiple r of the channels' frame (more than one), in records whole
// in EB 3's frames, with EB 8 that multiple of the true step: the bytes are as well those
// of a log of EB 3's frames at EB 8, the rest of each frame its padding.
bool EntriesShareAMultiple(const Case& c, const Written& w, double entry8)
{
    if (!c.once || !w.recordsWholeInDeclared || w.channelBytes == 0 || w.declared <= w.channelBytes) return false;
    const double r = double(w.declared) / double(w.channelBytes);
    return std::fabs(entry8 - r * c.StepOut()) <= 1e-5 * c.StepOut();
}

// EB 8 settles the step where it is the step, in either system.
bool Settled(const Case& c) { return c.spacing == Spacing::Right || c.spacing == Spacing::OtherUnits; }

// Whether `t` lays the recorded depths out, on every stretch or on one grid.
bool Lays(const Case& c, const Written& w, const Stretch& s, double t)
{
    return t > 0 && (LaysOut(c, w, s, t) || LaysOut(c, w, s, t, true));
}

// The recorded depths a step is measured over: the anchors of the stretch that spans
// furthest, or where none holds two, the whole log's.
std::vector<double> MeasuredAnchors(const Case& c, const Written& w)
{
    std::vector<double> out;
    for (const std::vector<size_t>& anchors : AnchorsOf(c, w)) {
        const auto span = [](const std::vector<double>& d) {
            return d.empty() ? -1.0 : std::fabs(d.back() - d.front());
        };
        std::vector<double> depths;
        for (size_t i : anchors) depths.push_back(w.frames[i].recorded);
        if (depths.size() >= 2 && span(depths) > span(out)) out = depths;
    }
    if (out.empty())
        for (const std::vector<size_t>& anchors : AnchorsOf(c, w, true))
            for (size_t i : anchors) out.push_back(w.frames[i].recorded);
    return out;
}

// Steps closer than this share the sweep does not tell apart: over two or three anchors,
// with an odd record between, the depths' rounding lays a step a few percent off as well.
// Whole multiples, and a record of up to 8 frames running on over a gap of one place,
// differ by more.
constexpr double kCoarserBy = 0.125;

// The coarsest step found that lays the recorded depths and is coarser than `t` by more
// than two steps laying the same places over the measured span differ (four roundings
// over it), and by kCoarserBy at least; 0 where none. Looked for among the truth's step times G/k, G the greatest
// common divisor of the places between each stretch's anchors (the steps that lay them
// exactly: depth once, records of two frames with a gap of a place after each lay at 1.5
// steps, running on); and where no stretch holds two anchors (records one a stretch, a
// splice between them), the first anchors' distance over n, held over the whole log.
double Coarser(const Case& c, const Written& w, const Stretch& s, double t)
{
    const std::vector<double> at = MeasuredAnchors(c, w);
    if (at.size() < 2) return 0.0;
    const double span = std::fabs(at.back() - at.front()), first = std::fabs(at[1] - at[0]);
    const double above = t * std::max(1 + 4 * s.precision / span + kRoundOff, 1 + kCoarserBy);
    // A stretch of one anchor holds no step: on each stretch only where one holds two.
    bool anyTwo = false;
    for (const std::vector<size_t>& anchors : AnchorsOf(c, w)) anyTwo = anyTwo || anchors.size() >= 2;
    double best = 0;
    const auto consider = [&](double u) {
        if (u > above && u > best && (LaysOut(c, w, s, u, true) || (anyTwo && LaysOut(c, w, s, u)))) best = u;
    };
    int g = 0;
    for (const std::vector<size_t>& anchors : AnchorsOf(c, w))
        for (size_t i : anchors) g = std::gcd(g, w.frames[i].place - w.frames[anchors.front()].place);
    for (int k = 1; k <= g && c.StepOut() * g / k > above; ++k) consider(c.StepOut() * g / k);
    for (int n = 1; !anyTwo && first / n > above; ++n) {
        consider(first / n);
        const double places = std::round(span * n / first);
        if (places >= 1) consider(span / places);
    }
    return best;
}

// EB 8 a little off the step (under kEntry8Near of it) names it, as the truth's EB 8 a
// little off does: the depths give its value.
bool NamesTheStep(const Case& c, const Written& w)
{
    const double entry8 = Entry8Read(c, w);
    return entry8 > 0 && std::fabs(entry8 / c.StepOut() - 1) < kEntry8Near;
}

// The log's step: the truth's where EB 8 gives or names it; else the coarsest that lays
// the recorded depths (no record's frames running past the next record's depth), which
// may be coarser than the truth's: a finer one lays them too, with a gap after every
// frame, and is not the log's step.
double LogStep(const Case& c, const Written& w, const Stretch& s)
{
    double step = c.StepOut();
    if (Settled(c) || NamesTheStep(c, w)) return step;
    for (double coarser; (coarser = Coarser(c, w, s, step)) > 0;) step = coarser;
    return step;
}

// Whether a reading at `t` is as well right, the bytes being as well those of a log at
// `t`: where EB 8 does not give the step, `t` lays the recorded depths and is EB 8 (a
// usable EB 8 settles the step, however fine), or within kEntry8Near of the step EB 8
// names, or else no coarser step lays them (a reader that halves the step fails).
bool Allows(const Case& c, const Written& w, const Stretch& s, double t)
{
    if (Settled(c) || !Lays(c, w, s, t)) return false;
    const double entry8 = Entry8Read(c, w);
    if (entry8 > 0 && std::fabs(t - entry8) <= 1e-6 * entry8) return true;
    if (NamesTheStep(c, w)) return std::fabs(t / c.StepOut() - 1) < kEntry8Near;
    return Coarser(c, w, s, t) == 0;
}

// The log the bytes as well are at step `t`: the grid places counted at `t` from each
// stretch's first frame; per frame the same depths, or `onGrid` each stretch's anchors on
// the grid of `t`, in the middle of what their recorded depths leave (over a long stretch
// the truth's depths drift off that grid by up to the depths' rounding, and a log at `t`
// that writes the same bytes lies on it); depth once, each record's frames from its depth
// at `t`; and the frames dropped as one depth with the next, anew.
std::pair<Case, Written> SteppedAt(const Case& c, const Written& w, double t, bool onGrid = false)
{
    Case a = c;
    a.step = {t, c.depth.metres};
    Written v = w;
    const double sign = c.up ? -1.0 : 1.0;
    std::map<int, std::pair<double, int>> firsts; // a stretch's first depth and place
    for (sweep::Frame& f : v.frames) {
        if (c.once && f.inRecord > 0) continue;
        const auto [it, added] = firsts.emplace(f.stretch, std::make_pair(f.depth, f.place));
        if (!added) f.place = it->second.second + int(std::lround(Along(c, f.depth - it->second.first) / t));
    }
    const auto gridded = [&](const sweep::Frame& f) {
        const auto& [depth, place] = firsts.at(f.stretch);
        return depth + sign * (f.place - place) * t;
    };
    std::map<int, std::pair<double, double>> misses; // of each stretch's anchors: least, most
    if (onGrid)
        for (const std::vector<size_t>& anchors : AnchorsOf(c, v))
            for (const size_t i : anchors) {
                const double miss = v.frames[i].recorded - gridded(v.frames[i]);
                const auto [it, added] = misses.emplace(v.frames[i].stretch, std::make_pair(miss, miss));
                it->second = {std::min(it->second.first, miss), std::max(it->second.second, miss)};
            }
    for (size_t i = 0; i < v.frames.size(); ++i) {
        sweep::Frame& f = v.frames[i];
        if (c.once && f.inRecord > 0) {
            const sweep::Frame& head = v.frames[i - size_t(f.inRecord)];
            f.depth = head.depth + sign * f.inRecord * t;
            f.place = head.place + f.inRecord;
        } else if (const auto it = misses.find(f.stretch); it != misses.end() && !f.odd)
            f.depth = gridded(f) + (it->second.first + it->second.second) / 2;
    }
    for (size_t i = 0; i + 1 < v.frames.size(); ++i) {
        sweep::Frame &f = v.frames[i], &next = v.frames[i + 1];
        if (!c.once) f.dropped = f.recorded == next.recorded;
        else if (next.inRecord == 0)
            f.dropped = std::fabs(f.depth - next.depth) <= kRoundOff * std::max(1.0, std::fabs(next.depth));
    }
    return {a, v};
}

// Cases whose bytes are as well those of another log of other frames or another way,
// told from the truth and the bytes (not from the reader's rules): the reason, or
// nullptr. A step the bytes leave open is no reason: every one they allow is judged.
const char* Undecidable(const Case& c, const Written& w, const Stretch& s)
{
    const double entry8 = Entry8Read(c, w), truth = c.StepOut();
    // EB 8 that the frames can be told by: the step, or one that lays the depths out.
    const bool given = Settled(c) || (entry8 > 0 && LaysOut(c, w, s, entry8));
    if (c.once && c.layout == Layout::Smaller && w.recordsWholeInDeclared && (!given || !w.declaredRunPast))
        return "depth once, EB 3 short of the channels but whole in every record, and no EB 8 that its frames run "
               "past: nothing rules EB 3 out";
    if (c.once && c.layout == Layout::Changing && w.recordsWholeInChannels && (!given || !w.channelsRunPast))
        return "depth once, padding that changes from frame to frame, as channel data would, in records whole in the "
               "channels' frames too, and no EB 8 that those run past: nothing rules EB 3 out, nor the channels";
    if (c.once && (c.layout == Layout::Padded || c.layout == Layout::Zeros || c.layout == Layout::OwnSize
                   || c.layout == Layout::Blanks || c.layout == Layout::Changing)
        && given && w.channelsFillGaps)
        return "depth once, padded frames whose channels alone EB 8 steps with no gap, where EB 3's leave one after "
               "every record";
    // The way the frames run is EB 4's, which every log writes: no other way is read.
    if (c.once && w.records == 1 && !(entry8 > 0))
        return "depth once, one record and no EB 8: the bytes hold no step to place its frames by, nor the truth's "
               "over another";
    if (entry8 > 0 && EntriesShareAMultiple(c, w, entry8))
        return "depth once, EB 3 and EB 8 the same multiple of the channels' frame and of the step, in records whole "
               "in EB 3's frames: the bytes are as well those of a log of EB 3's frames at EB 8, padded";
    if (!LaysOut(c, w, s, truth) && !LaysOut(c, w, s, truth, true))
        return "the depths' rounding keeps the true step from laying them out (a record's frames at it meet or pass "
               "the next record's depth, or two records share one): the bytes show records overlapping";
    return nullptr;
}

// A channel of the log as the data set holds it: where its values start in a frame's,
// how many, and the value its sample k holds in frame `index` of the file.
struct Judged {
    std::string name;
    size_t at = 0;
    int samples = 1;
    std::function<double(int index, int k)> value;
};

// Every channel of the case (GR, FA and the others), found in the data set; the ones
// missing named in `why`.
std::vector<Judged> ChannelsOf(const Case& c, const QtxImage& out, std::string& why)
{
    std::vector<Judged> channels{{"GR", 0, 1, [](int i, int) { return sweep::Gr(i); }},
                                 {"FA", 0, c.samples, [](int i, int k) { return sweep::Fa(i, k); }}};
    const std::vector<uint8_t> codes = sweep::OtherCodes(c);
    for (size_t i = 0; i < codes.size(); ++i)
        channels.push_back({Format("X%03zu", i), 0, 1, [code = codes[i], i](int index, int) {
                                return sweep::Other(index, code, int(i));
                            }});
    std::vector<Judged> found;
    for (Judged& channel : channels) {
        const auto d = std::find_if(out.descriptors.begin(), out.descriptors.end(), [&](const QtxDatumDescriptor& d) {
            std::string name(d.mnemonic, 4);
            return name.substr(0, name.find_last_not_of(' ') + 1) == channel.name;
        });
        if (d == out.descriptors.end()) {
            why += "no datum " + channel.name + "; ";
            continue;
        }
        channel.at = (d->offset - qtx::kDepthSize) / 4;
        found.push_back(channel);
    }
    return found;
}

// Every frame written, in order, no other but those the reader drops for a repeated
// depth, each with its own values in every channel at its depth.
std::string JudgeFrames(const Case& c, const Written& w, const QtxImage& out, const Stretch& s)
{
    std::vector<const sweep::Frame*> kept;
    for (const sweep::Frame& f : w.frames)
        if (!f.dropped) kept.push_back(&f);
    const size_t n = kept.size();
    std::string why;
    if (out.depths.size() != n || out.frames.size() != n) why = Format("%zu frames for %zu; ", out.depths.size(), n);
    const std::vector<Judged> channels = ChannelsOf(c, out, why);
    for (size_t i = 0; i < std::min(n, out.frames.size()); ++i) {
        const sweep::Frame& f = *kept[i];
        const std::vector<float>& v = out.frames[i];
        for (const Judged& channel : channels)
            for (int k = 0; k < channel.samples; ++k) {
                const size_t at = channel.at + size_t(k);
                if (at >= v.size() || v[at] != float(channel.value(f.index, k)))
                    return why + Format("frame %zu holds %zu values, %s[%d] %g for frame %d's %g; ", i, v.size(),
                                        channel.name.c_str(), k, at < v.size() ? double(v[at]) : 0.0, f.index,
                                        channel.value(f.index, k));
            }
        const double allowed = FrameAllowance(c, s, f);
        if (!(std::fabs(out.depths[i] - f.depth) <= allowed))
            return why + Format("frame %zu (place %d, %d in its record) at %.6f for %.6f (off %.3g, allowed %.3g); ", i,
                                f.place, f.inRecord, out.depths[i], f.depth, out.depths[i] - f.depth, allowed);
    }
    return why;
}

// The data set's step held to the truth over the run: from the read depth of the
// stretch's first frame, top + k x step within the precision of each true depth to the
// stretch's last frame, and over the file's whole run; the fast samples spaced by it.
std::string JudgeStep(const Case& c, const Written& w, const QtxImage& out, const Stretch& s)
{
    const double step = std::fabs(out.header.depthStep);
    std::string why = w.frames.empty() ? "" : JudgeRun(c, w, s, step);
    if (!s.frames.empty() && s.places > 0) {
        size_t at = 0; // the stretch's first frame in the output
        for (size_t i = 0; i < s.frames.front(); ++i) at += w.frames[i].dropped ? 0 : 1;
        if (at < out.depths.size()) {
            const std::string misses = StepMisses(c, w, s, out.depths[at], step);
            if (!misses.empty()) why += Format("step %.9g for %.9g: ", step, c.StepOut()) + misses;
        }
    }
    for (const QtxDatumDescriptor& d : out.descriptors) {
        if (std::string(d.mnemonic, 4) != "FA  ") continue;
        const double signedStep = c.up ? -step : step, spaced = double(d.axis1.step) * c.samples;
        if (!(std::fabs(spaced - signedStep) <= 2 * FLT_EPSILON * step) || int16_t(d.axis1.firstIndex) != 1 - c.samples)
            why += Format("FA samples %g apart from index %d for a step of %g; ", double(d.axis1.step),
                          int(int16_t(d.axis1.firstIndex)), signedStep);
        return why;
    }
    return why + "no datum FA; ";
}

// The reader's known failures: of each kind it is being mended for, at most `most` cases
// in `in` of those judged over a run's seeds fail (rounded up). A share, not a count, so
// that no seed's draw tunes it. Set from the reader as it stands (c70623b's rules) over 71
// runs: seeds 786-788, 1-5 and 10-49, each of 300 table cases, 600 kinds (40 of each)
// and 54-90 of the new family; 786, 1 and 2 with 540 of the new family; 20 default runs
// from 1000 on. Each share passes every one of those runs, and a default run (15 cases
// of a kind, 300 of the table) exceeds it at the kind's rate over all of them with a
// chance under 1 in 500. In brackets, that rate. Lower a share as the reader is mended;
// a kind not listed fails no case. Since the log at a step read is judged on its own grid
// too, the rates of integer splices and three frames, and those of drifting EB 8 and held
// pairs (rare: a step under two units of a code-68 depth past 8,192 m), are of 46e9f12's
// reader over 78 runs: seeds 1-24 (300 table cases, 600 kinds, 540 of the new family),
// 10000-10023 (600 kinds, 540 new) and 100-129 (1,500 kinds, 900 new).
struct KnownFailures {
    sweep::Kind kind;
    int most, in;
    const char* what; // what the reader reads wrong of it
};
constexpr KnownFailures kKnownFailures[] = {
    {sweep::Kind::LongGaps, 2, 3, "EB 8 a little off across long gaps: the step drifts over the run (306 of 1,027)"},
    {sweep::Kind::RightFewSplice, 2, 3, "a right EB 8 overruled by records inside the one before (257 of 1,027)"},
    {sweep::Kind::RecordGaps, 2, 5, "a right EB 8, a record's gap after most records: twice it taken (298 of 2,320)"},
    {sweep::Kind::IntegerSplices, 1, 100, "EB 8 a fraction or 1.5x beside splices of whole units (4 of 5,880)"},
    {sweep::Kind::TurnBack, 2, 5, "records whose depths turn back: fast samples spaced by another step (247 of 2,320)"},
    {sweep::Kind::FewSpliceBack, 1, 3, "a record inside the one before, no usable EB 8: a fraction (167 of 2,299)"},
    {sweep::Kind::GappedChanging, 1, 4, "changing padding, a right EB 8, gaps: padding read as frames (51 of 1,023)"},
    {sweep::Kind::MultipleGaps, 1, 4, "EB 8 1.5 or 3 times the step beside gaps: EB 8 taken (46 of 1,005)"},
    {sweep::Kind::WideGaps, 1, 4, "EB 8 1.5 times the step beside wide gaps: EB 8 taken (102 of 2,234)"},
    {sweep::Kind::ThreeFrames, 1, 6, "EB 8 3-10% off over three frames or records: EB 8 taken (58 of 4,919)"},
    {sweep::Kind::FractionOdd, 1, 8, "EB 8 a fraction of the step with odd depths: a finer step taken (34 of 2,320)"},
    {sweep::Kind::Table, 1, 25, "across its layouts, mostly EB 8 a little off or a fraction (265 of 19,720)"},
    {sweep::Kind::StrayPadding, 1, 10, "one stray byte in the padding: the padding read as frames (14 of 2,292)"},
    {sweep::Kind::SpliceBack, 1, 100, "a record inside the one before: a frame lost (6 of 2,320)"},
    {sweep::Kind::SpliceUnderStep, 1, 100, "a splice of under a step: the step a little off over the run (1 of 1,028)"},
    {sweep::Kind::HalfManyOdd, 1, 100, "EB 8 half the step with many odd depths: EB 8 taken (2 of 2,320)"},
    {sweep::Kind::IntegerDepths, 1, 100, "integer depths once a record: the step measured short (1 of 1,803)"},
    {sweep::Kind::HeldDepth, 1, 100, "padding that holds a depth: a finer step taken (1 of 2,319)"},
    {sweep::Kind::Drifting, 1, 100, "a step under two units of the depth code: its unit taken (2 of 4,920)"},
    {sweep::Kind::HeldPairs, 1, 100, "a step under two units of the depth code: its unit taken (2 of 5,873)"},
};

// A case's reading judged: what was wrong (empty where nothing was), and whether a
// right reading was of a log at another step than the truth's.
struct Verdict {
    std::string why;
    bool otherStep = false;
};

class LisStepSweepTest : public HostTest {
protected:
    TempDir dir;
    std::string lisPath = dir.File("sweep.lis");
    std::string qtxPath = dir.File("sweep.qtx");
    std::string shown; // message boxes of the case
    bool framesWrong = false; // of the case last run: its frames, not its step alone
    bool converted_ = false;  // the case last run gave a data set, `out`
    QtxImage out;

    void SetUp() override
    {
        HostTest::SetUp();
        host.onUnexpected = [this](const std::string& what) { shown += " [" + what + "]"; };
        ASSERT_TRUE(LisDictionaryBuilder::WriteTruthDit(dir.Path()));
    }

    // A reason on one line of the list, the same in every run: no line breaks, no
    // temporary folder.
    std::string OneLine(std::string why) const
    {
        for (size_t at; (at = why.find(dir.Path())) != std::string::npos;) why.replace(at, dir.Path().size(), "<dir>");
        std::replace(why.begin(), why.end(), '\n', ' ');
        return why;
    }

    // Writes, scans and converts the case and judges it as the log `c`, `w` (its bytes);
    // what was wrong, empty where nothing was.
    std::string Run(const Case& c, const Written& w, const Stretch& s)
    {
        shown.clear();
        converted_ = false;
        framesWrong = true; // a file not converted loses them all
        std::filesystem::remove(qtxPath);
        std::filesystem::remove(CLisToQtx::LogPath(qtxPath));
        WriteBytes(lisPath, w.bytes);
        CLisLogicalFileList files;
        CLisParamScan scan;
        const int scanned = scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi);
        if (scanned != 1 || files.size() != 1)
            return Format("scan gave %d, %zu data sets; ", scanned, files.size()) + shown;
        for (auto& item : files[0]->m_items) item->m_selected = 1;
        int converted = 0;
        {
            CLisToQtx converter;
            converter.m_outputConfirmed = true;
            converter.OpenLog("sweep.lis", qtxPath, lisPath);
            converter.LogDataSet("Dsi", *files[0]);
            converted = converter.Convert(files[0].get(), lisPath, qtxPath);
        }
        if (converted != 1 || !std::filesystem::exists(qtxPath)) return "not converted; " + shown;
        out = LoadQtx(qtxPath);
        converted_ = true;
        const std::string frames = JudgeFrames(c, w, out, s);
        framesWrong = !frames.empty();
        return frames + JudgeStep(c, w, out, s) + shown;
    }

    // Converts the case and judges the reading as the log at its step (LogStep), and where
    // that fails, as the log at the step read where the bytes allow it (Allows).
    Verdict Judge(const Case& c, const Written& w, const Stretch& s)
    {
        const double step = LogStep(c, w, s);
        Verdict verdict{"", step != c.StepOut()};
        if (step == c.StepOut()) verdict.why = Run(c, w, s);
        else {
            const auto [a, v] = SteppedAt(c, w, step);
            verdict.why = Run(a, v, StretchOf(a, v));
            if (!verdict.why.empty())
                verdict.why += Format("(judged as the log at %.9g, the coarsest step that lays the depths) ", step);
        }
        const double read = converted_ ? std::fabs(out.header.depthStep) : 0.0;
        if (verdict.why.empty() || read == step || !Allows(c, w, s, read)) return verdict;
        // Its depths as the truth's, or on the grid of the step read (either writes the bytes).
        std::string again;
        for (const bool onGrid : {false, true}) {
            const auto [a, v] = SteppedAt(c, w, read, onGrid);
            const Stretch t = StretchOf(a, v);
            const std::string why = JudgeFrames(a, v, out, t) + JudgeStep(a, v, out, t);
            if (why.empty()) {
                framesWrong = false;
                return {"", true};
            }
            again += why;
        }
        verdict.why += Format("(nor the log at the step read, %.9g, which the bytes allow: %s)", read, again.c_str());
        return verdict;
    }
};

// Tallies of one kind over a run: cases failed, judged and left out.
struct Tally {
    int failed = 0, judged = 0, left = 0;
};

// A kind's known failures; nullptr for a kind not known to fail.
const KnownFailures* KnownOf(sweep::Kind kind)
{
    for (const KnownFailures& k : kKnownFailures)
        if (k.kind == kind) return &k;
    return nullptr;
}

// What a run allows a kind to fail: its share of the cases judged, rounded up; none for a
// kind not known to fail.
int Allowed(sweep::Kind kind, int judged)
{
    const KnownFailures* k = KnownOf(kind);
    return k ? (judged * k->most + k->in - 1) / k->in : 0;
}

// Leaves out only the cases Undecidable names; every other case is read right, but for
// the known failures' shares. A case whose log does not show what its kind promises fails
// the test outright: the generator must write it. The second line tallies the failures
// (frames wrong, or the step alone) and the cases left out by their reason.
TEST_F(LisStepSweepTest, EveryLogOfKnownTruthIsReadAtItsDepthsAndStep)
{
    const auto started = std::chrono::steady_clock::now();
    std::string list, failures, unkept;
    int passed = 0, failed = 0, framesFailed = 0, unkeptPromises = 0, otherStep = 0;
    std::map<std::string, int> leftOut;
    std::map<sweep::Kind, Tally> byKind;
    const std::vector<uint32_t> seeds = Seeds();
    for (const uint32_t seed : seeds)
        for (const Case& c : sweep::Draw(seed, int(FromEnvironment("LIS_SWEEP_CASES", kCases)),
                                         int(FromEnvironment("LIS_SWEEP_KINDS", kKindCases)),
                                         int(FromEnvironment("LIS_SWEEP_NEW", kNewCases)))) {
            const Written w = sweep::Write(c);
            const Stretch s = StretchOf(c, w);
            std::string why, status = "LEFT-OUT";
            Tally& tally = byKind[c.kind];
            if (const char* missing = Unkept(c, w)) {
                why = Format("written without what its kind promises (%s)", missing);
                status = "UNKEPT";
                ++unkeptPromises;
                unkept += Format("\n  seed %u ", seed) + c.Describe();
            } else if (const char* undecidable = Undecidable(c, w, s)) {
                why = undecidable;
                ++leftOut[why];
                ++tally.left;
            } else {
                const Verdict verdict = Judge(c, w, s);
                why = verdict.why;
                otherStep += why.empty() && verdict.otherStep ? 1 : 0;
                status = why.empty() ? "PASS" : "FAIL";
                ++(why.empty() ? passed : failed);
                tally.failed += why.empty() ? 0 : 1;
                ++tally.judged;
                framesFailed += framesWrong ? 1 : 0;
                if (!why.empty()) failures += Format("\n  seed %u ", seed) + c.Describe() + "\n    " + why;
            }
            list += Format("%u/%03d %s %s | %s\n", seed, c.id, status.c_str(), why.empty() ? "-" : OneLine(why).c_str(),
                           c.Describe().c_str());
        }
    if (const char* path = std::getenv("LIS_SWEEP_LIST"))
        WriteBytes(path, std::vector<uint8_t>(list.begin(), list.end()));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    int left = 0;
    std::string kinds;
    for (const auto& [kind, count] : leftOut) {
        left += count;
        kinds += Format("%s%d %s", kinds.empty() ? "" : "; ", count, kind.c_str());
    }
    std::printf("[ SWEEP    ] %zu seeds from %u: %d passed (%d at another step than the truth's), %d failed, %d left "
                "out, %d promises unkept, %.1f s\n",
                seeds.size(), seeds.empty() ? 0u : seeds.front(), passed, otherStep, failed, left, unkeptPromises,
                seconds);
    std::printf("[ SWEEP    ] failed: %d frames wrong, %d the step alone; left out: %s\n", framesFailed,
                failed - framesFailed, kinds.empty() ? "none" : kinds.c_str());
    std::string tally, over;
    for (const auto& [kind, counts] : byKind) {
        const int allowed = Allowed(kind, counts.judged);
        tally += Format("%s%s %d of %d (%d allowed, %d left out)", tally.empty() ? "" : "; ", sweep::KindName(kind),
                        counts.failed, counts.judged, allowed, counts.left);
        if (counts.failed > allowed)
            over += Format("\n  %s %d of %d, %d allowed (%s)", sweep::KindName(kind), counts.failed, counts.judged,
                           allowed, KnownOf(kind) ? KnownOf(kind)->what : "none known");
    }
    std::printf("[ SWEEP    ] failed by kind: %s\n", tally.c_str());
    EXPECT_EQ(unkeptPromises, 0) << "cases written without what their kind promises:" << unkept;
    // More than a kind's share is a regression; a kind well under it, a share to lower.
    EXPECT_TRUE(over.empty()) << "kinds failing more than their known share:" << over
                              << "\nthe failing cases:" << failures;
}

// A log of records of `perRecord` frames, depth once where `once`, in F code 68 at 0.5 ft
// from 5,000 ft, `gap` places missing after each record but the last.
Case RecordsLog(bool once, int perRecord, int records, int gap, Spacing spacing)
{
    Case c;
    c.depth = {68, "F", false, 1.0, 1000, 28000, "M", 1.0};
    c.step = {0.5, false};
    c.spacing = spacing;
    c.once = once;
    c.perRecord = perRecord;
    c.gaps = Gaps::AfterRecords;
    c.gapAfter.assign(size_t(records - 1), gap);
    c.grid = records * perRecord + (records - 1) * gap;
    c.shallow = 5000;
    return c;
}

// The judge takes the coarsest step that lays the recorded depths where EB 8 neither gives
// nor names it, and no finer one (a reader that halves the step fails); EB 8 that lays
// them stands however fine. Each row: the log's step, and readings allowed or not, as
// shares of the true step.
TEST(LisStepSweepJudge, TakesOnlyTheCoarsestStepThatLaysTheDepths)
{
    struct Row {
        const char* what;
        Case c;
        double log;
        std::vector<std::pair<double, bool>> reads;
    };
    Case spliced = RecordsLog(true, 10, 2, 0, Spacing::Absent);
    spliced.event = Event::Splice;
    spliced.eventAt = 10;
    spliced.eventSize = 0.25; // half a step: the records on no one grid of 0.5 ft
    const Row rows[] = {
        {"per frame, no EB 8", RecordsLog(false, 8, 5, 0, Spacing::Absent), 1, {{1, true}, {0.5, false}}},
        {"depth once, 2 frames and a gap of 1: running on at 1.5", RecordsLog(true, 2, 12, 1, Spacing::Absent), 1.5,
         {{1.5, true}, {1, false}, {0.75, false}}},
        {"depth once, 1 frame and a gap of 1: 2", RecordsLog(true, 1, 20, 1, Spacing::Zero), 2,
         {{2, true}, {1, false}}},
        {"depth once, 3 frames and a gap of 3: 2", RecordsLog(true, 3, 10, 3, Spacing::Absent), 2,
         {{2, true}, {1, false}, {1.5, false}}},
        {"EB 8 half the step lays the depths: it stands", RecordsLog(false, 8, 5, 0, Spacing::Half), 1,
         {{1, true}, {0.5, true}, {0.25, false}}},
        {"EB 8 right gives the step over gaps", RecordsLog(true, 1, 20, 1, Spacing::Right), 1,
         {{1, false}, {2, false}}},
        {"EB 8 a little off names the step", RecordsLog(true, 2, 12, 1, Spacing::Off), 1, {{1, true}, {1.5, false}}},
        {"two records across a splice: the distance over the first's frames", spliced, 1,
         {{1.025, true}, {0.5125, false}}},
    };
    for (const Row& row : rows) {
        const Written w = sweep::Write(row.c);
        const Stretch s = StretchOf(row.c, w);
        const double truth = row.c.StepOut();
        EXPECT_NEAR(LogStep(row.c, w, s) / truth, row.log, 1e-9) << row.what;
        for (const auto& [read, allowed] : row.reads)
            EXPECT_EQ(Allows(row.c, w, s, read * truth), allowed) << row.what << ": " << read;
    }
}

// A kind's promise judged from the bytes: odd depths within the code's rounding of their
// place, or a record written on the depth of the one before, keep none; the generator
// keeps every kind's at seeds the sweep has not drawn.
TEST(LisStepSweepKinds, EveryKindWritesWhatItPromises)
{
    Case odd = RecordsLog(false, 8, 10, 0, Spacing::Half);
    odd.kind = sweep::Kind::FractionOdd;
    odd.depth = {73, ".1IN", false, 1.0 / 120, 1000, 28000, ".5MM", 0.0005};
    odd.step = {1.0 / 120, false};
    odd.event = Event::Odd;
    odd.eventAt = 20;
    odd.eventSize = 0.4 / 120; // under half a unit: written on its place
    odd.more = {{40, 0.4 / 120}, {60, -0.4 / 120}};
    EXPECT_NE(Unkept(odd, sweep::Write(odd)), nullptr) << "odd depths rounded onto their places";
    odd.step = {0.5, false};
    odd.eventSize = 0.03;
    odd.more = {{40, 0.03}, {60, -0.03}};
    EXPECT_EQ(Unkept(odd, sweep::Write(odd)), nullptr) << "odd depths 3.6 units off";

    Case inside = RecordsLog(true, 4, 6, 0, Spacing::Right);
    inside.kind = sweep::Kind::SpliceBack;
    inside.depth = odd.depth;
    inside.step = {1.0 / 120, false};
    inside.event = Event::SpliceBack;
    inside.eventAt = 12;
    inside.eventSize = 3.8 / 120; // 0.2 of a unit past the record before's depth: written on it
    EXPECT_NE(Unkept(inside, sweep::Write(inside)), nullptr) << "a record on the depth of the one before";
    inside.eventSize = 2.0 / 120;
    EXPECT_EQ(Unkept(inside, sweep::Write(inside)), nullptr) << "a record two units inside the one before";

    std::string unkept;
    for (uint32_t seed = 1; seed <= kKindSeeds; ++seed)
        for (const Case& c : sweep::Draw(seed, 0, kKindCases, kNewCases))
            if (const char* missing = Unkept(c, sweep::Write(c)))
                unkept += Format("\n  seed %u %s: %s", seed, c.Describe().c_str(), missing);
    EXPECT_TRUE(unkept.empty()) << unkept;
}

} // namespace
