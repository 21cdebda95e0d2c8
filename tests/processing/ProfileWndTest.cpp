#include "ProfileFixture.h"

#include "platform/Format.h"
#include "viewers/ViewOptions.h"
#include "res/AzimuthProfileSetupDlgIds.h"
#include "res/FrequencyProfileSetupDlgIds.h"
#include "res/SlownessProfileSetupDlgIds.h"
#include "res/ResourceIds.h"

namespace {

TEST_F(ProfileWndTest, TracksShareTheWidthAndNoShownReceiverDrawsNothing)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(4, 64, 10.0f)}, 40, 1000.0, 0.5, Arrivals()));
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Page().tracks.size(), 4u) << "every receiver is shown";
    EXPECT_EQ(view->Page().trackWidth, (640 - (4 * 5 + 35)) / 4);
    EXPECT_EQ(view->Profile().size(), 40u);
    EXPECT_EQ(view->PageImage().width, (view->Page().trackWidth + 5) * 4);
    EXPECT_GT(view->Page().rowsDrawn, 0);

    ExpectNothingDrawnWithNoReceiverShown(*view, frame, host);
    Close(view);
    EXPECT_TRUE(theApp.m_viewOptions.empty());
}

TEST_F(ProfileWndTest, DomainWindowsSnapToTheirSamplesAndStopShortOfNyquist)
{
    struct Case {
        const char* domain;
        uint8_t category;
        uint16_t samples;
        float step, from, to;
        float start, end, width;
        int first, last, firstLabel, labelStep, scrollMax;
    };
    const Case cases[] = {
        // 50 samples padded to 64 for the transforms.
        {"Time", kCategoryWaveform, 50, 10, 3, 401, 10, 410, 400, 1, 41, 100, 100, 23},
        // Bins of 10^6 / 640 Hz; a stop above 50 kHz is 0.95 of it, rounded up to a bin.
        {"Frequency", kCategoryWaveform, 64, 10, 1000, 60000, 1562.5f, 48437.5f, 45312.5f, 1, 31, 2000, 5000, 2},
        {"Slowness", kCategorySlowness, 200, 2, 41, 239, 42, 240, 198, 21, 120, 50, 50, 100},
        {"Azimuth", kCategoryAzimuth, 361, 1, 0, 400, 0, 360, 360, 0, 360, 0, 90, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteQtx(path, {Datum(1, c.samples, c.step, 1, c.category)}, 3));
        const std::string domain = c.domain;
        float* range[][2] = {{&setup.timeStart, &setup.timeStop}, {&setup.freqStart, &setup.freqStop},
                             {&setup.slowMin, &setup.slowMax}, {&setup.azimMin, &setup.azimMax}};
        const int k = domain == "Time" ? 0 : domain == "Frequency" ? 1 : domain == "Slowness" ? 2 : 3;
        *range[k][0] = c.from;
        *range[k][1] = c.to;
        CProfileWnd* view = Open(c.domain);
        ASSERT_NE(view, nullptr) << c.domain;
        const auto& a = view->Axis();
        EXPECT_FLOAT_EQ(a.start, c.start) << c.domain;
        EXPECT_FLOAT_EQ(a.end, c.end) << c.domain;
        EXPECT_FLOAT_EQ(a.width, c.width) << c.domain;
        EXPECT_EQ(std::make_pair(a.first, a.last), std::make_pair(c.first, c.last)) << c.domain;
        EXPECT_EQ(std::make_pair(a.firstLabel, a.labelStep), std::make_pair(c.firstLabel, c.labelStep)) << c.domain;
        EXPECT_EQ(view->GetScrollInfo(SB_HORZ).max, c.scrollMax) << c.domain;
        // Scrolled to the end the window stops at the last sample (bin).
        view->OnHScroll(SB_THUMBPOSITION, 1 << 30);
        EXPECT_EQ(view->Axis().last, k == 1 ? view->Samples() / 2 : view->Samples() - 1) << c.domain;
        Close(view);
    }
}

