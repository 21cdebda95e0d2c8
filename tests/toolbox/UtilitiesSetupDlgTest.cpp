#include "toolbox/UtilitiesSetupDlg.h"

#include "app/ViewerApp.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using D = CUtilitiesSetupDlg;
using Typed = std::vector<std::pair<int, std::string>>;
using Filter = std::vector<std::pair<std::string, std::string>>;

// What a task enables besides the controls that are always on.
enum Uses : unsigned {
    kNone = 0,
    kDepth = 1,     // primary start and stop depth with labels
    kList = 2,      // primary list
    kFactor = 4,    // factor with label
    kSplice = 8,    // splice depth with label
    kSecFile = 16,  // secondary button and label
    kSecList = 32,  // secondary list
    kDensity = 64,  // density button, label and list
};

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

const Filter kQtx{{"Qtx Data (*.qtx)", "*.qtx"}, {"All Files (*.*)", "*.*"}};
const Filter kLas{{"Las Data (*.las)", "*.las"}, {"All Files (*.*)", "*.*"}};
const Filter kTxt{{"Txt Data (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}};
const Filter kSegy{{"Segy Data (*.segy)", "*.segy"}, {"All Files (*.*)", "*.*"}};

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
        DialogScript& s = host.ScriptDialog(D::kIddUtilitiesSetup);
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
    const ShownDialog& Shown() const { return *host.LastDialog(D::kIddUtilitiesSetup); }
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
        QtxDatumShape s;
        s.mnemonic = mnemonic;
        s.category = category;
        s.samples = 2;
        return s;
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
    struct Case {
        const char* task;
        int index;
        unsigned uses;
    };
    const unsigned two = kList | kSecFile | kSecList;
    const Case cases[] = {
        {"Extract Depth Range", 1, kDepth}, {"Extract Item(s)", 2, kList}, {"Shift In Depth", 3, kFactor},
        {"Compute Amplitude", 4, kList}, {"Multiply By Factor", 5, kFactor | kList},
        {"Convert Depth To Metric", 6, kNone}, {"Convert Depth To Imperial", 7, kNone},
        {"Splice At Depth", 8, kSplice | kSecFile}, {"Compute VpVs, Poisson Ratio", 9, two},
        {"Convert QTX To LAS", 10, kList}, {"Convert LAS To QTX", 11, kNone},
        {"Convert Slowness To Metric", 12, kNone}, {"Convert Slowness To Imperial", 13, kNone},
        {"Reverse Depth Order", 14, kNone}, {"Import TXT Data Set", 15, kNone}, {"Add Waveforms", 16, two},
        {"Subtract Waveforms", 17, two}, {"Compute Frequency Log", 18, kList}, {"Convert QTX To SEGY", 19, kList},
        {"Convert SEGY To QTX", 20, kNone}, {"Resample Depth", 21, kFactor}, {"Shift By Factor", 22, kFactor | kList},
        {"Overwrite Depth Step", 23, kFactor | kList}, {"Construct LSS Array", 24, kList},
        {"Compute RMS Average Log", 26, kFactor | two}, {"Construct Min-Max Log", 27, two},
        {"Reverse Receiver Order", 28, kList}, {"Construct QTX Data Set", 29, two},
        {"Compute Wave Energy", 30, kFactor | two}, {"Compute Mechanical Properties", 31, two | kDensity},
    };
    DialogScript& s = Script();
    s.Inspect([](CDialog& d) {
        // The box sorts the resource's entries itself.
        std::vector<std::string> sorted = UtilitiesSetupTaskEntries();
        std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                [](char x, char y) { return std::tolower(x) < std::tolower(y); });
        });
        const ControlState* box = d.Item(1230);
        ASSERT_EQ(box->Count(), 30);
        for (int i = 0; i < 30; ++i) EXPECT_EQ(box->ItemText(i), sorted[size_t(i)]);
    });
    for (const auto& c : cases) {
        s.SelectText(1230, c.task).Inspect([c](CDialog& d) {
            EXPECT_EQ(static_cast<D&>(d).m_nTask, c.index) << c.task;
            EXPECT_EQ(EnabledRuled(d), EnabledIds(c.uses)) << c.task;
            for (int id : kAlwaysOn) EXPECT_TRUE(d.IsItemEnabled(id)) << c.task << " " << id;
        });
    }
    s.Press(IDCANCEL);
    D dlg;
    Run(dlg);
    EXPECT_EQ(Shown().caption, "Utilities Setup");
}

