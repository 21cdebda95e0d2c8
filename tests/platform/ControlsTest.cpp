#include "platform/Controls.h"
#include "platform/Input.h"
#include "support/HostFixture.h"
#include "TestDialog.h"

namespace {

ControlState Make(ControlKind kind, unsigned style = 0) { return ControlState(ControlTemplate{1, kind, "", 0, style}); }

std::vector<std::string> Items(const ControlState& c)
{
    std::vector<std::string> out;
    for (int i = 0; i < c.Count(); ++i) out.push_back(c.ItemText(i));
    return out;
}

// ---- lists and combos ----------------------------------------------------------------

TEST(ComboBox, SortedKeepsCaseInsensitiveOrderAndSelectsByPrefix)
{
    ControlState c = Make(ControlKind::ComboBox, kSorted);
    EXPECT_EQ(c.AddString("delta"), 0);
    EXPECT_EQ(c.AddString("Alpha"), 0);
    EXPECT_EQ(c.AddString("charlie"), 1);
    EXPECT_EQ(c.AddString("Bravo"), 1);
    EXPECT_EQ(Items(c), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));

    EXPECT_EQ(c.SelectString(-1, "CH"), 2);
    EXPECT_EQ(c.Text(), "charlie");
    EXPECT_EQ(c.SelectString(-1, "zulu"), -1);
    EXPECT_EQ(c.CurSel(), 2);
    EXPECT_EQ(c.FindStringPrefix(3, "a"), 0); // the search wraps past the end
    EXPECT_EQ(c.FindStringExact(-1, "BRAVO"), 1);
    EXPECT_EQ(c.FindStringExact(-1, "Brav"), -1);

    // Clearing the selection keeps the typed text of an editable combo only;
    // emptying the list empties it too.
    c.SetCurSel(-1);
    EXPECT_EQ(c.Text(), "charlie");
    c.ResetContent();
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(c.Text(), "");
    ControlState list = Make(ControlKind::DropDownList);
    for (const char* s : {"Feet", "meters", "Alpha"}) list.AddString(s);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Feet", "meters", "Alpha"}));
    list.SetCurSel(1);
    EXPECT_EQ(list.Text(), "meters");
    list.SetCurSel(-1);
    EXPECT_EQ(list.Text(), "");
}

TEST(ListBox, SelectionAndItemDataFollowInsertsAndDeletes)
{
    struct Case {
        int selected;
        int deleted;
        int countLeft; // -1: nothing deleted
        int selectedAfter;
    };
    const Case cases[] = {
        {2, 0, 3, 1}, {2, 2, 3, -1}, {2, 3, 3, 2}, {2, 4, -1, 2}, {-1, 1, 3, -1},
    };
    for (const auto& c : cases) {
        ControlState list = Make(ControlKind::ListBox);
        for (const char* s : {"a", "b", "c", "d"}) list.AddString(s);
        for (int i = 0; i < 4; ++i) list.SetItemData(i, 100 + i);
        list.SetCurSel(c.selected);
        EXPECT_EQ(list.DeleteString(c.deleted), c.countLeft) << c.deleted;
        EXPECT_EQ(list.CurSel(), c.selectedAfter) << c.deleted;
        if (c.selectedAfter >= 0) {
            EXPECT_EQ(list.ItemData(c.selectedAfter), 102);
        }
    }

    ControlState list = Make(ControlKind::ListBox);
    for (const char* s : {"a", "b"}) list.AddString(s);
    EXPECT_EQ(list.SetCurSel(1), 1);
    list.InsertString(0, "z");
    EXPECT_EQ(list.CurSel(), 2);
    EXPECT_EQ(list.ItemText(list.CurSel()), "b");
    EXPECT_EQ(list.SetCurSel(7), -1);
    EXPECT_EQ(list.CurSel(), -1);
    EXPECT_EQ(list.ItemData(9), -1);
    EXPECT_FALSE(list.SetItemData(9, 1));
}

