// Domain views on the Qt frame: the picture has the grey frame, the bands and the
// trace where the recording says they are; a task keeps the active view.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "toolbox/UtilitiesSetupDlg.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"
#include "settings/DomainSetupGroup.h"
#include "settings/UtilitiesSetupGroup.h"

#include <QApplication>
#include <QMainWindow>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// The program on the Qt frame with a data set to view; the dialogs are scripted.
class QtDomainView : public ::testing::Test {
protected:
    void SetUp() override
    {
        QtxDatumShape d;
        d.mnemonic = "WMNO";
        d.typeCode = 1;
        d.traces = 2;
        d.samples = 256;
        d.step = 2.0f;
        ASSERT_TRUE(WriteQtx(path, {d}, 3, 1000.0, 0.5,
                             [](int, int, size_t i) { return float(std::sin(double(i % 256) * 0.1)); }));
        host.onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        theViewerApp.ResetToStartupState();
        theViewerApp.m_commandLine = "test";
        ASSERT_TRUE(theViewerApp.InitInstance());
    }
    void TearDown() override { theViewerApp.ResetToStartupState(); }

    CDomainWnd* Open(int domain = kDomainTime, const std::string& file = {})
    {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        DomainSetupGroup setup;
        setup.SetDefaults();
        setup.path = file.empty() ? path : file;
        setup.timeStop = 500.0f;
        setup.freqStart = 0;
        setup.freqStop = 40000;
        return OpenDomainWnd(setup, domain, theViewerApp.m_windowClasses[kClassDomain]);
    }

    // The view's picture as its window renders it at `width` x `height`.
    static QImage Render(CDomainWnd* view, int width, int height)
    {
        auto* qt = dynamic_cast<QtChildView*>(view->Impl());
        if (!qt) return {};
        qt->client->resize(width, height);
        view->Invalidate(true);
        if (!qt->RenderBacking()) return {};
        return qt->Backing().copy();
    }

    TempDir dir;
    const std::string path = dir.File("view.qtx");
    ScriptedHost host; // the dialogs are scripted; the windows are real
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
};

TEST_F(QtDomainView, PaintsBandsAndTracesIntoItsWindow)
{
    CDomainWnd* view = Open();
    ASSERT_NE(view, nullptr);
    auto* qt = dynamic_cast<QtChildView*>(view->Impl());
    ASSERT_NE(qt, nullptr);
    qt->client->resize(400, 300);
    view->Invalidate(true);
    ASSERT_TRUE(qt->RenderBacking());

    const QImage& image = qt->Backing();
    ASSERT_EQ(image.width(), 400);
    auto rgb = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(2, 2), 0xC0C0C0u) << "frame filled grey";
    const int traceHeight = (300 - 15 - 25) / 2;
    const int band = traceHeight - 12;
    EXPECT_EQ(rgb(35, 25), 0x000000u) << "band outline (axis pen) at its top-left";
    EXPECT_EQ(view->Layout().traceHeight, traceHeight);
    // Somewhere inside the first band the trace brush (black by default) fills the wiggle.
    int ink = 0;
    for (int x = 40; x < 395; ++x)
        for (int y = 27; y < 25 + band - 1; ++y) ink += rgb(x, y) == 0 ? 1 : 0;
    EXPECT_GT(ink, 100);
}

