// The dialogs of the LIS item selection: Select Input File Items with the Data Set
// Properties, Waveform Properties and BAT Waveform Properties dialogs it opens, and
// Select Tool to Convert, driven by scripts.
#include "lis/BatWaveformPropertiesDlg.h"
#include "lis/DataSetPropertiesDlg.h"
#include "lis/LisScanModel.h"
#include "lis/SelectInputFileItemsDlg.h"
#include "lis/SelectToolDlg.h"
#include "lis/WaveformPropertiesDlg.h"
#include "platform/Format.h"
#include "res/BatWaveformPropertiesDlgIds.h"
#include "res/DataSetPropertiesDlgIds.h"
#include "res/SelectInputFileItemsDlgIds.h"
#include "res/SelectToolDlgIds.h"
#include "res/WaveformPropertiesDlgIds.h"
#include "support/HostFixture.h"

#include <gtest/gtest.h>

namespace {

using S = CSelectInputFileItemsDlg;
using W = CWaveformPropertiesDlg;
using B = CBatWaveformPropertiesDlg;
using P = CDataSetPropertiesDlg;

CWaveformPickItem& AddItem(CLisLogicalFile& file, uint8_t category, const std::string& wave, const std::string& label,
                           const std::string& mnemonic, uint8_t type, uint16_t receivers, uint16_t samples,
                           float period, const std::vector<std::string>& channels, const std::string& units = "")
{
    auto item = std::make_unique<CWaveformPickItem>();
    item->m_category = category;
    item->m_waveformName = wave;
    item->m_itemLabel = label;
    item->m_displayName = category == 6 ? mnemonic + " " + units : wave + " - " + label;
    item->m_mnemonic = mnemonic;
    item->m_toolName = category == 6 ? mnemonic : "Dsi";
    item->m_typeCode = type;
    item->m_receiverCount = receivers;
    item->m_traceCount = receivers;
    item->m_samplesPerWaveform = samples;
    item->m_samplePeriod = period;
    for (const auto& name : channels) {
        auto c = std::make_unique<CLisChannelItem>();
        c->m_mnemonic = name;
        c->m_units = units;
        item->m_waveChannels.push_back(std::move(c));
    }
    file.m_items.push_back(std::move(item));
    return *file.m_items.back();
}

class LisPickDialogsTest : public HostTest {
protected:
    CLisLogicalFileList files;
    CWaveformPickItem *dsi = nullptr, *bat = nullptr, *gr = nullptr;

    void SetUp() override
    {
        HostTest::SetUp();
        // A data set of 1200 frames logged up from 5000 ft, with an item of every kind.
        auto one = std::make_unique<CLisLogicalFile>();
        one->m_fileName = "TOOL.001";
        one->m_frameSpacing = 0.25;
        one->m_frameSpacingUnits = "F";
        one->m_upDown = 1;
        one->m_depths.resize(1200);
        one->m_depths.front().m_depth = 5000.0;
        one->m_depths.back().m_depth = 4700.0;
        dsi = &AddItem(*one, 1, "DIP", "DSIMONO", "WMNO", 1, 2, 256, 10.0f, {"MNO1", "MNO2"});
        bat = &AddItem(*one, 1, "BW", "BATLFF", "WMNO", 24, 7, 200, 9.6f, {"B1", "B2", "B3"});
        AddItem(*one, 3, "SP", "SEMBMONO", "SMNO", 31, 1, 100, 20.0f, {"SM"});
        AddItem(*one, 2, "IF", "IFMN", "IFMN", 158, 1, 64, 1.0f, {"IF"});
        AddItem(*one, 4, "EG", "EGXX", "EGXX", 113, 1, 13, 15.0f, {"EG"});
        AddItem(*one, 5, "MP", "MAP", "SMAP", 0, 1, 8, 2.0f, {"MP"}); // a kind the tree does not show
        gr = &AddItem(*one, 6, "", "UNKNOWN", "GR", 0, 1, 1, 0.0f, {"GR"}, "GAPI");
        AddItem(*one, 6, "", "UNKNOWN", "TENS", 0, 1, 1, 0.0f, {"TENS"});
        auto two = std::make_unique<CLisLogicalFile>();
        two->m_fileName = "TOOL.002";
        two->m_depths.resize(2);
        AddItem(*two, 6, "", "DTCO", "DTCO", 36, 1, 1, 0.0f, {"DTCO"}, "US/F");
        files.push_back(std::move(one));
        files.push_back(std::move(two));
        // Left by an earlier run: the dialog starts from no choice.
        files[1]->m_selected = 1;
        gr->m_selected = 1;
        gr->m_waveChannels[0]->m_used = 1;
    }

