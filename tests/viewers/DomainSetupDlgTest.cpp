#include "viewers/DomainSetupDlg.h"

#include "app/ViewerApp.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "res/DomainSetupDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"
#include "settings/DomainSetupGroup.h"

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using D = CDomainSetupDlg;
using enum domain_setup::Control;
using Typed = std::vector<std::pair<int, std::string>>;
constexpr int kRangeIds[] = {kIdcTimeStart, kIdcTimeStop, kIdcFreqStart, kIdcFreqStop,
                             kIdcSlowMin, kIdcSlowMax, kIdcAzimMin, kIdcAzimMax};
enum Range : unsigned { kTime = 1, kFreq = 2, kSlow = 4, kAzim = 8 };

// The edits of the given ranges, in kRangeIds order.
std::vector<int> RangeIds(unsigned ranges)
{
    std::vector<int> ids;
    for (size_t i = 0; i < std::size(kRangeIds); ++i)
        if (ranges & (1u << (i / 2))) ids.push_back(kRangeIds[i]);
    return ids;
}

class DomainSetupDlgTest : public HostTest {
protected:
    TempDir dir;

    // As a Display command hands the group over: start-up values and the domain's word.
    static void Prepare(D& d, const std::string& domain = "Time")
    {
        d.m_setup.SetDefaults();
        d.m_setup.domain = ViewDomainOfName(domain);
    }
    // Edits are typed when enabled; disabled ones get their text as a leftover would,
    // since the exchange validates them all the same.
    DialogScript& Script(const Typed& typed = {})
    {
        DialogScript& s = host.ScriptDialog(kIddDomainSetup);
        for (const auto& [id, text] : typed)
            s.Inspect([id = id, text = text](CDialog& d) { d.SetItemText(id, text); });
        return s;
    }
    const ShownDialog& Shown() const { return *host.LastDialog(kIddDomainSetup); }
    std::string Text(int id) const { return Shown().Item(id)->Text(); }
    std::vector<int> EnabledRanges() const
    {
        std::vector<int> ids;
        for (int id : kRangeIds)
            if (Shown().Item(id)->Enabled()) ids.push_back(id);
        return ids;
    }
    std::string Qtx(const std::string& name, const std::vector<QtxDatumShape>& datums)
    {
        const std::string path = dir.File(name);
        EXPECT_TRUE(WriteQtx(path, datums, 3));
        return path;
    }
    static QtxDatumShape Datum(uint8_t typeCode, uint8_t category = 1, uint8_t unit = kUnitMicroseconds)
    {
        QtxDatumShape s;
        s.mnemonic = "D" + std::to_string(typeCode);
        s.typeCode = typeCode;
        s.category = category;
        s.samples = 4;
        s.unit = unit;
        return s;
    }
};

