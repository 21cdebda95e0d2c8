#include "viewers/DomainSetupDlg.h"

#include "app/ViewerApp.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using D = CDomainSetupDlg;
using Typed = std::vector<std::pair<int, std::string>>;
constexpr int kRangeIds[] = {1168, 1169, 1170, 1171, 1172, 1173, 1174, 1175};

class DomainSetupDlgTest : public HostTest {
protected:
    TempDir dir;

    // As the Display commands fill it from the settings' defaults.
    static void Prepare(D& d, const std::string& domain = "Time")
    {
        d.m_strDomain = domain;
        d.m_fAzimMax = 360.0f;
        d.m_strSlownessTitle = "Slowness range [uSec/ft]";
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
        {{{1179, "0.5"}}, depth, 1179},
        {{{1179, "50000.01"}, {1170, "-1"}}, depth, 1179},
        {{{1170, "30001"}}, "You entered an invalid start " + freq, 1170},
        {{{1170, "5000"}, {1171, "5000"}}, "Start frequency must be less then stop frequency!", 1170},
        {{{1171, "30000.5"}}, "You entered an invalid stop " + freq, 1171},
        {{{1168, "-0.5"}, {1170, "-0.5"}}, "You entered an invalid start " + freq, 1170}, // frequency before time
        {{{1168, "500"}, {1169, "500"}}, "Start time must be less then stop time!", 1168},
        {{{1169, "30001"}}, "You entered an invalid stop " + time, 1169},
        {{{1168, "40000"}}, "You entered an invalid start " + time, 1168},
        {{{1172, "2001"}}, "You entered an invalid min " + slow, 1172},
        {{{1172, "300"}, {1173, "200"}}, "Min slowness must be less then max slowness!", 1172},
        {{{1173, "2000.5"}}, "You entered an invalid max " + slow, 1173},
        {{{1174, "361"}}, "You entered an invalid min " + azim, 1174},
        {{{1174, "90"}, {1175, "90"}}, "Min azimuth must be less then max azimuth!", 1174},
        {{{1175, "400"}}, "You entered an invalid max " + azim, 1175},
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
        {{1179, "1.0"}, {1170, "0"}, {1171, "30000"}, {1168, "0"}, {1169, "30000"}, {1172, "0"}, {1173, "2000"},
         {1174, "0"}, {1175, "360"}},
        {{1179, "50000.0"}, {1168, "20000"}, {1169, "25000"}, {1172, "2000"}}, // slowness 2000 < 2000 refused below
    };
    Script(cases[0]).Press(IDOK);
    D dlg;
    Prepare(dlg);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_dDepthFrame, 1.0);
    EXPECT_EQ(dlg.m_fFreqStop, 30000.0f);
    EXPECT_EQ(dlg.m_fSlowMax, 2000.0f);
    EXPECT_EQ(dlg.m_fAzimMax, 360.0f);

    host.ExpectMessage("Min slowness must be less then max slowness!");
    Script(cases[1]).Press(IDOK).Inspect([](CDialog& d) { d.SetItemText(1172, "100"); }).Press(IDOK);
    D raised;
    Prepare(raised);
    ASSERT_EQ(raised.DoModal(), IDOK);
    EXPECT_EQ(raised.m_dDepthFrame, 50000.0);
    EXPECT_EQ(raised.m_fTimeStart, 20000.0f);
    EXPECT_EQ(raised.m_fTimeStop, 25000.0f);
}

TEST_F(DomainSetupDlgTest, DisabledFieldsAreStillValidated)
{
    const std::pair<std::string, int> cases[] = {{"Time", 1174}, {"Frequency", 1168}, {"Slowness", 1171},
                                                 {"Azimuth", 1169}};
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
    dlg.m_fTimeStart = 600.0f;
    dlg.m_fTimeStop = 500.0f;
    dlg.m_nTraceCursor = 1;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(Text(1179), "1");
    EXPECT_EQ(Text(1171), "10000");
    EXPECT_EQ(Text(1168), "600");
    for (int id : {1169, 1172, 1173, 1174, 1175}) EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(Shown().Item(1195)->Check(), 0);
    EXPECT_EQ(Shown().focus, 1168);
}

