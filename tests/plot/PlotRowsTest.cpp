// The arithmetic of one plotted row and the layout a scale and the track widths give.
#include "plot/PlotLayout.h"
#include "plot/PlotRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(PlotRows, NormalizingScalesByRangeAndNeverDividesByARangeOfNoWidth)
{
    struct Case {
        const char* what;
        std::vector<float> row;
        RowRange range;
        std::vector<float> scaled;
        float largest;
    };
    const Case cases[] = {
        {"by the largest", {2, -4, 8, 4}, {}, {0.25f, -0.5f, 1, 0.5f}, 8},
        {"nothing above 0", {-2, -1, 0}, {}, {0, 0, 0}, 0},
        {"fixed", {0, 1500, 2500, 4000}, {RowRange::Fixed, 1000, 3000}, {0, 0.25f, 0.75f, 1}, 4000},
        // Own range 10 (followed by 20) to 20 (followed by 0, so cleared): 9 to 22.
        {"own range", {10, 20, 0}, {RowRange::Auto, 0, 5000}, {1.0f / 13, 0, 0}, 20},
        {"own range within bounds", {10, 20, 0}, {RowRange::Auto, 9.5f, 21}, {0.5f / 11.5f, 0, 0}, 20},
        // Limits of no width: a flat row, no division.
        {"fixed, equal limits", {5, 7}, {RowRange::Fixed, 3, 3}, {0, 0}, 7},
        {"own range, crossed bounds", {10, 11, 0}, {RowRange::Auto, 100, 50}, {0, 0, 0}, 11},
        {"no number to scale by", {1, kInf, 3}, {}, {0, 0, 0}, kInf},
    };
    for (const Case& c : cases) {
        std::vector<float> row = c.row;
        EXPECT_EQ(NormalizeRow(row.data(), 0, int(row.size()) - 1, int(row.size()), c.range), c.largest) << c.what;
        ASSERT_EQ(row.size(), c.scaled.size());
        for (size_t k = 0; k < row.size(); ++k) EXPECT_NEAR(row[k], c.scaled[k], 1e-6) << c.what << " " << k;
    }
}

TEST(PlotRows, LevelsAndResamplingHoldEveryValueToTheScaleAndTheRow)
{
    const std::pair<float, int> levels[] = {{-1, 0}, {0, 0}, {0.5f, 15}, {0.999f, 30}, {1, 31}, {7, 31},
                                            {kNaN, 0}, {kInf, 31}, {-kInf, 0}};
    for (const auto& [value, level] : levels) EXPECT_EQ(ColourLevel(value), level) << value;

    const float samples[] = {0, 10, 20, 30};
    struct Case {
        float start, span;
        int n;
        std::vector<float> out;
    };
    const Case cases[] = {
        {5.0f, 15.0f, 6, {10, 15, 20, 25, 30, 30}}, // positions 5, 7.5, 10, ... 17.5 of a 5 us step
        {40.0f, 0.0f, 3, {30, 30, 30}},             // past the trace, no width
        {kNaN, kInf, 2, {0, 0}},
    };
    for (const Case& c : cases) {
        ColumnMap map;
        MapColumns(3, c.start, 5.0f, c.span, c.n, map);
        std::vector<float> out(size_t(c.n));
        ResampleRow(samples, map, out.data());
        EXPECT_EQ(out, c.out) << c.start;
    }

    std::vector<float> wave(32);
    for (int k = 0; k < 32; ++k) wave[size_t(k)] = std::cos(2 * float(M_PI) * 4 * float(k) / 32);
    SpectrumRow(wave.data(), 32);
    EXPECT_FLOAT_EQ(wave[4], 1.0f);
    EXPECT_NEAR(wave[3] + wave[5] + wave[0] + wave[16], 0.0f, 1e-5);
}

