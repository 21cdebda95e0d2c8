// Smoke tests of the Qt backend on the offscreen platform.
#include "app/ViewerApp.h"
#include "platform/Dialog.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtPrintJob.h"
#include "res/CommandIds.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

// The same drawing goes to the recording context and to the Qt one.
void DrawProbes(Dc& dc)
{
    dc.SelectPen({PS_SOLID, 0, Rgb(0, 0, 0)});
    dc.MoveTo(10, 10);
    dc.LineTo(20, 10); // horizontal: 10..19
    dc.MoveTo(5, 5);
    dc.LineTo(5, 25);  // vertical: 5..24
    dc.SelectBrush({Rgb(0, 0, 255), false});
    dc.Rectangle({30, 10, 40, 20});
    dc.FillRect({50, 10, 60, 20}, Rgb(255, 0, 0));
    dc.SetPixel(70, 30, Rgb(0, 255, 0));
}

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

TEST(QtDc, PixelsFollowWhatTheRecordingSaysWasDrawn)
{
    RecordingDc recording;
    DrawProbes(recording);
    const std::vector<std::string> expected{"SelectPen(0,0,#000000)", "Line(10,10,20,10)", "Line(5,5,5,25)",
                                            "SelectBrush(#0000FF)", "Rectangle(30,10,40,20)",
                                            "FillRect(50,10,60,20,#FF0000)", "SetPixel(70,30,#00FF00)"};
    EXPECT_EQ(recording.ops, expected);

    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtDc dc(&image, DeviceCaps{});
        DrawProbes(dc);
    }
    const QRgb black = 0x000000, white = 0xFFFFFF, blue = 0x0000FF, red = 0xFF0000, green = 0x00FF00;
    struct Probe {
        int x, y;
        QRgb colour;
        const char* what;
    };
    const Probe probes[] = {
        {10, 10, black, "line start"},      {19, 10, black, "last pixel of the line"},
        {20, 10, white, "line end left out"}, {5, 24, black, "vertical line"},
        {5, 25, white, "vertical end left out"}, {30, 10, black, "rectangle top-left"},
        {39, 19, black, "rectangle bottom-right inside"}, {40, 15, white, "right edge left out"},
        {35, 20, white, "bottom edge left out"}, {35, 15, blue, "rectangle filled with the brush"},
        {59, 19, red, "fill reaches right-1, bottom-1"}, {60, 19, white, "fill excludes right"},
        {59, 20, white, "fill excludes bottom"}, {70, 30, green, "pixel"},
    };
    for (const auto& p : probes) EXPECT_EQ(At(image, p.x, p.y), p.colour) << p.what;
}

TEST(QtDc, TextIsPlacedByTheTopOfItsCell)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtDc dc(&image, DeviceCaps{});
        dc.SelectFont({"Arial", 20, FW_BOLD});
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(10, 30, "HHH");
    }
    int topInk = -1;
    for (int y = 0; y < 60 && topInk < 0; ++y)
        for (int x = 0; x < 200; ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                topInk = y;
                break;
            }
    EXPECT_GE(topInk, 30) << "nothing above the cell's top";
    EXPECT_LT(topInk, 40) << "capitals start near the top of the cell";
}

TEST(QtFonts, ArialAndItsMisspellingResolveToAFaceWithGlyphs)
{
    InstallFontSubstitutions();
    for (const char* face : {"Arial", "Ariel"}) {
        const QFont font = ToQFont({face, 14, FW_NORMAL}, nullptr);
        EXPECT_EQ(QFontInfo(font).family().toStdString(), "Liberation Sans") << face;
    }
}

TEST(QtPrint, TwoPageJobWritesAPdfWithTwoPages)
{
    TempDir dir;
    const std::string path = dir.File("log.pdf");
    auto job = CreatePdfPrintJob(path);
    ASSERT_TRUE(job->StartDoc("PDF Log"));
    for (int page = 0; page < 2; ++page) {
        ASSERT_TRUE(job->StartPage());
        Dc& dc = job->PageDc();
        EXPECT_GT(dc.GetDeviceCaps(HORZRES), 2000) << "page pixels at 300 dpi";
        dc.TextOut(100, 100, page ? "Page 2" : "Page 1");
        dc.Rectangle({50, 50, 500, 500});
        ASSERT_TRUE(job->EndPage());
    }
    ASSERT_TRUE(job->EndDoc());
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);
}