TEST_F(UtilitiesSetupDlgTest, OpeningSelectsByPrefixAndAnUnmatchedTextKeepsTheIndex)
{
    struct Case {
        std::string stored;
        uint16_t storedCode;
        std::string shown;
        int index;
    };
    const Case cases[] = {
        {"splice", 0, "Splice At Depth", 8},
        {"Convert", 0, "Convert Depth To Imperial", 7},
        {"Compute Average Value", 25, "Compute Average Value", 25}, // no entry begins with it
    };
    for (const auto& c : cases) {
        group.taskName = c.stored;
        group.taskCode = c.storedCode;
        // A typed text is no selection: the index and the fields stay.
        Script().Inspect([c](CDialog& d) { EXPECT_EQ(static_cast<D&>(d).m_nTask, c.index) << c.stored; })
            .Type(1230, "Typed")
            .Press(1224);
        D dlg;
        EXPECT_EQ(Run(dlg), D::kRun) << c.stored;
        EXPECT_EQ(Text(1230), "Typed");
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
        {"Extract Item(s)", bare, "/previous/out.qtx", "out"},
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
        EXPECT_EQ(Text(1220), ShortenPathLabel("Primary File : ", c.primary));
        EXPECT_EQ(dlg.m_strOutputPath, c.output) << c.task << " " << c.primary;
        EXPECT_EQ(dlg.m_strOutputTitle, c.title) << c.task << " " << c.primary;
        EXPECT_EQ(Text(1227), ShortenPathLabel("Output File : ", c.output));
    }

    // A task change renames the output of the stored primary, opening does not.
    Stored(group.primary, qtx);
    group.outputPath = "";
    DialogScript& s = Script();
    s.Inspect([](CDialog& d) { EXPECT_EQ(static_cast<D&>(d).m_strOutputPath, ""); });
    const std::pair<std::string, std::string> renames[] = {{"Convert QTX To SEGY", "well.segy"},
                                                           {"Shift In Depth", "well_Task.qtx"}};
    for (const auto& [task, name] : renames)
        s.SelectText(1230, task).Inspect([this, name = name](CDialog& d) {
            EXPECT_EQ(static_cast<D&>(d).m_strOutputPath, dir.File(name));
            EXPECT_EQ(d.GetItemText(1227), ShortenPathLabel("Output File : ", dir.File(name)));
        });
    s.Press(IDCANCEL);
    D dlg;
    Run(dlg);
}

