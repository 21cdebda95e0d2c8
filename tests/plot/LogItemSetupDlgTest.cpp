#include "plot/LogItemSetupDlg.h"

#include "common/QtxFileDlg.h"
#include "platform/Format.h"
#include "plot/EditCommandDlg.h"
#include "res/EditCommandDlgIds.h"
#include "res/LogItemSetupDlgIds.h"
#include "res/QtxFileDlgIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace {

using D = CLogItemSetupDlg;
using F = CQtxFileDlg;
using enum log_item_setup::Control;

// Marks datums in the selection dialog: (tab, line) pairs, tabs counted from 1.
using Marks = std::vector<std::pair<int, int>>;

void Choose(DialogScript& s, const Marks& marks)
{
    for (const auto& [tab, line] : marks) s.Select(F::kIdcTab, tab - 1).Select(F::kIdcFound, line).Press(F::kIdcAdd);
    s.Press(IDOK);
}

class LogItemSetupDlgTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        path = dir.File("mix.qtx");
        // Time tab: WMNO, IFMN, ISMN; Frequency tab: the same; Slowness tab: DTCO; Traces: DTSH, GAMR.
        ASSERT_TRUE(WriteQtx(path,
                             {{"WMNO", 7, 1, 8, 16},
                              {"IFMN", 158, 1, 13, 16},
                              {"ISMN", 164, 1, 13, 16, 2},
                              {"DTCO", 31, 3, 1, 60, 2},
                              {"DTSH", 101, 6, 1, 1, 2},
                              {"GAMR", 102, 6, 1, 1, 0xFF}},
                             4, 1000.0, 0.5));
        dialog.m_item = CLogPlotItem::NewItemDefaults();
    }
    DialogScript& Script() { return host.ScriptDialog(kIddLogItemSetup); }
    // Runs the dialog, choosing the data set and the marked datums, then presses Apply.
    int Select(const Marks& marks)
    {
        host.ExpectFileDialog("Browse Input QTX File", path);
        Choose(host.ScriptDialog(kIddQtxFile), marks);
        Script().Press(kIdcSelectInputFile).Press(IDOK);
        return dialog.DoModal();
    }

    TempDir dir;
    std::string path;
    D dialog;
};

TEST_F(LogItemSetupDlgTest, AChosenDatumGivesTheItemItsDomainNamesUnitsAndImageKind)
{
    struct Case {
        std::pair<int, int> mark;
        uint16_t domain;
        int16_t count;
        std::string first, last, unit;
        int32_t frequencyImage, slownessImage;
    };
    const Case cases[] = {
        {{1, 0}, kPlotTime, 8, "R1", "R8", "[uSec]", 0, 0},
        {{2, 0}, kPlotFrequency, 8, "R1", "R8", "[Hz]", 0, 0},
        {{1, 1}, kPlotTime, 13, "R1", "", "[uSec]", 1, 0}, // the plot names 8 receivers of 13 traces
        {{1, 2}, kPlotTime, 13, "R1", "", "[uSec]", 0, 1},
        {{3, 0}, kPlotSlowness, 1, "SMNO", "SMNO", "[uSec/ft]", 0, 0},
        {{6, 1}, kPlotCurve, 2, "DTSH", "GAMR", " ", 0, 0},
    };
    for (const Case& c : cases) {
        dialog.m_item = CLogPlotItem::NewItemDefaults();
        ASSERT_EQ(Select({c.mark}), IDOK);
        const CLogPlotItem& it = dialog.m_item;
        EXPECT_EQ(it.m_datum.domain, c.domain) << c.first;
        EXPECT_EQ(it.m_datum.nameCount, c.count) << c.first;
        EXPECT_EQ(it.m_datum.names[0], c.first);
        EXPECT_EQ(it.m_datum.names[size_t(c.count - 1)], c.last);
        EXPECT_EQ(it.m_datum.names[size_t(c.count)], "") << "entries past the count stay empty";
        EXPECT_EQ(it.m_datum.unitsName, c.unit) << "the current entry's";
        EXPECT_EQ(it.m_scale.frequencyImage, c.frequencyImage);
        EXPECT_EQ(it.m_scale.slownessImage, c.slownessImage);
        EXPECT_EQ(it.m_file.path + "|" + it.m_file.title, path + "|mix");
        EXPECT_EQ(it.m_scale.startDepth, 1000.0);
        EXPECT_EQ(it.m_scale.stopDepth, 1001.5);
        EXPECT_EQ(host.LastDialog(kIddLogItemSetup)->Item(kIdcStartDepth)->Text(), " 1000.0000");
    }
    const CLogPlotItem& curve = dialog.m_item;
    EXPECT_EQ(curve.m_datum.current, 1);
    EXPECT_EQ(curve.m_strName, "GAMR");
    EXPECT_EQ(curve.m_datum.units[0], "[uSec/ft]");
    EXPECT_EQ(curve.m_datum.itemTypes[0], 101);
    EXPECT_EQ(curve.m_datum.sampleInterval, 1.0f);
    EXPECT_EQ(curve.m_datum.sampleCount, 1);
}


