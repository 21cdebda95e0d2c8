// Smoke tests of the Qt backend on the offscreen platform.
#include "app/ViewerApp.h"
#include "platform/Dialog.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtPrintJob.h"
#include "res/CommandIds.h"
#include "support/KilledWriter.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QTreeView>
#include <QWheelEvent>

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

// Line ends, and the right and bottom edges of rectangles, are left out as the
// recording context (and every view's arithmetic) assumes.
TEST(QtDc, PixelsFollowTheRecordingContextsGeometry)
{
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

// A FIFO chosen as the PDF file would block the writer until a reader came: the job
// refuses it at once and leaves nothing beside it. The alarm ends a test that blocks.
TEST(QtPrint, AFifoAsTheDocumentIsRefusedAtOnce)
{
    TempDir dir;
    const std::string fifo = dir.File("log.pdf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(20);
    auto job = CreatePdfPrintJob(fifo);
    EXPECT_FALSE(job->StartDoc("PDF Log"));
    job.reset();
    ::alarm(0);
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

// A literal with its zero bytes (and the one that ends it).
template <size_t N> std::string Bytes(const char (&text)[N]) { return std::string(text, N); }

TEST(QtFilters, TheProgramsFilterStringsBecomeQtNameFilters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||", "Qtx Data (*.qtx);;All Files (*)"},
        {"Qtx files (.qtx)|*.qtx|All files (*.*)|*.*|", "Qtx files (*.qtx);;All files (*)"},
        {"Lis file (.lis;)|*.lis;|All files (*.*)|*.*|", "Lis file (*.lis);;All files (*)"},
        {"Dictionary Text(.txt)|*.txt|All files(*.*)|*.*|", "Dictionary Text (*.txt);;All files (*)"},
        {"PDF files (*.pdf)|*.pdf|All files (*.*)|*.*||", "PDF files (*.pdf);;All files (*)"},
        {Bytes("Las Data (*.las)\0*.las\0All Files (*.*)\0*.*\0"), "Las Data (*.las);;All Files (*)"},
        {"Logs (*.lis; *.tif)|*.lis; *.tif|Text (tab separated)|*.txt||", "Logs (*.lis *.tif);;Text (tab separated) (*.txt)"},
    };
    for (const auto& [filter, expected] : cases) EXPECT_EQ(QtFilterFrom(filter), expected) << filter;
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

// Where the desktop offers no file dialog of its own, the toolkit's shows its size,
// type and date columns whole.
TEST(QtFileDialog, SizeTypeAndDateColumnsShowWhole)
{
    TempDir dir;
    WriteBytes(dir.File("a_rather_long_well_name.qtx"), std::vector<uint8_t>(3'500'000, 1));
    WriteBytes(dir.File("b.qtx"), {1, 2, 3});
    QtHost host{"Merrowdyne Revezirider", "BronteluxViewer"};
    ScopedHost hostScope{&host};
    int checked = 0;
    QTimer user; // looks at the dialog once its folder is listed, then cancels it
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* tree = dialog ? dialog->findChild<QTreeView*>("treeView") : nullptr;
        if (!tree || tree->model()->rowCount(tree->rootIndex()) < 2) return;
        for (int row = 0; row < 2; ++row)
            for (int column = 1; column < 4; ++column, ++checked) {
                const QString text = tree->model()->index(row, column, tree->rootIndex()).data().toString();
                const int needed = QFontMetrics(tree->font()).horizontalAdvance(text) + 8;
                EXPECT_GT(tree->header()->sectionSize(column), needed) << text.toStdString();
                EXPECT_LE(tree->header()->sectionViewportPosition(column) + needed, tree->viewport()->width())
                    << text.toStdString() << " in sight";
            }
        dialog->reject();
    });
    user.start(20);
    FileDialogOptions options;
    options.filter = "Qtx Data (*.qtx)|*.qtx||";
    options.initialName = dir.File("b.qtx");
    EXPECT_FALSE(host.FileDialog(options).ok);
    EXPECT_EQ(checked, 6);
}

// The program on the Qt frame, without a splash.
class QtShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theViewerApp.ResetToStartupState();
        SetCommandPromptSource(nullptr); // as at the program's start
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
}

