#include "common/QtxFileDlg.h"

#include "res/ResourceIds.h"
#include "support/HostFixture.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using D = CQtxFileDlg;

std::unique_ptr<CQtxDatum> OneAxis(const std::string& mnemonic, uint8_t category, uint8_t unit, uint16_t count,
                                   float step, uint16_t number = 1, uint16_t traces = 1)
{
    return std::make_unique<CQtxDatum>(1, mnemonic, uint8_t(100 + number), category, 0, number, traces, 1,
                                       uint32_t(8 + 100 * number), 4u * count, unit, 0, count, step);
}

std::vector<std::string> Lines(const ControlState* list)
{
    std::vector<std::string> out;
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
        datums.push_back(OneAxis("WMNO", 1, 1, 512, 10.0f, 1, 8));
        datums.push_back(OneAxis("SPNO", 3, 2, 60, 12.5f, 2));
        datums.push_back(OneAxis("SPDP", 3, 3, 60, 40.0f, 3));
        datums.push_back(OneAxis("AZQD", 4, 5, 36, 5.0f, 4));
        datums.push_back(OneAxis("DTNO", 2, 2, 1, 1.0f, 5)); // a log: no tab lists it
        datums.push_back(std::make_unique<CQtxDatum>(1, "SMNO", 150, 5, 0, 6, 1, 2, 900, 4 * 40 * 300, 2, 3, 300,
                                                     2.5f, 1, 7, 40, 20.0f));
        datums.push_back(OneAxis("AMNO", 6, 7, 1, 1.0f, 7));
        datums.push_back(OneAxis("XXNO", 6, 99, 1, 1.0f, 8));
        datums.push_back(OneAxis("WDP1", 1, 1, 256, 2.5f, 9, 4));
        dlg.m_datums = &datums;
    }
};

TEST_F(QtxFileDlgTest, SortsDatumsIntoTabsWithTheirLineFormats)
{
    const std::vector<std::vector<std::string>> expected = {
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
            EXPECT_EQ(Lines(d.Item(D::kIdcFound)), expected[size_t(tab)]) << "tab " << tab + 1;
            EXPECT_EQ(Dlg(d).CurrentTab(), tab + 1);
        });
    script.Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);

    const ShownDialog* shown = host.LastDialog(kIddQtxFile);
    EXPECT_EQ(shown->caption, "QTX File");
    EXPECT_EQ(Lines(shown->Item(D::kIdcTab)),
              (std::vector<std::string>{"Time", "Frequency", "Slowness", "Azimuth", "Semb Map", "Traces"}));
    // The fields callers take over after the dialog.
    ASSERT_EQ(dlg.m_timeItems.size(), 2u);
    const CQtxTimeItem& t = *dlg.m_timeItems[1];
    EXPECT_EQ(t.m_mnemonic, "WDP1");
    EXPECT_EQ(t.m_unitText, "[uSec]");
    EXPECT_EQ(t.m_typeCode, 109);
    EXPECT_EQ(t.m_unit, 1);
    EXPECT_EQ(t.m_datumNumber, 9);
    EXPECT_EQ(t.m_offset, 908u);
    EXPECT_EQ(t.m_step, 2.5f);
    EXPECT_EQ(t.m_sampleCount, 256);
    EXPECT_EQ(t.m_traceCount, 4);
    ASSERT_EQ(dlg.m_frequencyItems.size(), 2u);
    EXPECT_EQ(dlg.m_frequencyItems[0]->m_unitText, "[Hz]");
    EXPECT_EQ(dlg.m_frequencyItems[0]->m_traceCount, 8);
    ASSERT_EQ(dlg.m_sembMapItems.size(), 1u);
    const CQtxSembMapItem& m = *dlg.m_sembMapItems[0];
    EXPECT_EQ(m.m_offset, 900u);
    EXPECT_EQ(m.m_step, 2.5f);
    EXPECT_EQ(m.m_sampleCount, 300);
    EXPECT_EQ(m.m_firstIndex, 3);
    EXPECT_EQ(m.m_step2, 20.0f);
    EXPECT_EQ(m.m_sampleCount2, 40);
    EXPECT_EQ(m.m_firstIndex2, 7);
    for (int tab = D::kTabTime; tab <= D::kTabTraces; ++tab) EXPECT_TRUE(dlg.SelectedItems(tab).empty());
}

