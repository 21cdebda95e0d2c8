#include "platform/Dialog.h"
#include "support/HostFixture.h"
#include "TestDialog.h"

namespace {

using DialogTest = HostTest;

enum : int { kValue = 9501, kList, kApply, kFinish, kDelete, kBrowse, kMore, kNotes, kLocked, kPath };

using K = ControlKind;
const DialogTemplate kFormTemplate{9011, "Form",
    {{kValue, K::Edit, ""}, {kList, K::ListBox, ""}, {kApply, K::Button, "Apply", 0, kDefaultButton},
     {kFinish, K::Button, "Finish"}, {kDelete, K::Button, "Delete"}, {kBrowse, K::Button, "Browse..."},
     {kMore, K::Button, "More..."}, {kNotes, K::Edit, ""}, {kLocked, K::Button, "Locked", 0, kDisabled},
     {kPath, K::Edit, "/data", 0, kReadOnly}, {IDOK, K::Button, "OK"}, {IDCANCEL, K::Button, "Cancel"}}};

enum : int { kInnerName = 9601 };
const DialogTemplate kInnerTemplate{9012, "Inner",
    {{kInnerName, K::Edit, ""}, {IDOK, K::Button, "OK"}, {IDCANCEL, K::Button, "Cancel"}}};

enum : int { kStatus = 9701, kStop, kBar };
const DialogTemplate kModelessTemplate{9013, "Working",
    {{kStatus, K::Static, "Reading..."}, {kStop, K::Button, "Stop"}, {kBar, K::ProgressBar, ""}}};

// A form whose value is an int from 0 to 32 and whose list holds three runs.
struct Form : TestDlg {
    int value = 7;
    Form() : TestDlg(kFormTemplate)
    {
        init = [](TestDlg& d) {
            for (const char* s : {"run1", "run2", "run3"}) d.Item(kList)->AddString(s);
        };
        exchange = [this](DataExchange& dx) {
            dx.Text(kValue, value);
            dx.MinMax(value, 0, 32);
        };
    }
};

// ---- modal runs ----------------------------------------------------------------------

TEST_F(DialogTest, CancelEscapeAndAHandlersEndKeepMembersAndEveryRunFillsFromThem)
{
    // How the first run ends (0: Escape), and the code it ends with.
    for (const auto& [button, code] : {std::pair<int, int>{IDCANCEL, IDCANCEL}, {0, IDCANCEL}, {kFinish, 1176}}) {
        SCOPED_TRACE(button);
        Form dlg;
        dlg.On(kFinish, Notify::Clicked, [&] { dlg.EndDialog(1176); });
        auto& first = host.ScriptDialog(9011).Type(kValue, "12");
        button ? first.Press(button) : first.Escape();
        EXPECT_EQ(dlg.DoModal(), code);
        EXPECT_EQ(dlg.value, 7);
        EXPECT_FALSE(dlg.IsWindow());

        host.ScriptDialog(9011).Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(kValue), "7"); })
            .Type(kValue, "9")
            .Press(IDOK);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        host.ScriptDialog(9011).Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(kValue), "9"); }).Escape();
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.value, 9);
    }
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonUnlessItIsDisabled)
{
    Form dlg;
    int applied = 0;
    dlg.On(kApply, Notify::Clicked, [&] { ++applied; });
    host.ScriptDialog(9011)
        .Enter()
        .Inspect([](CDialog& d) { d.EnableItem(kApply, false); })
        .Enter()
        .Inspect([](CDialog& d) { EXPECT_FALSE(d.Ended()); })
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(applied, 1);

    // Without a default button Enter is OK.
    TestDlg inner(kInnerTemplate);
    host.ScriptDialog(9012).Enter();
    EXPECT_EQ(inner.DoModal(), IDOK);
}

TEST_F(DialogTest, ANestedModalDialogRunsItsOwnScript)
{
    Form dlg;
    dlg.On(kMore, Notify::Clicked, [&] {
        TestDlg inner(kInnerTemplate);
        std::string name = "old";
        inner.exchange = [&](DataExchange& dx) { dx.Text(kInnerName, name); };
        if (inner.DoModal() == IDOK) dlg.SetItemText(kNotes, name);
    });
    host.ScriptDialog(9011)
        .Press(kMore)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(kNotes), "Deep"); })
        .Press(kMore)
        .Press(IDOK);
    host.ScriptDialog(9012).Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(kInnerName), "old"); })
        .Type(kInnerName, "Deep")
        .Press(IDOK);
    host.ScriptDialog(9012).Type(kInnerName, "Shallow").Press(IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(host.LastDialog(9011)->Item(kNotes)->Text(), "Deep") << "the cancelled run changed nothing";
    EXPECT_EQ(host.Dialogs().size(), 3u);
}

