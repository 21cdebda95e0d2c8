#include "ProfileFixture.h"

#include "platform/BinaryFile.h"
#include "platform/Format.h"
#include "processing/KalmanWnd.h"
#include "res/QtxFileDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <cstdio>

namespace {

// ---- the interval records ---------------------------------------------------------------------

KalmanInterval Record(int first, int last, float mean)
{
    KalmanInterval r;
    r.first = first;
    r.last = last;
    r.traces = 1;
    r.n = 1;
    r.averages = {mean};
    return r;
}

std::vector<int> Firsts(const KalmanIntervals& list)
{
    std::vector<int> out;
    for (const KalmanInterval& r : list.Records()) out.push_back(r.first);
    return out;
}

TEST(KalmanIntervals, InsertionAndUndoFollowTheLogDirection)
{
    struct Case {
        bool down;
        std::vector<int> firsts;   // inserted in this order
        std::vector<int> expected; // list order
        int undone;                // first frame the undo takes off
    };
    const Case cases[] = {
        {true, {2, 8, 5}, {2, 5, 8}, 8},
        {false, {2, 8, 5}, {5, 8, 2}, 5}, // 8, beyond all others, went to the head of an up log
        {false, {8, 2}, {2, 8}, 2},
        {true, {5, 5}, {5, 5}, 5},
    };
    for (const Case& c : cases) {
        KalmanIntervals list;
        for (int f : c.firsts) list.Insert(Record(f, f + 1, 0), c.down);
        EXPECT_EQ(Firsts(list), c.expected);
        std::vector<int> after = c.expected;
        after.erase(c.down ? after.end() - 1 : after.begin());
        ASSERT_TRUE(list.Undo(c.down));
        EXPECT_EQ(Firsts(list), after);
    }
    KalmanIntervals empty;
    EXPECT_FALSE(empty.Undo(true));
}

TEST(KalmanIntervals, AFrameTakesTheFirstEnclosingRecordOnly)
{
    KalmanIntervals list;
    list.Insert(Record(0, 10, 1.0f), true);
    list.Insert(Record(5, 20, 100.0f), true);
    const int order[] = {0};
    struct Case {
        int frame;
        float corrected;
    } const cases[] = {{3, 9.0f}, {7, 9.0f}, {15, -90.0f}, {21, 10.0f}};
    for (const Case& c : cases) {
        float slot = 10.0f;
        EXPECT_EQ(list.Apply(c.frame, &slot, 1, order), c.frame <= 20) << c.frame;
        EXPECT_EQ(slot, c.corrected) << c.frame;
    }
}

TEST(KalmanIntervals, AveragesAndCorrectionUseTheSameSlotOfATrace)
{
    // Trace 0 sits in slot 1 and trace 1 in slot 0.
    const int order[] = {1, 0};
    const float frames[2][2][2] = {{{10, 20}, {1, 2}}, {{30, 40}, {3, 4}}}; // [frame][slot][sample]
    KalmanAverager averager(2, 2);
    for (const auto& f : frames) averager.Add(&f[0][0], 2, order);
    EXPECT_EQ(averager.Count(), 2);
    KalmanIntervals list;
    list.Insert(averager.Finish(0, 1), true);
    float frame[2][2] = {{10, 20}, {1, 2}};
    ASSERT_TRUE(list.Apply(0, &frame[0][0], 2, order));
    EXPECT_FLOAT_EQ(frame[0][0], -10); // 10 - mean(10, 30)
    EXPECT_FLOAT_EQ(frame[0][1], -10);
    EXPECT_FLOAT_EQ(frame[1][0], -1);  // 1 - mean(1, 3)
    EXPECT_FLOAT_EQ(frame[1][1], -1);
    // Nothing added: a record of zeros.
    EXPECT_EQ(KalmanAverager(1, 3).Finish(0, 0).averages, std::vector<float>(3, 0.0f));
}

// ---- the window ------------------------------------------------------------------------------------

// Frame f, trace t, sample j: f * 10 + t + j / 100.
float Sample(int frame, int, size_t i) { return float(frame * 10 + int(i / 64)) + float(i % 64) / 100; }

class KalmanWndTest : public ProfileWndTest {
protected:
    KalmanSetupGroup kalman;

