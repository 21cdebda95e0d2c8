// A tool-box run on the Qt frame with two views of its input open: the view the user
// was on stays active, also once the desktop activates the frame again.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/qt/QtFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "toolbox/UtilitiesSetupDlg.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"

#include <QApplication>
#include <QMainWindow>

#include <gtest/gtest.h>

TEST(QtToolRun, ATaskLeavesTheActiveViewAsItWas)
{
    TempDir dir;
    const std::string input = dir.File("well.qtx");
    ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WMNO", .typeCode = 1, .traces = 2, .samples = 64}}, 20));
    ScriptedHost host; // dialogs and boxes are scripted; the frame and the views are real
    host.onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
    QtFrame frame;
    ScopedHost hostScope(&host);
    ScopedFrame frameScope(&frame);
    theViewerApp.ResetToStartupState();
    theViewerApp.m_commandLine = "test";
    ASSERT_TRUE(theViewerApp.InitInstance());
    frame.RouteCommand(ID_FILE_QTX);
    frame.Show(SW_SHOWNORMAL);
    DomainSetupGroup setup;
    setup.SetDefaults();
    setup.path = input;
    CWnd* views[2] = {};
    for (CWnd*& view : views) {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        view = OpenDomainWnd(setup, kDomainTime, theViewerApp.m_windowClasses[kClassDomain]);
    }
    theApp.m_utilitiesSetup.taskName = "Reverse Depth Order";
    host.ExpectFileDialog("Select Primary File", input);
    host.ScriptDialog(kIddUtilitiesSetup).Press(CUtilitiesSetupDlg::kIdcSelectPrimary).Press(CUtilitiesSetupDlg::kIdcRun);
    host.ExpectMessage("This data set log direction is : DOWN.\nWould you like to continue?.", IDYES);
    ASSERT_TRUE(frame.RouteCommand(ID_UTILITIES_TOOLS));
    QWidget progress; // the progress window closes and the desktop activates the frame again
    progress.show();
    progress.activateWindow();
    QApplication::processEvents();
    progress.hide();
    frame.Window()->activateWindow();
    QApplication::processEvents();
    ASSERT_NE(views[1], nullptr);
    EXPECT_EQ(frame.ActiveChild(), views[1]);
    EXPECT_NE(QApplication::focusWidget(), nullptr) << "keys reach the view";
    EXPECT_TRUE(host.PendingExpectations().empty());
    theViewerApp.ResetToStartupState();
}
