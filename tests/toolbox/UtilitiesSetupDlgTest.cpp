#include "toolbox/UtilitiesSetupDlg.h"

#include "common/PathLabel.h"
#include "platform/Input.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/LasBuilder.h"
#include "support/QtxBuilder.h"
#include "support/SegyBuilder.h"
#include "support/TempDir.h"
#include "settings/UtilitiesSetupGroup.h"

#include <filesystem>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using D = CUtilitiesSetupDlg;
using enum utilities_setup::Control;
using Typed = std::vector<std::pair<int, std::string>>;
using Lines = std::vector<std::string>;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// One control of each group the field rules switch (a label goes with its field), including
// the sample, decimation, secondary and density depth fields that stay off for good.
constexpr int kRuled[] = {kIdcPrimaryStart, kIdcPrimaryList,    kIdcFactor,        kIdcSplice,
                          kIdcSelectSecondary, kIdcSecondaryList, kIdcSelectDensity, kIdcStartSample,
                          kIdcDecimate,     kIdcSecondaryStart, kIdcDensityStart};

class UtilitiesSetupDlgTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        group.SetDefaults();
    }

    // Texts are set as a leftover would be, since most edits are never enabled.
    DialogScript& Script(const Typed& typed = {})
    {
        DialogScript& s = host.ScriptDialog(kIddUtilitiesSetup);
        for (const auto& [id, text] : typed)
            s.Inspect([id = id, text = text](CDialog& d) { d.SetItemText(id, text); });
        return s;
    }
    const ShownDialog& Shown() const { return *host.LastDialog(kIddUtilitiesSetup); }
    std::string Text(int id) const { return Shown().Item(id)->Text(); }
    Lines List(int id) const
    {
        Lines lines;
        for (int i = 0; i < Shown().Item(id)->Count(); ++i) lines.push_back(Shown().Item(id)->ItemText(i));
        return lines;
    }
    std::string Qtx(const std::string& name, const std::vector<QtxDatumShape>& datums, int frames = 3,
                    double step = 0.5)
    {
        EXPECT_TRUE(WriteQtx(dir.File(name), datums, frames, 1000.0, step));
        return dir.File(name);
    }
    static QtxDatumShape Datum(const std::string& mnemonic, uint8_t category = 1)
    {
        return {.mnemonic = mnemonic, .category = category, .samples = 2};
    }
    TempDir dir;
    UtilitiesSetupGroup group;
};

// One task per rule, and the built tasks; '1' for each control of kRuled that is enabled.
TEST_F(UtilitiesSetupDlgTest, TaskEntriesEnableTheFieldsTheyUse)
{
    const std::pair<const char*, std::string> cases[] = {
        {"Extract Depth Range", "10000000000"},       {"Reverse Depth Order", "00000000000"},
        {"Resample Depth", "00100000000"},            {"Shift By Factor", "01100000000"},
        {"Reverse Receiver Order", "01000000000"},    {"Splice At Depth", "00011000000"},
        {"Compute RMS Average Log", "01101100000"},   {"Compute Mechanical Properties", "01001110000"},
    };
    DialogScript& s = Script();
    for (const auto& [task, enabled] : cases)
        s.SelectText(kIdcTask, task).Inspect([task = task, enabled = enabled](CDialog& d) {
            std::string on;
            for (int id : kRuled) on += d.IsItemEnabled(id) ? '1' : '0';
            EXPECT_EQ(on, enabled) << task;
        });
    s.Press(IDCANCEL);
    D().Edit(group);
}

