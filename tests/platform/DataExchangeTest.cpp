#include "platform/Dialog.h"
#include "support/HostFixture.h"
#include "TestDialog.h"

namespace {

using DataExchangeTest = HostTest;

// ---- numbers and texts ---------------------------------------------------------------

enum : int { kInt = 9101, kUnsigned, kShort, kUShort, kFloat, kDouble, kName, kRanged };

const DialogTemplate kNumbersTemplate{9001, "Numbers",
                                      {{kInt, ControlKind::Edit, "", 0, 0},
                                       {kUnsigned, ControlKind::Edit, "", 0, 0},
                                       {kShort, ControlKind::Edit, "", 0, 0},
                                       {kUShort, ControlKind::Edit, "", 0, 0},
                                       {kFloat, ControlKind::Edit, "", 0, 0},
                                       {kDouble, ControlKind::Edit, "", 0, 0},
                                       {kName, ControlKind::Edit, "", 0, 0},
                                       {kRanged, ControlKind::Edit, "", 0, 0},
                                       {IDOK, ControlKind::Button, "OK", 0, 0},
                                       {IDCANCEL, ControlKind::Button, "Cancel", 0, 0}}};

class NumbersDlg : public CDialog {
public:
    NumbersDlg() : CDialog(kNumbersTemplate) {}
    int i = 5;
    unsigned u = 6;
    short s = 7;
    unsigned short us = 8;
    float f = 1.5f;
    double d = 2.25;
    std::string name = "ab";
    int ranged = 3;

    void DoDataExchange(DataExchange& dx) override
    {
        dx.Text(kInt, i);
        dx.Text(kUnsigned, u);
        dx.Text(kShort, s);
        dx.Text(kUShort, us);
        dx.Text(kFloat, f);
        dx.Text(kDouble, d);
        dx.Text(kName, name);
        dx.MaxChars(name, 5);
        dx.Text(kRanged, ranged);
        dx.MinMax(ranged, 0, 32);
    }
};

TEST_F(DataExchangeTest, FillingShowsEachTypeInItsOwnFormat)
{
    struct Case {
        int i;
        unsigned u;
        short s;
        unsigned short us;
        float f;
        double d;
        const char* texts[6];
    };
    const Case cases[] = {
        {-7, 4294967295u, -32768, 65535, 0.1f, 0.1, {"-7", "4294967295", "-32768", "65535", "0.1", "0.1"}},
        {2147483647, 0, 32767, 0, 1234567.0f, 1.0 / 3,
         {"2147483647", "0", "32767", "0", "1.23457e+06", "0.333333333333333"}},
        {0, 1, -1, 1, -2.5e-7f, 1234567.0, {"0", "1", "-1", "1", "-2.5e-07", "1234567"}},
    };
    for (const auto& c : cases) {
        NumbersDlg dlg;
        dlg.i = c.i, dlg.u = c.u, dlg.s = c.s, dlg.us = c.us, dlg.f = c.f, dlg.d = c.d;
        host.ScriptDialog(9001).Escape();
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        const ShownDialog* shown = host.LastDialog(9001);
        ASSERT_TRUE(shown);
        for (int k = 0; k < 6; ++k) EXPECT_EQ(shown->Item(kInt + k)->Text(), c.texts[k]) << c.texts[k];
        EXPECT_EQ(shown->Item(kName)->LimitText(), 5);
    }
}

TEST_F(DataExchangeTest, SavingParsesEveryTypeAndTypingStopsAtTheLimit)
{
    NumbersDlg dlg;
    host.ScriptDialog(9001)
        .Type(kInt, " 42 ")
        .Type(kUnsigned, "4000000000")
        .Type(kShort, "-12")
        .Type(kUShort, "60000")
        .Type(kFloat, "2.5e3")
        .Type(kDouble, "-1.25")
        .Type(kName, "abcdefgh")
        .Type(kRanged, "32")
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.i, 42);
    EXPECT_EQ(dlg.u, 4000000000u);
    EXPECT_EQ(dlg.s, -12);
    EXPECT_EQ(dlg.us, 60000);
    EXPECT_EQ(dlg.f, 2500.0f);
    EXPECT_EQ(dlg.d, -1.25);
    EXPECT_EQ(dlg.name, "abcde");
    EXPECT_EQ(dlg.ranged, 32);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DataExchangeTest, ABadFieldShowsOneMessageAndTakesTheFocus)
{
    struct Case {
        int id;
        const char* text;
        const char* message;
        bool stored; // a range or length check sees the member after it was stored
    };
    const Case cases[] = {
        {kInt, "4x", "Please enter an integer.", false},
        {kInt, "", "Please enter an integer.", false},
        {kInt, "99999999999", "Please enter an integer between -2147483648 and 2147483647.", false},
        {kUnsigned, "-1", "Please enter an integer between 0 and 4294967295.", false},
        {kShort, "40000", "Please enter an integer between -32768 and 32767.", false},
        {kUShort, "65536", "Please enter an integer between 0 and 65535.", false},
        {kUShort, "1.5", "Please enter an integer.", false},
        {kFloat, "abc", "Please enter a number.", false},
        {kFloat, "1e39", "Please enter a number.", false},
        {kFloat, "nan", "Please enter a number.", false},
        {kDouble, "1,5", "Please enter a number.", false},
        {kDouble, "inf", "Please enter a number.", false},
        {kDouble, "-nan", "Please enter a number.", false},
        {kName, "abcdef", "Please enter no more than 5 characters.", true},
        {kRanged, "33", "Please enter an integer between 0 and 32.", true},
        {kRanged, "-1", "Please enter an integer between 0 and 32.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        host.ClearMessages();
        NumbersDlg dlg;
        host.ExpectMessage(c.message);
        // Set directly: typing would be cut at the length limit.
        host.ScriptDialog(9001)
            .Inspect([&](CDialog& d) { d.SetItemText(c.id, c.text); })
            .Press(IDOK)
            .Inspect([&](CDialog& d) {
                EXPECT_TRUE(d.IsWindow());
                EXPECT_FALSE(d.Ended());
            })
            .Escape();
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, c.message);
        EXPECT_EQ(host.Messages()[0].type & MB_ICONMASK, unsigned(MB_ICONEXCLAMATION));
        EXPECT_EQ(host.LastDialog(9001)->focus, c.id);
        const NumbersDlg fresh;
        EXPECT_EQ(dlg.i, fresh.i);
        EXPECT_EQ(dlg.u, fresh.u);
        EXPECT_EQ(dlg.s, fresh.s);
        EXPECT_EQ(dlg.us, fresh.us);
        EXPECT_EQ(dlg.f, fresh.f);
        EXPECT_EQ(dlg.d, fresh.d);
        EXPECT_EQ(dlg.name, c.stored && c.id == kName ? std::string(c.text) : fresh.name);
        EXPECT_EQ(dlg.ranged, c.stored && c.id == kRanged ? std::stoi(c.text) : fresh.ranged);
    }
}

