#include "viewers/SemblanceMapSetupDlg.h"

#include "res/SemblanceMapSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using D = CSemblanceMapSetupDlg;
using enum semblance_map_setup::Control;
using Typed = std::vector<std::pair<int, std::string>>;

class SemblanceMapSetupDlgTest : public HostTest {
protected:
    TempDir dir;
    D dlg;

    DialogScript& Script(const Typed& typed = {})
    {
        DialogScript& s = host.ScriptDialog(kIddSemblanceMapSetup);
        for (const auto& [id, text] : typed) s.Type(id, text);
        return s;
    }
    int Run(const std::string& type = "VDL")
    {
        dlg.m_setup.SetDefaults();
        dlg.m_setup.type = WaveStyleOfName(type);
        return dlg.DoModal();
    }
    std::string Text(int id) const { return host.LastDialog(kIddSemblanceMapSetup)->Item(id)->Text(); }
};

TEST_F(SemblanceMapSetupDlgTest, RunRefusesTheFirstBadFieldInExchangeOrder)
{
    const std::string depth = "depth!.\nValid range : -10.0 - 50000.0 ft.";
    const std::string time = "time!.\nValid range : 0.0 - 30000.0 uSec.";
    const std::string slow = "slowness!.\nValid range : 0.0 - 2000.0 uSec/ft.";
    const std::tuple<Typed, std::string, int> cases[] = {
        {{{kIdcTopDepth, "-10.1"}, {kIdcTimeStart, "-1"}}, "You entered an invalid start " + depth, kIdcTopDepth},
        {{{kIdcTopDepth, "700"}, {kIdcBottomDepth, "700"}}, "Start depth must be less then stop depth!", kIdcTopDepth},
        {{{kIdcBottomDepth, "50000.1"}}, "You entered an invalid stop " + depth, kIdcBottomDepth},
        {{{kIdcTimeStart, "-0.1"}}, "You entered an invalid start " + time, kIdcTimeStart},
        {{{kIdcTimeStart, "1000"}}, "Start time must be less then stop time!", kIdcTimeStart}, // equal to the stop
        {{{kIdcTimeStop, "30000.1"}, {kIdcSlowMin, "-1"}}, "You entered an invalid stop " + time, kIdcTimeStop},
        {{{kIdcSlowMin, "-0.1"}}, "You entered an invalid min " + slow, kIdcSlowMin},
        {{{kIdcSlowMin, "240"}}, "Min slowness must be less then max slowness!", kIdcSlowMin},
        {{{kIdcSlowMax, "2000.1"}}, "You entered an invalid max " + slow, kIdcSlowMax},
    };
    for (const auto& [typed, message, focus] : cases) {
        host.ClearMessages();
        host.ExpectMessage(message);
        Script(typed).Press(IDOK).Press(IDCANCEL);
        EXPECT_EQ(Run(), IDCANCEL) << message;
        ASSERT_EQ(MessageTexts(), std::vector<std::string>{message});
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(host.LastDialog(kIddSemblanceMapSetup)->focus, focus) << message;
    }
    Script({{kIdcTopDepth, "-10"}, {kIdcBottomDepth, "50000"}, {kIdcTimeStart, "0"}, {kIdcTimeStop, "30000"},
            {kIdcSlowMin, "0"}, {kIdcSlowMax, "2000"}})
        .Press(IDOK);
    ASSERT_EQ(Run(), IDOK);
    EXPECT_EQ(std::tuple(dlg.m_setup.topDepth, dlg.m_setup.timeStop, dlg.m_setup.slowMax),
              std::tuple(-10.0, 30000.0f, 2000.0f));
}

TEST_F(SemblanceMapSetupDlgTest, TheTypeEnablesTheWiggleColourOrTheImagePalette)
{
    auto enabled = [](const CDialog& d) {
        return std::string(d.IsItemEnabled(kIdcColour) ? "colour" : "") + (d.IsItemEnabled(kIdcPalette) ? "palette" : "");
    };
    Script().Inspect([&](CDialog& d) { EXPECT_EQ(enabled(d), "palette"); }).Press(IDCANCEL);
    Run("VDL");
    Script()
        .Inspect([&](CDialog& d) { EXPECT_EQ(enabled(d), "colour"); })
        .SelectText(kIdcColour, "Magenta")
        .SelectText(kIdcType, "VDL")
        .Inspect([&](CDialog& d) { EXPECT_EQ(enabled(d), "palette"); })
        .SelectText(kIdcPalette, "Black&White")
        .Check(kIdcNormalize, 1)
        .Press(D::kIdcSaveSetup);
    ASSERT_EQ(Run("Signature"), D::kSavedSetup);
    EXPECT_EQ(std::tuple(dlg.m_setup.type, dlg.m_setup.colour, dlg.m_setup.palette, dlg.m_setup.normalize),
              std::tuple(WaveStyle::kVdl, std::string("Magenta"), kPaletteBlackWhite, 1u));
}

// Depths in order, and the time and slowness windows of the last semblance map in whole
// numbers; a file without maps leaves the windows as they were.
TEST_F(SemblanceMapSetupDlgTest, AChosenFileGivesItsDepthsAndTheWindowsOfItsLastMap)
{
    auto map = [](uint8_t unit, float ds, uint16_t fs, float dt, uint16_t ft) {
        return QtxDatumShape{.mnemonic = "SMAP", .typeCode = 60, .category = kCategorySemblanceMap, .samples = 30,
                             .unit = unit, .step = ds, .samples2 = 40, .unit2 = kUnitMicroseconds, .step2 = dt,
                             .first = fs, .first2 = ft};
    };
    const QtxDatumShape wave{"WMNO", 1, kCategoryWaveform, 1, 8, kUnitMicroseconds, 10.0f};
    const std::tuple<std::vector<QtxDatumShape>, std::string, std::string> cases[] = {
        {{map(kUnitMicrosecondsPerFoot, 2.5f, 20, 10, 0), wave, map(kUnitMicrosecondsPerMetre, 10.5f, 4, 12.5f, 3)},
         "Slowness range [uSec/m]", "37 537 42 357"},
        {{map(kUnitMicrosecondsPerMetre, 10, 0, 10, 0), map(kUnitMicrosecondsPerFoot, 2.5f, 20, 10, 0)},
         "Slowness range [uSec/ft]", "0 400 50 125"},
        {{wave}, "Slowness range [uSec/ft]", "0 1000 40 240"},
    };
    int n = 0;
    for (const auto& [datums, title, windows] : cases) {
        const std::string path = dir.File("m" + std::to_string(n++) + ".qtx");
        ASSERT_TRUE(WriteQtx(path, datums, 3, 1000.0, -0.5)); // the header's bottom lies above its top
        host.ExpectFileDialog("Browse Input QTX File", path);
        Script().Press(kIdcSelectInputFile).Press(IDOK);
        ASSERT_EQ(Run(), IDOK);
        EXPECT_EQ(Text(kIdcTopDepth) + " " + Text(kIdcBottomDepth), "999 1000");
        EXPECT_EQ(dlg.m_setup.title + "." + dlg.m_setup.ext, "m" + std::to_string(n - 1) + ".qtx");
        EXPECT_EQ(Text(kIdcSlownessGroup), title);
        EXPECT_EQ(Text(kIdcTimeStart) + " " + Text(kIdcTimeStop) + " " + Text(kIdcSlowMin) + " " + Text(kIdcSlowMax),
                  windows);
        EXPECT_EQ(dlg.m_setup.slowMax, std::stof(windows.substr(windows.rfind(' ') + 1)));
    }
}

} // namespace
