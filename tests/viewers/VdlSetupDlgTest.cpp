#include "viewers/VdlSetupDlg.h"

#include "app/ViewerApp.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <fstream>
#include <functional>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using D = CVdlSetupDlg;
using enum vdl_setup::Control;
using Typed = std::vector<std::pair<int, std::string>>;
// The controls the domain switches, in this order: time, frequency, slowness, azimuth, Normalize.
constexpr int kSwitched[] = {kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop, kIdcSlowMin,
                             kIdcSlowMax,   kIdcAzimMin,  kIdcAzimMax,   kIdcNormalize};

class VdlSetupDlgTest : public HostTest {
protected:
    TempDir dir;

    static void Prepare(D& d, const std::string& domain = "Time")
    {
        d.m_setup.SetDefaults();
        d.m_setup.domain = domain;
    }
    // Texts are set as a leftover would be: disabled edits are validated all the same.
    DialogScript& Script(const Typed& typed = {})
    {
        DialogScript& s = host.ScriptDialog(kIddVdlSetup);
        for (const auto& [id, text] : typed)
            s.Inspect([id = id, text = text](CDialog& d) { d.SetItemText(id, text); });
        return s;
    }
    const ShownDialog& Shown() const { return *host.LastDialog(kIddVdlSetup); }
    std::string Text(int id) const { return Shown().Item(id)->Text(); }
    // '1' for each control of kSwitched that is enabled, then colour and palette.
    static std::string Enabled(const std::function<bool(int)>& enabled)
    {
        std::string on;
        for (int id : kSwitched) on += enabled(id) ? '1' : '0';
        on += ' ';
        for (int id : {kIdcColour, kIdcPalette}) on += enabled(id) ? '1' : '0';
        return on;
    }
    static std::string Enabled(const CDialog& d)
    {
        return Enabled([&d](int id) { return d.IsItemEnabled(id); });
    }
    std::string Enabled() const
    {
        return Enabled([this](int id) { return Shown().Item(id)->Enabled(); });
    }
    std::string Qtx(const std::string& name, const std::vector<QtxDatumShape>& datums, double step = 0.5)
    {
        EXPECT_TRUE(WriteQtx(dir.File(name), datums, 3, 1000.0, step));
        return dir.File(name);
    }
    static QtxDatumShape Datum(uint8_t typeCode, uint8_t category = 1, uint8_t unit = kUnitMicroseconds)
    {
        return {.mnemonic = "D" + std::to_string(typeCode), .typeCode = typeCode, .category = category,
                .samples = 4, .unit = unit};
    }
};

TEST_F(VdlSetupDlgTest, RunRefusesTheFirstBadFieldInExchangeOrderWhetherEnabledOrNot)
{
    struct Case {
        Typed typed;
        std::string message;
        int focus;
    };
    const std::string depth = "depth!.\nValid range : -100.0 - 50000.0 ft.";
    const std::string scale = "You entered an invalid depth scale!.\nValid range : 100.0 - 2000.0.";
    const std::string freq = "frequency!.\nValid range : 0.0 - 30000.0 Hz.";
    const std::string time = "time!.\nValid range : 0.0 - 30000.0 uSec.";
    const std::string slow = "slowness!.\nValid range : 0.0 - 2000.0 uSec/ft.";
    const std::string azim = "azimuth!.\nValid range : 0.0 - 360.0 deg.";
    const Case cases[] = {
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
    for (const auto& c : cases) {
        host.ClearMessages();
        host.ExpectMessage(c.message);
        // The combos are taken over before the numbers are checked.
        Script(c.typed).SelectText(kIdcPalette, "Anisotropy").Press(IDOK).Press(IDCANCEL);
        D dlg;
        Prepare(dlg);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.message;
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, c.message);
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(Shown().focus, c.focus) << c.message;
        EXPECT_EQ(dlg.m_setup.palette, "Anisotropy") << c.message;
    }
    EXPECT_EQ(Enabled(), "110000000 01") << "frequency, slowness and azimuth were disabled";
}

