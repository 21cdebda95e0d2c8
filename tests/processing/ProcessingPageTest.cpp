// The processing windows keep their rendered rows while the page moves: whatever the
// steps, the page is the one a fresh render of the same place gives, and a line step
// reads only the frames it newly shows.
#include "ProfileFixture.h"

#include "common/ParallelRows.h"
#include "processing/TimeFrequencyWnd.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <thread>
#include <utility>

namespace {

// Waveforms that change from frame to frame and trace to trace, so that every row differs.
float Wavy(int frame, int, size_t i)
{
    const int trace = int(i / 64), j = int(i % 64);
    return float(std::sin(0.37 * frame + 0.21 * j + trace) * (1.0 + (frame % 7) * 0.1));
}

struct PageShot {
    std::vector<uint32_t> pixels;
    int rows = 0, lastPosition = 0;
    double topDepth = 0;
    std::vector<std::string> ops; // every drawing operation of the paint
};

class ProcessingPageTest : public ProfileWndTest {
protected:
    PageShot Shot(CProcessingWnd& v)
    {
        ScriptedWindow* window = frame.WindowOf(v);
        window->Paint();
        return {v.PageImage().pixels, v.Page().rowsDrawn, v.Page().lastPosition, v.Page().pageTopDepth, window->lastPaint};
    }
    // The same place rendered afresh: a size changed and back renders the page anew.
    PageShot Fresh(CProcessingWnd& v)
    {
        const int w = v.Page().clientWidth, h = v.Page().clientHeight;
        frame.Resize(v, w + 8, h);
        frame.Resize(v, w, h);
        frame.WindowOf(v)->Paint(); // the erase the new size asks for
        return Shot(v);
    }
    CViewerWnd* OpenWindow(bool timeFrequency)
    {
        host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
        setup.domain = timeFrequency ? ViewDomain::kTimeFrequency : ViewDomain::kTime;
        if (timeFrequency) return OpenTimeFrequencyWnd(setup, theViewerApp.ClassName(kClassSpare9));
        return OpenProfileWnd(setup, theViewerApp.ClassName(kClassSpare9));
    }

    // Steps through the real scroll handler, each page against a fresh render of it.
    void ExpectStepsMatchFreshPages(CProcessingWnd& v, const char* what)
    {
        struct Step {
            int code, pos;
            const char* name;
        } const steps[] = {
            {SB_LINEDOWN, 0, "line down"}, {SB_LINEDOWN, 0, "line down again"}, {SB_LINEUP, 0, "line up"},
            {SB_PAGEDOWN, 0, "page down"}, {SB_LINEDOWN, 0, "line down after a page"}, {SB_PAGEUP, 0, "page up"},
            {SB_THUMBPOSITION, 900, "jump"}, {SB_LINEUP, 0, "line up after a jump"}, {SB_PAGEDOWN, 0, "page down after a jump"},
            {SB_BOTTOM, 0, "to the range's end"}, {SB_LINEUP, 0, "line up from the end"}, {SB_TOP, 0, "to the top"},
        };
        const size_t imageSize = v.PageImage().pixels.size();
        for (const Step& s : steps) {
            const int before = v.Page().topPosition;
            v.OnVScroll(s.code, s.pos);
            ASSERT_NE(v.Page().topPosition, before) << what << ", " << s.name << ": the page must move";
            const int framesRead = v.Page().framesRead;
            if (s.code == SB_LINEDOWN || s.code == SB_LINEUP) {
                EXPECT_LE(framesRead, 3) << what << ", " << s.name << ": only the newly shown frames are read";
            }
            const PageShot stepped = Shot(v);
            EXPECT_EQ(v.PageImage().pixels.size(), imageSize) << "the rows kept are bounded by the window";
            const PageShot fresh = Fresh(v);
            ASSERT_GT(fresh.rows, 0);
            EXPECT_EQ(stepped.rows, fresh.rows) << what << ", " << s.name;
            EXPECT_EQ(stepped.lastPosition, fresh.lastPosition) << what << ", " << s.name;
            EXPECT_EQ(stepped.topDepth, fresh.topDepth) << what << ", " << s.name;
            EXPECT_TRUE(stepped.pixels == fresh.pixels) << what << ", " << s.name << ": the image differs";
            EXPECT_EQ(stepped.ops, fresh.ops) << what << ", " << s.name;
        }
    }
};

TEST_F(ProcessingPageTest, StepsGiveTheFreshPageInEveryWindowAndStyle)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(3, 64, 10.0f)}, 2400, 1000.0, 0.25, Wavy));
    for (const char* style : {"VDL", "Signature"}) {
        for (bool timeFrequency : {false, true}) {
            setup.type = WaveStyleOfName(style);
            CViewerWnd* opened = OpenWindow(timeFrequency);
            ASSERT_NE(opened, nullptr);
            auto* v = static_cast<CProcessingWnd*>(opened);
            const std::string what = std::string(timeFrequency ? "time-frequency, " : "profile, ") + style;
            ASSERT_GT(v->Page().framesPerPage, 41) << "a page step must keep part of the page";
            ExpectStepsMatchFreshPages(*v, what.c_str());
            host.ExpectMessage("Do you want to save output file :\n" + v->Common().outputPath, IDNO);
            v->OnClose();
        }
    }
}

