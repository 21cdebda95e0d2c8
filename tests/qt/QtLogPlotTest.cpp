// The log plot through the Qt backend: the window shows its image rows and curves,
// and a printed log is a PDF of one page per printed page.
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"
#include "platform/qt/QtPrintJob.h"
#include "plot/PlotFixture.h"
#include "settings/LogSetupGroup.h"
#include "support/KilledWriter.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMdiSubWindow>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace plot_test;

// A print job whose pages are images, painted as the PDF's are.
class ImagePrintJob : public IPrintJob {
public:
    ImagePrintJob(DeviceCaps caps, std::vector<QImage>& pages) : m_caps(caps), m_pages(pages) {}
    bool StartDoc(const std::string&) override { return true; }
    bool StartPage() override
    {
        m_pages.emplace_back(m_caps.horzRes, m_caps.vertRes, QImage::Format_RGB32);
        m_pages.back().fill(Qt::white);
        m_dc = std::make_unique<QtDc>(&m_pages.back(), m_caps);
        return true;
    }
    Dc& PageDc() override { return *m_dc; }
    bool EndPage() override
    {
        m_dc.reset();
        return true;
    }
    bool EndDoc() override { return true; }
    void Abort() override { m_dc.reset(); }
    DeviceCaps Caps() const override { return m_caps; }

private:
    DeviceCaps m_caps;
    std::vector<QImage>& m_pages;
    std::unique_ptr<QtDc> m_dc;
};

// Prompts are scripted; print jobs write real PDF files, or images when pages are asked.
class PdfHost : public ScriptedHost {
public:
    std::string pdfPath;
    std::vector<QImage>* imagePages = nullptr;
    DeviceCaps imageCaps;
    std::unique_ptr<IPrintJob> CreatePrintJob(const std::string&) override
    {
        if (imagePages) return std::make_unique<ImagePrintJob>(imageCaps, *imagePages);
        return CreatePdfPrintJob(pdfPath, PrinterPage());
    }
};

class QtLogPlot : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        theViewerApp.ResetToStartupState();
        theViewerApp.m_commandLine = "test";
        ASSERT_TRUE(theViewerApp.InitInstance());
        ASSERT_TRUE(WriteLog(path));
        LogSetupGroup& s = theApp.m_logSetup;
        s.depthUnits = "Feet";
        s.trackWidth = {1.5f, 1.5f, 1.5f, 1.5f};
        s.plotItems = {Curve(path, "GR", 1, 0.0f, 150.0f, "Black"), Wave(path, 2), Wave(path, 3, kFrequencyType, 64)};
    }
    void TearDown() override { theViewerApp.ResetToStartupState(); }

    TempDir dir;
    std::string path = dir.File("log.qtx");
    PdfHost host;
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
};

TEST_F(QtLogPlot, TheWindowShowsImageRowsAndCurves)
{
    CPlotWnd* plot = OpenPlotWnd(theApp.m_logSetup, theViewerApp.ClassName(kClassPlot));
    ASSERT_NE(plot, nullptr);
    auto* qt = dynamic_cast<QtChildView*>(plot->Impl());
    ASSERT_NE(qt, nullptr);
    QApplication::processEvents();
    plot->Invalidate(true);
    ASSERT_TRUE(qt->RenderBacking());
    const QImage& image = qt->Backing();
    ASSERT_EQ(image.width(), plot->GetClientRect().Width());
    const PlotBand& band = plot->Band();
    ASSERT_GT(band.rows, 100);
    ASSERT_EQ(band.rasters.size(), 2u);
    // The blitted rows are the band's pixels.
    for (const PlotBand::Raster& r : band.rasters)
        for (int k : {0, r.image.width / 2, r.image.width - 1})
            EXPECT_EQ(image.pixel(r.x + k, band.top + 50), r.image.At(k, 50)) << r.track << " " << k;
    // GR's line passes through its points in black.
    const Point p = band.curves[0].at(30);
    EXPECT_EQ(image.pixel(p.x, band.top + p.y) & 0xFFFFFF, 0u);
    plot->OnClose();
}