TEST_F(VdlSetupDlgTest, LimitsAreAcceptedAndRangesMayMovePastTheOldUpperEnd)
{
    Script({{kIdcTopDepth, "-100"}, {kIdcBottomDepth, "50000"}, {kIdcDepthScale, "100"}, {kIdcFreqStart, "0"},
            {kIdcFreqStop, "30000"}, {kIdcTimeStart, "0"}, {kIdcTimeStop, "30000"}, {kIdcSlowMin, "0"},
            {kIdcSlowMax, "2000"}, {kIdcAzimMin, "0"}, {kIdcAzimMax, "360"}})
        .Press(IDOK);
    D low;
    Prepare(low);
    ASSERT_EQ(low.DoModal(), IDOK);
    EXPECT_EQ(low.m_setup.topDepth, -100.0);
    EXPECT_EQ(low.m_setup.depthScale, 100.0f);
    EXPECT_EQ(low.m_setup.slowMax, 2000.0f);
    EXPECT_EQ(low.m_setup.azimMax, 360.0f);

    Script({{kIdcDepthScale, "2000"}, {kIdcTimeStart, "20000"}, {kIdcTimeStop, "25000"}}).Press(IDOK);
    D high;
    Prepare(high);
    ASSERT_EQ(high.DoModal(), IDOK);
    EXPECT_EQ(high.m_setup.depthScale, 2000.0f);
    EXPECT_EQ(high.m_setup.timeStart, 20000.0f);
    EXPECT_EQ(high.m_setup.timeStop, 25000.0f);
}

TEST_F(VdlSetupDlgTest, DomainFlagsAndTypeDecideWhatIsEnabled)
{
    struct Case {
        std::string domain, type;
        uint32_t frequency, slowness;
        std::string enabled; // kSwitched, then colour and palette
    };
    const Case cases[] = {
        {"Time", "VDL", 0, 0, "110000000 01"},      {"Time", "VDL", 1, 0, "111100000 01"},
        {"Time", "VDL", 0, 1, "110011000 01"},      {"Time", "Signature", 1, 1, "111111000 10"},
        {"Frequency", "VDL", 1, 1, "001100000 01"}, {"Slowness", "VDL", 1, 1, "000011001 01"},
        {"Azimuth", "VDL", 1, 1, "000000110 01"},
    };
    for (const auto& c : cases) {
        Script().Press(IDCANCEL);
        D dlg;
        Prepare(dlg, c.domain);
        dlg.m_setup.type = c.type;
        dlg.m_setup.instFrequency = c.frequency;
        dlg.m_setup.instSlowness = c.slowness;
        dlg.DoModal();
        EXPECT_EQ(Enabled(), c.enabled) << c.domain << c.type << c.frequency << c.slowness;
    }

    // Changing the domain or the type applies the same rules.
    Script()
        .SelectText(kIdcDomain, "Slowness")
        .Inspect([](CDialog& d) { EXPECT_EQ(Enabled(d), "000011001 01"); })
        .SelectText(kIdcDomain, "Time")
        .SelectText(kIdcType, "Signature")
        .Inspect([](CDialog& d) { EXPECT_EQ(Enabled(d), "111100000 10"); })
        .Press(IDOK);
    D dlg;
    Prepare(dlg, "Azimuth");
    dlg.m_setup.instFrequency = 1;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_setup.domain, "Time");
    EXPECT_EQ(dlg.m_setup.type, "Signature");
}

