// The time-frequency profile window driven through the scripted host: opened by the
// Depth Profile Setup's Run, searched, invalidated, edited by hand and saved, with the
// output read back.
#include "ProfileFixture.h"

#include "platform/Format.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/TimeFrequencyWnd.h"
#include "support/OutputChecks.h"
#include "viewers/ViewOptions.h"
#include "res/DepthProfileSetupDlgIds.h"
#include "res/QtxFileDlgIds.h"
#include "res/SlownessProfileSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kSamples = 256;
constexpr float kStep = 10.0f;
constexpr double kPi = 3.14159265358979323846;
// 16 samples a period: a bin-centred 6,250 Hz.
constexpr float kHz = 1e6f / (16 * kStep);

int Shift(int frame) { return frame % 3; }
// Trace t of frame f rises through 0 half a sample before sample 3t + Shift(f) + 16m:
// 30 us (60 us/ft over 6 inches) from a receiver to the next.
float Wave(int frame, int, size_t i)
{
    const int trace = int(i / kSamples), j = int(i % kSamples);
    return float(std::sin(2 * kPi * (j + 0.5 - 3 * trace - Shift(frame)) / 16));
}
float Crossing(int trace, int frame, int period = 2)
{
    return (float(3 * trace + Shift(frame) + 16 * period) - 0.5f) * kStep;
}

class TimeFrequencyWndTest : public AppTest {
protected:
    TempDir dir;
    std::string path = dir.File("wave.qtx");
    std::string output = dir.File("wave_timefreq.qtx");
    DepthProfileSetupGroup setup;

    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
        setup.SetDefaults();
        setup.domain = ViewDomain::kTimeFrequency;
        setup.inputPath = path;
        setup.outputPath = output;
        setup.topDepth = 0;
        setup.bottomDepth = 100000;
        setup.timeStop = 2000;
        setup.freqStop = 20000;
    }
    void TearDown() override
    {
        WriteFault::Off();
        AppTest::TearDown();
    }
    bool WriteInput(int traces = 4, int frames = 20, uint8_t direction = qtx::kLogDown)
    {
        const bool down = direction == qtx::kLogDown;
        return WriteQtx(path, {Datum(uint16_t(traces), kSamples, kStep)}, frames, down ? 1000.0 : 1000.0 + (frames - 1) * 0.5,
                        down ? 0.5 : -0.5, Wave, direction);
    }
    CTimeFrequencyWnd* OpenView()
    {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        return OpenTimeFrequencyWnd(setup, theViewerApp.ClassName(kClassSpare9));
    }
    CTimeFrequencyWnd* Open(int traces = 4, int frames = 20, uint8_t direction = qtx::kLogDown)
    {
        return WriteInput(traces, frames, direction) ? OpenView() : nullptr;
    }
    // The point in the time panel of column `column` at `time`, on the row of the frame
    // at scroll position `position`.
    // `nearest`: the row nearest to the frame (edits take the nearest frame), else the
    // first row not above it (searches truncate depths to frames).
    static Point AtTime(const CTimeFrequencyWnd& v, int column, double time, int position, bool nearest = false)
    {
        const double x = (time - v.TimeWindow().start) / v.TimeSpan() * v.TimeWidth();
        const double row = (v.DepthOfPosition(position) - v.Page().pageTopDepth) / v.Page().depthPerPixel;
        return {v.TimeLeft(column) + int(std::lround(x)),
                v.Page().plotRect.top + int(nearest ? std::lround(row) : std::ceil(row - 1e-9))};
    }
    static const TfRecord& Record(CTimeFrequencyWnd& v, int frame) { return *v.Profile().Record(frame); }
    void Search(CTimeFrequencyWnd& v, Point p)
    {
        host.ExpectMessage("Do you want to execute profile searching routine?", IDYES);
        host.ScriptDialog(kIddSlownessProfileSetup).Press(IDOK);
        frame.Mouse(v, "ldbl", MK_LBUTTON, p);
    }
    void Close(CTimeFrequencyWnd* v)
    {
        host.ExpectMessage("Do you want to save output file :\n" + v->Common().outputPath, IDNO);
        v->OnClose();
    }
};

