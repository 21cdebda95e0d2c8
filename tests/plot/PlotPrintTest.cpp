// Printing a log: pages, page kinds and rows on a printer of fixed capabilities.
#include "plot/PlotFixture.h"

#include "platform/Format.h"
#include "plot/LogSetupDlg.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "res/LogSetupDlgIds.h"

#include <algorithm>

namespace {

using namespace plot_test;
using Ops = std::vector<std::string>;

// 8 x 10 inches at 100 dpi: fonts of 18 and 36, a title of 108 rows and, for the
// standard log, headers of 9 + 2 x 2 x 18 + 15 = 96 rows.
constexpr DeviceCaps kPrinter{800, 1000, 203, 254, 100, 100};
constexpr int kAllowance = 108 + 96;

class PlotPrintTest : public PlotTest {
protected:
    void SetUp() override
    {
        PlotTest::SetUp();
        host.printerCaps = kPrinter;
        LogSetup().trackWidth = {1.5f, 1.5f, 1.5f, 1.5f};
        LogSetup().depthScale = 120.0f; // 0.1 ft a printer row: the 100 ft take 1000 rows
        LogSetup().header = "Well 7";
    }
    bool Print(const PlotItemList& items)
    {
        LogSetup().plotItems = items;
        return PrintPlot(LogSetup());
    }
    // `items` alone on the page: no title, a plain background, the depth column
    // between tracks 1 and 2, in feet.
    static LogSetupGroup Bare(const PlotItemList& items, float depthScale)
    {
        LogSetupGroup s;
        s.plotItems = items;
        s.depthScale = depthScale;
        s.depthTrackOff = 1;
        s.depthUnits = "Feet";
        return s;
    }
    static size_t Count(const Ops& ops, const std::string& prefix)
    {
        return size_t(std::count_if(ops.begin(), ops.end(), [&](const auto& op) { return op.rfind(prefix, 0) == 0; }));
    }
    static bool Has(const Ops& ops, const std::string& op)
    {
        return std::find(ops.begin(), ops.end(), op) != ops.end();
    }
    static std::string FirstBlit(const Ops& ops)
    {
        const auto it = std::find_if(ops.begin(), ops.end(), [](const auto& op) {
            return op.rfind("StretchImage(", 0) == 0 && op.find("x15:") == std::string::npos; // not a colour bar
        });
        return it == ops.end() ? "" : *it;
    }
};

TEST_F(PlotPrintTest, ALogOfTwoPagesHasTitleAndHeadersOnPageOneAndBottomHeadersOnTheLast)
{
    ASSERT_TRUE(Print(StandardItems()));
    ASSERT_EQ(host.printed.size(), 1u);
    const auto& doc = host.printed[0];
    EXPECT_EQ(doc.name, "PDF Log");
    EXPECT_TRUE(doc.ended);
    ASSERT_EQ(doc.pages.size(), 2u);
    const Ops& first = doc.pages[0];
    const Ops& second = doc.pages[1];
    // Tracks of 150 printer pixels in boxes of 152; the depth column of 50 follows
    // track 1, and the waveform's rows start one pixel inside its box.
    EXPECT_TRUE(Has(first, "TextOut(400,36,Well 7)"));
    EXPECT_TRUE(Has(first, "Rectangle(0,18,800,90)")) << "the title box";
    EXPECT_EQ(Count(first, "TextOut(76,108,GR)"), 1u) << "the headers below the title";
    EXPECT_TRUE(Has(first, "TextOut(175,108,FEET)"));
    EXPECT_EQ(FirstBlit(first), "StretchImage(203,204,353,1000 <- 150x796:0,0,150,796)")
        << "page 1 keeps room for the title and the headers";
    EXPECT_FALSE(Has(second, "TextOut(400,36,Well 7)"));
    EXPECT_FALSE(Has(second, "TextOut(175,108,FEET)"));
    EXPECT_EQ(FirstBlit(second).rfind("StretchImage(203,0,353,", 0), 0u) << "later pages start at the top";
    // The bottom headers stand below the last row of the last page, closed by a line:
    // the 1000 rows of the 100 ft and the row of 1100 ft, less page 1's 796.
    const std::string blit = FirstBlit(second);
    const int rows = std::stoi(blit.substr(blit.rfind(',') + 1));
    EXPECT_EQ(rows, 205);
    EXPECT_TRUE(Has(second, Format("TextOut(76,%d,GR)", rows))) << rows;
    EXPECT_TRUE(Has(second, Format("Line(0,%d,800,%d)", rows + 96, rows + 96)));
    EXPECT_EQ(Count(first, "TextOut(76,"), 4u) << "GR, DT and their units: no bottom headers on page 1";
}

TEST_F(PlotPrintTest, ALogOfOnePageEndsWithItsBottomHeadersBelowTheTitleAndHeaders)
{
    LogSetup().depthScale = 240.0f; // 0.2 ft a row: 500 rows
    CPlotWnd plot(Bare(StandardItems(), 240.0f));
    for (int t = 1; t <= 4; ++t) plot.Setup().trackWidth[size_t(t - 1)] = 1.5f;
    ASSERT_TRUE(plot.PrintLog());
    EXPECT_EQ(plot.LastPageKind(), CPlotWnd::kOnlyPage);
    ASSERT_EQ(host.printed.at(0).pages.size(), 1u);
    const int y0 = plot.Band().rows + kAllowance;
    EXPECT_TRUE(Has(host.printed[0].pages[0], Format("TextOut(76,%d,GR)", y0)));
    EXPECT_TRUE(Has(host.printed[0].pages[0], Format("Line(0,%d,800,%d)", y0 + 96, y0 + 96)));
}

TEST_F(PlotPrintTest, TracksWiderThanThePaperAreShrunkOnlyWhenTheUserAgrees)
{
    LogSetup().trackWidth = {4.0f, 4.0f};
    const std::string question = "Requested total tracks width of 8.0 inches exceeds the width allowed for this "
                                 "printer (7.5 inches).\nWould you like to perform automatic rescaling?";
    host.ExpectMessage(question, IDNO);
    EXPECT_FALSE(Print({Curve(path, "GR", 1, 0, 150), Wave(path, 2)}));
    EXPECT_TRUE(host.printed.empty()) << "no document was started";

    host.ExpectMessage(question, IDYES);
    CPlotWnd plot(Bare({Curve(path, "GR", 1, 0, 150), Wave(path, 2)}, 480.0f));
    plot.Setup().trackWidth[0] = plot.Setup().trackWidth[1] = 4.0f;
    ASSERT_TRUE(plot.PrintLog());
    // 7.5 in less 4 borders of 0.01 in, shared: 3.73 in, 373 pixels each.
    EXPECT_EQ(std::make_pair(plot.Layout().trackPixels[1], plot.Layout().trackPixels[2]), std::make_pair(373, 373));
}

TEST_F(PlotPrintTest, StoppingKeepsThePagesPrintedAndAFailedFrameEndsTheJobOnce)
{
    host.ScriptDialog(kIddProgress).Pumps(3).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop plotting?", IDYES);
    ASSERT_TRUE(Print(StandardItems()));
    ASSERT_EQ(host.printed.size(), 1u);
    EXPECT_TRUE(host.printed[0].ended);
    ASSERT_EQ(host.printed[0].pages.size(), 1u);
    EXPECT_EQ(Count(host.printed[0].pages[0], "TextOut(76,"), 4u) << "a stopped log has no bottom headers";

    // The file ends inside frame 150 (1075 ft, on page 1): the data set says so once,
    // and the pages down to there are the document.
    std::vector<uint8_t> bytes = ReadBytes(path);
    bytes.resize(bytes.size() - 51 * size_t(8 + 4 + 4 + 4 * 4 * 300 + 4 * 2 * 64));
    WriteBytes(path, bytes);
    LogSetup().depthScale = 60.0f; // 0.05 ft a row: 1075 ft is on page 2
    host.ExpectMessage("Error reading frame data in file :\n" + path);
    ASSERT_TRUE(Print(StandardItems()));
    EXPECT_EQ(host.Messages().size(), 2u) << "the stop question, then the frame";
    ASSERT_EQ(host.printed.size(), 2u);
    EXPECT_TRUE(host.printed[1].ended);
    EXPECT_EQ(host.printed[1].pages.size(), 2u);
}

// GR is 100 at 1100 ft, the log's last frame: its point, 100/150 across track 1,
// ends the last page, whether rows are finer or coarser than the frames.
TEST_F(PlotPrintTest, TheLogsLastFrameIsDrawnOnTheLastRowAtEveryScale)
{
    for (float scale : {60.0f, 240.0f, 2500.0f}) { // rows of 0.05, 0.2 and 2.08 ft
        CPlotWnd plot(Bare({Curve(path, "GR", 1, 0.0f, 150.0f)}, scale));
        plot.Setup().trackWidth[0] = 1.5f;
        ASSERT_TRUE(plot.PrintLog()) << scale;
        const PlotBand& b = plot.Band();
        ASSERT_FALSE(b.curves.at(0).empty()) << scale;
        EXPECT_EQ(b.curves[0].back(), (Point{plot.Layout().TrackLeft(1) + 100, b.rows - 1})) << scale;
        EXPECT_EQ(b.frameRows.back(), b.rows - 1) << scale;
        ASSERT_FALSE(b.depthLines.empty()) << scale;
        EXPECT_EQ(b.depthLines.back().depth, 1100.0f) << scale;
        const int x = plot.Layout().DepthCentre() - 2, y = b.top + b.depthLines.back().row - 9;
        EXPECT_TRUE(Has(host.printed.back().pages.back(), Format("TextOut(%d,%d, 1100)", x, y))) << scale;
    }
}

TEST_F(PlotPrintTest, PrintPdfFileOfLogSetupPrintsTheListAndNoPrinterPrintsNothing)
{
    frame.Command(ID_FILE_QTX);
    LogSetup().plotItems = StandardItems();
    host.ScriptDialog(kIddLogSetup).Press(CLogSetupDlg::kIdcPrintLog);
    EXPECT_TRUE(frame.Command(ID_DISPLAY_LOG));
    ASSERT_EQ(host.printed.size(), 1u);
    EXPECT_EQ(host.printed[0].pages.size(), 2u);
    EXPECT_TRUE(frame.Children().empty()) << "printing opens no window";

    host.printerAvailable = false;
    host.ScriptDialog(kIddLogSetup).Press(CLogSetupDlg::kIdcPrintLog);
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_EQ(host.printed.size(), 1u);
}

} // namespace

