#include "plot/LogSetupDlg.h"

#include "plot/EditCommandDlg.h"
#include "plot/LogItemSetupDlg.h"
#include "res/EditCommandDlgIds.h"
#include "res/LogItemSetupDlgIds.h"
#include "res/LogSetupDlgIds.h"
#include "support/HostFixture.h"
#include "settings/LogSetupGroup.h"

#include <functional>
#include <utility>
#include <vector>

namespace {

using D = CLogSetupDlg;
using enum log_setup::Control;
using Lines = std::vector<std::string>;

std::shared_ptr<CLogPlotItem> Item(const std::string& name, bool enabled = true)
{
    auto item = std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults());
    item->m_strName = name;
    item->m_file.path = "/logs/" + name + ".qtx";
    item->m_bEnabled = enabled;
    return item;
}

Lines Names(const PlotItemList& list)
{
    Lines names;
    for (const auto& item : list) names.push_back(item->m_strName + (item->m_bEnabled ? "" : "-"));
    return names;
}

Lines ListLines(const CDialog& d, int id)
{
    Lines lines;
    const ControlState* list = d.Item(id);
    for (int i = 0; list && i < list->Count(); ++i) lines.push_back(list->ItemText(i));
    return lines;
}

class LogSetupDlgTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        group.SetDefaults();
        group.plotItems = {Item("A"), Item("B", false), Item("C"), Item("D", false)};
        original = group.plotItems;
    }
    DialogScript& Script() { return host.ScriptDialog(kIddLogSetup); }
    int Run() { return D().Edit(group); }

    LogSetupGroup group;
    PlotItemList original;
};

TEST_F(LogSetupDlgTest, PageChecksRefuseScalesWidthsAndCombinedWidthOutsideTheirRanges)
{
    const char* scale = "You entered an invalid depth scale!.\nValid range : 100.0 - 2500.0.";
    const char* wide = "Tracks are too wide!.\nMaximum combined width : 24.0 in.";
    struct Case {
        std::vector<std::pair<int, std::string>> typed;
        std::string message; // empty: Apply ends the dialog
    };
    const Case cases[] = {
        {{{kIdcDepthScale, "100"}}, ""},
        {{{kIdcDepthScale, "2500"}}, ""},
        {{{kIdcDepthScale, "99.9"}}, scale},
        {{{kIdcDepthScale, "2500.1"}}, scale},
        {{{kIdcTrack1, "3"}, {kIdcTrack2, "3"}, {kIdcTrack3, "3"}, {kIdcTrack4, "3"}, {kIdcTrack5, "3"},
          {kIdcTrack6, "3"}, {kIdcTrack7, "3"}, {kIdcTrack8, "3"}},
         ""},
        {{{kIdcTrack1, "3.1"}, {kIdcTrack2, "3"}, {kIdcTrack3, "3"}, {kIdcTrack4, "3"}, {kIdcTrack5, "3"},
          {kIdcTrack6, "3"}, {kIdcTrack7, "3"}, {kIdcTrack8, "3"}},
         wide},
        {{{kIdcTrack9, "10"}, {kIdcTrack12, "10"}, {kIdcTrack16, "10"}}, ""},
        {{{kIdcTrack1, "0"}}, ""},
        {{{kIdcTrack5, "-0.5"}}, "Track #5 is too narrow!.\nMinimum width : 0.0 in."},
        {{{kIdcTrack16, "-1"}}, "Track #16 is too narrow!.\nMinimum width : 0.0 in."},
    };
    for (const Case& c : cases) {
        DialogScript& s = Script();
        for (const auto& [id, text] : c.typed) s.Type(id, text);
        s.Press(kIdcApply);
        if (!c.message.empty()) {
            host.ExpectMessage(c.message);
            s.Press(IDCANCEL);
        }
        const LogSetupGroup before = group;
        EXPECT_EQ(Run(), c.message.empty() ? int(D::kApply) : IDCANCEL) << c.message;
        if (!c.message.empty()) {
            EXPECT_EQ(MessageTexts().back(), c.message);
        }
        group = before;
    }
}

