#include "dataset/DepthRule.h"

#include "dataset/QtxLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The first frame (from 1) a rule refuses, 0 when it takes every depth; after a refusal
// the walk goes on, so a refused depth must not become the one the next is measured from.
int FirstRefused(CDepthRule rule, const std::vector<double>& depths, std::vector<int>* refused = nullptr)
{
    int first = 0;
    for (size_t k = 0; k < depths.size(); ++k)
        if (!rule.Take(depths[k])) {
            if (first == 0) first = int(k) + 1;
            if (refused) refused->push_back(int(k) + 1);
        }
    return first;
}

TEST(DepthRuleTest, DepthsMoveOneStepInTheDataSetsDirection)
{
    const struct {
        const char* what;
        uint8_t direction;
        double step, resolution;
        std::vector<double> depths;
        int refused;
    } cases[] = {
        {"down, on the step", qtx::kLogDown, 0.5, 0, {1000, 1000.5, 1001, 1001.5}, 0},
        {"just within the tolerance", qtx::kLogDown, 0.5, 0, {1000, 1000.5, 1001.0004}, 0},
        {"just beyond it", qtx::kLogDown, 0.5, 0, {1000, 1000.5, 1001.0006}, 3},
        {"up, step stored negative", qtx::kLogUp, -0.5, 0, {1001, 1000.5, 1000}, 0},
        {"up header, depths going down", qtx::kLogUp, 0.5, 0, {1000, 1000.5}, 2},
        {"any byte but 0xFF runs up", 0, 0.5, 0, {1001, 1000.5}, 0},
        {"one frame needs no step", qtx::kLogDown, 0.0, 0, {1000}, 0},
        {"zero step", qtx::kLogDown, 0.0, 0, {1000, 1000.0001}, 2},
        {"step that is no number", qtx::kLogDown, kNan, 0, {1000, 1000.5}, 2},
        {"infinite step", qtx::kLogDown, kInf, 0, {1000, kInf}, 2},
        {"first depth infinite", qtx::kLogDown, 0.5, 0, {-kInf, 1000}, 1},
        {"thousandths: one off", qtx::kLogDown, 0.152, 0.001, {1000, 1000.153, 1000.305}, 0},
        {"thousandths: two off", qtx::kLogDown, 0.152, 0.001, {1000, 1000.154}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstRefused(CDepthRule(c.direction, c.step, c.resolution), c.depths), c.refused) << c.what;

    std::vector<int> refused;
    FirstRefused(CDepthRule(qtx::kLogDown, 0.5), {1000, kNan, 1000.5, 5000, 1001}, &refused);
    EXPECT_EQ(refused, (std::vector<int>{2, 4})); // frames counted as taken: 1000, 1000.5, 1001
}

} // namespace
