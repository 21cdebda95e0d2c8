// A Kalman window painted through the Qt backend: below an averaged interval of
// identical frames every row is the mean taken away (all palette index 0), above it
// the waveform still shows.
#include "QtViewTestApp.h"
#include "processing/KalmanWnd.h"
#include "processing/ProfileWndFactory.h"
#include "support/TempDir.h"
#include "settings/ProcessingSetupGroups.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

TEST(QtKalmanView, RowsOfAProcessedIntervalShowTheCorrectedFrames)
{
    TempDir dir;
    const std::string path = dir.File("wave.qtx");
    const QtxDatumShape d = Waveform(2, 128, 10.0f);
    ASSERT_TRUE(WriteQtx(path, {d}, 200, 1000.0, 0.5, [](int, int, size_t i) { return float(std::sin(double(i % 128) * 0.2)); }));

    QtViewApp app;
    ASSERT_TRUE(app.Start());
    ScriptedHost& host = app.host;
    KalmanSetupGroup setup;
    setup.inputPath = path;
    setup.outputPath = dir.File("wave_Kalman.qtx");
    setup.topDepth = 1000;
    setup.bottomDepth = 1099.5;
    setup.timeStop = 1270;
    CKalmanWnd* view = OpenKalmanWnd(setup, theViewerApp.ClassName(kClassSpare9));
    ASSERT_NE(view, nullptr);
    QtChildView* qt = PaintedOffscreen(*view);
    ASSERT_NE(qt, nullptr);
    const Rect r = view->Page().plotRect;
    ASSERT_GT(r.bottom - r.top, 100);
    const int half = (r.top + r.bottom) / 2;
    host.ExpectMessage("Do you want to execute Kalman filter procedure?", IDYES);
    ASSERT_TRUE(view->Process({r.left + 10, half}));
    ASSERT_TRUE(qt->RenderBacking());

    const QImage& picture = qt->Backing();
    if (const char* out = std::getenv("BRONTE_KALMAN_PNG")) picture.save(out);
    auto rgb = [&](int x, int y) { return picture.pixel(x, y) | 0xFF000000u; };
    const uint32_t zero = CProcessingWnd::PaletteColour(CProcessingWnd::kPaletteColor, 0);
    const int x0 = view->TrackLeft(0), x1 = x0 + view->Page().trackWidth;
    std::set<uint32_t> above;
    int corrected = 0, checked = 0;
    for (int x = x0; x < x1; x += 3) {
        above.insert(rgb(x, r.top + 5));
        for (int y = half + 3; y < r.bottom - 2; y += 9) {
            ++checked;
            corrected += rgb(x, y) == zero;
        }
    }
    EXPECT_GT(above.size(), 5u) << "the waveform's colours above the interval";
    EXPECT_EQ(corrected, checked) << "nothing left of the waveform below it";
    host.ExpectMessage("Do you want to save output file", IDNO);
    view->OnClose();
    theViewerApp.ResetToStartupState();
}

} // namespace
