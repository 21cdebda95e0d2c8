// QTX mode > Display > Log: two curves of a data set set up in Log Setup and Log Item
// Setup, one per track; View Log shows them side by side, and Print PDF File writes
// the log as a PDF document of two pages. A plot made shorter gives the workspace back
// what it covered. Edit Command keeps every digit of the numbers it shows.
#include "walk/Walk.h"

#include "platform/Format.h"
#include "platform/qt/QtChildView.h"
#include "plot/PlotWnd.h"
#include "settings/LogSetupGroup.h"
#include "settings/SettingsStore.h"
#include "res/CommandIds.h"
#include "res/EditCommandDlgIds.h"
#include "res/LogItemSetupDlgIds.h"
#include "res/LogSetupDlgIds.h"
#include "res/QtxFileDlgIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

#include <cmath>
#include <cstdlib>

namespace {

// 500 frames, 249.5 ft: at 1:200 a log 380 mm long, more than a page of paper holds
// and less than two.
constexpr int kFrames = 500;

int EnabledItems(QDialog& logSetup)
{
    auto* list = Control<QListWidget>(logSetup, log_setup::kIdcEnabledList);
    return list ? list->count() : -1;
}

// Log Setup > Add: the curve in row `row` of the data set's Traces tab, on `track`
// between the limits, drawn in `colour`; Log Setup shows up again with it listed.
void AddCurve(User& user, const std::string& path, int itemsBefore, int row, const std::string& name, int track,
              const std::string& left, const std::string& right, const std::string& colour)
{
    namespace item = log_item_setup;
    user.Then("Log Setup: Add " + name,
              [itemsBefore] {
                  QDialog* d = DialogUp(kIddLogSetup);
                  return d && EnabledItems(*d) == itemsBefore;
              },
              [] { Click(Control<QPushButton>(*DialogUp(kIddLogSetup), log_setup::kIdcAdd)); });
    user.InDialog(kIddLogItemSetup, "Log Item Setup: Select Input File",
                  [](QDialog& d) { Click(Control<QPushButton>(d, item::kIdcSelectInputFile)); });
    user.ChooseFile(path);
    user.InDialog(kIddQtxFile, "QTX File: the Traces tab, " + name + ", Add, OK", [row](QDialog& d) {
        auto* tabs = Control<QTabBar>(d, qtx_file::kIdcTab);
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->tabText(5), "Traces");
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(5).center());
        ASSERT_EQ(tabs->currentIndex(), 5);
        ClickListRow(Control(d, qtx_file::kIdcFound), row);
        Click(Control<QPushButton>(d, qtx_file::kIdcAdd));
        Click(Control<QPushButton>(d, IDOK));
    });
    user.InDialog(kIddLogItemSetup, "Log Item Setup: track, limits, colour of " + name + ", Apply",
                  [=](QDialog& d) {
                      EXPECT_EQ(Control<QLineEdit>(d, item::kIdcName)->text().trimmed().toStdString(), name);
                      Retype(Control<QLineEdit>(d, item::kIdcTrack), std::to_string(track));
                      Retype(Control<QLineEdit>(d, item::kIdcLeftLimit), left);
                      Retype(Control<QLineEdit>(d, item::kIdcRightLimit), right);
                      auto* box = Control<QComboBox>(d, item::kIdcColor);
                      ASSERT_NE(box, nullptr);
                      box->setFocus();
                      QTest::keyClicks(box, QString::fromStdString(colour));
                      ASSERT_EQ(box->currentText().toStdString(), colour);
                      Screenshot("log-item-" + name);
                      Click(Control<QPushButton>(d, IDOK));
                  });
}

