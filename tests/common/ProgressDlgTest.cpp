#include "common/ProgressDlg.h"

#include "res/ResourceIds.h"
#include "support/HostFixture.h"

namespace {

class ProgressDlgTest : public HostTest {
protected:
    static std::string Percent(const CProgressDlg& dlg) { return dlg.GetItemText(kIdcProgressPercent); }
};

TEST_F(ProgressDlgTest, PercentFollowsThePositionWithinTheRange)
{
    struct Case {
        int lower, upper, pos;
        const char* text;
    };
    const Case cases[] = {
        {0, 200, 100, "50%"},
        {0, 200, 200, "100%"},
        {0, 200, 300, "50%"},   // past the end: reduced modulo 100
        {0, 200, 400, "0%"},
        {0, 200, -50, "-25%"},
        {10, 20, 15, "50%"},
        {0, 3, 1, "33%"},       // truncated
        {0, 100000, 99999, "99%"},
        {0, 2000000000, 1500000000, "75%"}, // (pos - lower) x 100 needs 64 bits
    };
    for (const auto& c : cases) {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.SetRange(c.lower, c.upper);
        dlg.SetPos(c.pos);
        EXPECT_EQ(Percent(dlg), c.text) << c.lower << ".." << c.upper << " at " << c.pos;
    }
}

TEST_F(ProgressDlgTest, BarKeepsTheFull32BitRangeAndEmptyRangeLeavesTheText)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(Percent(dlg), " 0 %");
    EXPECT_EQ(dlg.Caption(), "Processing progress");
    dlg.SetRange(0, 100000);
    const ControlState* bar = dlg.Item(kIdcProgressBar);
    EXPECT_EQ(bar->RangeUpper(), 100000);
    EXPECT_EQ(dlg.SetPos(70000), 0);
    EXPECT_EQ(bar->Pos(), 70000);
    EXPECT_EQ(dlg.SetPos(80000), 70000) << "returns the previous position";

    dlg.SetRange(5, 5);
    const std::string before = Percent(dlg);
    dlg.SetPos(5);
    EXPECT_EQ(Percent(dlg), before);
}

TEST_F(ProgressDlgTest, StepsAdvanceAndTheTextIsOnlyRewrittenWhenItChanges)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.SetRange(0, 1000);
    dlg.SetStatus("Converting frame data");
    EXPECT_EQ(dlg.GetItemText(kIdcProgressStatus), "Converting frame data");
    EXPECT_EQ(dlg.StepIt(), 0);
    EXPECT_EQ(dlg.StepIt(), 1);
    EXPECT_EQ(Percent(dlg), "0%");
    const uint64_t revision = dlg.Item(kIdcProgressPercent)->Revision();
    for (int i = 0; i < 7; ++i) dlg.StepIt();
    EXPECT_EQ(dlg.Item(kIdcProgressPercent)->Revision(), revision) << "0% each time: no rewrite";
    dlg.SetPos(10);
    EXPECT_EQ(Percent(dlg), "1%");
    EXPECT_GE(host.PumpCount(), 10) << "every step pumps events";
}

TEST_F(ProgressDlgTest, CancelIsLatchedUntilThenextPollAndCountsOnce)
{
    host.ScriptDialog(kIddProgress).Pumps(2).Press(IDCANCEL).Press(IDCANCEL).Pumps(2).Escape();
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_FALSE(dlg.CheckCancelButton());
    EXPECT_TRUE(dlg.CheckCancelButton()) << "two presses between polls";
    EXPECT_FALSE(dlg.CheckCancelButton()) << "answer one poll only";
    EXPECT_TRUE(dlg.CheckCancelButton()) << "Escape acts like Cancel";
    EXPECT_TRUE(dlg.IsWindow()) << "Cancel does not close the dialog";
}

TEST_F(ProgressDlgTest, MainWindowIsDisabledWhileUpAndEnabledExactlyOnce)
{
    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
        EXPECT_FALSE(host.mainEnabled);
        EXPECT_TRUE(dlg.DestroyWindow());
        EXPECT_TRUE(host.mainEnabled);
    }
    EXPECT_EQ(host.mainDisableCalls, 1);
    EXPECT_EQ(host.mainEnableCalls, 1) << "the destructor does not enable it a second time";

    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
        host.ExpectMessage("Error");
        MessageBox("Error reading frame data in file :\nx", MB_ICONSTOP); // the loop ends by an error
    }
    EXPECT_TRUE(host.mainEnabled) << "destroyed with its object";
    EXPECT_EQ(host.mainEnableCalls, 2);
    EXPECT_TRUE(host.ModelessDialogs().empty());

    host.mainEnabled = false; // someone else disabled it: not ours to enable
    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
    }
    EXPECT_FALSE(host.mainEnabled);
}

TEST_F(ProgressDlgTest, FailedCreateEnablesTheMainWindowAgain)
{
    host.failModelessCreate = true;
    CProgressDlg dlg(128);
    EXPECT_FALSE(dlg.Create());
    EXPECT_TRUE(host.mainEnabled);
    EXPECT_EQ(host.mainEnableCalls, 1);
}

TEST_F(ProgressDlgTest, WaitNoticesShowTheirText)
{
    {
        CReadWaitDlg read;
        ASSERT_TRUE(read.Create());
        CSaveWaitDlg save;
        ASSERT_TRUE(save.Create());
    }
    const ShownDialog* read = host.LastDialog(kIddReadWait);
    const ShownDialog* save = host.LastDialog(kIddSaveWait);
    ASSERT_TRUE(read && save);
    EXPECT_EQ(read->controls.at(0).Text(), "Reading data file. This might take few minutes. Please wait...");
    EXPECT_EQ(save->controls.at(0).Text(), "Saving data file. This might take few minutes. Please wait...");
}

} // namespace
