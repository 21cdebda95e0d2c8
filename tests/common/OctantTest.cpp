#include "common/Octant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

struct Vec {
    float x, y;
    int sector;
};

// Each sector owns its anticlockwise-first boundary ray: [45k, 45k + 45).
TEST(OctantTest, BoundaryRaysAndZero)
{
    const float huge = std::numeric_limits<float>::max();
    const float tiny = std::numeric_limits<float>::denorm_min();
    const Vec cases[] = {
        {0, 0, -1},        {-0.0f, 0, -1},     {0, -0.0f, -1},   {-0.0f, -0.0f, -1},
        {1, 0, 0},         {1, 1, 1},          {0, 1, 2},        {-1, 1, 3},
        {-1, 0, 4},        {-1, -1, 5},        {0, -1, 6},       {1, -1, 7},
        {-0.0f, 1, 2},     {1, -0.0f, 0},      {-1, -0.0f, 4},   {-0.0f, -1, 6},
        {tiny, 0, 0},      {0, tiny, 2},       {-tiny, 0, 4},    {0, -tiny, 6},
        {huge, huge, 1},   {-huge, huge, 3},   {-huge, -huge, 5}, {huge, -huge, 7},
        {2.5f, 2.5f, 1},   {-2.5f, 2.5f, 3},   {-2.5f, -2.5f, 5}, {2.5f, -2.5f, 7},
    };
    for (const auto& c : cases) EXPECT_EQ(Octant(c.x, c.y), c.sector) << "(" << c.x << ", " << c.y << ")";
}

TEST(OctantTest, SweepInsideEverySector)
{
    for (int k = 0; k < 8; ++k) {
        for (double deg = 45.0 * k + 0.5; deg < 45.0 * k + 45.0; deg += 0.5) {
            const double rad = deg * std::numbers::pi / 180.0;
            for (float r : {1e-3f, 1.0f, 1e6f}) {
                const float x = float(r * std::cos(rad));
                const float y = float(r * std::sin(rad));
                EXPECT_EQ(Octant(x, y), k) << deg << " degrees, radius " << r;
            }
        }
    }
}

// Every non-zero vector lands in exactly the sector the half-open angle definition gives.
TEST(OctantTest, IntegerGridMatchesAngleDefinition)
{
    for (int x = -24; x <= 24; ++x) {
        for (int y = -24; y <= 24; ++y) {
            if (x == 0 && y == 0) continue;
            double deg = std::atan2(double(y), double(x)) * 180.0 / std::numbers::pi;
            if (deg < 0) deg += 360.0;
            // Grid points off the boundary rays lie far from them; the nudge only
            // settles rays that atan2 rounds just below a multiple of 45.
            const int expected = int(std::floor(deg / 45.0 + 1e-9)) % 8;
            EXPECT_EQ(Octant(float(x), float(y)), expected) << "(" << x << ", " << y << ")";
        }
    }
}

TEST(OctantTest, NanHasNoSector)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Octant(nan, 1), -1);
    EXPECT_EQ(Octant(1, nan), -1);
}

} // namespace