TEST_F(ProcessingPageTest, AChangedSelectionRendersThePageAfresh)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(2, 64, 10.0f)}, 1200, 1000.0, 0.25, Wavy));
    auto* v = static_cast<CProfileWnd*>(OpenWindow(false));
    ASSERT_NE(v, nullptr);
    v->OnVScroll(SB_LINEDOWN, 0);
    const PageShot plain = Shot(*v);
    // Ctrl+click starts an interval down to the range's end: its rows darken.
    frame.Mouse(*v, "ldown", MK_LBUTTON | MK_CONTROL, {v->TrackLeft(0) + 2, v->Page().plotRect.top + 40});
    ASSERT_TRUE(v->Selected().started);
    const PageShot selected = Shot(*v);
    EXPECT_GE(v->Page().framesRead, v->Page().lastPosition - v->Page().topPosition) << "every frame read again";
    EXPECT_FALSE(selected.pixels == plain.pixels);
    v->OnVScroll(SB_LINEDOWN, 0);
    const PageShot stepped = Shot(*v);
    EXPECT_TRUE(stepped.pixels == Fresh(*v).pixels);
    Close(v);
}

} // namespace

namespace {

TEST_F(ProcessingPageTest, APageDrawnOnSeveralThreadsIsThePageDrawnOnOne)
{
    if (parallel_rows::Workers() < 2) GTEST_SKIP() << "one core: every page is drawn on one thread";
    ASSERT_TRUE(WriteQtx(path, {Datum(3, 64, 10.0f)}, 2400, 1000.0, 0.25, Wavy));
    for (const char* style : {"VDL", "Signature"}) {
        for (bool timeFrequency : {false, true}) {
            setup.type = WaveStyleOfName(style);
            auto* v = static_cast<CProcessingWnd*>(OpenWindow(timeFrequency));
            ASSERT_NE(v, nullptr);
            const std::string what = std::string(timeFrequency ? "time-frequency, " : "profile, ") + style;
            v->OnVScroll(SB_PAGEDOWN, 0);
            v->OnVScroll(SB_LINEDOWN, 0);
            const PageShot many = Fresh(*v);
            ASSERT_GT(many.rows, 100) << what;
            for (int workers : {1, 3}) {
                const parallel_rows::ScopedWorkers limit(workers);
                const PageShot fewer = Fresh(*v);
                EXPECT_TRUE(fewer.pixels == many.pixels) << what << " on " << workers << " thread(s): the image differs";
                EXPECT_EQ(fewer.ops, many.ops) << what << " on " << workers << " thread(s)";
            }
            host.ExpectMessage("Do you want to save output file :\n" + v->Common().outputPath, IDNO);
            v->OnClose();
        }
    }
}

// A profile's spectra are taken row by row on every core.
TEST_F(ProcessingPageTest, AFrequencyProfileDrawnOnSeveralThreadsIsThePageDrawnOnOne)
{
    if (parallel_rows::Workers() < 2) GTEST_SKIP() << "one core: every page is drawn on one thread";
    ASSERT_TRUE(WriteQtx(path, {Datum(3, 64, 10.0f)}, 2400, 1000.0, 0.25, Wavy));
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    setup.domain = ViewDomain::kFrequency;
    auto* v = static_cast<CProcessingWnd*>(OpenProfileWnd(setup, theViewerApp.ClassName(kClassSpare9)));
    ASSERT_NE(v, nullptr);
    v->OnVScroll(SB_PAGEDOWN, 0);
    const PageShot many = Fresh(*v);
    ASSERT_GT(many.rows, 100);
    const parallel_rows::ScopedWorkers one(1);
    EXPECT_TRUE(Fresh(*v).pixels == many.pixels);
    host.ExpectMessage("Do you want to save output file :\n" + v->Common().outputPath, IDNO);
    v->OnClose();
}

// Frames are read into slots that held another frame, or a gap's NaN: every sample no
// trace fills is 0 again, whether the traces are read in place or copied (fewer
// samples stored than transformed).
TEST_F(ProcessingPageTest, AFrameReadOverAnotherLeavesNothingOfIt)
{
    for (int samples : {64, 60}) {
        SCOPED_TRACE(std::to_string(samples) + " samples stored");
        ASSERT_TRUE(WriteQtx(path, {Datum(3, uint16_t(samples), 10.0f)}, 40, 1000.0, 0.25, Wavy));
        auto* v = static_cast<CProcessingWnd*>(OpenWindow(false));
        ASSERT_NE(v, nullptr);
        std::vector<float> fresh, reused;
        ASSERT_TRUE(v->ReadFrame(7, fresh));
        EXPECT_EQ(fresh.size(), size_t(CViewerWnd::kSlots) * size_t(v->Samples()));
        for (const std::vector<float>& old : {std::vector<float>(fresh.size(), NAN), std::vector<float>(3, 5.0f)}) {
            reused = old;
            ASSERT_TRUE(v->ReadFrame(7, reused));
            EXPECT_EQ(reused, fresh);
        }
        host.ExpectMessage("Error reading frame data in file :");
        EXPECT_FALSE(v->ReadFrame(4000, reused)) << "past the last frame";
        EXPECT_TRUE(std::isnan(reused.front()) && std::isnan(reused.back())) << "a frame not read is a gap";
        host.ExpectMessage("Do you want to save output file :\n" + v->Common().outputPath, IDNO);
        v->OnClose();
    }
}

} // namespace

