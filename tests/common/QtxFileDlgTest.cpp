#include "common/QtxFileDlg.h"

#include "res/ResourceIds.h"
#include "support/DatumBuilder.h"
#include "support/HostFixture.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

using D = CQtxFileDlg;
using Lines = std::vector<std::string>;

Lines ListLines(const ControlState* list)
{
    Lines out;
    for (int i = 0; i < list->Count(); ++i) out.push_back(list->ItemText(i));
    return out;
}

D& Dlg(CDialog& d) { return dynamic_cast<D&>(d); }

class QtxFileDlgTest : public HostTest {
protected:
    CQtxDatumList datums;
    D dlg;

    void SetUp() override
    {
        HostTest::SetUp();
        datums.push_back(OneAxisDatum("WMNO", kCategoryWaveform, 1, kUnitMicroseconds, 512, 10.0f, 8));
        datums.push_back(OneAxisDatum("SPNO", kCategorySlowness, 2, kUnitMicrosecondsPerFoot, 60, 12.5f));
        datums.push_back(OneAxisDatum("SPDP", kCategorySlowness, 3, kUnitMicrosecondsPerMetre, 60, 40.0f));
        datums.push_back(OneAxisDatum("AZQD", kCategoryAzimuth, 4, kUnitDegrees, 36, 5.0f));
        datums.push_back(OneAxisDatum("DTNO", 2, 5, kUnitMicrosecondsPerFoot, 1, 1.0f)); // a log: no tab lists it
        datums.push_back(MapDatum("SMNO", 6, kUnitMicrosecondsPerFoot, 3, 300, 2.5f, kUnitMicroseconds, 7, 40, 20.0f));
        datums.push_back(OneAxisDatum("AMNO", kCategoryTrace, 7, kUnitMillivolts, 1, 1.0f));
        datums.push_back(OneAxisDatum("XXNO", kCategoryTrace, 8, 99, 1, 1.0f));
        datums.push_back(OneAxisDatum("WDP1", kCategoryWaveform, 9, kUnitMicroseconds, 256, 2.5f, 4));
        dlg.m_datums = &datums;
    }
};

TEST_F(QtxFileDlgTest, SortsDatumsIntoTabsWithTheirLineFormats)
{
    const std::vector<Lines> expected = {
        {"WMNO  512 @ 10.0  [uSec]", "WDP1  256 @  2.5  [uSec]"},
        {"WMNO  512 @ 10.0  [uSec]", "WDP1  256 @  2.5  [uSec]"}, // the waveform's time sampling
        {"SPNO  60 @ 12.500  [uSec/ft]", "SPDP  60 @ 40.000  [uSec/m]"},
        {"AZQD  36 @    5.0  [deg]"},
        {"SMNO  40x300 @  2.500  [uSec/ft]"}, // axis-2 count first
        {"AMNO  [mV]", "XXNO   "},            // unknown unit code: a blank label
    };
    auto& script = host.ScriptDialog(kIddQtxFile);
    for (int tab = 0; tab < 6; ++tab)
        script.Select(D::kIdcTab, tab).Inspect([&, tab](CDialog& d) {
            EXPECT_EQ(ListLines(d.Item(D::kIdcFound)), expected[size_t(tab)]) << "tab " << tab + 1;
        });
    script.Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);

    const ShownDialog* shown = host.LastDialog(kIddQtxFile);
    EXPECT_EQ(shown->caption, "QTX File");
    EXPECT_EQ(ListLines(shown->Item(D::kIdcTab)), (Lines{"Time", "Frequency", "Slowness", "Azimuth", "Semb Map", "Traces"}));
    const CQtxSembMapItem& m = *dlg.m_sembMapItems.at(0); // the two axes keep their places
    EXPECT_EQ(std::tuple(m.m_offset, int(m.m_sampleCount), int(m.m_firstIndex), m.m_step),
              std::tuple(608u, 300, 3, 2.5f));
    EXPECT_EQ(std::tuple(int(m.m_sampleCount2), int(m.m_firstIndex2), m.m_step2), std::tuple(40, 7, 20.0f));
    for (int tab = D::kTabTime; tab <= D::kTabTraces; ++tab) EXPECT_TRUE(dlg.SelectedItems(tab).empty());
}

TEST_F(QtxFileDlgTest, OpensOnTheNearestValidStartTab)
{
    for (const auto& [start, shownTab] : {std::pair{3, 3}, {0, 1}, {9, 6}}) {
        host.ScriptDialog(kIddQtxFile).Press(IDCANCEL);
        dlg.m_startTab = start;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(host.LastDialog(kIddQtxFile)->Item(D::kIdcTab)->CurSel(), shownTab - 1) << start;
        EXPECT_EQ(host.LastDialog(kIddQtxFile)->Item(D::kIdcFound)->Count(), 2) << start;
        EXPECT_EQ(dlg.CurrentTab(), shownTab);
    }
}

TEST_F(QtxFileDlgTest, SummaryLinesCarryTheirLabelsAndLongPathsAreShortened)
{
    dlg.m_fileName = "D:\\" + std::string(44, 'a') + "\\well0001.qtx"; // 60 characters
    dlg.m_startDepth = "   1000.0000";
    dlg.m_depthUnits = " [m]";
    dlg.m_depthFrames = "502";
    host.ScriptDialog(kIddQtxFile).Press(D::kIdcHelp).Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    const ShownDialog* shown = host.LastDialog(kIddQtxFile);
    const std::pair<int, const char*> lines[] = {
        {D::kIdcFileName, "File name : ...\\well0001.qtx"}, {D::kIdcStartDepth, "Start depth :    1000.0000"},
        {D::kIdcStopDepth, "Stop depth : "},                {D::kIdcDepthStep, "Depth step : "},
        {D::kIdcDepthUnits, "Depth units :  [m]"},           {D::kIdcDepthFrames, "Depth frames : 502"},
    };
    for (const auto& [id, text] : lines) EXPECT_EQ(shown->Item(id)->Text(), text);
}