// The box lists tasks only. A stored name that is no entry shows the stored task's entry,
// or none; with none, Run asks for a task and the dialog stays up.
TEST_F(UtilitiesSetupDlgTest, TheTaskBoxShowsOnlyTasksAndRunNeedsOne)
{
    struct Case {
        const char* name;
        uint16_t code;
        std::string shown; // "": no entry
    };
    const Case cases[] = {
        {"Splice At Depth", 0, "Splice At Depth"},
        {"Typed Text", 14, "Reverse Depth Order"},
        {"Typed Text", 25, ""}, // a task the box does not offer
        {"Typed Text", 0, ""},
    };
    for (const Case& c : cases) {
        group.taskName = c.name;
        group.taskCode = c.code;
        DialogScript& s = Script().Inspect([&c](CDialog& d) {
            const ControlState& box = *d.Item(kIdcTask);
            EXPECT_EQ(box.kind, ControlKind::DropDownList);
            EXPECT_EQ(box.CurSel() < 0 ? std::string() : box.ItemText(box.CurSel()), c.shown) << c.name << c.code;
        });
        if (c.shown.empty()) host.ExpectMessage("Select a task in the task box.");
        s.Press(kIdcRun);
        if (c.shown.empty()) s.Press(IDCANCEL);
        EXPECT_EQ(D().Edit(group), c.shown.empty() ? int(IDCANCEL) : int(D::kRun)) << c.name << c.code;
        if (!c.shown.empty()) {
            EXPECT_EQ(group.taskName, c.shown);
        }
    }
}

// One list is enough: the three lists share the fill and selection code. The output is named
// after the chosen primary.
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
        .Inspect([](CDialog& d) { EXPECT_EQ(d.Item(kIdcPrimaryList)->SelItems(), (std::vector<int>{1, 3})); })
        .Press(kIdcRun);
    ASSERT_EQ(D().Edit(group), D::kRun);
    EXPECT_EQ(List(kIdcPrimaryList), (Lines{"WAV1", "SLO3", "CUR6", "SEM5"}));
    EXPECT_EQ(Text(kIdcPrimaryStart), "999");
    EXPECT_EQ(Text(kIdcPrimaryStop), "1000");
    EXPECT_EQ(group.outputPath, dir.File("p_Task.qtx"));
    EXPECT_EQ(Text(kIdcOutputFile), ShortenPathLabel("Output File : ", group.outputPath));

    // Run copied the flags of the datums read; the entries past them keep their values.
    using V = std::vector<uint32_t>;
    EXPECT_EQ(V(group.primary.listed.begin(), group.primary.listed.begin() + 7), (V{0, 1, 0, 1, 1, 1, 9}));
    EXPECT_EQ(V(group.primary.selected.begin(), group.primary.selected.begin() + 7), (V{0, 0, 0, 1, 0, 1, 9}));
}

// Whatever changes a list's selection (several lines at once, a key that only moves the
// caret, the program), Run and Save Setup hand on the lines it shows selected then.
TEST_F(UtilitiesSetupDlgTest, RunHandsOnTheDatumsTheListsShowSelected)
{
    const std::string primary = Qtx("p.qtx", {Datum("WAV1"), Datum("ODD7", 7), Datum("SLO3", 3), Datum("CUR6", 6)});
    const std::string secondary = Qtx("s.qtx", {Datum("WAV1"), Datum("SLO3", 3)});
    using V = std::vector<uint32_t>;
    const struct {
        const char* what;
        std::function<void(DialogScript&)> act;
        V primary, secondary;
    } cases[] = {
        {"two lines at once", [](DialogScript& s) { s.SelectMany(kIdcPrimaryList, {0, 2}); }, {1, 0, 0, 1}, {0, 0}},
        {"a key moves the caret only",
         [](DialogScript& s) { s.Click(kIdcPrimaryList, 1).Key(kIdcPrimaryList, VK_DOWN).Key(kIdcSecondaryList, VK_DOWN); },
         {0, 0, 1, 0}, {0, 0}},
        {"Space selects the caret's line",
         [](DialogScript& s) { s.Click(kIdcSecondaryList, 0).Key(kIdcSecondaryList, VK_DOWN).Key(kIdcSecondaryList, VK_SPACE); },
         {0, 0, 0, 0}, {1, 1}},
        {"the program clears a list without a notice",
         [](DialogScript& s) {
             s.Click(kIdcPrimaryList, 0).Inspect([](CDialog& d) { d.Item(kIdcPrimaryList)->SetSel(-1, false); });
         },
         {0, 0, 0, 0}, {0, 0}},
    };
    for (const int end : {int(D::kRun), int(D::kSaveSetup)})
        for (const auto& c : cases) {
            group.SetDefaults();
            group.taskName = "Add Waveforms";
            group.primary.path = primary;
            group.secondary.path = secondary;
            DialogScript& s = Script();
            c.act(s);
            s.Press(end);
            ASSERT_EQ(D().Edit(group), end) << c.what;
            EXPECT_EQ(V(group.primary.selected.begin(), group.primary.selected.begin() + 4), c.primary) << c.what;
            EXPECT_EQ(V(group.secondary.selected.begin(), group.secondary.selected.begin() + 2), c.secondary) << c.what;
        }
}

