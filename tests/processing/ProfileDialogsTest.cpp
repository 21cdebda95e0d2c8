#include "processing/DepthProfileSetupDlg.h"
#include "processing/ProfileSearchSetupDlg.h"

#include "res/AzimuthProfileSetupDlgIds.h"
#include "res/FrequencyProfileSetupDlgIds.h"
#include "res/DepthProfileSetupDlgIds.h"
#include "res/SlownessProfileSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace {

class ProfileDialogsTest : public HostTest {
protected:
    TempDir dir;
};

// A search dialog run with two values typed and OK pressed: the message it shows
// ("" when none) and the range it hands back. A refused OK keeps it open: Cancel then.
template <typename Dialog>
std::pair<float, float> Confirm(ScriptedHost& host, int id, const std::string& low, const std::string& high,
                                const std::string& message)
{
    Dialog dlg;
    std::vector<int> edits; // the minimum's, then the maximum's
    for (const ControlTemplate& c : dlg.Template().controls)
        if (c.kind == ControlKind::Edit) edits.push_back(c.id);
    DialogScript& s = host.ScriptDialog(id).Type(edits.at(0), low).Type(edits.at(1), high);
    if (!message.empty()) host.ExpectMessage(message);
    s.Press(IDOK);
    if (!message.empty()) s.Press(IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), message.empty() ? IDOK : IDCANCEL) << low << " " << high;
    return {dlg.m_minimum, dlg.m_maximum};
}

TEST_F(ProfileDialogsTest, SearchRangesAreCheckedMinimumFirstWithTheirMessages)
{
    const std::string slowness = "!.\nValid range : 30.0 - 1250.0 uSec/ft.";
    const std::tuple<int, std::string, std::string, std::string> cases[] = {
        {kIddSlownessProfileSetup, "30", "1250", ""},
        {kIddSlownessProfileSetup, "29.9", "1250", "You entered an invalid minimum slowness" + slowness},
        {kIddSlownessProfileSetup, "40", "1250.1", "You entered an invalid maximum slowness" + slowness},
        {kIddSlownessProfileSetup, "200", "200", "Minimum slowness must be less then maximum slowness!"},
        {kIddFrequencyProfileSetup, "0", "50000", ""},
        {kIddFrequencyProfileSetup, "-1", "5000",
         "You entered an invalid minimum frequency!.\nValid range : 0.0 - 50000.0 Hz."},
        {kIddFrequencyProfileSetup, "6000", "5000", "Minimum frequency must be less then maximum frequency!"},
        {kIddAzimuthProfileSetup, "0", "360", ""},
        {kIddAzimuthProfileSetup, "10", "360.5", "You entered an invalid maximum azimuth!.\nValid range : 0.0 - 360.0 deg."},
    };
    for (const auto& [id, low, high, message] : cases) {
        const auto range = id == kIddSlownessProfileSetup    ? Confirm<CSlownessProfileSetupDlg>(host, id, low, high, message)
                           : id == kIddFrequencyProfileSetup ? Confirm<CFrequencyProfileSetupDlg>(host, id, low, high, message)
                                                             : Confirm<CAzimuthProfileSetupDlg>(host, id, low, high, message);
        if (message.empty()) {
            EXPECT_EQ(range, std::make_pair(std::stof(low), std::stof(high)));
        }
    }
}

TEST_F(ProfileDialogsTest, TheSlownessGroupNamesTheUnitAndTheAzimuthBoxesActAsAPair)
{
    CSlownessProfileSetupDlg slowness;
    slowness.m_unitText = "[uSec/m]";
    host.ScriptDialog(kIddSlownessProfileSetup).Press(IDOK);
    ASSERT_EQ(slowness.DoModal(), IDOK);
    EXPECT_EQ(host.LastDialog(kIddSlownessProfileSetup)->Item(slowness_profile_setup::kIdcRangeGroup)->Text(),
              "Slowness range [uSec/m]");

    using enum azimuth_profile_setup::Control;
    CAzimuthProfileSetupDlg azimuth;
    azimuth.m_trackMaximum = 1;
    host.ScriptDialog(kIddAzimuthProfileSetup)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.Item(kIdcTrackMaximum)->Check(), 1); })
        .Check(kIdcTrackMinimum)
        .Check(kIdcTrackMaximum)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.Item(kIdcTrackMinimum)->Check(), 0);
            EXPECT_EQ(d.Item(kIdcTrackMaximum)->Check(), 1);
        })
        .Check(kIdcTrackMinimum)
        .Press(IDOK);
    ASSERT_EQ(azimuth.DoModal(), IDOK);
    EXPECT_EQ(std::make_pair(azimuth.m_trackMinimum, azimuth.m_trackMaximum), std::make_pair(1u, 0u));
}

