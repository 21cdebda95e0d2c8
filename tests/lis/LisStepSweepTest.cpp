// A sweep of LIS logs of known truth, drawn with a fixed seed from one table of
// dimensions (support/LisSweep.h), each converted through the scan and Lis to Qtx and
// judged frame by frame: every frame written is read, in order, at its depth within
// what its depth code holds, with its own values; the data set's step is right over the
// run within the depths' precision; the fast samples are spaced by that step.
// LIS_SWEEP_LIST=<path> writes "<case> <PASS|FAIL|LEFT-OUT> <why>" a line, so that two
// builds can be compared case by case.
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

#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

using sweep::Case;
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

// How far the step may lie from its truth over `steps` steps: one step of two depths
// each within their precision is exact to one integer unit, or to one code-68 unit at
// the deepest frame.
double StepAllowance(const Case& c, const Written& w, double step, int steps)
{
    double deepest = 0;
    for (const sweep::Frame& f : w.frames) deepest = std::max(deepest, std::fabs(f.depth));
    const double code = c.depth.code == 68 ? Unit68(deepest / c.depth.unit) * c.depth.unit : c.depth.unit;
    return code / steps + HalfUlp32(step);
}

// EB 8 as the reader takes it: the code-68 word, to four decimals in its own units,
// then in the depths' units.
double Entry8AsRead(const Case& c, const Written& w)
{
    const double x = sweep::Value68(lisb::Code68(w.entry8));
    double s = double(int32_t((x + 0.00005) * 10000.0)) * 0.0001;
    s *= w.entry8Factor;
    if (w.entry8Metres != c.depth.metres) s = c.depth.metres ? s * kFoot : s / kFoot;
    return s;
}

// Cases nothing in the file can decide; the reason, or nullptr. All are of depth once
// a record, whose frames carry no depth:
// - with no usable EB 8 and a gap after every record (records of two frames with every
//   third frame missing), the frames may as well lie wider apart with no gap at all;
// - frames padded (EB 3 padded, or twice the channels with zeros behind each frame) in
//   records that hold whole frames of the channels as well, where those frames would
//   not reach past the next record's depth at a usable EB 8 (or there is none), are
//   the bytes of frames as long as the channels with no padding;
// - EB 3 r times the channels with no padding and EB 8 r times the step, in records of
//   whole EB 3 frames, are the bytes of frames padded to EB 3 with EB 8 right.
const char* Undecidable(const Case& c, const Written& w)
{
    if (!c.once) return nullptr;
    const bool usable = c.spacing == Spacing::Right || c.spacing == Spacing::OtherUnits;
    if (!usable && !w.recordsRunOn) return "depth once, a gap after every record, no usable EB 8";
    if ((c.layout == Layout::Padded || c.layout == Layout::OwnSize) && w.recordsWholeInChannels
        && (!usable || !w.channelsRunPast))
        return "depth once, padded frames that read as well as frames of the channels";
    const double ratio = c.spacing == Spacing::Twice ? 2.0 : c.spacing == Spacing::OneAndHalf ? 1.5 : 0.0;
    if ((c.layout == Layout::Multiple || c.layout == Layout::Larger) && w.recordsWholeInDeclared
        && double(w.declared) == ratio * w.channelBytes)
        return "depth once, EB 3 and EB 8 the same multiple of the channels and the step";
    return nullptr;
}