TEST_F(UtilitiesSetupDlgTest, OpeningFillsTheStoredInputsUnlessThePrimaryIsNoDataSet)
{
    group.primary.path = Qtx("p.qtx", {Datum("WAV1")});
    group.secondary.path = Qtx("s.qtx", {Datum("SLO3", 3)});
    group.density.path = Qtx("d.qtx", {Datum("DEN6", 6)}, 2, 2.0);
    for (const auto& [task, filled] : {std::pair{"Extract Item(s)", true}, std::pair{"Convert LAS To QTX", false}}) {
        group.taskName = task;
        Script().Press(IDCANCEL);
        D().Edit(group);
        EXPECT_EQ(List(kIdcPrimaryList), filled ? Lines{"WAV1"} : Lines{}) << task;
        EXPECT_EQ(List(kIdcSecondaryList), filled ? Lines{"SLO3"} : Lines{}) << task;
        EXPECT_EQ(List(kIdcDensityList), filled ? Lines{"DEN6"} : Lines{}) << task;
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
    // A data set that starts at -1 ft and runs up at one foot a frame is listed like any other.
    EXPECT_TRUE(WriteQtx(dir.File("minus.qtx"), {Datum("M1"), Datum("M2"), Datum("M3")}, 3, -1.0, -1.0));
    const std::string minusOne = dir.File("minus.qtx");

    struct Case {
        std::string path;
        std::string message; // empty: none
        int lines;
    };
    const Case cases[] = {
        {shortFile, "Error reading header in file :\n" + shortFile, 2},
        {tooMany, "Encountered more than 256 data items in file :\n" + tooMany + "\nOperation will be abandoned.", 2},
        {most, "", 256},
        {minusOne, "", 3},
    };
    for (const auto& c : cases) {
        host.ExpectFileDialog("Select Primary File", good);
        host.ExpectFileDialog("Select Primary File", c.path);
        if (!c.message.empty()) host.ExpectMessage(c.message);
        Script().Press(kIdcSelectPrimary).Press(kIdcSelectPrimary).Press(IDCANCEL);
        D dlg;
        dlg.Edit(group);
        EXPECT_EQ(Shown().Item(kIdcPrimaryList)->Count(), c.lines) << c.path;
        EXPECT_EQ(dlg.m_setup.primary.itemCount, c.lines) << c.path;
        EXPECT_EQ(dlg.m_setup.primary.path, c.message.empty() ? c.path : good) << c.path;
    }
}

// The first bad field in exchange order is refused and focused; values at the limits pass,
// and both ends of a range may move past the old stop depth.
TEST_F(UtilitiesSetupDlgTest, RunRefusesTheFirstBadFieldInExchangeOrder)
{
    struct Case {
        Typed typed;
        std::string message;
        int focus; // 0: accepted
    };
    const std::string range = "!.\nValid range : -1000.0 - 50000.0 ft.";
    const Case cases[] = {
        {{{kIdcPrimaryStart, "-1000.5"}, {kIdcDecimate, "0"}}, "You entered an invalid start depth" + range,
         kIdcPrimaryStart},
        {{{kIdcSecondaryStart, "20"}, {kIdcSecondaryStop, "10"}, {kIdcSplice, "-2000"}},
         "Start depth must be less then stop depth!", kIdcSecondaryStart},
        {{{kIdcPrimaryStop, "50000.5"}}, "You entered an invalid stop depth" + range, kIdcPrimaryStop},
        {{{kIdcSplice, "50000.1"}, {kIdcFactor, "6000"}}, "You entered an invalid splice depth" + range, kIdcSplice},
        {{{kIdcFactor, "5000.5"}}, "Please enter a number between -5000 and 5000.", kIdcFactor},
        {{{kIdcStartSample, "10"}, {kIdcStopSample, "9"}, {kIdcDecimate, "0"}}, "You entered an invalid start sample!",
         kIdcStartSample},
        {{{kIdcDecimate, "11"}}, "You entered an invalid decimate factor!.\nValid range : 1.0 - 10.0.", kIdcDecimate},
        {{{kIdcPrimaryStart, "-1000"}, {kIdcPrimaryStop, "50000"}, {kIdcSecondaryStart, "60"},
          {kIdcSecondaryStop, "70"}, {kIdcSplice, "-1000"}, {kIdcFactor, "-5000"}, {kIdcStartSample, "7"},
          {kIdcStopSample, "7"}, {kIdcDecimate, "10"}},
         "", 0},
    };
    group.secondary.stopDepth = 50.0;
    for (const auto& c : cases) {
        host.ClearMessages();
        if (c.focus) host.ExpectMessage(c.message);
        DialogScript& s = Script(c.typed).Press(kIdcRun);
        if (c.focus) s.Press(IDCANCEL);
        EXPECT_EQ(D().Edit(group), c.focus ? int(IDCANCEL) : int(D::kRun)) << c.message;
        ASSERT_EQ(host.Messages().size(), c.focus ? 1u : 0u);
        if (!c.focus) continue;
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(Shown().focus, c.focus) << c.message;
    }
    EXPECT_EQ(group.secondary.startDepth, 60.0);
}

// Run, Enter and Save Setup take the edits and copy the list flags back; Cancel leaves the
// settings alone. Cancelled file choices keep the paths.
TEST_F(UtilitiesSetupDlgTest, EndButtonsTakeOrDropTheEdits)
{
    group.primary.path = Qtx("p.qtx", {Datum("WAV1"), Datum("WAV2")});
    group.primary.itemCount = 2;
    group.outputPath = "/kept/o";
    group.taskName = "Multiply By Factor"; // factor and list both enabled
    const std::pair<int, int> cases[] = {{kIdcRun, D::kRun}, {0, D::kRun}, {kIdcSaveSetup, D::kSaveSetup},
                                         {IDCANCEL, IDCANCEL}}; // 0: Enter
    for (const auto& [button, code] : cases) {
        group.factor = 2.5f;
        group.primary.selected.fill(5);
        const UtilitiesSetupGroup before = group;
        host.ExpectFileDialog("Select Primary File", "");
        host.ExpectFileDialog("Select Output File", "");
        DialogScript& s = Script().Press(kIdcSelectPrimary).Press(kIdcSelectOutput);
        s.Type(kIdcFactor, "0.25").Select(kIdcPrimaryList, 0);
        button ? s.Press(button) : s.Enter();
        EXPECT_EQ(D().Edit(group), code) << button;
        if (code == IDCANCEL) {
            EXPECT_EQ(group, before);
            continue;
        }
        EXPECT_EQ(group.factor, 0.25f) << button;
        EXPECT_EQ(group.primary.selected[0], 1u) << button;
        EXPECT_EQ(group.primary.selected[2], 5u) << "past the datums read";
        EXPECT_EQ(group.primary.path, before.primary.path);
        EXPECT_EQ(group.outputPath, "/kept/o");
    }
}

// A task that takes another kind of input than the primary is clears the primary, its
// list and the output proposed for it, so no input of one kind is read as another nor
// proposed as its own output; a task of the same kind keeps them.
TEST_F(UtilitiesSetupDlgTest, AChangeOfTaskKeepsOnlyAPrimaryOfItsKind)
{
    const std::string qtx = Qtx("p.qtx", {Datum("WAV1"), Datum("CUR6", 6)});
    const std::string las = dir.File("w.las"), txt = dir.File("t.txt"), segy = dir.File("s.segy");
    WriteBytes(las, Bytes(LasText(LasShape{})));
    WriteBytes(txt, Bytes(TxtText(TxtShape{})));
    WriteBytes(segy, SegyBytes(SegyShape{}));
    const struct {
        const char* chosenFor; // the task the primary is chosen under
        std::string primary;
        const char* task;      // the task then picked
        bool kept;
        std::string output;    // proposed, when kept
    } cases[] = {
        {"Extract Item(s)", qtx, "Convert QTX To LAS", true, dir.File("p.las")},
        {"Extract Item(s)", qtx, "Convert LAS To QTX", false, ""},
        {"Convert LAS To QTX", las, "Convert QTX To LAS", false, ""},
        {"Convert LAS To QTX", las, "Import TXT Data Set", false, ""},
        {"Import TXT Data Set", txt, "Convert SEGY To QTX", false, ""},
        {"Convert SEGY To QTX", segy, "Convert SEGY To QTX", true, dir.File("s_Task.qtx")},
        {"Convert SEGY To QTX", segy, "Extract Item(s)", false, ""},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.chosenFor) + " to " + c.task;
        group.SetDefaults();
        group.taskName = c.chosenFor;
        host.ExpectFileDialog("Select Primary File", c.primary);
        Script().Press(kIdcSelectPrimary).SelectText(kIdcTask, c.task).Press(kIdcSaveSetup);
        ASSERT_EQ(D().Edit(group), D::kSaveSetup) << what;
        EXPECT_EQ(group.primary.path, c.kept ? c.primary : "") << what;
        EXPECT_EQ(group.outputPath, c.output) << what;
        EXPECT_EQ(Text(kIdcPrimaryFile), ShortenPathLabel("Primary File : ", group.primary.path)) << what;
        EXPECT_EQ(Text(kIdcOutputFile), ShortenPathLabel("Output File : ", group.outputPath)) << what;
        const bool listed = c.kept && c.primary == qtx;
        EXPECT_EQ(List(kIdcPrimaryList), listed ? (Lines{"WAV1", "CUR6"}) : Lines{}) << what;
        EXPECT_EQ(group.primary.itemCount, listed ? 2 : 0) << what;
        EXPECT_EQ(group.primary.listed[0], listed ? 1u : 0u) << what;
    }
}