TEST_F(DomainSetupDlgTest, RunRefusesTheFirstBadFieldInExchangeOrder)
{
    struct Case {
        Typed typed;
        std::string message;
        int focus;
    };
    const std::string depth = "You entered an invalid depth!.\nValid range : 1.0 - 50000.0 ft.";
    const std::string freq = "frequency!.\nValid range : 0.0 - 30000.0 Hz.";
    const std::string time = "time!.\nValid range : 0.0 - 30000.0 uSec.";
    const std::string slow = "slowness!.\nValid range : 0.0 - 2000.0 uSec/ft.";
    const std::string azim = "azimuth!.\nValid range : 0.0 - 360.0 deg.";
    const Case cases[] = {
        {{{kIdcDepthFrame, "0.5"}}, depth, kIdcDepthFrame},
        {{{kIdcDepthFrame, "50000.01"}, {kIdcFreqStart, "-1"}}, depth, kIdcDepthFrame},
        {{{kIdcFreqStart, "30001"}}, "You entered an invalid start " + freq, kIdcFreqStart},
        {{{kIdcFreqStart, "5000"}, {kIdcFreqStop, "5000"}}, "Start frequency must be less then stop frequency!",
         kIdcFreqStart},
        {{{kIdcFreqStop, "30000.5"}}, "You entered an invalid stop " + freq, kIdcFreqStop},
        // Frequency before time.
        {{{kIdcTimeStart, "-0.5"}, {kIdcFreqStart, "-0.5"}}, "You entered an invalid start " + freq, kIdcFreqStart},
        {{{kIdcTimeStart, "500"}, {kIdcTimeStop, "500"}}, "Start time must be less then stop time!", kIdcTimeStart},
        {{{kIdcTimeStop, "30001"}}, "You entered an invalid stop " + time, kIdcTimeStop},
        {{{kIdcTimeStart, "40000"}}, "You entered an invalid start " + time, kIdcTimeStart},
        {{{kIdcSlowMin, "2001"}}, "You entered an invalid min " + slow, kIdcSlowMin},
        {{{kIdcSlowMin, "300"}, {kIdcSlowMax, "200"}}, "Min slowness must be less then max slowness!", kIdcSlowMin},
        {{{kIdcSlowMax, "2000.5"}}, "You entered an invalid max " + slow, kIdcSlowMax},
        {{{kIdcAzimMin, "361"}}, "You entered an invalid min " + azim, kIdcAzimMin},
        {{{kIdcAzimMin, "90"}, {kIdcAzimMax, "90"}}, "Min azimuth must be less then max azimuth!", kIdcAzimMin},
        {{{kIdcAzimMax, "400"}}, "You entered an invalid max " + azim, kIdcAzimMax},
    };
    for (const auto& c : cases) {
        host.ClearMessages();
        host.ExpectMessage(c.message);
        Script(c.typed).Press(IDOK).Inspect([](CDialog& d) { EXPECT_FALSE(d.Ended()); }).Press(IDCANCEL);
        D dlg;
        Prepare(dlg);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.message;
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, c.message);
        EXPECT_EQ(host.Messages()[0].type, MB_ICONEXCLAMATION);
        EXPECT_EQ(Shown().focus, c.focus) << c.message;
    }
}

TEST_F(DomainSetupDlgTest, LimitsAreAcceptedAndRangesMayMovePastTheOldUpperEnd)
{
    const Typed cases[] = {
        {{kIdcDepthFrame, "1.0"}, {kIdcFreqStart, "0"}, {kIdcFreqStop, "30000"}, {kIdcTimeStart, "0"},
         {kIdcTimeStop, "30000"}, {kIdcSlowMin, "0"}, {kIdcSlowMax, "2000"}, {kIdcAzimMin, "0"}, {kIdcAzimMax, "360"}},
        // Slowness 2000 < 2000 is refused below.
        {{kIdcDepthFrame, "50000.0"}, {kIdcTimeStart, "20000"}, {kIdcTimeStop, "25000"}, {kIdcSlowMin, "2000"}},
    };
    Script(cases[0]).Press(IDOK);
    D dlg;
    Prepare(dlg);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_setup.depthFrame, 1.0);
    EXPECT_EQ(dlg.m_setup.freqStop, 30000.0f);
    EXPECT_EQ(dlg.m_setup.slowMax, 2000.0f);
    EXPECT_EQ(dlg.m_setup.azimMax, 360.0f);

    host.ExpectMessage("Min slowness must be less then max slowness!");
    Script(cases[1]).Press(IDOK).Inspect([](CDialog& d) { d.SetItemText(kIdcSlowMin, "100"); }).Press(IDOK);
    D raised;
    Prepare(raised);
    ASSERT_EQ(raised.DoModal(), IDOK);
    EXPECT_EQ(raised.m_setup.depthFrame, 50000.0);
    EXPECT_EQ(raised.m_setup.timeStart, 20000.0f);
    EXPECT_EQ(raised.m_setup.timeStop, 25000.0f);
}

