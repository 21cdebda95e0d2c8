#include "viewers/VdlSetupDlg.h"

#include "app/ViewerApp.h"
#include "common/Help.h"
#include "res/VdlSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/VdlSetupGroup.h"

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;
using D = CVdlSetupDlg;
using enum vdl_setup::Control;
using Typed = std::vector<std::pair<int, std::string>>;

// '1' per enabled control: time, frequency, slowness, azimuth, Normalize; then colour, palette.
constexpr int kShown[] = {kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop, kIdcSlowMin, kIdcSlowMax,
                          kIdcAzimMin,   kIdcAzimMax,  kIdcNormalize, 0,            kIdcColour,  kIdcPalette};
std::string Enabled(const CDialog& d)
{
    std::string on;
    for (int id : kShown) on += id == 0 ? ' ' : d.IsItemEnabled(id) ? '1' : '0';
    return on;
}

class VdlSetupDlgTest : public HostTest {
protected:
    TempDir dir;

    // Texts are set as a leftover would be, since disabled edits are validated all the same.
    DialogScript& Script(const Typed& typed = {})
    {
        DialogScript& s = host.ScriptDialog(kIddVdlSetup);
        for (const auto& [id, text] : typed)
            s.Inspect([id = id, text = text](CDialog& d) { d.SetItemText(id, text); });
        return s;
    }
    // As the command hands the group over.
    int Run(const std::string& domain, const std::string& type = "VDL", uint32_t frequency = 0, uint32_t slowness = 0)
    {
        dlg.m_setup.SetDefaults();
        dlg.m_setup.domain = ViewDomainOfName(domain);
        dlg.m_setup.type = WaveStyleOfName(type);
        dlg.m_setup.instFrequency = frequency;
        dlg.m_setup.instSlowness = slowness;
        return dlg.DoModal();
    }
    std::string Text(int id) const { return host.LastDialog(kIddVdlSetup)->Item(id)->Text(); }
    static QtxDatumShape Datum(uint8_t typeCode, uint8_t category = 1, uint8_t unit = kUnitMicroseconds)
    {
        return {.mnemonic = "D" + std::to_string(typeCode), .typeCode = typeCode, .category = category,
                .samples = 4, .unit = unit};
    }
    D dlg;
};

TEST_F(VdlSetupDlgTest, RunRefusesTheFirstBadFieldInExchangeOrderWhetherEnabledOrNot)
{
    const std::string depth = "depth!.\nValid range : -100.0 - 50000.0 ft.";
    const std::string scale = "You entered an invalid depth scale!.\nValid range : 100.0 - 2000.0.";
    const std::string freq = "frequency!.\nValid range : 0.0 - 30000.0 Hz.";
    const std::string time = "time!.\nValid range : 0.0 - 30000.0 uSec.";
    const std::string slow = "slowness!.\nValid range : 0.0 - 2000.0 uSec/ft.";
    const std::string azim = "azimuth!.\nValid range : 0.0 - 360.0 deg.";
    const std::tuple<Typed, std::string, int> cases[] = {
        {{{kIdcTopDepth, "-100.1"}, {kIdcDepthScale, "1"}}, "You entered an invalid start " + depth, kIdcTopDepth},
        {{{kIdcTopDepth, "700"}, {kIdcBottomDepth, "700"}}, "Start depth must be less then stop depth!", kIdcTopDepth},
        {{{kIdcBottomDepth, "50000.1"}}, "You entered an invalid stop " + depth, kIdcBottomDepth},
        {{{kIdcDepthScale, "99.9"}, {kIdcFreqStart, "-1"}}, scale, kIdcDepthScale},
        {{{kIdcDepthScale, "2000.1"}}, scale, kIdcDepthScale},
        {{{kIdcFreqStart, "-0.1"}, {kIdcTimeStart, "-1"}}, "You entered an invalid start " + freq, kIdcFreqStart},
        {{{kIdcFreqStart, "10000"}}, "Start frequency must be less then stop frequency!", kIdcFreqStart},
        {{{kIdcFreqStop, "30000.1"}}, "You entered an invalid stop " + freq, kIdcFreqStop},
        {{{kIdcTimeStart, "-0.1"}}, "You entered an invalid start " + time, kIdcTimeStart},
        {{{kIdcTimeStart, "5000"}}, "Start time must be less then stop time!", kIdcTimeStart},
        {{{kIdcTimeStop, "30000.1"}, {kIdcSlowMin, "-1"}}, "You entered an invalid stop " + time, kIdcTimeStop},
        {{{kIdcSlowMin, "-0.1"}}, "You entered an invalid min " + slow, kIdcSlowMin},
        {{{kIdcSlowMin, "240"}}, "Min slowness must be less then max slowness!", kIdcSlowMin},
        {{{kIdcSlowMax, "2000.1"}}, "You entered an invalid max " + slow, kIdcSlowMax},
        {{{kIdcAzimMin, "-0.1"}}, "You entered an invalid min " + azim, kIdcAzimMin},
        {{{kIdcAzimMin, "360"}}, "Min azimuth must be less then max azimuth!", kIdcAzimMin},
        {{{kIdcAzimMax, "360.1"}}, "You entered an invalid max " + azim, kIdcAzimMax},
    };
    for (const auto& [typed, message, focus] : cases) {
        host.ClearMessages();
        host.ExpectMessage(message);
        // Frequency, slowness and azimuth are disabled in "Time"; the combos are taken over first.
        Script(typed)
            .SelectText(kIdcPalette, "Anisotropy")
            .Inspect([](CDialog& d) { EXPECT_EQ(Enabled(d), "110000000 01"); })
            .Press(IDOK)
            .Press(IDCANCEL);
        EXPECT_EQ(Run("Time"), IDCANCEL) << message;
        ASSERT_EQ(MessageTexts(), std::vector<std::string>{message});
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(host.LastDialog(kIddVdlSetup)->focus, focus) << message;
        EXPECT_EQ(dlg.m_setup.palette, kPaletteAnisotropy) << message;
    }

    Script({{kIdcTopDepth, "-100"}, {kIdcBottomDepth, "50000"}, {kIdcDepthScale, "100"}, {kIdcFreqStart, "0"},
            {kIdcFreqStop, "30000"}, {kIdcTimeStart, "0"}, {kIdcTimeStop, "30000"}, {kIdcSlowMin, "0"},
            {kIdcSlowMax, "2000"}, {kIdcAzimMin, "0"}, {kIdcAzimMax, "360"}})
        .Press(IDOK);
    ASSERT_EQ(Run("Time"), IDOK);
    EXPECT_EQ(dlg.m_setup.topDepth, -100.0);
    EXPECT_EQ(dlg.m_setup.depthScale, 100.0f);
}