// ---- script mistakes -----------------------------------------------------------------------

TEST(DialogScriptMistakes, AreReportedAndTheDialogIsCancelled)
{
    struct Case {
        const char* name;
        std::function<void(ScriptedHost&)> script;
        const char* report;
    };
    const Case cases[] = {
        {"unscripted", [](ScriptedHost&) {}, "unexpected dialog 9011 \"Form\""},
        {"left open", [](ScriptedHost& h) { h.ScriptDialog(9011).Type(kNotes, "x"); }, "left open by its script"},
        {"disabled", [](ScriptedHost& h) { h.ScriptDialog(9011).Press(kLocked).Escape(); },
         "control 9509 of dialog 9011 cannot be used"},
        {"hidden", [](ScriptedHost& h) {
             h.ScriptDialog(9011).Inspect([](CDialog& d) { d.Item(kNotes)->Show(false); }).Type(kNotes, "x").Escape();
         }, "control 9508 of dialog 9011 cannot be used"},
        {"read-only", [](ScriptedHost& h) { h.ScriptDialog(9011).Type(kPath, "/elsewhere").Escape(); },
         "control 9510 of dialog 9011 is read-only"},
        {"no such item", [](ScriptedHost& h) { h.ScriptDialog(9011).Select(kList, 3).Escape(); }, "has no item 3"},
        {"ended early", [](ScriptedHost& h) { h.ScriptDialog(9011).Press(IDCANCEL).Press(IDOK); },
         "ended before its script did"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHost local;
        std::vector<std::string> reports;
        local.onUnexpected = [&](const std::string& what) { reports.push_back(what); };
        ScopedHost scope(&local);
        Form dlg;
        bool used = false;
        dlg.On(kLocked, Notify::Clicked, [&] { used = true; });
        dlg.On(kNotes, Notify::EditChange, [&] { used = true; });
        dlg.On(kPath, Notify::EditChange, [&] { used = true; });
        c.script(local);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(c.report), std::string::npos) << reports[0];
        EXPECT_EQ(local.LastDialog(9011)->Item(kPath)->Text(), "/data");
        EXPECT_TRUE(local.PendingExpectations().empty());
        EXPECT_EQ(used, std::string(c.name) == "left open");
    }
}

// ---- modeless ----------------------------------------------------------------------------

TEST_F(DialogTest, AModelessScriptWaitsForEventPumpsAndDestroyingTheObjectClosesIt)
{
    {
        TestDlg dlg(kModelessTemplate);
        bool stopped = false;
        dlg.On(kStop, Notify::Clicked, [&] { stopped = true; });
        host.ScriptDialog(9013).Pumps(2).Press(kStop);
        ASSERT_TRUE(dlg.Create());
        EXPECT_FALSE(dlg.IsModal());
        EXPECT_EQ(host.ModelessDialogs(), std::vector<CDialog*>{&dlg});
        Host().PumpEvents();
        EXPECT_FALSE(stopped);
        Host().PumpEvents();
        EXPECT_TRUE(stopped);
        dlg.Item(kBar)->SetPos(40);
    }
    EXPECT_TRUE(host.ModelessDialogs().empty());
    ASSERT_TRUE(host.LastDialog(9013));
    EXPECT_FALSE(host.LastDialog(9013)->modal);
    EXPECT_EQ(host.LastDialog(9013)->Item(kBar)->Pos(), 40);

    host.failModelessCreate = true;
    TestDlg refused(kModelessTemplate);
    EXPECT_FALSE(refused.Create());
    EXPECT_FALSE(refused.IsWindow());
}

TEST_F(DialogTest, AModelessDialogMayDestroyItselfFromItsScriptedHandler)
{
    // Once during creation, once during a later pump.
    for (int pumps : {0, 1}) {
        TestDlg dlg(kModelessTemplate);
        dlg.On(kStop, Notify::Clicked, [&] { dlg.DestroyWindow(); });
        host.ScriptDialog(9013).Pumps(pumps).Press(kStop);
        dlg.Create();
        if (pumps) Host().PumpEvents();
        EXPECT_FALSE(dlg.IsWindow());
        EXPECT_FALSE(dlg.DestroyWindow());
        EXPECT_TRUE(host.ModelessDialogs().empty());
    }
}

} // namespace