// A data set whose header depths or step are no numbers is named when it is picked,
// instead of its "nan" reaching the depth fields and a bare "Please enter a number.".
TEST_F(LogItemSetupDlgTest, ADataSetWithoutUsableDepthsIsNamedWhenPicked)
{
    const std::function<void(QtxFileHeader&)> damages[] = {
        [](QtxFileHeader& h) { h.topDepth = NAN; },
        [](QtxFileHeader& h) { h.bottomDepth = INFINITY; },
        [](QtxFileHeader& h) { h.depthStep = -INFINITY; },
    };
    for (const auto& damage : damages) {
        ASSERT_TRUE(WriteQtx(path, {{"GAMR", 102, 6, 1, 1, 0xFF}}, 4, 1000.0, 0.5));
        PatchQtxHeader(path, damage);
        dialog.m_item = CLogPlotItem::NewItemDefaults();
        host.ExpectFileDialog("Browse Input QTX File", path);
        host.ExpectMessage("Data set " + path + " cannot be shown against depth: its depth step or depths are not "
                           "usable numbers.");
        Script().Press(kIdcSelectInputFile).Press(IDCANCEL);
        dialog.DoModal();
        EXPECT_TRUE(dialog.m_item.m_file.path.empty());
    }
}
TEST_F(LogItemSetupDlgTest, NoneOrMoreThanOneChosenDatumIsRefusedAndChangesNothing)
{
    const std::pair<Marks, const char*> cases[] = {
        {{}, "Encountered empty selection list!\nOperation will be abandoned."},
        {{{6, 0}, {6, 1}}, "Too many items have been selected!\nOperation will be abandoned."},
        {{{1, 0}, {6, 0}}, "Too many items have been selected!\nOperation will be abandoned."},
    };
    for (const auto& [marks, message] : cases) {
        host.ExpectMessage(message);
        ASSERT_EQ(Select(marks), IDOK);
        EXPECT_EQ(dialog.m_item, CLogPlotItem::NewItemDefaults()) << message;
    }
}

TEST_F(LogItemSetupDlgTest, MoreThan256CurvesAreCappedAndACurveBeyondThemIsRefused)
{
    std::vector<QtxDatumShape> curves;
    for (int i = 0; i < 300; ++i) curves.push_back({"C" + std::to_string(i), 101, 6, 1, 1, 0xFF});
    path = dir.File("many.qtx");
    ASSERT_TRUE(WriteQtx(path, curves, 2));
    ASSERT_EQ(Select({{6, 255}}), IDOK);
    EXPECT_EQ(dialog.m_item.m_datum.nameCount, 256);
    EXPECT_EQ(dialog.m_item.m_datum.names[255], "C255");

    dialog.m_item = CLogPlotItem::NewItemDefaults();
    host.ExpectMessage("Only the first 256 curves of a data set can be plotted!");
    ASSERT_EQ(Select({{6, 256}}), IDOK);
    EXPECT_EQ(dialog.m_item, CLogPlotItem::NewItemDefaults());
}

