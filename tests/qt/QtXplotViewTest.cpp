// The cross-plot painted through the Qt backend: a frame step paints over the plot
// alone, and the window then holds, pixel for pixel, what a whole paint gives.
#include "QtViewTestApp.h"
#include "viewers/ViewOptions.h"
#include "support/TempDir.h"
#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/FreqSlowXplotWndFactory.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

QtxDatumShape Curve(const char* mnemonic, uint8_t type, uint16_t receivers, uint16_t samples)
{
    return {.mnemonic = mnemonic, .typeCode = type, .traces = receivers, .samples = samples,
            .unit = kUnitMicroseconds, .step = 2.0f};
}

// Points of eight receivers moving from frame to frame, many under the legend and on
// the grid lines and the plot's edges.
float Sample(int frame, int datum, size_t i)
{
    const int r = int(i / 64), k = int(i % 64);
    if (datum == 1) return 80.0f + float((k * 37 + frame * 11 + r * 7) % 420);
    if (datum == 2) return 900.0f + float((k * 53 + frame * 29 + r * 13) % 2300);
    return 0.0f;
}

// Differing pixels of two pictures of one size (-1 when the sizes differ).
int Differing(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return -1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
    return differing;
}

TEST(QtXplotView, AFrameStepPaintsThePlotAloneAndLooksAsAWholePaint)
{
    TempDir dir;
    const std::string path = dir.File("ifs.qtx");
    ASSERT_TRUE(WriteQtx(path, {Curve("WMNO", 1, 8, 64), Curve("ISMN", 164, 8, 64), Curve("IFMN", 158, 8, 64)}, 12,
                         1000.0, 0.5, Sample));
    QtViewApp app;
    ASSERT_TRUE(app.Start());
    XPlotSetupGroup setup;
    setup.SetDefaults();
    setup.path = path;
    setup.title = "ifs";
    setup.ext = "qtx";
    setup.slowMin = 100, setup.slowMax = 450, setup.freqMin = 1000, setup.freqMax = 3000;
    setup.datums.datumCount = 3;
    setup.datums.selected[1] = setup.datums.selected[2] = 1;
    CFreqSlowXplotWnd* view = OpenFreqSlowXplotWnd(setup, theViewerApp.m_windowClasses[kClassXPlot]);
    ASSERT_NE(view, nullptr);
    theApp.m_display.receiverShown.fill(1);
    StoreViewOptions();
    auto* qt = PaintedOffscreen(*view);
    ASSERT_NE(qt, nullptr);
    qt->client->resize(520, 430);
    view->Invalidate(true);
    ASSERT_TRUE(qt->RenderBacking());

    for (const unsigned key : {VK_DOWN, VK_DOWN, VK_NEXT, VK_UP, VK_HOME, VK_DOWN}) {
        const int frame = view->Frames().Frame();
        view->OnKeyDown(key, 1, 0);
        ASSERT_TRUE(qt->RenderBacking());
        const QImage stepped = qt->Backing().copy();
        // A whole paint of the same frame, the window erased first.
        theApp.m_display.redrawRequest = 1;
        view->Invalidate(true);
        ASSERT_TRUE(qt->RenderBacking());
        theApp.m_display.redrawRequest = 0;
        EXPECT_EQ(Differing(stepped, qt->Backing()), 0) << "from frame " << frame << " to " << view->Frames().Frame();
    }
    EXPECT_GT(view->PointsDrawn(), 100);
    theViewerApp.ResetToStartupState();
}

} // namespace
