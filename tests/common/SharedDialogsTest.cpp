#include "common/QtxDataSetHistoryDlg.h"
#include "common/QtxMnemonicsDlg.h"

#include "dataset/QtxFile.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstring>

namespace {

class HistoryDlgTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("hist.qtx");

    void SetUp() override
    {
        HostTest::SetUp();
        QtxDatumShape d;
        d.mnemonic = "WMNO";
        d.traces = 2;
        d.samples = 8;
        ASSERT_TRUE(WriteQtx(path, {d}, 3));
    }
    void SetHistory(const std::string& text, char fill = ' ')
    {
        CQtxFile f;
        ASSERT_EQ(f.OpenRead(path), 1);
        std::memset(f.m_header.history, fill, qtx::kHistorySize);
        std::memcpy(f.m_header.history, text.data(), std::min(text.size(), qtx::kHistorySize));
        ASSERT_EQ(f.WriteHistory(), 1);
    }
    std::string HistoryBytes()
    {
        const auto bytes = ReadBytes(path);
        return std::string(reinterpret_cast<const char*>(bytes.data()) + 36, qtx::kHistorySize);
    }
    int Run(CQtxDataSetHistoryDlg& dlg)
    {
        dlg.m_path = path;
        return dlg.DoModal();
    }
};

TEST_F(HistoryDlgTest, ShowsTheHistoryWithoutTrailingBlanks)
{
    struct Case {
        std::string stored;
        char fill;
        std::string shown;
    };
    const Case cases[] = {
        {"*** Reverse depth order\r\n*** Shift by factor 2.0", ' ', "*** Reverse depth order\r\n*** Shift by factor 2.0"},
        {"", ' ', " "},   // all blanks show as one blank
        {"", '\0', ""},   // never written
        {"abc  ", '\0', "abc"},
        {std::string(4096, 'x'), ' ', std::string(4096, 'x')},
    };
    for (const auto& c : cases) {
        SetHistory(c.stored, c.fill);
        host.ScriptDialog(kIddHistory).Inspect([&](CDialog& d) {
            EXPECT_EQ(d.GetItemText(kIdcHistoryText), c.shown);
        }).Press(IDOK);
        CQtxDataSetHistoryDlg dlg;
        EXPECT_EQ(Run(dlg), IDOK);
        EXPECT_TRUE(host.LastDialog(kIddHistory)->centered);
    }
}

TEST_F(HistoryDlgTest, SaveRewritesOnlyTheHistoryBlockPaddedWithBlanks)
{
    SetHistory("old history");
    const auto before = ReadBytes(path);
    host.ScriptDialog(kIddHistory).Type(kIdcHistoryText, "0123456789").Press(kIdcSaveHistory);
    host.ExpectMessage("This operation will modify the history.\nWould you like to continue?.", IDYES);
    CQtxDataSetHistoryDlg dlg;
    EXPECT_EQ(Run(dlg), 1103);
    const auto after = ReadBytes(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 36, after.begin()));
    EXPECT_TRUE(std::equal(before.begin() + 4132, before.end(), after.begin() + 4132));
    EXPECT_EQ(HistoryBytes(), "0123456789" + std::string(4086, ' '));
}

TEST_F(HistoryDlgTest, OverlongTextKeepsItsFirst4095Characters)
{
    std::string text(5000, 'h');
    text[4094] = 'E';
    host.ScriptDialog(kIddHistory).Type(kIdcHistoryText, text).Press(kIdcSaveHistory);
    host.ExpectMessage("modify the history", IDYES);
    CQtxDataSetHistoryDlg dlg;
    EXPECT_EQ(Run(dlg), 1103);
    EXPECT_EQ(HistoryBytes(), std::string(4094, 'h') + "E ");
}

TEST_F(HistoryDlgTest, ClearBlanksTheWholeBlockEvenAfterTheTextWasShortened)
{
    SetHistory("*** first step\r\n*** second step\r\n*** third step");
    host.ScriptDialog(kIddHistory).Type(kIdcHistoryText, "abc").Press(kIdcClearHistory);
    host.ExpectMessage("This operation will clear the history.\nWould you like to continue?.", IDYES);
    CQtxDataSetHistoryDlg dlg;
    EXPECT_EQ(Run(dlg), 1104);
    EXPECT_EQ(HistoryBytes(), std::string(4096, ' '));
}

TEST_F(HistoryDlgTest, AnsweringNoLeavesFileAndDialogAsTheyWere)
{
    SetHistory("keep me");
    const auto before = ReadBytes(path);
    host.ScriptDialog(kIddHistory)
        .Type(kIdcHistoryText, "changed")
        .Press(kIdcSaveHistory)
        .Press(kIdcClearHistory)
        .Inspect([](CDialog& d) { EXPECT_FALSE(d.Ended()); })
        .Press(IDCANCEL);
    host.ExpectMessage("modify the history", IDNO);
    host.ExpectMessage("clear the history", IDNO);
    CQtxDataSetHistoryDlg dlg;
    EXPECT_EQ(Run(dlg), IDCANCEL);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(HistoryDlgTest, MissingDataSetShowsAnEmptyHistoryAndWritesNothing)
{
    host.ExpectMessage("Could not open input file :\n" + dir.File("gone.qtx"));
    host.ExpectMessage("modify the history", IDYES);
    host.ExpectMessage("Could not open input file :\n" + dir.File("gone.qtx"));
    host.ScriptDialog(kIddHistory)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(kIdcHistoryText), ""); })
        .Press(kIdcSaveHistory)
        .Press(IDCANCEL);
    CQtxDataSetHistoryDlg dlg;
    dlg.m_path = dir.File("gone.qtx");
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(FileExists(dir.File("gone.qtx")));
}

class MnemonicsDlgTest : public HostTest {};

TEST_F(MnemonicsDlgTest, ReminderListsEightGroupsOfSix)
{
    const std::string text = CQtxMnemonicsDlg::ReminderText();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the text ends with a line end";
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ""), 7);
    EXPECT_EQ(lines[0], "WMNO - Monopole waveform");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "SPNO - Monopole slowness distribution");
    EXPECT_EQ(lines[14], "SMNO - Monopole semblance projection");
    EXPECT_EQ(lines[35], "SPCO - Monopole sembalace peak value");
    EXPECT_EQ(lines[54], "STQD - Quadrupole standard deviation value");
    for (size_t i = 0; i < lines.size(); ++i) {
        if ((i + 1) % 7 != 0) {
            EXPECT_EQ(lines[i].substr(4, 3), " - ") << i;
        }
    }
}

TEST_F(MnemonicsDlgTest, DialogShowsTheReminderReadOnly)
{
    host.ScriptDialog(kIddMnemonics).Press(IDOK);
    CQtxMnemonicsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    const ShownDialog* shown = host.LastDialog(kIddMnemonics);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->caption, "QTX Mnemonics");
    EXPECT_EQ(shown->Item(kIdcMnemonicsText)->Text(), CQtxMnemonicsDlg::ReminderText());
    EXPECT_TRUE(shown->Item(kIdcMnemonicsText)->ReadOnly());
}

} // namespace