TEST_F(ProfileDialogsTest, OutputNamesFollowTheDomainInTheInputsFolder)
{
    const std::pair<const char*, const char*> names[] = {{"Time", "well_time.qtx"},
                                                         {"Frequency", "well_frequency.qtx"},
                                                         {"Slowness", "well_slowness.qtx"},
                                                         {"Time/Frequency", "well_timefreq.qtx"},
                                                         {"Azimuth", "well_azimuth.qtx"},
                                                         {"Anything", "well_azimuth.qtx"}};
    for (const auto& [domain, name] : names) EXPECT_EQ(CDepthProfileSetupDlg::OutputName("well", ViewDomainOfName(domain)), name);
    const std::tuple<const char*, const char*, const char*> folders[] = {
        {"/data/logs/well.qtx", "well.qtx", "/data/logs/"},
        {"/data/we/well.qtx", "well.qtx", "/data/we/"}, // a folder of the name's letters stays
        {"C:\\logs\\a.qtx", "a.qtx", "C:\\logs\\"},
        {"well.qtx", "well.qtx", ""},
    };
    for (const auto& [path, name, folder] : folders) EXPECT_EQ(CDepthProfileSetupDlg::OutputFolder(path, name), folder);
}

TEST_F(ProfileDialogsTest, TheInputFileSetsDepthsSlownessUnitAndOutputAndTheDomainItsRanges)
{
    using enum depth_profile_setup::Control;
    // A 60-character path: its label is shortened to the last separator.
    const std::string sub = dir.File(std::string(60 - dir.Path().size() - 10, 'd'));
    std::filesystem::create_directories(sub);
    const std::string path = sub + "/wave.qtx";
    ASSERT_EQ(path.size(), 60u);
    QtxDatumShape slowness{.mnemonic = "SMNO", .typeCode = 31, .category = kCategorySlowness, .samples = 4,
                           .unit = kUnitMicrosecondsPerMetre};
    ASSERT_TRUE(WriteQtx(path, {slowness}, 3, 1002.0, -0.5)); // the header's bottom above its top

    // '1' per enabled edit: time, frequency, slowness, azimuth, then Normalize.
    auto enabled = [](const CDialog& d) {
        std::string on;
        for (int id : {kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop, kIdcSlowMin, kIdcSlowMax, kIdcAzimMin,
                       kIdcAzimMax, kIdcNormalize})
            on += d.IsItemEnabled(id) ? '1' : '0';
        return on;
    };
    CDepthProfileSetupDlg dlg;
    dlg.m_setup.SetDefaults();
    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddDepthProfileSetup)
        .SelectText(kIdcDomain, "Frequency") // before any input: only the ranges change
        .Inspect([&](CDialog& d) {
            EXPECT_EQ(enabled(d), "001100000");
            EXPECT_EQ(d.GetItemText(kIdcOutputFile), "Output File : ");
        })
        .Press(kIdcSelectInputFile)
        .Inspect([&](CDialog& d) {
            EXPECT_EQ(d.GetItemText(kIdcInputFile), "Input File : .../wave.qtx");
            EXPECT_EQ(d.GetItemText(kIdcTopDepth) + " " + d.GetItemText(kIdcBottomDepth), "1001 1002");
            EXPECT_EQ(d.GetItemText(kIdcSlownessGroup), "Slowness range [uSec/m]");
        })
        .SelectText(kIdcDomain, "Slowness")
        .Inspect([&](CDialog& d) { EXPECT_EQ(enabled(d), "000011001"); })
        .SelectText(kIdcDomain, "Time/Frequency")
        .Inspect([&](CDialog& d) { EXPECT_EQ(enabled(d), "111100000"); })
        .Press(IDOK);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_setup.outputPath, sub + "/wave_timefreq.qtx");
    EXPECT_EQ(dlg.m_setup.outputFolder, sub + "/");
    EXPECT_EQ(std::make_pair(dlg.m_setup.topDepth, dlg.m_setup.bottomDepth), std::make_pair(1001.0, 1002.0));
    EXPECT_EQ(std::make_pair(dlg.m_setup.slowMin, dlg.m_setup.slowMax), std::make_pair(100.0f, 600.0f));
}

