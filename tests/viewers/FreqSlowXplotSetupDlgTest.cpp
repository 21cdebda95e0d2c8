#include "viewers/FreqSlowXplotSetupDlg.h"

#include "res/XPlotSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/XPlotSetupGroup.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using D = CFreqSlowXplotSetupDlg;
using enum xplot_setup::Control;
using Typed = std::vector<std::pair<int, std::string>>;

class FreqSlowXplotSetupDlgTest : public HostTest {
protected:
    TempDir dir;
    std::string path = dir.File("ifs.qtx");
    XPlotSetupGroup group;

    void SetUp() override
    {
        HostTest::SetUp();
        group.SetDefaults();
    }
    DialogScript& Script(const Typed& typed = {})
    {
        DialogScript& s = host.ScriptDialog(kIddXPlotSetup);
        for (const auto& [id, text] : typed) s.Type(id, text);
        return s;
    }
    const ControlState& List() const { return *host.LastDialog(kIddXPlotSetup)->Item(kIdcDatums); }
    // Datums 0-5: waveforms but for 2 (slowness) and 4 (semblance map).
    void WriteDatums(int count = 6, double step = 0.5)
    {
        std::vector<QtxDatumShape> datums;
        for (int k = 0; k < count; ++k) {
            QtxDatumShape d{"DAT" + std::to_string(k), uint8_t(k == 1 ? 164 : k == 3 ? 158 : 1), kCategoryWaveform,
                            1, 4, kUnitMicroseconds, 2.0f};
            if (k == 2) d.category = kCategorySlowness, d.unit = kUnitMicrosecondsPerFoot;
            if (k == 4) d.category = kCategorySemblanceMap, d.samples2 = 2, d.unit2 = kUnitMicroseconds, d.step2 = 10;
            datums.push_back(d);
        }
        ASSERT_TRUE(WriteQtx(path, datums, 2, 1000.0, step));
    }
};

TEST_F(FreqSlowXplotSetupDlgTest, RunRefusesTheFirstBadFieldInExchangeOrder)
{
    const std::string depth = "depth!.\nValid range : -10.0 - 50000.0 ft.";
    const std::string freq = "frequency!.\nValid range : 0.0 - 30000.0 Hz.";
    const std::string slow = "slowness!.\nValid range : 0.0 - 2000.0 uSec/ft.";
    const std::tuple<Typed, std::string, int> cases[] = {
        {{{kIdcTopDepth, "-10.1"}, {kIdcFreqMin, "-1"}}, "You entered an invalid start " + depth, kIdcTopDepth},
        {{{kIdcBottomDepth, "0.5"}}, "Start depth must be less then stop depth!", kIdcTopDepth},
        {{{kIdcBottomDepth, "50000.1"}}, "You entered an invalid stop " + depth, kIdcBottomDepth},
        {{{kIdcFreqMin, "-0.1"}}, "You entered an invalid start " + freq, kIdcFreqMin},
        {{{kIdcFreqMin, "3000"}}, "Start frequency must be less then stop frequency!", kIdcFreqMin},
        {{{kIdcFreqMax, "30000.1"}}, "You entered an invalid stop " + freq, kIdcFreqMax},
        {{{kIdcSlowMin, "-0.1"}}, "You entered an invalid min " + slow, kIdcSlowMin},
        {{{kIdcSlowMin, "480"}}, "Min slowness must be less then max slowness!", kIdcSlowMin},
        {{{kIdcSlowMax, "2000.1"}}, "You entered an invalid max " + slow, kIdcSlowMax},
    };
    for (const auto& [typed, message, focus] : cases) {
        host.ClearMessages();
        host.ExpectMessage(message);
        Script(typed).Press(D::kIdcRun).Press(IDCANCEL);
        XPlotSetupGroup edited = group;
        EXPECT_EQ(D().Edit(edited), IDCANCEL) << message;
        EXPECT_EQ(edited, group) << "Cancel gives nothing back";
        ASSERT_EQ(MessageTexts(), std::vector<std::string>{message});
        EXPECT_EQ(host.LastDialog(kIddXPlotSetup)->focus, focus) << message;
    }
    Script({{kIdcTopDepth, "-10"}, {kIdcBottomDepth, "50000"}, {kIdcFreqMin, "0"}, {kIdcFreqMax, "30000"},
            {kIdcSlowMin, "0"}, {kIdcSlowMax, "2000"}})
        .Enter();
    ASSERT_EQ(D().Edit(group), D::kRun) << "Enter runs";
    EXPECT_EQ(std::tuple(group.topDepth, group.freqMax, group.slowMax), std::tuple(-10.0, 30000.0f, 2000.0f));
}