namespace {

// Frames are read by the row bands, on any thread: one that fails is a gap, and its
// message is shown once, by the window on its own thread, never from a band.
TEST_F(ProcessingPageTest, AFrameThatCannotBeReadOnAnyThreadIsAGapReportedOnceByTheWindow)
{
    ASSERT_TRUE(WriteQtx(path, {Datum(3, 64, 10.0f)}, 2400, 1000.0, 0.25, Wavy));
    const auto whole = ReadBytes(path);
    for (bool timeFrequency : {false, true}) {
        SCOPED_TRACE(timeFrequency ? "time-frequency" : "profile");
        WriteBytes(path, whole);
        auto* v = static_cast<CProcessingWnd*>(OpenWindow(timeFrequency));
        ASSERT_NE(v, nullptr);
        const PageShot intact = Shot(*v);
        ASSERT_GT(intact.rows, 100);
        const int cut = v->Page().topPosition + (intact.lastPosition - v->Page().topPosition) / 2; // mid-page
        const size_t frameBytes = 8 + 3 * 64 * 4;
        WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + ptrdiff_t(4132 + 39 + size_t(cut) * frameBytes + 100)));
        std::mutex mutex;
        std::vector<std::pair<std::string, std::thread::id>> shown;
        host.onUnexpected = [&](const std::string& what) {
            std::lock_guard lock(mutex);
            shown.emplace_back(what, std::this_thread::get_id());
        };
        const PageShot many = Fresh(*v);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].first.find("Error reading frame data in file :"), std::string::npos) << shown[0].first;
        EXPECT_EQ(shown[0].second, std::this_thread::get_id()) << "the message comes from the window's thread";
        const size_t width = size_t(v->PageImage().width), last = size_t(many.rows - 1) * width;
        const uint32_t background = many.pixels[last];
        EXPECT_TRUE(std::equal(many.pixels.begin(), many.pixels.begin() + ptrdiff_t(width), intact.pixels.begin()))
            << "the frames that can be read are drawn as before";
        EXPECT_TRUE(std::all_of(many.pixels.begin() + ptrdiff_t(last), many.pixels.begin() + ptrdiff_t(last + width),
                                [&](uint32_t p) { return p == background; }))
            << "a frame that cannot be read is a gap";
        EXPECT_FALSE(std::equal(many.pixels.begin() + ptrdiff_t(last), many.pixels.begin() + ptrdiff_t(last + width),
                                intact.pixels.begin() + ptrdiff_t(last)));
        {
            const parallel_rows::ScopedWorkers one(1);
            EXPECT_TRUE(Fresh(*v).pixels == many.pixels) << "the gaps lie where one thread leaves them";
        }
        EXPECT_EQ(shown.size(), 1u) << "shown once since the data set was opened";
        // The file whole again: the frames read over the gaps' NaN (in the slots no
        // trace fills too) give the page as it was.
        WriteBytes(path, whole);
        EXPECT_TRUE(Fresh(*v).pixels == intact.pixels);
        EXPECT_EQ(shown.size(), 1u);
        host.onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        host.ExpectMessage("Do you want to save output file :\n" + v->Common().outputPath, IDNO);
        v->OnClose();
    }
}

// A row's largest magnitude, eight lanes at a time or one: what a plain loop over
// the same blended values finds, whatever the length, the start and the values that
// are no number.
struct MagnitudeProbe : CProcessingWnd {
    using CProcessingWnd::LargestMagnitude;
};

TEST(ProcessingRowsTest, LargestMagnitudeIsThePlainLoopsForAnyLengthAndAnyValue)
{
    std::vector<float> a(70), b(70);
    for (size_t i = 0; i < a.size(); ++i) {
        a[i] = float(std::sin(0.7 * double(i)) * (1 + double(i)));
        b[i] = float(std::cos(0.3 * double(i)) * 40 - 20);
    }
    a[13] = NAN, b[29] = INFINITY, a[41] = -INFINITY, b[41] = -INFINITY, a[66] = -1e30f;
    for (float weight : {0.0f, 0.25f, 1.0f})
        for (int first = 0; first < 10; ++first)
            for (int last = first; last < int(a.size()); last += 3) {
                float want = 0;
                for (int j = first; j <= last; ++j) {
                    const float v = std::fabs(a[size_t(j)] + (b[size_t(j)] - a[size_t(j)]) * weight);
                    if (std::isfinite(v)) want = std::max(want, v);
                }
                ASSERT_EQ(MagnitudeProbe::LargestMagnitude(a.data(), b.data(), weight, first, last), want)
                    << "weight " << weight << ", " << first << " .. " << last;
            }
}

} // namespace
