// The recognisers whose waveforms the user may pick by hand (APX, MAC/XMAC, DAL, FWS),
// on models of logical files, with their dialogs scripted.
#include "RecogniserModel.h"
#include "lis/ApxToolWaveformDlg.h"
#include "lis/DalToolWaveformDlg.h"
#include "lis/FwsSamplePeriodDlg.h"
#include "lis/FwsWavePickDlg.h"
#include "lis/MacXmacPickDlg.h"
#include "lis/PickApxWaveformsDlg.h"
#include "lis/SelectToolDlg.h"
#include "lis/WaveformPropertiesDlg.h"
#include "res/ResourceIds.h"
#include "res/ApxToolWaveformDlgIds.h"
#include "res/DalToolWaveformDlgIds.h"
#include "res/FwsSamplePeriodDlgIds.h"
#include "res/FwsWavePickDlgIds.h"
#include "res/MacXmacPickDlgIds.h"
#include "res/PickApxWaveformsDlgIds.h"
#include "res/WaveformPropertiesDlgIds.h"
#include "support/HostFixture.h"

#include <gtest/gtest.h>

namespace {

using A = CApxToolWaveformDlg;
using P = CPickApxWaveformsDlg;
using X = CMacXmacPickDlg;
using D = CDalToolWaveformDlg;
using F = CFwsWavePickDlg;
using FP = CFwsSamplePeriodDlg;
using W = CWaveformPropertiesDlg;

struct Ch {
    const char* name;
    uint16_t size;
    uint8_t code = 79;
};

void Build(Model& m, const std::vector<std::string>& dictionary, const std::vector<Ch>& channels)
{
    std::vector<std::string> lines = dictionary;
    lines.push_back("END::");
    m.Dictionary(lines);
    m.file.m_fileName = "TOOL.001";
    for (const Ch& c : channels) m.Channel(c.name, c.size, c.code);
}

// Used flags of the scan's channels: "XMW1 G10".
std::string Used(const Model& m)
{
    std::string s;
    for (const CLisChannelItem* c : m.scan.m_channelList) s += (s.empty() ? "" : " ") + c->m_mnemonic + std::to_string(c->m_used);
    return s;
}

std::vector<std::string> ListLines(CDialog& d, int id)
{
    std::vector<std::string> out;
    const ControlState* list = d.Item(id);
    for (int i = 0; i < list->Count(); ++i) out.push_back(Format("%s|%lld", list->ItemText(i).c_str(), (long long)list->ItemData(i)));
    return out;
}

using LisRecognisePickTest = HostTest;

TEST_F(LisRecognisePickTest, EveryToolOfTheSelectionHasARecogniserThatNeedsItsDictionaryEntries)
{
    for (int i = 0; i < CSelectToolDlg::kToolCount; ++i) {
        const int code = CSelectToolDlg::ToolOf(i).code;
        SCOPED_TRACE(CSelectToolDlg::ToolOf(i).name);
        ASSERT_NE(RecogniserFor(code), nullptr);
        Model m;
        Build(m, {"~DEPTH", "DEPT"}, {{"W", 4096}});
        // No entry of the tool: the scan fails, saying so and asking nothing.
        host.ExpectMessage("holds no entry for the tool ");
        EXPECT_EQ(m.Run(code), 0);
        EXPECT_TRUE(m.scan.m_toolEntries.empty());
    }
    EXPECT_TRUE(host.Dialogs().empty());
}

TEST_F(LisRecognisePickTest, ApxDimRowsMakeItemsAndTheToolDialogCompletesWhatTheyLack)
{
    Model m;
    std::vector<Ch> channels;
    for (const char* n : {"APX1", "APX2", "APX3", "APX4", "APX5", "APX6", "APX7", "APX8"}) channels.push_back({n, 1024});
    channels.push_back({"AGN", 16});
    for (const char* n : {"QXW1", "QXW2", "QXW3", "QXW4"}) channels.push_back({n, 512});
    channels.push_back({"ZZW1", 200});
    Build(m, {"~APX", "APXW:AGN:APXW:APXMONO"}, channels);
    m.Dim({{"APXW", "2", "8", ""}, {"APXW", "1", "512", "10.0"}, {"NOPW", "2", "4", ""}, {"QXW", "1", "256", ""},
           {"QXW", "2", "4", ""}, {"MISW", "2", "4", ""}, {"MISW", "1", "9", "9"}, {"ZZW", "2", "0", ""},
           {"ZZW", "1", "100", "5"}});
    host.ScriptDialog(kIddApxToolWaveform)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(A::kIdcPrompt), "Sample Period  is 0.0 - Enter Waveform Sample Period");
            EXPECT_EQ(d.GetItemText(A::kIdcWaveform) + "|" + d.GetItemText(A::kIdcDataSet), "Waveform: QXW|Data Set: TOOL.001");
            EXPECT_EQ(d.GetItemText(A::kIdcReceivers) + " " + d.GetItemText(A::kIdcSamples), "4 256");
            EXPECT_EQ(d.Item(A::kIdcApxMono)->Check() + d.Item(A::kIdcApxQuad)->Check(), 0);
        })
        .Radio(A::kIdcApxQuad)
        .Type(A::kIdcSamplePeriod, "8")
        .Type(A::kIdcFixedDelay, "2041") // no delay beyond the trace
        .Press(IDOK)
        .Type(A::kIdcFixedDelay, "20")
        .Press(IDOK);
    host.ExpectMessage("Please enter an integer between 0 and 2040.");
    host.ScriptDialog(kIddApxToolWaveform)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(A::kIdcPrompt), "Number Receivers is 0 - Enter Number Receivers for Waveform");
        })
        .Press(IDCANCEL);
    ASSERT_EQ(m.Run(lis::kToolApx), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{
                            "Apx|WMNO|APXW - APXMONO|85|1|8/8|512|10.0000|0 APX1@4 APX2@1028 APX3@2052 APX4@3076 APX5@4100 "
                            "APX6@5124 APX7@6148 APX8@7172",
                            "Apx|WQUD|QXW - APXQUAD|86|1|4/4|256|8.0000|20 QXW1@8212 QXW2@8724 QXW3@9236 QXW4@9748"}));
    EXPECT_EQ(Slices(m.Item(0).m_gainChannels), "AGN1@8196/2 AGN2@8198/2 AGN3@8200/2 AGN4@8202/2 AGN5@8204/2 "
                                                "AGN6@8206/2 AGN7@8208/2 AGN8@8210/2");
    // The gain channel stays free (a curve); the cancelled waveform's channel stays taken.
    EXPECT_EQ(m.scan.m_channelList[8]->m_used, 0u);
    EXPECT_EQ(m.scan.m_channelList[13]->m_used, 1u);
}