// The screen after scroll steps, pixel for pixel, is the screen of a window opened
// afresh at the same depth: curves whose lines cross the rows kept, wiggles reaching
// across them, shading, depth numbers and headers alike.
TEST_F(QtLogPlot, AfterScrollStepsTheWindowShowsWhatAFreshWindowShows)
{
    LogSetupGroup& s = theApp.m_logSetup;
    s.depthScale = 120.0f;
    auto wiggles = Wave(path, 4);
    wiggles->m_style.waveStyle = WaveStyle::kSignature;
    wiggles->m_scale.startDepth = 1030.0;
    auto dt = Curve(path, "DT", 1, 200.0f, 0.0f, "Blue");
    dt->m_style.lineStyle = LineStyle::kDashed;
    dt->m_style.lineWidth = LineWidth::kNormal;
    s.plotItems.push_back(dt);
    s.plotItems.push_back(wiggles);
    s.plotItems[0]->m_style.lineWidth = StyleChoice<LineWidth>::FromText("Thick"); // drawn bold
    s.plotItems[0]->m_shade.off = 0;
    s.plotItems[0]->m_shade.minLimit = 1;
    s.plotItems[0]->m_shade.min = 60.0f;
    s.plotItems[0]->m_shade.pattern = ShadePattern::kDashed;
    // A step's own repaint (which leaves the background be), or a whole one.
    auto picture = [](CPlotWnd& plot, bool whole) {
        auto* qt = dynamic_cast<QtChildView*>(plot.Impl());
        if (whole) plot.Invalidate(true);
        if (!qt || !qt->RenderBacking()) return QImage();
        return qt->Backing().copy();
    };
    // Two windows of one size: the one stepped, and one walked afresh at its depth.
    CPlotWnd* plot = OpenPlotWnd(s, theViewerApp.ClassName(kClassPlot));
    CPlotWnd* fresh = OpenPlotWnd(s, theViewerApp.ClassName(kClassPlot));
    ASSERT_TRUE(plot && fresh);
    for (CPlotWnd* w : {plot, fresh}) {
        auto* qt = dynamic_cast<QtChildView*>(w->Impl());
        ASSERT_TRUE(qt && qt->sub);
        qt->sub->showNormal();
        qt->sub->resize(700, 600);
    }
    QApplication::processEvents();
    ASSERT_EQ(plot->GetClientRect().Width(), fresh->GetClientRect().Width());
    ASSERT_EQ(plot->GetClientRect().Height(), fresh->GetClientRect().Height());
    const int steps[] = {SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN,
                         SB_PAGEDOWN, SB_LINEUP,   SB_LINEUP,   SB_LINEUP,   SB_LINEUP,   SB_LINEUP,
                         SB_PAGEUP,   SB_LINEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_LINEUP};
    for (int code : steps) {
        plot->OnVScroll(code, 0);
        const QImage stepped = picture(*plot, false);
        const Rect client = fresh->GetClientRect();
        fresh->SetViewTop(plot->Depths().top);
        fresh->OnSize(SIZE_RESTORED, client.Width(), client.Height()); // every row walked afresh
        const QImage expected = picture(*fresh, true);
        ASSERT_FALSE(stepped.isNull());
        EXPECT_TRUE(stepped == expected) << "at " << plot->Depths().top << " ft";
    }
    fresh->OnClose();
    plot->OnClose();
}

// The log's last frame, 2200 ft of 2000 to 2200 every 0.5 ft, is marked: GR jumps
// from 20 to 140 and the waveform, blank before, is drawn there. It is drawn on the
// screen after End, inside the window, and on paper, at the end of the last page.
class QtLogPlotLastFrame : public QtLogPlot {
protected:
    static constexpr int kLast = 400;
    void SetUp() override
    {
        QtLogPlot::SetUp();
        ASSERT_TRUE(WriteQtx(path, LogDatums(), kLast + 1, 2000.0, 0.5, [](int frame, int datum, size_t index) {
            if (datum == 0) return frame == kLast ? 140.0f : 20.0f;
            if (datum == 2) return frame == kLast ? LogSample(frame, datum, index) : 0.0f;
            return LogSample(frame, datum, index);
        }));
        LogSetupGroup& s = theApp.m_logSetup;
        s.depthScale = 240.0f;
        s.plotItems = {Curve(path, "GR", 1, 0.0f, 150.0f, "Black"), Wave(path, 2)};
        for (auto& item : s.plotItems) {
            item->m_scale.startDepth = item->m_file.dataTop = 2000.0;
            item->m_scale.stopDepth = item->m_file.dataBottom = 2200.0;
            item->m_file.frameCount = kLast + 1;
        }
    }
    // The mark at a device row: GR's point at 140 in black, and the waveform's colours
    // (not the blank row's level 0, nor the page's white) in its track.
    static void ExpectMarkAt(const QImage& image, const PlotBand& band, int y, const std::string& where)
    {
        ASSERT_FALSE(band.curves.at(0).empty()) << where;
        const Point p = band.curves[0].back();
        ASSERT_GE(y, 0) << where;
        ASSERT_LT(y, image.height()) << where;
        EXPECT_EQ(image.pixel(p.x, y) & 0xFFFFFF, 0u) << where << ": GR at 2200";
        const PlotBand::Raster& r = band.rasters.at(0);
        const QRgb blank = image.pixel(r.x + r.image.width / 2, y - 40);
        int coloured = 0;
        for (int k = 0; k < r.image.width; ++k) {
            const QRgb c = image.pixel(r.x + k, y) & 0xFFFFFF;
            coloured += c != (blank & 0xFFFFFF) && c != 0xFFFFFFu;
        }
        EXPECT_GT(coloured, r.image.width / 4) << where << ": the waveform at 2200";
    }
};

