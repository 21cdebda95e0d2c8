// The status bar's read-out panes on the Qt frame follow the active view: opening,
// switching, Close All and a mode switch never leave another view's values behind.
#include "QtViewTestApp.h"
#include "res/CommandIds.h"
#include "support/TempDir.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"
#include "viewers/VdlWnd.h"
#include "viewers/VdlWndFactory.h"
#include "res/QtxFileDlgIds.h"
#include "settings/DomainSetupGroup.h"
#include "settings/VdlSetupGroup.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Panes(const IFrame& frame)
{
    std::vector<std::string> texts;
    for (int pane = 1; pane <= 4; ++pane) texts.push_back(frame.PaneText(pane));
    return texts;
}

template <class View> std::vector<std::string> ReadOuts(const View& view)
{
    std::vector<std::string> texts;
    for (int pane = 1; pane <= 4; ++pane) texts.push_back(view.ReadOut(pane));
    return texts;
}

TEST(QtReadOutPanes, BelongToTheActiveViewAndGoWithTheLastOne)
{
    TempDir dir;
    const std::string path = dir.File("panes.qtx");
    ASSERT_TRUE(WriteQtx(path, {Waveform(2, 256, 2.0f)}, 40, 1000.0, 0.5,
                         [](int frame, int, size_t i) { return float(std::sin(double(i % 256) * 0.1 + frame)); }));
    QtViewApp app;
    ASSERT_TRUE(app.Start());
    app.frame.RouteCommand(ID_FILE_QTX);
    app.frame.Show(SW_SHOWNORMAL);
    const std::vector<std::string> none(4);

    auto openDomain = [&] {
        app.host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        DomainSetupGroup setup;
        setup.SetDefaults();
        setup.path = path;
        setup.timeStop = 500.0f;
        setup.traceCursor = 1;
        return OpenDomainWnd(setup, kDomainTime, theViewerApp.m_windowClasses[kClassDomain]);
    };
    auto openVdl = [&] {
        app.host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        VdlSetupGroup setup;
        setup.SetDefaults();
        setup.path = path;
        setup.topDepth = 1000;
        setup.timeStop = 512;
        return OpenVdlWnd(setup, theViewerApp.m_windowClasses[kClassVdl]);
    };
    auto paint = [](auto& view) {
        auto* qt = dynamic_cast<QtChildView*>(view.Impl());
        ASSERT_NE(qt, nullptr);
        qt->client->resize(400, 300);
        view.Invalidate(true);
        ASSERT_TRUE(qt->RenderBacking());
    };

    CDomainWnd* domain = openDomain();
    ASSERT_NE(domain, nullptr);
    paint(*domain);
    domain->OnMouseMove(0, {200, 60});
    const std::vector<std::string> domainTexts = Panes(app.frame);
    ASSERT_FALSE(domainTexts[1].empty()) << "the time under the cursor";
    ASSERT_FALSE(domainTexts[3].empty()) << "the value under the cursor";
    EXPECT_EQ(domainTexts, ReadOuts(*domain));

    CVdlWnd* vdl = openVdl();
    ASSERT_NE(vdl, nullptr);
    EXPECT_EQ(Panes(app.frame), ReadOuts(*vdl)) << "a new view shows its own read-outs";
    EXPECT_EQ(app.frame.PaneText(2), "") << "not the other view's time";
    EXPECT_EQ(app.frame.PaneText(4), "");
    paint(*vdl);
    vdl->OnMouseMove(0, {vdl->Raster().imageRect.left + 5, vdl->Raster().imageRect.top + 20});
    const std::vector<std::string> vdlTexts = Panes(app.frame);
    ASSERT_FALSE(vdlTexts[1].empty());
    ASSERT_NE(vdlTexts, domainTexts);

    domain->OnMouseMove(0, {210, 60}); // a view in the background keeps its texts to itself
    EXPECT_EQ(Panes(app.frame), vdlTexts);
    app.frame.ActivateChild(*domain);
    QApplication::processEvents();
    EXPECT_EQ(Panes(app.frame), ReadOuts(*domain));
    EXPECT_NE(app.frame.PaneText(2), vdlTexts[1]);
    app.frame.ActivateChild(*vdl);
    QApplication::processEvents();
    EXPECT_EQ(Panes(app.frame), vdlTexts);

    ASSERT_TRUE(app.frame.RouteCommand(ID_WINDOW_CLOSE_ALL));
    QApplication::processEvents();
    EXPECT_EQ(Panes(app.frame), none) << "no view left, no read-outs";

    domain = openDomain();
    ASSERT_NE(domain, nullptr);
    paint(*domain);
    domain->OnMouseMove(0, {200, 60});
    ASSERT_NE(Panes(app.frame), none);
    ASSERT_TRUE(app.frame.RouteCommand(ID_FILE_LIS)); // the mode switch closes the views
    QApplication::processEvents();
    EXPECT_EQ(Panes(app.frame), none) << "LIS mode has no view to read out";
    theViewerApp.ResetToStartupState();
}

} // namespace