TEST_F(LisRecognisePickTest, ApxDictionaryEntriesCutTheirChannelAsTheDialogSays)
{
    Model m;
    Build(m, {"~APX", "AW:AG:AWAV:APXMONO", "BW:AG:BWAV:APXQUAD", "CW:AG:CWAV:APXMONO"},
          {{"AW", 4096}, {"AG", 8}, {"BW", 400}});
    host.ScriptDialog(kIddApxToolWaveform)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(A::kIdcWaveform), "Waveform: AW");
            EXPECT_EQ(d.Item(A::kIdcApxMono)->Check(), 1);
        })
        .Type(A::kIdcReceivers, "4")
        .Type(A::kIdcSamples, "512")
        .Type(A::kIdcSamplePeriod, "10")
        .Press(IDOK);
    // One dialog serves every entry: the next one starts from these values.
    host.ScriptDialog(kIddApxToolWaveform)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(A::kIdcReceivers) + " " + d.GetItemText(A::kIdcSamples), "4 512");
            EXPECT_EQ(d.Item(A::kIdcApxQuad)->Check(), 1);
        })
        .Press(IDCANCEL);
    ASSERT_EQ(m.Run(lis::kToolApx), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{"Apx|WMNO|AW - APXMONO|85|1|4/4|512|10.0000|0 AW1@4 AW2@1028 AW3@2052 AW4@3076"}));
    EXPECT_EQ(Slices(m.Item(0).m_waveChannels).substr(0, 20), "AW1@4/1024 AW2@1028/");
    EXPECT_EQ(Slices(m.Item(0).m_gainChannels), "AG1@4100/2 AG2@4102/2 AG3@4104/2 AG4@4106/2");
    EXPECT_EQ(Used(m), "AW1 AG0 BW1");
}

