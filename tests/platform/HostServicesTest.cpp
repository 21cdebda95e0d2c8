#include "platform/FileChoice.h"
#include "platform/Host.h"
#include "support/HostFixture.h"

#include <tuple>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// A literal with embedded zeros, kept whole.
template <size_t N> std::string Zeros(const char (&text)[N]) { return std::string(text, N - 1); }

TEST(FileFilter, BothFormsGiveTheSamePairs)
{
    const Pairs two = {{"Qtx Data (*.qtx)", "*.qtx"}, {"All Files (*.*)", "*.*"}};
    struct Case {
        std::string filter;
        Pairs expected;
    };
    const Case cases[] = {
        {"Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||", two},
        {"Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*|", two},
        {"Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*", two},
        {Zeros("Qtx Data (*.qtx)\0*.qtx\0All Files (*.*)\0*.*\0\0"), two},
        {Zeros("LIS Files (*.lis;*.tif)\0*.lis;*.tif\0\0"), {{"LIS Files (*.lis;*.tif)", "*.lis;*.tif"}}},
        {"", {}},
        {"||", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseFileFilter(c.filter), c.expected) << c.filter;
}

TEST(FileDialogResult, SplitsTheChosenPathAndAddsTheDefaultExtension)
{
    struct Case {
        const char* chosen;
        const char* defaultExt;
        const char* path;
        const char* fileName;
        const char* title;
        const char* ext;
    };
    const Case cases[] = {
        {"/data/well/run1.qtx", "", "/data/well/run1.qtx", "run1.qtx", "run1", "qtx"},
        {"/data/well/run1", "qtx", "/data/well/run1.qtx", "run1.qtx", "run1", "qtx"},
        {"/data/well/run1.las", "qtx", "/data/well/run1.las", "run1.las", "run1", "las"},
        {"/data.d/run1", "qtx", "/data.d/run1.qtx", "run1.qtx", "run1", "qtx"},
        {"C:\\logs\\deep.well.lis", "", "C:\\logs\\deep.well.lis", "deep.well.lis", "deep.well", "lis"},
        {"C:\\logs\\deep", "lis", "C:\\logs\\deep.lis", "deep.lis", "deep", "lis"},
    };
    for (const auto& c : cases) {
        const FileDialogResult r = MakeFileDialogResult(c.chosen, c.defaultExt);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.path, c.path);
        EXPECT_EQ(r.fileName, c.fileName) << c.chosen;
        EXPECT_EQ(r.title, c.title) << c.chosen;
        EXPECT_EQ(r.ext, c.ext) << c.chosen;
    }
}

using HostServicesTest = HostTest;

TEST_F(HostServicesTest, ProfileIntegersRoundTripAndFallBackToTheDefault)
{
    EXPECT_EQ(GetProfileInt("Settings", "Missing", 42), 42);
    for (int v : {0, -17, 2147483647}) {
        EXPECT_TRUE(WriteProfileInt("Settings", "Value", v));
        EXPECT_EQ(GetProfileInt("Settings", "Value", 42), v);
    }
    EXPECT_EQ(Host().GetProfileString("Settings", "Value", ""), "2147483647");
    host.WriteProfileString("Settings", "Text", "abc");
    EXPECT_EQ(GetProfileInt("Settings", "Text", 9), 9);
    host.WriteProfileString("Settings", "Text", " 12 ");
    EXPECT_EQ(GetProfileInt("Settings", "Text", 9), 12);
    host.WriteProfileString("Settings", "Text", "99999999999"); // beyond int: the default, not a wrapped number
    EXPECT_EQ(GetProfileInt("Settings", "Text", 9), 9);
    EXPECT_EQ(GetProfileInt("Other", "Value", 5), 5); // entries are per section
}