// The file's depths in order, its last slowness datum's unit and its instantaneous
// curves: offered in the domain of the moment until the domain changes.
TEST_F(VdlSetupDlgTest, ChosenFileSetsDepthsSlownessAndFlags)
{
    struct Case {
        std::vector<QtxDatumShape> datums;
        uint32_t frequency, slowness;
        std::string title, min, max, enabled, afterDomainChange;
    };
    const auto slow = [](uint8_t unit) { return Datum(30, kCategorySlowness, unit); };
    const Case cases[] = {
        {{Datum(160), slow(kUnitMicrosecondsPerFoot), slow(kUnitMicrosecondsPerMetre), Datum(40, kCategoryAzimuth)},
         1, 0, "Slowness range [uSec/m]", "100", "600", "001100110 01", "000000110 01"},
        {{slow(kUnitMicrosecondsPerMetre), Datum(167), slow(kUnitMicrosecondsPerFoot)},
         0, 1, "Slowness range [uSec/ft]", "40", "240", "000011110 01", "000000110 01"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "f" + std::to_string(n++);
        const std::string path = Qtx(name + ".qtx", c.datums, -0.5); // the header's bottom lies above its top
        host.ExpectFileDialog("Browse Input QTX File", path);
        Script()
            .Press(kIdcSelectInputFile)
            .Inspect([&c](CDialog& d) { EXPECT_EQ(Enabled(d), c.enabled); })
            .SelectText(kIdcDomain, "Azimuth")
            .Inspect([&c](CDialog& d) { EXPECT_EQ(Enabled(d), c.afterDomainChange); })
            .Press(IDOK);
        D dlg;
        Prepare(dlg, "Azimuth");
        dlg.m_setup.instFrequency = dlg.m_setup.instSlowness = 1;
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_setup.path, path);
        EXPECT_EQ(dlg.m_setup.fileName, name + ".qtx");
        EXPECT_EQ(dlg.m_setup.title, name);
        EXPECT_EQ(Text(kIdcInputFile), ShortenPathLabel("Input File : ", path));
        EXPECT_EQ(Text(kIdcTopDepth), "999");
        EXPECT_EQ(Text(kIdcBottomDepth), "1000");
        EXPECT_EQ(dlg.m_setup.topDepth, 999.0);
        EXPECT_EQ(dlg.m_setup.instFrequency, c.frequency) << n;
        EXPECT_EQ(dlg.m_setup.instSlowness, c.slowness) << n;
        EXPECT_EQ(dlg.m_setup.slownessTitle, c.title);
        EXPECT_EQ(Text(kIdcSlownessGroup), c.title);
        EXPECT_EQ(Text(kIdcSlowMin), c.min);
        EXPECT_EQ(Text(kIdcSlowMax), c.max);
    }
}

TEST_F(VdlSetupDlgTest, UnreadableFileKeepsDepthsAndRanges)
{
    const std::string shortFile = dir.File("short.qtx");
    WriteBytes(shortFile, {1, 2, 3});
    QtxFileHeader header;
    header.topDepth = 10.0;
    header.bottomDepth = 20.0;
    header.datumCount = 1; // and no descriptor
    const std::string noDatum = dir.File("nodatum.qtx");
    WriteBytes(noDatum, RawQtx(header, {}));
    const std::pair<std::string, std::string> cases[] = {{shortFile, "Error reading header in file :\n"},
                                                         {noDatum, "Error reading datum descriptor in file :\n"}};
    for (const auto& [path, message] : cases) {
        host.ExpectFileDialog("Browse", path);
        host.ExpectMessage(message + path);
        Script().Press(kIdcSelectInputFile).Press(IDOK);
        D dlg;
        Prepare(dlg);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_setup.path, path);
        EXPECT_EQ(dlg.m_setup.topDepth, 1.0) << path;
        EXPECT_EQ(dlg.m_setup.bottomDepth, 50000.0) << path;
    }
}

// Run and Save Setup give the edited group back, Cancel leaves it; Normalize toggles
// box and setting together; Help opens the dialog's topic.
TEST_F(VdlSetupDlgTest, EndButtonsNormalizeAndHelp)
{
    const std::string saved = theApp.m_helpPath;
    theApp.m_helpPath = dir.File("BronteluxHtmlHelp.htm");
    host.tempDirectory = dir.Path();
    for (const int button : {int(IDOK), int(D::kSavedSetup), int(IDCANCEL)}) {
        Script()
            .SelectText(kIdcDomain, "Slowness")
            .Check(kIdcNormalize, 1)
            .Check(kIdcNormalize, 0)
            .Check(kIdcNormalize, 1)
            .Type(kIdcDepthScale, "1000")
            .Press(kIdcHelp)
            .Press(button);
        D dlg;
        VdlSetupGroup group;
        group.SetDefaults();
        const VdlSetupGroup before = group;
        EXPECT_EQ(dlg.Edit(group), button);
        EXPECT_EQ(Shown().Item(kIdcNormalize)->Check(), 1) << button;
        if (button == IDCANCEL) {
            EXPECT_EQ(group, before);
            continue;
        }
        EXPECT_EQ(group.normalize, 1u) << button;
        EXPECT_EQ(group.depthScale, 1000.0f) << button;
        EXPECT_EQ(group.domain, "Slowness") << button;
    }
    ASSERT_EQ(host.ShellOpened().size(), 3u);
    std::ifstream in(host.ShellOpened().back(), std::ios::binary);
    std::ostringstream page;
    page << in.rdbuf();
    EXPECT_EQ(page.str(), RedirectPageText(*LocalHelpUrl(theApp.m_helpPath, "", kHelpContext, 17)));
    theApp.m_helpPath = saved;
}

} // namespace
