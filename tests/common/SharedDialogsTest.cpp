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
        ASSERT_TRUE(WriteQtx(path, {QtxDatumShape{.mnemonic = "WMNO", .traces = 2, .samples = 8}}, 3));
    }
    void SetHistory(const std::string& text, char fill = ' ')
    {
        CQtxFile f;
        ASSERT_TRUE(f.OpenRead(path).Ok());
        char history[qtx::kHistorySize];
        std::memset(history, fill, qtx::kHistorySize);
        std::memcpy(history, text.data(), std::min(text.size(), qtx::kHistorySize));
        ASSERT_TRUE(f.WriteHistory(history).Ok());
    }
    std::string HistoryBytes() // the block at offset 36
    {
        const auto bytes = ReadBytes(path);
        return std::string(reinterpret_cast<const char*>(bytes.data()) + 36, qtx::kHistorySize);
    }
    int Run(const std::string& file)
    {
        CQtxDataSetHistoryDlg dlg;
        dlg.m_path = file;
        return dlg.DoModal();
    }
};

TEST_F(HistoryDlgTest, ShowsTheHistoryWithoutTrailingBlanks)
{
    const struct {
        std::string stored;
        char fill;
        std::string shown;
    } cases[] = {
        {"*** Reverse depth order\r\n*** Shift by 2.0", ' ', "*** Reverse depth order\r\n*** Shift by 2.0"},
        {"", ' ', " "}, // all blanks show as one blank
        {"", '\0', ""}, // never written
        {"abc  ", '\0', "abc"},
        {std::string(4096, 'x'), ' ', std::string(4096, 'x')}, // no terminator in the block
    };
    for (const auto& c : cases) {
        SetHistory(c.stored, c.fill);
        host.ScriptDialog(kIddHistory)
            .Inspect([&](CDialog& d) { EXPECT_EQ(d.GetItemText(kIdcHistoryText), c.shown); })
            .Press(IDOK);
        EXPECT_EQ(Run(path), IDOK);
    }
}

// Only the 4,096-byte block at offset 36 changes; Save pads the text with blanks and
// keeps at most 4,095 characters of it, Clear blanks the whole block.
TEST_F(HistoryDlgTest, SaveAndClearRewriteOnlyTheHistoryBlock)
{
    std::string overlong(5000, 'h');
    overlong[4094] = 'E';
    const struct {
        std::string typed;
        int button;
        const char* question;
        int code;
        std::string block;
    } cases[] = {
        {"0123456789", kIdcSaveHistory, "This operation will modify the history.\nWould you like to continue?.", 1103,
         "0123456789" + std::string(4086, ' ')},
        {overlong, kIdcSaveHistory, "modify the history", 1103, std::string(4094, 'h') + "E "},
        {"abc", kIdcClearHistory, "This operation will clear the history.\nWould you like to continue?.", 1104,
         std::string(4096, ' ')}, // no tail of the longer old text is left
    };
    for (const auto& c : cases) {
        SetHistory("*** first step\r\n*** second step\r\n*** third step");
        const auto before = ReadBytes(path);
        host.ScriptDialog(kIddHistory).Type(kIdcHistoryText, c.typed).Press(c.button);
        host.ExpectMessage(c.question, IDYES);
        EXPECT_EQ(Run(path), c.code);
        const auto after = ReadBytes(path);
        ASSERT_EQ(after.size(), before.size());
        EXPECT_TRUE(std::equal(before.begin(), before.begin() + 36, after.begin()));
        EXPECT_TRUE(std::equal(before.begin() + 4132, before.end(), after.begin() + 4132));
        EXPECT_EQ(HistoryBytes(), c.block) << c.code;
    }
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
    EXPECT_EQ(Run(path), IDCANCEL);
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
    EXPECT_EQ(Run(dir.File("gone.qtx")), IDCANCEL);
    EXPECT_FALSE(FileExists(dir.File("gone.qtx")));
}

class MnemonicsDlgTest : public HostTest {};

TEST_F(MnemonicsDlgTest, ReminderListsEightGroupsOfSixReadOnly)
{
    const std::string text = CQtxMnemonicsDlg::ReminderText();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the text ends with a line end";
    ASSERT_EQ(lines.size(), 55u);
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].empty(), (i + 1) % 7 == 0) << i;
    EXPECT_EQ(lines[0], "WMNO - Monopole waveform");
    EXPECT_EQ(lines[35], "SPCO - Monopole sembalace peak value");
    EXPECT_EQ(lines[54], "STQD - Quadrupole standard deviation value");

    host.ScriptDialog(kIddMnemonics).Press(IDOK);
    CQtxMnemonicsDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    const ShownDialog* shown = host.LastDialog(kIddMnemonics);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->caption, "QTX Mnemonics");
    EXPECT_EQ(shown->Item(kIdcMnemonicsText)->Text(), text);
    EXPECT_TRUE(shown->Item(kIdcMnemonicsText)->ReadOnly());
}

} // namespace