TEST_F(LisRecognisePickTest, ApxPickDialogChecksEachTransferAndRemovalGivesTheChannelsBack)
{
    Model m;
    std::vector<Ch> channels = {{"PW", 8192, 68}, {"PG", 16, 68}};
    for (const char* n : {"I1", "I2", "I3", "I4", "I5", "I6", "I7", "I8"}) channels.push_back({n, 200});
    Build(m, {"~APX", "NONE:AG:NWAV:APXMONO"}, channels);
    DialogScript& s = host.ScriptDialog(kIddPickApxWaveforms);
    s.Inspect([](CDialog& d) {
         const auto lines = ListLines(d, P::kIdcDatumList);
         ASSERT_EQ(lines.size(), 10u);
         EXPECT_EQ(lines[0] + " " + lines[1] + " " + lines[9], "PW US  - 2048 Samples|1 PG US  - 4 Samples|2 I8 US  - 100 Samples|10");
     })
        .Press(P::kIdcTransfer)
        .Select(P::kIdcDatumList, 0)
        .Press(P::kIdcAddWave)
        .Press(P::kIdcTransfer)
        .Type(P::kIdcSamplePeriod, "10")
        .Press(P::kIdcTransfer)
        .Type(P::kIdcReceivers, "4")
        .Press(P::kIdcTransfer)
        .Radio(P::kIdcWqud)
        .Press(P::kIdcTransfer) // "Yes": a gain is picked first
        .Select(P::kIdcDatumList, 1)
        .Press(P::kIdcSetGain)
        .Press(P::kIdcTransfer);
    for (int k = 2; k < 10; ++k) s.Select(P::kIdcDatumList, k).Press(P::kIdcAddWave);
    s.Select(P::kIdcDatumList, 2)
        .Press(P::kIdcAddWave)
        .DoubleClick(P::kIdcWaveDatums, 8) // the ninth datum goes again
        .Select(P::kIdcDatumList, 1)
        .Press(P::kIdcSetGain)
        .Type(P::kIdcReceivers, "8")
        .Type(P::kIdcSamplePeriod, "5")
        .Radio(P::kIdcWmno)
        .Press(P::kIdcTransfer)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, P::kIdcWaveList), (std::vector<std::string>{"PW - WQUD  APXQUAD 4 Rcvr, 512 @ 10.0  |43605",
                                                                               "I - WMNO  APXMONO 8 Rcvr, 100 @  5.0  |43606"}));
            EXPECT_EQ(d.Item(P::kIdcWaveDatums)->Count() + int(d.GetItemText(P::kIdcGain).size()), 0);
        })
        .Select(P::kIdcWaveList, 0)
        .Press(P::kIdcClearWave)
        .Press(IDOK);
    host.ExpectMessage("Please pick a Wave name from the Datum List     ");
    host.ExpectMessage("Please Enter a Sample Perod     ");
    host.ExpectMessage("Please Enter a Number of Receivers     ");
    host.ExpectMessage("Please Select a Waveform Mnemonic     ");
    host.ExpectMessage("Does this Waveform need a Gain Datum?     ", IDYES);
    ASSERT_EQ(m.Run(lis::kToolApx), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{"Apx|WMNO|I1 - APXMONO|85|1|8/8|100|5.0000|0 I1@8212 I2@8412 I3@8612 "
                                                  "I4@8812 I5@9012 I6@9212 I7@9412 I8@9612"}));
    // Eight receivers, but the gain channel holds four values: no gain reaches past it.
    EXPECT_EQ(Slices(m.Item(0).m_gainChannels), "GN1@8196/4 GN2@8200/4 GN3@8204/4 GN4@8208/4");
    EXPECT_EQ(Used(m), "PW0 PG0 I11 I21 I31 I41 I51 I61 I71 I81");
}

TEST_F(LisRecognisePickTest, PickDialogsSliceOneDatumPerReceiverAndCancelChangesNothing)
{
    // One code-68 datum of 8192 bytes over 4 receivers: 512 samples each.
    Model m;
    Build(m, {"~APX", "NONE:AG:NWAV:APXMONO"}, {{"PW", 8192, 68}, {"GR", 4, 68}});
    host.ScriptDialog(kIddPickApxWaveforms)
        .Select(P::kIdcDatumList, 0)
        .Press(P::kIdcAddWave)
        .Type(P::kIdcReceivers, "4")
        .Type(P::kIdcSamplePeriod, "10")
        .Radio(P::kIdcWmno)
        .Press(P::kIdcTransfer)
        .Press(IDOK);
    host.ExpectMessage("Does this Waveform need a Gain Datum?     ", IDNO);
    ASSERT_EQ(m.Run(lis::kToolApx), 1);
    EXPECT_EQ(Slices(m.Item(0).m_waveChannels), "PW1@4/2048 PW2@2052/2048 PW3@4100/2048 PW4@6148/2048");
    EXPECT_EQ(m.Item(0).m_samplesPerWaveform, 512);

    Model cancelled;
    Build(cancelled, {"~APX", "NONE:AG:NWAV:APXMONO"}, {{"PW", 8192, 68}, {"GR", 4, 68}});
    host.ScriptDialog(kIddPickApxWaveforms)
        .Select(P::kIdcDatumList, 0)
        .Press(P::kIdcAddWave)
        .Select(P::kIdcDatumList, 1)
        .Press(P::kIdcSetGain)
        .Type(P::kIdcReceivers, "4")
        .Type(P::kIdcSamplePeriod, "10")
        .Radio(P::kIdcWmno)
        .Press(P::kIdcTransfer)
        .Press(IDCANCEL);
    ASSERT_EQ(cancelled.Run(lis::kToolApx), 1);
    EXPECT_TRUE(cancelled.file.m_items.empty());
    EXPECT_EQ(Used(cancelled), "PW0 GR0"); // both become curves

    // The wave-datum removal: the only entry, else the selected one, else nothing.
    const struct {
        int entries, selected, left;
    } removals[] = {{1, -1, 0}, {2, -1, 2}, {3, 1, 2}};
    for (const auto& r : removals) {
        ControlState list(ControlTemplate{1, ControlKind::ListBox, "", 0, 0});
        for (int i = 0; i < r.entries; ++i) list.AddString(std::to_string(i));
        list.SetCurSel(r.selected);
        CWavePickDlg::RemoveWaveDatum(list);
        EXPECT_EQ(list.Count(), r.left) << r.entries;
    }
}