TEST(QtSettings, WindowPosRoundTripsThroughTheSettingsFile)
{
    {
        QtHost host("Merrowdyne Revezirider", "BronteluxViewer");
        ASSERT_TRUE(host.WriteProfileString("Settings", "WindowPos", "2,3,-1,-1,-1,-1,10,20,810,620"));
        EXPECT_NE(host.SettingsPath().find("Merrowdyne Revezirider"), std::string::npos);
    }
    QtHost again("Merrowdyne Revezirider", "BronteluxViewer");
    EXPECT_EQ(again.GetProfileString("Settings", "WindowPos", ""), "2,3,-1,-1,-1,-1,10,20,810,620");
    EXPECT_EQ(again.GetProfileString("Settings", "Missing", "dflt"), "dflt");
}

// The program on the Qt frame, without a splash.
class QtShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theViewerApp.ResetToStartupState();
        theViewerApp.m_commandLine = "test";
        ASSERT_TRUE(theViewerApp.InitInstance());
    }
    void TearDown() override { theViewerApp.ResetToStartupState(); }

    std::vector<std::string> MenuTitles() const
    {
        std::vector<std::string> out;
        for (QAction* a : frame.Window()->menuBar()->actions()) out.push_back(a->text().toStdString());
        return out;
    }

    QtHost host{"Merrowdyne Revezirider", "BronteluxViewer"};
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
};

TEST_F(QtShellTest, EachModePutsItsMenuAndToolbarsOnTheFrame)
{
    using Titles = std::vector<std::string>;
    EXPECT_EQ(MenuTitles(), (Titles{"&File", "&View", "&Help"}));
    frame.RouteCommand(ID_FILE_QTX);
    EXPECT_EQ(MenuTitles(), (Titles{"&File", "&View", "&Window", "&Display", "&Process", "&Utilities", "&Help"}));
    EXPECT_TRUE(frame.IsToolBarVisible(138));
    EXPECT_TRUE(frame.IsToolBarVisible(132));
    frame.RouteCommand(ID_FILE_LIS);
    EXPECT_EQ(MenuTitles(), (Titles{"&File", "&View", "&Process", "&Help"}));
    EXPECT_FALSE(frame.IsToolBarVisible(138));
    EXPECT_TRUE(frame.IsToolBarVisible(136));
    frame.RouteCommand(ID_FILE_CNV);
    EXPECT_EQ(frame.MenuId(), 137);
    EXPECT_TRUE(frame.IsToolBarVisible(137));
    frame.SetPaneText(1, "  1234.5000 [ft]");
    EXPECT_EQ(frame.PaneText(1), "  1234.5000 [ft]");
}

class Painter : public CWnd {
public:
    void OnPaint(Dc& dc) override { DrawProbes(dc); }
};

TEST_F(QtShellTest, ChildWindowPaintsIntoItsBackingImage)
{
    Painter window;
    ASSERT_TRUE(window.CreateChild(theViewerApp.m_windowClasses[kClassDomain], "Probe", WS_VSCROLL));
    auto* view = dynamic_cast<QtChildView*>(window.Impl());
    ASSERT_NE(view, nullptr);
    view->client->resize(120, 80);
    window.Invalidate(true);
    window.UpdateWindow();
    view->PaintClient();
    ASSERT_GE(view->backing.width(), 80);
    EXPECT_EQ(At(view->backing, 19, 10), 0x000000u);
    EXPECT_EQ(At(view->backing, 20, 10), 0xFFFFFFu);
    EXPECT_EQ(At(view->backing, 59, 19), 0xFF0000u);

    ScrollInfo info;
    info.max = 3000000;
    info.page = 100;
    info.pos = 2999950;
    window.SetScrollInfo(SB_VERT, info);
    EXPECT_EQ(window.GetScrollInfo(SB_VERT).pos, 2999901) << "32-bit positions, clamped to max - page + 1";
    window.DestroyWindow();
    EXPECT_TRUE(frame.Children().empty());
}

} // namespace
