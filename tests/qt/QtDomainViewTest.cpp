// Domain views on the Qt frame: the picture has the grey frame, the bands and the
// trace where the recording says they are; a task keeps the active view.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtChildView.h"
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

    CDomainWnd* Open()
    {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        DomainSetupGroup setup;
        setup.SetDefaults();
        setup.path = path;
        setup.timeStop = 500.0f;
        return OpenDomainWnd(setup, kDomainTime, theViewerApp.m_windowClasses[kClassDomain]);
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
