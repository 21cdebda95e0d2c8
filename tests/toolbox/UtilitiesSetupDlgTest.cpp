#include "toolbox/UtilitiesSetupDlg.h"

#include "app/ViewerApp.h"
#include "common/PathLabel.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <utility>
#include <vector>

namespace {

using D = CUtilitiesSetupDlg;
using Typed = std::vector<std::pair<int, std::string>>;

// What a task enables besides the controls that are always on: primary depths, primary list, factor,
// splice depth, secondary file, secondary list, density file and list.
enum Uses : unsigned { kNone = 0, kDepth = 1, kList = 2, kFactor = 4, kSplice = 8, kSecFile = 16, kSecList = 32,
                       kDensity = 64 };

std::set<int> EnabledIds(unsigned uses)
{
    std::set<int> ids;
    auto add = [&ids](std::initializer_list<int> more) { ids.insert(more.begin(), more.end()); };
    if (uses & kDepth) add({1228, 1236, 1229, 1237});
    if (uses & kList) add({1234});
    if (uses & kFactor) add({1231, 1238});
    if (uses & kSplice) add({1241, 1242});
    if (uses & kSecFile) add({1221, 1222});
    if (uses & kSecList) add({1235});
    if (uses & kDensity) add({1243, 1250, 1255});
    return ids;
}

// Every control the field rules switch, including those that stay off for good.
constexpr int kRuledIds[] = {1228, 1236, 1229, 1237, 1234, 1231, 1238, 1241, 1242, 1244, 1247, 1245, 1248,
                             1246, 1249, 1221, 1222, 1235, 1232, 1239, 1233, 1240, 1243, 1250, 1255, 1253,
                             1251, 1254, 1252};
constexpr int kAlwaysOn[] = {1230, 1219, 1220, 1223, 1227, 1224, 1225, 1226, 2};

std::set<int> EnabledRuled(const CDialog& d)
{
    std::set<int> enabled;
    for (int id : kRuledIds)
        if (d.IsItemEnabled(id)) enabled.insert(id);
    return enabled;
}

class UtilitiesSetupDlgTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        group.SetDefaults();
    }

    TempDir dir;
    UtilitiesSetupGroup group;

    DialogScript& Script(const Typed& typed = {})
    {
        DialogScript& s = host.ScriptDialog(kIddUtilitiesSetup);
        // Set as a leftover would, since most edits are never enabled.
        for (const auto& [id, text] : typed)
            s.Inspect([id = id, text = text](CDialog& d) { d.SetItemText(id, text); });
        return s;
    }
    int Run(D& dlg)
    {
        dlg.LoadFrom(group);
        return dlg.DoModal();
    }
    const ShownDialog& Shown() const { return *host.LastDialog(kIddUtilitiesSetup); }
    std::string Text(int id) const { return Shown().Item(id)->Text(); }
    std::vector<std::string> Lines(int id) const
    {
        std::vector<std::string> lines;
        const ControlState* list = Shown().Item(id);
        for (int i = 0; i < list->Count(); ++i) lines.push_back(list->ItemText(i));
        return lines;
    }
    std::string Qtx(const std::string& name, const std::vector<QtxDatumShape>& datums, int frames = 3,
                    double step = 0.5)
    {
        const std::string path = dir.File(name);
        EXPECT_TRUE(WriteQtx(path, datums, frames, 1000.0, step));
        return path;
    }
    static QtxDatumShape Datum(const std::string& mnemonic, uint8_t category = 1)
    {
        return {.mnemonic = mnemonic, .category = category, .samples = 2};
    }
    // Sets a file input as a previous run would have left it.
    static void Stored(ToolInputSelection& input, const std::string& path)
    {
        input.path = path;
        input.title = std::filesystem::path(path).stem().string();
        input.ext = "qtx";
    }
};