// Each kind of file picked (under "All Files") as the primary of each kind of task: one
// that does not read as the task's input is refused in one box, and the primary picked
// before, its list and its proposed output stay. A setup kept with such a file (from
// before the rule) opens without it and without a box.
TEST_F(UtilitiesSetupDlgTest, APrimaryIsTakenOnlyWhereItReadsAsTheTasksInput)
{
    const std::string qtx = Qtx("p.qtx", {Datum("WAV1"), Datum("CUR6", 6)});
    const std::string las = dir.File("w.las"), txt = dir.File("t.txt"), segy = dir.File("s.segy");
    const std::string garbage = dir.File("g.qtx"), empty = dir.File("e.las");
    WriteBytes(las, Bytes(LasText(LasShape{})));
    WriteBytes(txt, Bytes(TxtText(TxtShape{})));
    WriteBytes(segy, SegyBytes(SegyShape{}));
    WriteBytes(garbage, Bytes("~Version\nnot a file of any kind\n\x01\x02"));
    WriteBytes(empty, {});
    // The file picked before, of the task's own kind, in a folder of its own.
    const std::string before = dir.File("before");
    std::filesystem::create_directory(before);
    const std::string priorQtx = before + "/prior.qtx";
    ASSERT_TRUE(WriteQtx(priorQtx, {Datum("OLD1")}, 3, 1000.0, 0.5));
    const std::string priorLas = before + "/prior.las", priorTxt = before + "/prior.txt",
                      priorSegy = before + "/prior.segy";
    std::filesystem::copy_file(las, priorLas);
    std::filesystem::copy_file(txt, priorTxt);
    std::filesystem::copy_file(segy, priorSegy);

    const struct {
        const char* task;
        std::string prior, taken; // the task's own kind
    } tasks[] = {
        {"Extract Item(s)", priorQtx, qtx},
        {"Convert LAS To QTX", priorLas, las},
        {"Import TXT Data Set", priorTxt, txt},
        {"Convert SEGY To QTX", priorSegy, segy},
    };
    const auto proposed = [](const std::string& path, const char* task) {
        const std::string stem = path.substr(0, path.rfind('.'));
        return std::string(task) == "Convert QTX To LAS" ? stem + ".las" : stem + "_Task.qtx";
    };
    for (const auto& t : tasks)
        for (const std::string& file : {qtx, las, txt, segy, garbage, empty}) {
            const std::string what = std::string(t.task) + " picks " + file;
            const bool taken = file == t.taken;
            const bool lists = t.prior == priorQtx;
            group.SetDefaults();
            group.taskName = t.task;
            host.ClearMessages();
            host.ExpectFileDialog("Select Primary File", t.prior);
            host.ExpectFileDialog("Select Primary File", file);
            // A data set is named as one by the imports, whose readers would take it for text.
            if (!taken) host.ExpectMessage(file == qtx ? file + "\nThe file is a QTX data set, not a" : file);
            Script().Press(kIdcSelectPrimary).Press(kIdcSelectPrimary).Press(kIdcSaveSetup);
            ASSERT_EQ(D().Edit(group), D::kSaveSetup) << what;
            EXPECT_EQ(host.Messages().size(), taken ? 0u : 1u) << what;
            const std::string primary = taken ? file : t.prior;
            EXPECT_EQ(group.primary.path, primary) << what;
            EXPECT_EQ(Text(kIdcPrimaryFile), ShortenPathLabel("Primary File : ", primary)) << what;
            EXPECT_EQ(group.outputPath, proposed(primary, t.task)) << what;
            const Lines list = !lists ? Lines{} : taken ? Lines{"WAV1", "CUR6"} : Lines{"OLD1"};
            EXPECT_EQ(List(kIdcPrimaryList), list) << what;
            EXPECT_EQ(group.primary.itemCount, int(list.size())) << what;

            // The setup kept with the file, as an earlier version kept it.
            group.primary.path = file;
            group.outputPath = dir.File("out.qtx");
            host.ClearMessages();
            Script().Press(kIdcSaveSetup);
            ASSERT_EQ(D().Edit(group), D::kSaveSetup) << what;
            EXPECT_TRUE(host.Messages().empty()) << what;
            EXPECT_EQ(group.primary.path, taken ? file : "") << what;
            EXPECT_EQ(group.outputPath, taken ? dir.File("out.qtx") : "") << what;
            EXPECT_EQ(List(kIdcPrimaryList), taken && lists ? (Lines{"WAV1", "CUR6"}) : Lines{}) << what;
        }

    // The secondary and density files are data sets alike.
    for (const auto& [button, title, list] :
         {std::tuple{kIdcSelectSecondary, "Select Secondary File", kIdcSecondaryList},
          std::tuple{kIdcSelectDensity, "Select Density File", kIdcDensityList}}) {
        group.SetDefaults();
        group.taskName = "Compute Mechanical Properties";
        host.ExpectFileDialog(title, qtx);
        host.ExpectFileDialog(title, las);
        host.ExpectMessage(las);
        Script().Press(button).Press(button).Press(kIdcSaveSetup);
        ASSERT_EQ(D().Edit(group), D::kSaveSetup) << title;
        EXPECT_EQ(List(list), (Lines{"WAV1", "CUR6"})) << title;
        EXPECT_EQ(button == kIdcSelectSecondary ? group.secondary.path : group.density.path, qtx) << title;
    }
    group.secondary.path = las;
    host.ClearMessages();
    Script().Press(kIdcSaveSetup);
    ASSERT_EQ(D().Edit(group), D::kSaveSetup);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(group.secondary.path, "");
    EXPECT_EQ(group.density.path, qtx);
}

