#include "platform/Placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// A 1280 x 1024 primary with a panel at its bottom, and a 1920 x 1080 monitor to its
// right whose panel is on top.
const std::vector<ScreenArea> kTwoScreens{{{0, 0, 1280, 1024}, {0, 0, 1280, 994}},
                                          {{1280, 0, 3200, 1080}, {1280, 30, 3200, 1080}}};

TEST(Placement, AWindowIsFittedToTheScreensThereAre)
{
    struct Case {
        const char* what;
        Rect saved;
        Rect fitted;
    };
    const Case cases[] = {
        {"on the primary", {100, 100, 900, 700}, {100, 100, 900, 700}},
        {"on the second monitor", {1500, 200, 2500, 900}, {1500, 200, 2500, 900}},
        {"across both, title on the primary", {1000, 50, 1800, 650}, {1000, 50, 1800, 650}},
        {"title bar under the second monitor's panel: onto the primary", {1500, 10, 2300, 610}, {480, 10, 1280, 610}},
        {"a removed third monitor", {5000, 5000, 5800, 5600}, {480, 394, 1280, 994}},
        {"left of every screen", {-3000, 100, -2200, 700}, {0, 100, 800, 700}},
        {"only a sliver of title bar shows", {-790, 100, 10, 700}, {0, 100, 800, 700}},
        {"just enough title bar shows", {-700, 100, 100, 700}, {-700, 100, 100, 700}},
        {"bottom edge below the panel, title shown", {100, 900, 900, 1500}, {100, 900, 900, 1500}},
        {"title bar in the panel", {100, 980, 900, 1580}, {100, 394, 900, 994}},
        {"huge on the primary: bounded by it", {100, 100, 60000, 50000}, {0, 0, 1280, 994}},
        {"huge on the second monitor: bounded by that one", {1400, 100, 60000, 50000}, {1280, 30, 3200, 1080}},
        {"extreme values", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 1280, 994}},
        {"widest span at a usable height", {INT_MIN, 100, INT_MAX, 700}, {0, 100, 1280, 700}},
    };
    for (const auto& c : cases) {
        Rect fitted{-1, -1, -1, -1};
        ASSERT_TRUE(FitPlacement(c.saved, kTwoScreens, fitted)) << c.what;
        EXPECT_EQ(fitted, c.fitted) << c.what;
    }
}

TEST(Placement, NoScreenOrATooSmallWindowLeavesTheWindowAsItIs)
{
    const Rect untouched{1, 2, 3, 4};
    const Rect refused[] = {{0, 0, 199, 600}, {0, 0, 800, 149}, {800, 600, 0, 0}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
    for (const Rect& saved : refused) {
        Rect fitted = untouched;
        EXPECT_FALSE(FitPlacement(saved, kTwoScreens, fitted));
        EXPECT_EQ(fitted, untouched);
    }
    Rect fitted = untouched;
    EXPECT_FALSE(FitPlacement({0, 0, 800, 600}, {}, fitted));
    EXPECT_EQ(fitted, untouched);
}

} // namespace