TEST(PlotRows, AColouredRowIsTheResampledRowScaledAndLevelled)
{
    // ColourRow in one pass must give what resampling, scaling and levelling give one
    // after another, gaps and infinities beside columns on a sample included.
    const std::vector<float> samples = {0.0f, 0.25f, kNaN, 0.75f, 1.0f, kInf, -kInf, 0.5f, 2.0f, -0.3f};
    uint32_t levels[kScaleLevels];
    for (int l = 0; l < kScaleLevels; ++l) levels[l] = 0xFF000000u | uint32_t(l * 0x010203);
    struct Case {
        float start, span;
        int n;
        float scale;
    };
    const Case cases[] = {
        {0.0f, 45.0f, 37, 1.0f}, // several columns a sample, some on a sample
        {0.0f, 45.0f, 4, 0.8f},  // several samples a column, scaled
        {7.0f, 20.0f, 9, 2.0f},  // a window inside, off the grid
        {0.0f, 45.0f, 10, 0.0f}, // a row with nothing to scale by
    };
    for (const Case& c : cases) {
        ColumnMap map;
        MapColumns(int(samples.size()) - 1, c.start, 5.0f, c.span, c.n, map);
        std::vector<float> columns(size_t(c.n));
        ResampleRow(samples.data(), map, columns.data());
        std::vector<uint32_t> expected(size_t(c.n)), pixels(size_t(c.n));
        for (int k = 0; k < c.n; ++k)
            expected[size_t(k)] = levels[ColourLevel(c.scale == 1.0f ? columns[size_t(k)] : columns[size_t(k)] * c.scale)];
        ColourRow(samples.data(), map, c.scale, levels, pixels.data());
        EXPECT_EQ(pixels, expected) << c.start << " " << c.n;
    }
}

TEST(PlotLayout, TheScaleChoosesTheGridAndTheDepthNumbers)
{
    using G = std::tuple<int, int, int, float>;
    const std::pair<float, G> cases[] = {
        {1000, {100, 20, 5, 20}}, {501, {100, 20, 5, 20}}, {500, {50, 10, 5, 20}}, {480, {50, 10, 5, 10}},
        {300, {50, 10, 5, 10}},   {250, {25, 5, 1, 10}},   {240, {25, 5, 1, 5}},  {150, {10, 2, 1, 5}},
        {149, {10, 2, 1, 2}},     {100, {10, 2, 1, 2}},
    };
    for (const auto& [scale, grid] : cases) {
        const DepthGrid g = DepthGridFor(scale);
        EXPECT_EQ(G(g.major, g.medium, g.minor, g.labelStep), grid) << scale;
    }
}

TEST(PlotLayout, TracksShareThePageAndTracksOfNoWidthTakeNoRoom)
{
    PlotLayout l;
    l.pageWidth = 500;
    l.SetDepthColumn(false); // between tracks 1 and 2, 50 wide
    l.trackInches[1] = 5.0f, l.trackInches[2] = 0.0f, l.trackInches[3] = 4.9f, l.trackInches[4] = 0.1f;
    l.tracks = 4;
    l.FitToWindow(); // 500 - 2 x 3 borders - (50 + 40) = 404, shared by 5, 4.9 and 0.1 in 10
    EXPECT_EQ((std::vector<int>{l.trackPixels[1], l.trackPixels[2], l.trackPixels[3], l.trackPixels[4]}),
              (std::vector<int>{202, 0, 197, 4}));
    EXPECT_EQ((std::vector<int>{l.TrackLeft(1), l.TrackLeft(2), l.TrackLeft(3), l.TrackLeft(4)}),
              (std::vector<int>{5, 259, 259, 458}));
    EXPECT_EQ(l.DepthCentre(), 5 + 202 + 25);
    // 5 inches: 20 divisions, 16 thin lines and three major ones; 4.9: 10, 8 and the middle.
    EXPECT_EQ(l.GridOffsets(1, false).size(), 16u);
    EXPECT_EQ(l.GridOffsets(1, true), (std::vector<int>{101, 50, 151}));
    EXPECT_EQ(l.GridOffsets(3, false), (std::vector<int>{19, 39, 59, 78, 118, 137, 157, 177}));
    EXPECT_EQ(l.GridOffsets(3, true), (std::vector<int>{98}));
    l.SetDepthColumn(true);
    EXPECT_EQ(std::make_pair(l.TrackLeft(1), l.DepthCentre()), std::make_pair(55, 30));
}

} // namespace
