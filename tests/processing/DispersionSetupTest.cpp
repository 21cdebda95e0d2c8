#include "processing/DispersionSetupDlg.h"

#include "res/DispersionSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/ProcessingSetupGroups.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using D = CDispersionSetupDlg;

class DispersionSetupTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_TRUE(dlg.Create());
    }
    void TearDown() override
    {
        dlg.DestroyWindow();
        HostTest::TearDown();
    }
    CDispersionSetupDlg dlg;
    TempDir dir;
};

TEST_F(DispersionSetupTest, EachPairEnablesItsProfileOrItsFixedValue)
{
    struct Case {
        void (D::*click)(bool);
        int picker, label, edit;
    };
    const Case cases[] = {
        {&D::OnFixedFrequency, D::kIdcSelectFrequencyProfile, D::kIdcFrequencyProfile, D::kIdcFixedFrequencyValue},
        {&D::OnFixedBitSize, D::kIdcSelectCaliperProfile, D::kIdcCaliperProfile, D::kIdcBitSize},
        {&D::OnFixedDensity, D::kIdcSelectDensityProfile, D::kIdcDensityProfile, D::kIdcFixedDensityValue},
    };
    for (const auto& c : cases)
        for (bool fixed : {true, false}) {
            (dlg.*c.click)(fixed);
            EXPECT_EQ(dlg.IsItemEnabled(c.picker), !fixed) << c.picker;
            EXPECT_EQ(dlg.IsItemEnabled(c.label), !fixed) << c.picker;
            EXPECT_EQ(dlg.IsItemEnabled(c.edit), fixed) << c.picker;
        }
    EXPECT_EQ(dlg.m_setup.variableDensity, 1);
    EXPECT_EQ(dlg.Item(D::kIdcFixedDensity)->Check(), 0);
}

TEST_F(DispersionSetupTest, TheInputNamesTheOutputOnlyByItsOwnExtension)
{
    const std::string input = dir.File("well.data") + "/dts.qtx", bare = dir.File("well.data") + "/dts";
    std::filesystem::create_directory(dir.File("well.data"));
    ASSERT_TRUE(WriteQtx(input, {{"DTS", 0, kCategoryTrace, 1, 1}}, 2));
    ASSERT_TRUE(WriteQtx(bare, {{"DTS", 0, kCategoryTrace, 1, 1}}, 2));
    host.ExpectFileDialog("Select Input DTS File", input);
    ASSERT_EQ(dlg.OnSelect(D::kInput), 1);
    EXPECT_EQ(dlg.m_setup.outputPath, dir.File("well.data") + "/dts_disp.qtx");
    EXPECT_EQ(dlg.m_setup.outputTitle, "dts_disp.qtx");
    // Without a dot in the file name the output stays, though a folder holds one.
    host.ExpectFileDialog("Select Input DTS File", bare);
    ASSERT_EQ(dlg.OnSelect(D::kInput), 1);
    EXPECT_EQ(dlg.m_setup.outputPath, dir.File("well.data") + "/dts_disp.qtx");
}

TEST_F(DispersionSetupTest, ListsHandBackTheirFlagsAndRefuseOverfullDataSets)
{
    const std::string noCurves = dir.File("wf.qtx"), curves = dir.File("cal.qtx"), many = dir.File("many.qtx");
    ASSERT_TRUE(WriteQtx(noCurves, {{"WF1", 0, kCategoryWaveform, 4, 8}, {"WF2", 0, kCategoryWaveform, 4, 8}}, 2));
    ASSERT_TRUE(WriteQtx(curves, {{"WF", 0, kCategoryWaveform, 4, 8}, {"CAL", 0, kCategoryTrace, 1, 1},
                                  {"BS", 0, kCategoryTrace, 1, 1}}, 2));
    std::vector<QtxDatumShape> datums;
    for (int i = 0; i < 257; ++i) datums.push_back({"C" + std::to_string(i), 0, kCategoryTrace, 1, 1});
    ASSERT_TRUE(WriteQtx(many, datums, 1));

    DispersionSetupGroup group;
    host.ExpectFileDialog("Select Frequency Profile", noCurves);
    host.ExpectFileDialog("Select Caliper Profile", curves);
    host.ExpectFileDialog("Select Density Profile", many);
    host.ExpectMessage("The data set has 257 datums; at most 256 can be listed.");
    host.ScriptDialog(kIddDispersionSetup)
        .Press(D::kIdcSelectFrequencyProfile)
        .Press(D::kIdcSelectCaliperProfile)
        .Select(D::kIdcCaliperList, 1)
        .Select(D::kIdcCaliperList, 0)
        .Select(D::kIdcCaliperList, 0) // twice: still the one line the list shows
        .Press(D::kIdcSelectDensityProfile)
        .Press(D::kIdcRun);
    ASSERT_EQ(CDispersionSetupDlg().Edit(group), D::kIdcRun);
    const auto& frequency = group.lists[D::kFrequency];
    EXPECT_EQ(frequency.itemCount, 2) << "every datum counts, listed or not";
    EXPECT_EQ(frequency.listed[0] + frequency.listed[1], 0u);
    const auto& caliper = group.lists[D::kCaliper];
    EXPECT_EQ(std::vector<uint32_t>(caliper.listed.begin(), caliper.listed.begin() + 3),
              (std::vector<uint32_t>{0, 1, 1}));
    EXPECT_EQ(std::vector<uint32_t>(caliper.selected.begin(), caliper.selected.begin() + 3),
              (std::vector<uint32_t>{0, 1, 0}))
        << "only the curve the list shows selected is chosen";
    EXPECT_EQ(group.lists[D::kDensity].itemCount, 0);
}

class SlownessUnitsTest : public HostTest {};

TEST_F(SlownessUnitsTest, UnitsAndToolsAreEachOneChoice)
{
    CSlownessUnitsDlg dlg;
    host.ScriptDialog(kIddSlownessUnits)
        .Radio(CSlownessUnitsDlg::kIdcEnglish)
        .Radio(CSlownessUnitsDlg::kIdcBat800)
        .Radio(CSlownessUnitsDlg::kIdcBat675)
        .Press(IDOK);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::make_pair(dlg.m_english, dlg.m_metric), std::make_pair(uint16_t(1), uint16_t(0)));
    EXPECT_EQ(dlg.m_tools, (std::array<uint16_t, 3>{0, 1, 0}));
    EXPECT_EQ(host.LastDialog(kIddSlownessUnits)->Item(CSlownessUnitsDlg::kIdcBat800)->Text(),
              "8.00\" BAT tool - Stoneley");
}

} // namespace