TEST_F(DomainSetupDlgTest, DomainAndTimeFlagsDecideTheEnabledRanges)
{
    struct Case {
        std::string domain;
        int frequency, slowness;
        std::vector<int> enabled;
    };
    const Case cases[] = {
        {"Time", 0, 0, {1168, 1169}},
        {"Time", 1, 0, {1168, 1169, 1170, 1171}},
        {"Time", 0, 1, {1168, 1169, 1172, 1173}},
        {"Time", 1, 1, {1168, 1169, 1170, 1171, 1172, 1173}},
        {"Frequency", 1, 1, {1170, 1171}},
        {"Slowness", 1, 1, {1172, 1173}},
        {"Azimuth", 1, 1, {1174, 1175}},
        {"time", 0, 0, {1174, 1175}}, // any other word is the azimuth domain
    };
    for (const auto& c : cases) {
        Script().Press(IDCANCEL);
        D dlg;
        Prepare(dlg, c.domain);
        dlg.m_bEnableFrequency = c.frequency;
        dlg.m_bEnableSlowness = c.slowness;
        dlg.DoModal();
        EXPECT_EQ(EnabledRanges(), c.enabled) << c.domain << c.frequency << c.slowness;
    }
}

TEST_F(DomainSetupDlgTest, InitShowsPathTitleAndDepthsOfTheChosenFile)
{
    Script().Press(IDCANCEL);
    D dlg;
    Prepare(dlg);
    dlg.m_strSlownessTitle = "Slowness range [uSec/m]";
    dlg.m_strPath = "/data/" + std::string(80, 'w') + "/well.qtx";
    dlg.m_dTopDepth = 1234.5;
    dlg.m_dBottomDepth = 2000.0;
    dlg.DoModal();
    EXPECT_EQ(Shown().caption, "Domain Setup");
    EXPECT_TRUE(Shown().centered);
    EXPECT_EQ(Text(1166), "Input File : .../well.qtx");
    EXPECT_EQ(Text(1258), "Slowness range [uSec/m]");
    EXPECT_EQ(Text(1177), "Start depth :  1234.5000");
    EXPECT_EQ(Text(1178), "Stop depth :  2000.0000");

    Script().Press(IDCANCEL);
    D empty;
    Prepare(empty);
    empty.DoModal();
    EXPECT_EQ(Text(1166), "Input File : ");
    EXPECT_EQ(Text(1177), "");
}

TEST_F(DomainSetupDlgTest, ChosenFileSetsDepthsAndTheLastSlownessDatumDecides)
{
    struct Case {
        uint8_t firstUnit, lastUnit;
        std::string title, min, max;
    };
    const Case cases[] = {
        {kUnitMicrosecondsPerFoot, kUnitMicrosecondsPerMetre, "Slowness range [uSec/m]", " 100.0", " 600.0"},
        {kUnitMicrosecondsPerMetre, kUnitMicrosecondsPerFoot, "Slowness range [uSec/ft]", "  40.0", " 240.0"},
    };
    for (const auto& c : cases) {
        const std::string path = Qtx("slow" + std::to_string(c.lastUnit) + ".qtx",
                                     {Datum(1), Datum(30, kCategorySlowness, c.firstUnit),
                                      Datum(31, kCategorySlowness, c.lastUnit), Datum(40, kCategoryAzimuth)});
        host.ExpectFileDialog("Browse Input QTX File", path);
        Script().Press(1167).Press(IDOK);
        D dlg;
        Prepare(dlg, "Slowness");
        dlg.m_strTitle = "previous";
        dlg.m_strExt = "qtx";
        ASSERT_EQ(dlg.DoModal(), IDOK);
        const FileDialogOptions& o = host.FileDialogs().back().options;
        EXPECT_TRUE(o.open);
        EXPECT_EQ(o.filter, "Qtx Data (*.qtx)|*.qtx|All Files (*.*)|*.*||");
        EXPECT_EQ(o.initialName, "previous");
        EXPECT_EQ(o.defaultExt, "qtx");
        EXPECT_EQ(o.flags, kHideReadOnly | kPathMustExist | kFileMustExist);

        EXPECT_EQ(dlg.m_strPath, path);
        EXPECT_EQ(dlg.m_strTitle, "slow" + std::to_string(c.lastUnit));
        EXPECT_EQ(Text(1166), ShortenPathLabel("Input File : ", path));
        EXPECT_EQ(dlg.m_dTopDepth, 1000.0);
        EXPECT_EQ(dlg.m_dBottomDepth, 1001.0);
        EXPECT_EQ(dlg.m_dDepthFrame, 1000.0);
        EXPECT_EQ(Text(1179), " 1000.0000");
        EXPECT_EQ(Text(1177), "Start depth :  1000.0000");
        EXPECT_EQ(Text(1178), "Stop depth :  1001.0000");
        EXPECT_EQ(dlg.m_strSlownessTitle, c.title);
        EXPECT_EQ(Text(1258), c.title);
        EXPECT_EQ(Text(1172), c.min);
        EXPECT_EQ(Text(1173), c.max);
    }
}