TEST_F(DomainSetupDlgTest, DisabledFieldsAreStillValidated)
{
    const std::pair<std::string, int> cases[] = {
        {"Time", kIdcAzimMin}, {"Frequency", kIdcTimeStart}, {"Slowness", kIdcFreqStop}, {"Azimuth", kIdcTimeStop}};
    for (const auto& [domain, id] : cases) {
        host.ExpectMessage("You entered an invalid");
        Script()
            .Inspect([id = id](CDialog& d) {
                EXPECT_FALSE(d.IsItemEnabled(id));
                d.SetItemText(id, "40000");
            })
            .Press(IDOK)
            .Press(IDCANCEL);
        D dlg;
        Prepare(dlg, domain);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << domain;
        EXPECT_EQ(Shown().focus, id) << domain;
    }
}

TEST_F(DomainSetupDlgTest, FillingStopsAtABadMemberAndLeavesLaterControlsEmpty)
{
    host.ExpectMessage("Start time must be less then stop time!");
    Script().Press(IDCANCEL);
    D dlg;
    Prepare(dlg);
    dlg.m_setup.timeStart = 600.0f;
    dlg.m_setup.timeStop = 500.0f;
    dlg.m_setup.traceCursor = 1;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(Text(kIdcDepthFrame), "1");
    EXPECT_EQ(Text(kIdcFreqStop), "10000");
    EXPECT_EQ(Text(kIdcTimeStart), "600");
    for (int id : {kIdcTimeStop, kIdcSlowMin, kIdcSlowMax, kIdcAzimMin, kIdcAzimMax}) EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(Shown().Item(kIdcTraceCursor)->Check(), 0);
    EXPECT_EQ(Shown().focus, kIdcTimeStart);
}

TEST_F(DomainSetupDlgTest, DomainAndTimeFlagsDecideTheEnabledRanges)
{
    struct Case {
        std::string domain;
        int frequency, slowness;
        unsigned enabled;
    };
    const Case cases[] = {
        {"Time", 0, 0, kTime},
        {"Time", 1, 0, kTime | kFreq},
        {"Time", 0, 1, kTime | kSlow},
        {"Time", 1, 1, kTime | kFreq | kSlow},
        {"Frequency", 1, 1, kFreq},
        {"Slowness", 1, 1, kSlow},
        {"Azimuth", 1, 1, kAzim},
        {"time", 0, 0, kAzim}, // any other word is the azimuth domain
    };
    for (const auto& c : cases) {
        Script().Press(IDCANCEL);
        D dlg;
        Prepare(dlg, c.domain);
        dlg.m_setup.enableFrequency = c.frequency;
        dlg.m_setup.enableSlowness = c.slowness;
        dlg.DoModal();
        EXPECT_EQ(EnabledRanges(), RangeIds(c.enabled)) << c.domain << c.frequency << c.slowness;
    }
}

TEST_F(DomainSetupDlgTest, InitShowsPathTitleAndDepthsOfTheChosenFile)
{
    Script().Press(IDCANCEL);
    D dlg;
    Prepare(dlg);
    dlg.m_setup.slownessUnit = SlownessUnit::kPerMetre;
    dlg.m_setup.path = "/data/" + std::string(80, 'w') + "/well.qtx";
    dlg.m_setup.topDepth = 1234.5;
    dlg.m_setup.bottomDepth = 2000.0;
    dlg.DoModal();
    EXPECT_EQ(Text(kIdcInputFile), "Input File : .../well.qtx");
    EXPECT_EQ(Text(kIdcSlownessGroup), "Slowness range [uSec/m]");
    EXPECT_EQ(Text(kIdcStartDepth), "Start depth :  1234.5000");
    EXPECT_EQ(Text(kIdcStopDepth), "Stop depth :  2000.0000");

    Script().Press(IDCANCEL);
    D empty;
    Prepare(empty);
    empty.DoModal();
    EXPECT_EQ(Text(kIdcInputFile), "Input File : ");
    EXPECT_EQ(Text(kIdcStartDepth), "");
}