// The datum list counts samples by each code's element size; a waveform cut from a
// code-49 datum gets its samples per receiver by the same size.
TEST_F(LisRecognisePickTest, PickDialogsCountSamplesByTheElementSizeOfEachCode)
{
    Model m;
    Build(m, {"~APX", "NONE:AG:NWAV:APXMONO"}, {{"F16", 400, 49}, {"F32L", 400, 50}, {"FIX", 400, 70}, {"B", 400, 66}});
    host.ScriptDialog(kIddPickApxWaveforms)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, P::kIdcDatumList),
                      (std::vector<std::string>{"F16 US  - 200 Samples|1", "F32L US  - 100 Samples|2",
                                                "FIX US  - 100 Samples|3", "B US  - 400 Samples|4"}));
        })
        .Select(P::kIdcDatumList, 0)
        .Press(P::kIdcAddWave)
        .Type(P::kIdcReceivers, "4")
        .Type(P::kIdcSamplePeriod, "10")
        .Radio(P::kIdcWmno)
        .Press(P::kIdcTransfer)
        .Press(IDOK);
    host.ExpectMessage("Does this Waveform need a Gain Datum?     ", IDNO);
    ASSERT_EQ(m.Run(lis::kToolApx), 1);
    EXPECT_EQ(Slices(m.Item(0).m_waveChannels), "F161@4/100 F162@104/100 F163@204/100 F164@304/100");
    EXPECT_EQ(m.Item(0).m_samplesPerWaveform, 50);
}

TEST_F(LisRecognisePickTest, MacXmacDimRowsMakeWaveformsWithGainsAndStartTimes)
{
    Model m;
    Build(m,
          {"~MAC/XMAC", "XMW:G1:S1:MWAV:XMACMONO", "XDW:G2:S2:DWAV:XMACDXX", "NOW:G3:S3:NWAV:XMACDYY",
           "YYWV:G4:S4:Y1:XMACDXY", "YYWV:G5:S5:Y2:XMACDYX"},
          {{"XMW", 400}, {"G1", 4}, {"S1", 8, 68}, {"XDW1", 200}, {"XDW3", 200}, {"YYWV", 256}});
    m.Dim({{"XMW", "1", "100", "10"}, {"XMW", "2", "2", ""}, {"G1", "", "", ""}, {"S1", "", "", ""},
           {"XDW", "2", "4", ""}, {"XDW", "1", "50", "8"}, {"S2", "", "", ""}, {"YYWV", "1", "64", "20"},
           {"YYWV", "2", "2", ""}, {"G5", "", "", ""}});
    for (int tool : {lis::kToolXmac, lis::kToolMac}) {
        Model& run = m;
        if (tool == lis::kToolMac) {
            // Both codes alike: run again on a fresh copy of the rows' used flags.
            for (auto& table : run.file.m_tables)
                for (auto& row : table->m_dimRows) row.m_used = 0;
            for (CLisChannelItem* c : run.scan.m_channelList) c->m_used = 0;
            run.file.m_items.clear();
        }
        ASSERT_EQ(run.Run(tool), 1);
        EXPECT_EQ(Items(run), (std::vector<std::string>{
                                  "Xmac|WMNO|MWAV - XMACMONO|6|1|2/2|100|10.0000|0 XMW1@4 XMW2@204 +2 start times",
                                  // Receivers 2 and 4 have no channel of their own: the count stays 4.
                                  "Xmac|WDXX|DWAV - XMACDXX|7|1|4/4|50|8.0000|0 XDW1@416 XDW3@616",
                                  // The first YYWV entry has no gain or start row: the second takes its rows.
                                  "Xmac|WDYX|Y2 - XMACDYX|9|1|2/2|64|20.0000|0 YYW1@816 YYW2@944"}));
        EXPECT_EQ(Slices(run.Item(0).m_gainChannels) + " " + Slices(run.Item(0).m_startTimeChannels),
                  "G11@404/2 G12@406/2 S11@408/4 S12@412/4");
        EXPECT_EQ(Used(run), "XMW1 G10 S10 XDW11 XDW31 YYWV1");
    }
}