TEST_F(UtilitiesSetupDlgTest, EachTaskEntryEnablesTheFieldsItUses)
{
    const unsigned two = kList | kSecFile | kSecList;
    const std::pair<const char*, unsigned> cases[] = {
        {"Extract Depth Range", kDepth}, {"Extract Item(s)", kList}, {"Shift In Depth", kFactor},
        {"Compute Amplitude", kList}, {"Multiply By Factor", kFactor | kList},
        {"Convert Depth To Metric", kNone}, {"Convert Depth To Imperial", kNone},
        {"Splice At Depth", kSplice | kSecFile}, {"Compute VpVs, Poisson Ratio", two},
        {"Convert QTX To LAS", kList}, {"Convert LAS To QTX", kNone},
        {"Convert Slowness To Metric", kNone}, {"Convert Slowness To Imperial", kNone},
        {"Reverse Depth Order", kNone}, {"Import TXT Data Set", kNone}, {"Add Waveforms", two},
        {"Subtract Waveforms", two}, {"Compute Frequency Log", kList}, {"Convert QTX To SEGY", kList},
        {"Convert SEGY To QTX", kNone}, {"Resample Depth", kFactor}, {"Shift By Factor", kFactor | kList},
        {"Overwrite Depth Step", kFactor | kList}, {"Construct LSS Array", kList},
        {"Compute RMS Average Log", kFactor | two}, {"Construct Min-Max Log", two},
        {"Reverse Receiver Order", kList}, {"Construct QTX Data Set", two},
        {"Compute Wave Energy", kFactor | two}, {"Compute Mechanical Properties", two | kDensity},
    };
    DialogScript& s = Script();
    for (const auto& [task, uses] : cases) {
        s.SelectText(1230, task).Inspect([task = task, uses = uses](CDialog& d) {
            EXPECT_EQ(EnabledRuled(d), EnabledIds(uses)) << task;
            for (int id : kAlwaysOn) EXPECT_TRUE(d.IsItemEnabled(id)) << task << " " << id;
        });
    }
    s.Press(IDCANCEL);
    D dlg;
    Run(dlg);
}

TEST_F(UtilitiesSetupDlgTest, OpeningSelectsByPrefixAndAnUnmatchedTextKeepsTheIndex)
{
    struct Case {
        std::string stored;
        uint16_t storedCode;
        int index;
    };
    // No entry begins with "Compute Average Value": the stored index stays.
    for (const Case& c : {Case{"splice", 0, 8}, Case{"Convert", 0, 7}, Case{"Compute Average Value", 25, 25}}) {
        group.taskName = c.stored;
        group.taskCode = c.storedCode;
        // A typed text is no selection: the index and the fields stay.
        Script().Type(1230, "Typed").Press(1224);
        D dlg;
        EXPECT_EQ(Run(dlg), D::kRun) << c.stored;
        EXPECT_EQ(dlg.m_nTask, c.index) << c.stored;
        EXPECT_EQ(dlg.m_strTask, "Typed");
        EXPECT_EQ(Shown().Item(1241)->Enabled(), c.index == 8) << c.stored;
    }
}

TEST_F(UtilitiesSetupDlgTest, OutputIsNamedAfterThePrimaryAndTheTask)
{
    const std::string qtx = Qtx("well.qtx", {Datum("WAV1")});
    const std::string las = dir.File("log.las");
    std::ofstream(las) << "~Version\n";
    const std::string bare = Qtx("bare", {Datum("WAV1")});
    std::filesystem::create_directory(dir.File("v1.2"));
    const std::string dottedFolder = Qtx("v1.2/run", {Datum("WAV1")});

    struct Case {
        std::string task, primary, output, title;
    };
    const Case cases[] = {
        {"Extract Item(s)", qtx, dir.File("well_Task.qtx"), "well_Task.qtx"},
        {"Convert QTX To LAS", qtx, dir.File("well.las"), "well.las"},
        {"Convert QTX To SEGY", qtx, dir.File("well.segy"), "well.segy"},
        {"Convert LAS To QTX", las, dir.File("log_Task.qtx"), "log_Task.qtx"}, // not listed, still named
        {"Extract Item(s)", bare, "/previous/out.qtx", "out"},                   // no dot: kept
        {"Extract Item(s)", dottedFolder, dir.File("v1_Task.qtx"), "run_Task.qtx"},
    };
    for (const auto& c : cases) {
        group.taskName = c.task;
        group.outputPath = "/previous/out.qtx";
        group.outputTitle = "out";
        host.ExpectFileDialog("Select Primary File", c.primary);
        Script().Press(1219).Press(1224);
        D dlg;
        ASSERT_EQ(Run(dlg), D::kRun) << c.primary;
        EXPECT_EQ(dlg.m_strOutputPath, c.output) << c.task << " " << c.primary;
        EXPECT_EQ(dlg.m_strOutputTitle, c.title) << c.task << " " << c.primary;
        EXPECT_EQ(Text(1227), ShortenPathLabel("Output File : ", c.output));
    }

    // A task change renames the output of the stored primary, opening does not.
    Stored(group.primary, qtx);
    group.outputPath = "";
    DialogScript& s = Script();
    s.Inspect([](CDialog& d) { EXPECT_EQ(static_cast<D&>(d).m_strOutputPath, ""); });
    s.SelectText(1230, "Convert QTX To SEGY").Inspect([this](CDialog& d) {
        EXPECT_EQ(static_cast<D&>(d).m_strOutputPath, dir.File("well.segy"));
    });
    s.Press(IDCANCEL);
    D dlg;
    Run(dlg);
}

