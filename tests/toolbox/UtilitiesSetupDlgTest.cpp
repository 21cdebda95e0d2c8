#include "toolbox/UtilitiesSetupDlg.h"

#include "app/ViewerApp.h"
#include "common/PathLabel.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <set>
#include <utility>
#include <vector>

namespace {

using D = CUtilitiesSetupDlg;
using enum utilities_setup::Control;
using Typed = std::vector<std::pair<int, std::string>>;

// What a task enables besides the controls that are always on: primary depths, primary list, factor,
// splice depth, secondary file, secondary list, density file and list.
enum Uses : unsigned { kNone = 0, kDepth = 1, kList = 2, kFactor = 4, kSplice = 8, kSecFile = 16, kSecList = 32,
                       kDensity = 64 };

std::set<int> EnabledIds(unsigned uses)
{
    std::set<int> ids;
    auto add = [&ids](std::initializer_list<int> more) { ids.insert(more.begin(), more.end()); };
    if (uses & kDepth) add({kIdcPrimaryStart, kIdcPrimaryStartLabel, kIdcPrimaryStop, kIdcPrimaryStopLabel});
    if (uses & kList) add({kIdcPrimaryList});
    if (uses & kFactor) add({kIdcFactor, kIdcFactorLabel});
    if (uses & kSplice) add({kIdcSplice, kIdcSpliceLabel});
    if (uses & kSecFile) add({kIdcSelectSecondary, kIdcSecondaryFile});
    if (uses & kSecList) add({kIdcSecondaryList});
    if (uses & kDensity) add({kIdcSelectDensity, kIdcDensityFile, kIdcDensityList});
    return ids;
}

// Every control the field rules switch, including those that stay off for good.
constexpr int kRuledIds[] = {
    kIdcPrimaryStart, kIdcPrimaryStartLabel, kIdcPrimaryStop, kIdcPrimaryStopLabel, kIdcPrimaryList,
    kIdcFactor, kIdcFactorLabel, kIdcSplice, kIdcSpliceLabel,
    kIdcStartSample, kIdcStartSampleLabel, kIdcStopSample, kIdcStopSampleLabel, kIdcDecimate, kIdcDecimateLabel,
    kIdcSelectSecondary, kIdcSecondaryFile, kIdcSecondaryList, kIdcSecondaryStart, kIdcSecondaryStartLabel,
    kIdcSecondaryStop, kIdcSecondaryStopLabel,
    kIdcSelectDensity, kIdcDensityFile, kIdcDensityList, kIdcDensityStart, kIdcDensityStartLabel, kIdcDensityStop,
    kIdcDensityStopLabel};
constexpr int kAlwaysOn[] = {kIdcTask, kIdcSelectPrimary, kIdcPrimaryFile, kIdcSelectOutput, kIdcOutputFile,
                             kIdcRun, kIdcSaveSetup, kIdcHelp, IDCANCEL};

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
        return dlg.Edit(group);
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

// One task per rule; the entries' codes are checked with the task names.
TEST_F(UtilitiesSetupDlgTest, TaskEntriesEnableTheFieldsTheyUse)
{
    const std::pair<const char*, unsigned> cases[] = {
        {"Extract Depth Range", kDepth},
        {"Convert Depth To Metric", kNone},
        {"Resample Depth", kFactor},
        {"Shift By Factor", kFactor | kList},
        {"Splice At Depth", kSplice | kSecFile},
        {"Compute RMS Average Log", kFactor | kList | kSecFile | kSecList},
        {"Compute Mechanical Properties", kList | kSecFile | kSecList | kDensity},
        {"Reverse Receiver Order", kList},
    };
    DialogScript& s = Script();
    for (const auto& [task, uses] : cases) {
        s.SelectText(kIdcTask, task).Inspect([task = task, uses = uses](CDialog& d) {
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
        Script().Type(kIdcTask, "Typed").Press(kIdcRun);
        D dlg;
        EXPECT_EQ(Run(dlg), D::kRun) << c.stored;
        EXPECT_EQ(dlg.m_nTask, c.index) << c.stored;
        EXPECT_EQ(group.taskName, "Typed");
        EXPECT_EQ(group.taskCode, c.storedCode) << "the task code is the command's to derive";
        EXPECT_EQ(Shown().Item(kIdcSplice)->Enabled(), c.index == 8) << c.stored;
    }
}

TEST_F(UtilitiesSetupDlgTest, OutputIsNamedAfterThePrimaryAndTheTask)
{
    const std::string qtx = Qtx("well.qtx", {Datum("WAV1")});
    const std::string bare = Qtx("bare", {Datum("WAV1")});
    std::filesystem::create_directory(dir.File("v1.2"));
    const std::string dottedFolder = Qtx("v1.2/run", {Datum("WAV1")});

    struct Case {
        std::string task, primary, output, title;
    };
    const Case cases[] = {
        {"Extract Item(s)", qtx, dir.File("well_Task.qtx"), "well_Task.qtx"},
        {"Convert QTX To LAS", qtx, dir.File("well.las"), "well.las"},
        {"Extract Item(s)", bare, "/previous/out.qtx", "out"}, // no dot: kept
        {"Extract Item(s)", dottedFolder, dir.File("v1_Task.qtx"), "run_Task.qtx"},
    };
    for (const auto& c : cases) {
        group.SetDefaults();
        group.taskName = c.task;
        group.outputPath = "/previous/out.qtx";
        group.outputTitle = "out";
        host.ExpectFileDialog("Select Primary File", c.primary);
        Script().Press(kIdcSelectPrimary).Press(kIdcRun);
        D dlg;
        ASSERT_EQ(Run(dlg), D::kRun) << c.primary;
        EXPECT_EQ(dlg.m_setup.outputPath, c.output) << c.task << " " << c.primary;
        EXPECT_EQ(dlg.m_setup.outputTitle, c.title) << c.task << " " << c.primary;
        EXPECT_EQ(Text(kIdcOutputFile), ShortenPathLabel("Output File : ", c.output));
    }

    // A task change renames the output of the stored primary, opening does not.
    Stored(group.primary, qtx);
    group.outputPath = "";
    DialogScript& s = Script();
    s.Inspect([](CDialog& d) { EXPECT_EQ(static_cast<D&>(d).m_setup.outputPath, ""); });
    s.SelectText(kIdcTask, "Convert QTX To SEGY").Inspect([this](CDialog& d) {
        EXPECT_EQ(static_cast<D&>(d).m_setup.outputPath, dir.File("well.segy"));
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
        .Press(kIdcSelectPrimary)
        .Select(kIdcPrimaryList, 1) // SLO3 on
        .Select(kIdcPrimaryList, 2) // CUR6 on
        .Select(kIdcPrimaryList, 2) // and off
        .Select(kIdcPrimaryList, 3) // SEM5 on
        .Press(kIdcRun);
    D dlg;
    ASSERT_EQ(Run(dlg), D::kRun);
    EXPECT_EQ(Lines(kIdcPrimaryList), (std::vector<std::string>{"WAV1", "SLO3", "CUR6", "SEM5"}));
    EXPECT_EQ(Text(kIdcPrimaryStart), "  999.0000");
    EXPECT_EQ(Text(kIdcPrimaryStop), " 1000.0000");

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
        EXPECT_EQ(Lines(kIdcPrimaryList), filled ? V{"WAV1"} : V{}) << task;
        EXPECT_EQ(Lines(kIdcSecondaryList), filled ? V{"SLO3"} : V{}) << task;
        EXPECT_EQ(Lines(kIdcDensityList), filled ? V{"DEN6"} : V{}) << task;
        EXPECT_EQ(Text(kIdcDensityStop), filled ? " 1002.0000" : "") << task; // density depths are not exchanged
        EXPECT_EQ(Text(kIdcDensityFile), "Density Profile : " + group.density.path);
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
        Script().Press(kIdcSelectPrimary).Press(kIdcSelectPrimary).Press(IDCANCEL);
        D dlg;
        Run(dlg);
        EXPECT_EQ(Shown().Item(kIdcPrimaryList)->Count(), c.lines) << c.path;
        EXPECT_EQ(dlg.m_setup.primary.itemCount, c.lines) << c.path;
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
        {{{kIdcPrimaryStart, "-1000.5"}, {kIdcDecimate, "0"}}, "You entered an invalid start depth" + range,
         kIdcPrimaryStart},
        {{{kIdcPrimaryStart, "500"}, {kIdcPrimaryStop, "500"}}, less, kIdcPrimaryStart},
        {{{kIdcPrimaryStop, "50000.5"}}, "You entered an invalid stop depth" + range, kIdcPrimaryStop},
        {{{kIdcSecondaryStart, "20"}, {kIdcSecondaryStop, "10"}, {kIdcSplice, "-2000"}}, less, kIdcSecondaryStart},
        {{{kIdcSplice, "50000.1"}, {kIdcFactor, "6000"}}, "You entered an invalid splice depth" + range, kIdcSplice},
        {{{kIdcFactor, "5000.5"}}, "Please enter a number between -5000 and 5000.", kIdcFactor},
        {{{kIdcStartSample, "10"}, {kIdcStopSample, "9"}, {kIdcDecimate, "0"}}, "You entered an invalid start sample!",
         kIdcStartSample},
        {{{kIdcDecimate, "0"}}, decimate, kIdcDecimate},
        {{{kIdcDecimate, "11"}}, decimate, kIdcDecimate},
    };
    for (const auto& c : cases) {
        host.ClearMessages();
        host.ExpectMessage(c.message);
        Script(c.typed).Press(kIdcRun).Inspect([](CDialog& d) { EXPECT_FALSE(d.Ended()); }).Press(IDCANCEL);
        D dlg;
        EXPECT_EQ(Run(dlg), IDCANCEL) << c.message;
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(Shown().focus, c.focus) << c.message;
    }
}

TEST_F(UtilitiesSetupDlgTest, LimitsAreAcceptedAndBothEndsMayMovePastTheOldStop)
{
    Script({{kIdcPrimaryStart, "-1000"}, {kIdcPrimaryStop, "50000"}, {kIdcSecondaryStart, "60"},
            {kIdcSecondaryStop, "70"}, {kIdcSplice, "-1000"}, {kIdcFactor, "-5000"}, {kIdcStartSample, "7"},
            {kIdcStopSample, "7"}, {kIdcDecimate, "10"}})
        .Press(kIdcSaveSetup);
    group.secondary.stopDepth = 50.0;
    D dlg;
    ASSERT_EQ(Run(dlg), D::kSaveSetup);
    EXPECT_EQ(std::vector<double>({group.primary.startDepth, group.primary.stopDepth, group.secondary.startDepth,
                                   group.secondary.stopDepth, group.spliceDepth, group.factor}),
              std::vector<double>({-1000.0, 50000.0, 60.0, 70.0, -1000.0, -5000.0}));
    EXPECT_EQ(std::vector<int>({group.startSample, group.stopSample, group.decimation}), std::vector<int>({7, 7, 10}));
}

// Run, Enter and Save Setup take the edits and copy the list flags back; Cancel leaves the settings alone.
TEST_F(UtilitiesSetupDlgTest, EndButtonsTakeOrDropTheEdits)
{
    Stored(group.primary, Qtx("p.qtx", {Datum("WAV1"), Datum("WAV2")}));
    group.primary.itemCount = 2;
    group.taskName = "Multiply By Factor"; // factor and list both enabled
    struct Case {
        int button, code; // button 0: Enter
    };
    for (const Case& c :
         {Case{kIdcRun, D::kRun}, Case{0, D::kRun}, Case{kIdcSaveSetup, D::kSaveSetup}, Case{IDCANCEL, IDCANCEL}}) {
        group.factor = 2.5f;
        group.primary.selected.fill(5);
        const UtilitiesSetupGroup before = group;
        DialogScript& s = Script().Type(kIdcFactor, "0.25").Select(kIdcPrimaryList, 0);
        if (c.button) s.Press(c.button);
        else s.Enter();
        D dlg;
        EXPECT_EQ(Run(dlg), c.code) << c.button;
        EXPECT_EQ(dlg.m_setup.primary.selected[0], 1u);
        if (c.code == IDCANCEL) {
            EXPECT_EQ(dlg.m_setup.factor, 2.5f);
            EXPECT_EQ(group, before);
        } else {
            EXPECT_EQ(dlg.m_setup.factor, 0.25f) << c.button;
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
        {"Import TXT Data Set", kIdcSelectPrimary, "Select Primary File", "*.txt", "p", "qtx"},
        {"Convert QTX To SEGY", kIdcSelectOutput, "Select Output File", "*.segy", "ot", "segy"},
    };
    Stored(group.primary, Qtx("p.qtx", {Datum("WAV1")}));
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
        const bool open = c.button != kIdcSelectOutput;
        EXPECT_EQ(o.open, open) << c.title;
        EXPECT_EQ(ParseFileFilter(o.filter).at(0).second, c.pattern) << c.title;
        EXPECT_EQ(o.initialName, c.initialName) << c.title;
        EXPECT_EQ(o.defaultExt, c.defaultExt) << c.title;
        // Cancelling changes nothing but the output extension chosen before browsing.
        EXPECT_EQ(dlg.m_setup.primary.path, group.primary.path);
        EXPECT_EQ(dlg.m_setup.outputPath, "/kept/o");
        EXPECT_EQ(dlg.m_setup.outputExt, open ? "oe" : c.defaultExt);
    }
}

} // namespace