TEST_F(VdlSetupDlgTest, DomainFlagsAndTypeDecideWhatIsEnabled)
{
    const std::tuple<std::string, std::string, uint32_t, uint32_t, std::string> cases[] = {
        {"Time", "VDL", 0, 0, "110000000 01"},      {"Time", "VDL", 1, 0, "111100000 01"},
        {"Time", "VDL", 0, 1, "110011000 01"},      {"Time", "Signature", 1, 1, "111111000 10"},
        {"Frequency", "VDL", 1, 1, "001100000 01"}, {"Slowness", "VDL", 1, 1, "000011001 01"},
        {"Azimuth", "VDL", 1, 1, "000000110 01"},
    };
    for (const auto& [domain, type, frequency, slowness, enabled] : cases) {
        Script().Inspect([&](CDialog& d) { EXPECT_EQ(Enabled(d), enabled) << domain << type; }).Press(IDCANCEL);
        Run(domain, type, frequency, slowness);
    }

    // A change of domain or type applies the same rules.
    Script()
        .SelectText(kIdcDomain, "Slowness")
        .Inspect([](CDialog& d) { EXPECT_EQ(Enabled(d), "000011001 01"); })
        .SelectText(kIdcDomain, "Time")
        .SelectText(kIdcType, "Signature")
        .Inspect([](CDialog& d) { EXPECT_EQ(Enabled(d), "110000000 10"); })
        .Press(IDOK);
    ASSERT_EQ(Run("Azimuth"), IDOK);
    EXPECT_EQ(dlg.m_setup.domain, ViewDomain::kTime);
    EXPECT_EQ(dlg.m_setup.type, WaveStyle::kSignature);
}

// The lists are read by their lines' places: every line reworded on the way (as a
// translation would) changes neither what is enabled nor the domain and palette kept.
TEST_F(VdlSetupDlgTest, RewordedListLinesChangeNoDecision)
{
    auto reword = [](CDialog& d, int id) {
        ControlState* box = d.Item(id);
        const int lines = box->Count();
        box->ResetContent();
        for (int i = 0; i < lines; ++i) box->AddString("Zeile " + std::to_string(i));
    };
    Script()
        .Inspect([&](CDialog& d) {
            reword(d, kIdcDomain);
            reword(d, kIdcPalette);
        })
        .Select(kIdcDomain, 2)
        .Inspect([](CDialog& d) { EXPECT_EQ(Enabled(d), "000011001 01"); })
        .Select(kIdcPalette, 3)
        .Select(kIdcType, 1)
        .Press(IDOK);
    ASSERT_EQ(Run("Time"), IDOK);
    EXPECT_EQ(dlg.m_setup.domain, ViewDomain::kSlowness);
    EXPECT_EQ(dlg.m_setup.palette, kPaletteAnisotropy);
}