namespace {

// A page of 8 x 10 inches at `dpi`.
DeviceCaps PrinterAt(int dpi) { return {8 * dpi, 10 * dpi, 203, 254, dpi, dpi}; }

TEST_F(PlotPrintTest, ImageTracksGoToPaperAtThePagesOwnResolutionAColumnPerDevicePixel)
{
    auto signature = Wave(path, 3);
    signature->m_style.waveStyle = WaveStyle::kSignature;
    const PlotItemList items = {Wave(path, 2), signature};
    // One page: 100 ft at 1:240 is 1500 rows at 300 dpi.
    LogSetupGroup setup = Bare(items, 240.0f);
    setup.trackWidth = {1.5f, 1.5f, 1.5f, 1.5f};
    host.printerCaps = PrinterAt(300);
    CPlotWnd plot(setup);
    ASSERT_TRUE(plot.PrintLog());
    ASSERT_EQ(host.printed.size(), 1u);
    ASSERT_EQ(host.printed[0].pages.size(), 1u);

    const PlotBand& b = plot.Band();
    ASSERT_EQ(b.rasters.size(), 2u);
    const Ops& page = host.printed[0].pages[0];
    for (const PlotBand::Raster& r : b.rasters) {
        // 1.5 in at 300 dpi: 450 columns for the 300 samples, blitted one to one.
        EXPECT_EQ(r.image.width, plot.Layout().trackPixels[size_t(r.track)]);
        EXPECT_EQ(r.image.width, 450);
        EXPECT_GE(r.image.height, b.rows);
        EXPECT_TRUE(Has(page, Format("StretchImage(%d,%d,%d,%d <- %dx%d:0,0,%d,%d)", r.x, b.top, r.x + r.image.width,
                                     b.top + b.rows, r.image.width, r.image.height, r.image.width, b.rows)))
            << r.track;
    }
    // The VDL's neighbouring columns tell apart what a coarser copy, stretched,
    // would give twice.
    const Image& vdl = b.rasters[0].image;
    size_t pairs = 0;
    for (int y = 0; y < b.rows; y += 2)
        for (int x = 0; x + 1 < vdl.width; x += 2) pairs += vdl.Row(y)[x] != vdl.Row(y)[x + 1];
    EXPECT_GT(pairs, size_t(b.rows / 2) * 10);
}

} // namespace

