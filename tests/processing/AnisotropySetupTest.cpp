#include "processing/AnisotropySetupDlg.h"

#include "res/AnisotropySetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <fstream>
#include <string>
#include <vector>

namespace {

using D = CAnisotropySetupDlg;

class AnisotropySetupTest : public HostTest {
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
    std::vector<std::string> Lines(int id)
    {
        std::vector<std::string> lines;
        const ControlState* list = dlg.Item(id);
        for (int i = 0; i < list->Count(); ++i) lines.push_back(list->ItemText(i));
        return lines;
    }
    CAnisotropySetupDlg dlg;
    TempDir dir;
};

TEST_F(AnisotropySetupTest, OptionsRelabelAndEnableTheModeControls)
{
    struct Case {
        D::Option option;
        const char* inputButton;
        const char* profileGroup;
        bool profilePicker, profileStart, inputDepths;
    };
    const Case cases[] = {
        {D::kCollocate, "Select Cross Dipole File", "Profile", false, false, true},
        {D::kAnalysis, "Select Cross Dipole File", "Profile", true, true, true},
        {D::kRotate, "Select Cross Dipole File", "Profile", true, false, true},
        {D::kFastShear, "Select Tool Azimuth", "Rotation Azimuth", true, false, false},
        {D::kCombine, "Select Cross Dipole File", "Profile", false, false, true},
    };
    for (const auto& c : cases) {
        dlg.OnOption(c.option);
        EXPECT_EQ(dlg.GetItemText(D::kIdcSelectInput), c.inputButton) << c.option;
        EXPECT_EQ(dlg.GetItemText(D::kIdcProfileGroup), c.profileGroup) << c.option;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcSelectProfile), c.profilePicker) << c.option;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcProfileList), c.profilePicker) << c.option;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcProfileStart), c.profileStart) << c.option;
        EXPECT_EQ(dlg.IsItemEnabled(D::kIdcInputStart), c.inputDepths) << c.option;
        EXPECT_TRUE(dlg.IsItemEnabled(D::kIdcInputList) && dlg.IsItemEnabled(D::kIdcSelectInput));
        int checked = 0;
        for (int id : {D::kIdcCollocateTransmitter, D::kIdcAnisotropyAnalysis, D::kIdcCombineEnergy,
                       D::kIdcRotateWaveforms, D::kIdcAzimuthCoherence, D::kIdcFastShearAzimuth})
            checked += dlg.Item(id)->Check();
        EXPECT_EQ(checked, 1);
    }
    // A 13-character label keeps a path of 57 characters whole, not one of 58.
    const std::string whole = "C:\\" + std::string(45, 'd') + "\\well.qtx";
    dlg.m_setup.inputPath = whole;
    dlg.OnOption(D::kCollocate);
    EXPECT_EQ(dlg.GetItemText(D::kIdcInputFile), "Input File : " + whole);
    dlg.m_setup.inputPath = "C:\\" + std::string(46, 'd') + "\\well.qtx";
    dlg.OnOption(D::kCollocate);
    EXPECT_EQ(dlg.GetItemText(D::kIdcInputFile), "Input File : ...\\well.qtx");
}

