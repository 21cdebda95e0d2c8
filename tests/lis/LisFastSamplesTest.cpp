// Every LIS value under its own name and at its own depth: the samples of fast
// channels where the field's LIS readers put them (the frame's depth on the last, the
// others back toward the frame before), kept through QTX -> LIS -> QTX; channels that
// do not split into whole samples, and frames of a repeated depth, named in the log;
// a curve that shares a dictionary waveform name converted as the curve it is.
#include "dataset/FastDatum.h"
#include "lis/LisDictionary.h"
#include "lis/LisParamScan.h"
#include "lis/LisToQtx.h"
#include "lis/QtxToLis.h"
#include "res/ResourceIds.h"

#include "LisHelpers.h"
#include "platform/Format.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using lisb::Channel;

class LisFastSamplesTest : public HostTest {
protected:
    TempDir dir;
    std::string lisPath = dir.File("well.lis");
    std::string qtxPath = dir.File("well.qtx");

    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_TRUE(LisDictionaryBuilder()
                        .Depth({"DEPT"})
                        .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
                        .Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}})
                        .WriteDit(dir.Path()));
    }

    // The one data set of `lis`, every item selected.
    std::unique_ptr<CLisLogicalFile> ScanAll(const std::string& lis)
    {
        CLisLogicalFileList files;
        CLisParamScan scan;
        EXPECT_EQ(scan.Scan(lis, &files, dir.Path(), lis::kToolDsi), 1);
        EXPECT_EQ(files.size(), 1u);
        if (files.size() != 1) return nullptr;
        for (auto& item : files[0]->m_items) item->m_selected = 1;
        return std::move(files[0]);
    }

    // Converts `file` of `lis` into `qtx` with its log; the log's text.
    std::string Convert(CLisLogicalFile& file, const std::string& lis, const std::string& qtx)
    {
        std::filesystem::remove(CLisToQtx::LogPath(qtx)); // the log of the case before
        {
            CLisToQtx converter;
            converter.m_outputConfirmed = true;
            EXPECT_EQ(converter.OpenLog("well.lis", qtx, lis), 1);
            converter.LogDataSet("Dsi", file);
            EXPECT_EQ(converter.Convert(&file, lis, qtx), 1);
        }
        const auto bytes = ReadBytes(CLisToQtx::LogPath(qtx));
        return std::string(bytes.begin(), bytes.end());
    }

    // QTX -> LIS (packed) -> QTX; the second data set.
    QtxImage RoundTrip(const std::string& qtx)
    {
        const std::string lis2 = dir.File("back.lis"), qtx2 = dir.File("back.qtx");
        host.ScriptDialog(kIddWaveformPack).Press(IDOK);
        CQtxToLis exporter;
        EXPECT_EQ(exporter.Convert(qtx, lis2), 1);
        EXPECT_TRUE(OkOrShow(exporter.m_writer.Close()));
        auto file = ScanAll(lis2);
        if (!file) return {};
        Convert(*file, lis2, qtx2);
        return LoadQtx(qtx2);
    }
};