    int Run(S& dialog)
    {
        dialog.m_inputFileName = "tool.lis";
        for (auto& f : files) dialog.m_logicalFiles.push_back(f.get());
        return dialog.DoModal();
    }

    static std::vector<std::string> Lines(CDialog& d)
    {
        std::vector<std::string> out;
        const ControlState* list = d.Item(S::kIdcSelected);
        for (int i = 0; i < list->Count(); ++i) out.push_back(list->ItemText(i));
        return out;
    }
};

const char* const kRoot1 = "TOOL.001     Depth:5000.00 - 4700.00 @0.2500 F";
const char* const kRoot2 = "TOOL.002     Depth:    0 -     0 @0.0000 ";
const char* const kDsiNode = "DIP - DSIMONO - WMNO 2 Rcvr, 256 @ 10.0  ";
const char* const kBatNode = "BW - BATLFF - WMNO 7 Rcvr, 200 @  9.6  ";

TEST_F(LisPickDialogsTest, TheTreeShowsEveryDataSetItemAndReceiverWithItsIcon)
{
    S dialog;
    host.ScriptDialog(kIddSelectInputFileItems)
        .Inspect([](CDialog& d) {
            const ControlState* tree = d.Item(S::kIdcTree);
            std::vector<std::string> shown;
            for (const TreeNode& n : tree->Nodes()) {
                const TreeNode* parent = tree->Node(n.parent);
                shown.push_back(Format("%s|%d|%s|%d", parent ? parent->text.substr(0, 8).c_str() : "", n.image,
                                       n.text.c_str(), int(n.expanded)));
            }
            const std::vector<std::string> expected = {
                Format("|%d|%s|1", S::kImageDataSet, kRoot1),
                Format("TOOL.001|%d|%s|1", S::kImageWaveform, kDsiNode),
                Format("DIP - DS|%d|MNO1|0", S::kImageChannel),
                Format("DIP - DS|%d|MNO2|0", S::kImageChannel),
                Format("TOOL.001|%d|%s|1", S::kImageWaveform, kBatNode),
                Format("BW - BAT|%d|B1|0", S::kImageChannel),
                Format("BW - BAT|%d|B2|0", S::kImageChannel),
                Format("BW - BAT|%d|B3|0", S::kImageChannel),
                Format("TOOL.001|%d|SP - SEMBMONO - 100 @ 20.0 US|0", S::kImageOther),
                Format("TOOL.001|%d|IF - IFMN - 64 @  1.0 HZ|0", S::kImageOther),
                Format("TOOL.001|%d|EG - EGXX - 13 @ 15.0 DEG|0", S::kImageOther),
                Format("TOOL.001|%d|GR - GAPI|0", S::kImageCurve),
                Format("TOOL.001|%d|TENS|0", S::kImageCurve),
                Format("|%d|%s|1", S::kImageDataSet, kRoot2),
                Format("TOOL.002|%d|DTCO - US/F|0", S::kImageCurve),
            };
            EXPECT_EQ(shown, expected);
            EXPECT_EQ(tree->FirstVisibleNode(), tree->FindNode(kRoot1));
            EXPECT_EQ(d.GetItemText(S::kIdcInputFile), "Input File Name: tool.lis");
            EXPECT_TRUE(Lines(d).empty());
        })
        .Press(IDCANCEL);
    EXPECT_EQ(Run(dialog), IDCANCEL);
    EXPECT_EQ(files[1]->m_selected, 0u);
    EXPECT_EQ(gr->m_selected + gr->m_waveChannels[0]->m_used, 0u);
}

TEST_F(LisPickDialogsTest, ItemsOfOneDataSetMoveAndRemovedItemsKeepNoFlags)
{
    S dialog;
    host.ExpectMessage("Multiple Data Sets Not Allowed\nClear Selected List before selecting new Data Set     ");
    host.ExpectMessage("Multiple Data Sets Not Allowed");
    host.ScriptDialog(kIddSelectInputFileItems)
        // A receiver channel makes its data set current but moves nothing.
        .SelectNode(S::kIdcTree, "MNO1")
        .Press(S::kIdcAdd)
        .Inspect([](CDialog& d) { EXPECT_TRUE(Lines(d).empty()); })
        .SelectNode(S::kIdcTree, kRoot2)
        .Press(S::kIdcAdd)
        .SelectNode(S::kIdcTree, kRoot1)
        .Press(S::kIdcAdd)
        .Inspect([this](CDialog& d) {
            // One line format per category; a kind without a node still moves with its data set.
            EXPECT_EQ(Lines(d), (std::vector<std::string>{
                                    "DIP WMNO - DSIMONO 2 Rcvr, 256 @ 10.0  ", "BW WMNO - BATLFF 7 Rcvr, 200 @  9.6  ",
                                    "SP SMNO - SEMBMONO 100 @ 20.0  ", "IF IFMN - IFMN 64 @  1.0  ",
                                    "EG EGXX - EGXX 13 @ 15.0  ", "MP SMAP - MAP 8 @  2.0  ", "GR ", "TENS "}));
            EXPECT_EQ(d.GetItemText(S::kIdcDataSet), "Data Set: TOOL.001");
            EXPECT_EQ(dsi->m_waveChannels[1]->m_used, 1u);
        })
        .Select(S::kIdcSelected, 0)
        .Press(S::kIdcRemove)
        .DoubleClick(S::kIdcSelected, 0) // the BAT line
        .Inspect([this](CDialog& d) {
            EXPECT_EQ(Lines(d).size(), 6u);
            EXPECT_EQ(Lines(d).front(), "SP SMNO - SEMBMONO 100 @ 20.0  ");
            // Removed items keep no channel marked: nothing would convert them.
            for (const CWaveformPickItem* it : {dsi, bat}) {
                EXPECT_EQ(it->m_selected, 0u);
                for (const auto& c : it->m_waveChannels) EXPECT_EQ(c->m_used, 0u) << c->m_mnemonic;
            }
        })
        .Press(S::kIdcClearAll)
        .Inspect([](CDialog& d) {
            EXPECT_TRUE(Lines(d).empty());
            EXPECT_EQ(d.GetItemText(S::kIdcDataSet), "Data Set: ");
        })
        // After Clear All another data set may be chosen, item by item.
        .SelectNode(S::kIdcTree, "DTCO - US/F")
        .Press(S::kIdcAdd)
        .Select(S::kIdcSelected, 0)
        .Press(S::kIdcRemove)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(S::kIdcDataSet), "Data Set: "); })
        // The list is empty, but its data set stays the current one until Clear All.
        .SelectNode(S::kIdcTree, "GR - GAPI")
        .Press(S::kIdcAdd)
        .SelectNode(S::kIdcTree, "DTCO - US/F")
        .Press(S::kIdcAdd)
        .Press(IDOK);
    EXPECT_EQ(Run(dialog), IDOK);
    EXPECT_EQ(files[0]->m_selected, 0u);
    EXPECT_EQ(files[1]->m_selected, 1u);
    EXPECT_EQ(files[1]->m_items[0]->m_selected, 1u);
    EXPECT_EQ(files[1]->m_items[0]->m_waveChannels[0]->m_used, 1u);
    EXPECT_EQ(gr->m_selected, 0u);
}