TEST_F(LogItemSetupDlgTest, ApplyChecksEveryRangeWithItsMessage)
{
    struct Case {
        int id;
        const char* text;
        const char* message; // "" accepted
    };
    const Case cases[] = {
        {kIdcStartDepth, "-200", ""},
        {kIdcStartDepth, "-200.1", "You entered an invalid start depth!.\nValid range : -200.0 - 50000.0 ft."},
        {kIdcStartDepth, "50000", "Start depth must be less then stop depth!"},
        {kIdcStopDepth, "50000.1", "You entered an invalid stop depth!.\nValid range : -200.0 - 50000.0 ft."},
        {kIdcShift, "200.5", "You entered an invalid shift value!.\nValid range : -200.0 - 200.0"},
        {kIdcLeftLimit, "-1000001", "You entered an invalid start value!.\nValid range : -1000000.0 - 1000000.0"},
        {kIdcRightLimit, "1000000", ""},
        {kIdcFreqMin, "-1", "You entered an minimum frequency!.\nValid range : 0.0 - 25000.0 Hz"},
        {kIdcFreqMax, "25001", "You entered an maximum frequency!.\nValid range : 0.0 - 25000.0 Hz"},
        {kIdcSlowMin, "39", "You entered an minimum slowness!.\nValid range : 40.0 - 3500.0 uSec/ft"},
        {kIdcSlowMax, "3500.5", "You entered an maximum slowness!.\nValid range : 40.0 - 3500.0 uSec/ft"},
        {kIdcTrack, "17", "You entered an invalid track number.\nValid range : 1 - 16"},
        {kIdcTrack, "16", ""},
        {kIdcShadeMin, "-50000.5", "You entered an invalid start value!.\nValid range : -50000.0 - 50000.0"},
        {kIdcShadeMax, "50001", "You entered an invalid stop value!.\nValid range : -50000.0 - 50000.0"},
    };
    for (const Case& c : cases) {
        // Set as text: many of these edits are disabled for a new item.
        DialogScript& s = Script().Inspect([&c](CDialog& d) { d.SetItemText(c.id, c.text); }).Press(IDOK);
        if (*c.message) {
            host.ExpectMessage(c.message);
            s.Inspect([&c](CDialog& d) { EXPECT_EQ(d.Focus(), c.id) << c.message; }).Press(IDCANCEL);
        }
        dialog.m_item = CLogPlotItem::NewItemDefaults();
        EXPECT_EQ(dialog.DoModal(), *c.message ? IDCANCEL : IDOK) << c.text;
    }
}

// Controls checked, in order: waveform list, curve list, Normalize, frequency range,
// slowness range, line style, shading colour, shading minimum, maximum, partner list.
constexpr int kRuled[] = {kIdcWaveList, kIdcCurveList, kIdcNormalize, kIdcFreqMin, kIdcSlowMin,
                          kIdcLineStyle, kIdcShadeColor, kIdcShadeMin, kIdcShadeMax, kIdcPartnerList};
std::string Enabled(const CDialog& d)
{
    std::string on;
    for (int id : kRuled) on += d.IsItemEnabled(id) ? '1' : '0';
    return on;
}