// Sample s of frame k lies at X[k-1] + (s + 1)(X[k] - X[k-1]) / N, in recorded order,
// on down and up logs: the datum's axis gives each sample's offset from its frame's
// depth (first index x step, signed), the value shown at a frame's depth is its last
// sample, and QTX -> LIS -> QTX keeps the axis.
TEST_F(LisFastSamplesTest, FastSamplesStandWhereTheFieldsReadersPutThem)
{
    for (const int n : {2, 3, 4}) {
        for (const bool up : {false, true}) {
            SCOPED_TRACE(Format("%d samples, %s log", n, up ? "up" : "down"));
            lisb::Dfsr d;
            d.direction = up ? lis::kLogUp : lis::kLogDown;
            d.channels = {Channel("GR", "GAPI"), Channel("DT", "US/F", uint16_t(4 * n), uint8_t(n), 68)};
            const double step = up ? -0.5 : 0.5, top = up ? 1002.0 : 1000.0;
            LisBuilder b;
            b.FileHeader("FAST  .001").Dfsr(d).Data(d, top, step, 5).FileTrailer("FAST  .001");
            b.Write(lisPath);
            auto file = ScanAll(lisPath);
            ASSERT_TRUE(file);
            const std::string log = Convert(*file, lisPath, qtxPath);
            const QtxImage out = LoadQtx(qtxPath);
            ASSERT_EQ(out.frames.size(), 5u);
            ASSERT_EQ(out.descriptors.size(), 2u);
            const QtxAxisDescriptor axis = out.descriptors[1].axis1;
            EXPECT_EQ(int16_t(axis.firstIndex), -(n - 1));
            EXPECT_EQ(axis.step, float(step / n));
            EXPECT_EQ(qtx::ValueAtFrameDepth(axis.firstIndex, axis.sampleCount, out.descriptors[1].size),
                      uint32_t(n - 1));
            for (size_t k = 1; k < 5; ++k)
                for (int s = 0; s < n; ++s) {
                    const double at = out.depths[k] + (int16_t(axis.firstIndex) + s) * double(axis.step);
                    const double want = out.depths[k - 1] + (s + 1) * (out.depths[k] - out.depths[k - 1]) / n;
                    EXPECT_NEAR(at, want, 1e-5) << "frame " << k << " sample " << s;
                    EXPECT_EQ(out.frames[k][size_t(1 + s)], float(lisb::DefaultSample(int(k), 1, s)));
                }
            const double spacing = 0.5 / n;
            EXPECT_NE(log.find(Format("Fast channel DT: %d samples per frame, all kept as datum DT of %d values in the "
                                      "order recorded; the last sample stands at the frame's depth and each one "
                                      "before it %.4f F from the next, back toward the frame before (the first at "
                                      "%+.4f F)",
                                      n, n, spacing, (up ? 1 : -1) * spacing * (n - 1))),
                      std::string::npos)
                << log;

            const QtxImage back = RoundTrip(qtxPath);
            ASSERT_EQ(back.descriptors.size(), 2u);
            EXPECT_EQ(back.descriptors[1].axis1.firstIndex, axis.firstIndex);
            EXPECT_EQ(back.descriptors[1].axis1.step, axis.step);
            EXPECT_EQ(back.frames, out.frames);
        }
    }
}

// `n` frame depths from `top`, `step` apart; each jump {frame, distance} moves that frame
// and the ones after it further; `third`: every third frame is missing.
std::vector<double> Frames(double top, double step, int n, const std::vector<std::pair<int, double>>& jumps = {},
                           bool third = false)
{
    std::vector<double> out;
    double shift = 0.0;
    for (int k = 0, j = 0; int(out.size()) < n; ++j) {
        for (const auto& [at, by] : jumps)
            if (at == k) shift += by;
        if (third && j % 3 == 2) continue;
        out.push_back(top + j * step + shift);
        ++k;
    }
    return out;
}

// `n` frame depths from 1000 whose steps repeat `steps`.
std::vector<double> Cycle(const std::vector<double>& steps, int n)
{
    std::vector<double> out{1000.0};
    for (int k = 1; k < n; ++k) out.push_back(out.back() + steps[size_t(k - 1) % steps.size()]);
    return out;
}

struct StepCase {
    const char* what;
    bool once;
    double spacing; // EB 8; NaN: none
    std::string units, depthUnits;
    std::vector<double> depths; // of the frames, as recorded
    double step;                // what the data set should take, in its depth units
    const char* told;           // EB 8 as the log tells it (%s: the units); nullptr: quiet
    uint8_t code = 68;
    uint8_t direction = lis::kLogDown;
};