TEST_F(QtLogPlotLastFrame, AfterEndTheLastFrameIsDrawnInsideTheWindow)
{
    CPlotWnd* plot = OpenPlotWnd(theApp.m_logSetup, theViewerApp.ClassName(kClassPlot));
    ASSERT_NE(plot, nullptr);
    auto* qt = dynamic_cast<QtChildView*>(plot->Impl());
    ASSERT_NE(qt, nullptr);
    QApplication::processEvents();
    plot->OnKeyDown(VK_END, 1, 0);
    plot->Invalidate(true);
    ASSERT_TRUE(qt->RenderBacking());
    const QImage& image = qt->Backing();
    const PlotBand& band = plot->Band();
    const int y = band.top - band.imageTop + band.curves.at(0).back().y;
    // Below the row, room for half a depth number.
    EXPECT_LT(y, plot->GetClientRect().bottom - plot->Layout().fontHeight / 2);
    ExpectMarkAt(image, band, y, "screen");
    plot->OnClose();
}

TEST_F(QtLogPlotLastFrame, APrintedLogDrawsTheLastFrameAtTheEndOfItsLastPage)
{
    std::vector<QImage> pages;
    host.imagePages = &pages;
    host.imageCaps = {800, 1000, 203, 254, 100, 100}; // 0.2 ft a row at 1:240
    CPlotWnd plot(theApp.m_logSetup);
    ASSERT_TRUE(plot.PrintLog());
    ASSERT_EQ(pages.size(), 2u);
    const PlotBand& band = plot.Band();
    ASSERT_GT(band.rows, 0);
    EXPECT_EQ(band.curves.at(0).back().y, band.rows - 1) << "the last frame's point is on the page's last row";
    ExpectMarkAt(pages.back(), band, band.top + band.rows - 1, "paper");
}

TEST_F(QtLogPlot, APrintedLogOfTwoPagesIsAPdfOfTwoPages)
{
    // A4 at 300 dpi: 3271 rows, 422 of them on page 1 for the title and the headers;
    // at 1:120 the 100 ft take 3000 rows.
    host.pdfPath = dir.File("log.pdf");
    theApp.m_logSetup.depthScale = 120.0f;
    theApp.m_logSetup.header = "Well 7";
    ASSERT_TRUE(PrintPlot(theApp.m_logSetup));
    QFile file(QString::fromStdString(host.pdfPath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);
    EXPECT_EQ(pdf.count("/MediaBox [0 0 595.000000 842.000000]"), 2) << "A4 pages";
}

// A disk that fills while the log is printed: the print fails, says why, and the older
// PDF of the name is as it was, with no temporary beside it.
TEST_F(QtLogPlot, APrintCutShortKeepsTheOlderPdfAndSaysWhy)
{
    host.pdfPath = dir.File("log.pdf");
    const QByteArray old = "%PDF-1.4 an older log";
    {
        QFile file(QString::fromStdString(host.pdfPath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    host.ExpectMessage("Error plotting log data.\nError writing file :\n" + host.pdfPath
                       + "\nThe disk is full.\nThe existing file is unchanged.");
    {
        ScopedWriteFault fault(4000);
        EXPECT_FALSE(PrintPlot(theApp.m_logSetup));
    }
    QFile file(QString::fromStdString(host.pdfPath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

// A data set of the log that cannot be opened is told, and the older PDF of the name is
// as it was: the document is begun only once its data sets are open.
TEST_F(QtLogPlot, AnUnopenableDataSetLeavesTheOlderPdfAsItWas)
{
    host.pdfPath = dir.File("log.pdf");
    const QByteArray old = "%PDF-1.4 an older log";
    {
        QFile file(QString::fromStdString(host.pdfPath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    for (auto& item : theApp.m_logSetup.plotItems) item->m_file.path = dir.File("gone.qtx");
    std::vector<std::string> told;
    host.onUnexpected = [&told](const std::string& what) { told.push_back(what); };
    EXPECT_FALSE(PrintPlot(theApp.m_logSetup));
    ASSERT_FALSE(told.empty());
    EXPECT_NE(told[0].find(dir.File("gone.qtx")), std::string::npos) << told[0];
    QFile file(QString::fromStdString(host.pdfPath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

} // namespace