TEST_F(LogItemSetupDlgTest, ControlsFollowTheDomainTheImageKindAndTheShadingMode)
{
    struct Case {
        uint16_t domain;
        int32_t frequencyImage, slownessImage;
        int mode; // shading radio clicked, 0 none
        const char* enabled;
    };
    const Case cases[] = {
        {kPlotTime, 0, 0, 0, "1000000000"},      {kPlotTime, 1, 0, 0, "1001000000"},
        {kPlotTime, 0, 1, 0, "1000100000"},      {kPlotFrequency, 1, 1, 0, "1000000000"},
        {kPlotSlowness, 0, 0, 0, "1010000000"},  {kPlotCurve, 0, 0, 0, "0100010000"},
        {kPlotCurve, 0, 0, kIdcShadeMaxLimit, "0100011010"}, {kPlotCurve, 0, 0, kIdcShadeMinLimit, "0100011100"},
        {kPlotCurve, 0, 0, kIdcShadeCurveLimit, "0100011001"}, {kPlotCurve, 0, 0, kIdcShadeOff, "0100010000"},
    };
    PlotItemList list{std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults())};
    list[0]->m_datum.domain = kPlotCurve;
    list[0]->m_strName = "DTCO";
    list[0]->m_scale.track = 2;
    for (const Case& c : cases) {
        dialog.m_item = CLogPlotItem::NewItemDefaults();
        dialog.m_item.m_datum.domain = c.domain;
        dialog.m_item.m_scale.frequencyImage = c.frequencyImage;
        dialog.m_item.m_scale.slownessImage = c.slownessImage;
        dialog.m_item.m_shade.curve = 0;
        dialog.m_pPlotItems = &list;
        DialogScript& s = Script();
        if (c.mode) s.Radio(c.mode);
        s.Inspect([&c](CDialog& d) { EXPECT_EQ(Enabled(d), c.enabled) << c.domain << "/" << c.mode; }).Press(IDOK);
        dialog.DoModal();
    }
    const ShownDialog& last = host.Dialogs()[host.Dialogs().size() - 2]; // the curve-limit run
    ASSERT_EQ(last.Item(kIdcPartnerList)->Count(), 1);
    EXPECT_EQ(last.Item(kIdcPartnerList)->ItemText(0), "DTCO  (2)");
    EXPECT_EQ(last.Item(kIdcPartnerList)->CurSel(), 0);
    EXPECT_EQ(dialog.m_item.m_shade.off, 1);
    EXPECT_EQ(dialog.m_item.m_shade.curveLimit, 0);
}

// The lists choose by a line's place: with the lines reworded, line 0 of the width
// list is still "Normal". A text the program does not know shows no line, and Apply
// keeps it.
TEST_F(LogItemSetupDlgTest, ListsChooseByPlaceAndKeepATextTheProgramDoesNotKnow)
{
    dialog.m_item.m_datum.domain = kPlotCurve;
    dialog.m_item.m_shade.off = 0;
    dialog.m_item.m_shade.maxLimit = 1;
    dialog.m_item.m_style.color = StyleChoice<NamedColour>::FromText("Purple");
    Script()
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.Item(kIdcColor)->CurSel(), -1) << "no line for Purple";
            EXPECT_EQ(d.Item(kIdcLineWidth)->CurSel(), 1) << "Bold";
            ControlState* widths = d.Item(kIdcLineWidth);
            widths->ResetContent();
            widths->AddString("thin");
            widths->AddString("wide");
        })
        .Select(kIdcLineWidth, 0)
        .Select(kIdcLineStyle, 3)
        .Select(kIdcShadeColor, 9)
        .Select(kIdcShadePattern, 2)
        .Press(IDOK);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const CLogPlotItem& it = dialog.m_item;
    EXPECT_EQ(it.m_style.lineWidth.Value(), LineWidth::kNormal);
    EXPECT_EQ(it.m_style.lineWidth.Text(), "Normal");
    EXPECT_EQ(it.m_style.lineStyle.Text(), "Dashdot");
    EXPECT_EQ(it.m_shade.color.Value(), NamedColour::kBlack);
    EXPECT_EQ(it.m_shade.pattern.Value(), ShadePattern::kDotted);
    EXPECT_EQ(it.m_style.color.Text(), "Purple") << "kept while no line is chosen";
    EXPECT_EQ(it.m_style.waveStyle.Text(), "VDL");
}

class EditCommandDlgTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        for (const char* name : {"first", "second", "third"}) {
            auto item = std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults());
            item->m_strName = name;
            item->m_datum.nameCount = 1;
            item->m_datum.names[0] = std::string("M") + name;
            list.push_back(item);
        }
        list[2]->m_datum.domain = kPlotCurve;
        dialog.m_pPlotItems = &list;
    }
    static std::function<void(CDialog&)> Shows(const std::string& name)
    {
        return [name](CDialog& d) { EXPECT_EQ(d.GetItemText(CEditCommandDlg::kIdcName), name); };
    }
    PlotItemList list;
    CEditCommandDlg dialog;
};