TEST_F(DomainSetupDlgTest, ChosenFileSetsDepthsAndTheLastSlownessDatumDecides)
{
    struct Case {
        uint8_t firstUnit, lastUnit;
        SlownessUnit unit;
        std::string title, min, max;
    };
    const Case cases[] = {
        {kUnitMicrosecondsPerFoot, kUnitMicrosecondsPerMetre, SlownessUnit::kPerMetre, "Slowness range [uSec/m]", "100", "600"},
        {kUnitMicrosecondsPerMetre, kUnitMicrosecondsPerFoot, SlownessUnit::kPerFoot, "Slowness range [uSec/ft]", "40", "240"},
    };
    for (const auto& c : cases) {
        const std::string path = Qtx("slow" + std::to_string(c.lastUnit) + ".qtx",
                                     {Datum(1), Datum(30, kCategorySlowness, c.firstUnit),
                                      Datum(31, kCategorySlowness, c.lastUnit), Datum(40, kCategoryAzimuth)});
        host.ExpectFileDialog("Browse Input QTX File", path);
        Script().Press(kIdcSelectInputFile).Press(IDOK);
        D dlg;
        Prepare(dlg, "Slowness");
        dlg.m_setup.title = "previous";
        dlg.m_setup.ext = "qtx";
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_setup.path, path);
        EXPECT_EQ(dlg.m_setup.title, "slow" + std::to_string(c.lastUnit));
        EXPECT_EQ(Text(kIdcInputFile), ShortenPathLabel("Input File : ", path));
        EXPECT_EQ(dlg.m_setup.topDepth, 1000.0);
        EXPECT_EQ(dlg.m_setup.bottomDepth, 1001.0);
        // The formats of the data exchange: a field never shows one value two ways.
        EXPECT_EQ(Text(kIdcDepthFrame), "1000");
        EXPECT_EQ(dlg.m_setup.slownessUnit, c.unit);
        EXPECT_EQ(Text(kIdcSlownessGroup), c.title);
        EXPECT_EQ(Text(kIdcSlowMin), c.min);
        EXPECT_EQ(Text(kIdcSlowMax), c.max);
    }
}

TEST_F(DomainSetupDlgTest, ItemTypesOfTheChosenFileSetTheTimeFlags)
{
    struct Case {
        std::string domain;
        std::vector<uint8_t> types;
        int frequency, slowness;
        unsigned enabled;
    };
    const Case cases[] = {
        {"Time", {1, 157, 170}, 0, 0, kTime},
        {"Time", {158}, 1, 0, kTime | kFreq},
        {"Time", {163}, 1, 0, kTime | kFreq},
        {"Time", {164}, 0, 1, kTime | kSlow},
        {"Time", {1, 169, 160}, 1, 1, kTime | kFreq | kSlow},
        {"Frequency", {160, 166}, 1, 1, kFreq}, // the flags are the time view's: left as they were
    };
    int n = 0;
    for (const auto& c : cases) {
        std::vector<QtxDatumShape> datums;
        for (uint8_t t : c.types) datums.push_back(Datum(t));
        host.ExpectFileDialog("Browse Input QTX File", Qtx("types" + std::to_string(n++) + ".qtx", datums));
        Script().Press(kIdcSelectInputFile).Press(IDCANCEL);
        D dlg;
        Prepare(dlg, c.domain);
        dlg.m_setup.enableFrequency = dlg.m_setup.enableSlowness = 1;
        dlg.DoModal();
        EXPECT_EQ(dlg.m_setup.enableFrequency, c.frequency) << n;
        EXPECT_EQ(dlg.m_setup.enableSlowness, c.slowness) << n;
        EXPECT_EQ(EnabledRanges(), RangeIds(c.enabled)) << n;
    }
}