// One list is enough: the three lists share the fill and toggle code.
TEST_F(UtilitiesSetupDlgTest, ListsShowCategoriesOneToSixAndClicksToggleTheirDatums)
{
    // Unlisted datums sit between listed ones, so line numbers and datum positions differ.
    const std::string primary = Qtx("p.qtx",
                                    {Datum("ZER0", 0), Datum("WAV1", 1), Datum("ODD7", 7), Datum("SLO3", 3),
                                     Datum("CUR6", 6), Datum("SEM5", 5)},
                                    3, -0.5); // depths run up: shown swapped
    group.taskName = "Extract Item(s)";
    group.primary.listed.fill(9);
    group.primary.selected.fill(9);
    host.ExpectFileDialog("Select Primary File", primary);
    Script()
        .Press(1219)
        .Select(1234, 1).Select(1234, 2).Select(1234, 2).Select(1234, 3) // SLO3 on, CUR6 on and off, SEM5 on
        .Press(1224);
    D dlg;
    ASSERT_EQ(Run(dlg), D::kRun);
    EXPECT_EQ(Lines(1234), (std::vector<std::string>{"WAV1", "SLO3", "CUR6", "SEM5"}));
    EXPECT_EQ(Text(1228), "  999.0000");
    EXPECT_EQ(Text(1229), " 1000.0000");

    // Run copied the flags of the datums read; the entries past them keep their values.
    using V = std::vector<uint32_t>;
    EXPECT_EQ(V(group.primary.listed.begin(), group.primary.listed.begin() + 7), (V{0, 1, 0, 1, 1, 1, 9}));
    EXPECT_EQ(V(group.primary.selected.begin(), group.primary.selected.begin() + 7), (V{0, 0, 0, 1, 0, 1, 9}));
}

TEST_F(UtilitiesSetupDlgTest, OpeningFillsTheStoredInputsUnlessThePrimaryIsNoDataSet)
{
    Stored(group.primary, Qtx("p.qtx", {Datum("WAV1")}));
    Stored(group.secondary, Qtx("s.qtx", {Datum("SLO3", 3)}));
    Stored(group.density, Qtx("d.qtx", {Datum("DEN6", 6)}, 2, 2.0));
    for (const auto& [task, filled] : {std::pair{"Extract Item(s)", true}, std::pair{"Convert LAS To QTX", false}}) {
        group.taskName = task;
        Script().Press(IDCANCEL);
        D dlg;
        Run(dlg);
        using V = std::vector<std::string>;
        EXPECT_EQ(Lines(1234), filled ? V{"WAV1"} : V{}) << task;
        EXPECT_EQ(Lines(1235), filled ? V{"SLO3"} : V{}) << task;
        EXPECT_EQ(Lines(1255), filled ? V{"DEN6"} : V{}) << task;
        EXPECT_EQ(Text(1254), filled ? " 1002.0000" : "") << task; // density depths are not exchanged
        EXPECT_EQ(Text(1250), "Density Profile : " + group.density.path);
    }
}