std::vector<StepCase> StepCases()
{
    const double metric = 0.15 / 0.3048; // 0.15 m in feet
    const double none = std::nan("");
    const char* twice = "of 0.5 %s disagrees with the frames' depths";
    const char* huge = "of 1e+30 %s disagrees with the frames' depths";
    const std::vector<double> gap = Frames(1000, 0.25, 60, {{30, 92.75}});
    std::vector<double> tie = Cycle({0.5}, 31), tenthMetre; // 30 steps of 0.5 ft, then 29 of 0.25
    for (int k = 0; k < 29; ++k) tie.push_back(tie.back() + 0.25);
    for (int k = 0; k < 60; ++k) tenthMetre.push_back(std::nearbyint(120000.0 + k * 0.1 / 0.3048 * 120)); // 39 or 40
    return {
        {".5MM beside depths in feet", false, 300.0, ".5MM", "FT", Frames(1000, metric, 6), metric, nullptr},
        {"M beside depths in feet", false, 0.15, "M", "FT", Frames(1000, metric, 6), metric, nullptr},
        {"FT beside depths in metres", false, 0.5, "FT", "M", Frames(1000, 0.1524, 6), 0.1524, nullptr},
        {"in agreement", false, 0.5, "FT", "FT", Frames(1000, 0.5, 6), 0.5, nullptr},
        {"twice the frames' step", false, 0.5, "FT", "FT", Frames(1000, 0.25, 6), 0.25, twice},
        {"one gap, EB 8 absent", false, none, "FT", "FT", gap, 0.25, "is absent"},
        {"one gap, EB 8 0", false, 0.0, "FT", "FT", gap, 0.25, "is 0"},
        {"one gap, EB 8 an absent value", false, 1e30, "FT", "FT", gap, 0.25, huge},
        {"an up log with three gaps", false, none, "FT", "FT",
         Frames(2000, -0.25, 60, {{15, -10.0}, {30, -20.5}, {45, -3.0}}), 0.25, "is absent", 68, lis::kLogUp},
        {"every third frame missing", false, 0.5, "FT", "FT", Frames(1000, 0.25, 60, {}, true), 0.25, twice},
        {"no grid and no step shared by most: EB 8 stands", false, 0.5, "FT", "FT", Cycle({0.3, 0.5, 0.7}, 30), 0.5,
         nullptr},
        {"steps of one, two and three quarter feet: the grid's", false, 0.5, "FT", "FT", Cycle({0.25, 0.5, 0.75}, 30),
         0.25, twice},
        {"no step shared by most, no EB 8: the commonest", false, none, "FT", "FT", Cycle({0.25, 0.25, 0.5, 0.75}, 30),
         0.25, "is absent"},
        // Code 73 holds depths in .1IN exactly: EB 8 agrees to the 0.1% share or not at all.
        {"code 73 .1IN at 10,000 ft, EB 8 of 1.5 .1IN", false, 1.5, ".1IN", ".1IN", Frames(1200000, 1, 60), 1.0 / 120,
         "of 0.0125 %s disagrees with the frames' depths", 73},
        {"code 73 .1IN at 30,000 ft, EB 8 doubled", false, 2.0, ".1IN", ".1IN", Frames(3600000, 1, 60), 1.0 / 120,
         "of 0.0166667 %s disagrees with the frames' depths", 73},
        {"code 73 .1IN at 30,000 ft, in agreement", false, 1.0, ".1IN", ".1IN", Frames(3600000, 1, 60), 1.0 / 120,
         nullptr, 73},
        {"depth once, in agreement", true, 0.5, "FT", "FT", Frames(1000, 0.5, 6), 0.5, nullptr},
        {"depth once, twice the records' step", true, 0.5, "FT", "FT", Frames(1000, 0.25, 6), 0.25, twice},
        {"depth once, M beside depths in feet", true, 0.15, "M", "FT", Frames(1000, metric, 6), metric, nullptr},
        {"depth once, an absent value", true, 1e30, "FT", "FT", Frames(1000, 0.5, 6), 0.5, huge},
        {"depth once, a gap, EB 8 absent", true, none, "FT", "FT", Frames(1000, 0.25, 12, {{6, 92.75}}), 0.25,
         "is absent"},
        // The step is measured over the span to the depths' precision: a grid every step
        // is a whole multiple of, integer depths of a step no whole number of their unit,
        // code 68 deep down where one unit of the fraction is half a step.
        {"30 steps of 0.5 and 29 of 0.25, EB 8 0.25", false, 0.25, "FT", "FT", tie, 0.25, nullptr},
        {"0.1 m on a .1IN tape, EB 8 0.1 M", false, 0.1, "M", ".1IN", tenthMetre, 0.1 / 0.3048, nullptr, 73},
        {"1/120 ft at 20,000 ft, EB 8 1.5 times", false, 1.5 / 120, "FT", "FT", Frames(20000, 1.0 / 120, 60), 1.0 / 120,
         "of 0.0125 %s disagrees with the frames' depths"},
        // Code 68 holds depths near 10,000 ft to two thousandths: their steps vary by as
        // much and still agree; EB 8 read to four places (0.0083) agrees with 1/120.
        {"1/12 ft, deep", false, 1.0 / 12, "FT", "FT", Frames(10000, 1.0 / 12, 6), 1.0 / 12, nullptr},
        {"1/120 ft, shallow", false, 1.0 / 120, "FT", "FT", Frames(0, 1.0 / 120, 6), 1.0 / 120, nullptr},
    };
}

