#include "dataset/FrameCursor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <utility>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int kLastAddressable = int(CFrameCursor::kMaxFrames) - 1;

// A header as the writer leaves it: top is the first frame's depth, bottom the last's.
QtxFileHeader Log(uint8_t direction, double top, double bottom, double step, uint32_t frames)
{
    QtxFileHeader h;
    h.logDirection = direction;
    h.topDepth = top;
    h.bottomDepth = bottom;
    h.depthStep = step;
    h.frameCount = frames;
    return h;
}

const QtxFileHeader kDown = Log(qtx::kLogDown, 1000.0, 1004.5, 0.5, 10);
const QtxFileHeader kUp = Log(qtx::kLogUp, 1004.5, 1000.0, -0.5, 10); // negative step, as up logs may store

TEST(FrameCursor, OpensAtTheFrameOfTheAskedDepthWhateverTheHeaderHolds)
{
    struct Case {
        QtxFileHeader header;
        double asked;
        int frame;
    };
    const Case cases[] = {
        {kDown, 1002.0, 4}, {kDown, 10.0, 0}, {kDown, 99999.0, 9},
        {kUp, 1002.0, 6}, {kUp, 10.0, 9}, {kUp, 99999.0, 0}, // counted back from the frame count
        // No span, one frame or none: the top of the log.
        {Log(qtx::kLogDown, 500, 500, 0.5, 10), 700.0, 0}, {Log(qtx::kLogUp, 500, 500, 0.5, 10), 700.0, 9},
        {Log(qtx::kLogUp, 500, 600, 0.5, 1), 700.0, 0}, {Log(qtx::kLogDown, 0, 0, 0, 0), 700.0, 0},
        // Values that give no number, or none an int holds.
        {kDown, kNaN, 0}, {kUp, kNaN, 9}, {kDown, kInf, 9}, {kDown, -kInf, 0},
        {Log(qtx::kLogDown, kNaN, 1004.5, 0.5, 10), 1002.0, 0}, {Log(qtx::kLogUp, kInf, 1000.0, 0.5, 10), 1002.0, 9},
        {Log(qtx::kLogDown, -kInf, kInf, 0.5, 10), 1002.0, 0}, {Log(qtx::kLogDown, 0, 1e-300, 0.5, 10), 1e300, 9},
        {Log(qtx::kLogDown, 0.0, 1.0, 0, 0xFFFFFFFFu), 0.5, kLastAddressable},
        {Log(qtx::kLogUp, 1.0, 0.0, 0, 0xFFFFFFFFu), 0.0, kLastAddressable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFrameCursor(c.header).OpeningFrame(c.asked), c.frame)
            << c.asked << " in " << c.header.topDepth << ".." << c.header.bottomDepth << " dir " << int(c.header.logDirection);
}

TEST(FrameCursor, FindsTheFrameAtOrNextBelowADepthInBothDirections)
{
    struct Case {
        QtxFileHeader header;
        double depth, shift;
        int frame;
    };
    const Case cases[] = {
        // Down: frame k at 1000 + 0.5 k; a depth between frames takes the one below.
        {kDown, 1000.0, 0, 0}, {kDown, 1001.0, 0, 2}, {kDown, 1001.1, 0, 3}, {kDown, 1004.5, 0, 9},
        {kDown, 900.0, 0, 0}, {kDown, 2000.0, 0, 9}, {kDown, 1001.1, 10.0, 0}, {kDown, 1011.0, 10.0, 2},
        // Up: the same depths counted back from the last frame.
        {kUp, 1000.0, 0, 9}, {kUp, 1001.0, 0, 7}, {kUp, 1001.1, 0, 6}, {kUp, 2000.0, 0, 0}, {kUp, 900.0, 0, 9},
        // Steps that do not divide the depths exactly still find the first frame at or below.
        {Log(qtx::kLogDown, 0.0, 29.7, 0.1, 298), 0.3, 0, 3}, {Log(qtx::kLogDown, 0.0, 29.7, 0.1, 298), 0.30001, 0, 4},
        // No step, no number or none an int holds: still a frame of the log, found at once.
        {Log(qtx::kLogDown, 0, 0, 0, 10), 5.0, 0, 0}, {kDown, kNaN, 0, 0}, {kUp, kNaN, 0, 9}, {kDown, kInf, 0, 9},
        {kDown, 1002.0, kNaN, 0}, {Log(qtx::kLogDown, 0.0, 1e9, 1e-9, 0xFFFFFFFFu), 1e300, 0, kLastAddressable},
        {Log(qtx::kLogDown, 0.0, 1e9, 1e-9, 0xFFFFFFFFu), 1.0, 0, 1000000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFrameCursor(c.header).FrameAtDepth(c.depth, c.shift), c.frame)
            << c.depth << " shifted " << c.shift << " dir " << int(c.header.logDirection);
}

TEST(FrameCursor, ScrollPositionsCountFramesInDepthOrderAndAreClamped)
{
    const CFrameCursor down(kDown), up(kUp);
    EXPECT_EQ(up.TopDepth(), 1000.0) << "an up log's top is its last frame";
    for (int64_t frame : {0, 3, 9}) {
        EXPECT_EQ(down.ScrollPositionOf(frame), frame);
        EXPECT_EQ(up.ScrollPositionOf(frame), 9 - frame);
        EXPECT_EQ(up.FrameAtScrollPosition(up.ScrollPositionOf(frame)), frame);
        EXPECT_EQ(down.DepthOf(frame), 1000.0 + 0.5 * double(frame));
        EXPECT_EQ(up.DepthOf(frame), 1004.5 - 0.5 * double(frame)) << "by the step's magnitude";
    }
    for (int64_t wild : {int64_t(-1), int64_t(10), kMin64, kMax64}) {
        const int end = wild < 0 ? 0 : 9;
        EXPECT_EQ(down.ScrollPositionOf(wild), end);
        EXPECT_EQ(up.FrameAtScrollPosition(wild), 9 - end);
        EXPECT_EQ(down.DepthAtScrollPosition(wild), 1000.0 + 0.5 * end);
    }
    EXPECT_EQ(CFrameCursor(Log(qtx::kLogUp, 0, 0, 0, 0)).ScrollPositionOf(0), 0) << "no position -1 without frames";
    EXPECT_TRUE(std::isnan(CFrameCursor(Log(qtx::kLogDown, 0, 1, kNaN, 3)).DepthOf(2)));
    EXPECT_EQ(uint32_t(CFrameCursor(Log(qtx::kLogDown, 0, 1, 1, 0xFFFFFFFFu)).FrameCount()), CFrameCursor::kMaxFrames);
}

TEST(FrameCursor, MovesStopAtEitherEnd)
{
    CFrameCursor down(Log(qtx::kLogDown, 1000.0, 1149.5, 0.5, 300));
    const std::pair<int64_t, int> moves[] = {{1, 1},   {100, 101}, {-1, 100}, {-100, 0},
                                             {500, 299}, {kMin64, 0}, {kMax64, 299}};
    for (const auto& [deeper, frame] : moves) {
        down.MoveDeeper(deeper);
        EXPECT_EQ(down.Frame(), frame) << deeper;
    }
    CFrameCursor up(Log(qtx::kLogUp, 1024.5, 1000.0, -0.5, 50));
    up.SetScrollPosition(0);
    EXPECT_EQ(up.Frame(), 49) << "the shallowest frame is the last in the file";
    up.MoveDeeper(1);
    EXPECT_EQ(up.Frame(), 48) << "deeper is back in the file";
    EXPECT_EQ(up.Depth(), 1000.5);
    up.MoveDeeper(kMin64);
    EXPECT_EQ(up.ScrollPosition(), 0);

    const ScrollInfo bar = up.VerticalScrollInfo(20);
    EXPECT_EQ(std::make_tuple(bar.min, bar.max, bar.page, bar.pos, bar.disableNoScroll),
              std::make_tuple(0, 49, 20u, 0, true));
}

TEST(FrameCursor, ReadsDirectionAndUnitsAsTheViewersDo)
{
    const std::tuple<uint8_t, uint8_t, const char*, const char*, double> cases[] = {
        {qtx::kLogDown, qtx::kUnitsMetres, "DOWN", " [m]", 0.5},
        {qtx::kLogUp, qtx::kUnitsFeet, "UP", " [ft]", -0.5},
        {0, 7, "UP", " [ft]", -0.5}, // any other byte: up, and feet
    };
    for (const auto& [direction, units, word, unitLabel, frameStep] : cases) {
        QtxFileHeader h = Log(direction, 0, 0, -0.5, 4);
        h.depthUnits = units;
        const CFrameCursor cursor(h);
        EXPECT_STREQ(cursor.DirectionWord(), word);
        EXPECT_STREQ(cursor.DepthUnitLabel(), unitLabel);
        EXPECT_EQ(cursor.FrameStep(), frameStep);
    }
}

TEST(FrameCursor, NearestFrameRoundsToTheCloserFrameInBothDirectionsAndHoldsToTheLog)
{
    // Frames half a foot apart from 1000; an up log stores its deepest frame first.
    const CFrameCursor down(kDown), up(kUp);
    const std::tuple<double, int, int> cases[] = {
        {1000.0, 0, 9},  {1000.24, 0, 9}, {1000.2496, 1, 8}, // a thousandth of a step below the midpoint goes on
        {1001.3, 3, 6},  {1004.5, 9, 0},  {999.0, 0, 9},     {2000.0, 9, 0},
        {NAN, 0, 9},     {-INFINITY, 0, 9}, {INFINITY, 9, 0},
    };
    for (const auto& [depth, downFrame, upFrame] : cases) {
        EXPECT_EQ(down.NearestFrame(depth), downFrame) << depth;
        EXPECT_EQ(up.NearestFrame(depth), upFrame) << depth;
    }
    EXPECT_EQ(CFrameCursor(Log(qtx::kLogDown, 5, 5, 0, 1)).NearestFrame(7), 0) << "a step of 0: the only frame";
}

} // namespace