TEST_F(UtilitiesSetupDlgTest, ListsShowCategoriesOneToSixAndClicksToggleTheirDatums)
{
    // Unlisted datums sit between listed ones, so line numbers and datum positions differ.
    const std::string primary = Qtx("p.qtx",
                                    {Datum("ZER0", 0), Datum("WAV1", 1), Datum("ODD7", 7), Datum("SLO3", 3),
                                     Datum("CUR6", 6), Datum("SEM5", 5)},
                                    3, -0.5); // depths run up: shown swapped
    const std::string secondary = Qtx("s.qtx", {Datum("TWO2", 2), Datum("AZI4", 4)});
    const std::string density = Qtx("d.qtx", {Datum("NIL8", 8), Datum("DEN6", 6)});
    group.taskName = "Compute Mechanical Properties";
    for (auto* input : {&group.primary, &group.secondary, &group.density}) {
        input->listed.fill(9);
        input->selected.fill(9);
    }
    host.ExpectFileDialog("Select Primary File", primary);
    host.ExpectFileDialog("Select Secondary File", secondary);
    host.ExpectFileDialog("Select Density File", density);
    Script()
        .Press(1219).Press(1221).Press(1243)
        .Select(1234, 1).Select(1234, 2).Select(1234, 2).Select(1234, 3) // SLO3 on, CUR6 on and off, SEM5 on
        .Select(1235, 0)                                                   // TWO2 on
        .Select(1255, 0).Select(1255, 0)                                   // DEN6 on and off
        .Press(1224);
    D dlg;
    ASSERT_EQ(Run(dlg), D::kRun);
    EXPECT_EQ(Lines(1234), (std::vector<std::string>{"WAV1", "SLO3", "CUR6", "SEM5"}));
    EXPECT_EQ(Lines(1235), (std::vector<std::string>{"TWO2", "AZI4"}));
    EXPECT_EQ(Lines(1255), (std::vector<std::string>{"DEN6"}));
    EXPECT_EQ(dlg.m_primary.m_nListIndex, 3);
    EXPECT_EQ(Text(1228), "  999.0000");
    EXPECT_EQ(Text(1229), " 1000.0000");
    EXPECT_EQ(Text(1253), " 1000.0000");
    EXPECT_EQ(Text(1254), " 1001.0000");
    EXPECT_EQ(Text(1250), ShortenPathLabel("Density File : ", density));

    // Run copied the flags of the datums read; the entries past them keep their values.
    auto flags = [](const std::array<uint32_t, kToolBoxFlagCount>& a, size_t n) {
        return std::vector<uint32_t>(a.begin(), a.begin() + long(n));
    };
    using V = std::vector<uint32_t>;
    EXPECT_EQ(flags(group.primary.listed, 7), (V{0, 1, 0, 1, 1, 1, 9}));
    EXPECT_EQ(flags(group.primary.selected, 7), (V{0, 0, 0, 1, 0, 1, 9}));
    EXPECT_EQ(flags(group.secondary.listed, 3), (V{1, 1, 9}));
    EXPECT_EQ(flags(group.secondary.selected, 3), (V{1, 0, 9}));
    EXPECT_EQ(flags(group.density.listed, 3), (V{0, 1, 9}));
    EXPECT_EQ(flags(group.density.selected, 3), (V{0, 0, 9}));

    dlg.StoreTo(group);
    EXPECT_EQ(std::vector<int>({group.primary.itemCount, group.secondary.itemCount, group.density.itemCount}),
              std::vector<int>({6, 2, 2}));
    EXPECT_EQ(std::vector<double>({group.primaryStartDepth, group.primaryStopDepth, group.densityStartDepth,
                                   group.densityStopDepth}),
              std::vector<double>({999.0, 1000.0, 1000.0, 1001.0}));
    EXPECT_EQ(group.primary.title, "p");
}

TEST_F(UtilitiesSetupDlgTest, CancelKeepsTheSettingsFlags)
{
    Stored(group.primary, Qtx("p.qtx", {Datum("WAV1"), Datum("WAV2")}));
    group.primary.itemCount = 2;
    group.primary.selected.fill(5);
    const UtilitiesSetupGroup before = group;
    Script().Select(1234, 0).Press(IDCANCEL);
    D dlg;
    EXPECT_EQ(Run(dlg), IDCANCEL);
    EXPECT_EQ(dlg.m_primary.m_selected[0], 1u);
    EXPECT_EQ(group, before);
}

TEST_F(UtilitiesSetupDlgTest, OpeningFillsTheStoredInputsUnlessThePrimaryIsNoDataSet)
{
    Stored(group.primary, Qtx("p.qtx", {Datum("WAV1")}));
    Stored(group.secondary, Qtx("s.qtx", {Datum("SLO3", 3)}));
    Stored(group.density, Qtx("d.qtx", {Datum("DEN6", 6)}, 2, 2.0));
    struct Case {
        std::string task;
        bool filled;
    };
    for (const auto& c : {Case{"Extract Item(s)", true}, Case{"Convert LAS To QTX", false},
                          Case{"Import TXT Data Set", false}, Case{"Convert SEGY To QTX", false},
                          Case{"Convert Depth To Metric", true}}) {
        group.taskName = c.task;
        Script().Press(IDCANCEL);
        D dlg;
        Run(dlg);
        using V = std::vector<std::string>;
        EXPECT_EQ(Lines(1234), c.filled ? V{"WAV1"} : V{}) << c.task;
        EXPECT_EQ(Lines(1235), c.filled ? V{"SLO3"} : V{}) << c.task;
        EXPECT_EQ(Lines(1255), c.filled ? V{"DEN6"} : V{}) << c.task;
        EXPECT_EQ(Text(1253), c.filled ? " 1000.0000" : "") << c.task; // density depths are not exchanged
        EXPECT_EQ(Text(1254), c.filled ? " 1002.0000" : "") << c.task;
        EXPECT_EQ(Text(1228), c.filled ? " 1000.0000" : "1") << c.task;
        EXPECT_EQ(Text(1220), "Primary File : " + group.primary.path);
        EXPECT_EQ(Text(1222), "Secondary File : " + group.secondary.path);
        EXPECT_EQ(Text(1250), "Density Profile : " + group.density.path);
    }
}