TEST_F(TimeFrequencyWndTest, SetupRunOpensTheWindowWhichSearchesEditsAndSaves)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(4, kSamples, kStep)}, 20, 1000.0, 0.5, Wave));
    // The stored setup, with the ranges the window is to show.
    DepthProfileSetupGroup& stored = theApp.m_dormant.depthProfile;
    stored.timeStop = 2000;
    stored.freqStop = 20000;
    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddDepthProfileSetup)
        .SelectText(CDepthProfileSetupDlg::kIdcDomain, "Time/Frequency")
        .Press(CDepthProfileSetupDlg::kIdcSelectInputFile)
        .Press(IDOK);
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    auto* view = dynamic_cast<CTimeFrequencyWnd*>(RunDepthProfileSetup(theViewerApp.ClassName(kClassSpare9)));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Common().outputPath, output);
    EXPECT_EQ(view->Samples(), kSamples);
    EXPECT_EQ(view->Page().tracks.size(), 4u);
    EXPECT_GT(view->Page().rowsDrawn, 0);

    // The search follows trace 1 alone (Single Receiver is on from start-up).
    Search(*view, AtTime(*view, 1, Crossing(1, 0), 0));
    for (int f = 0; f < 20; ++f) {
        EXPECT_NEAR(Record(*view, f).times[1], Crossing(1, f), 1e-3) << f;
        EXPECT_NEAR(Record(*view, f).frequencies[1], kHz, 2.0) << f;
        EXPECT_EQ(Record(*view, f).times[0], kProfileAbsent) << f;
    }

    // An edit of trace 0 from frame 5 to 9: the times in between on the line.
    frame.Mouse(*view, "rdown", MK_RBUTTON, AtTime(*view, 0, 500, 5));
    ASSERT_TRUE(view->EditMode());
    const Point from = AtTime(*view, 0, 500, 5, true), to = AtTime(*view, 0, 900, 9, true);
    const float t5 = view->HitTest(from).time, t9 = view->HitTest(to).time;
    frame.Mouse(*view, "ldown", MK_LBUTTON, from);
    frame.Mouse(*view, "ldown", MK_LBUTTON, AtTime(*view, 1, 900, 9, true)); // another trace: ignored
    frame.Mouse(*view, "ldown", MK_LBUTTON, to);
    ASSERT_EQ(view->Profile().Edits().size(), 5u);
    frame.Mouse(*view, "rdown", MK_RBUTTON, to); // merged
    EXPECT_FALSE(view->EditMode());
    EXPECT_NEAR(Record(*view, 7).times[0], (t5 + t9) / 2, 1e-3);
    EXPECT_NEAR(Record(*view, 7).frequencies[0], kHz, 2.0);
    EXPECT_EQ(Record(*view, 4).times[0], kProfileAbsent);
    EXPECT_NEAR(Record(*view, 7).times[1], Crossing(1, 7), 1e-3) << "the edit kept the other trace";

    // Save Profile on the next paint; every receiver's time, then every frequency.
    frame.Command(ID_SAVE_PROFILE);
    const QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 8u);
    const char* names[] = {" TT1", " TT2", " TT3", " TT4", " FQ1", " FQ2", " FQ3", " FQ4"};
    const int codes[] = {46, 47, 48, 49, 171, 172, 173, 174};
    for (size_t i = 0; i < 8; ++i) {
        const auto& d = out.descriptors[i];
        EXPECT_EQ(std::string(d.mnemonic, 4), names[i]);
        EXPECT_EQ(d.typeCode, codes[i]);
        EXPECT_EQ(d.category, kCategoryTrace);
        EXPECT_EQ(d.axis1.unit, i < 4 ? kUnitMicroseconds : kUnitHertz);
        EXPECT_EQ(d.offset, 8 + 4 * i);
    }
    ASSERT_EQ(out.frames.size(), 20u);
    for (int f = 0; f < 20; ++f) {
        EXPECT_EQ(out.depths[size_t(f)], 1000.0 + 0.5 * f);
        const auto& v = out.frames[size_t(f)];
        const TfRecord& r = Record(*view, f);
        for (int t = 0; t < 4; ++t) {
            EXPECT_EQ(v[size_t(t)], r.times[size_t(t)]) << f;
            EXPECT_EQ(v[size_t(4 + t)], r.frequencies[size_t(t)]) << f;
        }
    }
    const std::string history(out.header.history, qtx::kHistorySize);
    EXPECT_NE(history.find("\r\n*** Instantaneous Time/Frequency Profile  "), std::string::npos);
    Close(view);
    EXPECT_TRUE(theApp.m_viewOptions.empty());
}