TEST_F(LisRecognisePickTest, MacXmacAsksForWhatItsRowsLackAndRefusesAPeriodOfZero)
{
    const struct {
        const char* incr;
        int answers; // dialogs answered: 1 OK without a period, 2 OK with one; 0 Cancel
        const char* item;
    } cases[] = {
        {"0", 2, "Xmac|WMNO|MWAV - XMACMONO|6|1|2/2|100|12.5000|0 XMW1@4 XMW2@204"},
        {"-3", 2, "Xmac|WMNO|MWAV - XMACMONO|6|1|2/2|100|12.5000|0 XMW1@4 XMW2@204"},
        {"x", 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.incr);
        Model m;
        Build(m, {"~MAC/XMAC", "XMW:G1:S1:MWAV:XMACMONO"}, {{"XMW", 400}});
        m.Dim({{"XMW", "1", "100", c.incr}, {"XMW", "2", "2", ""}, {"G1", "", "", ""}});
        if (c.answers == 0) {
            host.ScriptDialog(kIddWaveformProperties).Press(IDCANCEL);
        } else {
            host.ScriptDialog(kIddWaveformProperties)
                .Inspect([](CDialog& d) {
                    EXPECT_EQ(d.GetItemText(W::kIdcToolType), "Tool Type: MAC/XMAC Waveform missing information");
                    EXPECT_EQ(d.GetItemText(W::kIdcWaveName) + "|" + d.GetItemText(W::kIdcDataSet),
                              "Wave Name: XMW|Data Set: TOOL.001");
                    EXPECT_EQ(d.GetItemText(W::kIdcSamplePeriod), "0");
                })
                .Press(IDOK);
            host.ScriptDialog(kIddWaveformProperties).Type(W::kIdcSamplePeriod, "12.5").Press(IDOK);
        }
        ASSERT_EQ(m.Run(lis::kToolXmac), 1);
        EXPECT_EQ(Items(m), c.item ? std::vector<std::string>{c.item} : std::vector<std::string>{});
        EXPECT_EQ(Used(m), "XMW1");
    }
}

TEST_F(LisRecognisePickTest, MacXmacIncompleteRowsLeaveTheRestToThePickDialogAndOnlyItsPicksAreSearched)
{
    Model m;
    Build(m, {"~MAC/XMAC", "XMW:G1:S1:MWAV:XMACMONO", "HALF:G2:S2:HWAV:XMACDXX", "LATE:G3:S3:LWAV:XMACDYY"},
          {{"XMW", 400}, {"S1", 8, 68}, {"HALF", 600}, {"LATE", 600}, {"GR", 4}});
    m.Dim({{"XMW", "1", "100", "10"}, {"XMW", "2", "2", ""}, {"S1", "", "", ""}, {"HALF", "1", "100", "10"},
           {"LATE", "1", "100", "10"}, {"LATE", "2", "2", ""}, {"S3", "", "", ""}});
    m.file.m_depths.resize(3);
    host.ScriptDialog(kIddMacXmacPick)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, X::kIdcDatumList), (std::vector<std::string>{"S1 US  - 2 Samples|2", "HALF US  - 300 Samples|3",
                                                                               "LATE US  - 300 Samples|4", "GR US  - 2 Samples|5"}));
            EXPECT_EQ(d.GetItemText(X::kIdcDataSet), "Data Set: TOOL.001");
        })
        .Press(IDOK);
    // Had the search run, Cancel would have asked whether to stop it.
    host.ScriptDialog(kIddProgress).Press(IDCANCEL);
    ASSERT_EQ(m.Run(lis::kToolXmac), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{"Xmac|WMNO|MWAV - XMACMONO|6|1|2/2|100|10.0000|0 XMW1@4 XMW2@204 +2 start times"}));
    EXPECT_EQ(Used(m), "XMW1 S10 HALF0 LATE0 GR0");
    EXPECT_EQ(host.LastDialog(kIddProgress)->Item(kIdcProgressStatus)->Text(), "Scanning File for Start Delay");
}

TEST_F(LisRecognisePickTest, MacXmacStartDelaySearchStopsOnlyWhenTheUserConfirms)
{
    for (int answer : {IDNO, IDYES}) {
        Model m;
        Build(m, {"~MAC/XMAC", "XMW:G1:S1:MWAV:XMACMONO"}, {{"XMW", 400}, {"S1", 8, 68}});
        m.Dim({{"XMW", "1", "100", "10"}, {"XMW", "2", "2", ""}, {"S1", "", "", ""}});
        m.file.m_depths.resize(3);
        host.ScriptDialog(kIddProgress).Press(IDCANCEL);
        host.ExpectMessage("Are you sure you want to stop scanning?", answer);
        EXPECT_EQ(m.Run(lis::kToolMac), answer == IDYES ? 0 : 1);
        EXPECT_EQ(m.file.m_items.size(), 1u) << "what was built stays";
        EXPECT_TRUE(m.scan.m_toolEntries.empty());
    }
}