// A spectrum view stepped by lines and pages, down and back up, shows at every frame
// the picture a view opened at that frame shows: nothing of an earlier frame stays.
TEST_F(QtDomainView, AStepShowsWhatAFreshViewOfItsFrameShows)
{
    const std::string stepped = dir.File("stepped.qtx");
    QtxDatumShape d;
    d.mnemonic = "WMNO";
    d.typeCode = 1;
    d.traces = 4;
    d.samples = 256;
    d.step = 4.0f;
    // Every frame and trace a spectrum of its own: a tone that moves with the frame.
    ASSERT_TRUE(WriteQtx(stepped, {d}, 210, 1000.0, 0.5, [](int frame, int, size_t i) {
        const double trace = double(i / 256), t = double(i % 256);
        return float(std::sin(t * (0.05 + 0.01 * frame + 0.2 * trace)) * std::exp(-t / (60.0 + frame)));
    }));
    CDomainWnd* view = Open(kDomainFrequency, stepped);
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(Render(view, 640, 480).isNull());
    const struct {
        int code, frame;
    } steps[] = {{SB_LINEDOWN, 1}, {SB_LINEDOWN, 2}, {SB_LINEUP, 1},   {SB_PAGEDOWN, 101}, {SB_LINEDOWN, 102},
                 {SB_PAGEUP, 2},   {SB_LINEUP, 1},   {SB_PAGEDOWN, 101}, {SB_PAGEDOWN, 201}, {SB_LINEUP, 200}};
    for (const auto& step : steps) {
        view->OnVScroll(step.code, 0);
        ASSERT_EQ(view->Frames().Frame(), step.frame);
        const QImage after = Render(view, 640, 480);

        CDomainWnd* fresh = Open(kDomainFrequency, stepped);
        ASSERT_NE(fresh, nullptr);
        fresh->Frames().SetFrame(step.frame);
        ASSERT_TRUE(fresh->ReadFrame());
        const QImage expected = Render(fresh, 640, 480);
        fresh->OnClose();
        ASSERT_FALSE(expected.isNull());
        EXPECT_TRUE(after == expected) << "frame " << step.frame;
    }
}

// A black trace leaves out the outline over its fill: on the window's image the fill's
// own pen already sets every pixel of that outline, on any curve, gaps and steep
// flanks included.
TEST(QtDomainCurve, TheOutlineOverAFillOfTheSamePenSetsNoPixelOfItsOwn)
{
    const Pen pen{PS_SOLID, 2, Rgb(0, 0, 0)};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> value(0, 47), jump(0, 9);
    for (int trial = 0; trial < 40; ++trial) {
        // One band's curve as the view builds it: down to the base line at both ends.
        const int left = 35, base = 80, columns = 300;
        std::vector<Point> points{{left, base}};
        int y = base - value(rng);
        for (int c = 0; c < columns; ++c) {
            if (jump(rng) == 0) y = base - 1 - value(rng);
            else y = std::clamp(y + jump(rng) - 4, base - 48, base);
            points.push_back({left + c, y});
        }
        points.push_back({left + columns - 1, base});
        QImage with(400, 120, QImage::Format_RGB32), without(400, 120, QImage::Format_RGB32);
        for (QImage* image : {&with, &without}) {
            image->fill(0xFFFFFFFF);
            QtDc dc(image, DeviceCaps{});
            dc.SelectPen(pen);
            dc.SelectBrush({Rgb(0, 0, 0), false});
            dc.Polygon(points.data(), int(points.size()));
            if (image == &with) dc.Polyline(points.data() + 1, columns - 1);
        }
        ASSERT_TRUE(with == without) << "trial " << trial;
    }
}

// A tool-box run disables the frame under its progress dialog. The view the user was
// on stays active, also once the desktop activates the frame again.
TEST_F(QtDomainView, ATaskOnItsDataSetLeavesTheActiveViewAsItWas)
{
    frame.RouteCommand(ID_FILE_QTX);
    frame.Show(SW_SHOWNORMAL);
    CDomainWnd* first = Open();
    CDomainWnd* second = Open();
    ASSERT_TRUE(first && second);
    theApp.m_utilitiesSetup.taskName = "Reverse Depth Order";
    host.ExpectFileDialog("Select Primary File", path);
    host.ScriptDialog(kIddUtilitiesSetup).Press(CUtilitiesSetupDlg::kIdcSelectPrimary).Press(CUtilitiesSetupDlg::kIdcRun);
    host.ExpectMessage("This data set log direction is : DOWN.\nWould you like to continue?.", IDYES);
    ASSERT_TRUE(frame.RouteCommand(ID_UTILITIES_TOOLS));
    QWidget progress; // its window closes and the desktop activates the frame again
    progress.show();
    progress.activateWindow();
    QApplication::processEvents();
    progress.hide();
    frame.Window()->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(frame.ActiveChild(), second);
    EXPECT_NE(QApplication::focusWidget(), nullptr) << "keys reach the view";
    EXPECT_TRUE(host.PendingExpectations().empty());
}

} // namespace