// ---- order and the dialog's own checks ----------------------------------------------

enum : int { kFirst = 9201, kSecond, kThird, kFourth };

const DialogTemplate kOrderTemplate{9002, "Order",
                                    {{kFirst, ControlKind::Edit, "", 0, 0},
                                     {kSecond, ControlKind::Edit, "", 0, 0},
                                     {kThird, ControlKind::Edit, "", 0, 0},
                                     {kFourth, ControlKind::Edit, "", 0, 0},
                                     {IDOK, ControlKind::Button, "OK", 0, 0}}};

TEST_F(DataExchangeTest, ExchangeFollowsDoDataExchangeOrderAndStopsAtTheFirstFailure)
{
    TestDlg dlg(kOrderTemplate);
    std::string first = "a", fourth = "d";
    int second = 2, third = 3;
    // Deliberately the reverse of the template order.
    dlg.exchange = [&](DataExchange& dx) {
        dx.Text(kFourth, fourth);
        dx.Text(kThird, third);
        dx.Text(kSecond, second);
        dx.Text(kFirst, first);
    };
    host.ExpectMessage("Please enter an integer.");
    host.ExpectMessage("Please enter an integer.");
    host.ScriptDialog(9002)
        .Type(kFirst, "A")
        .Type(kSecond, "x")
        .Type(kThird, "y")
        .Type(kFourth, "D")
        .Press(IDOK)
        .Inspect([&](CDialog& d) {
            EXPECT_EQ(d.Focus(), kThird);
            EXPECT_EQ(fourth, "D"); // exchanged before the failure
            EXPECT_EQ(first, "a");  // after it
        })
        .Type(kThird, "30")
        .Press(IDOK)
        .Inspect([&](CDialog& d) { EXPECT_EQ(d.Focus(), kSecond); })
        .Type(kSecond, "20")
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(first, "A");
    EXPECT_EQ(second, 20);
    EXPECT_EQ(third, 30);
}

TEST_F(DataExchangeTest, TheDialogsOwnCheckFailsWithItsMessage)
{
    enum : int { kStart = kFirst, kStop = kSecond };
    TestDlg dlg(kOrderTemplate);
    double start = 1000, stop = 2000;
    int after = 7;
    dlg.exchange = [&](DataExchange& dx) {
        dx.Text(kStop, stop);
        dx.Text(kStart, start);
        if (dx.Saving() && start >= stop) {
            dx.Fail(kStart, "You entered an invalid start depth!\nIt must be above the stop depth.");
            return;
        }
        dx.Text(kThird, after);
    };
    host.ExpectMessage("invalid start depth");
    host.ScriptDialog(9002)
        .Type(kStart, "2500")
        .Type(kThird, "8")
        .Press(IDOK)
        .Inspect([&](CDialog& d) {
            EXPECT_EQ(d.Focus(), kStart);
            EXPECT_EQ(after, 7);
        })
        .Type(kStop, "3000")
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(host.Messages().at(0).type & MB_ICONMASK, unsigned(MB_ICONEXCLAMATION));
    EXPECT_EQ(start, 2500);
    EXPECT_EQ(stop, 3000);
    EXPECT_EQ(after, 8);
}