TEST_F(LisRecognisePickTest, MacXmacPickDialogBuildsWaveformsAndGivesChannelsBackWhenOneIsCleared)
{
    Model m;
    Build(m, {"~MAC/XMAC", "NONE:G:S:NWAV:XMACMONO"},
          {{"XP", 16384, 68}, {"GX", 32, 68}, {"SX", 16, 68}, {"I1", 300}, {"I2", 300}});
    host.ScriptDialog(kIddMacXmacPick)
        .Select(X::kIdcDatumList, 0)
        .Press(X::kIdcAddWave)
        .Select(X::kIdcDatumList, 1)
        .Press(X::kIdcSetGain)
        .Select(X::kIdcDatumList, 2)
        .Press(X::kIdcSetStart)
        .Type(X::kIdcReceivers, "8")
        .Type(X::kIdcSamplePeriod, "10")
        .Radio(X::kIdcWdyy)
        .Press(X::kIdcTransfer)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, X::kIdcWaveList), (std::vector<std::string>{"XP - WDYY  XMACDYY 8 Rcvr, 512 @ 10.0  |43605"}));
            EXPECT_EQ(d.GetItemText(X::kIdcGain) + d.GetItemText(X::kIdcStart), "");
            // One datum of 8 receivers x 512 code-68 samples: 8 traces of 2048 bytes.
            const CWaveformPickItem& it = *static_cast<X&>(d).m_picked.at(0);
            EXPECT_EQ(it.m_waveChannels.size(), 8u);
            EXPECT_EQ(Slices(it.m_waveChannels).substr(0, 31), "XP1@4/2048 XP2@2052/2048 XP3@41");
            EXPECT_EQ(Slices(it.m_gainChannels), "GN1@16388/4 GN2@16392/4 GN3@16396/4 GN4@16400/4 GN5@16404/4 "
                                                 "GN6@16408/4 GN7@16412/4 GN8@16416/4");
            // The start-time channel holds four values: the other receivers get none past it.
            EXPECT_EQ(Slices(it.m_startTimeChannels), "ST1@16420/4 ST2@16424/4 ST3@16428/4 ST4@16432/4");
        })
        .Select(X::kIdcDatumList, 3)
        .Press(X::kIdcAddWave)
        .Select(X::kIdcDatumList, 4)
        .Press(X::kIdcAddWave)
        .Type(X::kIdcReceivers, "2")
        .Type(X::kIdcSamplePeriod, "5")
        .Radio(X::kIdcWmno)
        .Press(X::kIdcTransfer)
        .Select(X::kIdcWaveList, 0)
        .Press(X::kIdcClearWave)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, X::kIdcWaveList), (std::vector<std::string>{"I - WMNO  XMACMONO 2 Rcvr, 150 @  5.0  |43606"}));
            // The cleared waveform's channels are free again, those of the other are not.
            EXPECT_EQ(ListLines(d, X::kIdcDatumList), (std::vector<std::string>{"XP US  - 4096 Samples|1", "GX US  - 8 Samples|2",
                                                                               "SX US  - 4 Samples|3"}));
        })
        .Press(IDOK);
    host.ExpectMessage("Does this Waveform need a Gain Datum?     ", IDNO);
    host.ExpectMessage("Does this Waveform need a Start Datum?     ", IDNO);
    ASSERT_EQ(m.Run(lis::kToolXmac), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{"Xmac|WMNO|I1 - XMACMONO|6|1|2/2|150|5.0000|0 I1@16436 I2@16736"}));
    EXPECT_TRUE(m.Item(0).m_gainChannels.empty() && m.Item(0).m_startTimeChannels.empty());
    EXPECT_EQ(Used(m), "XP0 GX0 SX0 I11 I21");
}

TEST_F(LisRecognisePickTest, DalDimRowsMakeTheirWaveformsAndAChannelNoEntryNamesIsPicked)
{
    Model m;
    Build(m, {"~DAL", "DW:DG:DS:DWAV:DALNEAR"},
          {{"DW1", 100}, {"DW2", 100}, {"DW3", 100}, {"DW4", 100}, {"DG", 4}, {"DS", 16, 68}, {"OT1", 200}});
    m.Dim({{"DW", "2", "4", ""}, {"DW", "1", "50", "8"}, {"OTHER", "2", "4", ""}, {"OTHER", "1", "50", "8"}});
    host.ScriptDialog(kIddDalToolWaveform)
        .Inspect([](CDialog& d) { EXPECT_EQ(ListLines(d, D::kIdcDatumList).back(), "OT1 US  - 100 Samples|6"); })
        .Press(IDOK);
    ASSERT_EQ(m.Run(lis::kToolDal), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{
                            "DAL|WMNO|DWAV - DALNEAR|111|1|4/4|50|8.0000|0 DW1@4 DW2@104 DW3@204 DW4@304 +4 start times"}));
    // Two gain values for four receivers: none past the channel.
    EXPECT_EQ(Slices(m.Item(0).m_gainChannels), "DG1@404/2 DG2@406/2");
    EXPECT_EQ(Slices(m.Item(0).m_startTimeChannels), "DS1@408/4 DS2@412/4 DS3@416/4 DS4@420/4");
    EXPECT_EQ(Used(m), "DW11 DW21 DW31 DW41 DG0 DS0 OT10");
}

