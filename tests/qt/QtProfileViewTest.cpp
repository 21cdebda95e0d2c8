// A depth-profile window painted through the Qt backend: its colour rows land where
// the window says, in the palette's colours, with the tracked curve over them.
#include "QtViewTestApp.h"
#include "processing/ProfileWnd.h"
#include "processing/ProfileWndFactory.h"
#include "support/TempDir.h"
#include "settings/ProcessingSetupGroups.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(QtProfileView, BlitsItsRowsAndDrawsTheCurveOverThem)
{
    TempDir dir;
    const std::string path = dir.File("wave.qtx");
    const QtxDatumShape d = Waveform(3, 128, 10.0f);
    ASSERT_TRUE(WriteQtx(path, {d}, 300, 1000.0, 0.5, [](int frame, int, size_t i) {
        return float(std::sin(double(i % 128) * 0.2 + frame * 0.05));
    }));

    QtViewApp app;
    ASSERT_TRUE(app.Start());
    DepthProfileSetupGroup setup;
    setup.SetDefaults();
    setup.inputPath = path;
    setup.outputPath = dir.File("wave_time.qtx");
    setup.timeStop = 1270;
    setup.palette = kPaletteAnisotropy;
    CProfileWnd* view = OpenProfileWnd(setup, theViewerApp.ClassName(kClassSpare9));
    ASSERT_NE(view, nullptr);
    // A tracked time of 500 us down the middle track.
    for (CProfileRecord& r : view->Profile()) r.m_values[1] = 500.0f;
    view->ShowCurve();
    QtChildView* qt = PaintedOffscreen(*view);
    ASSERT_NE(qt, nullptr);

    const QImage& picture = qt->Backing();
    if (const char* out = std::getenv("BRONTE_PROFILE_PNG")) picture.save(out);
    ASSERT_EQ(view->Page().clientWidth, picture.width()) << "the window was prepared for its size";
    const Rect r = view->Page().plotRect;
    ASSERT_EQ(r.left, 35);
    ASSERT_EQ(r.top, 25);
    ASSERT_EQ(view->Page().pageRows, picture.height() - 49);
    ASSERT_GT(view->Page().rowsDrawn, 100);
    auto rgb = [&](int x, int y) { return picture.pixel(x, y) | 0xFF000000u; };
    EXPECT_EQ(rgb(2, 2), 0xFFFFFFFFu) << "the white background";
    // The image blitted unchanged, away from the curve.
    const int curveX = view->TrackLeft(1) + int((500 - view->Axis().start) / view->PixelSpan() * view->Page().trackWidth);
    int differing = 0, inPalette = 0, checked = 0;
    for (int y = r.top; y < r.bottom; y += 7)
        for (int x = r.left; x < r.right; x += 3) {
            if (std::abs(x - curveX) <= 2) continue;
            ++checked;
            differing += rgb(x, y) != view->PageImage().At(x - r.left, y - r.top);
            for (int i = 0; i < CProcessingWnd::kColours; ++i)
                inPalette += rgb(x, y) == CProcessingWnd::PaletteColour(CProcessingWnd::kPaletteAnisotropy, i);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(inPalette, checked * 9 / 10) << "tracks in the palette, gaps in white";
    // The curve: the pen's black, two pixels wide, on every row of the middle track.
    int black = 0;
    for (int y = r.top + 2; y < r.bottom - 2; ++y) black += rgb(curveX, y) == 0xFF000000u || rgb(curveX - 1, y) == 0xFF000000u;
    EXPECT_GE(black, r.bottom - r.top - 6);
    app.host.ExpectMessage("Do you want to save output file", IDNO);
    view->OnClose();
    theViewerApp.ResetToStartupState();
}

} // namespace