TEST_F(QtxFileDlgTest, OpensOnTheStartTabWithNothingSelected)
{
    struct Case {
        int startTab;
        int shownTab;
        int found;
    };
    const Case cases[] = {{1, 1, 2}, {2, 2, 2}, {3, 3, 2}, {4, 4, 1}, {5, 5, 1}, {6, 6, 2}, {0, 1, 2}, {9, 6, 2}};
    for (const Case& c : cases) {
        host.ScriptDialog(kIddQtxFile).Press(IDCANCEL);
        dlg.m_startTab = c.startTab;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        const ShownDialog* shown = host.LastDialog(kIddQtxFile);
        EXPECT_EQ(shown->Item(D::kIdcTab)->CurSel(), c.shownTab - 1) << c.startTab;
        EXPECT_EQ(shown->Item(D::kIdcFound)->Count(), c.found) << c.startTab;
        EXPECT_EQ(shown->Item(D::kIdcSelected)->Count(), 0) << c.startTab;
        EXPECT_EQ(dlg.CurrentTab(), c.shownTab);
    }
}

TEST_F(QtxFileDlgTest, SummaryLinesCarryTheirLabelsAndLongPathsAreShortened)
{
    const std::string path = "D:\\" + std::string(44, 'a') + "\\well0001.qtx"; // 60 characters
    ASSERT_EQ(path.size(), 60u);
    dlg.m_fileName = path;
    dlg.m_startDepth = "   1000.0000";
    dlg.m_stopDepth = "   1250.5000";
    dlg.m_depthStep = "      0.5000";
    dlg.m_depthUnits = " [m]";
    dlg.m_depthFrames = "502";
    host.ScriptDialog(kIddQtxFile).Press(D::kIdcHelp).Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    const ShownDialog* shown = host.LastDialog(kIddQtxFile);
    EXPECT_EQ(shown->Item(D::kIdcFileName)->Text(), "File name : ...\\well0001.qtx");
    EXPECT_EQ(shown->Item(D::kIdcStartDepth)->Text(), "Start depth :    1000.0000");
    EXPECT_EQ(shown->Item(D::kIdcStopDepth)->Text(), "Stop depth :    1250.5000");
    EXPECT_EQ(shown->Item(D::kIdcDepthStep)->Text(), "Depth step :       0.5000");
    EXPECT_EQ(shown->Item(D::kIdcDepthUnits)->Text(), "Depth units :  [m]");
    EXPECT_EQ(shown->Item(D::kIdcDepthFrames)->Text(), "Depth frames : 502");
}

TEST_F(QtxFileDlgTest, AddMarksTheFoundItemAndSelectedListKeepsListOrder)
{
    const std::string first = "WMNO  512 @ 10.0  [uSec]", second = "WDP1  256 @  2.5  [uSec]";
    host.ScriptDialog(kIddQtxFile)
        .Press(D::kIdcAdd) // nothing picked yet
        .Inspect([](CDialog& d) { EXPECT_EQ(d.Item(D::kIdcSelected)->Count(), 0); })
        .Select(D::kIdcFound, 1)
        .Press(D::kIdcAdd)
        .Inspect([&](CDialog& d) { EXPECT_EQ(Lines(d.Item(D::kIdcSelected)), std::vector<std::string>{second}); })
        .DoubleClick(D::kIdcFound, 1) // already selected: no second line
        .Inspect([&](CDialog& d) { EXPECT_EQ(Lines(d.Item(D::kIdcSelected)), std::vector<std::string>{second}); })
        .DoubleClick(D::kIdcFound, 0)
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(Lines(host.LastDialog(kIddQtxFile)->Item(D::kIdcSelected)), (std::vector<std::string>{first, second}));
    EXPECT_EQ(Lines(host.LastDialog(kIddQtxFile)->Item(D::kIdcFound)).size(), 2u) << "Found keeps every item";
    EXPECT_EQ(D::Selected(dlg.m_timeItems).size(), 2u);
    EXPECT_TRUE(dlg.SelectedItems(D::kTabFrequency).empty()) << "the same waveform's Frequency item is its own";
}