TEST_F(UtilitiesSetupDlgTest, UnreadableOrOversizedDataSetKeepsTheList)
{
    const std::string good = Qtx("good.qtx", {Datum("WAV1"), Datum("WAV2")});
    const std::string shortFile = dir.File("short.qtx");
    WriteBytes(shortFile, {1, 2, 3});
    std::vector<QtxDatumShape> many(257, Datum("MANY"));
    const std::string tooMany = Qtx("many.qtx", many, 1);
    many.pop_back();
    const std::string most = Qtx("most.qtx", many, 1);

    struct Case {
        std::string path;
        std::string message; // empty: none
        int lines;
    };
    const Case cases[] = {
        {shortFile, "Error reading header in file :\n" + shortFile, 2},
        {tooMany, "Encountered more than 256 data items in file :\n" + tooMany + "\nOperation will be abandoned.", 2},
        {most, "", 256},
    };
    for (const auto& c : cases) {
        host.ClearMessages();
        host.ExpectFileDialog("Select Primary File", good);
        host.ExpectFileDialog("Select Primary File", c.path);
        if (!c.message.empty()) host.ExpectMessage(c.message);
        Script().Press(1219).Press(1219).Press(IDCANCEL);
        D dlg;
        Run(dlg);
        EXPECT_EQ(Shown().Item(1234)->Count(), c.lines) << c.path;
        EXPECT_EQ(dlg.m_primary.m_nCount, c.lines) << c.path;
        EXPECT_EQ(host.Messages().size(), c.message.empty() ? 0u : 1u) << c.path;
    }
}

TEST_F(UtilitiesSetupDlgTest, RunRefusesTheFirstBadFieldInExchangeOrder)
{
    struct Case {
        Typed typed;
        std::string message;
        int focus;
    };
    const std::string range = "!.\nValid range : -1000.0 - 50000.0 ft.";
    const std::string less = "Start depth must be less then stop depth!";
    const std::string decimate = "You entered an invalid decimate factor!.\nValid range : 1.0 - 10.0.";
    const Case cases[] = {
        {{{1228, "-1000.5"}, {1246, "0"}}, "You entered an invalid start depth" + range, 1228},
        {{{1228, "500"}, {1229, "500"}}, less, 1228},
        {{{1229, "50000.5"}}, "You entered an invalid stop depth" + range, 1229},
        {{{1232, "60000"}, {1241, "-2000"}}, "You entered an invalid start depth" + range, 1232},
        {{{1232, "20"}, {1233, "10"}}, less, 1232},
        {{{1232, "-1000"}, {1233, "50001"}}, "You entered an invalid stop depth" + range, 1233},
        {{{1241, "50000.1"}, {1231, "6000"}}, "You entered an invalid splice depth" + range, 1241},
        {{{1231, "5000.5"}}, "Please enter a number between -5000 and 5000.", 1231},
        {{{1231, "x"}}, "Please enter a number.", 1231},
        {{{1244, "10"}, {1245, "9"}, {1246, "0"}}, "You entered an invalid start sample!", 1244},
        {{{1245, "40000"}}, "Please enter an integer between -32768 and 32767.", 1245},
        {{{1246, "0"}}, decimate, 1246},
        {{{1246, "11"}}, decimate, 1246},
    };
    for (const auto& c : cases) {
        host.ClearMessages();
        host.ExpectMessage(c.message);
        Script(c.typed).Press(1224).Inspect([](CDialog& d) { EXPECT_FALSE(d.Ended()); }).Press(IDCANCEL);
        D dlg;
        EXPECT_EQ(Run(dlg), IDCANCEL) << c.message;
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(Shown().focus, c.focus) << c.message;
    }
}

TEST_F(UtilitiesSetupDlgTest, LimitsAreAcceptedAndBothEndsMayMovePastTheOldStop)
{
    Script({{1228, "-1000"}, {1229, "50000"}, {1232, "60"}, {1233, "70"}, {1241, "-1000"}, {1231, "-5000"},
            {1244, "7"}, {1245, "7"}, {1246, "10"}})
        .Press(1225);
    group.secondaryStopDepth = 50.0;
    D dlg;
    ASSERT_EQ(Run(dlg), D::kSaveSetup);
    dlg.StoreTo(group);
    EXPECT_EQ(std::vector<double>({group.primaryStartDepth, group.primaryStopDepth, group.secondaryStartDepth,
                                   group.secondaryStopDepth, group.spliceDepth, group.factor}),
              std::vector<double>({-1000.0, 50000.0, 60.0, 70.0, -1000.0, -5000.0}));
    EXPECT_EQ(std::vector<int>({group.startSample, group.stopSample, group.decimation}), std::vector<int>({7, 7, 10}));
}

