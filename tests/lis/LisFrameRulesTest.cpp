// The frame rules at the edges of their thresholds: where a depth-once record's last
// frame meets the next record's depth (and is dropped as one with it), the way the frames
// of records that jump about run, and when the bytes behind the channels rule EB 3 out or
// its depths' turns do not.
#include "lis/steps/FrameRules.h"
#include "lis/steps/Steps.h"
#include "lis/LisRecordIO.h"

#include "support/LisBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using lis::frames::LayoutTrials;

constexpr uint8_t kFloat = 68, kInt32 = 73;

// A depth-once data set of `records` (each its recorded depth and frames), EB 8 `step`.
CLisLogicalFile DepthOnce(uint8_t code, double step, const std::vector<std::pair<double, int>>& records)
{
    CLisLogicalFile f;
    f.m_depthMode = lis::kDepthPerRecord;
    f.m_depthCode = code;
    f.m_frameSpacing = step;
    f.m_dfsrSpacing = step;
    uint64_t position = 0;
    for (const auto& [depth, frames] : records) {
        for (int k = 0; k < frames; ++k) f.m_depths.push_back({depth + k * step, position, 0, 0});
        position += 100;
    }
    return f;
}

TEST(LisFrameRulesTest, ARecordsLastFrameIsDroppedOnlyWhereItMeetsTheNextRecordsDepth)
{
    // Records of `frames` frames, `apart` from one to the next (the one odd record apart
    // by `odd` after the fourth).
    const struct {
        const char* what;
        uint8_t code;
        double step, apart, odd;
        int frames;
        size_t dropped;
    } cases[] = {
        {"integer feet, 0.5 ft: a frame half a unit short of the next record is kept", kInt32, 0.5, 1.0, 1.0, 2, 0},
        {"integer feet, 1 ft: a last frame on the next record's depth is one with it", kInt32, 1.0, 2.0, 1.0, 2, 1},
        {"integer feet, 2 ft: a last frame a unit short of the next record is one with it", kInt32, 2.0, 4.0, 3.0,
         2, 1},
        {"code 68: a last frame on the next record's depth is one with it", kFloat, 0.5, 2.0, 1.5, 4, 1},
        {"code 68: a last frame past the next record's depth is kept", kFloat, 0.5, 2.0, 1.4, 4, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<double, int>> records;
        double depth = 1000.0;
        for (int r = 0; r < 12; ++r, depth += r == 4 ? c.odd : c.apart) records.push_back({depth, c.frames});
        CLisLogicalFile f = DepthOnce(c.code, c.step, records);
        lis::frames::SettleSpacing(f);
        EXPECT_EQ(f.m_placedOnNext.size(), c.dropped) << c.what;
        EXPECT_DOUBLE_EQ(f.m_frameSpacing, c.step) << c.what;
    }
}

// Depth-once records of six frames 0.5 ft apart, as read (each record's frames the way
// the distance from the record before ran), with no EB 8: where their frames are placed.
// Records of six frames 0.5 ft apart, each following the one before at once (`ahead` of
// them) but after `backs`, where the next lies 4.5 ft behind; then one 200 ft on.
std::vector<double> Runs(int ahead, const std::vector<int>& backs)
{
    std::vector<double> records{1000.0};
    for (int r = 1; r <= ahead + int(backs.size()); ++r)
        records.push_back(records.back() + (std::find(backs.begin(), backs.end(), r) != backs.end() ? -4.5 : 3.0));
    records.push_back(records.back() + 200.0);
    return records;
}

TEST(LisFrameRulesTest, FramesOfRecordsThatJumpAboutRunTheWayMostRecordDistancesRun)
{
    const struct {
        const char* what;
        std::vector<double> records;
        double second; // the second frame of the record after the first turn back
        uint8_t header = 0; // EB 4
    } cases[] = {
        {"back twice in seven distances, near", {1001.5, 1004.5, 1000, 1003, 1006, 1001.5, 1004.5, 1007.5}, 1000.5},
        {"back three times in eleven distances, near",
         {1000, 1003, 1006, 1009, 1012, 1007.5, 1010.5, 1013.5, 1016.5, 1012, 1007.5, 1010.5}, 1008},
        {"back twice in seven distances, one far", {1001.5, 1004.5, 1000, 1003, 1006, 1001.5, 1004.5, 1207.5}, 999.5},
        {"back twice in seven distances, one far, EB 4 down: each as read",
         {1001.5, 1004.5, 1000, 1003, 1006, 1001.5, 1004.5, 1207.5}, 999.5, lis::kLogDown},
        {"back twice in five distances, near, EB 4 down", {1003, 1006, 1001.5, 1004.5, 1000, 1003}, 1002,
         lis::kLogDown},
        {"back twice in five distances, near, no EB 4: each as read", {1003, 1006, 1001.5, 1004.5, 1000, 1003}, 1001},
        {"back twice in seven distances, one 150 ft on: near", {1001.5, 1004.5, 1000, 1003, 1006, 1001.5, 1004.5, 1154.5},
         1000.5},
        // Records far apart: the way most run where one in ten or fewer turn back, or a short
        // log's two against three times as many.
        {"back three times in thirty distances, far", Runs(26, {5, 12, 19}), 1008},
        {"back three times in twenty-nine distances, far: each as read", Runs(25, {5, 12, 19}), 1007},
        {"back twice in eight distances, far", Runs(5, {2, 5}), 999},
        {"back three times in thirteen distances, far: each as read", Runs(9, {2, 5, 8}), 998},
    };
    for (const auto& c : cases) {
        CLisLogicalFile f;
        f.m_depthMode = lis::kDepthPerRecord;
        f.m_depthCode = kFloat;
        f.m_headerUpDown = c.header;
        for (size_t r = 0; r < c.records.size(); ++r) {
            const double way = r > 0 && c.records[r] < c.records[r - 1] ? -0.5 : 0.5;
            for (int k = 0; k < 6; ++k) f.m_depths.push_back({c.records[r] + k * way, uint64_t(r) * 100, 0, 0});
        }
        lis::frames::SettleSpacing(f);
        size_t turn = 1;
        while (c.records[turn] > c.records[turn - 1]) ++turn;
        EXPECT_DOUBLE_EQ(f.m_depths[turn * 6 + 1].m_depth, c.second) << c.what;
        EXPECT_DOUBLE_EQ(std::fabs(f.m_frameSpacing), 0.5) << c.what;
    }
}

// Depth-once logs, no EB 8, each record following the one before at once but one that
// starts inside it: the step is the frames', in a log of a few records, and where the
// splice lands on a finer grid after which most records would leave a gap.
TEST(LisFrameRulesTest, ARecordStartingInsideTheOneBeforeKeepsTheStepOfAFewRecords)
{
    const struct {
        const char* what;
        uint8_t code;
        int frames;
        std::vector<double> records;
        double step;
    } cases[] = {
        {"four records of 18, one starting 5.5 frames inside the one before", kFloat, 18,
         {1000, 1004.5, 1009, 1012.125}, 0.25},
        {"four records of 18, one starting 2 frames inside the one before", kFloat, 18, {1000, 1004.5, 1009, 1013},
         0.25},
        {"nine records of 3 (integer units), the splice back on a grid of 10.6 units", kInt32, 3,
         {1174250, 1174430, 1174610, 1174790, 1174970, 1175001, 1175181, 1175361, 1175541}, 60},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<double, int>> records;
        for (double d : c.records) records.push_back({d, c.frames});
        CLisLogicalFile f = DepthOnce(c.code, 0.0, records);
        lis::frames::SettleSpacing(f);
        EXPECT_NEAR(std::fabs(f.m_frameSpacing), c.step, 1e-9) << c.what;
    }
}

// A usable EB 8 against the step the rules choose, in depth-once logs: it stands where
// the reading at that step is no better (a splice back in a few records is no anchor off
// its places), gives way where most of its records would start inside the one before,
// or where the rules let it stand and its own reading is disproved where the depths'
// step's is not, and is written as read, not to four places, where those would move the last record's
// frames by half a unit of the depths.
TEST(LisFrameRulesTest, AUsableEntryEightHasTheLastWordUnlessTheReadingAtTheStepIsBetter)
{
    const double converted = 0.1 / 0.3048; // 0.1 m taken into feet
    const auto tenths = [](double ft) { return std::nearbyint(ft * 120.0) / 120.0; };
    const struct {
        const char* what;
        uint8_t code;
        double entry8;
        int frames;
        std::vector<double> records;
        double step;
    } cases[] = {
        {"three records of 15, the last starting inside the one before", kFloat, 0.25, 15, {1000, 1003.75, 1005.0},
         0.25},
        {"six records of 8 running on at two thirds of EB 8", kFloat, 0.375, 8, {1000, 1002, 1004, 1006, 1008, 1010},
         0.25},
        {"ten records of 5 running on but after two: EB 8 at 1.5 of the step stood", kFloat, 1.5, 5,
         {1000, 1005, 1010, 1015, 1033, 1038, 1043, 1048, 1059, 1064}, 1.0},
        // At 1.5 three records run past the next and two lie off its places: splices its
        // reading does not stand with, where the step lays every record out.
        {"thirteen records of 22 with wide gaps: EB 8 at 1.5 of the step stood", kFloat, 1.5, 22,
         {1000, 1044, 1077, 1140, 1168, 1224, 1290, 1329, 1362, 1384, 1418, 1484, 1515}, 1.0},
        // At twice the step one record starts inside the one before and one on its last
        // frame: a splice and a frame lost, where half of it lays every record out.
        {"five records of 18, two running on: EB 8 at twice the step stood", kFloat, 1.0, 18,
         {1000, 1009, 1026, 1053, 1077}, 0.5},
        {"two records of 146 in tenths of an inch, EB 8 of 0.1 m", kInt32, converted, 146,
         {tenths(1000), tenths(1000 + 146 * converted)}, converted},
        {"two records of 31 in tenths of an inch, EB 8 of 0.05 m", kInt32, converted / 2, 31,
         {tenths(1000), tenths(1000 + 31 * converted / 2)}, converted / 2},
        {"two records of 31, EB 8 a float of 0.0833 ft read as such", kFloat, double(0.0833f), 31, {1000, 1002.5823},
         0.0833},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<double, int>> records;
        for (double d : c.records) records.push_back({d, c.frames});
        CLisLogicalFile f = DepthOnce(c.code, c.entry8, records);
        if (c.code == kInt32) f.m_depthFactor = 1.0 / 120.0;
        f.m_spacingRounding = CLisRecordIO::RoundTo4Decimals(c.entry8) / c.entry8;
        lis::frames::SettleSpacing(f);
        EXPECT_NEAR(std::fabs(f.m_frameSpacing), c.step, 1e-9) << c.what;
    }
}

// EB 8 against the depths of a few frames: two frames halfway between its places, where
// its half lays every frame with none odd, are frames at half of it; one is an odd depth.
TEST(LisFrameRulesTest, FramesBetweenEntryEightsPlacesAreFramesOfAWholeFractionOfIt)
{
    const struct {
        const char* what;
        std::vector<double> depths;
        double step;
    } cases[] = {
        {"five frames 0.5 ft apart, EB 8 1 ft", {1000, 1000.5, 1001, 1001.5, 1002}, 0.5},
        {"five frames, one halfway between EB 8's places", {1000, 1001, 1001.5, 1002, 1003}, 1.0},
        {"three frames, the middle one halfway: the fraction runs them on", {1000, 1000.5, 1001}, 0.5},
        {"four frames, one halfway: the fraction leaves gaps", {1000, 1001, 1001.5, 1002.5}, 1.0},
    };
    for (const auto& c : cases) {
        CLisLogicalFile f;
        f.m_depthCode = kFloat;
        f.m_frameSpacing = f.m_dfsrSpacing = 1.0;
        for (size_t k = 0; k < c.depths.size(); ++k) f.m_depths.push_back({c.depths[k], 100 * k, 0, 0});
        lis::frames::SettleSpacing(f);
        EXPECT_EQ(std::fabs(f.m_frameSpacing), c.step) << c.what;
    }
}

// No EB 8 and frames that turn back: the longest piece that runs one way measures the step
// where it holds eight frames; fewer leave it to the candidates of every piece.
TEST(LisFrameRulesTest, TheLongestPieceThatRunsOneWayMeasuresTheStepFromEightFrames)
{
    const struct {
        const char* what;
        int longest; // frames of the first piece, 0.5 ft apart; three more of six, 0.3 ft apart
        double step;
    } cases[] = {
        {"a piece of eight frames", 8, 0.5},
        {"a piece of seven frames", 7, 0.3},
    };
    for (const auto& c : cases) {
        CLisLogicalFile f;
        f.m_depthCode = kFloat;
        uint64_t position = 0;
        for (int k = 0; k < c.longest; ++k) f.m_depths.push_back({1000.0 + 0.5 * k, position++ * 100, 0, 0});
        for (const double start : {1002.0, 1003.0, 1004.0})
            for (int k = 0; k < 6; ++k) f.m_depths.push_back({start + 0.3 * k, position++ * 100, 0, 0});
        lis::frames::SettleSpacing(f);
        EXPECT_NEAR(std::fabs(f.m_frameSpacing), c.step, 1e-3) << c.what;
    }
}

// Data records of `frames` frames each: channels of 8 bytes (two words naming the frame),
// then `pad` bytes of padding that `padding` fills for frame k.
std::vector<std::vector<uint8_t>> Records(bool once, int records, int frames, uint32_t pad,
                                          const std::function<void(int k, uint8_t* p)>& padding,
                                          const std::function<double(int k)>& depth)
{
    std::vector<std::vector<uint8_t>> out;
    for (int r = 0, k = 0; r < records; ++r) {
        std::vector<uint8_t> body;
        if (once) lisb::AppendValue(body, kFloat, depth(k));
        for (int i = 0; i < frames; ++i, ++k) {
            lisb::AppendValue(body, kFloat, once ? 50.5 + k : depth(k));
            lisb::AppendValue(body, kFloat, 100.5 + k);
            const size_t at = body.size();
            body.resize(at + pad, 0);
            padding(k, body.data() + at);
        }
        out.push_back(body);
    }
    return out;
}

TEST(LisFrameRulesTest, EntryThreeStandsUnlessItsPaddingHoldsChannelDataOrItsFramesCannotRunOneWay)
{
    const auto zeros = [](int, uint8_t*) {};
    const auto word = [](uint32_t w) { return [w](int, uint8_t* p) { std::memcpy(p, &w, 4), std::memcpy(p + 4, &w, 4); }; };
    const auto stray = [](int k, uint8_t* p) { p[3] = k == 7 ? 1 : 0; };
    const auto counted = [](int k, uint8_t* p) { p[0] = uint8_t(k + 1), p[1] = uint8_t(3 * k + 1); };
    const auto sameWord = [](int, uint8_t* p) { p[0] = 0x41; };
    const auto ahead = [](int k) { return 1000.0 + 0.5 * k; };
    // A depth a quarter step past the frame's own, and the same followed by a word.
    const auto quarter = [&](int k, uint8_t* p) {
        std::vector<uint8_t> v;
        lisb::AppendValue(v, kFloat, ahead(k) + 0.125);
        std::copy(v.begin(), v.end(), p);
    };
    // Records of four frames: a frame's gap after each but the third; after every one.
    const auto gapped = [](int k) { return 1000.0 + 0.5 * k + 0.5 * (k / 4 - (k / 4 >= 3 ? 1 : 0)); };
    const auto everyGap = [](int k) { return 1000.0 + 0.5 * k + 0.5 * (k / 4); };
    // Two repeat sections in 30 frames: back 3 ft after frame 9 and after frame 19.
    const auto repeats = [](int k) { return 1000.0 + 0.5 * k - (k >= 10 ? 3.0 : 0.0) - (k >= 20 ? 3.0 : 0.0); };
    const struct {
        const char* what;
        bool once;
        uint32_t pad;
        std::function<void(int, uint8_t*)> padding;
        std::function<double(int)> depth;
        bool declaredStands;
        double spacing = 0.0; // EB 8
        int records = 0, frames = 0; // 0: six records of four frames once, five of six per frame
    } cases[] = {
        {"depth once, zeros", true, 8, zeros, ahead, true},
        {"depth once, blanks", true, 8, word(0x20202020), ahead, true},
        {"depth once, zeros but one stray byte", true, 8, stray, ahead, true},
        {"depth once, one word, the same in every frame", true, 4, sameWord, ahead, true},
        {"depth once, a value that changes frame by frame", true, 8, counted, ahead, false},
        {"depth once, one word that changes frame by frame", true, 4, counted, ahead, false},
        {"depth once, a counter, EB 8 stepping its frames record to record", true, 8, counted, ahead, true, 0.5},
        {"depth once, a counter, EB 8 stepping the channels' frames", true, 8, counted, ahead, false, 0.25},
        // Records of four, a gap of a frame after all but one (frames missing at random):
        // one distance in eight gapless bears EB 8 out, fewer do not.
        {"depth once, a counter, EB 8 with a gap after 7 of 8 distances", true, 8, counted, gapped, true, 0.5, 9},
        {"depth once, a counter, EB 8 with a gap after 8 of 9 distances", true, 8, counted, gapped, false, 0.5, 10},
        {"depth once, a counter, EB 8 with a gap after every record", true, 8, counted, everyGap, false, 0.5},
        {"per frame, zeros, two repeat sections in 30 frames", false, 8, zeros, repeats, true},
        {"per frame, the next depth behind the channels, records of two that the channels' leave bytes of", false, 6,
         quarter, ahead, true, 0.0, 5, 2},
        {"per frame, the next depth behind the channels, records of three that the channels' fill", false, 8, quarter,
         ahead, false, 0.0, 5, 3},
        {"per frame, the next depth behind the channels, which then run one way", false, 8, quarter, ahead, false},
        {"per frame, a depth behind the channels, which then do not run one way", false, 4, quarter, ahead, true},
    };
    for (const auto& c : cases) {
        CLisLogicalFile f;
        f.m_depthMode = c.once ? lis::kDepthPerRecord : 0;
        f.m_depthCode = kFloat;
        f.m_channelBytes = 8;
        f.m_declaredFrameSize = 8 + c.pad;
        f.m_frameSpacing = c.spacing;
        LayoutTrials trials = lis::frames::LayoutsToTry(f);
        ASSERT_EQ(trials.declared.size, 8 + c.pad) << c.what;
        const int records = c.records > 0 ? c.records : c.once ? 6 : 5, frames = c.frames > 0 ? c.frames : c.once ? 4 : 6;
        for (const auto& body : Records(c.once, records, frames, c.pad, c.padding, c.depth))
            lis::frames::TryLayouts(trials, f, body.data(), uint32_t(body.size()));
        std::string why;
        const uint32_t size = lis::frames::SettleFrameLayout(trials, f, &why);
        EXPECT_EQ(size == 8 + c.pad, c.declaredStands) << c.what << ": " << why;
    }
}

// Frames' depths run one way but for one turn in sixteen distances: 15 turns in 240
// distances do, 16 do not (a share either side of the threshold's neighbours).
TEST(LisFrameRulesTest, FramesRunOneWayButForOneTurnInSixteenDistances)
{
    const struct {
        int turns;
        bool oneWay;
    } cases[] = {{15, true}, {16, false}, {1, true}};
    for (const auto& c : cases) {
        std::vector<double> depths{1000.0};
        for (int j = 1; j <= 240; ++j) depths.push_back(depths.back() + (j % 15 == 0 && j / 15 <= c.turns ? -3.0 : 0.5));
        EXPECT_EQ(lis::frames::RunsOneWay(depths), c.oneWay) << c.turns << " turns";
    }
}

} // namespace
