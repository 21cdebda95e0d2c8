#include "processing/PickingSetupDlg.h"

#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

namespace {

using D = CPickingSetupDlg;

class PickingSetupTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        theApp.m_dormant.SetDefaults();
        ASSERT_TRUE(dlg.Create());
    }
    void TearDown() override
    {
        dlg.DestroyWindow();
        HostTest::TearDown();
    }
    CPickingSetupDlg dlg;
    TempDir dir;
};

TEST_F(PickingSetupTest, AModeClickResetsTheOutputNameOnlyWhenTheModeChanges)
{
    dlg.m_setup.inputPath = "C:\\data\\well7.qtx";
    dlg.m_setup.inputName = "well7.qtx";
    dlg.m_setup.inputTitle = "well7";
    dlg.m_setup.outputName = "old.qtx";
    dlg.m_setup.outputPath = "C:\\data\\old.qtx";
    dlg.OnMode(D::kGuided);
    EXPECT_EQ(dlg.m_setup.outputPath, "C:\\data\\well7_Semb.qtx");
    dlg.OnMode(D::kStc);
    EXPECT_EQ(dlg.m_outputNameReset, 1u);
    EXPECT_EQ(dlg.m_setup.outputPath, "C:\\data\\well7_SembMap.qtx");
    EXPECT_EQ(dlg.m_setup.outputExt, ".qtx");
    dlg.m_setup.outputPath = "C:\\data\\mine.qtx";
    dlg.OnMode(D::kStc); // the same mode again: the chosen name stays
    EXPECT_EQ(dlg.m_outputNameReset, 0u);
    EXPECT_EQ(dlg.m_setup.outputPath, "C:\\data\\mine.qtx");
    EXPECT_EQ(dlg.GetItemText(D::kIdcOutputFile), "Output File : C:\\data\\mine.qtx");

    // No mode set: a new input keeps the file name, moved into the new folder.
    dlg.m_setup.stcMap = 0;
    dlg.m_setup.outputName = "keep.qtx";
    dlg.m_setup.inputPath = "D:\\other\\x.qtx";
    dlg.m_setup.inputName = "x.qtx";
    dlg.DeriveOutputName();
    EXPECT_EQ(dlg.m_setup.outputPath, "D:\\other\\keep.qtx");
}

TEST_F(PickingSetupTest, ModesSwitchTheTimeAndSlownessControls)
{
    struct Case {
        D::Mode mode;
        const char* timeCaption;
        bool timeProfile, timeStop, slownessProfile;
    };
    dlg.OnSlownessMode(2); // Vp/Vs offers the profile outside the map modes
    const Case cases[] = {
        {D::kSfc, "Response [Hz]", false, true, false},
        {D::kStc, "Response [uSec]", false, true, false},
        {D::kIfs, "Response [uSec]", true, false, true},
        {D::kGuided, "Response [uSec]", true, false, true},
    };
    for (const auto& c : cases) {
        dlg.OnMode(c.mode);
        EXPECT_EQ(dlg.GetItemText(D::kIdcTimeGroup), c.timeCaption) << c.mode;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcSelectTimeProfile), c.timeProfile) << c.mode;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcTimeStop), c.timeStop) << c.mode;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcSelectSlownessProfile), c.slownessProfile) << c.mode;
        EXPECT_TRUE(dlg.IsItemEnabled(D::kIdcSlownessStart)) << c.mode;
    }
    // IFS shows the package checked without setting its flag; a click then sets it.
    dlg.OnMode(D::kIfs);
    EXPECT_EQ(dlg.Item(D::kIdcDispersionPackage)->Check(), 1);
    EXPECT_EQ(dlg.m_setup.dispersionPackage, 0);
    EXPECT_FALSE(dlg.IsItemEnabled(D::kIdcResolutionLow));
    dlg.OnToggle(D::kIdcDispersionPackage);
    EXPECT_EQ(dlg.m_setup.dispersionPackage, 1);
    EXPECT_EQ(dlg.Item(D::kIdcDispersionPackage)->Check(), 1);
}

TEST_F(PickingSetupTest, ReceiverRowsFollowTheFirstWaveformAndRefuseMoreThanSixteen)
{
    const std::string eight = dir.File("eight.qtx"), many = dir.File("many.qtx");
    ASSERT_TRUE(WriteQtx(eight, {{"CRV", 0, 6, 1, 1}, {"WF", 0, 1, 8, 16}}, 2));
    ASSERT_TRUE(WriteQtx(many, {{"WF", 0, 1, 20, 16}}, 2));
    dlg.m_setup.inputPath = eight;
    dlg.OnToggle(D::kIdcExclude);
    const ControlState* list = dlg.Item(D::kIdcReceivers);
    ASSERT_EQ(list->Count(), 8);
    EXPECT_EQ(list->ItemText(7), "R8");
    EXPECT_EQ(list->SelCount(), 0) << "excluding starts with no row";
    dlg.Item(D::kIdcReceivers)->SetCaretIndex(2);
    dlg.Item(D::kIdcReceivers)->SetSel(2, true);
    dlg.OnSelchangeReceiverList();
    EXPECT_EQ(dlg.m_setup.excluded[2], 1u);
    // One change that moves the selection (the caret on the new row): the rows follow the list.
    dlg.Item(D::kIdcReceivers)->SetSel(2, false);
    dlg.Item(D::kIdcReceivers)->SetSel(4, true);
    dlg.Item(D::kIdcReceivers)->SetCaretIndex(4);
    dlg.OnSelchangeReceiverList();
    EXPECT_EQ(std::vector<uint32_t>(dlg.m_setup.excluded.begin(), dlg.m_setup.excluded.begin() + 6),
              (std::vector<uint32_t>{0, 0, 0, 0, 1, 0}));
    dlg.Item(D::kIdcReceivers)->SetSel(4, false);
    dlg.Item(D::kIdcReceivers)->SetSel(2, true);
    dlg.Item(D::kIdcReceivers)->SetCaretIndex(2);
    dlg.OnSelchangeReceiverList();
    dlg.OnToggle(D::kIdcExclude);
    EXPECT_EQ(dlg.m_setup.excluded[2], 0u) << "turning Exclude off clears every row";
    EXPECT_EQ(list->SelCount(), 8);

    dlg.m_setup.inputPath = many;
    host.ExpectMessage("The input data set has 20 receivers; at most 16 can be listed.");
    dlg.FillReceiverList();
    EXPECT_EQ(list->Count(), 16);
}

} // namespace