TEST_F(UtilitiesSetupDlgTest, OneFramePrimaryFailsRunEvenWhenTheTaskIgnoresDepths)
{
    host.ExpectFileDialog("Select Primary File", Qtx("one.qtx", {Datum("WAV1")}, 1));
    host.ExpectMessage("Start depth must be less then stop depth!");
    Script().SelectText(1230, "Convert Depth To Metric").Press(1219).Press(1224).Press(IDCANCEL);
    D dlg;
    EXPECT_EQ(Run(dlg), IDCANCEL);
    EXPECT_EQ(Shown().focus, 1228);
}

// Run, Enter and Save Setup take the edits and copy the list flags back; Cancel leaves the settings alone.
TEST_F(UtilitiesSetupDlgTest, EndButtonsTakeOrDropTheEdits)
{
    Stored(group.primary, Qtx("p.qtx", {Datum("WAV1"), Datum("WAV2")}));
    group.primary.itemCount = 2;
    group.taskName = "Multiply By Factor"; // factor and list both enabled
    group.factor = 2.5f;
    struct Case {
        int button, code; // button 0: Enter
    };
    for (const Case& c : {Case{1224, D::kRun}, Case{0, D::kRun}, Case{1225, D::kSaveSetup}, Case{IDCANCEL, IDCANCEL}}) {
        group.primary.selected.fill(5);
        const UtilitiesSetupGroup before = group;
        DialogScript& s = Script().Type(1231, "0.25").Select(1234, 0);
        if (c.button) s.Press(c.button);
        else s.Enter();
        D dlg;
        EXPECT_EQ(Run(dlg), c.code) << c.button;
        EXPECT_EQ(dlg.m_primary.m_selected[0], 1u);
        if (c.code == IDCANCEL) {
            EXPECT_EQ(dlg.m_fFactor, 2.5f);
            EXPECT_EQ(group, before);
        } else {
            EXPECT_EQ(dlg.m_fFactor, 0.25f) << c.button;
            EXPECT_EQ(group.primary.selected[0], 1u) << c.button;
            EXPECT_EQ(group.primary.selected[2], 5u) << "past the datums read";
        }
    }
}

TEST_F(UtilitiesSetupDlgTest, FileDialogsFollowTheTaskAndCancellingKeepsThePaths)
{
    struct Case {
        std::string task;
        int button;
        std::string title, pattern, initialName, defaultExt;
    };
    const Case cases[] = {
        {"Import TXT Data Set", 1219, "Select Primary File", "*.txt", "p", "qtx"},
        {"Compute Mechanical Properties", 1243, "Select Density File", "*.qtx", "d", "qtx"},
        {"Convert QTX To SEGY", 1223, "Select Output File", "*.segy", "ot", "segy"},
    };
    Stored(group.primary, Qtx("p.qtx", {Datum("WAV1")}));
    Stored(group.density, Qtx("d.qtx", {Datum("WAV1")}));
    group.outputPath = "/kept/o";
    group.outputTitle = "ot";
    group.outputExt = "oe";
    for (const auto& c : cases) {
        group.taskName = c.task;
        host.ExpectFileDialog(c.title, ""); // cancelled
        Script().Press(c.button).Press(IDCANCEL);
        D dlg;
        Run(dlg);
        const FileDialogOptions& o = host.FileDialogs().back().options;
        const bool open = c.button != 1223;
        EXPECT_EQ(o.open, open) << c.title;
        EXPECT_EQ(ParseFileFilter(o.filter).at(0).second, c.pattern) << c.title;
        EXPECT_EQ(o.initialName, c.initialName) << c.title;
        EXPECT_EQ(o.defaultExt, c.defaultExt) << c.title;
        // Cancelling changes nothing but the output extension chosen before browsing.
        EXPECT_EQ(dlg.m_primary.m_strPath, group.primary.path);
        EXPECT_EQ(dlg.m_density.m_strPath, group.density.path);
        EXPECT_EQ(dlg.m_strOutputPath, "/kept/o");
        EXPECT_EQ(dlg.m_strOutputExt, open ? "oe" : c.defaultExt);
    }
}

} // namespace