TEST_F(Walk, DisplayLogViewsTwoTracksAndPrintsThemToPdf)
{
    TempDir dir;
    const std::string path = dir.File("curves.qtx"), pdf = dir.File("curves.pdf");
    const std::vector<QtxDatumShape> curves = {
        {.mnemonic = "GR", .category = kCategoryTrace, .unit = kUnitNone},
        {.mnemonic = "DTCO", .typeCode = 158, .category = kCategoryTrace, .unit = kUnitMicrosecondsPerFoot},
    };
    // Gamma ray swinging 30..120 with depth, slowness 70..170 against it.
    ASSERT_TRUE(WriteQtx(path, curves, kFrames, 1000.0, 0.5, [](int frame, int datum, size_t) {
        const double swing = std::sin(frame / 12.0);
        return float(datum == 0 ? 75.0 + 45.0 * swing : 120.0 - 50.0 * swing);
    }));

    ASSERT_NO_FATAL_FAILURE(EnterQtxMode(frame));

    {
        User user;
        user.InDialog(kIddLogSetup, "Log Setup: scale, background, header", [](QDialog& d) {
            ASSERT_EQ(EnabledItems(d), 0);
            Retype(Control<QLineEdit>(d, log_setup::kIdcDepthScale), "200");
            Click(Control<QRadioButton>(d, log_setup::kIdcBackBeige));
            Retype(Control<QLineEdit>(d, log_setup::kIdcHeader), "Walk Well 1");
        });
        AddCurve(user, path, 0, 0, "GR", 1, "0", "150", "Blue");
        AddCurve(user, path, 1, 1, "DTCO", 2, "40", "240", "Red");
        user.Then("Log Setup: both curves, View Log",
                  [] {
                      QDialog* d = DialogUp(kIddLogSetup);
                      return d && EnabledItems(*d) == 2;
                  },
                  [] {
                      Screenshot("log-setup");
                      Click(Control<QPushButton>(*DialogUp(kIddLogSetup), log_setup::kIdcViewLog));
                  });
        ChooseMenu(frame, "&Display", ID_DISPLAY_LOG);
        ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
        ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
    }

    CPlotWnd* plot = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (plot = dynamic_cast<CPlotWnd*>(frame.ActiveChild())) != nullptr; }));
    ASSERT_EQ(plot->Setup().plotItems.size(), 2u);
    EXPECT_EQ(plot->Depths().depthScale, 200.0f);
    QtChildView* qt = ViewOf(plot);
    ASSERT_NE(qt, nullptr);
    ASSERT_TRUE(WaitPainted(*qt));
    ASSERT_TRUE(WaitFor([&] { return frame.PaneText(1).find("1000.0000") != std::string::npos; })) << frame.PaneText(1);

    const QImage screen = Screenshot("log-view");
    // Each curve in its own track: blue ink in track 1, red in track 2, and neither in
    // the other's.
    const PlotLayout& l = plot->Layout();
    const auto inkIn = [&](int track, unsigned colour) {
        int ink = 0;
        const int left = l.TrackLeft(track), right = left + l.BoxWidth(track);
        for (int y = 0; y < qt->client->height(); ++y)
            for (int x = std::max(left, 0); x < std::min(right, qt->client->width()); ++x)
                ink += ScreenPixel(screen, qt->client, x, y) == colour ? 1 : 0;
        return ink;
    };
    constexpr unsigned kBlue = 0x0000FF, kRed = 0xC00040;
    EXPECT_GT(inkIn(1, kBlue), 200) << "the gamma ray in track 1";
    EXPECT_GT(inkIn(2, kRed), 200) << "the slowness in track 2";
    EXPECT_EQ(inkIn(2, kBlue), 0);
    EXPECT_EQ(inkIn(1, kRed), 0);
    // End shows the log's last depth: the scroll bar's thumb stands at the bottom, and
    // Home brings it back to the top.
    QScrollBar* bar = ViewScrollBar(*qt, Qt::Vertical);
    ASSERT_NE(bar, nullptr);
    QTest::keyClick(qt->client, Qt::Key_End);
    ASSERT_TRUE(WaitPainted(*qt));
    Screenshot("log-end");
    EXPECT_EQ(bar->value(), bar->maximum()) << "the thumb stands where the view stopped";
    QTest::keyClick(qt->client, Qt::Key_Home);
    ASSERT_TRUE(WaitPainted(*qt));
    EXPECT_EQ(bar->value(), 0);
    ShrinkStepByStep(*qt, "log-shrink");

    {
        User user;
        user.InDialog(kIddLogSetup, "Log Setup: Print PDF File", [](QDialog& d) {
            ASSERT_EQ(EnabledItems(d), 2);
            Click(Control<QPushButton>(d, log_setup::kIdcPrintLog));
        });
        user.ChooseFile(pdf);
        // Four tracks of 4 in are wider than the paper: the plot is rescaled to fit.
        user.AnswerMessage("exceeds the width allowed for this printer", QMessageBox::Yes);
        ChooseMenu(frame, "&Display", ID_DISPLAY_LOG);
        ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
        ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
    }
    // The document is whole once its end is written.
    std::string document;
    ASSERT_TRUE(WaitFor([&] {
        const auto bytes = ReadBytes(pdf);
        document.assign(bytes.begin(), bytes.end());
        return document.find("%%EOF") != std::string::npos;
    }, 60000)) << "no whole PDF at " << pdf;
    EXPECT_EQ(frame.PaneText(0), "Print PDF File done: wrote " + pdf) << "the print's last word";
    std::filesystem::copy_file(pdf, ShotFolder() / "log.pdf", std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(document.compare(0, 5, "%PDF-"), 0);
    // The page tree's dictionary counts the pages.
    const size_t tree = document.find("/Type /Pages");
    ASSERT_NE(tree, std::string::npos) << "the page tree";
    const size_t count = document.find("/Count ", tree);
    ASSERT_LT(count, document.find(">>", tree)) << "a count in the page tree";
    EXPECT_EQ(std::atoi(document.c_str() + count + 7), 2);
}