// One rule gives a data set its step. Where most of the frames' steps (with the depth
// once a record, the records' depths over their frames) share one, it is the data set's
// step, places the frames and spaces the fast samples, whatever EB 8 says: absent, 0,
// beyond any log's or another step; the log says what EB 8 was. EB 8 stands where it
// agrees, in any units and within the depth code's own rounding (none for an integer
// code), or where no step is shared by most.
TEST_F(LisFastSamplesTest, OneRuleGivesTheDataSetItsStep)
{
    for (const StepCase& c : StepCases()) {
        SCOPED_TRACE(c.what);
        const lisb::Dfsr d{.depthOnce = c.once, .depthCode = c.code, .depthUnits = c.depthUnits,
                           .direction = c.direction, .spacing = c.spacing, .spacingUnits = c.units,
                           .spacingEntry = !std::isnan(c.spacing), .channels = {Channel("DT", "US/F", 8, 2, 68)}};
        LisBuilder b;
        b.FileHeader("STEP  .001").Dfsr(d);
        // Depth once: records of two frames; else a frame a record, each at its own depth.
        const int each = c.once ? 2 : 1;
        for (size_t k = 0; k < c.depths.size(); k += size_t(each))
            b.Data(d, c.depths[k], c.once ? c.depths[k + 1] - c.depths[k] : 0.0, each, lisb::DefaultSample, int(k));
        b.FileTrailer("STEP  .001").Write(lisPath);
        auto file = ScanAll(lisPath);
        ASSERT_TRUE(file);
        const std::string log = Convert(*file, lisPath, qtxPath);
        const QtxImage out = LoadQtx(qtxPath);
        ASSERT_EQ(out.descriptors.size(), 1u);
        ASSERT_EQ(out.depths.size(), c.depths.size()) << "no frame lost to a depth it was wrongly given";
        const double factor = c.code == 73 ? 1.0 / 120 : 1.0, held = std::max(1e-4, c.depths[0] * factor * 2.5e-7);
        for (size_t k = 0; k < c.depths.size(); ++k) EXPECT_NEAR(out.depths[k], c.depths[k] * factor, held) << k;
        EXPECT_NEAR(std::fabs(out.header.depthStep), c.step, 1e-4);
        EXPECT_NEAR(std::fabs(out.descriptors[0].axis1.step), c.step / 2, 1e-4)
            << "the samples between the frames' depths";
        const char* units = file->m_frameSpacingUnits.c_str(); // as the data set names them
        const std::string told = c.told ? "DFSR frame spacing (entry 8) " + Format(c.told, units) +
                                              Format("; the data set's step and the fast channels' sample spacing "
                                                     "follow the depths: %.4f %s\r\n",
                                                     c.step, units)
                                        : "DFSR frame spacing (entry 8)";
        EXPECT_EQ(log.find(told) != std::string::npos, c.told != nullptr) << told << "\n" << log;
        // An EB 8 of a log's size that the depths overrule is followed by what in them ruled it out.
        const bool ruled = c.told && std::string(c.told).find("disagrees") != std::string::npos && c.spacing < 1e5;
        EXPECT_EQ(log.find("Entry 8 ruled out: ") != std::string::npos, ruled) << log;
    }
}

