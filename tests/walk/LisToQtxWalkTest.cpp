// LIS mode > Process > Lis to QTX on a synthetic file: input file, tool, data set,
// output file, all chosen on the real dialogs; the data set and its log are written.
#include "walk/Walk.h"

#include "lis/LisParamScan.h"
#include "lis/SelectInputFileItemsDlg.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "res/SelectInputFileItemsDlgIds.h"
#include "res/SelectToolDlgIds.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QTest>

namespace {

TEST_F(Walk, LisToQtxConvertsASyntheticFileThroughItsDialogs)
{
    TempDir dir;
    const std::string lisPath = dir.File("well.lis"), out = dir.File("well_WAVE_001.qtx");
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}}).WriteDit(dir.Path()));
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {lisb::Channel{"GR", "GAPI"}};
    LisBuilder b;
    b.FileHeader("WAVE  .001").Dfsr(d).Data(d, 1000.0, 0.5, 5).FileTrailer("WAVE  .001");
    b.Write(lisPath);
    std::string node;
    {
        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
        node = CSelectInputFileItemsDlg::NodeText(*files.at(0));
    }
    theApp.m_startupDir = dir.Path(); // the tool dictionary lives there

    ChooseMenu(frame, "&File", ID_FILE_LIS);
    ASSERT_TRUE(WaitFor([&] { return frame.MenuId() == 136; }));

    User user;
    user.ChooseFile(lisPath);
    user.InDialog(kIddSelectTool, "Select Tool to Convert: DSI, OK", [](QDialog& dlg) {
        Click(Control<QRadioButton>(dlg, select_tool::kIdcDsi));
        Click(Control<QPushButton>(dlg, IDOK));
    });
    user.InDialog(kIddSelectInputFileItems, "Select Input File Items: the data set, Add, OK", [node](QDialog& dlg) {
        auto* tree = Control<QTreeWidget>(dlg, select_input_items::kIdcTree);
        ASSERT_NE(tree, nullptr);
        const auto found = tree->findItems(QString::fromStdString(node), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << node;
        tree->scrollToItem(found[0]);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(found[0]).center());
        Click(Control<QPushButton>(dlg, select_input_items::kIdcAdd));
        Screenshot("lis-to-qtx"); // the data set chosen
        Click(Control<QPushButton>(dlg, IDOK));
    });
    user.ChooseFile(out);
    ChooseMenu(frame, "&Process", ID_LIS_TO_QTX);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;

    const QtxImage image = LoadQtx(out);
    EXPECT_EQ(image.depths, (std::vector<double>{1000.0, 1000.5, 1001.0, 1001.5, 1002.0}));
    const auto bytes = ReadBytes(dir.File("well_WAVE_001.log"));
    const std::string log(bytes.begin(), bytes.end());
    EXPECT_NE(log.find("Input file: well.lis\r\nAcoustic Tool: Dsi\r\n"), std::string::npos) << log;
}

} // namespace
