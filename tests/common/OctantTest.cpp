#include "common/Octant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Each sector owns its anticlockwise-first boundary ray: [45k, 45k + 45); the
// grid below covers the rays of ordinary vectors.
TEST(OctantTest, SignedZerosExtremesAndNan)
{
    const float huge = std::numeric_limits<float>::max();
    const float tiny = std::numeric_limits<float>::denorm_min();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float x, y;
        int sector;
    } cases[] = {
        {0, 0, -1},       {-0.0f, -0.0f, -1}, {nan, 1, -1},       {1, nan, -1},
        {-0.0f, 1, 2},    {1, -0.0f, 0},      {-1, -0.0f, 4},     {-0.0f, -1, 6},
        {tiny, 0, 0},     {0, tiny, 2},       {-tiny, 0, 4},      {0, -tiny, 6},
        {huge, huge, 1},  {-huge, huge, 3},   {-huge, -huge, 5},  {huge, -huge, 7},
    };
    for (const auto& c : cases) EXPECT_EQ(Octant(c.x, c.y), c.sector) << "(" << c.x << ", " << c.y << ")";
}

// Every non-zero vector of the grid lands in the sector the angle definition gives.
TEST(OctantTest, IntegerGridMatchesAngleDefinition)
{
    for (int x = -24; x <= 24; ++x)
        for (int y = -24; y <= 24; ++y) {
            if (x == 0 && y == 0) continue;
            double deg = std::atan2(double(y), double(x)) * 180.0 / std::numbers::pi;
            if (deg < 0) deg += 360.0;
            // The nudge only settles rays that atan2 rounds just below a multiple of 45.
            const int expected = int(std::floor(deg / 45.0 + 1e-9)) % 8;
            EXPECT_EQ(Octant(float(x), float(y)), expected) << "(" << x << ", " << y << ")";
        }
}

} // namespace