// A frame whose depth goes back against the log's direction is named in the log with
// its place among the data set's frames and the depth before it.
TEST_F(LisFastSamplesTest, AFrameThatGoesBackAgainstTheLogsDirectionIsNamed)
{
    const struct {
        uint8_t direction;
        double first, second, step; // two records of three frames
        const char* line;           // nullptr: none goes back
    } cases[] = {
        {lis::kLogDown, 1000.0, 1000.75, 0.5, "Frame 4 at depth 1000.7500 goes back against the log's direction (down) "
                                              "from 1001.0000\r\n"},
        {lis::kLogUp, 1002.0, 1001.25, -0.5, "Frame 4 at depth 1001.2500 goes back against the log's direction (up) "
                                             "from 1001.0000\r\n"},
        {lis::kLogDown, 1000.0, 1001.5, 0.5, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        lisb::Dfsr d;
        d.direction = c.direction;
        d.channels = {Channel("GR", "GAPI")};
        LisBuilder b;
        b.FileHeader("BACK  .001").Dfsr(d).Data(d, c.first, c.step, 3).Data(d, c.second, c.step, 3, lisb::DefaultSample, 3);
        b.FileTrailer("BACK  .001").Write(lisPath);
        auto file = ScanAll(lisPath);
        ASSERT_TRUE(file);
        const std::string log = Convert(*file, lisPath, qtxPath);
        EXPECT_EQ(LoadQtx(qtxPath).frames.size(), 6u) << "the frame is kept";
        const size_t found = log.find(c.line ? c.line : "goes back");
        EXPECT_EQ(found != std::string::npos, c.line != nullptr) << log;
    }
}

// A data set of an up log whose step is below zero, with a fast datum: QTX -> LIS ->
// QTX gives back the step with its sign, the datum's axis and every value.
TEST_F(LisFastSamplesTest, QtxToLisToQtxKeepsAFastDatumsAxisAndANegativeStep)
{
    for (const int n : {2, 4}) {
        SCOPED_TRACE(n);
        QtxDatumShape curve;
        curve.mnemonic = "DT";
        curve.category = kCategoryTrace;
        curve.unit = kUnitMicrosecondsPerFoot;
        curve.samples = uint16_t(n);
        curve.step = float(-0.5 / n);
        curve.first = uint16_t(int16_t(1 - n));
        const auto exact = [](int frame, int, size_t index) { return float(frame * 8 + int(index)); };
        ASSERT_TRUE(WriteQtx(qtxPath, {curve}, 4, 1001.5, -0.5, exact, qtx::kLogUp));
        const QtxImage in = LoadQtx(qtxPath);
        const QtxImage back = RoundTrip(qtxPath);
        EXPECT_EQ(back.header.depthStep, -0.5);
        EXPECT_EQ(back.header.logDirection, qtx::kLogUp);
        ASSERT_EQ(back.descriptors.size(), 1u);
        EXPECT_EQ(back.descriptors[0].axis1.firstIndex, curve.first);
        EXPECT_EQ(back.descriptors[0].axis1.step, curve.step);
        EXPECT_EQ(back.descriptors[0].axis1.sampleCount, n);
        EXPECT_EQ(back.depths, in.depths);
        EXPECT_EQ(back.frames, in.frames);
    }
}

// A channel whose size does not split into whole samples of its code is left out and
// named in the log, like one past the frame's end; the channel behind it keeps its
// place and its values.
TEST_F(LisFastSamplesTest, AChannelThatDoesNotSplitIntoWholeSamplesIsLeftOutAndNamed)
{
    const struct {
        uint16_t size;
        uint8_t samples, code;
    } cases[] = {{28, 3, 68}, {12, 2, 68}, {6, 3, 68}, {10, 2, 79}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Format("%u bytes, %u samples, code %u", unsigned(c.size), unsigned(c.samples), unsigned(c.code)));
        lisb::Dfsr d;
        d.direction = lis::kLogDown;
        d.channels = {Channel("GR", "GAPI"), Channel("ODD", "", c.size, c.samples, c.code), Channel("AFT", "")};
        LisBuilder b;
        b.FileHeader("ODD   .001").Dfsr(d).Data(d, 1000.0, 0.5, 3).FileTrailer("ODD   .001");
        b.Write(lisPath);
        auto file = ScanAll(lisPath);
        ASSERT_TRUE(file);
        ASSERT_EQ(file->m_items.size(), 2u);
        const std::string log = Convert(*file, lisPath, qtxPath);
        EXPECT_NE(log.find(Format("Channel ODD left out: its %u bytes a frame do not split into %u whole samples of "
                                  "representation code %u\r\n",
                                  unsigned(c.size), unsigned(c.samples), unsigned(c.code))),
                  std::string::npos)
            << log;
        const QtxImage out = LoadQtx(qtxPath);
        ASSERT_EQ(out.frames.size(), 3u);
        for (size_t k = 0; k < 3; ++k)
            EXPECT_EQ(out.frames[k], (std::vector<float>{float(lisb::DefaultSample(int(k), 0, 0)),
                                                         float(lisb::DefaultSample(int(k), 2, 0))}));
    }
}

