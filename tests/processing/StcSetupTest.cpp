#include "processing/StcSetupDlg.h"

#include "res/StcSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/ProcessingSetupGroups.h"

#include <string>
#include <vector>

namespace {

using D = CStcSetupDlg;

class StcSetupTest : public HostTest {
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
    CStcSetupDlg dlg;
    TempDir dir;
};

TEST_F(StcSetupTest, SearchAndBoreholeChoicesEnableTheirControls)
{
    struct Case {
        D::Search search;
        bool profile, vpvs, width;
    };
    const Case cases[] = {{D::kPWaveGuided, true, true, false},
                          {D::kFixedRange, false, false, false},
                          {D::kVariableCenter, true, false, true}};
    for (const auto& c : cases) {
        dlg.OnSearch(c.search);
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcSelectSlownessProfile), c.profile) << c.search;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcSlownessProfile), c.profile) << c.search;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcMinVpVs), c.vpvs) << c.search;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcMaxVpVs), c.vpvs) << c.search;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcWidth), c.width) << c.search;
        EXPECT_TRUE(dlg.IsItemEnabled(D::kIdcSlownessList));
    }
    for (bool fixed : {true, false}) {
        dlg.OnBorehole(fixed);
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcBitSize), fixed);
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcSelectCaliperProfile), !fixed);
        EXPECT_EQ(dlg.Item(D::kIdcUseCaliper)->Check(), fixed ? 0 : 1);
    }
}

TEST_F(StcSetupTest, TheInputMapGivesTheOutputNameDepthsAndRanges)
{
    const std::string path = dir.File("well7.qtx");
    QtxDatumShape map{.mnemonic = "MAP", .category = kCategorySemblanceMap, .samples = 100, .unit = 3,
                      .step = 2.0f, .samples2 = 256, .unit2 = 0, .step2 = 10.0f, .first = 40};
    ASSERT_TRUE(WriteQtx(path, {map}, 2, 1001.0, -0.5));
    host.ExpectFileDialog("Browse Input QTX File", path);
    ASSERT_EQ(dlg.OnSelectInputMapFile(), 1);
    EXPECT_EQ(dlg.m_setup.outputName, "well7_Semb.qtx");
    EXPECT_EQ(dlg.m_setup.outputPath, dir.File("well7_Semb.qtx"));
    EXPECT_EQ(dlg.GetItemText(D::kIdcTopDepth), " 1000.5000");
    EXPECT_EQ(dlg.GetItemText(D::kIdcSlownessGroup), "Slowness range [uSec/m]");
    for (auto [id, text] : {std::pair{D::kIdcSlowMin, "80"}, {D::kIdcSlowMax, "280"}, {D::kIdcTimeStart, "0"},
                            {D::kIdcTimeStop, "2560"}})
        EXPECT_EQ(dlg.GetItemText(id), text) << id;

    // "Input Map File : " (17 characters) keeps a 53-character path whole, not a 54-character one.
    const std::string whole = "C:\\" + std::string(41, 'd') + "\\well.qtx";
    dlg.m_setup.inputPath = whole;
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.GetItemText(D::kIdcInputFile), "Input Map File : " + whole);
    dlg.m_setup.inputPath = "C:\\" + std::string(42, 'd') + "\\well.qtx";
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.GetItemText(D::kIdcInputFile), "Input Map File : ...\\well.qtx");
    EXPECT_EQ(dlg.GetItemText(D::kIdcSlowMax), "280") << "the ranges stay with the dialog";
}

TEST_F(StcSetupTest, CurveListsHandBackShownAndSelectedFlagsInFileOrder)
{
    const std::string profile = dir.File("prof.qtx"), many = dir.File("many.qtx");
    ASSERT_TRUE(WriteQtx(profile,
                         {{"WF", 0, kCategoryWaveform, 4, 8}, {"CAL", 0, kCategoryTrace, 1, 1},
                          {"BS", 0, kCategoryTrace, 1, 1}},
                         2));
    std::vector<QtxDatumShape> datums;
    for (int i = 0; i < 257; ++i) datums.push_back({"C" + std::to_string(i), 0, kCategoryTrace, 1, 1});
    ASSERT_TRUE(WriteQtx(many, datums, 1));

    StcSetupGroup group;
    host.ExpectFileDialog("Select Caliper Profile", profile);
    host.ExpectFileDialog("Select Slowness Profile", many);
    host.ExpectMessage("The profile has 257 datums; at most 256 can be listed.");
    host.ScriptDialog(kIddStcSetup)
        .Press(D::kIdcSelectCaliperProfile)
        .Select(D::kIdcCaliperList, 1)
        .Press(D::kIdcSelectSlownessProfile)
        .Press(D::kIdcSaveSetup);
    CStcSetupDlg run;
    ASSERT_EQ(run.Edit(group), D::kIdcSaveSetup);
    EXPECT_EQ(group.caliperList.itemCount, 3);
    EXPECT_EQ((std::vector<uint32_t>(group.caliperList.listed.begin(), group.caliperList.listed.begin() + 3)),
              (std::vector<uint32_t>{0, 1, 1}));
    EXPECT_EQ((std::vector<uint32_t>(group.caliperList.selected.begin(), group.caliperList.selected.begin() + 3)),
              (std::vector<uint32_t>{0, 0, 1}));
    EXPECT_EQ(group.caliperProfileName, "prof");
    EXPECT_EQ(group.slownessList.itemCount, 0) << "the overfull profile is refused";
    EXPECT_EQ(group.slownessProfilePath, many);

}

} // namespace