TEST_F(TimeFrequencyWndTest, SearchesAndInvalidationsChangeTheClickedReceiverOrEvery)
{
    for (const bool single : {true, false}) {
        std::remove(output.c_str());
        CTimeFrequencyWnd* view = Open();
        ASSERT_NE(view, nullptr);
        theApp.m_display.singleReceiver = single ? 1 : 0;
        Search(*view, AtTime(*view, 1, Crossing(1, 0), 0));
        for (int f = 0; f < 20; ++f)
            for (int t = 0; t < 4; ++t) {
                const bool tracked = !single || t == 1;
                EXPECT_NEAR(Record(*view, f).times[size_t(t)], tracked ? Crossing(t, f) : kProfileAbsent, 1e-3)
                    << single << " frame " << f << " trace " << t;
                if (tracked) {
                    EXPECT_NEAR(Record(*view, f).frequencies[size_t(t)], kHz, 2.0);
                }
            }

        // Ctrl+click at frame 12, then above it at frame 4: the interval 4 .. 12.
        frame.Mouse(*view, "ldown", MK_LBUTTON | MK_CONTROL, AtTime(*view, 2, 100, 12));
        frame.Mouse(*view, "ldown", MK_LBUTTON | MK_CONTROL, AtTime(*view, 2, 100, 4));
        ASSERT_TRUE(view->Selected().complete);
        EXPECT_LT(view->Selected().top, view->Selected().bottom);
        host.ExpectMessage("Do you want to invalidate selected interval?", IDYES);
        frame.Mouse(*view, "ldbl", MK_LBUTTON | MK_SHIFT, AtTime(*view, 1, 100, 15));
        EXPECT_FALSE(view->Selected().started) << "the run consumed the interval";
        for (int f = 0; f < 20; ++f)
            for (int t = 0; t < 4; ++t) {
                const bool cleared = f >= 4 && f <= 12 && (!single || t == 1);
                const TfRecord& r = Record(*view, f);
                if (cleared) {
                    EXPECT_EQ(r.times[size_t(t)], -999.0f) << single << " frame " << f << " trace " << t;
                    EXPECT_EQ(r.frequencies[size_t(t)], -999.0f);
                } else {
                    EXPECT_NE(r.times[size_t(t)], -999.0f) << single << " frame " << f << " trace " << t;
                }
            }
        // Written as they are.
        ASSERT_EQ(view->SaveProfile(), 1);
        EXPECT_EQ(LoadQtx(output).frames[8][1], -999.0f);
        Close(view);
    }
}

TEST_F(TimeFrequencyWndTest, AnUpLogOfTenReceiversSavesFramesInFileOrderWithNamesPastTheEighth)
{
    CTimeFrequencyWnd* view = Open(10, 6, qtx::kLogUp);
    ASSERT_NE(view, nullptr);
    for (int f = 0; f < 6; ++f)
        for (int t = 0; t < 10; ++t) {
            TfRecord& r = *view->Profile().Record(f);
            r.times[size_t(t)] = float(100 * f + t);
            r.frequencies[size_t(t)] = float(1000 * f + t);
        }
    ASSERT_EQ(view->SaveProfile(), 1);
    const QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 20u);
    struct Name {
        size_t index;
        const char* mnemonic;
        int code;
    } const names[] = {{7, " TT8", 53}, {8, " TT9", 195}, {9, "TT10", 196}, {17, " FQ8", 178}, {18, " FQ9", 205}, {19, "FQ10", 206}};
    for (const Name& n : names) {
        EXPECT_EQ(std::string(out.descriptors[n.index].mnemonic, 4), n.mnemonic);
        EXPECT_EQ(out.descriptors[n.index].typeCode, n.code);
    }
    EXPECT_EQ(out.header.logDirection, qtx::kLogUp);
    ASSERT_EQ(out.frames.size(), 6u);
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(out.depths[size_t(f)], 1002.5 - 0.5 * f) << "file order: the deepest first";
        EXPECT_EQ(out.frames[size_t(f)][9], float(100 * f + 9));
        EXPECT_EQ(out.frames[size_t(f)][10], float(1000 * f));
    }
    Close(view);

    // Fourteen receivers have no names past the thirteenth: nothing is written.
    std::remove(output.c_str());
    view = Open(14, 3);
    ASSERT_NE(view, nullptr);
    host.ExpectMessage("it has 14 receivers and profile curves name at most 13.");
    EXPECT_EQ(view->SaveProfile(), 0);
    EXPECT_FALSE(FileExists(output));
    Close(view);
}