TEST_F(UtilitiesSetupDlgTest, UnreadableOrOversizedDataSetKeepsTheList)
{
    const std::string good = Qtx("good.qtx", {Datum("WAV1"), Datum("WAV2")});
    const std::string shortFile = dir.File("short.qtx");
    WriteBytes(shortFile, {1, 2, 3});
    QtxFileHeader header;
    header.topDepth = -1.0;
    const std::string noTop = dir.File("notop.qtx");
    WriteBytes(noTop, RawQtx(header, {}));
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
        {noTop, "", 2},
        {tooMany,
         "Encountered more than 256 data items in file :\n" + tooMany + "\nOperation will be abandoned.", 2},
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
        EXPECT_EQ(dlg.m_primary.m_strPath, c.path);
        if (!c.message.empty()) {
            ASSERT_EQ(host.Messages().size(), 1u);
            EXPECT_EQ(host.Messages()[0].type & MB_ICONMASK, unsigned(MB_ICONSTOP)) << c.path;
            EXPECT_EQ(Text(1229), " 1001.0000") << c.path;
        }
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
        EXPECT_EQ(host.Messages()[0].text, c.message);
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

TEST_F(UtilitiesSetupDlgTest, EndButtonsAndTheSettingsRoundTrip)
{
    group.taskName = "Shift In Depth";
    group.taskCode = 3;
    group.primary.itemCount = 3;
    group.primary.listed[1] = 1;
    group.primary.selected[1] = 1;
    group.secondaryStartDepth = 10.0;
    group.secondaryStopDepth = 20.0;
    group.densityStartDepth = 5.0;
    group.densityStopDepth = 6.0;
    group.outputPath = "/out/run.qtx";
    group.outputTitle = "run";
    group.outputExt = "qtx";
    group.spliceDepth = 1234.5;
    group.factor = 2.5f;
    group.startSample = 3;
    group.stopSample = 7;
    group.decimation = 4;

    struct Case {
        int button; // 0: Enter
        int code;
        float factor;
    };
    for (const Case& c : {Case{1224, D::kRun, 0.25f}, Case{0, D::kRun, 0.25f}, Case{1225, D::kSaveSetup, 0.25f},
                          Case{IDCANCEL, IDCANCEL, 2.5f}}) {
        DialogScript& s = Script().Type(1231, "0.25");
        if (c.button) s.Press(c.button);
        else s.Enter();
        D dlg;
        EXPECT_EQ(Run(dlg), c.code) << c.button;
        EXPECT_EQ(dlg.m_fFactor, c.factor) << c.button;
    }

    // Unchanged values come back as they went in.
    Script().Press(1224);
    D dlg;
    ASSERT_EQ(Run(dlg), D::kRun);
    UtilitiesSetupGroup out = group;
    out.primary.listed[1] = 0;
    dlg.StoreTo(out);
    EXPECT_EQ(out, group);
}

TEST_F(UtilitiesSetupDlgTest, FileDialogsFollowTheTask)
{
    struct Case {
        std::string task;
        int button;
        std::string title;
        bool open;
        unsigned flags;
        Filter filter;
        std::string initialName, defaultExt;
    };
    const unsigned openFlags = kHideReadOnly | kPathMustExist | kFileMustExist;
    const unsigned saveFlags = kHideReadOnly | kOverwritePrompt | kPathMustExist;
    const Case cases[] = {
        {"Extract Item(s)", 1219, "Select Primary File", true, openFlags, kQtx, "pt", "pe"},
        {"Convert LAS To QTX", 1219, "Select Primary File", true, openFlags, kLas, "pt", "pe"},
        {"Import TXT Data Set", 1219, "Select Primary File", true, openFlags, kTxt, "pt", "pe"},
        {"Convert SEGY To QTX", 1219, "Select Primary File", true, openFlags, kSegy, "pt", "pe"},
        {"Splice At Depth", 1221, "Select Secondary File", true, openFlags, kQtx, "st", "se"},
        {"Compute Mechanical Properties", 1243, "Select Density File", true, openFlags, kQtx, "dt", "de"},
        {"Extract Item(s)", 1223, "Select Output File", false, saveFlags, kQtx, "ot", "qtx"},
        {"Convert QTX To LAS", 1223, "Select Output File", false, saveFlags, kLas, "ot", "las"},
        {"Convert QTX To SEGY", 1223, "Select Output File", false, saveFlags, kSegy, "ot", "segy"},
    };
    const std::pair<ToolInputSelection*, std::string> inputs[] = {
        {&group.primary, "p"}, {&group.secondary, "s"}, {&group.density, "d"}};
    for (const auto& [input, letter] : inputs) {
        input->path = "/kept/" + letter;
        input->title = letter + "t";
        input->ext = letter + "e";
    }
    group.outputPath = "/kept/o";
    group.outputTitle = "ot";
    group.outputExt = "oe";
    for (const auto& c : cases) {
        group.taskName = c.task;
        host.ExpectFileDialog(c.title, ""); // cancelled
        Script().Press(c.button).Press(IDCANCEL);
        D dlg;
        // Stored paths that are not data sets: opening lists them with a message each.
        const bool lists = c.task != "Convert LAS To QTX" && c.task != "Import TXT Data Set" &&
                           c.task != "Convert SEGY To QTX";
        if (lists)
            for (const char* letter : {"p", "s", "d"})
                host.ExpectMessage(std::string("Could not open input file :\n/kept/") + letter);
        Run(dlg);
        const FileDialogOptions& o = host.FileDialogs().back().options;
        EXPECT_EQ(o.title, c.title);
        EXPECT_EQ(o.open, c.open) << c.title;
        EXPECT_EQ(o.flags, c.flags) << c.title;
        EXPECT_EQ(ParseFileFilter(o.filter), c.filter) << c.task << " " << c.title;
        EXPECT_EQ(o.initialName, c.initialName) << c.title;
        EXPECT_EQ(o.defaultExt, c.defaultExt) << c.title;
        // Cancelling changes nothing but the output extension chosen before browsing.
        EXPECT_EQ(dlg.m_primary.m_strPath, "/kept/p");
        EXPECT_EQ(dlg.m_secondary.m_strPath, "/kept/s");
        EXPECT_EQ(dlg.m_density.m_strPath, "/kept/d");
        EXPECT_EQ(dlg.m_strOutputPath, "/kept/o");
        EXPECT_EQ(dlg.m_strOutputExt, c.open ? "oe" : c.defaultExt);
        EXPECT_EQ(Text(1227), "Output File : /kept/o");
        EXPECT_EQ(Text(1250), "Density Profile : /kept/d");
    }
}

TEST_F(UtilitiesSetupDlgTest, HelpShowsContextSixteen)
{
    const std::string saved = theApp.m_helpPath;
    theApp.m_helpPath = dir.File("BronteluxHtmlHelp.htm");
    host.tempDirectory = dir.Path();
    Script().Press(1226).Press(IDCANCEL);
    D dlg;
    Run(dlg);
    ASSERT_EQ(host.ShellOpened().size(), 1u);
    std::ifstream in(host.ShellOpened().back(), std::ios::binary);
    std::ostringstream page;
    page << in.rdbuf();
    EXPECT_EQ(page.str(), RedirectPageText(*LocalHelpUrl(theApp.m_helpPath, "", kHelpContext, 16)));
    theApp.m_helpPath = saved;
}

} // namespace