TEST_F(LogSetupDlgTest, ListEntriesFindTheirItemsByCountingItemsOfTheirState)
{
    Script()
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, kIdcEnabledList), (Lines{"A", "C"}));
            EXPECT_EQ(ListLines(d, kIdcDisabledList), (Lines{"B", "D"}));
        })
        .DoubleClick(kIdcEnabledList, 1)  // C
        .DoubleClick(kIdcDisabledList, 0) // B
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, kIdcEnabledList), (Lines{"A", "B"}));
            EXPECT_EQ(ListLines(d, kIdcDisabledList), (Lines{"C", "D"}));
        })
        .Select(kIdcEnabledList, 1) // B
        .Press(kIdcCopy);
    EXPECT_EQ(Run(), D::kCopy);
    EXPECT_EQ(Names(group.plotItems), (Lines{"A", "B", "C-", "D-", "B"})) << "order kept, the copy appended";
    EXPECT_EQ(*group.plotItems[4], *group.plotItems[1]);
    EXPECT_NE(group.plotItems[4], group.plotItems[1]);

    Script().Select(kIdcEnabledList, 0).Press(kIdcDelete).Inspect([](CDialog& d) {
        EXPECT_EQ(ListLines(d, kIdcEnabledList), (Lines{"B", "B"}));
    }).Press(kIdcEdit).Press(kIdcCopy).Press(kIdcApply); // nothing selected after Delete: Edit and Copy do nothing
    EXPECT_EQ(Run(), D::kApply);
    EXPECT_EQ(Names(group.plotItems), (Lines{"B", "C-", "D-", "B"}));
}

// The dialog works on copies of the items: Cancel leaves the group's items, which a
// plot window may be showing, exactly as they were.
TEST_F(LogSetupDlgTest, CancelAfterEditingItemsLeavesTheGroupsItemsAlone)
{
    host.ScriptDialog(kIddEditCommand).Type(CEditCommandDlg::kIdcName, "renamed").Press(IDOK);
    host.ScriptDialog(kIddLogItemSetup).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to clear entire list?", IDNO);
    Script()
        .DoubleClick(kIdcEnabledList, 0)
        .Press(kIdcEditCommand)
        .Select(kIdcEnabledList, 0)
        .Press(kIdcDelete)
        .Press(kIdcAdd) // Log Item Setup cancelled: nothing added, the dialog stays
        .Press(kIdcClearAll)
        .Inspect([](CDialog& d) { EXPECT_EQ(ListLines(d, kIdcEnabledList), Lines{}); })
        .Inspect([](CDialog& d) { EXPECT_EQ(ListLines(d, kIdcDisabledList), (Lines{"renamed", "B", "D"})); })
        .Press(IDCANCEL);
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(group.plotItems, original);
    EXPECT_EQ(Names(group.plotItems), (Lines{"A", "B-", "C", "D-"}));

    host.ExpectMessage("Are you sure you want to clear entire list?", IDYES);
    Script().Press(kIdcClearAll);
    EXPECT_EQ(Run(), D::kClearAll);
    EXPECT_TRUE(group.plotItems.empty());
    EXPECT_EQ(original[0]->m_strName, "A") << "items let go stay readable where they are held";
    host.ExpectMessage("Plot list is empty! Operation will be abandoned");
    Script().Press(kIdcEditCommand).Press(IDCANCEL);
    Run();
}

// The dialog and the store keep the options in different orders; they are copied by name.
TEST_F(LogSetupDlgTest, OptionButtonsSetTheirOwnFlags)
{
    Script()
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.Item(kIdcBackBlue)->Check(), 1);
            EXPECT_EQ(d.Item(kIdcDepthTrackOff)->Check(), 1);
            EXPECT_EQ(d.Item(kIdcEnglish)->Check(), 1);
        })
        .Radio(kIdcBackBeige)
        .Radio(kIdcMetric)
        .Check(kIdcDepthTrackOn)
        .Check(kIdcDepthTrackOn, 0) // a click on the ticked box leaves it ticked
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.Item(kIdcDepthTrackOn)->Check(), 1);
            EXPECT_EQ(d.Item(kIdcDepthTrackOff)->Check(), 0);
        })
        .Press(kIdcApply);
    group.spareState = 5;
    EXPECT_EQ(Run(), D::kApply);
    const int16_t flags[] = {group.depthTrackOn, group.depthTrackOff, group.english, group.metric,
                             group.spareState,   group.backBlue,      group.backBeige, group.backGray};
    EXPECT_EQ(std::vector<int16_t>(std::begin(flags), std::end(flags)), (std::vector<int16_t>{1, 0, 0, 1, 5, 0, 1, 0}));
}

} // namespace