// Every menu entry of every mode, the start menu first, says in the status bar what it
// does while it is highlighted.
TEST_F(QtShellTest, EveryMenuEntryOfEveryModeHasAPrompt)
{
    const auto unprompted = [&] {
        std::vector<std::string> out;
        std::vector<QMenu*> menus;
        for (QAction* a : frame.Window()->menuBar()->actions())
            if (a->menu()) menus.push_back(a->menu());
        while (!menus.empty()) {
            QMenu* menu = menus.back();
            menus.pop_back();
            for (QAction* a : menu->actions()) {
                if (a->menu()) menus.push_back(a->menu());
                else if (!a->isSeparator() && a->property("commandId").isValid() && a->statusTip().isEmpty())
                    out.push_back(a->text().toStdString());
            }
        }
        return out;
    };
    EXPECT_EQ(unprompted(), std::vector<std::string>{}) << "start";
    for (int mode : {ID_FILE_QTX, ID_FILE_LIS, ID_FILE_CNV}) {
        frame.RouteCommand(mode);
        EXPECT_EQ(unprompted(), std::vector<std::string>{}) << mode;
    }
}

class Painter : public CWnd {
public:
    void OnPaint(Dc& dc) override { DrawProbes(dc); }
};

// Reports a read failure from its paint, as a view whose file was cut short does.
class FailingPainter : public CWnd {
public:
    int failures = 2;
    void OnPaint(Dc& dc) override
    {
        DrawProbes(dc);
        if (failures-- > 0) MessageBox("Error reading frame data in file :\n/data/cut.qtx", MB_OK | MB_ICONSTOP);
    }
};

// Keeps the scroll codes it is sent.
class ScrollRecorder : public CWnd {
public:
    std::vector<std::pair<int, int>> codes; // (bar, code)
    void OnVScroll(int code, int) override { codes.emplace_back(SB_VERT, code); }
    void OnHScroll(int code, int) override { codes.emplace_back(SB_HORZ, code); }
};

TEST_F(QtShellTest, ABoxRaisedWhilePaintingWaitsForThePaintAndOutlivesAResize)
{
    FailingPainter window;
    ASSERT_TRUE(window.CreateChild(theViewerApp.m_windowClasses[kClassDomain], "Cut", WS_VSCROLL));
    auto* view = dynamic_cast<QtChildView*>(window.Impl());
    ASSERT_NE(view, nullptr);
    frame.Show(SW_SHOWNORMAL);
    view->sub->showMaximized();
    int boxes = 0;
    bool boxInsidePaint = false;
    QTimer user; // answers each box, after resizing the main window while it is up
    QObject::connect(&user, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            ++boxes;
            boxInsidePaint |= QtChildView::InPaintEvent();
            frame.Window()->resize(frame.Window()->size() + QSize(40, 30));
            QApplication::processEvents();
            box->button(QMessageBox::Ok)->click();
        }
    });
    user.start(5);
    view->client->repaint();
    EXPECT_EQ(boxes, 0) << "no box inside the paint event";
    QElapsedTimer clock;
    clock.start();
    while (boxes < 2 && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    user.stop();
    EXPECT_EQ(boxes, 2) << "the paint after the resize failed too, and its box followed the first";
    EXPECT_FALSE(boxInsidePaint);
    view->client->repaint();
    EXPECT_EQ(view->Backing().size(), view->client->size());
    EXPECT_FALSE(view->Backing().paintingActive());
    EXPECT_EQ(At(view->Backing(), 59, 19), 0xFF0000u) << "painted again at the new size";
}