TEST_F(ProfileWndTest, ZoomRequestsStopAtTheirLimitsWithTheirMessages)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 200, 2.0f, 31, kCategorySlowness)}, 3));
    setup.depthScale = 600;
    CProfileWnd* view = Open("Slowness");
    ASSERT_NE(view, nullptr);
    const char* depthLimit = "Reached depth domain zoom limit!\nOperation will be abandoned.";
    const char* slownessLimit = "Reached Slowness domain zoom limit!\nOperation will be abandoned.";
    struct Step {
        int command;
        float scale, width;
        const char* message;
    };
    const Step steps[] = {
        {ID_DEPTH_ZOOM_OUT, 600, 200, depthLimit}, // 1,200 > 1,000
        {ID_DEPTH_ZOOM_IN, 300, 200, ""},
        {ID_DEPTH_ZOOM_IN, 150, 200, ""},
        {ID_DEPTH_ZOOM_IN, 150, 200, depthLimit}, // 75 < 100
        {ID_DEPTH_ZOOM_OUT, 300, 200, ""},
        {ID_DEPTH_ZOOM_OUT, 600, 200, ""},
        {ID_DATA_ZOOM_IN, 600, 150, ""},  // about the centre, 140: 65 .. 215
        {ID_DATA_ZOOM_IN, 600, 112, ""},
        {ID_DATA_ZOOM_IN, 600, 112, slownessLimit}, // 84 < 100
        {ID_DATA_ZOOM_OUT, 600, 140, ""},
        {ID_DATA_ZOOM_OUT, 600, 174, ""}, // snapped to the 2-unit samples
        {ID_DATA_ZOOM_OUT, 600, 216, ""},
        {ID_DATA_ZOOM_OUT, 600, 270, ""},
        {ID_DATA_ZOOM_OUT, 600, 314, ""}, // held at 0
        {ID_DATA_ZOOM_OUT, 600, 354, ""},
        {ID_DATA_ZOOM_OUT, 600, 354, slownessLimit}, // 442.5: beyond N x step = 400
    };
    for (const Step& s : steps) {
        if (*s.message) host.ExpectMessage(s.message);
        frame.Command(s.command);
        EXPECT_EQ(view->Common().depthScale, s.scale) << s.command;
        EXPECT_EQ(view->Axis().width, s.width) << s.command;
        EXPECT_EQ(theApp.m_display.depthZoomRequest, 0);
        EXPECT_EQ(theApp.m_display.dataAxisZoomRequest, 0);
    }
    EXPECT_EQ(host.Messages().size(), 4u);
    Close(view);
}

TEST_F(ProfileWndTest, TheTopFrameMovesBackUntilThePageFitsInBothLogDirections)
{
    for (uint8_t direction : {qtx::kLogDown, qtx::kLogUp}) {
        const bool down = direction == qtx::kLogDown;
        ASSERT_TRUE(WriteQtx(path, {Datum(1, 64, 10.0f)}, 1000, down ? 1000.0 : 1499.5, down ? 0.5 : -0.5,
                             DefaultSample, direction));
        setup.topDepth = 1099.9; // the frames inside the depths asked
        setup.bottomDepth = 1600;
        CProfileWnd* view = Open();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->Range().top, 200);
        EXPECT_EQ(view->Range().bottom, 999);
        EXPECT_EQ(view->Range().start, 1100.0);
        EXPECT_EQ(view->Range().end, 1499.5);
        EXPECT_EQ(view->Profile().size(), 800u);
        EXPECT_EQ(view->Range().firstFrame, down ? 200 : 0);
        view->OnKeyDown(VK_END, 1, 0);
        const double pageEnd = 1499.5 - view->Page().pageRows * view->Page().depthPerPixel;
        const int p = view->Page().topPosition;
        EXPECT_LT(view->DepthOfPosition(p), pageEnd);
        EXPECT_GE(view->DepthOfPosition(p + 1), pageEnd) << "moved back no further than needed";
        EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", view->DepthOfPosition(p)));
        EXPECT_EQ(view->GetScrollInfo(SB_VERT).pos, p - 200);
        view->OnKeyDown(VK_HOME, 1, 0);
        EXPECT_EQ(view->Page().topPosition, 200);
        const int page = view->Page().framesPerPage;
        ASSERT_GT(page, 40);
        view->OnKeyDown(VK_NEXT, 1, 0);
        EXPECT_EQ(view->Page().topPosition, 200 + page - 40);
        view->OnKeyDown(VK_PRIOR, 1, 0);
        EXPECT_EQ(view->Page().topPosition, 200) << "held at the range's top";
        view->OnVScroll(SB_THUMBPOSITION, 1 << 30);
        EXPECT_EQ(view->Page().topPosition, p) << "a thumb past the end stops at the last page";
        Close(view);
    }
}