TEST_F(FreqSlowXplotSetupDlgTest, TheFlagsAreTheListsSelectionAtTheEndAndKeepEveryDatumsPlace)
{
    WriteDatums();
    host.ExpectFileDialog("Select Input Phase Processed File", path);
    Script()
        .Inspect([](CDialog& d) { EXPECT_FALSE(d.IsItemEnabled(kIdcDatums)); })
        .Press(kIdcSelectInputFile)
        .Inspect([](CDialog& d) { EXPECT_TRUE(d.IsItemEnabled(kIdcDatums)); })
        .Select(kIdcDatums, 0)
        // One change of many lines at once (Shift, a drag, the keyboard): the list says.
        .SelectMany(kIdcDatums, {1, 2})
        .Press(D::kIdcSaveSetup);
    ASSERT_EQ(D().Edit(group), D::kSavedSetup);
    const ControlState& list = List();
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.ItemText(0) + list.ItemText(1) + list.ItemText(2) + list.ItemText(3), "DAT0DAT1DAT3DAT5");
    EXPECT_EQ(group.datums.datumCount, 6u);
    const std::vector<uint32_t> listed(group.datums.listed.begin(), group.datums.listed.begin() + 7);
    const std::vector<uint32_t> selected(group.datums.selected.begin(), group.datums.selected.begin() + 7);
    EXPECT_EQ(listed, (std::vector<uint32_t>{1, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(selected, (std::vector<uint32_t>{0, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(std::tuple(group.path, group.title, group.ext), std::tuple(path, std::string("ifs"), std::string("qtx")));

    // Reopened on its file: the list again, nothing selected; the flags follow.
    Script().Inspect([](CDialog& d) { EXPECT_EQ(d.Item(kIdcDatums)->SelCount(), 0); }).Press(D::kIdcRun);
    ASSERT_EQ(D().Edit(group), D::kRun);
    EXPECT_EQ(List().Count(), 4);
    EXPECT_EQ(group.datums.selected, XPlotDatumFlags().selected);
}

// A multiple-selection list: each plain click adds its line or takes it back, so two
// datums are had by two clicks.
TEST_F(FreqSlowXplotSetupDlgTest, PlainClicksAddDatumsToTheSelection)
{
    WriteDatums();
    host.ExpectFileDialog("Select Input Phase Processed File", path);
    Script()
        .Press(kIdcSelectInputFile)
        .Select(kIdcDatums, 0)
        .Select(kIdcDatums, 3)
        .Select(kIdcDatums, 1)
        .Select(kIdcDatums, 0) // taken back
        .Press(D::kIdcRun);
    ASSERT_EQ(D().Edit(group), D::kRun);
    EXPECT_EQ(List().SelItems(), (std::vector<int>{1, 3}));
    const std::vector<uint32_t> selected(group.datums.selected.begin(), group.datums.selected.begin() + 6);
    EXPECT_EQ(selected, (std::vector<uint32_t>{0, 1, 0, 0, 0, 1}));
}

TEST_F(FreqSlowXplotSetupDlgTest, DepthsComeInOrderAndAFileOfMoreDatumsThanTheFlagsKeepIsRefused)
{
    WriteDatums(6, -0.5); // the header's bottom lies above its top
    host.ExpectFileDialog("Select Input Phase Processed File", path);
    Script().Press(kIdcSelectInputFile).Press(D::kIdcRun);
    ASSERT_EQ(D().Edit(group), D::kRun);
    EXPECT_EQ(std::pair(group.topDepth, group.bottomDepth), std::pair(999.5, 1000.0));

    const std::string many = dir.File("many.qtx");
    ASSERT_TRUE(WriteQtx(many, std::vector<QtxDatumShape>(257, {"WMNO", 1, kCategoryWaveform, 1, 1}), 1));
    host.ExpectFileDialog("Select Input Phase Processed File", many);
    host.ExpectMessage("Data set " + many + " holds 257 datums; at most 256 can be listed.\nOperation will be abandoned.");
    Script().Press(kIdcSelectInputFile).Press(D::kIdcRun);
    XPlotSetupGroup edited = group;
    ASSERT_EQ(D().Edit(edited), D::kRun);
    EXPECT_EQ(edited.path, many) << "the choice is kept, as a failed read leaves it";
    EXPECT_EQ(List().Count(), 4) << "the list of the file before";
    EXPECT_EQ(edited.datums.datumCount, 6u);
}

} // namespace
