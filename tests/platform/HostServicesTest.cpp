#include "platform/Host.h"
#include "support/HostFixture.h"

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
    EXPECT_EQ(GetProfileInt("Other", "Value", 5), 5); // entries are per section
}

TEST_F(HostServicesTest, TheSimulatedMachine)
{
    host.clock = 5000;
    host.clockStepPerPump = 250;
    EXPECT_EQ(Host().TickCount(), 5000u);
    Host().PumpEvents();
    Host().PumpEvents();
    EXPECT_EQ(Host().TickCount(), 5500u);
    EXPECT_EQ(host.PumpCount(), 2);

    EXPECT_EQ(Host().CurrentDirectory(), "/work");
    EXPECT_TRUE(Host().SetCurrentDirectory("/data/well"));
    EXPECT_EQ(Host().CurrentDirectory(), "/data/well");
    host.tempDirectory = "/scratch";
    EXPECT_EQ(Host().TempDirectory(), "/scratch");

    EXPECT_TRUE(Host().ShellOpen("/help/index.html"));
    EXPECT_TRUE(Host().ShellOpen("https://example.org/"));
    EXPECT_EQ(host.ShellOpened(), (std::vector<std::string>{"/help/index.html", "https://example.org/"}));

    host.ExpectFolder("Output", "/data/out");
    host.ExpectFolder("Output", "");
    std::string folder = "/start";
    EXPECT_TRUE(Host().ChooseFolder("Output folder", folder));
    EXPECT_EQ(folder, "/data/out");
    EXPECT_FALSE(Host().ChooseFolder("Output folder", folder));
    EXPECT_EQ(folder, "/data/out");
}

TEST_F(HostServicesTest, MainWindowEnableCalls)
{
    EXPECT_TRUE(Host().HasMainWindow());
    EXPECT_TRUE(Host().IsMainWindowEnabled());
    Host().EnableMainWindow(false);
    EXPECT_FALSE(Host().IsMainWindowEnabled());
    Host().EnableMainWindow(true);
    Host().EnableMainWindow(true);
    EXPECT_TRUE(Host().IsMainWindowEnabled());
    EXPECT_EQ(host.mainDisableCalls, 1);
    EXPECT_EQ(host.mainEnableCalls, 2);
    host.mainWindow = false;
    EXPECT_FALSE(Host().HasMainWindow());
    EXPECT_FALSE(Host().IsMainWindowEnabled());
}

TEST(ScriptedFileDialog, AnUnscriptedOrMismatchedDialogIsReportedAndCancelled)
{
    ScriptedHost local;
    std::vector<std::string> reports;
    local.onUnexpected = [&](const std::string& what) { reports.push_back(what); };
    ScopedHost scope(&local);
    FileDialogOptions options;
    options.title = "Open LIS File";
    EXPECT_FALSE(Host().FileDialog(options).ok);
    local.ExpectFileDialog("Save", "/x.qtx");
    EXPECT_FALSE(Host().FileDialog(options).ok);
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_EQ(local.PendingExpectations().size(), 1u);
    EXPECT_EQ(local.FileDialogs().size(), 2u);
}

} // namespace
