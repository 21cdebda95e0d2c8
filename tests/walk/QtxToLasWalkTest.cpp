// QTX mode > Utilities > Tools > Convert QTX To LAS: task, input, curves and output
// chosen on the Utilities Setup dialog; the LAS file holds the chosen curves.
#include "walk/Walk.h"

#include "res/CommandIds.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

TEST_F(Walk, ConvertQtxToLasWritesTheChosenCurves)
{
    TempDir dir;
    const std::string set = dir.File("set.qtx"), las = dir.File("set.las");
    const std::vector<QtxDatumShape> datums = {
        {.mnemonic = "DTCO", .typeCode = 158, .category = 6, .unit = 2},
        {.mnemonic = "GR", .category = 6},
    };
    ASSERT_TRUE(WriteQtx(set, datums, 20, 1000.0, 0.5, [](int frame, int datum, size_t) { return float(datum * 100 + frame); }));
    ChooseMenu(frame, "&File", ID_FILE_QTX);

    User user;
    ChooseToolTask(user, "Convert QTX To LAS", set);
    user.InDialog(kIddUtilitiesSetup, "Utilities Setup: both curves, Select Output", [](QDialog& dlg) {
        auto* list = Control<QListWidget>(dlg, utilities_setup::kIdcPrimaryList);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 2);
        // A multiple-selection list: each plain click adds its line, and the list shows both.
        ClickListRow(list, 0);
        ClickListRow(list, 1);
        EXPECT_TRUE(list->item(0)->isSelected() && list->item(1)->isSelected());
        Click(Control<QPushButton>(dlg, utilities_setup::kIdcSelectOutput));
    });
    user.ChooseFile(las);
    user.InDialog(kIddUtilitiesSetup, "Utilities Setup: Run", [](QDialog& dlg) {
        Screenshot("qtx-to-las"); // the dialog filled in
        Click(Control<QPushButton>(dlg, utilities_setup::kIdcRun));
    });
    ChooseMenu(frame, "&Utilities", ID_UTILITIES_TOOLS);
    ASSERT_TRUE(WaitFor([&] { return user.Done() || !user.stuckAt.empty(); }, 120000));
    ASSERT_TRUE(user.Done()) << "stuck at: " << user.stuckAt;
    const auto bytes = ReadBytes(las);
    const std::string text(bytes.begin(), bytes.end());
    const size_t table = text.find("~A DEPT         DTCO       GR");
    ASSERT_NE(table, std::string::npos) << text;
    EXPECT_NE(text.find(" STRT.F              1000.0000:"), std::string::npos);
    EXPECT_EQ(std::count(text.begin() + ptrdiff_t(table), text.end(), '\n'), 21) << "a line per frame";
    EXPECT_NE(text.find("\n  1009.5000    19.0000   119.0000\n", table), std::string::npos) << text;
}

} // namespace