// A file dialog without a folder of its own opens where the user last chose a file of its
// kind, else any file; a cancelled dialog teaches nothing, and a new host starts afresh.
TEST_F(HostServicesTest, FileDialogsOpenInTheFolderLastUsedForTheirKind)
{
    const auto dialog = [](const char* title, const char* filter, const char* name, const char* ext = "") {
        FileDialogOptions o;
        o.title = title;
        o.filter = filter;
        o.initialName = name;
        o.defaultExt = ext;
        return ChooseFile(o);
    };
    const char* lis = "Lis files|*.LIS;*.tap|All files (*.*)|*.*|";
    const char* qtx = "Qtx files (*.qtx)|*.qtx|";
    struct Case {
        const char* title;
        const char* filter;
        const char* name;
        const char* ext;
        std::string chosen; // "": cancelled
        std::string shown;  // the initial name the dialog got
    };
    const Case cases[] = {
        {"lis 1", lis, "", "", "/a/w.lis", ""},
        {"qtx 1", qtx, "x.qtx", "", "", "/a/x.qtx"}, // no qtx yet: the last folder of any kind
        {"qtx 2", qtx, "", "", "/b/o.qtx", "/a/"},
        {"lis 2", lis, "", "", "", "/a/"},
        {"qtx 3", qtx, "/c/given.qtx", "", "", "/c/given.qtx"}, // a folder of its own wins
        {"cmd", "All files (*.*)|*.*|", "s", "CMD", "", "/b/s"}, // no pattern: the extension, else any
        {"qtx 4", qtx, "y", "", "", "/b/y"},
    };
    for (const Case& c : cases) {
        host.ExpectFileDialog(c.title, c.chosen);
        EXPECT_EQ(dialog(c.title, c.filter, c.name, c.ext).ok, !c.chosen.empty()) << c.title;
        EXPECT_EQ(host.FileDialogs().back().options.initialName, c.shown) << c.title;
    }
    ScriptedHost next;
    ScopedHost scope(&next);
    next.ExpectFileDialog("qtx 5", "");
    dialog("qtx 5", qtx, "z");
    EXPECT_EQ(next.FileDialogs().back().options.initialName, "z");
}

// The scripted host must never let an unplanned or mismatched prompt pass silently.
TEST(ScriptedHost, AnswersInOrderAndReportsEveryPromptNobodyPlanned)
{
    ScriptedHost host;
    std::vector<std::string> unexpected;
    host.onUnexpected = [&](const std::string& what) { unexpected.push_back(what); };
    ScopedHost scope(&host);

    host.ExpectMessage("continue?", IDYES);
    host.ExpectMessage("", IDOK);
    EXPECT_EQ(MessageBox("Would you like to continue?.", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(MessageBox("anything"), IDOK);
    EXPECT_TRUE(unexpected.empty());

    // Unscripted boxes take the safe answer; a mismatched one leaves its expectation.
    EXPECT_EQ(MessageBox("Stop?", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox("Save?", MB_YESNOCANCEL), IDCANCEL);
    host.ExpectMessage("Error reading header", IDOK);
    MessageBox("Could not open input file :\n/x");

    // A chosen file takes the default extension only when saving; a cancel gives no path.
    FileDialogOptions options;
    options.title = "Open LIS File";
    options.defaultExt = "qtx";
    for (const auto& [open, chosen, path] : {std::tuple<bool, const char*, const char*>{true, "/d/noext", "/d/noext"},
                                             {false, "/d/copy", "/d/copy.qtx"}, {false, "", ""}}) {
        options.open = open;
        host.ExpectFileDialog("LIS", chosen);
        EXPECT_EQ(Host().FileDialog(options).path, path);
    }
    EXPECT_FALSE(Host().FileDialog(options).ok); // unscripted
    host.ExpectFileDialog("Save", "/x.qtx");
    EXPECT_FALSE(Host().FileDialog(options).ok);
    EXPECT_EQ(unexpected.size(), 5u);
    EXPECT_EQ(host.PendingExpectations().size(), 2u);

    ASSERT_EQ(host.Messages().size(), 5u);
    EXPECT_EQ(host.Messages()[0].caption, "BronteluxViewer");
    EXPECT_EQ(host.Messages()[0].type & MB_ICONMASK, unsigned(MB_ICONQUESTION));
    EXPECT_FALSE(host.Messages()[2].expected);
    EXPECT_EQ(host.FileDialogs().size(), 5u);
}

} // namespace
