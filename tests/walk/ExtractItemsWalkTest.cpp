// QTX mode > Utilities > Tools > Extract Item(s) on a data set in a folder whose name
// is not ASCII: the items are chosen with plain clicks and a Ctrl-click, and the output
// holds exactly the items the list shows selected.
#include "walk/Walk.h"

#include "dataset/QtxFile.h"
#include "res/CommandIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace {

std::vector<int> ShownSelected(const QListWidget& list)
{
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->isSelected()) rows.push_back(row);
    return rows;
}

TEST_F(Walk, ExtractItemsKeepsTheItemsTheListShowsSelectedInAFolderBeyondAscii)
{
    TempDir dir;
    const std::string folder = dir.File("Br\xC3\xB8nn");
    std::filesystem::create_directory(folder);
    const std::string set = folder + "/Br\xC3\xB8nn.qtx", out = folder + "/Br\xC3\xB8nn_Task.qtx";
    const std::vector<QtxDatumShape> datums = {
        {.mnemonic = "WAVE", .category = 1, .samples = 8},
        {.mnemonic = "DTCO", .typeCode = 158, .category = 6, .unit = 2},
        {.mnemonic = "GR", .category = 6},
        {.mnemonic = "CALI", .category = 6},
    };
    ASSERT_TRUE(WriteQtx(set, datums, 12, 1000.0, 0.5, [](int frame, int datum, size_t) { return float(datum * 100 + frame); }));
    ChooseMenu(frame, "&File", ID_FILE_QTX);

    User user;
    ChooseToolTask(user, "Extract Item(s)", set);
    user.InDialog(kIddUtilitiesSetup, "Utilities Setup: items by clicks, Run", [](QDialog& dlg) {
        auto* label = Control<QLabel>(dlg, utilities_setup::kIdcPrimaryFile);
        ASSERT_NE(label, nullptr);
        const QString shown = label->toolTip().isEmpty() ? label->text() : label->toolTip();
        EXPECT_TRUE(shown.contains(QStringLiteral("Br\u00F8nn"))) << shown.toStdString();
        EXPECT_FALSE(shown.contains(QStringLiteral("\u00C3"))) << shown.toStdString();
        auto* list = Control<QListWidget>(dlg, utilities_setup::kIdcPrimaryList);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 4);
        ClickListRow(list, 1); // DTCO
        ClickListRow(list, 0); // WAVE joins it
        ClickListRow(list, 1); // DTCO back out
        EXPECT_EQ(ShownSelected(*list), (std::vector<int>{0}));
        const QPoint cali = list->visualItemRect(list->item(3)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, cali); // CALI added
        EXPECT_EQ(ShownSelected(*list), (std::vector<int>{0, 3}));
        Screenshot("extract-items"); // the list as it is run, and the path
        Click(Control<QPushButton>(dlg, utilities_setup::kIdcRun));
    });
    ChooseMenu(frame, "&Utilities", ID_UTILITIES_TOOLS);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;

    CQtxFile output;
    ASSERT_TRUE(output.OpenRead(out)) << "the output is beside its input";
    CQtxDatumList kept;
    ASSERT_TRUE(output.ReadDatumList(kept));
    std::vector<std::string> mnemonics;
    for (const auto& datum : kept) mnemonics.push_back(datum->m_mnemonic);
    EXPECT_EQ(mnemonics, (std::vector<std::string>{"WAVE", "CALI"}));
    output.CloseInput();
}

} // namespace
