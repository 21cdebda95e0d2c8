#include "platform/Placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Where a window lands among several screens (one screen is the backend contract's
// case): a 1280 x 1024 primary with a panel at its bottom, and a 1920 x 1080 monitor
// to its right whose panel is on top.
TEST(Placement, AWindowStaysOnTheScreenThatShowsItsTitleBarElseGoesToThePrimary)
{
    const std::vector<ScreenArea> screens{{{0, 0, 1280, 1024}, {0, 0, 1280, 994}},
                                          {{1280, 0, 3200, 1080}, {1280, 30, 3200, 1080}}};
    struct Case {
        const char* what;
        Rect saved, fitted;
    };
    const Case cases[] = {
        {"on the second monitor", {1500, 200, 2500, 900}, {1500, 200, 2500, 900}},
        {"across both, title on the primary", {1000, 50, 1800, 650}, {1000, 50, 1800, 650}},
        {"a removed third monitor", {5000, 5000, 5800, 5600}, {480, 394, 1280, 994}},
        {"only a sliver of title bar shows", {-790, 100, 10, 700}, {0, 100, 800, 700}},
        {"title bar under the second monitor's panel", {1500, 10, 2300, 610}, {480, 10, 1280, 610}},
        {"title bar in the primary's panel", {100, 980, 900, 1580}, {100, 394, 900, 994}},
        {"huge on the second monitor: bounded by that one", {1400, 100, 60000, 50000}, {1280, 30, 3200, 1080}},
    };
    for (const auto& c : cases) {
        Rect fitted;
        ASSERT_TRUE(FitPlacement(c.saved, screens, fitted)) << c.what;
        EXPECT_EQ(fitted, c.fitted) << c.what;
    }
    Rect untouched{1, 2, 3, 4};
    EXPECT_FALSE(FitPlacement({0, 0, 800, 600}, {}, untouched)) << "no screen";
    EXPECT_EQ(untouched, (Rect{1, 2, 3, 4}));
}

} // namespace
