#include "common/QtxFileDlg.h"

#include "res/QtxFileDlgIds.h"
#include "support/DatumBuilder.h"
#include "support/HostFixture.h"

#include <functional>
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
        datums.push_back(OneAxisDatum("SPXX", kCategorySlowness, 10, kUnitMicrosecondsPerFoot, 10, 1.0f));
        datums.push_back(OneAxisDatum("SPYY", kCategorySlowness, 11, kUnitMicrosecondsPerFoot, 20, 1.0f));
        dlg.m_datums = &datums;
    }
};

TEST_F(QtxFileDlgTest, SortsDatumsIntoTabsWithTheirLineFormats)
{
    // A curve of three values a frame (a fast channel) tells what the log shows of it.
    datums.push_back(OneAxisDatum("DTF3", kCategoryTrace, 12, kUnitMicrosecondsPerFoot, 3, 0.1667f));
    const std::vector<Lines> expected = {
        {"WMNO  512 @ 10.0  [uSec]", "WDP1  256 @  2.5  [uSec]"},
        {"WMNO  512 @ 10.0  [uSec]", "WDP1  256 @  2.5  [uSec]"}, // the waveform's time sampling
        {"SPNO  60 @ 12.500  [uSec/ft]", "SPDP  60 @ 40.000  [uSec/m]", "SPXX  10 @  1.000  [uSec/ft]",
         "SPYY  20 @  1.000  [uSec/ft]"},
        {"AZQD  36 @    5.0  [deg]"},
        {"SMNO  40x300 @  2.500  [uSec/ft]"}, // axis-2 count first
        {"AMNO  [mV]", "XXNO   ", "DTF3  [uSec/ft]  (3 values a frame: the log shows the one at the frame's depth)"}, // unknown unit: blank
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
    EXPECT_EQ(ListLines(shown->Item(D::kIdcTab)),
              (Lines{"Time", "Frequency", "Slowness", "Azimuth", "Semb Map", "Traces"}));
    const CQtxSembMapItem& m = *dlg.m_sembMapItems.at(0); // the two axes keep their places
    EXPECT_EQ(std::tuple(m.m_offset, int(m.m_sampleCount), int(m.m_firstIndex), m.m_step),
              std::tuple(608u, 300, 3, 2.5f));
    EXPECT_EQ(std::tuple(int(m.m_sampleCount2), int(m.m_firstIndex2), m.m_step2), std::tuple(40, 7, 20.0f));
    for (int tab = D::kTabTime; tab <= D::kTabTraces; ++tab) EXPECT_TRUE(dlg.SelectedItems(tab).empty());
}

TEST_F(QtxFileDlgTest, OpensOnTheNearestValidStartTab)
{
    for (const auto& [start, shownTab] : {std::pair{2, 2}, {0, 1}, {9, 6}}) {
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

// One dialog object runs every case, so a choice left over from a run shows too.
TEST_F(QtxFileDlgTest, ListCommandsMarkItemsOfTheCurrentTabOnly)
{
    const struct {
        const char* what;
        int startTab;
        std::function<void(DialogScript&)> user;
        const char* chosen; // tab:mnemonic of every marked item
        int endTab;
    } cases[] = {
        {"Add takes the picked line once", D::kTabTime,
         [](DialogScript& s) {
             s.Press(D::kIdcAdd).Select(D::kIdcFound, 1).Press(D::kIdcAdd).DoubleClick(D::kIdcFound, 1);
             s.DoubleClick(D::kIdcFound, 0);
         },
         "1:WMNO 1:WDP1 ", D::kTabTime},
        {"Remove takes the position among the marked items", D::kTabSlowness, // SPNO SPDP SPXX SPYY
         [](DialogScript& s) {
             s.Press(D::kIdcRemove).DoubleClick(D::kIdcFound, 0).DoubleClick(D::kIdcFound, 2);
             s.DoubleClick(D::kIdcFound, 3).Select(D::kIdcSelected, 1); // SPXX, third of the tab's items
             s.Press(D::kIdcRemove).Press(D::kIdcRemove); // the refilled list has no pick: nothing more goes
         },
         "3:SPNO 3:SPYY ", D::kTabSlowness},
        {"Select All and Clear All", D::kTabTime,
         [](DialogScript& s) {
             s.Press(D::kIdcSelectAll).Select(D::kIdcTab, D::kTabTraces - 1).Press(D::kIdcSelectAll);
             s.Select(D::kIdcSelected, 1).Press(D::kIdcClearAll).Press(D::kIdcRemove);
         },
         "1:WMNO 1:WDP1 ", D::kTabTraces},
        {"a tab change forgets the picks", D::kTabTime,
         [](DialogScript& s) {
             s.DoubleClick(D::kIdcFound, 1).Select(D::kIdcSelected, 0).Select(D::kIdcTab, D::kTabSlowness - 1);
             s.Press(D::kIdcAdd).Press(D::kIdcRemove).Select(D::kIdcTab, D::kTabFrequency - 1);
         },
         "1:WDP1 ", D::kTabFrequency},
    };
    for (const auto& c : cases) {
        auto& script = host.ScriptDialog(kIddQtxFile);
        c.user(script);
        script.Press(IDOK);
        dlg.m_startTab = c.startTab;
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.what;
        std::string chosen;
        for (int tab = D::kTabTime; tab <= D::kTabTraces; ++tab)
            for (const CQtxItem* item : dlg.SelectedItems(tab))
                chosen += std::to_string(tab) + ":" + item->m_mnemonic + " ";
        EXPECT_EQ(chosen, c.chosen) << c.what;
        EXPECT_EQ(dlg.CurrentTab(), c.endTab) << c.what;
        Lines shown; // the Selected list shows the tab's marked items in list order
        for (const CQtxItem* item : dlg.SelectedItems(c.endTab)) shown.push_back(item->ListLine());
        EXPECT_EQ(ListLines(host.LastDialog(kIddQtxFile)->Item(D::kIdcSelected)), shown) << c.what;
    }
}

TEST_F(QtxFileDlgTest, SelectAllCanBeWithheld)
{
    dlg.m_allowSelectAll = 0;
    host.ScriptDialog(kIddQtxFile).Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(host.LastDialog(kIddQtxFile)->Item(D::kIdcSelectAll)->Enabled());
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