TEST_F(TimeFrequencyWndTest, AFailedSaveLeavesNoOutputAndTheProfileCanBeSavedAgain)
{
    CTimeFrequencyWnd* view = Open(4, 30);
    ASSERT_NE(view, nullptr);
    view->Profile().Record(3)->times[0] = 42;
    WriteFault::FailAfter(int64_t(1) << 40);
    ASSERT_EQ(view->SaveProfile(), 1);
    const int64_t total = WriteFault::Written();
    WriteFault::Off();
    for (const FaultPoint& p : QtxFaultPoints(8, 8 + 8 * 4, total)) {
        std::remove(output.c_str());
        host.ClearMessages();
        host.onUnexpected = [](const std::string&) {};
        {
            ScopedWriteFault fault(p.bytes);
            EXPECT_EQ(view->SaveProfile(), 0) << p.where;
        }
        EXPECT_FALSE(FileExists(output)) << p.where;
        EXPECT_FALSE(host.Messages().empty()) << "the failure was told " << p.where;
    }
    // A name this window wrote before is replaced without a question.
    ASSERT_EQ(view->SaveProfile(), 1);
    EXPECT_EQ(LoadQtx(output).frames[3][0], 42.0f);
    host.ExpectMessage("Output file is the same as input file :\n" + path);
    view->Common().outputPath = path;
    EXPECT_EQ(view->SaveProfile(), 0);
    view->Common().outputPath = output;
    Close(view);
}

TEST_F(TimeFrequencyWndTest, ALowHistoryBufferAsksBeforeTheLinesAreAppended)
{
    // A blank history: the lines from index 1.
    CTimeFrequencyWnd* view = Open(1, 3);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->SaveProfile(), 1);
    const std::string lines = "\r\n\r\n*** Input data : " + path + "\r\n"
                              + "*** Depth range :  1000.0000 -  1001.0000 [ft]" // one blank before the unit
                              + "\r\n*** Instantaneous Time/Frequency Profile";
    std::string history(LoadQtx(output).header.history, qtx::kHistorySize);
    EXPECT_EQ(history.substr(0, 1 + lines.size()), " " + lines);
    Close(view);

    // Ending at 4,080 (beyond 4,096 - 500): asked first; No keeps the old text and
    // adds only the separators that fit.
    std::remove(output.c_str());
    ASSERT_TRUE(WriteInput(1, 3));
    PatchQtxHeader(path, [](QtxFileHeader& h) { std::memset(h.history, 'x', 4080); });
    view = OpenView();
    ASSERT_NE(view, nullptr);
    host.ExpectMessage("You are running low with the data history buffer.\nWould you like to edit the history?", IDNO);
    ASSERT_EQ(view->SaveProfile(), 1);
    history.assign(LoadQtx(output).header.history, qtx::kHistorySize);
    EXPECT_EQ(history.substr(0, 4080), std::string(4080, 'x'));
    EXPECT_EQ(history.substr(4080, 10), "\r\n\r\n\r\n\r\n  ");
    EXPECT_EQ(history.find("***"), std::string::npos);
    Close(view);
}

TEST_F(TimeFrequencyWndTest, NoShownReceiverDrawsNoColumnAndTakesNoClick)
{
    CTimeFrequencyWnd* view = Open(3, 10);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Page().trackWidth, (640 - (3 * 5 + 35)) / 3);
    EXPECT_EQ(view->TimeWidth() + 5 + view->FrequencyWidth(), view->Page().trackWidth);
    EXPECT_EQ(view->PageImage().width, (view->Page().trackWidth + 5) * 3);
    ExpectNothingDrawnWithNoReceiverShown(*view, frame, host);
    frame.Mouse(*view, "rdown", MK_RBUTTON, {100, 100});
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_FALSE(view->EditMode());
    Close(view);
}