TEST_F(QtShellTest, WindowMenuArrangesAndListsTheViews)
{
    frame.RouteCommand(ID_FILE_QTX);
    frame.Show(SW_SHOWNORMAL);
    Painter views[3];
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(views[i].CreateChild(theViewerApp.m_windowClasses[kClassDomain], std::string(1, char('A' + i)), 0));
    const QRect area = frame.MdiArea()->viewport()->rect();
    auto tile = [&](int i) { return dynamic_cast<QtChildView*>(views[i].Impl())->sub->geometry(); };

    // Tiled: wide and one above the other, then tall and side by side.
    for (const bool wide : {true, false}) {
        wide ? frame.TileHorizontal() : frame.TileVertical();
        for (int i = 0; i < 3; ++i) {
            const QRect t = tile(i), before = i ? tile(i - 1) : QRect(); // an empty one ends at -1
            EXPECT_EQ(wide ? t.width() : t.height(), wide ? area.width() : area.height()) << wide << i;
            EXPECT_EQ(wide ? t.top() : t.left(), (wide ? before.bottom() : before.right()) + 1) << wide << i;
            EXPECT_NEAR(wide ? t.height() : t.width(), (wide ? area.height() : area.width()) / 3, 1) << wide << i;
        }
    }
    frame.Cascade(); // overlapping, each a step further, all of a usable size
    for (int i = 0; i < 3; ++i) {
        EXPECT_GE(tile(i).width(), area.width() * 2 / 3) << i;
        EXPECT_GE(tile(i).height(), area.height() * 2 / 3) << i;
        if (i) {
            EXPECT_GT(tile(i).topLeft().y(), tile(i - 1).topLeft().y()) << i;
        }
    }

    QMenu* windowMenu = nullptr;
    for (QAction* a : frame.Window()->menuBar()->actions())
        if (a->text() == "&Window") windowMenu = a->menu();
    ASSERT_NE(windowMenu, nullptr);
    emit windowMenu->aboutToShow();
    std::vector<std::string> listed;
    QAction* first = nullptr;
    for (QAction* a : windowMenu->actions()) {
        if (!a->text().startsWith('&') || !a->text()[1].isDigit()) continue;
        listed.push_back(a->text().toStdString() + (a->isChecked() ? " (checked)" : ""));
        if (!first) first = a;
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"&1 A", "&2 B", "&3 C (checked)"}));
    ASSERT_NE(first, nullptr);
    first->trigger();
    EXPECT_EQ(frame.ActiveChild(), &views[0]);

    // A long path is cut in its middle; its start and its file name stay.
    const std::string path = "Time (/data/" + std::string(300, 'x') + "/wells & logs/well.qtx)";
    views[1].SetWindowText(path);
    emit windowMenu->aboutToShow();
    int longOnes = 0;
    for (QAction* a : windowMenu->actions())
        if (a->text().startsWith("&2 ") && ++longOnes) {
            const QRegularExpression cut("^&2 Time \\(/data/x+\u2026x*/wells && logs/well\\.qtx\\)$");
            EXPECT_TRUE(cut.match(a->text()).hasMatch() && a->text().size() < 80) << a->text().toStdString();
            EXPECT_EQ(a->toolTip().toStdString(), path);
        }
    EXPECT_EQ(longOnes, 1);
    for (auto& v : views) v.DestroyWindow();
}

// A command's last word names paths in UTF-8 and comes back after a menu's or a toolbar's
// prompt has passed over it; a read-out's mnemonic from a file is Latin-1.
TEST_F(QtShellTest, StatusPanesShowUtf8PathsAndLatin1MnemonicsAndALastWordOutlastsPrompts)
{
    frame.Show(SW_SHOWNORMAL);
    const std::string path = "Lis to Qtx done: wrote /data/Br\xC3\xB8nn/\xD0\xA1.qtx";
    frame.SetPaneText(0, path);
    EXPECT_EQ(frame.Pane(0)->text(), QStringLiteral("Lis to Qtx done: wrote /data/Br\u00F8nn/\u0421.qtx"));
    EXPECT_EQ(frame.PaneText(0), path);
    for (const char* tip : {"Display program information", ""}) {
        QStatusTipEvent prompt{QString::fromLatin1(tip)};
        QApplication::sendEvent(frame.Window(), &prompt);
        EXPECT_EQ(frame.PaneText(0), *tip ? std::string(tip) : path);
    }
    frame.SetPaneText(1, "DT \xB5s/ft");
    EXPECT_EQ(frame.Pane(1)->text(), QStringLiteral("DT \u00B5s/ft"));
}

TEST_F(QtShellTest, StatusPaneGrowsToALongTextAndKeepsItsPlace)
{
    frame.Show(SW_SHOWNORMAL);
    QLabel* pane = frame.Pane(2);
    ASSERT_NE(pane, nullptr);
    const int given = pane->minimumWidth();
    const std::string text = "  5000.0000 [ft] 22.7 uS/ft and more";
    frame.SetPaneText(2, text);
    const int needed = pane->fontMetrics().horizontalAdvance(QString::fromStdString(text));
    EXPECT_GT(needed, given);
    frame.SetPaneText(2, "1");
    QApplication::processEvents();
    EXPECT_GE(pane->width(), needed) << "a pane keeps the width it grew to";
    EXPECT_EQ(frame.Pane(3)->minimumWidth(), given);
    EXPECT_LT(frame.Pane(1)->x(), pane->x());
    EXPECT_LT(pane->x(), frame.Pane(3)->x());
}