TEST_F(EditCommandDlgTest, NextAndPreviousWrapAroundAndStoreTheItemTheyLeave)
{
    using E = CEditCommandDlg;
    host.ExpectMessage("Start depth must be less then stop depth!");
    host.ScriptDialog(kIddEditCommand)
        .Inspect(Shows("first"))
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(E::kIdcStartDepth), "    1.0000"); })
        .Type(E::kIdcName, "renamed")
        .Type(E::kIdcMnemonic, "MNEW")
        .Press(E::kIdcNextItem)
        .Press(E::kIdcNextItem)
        .Inspect(Shows("third"))
        .Inspect([](CDialog& d) {
            EXPECT_TRUE(d.IsItemEnabled(E::kIdcColor) && d.IsItemEnabled(E::kIdcLineWidth));
            EXPECT_FALSE(d.IsItemEnabled(E::kIdcPalette)) << "a curve has no palette";
        })
        .Press(E::kIdcNextItem)
        .Inspect(Shows("renamed"))
        .Inspect([](CDialog& d) { EXPECT_FALSE(d.IsItemEnabled(E::kIdcColor)); })
        .Press(E::kIdcPreviousItem)
        .Inspect(Shows("third"))
        .Type(E::kIdcStopDepth, "1")
        .Type(E::kIdcName, "not stored")
        .Press(E::kIdcPreviousItem)
        .Inspect(Shows("not stored"))
        .Press(IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(list[0]->m_strName, "renamed") << "Cancel keeps what Next stored";
    EXPECT_EQ(list[0]->m_datum.names[0], "MNEW");
    EXPECT_EQ(list[2]->m_strName, "third");
    EXPECT_EQ(list[2]->m_scale.stopDepth, 50000.0);
}

// Limits shown with two decimals and depths with four keep every digit through Next,
// Previous and OK when their text is left as shown; a text typed is taken as typed.
TEST_F(EditCommandDlgTest, ANumberLeftAsShownKeepsEveryDigit)
{
    using E = CEditCommandDlg;
    for (auto& item : list) {
        item->m_scale.startDepth = 1000.12345;
        item->m_scale.stopDepth = 2000.98765;
        item->m_scale.depthShift = -0.00005;
        item->m_scale.leftLimit = 0.125f;
        item->m_scale.rightLimit = 1234.5678f;
    }
    const struct {
        int id;
        std::string shown;
    } fields[] = {{E::kIdcStartDepth, " 1000.1235"}, {E::kIdcStopDepth, Format("%10.4f", 2000.98765)},
                  {E::kIdcShift, Format("%10.4f", -0.00005)}, {E::kIdcLeftLimit, Format("%10.2f", 0.125)},
                  {E::kIdcRightLimit, "   1234.57"}};
    const auto shows = [&](CDialog& d) {
        for (const auto& f : fields) EXPECT_EQ(d.GetItemText(f.id), f.shown) << f.id;
    };
    host.ScriptDialog(kIddEditCommand)
        .Inspect(shows)
        .Press(E::kIdcNextItem)
        .Type(E::kIdcRightLimit, "99.5")
        .Press(E::kIdcNextItem)
        .Press(E::kIdcPreviousItem)
        .Press(E::kIdcPreviousItem)
        .Inspect(shows)
        .Press(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    for (const auto& item : list) {
        EXPECT_EQ(item->m_scale.startDepth, 1000.12345);
        EXPECT_EQ(item->m_scale.stopDepth, 2000.98765);
        EXPECT_EQ(item->m_scale.depthShift, -0.00005);
        EXPECT_EQ(item->m_scale.leftLimit, 0.125f);
        EXPECT_EQ(item->m_scale.rightLimit, item == list[1] ? 99.5f : 1234.5678f);
    }
}

} // namespace
