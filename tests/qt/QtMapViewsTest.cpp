// The semblance map painted through the Qt backend: its rendered image lands where the
// view says, pixel for pixel, on the window's grey. (The cross-plot blits its image
// the same way.)
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/QtxFileDlgIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/SemblanceMapWnd.h"
#include "viewers/SemblanceMapWndFactory.h"
#include "settings/SemblanceMapSetupGroup.h"

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

TEST(QtMapViews, TheSemblanceMapBlitsItsImageIntoItsWindow)
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
    EXPECT_EQ(Differing(*mapView, mapView->Item().image, mapView->MapRect()), 0);
    EXPECT_EQ(mapView->MapRect(), (Rect{40, 30, 415, 286})) << "prepared for its new size";

    theViewerApp.ResetToStartupState();
}

} // namespace