TEST_F(LisRecognisePickTest, DalToolWaveformDialogChecksEachTransferAndTakesFourDatums)
{
    Model m;
    Build(m, {"~DAL", "NONE:G:S:NWAV:DALNEAR"},
          {{"D1", 2048, 68}, {"D2", 2048, 68}, {"D3", 2048, 68}, {"D4", 2048, 68}, {"DG", 8, 68}, {"DS", 16, 68}});
    DialogScript& s = host.ScriptDialog(kIddDalToolWaveform);
    s.Press(D::kIdcTransfer);
    for (int r = 0; r < 4; ++r) s.Select(D::kIdcDatumList, r).Press(dal_tool_waveform::kSetWaves[r]).Press(D::kIdcTransfer);
    s.Type(D::kIdcSamplePeriod, "8")
        .Press(D::kIdcTransfer)
        .Type(D::kIdcReceivers, "4")
        .Press(D::kIdcTransfer)
        .Radio(D::kIdcFar)
        .Select(D::kIdcDatumList, 4)
        .Press(D::kIdcSetGain)
        .Select(D::kIdcDatumList, 5)
        .Press(D::kIdcSetStart)
        .Press(D::kIdcTransfer)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, D::kIdcWaveList), (std::vector<std::string>{"D - WMNO  DALFAR 4 Rcvr, 512 @  8.0  |0"}));
            EXPECT_EQ(d.GetItemText(D::kIdcWave1) + d.GetItemText(D::kIdcGain) + d.GetItemText(D::kIdcStart), "");
        })
        .Select(D::kIdcDatumList, 4)
        .Press(D::kIdcSetWave1)
        .Press(D::kIdcClearWave1)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(D::kIdcWave1), ""); })
        .Press(IDOK);
    for (int r = 1; r <= 4; ++r) host.ExpectMessage(Format("Please pick a Wave%d name from the Datum List     ", r));
    host.ExpectMessage("Please Enter a Sample Perod     ");
    host.ExpectMessage("Please Enter a Number of Receivers     ");
    host.ExpectMessage("Please Select a Transmitter     ");
    ASSERT_EQ(m.Run(lis::kToolDal), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{
                            "DAL|WMNO|D1 - DALFAR|112|1|4/4|512|8.0000|0 D1@4 D2@2052 D3@4100 D4@6148 +4 start times"}));
    EXPECT_EQ(Slices(m.Item(0).m_gainChannels), "GN1@8196/4 GN2@8200/4");
    EXPECT_EQ(Slices(m.Item(0).m_startTimeChannels), "ST1@8204/4 ST2@8208/4 ST3@8212/4 ST4@8216/4");
}

TEST_F(LisRecognisePickTest, FwsEntriesTakePackedAndIndividualDatumsAndAskEachPeriod)
{
    Model m;
    Build(m, {"~FWS", "FP:FWSMONO", "W1:W2:W3:W4:G1:G2:G3:G4:FWAV:FWSMONO", "SM:SEMBDXX", "SHRT:FWSMONO"},
          {{"FP", 8192, 68}, {"W1", 400}, {"G1", 2}, {"W2", 400}, {"G2", 2}, {"W3", 400}, {"W4", 400}, {"G4", 2},
           {"SM", 400, 68}, {"SHRT", 128}});
    host.ScriptDialog(kIddFwsSamplePeriod)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(FP::kIdcWaveName) + "|" + d.GetItemText(FP::kIdcReceivers) + "|"
                          + d.GetItemText(FP::kIdcSamples),
                      "Wave Name: FP|Nuumber Receivers: 4|Number Samples: 512");
            EXPECT_EQ(d.Item(FP::kIdc4us)->Check(), 1);
        })
        .Radio(FP::kIdcOther)
        .Type(FP::kIdcOtherPeriod, "0")
        .Press(IDOK)
        .Type(FP::kIdcOtherPeriod, "12")
        .Press(IDOK);
    host.ExpectMessage("Please enter an integer between 1 and 256.");
    host.ScriptDialog(kIddFwsSamplePeriod).Press(IDOK);
    host.ScriptDialog(kIddFwsSamplePeriod).Press(IDCANCEL);
    ASSERT_EQ(m.Run(lis::kToolFws), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{
                            "Fws|WMNO|FP - FWSMONO|219|1|4/4|512|12.0000|0 FP1@4 FP2@2052 FP3@4100 FP4@6148",
                            "Fws|WMNO|FWAV - FWSMONO|219|1|4/4|200|4.0000|0 W1@8196 W2@8598 W3@9000 W4@9400"}));
    EXPECT_EQ(Slices(m.Item(0).m_waveChannels).substr(0, 22), "FP1@4/2048 FP2@2052/20");
    EXPECT_EQ(Slices(m.Item(1).m_gainChannels), "G1@8596/2 G2@8998/2 G4@9800/2");
    // The semblance was cancelled; a channel of 128 bytes is no waveform.
    EXPECT_EQ(Used(m), "FP1 W11 G10 W21 G20 W31 W41 G40 SM1 SHRT0");

    Model semblance;
    Build(semblance, {"~FWS", "SM:SEMBDXX"}, {{"SM", 400, 68}});
    host.ScriptDialog(kIddFwsSamplePeriod).Press(IDOK);
    ASSERT_EQ(semblance.Run(lis::kToolFws), 1);
    EXPECT_EQ(Items(semblance), (std::vector<std::string>{"Wavesonic|SDXX|SM - SEMBDXX|32|3|1/1|100|4.0000|0 SM@4"}));
}

