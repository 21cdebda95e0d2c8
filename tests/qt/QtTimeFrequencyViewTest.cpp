// A time-frequency window painted through the Qt backend: every column shows its
// time strip and, beside it, the spectrum whose brightest pixels lie at the trace's
// frequency, with the tracked times drawn over the strip.
#include "QtViewTestApp.h"
#include "processing/ProfileWndFactory.h"
#include "processing/TimeFrequencyWnd.h"
#include "support/TempDir.h"
#include "settings/ProcessingSetupGroups.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(QtTimeFrequencyView, ShowsBothPanelsOfEveryColumnAndTheTrackedTimes)
{
    TempDir dir;
    const std::string path = dir.File("wave.qtx");
    const QtxDatumShape d = Waveform(3, 256, 10.0f);
    // 6,250 Hz from sample 40 on, a little later down the log.
    ASSERT_TRUE(WriteQtx(path, {d}, 300, 1000.0, 0.5, [](int frame, int, size_t i) {
        const int j = int(i % 256) - 40 - frame / 30;
        return j < 0 ? 0.0f : float(std::sin(2 * 3.14159265358979 * j / 16.0) * std::exp(-j / 60.0));
    }));

    QtViewApp app;
    ASSERT_TRUE(app.Start());
    DepthProfileSetupGroup setup;
    setup.SetDefaults();
    setup.domain = ViewDomain::kTimeFrequency;
    setup.inputPath = path;
    setup.outputPath = dir.File("wave_timefreq.qtx");
    setup.timeStop = 1500;
    setup.freqStop = 20000;
    CTimeFrequencyWnd* view = OpenTimeFrequencyWnd(setup, theViewerApp.ClassName(kClassSpare9));
    ASSERT_NE(view, nullptr);
    // The records are made when one is first asked for: each frame's is asked for by its frame.
    for (int frame = 0; frame < 300; ++frame)
        if (TfRecord* record = view->Profile().Record(frame)) record->times[1] = 800.0f;
    QtChildView* qt = PaintedOffscreen(*view);
    ASSERT_NE(qt, nullptr);

    const QImage& picture = qt->Backing();
    if (const char* out = std::getenv("BRONTE_TIMEFREQ_PNG")) picture.save(out);
    const Rect r = view->Page().plotRect;
    ASSERT_EQ(r.left, 35);
    ASSERT_EQ(r.top, 25);
    ASSERT_GT(view->Page().rowsDrawn, 100);
    ASSERT_GT(view->TimeWidth(), 20);
    ASSERT_GT(view->FrequencyWidth(), 20);
    auto rgb = [&](int x, int y) { return picture.pixel(x, y) | 0xFF000000u; };
    const int y = r.top + 40;
    const int curveX = view->TimeLeft(1) + int((800 - view->TimeWindow().start) / view->TimeSpan() * view->TimeWidth());
    for (int c = 0; c < 3; ++c) {
        // The spectrum's highest palette index lies at 6,250 Hz.
        const int left = view->FrequencyLeft(c);
        int peak = -1, highest = -1;
        for (int x = left; x < left + view->FrequencyWidth(); ++x)
            for (int i = highest + 1; i < CProcessingWnd::kColours; ++i)
                if (rgb(x, y) == CProcessingWnd::PaletteColour(CProcessingWnd::kPaletteColor, i)) {
                    peak = x;
                    highest = i;
                }
        ASSERT_GE(highest, 20) << c;
        const double hz = view->FrequencyWindow().start + double(peak - left) / view->FrequencyWidth() * view->FrequencySpan();
        EXPECT_NEAR(hz, 6250, 2 * view->FrequencySpan() / view->FrequencyWidth() + view->FrequencyWindow().binStep) << c;
        // The strip in the palette's colours, away from the curve.
        int coloured = 0, checked = 0;
        for (int x = view->TimeLeft(c); x < view->TimeLeft(c) + view->TimeWidth(); ++x) {
            if (std::abs(x - curveX) <= 2) continue;
            ++checked;
            for (int i = 0; i < CProcessingWnd::kColours; ++i)
                coloured += rgb(x, y) == CProcessingWnd::PaletteColour(CProcessingWnd::kPaletteColor, i);
        }
        EXPECT_EQ(coloured, checked) << c;
    }
    // The tracked 800 us of the middle column, in the pen's black, down the page.
    int black = 0;
    for (int row = r.top + 2; row < r.bottom - 2; ++row)
        black += rgb(curveX, row) == 0xFF000000u || rgb(curveX - 1, row) == 0xFF000000u || rgb(curveX + 1, row) == 0xFF000000u;
    EXPECT_GE(black, r.bottom - r.top - 6);
    app.host.ExpectMessage("Do you want to save output file", IDNO);
    view->OnClose();
    theViewerApp.ResetToStartupState();
}

} // namespace