TEST_F(DomainSetupDlgTest, CancelledOrUnreadableFileKeepsTheShownDepths)
{
    const std::string good = Qtx("good.qtx", {Datum(1)});
    const std::string shortFile = dir.File("short.qtx");
    WriteBytes(shortFile, {1, 2, 3});
    QtxFileHeader header;
    header.topDepth = -1.0;
    const std::string noTop = dir.File("notop.qtx");
    WriteBytes(noTop, RawQtx(header, {}));
    const std::string noExt = dir.File("noext");
    ASSERT_TRUE(WriteQtx(noExt, {Datum(1)}, 2, 1500.0));

    struct Case {
        std::string path; // empty: Cancel
        std::string message;
        std::string shownPath;
    };
    const Case cases[] = {
        {"", "", good},
        {shortFile, "Error reading header in file :\n" + shortFile, shortFile},
        {noTop, "", noTop},
    };
    for (const auto& c : cases) {
        host.ExpectFileDialog("Browse", good);
        host.ExpectFileDialog("Browse", c.path);
        if (!c.message.empty()) host.ExpectMessage(c.message);
        Script().Press(kIdcSelectInputFile).Press(kIdcSelectInputFile).Press(IDOK);
        D dlg;
        Prepare(dlg);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_setup.path, c.shownPath);
        EXPECT_EQ(Text(kIdcInputFile), ShortenPathLabel("Input File : ", c.shownPath));
        EXPECT_EQ(Text(kIdcStartDepth), "Start depth :  1000.0000") << c.path;
        EXPECT_EQ(dlg.m_setup.depthFrame, 1000.0) << c.path;
    }

    // A file without extension is a choice like any other.
    host.ExpectFileDialog("Browse", noExt);
    Script().Press(kIdcSelectInputFile).Press(IDOK);
    D dlg;
    Prepare(dlg);
    dlg.m_setup.ext = "qtx";
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_setup.path, noExt);
    EXPECT_EQ(dlg.m_setup.ext, "");
    EXPECT_EQ(dlg.m_setup.depthFrame, 1500.0);
}

// Run and Save Setup give the edited group back; Cancel leaves the group as it was.
TEST_F(DomainSetupDlgTest, EndButtonsAndTheTraceCursor)
{
    for (const int button : {int(IDOK), int(kIdcSaveSetup), int(IDCANCEL)}) {
        DialogScript& script = Script().Type(kIdcTimeStart, "100");
        script.Check(kIdcTraceCursor, 1).Check(kIdcTraceCursor, 0).Check(kIdcTraceCursor, 1).Press(button);
        D dlg;
        Prepare(dlg);
        DomainSetupGroup group = dlg.m_setup;
        const DomainSetupGroup before = group;
        EXPECT_EQ(dlg.Edit(group), button);
        EXPECT_EQ(Shown().Item(kIdcTraceCursor)->Check(), 1) << button;
        if (button == IDCANCEL) {
            EXPECT_EQ(group, before);
        } else {
            EXPECT_EQ(group.timeStart, 100.0f) << button;
            EXPECT_EQ(group.traceCursor, 1) << button;
        }
    }

    host.ExpectMessage("You entered an invalid depth!");
    DialogScript& script = Script().Type(kIdcDepthFrame, "0").Press(kIdcSaveSetup);
    script.Inspect([](CDialog& d) { EXPECT_FALSE(d.Ended()); }).Press(IDCANCEL);
    D refused;
    Prepare(refused);
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
}

TEST_F(DomainSetupDlgTest, HelpShowsTheDomainsContext)
{
    const std::string saved = theApp.m_helpPath;
    theApp.m_helpPath = dir.File("BronteluxHtmlHelp.htm");
    WriteBytes(theApp.m_helpPath, {'h'}); // installed
    host.tempDirectory = dir.Path();
    const std::pair<std::string, uint32_t> cases[] = {
        {"Time", 15}, {"Frequency", 4}, {"Slowness", 12}, {"Azimuth", 18}};
    for (const auto& [domain, context] : cases) {
        Script().Press(kIdcHelp).Press(IDCANCEL);
        D dlg;
        Prepare(dlg, domain);
        dlg.DoModal();
        ASSERT_FALSE(host.ShellOpened().empty());
        std::ifstream in(host.ShellOpened().back(), std::ios::binary);
        std::ostringstream page;
        page << in.rdbuf();
        EXPECT_EQ(page.str(), RedirectPageText(*LocalHelpUrl(theApp.m_helpPath, "", kHelpContext, context))) << domain;
    }
    EXPECT_EQ(host.ShellOpened().size(), 4u);
    theApp.m_helpPath = saved;
}

} // namespace