TEST_F(TimeFrequencyWndTest, SearchesAndPhasesStopAtTheTracesLastSample)
{
    CTimeFrequencyWnd* view = Open(2, 3);
    ASSERT_NE(view, nullptr);
    // Trace 0 below 0 throughout, trace 1 (the next slot in memory) above it.
    std::vector<float> slots(view->SlotFloats(), 1.0f);
    float* first = slots.data() + size_t(view->m_receiverIndex[0]) * kSamples;
    std::fill(first, first + kSamples, -1.0f);
    const float end = (kSamples - 1) * kStep;
    struct Case {
        float lastSample, start, time;
    } const cases[] = {
        {-1.0f, end, end},                        // no crossing in the trace: the start stays
        {1.0f, end - 50, end - 0.5f * kStep},     // the crossing into the last sample is found
    };
    for (const Case& c : cases) {
        first[kSamples - 1] = c.lastSample;
        view->TrackFrame(slots, 0, c.start);
        EXPECT_FLOAT_EQ(view->Times()[size_t(view->m_receiverIndex[0])], c.time) << c.lastSample;
    }
    // Every receiver followed: trace 1 finds no crossing after trace 0's pick, so trace
    // 2 (which has one) has no time to follow either.
    CTimeFrequencyWnd* wide = Open(3, 3);
    ASSERT_NE(wide, nullptr);
    theApp.m_display.singleReceiver = 0;
    std::vector<float> three(wide->SlotFloats(), -1.0f);
    for (int t : {0, 2}) {
        float* s = three.data() + size_t(wide->m_receiverIndex[size_t(t)]) * kSamples;
        std::fill(s + 30 + 5 * t, s + kSamples, 1.0f);
    }
    wide->TrackFrame(three, 0, 300);
    EXPECT_FLOAT_EQ(wide->Times()[size_t(wide->m_receiverIndex[0])], 295);
    EXPECT_EQ(wide->Times()[size_t(wide->m_receiverIndex[1])], -999.0f);
    EXPECT_EQ(wide->Times()[size_t(wide->m_receiverIndex[2])], -999.0f);
    Close(wide);

    // The phase at the last sample and the one after it stays inside the trace.
    for (float t : {end, end + kStep, 1e9f}) EXPECT_TRUE(std::isfinite(view->FrequencyAt(slots, 0, t))) << t;
    Close(view);
}

TEST_F(TimeFrequencyWndTest, ReadOutsScrollingAndZoomLimits)
{
    setup.timeStop = 600;
    CTimeFrequencyWnd* view = Open(2, 10);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->TimeWindow().length, 600);
    // Bins of 390.625 Hz: 20,000 Hz rounded up to a bin.
    EXPECT_FLOAT_EQ(view->FrequencyWindow().stop, 52 * 390.625f);

    frame.Mouse(*view, "move", 0, AtTime(*view, 0, Crossing(0, 0), 0));
    EXPECT_EQ(frame.PaneText(1), Format("%10.4f [ft]", 1000.0));
    EXPECT_EQ(frame.PaneText(3), " 6.25 [kHz]");
    EXPECT_NE(frame.PaneText(2).find("  [uSec]"), std::string::npos);
    EXPECT_NE(frame.PaneText(4).find(" [mV]"), std::string::npos);
    const Point inFrequency{view->FrequencyLeft(1) + view->FrequencyWidth() / 2, view->Page().plotRect.top + 5};
    frame.Mouse(*view, "move", 0, inFrequency);
    EXPECT_EQ(frame.PaneText(3), Format("%5.2f [kHz]", view->HitTest(inFrequency).frequency / 1000.0));
    EXPECT_EQ(frame.PaneText(2), "");

    view->OnHScroll(SB_PAGERIGHT, 0);
    EXPECT_EQ(view->TimeWindow().first, 10);
    EXPECT_EQ(frame.PaneText(2), " 0.10 [mSec]");
    view->OnHScroll(SB_THUMBPOSITION, 1 << 30);
    EXPECT_EQ(view->TimeWindow().last, kSamples - 1) << "held inside the trace";

    // One request zooms both windows; a time window of 600 us does not go below 500.
    host.ExpectMessage("Reached time domain zoom limit!\nOperation will be abandoned.");
    frame.Command(ID_DATA_ZOOM_IN);
    EXPECT_EQ(view->TimeWindow().length, 600);
    EXPECT_EQ(view->TimeWindow().last, kSamples - 1) << "a refused zoom keeps the scrolled window";
    EXPECT_LT(view->FrequencyWindow().length, 52 * 390.625f - 390.625f);
    view->OnHScroll(SB_THUMBPOSITION, 0);
    frame.Command(ID_DATA_ZOOM_OUT); // about 300 us: held at 0
    EXPECT_EQ(view->TimeWindow().length, 750);
    EXPECT_EQ(theApp.m_display.dataAxisZoomRequest, 0);
    Close(view);
}

} // namespace
