#include "platform/Dialog.h"
#include "support/HostFixture.h"
#include "TestDialog.h"

#include <tuple>

namespace {

using DataExchangeTest = HostTest;
using K = ControlKind;

// ---- numbers and texts ---------------------------------------------------------------

enum : int { kInt = 9101, kUnsigned, kShort, kUShort, kFloat, kDouble, kName, kRanged };

const DialogTemplate kNumbersTemplate{9001, "Numbers",
    {{kInt, K::Edit, ""}, {kUnsigned, K::Edit, ""}, {kShort, K::Edit, ""}, {kUShort, K::Edit, ""},
     {kFloat, K::Edit, ""}, {kDouble, K::Edit, ""}, {kName, K::Edit, ""}, {kRanged, K::Edit, ""},
     {IDOK, K::Button, "OK"}, {IDCANCEL, K::Button, "Cancel"}}};

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
        dx.Text(kInt, i), dx.Text(kUnsigned, u), dx.Text(kShort, s), dx.Text(kUShort, us);
        dx.Text(kFloat, f), dx.Text(kDouble, d);
        dx.Text(kName, name), dx.MaxChars(name, 5);
        dx.Text(kRanged, ranged), dx.MinMax(ranged, 0, 32);
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
    }
}

TEST_F(DataExchangeTest, SavingParsesEveryType)
{
    NumbersDlg dlg;
    host.ScriptDialog(9001)
        .Type(kInt, " 42 ")
        .Type(kUnsigned, "4000000000")
        .Type(kShort, "-12")
        .Type(kUShort, "60000")
        .Type(kFloat, "2.5e3")
        .Type(kDouble, "-1.25")
        .Type(kRanged, "32")
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::make_tuple(dlg.i, dlg.u, dlg.s, dlg.us, dlg.ranged),
              std::make_tuple(42, 4000000000u, short(-12), (unsigned short)60000, 32));
    EXPECT_EQ(dlg.f, 2500.0f);
    EXPECT_EQ(dlg.d, -1.25);
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DataExchangeTest, ABadFieldShowsOneMessageTakesTheFocusAndChangesNoOtherMember)
{
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {kInt, "4x", "Please enter an integer."},
        {kInt, "", "Please enter an integer."},
        {kInt, "99999999999", "Please enter an integer between -2147483648 and 2147483647."},
        {kUnsigned, "-1", "Please enter an integer between 0 and 4294967295."},
        {kShort, "40000", "Please enter an integer between -32768 and 32767."},
        {kUShort, "65536", "Please enter an integer between 0 and 65535."},
        {kUShort, "1.5", "Please enter an integer."},
        {kFloat, "abc", "Please enter a number."},
        {kFloat, "1e39", "Please enter a number."},
        {kFloat, "nan", "Please enter a number."},
        {kDouble, "1,5", "Please enter a number."},
        {kDouble, "inf", "Please enter a number."},
        {kDouble, "-nan", "Please enter a number."},
        {kName, "abcdef", "Please enter no more than 5 characters."},
        {kRanged, "33", "Please enter an integer between 0 and 32."},
        {kRanged, "-1", "Please enter an integer between 0 and 32."},
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
            .Inspect([&](CDialog& d) { EXPECT_TRUE(d.IsWindow() && !d.Ended()); })
            .Escape();
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, c.message);
        EXPECT_EQ(host.Messages()[0].type & MB_ICONMASK, unsigned(MB_ICONEXCLAMATION));
        EXPECT_EQ(host.LastDialog(9001)->focus, c.id);
        // A range or length check sees the member after it was stored; the others keep theirs.
        const NumbersDlg fresh;
        EXPECT_EQ(std::make_tuple(dlg.i, dlg.u, dlg.s, dlg.us, dlg.f, dlg.d),
                  std::make_tuple(fresh.i, fresh.u, fresh.s, fresh.us, fresh.f, fresh.d));
        EXPECT_EQ(dlg.name, c.id == kName ? std::string(c.text) : fresh.name);
        EXPECT_EQ(dlg.ranged, c.id == kRanged ? std::stoi(c.text) : fresh.ranged);
    }
}

// ---- order and the dialog's own checks ----------------------------------------------

enum : int { kFirst = 9201, kSecond, kThird, kFourth };