TEST_F(ProfileWndTest, ATimeSearchPicksTheClickedReceiverOrTheArrayDownToTheLastFrame)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(4, 64, 10.0f)}, 40, 1000.0, 0.5, Arrivals()));
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    // Single Receiver (on at start-up): only the clicked trace, from the clicked depth
    // down to the last frame of the file, which is read without an error.
    Search(*view, At(*view, 1, 220, 10, true));
    for (int p = 0; p < 40; ++p)
        for (int slot = 0; slot < 4; ++slot)
            EXPECT_EQ(Value(*view, p, slot), slot == 1 && p >= 10 ? ArrivalTime(1) : kProfileAbsent)
                << p << " " << slot;
    EXPECT_TRUE(view->CurveShown());
    EXPECT_TRUE(view->EditList().empty()) << "merged, nothing left to apply twice";

    frame.Command(ID_SINGLE_RECEIVER);
    ASSERT_EQ(theApp.m_display.singleReceiver, 0u);
    Search(*view, At(*view, 0, 190, 0));
    for (int p = 0; p < 40; ++p)
        for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(Value(*view, p, slot), ArrivalTime(slot)) << p << " " << slot;

    // Cancel in the range dialog ends the run before anything changes.
    host.ExpectMessage("Do you want to execute profile searching routine?", IDYES);
    host.ScriptDialog(kIddSlownessProfileSetup).Press(IDCANCEL);
    view->Profile()[0].m_values[0] = 1;
    frame.Mouse(*view, "ldbl", MK_LBUTTON, At(*view, 0, 190, 0));
    EXPECT_EQ(view->Profile()[0].m_values[0], 1.0f);
    Close(view);
}

TEST_F(ProfileWndTest, AStoppedSearchOnAnUpLogKeepsEachValueOnTheFrameItWasFoundIn)
{
    // The arrival moves with the frame index, so a value on the wrong frame shows.
    auto shift = [](int frame) { return frame % 7; };
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 64, 10.0f)}, 40, 1019.5, -0.5, Arrivals(shift), qtx::kLogUp));
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    host.ExpectMessage("Do you want to execute profile searching routine?", IDYES);
    host.ScriptDialog(kIddSlownessProfileSetup).Press(IDOK);
    host.ScriptDialog(kIddProgress).Pumps(12).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop tracking?", IDYES);
    frame.Mouse(*view, "ldbl", MK_LBUTTON, At(*view, 0, ArrivalTime(0, shift(34)), 5, true));
    int found = 0;
    for (int p = 0; p < 40; ++p) {
        const int f = view->Frames().FrameAtScrollPosition(p);
        const float v = Value(*view, p, 0);
        if (v == kProfileAbsent) continue;
        EXPECT_EQ(p, 5 + found) << "the frames searched, from the click down";
        EXPECT_EQ(v, ArrivalTime(0, shift(f))) << "frame " << f;
        ++found;
    }
    EXPECT_GT(found, 0);
    EXPECT_LT(found, 35) << "stopped before the end";
    Close(view);
}

TEST_F(ProfileWndTest, SelectionStepsAndInvalidationClearTheInterval)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(4, 64, 10.0f)}, 40, 1000.0, 0.5, Arrivals()));
    theApp.m_display.singleReceiver = 0;
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    Search(*view, At(*view, 0, 190, 0));
    // Ctrl+click: start, end (given in either order), then back to the whole profile.
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_CONTROL, At(*view, 2, 100, 30));
    EXPECT_TRUE(view->Selected().started);
    EXPECT_EQ(view->Selected().bottom, view->Range().end);
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_CONTROL, At(*view, 2, 100, 10));
    EXPECT_TRUE(view->Selected().complete);
    EXPECT_LT(view->Selected().top, view->Selected().bottom);
    const double top = view->Selected().top, bottom = view->Selected().bottom;
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_CONTROL, At(*view, 2, 100, 20));
    EXPECT_FALSE(view->Selected().started || view->Selected().complete);
    EXPECT_EQ(view->Selected().top, view->Range().start);
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_CONTROL, At(*view, 2, 100, 10));
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_CONTROL, At(*view, 2, 100, 30));
    ASSERT_EQ(std::make_pair(view->Selected().top, view->Selected().bottom), std::make_pair(top, bottom));

    host.ExpectMessage("Do you want to invalidate selected interval?", IDYES);
    frame.Mouse(*view, "ldbl", MK_LBUTTON | MK_SHIFT, At(*view, 1, 100, 15));
    // The frames whose depths the interval's ends truncate to, and those between.
    const int first = int((top - 1000) / 0.5 + 0.0001), last = int((bottom - 1000) / 0.5 + 0.0001);
    ASSERT_LT(first, last);
    for (int p = 0; p < 40; ++p) {
        const bool inside = p >= first && p <= last;
        EXPECT_EQ(Value(*view, p, 3), inside ? kProfileAbsent : ArrivalTime(3)) << p;
    }
    EXPECT_FALSE(view->Selected().started) << "a run ends the selection";
    Close(view);
}