// Of two frames at one depth the later is kept, and the log names the one dropped with
// its depth and its place among the frames; so is a depth-once frame that the step
// places on the next record's depth (an up log whose record of three frames
// ends where the next begins).
TEST_F(LisFastSamplesTest, AFrameDroppedForARepeatedDepthIsNamedInTheLog)
{
    const char* repeated = "the frame after it has the same depth";
    const char* placed = "the step from its data record's depth places it on the next data record's depth";
    const struct {
        bool once;
        std::vector<double> records; // each record's first depth
        int frames;                  // of each record
        std::vector<double> depths;  // of the data set
        const char* why;             // of the frame dropped, the third
    } cases[] = {
        {false, {1000.0, 1001.0}, 3, {1000.0, 1000.5, 1001.0, 1001.5, 1002.0}, repeated},
        // Records 1, 1.5 and 2 ft apart share no step: EB 8's 0.5 ft places the frames.
        {true, {1000.0, 999.0, 997.5, 995.5}, 3,
         {1000.0, 999.5, 999.0, 998.5, 998.0, 997.5, 997.0, 996.5, 995.5, 995.0, 994.5}, placed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depths.back());
        lisb::Dfsr d;
        d.depthOnce = c.once;
        d.direction = c.records[1] > c.records[0] ? lis::kLogDown : lis::kLogUp;
        d.channels = {Channel("GR", "GAPI")};
        LisBuilder b;
        b.FileHeader("REP   .001").Dfsr(d);
        const double step = d.direction == lis::kLogDown ? 0.5 : -0.5;
        for (size_t r = 0; r < c.records.size(); ++r)
            b.Data(d, c.records[r], step, c.frames, lisb::DefaultSample, int(r) * c.frames);
        b.FileTrailer("REP   .001").Write(lisPath);
        auto file = ScanAll(lisPath);
        ASSERT_TRUE(file);
        const std::string log = Convert(*file, lisPath, qtxPath);
        EXPECT_NE(log.find(Format("Frame 3 at depth %9.4f dropped: %s\r\n", c.depths[2], c.why)), std::string::npos)
            << log;
        EXPECT_EQ(log.find("goes back"), std::string::npos) << log;
        const QtxImage out = LoadQtx(qtxPath);
        EXPECT_EQ(out.depths, c.depths);
        ASSERT_GT(out.frames.size(), 2u);
        EXPECT_EQ(out.frames[2][0], float(lisb::DefaultSample(3, 0, 0))) << "the later frame of the depth";
    }
}

// A depth-once record's last frame is dropped only where its step places it on (within
// the meeting window of the depth code) the depth of a next record that lies ahead; one
// half a step short of it is a frame of its own, and a repeated record depth starts a
// repeat section, whose frames are kept and named as going back.
TEST_F(LisFastSamplesTest, ALastFrameIsDroppedOnlyOnTheNextRecordAhead)
{
    const struct {
        std::vector<double> records; // each record's first depth, three frames 0.5 ft apart
        size_t frames;               // of the data set
        bool placed, back;           // a frame dropped as placed at the next record; one named going back
    } cases[] = {
        {{1000.0, 1001.25, 1002.75, 1004.25}, 12, false, false},
        {{1000.0, 1001.0, 1002.5, 1004.0}, 11, true, false},
        {{1000.0, 1001.5, 1001.5, 1003.0}, 12, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records[1]);
        lisb::Dfsr d;
        d.depthOnce = true;
        d.direction = lis::kLogDown;
        d.channels = {Channel("GR", "GAPI")};
        LisBuilder b;
        b.FileHeader("LAST  .001").Dfsr(d);
        for (size_t r = 0; r < c.records.size(); ++r)
            b.Data(d, c.records[r], 0.5, 3, lisb::DefaultSample, int(r) * 3);
        b.FileTrailer("LAST  .001").Write(lisPath);
        auto file = ScanAll(lisPath);
        ASSERT_TRUE(file);
        const std::string log = Convert(*file, lisPath, qtxPath);
        EXPECT_EQ(LoadQtx(qtxPath).frames.size(), c.frames);
        EXPECT_EQ(log.find("places it on the next data record's depth") != std::string::npos, c.placed) << log;
        EXPECT_EQ(log.find("goes back") != std::string::npos, c.back) << log;
        EXPECT_EQ(file->m_placedOnNextCount, c.placed ? 1u : 0u);
    }
}

