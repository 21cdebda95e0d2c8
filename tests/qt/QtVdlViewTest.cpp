// A VDL view painted through the Qt backend: its rendered image lands where the view
// says, pixel for pixel in the palette's colours, on the window's grey.
#include "QtViewTestApp.h"
#include "support/TempDir.h"
#include "viewers/VdlWnd.h"
#include "viewers/VdlWndFactory.h"
#include "settings/VdlSetupGroup.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(QtVdlView, BlitsItsImageIntoItsWindow)
{
    TempDir dir;
    const std::string path = dir.File("vdl.qtx");
    const QtxDatumShape d = Waveform(2, 256, 2.0f);
    ASSERT_TRUE(WriteQtx(path, {d}, 400, 1000.0, 0.5,
                         [](int frame, int, size_t i) { return float(std::sin(double(i % 256) * 0.1 + frame * 0.05)); }));

    QtViewApp app;
    ASSERT_TRUE(app.Start());
    VdlSetupGroup setup;
    setup.SetDefaults();
    setup.path = path;
    setup.topDepth = 1000;
    setup.timeStop = 512;
    setup.palette = kPaletteAnisotropy;
    CVdlWnd* view = OpenVdlWnd(setup, theViewerApp.m_windowClasses[kClassVdl]);
    ASSERT_NE(view, nullptr);
    auto* qt = dynamic_cast<QtChildView*>(view->Impl());
    ASSERT_NE(qt, nullptr);
    qt->client->resize(400, 300);
    view->Invalidate(true);
    ASSERT_TRUE(qt->RenderBacking());

    const QImage& picture = qt->Backing();
    ASSERT_EQ(picture.width(), 400);
    const Rect r = view->Raster().imageRect;
    ASSERT_EQ(view->Item().clientWidth, 400) << "the view was prepared for its new size";
    ASSERT_EQ(r, (Rect{35, 25, 35 + 365, 25 + view->Raster().rowsDrawn}));
    ASSERT_EQ(view->Raster().rowsDrawn, 300 - 49);
    auto rgb = [&](int x, int y) { return picture.pixel(x, y) | 0xFF000000u; };
    EXPECT_EQ(rgb(2, 2), 0xFFC0C0C0u) << "the window's grey";
    int differing = 0;
    for (int y = r.top; y < r.bottom; y += 7)
        for (int x = r.left; x < r.right; x += 3) differing += rgb(x, y) != view->Item().image.At(x - r.left, y - r.top);
    EXPECT_EQ(differing, 0) << "the image blitted unchanged";
    int palette = 0;
    for (int x = r.left + 1; x < r.right - 4; ++x)
        for (int i = 0; i < CVdlWnd::kColours; ++i) palette += rgb(x, r.top + 100) == CVdlWnd::PaletteColour(CVdlWnd::kPaletteAnisotropy, i);
    EXPECT_EQ(palette, 360) << "every pixel of a row in the palette";
    theViewerApp.ResetToStartupState();
}

} // namespace