TEST_F(DomainSetupDlgTest, ItemTypesOfTheChosenFileSetTheTimeFlags)
{
    struct Case {
        std::string domain;
        std::vector<uint8_t> types;
        int frequency, slowness;
        std::vector<int> enabled;
    };
    const Case cases[] = {
        {"Time", {1, 157, 170}, 0, 0, {1168, 1169}},
        {"Time", {158}, 1, 0, {1168, 1169, 1170, 1171}},
        {"Time", {163}, 1, 0, {1168, 1169, 1170, 1171}},
        {"Time", {164}, 0, 1, {1168, 1169, 1172, 1173}},
        {"Time", {1, 169, 160}, 1, 1, {1168, 1169, 1170, 1171, 1172, 1173}},
        {"Frequency", {160, 166}, 0, 0, {1170, 1171}}, // flags cleared, enabling left alone
    };
    int n = 0;
    for (const auto& c : cases) {
        std::vector<QtxDatumShape> datums;
        for (uint8_t t : c.types) datums.push_back(Datum(t));
        host.ExpectFileDialog("Browse Input QTX File", Qtx("types" + std::to_string(n++) + ".qtx", datums));
        Script().Press(1167).Press(IDCANCEL);
        D dlg;
        Prepare(dlg, c.domain);
        dlg.m_bEnableFrequency = dlg.m_bEnableSlowness = 1;
        dlg.DoModal();
        EXPECT_EQ(dlg.m_bEnableFrequency, c.frequency) << n;
        EXPECT_EQ(dlg.m_bEnableSlowness, c.slowness) << n;
        EXPECT_EQ(EnabledRanges(), c.enabled) << n;
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
        Script().Press(1167).Press(1167).Press(IDOK);
        D dlg;
        Prepare(dlg);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_strPath, c.shownPath);
        EXPECT_EQ(Text(1166), ShortenPathLabel("Input File : ", c.shownPath));
        EXPECT_EQ(Text(1177), "Start depth :  1000.0000") << c.path;
        EXPECT_EQ(dlg.m_dDepthFrame, 1000.0) << c.path;
    }

    // A file without extension is a choice like any other.
    host.ExpectFileDialog("Browse", noExt);
    Script().Press(1167).Press(IDOK);
    D dlg;
    Prepare(dlg);
    dlg.m_strExt = "qtx";
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strPath, noExt);
    EXPECT_EQ(dlg.m_strExt, "");
    EXPECT_EQ(dlg.m_dDepthFrame, 1500.0);
}

TEST_F(DomainSetupDlgTest, EndButtonsAndTheTraceCursor)
{
    struct Case {
        int button, code;
        bool changed;
    };
    for (const Case& c : {Case{IDOK, IDOK, true}, Case{1176, 1176, true}, Case{IDCANCEL, IDCANCEL, false}}) {
        Script().Type(1168, "100").Check(1195, 1).Check(1195, 0).Check(1195, 1).Press(c.button);
        D dlg;
        Prepare(dlg);
        EXPECT_EQ(dlg.DoModal(), c.code);
        EXPECT_EQ(dlg.m_fTimeStart, c.changed ? 100.0f : 0.0f) << c.button;
        EXPECT_EQ(dlg.m_nTraceCursor, 1) << c.button;
        EXPECT_EQ(Shown().Item(1195)->Check(), 1) << c.button;
    }

    host.ExpectMessage("You entered an invalid depth!");
    Script().Type(1179, "0").Press(1176).Inspect([](CDialog& d) { EXPECT_FALSE(d.Ended()); }).Press(IDCANCEL);
    D refused;
    Prepare(refused);
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
}

TEST_F(DomainSetupDlgTest, HelpShowsTheDomainsContext)
{
    const std::string saved = theApp.m_helpPath;
    theApp.m_helpPath = dir.File("BronteluxHtmlHelp.htm");
    host.tempDirectory = dir.Path();
    const std::pair<std::string, uint32_t> cases[] = {{"Time", 15}, {"Frequency", 4}, {"Slowness", 12}, {"Azimuth", 18}};
    for (const auto& [domain, context] : cases) {
        Script().Press(1180).Press(IDCANCEL);
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