// SMNO is a common curve and this program's semblance mnemonic, which the example
// dictionary names: a curve SMNO exported by this program imports back as the curve it
// is, the semblance datum as a semblance datum. An item the dialog shows with no name
// is refused by its datum's or channel's name.
TEST_F(LisFastSamplesTest, ACurveNamedAsADictionaryWaveformIsConvertedAsACurve)
{
    const std::string source = dir.File("tool-dictionary.txt");
    WriteBytes(source, ReadBytes(BRONTE_EXAMPLES "/tool-dictionary.txt"));
    host.ExpectFileDialog("Dictionary File to Import", source);
    ASSERT_TRUE(OkOrShow(CLisDictionary().Import(dir.Path())));
    QtxDatumShape curve{.mnemonic = "SMNO", .typeCode = 0, .category = kCategoryTrace, .unit = kUnitNone, .step = 1.0f};
    QtxDatumShape semblance{.mnemonic = "SMNO", .typeCode = 31, .category = kCategorySlowness, .samples = 10,
                            .unit = kUnitMicrosecondsPerFoot, .step = 40.0f};
    const struct {
        QtxDatumShape datum;
        std::string summary;
    } cases[] = {
        {curve, "SMNO|SMNO|SMNO |0|6|1/1|1|0.0000|0"},
        {semblance, "Semblance Proj|SMNO|SMNO - SEMBMONO|31|3|1/1|10|40.0000|0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        const std::string set = dir.File("set.qtx");
        ASSERT_TRUE(WriteQtx(set, {c.datum}, 3));
        const QtxImage back = RoundTrip(set);
        ASSERT_EQ(back.descriptors.size(), 1u);
        EXPECT_EQ(std::string(back.descriptors[0].mnemonic, 4), "SMNO");
        EXPECT_EQ(back.descriptors[0].typeCode, c.datum.typeCode);
        EXPECT_EQ(back.frames, LoadQtx(set).frames);
        auto file = ScanAll(dir.File("back.lis"));
        ASSERT_TRUE(file && file->m_items.size() == 1u);
        EXPECT_EQ(Summary(*file->m_items[0]), c.summary);
    }

    const struct {
        std::string display, mnemonic, channel, named;
    } nameless[] = {{"SMNO - ", "", "", "SMNO - "}, {" - ", "SMNO", "", "SMNO"}, {"", "", "SMNO", "of channel SMNO"},
                    {" - ", " ", "", "without a name"}};
    for (const auto& c : nameless) {
        CLisLogicalFile file;
        file.m_depths.push_back({1000.0, 0, 0, 0});
        auto item = std::make_unique<CWaveformPickItem>();
        item->m_displayName = c.display;
        item->m_mnemonic = c.mnemonic;
        item->m_selected = 1;
        if (!c.channel.empty()) {
            item->m_waveChannels.push_back(std::make_unique<CLisChannelItem>());
            item->m_waveChannels[0]->m_mnemonic = c.channel;
        }
        file.m_items.push_back(std::move(item));
        host.ExpectMessage("Item " + c.named + " cannot be converted: it has no receivers!\nFile :\n" + lisPath +
                           "\nLeave the item out in Select Input File Items.\nOperation will be abandoned.");
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        EXPECT_EQ(converter.Convert(&file, lisPath, qtxPath), 0);
    }
}

} // namespace
