// A sweep of LIS logs of known truth, drawn with a fixed seed from one table of
// dimensions (support/LisSweep.h), each converted through the scan and Lis to Qtx and
// judged against the truth: every frame written is read, in order, with its own values,
// at its depth within what its depth code holds (a per-frame depth as the file records
// it, odd or going back; a depth-once frame from its record's depth at the step), but
// for the earlier of two frames of one depth, which the reader drops. The data set's
// step holds over the run: from the read depth of the first frame, top + k x step lies
// within the depths' precision of every true depth to the last frame, over the longest
// stretch on one grid (a splice, repeat section or reversal starts another); the odd
// depth is judged as a frame only. The fast samples are spaced by that step.
// LIS_SWEEP_LIST=<path> writes "<case> <PASS|FAIL|LEFT-OUT> <why> | <case>" a line, so
// that two builds can be compared case by case.
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
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>

namespace {

using sweep::Case;
using sweep::Event;
using sweep::Gaps;
using sweep::Layout;
using sweep::Spacing;
using sweep::Written;

// Other draws for a longer look: LIS_SWEEP_SEED and LIS_SWEEP_CASES.
constexpr uint32_t kSeed = 20240131;
constexpr int kCases = 300;

uint32_t FromEnvironment(const char* name, uint32_t otherwise)
{
    const char* text = std::getenv(name);
    return text && *text ? uint32_t(std::strtoul(text, nullptr, 10)) : otherwise;
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

// How far a depth (feet or metres) may lie from its truth: a code-68 word holds one unit
// of its fraction, an integer code half a unit; the output may round it to a float.
double DepthPrecision(const Case& c, double depth)
{
    const double code = c.depth.code == 68 ? Unit68(depth / c.depth.unit) * c.depth.unit : 0.5 * c.depth.unit;
    return code + HalfUlp32(depth);
}

// The frames the step is judged over: the longest stretch on one grid (between the
// log's start or end and a splice, repeat section or reversal; the longer side), the
// odd depth and frames the reader drops left out; and what the depths hold there.
struct Stretch {
    std::vector<size_t> frames; // into Written::frames, in order
    int places = 0;             // from the first to the last
    double precision = 0;       // of a depth code at the deepest frame (no float rounding)
    double unit = 0;            // a step's allowance over the places, times the places
};

Stretch StretchOf(const Case& c, const Written& w)
{
    Stretch s;
    int span[2] = {-1, -1}, from[2] = {-1, -1}, to[2] = {-1, -1};
    double deepest = 0;
    for (const sweep::Frame& f : w.frames) {
        deepest = std::max(deepest, std::fabs(f.depth));
        if (f.odd || f.dropped) continue;
        if (from[f.stretch] < 0) from[f.stretch] = f.place;
        to[f.stretch] = f.place;
        span[f.stretch] = to[f.stretch] - from[f.stretch];
    }
    const int longest = span[1] > span[0] ? 1 : 0;
    for (size_t i = 0; i < w.frames.size(); ++i)
        if (w.frames[i].stretch == longest && !w.frames[i].odd && !w.frames[i].dropped) s.frames.push_back(i);
    s.places = std::max(span[longest], 0);
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
                               + (c.once && s.places > 0 ? f.inRecord * s.unit / s.places : 0.0);
        if (!(std::fabs(at - f.depth) <= allowed))
            return Format("top %.6f + %d x step %.9g = %.6f for frame %d at %.6f (off %.3g, allowed %.3g); ", top, k,
                          step, at, f.index, f.depth, at - f.depth, allowed);
    }
    return "";
}

// EB 8 in the depths' units, read in full from its code-68 word; 0 where absent.
double Entry8Read(const Case& c, const Written& w)
{
    if (c.spacing == Spacing::Absent) return 0.0;
    double s = sweep::Value68(lisb::Code68(w.entry8)) * w.entry8Factor;
    if (w.entry8Metres != c.depth.metres) s = c.depth.metres ? s * kFoot : s / kFoot;
    return s;
}

// What the depths of the stretch (depth once, its records' depths) make of `step`, by
// the rules a step is held to: it stands unless a depth lies off its grid beyond the
// depths' precision (between its places); depth once, a record's frames at it run past
// the next record's depth; or every distance is the same whole multiple (2, 3, ...) of
// it over four distances or more, where frames at that multiple would run past no record.
enum class Verdict { Stands, OffGrid, RunsPast, Multiple };

Verdict Hold(const Case& c, const Written& w, const Stretch& s, double step)
{
    const double sign = c.up ? -1.0 : 1.0;
    std::vector<size_t> points;
    for (size_t i : s.frames)
        if (!c.once || w.frames[i].inRecord == 0) points.push_back(i);
    if (points.empty() || !(step > 0)) return Verdict::Stands;
    const auto frames = [&](size_t i) { // depth once, the frames of the record at i
        size_t n = 1;
        while (c.once && i + n < w.frames.size() && w.frames[i + n].inRecord > 0) ++n;
        return long(n);
    };
    const double d0 = w.frames[points.front()].recorded;
    double least = 0, most = 0, deepest = 1;
    long previous = 0;
    std::vector<long> distances, counts;
    for (size_t p = 0; p < points.size(); ++p) {
        const double along = (w.frames[points[p]].recorded - d0) * sign;
        const long n = std::lround(along / step);
        const double off = along - double(n) * step;
        least = std::min(least, off);
        most = std::max(most, off);
        deepest = std::max(deepest, std::fabs(w.frames[points[p]].recorded));
        if (p > 0) {
            if (n <= previous) return Verdict::OffGrid;
            distances.push_back(n - previous);
            counts.push_back(frames(points[p - 1]));
            if (counts.back() > distances.back()) return Verdict::RunsPast;
        }
        previous = n;
    }
    if (most - least > 2 * s.precision + 1e-12 * deepest) return Verdict::OffGrid;
    if (distances.size() < 4) return Verdict::Stands;
    long g = 0;
    for (long d : distances) g = std::gcd(g, d);
    for (long m = 2; m <= g; ++m) {
        if (g % m) continue;
        bool fits = true;
        for (size_t i = 0; fits && i < distances.size(); ++i) fits = m * counts[i] <= distances[i];
        if (fits) return Verdict::Multiple;
    }
    return Verdict::Stands;
}

// Cases EB 3, EB 8 and the depths together cannot decide: the reason, or nullptr. Each
// is a header wrong where the bytes cannot prove it, or a header silent where the bytes
// read two ways.
const char* Undecidable(const Case& c, const Written& w, const Stretch& s)
{
    const bool usable = c.spacing == Spacing::Right || c.spacing == Spacing::OtherUnits || c.spacing == Spacing::Off;
    const bool right = c.spacing == Spacing::Right || c.spacing == Spacing::OtherUnits;
    const double entry8 = Entry8Read(c, w), truth = c.StepOut();
    const double top = s.frames.empty() ? 0.0 : w.frames[s.frames.front()].recorded;
    if (c.once) {
        if (!usable && !w.recordsRunOn)
            return "depth once, a gap after every record (or one record), no usable EB 8: the frames may lie wider apart";
        if (!usable && c.depth.code != 68 && w.records < 6
            && std::fabs(truth / c.depth.unit - std::round(truth / c.depth.unit)) > 1e-9)
            return "depth once, integer depths of fewer than six records, no usable EB 8: a step of no whole unit is "
                   "not told to a frame's precision";
        if (c.layout == Layout::Smaller && w.recordsWholeInDeclared && (!usable || !w.declaredRunPast))
            return "depth once, EB 3 short of the channels but whole in every record, and no usable EB 8 that its "
                   "frames run past: nothing rules EB 3 out";
        if ((c.layout == Layout::Padded || c.layout == Layout::Zeros || c.layout == Layout::OwnSize) && usable
            && w.channelsFillGaps)
            return "depth once, padded frames whose channels alone EB 8 steps with no gap, where EB 3's leave one "
                   "after every record";
    }
    if (!right && entry8 > 0 && Hold(c, w, s, entry8) == Verdict::Stands && !StepMisses(c, w, s, top, entry8).empty())
        return c.once ? "depth once, a wrong EB 8 the records' depths do not rule out"
                      : "per-frame, a wrong EB 8 on whose grid every depth lies";
    // A right EB 8 off its grid over a long run is only a step to measure.
    if (right && Hold(c, w, s, entry8) == Verdict::Multiple)
        return "a right EB 8 that every distance takes a whole multiple of: the bytes of EB 8 at a fraction of the step";
    if (!c.once && !usable && c.gaps == Gaps::EveryThird && Hold(c, w, s, 1.5 * truth) == Verdict::Stands
        && !StepMisses(c, w, s, top, 1.5 * truth).empty())
        return "per-frame, every third place missing, no usable EB 8: the depths lie as well 1.5 steps apart with "
               "none missing";
    return nullptr;
}

// Every frame written, in order, no other but those the reader drops for a repeated
// depth, each with its own values at its depth.
std::string JudgeFrames(const Case& c, const Written& w, const QtxImage& out, const Stretch& s)
{
    std::vector<const sweep::Frame*> kept;
    for (const sweep::Frame& f : w.frames)
        if (!f.dropped) kept.push_back(&f);
    const size_t n = kept.size();
    std::string why;
    if (out.depths.size() != n || out.frames.size() != n) why = Format("%zu frames for %zu; ", out.depths.size(), n);
    int gr = -1, fa = -1; // value indices of GR and of FA's first sample
    for (const QtxDatumDescriptor& d : out.descriptors) {
        const std::string name(d.mnemonic, 4);
        if (name == "GR  ") gr = int(d.offset - qtx::kDepthSize) / 4;
        if (name == "FA  ") fa = int(d.offset - qtx::kDepthSize) / 4;
    }
    if (gr < 0 || fa < 0) return why + "no datum GR or FA; ";
    const double stepAllowance = s.places > 0 ? s.unit / s.places + HalfUlp32(c.StepOut()) : 0.0;
    for (size_t i = 0; i < std::min(n, out.frames.size()); ++i) {
        const sweep::Frame& f = *kept[i];
        const std::vector<float>& v = out.frames[i];
        bool own = v.size() >= size_t(std::max(gr + 1, fa + c.samples)) && v[size_t(gr)] == float(sweep::Gr(f.index));
        for (int k = 0; own && k < c.samples; ++k) own = v[size_t(fa + k)] == float(sweep::Fa(f.index, k));
        if (!own)
            return why + Format("frame %zu holds %zu values, GR %g, FA %g for frame %d; ", i, v.size(),
                                size_t(gr) < v.size() ? double(v[size_t(gr)]) : 0.0,
                                size_t(fa) < v.size() ? double(v[size_t(fa)]) : 0.0, f.index);
        // Depth once, frame k of a record stands k steps from the record's depth.
        const int k = c.once ? f.inRecord : 0;
        const double allowed = DepthPrecision(c, std::fabs(f.depth) + k * c.StepOut()) // no shallower than its record's
                               + k * (stepAllowance + c.StepOut() * FLT_EPSILON);
        if (!(std::fabs(out.depths[i] - f.depth) <= allowed))
            return why + Format("frame %zu (place %d, %d in its record) at %.6f for %.6f (off %.3g, allowed %.3g); ", i,
                                f.place, f.inRecord, out.depths[i], f.depth, out.depths[i] - f.depth, allowed);
    }
    return why;
}

// The data set's step held to the truth over the run: from the read depth of the
// stretch's first frame, top + k x step within the precision of each true depth to the
// stretch's last frame; the fast samples spaced by it.
std::string JudgeStep(const Case& c, const Written& w, const QtxImage& out, const Stretch& s)
{
    const double step = std::fabs(out.header.depthStep);
    std::string why;
    if (!s.frames.empty() && s.places > 0) {
        size_t at = 0; // the stretch's first frame in the output
        for (size_t i = 0; i < s.frames.front(); ++i) at += w.frames[i].dropped ? 0 : 1;
        if (at < out.depths.size()) {
            const std::string misses = StepMisses(c, w, s, out.depths[at], step);
            if (!misses.empty()) why = Format("step %.9g for %.9g: ", step, c.StepOut()) + misses;
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

class LisStepSweepTest : public HostTest {
protected:
    TempDir dir;
    std::string lisPath = dir.File("sweep.lis");
    std::string qtxPath = dir.File("sweep.qtx");
    std::string shown; // message boxes of the case
    bool framesWrong = false; // of the case last run: its frames, not its step alone

    void SetUp() override
    {
        HostTest::SetUp();
        host.onUnexpected = [this](const std::string& what) { shown += " [" + what + "]"; };
        ASSERT_TRUE(LisDictionaryBuilder()
                        .Depth({"DEPT"})
                        .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
                        .Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}})
                        .WriteDit(dir.Path()));
    }

    // A reason on one line of the list, the same in every run: no line breaks, no
    // temporary folder.
    std::string OneLine(std::string why) const
    {
        for (size_t at; (at = why.find(dir.Path())) != std::string::npos;) why.replace(at, dir.Path().size(), "<dir>");
        std::replace(why.begin(), why.end(), '\n', ' ');
        return why;
    }

    // Writes, scans and converts the case; what was wrong, empty where nothing was.
    std::string Run(const Case& c, const Written& w, const Stretch& s)
    {
        shown.clear();
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
        const QtxImage out = LoadQtx(qtxPath);
        const std::string frames = JudgeFrames(c, w, out, s);
        framesWrong = !frames.empty();
        return frames + JudgeStep(c, w, out, s) + shown;
    }
};

// Leaves out only the cases Undecidable names; every other case is read right. The
// second line tallies the failures (frames wrong, or the step alone) and the cases left
// out by their reason.
TEST_F(LisStepSweepTest, EveryLogOfKnownTruthIsReadAtItsDepthsAndStep)
{
    const auto started = std::chrono::steady_clock::now();
    std::string list, failures;
    int passed = 0, failed = 0, framesFailed = 0;
    std::map<std::string, int> leftOut;
    for (const Case& c : sweep::Draw(FromEnvironment("LIS_SWEEP_SEED", kSeed),
                                     int(FromEnvironment("LIS_SWEEP_CASES", kCases)))) {
        const Written w = sweep::Write(c);
        const Stretch s = StretchOf(c, w);
        std::string why, status = "LEFT-OUT";
        if (const char* undecidable = Undecidable(c, w, s)) {
            why = undecidable;
            ++leftOut[why];
        } else {
            why = Run(c, w, s);
            status = why.empty() ? "PASS" : "FAIL";
            ++(why.empty() ? passed : failed);
            framesFailed += framesWrong ? 1 : 0;
            if (!why.empty() && failed <= 12) failures += "\n  " + c.Describe() + "\n    " + why;
        }
        list += Format("%03d %s %s | %s\n", c.id, status.c_str(), why.empty() ? "-" : OneLine(why).c_str(),
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
    std::printf("[ SWEEP    ] %d passed, %d failed, %d left out, %.1f s\n", passed, failed, left, seconds);
    std::printf("[ SWEEP    ] failed: %d frames wrong, %d the step alone; left out: %s\n", framesFailed,
                failed - framesFailed, kinds.empty() ? "none" : kinds.c_str());
    EXPECT_EQ(failed, 0) << "the first failing cases:" << failures;
}

} // namespace
