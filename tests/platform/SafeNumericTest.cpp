#include "platform/SafeNumeric.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(SafeNumeric, ConversionsSaturateAndTakeNaNToItsStandIn)
{
    const struct {
        double in;
        int out;
    } ints[] = {{3.7, 3},          {-3.7, -3},           {2147483646.9, 2147483646}, {-2147483647.9, -2147483647},
                {1e300, INT_MAX},  {-1e300, INT_MIN},    {INFINITY, INT_MAX},        {-INFINITY, INT_MIN},
                {2147483648.0, INT_MAX}, {-2147483649.0, INT_MIN}};
    for (const auto& c : ints) EXPECT_EQ(ClampToInt(c.in), c.out) << c.in;
    EXPECT_EQ(ClampToInt(NAN), 0);
    EXPECT_EQ(ClampToInt(NAN, -7), -7);

    // A float keeps what it can tell apart: nothing beyond FLT_MAX, no nonzero it would make 0.
    const struct {
        double in;
        bool fits;
    } floats[] = {{FLT_MAX, true}, {1e39, false}, {-1e39, false}, {1e-40, true}, {1e-46, false}, {-1e-310, false},
                  {0.0, true},     {-0.0, true},  {INFINITY, true}, {NAN, true}};
    for (const auto& c : floats) EXPECT_EQ(FitsFloat(c.in), c.fits) << c.in;

    EXPECT_EQ(ClampToFloat(1.5), 1.5f);
    EXPECT_EQ(ClampToFloat(1e39), FLT_MAX);
    EXPECT_EQ(ClampToFloat(-INFINITY), -FLT_MAX);
    EXPECT_TRUE(std::isnan(ClampToFloat(NAN)));
}

std::vector<int> Ticks(const TickWalk& walk)
{
    std::vector<int> out;
    for (int value : walk) out.push_back(value);
    return out;
}

TEST(SafeNumeric, TickWalkGivesTheTicksInsideTheRangeOrNoneWhenTooDense)
{
    const struct {
        int64_t first, step;
        double lo, hi;
        int maxCount;
        std::vector<int> ticks;
    } cases[] = {
        {100, 100, 4.0, 402.0, 460, {100, 200, 300, 400}},
        {100, 100, 4.0, 400.0, 460, {100, 200, 300, 400}},        // both ends count
        {0, 500, 1200.0, 3000.0, 460, {1500, 2000, 2500, 3000}},  // the walk starts below the range
        {-250, 100, -1000.0, 0.0, 460, {-250, -150, -50}},
        {500, 500, 0.0, 400.0, 460, {}},                          // first tick beyond the range
        {100, 100, 0.0, 1000.0, 9, {}},                           // ten ticks, room for nine
        {100, 100, 0.0, 1000.0, 10, {100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}},
        {500, 500, 0.0, 3e38, 460, {}},                           // a step of 3e38: the loop that never ended
        {2147483000, 500, 0.0, 1e10, 460, {2147483000, 2147483500}}, // stops at the int range
        {-2147484000, 500, -1e300, -2147483000.0, 460, {-2147483500, -2147483000}},
        {100, 0, 0.0, 1000.0, 460, {}},
        {100, -100, 0.0, 1000.0, 460, {}},
        {100, 100, 500.0, 400.0, 460, {}},
        {100, 100, NAN, 400.0, 460, {}},
        {100, 100, 0.0, NAN, 460, {}},
        {100, 100, -INFINITY, INFINITY, 460, {}},                 // 2^32 / 100 ticks
    };
    for (const auto& c : cases) {
        const TickWalk walk(c.first, c.step, c.lo, c.hi, c.maxCount);
        EXPECT_EQ(Ticks(walk), c.ticks) << c.first << " by " << c.step << " in " << c.lo << ".." << c.hi;
        EXPECT_EQ(walk.Count(), int(c.ticks.size()));
    }
}

// The whole text must be one number; it is read as strtod reads it, to the last bit. A
// number whose magnitude no double holds (strtod's ERANGE either way) is told apart from
// text that is none.
TEST(SafeNumeric, TextNumbersAreWholeAndExact)
{
    constexpr TextNumber kNumber = TextNumber::Number, kNone = TextNumber::None, kBeyond = TextNumber::Beyond;
    const struct {
        const char* text;
        TextNumber read;
        double value;
    } cases[] = {
        {"1670.000", kNumber, 1670.0}, {"-0.0733", kNumber, -0.0733}, {"+5", kNumber, 5.0},   {".5", kNumber, 0.5},
        {"5.", kNumber, 5.0},          {"1.5E+03", kNumber, 1500.0},  {"-999.25", kNumber, -999.25},
        {"12345678901234567890.5", kNumber, 12345678901234567890.5}, {"inf", kNumber, INFINITY},
        {"4e-324", kNumber, 4.9406564584124654e-324}, {"0e999", kNumber, 0.0}, {"1e308", kNumber, 1e308},
        {"", kNone, 7.0},           {"-", kNone, 7.0},          {".", kNone, 7.0},   {"+-5", kNone, 7.0},
        {"1.2.3", kNone, 7.0},      {"30.1250x", kNone, 7.0},   {" 1", kNone, 7.0},  {"1,5", kNone, 7.0},
        {"0x10", kNone, 7.0},       {"1e999x", kNone, 7.0},     {"+-1e999", kNone, 7.0},
        {"1e999", kBeyond, 7.0},    {"-1e999", kBeyond, 7.0},   {"+1E999", kBeyond, 7.0}, {"1e-999", kBeyond, 7.0},
        {"-1e-999", kBeyond, 7.0},  {"2e-324", kBeyond, 7.0},
    };
    for (const auto& c : cases) {
        double v = 7.0, w = 7.0;
        EXPECT_EQ(ReadTextNumber(c.text, v), c.read) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(ParseTextNumber(c.text, w), c.read == kNumber) << c.text;
        EXPECT_EQ(w, c.value) << c.text;
    }
    EXPECT_TRUE(std::signbit([] { double v = 1.0; ParseTextNumber("-0.0", v); return v; }()));
    std::mt19937_64 random(28);
    for (int k = 0; k < 20000; ++k) {
        const std::string digits = std::to_string(random() % 100000000000000000ull);
        std::string text = (k % 2 ? "-" : "") + digits;
        text.insert(text.size() - std::min<size_t>(random() % 12, digits.size()), ".");
        double v = 0.0;
        ASSERT_TRUE(ParseTextNumber(text, v)) << text;
        ASSERT_EQ(v, std::strtod(text.c_str(), nullptr)) << text;
    }
}

} // namespace
