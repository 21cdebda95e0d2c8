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
    const struct {
        int lower, upper, pos;
        const char* text;
    } cases[] = {
        {0, 200, 100, "50%"},  {0, 200, 200, "100%"}, {0, 200, 300, "50%"}, // past the end: modulo 100
        {0, 200, -50, "-25%"}, {10, 20, 15, "50%"},   {0, 3, 1, "33%"},     // truncated
        {0, 2000000000, 1500000000, "75%"}, // (pos - lower) x 100 needs 64 bits
        {5, 5, 5, " 0 %"},                  // an empty range leaves the first text
    };
    for (const auto& c : cases) {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
        dlg.SetRange(c.lower, c.upper);
        dlg.SetPos(c.pos);
        EXPECT_EQ(Percent(dlg), c.text) << c.lower << ".." << c.upper << " at " << c.pos;
    }
}

TEST_F(ProgressDlgTest, BarKeepsTheFull32BitRangeAndStepsPumpEvents)
{
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.Caption(), "Processing progress");
    dlg.SetRange(0, 100000);
    EXPECT_EQ(dlg.Item(kIdcProgressBar)->RangeUpper(), 100000);
    EXPECT_EQ(dlg.SetPos(70000), 0);
    EXPECT_EQ(dlg.SetPos(10), 70000) << "returns the previous position";
    EXPECT_EQ(dlg.StepIt(), 10);
    const uint64_t revision = dlg.Item(kIdcProgressPercent)->Revision();
    for (int i = 0; i < 7; ++i) dlg.StepIt();
    EXPECT_EQ(dlg.Item(kIdcProgressPercent)->Revision(), revision) << "0% each time: no rewrite";
    EXPECT_GE(host.PumpCount(), 10) << "every step pumps events";
}

TEST_F(ProgressDlgTest, CancelIsLatchedUntilTheNextPollAndCountsOnce)
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
    EXPECT_EQ(host.mainEnableCalls, 1) << "the destructor does not enable it a second time";
    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
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

    host.mainEnabled = true;
    host.failModelessCreate = true;
    CProgressDlg failed(128);
    EXPECT_FALSE(failed.Create());
    EXPECT_TRUE(host.mainEnabled) << "a failed create enables it again";
}

TEST_F(ProgressDlgTest, WaitNoticesShowTheirText)
{
    {
        CReadWaitDlg read;
        ASSERT_TRUE(read.Create());
        CSaveWaitDlg save;
        ASSERT_TRUE(save.Create());
    }
    ASSERT_TRUE(host.LastDialog(kIddReadWait) && host.LastDialog(kIddSaveWait));
    EXPECT_EQ(host.LastDialog(kIddReadWait)->controls.at(0).Text(),
              "Reading data file. This might take few minutes. Please wait...");
    EXPECT_EQ(host.LastDialog(kIddSaveWait)->controls.at(0).Text(),
              "Saving data file. This might take few minutes. Please wait...");
}

} // namespace
