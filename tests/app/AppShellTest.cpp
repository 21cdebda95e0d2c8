#include "app/MainFrame.h"
#include "app/ViewerApp.h"
#include "viewers/ViewOptions.h"
#include "platform/Dialog.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "support/AppFixture.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>

namespace {

// A viewer as the display commands create them: a record while open.
class TestViewer : public CWnd {
public:
    explicit TestViewer(uint16_t id, bool withRecord = true) : m_id(id), m_withRecord(withRecord) {}
    int OnCreate() override
    {
        if (m_withRecord) {
            const int available[kReceivers] = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
            AddViewOptions(m_id, 1, available, this);
        }
        return 0;
    }
    void OnMDIActivate(bool activate) override
    {
        if (!activate || !m_withRecord) return;
        theApp.m_display.activeWindowId = m_id;
        LoadViewOptions();
        StoreViewOptions();
    }
    void OnDestroy() override
    {
        if (m_withRecord) RemoveViewOptions(m_id);
    }
    void PostNcDestroy() override { delete this; }

private:
    uint16_t m_id;
    bool m_withRecord;
};

class AppShellTest : public AppTest {
protected:
    TestViewer* OpenViewer(bool withRecord = true)
    {
        const uint16_t id = ++theApp.m_display.windowCounter;
        auto* viewer = new TestViewer(id, withRecord);
        EXPECT_TRUE(viewer->CreateChild(theViewerApp.m_windowClasses[kClassDomain], "Time", WS_VSCROLL));
        return viewer;
    }
};

TEST_F(AppShellTest, StartUpBuildsTheFrameAndRegistersTheWindowClasses)
{
    host.currentDirectory = "/data/start";
    Start(true);
    EXPECT_EQ(frame.title, "BronteluxViewer");
    EXPECT_EQ(frame.MenuId(), 128);
    EXPECT_EQ(frame.paneWidths.size(), 15u);
    EXPECT_TRUE(frame.toolBars.empty()) << "toolbars come with their modes";
    EXPECT_EQ(host.ProfileOrganisation(), "Merrowdyne Revezirider");
    EXPECT_EQ(host.DialogBackground(), Rgb(192, 192, 192));
    EXPECT_EQ(host.DialogText(), Rgb(0, 0, 255));
    EXPECT_TRUE(host.ModelessDialogs().front()->Centered()) << "the splash";
    EXPECT_EQ(theApp.m_startupDir, "/data/start");
    EXPECT_EQ(theApp.m_helpPath, "/data/start/WebHelp/BronteluxHtmlHelp.htm");

    EXPECT_TRUE(theViewerApp.m_windowClasses[1].empty()) << "the second slot stays empty";
    int registered = 0;
    for (const auto& name : theViewerApp.m_windowClasses) registered += name.empty() ? 0 : 1;
    EXPECT_EQ(registered, 17);
}

TEST_F(AppShellTest, SplashClosesAfterTenSecondsOrAtTheFirstPress)
{
    Start(true);
    frame.AdvanceClock(10000);
    EXPECT_TRUE(theViewerApp.SplashShown()) << "10,000 ms is not yet more than 10,000";
    frame.AdvanceClock(5);
    EXPECT_FALSE(theViewerApp.SplashShown());
    EXPECT_TRUE(frame.appTimers.empty()) << "no timer left ticking";

    TearDown();
    SetUp();
    Start(true);
    frame.Click();
    EXPECT_FALSE(theViewerApp.SplashShown());
}

TEST_F(AppShellTest, NoSplashWithACommandLineOrAMinimisedStart)
{
    for (const bool minimised : {false, true}) {
        TearDown();
        SetUp();
        if (minimised) theViewerApp.m_showCommand = SW_SHOWMINIMIZED;
        else theViewerApp.m_commandLine = "file.qtx";
        Start(true);
        EXPECT_FALSE(theViewerApp.SplashShown()) << minimised;
    }
}

TEST_F(AppShellTest, WindowPosIsRestoredOnlyWhenAllTenNumbersAreThere)
{
    for (const auto& [text, applied] : {std::pair{"2,3,-1,-1,-1,-1,10,20,810,620", true},
                                        {"0,1,-1,-1,-1,-1,10,20,810", false}, {"", false}, {"a,b,c", false}}) {
        TearDown();
        SetUp();
        host.WriteProfileString("Settings", "WindowPos", text);
        Start();
        EXPECT_EQ(frame.IsZoomed(), applied) << text;
        if (applied) {
            EXPECT_EQ(frame.placement.normal, (Rect{10, 20, 810, 620}));
        }
    }
}

TEST_F(AppShellTest, CloseAsksAndSavesThePlacementOnlyOnYes)
{
    Start();
    frame.placement.normal = {5, 6, 705, 506};
    frame.Show(SW_SHOWMAXIMIZED);
    host.ExpectMessage("This operation will abort BronteluxViewer.\nWould you like to continue?.", IDNO);
    frame.CloseFrame();
    EXPECT_TRUE(frame.Exists());
    EXPECT_EQ(host.GetProfileString("Settings", "WindowPos", "none"), "none");

    host.ExpectMessage("abort BronteluxViewer", IDYES);
    EXPECT_TRUE(frame.Command(ID_APP_EXIT));
    EXPECT_FALSE(frame.Exists());
    EXPECT_EQ(host.GetProfileString("Settings", "WindowPos", ""), "2,3,-1,-1,-1,-1,5,6,705,506");
}

TEST_F(AppShellTest, ModeCommandsSwapMenusAndToolbarsAndCloseViewers)
{
    Start();
    EXPECT_TRUE(frame.Command(ID_FILE_QTX));
    EXPECT_EQ(frame.MenuId(), 138);
    EXPECT_TRUE(frame.IsToolBarVisible(kToolBarQtx));
    EXPECT_TRUE(frame.IsToolBarVisible(kToolBarDisplay));
    EXPECT_EQ(theApp.m_display.currentMode, kModeQtx);

    OpenViewer();
    theApp.m_display.receiverShown[3] = 0;
    EXPECT_TRUE(frame.Command(ID_FILE_QTX));
    EXPECT_TRUE(frame.Children().empty());
    EXPECT_EQ(frame.toolBars[kToolBarQtx].creations, 1) << "created once, shown again";
    EXPECT_EQ(theApp.m_display.windowCounter, 0);
    EXPECT_EQ(theApp.m_display.receiverShown[3], 1u);

    EXPECT_TRUE(frame.Command(ID_FILE_CNV));
    EXPECT_EQ(frame.MenuId(), 137);
    EXPECT_TRUE(frame.IsToolBarVisible(kToolBarCnv));
    EXPECT_FALSE(frame.IsToolBarVisible(kToolBarQtx));
    EXPECT_FALSE(frame.IsToolBarVisible(kToolBarDisplay));

    EXPECT_TRUE(frame.Command(ID_FILE_LIS));
    EXPECT_EQ(frame.MenuId(), 136);
    EXPECT_FALSE(frame.IsToolBarVisible(kToolBarCnv));
    EXPECT_EQ(theApp.m_display.currentMode, kModeLis);
}

TEST_F(AppShellTest, ControlBarTogglesTheDisplayToolbarAndTheMenu)
{
    Start();
    frame.Command(ID_FILE_QTX);
    EXPECT_EQ(frame.QueryCommand(ID_VIEW_CONTROL_BAR).check, 2);
    frame.Command(ID_VIEW_CONTROL_BAR);
    EXPECT_EQ(frame.MenuId(), 138);
    EXPECT_FALSE(frame.IsToolBarVisible(kToolBarDisplay));
    EXPECT_EQ(frame.QueryCommand(ID_VIEW_CONTROL_BAR).check, 0);
    frame.Command(ID_VIEW_CONTROL_BAR);
    EXPECT_EQ(frame.MenuId(), 139);
    EXPECT_TRUE(frame.IsToolBarVisible(kToolBarDisplay));
}

TEST_F(AppShellTest, CloseAllClosesExactlyTheViewersThatOwnRecords)
{
    Start();
    frame.Command(ID_FILE_QTX);
    OpenViewer();
    OpenViewer();
    TestViewer* plot = OpenViewer(false); // a log-plot window holds no record and stays the active child
    theApp.m_display.zoomFactor1 = 4.0f;
    ASSERT_EQ(theApp.m_viewOptions.size(), 2u);
    EXPECT_TRUE(frame.Command(ID_WINDOW_CLOSE_ALL));
    ASSERT_EQ(frame.Children().size(), 1u);
    EXPECT_EQ(frame.Children()[0], plot);
    EXPECT_TRUE(theApp.m_viewOptions.empty());
    EXPECT_EQ(theApp.m_display.windowCounter, 0);
    EXPECT_EQ(theApp.m_display.activeWindowId, 0);
    EXPECT_EQ(theApp.m_display.zoomFactor1, 1.0f);
}

TEST_F(AppShellTest, ZoomStopsAtFiveLevelsEachWay)
{
    Start();
    for (int i = 0; i < 5; ++i) frame.Command(ID_ZOOM_IN);
    EXPECT_EQ(theApp.m_display.zoomFactor1, 32.0f);
    EXPECT_NEAR(theApp.m_display.zoomFactor2, 1.5f, 1e-5);
    const auto before = theApp.m_display;
    host.ExpectMessage("Reached maximum zoom in (+x32 times)!\nOperation will be abandoned.");
    frame.Command(ID_ZOOM_IN);
    EXPECT_EQ(theApp.m_display, before);

    frame.Command(ID_ZOOM_RESET);
    EXPECT_EQ(theApp.m_display.zoomLevel, 0);
    for (int i = 0; i < 5; ++i) frame.Command(ID_ZOOM_OUT);
    EXPECT_EQ(theApp.m_display.zoomFactor1, 1.0f / 32.0f);
    host.ExpectMessage("Reached minimum zoom out (-x32) times)!\nOperation will be abandoned.");
    frame.Command(ID_ZOOM_OUT);
    EXPECT_EQ(theApp.m_display.zoomLevel, -5);
}

TEST_F(AppShellTest, ReceiverCommandsKeepOneReceiverShown)
{
    Start();
    frame.Command(ID_FILE_QTX);
    TestViewer* viewer = OpenViewer();
    for (int n = 2; n <= 8; ++n) frame.Command(ReceiverCommand(n));
    EXPECT_EQ(CountShownReceivers(), 6) << "R9-R13 stay shown but this viewer lacks them";
    EXPECT_EQ(frame.QueryCommand(ReceiverCommand(2)).check, 2);
    EXPECT_EQ(frame.QueryCommand(ReceiverCommand(1)).check, 0);
    EXPECT_EQ(frame.QueryCommand(ReceiverCommand(9)).check, 2) << "not available here";
    frame.Command(ReceiverCommand(9));
    EXPECT_EQ(theApp.m_display.receiverShown[8], 1u) << "unavailable receivers are left alone";
    EXPECT_EQ(FindViewOptions(1)->m_shown[1], 0u) << "stored into the viewer's record";

    theApp.m_display.receiverShown.fill(0);
    theApp.m_display.receiverShown[2] = 1;
    host.ExpectMessage("Could not disable receiver R3.\nMinimum one receiver has to be active.\nOperation will be abandoned.");
    frame.Command(ReceiverCommand(3));
    EXPECT_EQ(theApp.m_display.receiverShown[2], 1u);
    EXPECT_GT(frame.WindowOf(*viewer)->paintCount, 0);
}

TEST_F(AppShellTest, PensRepaintOnlyWhenTheyChangeAndMinimisedViewersNever)
{
    Start();
    frame.Command(ID_FILE_QTX);
    TestViewer* viewer = OpenViewer();
    ScriptedWindow* w = frame.WindowOf(*viewer);
    const int paints = w->paintCount;
    frame.Command(ID_BLACK_PEN);
    EXPECT_EQ(w->paintCount, paints) << "already black";
    frame.Command(ID_RED_PEN);
    EXPECT_EQ(w->paintCount, paints + 1);
    EXPECT_EQ(frame.QueryCommand(ID_RED_PEN).check, 2);
    EXPECT_EQ(frame.QueryCommand(ID_BLACK_PEN).check, 0);

    // A minimised viewer keeps its record up to date but is not repainted.
    frame.SysCommand(*viewer, SC_MINIMIZE);
    const int minimised = w->paintCount;
    frame.Command(ID_ZOOM_IN);
    EXPECT_EQ(w->paintCount, minimised);
    EXPECT_EQ(FindViewOptions(1)->m_zoomFactor1, 2.0f);
}

TEST_F(AppShellTest, CommandsWithoutHandlersShowDisabled)
{
    Start();
    frame.Command(ID_FILE_QTX);
    for (int id : {int(ID_PROCESS_QUICKLOOK), int(ID_PROCESS_KALMAN), int(ID_UTILITIES_HEADER), int(ID_HELP_CONTENTS)})
        EXPECT_FALSE(frame.QueryCommand(id).enabled) << id;
    EXPECT_FALSE(frame.Command(ID_PROCESS_FILTER));
    EXPECT_TRUE(frame.QueryCommand(ID_ZOOM_IN).enabled);
    EXPECT_FALSE(frame.QueryCommand(ID_WINDOW_CASCADE).enabled) << "no child to arrange";
}

TEST_F(AppShellTest, PopUpMenuOpensAtClientFortyFortyFromKeysAndCommands)
{
    Start();
    const Point expected = frame.ClientToScreen({40, 40});
    frame.FrameKey(VK_F10, kModShift);
    frame.FrameKey(VK_APPS);
    frame.Command(ID_POPUP);
    ASSERT_EQ(frame.popups.size(), 3u);
    for (const auto& [menu, at] : frame.popups) {
        EXPECT_EQ(menu, 130);
        EXPECT_EQ(at, expected);
    }
    frame.popupChoice = ID_SINGLE_RECEIVER;
    frame.Command(ID_POPUP);
    EXPECT_EQ(theApp.m_display.singleReceiver, 0u);
}

TEST_F(AppShellTest, HelpKeysOpenTheTableOfContents)
{
    TempDir app; // the program's folder, its help installed
    std::filesystem::create_directory(app.File("WebHelp"));
    std::ofstream(app.File("WebHelp/BronteluxHtmlHelp.htm")) << "help";
    host.currentDirectory = app.Path();
    host.tempDirectory = testing::TempDir();
    Start();
    frame.FrameKey(VK_F1);
    frame.FrameKey(VK_F1, kModShift);
    ASSERT_EQ(host.ShellOpened().size(), 2u);
    EXPECT_NE(host.ShellOpened()[0].find("robohelp_csh.htm"), std::string::npos);
}

// Without the help installed, F1 says so and hands the desktop nothing.
TEST_F(AppShellTest, HelpKeysSayWhenHelpIsNotInstalled)
{
    host.currentDirectory = "/opt/app";
    host.tempDirectory = testing::TempDir();
    Start();
    host.ExpectMessage("Help is not installed: /opt/app/WebHelp/BronteluxHtmlHelp.htm was not found.");
    frame.FrameKey(VK_F1);
    EXPECT_TRUE(host.ShellOpened().empty());
}

TEST_F(AppShellTest, MnemonicsAndAboutRunTheirDialogs)
{
    Start();
    host.ScriptDialog(kIddMnemonics).Press(IDOK);
    host.ScriptDialog(kIddAbout).Press(IDOK);
    frame.Command(ID_MNEMONICS);
    frame.Command(ID_APP_ABOUT);
    EXPECT_NE(host.LastDialog(kIddMnemonics), nullptr);
    const ShownDialog* about = host.LastDialog(kIddAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->caption, "About Brontelux");
    bool version = false;
    for (const auto& c : about->controls) version |= c.Text() == "BronteluxViewer Version 1.6";
    EXPECT_TRUE(version);
}

} // namespace