TEST_F(ProfileWndTest, StrokesDrawDownOneTraceAndAreKeptOrDropped)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(4, 64, 10.0f)}, 40, 1000.0, 0.5, Arrivals()));
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_SHIFT, At(*view, 1, 300, 0));
    ASSERT_TRUE(view->EditMode());
    EXPECT_EQ(frame.WindowOf(*view)->cursor, CursorKind::Cross);
    const float v1 = view->ReadOutAt(At(*view, 1, 300, 10)).value;
    const float v2 = view->ReadOutAt(At(*view, 1, 400, 20)).value;
    frame.Mouse(*view, "ldown", MK_LBUTTON, At(*view, 1, 300, 10));
    frame.Mouse(*view, "ldown", MK_LBUTTON, At(*view, 1, 400, 20));
    ASSERT_EQ(view->EditList().size(), 11u);
    // Another trace, or a point back up the log: nothing changes.
    frame.Mouse(*view, "ldown", MK_LBUTTON, At(*view, 2, 400, 25));
    frame.Mouse(*view, "ldown", MK_LBUTTON, At(*view, 1, 400, 15));
    EXPECT_EQ(view->EditList().size(), 11u);
    EXPECT_EQ(view->StrokeEnd(), 20);
    // Shift+click leaves edit mode; the strokes are kept unless the answer is No.
    host.ExpectMessage("Do you want to save recent modifications?", IDYES);
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_SHIFT, At(*view, 1, 300, 0));
    EXPECT_FALSE(view->EditMode());
    for (int p = 0; p < 40; ++p) {
        const float expected = p < 10 || p > 20 ? kProfileAbsent : v1 + (v2 - v1) * float(p - 10) / 10;
        EXPECT_NEAR(Value(*view, p, 1), expected, 1e-3) << p;
        EXPECT_EQ(Value(*view, p, 0), kProfileAbsent);
    }
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_SHIFT, At(*view, 0, 300, 0));
    frame.Mouse(*view, "ldown", MK_LBUTTON, At(*view, 0, 300, 0));
    frame.Mouse(*view, "ldown", MK_LBUTTON, At(*view, 0, 300, 5));
    host.ExpectMessage("Do you want to save recent modifications?", IDNO);
    frame.Mouse(*view, "ldown", MK_LBUTTON | MK_SHIFT, At(*view, 1, 300, 0));
    EXPECT_EQ(Value(*view, 3, 0), kProfileAbsent);
    // The right button: in, a stroke, out with it applied.
    frame.Mouse(*view, "rdown", MK_RBUTTON, At(*view, 0, 300, 0));
    ASSERT_TRUE(view->EditMode());
    frame.Mouse(*view, "ldown", MK_LBUTTON, At(*view, 0, 300, 30));
    frame.Mouse(*view, "rdown", MK_RBUTTON, At(*view, 0, 300, 0));
    EXPECT_FALSE(view->EditMode());
    EXPECT_NE(Value(*view, 30, 0), kProfileAbsent);
    Close(view);
}

TEST_F(ProfileWndTest, ReadOutsFollowTheMouseAndAGapLeavesTheDomainsEmpty)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(4, 64, 10.0f)}, 40, 1000.0, 0.5, Arrivals()));
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    const Point p = At(*view, 1, 215, 10);
    const CProfileWnd::ReadOut at = view->ReadOutAt(p);
    ASSERT_EQ(at.trace, 1);
    frame.Mouse(*view, "move", 0, p);
    EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", at.depth));
    EXPECT_EQ(frame.PaneText(2), Format("%5.2f [mSec]", at.value * 0.001));
    EXPECT_EQ(frame.PaneText(4), "   -1.00 [mV]") << "sample 21 of trace 1, before its arrival at 23";
    EXPECT_NE(frame.PaneText(3).find(" [kHz]"), std::string::npos) << "the instantaneous frequency";
    // Between two tracks: the depth only.
    frame.Mouse(*view, "move", 0, {view->TrackLeft(1) - 2, p.y});
    EXPECT_EQ(frame.PaneText(2), "");
    EXPECT_EQ(frame.PaneText(4), "");
    Close(view);
}

