// QTX mode > Display > VDL on a data set of waveforms: the VDL Setup dialog takes the
// file, its depths and a time range, Run and the QTX File dialog's choice open the
// view, which shows the variable-density image and reads values out under the mouse.
#include "walk/Walk.h"

#include "dataset/QtxLayout.h"
#include "platform/Format.h"
#include "platform/qt/QtChildView.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/VdlSetupDlgIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/VdlWnd.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <set>

namespace {

constexpr int kFrames = 80;
constexpr double kPi = 3.14159265358979323846;

// A wave train that arrives half a sample later on each frame down the log.
float Wave(int frame, size_t i)
{
    const double shift = 0.5 * frame, t = double(i) - 20.0 - shift;
    return float(std::sin(2.0 * kPi * t / 16.0) * std::exp(-std::pow(t / 24.0, 2.0)));
}

TEST_F(Walk, DisplayVdlShowsTheImageOfTheChosenWaveforms)
{
    TempDir dir;
    const std::string path = dir.File("waves.qtx");
    const QtxDatumShape waves{.mnemonic = "WMNO", .typeCode = 1, .category = kCategoryWaveform, .traces = 2,
                              .samples = 128, .unit = kUnitMicroseconds, .step = 10.0f};
    ASSERT_TRUE(WriteQtx(path, {waves}, kFrames, 1000.0, 0.5, [](int frame, int, size_t i) { return Wave(frame, i % 128); }));

    ASSERT_NO_FATAL_FAILURE(EnterQtxMode(frame));

    namespace v = vdl_setup;
    User user;
    user.InDialog(kIddVdlSetup, "VDL Setup: Select Input File", [](QDialog& d) {
        Click(Control<QPushButton>(d, v::kIdcSelectInputFile));
    });
    user.ChooseFile(path);
    user.InDialog(kIddVdlSetup, "VDL Setup: the file's depths, a time range, Run", [](QDialog& d) {
        // The depths came from the file.
        EXPECT_EQ(Control<QLineEdit>(d, v::kIdcTopDepth)->text().toStdString(), "1000");
        EXPECT_EQ(Control<QLineEdit>(d, v::kIdcBottomDepth)->text().toStdString(), "1039.5");
        Retype(Control<QLineEdit>(d, v::kIdcTimeStart), "100");
        Retype(Control<QLineEdit>(d, v::kIdcTimeStop), "1100");
        Retype(Control<QLineEdit>(d, v::kIdcDepthScale), "240");
        Screenshot("vdl-setup");
        Click(Control<QPushButton>(d, IDOK));
    });
    user.InDialog(kIddQtxFile, "QTX File: the waveform, Add, OK", [](QDialog& d) {
        ClickListRow(Control(d, qtx_file::kIdcFound), 0);
        Click(Control<QPushButton>(d, qtx_file::kIdcAdd));
        Click(Control<QPushButton>(d, IDOK));
    });
    ChooseMenu(frame, "&Display", ID_DISPLAY_VDL);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;

    CVdlWnd* view = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (view = dynamic_cast<CVdlWnd*>(frame.ActiveChild())) != nullptr; }));
    EXPECT_EQ(view->GetWindowText(), "Time (" + path + ")");
    QtChildView* qt = ViewOf(view);
    ASSERT_NE(qt, nullptr);
    ASSERT_TRUE(WaitFor([&] { return frame.PaneText(1) == " 1000.0000 [ft]"; })) << frame.PaneText(1);
    ASSERT_TRUE(WaitPainted(*qt));
    ASSERT_GT(view->Raster().rowsDrawn, 100) << "the image fills the view";
    EXPECT_EQ(view->HorizontalAxis().start, 100.0f);

    // The read-outs of the point under the mouse: depth, time, frequency, amplitude.
    const Rect& image = view->Raster().imageRect;
    const int across = view->Raster().imageWidth / 2, down = 60;
    QTest::mouseMove(qt->client, QPoint(image.left + across, image.top + down));
    ASSERT_TRUE(WaitFor([&] { return !frame.PaneText(4).empty(); }, 10000)) << "no amplitude under the mouse";
    const double depth = view->Raster().imageTopDepth + down * view->Page().depthPerPixel;
    EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", depth));
    const double time = view->HorizontalAxis().start + double(across) / view->Raster().imageWidth * view->HorizontalAxis().span;
    EXPECT_EQ(frame.PaneText(2), Format("%5.2f [mSec]", time * 0.001));
    EXPECT_NE(frame.PaneText(3).find(" [kHz]"), std::string::npos) << frame.PaneText(3);
    // The amplitude of the frame at or just above the depth, at the time's sample.
    const int above = int((depth - 1000.0) / 0.5);
    const size_t sample = size_t(time / 10.0);
    const std::set<std::string> amplitudes = {Format("%8.3f [mV]", double(Wave(above, sample))),
                                              Format("%8.3f [mV]", double(Wave(above + 1, sample)))};
    EXPECT_TRUE(amplitudes.count(frame.PaneText(4))) << frame.PaneText(4) << " at frame " << above;

    const QImage screen = Screenshot("vdl");
    // The image holds the palette's colours, many of them, and no background.
    std::set<unsigned> palette, seen;
    for (int i = 0; i < CVdlWnd::kColours; ++i) palette.insert(CVdlWnd::PaletteColour(CVdlWnd::kPaletteColor, i) & 0xFFFFFFu);
    int outside = 0, pixels = 0;
    for (int y = image.top + 2; y < image.top + view->Raster().rowsDrawn - 2; y += 3)
        for (int x = image.left + 2; x < image.right - 2; x += 3) {
            const unsigned pixel = ScreenPixel(screen, qt->client, x, y);
            ++pixels;
            if (palette.count(pixel)) seen.insert(pixel);
            else ++outside;
        }
    EXPECT_GT(seen.size(), 20u) << "colours of the palette in the image";
    EXPECT_LT(outside, pixels / 20) << "pixels of other colours, of " << pixels;
    EXPECT_EQ(ScreenPixel(screen, qt->client, 2, image.top + 5), 0xC0C0C0u) << "the margin's grey";
}

} // namespace