TEST_F(LisPickDialogsTest, DoubleClicksShowTheDataSetAndCorrectWaveformItems)
{
    host.ScriptDialog(kIddDataSetProperties)
        .Inspect([](CDialog& d) {
            std::vector<std::string> texts;
            for (int id : {P::kIdcDataSetName, P::kIdcStartDepth, P::kIdcEndDepth, P::kIdcDepthInterval,
                           P::kIdcLogDirection, P::kIdcFrameCount})
                texts.push_back(d.GetItemText(id));
            EXPECT_EQ(texts, (std::vector<std::string>{"Data Set Name: TOOL.001", "Start Depth:   4700.000 F",
                                                       "End Depth:   5000.000 F", "Depth Interval:   0.2500 F",
                                                       "Log Direction: UP", "Number Depth Frames: 1200"}));
        })
        .Press(IDOK);
    host.ScriptDialog(kIddWaveformProperties)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(W::kIdcDataSet) + "|" + d.GetItemText(W::kIdcToolType) + "|"
                          + d.GetItemText(W::kIdcWaveName),
                      "Data Set: TOOL.001|Tool Type: Dsi|Wave Name: MNO1 - MNO2");
            EXPECT_EQ(d.GetItemText(W::kIdcReceivers) + " " + d.GetItemText(W::kIdcSamples) + " "
                          + d.GetItemText(W::kIdcSamplePeriod),
                      "2 256 10");
        })
        .Type(W::kIdcReceivers, "4")
        .Type(W::kIdcForeRunner, "7")
        .Press(IDOK);
    host.ScriptDialog(kIddWaveformProperties).Type(W::kIdcSamples, "99").Press(IDCANCEL);
    host.ScriptDialog(kIddBatWaveformProperties)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.Item(B::kIdc10us)->Check(), 1);
            EXPECT_EQ(d.GetItemText(B::kIdcWaveform), "Waveform: B1 - B3");
        })
        .Radio(B::kIdc5us)
        .Press(IDOK);
    S dialog;
    host.ScriptDialog(kIddSelectInputFileItems)
        .SelectNode(S::kIdcTree, kRoot1)
        .Press(S::kIdcAdd)
        .DoubleClickNode(S::kIdcTree, kRoot1)
        .DoubleClickNode(S::kIdcTree, "MNO2")                         // a channel: nothing
        .DoubleClickNode(S::kIdcTree, "SP - SEMBMONO - 100 @ 20.0 US") // not a waveform: nothing
        .DoubleClickNode(S::kIdcTree, kDsiNode)
        .DoubleClickNode(S::kIdcTree, "DIP - DSIMONO - WMNO 4 Rcvr, 256 @ 10.0  ")
        .DoubleClickNode(S::kIdcTree, kBatNode)
        .Inspect([](CDialog& d) {
            const ControlState* tree = d.Item(S::kIdcTree);
            EXPECT_NE(tree->FindNode("BW - BATLFF - WMNO 7 Rcvr, 200 @  4.8  "), 0);
            EXPECT_EQ(tree->FindNode(kBatNode), 0);
            // The selected list shows the corrected values too.
            EXPECT_EQ(Lines(d).at(0), "DIP WMNO - DSIMONO 4 Rcvr, 256 @ 10.0  ");
        })
        .Press(IDOK);
    EXPECT_EQ(Run(dialog), IDOK);
    EXPECT_EQ(Format("%d %d %d %d", dsi->m_receiverCount, dsi->m_traceCount, dsi->m_samplesPerWaveform, dsi->m_foreRunner),
              "4 4 256 7");
    EXPECT_EQ(bat->m_samplePeriod, 4.8f);
}

