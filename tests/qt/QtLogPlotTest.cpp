// The log plot through the Qt backend: the window shows its image rows and curves,
// and a printed log is a PDF of one page per printed page.
#include "platform/qt/QtChildView.h"
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

// Prompts are scripted; print jobs write real PDF files.
class PdfHost : public ScriptedHost {
public:
    std::string pdfPath;
    std::unique_ptr<IPrintJob> CreatePrintJob(const std::string&) override
    {
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
    dt->m_style.lineStyle = "Dashed";
    dt->m_style.lineWidth = "Normal";
    s.plotItems.push_back(dt);
    s.plotItems.push_back(wiggles);
    s.plotItems[0]->m_style.lineWidth = "Thick";
    s.plotItems[0]->m_shade.off = 0;
    s.plotItems[0]->m_shade.minLimit = 1;
    s.plotItems[0]->m_shade.min = 60.0f;
    s.plotItems[0]->m_shade.pattern = "Dashed";
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
