// QTX mode > Display > Slowness on a data set with a slowness datum: the view opens
// on the first frame and its scroll bar's down arrow steps three frames deeper; a view
// made shorter gives the workspace back what it covered.
#include "walk/Walk.h"

#include "dataset/QtxLayout.h"
#include "platform/qt/QtChildView.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/DomainWnd.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <cmath>

namespace {

TEST_F(Walk, DisplaySlownessOpensTheDataSetAndScrollsThreeFrames)
{
    TempDir dir;
    const std::string path = dir.File("slowness.qtx");
    QtxDatumShape slowness;
    slowness.mnemonic = "DTCO";
    slowness.typeCode = 33;
    slowness.category = kCategorySlowness;
    slowness.samples = 100;
    slowness.unit = kUnitMicrosecondsPerFoot;
    slowness.step = 2.0f;
    ASSERT_TRUE(WriteQtx(path, {slowness}, 60, 1000.0, 0.5, [](int frame, int, size_t i) {
        return float(std::exp(-std::pow((double(i) - 30.0 - 4.0 * frame) / 6.0, 2.0)));
    }));

    CDomainWnd* view = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenSlownessView(frame, path, view));
    QtChildView* qt = ViewOf(view);
    ASSERT_TRUE(WaitFor([&] { return frame.PaneText(1).find("1000.0000") != std::string::npos; }))
        << frame.PaneText(1);

    QScrollBar* bar = ViewScrollBar(*qt, Qt::Vertical);
    ASSERT_NE(bar, nullptr) << "the view's vertical scroll bar";
    ASSERT_NO_FATAL_FAILURE(ScrollDownThrough(frame, *bar, {"1000.5000", "1001.0000", "1001.5000"}));

    ASSERT_TRUE(WaitPainted(*qt));
    const QImage screen = Screenshot("slowness");
    EXPECT_EQ(ScreenPixel(screen, qt->client, 2, 2), 0xC0C0C0u) << "the view's grey frame";
    int ink = 0; // the slowness curve in the plot
    for (int x = 40; x < qt->client->width() - 10; ++x)
        for (int y = 30; y < qt->client->height() - 30; y += 2) ink += ScreenPixel(screen, qt->client, x, y) == 0 ? 1 : 0;
    EXPECT_GT(ink, 50);
    // The peak moved with the frames: it stood at 60 uSec/ft on the first, at 84 on the fourth.
    const auto column = [&](double slowness) {
        return view->Layout().leftMargin + int((slowness - view->Axis().start) * view->Layout().plotWidth / view->Axis().width);
    };
    const int nearTop = view->Layout().topMargin + 15;
    EXPECT_EQ(ScreenPixel(screen, qt->client, column(84.0), nearTop), 0x000000u) << "the peak of the fourth frame";
    EXPECT_NE(ScreenPixel(screen, qt->client, column(60.0), nearTop), 0x000000u) << "not the first frame's";

    ShrinkStepByStep(*qt, "slowness-shrink");
}

} // namespace