namespace {

using namespace plot_test;

// A data set in other depth units than Log Setup's English or Metric is named once when
// the log is shown or printed, which keeps the setup's units. Limits show the decimals
// they were given, on screen and on paper.
TEST_F(PlotPrintTest, DataSetsInOtherDepthUnitsAreToldOnceWhenShownAndPrinted)
{
    const std::string other = dir.File("other.qtx");
    ASSERT_TRUE(WriteLog(other));
    const PlotItemList items = {Curve(path, "GR", 1, 0.45f, -0.15f), Curve(other, "DT", 2, 40.0f, 240.0f)};
    const auto drawn = [](const Ops& ops, const std::string& text) {
        return std::count_if(ops.begin(), ops.end(), [&](const auto& op) { return op.ends_with("," + text + ")"); });
    };
    constexpr uint8_t kM = qtx::kUnitsMetres, kFt = qtx::kUnitsFeet;
    const struct {
        uint8_t units, otherUnits;
        const char* setup;
        const char* words; // theirs and the setup's; none when nothing is told
        bool otherTold;
    } cases[] = {
        {kM, kFt, "Feet", "\nare [m], but Log Setup's depth units are English [ft].", false},
        {kFt, kFt, "Feet", nullptr, false},
        {kFt, kM, "Meters", "\nare [ft], but Log Setup's depth units are Metric [m].", false},
        {kM, kM, "Meters", nullptr, false},
        {kM, kM, "Feet", "\nare [m], but Log Setup's depth units are English [ft].", true},
    };
    for (const auto& c : cases)
        for (bool print : {false, true}) {
            PatchQtxHeader(path, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
            PatchQtxHeader(other, [&](QtxFileHeader& h) { h.depthUnits = c.otherUnits; });
            LogSetup().depthUnits = c.setup;
            host.ClearMessages();
            host.printed.clear();
            if (c.words) host.ExpectMessage(c.words);
            if (print) {
                ASSERT_TRUE(Print(items));
                EXPECT_EQ(drawn(host.printed[0].pages[0], "-0.15"), 1);
            } else {
                CPlotWnd* plot = Open(items);
                ASSERT_NE(plot, nullptr);
                plot->OnVScroll(SB_PAGEDOWN, 0);
                Window(plot)->Paint();
                EXPECT_EQ(drawn(Window(plot)->lastPaint, c.setup[0] == 'F' ? "FEET" : "MET."), 1);
                EXPECT_EQ(drawn(Window(plot)->lastPaint, "0.45"), 1);
                plot->OnClose();
            }
            ASSERT_EQ(host.Messages().size(), c.words ? 1u : 0u) << c.setup << " print " << print;
            if (!c.words) continue;
            const std::string& text = host.Messages()[0].text;
            EXPECT_NE(text.find("\n" + path + "\n"), std::string::npos) << text;
            EXPECT_EQ(text.find("\n" + other + "\n") != std::string::npos, c.otherTold) << text;
        }
}

} // namespace
