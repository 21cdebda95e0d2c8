// Display > Log: the Log Setup loop as the user drives it.
#include "plot/LogSetupDlg.h"
#include "plot/QtxCommand.h"
#include "res/CommandIds.h"
#include "res/EditCommandDlgIds.h"
#include "res/LogItemSetupDlgIds.h"
#include "res/LogSetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/LogSetupGroup.h"
#include "support/AppFixture.h"
#include "support/LogCommandBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>

namespace {

using D = CLogSetupDlg;
using enum log_setup::Control;

class LogCommandTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        frame.Command(ID_FILE_QTX);
    }
    DialogScript& Script() { return host.ScriptDialog(kIddLogSetup); }
    static std::function<void(CDialog&)> Lists(const std::string& enabled)
    {
        return [enabled](CDialog& d) {
            std::string names;
            const ControlState* list = d.Item(kIdcEnabledList);
            for (int i = 0; i < list->Count(); ++i) names += list->ItemText(i) + ";";
            EXPECT_EQ(names, enabled);
        };
    }
    TempDir dir;
};

TEST_F(LogCommandTest, SaveClearAndLoadComeBackToTheDialogAndViewLogEndsTheCommand)
{
    LogSetupGroup& s = theApp.m_logSetup;
    s.plotItems = {std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults())};
    s.plotItems[0]->m_strName = "WMNO";
    const std::shared_ptr<CLogPlotItem> shown = s.plotItems[0]; // as an open plot window holds it
    const std::string saved = dir.File("layout.cmd");

    host.ExpectFileDialog("Save Settings", saved);
    Script().Type(kIdcDepthScale, "600").Press(kIdcSaveSettings);
    host.ExpectMessage("Are you sure you want to clear entire list?", IDYES);
    Script().Inspect(Lists("WMNO;")).Type(kIdcDepthScale, "700").Press(kIdcClearAll);
    host.ExpectFileDialog("Load Settings", saved);
    Script().Inspect(Lists("")).Press(kIdcLoadSettings);
    Script()
        .Inspect(Lists("WMNO;"))
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(kIdcDepthScale), "600"); })
        .Radio(kIdcMetric)
        .Press(kIdcViewLog);
    host.ExpectMessage("Plot item WMNO cannot be plotted: its sample interval is not a positive number.");
    EXPECT_TRUE(frame.Command(ID_DISPLAY_LOG));

    EXPECT_EQ(ReadBytes(saved).size(), 78u + 891u + 22u + 40u) << "with the item's texts: WMNO, qtx, VDL, ...";
    ASSERT_EQ(s.plotItems.size(), 1u);
    EXPECT_NE(s.plotItems[0], shown) << "the loaded list is new";
    EXPECT_EQ(shown->m_strName, "WMNO") << "the item let go stays readable";
    EXPECT_EQ(s.depthScale, 600.0f);
    EXPECT_EQ(s.depthUnits, "Meters");
    EXPECT_EQ(s.loadPath, saved);
}

// A layout saved under a name typed without an extension is a ".cmd" file, which Load
// Settings shows under its filter "Command (*.cmd)".
TEST_F(LogCommandTest, ALayoutSavedUnderANameWithoutExtensionIsACommandFile)
{
    theApp.m_logSetup.plotItems = {std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults())};
    host.ExpectFileDialog("Save Settings", dir.File("layout"));
    Script().Press(kIdcSaveSettings);
    Script().Press(IDCANCEL);
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_TRUE(std::filesystem::exists(dir.File("layout.cmd")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("layout")));
    EXPECT_EQ(theApp.m_logSetup.savePath, dir.File("layout.cmd"));
}

// Browse Folder and Apply change what the next plot reads and open nothing: the status
// bar says what they did.
TEST_F(LogCommandTest, BrowseFolderAndApplySayWhatTheyDid)
{
    theApp.m_logSetup.plotItems = {std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults())};
    theApp.m_logSetup.plotItems[0]->m_file = {dir.File("old/well.qtx"), "well", "qtx"};
    host.ExpectFileDialog("Browse Folder", dir.File("any"));
    Script().Press(kIdcBrowseFolder);
    Script()
        .Inspect([&](CDialog&) {
            EXPECT_EQ(frame.PaneText(0), "Browse Folder done: the plot items read their data sets from " + dir.Path());
        })
        .Press(kIdcApply);
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_EQ(theApp.m_logSetup.plotItems[0]->m_file.path, dir.File("well.qtx"));
    EXPECT_EQ(frame.PaneText(0), "Log Setup kept: Display > Log starts from it");
    EXPECT_TRUE(frame.Children().empty());
}