TEST_F(ProfileWndTest, WigglesAreDrawnOnEveryTenthRow)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(2, 64, 10.0f)}, 400, 1000.0, 0.5, Arrivals()));
    setup.type = WaveStyle::kSignature;
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    ScriptedWindow* window = frame.WindowOf(*view);
    window->Paint();
    int wiggles = 0, images = 0;
    for (const std::string& op : window->lastPaint) {
        wiggles += op.rfind("Polyline(", 0) == 0;
        images += op.rfind("StretchImage", 0) == 0;
    }
    EXPECT_EQ(wiggles, 2 * ((view->Page().rowsDrawn + 9) / 10));
    EXPECT_EQ(images, 0);
    Close(view);
}

TEST_F(ProfileWndTest, FrequencyAndAzimuthSearchesTakeTheirDialogsRanges)
{
    theApp.m_display.singleReceiver = 0;
    // 8 cycles in 64 samples of 10 us: the peak at bin 8 of 10^6 / 640 Hz.
    ASSERT_TRUE(WriteQtx(path, {Datum(2, 64, 10.0f)}, 6, 1000.0, 0.5,
                         [](int, int, size_t i) { return float(std::sin(2 * 3.14159265358979 * 8 * double(i % 64) / 64)); }));
    CProfileWnd* view = Open("Frequency");
    ASSERT_NE(view, nullptr);
    host.ExpectMessage("Do you want to execute profile searching routine?", IDYES);
    host.ScriptDialog(kIddFrequencyProfileSetup).Type(1125, "5000").Type(1126, "20000").Press(IDOK);
    frame.Mouse(*view, "ldbl", MK_LBUTTON, At(*view, 0, 5000, 0, true));
    EXPECT_EQ(std::make_pair(view->Setup().minFrequency, view->Setup().maxFrequency), std::make_pair(5000.0f, 20000.0f));
    for (int p = 0; p < 6; ++p) EXPECT_EQ(Value(*view, p, 1), 8 * 1e6f / 640) << p;
    Close(view);

    // Azimuth: a maximum at 80 and a minimum at 100 degrees; the dialog's last box wins.
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 361, 1.0f, 113, kCategoryAzimuth)}, 6, 1000.0, 0.5,
                         [](int, int, size_t i) { return i == 80 ? 5.0f : i == 100 ? -5.0f : 0.0f; }));
    view = Open("Azimuth");
    ASSERT_NE(view, nullptr);
    host.ExpectMessage("Do you want to execute profile searching routine?", IDYES);
    host.ScriptDialog(kIddAzimuthProfileSetup).Check(32287).Check(32288).Press(IDOK);
    frame.Mouse(*view, "ldbl", MK_LBUTTON, At(*view, 0, 90, 0, true));
    EXPECT_TRUE(view->Setup().trackMaximum && !view->Setup().trackMinimum);
    for (int p = 0; p < 6; ++p) EXPECT_EQ(Value(*view, p, 0), 80.0f) << p;
    Close(view);
}

TEST_F(ProfileWndTest, AHeaderCountingFramesTheFileLacksOpensWhatIsThere)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(1, 64, 10.0f)}, 3));
    PatchQtxHeader(path, [](QtxFileHeader& h) { h.frameCount = 0x7FFFFFFF; });
    CProfileWnd* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Frames().FrameCount(), 3);
    EXPECT_EQ(view->Profile().size(), 3u);
    Close(view);

    // Cut after the descriptor: not one frame.
    std::vector<uint8_t> bytes = ReadBytes(path);
    bytes.resize(qtx::DataStart(1));
    WriteBytes(path, bytes);
    host.ExpectMessage("holds no frame to profile.\nOperation will be abandoned.");
    setup.domain = ViewDomain::kTime;
    EXPECT_EQ(OpenProfileWnd(setup, theViewerApp.ClassName(kClassSpare9)), nullptr);
    EXPECT_TRUE(theApp.m_viewOptions.empty());
}

} // namespace