// The domain is taken by the list line's place: lines reworded on the way (as a
// translation would) change neither the ranges offered, the output's name nor the domain kept.
TEST_F(ProfileDialogsTest, RewordedDomainLinesChangeNoDecision)
{
    using enum depth_profile_setup::Control;
    CDepthProfileSetupDlg dlg;
    dlg.m_setup.SetDefaults();
    dlg.m_setup.inputPath = dir.File("well.qtx");
    dlg.m_setup.inputName = "well.qtx";
    dlg.m_setup.inputTitle = "well";
    host.ScriptDialog(kIddDepthProfileSetup)
        .Inspect([](CDialog& d) {
            ControlState* box = d.Item(kIdcDomain);
            ASSERT_EQ(box->Count(), 5);
            box->ResetContent();
            for (const char* line : {"Zeit", "Frequenz", "Langsamkeit", "Azimut", "Zeit/Frequenz"}) box->AddString(line);
        })
        .Select(kIdcDomain, 2)
        .Inspect([](CDialog& d) {
            EXPECT_TRUE(d.IsItemEnabled(kIdcNormalize));
            EXPECT_FALSE(d.IsItemEnabled(kIdcTimeStart));
        })
        .Select(kIdcDomain, 4)
        .Inspect([](CDialog& d) {
            EXPECT_TRUE(d.IsItemEnabled(kIdcFreqStart));
            EXPECT_TRUE(d.IsItemEnabled(kIdcTimeStart));
            EXPECT_FALSE(d.IsItemEnabled(kIdcNormalize));
        })
        .Press(IDOK);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_setup.domain, ViewDomain::kTimeFrequency);
    EXPECT_EQ(dlg.m_setup.outputName, "well_timefreq.qtx");
}

TEST_F(ProfileDialogsTest, RunChecksTheSetupsLimitsAndNeedsAnInput)
{
    using enum depth_profile_setup::Control;
    const std::tuple<int, std::string, std::string> cases[] = {
        {kIdcDepthScale, "99", "You entered an invalid depth scale!.\nValid range : 100.0 - 1000.0."},
        {kIdcDepthScale, "1001", "You entered an invalid depth scale!.\nValid range : 100.0 - 1000.0."},
        {kIdcTimeStop, "30001", "You entered an invalid stop time!.\nValid range : 0.0 - 30000.0 uSec."},
        {kIdcFreqStop, "50001", "You entered an invalid stop frequency!.\nValid range : 0.0 - 50000.0 Hz."},
        {kIdcSlowMin, "29", "You entered an invalid min slowness!.\nValid range : 30.0 - 1250.0 uSec/ft."},
        {kIdcAzimMax, "361", "You entered an invalid max azimuth!.\nValid range : 0.0 - 360.0 deg."},
    };
    for (const auto& [id, text, message] : cases) {
        CDepthProfileSetupDlg dlg;
        dlg.m_setup.SetDefaults();
        dlg.m_setup.inputPath = "/data/wave.qtx";
        host.ExpectMessage(message);
        host.ScriptDialog(kIddDepthProfileSetup)
            .Inspect([id = id, text = text](CDialog& d) { d.SetItemText(id, text); })
            .Press(IDOK)
            .Inspect([id = id](CDialog& d) { EXPECT_EQ(d.Focus(), id); })
            .Press(IDCANCEL);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << message;
    }
    CDepthProfileSetupDlg dlg;
    dlg.m_setup.SetDefaults();
    host.ExpectMessage("Select the input QTX file to profile first.");
    host.ScriptDialog(kIddDepthProfileSetup).Press(IDOK).Press(kIdcSaveSetup);
    EXPECT_EQ(dlg.DoModal(), CDepthProfileSetupDlg::kSavedSetup) << "Save Setup needs none";
}

} // namespace