// Log Setup > Edit Command shows a limit with two decimals and a depth with four; OK
// with those fields left as shown keeps every digit the item had.
TEST_F(Walk, EditCommandsOkKeepsTheNumbersItShowed)
{
    TempDir dir;
    const std::string path = dir.File("digits.qtx");
    ASSERT_TRUE(WriteQtx(path, {{.mnemonic = "GR", .category = kCategoryTrace, .unit = kUnitNone}}, 20, 1000.12345, 0.5));
    ASSERT_NO_FATAL_FAILURE(EnterQtxMode(frame));
    {
        User user;
        AddCurve(user, path, 0, 0, "GR", 1, "0.125", "150", "Blue");
        user.Then("Log Setup: Edit Command",
                  [] {
                      QDialog* d = DialogUp(kIddLogSetup);
                      return d && EnabledItems(*d) == 1;
                  },
                  [] { Click(Control<QPushButton>(*DialogUp(kIddLogSetup), log_setup::kIdcEditCommand)); });
        user.InDialog(kIddEditCommand, "Edit Command: the fields as shown, OK", [](QDialog& d) {
            namespace edit = edit_command;
            EXPECT_EQ(Control<QLineEdit>(d, edit::kIdcLeftLimit)->text().toStdString(), Format("%10.2f", 0.125));
            EXPECT_EQ(Control<QLineEdit>(d, edit::kIdcStartDepth)->text().toStdString(), " 1000.1235");
            Screenshot("edit-command");
            Click(Control<QPushButton>(d, IDOK));
        });
        user.InDialog(kIddLogSetup, "Log Setup: Apply",
                      [](QDialog& d) { Click(Control<QPushButton>(d, log_setup::kIdcApply)); });
        ChooseMenu(frame, "&Display", ID_DISPLAY_LOG);
        ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
        ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
    }
    ASSERT_EQ(theApp.m_logSetup.plotItems.size(), 1u);
    const PlotItemScale& kept = theApp.m_logSetup.plotItems[0]->m_scale;
    EXPECT_EQ(kept.leftLimit, 0.125f);
    EXPECT_EQ(kept.startDepth, 1000.12345);
}

} // namespace