TEST_F(QtxFileDlgTest, AddMarksTheFoundItemAndSelectedListKeepsListOrder)
{
    const std::string first = "WMNO  512 @ 10.0  [uSec]", second = "WDP1  256 @  2.5  [uSec]";
    host.ScriptDialog(kIddQtxFile)
        .Press(D::kIdcAdd) // nothing picked yet
        .Select(D::kIdcFound, 1)
        .Press(D::kIdcAdd)
        .DoubleClick(D::kIdcFound, 1) // already selected: no second line
        .Inspect([&](CDialog& d) { EXPECT_EQ(ListLines(d.Item(D::kIdcSelected)), Lines{second}); })
        .DoubleClick(D::kIdcFound, 0)
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(ListLines(host.LastDialog(kIddQtxFile)->Item(D::kIdcSelected)), (Lines{first, second}));
    EXPECT_EQ(host.LastDialog(kIddQtxFile)->Item(D::kIdcFound)->Count(), 2) << "Found keeps every item";
    EXPECT_TRUE(dlg.SelectedItems(D::kTabFrequency).empty()) << "the same waveform's Frequency item is its own";
}

TEST_F(QtxFileDlgTest, RemoveTakesThePositionAmongTheSelectedItems)
{
    datums.push_back(OneAxisDatum("SPXX", kCategorySlowness, 10, kUnitMicrosecondsPerFoot, 10, 1.0f));
    datums.push_back(OneAxisDatum("SPYY", kCategorySlowness, 11, kUnitMicrosecondsPerFoot, 20, 1.0f));
    dlg.m_startTab = D::kTabSlowness; // SPNO SPDP SPXX SPYY
    host.ScriptDialog(kIddQtxFile)
        .Press(D::kIdcRemove) // nothing picked: nothing happens
        .DoubleClick(D::kIdcFound, 0)
        .DoubleClick(D::kIdcFound, 2)
        .DoubleClick(D::kIdcFound, 3)
        .Select(D::kIdcSelected, 1) // SPXX, third of the tab's items
        .Press(D::kIdcRemove)
        .Press(D::kIdcRemove) // the refilled list has no pick: nothing more goes
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    Lines names;
    for (const CQtxItem* item : dlg.SelectedItems(D::kTabSlowness)) names.push_back(item->m_mnemonic);
    EXPECT_EQ(names, (Lines{"SPNO", "SPYY"}));

    host.ScriptDialog(kIddQtxFile).DoubleClick(D::kIdcFound, 1).DoubleClick(D::kIdcSelected, 0).Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.SelectedItems(D::kTabSlowness).empty()) << "a new run starts with nothing selected";
}

TEST_F(QtxFileDlgTest, SelectAllAndClearAllWorkOnTheCurrentTabOnly)
{
    host.ScriptDialog(kIddQtxFile)
        .Press(D::kIdcSelectAll)
        .Select(D::kIdcTab, D::kTabTraces - 1)
        .Press(D::kIdcSelectAll)
        .Select(D::kIdcSelected, 1)
        .Press(D::kIdcClearAll)
        .Inspect([](CDialog& d) { EXPECT_EQ(Dlg(d).SelectedIndex(), -1); })
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.SelectedItems(D::kTabTime).size(), 2u);
    EXPECT_TRUE(dlg.SelectedItems(D::kTabTraces).empty());
    EXPECT_TRUE(dlg.SelectedItems(D::kTabFrequency).empty());

    dlg.m_allowSelectAll = 0;
    host.ScriptDialog(kIddQtxFile).Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(host.LastDialog(kIddQtxFile)->Item(D::kIdcSelectAll)->Enabled());
}

TEST_F(QtxFileDlgTest, SwitchingTabsKeepsEachTabsChoiceAndForgetsThePicks)
{
    host.ScriptDialog(kIddQtxFile)
        .DoubleClick(D::kIdcFound, 1)
        .Select(D::kIdcSelected, 0)
        .Select(D::kIdcTab, D::kTabAzimuth - 1)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.Item(D::kIdcSelected)->Count(), 0);
            EXPECT_EQ(Dlg(d).FoundIndex(), -1);
            EXPECT_EQ(Dlg(d).SelectedIndex(), -1);
        })
        .Press(D::kIdcAdd) // the pick was forgotten with the tab change
        .Select(D::kIdcTab, D::kTabTime - 1)
        .Inspect([](CDialog& d) { EXPECT_EQ(ListLines(d.Item(D::kIdcSelected)), Lines{"WDP1  256 @  2.5  [uSec]"}); })
        .Select(D::kIdcTab, D::kTabFrequency - 1)
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.SelectedItems(D::kTabAzimuth).empty());
    EXPECT_EQ(dlg.CurrentTab(), D::kTabFrequency);
}

TEST_F(QtxFileDlgTest, WithoutADatumListEveryTabIsEmpty)
{
    dlg.m_datums = nullptr;
    dlg.m_startTab = D::kTabSembMap;
    host.ScriptDialog(kIddQtxFile).Press(D::kIdcAdd).Press(D::kIdcSelectAll).Press(D::kIdcRemove).Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(host.LastDialog(kIddQtxFile)->Item(D::kIdcFound)->Count(), 0);
    for (int tab = D::kTabTime; tab <= D::kTabTraces; ++tab) EXPECT_TRUE(dlg.Items(tab).empty());
}

} // namespace