// The output proposed beside the primary is never one of the inputs: where it names the
// secondary, there is none; an output the user chose stays.
TEST_F(UtilitiesSetupDlgTest, AProposedOutputIsNeverAnInput)
{
    const std::string primary = Qtx("p.qtx", {Datum("WAV1")});
    const std::string named = Qtx("p_Task.qtx", {Datum("WAV1")});
    const std::string other = Qtx("o.qtx", {Datum("WAV1")});
    for (const bool chosen : {false, true}) {
        group.SetDefaults();
        group.taskName = "Add Waveforms";
        host.ExpectFileDialog("Select Primary File", primary);
        if (chosen) host.ExpectFileDialog("Select Output File", named);
        host.ExpectFileDialog("Select Secondary File", named);
        DialogScript& s = Script().Press(kIdcSelectPrimary);
        if (chosen) s.Press(kIdcSelectOutput);
        s.Press(kIdcSelectSecondary).Press(kIdcSaveSetup);
        ASSERT_EQ(D().Edit(group), D::kSaveSetup);
        EXPECT_EQ(group.outputPath, chosen ? named : "") << chosen;
    }
    // A secondary that is no output keeps the proposal.
    group.SetDefaults();
    group.taskName = "Add Waveforms";
    host.ExpectFileDialog("Select Primary File", primary);
    host.ExpectFileDialog("Select Secondary File", other);
    Script().Press(kIdcSelectPrimary).Press(kIdcSelectSecondary).Press(kIdcSaveSetup);
    ASSERT_EQ(D().Edit(group), D::kSaveSetup);
    EXPECT_EQ(group.outputPath, named);
}