// A prompt shows whole in pane 0 of a frame too narrow for every pane: empty read-out
// panes give way while it is up and come back when it goes; a read-out stays, and no
// pane is ever drawn over another.
TEST_F(QtShellTest, PromptsGetTheRoomTheyNeedInPaneZero)
{
    frame.Show(SW_SHOWNORMAL);
    frame.Window()->resize(900, 600);
    frame.SetPaneText(3, "  12.5 uS/ft");
    const QString prompt = "Display data signature in azimuth domain";
    const auto shown = [&] { // the visible panes' edges, pane 0 first
        std::vector<std::pair<int, int>> edges;
        for (int i = 0; i < 15; ++i)
            if (frame.Pane(i)->isVisible()) edges.emplace_back(frame.Pane(i)->x(), frame.Pane(i)->geometry().right());
        for (size_t k = 1; k < edges.size(); ++k) EXPECT_GT(edges[k].first, edges[k - 1].second) << k;
        EXPECT_LT(edges.back().second, frame.Window()->statusBar()->width());
        return edges.size();
    };
    QApplication::processEvents();
    const size_t atRest = shown();
    for (const QString& tip : {prompt, QString()}) { // as the menu sends it for its highlighted entry, then none
        QStatusTipEvent hover(tip);
        QApplication::sendEvent(frame.Window(), &hover);
        QApplication::processEvents();
        EXPECT_EQ(frame.PaneText(0), tip.toStdString());
        EXPECT_GE(frame.Pane(0)->contentsRect().width(), frame.Pane(0)->fontMetrics().horizontalAdvance(tip));
        EXPECT_EQ(shown() < atRest, !tip.isEmpty());
        EXPECT_TRUE(frame.Pane(3)->isVisible());
    }
    EXPECT_EQ(frame.Window()->width(), 900) << "the frame keeps its width";
}

TEST_F(QtShellTest, TheWheelScrollsAsTheLineButtonsDo)
{
    ScrollRecorder window;
    ASSERT_TRUE(window.CreateChild(theViewerApp.m_windowClasses[kClassDomain], "Wheel", WS_VSCROLL | WS_HSCROLL));
    auto* view = dynamic_cast<QtChildView*>(window.Impl());
    ASSERT_NE(view, nullptr);
    ScrollInfo range;
    range.max = 100;
    range.page = 10;
    window.SetScrollInfo(SB_VERT, range);
    const int lines = QApplication::wheelScrollLines();
    using Codes = std::vector<std::pair<int, int>>;
    auto repeat = [](int bar, int code, int n) {
        Codes out(size_t(n), {bar, code});
        out.emplace_back(bar, SB_ENDSCROLL);
        return out;
    };
    struct Case {
        const char* what;
        std::vector<int> deltas; // vertical wheel, in eighths of a degree
        Qt::KeyboardModifiers modifiers;
        bool horizontalRange;
        Codes expected;
    };
    const Case cases[] = {
        {"a notch away", {120}, Qt::NoModifier, false, repeat(SB_VERT, SB_LINEUP, lines)},
        {"two notches back", {-240}, Qt::NoModifier, false, repeat(SB_VERT, SB_LINEDOWN, 2 * lines)},
        {"half notches add up", {60, 60}, Qt::NoModifier, false, repeat(SB_VERT, SB_LINEUP, lines)},
        {"Shift: nothing to scroll sideways", {120}, Qt::ShiftModifier, false, {}},
        {"Shift scrolls sideways", {-120}, Qt::ShiftModifier, true, repeat(SB_HORZ, SB_LINERIGHT, lines)},
    };
    for (const auto& c : cases) {
        if (c.horizontalRange) window.SetScrollInfo(SB_HORZ, range);
        window.codes.clear();
        for (int delta : c.deltas) {
            QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton, c.modifiers,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->client, &wheel);
        }
        EXPECT_EQ(window.codes, c.expected) << c.what;
    }
    window.DestroyWindow();
}

} // namespace

// The splash sits on the main frame. A key pressed while it has the focus closes it,
// and it is the very widget the key is being delivered to: it must outlive the delivery.
TEST(QtSplash, SitsOnTheFrameAndAKeyOnItClosesItWithoutACrash)
{
    QtHost host{"Merrowdyne Revezirider", "BronteluxViewer"};
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
    theViewerApp.ResetToStartupState();
    ASSERT_TRUE(theViewerApp.InitInstance());
    ASSERT_TRUE(theViewerApp.SplashShown());
    QWidget* splash = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != frame.Window()) splash = w;
    ASSERT_NE(splash, nullptr);
    // Centred on the main frame, also when the desktop places the frame after the splash is up.
    for (const QRect placed : {QRect(), QRect(0, 0, 500, 400), QRect(150, 120, 600, 450)}) {
        if (!placed.isNull()) frame.Window()->setGeometry(placed);
        QApplication::processEvents();
        EXPECT_LE((splash->frameGeometry().center() - frame.Window()->frameGeometry().center()).manhattanLength(), 2)
            << placed.x();
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(splash, &escape);
    EXPECT_FALSE(theViewerApp.SplashShown());
    QApplication::processEvents();
    theViewerApp.ResetToStartupState();
}