// Every frame written, in order, no other, each with its own values at its depth.
std::string JudgeFrames(const Case& c, const Written& w, const QtxImage& out, double stepAllowance)
{
    const size_t n = w.frames.size();
    std::string why;
    if (out.depths.size() != n || out.frames.size() != n)
        why = Format("%zu frames for %zu; ", out.depths.size(), n);
    for (size_t i = 0; i < std::min(n, out.frames.size()); ++i) {
        const sweep::Frame& f = w.frames[i];
        const std::vector<float>& v = out.frames[i];
        bool own = v.size() == size_t(1 + c.samples) && v[0] == float(sweep::Gr(f.index));
        for (int s = 0; own && s < c.samples; ++s) own = v[size_t(1 + s)] == float(sweep::Fa(f.index, s));
        if (!own)
            return why + Format("frame %zu holds %zu values, GR %g, FA %g for place %d; ", i, v.size(),
                                v.empty() ? 0.0 : double(v[0]), v.size() > 1 ? double(v[1]) : 0.0, f.index);
        // Depth once, frame k of a record stands k steps from the record's depth.
        const int k = c.once ? f.inRecord : 0;
        const double allowed = DepthPrecision(c, std::fabs(f.depth) + k * c.StepOut()) // no shallower than its record's
                               + k * (stepAllowance + c.StepOut() * FLT_EPSILON);
        if (i < out.depths.size() && !(std::fabs(out.depths[i] - f.depth) <= allowed))
            return why + Format("frame %zu (place %d, %d in its record) at %.6f for %.6f (off %.3g, allowed %.3g); ", i,
                                f.index, f.inRecord, out.depths[i], f.depth, out.depths[i] - f.depth, allowed);
    }
    return why;
}

// The step right over the run (or a right EB 8 as the reader takes it); the fast
// samples spaced by it.
std::string JudgeStep(const Case& c, const Written& w, const QtxImage& out)
{
    const int steps = std::abs(w.frames.back().index - w.frames.front().index);
    const double truth = c.StepOut(), step = std::fabs(out.header.depthStep);
    std::string why;
    const bool right = c.spacing == Spacing::Right || c.spacing == Spacing::OtherUnits;
    const double read = Entry8AsRead(c, w);
    const double allowed = steps > 0 ? StepAllowance(c, w, step, steps) : INFINITY;
    if (!(std::fabs(step - truth) <= allowed) && !(right && std::fabs(step - read) <= 1e-12 * read))
        why = Format("step %.7g for %.7g (off %.3g over %d steps, allowed %.3g); ", step, truth, step - truth, steps,
                     allowed);
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

    // Writes, scans and converts the case; what was wrong, empty where nothing was.
    std::string Run(const Case& c, const Written& w)
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
        const int steps = std::abs(w.frames.back().index - w.frames.front().index);
        const double allowance = steps > 0 ? StepAllowance(c, w, c.StepOut(), steps) : 0.0;
        return JudgeFrames(c, w, out, allowance) + JudgeStep(c, w, out) + shown;
    }
};

// Leaves out only the cases Undecidable names; every other case is read right.
TEST_F(LisStepSweepTest, EveryLogOfKnownTruthIsReadAtItsDepthsAndStep)
{
    const auto started = std::chrono::steady_clock::now();
    std::string list, failures;
    int passed = 0, failed = 0, leftOut = 0;
    for (const Case& c : sweep::Draw(FromEnvironment("LIS_SWEEP_SEED", kSeed),
                                     int(FromEnvironment("LIS_SWEEP_CASES", kCases)))) {
        const Written w = sweep::Write(c);
        std::string why, status = "LEFT-OUT";
        if (const char* undecidable = Undecidable(c, w)) {
            why = undecidable;
            ++leftOut;
        } else {
            why = Run(c, w);
            status = why.empty() ? "PASS" : "FAIL";
            ++(why.empty() ? passed : failed);
            if (!why.empty() && failed <= 12) failures += "\n  " + c.Describe() + "\n    " + why;
        }
        list += Format("%03d %s %s | %s\n", c.id, status.c_str(), why.empty() ? "-" : why.c_str(),
                       c.Describe().c_str());
    }
    if (const char* path = std::getenv("LIS_SWEEP_LIST"))
        WriteBytes(path, std::vector<uint8_t>(list.begin(), list.end()));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("[ SWEEP    ] %d passed, %d failed, %d left out, %.1f s\n", passed, failed, leftOut, seconds);
    EXPECT_EQ(failed, 0) << "the first failing cases:" << failures;
}

} // namespace
