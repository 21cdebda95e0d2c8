// The plot window: opening, scrolling, zoom and what a paint draws.
#include "plot/PlotFixture.h"

#include "res/CommandIds.h"

namespace {

using namespace plot_test;
using PlotWndTest = PlotTest;

TEST_F(PlotWndTest, Smoke)
{
    CPlotWnd* plot = Open(StandardItems());
    ASSERT_NE(plot, nullptr);
    for (const auto& op : Window(plot)->lastPaint) printf("%s\n", op.c_str());
}

} // namespace