// Depths in order, the last slowness datum's unit, and the instantaneous curves found,
// offered in the domain of the moment until the domain changes.
TEST_F(VdlSetupDlgTest, ChosenFileSetsDepthsSlownessAndFlags)
{
    const auto slow = [](uint8_t unit) { return Datum(30, kCategorySlowness, unit); };
    const std::tuple<std::vector<QtxDatumShape>, uint32_t, uint32_t, std::string, std::string, std::string> cases[] = {
        {{Datum(160), slow(kUnitMicrosecondsPerFoot), slow(kUnitMicrosecondsPerMetre), Datum(40, kCategoryAzimuth)},
         1, 0, "Slowness range [uSec/m]", "100 600", "001100110 01"},
        {{slow(kUnitMicrosecondsPerMetre), Datum(167), slow(kUnitMicrosecondsPerFoot)},
         0, 1, "Slowness range [uSec/ft]", "40 240", "000011110 01"},
    };
    int n = 0;
    for (const auto& [datums, frequency, slowness, title, range, enabled] : cases) {
        const std::string name = "f" + std::to_string(n++), path = dir.File(name + ".qtx");
        ASSERT_TRUE(WriteQtx(path, datums, 3, 1000.0, -0.5)); // the header's bottom lies above its top
        host.ExpectFileDialog("Browse Input QTX File", path);
        Script()
            .Press(kIdcSelectInputFile)
            .Inspect([&enabled](CDialog& d) { EXPECT_EQ(Enabled(d), enabled); })
            .SelectText(kIdcDomain, "Azimuth")
            .Inspect([](CDialog& d) { EXPECT_EQ(Enabled(d), "000000110 01"); })
            .Press(IDOK);
        ASSERT_EQ(Run("Azimuth", "VDL", 1, 1), IDOK);
        EXPECT_EQ(dlg.m_setup.path + "|" + dlg.m_setup.fileName + "|" + dlg.m_setup.title,
                  path + "|" + name + ".qtx|" + name);
        EXPECT_EQ(Text(kIdcTopDepth) + " " + Text(kIdcBottomDepth), "999 1000");
        EXPECT_EQ(std::pair(dlg.m_setup.topDepth, dlg.m_setup.bottomDepth), std::pair(999.0, 1000.0));
        EXPECT_EQ(std::pair(dlg.m_setup.instFrequency, dlg.m_setup.instSlowness), std::pair(frequency, slowness));
        EXPECT_EQ(SlownessRangeTitle(dlg.m_setup.slownessUnit), title);
        EXPECT_EQ(Text(kIdcSlownessGroup) + " " + Text(kIdcSlowMin) + " " + Text(kIdcSlowMax), title + " " + range);
    }
}

TEST_F(VdlSetupDlgTest, UnreadableFileKeepsDepthsAndRanges)
{
    const std::string shortFile = dir.File("short.qtx"), noDatum = dir.File("nodatum.qtx");
    WriteBytes(shortFile, {1, 2, 3});
    QtxFileHeader header;
    header.topDepth = 10.0;
    header.bottomDepth = 20.0;
    header.datumCount = 1; // and no descriptor
    WriteBytes(noDatum, RawQtx(header, {}));
    const std::pair<std::string, std::string> cases[] = {{shortFile, "Error reading header in file :\n"},
                                                         {noDatum, "Error reading datum descriptor in file :\n"}};
    for (const auto& [path, message] : cases) {
        host.ExpectFileDialog("Browse", path);
        host.ExpectMessage(message + path);
        Script().Press(kIdcSelectInputFile).Press(IDOK);
        ASSERT_EQ(Run("Time"), IDOK);
        EXPECT_EQ(dlg.m_setup.path, path);
        EXPECT_EQ(dlg.m_setup.topDepth, 1.0) << path;
        EXPECT_EQ(dlg.m_setup.bottomDepth, 50000.0) << path;
    }
}

// Run and Save Setup give the edited group back, Cancel leaves it; Normalize toggles box
// and setting together; Help opens the dialog's topic.
TEST_F(VdlSetupDlgTest, EndButtonsNormalizeAndHelp)
{
    const std::string saved = theApp.m_helpPath;
    theApp.m_helpPath = dir.File("BronteluxHtmlHelp.htm");
    WriteBytes(theApp.m_helpPath, {'h'}); // installed
    host.tempDirectory = dir.Path();
    for (const int button : {int(IDOK), int(D::kSavedSetup), int(IDCANCEL)}) {
        DialogScript& s = Script().SelectText(kIdcDomain, "Slowness").Check(kIdcNormalize, 1);
        s.Check(kIdcNormalize, 0).Check(kIdcNormalize, 1).Type(kIdcDepthScale, "2000").Press(kIdcHelp).Press(button);
        VdlSetupGroup group;
        group.SetDefaults();
        const VdlSetupGroup before = group;
        EXPECT_EQ(D().Edit(group), button);
        EXPECT_EQ(host.LastDialog(kIddVdlSetup)->Item(kIdcNormalize)->Check(), 1) << button;
        if (button == IDCANCEL) EXPECT_EQ(group, before);
        else
            EXPECT_EQ(std::tuple(group.normalize, group.depthScale, group.domain),
                      std::tuple(1u, 2000.0f, ViewDomain::kSlowness));
    }
    ASSERT_EQ(host.ShellOpened().size(), 3u);
    std::ifstream in(host.ShellOpened().back(), std::ios::binary);
    std::ostringstream page;
    page << in.rdbuf();
    EXPECT_EQ(page.str(), RedirectPageText(*LocalHelpUrl(theApp.m_helpPath, "", kHelpContext, 17)));
    theApp.m_helpPath = saved;
}

} // namespace
