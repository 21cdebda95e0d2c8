// The recognisers that ask the user (DSI when a file lacks a value, LSS for every
// sample period) and the BAT recogniser, with their dialogs scripted.
#include "RecogniserModel.h"
#include "lis/LssSamplePeriodDlg.h"
#include "lis/WaveformPropertiesDlg.h"
#include "res/LssSamplePeriodDlgIds.h"
#include "res/WaveformPropertiesDlgIds.h"
#include "support/HostFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using W = CWaveformPropertiesDlg;
using L = CLssSamplePeriodDlg;

struct Ch {
    const char* name;
    uint16_t size;
    uint8_t code = 79;
};

// Builds the model of a logical file "TOOL.001" of one tool.
void Build(Model& m, const std::vector<std::string>& dictionary, const Rows& cons, const std::vector<Ch>& channels)
{
    std::vector<std::string> lines = dictionary;
    lines.push_back("END::");
    m.Dictionary(lines);
    m.file.m_fileName = "TOOL.001";
    if (!cons.empty()) m.Table("CONS", cons);
    for (const Ch& c : channels) m.Channel(c.name, c.size, c.code);
}

using LisRecogniseAskTest = HostTest;

const std::string kPlain = "DX:GN:NRM:NS:PER:NR:DIP:";

TEST_F(LisRecogniseAskTest, DsiAsksForWhatItsParametersLackAndSlicesWithinTheChannel)
{
    const struct {
        const char* name;
        std::string entry;
        Rows cons;
        std::vector<Ch> channels;
        std::function<void(DialogScript&)> dialog; // nullptr: no dialog expected
        std::vector<std::string> items;
    } cases[] = {
        // Without parameters: 8 receivers, samples and period asked; samples follow from the channel.
        {"no CONS", kPlain + "DSIDXX", {}, {{"DX", 4096}},
         [](DialogScript& s) {
             s.Inspect([](CDialog& d) {
                  EXPECT_EQ(d.GetItemText(W::kIdcToolType), "Tool Type: DSI Waveform missing information");
                  EXPECT_EQ(d.GetItemText(W::kIdcWaveName), "Wave Name: DIP - DSIDXX");
                  EXPECT_EQ(d.GetItemText(W::kIdcDataSet), "Data Set: TOOL.001");
                  EXPECT_EQ(d.GetItemText(W::kIdcReceivers) + "|" + d.GetItemText(W::kIdcSamples) + "|"
                                + d.GetItemText(W::kIdcSamplePeriod),
                            "8|0|0");
              }).Type(W::kIdcSamplePeriod, "10").Press(IDOK);
         },
         {"Dsi|WDXX|DIP - DSIDXX|2|1|8/8|256|10.0000|0 DXX1@4 DXX2@516 DXX3@1028 DXX4@1540 DXX5@2052 DXX6@2564 "
          "DXX7@3076 DXX8@3588"}},
        {"CONS", kPlain + "DSIMONO", {{"NS", "256"}, {"PER", "10"}, {"NR", "8"}}, {{"DX", 4096}}, nullptr,
         {"Dsi|WMNO|DIP - DSIMONO|1|1|8/8|256|10.0000|0 MNO1@4 MNO2@516 MNO3@1028 MNO4@1540 MNO5@2052 MNO6@2564 "
          "MNO7@3076 MNO8@3588"}},
        // The delay parameter is the semblance's alone; the runners and offset come from the dialog.
        {"runners", kPlain + "DSIDYY", {{"NS", "1024"}, {"PER", "0"}, {"NR", "2"}, {"DLY", "100"}}, {{"DX", 4096}},
         [](DialogScript& s) {
             s.Type(W::kIdcSamplePeriod, "20").Type(W::kIdcFixedDelay, "-5").Type(W::kIdcForeRunner, "3")
                 .Type(W::kIdcAfterRunner, "4").Type(W::kIdcDataOffset, "8192").Press(IDOK);
         },
         {"Dsi|WDYY|DIP - DSIDYY|5|1|2/2|1024|20.0000|-5 DYY1@4 DYY2@2052"}},
        // Cancel keeps what was shown: no receivers, so nothing to divide the channel among.
        {"no receivers", kPlain + "DSIDXX", {{"NR", "-3"}, {"PER", "10"}}, {{"DX", 4096}},
         [](DialogScript& s) { s.Press(IDCANCEL); }, {"Dsi|WDXX|DIP - DSIDXX|2|1|0/0|0|10.0000|0"}},
        // Receivers the channel cannot hold get no slice.
        {"too many receivers", kPlain + "DSIDXX", {{"NS", "100"}, {"PER", "10"}, {"NR", "1000"}}, {{"DX", 1000}}, nullptr,
         {"Dsi|WDXX|DIP - DSIDXX|2|1|1000/1000|100|10.0000|0 DXX1@4 DXX2@204 DXX3@404 DXX4@604 DXX5@804"}},
        {"unknown label", kPlain + "DSIFOO", {{"NS", "500"}, {"PER", "5"}, {"NR", "2"}}, {{"DX", 2000}}, nullptr,
         {"Dsi|UNKN|DIP - DSIFOO|0|1|2/2|500|5.0000|0 R1@4 R2@1004"}},
        {"short channel", kPlain + "DSIDXX", {}, {{"DX", 128}}, nullptr, {}},
        // Semblance: one trace, no dialog; a delay without a period has no length in samples.
        {"semblance", "SM:PER:DLY:SP:SEMBDXY", {{"PER", "20"}, {"DLY", "100"}}, {{"SM", 400, 68}}, nullptr,
         {"Dsi|SDXY|SP - SEMBDXY|34|3|1/1|100|20.0000|5 SM@4"}},
        {"semblance without period", "SM:PER:DLY:SP:SEMBMONO", {{"DLY", "100"}}, {{"SM", 400, 68}}, nullptr,
         {"Dsi|SMNO|SP - SEMBMONO|31|3|1/1|100|0.0000|0 SM@4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Model m;
        Build(m, {"~DSI", c.entry}, c.cons, c.channels);
        if (c.dialog) c.dialog(host.ScriptDialog(kIddWaveformProperties));
        const size_t shown = host.Dialogs().size();
        ASSERT_EQ(m.Run(lis::kToolDsi), 1);
        EXPECT_EQ(host.Dialogs().size() - shown, c.dialog ? 1u : 0u);
        EXPECT_EQ(Items(m), c.items);
        if (std::string(c.name) == "runners") {
            const CWaveformPickItem& it = m.Item(0);
            EXPECT_EQ(Format("%d %d %.1f", it.m_foreRunner, it.m_afterRunner, double(it.m_dataOffset)), "3 4 8192.0");
        }
    }
}

TEST_F(LisRecogniseAskTest, DsiExpandedDipoleCutsOneChannelIntoFourComponentsWithTheirGainsAndNormalisations)
{
    Model m;
    Build(m, {"~DSI", kPlain + "DSIDEXP"}, {{"NS", "64"}, {"PER", "20"}, {"NR", "32"}},
          {{"DX", 4096}, {"GN", 128, 68}, {"NRM", 64}});
    ASSERT_EQ(m.Run(lis::kToolDsi), 1);
    ASSERT_EQ(m.file.m_items.size(), 4u);
    const char* const summaries[] = {"Dsi|WDXX|DIP - DSIDXX|2|1|8/8|64|20.0000|0", "Dsi|WDXY|DIP - DSIDXY|3|1|8/8|64|20.0000|0",
                                     "Dsi|WDYY|DIP - DSIDYY|5|1|8/8|64|20.0000|0", "Dsi|WDYX|DIP - DSIDYX|4|1|8/8|64|20.0000|0"};
    for (size_t k = 0; k < 4; ++k) {
        const CWaveformPickItem& it = m.Item(k);
        EXPECT_EQ(Summary(it), summaries[k]);
        // Component k's block of each channel: 8 receivers of 128 data bytes, 4 gain bytes, 2 normalisation bytes.
        ASSERT_EQ(it.m_waveChannels.size(), 8u);
        ASSERT_EQ(it.m_gainChannels.size(), 8u);
        ASSERT_EQ(it.m_startTimeChannels.size(), 8u);
        EXPECT_EQ(it.m_waveChannels[0]->m_offset, 4 + 1024 * k);
        EXPECT_EQ(it.m_waveChannels[7]->m_offset, 4 + 1024 * k + 7 * 128);
        EXPECT_EQ(it.m_gainChannels[7]->m_offset, 4100 + 32 * k + 28);
        EXPECT_EQ(it.m_startTimeChannels[0]->m_offset, 4228 + 16 * k);
    }
    EXPECT_EQ(Slices(m.Item(2).m_waveChannels).substr(0, 31), "DYY1@2052/128 DYY2@2180/128 DYY");
    EXPECT_EQ(Slices(m.Item(3).m_gainChannels).substr(0, 24), "GN1@4196/4 GN2@4200/4 GN");
    EXPECT_EQ(m.Item(1).m_startTimeChannels[7]->m_mnemonic, "NRM8");
    for (CLisChannelItem* c : m.scan.m_channelList) EXPECT_EQ(c->m_used, 1u) << c->m_mnemonic;
}

TEST_F(LisRecogniseAskTest, BatItemsHaveSevenReceiversAndThePeriodOfTheirLabel)
{
    Model m;
    // Three of the seven channels exist; the second entry's channel is too short, the third's label unknown.
    Build(m, {"~BAT", "R1:R2:R3:R4:R5:R6:R7:HF:BATHFB", "S1:S2:S3:S4:S5:S6:S7:LF:BATLFF", "T1:T2:T3:T4:T5:T6:T7:X:BATXX"},
          {{"PER", "99"}}, {{"R1", 1000}, {"R3", 1000}, {"R7", 1000}, {"S1", 128}, {"T1", 130}});
    ASSERT_EQ(m.Run(lis::kToolBat), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{"Bat|WMNO|HF - BATHFB|23|1|7/7|500|4.8000|0 R1@4 R3@1004 R7@2004",
                                                  "Bat|WMNO|X - BATXX|0|1|7/7|65|0.0000|0 T1@3132"}));
    // Receivers past the channels found have none to read: the conversion writes absent values.
    const CWaveformPickItem& hf = m.Item(0);
    EXPECT_EQ(hf.WaveChannel(2)->m_mnemonic, "R7");
    for (size_t r = 3; r < 8; ++r) EXPECT_EQ(hf.WaveChannel(r), nullptr) << r;

    Model low;
    Build(low, {"~BAT", "S1:S2:S3:S4:S5:S6:S7:LF:BATLFB"}, {}, {{"S1", 400, 68}});
    ASSERT_EQ(low.Run(lis::kToolBat), 1);
    EXPECT_EQ(Summary(low.Item(0)), "Bat|WMNO|LF - BATLFB|25|1|7/7|100|9.6000|0");
}

TEST_F(LisRecogniseAskTest, LssAsksEachPeriodAndCancelDropsTheWaveformButNoChannel)
{
    Model m;
    // The dictionary's LSS records name two waveforms and two gains each, and no waveform name.
    Build(m, {"~LSS", "N1:N2:NG1:NG2:LSSNEAR", "F1:F2:FG1:FG2:LSSFAR"}, {},
          {{"N1", 1000}, {"N2", 1000}, {"NG1", 2}, {"NG2", 2}, {"F1", 500, 66}, {"FG1", 2}});
    host.ScriptDialog(kIddLssSamplePeriod)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(L::kIdcWaveName) + "|" + d.GetItemText(L::kIdcReceivers) + "|"
                          + d.GetItemText(L::kIdcSamples),
                      "Wave Name: LSSNEAR|Number Receivers: 2|Number Samples: 500");
            EXPECT_EQ(d.Item(L::kIdc4us)->Check(), 1);
        })
        .Radio(L::kIdcOther)
        .Type(L::kIdcOtherPeriod, "6.5") // a whole number of microseconds only
        .Press(IDOK)
        .Type(L::kIdcOtherPeriod, "0")
        .Press(IDOK)
        .Type(L::kIdcOtherPeriod, "6")
        .Press(IDOK);
    host.ScriptDialog(kIddLssSamplePeriod).Press(IDCANCEL);
    host.ExpectMessage("Please enter an integer.");
    host.ExpectMessage("Please enter an integer between 1 and 256.");
    ASSERT_EQ(m.Run(lis::kToolLss), 1);
    EXPECT_EQ(Items(m), (std::vector<std::string>{"LSS|WMNO| - LSSNEAR|224|1|2/2|500|6.0000|0 N1@4 N2@1004"}));
    EXPECT_EQ(Slices(m.Item(0).m_gainChannels), "NG1@2004/2 NG2@2006/2");
    // The far waveform's channels are the scan's still, used: they do not come back as curves.
    for (CLisChannelItem* c : m.scan.m_channelList) EXPECT_EQ(c->m_used, 1u) << c->m_mnemonic;
    EXPECT_EQ(m.scan.m_channelList[4]->m_mnemonic + std::to_string(m.scan.m_channelList[4]->m_size), "F1500");

    // The choices and what they stand for.
    const struct {
        int choice;
        unsigned other;
        float period;
    } choices[] = {{0, 9, 4.0f}, {1, 9, 8.0f}, {2, 9, 9.0f}, {-1, 9, 7.5f}};
    for (const auto& c : choices) {
        L dialog;
        dialog.m_periodChoice = c.choice;
        dialog.m_otherPeriod = c.other;
        EXPECT_EQ(dialog.ChosenPeriod(7.5f), c.period) << c.choice;
    }
}

} // namespace