const DialogTemplate kOrderTemplate{9002, "Order",
    {{kFirst, K::Edit, ""}, {kSecond, K::Edit, ""}, {kThird, K::Edit, ""}, {kFourth, K::Edit, ""},
     {IDOK, K::Button, "OK"}}};

TEST_F(DataExchangeTest, ExchangeFollowsDoDataExchangeOrderAndStopsAtTheFirstFailureOrTheDialogsOwnCheck)
{
    TestDlg dlg(kOrderTemplate);
    std::string first = "a", fourth = "d";
    int second = 2, third = 3;
    // Deliberately the reverse of the template order.
    dlg.exchange = [&](DataExchange& dx) {
        dx.Text(kFourth, fourth);
        dx.Text(kThird, third);
        if (dx.Saving() && third > 99) {
            dx.Fail(kThird, "You entered an invalid start depth!\nIt must be above the stop depth.");
            return;
        }
        dx.Text(kSecond, second);
        dx.Text(kFirst, first);
    };
    host.ExpectMessage("Please enter an integer.");
    host.ExpectMessage("invalid start depth");
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
        .Type(kThird, "300")
        .Press(IDOK)
        .Inspect([&](CDialog& d) { EXPECT_EQ(std::make_tuple(d.Focus(), third, second), std::make_tuple(int(kThird), 300, 2)); })
        .Type(kThird, "30")
        .Press(IDOK)
        .Inspect([&](CDialog& d) { EXPECT_EQ(d.Focus(), kSecond); })
        .Type(kSecond, "20")
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(host.Messages().size(), 3u);
    EXPECT_EQ(host.Messages()[1].type & MB_ICONMASK, unsigned(MB_ICONEXCLAMATION));
    EXPECT_EQ(std::make_tuple(first, second, third), std::make_tuple(std::string("A"), 20, 30));
}

// ---- lists (radio sets are in the backend contract) ----------------------------------

enum : int { kUnitList = 9301, kCurveCombo, kRunList, kModeList };

const DialogTemplate kChoicesTemplate{9003, "Choices",
    {{kUnitList, K::DropDownList, ""}, {kCurveCombo, K::ComboBox, "", 0, kSorted}, {kRunList, K::ListBox, ""},
     {kModeList, K::DropDownList, ""}, {IDOK, K::Button, "OK"}, {IDCANCEL, K::Button, "Cancel"}}};

TEST_F(DataExchangeTest, ListsFillByPrefixOrIndexAndSaveTheUsersChoice)
{
    TestDlg dlg(kChoicesTemplate);
    std::string unitText = "met", curve = "Gamma";
    int run = 1, mode = -1;
    dlg.init = [](TestDlg& d) {
        for (const char* s : {"Feet", "Meters", "Seconds"}) d.Item(kUnitList)->AddString(s);
        for (const char* s : {"beta", "Alpha"}) d.Item(kCurveCombo)->AddString(s);
        for (const char* s : {"run1", "run2", "run3"}) d.Item(kRunList)->AddString(s);
        for (const char* s : {"Monopole", "Dipole"}) d.Item(kModeList)->AddString(s);
    };
    dlg.exchange = [&](DataExchange& dx) {
        dx.ComboString(kUnitList, unitText);
        dx.ComboString(kCurveCombo, curve);
        dx.ListIndex(kRunList, run);
        dx.ComboIndex(kModeList, mode);
    };
    host.ScriptDialog(9003).Escape();
    dlg.DoModal();
    const ShownDialog* shown = host.LastDialog(9003);
    ASSERT_TRUE(shown);
    // A prefix, case-insensitive, picks the item; an editable combo keeps a text it lacks.
    EXPECT_EQ(shown->Item(kUnitList)->Text(), "Meters");
    EXPECT_EQ(shown->Item(kCurveCombo)->CurSel(), -1);
    EXPECT_EQ(shown->Item(kCurveCombo)->Text(), "Gamma");
    EXPECT_EQ(shown->Item(kRunList)->CurSel(), 1);
    EXPECT_EQ(shown->Item(kModeList)->CurSel(), -1);
    EXPECT_EQ(unitText, "met"); // Escape exchanged nothing back

    host.ScriptDialog(9003)
        .SelectText(kUnitList, "Seconds")
        .Type(kCurveCombo, "Delta")
        .Select(kRunList, 2)
        .Select(kModeList, 0)
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::make_tuple(unitText, curve, run, mode), std::make_tuple(std::string("Seconds"), std::string("Delta"), 2, 0));
}

} // namespace
