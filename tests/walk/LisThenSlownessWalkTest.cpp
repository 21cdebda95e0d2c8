// The two roads one after the other, as an analyst takes them: LIS mode > Process >
// Lis to QTX turns a tool's semblance into a data set, and QTX mode > Display >
// Slowness opens that data set and scrolls three frames down it.
#include "walk/Walk.h"

#include "lis/LisParamScan.h"
#include "lis/SelectInputFileItemsDlg.h"
#include "platform/qt/QtChildView.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/DomainWnd.h"

#include <QImage>
#include <QScrollBar>

#include <cmath>

namespace {

constexpr int kFrames = 60, kFramesPerRecord = 10;

// The semblance's peak: at sample 30 on the first frame, four samples further on each
// frame down. Values too small for a LIS number are 0.
double Semblance(int frame, int element)
{
    const double v = std::exp(-std::pow((element - 30.0 - 4.0 * frame) / 6.0, 2.0));
    return v < 1e-6 ? 0.0 : v;
}

TEST_F(Walk, LisToQtxThenDisplaySlownessOnTheDataSetItWrote)
{
    TempDir dir;
    const std::string lisPath = dir.File("dsi.lis"), out = dir.File("dsi_SEMB_001.qtx");
    // The DSI semblance: channel SM, its slowness step from PER, labelled SEMBMONO.
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).Section("~DSI", {{"SM", "PER", "DLY", "SP", "SEMBMONO"}}).WriteDit(dir.Path()));
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {lisb::Channel{"SM", "US/F", 400, 1, 68}, lisb::Channel{"GR", "GAPI"}};
    LisBuilder b;
    b.FileHeader("SEMB  .001").Table("CONS", {{{"MNEM", "PER"}, {"PUNI", "US/F"}, {"TUNI", "US/F"}, {"VALU", "2"}, {"DESC", "step"}}});
    b.Dfsr(d);
    const lisb::SampleFn sample = [](int frame, int channel, int element) {
        return channel == 0 ? Semblance(frame, element) : 50.0 + frame;
    };
    for (int first = 0; first < kFrames; first += kFramesPerRecord)
        b.Data(d, 1000.0 + 0.5 * first, 0.5, kFramesPerRecord, sample, first);
    b.FileTrailer("SEMB  .001");
    b.Write(lisPath);
    std::string node;
    {
        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
        node = CSelectInputFileItemsDlg::NodeText(*files.at(0));
    }
    theViewerApp.m_dataDir = dir.Path(); // the tool dictionary lives there

    ASSERT_NO_FATAL_FAILURE(ConvertLisToQtx(frame, lisPath, node, out, "lis-then-slowness-items"));
    const QtxImage image = LoadQtx(out);
    ASSERT_EQ(image.depths.size(), size_t(kFrames));

    CDomainWnd* view = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenSlownessView(frame, out, view));
    QtChildView* qt = ViewOf(view);
    ASSERT_TRUE(WaitFor([&] { return frame.PaneText(1).find("1000.0000") != std::string::npos; }))
        << frame.PaneText(1);
    QScrollBar* bar = ViewScrollBar(*qt, Qt::Vertical);
    ASSERT_NE(bar, nullptr) << "the view's vertical scroll bar";
    ASSERT_NO_FATAL_FAILURE(ScrollDownThrough(frame, *bar, {"1000.5000", "1001.0000", "1001.5000"}));

    ASSERT_TRUE(WaitPainted(*qt));
    const QImage screen = Screenshot("lis-then-slowness");
    // The semblance came through the conversion: its peak stands at 84 uSec/ft on the
    // fourth frame (sample 42 at 2 uSec/ft a sample), no longer at the first frame's 60.
    const auto column = [&](double slowness) {
        return view->Layout().leftMargin + int((slowness - view->Axis().start) * view->Layout().plotWidth / view->Axis().width);
    };
    const int nearTop = view->Layout().topMargin + 15;
    EXPECT_EQ(ScreenPixel(screen, qt->client, column(84.0), nearTop), 0x000000u) << "the peak of the fourth frame";
    EXPECT_NE(ScreenPixel(screen, qt->client, column(60.0), nearTop), 0x000000u) << "not the first frame's";
}

} // namespace