    CKalmanWnd* OpenKalman(uint8_t direction = qtx::kLogDown)
    {
        EXPECT_TRUE(WriteQtx(path, {Datum(2, 64, 10)}, 8, 1000.0, 0.5, Sample, direction));
        kalman.inputPath = path;
        kalman.outputPath = dir.File("wave_Kalman.qtx");
        kalman.topDepth = 0;
        kalman.bottomDepth = 100000;
        kalman.timeStart = 0;
        kalman.timeStop = 640;
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        return OpenKalmanWnd(kalman, theViewerApp.ClassName(kClassSpare9));
    }
    void Process(CKalmanWnd& v, Point p)
    {
        host.ExpectMessage("Do you want to execute Kalman filter procedure?", IDYES);
        frame.Mouse(v, "ldbl", MK_LBUTTON, p);
    }
    // The point on track 0 at the row of scroll position `position`.
    static Point Row(const CKalmanWnd& v, int position) { return At(v, 0, 100, position, true); }
};

TEST_F(KalmanWndTest, ProcessingAnIntervalCorrectsItsFramesAndUndoRestoresThem)
{
    CKalmanWnd* v = OpenKalman();
    ASSERT_NE(v, nullptr);
    // Ctrl+clicks at frames 5 and 2: the ends swap, the interval is frames 2 .. 5.
    frame.Mouse(*v, "ldown", MK_LBUTTON | MK_CONTROL, Row(*v, 5));
    frame.Mouse(*v, "ldown", MK_LBUTTON | MK_CONTROL, Row(*v, 2));
    ASSERT_TRUE(v->Selected().complete);
    Process(*v, Row(*v, 3));
    EXPECT_EQ(v->IntervalFirst(), 2);
    EXPECT_EQ(v->IntervalLast(), 5);
    EXPECT_FALSE(v->Selected().started);
    ASSERT_EQ(v->Intervals().Records().size(), 1u);
    // The mean of frames 2..5 is 35 + t + j / 100: frame 4 becomes 5, frame 6 stays.
    std::vector<float> slots;
    ASSERT_TRUE(v->ReadFrame(4, slots));
    EXPECT_TRUE(v->Intervals().Apply(4, slots.data(), size_t(v->Samples()), v->m_receiverIndex.data()));
    EXPECT_NEAR(slots[size_t(v->m_receiverIndex[1]) * size_t(v->Samples()) + 7], 5.0f, 1e-4);
    EXPECT_FALSE(v->Intervals().Apply(6, slots.data(), size_t(v->Samples()), v->m_receiverIndex.data()));

    // Without a selection: from the clicked frame to the range's last (7), not past it.
    Process(*v, Row(*v, 6));
    EXPECT_EQ(v->IntervalFirst(), 6);
    EXPECT_EQ(v->IntervalLast(), 7);
    host.ExpectMessage("Do you want to undo recently processed depth interval?", IDYES);
    frame.Mouse(*v, "ldbl", MK_LBUTTON | MK_SHIFT, Row(*v, 1));
    ASSERT_EQ(v->Intervals().Records().size(), 1u);
    EXPECT_EQ(v->Intervals().Records().front().first, 2);
    // Refused: nothing changes.
    host.ExpectMessage("Do you want to execute Kalman filter procedure?", IDNO);
    frame.Mouse(*v, "ldbl", MK_LBUTTON, Row(*v, 0));
    EXPECT_EQ(v->Intervals().Records().size(), 1u);
    host.ExpectMessage("Do you want to save output file :\n" + kalman.outputPath, IDNO);
    v->OnClose();
}

TEST_F(KalmanWndTest, TheOutputHoldsTheCorrectedDatumAndItsHistoryEntry)
{
    for (uint8_t direction : {qtx::kLogDown, qtx::kLogUp}) {
        std::remove(kalman.outputPath.c_str());
        CKalmanWnd* v = OpenKalman(direction);
        ASSERT_NE(v, nullptr);
        Process(*v, Row(*v, v->Range().bottom - 1)); // the two deepest frames
        ASSERT_EQ(v->SaveProfile(), 1);
        const QtxImage out = LoadQtx(kalman.outputPath);
        ASSERT_EQ(out.descriptors.size(), 1u);
        EXPECT_EQ(std::string(out.descriptors[0].mnemonic, 4), "WMNO");
        EXPECT_EQ(out.descriptors[0].traceCount, 2);
        ASSERT_EQ(out.frames.size(), 8u);
        const int deep = direction == qtx::kLogDown ? 7 : 0;     // the deepest frame, in file order
        const int shallow = direction == qtx::kLogDown ? 0 : 7;
        const float mean = direction == qtx::kLogDown ? 65.0f : 5.0f; // of the two deepest frames
        EXPECT_NEAR(out.frames[size_t(deep)][64 + 3], Sample(deep, 0, 64 + 3) - (mean + 1 + 0.03f), 1e-4);
        EXPECT_FLOAT_EQ(out.frames[size_t(shallow)][3], Sample(shallow, 0, 3));
        if (direction == qtx::kLogDown) {
            EXPECT_EQ(out.depths, LoadQtx(path).depths);
        }
        const std::string history(out.header.history, qtx::kHistorySize);
        const std::string range = Format("*** Depth range : %10.4f - %10.4f", v->Range().start, v->Range().end);
        EXPECT_NE(history.find("\r\n\r\n*** Input data : " + path + "\r\n" + range), std::string::npos);
        EXPECT_NE(history.find("\r\n*** Kalman Filter "), std::string::npos);
        host.ExpectMessage("Do you want to save output file :\n" + kalman.outputPath, IDNO);
        v->OnClose();
    }
}

TEST_F(KalmanWndTest, ALogDirectionNeitherDownNorUpWritesNothing)
{
    CKalmanWnd* v = OpenKalman();
    ASSERT_NE(v, nullptr);
    QtxFileHeader header = v->File().Header();
    header.logDirection = 7;
    v->File().SetHeader(header);
    host.ExpectMessage("neither down (255) nor up (1)", IDOK);
    EXPECT_EQ(v->SaveProfile(), 0);
    EXPECT_FALSE(FileExists(kalman.outputPath));
    host.ExpectMessage("Do you want to save output file :\n" + kalman.outputPath, IDNO);
    v->OnClose();
}

} // namespace