// The output dialog opens where the output goes: beside the current output, else beside the
// primary input (also right after choosing it), else in the working folder.
TEST_F(UtilitiesSetupDlgTest, OutputDialogStartsInTheOutputsFolder)
{
    const std::string primary = Qtx("p.qtx", {Datum("WAV1")});
    struct Case {
        const char* what;
        std::string output, title, primary;
        bool choosePrimary;
        std::string initial;
    };
    const Case cases[] = {
        {"stored output", "/data/out/o.qtx", "o", primary, false, "/data/out/o"},
        {"no output yet", "", "", primary, false, dir.Path() + "/"},
        {"nothing chosen", "", "o", "", false, "o"},
        {"derived from the primary just chosen", "/data/out/o.qtx", "o", "", true, dir.File("p_Task.qtx")},
        // The dialog opens in the folder of the data set chosen last.
        {"nothing chosen after a primary", "", "o", "", false, dir.File("o")},
    };
    for (const Case& c : cases) {
        group.outputPath = c.output;
        group.outputTitle = c.title;
        group.primary.path = c.primary;
        DialogScript& s = Script();
        if (c.choosePrimary) {
            host.ExpectFileDialog("Select Primary File", primary);
            s.Press(kIdcSelectPrimary);
        }
        host.ExpectFileDialog("Select Output File", "");
        s.Press(kIdcSelectOutput).Press(IDCANCEL);
        D().Edit(group);
        EXPECT_EQ(host.FileDialogs().back().options.initialName, c.initial) << c.what;
    }
}

} // namespace