// ---- choices -----------------------------------------------------------------------

enum : int {
    kFeet = 9301, kMeters, kSeconds, // one set
    kLinear, kLog,                   // a second set, started by kGroupStart
    kGrid,                           // a check box ends the set before it
    kUp, kDown,                      // a set bounded by the check box only
    kUnitList, kCurveCombo, kRunList, kModeList
};

const DialogTemplate kChoicesTemplate{9003, "Choices",
                                      {{kFeet, ControlKind::RadioButton, "Feet", 0, kGroupStart},
                                       {kMeters, ControlKind::RadioButton, "Meters", 0, 0},
                                       {kSeconds, ControlKind::RadioButton, "Seconds", 0, 0},
                                       {kLinear, ControlKind::RadioButton, "Linear", 0, kGroupStart},
                                       {kLog, ControlKind::RadioButton, "Log", 0, 0},
                                       {kGrid, ControlKind::CheckBox, "Grid", 0, kThreeState},
                                       {kUp, ControlKind::RadioButton, "Up", 0, 0},
                                       {kDown, ControlKind::RadioButton, "Down", 0, 0},
                                       {kUnitList, ControlKind::DropDownList, "", 0, 0},
                                       {kCurveCombo, ControlKind::ComboBox, "", 0, kSorted},
                                       {kRunList, ControlKind::ListBox, "", 0, 0},
                                       {kModeList, ControlKind::DropDownList, "", 0, 0},
                                       {IDOK, ControlKind::Button, "OK", 0, 0},
                                       {IDCANCEL, ControlKind::Button, "Cancel", 0, 0}}};

class ChoicesDlg : public CDialog {
public:
    ChoicesDlg() : CDialog(kChoicesTemplate) {}
    int unit = 2, scale = -1, direction = 1, grid = 2;
    std::string unitText = "met", curve = "Gamma";
    int run = 1, mode = -1;

    bool OnInitDialog() override
    {
        InitDialogLists();
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override
    {
        dx.Radio(kFeet, unit);
        dx.Radio(kUp, direction); // before kLinear: a set that ran on would be cleared by it
        dx.Radio(kLinear, scale);
        dx.Check(kGrid, grid);
        dx.ComboString(kUnitList, unitText);
        dx.ComboString(kCurveCombo, curve);
        dx.ListIndex(kRunList, run);
        dx.ComboIndex(kModeList, mode);
    }

private:
    void InitDialogLists()
    {
        for (const char* s : {"Feet", "Meters", "Seconds"}) Item(kUnitList)->AddString(s);
        for (const char* s : {"beta", "Alpha"}) Item(kCurveCombo)->AddString(s);
        for (const char* s : {"run1", "run2", "run3"}) Item(kRunList)->AddString(s);
        for (const char* s : {"Monopole", "Dipole"}) Item(kModeList)->AddString(s);
    }
};

TEST_F(DataExchangeTest, FillingSetsRadioSetsChecksAndSelections)
{
    ChoicesDlg dlg;
    host.ScriptDialog(9003).Escape();
    dlg.DoModal();
    const ShownDialog* shown = host.LastDialog(9003);
    ASSERT_TRUE(shown);
    const std::pair<int, int> checks[] = {{kFeet, 0}, {kMeters, 0}, {kSeconds, 1}, {kLinear, 0},
                                          {kLog, 0},  {kGrid, 2},   {kUp, 0},      {kDown, 1}};
    for (const auto& [id, state] : checks) EXPECT_EQ(shown->Item(id)->Check(), state) << id;
    // A prefix, case-insensitive, picks the item; an editable combo keeps a text it lacks.
    EXPECT_EQ(shown->Item(kUnitList)->CurSel(), 1);
    EXPECT_EQ(shown->Item(kUnitList)->Text(), "Meters");
    EXPECT_EQ(shown->Item(kCurveCombo)->CurSel(), -1);
    EXPECT_EQ(shown->Item(kCurveCombo)->Text(), "Gamma");
    EXPECT_EQ(shown->Item(kRunList)->CurSel(), 1);
    EXPECT_EQ(shown->Item(kModeList)->CurSel(), -1);
    EXPECT_EQ(dlg.unitText, "met"); // Escape exchanged nothing back
}

TEST_F(DataExchangeTest, SavingReadsTheUsersChoices)
{
    ChoicesDlg dlg;
    host.ScriptDialog(9003)
        .Radio(kMeters)
        .Radio(kLog)
        .Radio(kUp)
        .Check(kGrid, 0)
        .SelectText(kUnitList, "Seconds")
        .Type(kCurveCombo, "Delta")
        .Select(kRunList, 2)
        .Select(kModeList, 0)
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.unit, 1);
    EXPECT_EQ(dlg.scale, 1);
    EXPECT_EQ(dlg.direction, 0);
    EXPECT_EQ(dlg.grid, 0);
    EXPECT_EQ(dlg.unitText, "Seconds");
    EXPECT_EQ(dlg.curve, "Delta");
    EXPECT_EQ(dlg.run, 2);
    EXPECT_EQ(dlg.mode, 0);
}

} // namespace