TEST_F(LisRecognisePickTest, FwsWavePickRefusesIncompleteRowsAndBuildsPackedAndIndividualWaveforms)
{
    Model m;
    Build(m, {"~FWS", "NONE:FWSMONO"},
          {{"P", 8192, 68}, {"I1", 400}, {"I2", 400}, {"I3", 400}, {"I4", 400}, {"IG1", 2}, {"IG2", 2}});
    using fws_pick::kSetGains;
    using fws_pick::kSetWaves;
    DialogScript& s = host.ScriptDialog(kIddFwsWavePick);
    s.Inspect([](CDialog& d) {
         EXPECT_EQ(d.Item(F::kIdcPacked)->Check(), 1);
         EXPECT_TRUE(d.IsItemEnabled(F::kIdcWave1));
         EXPECT_FALSE(d.IsItemEnabled(F::kIdcWave2) || d.IsItemEnabled(F::kIdcSetGain4) || d.IsItemEnabled(F::kIdcClearRow3));
     })
        .Press(F::kIdcTransfer)
        .Select(F::kIdcDatumList, 0)
        .Press(kSetWaves[0])
        .Press(F::kIdcTransfer)
        .Radio(F::kIdcOther) // no complaint before a period is typed
        .Press(F::kIdcTransfer)
        .Type(F::kIdcOtherPeriod, "12")
        .Press(F::kIdcTransfer)
        .Radio(F::kIdcIndividual)
        .Inspect([](CDialog& d) { EXPECT_TRUE(d.IsItemEnabled(F::kIdcWave2) && d.IsItemEnabled(F::kIdcClearRow4)); });
    for (int r = 0; r < 3; ++r) s.Select(F::kIdcDatumList, r + 1).Press(kSetWaves[r]);
    s.Press(F::kIdcTransfer)
        .Select(F::kIdcDatumList, 4)
        .Press(kSetWaves[3])
        .Select(F::kIdcDatumList, 5)
        .Press(kSetGains[0])
        .Select(F::kIdcDatumList, 6)
        .Press(kSetGains[1])
        .Press(F::kIdcTransfer)
        .Press(F::kIdcClearRow1)
        .Press(F::kIdcClearRow2)
        .Select(F::kIdcDatumList, 1)
        .Press(kSetWaves[0])
        .Select(F::kIdcDatumList, 2)
        .Press(kSetWaves[1])
        .Radio(F::kIdc8us)
        .Press(F::kIdcTransfer)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(ListLines(d, F::kIdcWaveList), (std::vector<std::string>{"P - WMNO  FWSMONO 4 Rcvr, 512 @ 12.0  |0",
                                                                               "I - WMNO  FWSMONO 4 Rcvr, 200 @  8.0  |1"}));
            EXPECT_EQ(d.GetItemText(F::kIdcWave4), "");
        })
        .DoubleClick(F::kIdcWaveList, 0)
        .Press(IDOK);
    host.ExpectMessage("Please pick a Wave name from the Datum List     ");
    host.ExpectMessage("Please select a Sample Period");
    host.ExpectMessage("Please enter an integer between 1 and 256.");
    host.ExpectMessage("Please pick a Wave name from the Datum List - 4 Required");
    host.ExpectMessage("There should be either 0 or 4 Gain mnemonics");
    ASSERT_EQ(m.Run(lis::kToolFws), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{"Fws|WMNO|I1 - FWSMONO|219|1|4/4|200|8.0000|0 I1@8196 I2@8596 I3@8996 I4@9396"}));
    EXPECT_EQ(Used(m), "P0 I11 I21 I31 I41 IG10 IG20");
}

} // namespace