TEST_F(LisPickDialogsTest, BatPropertiesCountOtherAsAChangeAndKeepEverythingOnCancel)
{
    const struct {
        float period;
        std::function<void(DialogScript&)> script;
        bool changed;
        float after;
    } cases[] = {
        {9.6f, [](DialogScript& s) { s.Radio(B::kIdc5us).Press(IDOK); }, true, 4.8f},
        {9.6f, [](DialogScript& s) { s.Press(IDOK); }, false, 9.6f},
        // "Other" takes its period anew, even the same one.
        {5.0f, [](DialogScript& s) {
             s.Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(B::kIdcOtherPeriod), "5"); }).Press(IDOK);
         },
         true, 5.0f},
        {4.8f, [](DialogScript& s) { s.Radio(B::kIdcOther).Type(B::kIdcOtherPeriod, "6.4").Press(IDOK); }, true, 6.4f},
        {4.8f, [](DialogScript& s) { s.Type(B::kIdcReceivers, "3").Radio(B::kIdc10us).Press(IDCANCEL); }, false, 4.8f},
    };
    for (const auto& c : cases) {
        bat->m_samplePeriod = c.period;
        c.script(host.ScriptDialog(kIddBatWaveformProperties));
        B dialog;
        EXPECT_EQ(dialog.EditItem(*bat, "TOOL.001"), c.changed) << c.period;
        EXPECT_EQ(bat->m_samplePeriod, c.after);
        EXPECT_EQ(bat->m_receiverCount, 7);
    }
}

