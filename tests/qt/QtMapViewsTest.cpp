// The semblance map and the cross-plot painted through the Qt backend: each one's
// rendered image lands where the view says, pixel for pixel, on the window's grey.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ResourceIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/FreqSlowXplotWndFactory.h"
#include "viewers/SemblanceMapWnd.h"
#include "viewers/SemblanceMapWndFactory.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// How many sampled pixels of `rect` differ from the view's image.
int Differing(CViewerWnd& view, const Image& image, const Rect& rect)
{
    auto* qt = dynamic_cast<QtChildView*>(view.Impl());
    if (!qt) return -1;
    qt->client->resize(420, 320);
    view.Invalidate(true);
    if (!qt->RenderBacking()) return -1;
    const QImage& picture = qt->Backing();
    int differing = 0;
    for (int y = rect.top + 1; y < rect.bottom - 1; y += 5)
        for (int x = rect.left + 1; x < rect.right - 1; x += 3)
            differing += (picture.pixel(x, y) | 0xFF000000u) != image.At(x - rect.left, y - rect.top);
    differing += (picture.pixel(2, 2) | 0xFF000000u) != 0xFFC0C0C0u; // the window's grey
    return differing;
}

TEST(QtMapViews, BlitTheirImagesIntoTheirWindows)
{
    TempDir dir;
    ScriptedHost host; // the selection dialog is scripted; the windows are real
    QtFrame frame;
    ScopedHost hostScope(&host);
    ScopedFrame frameScope(&frame);
    theViewerApp.ResetToStartupState();
    theViewerApp.m_commandLine = "test";
    ASSERT_TRUE(theViewerApp.InitInstance());

    SemblanceMapSetupGroup map;
    map.SetDefaults();
    map.path = dir.File("map.qtx");
    map.slowMin = 0, map.slowMax = 400, map.timeStart = 0, map.timeStop = 2000;
    ASSERT_TRUE(WriteQtx(map.path,
                         {{.mnemonic = "SMNO", .typeCode = 60, .category = kCategorySemblanceMap, .samples = 100,
                           .unit = kUnitMicrosecondsPerFoot, .step = 4, .samples2 = 100, .unit2 = kUnitMicroseconds,
                           .step2 = 20}},
                         5, 1000.0, 0.5, [](int, int, size_t i) { return float(std::sin(double(i % 100) * 0.05) + 1); }));
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    CSemblanceMapWnd* mapView = OpenSemblanceMapWnd(map, theViewerApp.m_windowClasses[kClassSemblanceMap]);
    ASSERT_NE(mapView, nullptr);
    EXPECT_EQ(Differing(*mapView, mapView->m_image, mapView->m_mapRect), 0);
    EXPECT_EQ(mapView->m_mapRect, (Rect{40, 30, 415, 286})) << "prepared for its new size";

    XPlotSetupGroup xplot;
    xplot.SetDefaults();
    xplot.path = dir.File("ifs.qtx");
    ASSERT_TRUE(WriteQtx(xplot.path, {{"ISMN", 164, kCategoryWaveform, 2, 64, kUnitMicroseconds, 2.0f},
                                      {"IFMN", 158, kCategoryWaveform, 2, 64, kUnitMicroseconds, 2.0f}},
                         5, 1000.0, 0.5, [](int, int datum, size_t i) {
                             return datum == 0 ? 100.0f + float(i * 5 % 300) : 1000.0f + float(i * 37 % 2000);
                         }));
    xplot.datums.datumCount = 2;
    xplot.datums.selected[0] = xplot.datums.selected[1] = 1;
    CFreqSlowXplotWnd* plot = OpenFreqSlowXplotWnd(xplot, theViewerApp.m_windowClasses[kClassXPlot]);
    ASSERT_NE(plot, nullptr);
    // The plot's frame, legend and grid are drawn over its image: compared away from them.
    auto* qt = dynamic_cast<QtChildView*>(plot->Impl());
    ASSERT_NE(qt, nullptr);
    qt->client->resize(420, 320);
    plot->Invalidate(true);
    ASSERT_TRUE(qt->RenderBacking());
    const QImage& picture = qt->Backing();
    const Rect r = plot->m_plotRect;
    ASSERT_EQ(r, (Rect{35, 25, 415, 290}));
    auto onGrid = [&](int x, int y) {
        for (const auto& t : plot->m_frequencyTicks)
            if (t.at == y) return true;
        for (const auto& t : plot->m_slownessTicks)
            if (t.at == x) return true;
        return x < 120 && y < 90; // the legend
    };
    int differing = 0, compared = 0;
    for (int y = r.top + 2; y < r.bottom - 2; ++y)
        for (int x = r.left + 2; x < r.right - 2; x += 2)
            if (!onGrid(x, y)) {
                ++compared;
                differing += (picture.pixel(x, y) | 0xFF000000u) != plot->m_image.At(x - r.left, y - r.top);
            }
    EXPECT_EQ(differing, 0) << compared;
    EXPECT_GT(plot->m_pointsDrawn, 10);
    theViewerApp.ResetToStartupState();
}

} // namespace