TEST(ListBox, MultipleSelection)
{
    ControlState list = Make(ControlKind::MultiListBox);
    for (const char* s : {"a", "b", "c", "d", "e"}) list.AddString(s);
    EXPECT_TRUE(list.SetSel(1, true));
    EXPECT_TRUE(list.SetSel(3, true));
    EXPECT_FALSE(list.SetSel(9, true));
    list.DeleteString(1); // the flags move with their items
    EXPECT_EQ(list.SelItems(), (std::vector<int>{2}));
    EXPECT_EQ(list.ItemText(2), "d");

    list.SetCaretIndex(3);
    list.DeleteString(3);
    EXPECT_EQ(list.CaretIndex(), 2);

    list.SetSel(-1, true);
    EXPECT_EQ(list.SelCount(), 3);
    list.SetSel(-1, false);
    EXPECT_EQ(list.SelCount(), 0);
}

// The user's clicks and keys where nothing is to be had, and after the program's own
// changes: a Shift range adds to what the program selected, and lines that come or go
// leave no anchor behind.
TEST(ListBox, ClicksAndKeysOutsideTheLinesOrAfterTheProgramsChanges)
{
    ControlState empty = Make(ControlKind::MultiListBox);
    EXPECT_FALSE(empty.ClickLine(0, 0));
    EXPECT_FALSE(empty.PressListKey(VK_DOWN, 0));
    EXPECT_EQ(empty.CaretIndex(), -1);

    ControlState single = Make(ControlKind::ListBox);
    for (const char* s : {"a", "b", "c"}) single.AddString(s);
    EXPECT_FALSE(single.ClickLine(3, 0));
    EXPECT_FALSE(single.ClickLine(-1, 0));
    EXPECT_TRUE(single.PressListKey(VK_DOWN, 0)) << "no caret yet: the first line";
    EXPECT_EQ(single.CurSel(), 0);
    EXPECT_FALSE(single.PressListKey(VK_UP, 0)) << "already at the top";
    EXPECT_FALSE(single.PressListKey(VK_SPACE, 0));
    EXPECT_FALSE(single.PressListKey(VK_F1, 0));

    ControlState list = Make(ControlKind::MultiListBox, kExtendedSel);
    for (const char* s : {"a", "b", "c", "d", "e", "f"}) list.AddString(s);
    list.ClickLine(1, 0);
    list.SetSel(5, true); // the program adds a line
    EXPECT_TRUE(list.ClickLine(3, MK_SHIFT));
    EXPECT_EQ(list.SelItems(), (std::vector<int>{1, 2, 3, 5}));
    list.DeleteString(0);
    EXPECT_TRUE(list.ClickLine(3, MK_SHIFT)) << "the anchor's line went: the range is the line";
    EXPECT_EQ(list.SelItems(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(list.ClickLine(4, MK_CONTROL));
    EXPECT_TRUE(list.ClickLine(0, MK_SHIFT | MK_CONTROL)) << "Ctrl+Shift extends from the anchor as Shift does";
    EXPECT_EQ(list.SelItems(), (std::vector<int>{0, 1, 2, 3, 4}));
    list.ResetContent();
    EXPECT_FALSE(list.PressListKey(VK_SPACE, 0));
}

// ---- tree and progress bar ----------------------------------------------------------------

TEST(Tree, NodesKeepTheirParentsAndRefuseUnknownHandles)
{
    ControlState tree = Make(ControlKind::Tree);
    const int tool = tree.InsertNode("Tool", 0);
    const int receivers = tree.InsertNode("Receivers", 1, tool);
    const int sources = tree.InsertNode("Transmitters", 2, tool);
    const int r1 = tree.InsertNode("R1", 3, receivers);
    const int loose = tree.InsertNode("Loose", 4, 999); // a missing parent makes a root
    EXPECT_EQ(tree.Children(0), (std::vector<int>{tool, loose}));
    EXPECT_EQ(tree.Children(tool), (std::vector<int>{receivers, sources}));
    EXPECT_EQ(tree.Node(r1)->parent, receivers);
    EXPECT_TRUE(tree.SetNodeText(sources, "Sources"));
    EXPECT_EQ(tree.FindNode("Sources"), sources);
    EXPECT_EQ(tree.FindNode("Transmitters"), 0);
    for (int handle : {999, 0}) {
        EXPECT_FALSE(tree.ExpandNode(handle));
        EXPECT_FALSE(tree.SetNodeText(handle, "x"));
        EXPECT_FALSE(tree.SetFirstVisibleNode(handle));
    }
    EXPECT_FALSE(tree.SelectNode(999)); // 0 clears the selection
    tree.SelectNode(r1);
    tree.SetFirstVisibleNode(receivers);
    tree.DeleteAllNodes();
    EXPECT_TRUE(tree.Nodes().empty());
    EXPECT_EQ(tree.SelectedNode(), 0);
    EXPECT_EQ(tree.FirstVisibleNode(), 0);
}

TEST(ProgressBar, ThirtyTwoBitRangeAndWrappingSteps)
{
    struct Case {
        int lower, upper, pos, step, after;
    };
    const Case cases[] = {
        {0, 200000, 100000, 50000, 150000},
        {0, 200000, 150000, 50000, 200000}, // reaching the upper bound is not past it
        {0, 200000, 200000, 50000, 50000},
        {100, 200, 190, 30, 120},
        {0, 100, 95, 10, 5},
        {-50, 50, 40, 20, -40},
        {-2000000000, 2000000000, 1900000000, 2000000000, -100000000}, // no overflow
    };
    for (const auto& c : cases) {
        ControlState b = Make(ControlKind::ProgressBar);
        b.SetRange(c.lower, c.upper);
        b.SetPos(c.pos);
        b.SetStep(c.step);
        EXPECT_EQ(b.StepIt(), c.pos);
        EXPECT_EQ(b.Pos(), c.after) << c.lower << ".." << c.upper << " +" << c.step;
    }
    ControlState bar = Make(ControlKind::ProgressBar);
    bar.SetRange(0, 200000);
    EXPECT_EQ(bar.SetPos(250000), 0);
    EXPECT_EQ(bar.Pos(), 200000);
    bar.SetRange(0, 10); // a narrower range pulls the position in
    EXPECT_EQ(bar.Pos(), 10);
}

// ---- every kind in one dialog -------------------------------------------------------------

enum : int {
    kLabel = 9801, kLogo, kFrame, kDepth, kMemo, kGo, kGrid, kOnly, kUnits, kCurve, kRuns, kTraces, kTabs, kTree, kBar
};

using K = ControlKind;
const DialogTemplate kAllTemplate{9021, "All controls",
    {{kLabel, K::Static, "Depth:"}, {kLogo, K::Picture, ""}, {kFrame, K::GroupBox, "Display"},
     {kDepth, K::Edit, "", kFrame}, {kMemo, K::MultiLineEdit, "", kFrame}, {kGo, K::Button, "Go"},
     {kGrid, K::CheckBox, "Grid", 0, kThreeState}, {kOnly, K::RadioButton, "Only", 0, kGroupStart},
     {kUnits, K::DropDownList, ""}, {kCurve, K::ComboBox, "", 0, kSorted}, {kRuns, K::ListBox, ""},
     {kTraces, K::MultiListBox, ""}, {kTabs, K::TabControl, ""}, {kTree, K::Tree, ""},
     {kBar, K::ProgressBar, ""}, {IDOK, K::Button, "OK"}}};

using DialogControlsTest = HostTest;

TEST_F(DialogControlsTest, TheScriptReachesEveryKindOfControlAndAFreshRunStartsFromTheTemplate)
{
    TestDlg dlg(kAllTemplate);
    std::vector<std::string> log;
    int receivers = 0;
    dlg.init = [&](TestDlg& d) {
        for (const char* s : {"Feet", "Meters"}) d.Item(kUnits)->AddString(s);
        for (const char* s : {"DTC", "amp"}) d.Item(kCurve)->AddString(s);
        for (const char* s : {"run1", "run2"}) d.Item(kRuns)->AddString(s);
        for (const char* s : {"T0", "T1", "T2"}) d.Item(kTraces)->AddString(s);
        for (const char* s : {"Waveforms", "Semblance"}) d.Item(kTabs)->AddString(s);
        receivers = d.Item(kTree)->InsertNode("Receivers", 1, d.Item(kTree)->InsertNode("Tool", 0));
        d.SetCaption("All controls - run1");
        d.EnableItem(kGo, false);
        d.SetFocus(kMemo);
        d.CenterWindow();
    };
    // Each handler runs for its own control and notification only.
    dlg.On(kMemo, Notify::EditChange, [&] { log.push_back("edit"); });
    dlg.On(kMemo, Notify::Clicked, [&] { log.push_back("wrong notification"); });
    dlg.On(kRuns, Notify::SelChange, [&] { log.push_back("sel " + std::to_string(dlg.Item(kRuns)->CurSel())); });
    dlg.On(kRuns, Notify::DblClick, [&] { log.push_back("dbl " + dlg.Item(kRuns)->ItemText(dlg.Item(kRuns)->CurSel())); });
    dlg.On(kTabs, Notify::SelChange, [&] { log.push_back("tab " + dlg.Item(kTabs)->ItemText(dlg.Item(kTabs)->CurSel())); });
    dlg.On(kTree, Notify::DblClick, [&] { dlg.Item(kTree)->ExpandNode(dlg.Item(kTree)->SelectedNode()); });
    host.ScriptDialog(9021)
        .Type(kMemo, "line1\r\nline2")
        .Check(kGrid, 2)
        .SelectText(kUnits, "Meters")
        .Type(kCurve, "DT")
        .DoubleClick(kRuns, 1)
        .SelectMany(kTraces, {0, 2})
        .Select(kTabs, 1)
        .DoubleClickNode(kTree, "Receivers")
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);

    const ShownDialog* shown = host.LastDialog(9021);
    ASSERT_TRUE(shown);
    EXPECT_EQ(log, (std::vector<std::string>{"edit", "sel 1", "dbl run2", "tab Semblance"}));
    EXPECT_EQ(std::make_pair(shown->caption, shown->focus), std::make_pair(std::string("All controls - run1"), int(kMemo)));
    EXPECT_TRUE(shown->centered);
    EXPECT_EQ(shown->Item(kMemo)->Text(), "line1\r\nline2");
    EXPECT_EQ(shown->Item(kGrid)->Check(), 2);
    EXPECT_EQ(shown->Item(kUnits)->Text(), "Meters");
    EXPECT_EQ(shown->Item(kCurve)->CurSel(), -1);
    EXPECT_EQ(Items(*shown->Item(kCurve)), (std::vector<std::string>{"amp", "DTC"}));
    EXPECT_EQ(shown->Item(kRuns)->CurSel(), 1);
    EXPECT_EQ(shown->Item(kTraces)->SelItems(), (std::vector<int>{0, 2}));
    EXPECT_EQ(shown->Item(kTraces)->CaretIndex(), 2);
    EXPECT_EQ(shown->Item(kTree)->SelectedNode(), receivers);
    EXPECT_TRUE(shown->Item(kTree)->Node(receivers)->expanded);

    host.ScriptDialog(9021).Inspect([](CDialog& d) {
        EXPECT_TRUE(d.Item(kGo)->Enabled());
        EXPECT_EQ(d.Item(kMemo)->Text(), "");
    }).Press(IDOK);
    dlg.init = nullptr;
    dlg.DoModal();
    EXPECT_EQ(host.LastDialog(9021)->caption, "All controls");
    EXPECT_EQ(host.LastDialog(9021)->focus, kDepth); // the first control that takes focus
}

} // namespace