TEST_F(LisPickDialogsTest, WaveformPropertiesKeepADelayBeforeTheFiringAndCountOnlySamplingAsAChange)
{
    const struct {
        std::function<void(DialogScript&)> script;
        bool changed;
        const char* after; // receivers/traces samples period delay fore after offset
    } cases[] = {
        {[](DialogScript& s) { s.Press(IDOK); }, false, "2/2 256 10.0 -15 0 0 0"},
        {[](DialogScript& s) { s.Type(W::kIdcFixedDelay, "12").Type(W::kIdcDataOffset, "-1.5").Press(IDOK); }, false,
         "2/2 256 10.0 12 0 0 -1.5"},
        {[](DialogScript& s) { s.Type(W::kIdcSamplePeriod, "20.5").Press(IDOK); }, true, "2/2 256 20.5 -15 0 0 0"},
        {[](DialogScript& s) { s.Type(W::kIdcReceivers, "33").Press(IDOK).Type(W::kIdcReceivers, "32").Press(IDOK); },
         true, "32/32 256 10.0 -15 0 0 0"},
        {[](DialogScript& s) { s.Type(W::kIdcSamples, "9").Type(W::kIdcFixedDelay, "3").Press(IDCANCEL); }, false,
         "2/2 256 10.0 -15 0 0 0"},
    };
    host.ExpectMessage("Please enter an integer between 0 and 32.");
    for (const auto& c : cases) {
        dsi->m_receiverCount = dsi->m_traceCount = 2;
        dsi->m_samplePeriod = 10.0f;
        dsi->m_fixedDelay = -15; // shown as it is, and kept by OK
        dsi->m_dataOffset = 0;
        c.script(host.ScriptDialog(kIddWaveformProperties).Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetItemText(W::kIdcFixedDelay), "-15");
        }));
        W dialog;
        EXPECT_EQ(dialog.EditItem(*dsi, "TOOL.001"), c.changed);
        EXPECT_EQ(Format("%d/%d %d %.1f %d %d %d %g", dsi->m_receiverCount, dsi->m_traceCount, dsi->m_samplesPerWaveform,
                         double(dsi->m_samplePeriod), dsi->m_fixedDelay, dsi->m_foreRunner, dsi->m_afterRunner,
                         double(dsi->m_dataOffset)),
                  c.after);
    }
}

TEST_F(LisPickDialogsTest, SelectToolGivesTheChosenToolsNameAndCode)
{
    const struct {
        int button; // 0: none
        int index;
        const char* name;
        int code;
    } cases[] = {{0, 7, "Apx", 0x20}, {CSelectToolDlg::kIdcDsi, 0, "Dsi", 0x24}, {CSelectToolDlg::kIdcBat, 10, "Bat", 0x29},
                 {CSelectToolDlg::kIdcLss, 13, "LSS", 0x2c}, {CSelectToolDlg::kIdcMac, 6, "MAC", 0x22}};
    for (const auto& c : cases) {
        DialogScript& s = host.ScriptDialog(kIddSelectTool);
        s.Inspect([](CDialog& d) { EXPECT_EQ(d.GetItemText(CSelectToolDlg::kIdcLisFile), "LIS File: tool.lis"); });
        if (c.button) s.Radio(c.button);
        // OK without a tool asks for one and keeps the dialog open.
        if (!c.button) {
            host.ExpectMessage("Select the tool that recorded the file, then OK (Cancel ends the conversion).");
            s.Press(IDOK).Radio(CSelectToolDlg::kIdcApx);
        }
        s.Press(IDOK);
        CSelectToolDlg dialog;
        dialog.m_lisFileName = "tool.lis";
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_toolIndex, c.index);
        EXPECT_STREQ(CSelectToolDlg::ToolOf(dialog.m_toolIndex).name, c.name);
        EXPECT_EQ(CSelectToolDlg::ToolOf(dialog.m_toolIndex).code, c.code);
    }
    // One radio set of fourteen buttons, in the order of the tools.
    CSelectToolDlg dialog;
    host.ScriptDialog(kIddSelectTool).Inspect([](CDialog& d) {
        EXPECT_EQ(d.RadioSet(CSelectToolDlg::kIdcDsi).size(), size_t(CSelectToolDlg::kToolCount));
        EXPECT_EQ(d.RadioSetOf(CSelectToolDlg::kIdcLss).front(), CSelectToolDlg::kIdcDsi);
    }).Press(IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

} // namespace