TEST_F(QtxFileDlgTest, RemoveTakesThePositionAmongTheSelectedItems)
{
    datums.push_back(OneAxis("SPXX", 3, 2, 10, 1.0f, 10));
    datums.push_back(OneAxis("SPYY", 3, 2, 20, 1.0f, 11));
    dlg.m_startTab = D::kTabSlowness; // SPNO SPDP SPXX SPYY
    host.ScriptDialog(kIddQtxFile)
        .Press(D::kIdcRemove) // nothing picked: nothing happens
        .DoubleClick(D::kIdcFound, 0)
        .DoubleClick(D::kIdcFound, 2)
        .DoubleClick(D::kIdcFound, 3)
        .Select(D::kIdcSelected, 1) // SPXX, third of the tab's items
        .Press(D::kIdcRemove)
        .Press(D::kIdcRemove) // the refilled list has no pick: nothing more goes
        .Inspect([](CDialog& d) { EXPECT_EQ(Dlg(d).SelectedIndex(), -1); })
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    std::vector<std::string> names;
    for (const CQtxItem* item : dlg.SelectedItems(D::kTabSlowness)) names.push_back(item->m_mnemonic);
    EXPECT_EQ(names, (std::vector<std::string>{"SPNO", "SPYY"}));
    EXPECT_EQ(host.LastDialog(kIddQtxFile)->Item(D::kIdcSelected)->Count(), 2);

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
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.Item(D::kIdcSelected)->Count(), 0);
            EXPECT_EQ(Dlg(d).SelectedIndex(), -1);
        })
        .Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.SelectedItems(D::kTabTime).size(), 2u);
    EXPECT_TRUE(dlg.SelectedItems(D::kTabTraces).empty());
    EXPECT_TRUE(dlg.SelectedItems(D::kTabFrequency).empty());
}

TEST_F(QtxFileDlgTest, WithoutSelectAllOnlySingleItemsMove)
{
    dlg.m_allowSelectAll = 0;
    host.ScriptDialog(kIddQtxFile).DoubleClick(D::kIdcFound, 0).Press(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    const ShownDialog* shown = host.LastDialog(kIddQtxFile);
    EXPECT_FALSE(shown->Item(D::kIdcSelectAll)->Enabled());
    EXPECT_TRUE(shown->Item(D::kIdcAdd)->Enabled());
    EXPECT_EQ(dlg.SelectedItems(D::kTabTime).size(), 1u);
}

TEST_F(QtxFileDlgTest, SwitchingTabsKeepsEachTabsChoiceAndForgetsThePicks)
{
    host.ScriptDialog(kIddQtxFile)
        .DoubleClick(D::kIdcFound, 1)
        .Select(D::kIdcSelected, 0)
        .Select(D::kIdcTab, D::kTabAzimuth - 1)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(Lines(d.Item(D::kIdcFound)), std::vector<std::string>{"AZQD  36 @    5.0  [deg]"});
            EXPECT_EQ(d.Item(D::kIdcSelected)->Count(), 0);
            EXPECT_EQ(Dlg(d).FoundIndex(), -1);
            EXPECT_EQ(Dlg(d).SelectedIndex(), -1);
        })
        .Press(D::kIdcAdd) // the pick was forgotten with the tab change
        .Select(D::kIdcTab, D::kTabTime - 1)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(Lines(d.Item(D::kIdcSelected)), std::vector<std::string>{"WDP1  256 @  2.5  [uSec]"});
        })
        .Select(D::kIdcTab, D::kTabFrequency - 1)
        .Press(IDOK);
    dlg.m_startTab = D::kTabTime;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.SelectedItems(D::kTabAzimuth).empty());
    EXPECT_EQ(dlg.CurrentTab(), D::kTabFrequency);
}

TEST_F(QtxFileDlgTest, EmptyTabsShowEmptyLists)
{
    struct Case {
        const char* what;
        bool noList;
    };
    for (const Case c : {Case{"no category-5 datums", false}, Case{"no datum list", true}}) {
        datums.erase(datums.begin() + 5); // SMNO, then AMNO: neither is a semblance map
        dlg.m_datums = c.noList ? nullptr : &datums;
        dlg.m_startTab = D::kTabSembMap;
        host.ScriptDialog(kIddQtxFile).Press(D::kIdcAdd).Press(D::kIdcSelectAll).Press(IDOK);
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.what;
        const ShownDialog* shown = host.LastDialog(kIddQtxFile);
        EXPECT_EQ(shown->Item(D::kIdcTab)->ItemText(shown->Item(D::kIdcTab)->CurSel()), "Semb Map");
        EXPECT_EQ(shown->Item(D::kIdcFound)->Count(), 0) << c.what;
        EXPECT_EQ(shown->Item(D::kIdcSelected)->Count(), 0) << c.what;
        EXPECT_EQ(dlg.m_timeItems.size(), c.noList ? 0u : 2u) << c.what;
    }
    dlg.ClearItems();
    for (int tab = D::kTabTime; tab <= D::kTabTraces; ++tab) EXPECT_TRUE(dlg.Items(tab).empty());
}

} // namespace