TEST_F(AnisotropySetupTest, TheModeChoosesTheListedCategoriesAndAClickTogglesItsDatum)
{
    const std::string path = dir.File("xd.qtx");
    ASSERT_TRUE(WriteQtx(path,
                         {{"WFX", 0, kCategoryWaveform, 4, 8}, {"CRV", 0, kCategoryTrace, 1, 1},
                          {"AZI", 0, kCategoryAzimuth, 1, 1}, {"DT", 0, kCategoryTrace, 1, 1},
                          {"WFY", 0, kCategoryWaveform, 4, 8}},
                         3, 1001.0, -0.5));
    host.ExpectFileDialog("Select Input Cross Dipole File", path);
    ASSERT_EQ(dlg.OnSelectCrossDipoleFile(), 1);
    EXPECT_EQ(Lines(D::kIdcInputList), (std::vector<std::string>{"WFX ", "AZI ", "WFY "}));
    EXPECT_EQ(dlg.m_setup.inputCount, 5);
    EXPECT_EQ(dlg.m_setup.inputTitle, "xd");
    EXPECT_LT(dlg.m_setup.inputTopDepth, dlg.m_setup.inputBottomDepth) << "depths are put in order";
    EXPECT_EQ(dlg.GetItemText(D::kIdcInputStart), " 1000.0000");

    dlg.Item(D::kIdcInputList)->ClickLine(1, 0); // the second line is datum 2
    dlg.OnSelchangeInputList();
    dlg.Item(D::kIdcInputList)->SetCaretIndex(2); // the caret alone selects nothing
    dlg.OnSelchangeInputList();
    EXPECT_EQ(dlg.m_setup.inputSelected, (decltype(dlg.m_setup.inputSelected){0, 0, 1}));
    dlg.Item(D::kIdcInputList)->ClickLine(0, 0); // a second line joins the first
    dlg.OnSelchangeInputList();
    EXPECT_EQ(dlg.m_setup.inputSelected, (decltype(dlg.m_setup.inputSelected){1, 0, 1}));
    dlg.Item(D::kIdcInputList)->ClickLine(1, 0); // and a click takes one back
    dlg.OnSelchangeInputList();
    EXPECT_EQ(dlg.m_setup.inputSelected, (decltype(dlg.m_setup.inputSelected){1, 0, 0}));

    dlg.OnOption(D::kFastShear); // relabels, but the list filled before stays
    EXPECT_EQ(Lines(D::kIdcInputList).size(), 3u);
    host.ExpectFileDialog("Select Input Cross Dipole File", path);
    ASSERT_EQ(dlg.OnSelectCrossDipoleFile(), 1);
    EXPECT_EQ(Lines(D::kIdcInputList), (std::vector<std::string>{"CRV ", "DT  "}));
    EXPECT_EQ(dlg.m_setup.inputSelected[2], 0) << "a new read starts with nothing selected";

    dlg.OnOption(D::kCollocate); // the profile lists curves whatever the mode
    host.ExpectFileDialog("Select Tracking Profile", path);
    ASSERT_EQ(dlg.OnSelectTrackingProfile(), 1);
    EXPECT_EQ(Lines(D::kIdcProfileList), (std::vector<std::string>{"CRV ", "DT  "}));
    EXPECT_EQ(dlg.GetItemText(D::kIdcInputStart), " 1000.0000") << "profile depths are shown nowhere";
}

TEST_F(AnisotropySetupTest, UnreadableOrOverfullDataSetsStopThePicker)
{
    const std::string many = dir.File("many.qtx"), broken = dir.File("broken.qtx");
    std::ofstream(broken) << "not a data set";
    std::vector<QtxDatumShape> datums;
    for (int i = 0; i < 129; ++i) datums.push_back({"C" + std::to_string(i), 0, kCategoryTrace, 1, 1});
    ASSERT_TRUE(WriteQtx(many, datums, 1));
    host.ExpectMessage("The data set has 129 datums; at most 128 can be listed.");
    EXPECT_EQ(dlg.ReadInputHeader(many), 0);
    EXPECT_EQ(dlg.Item(D::kIdcInputList)->Count(), 0);
    EXPECT_EQ(dlg.m_setup.inputCount, 0);

    host.ExpectFileDialog("Select Tracking Profile", "");
    EXPECT_EQ(dlg.OnSelectTrackingProfile(), 0);
    EXPECT_TRUE(dlg.m_setup.profilePath.empty()) << "a cancelled picker changes nothing";
    host.ExpectFileDialog("Select Tracking Profile", broken);
    host.ExpectMessage("Error reading header");
    EXPECT_EQ(dlg.OnSelectTrackingProfile(), 0);
    EXPECT_EQ(dlg.m_setup.profilePath, broken) << "the names are kept though the file is unreadable";
}

TEST_F(AnisotropySetupTest, RunAndSaveHandTheChoicesBackButCancelDoesNot)
{
    const std::string path = dir.File("in.qtx");
    ASSERT_TRUE(WriteQtx(path, {{"WF", 0, kCategoryWaveform, 4, 8}, {"AZ", 0, kCategoryAzimuth, 1, 1}}, 2));
    AnisotropySetupGroup group;
    group.anisotropyAnalysis = 1;
    for (int end : {int(D::kIdcRun), int(D::kIdcSaveSetup), int(IDCANCEL)}) {
        host.ExpectFileDialog("Select Input Cross Dipole File", path);
        host.ScriptDialog(kIddAnisotropySetup).Press(D::kIdcSelectInput).Select(D::kIdcInputList, 1).Press(end);
        CAnisotropySetupDlg run;
        EXPECT_EQ(run.Edit(group), end);
        EXPECT_EQ(group.inputCount, end == IDCANCEL ? 0 : 2) << end;
        group.inputCount = 0;
    }
    EXPECT_EQ(group.inputSelected[1], 1) << "each run reads afresh, then the click selects datum 1";
    EXPECT_EQ(group.inputListed[0], 1);
    EXPECT_EQ(group.anisotropyAnalysis, 1);
}

} // namespace