// A command file's style texts that the program does not know come back as the file
// held them: loaded, each item applied unchanged in Log Item Setup, stepped through in
// Edit Command and saved, the file is the same bytes.
TEST_F(LogCommandTest, StyleTextsTheProgramDoesNotKnowAreSavedAsTheFileHeldThem)
{
    CommandItemFields wave = WaveformItemFields();
    wave.waveStyle = "Wiggle";
    wave.palette = "Rainbow";
    CommandItemFields curve = CurveItemFields();
    curve.lineStyle = "Zigzag";
    curve.lineWidth = "Thick";
    curve.colour = "Purple";
    curve.shadeColor = "Teal";
    curve.shadePattern = "Cross";
    const std::vector<uint8_t> bytes = CommandFileBytes(CommandPageFields(), {wave, curve});
    WriteBytes(dir.File("odd.cmd"), bytes);

    host.ExpectFileDialog("Load Settings", dir.File("odd.cmd"));
    Script().Press(kIdcLoadSettings);
    for (int line : {0, 1}) {
        Script().Select(kIdcEnabledList, line).Press(kIdcEdit);
        host.ScriptDialog(kIddLogItemSetup).Press(IDOK);
    }
    host.ScriptDialog(kIddEditCommand).Press(edit_command::kIdcNextItem).Press(IDOK);
    host.ExpectFileDialog("Save Settings", dir.File("again.cmd"));
    Script().Press(kIdcEditCommand).Press(kIdcSaveSettings);
    Script().Press(IDCANCEL);
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_EQ(ReadBytes(dir.File("again.cmd")), bytes);
    const CLogPlotItem& c = *theApp.m_logSetup.plotItems.at(1);
    EXPECT_EQ(c.m_style.lineWidth.Text(), "Thick");
    EXPECT_FALSE(c.m_style.lineWidth.Known());
}

TEST_F(LogCommandTest, EndCodesEndTheCommandOrShowTheDialogAgain)
{
    LogSetupGroup& s = theApp.m_logSetup;
    // View Log with no item: the message ends the command.
    const size_t shown = host.Dialogs().size();
    Script().Press(kIdcViewLog);
    host.ExpectMessage("The plot list is empty!");
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_EQ(host.Dialogs().size(), shown + 1);

    // Cancel copies nothing back; Apply everything; Browse Folder re-bases and comes back.
    Script().Type(kIdcHeader, "cancelled").Press(IDCANCEL);
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_EQ(s.header, "");
    s.plotItems = {std::make_shared<CLogPlotItem>("W", "/old/well.qtx", "well", "qtx", 0, 0, 0, 1, 2, 0, 1, 0, 1, 1)};
    host.ExpectFileDialog("Browse Folder", dir.File("any"));
    Script().Press(kIdcBrowseFolder);
    Script().Type(kIdcHeader, "Well 7").Enter();
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_EQ(s.header, "Well 7");
    EXPECT_EQ(s.plotItems[0]->m_file.path, dir.File("well.qtx"));
    EXPECT_EQ(host.FileDialogs().back().options.initialName, "any");

    // A file whose page the dialog would refuse is not loaded, so the dialog can show again.
    CommandPageFields page;
    page.trackWidth[0] = 30.0f;
    WriteBytes(dir.File("wide.cmd"), CommandFileBytes(page, {WaveformItemFields()}));
    host.ExpectFileDialog("Load Settings", dir.File("wide.cmd"));
    Script().Press(kIdcLoadSettings);
    host.ExpectMessage("Invalid page settings in input command file :\n" + dir.File("wide.cmd"));
    Script().Inspect(Lists("W;")).Press(kIdcApply);
    frame.Command(ID_DISPLAY_LOG);
    EXPECT_EQ(s.trackWidth[0], 4.0f);
}

} // namespace
