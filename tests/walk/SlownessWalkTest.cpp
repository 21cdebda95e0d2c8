// QTX mode > Display > Slowness on a data set with a slowness datum: the view opens
// on the first frame and its scroll bar's down arrow steps three frames deeper.
#include "walk/Walk.h"

#include "dataset/QtxLayout.h"
#include "platform/qt/QtChildView.h"
#include "res/CommandIds.h"
#include "res/DomainSetupDlgIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/ResourceIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "viewers/DomainWnd.h"

#include <QDialog>
#include <QImage>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
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

    ChooseMenu(frame, "&File", ID_FILE_QTX);
    ASSERT_TRUE(WaitFor([&] { return frame.MenuId() != 0 && frame.Window()->menuBar()->actions().size() > 3; }));

    User user;
    user.InDialog(kIddDomainSetup, "Domain Setup: Select Input File", [](QDialog& d) {
        Click(Control<QPushButton>(d, domain_setup::kIdcSelectInputFile));
    });
    user.ChooseFile(path);
    user.InDialog(kIddDomainSetup, "Domain Setup: OK", [](QDialog& d) { Click(Control<QPushButton>(d, IDOK)); });
    user.InDialog(kIddQtxFile, "QTX File: the slowness datum, Add, OK", [](QDialog& d) {
        ClickListRow(Control(d, qtx_file::kIdcFound), 0);
        Click(Control<QPushButton>(d, qtx_file::kIdcAdd));
        Click(Control<QPushButton>(d, IDOK));
    });
    ChooseMenu(frame, "&Display", ID_DISPLAY_SLOWNESS);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;

    CDomainWnd* view = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (view = dynamic_cast<CDomainWnd*>(frame.ActiveChild())) != nullptr; }));
    EXPECT_EQ(view->m_domain, kDomainSlowness);
    EXPECT_EQ(view->GetWindowText(), "Slowness (" + path + ")");
    auto* qt = dynamic_cast<QtChildView*>(view->Impl());
    ASSERT_NE(qt, nullptr);
    ASSERT_TRUE(WaitFor([&] { return frame.PaneText(1).find("1000.0000") != std::string::npos; }))
        << frame.PaneText(1);

    QScrollBar* bar = nullptr;
    for (QScrollBar* b : qt->sub->findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical && b->isVisible()) bar = b;
    ASSERT_NE(bar, nullptr) << "the view's vertical scroll bar";
    ASSERT_TRUE(bar->isEnabled()) << "more frames than a page";
    const QPoint downArrow(bar->width() / 2, bar->height() - bar->width() / 2);
    const char* depths[] = {"1000.5000", "1001.0000", "1001.5000"};
    for (const char* depth : depths) {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, downArrow);
        EXPECT_TRUE(WaitFor([&] { return frame.PaneText(1).find(depth) != std::string::npos; }, 10000))
            << depth << " vs " << frame.PaneText(1);
    }

    ASSERT_TRUE(WaitFor([&] { return !qt->invalid; }, 10000));
    const QImage screen = Screenshot("slowness");
    EXPECT_EQ(ScreenPixel(screen, qt->client, 2, 2), 0xC0C0C0u) << "the view's grey frame";
    int ink = 0; // the slowness curve in the plot
    for (int x = 40; x < qt->client->width() - 10; ++x)
        for (int y = 30; y < qt->client->height() - 30; y += 2) ink += ScreenPixel(screen, qt->client, x, y) == 0 ? 1 : 0;
    EXPECT_GT(ink, 50);
    // The peak moved with the frames: it stood at 60 uSec/ft on the first, at 84 on the fourth.
    const auto column = [&](double slowness) {
        return view->m_leftMargin + int((slowness - view->m_start) * view->m_plotWidth / view->m_width);
    };
    const int nearTop = view->m_topMargin + 15;
    EXPECT_EQ(ScreenPixel(screen, qt->client, column(84.0), nearTop), 0x000000u) << "the peak of the fourth frame";
    EXPECT_NE(ScreenPixel(screen, qt->client, column(60.0), nearTop), 0x000000u) << "not the first frame's";
}

} // namespace
