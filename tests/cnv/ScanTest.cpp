#include "cnv/ScanCnvFile.h"
#include "cnv/ScanLabel.h"
#include "cnv/ScanQtxFile.h"

#include "res/CnvDataSetDlgIds.h"
#include "res/CommandIds.h"
#include "res/QtxDataSetDlgIds.h"
#include "res/ResourceIds.h"
#include "res/DataOriginDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/ConvertCnvValues.h"
#include "support/AppFixture.h"
#include "support/CnvBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

namespace {

class ScanTest : public AppTest {
protected:
    TempDir dir;
    std::string cnvPath = dir.File("in.cnv");
    std::string qtxPath = dir.File("out.qtx");

    std::vector<std::string> Lines(int templateId, const std::vector<int>& ids) const
    {
        std::vector<std::string> lines;
        const ShownDialog* shown = host.LastDialog(templateId);
        for (int id : ids) lines.push_back(shown && shown->Item(id) ? shown->Item(id)->Text() : "(none)");
        return lines;
    }
};

TEST(ScanLabelTest, LongValuesKeepTheirTailFromTheLastSeparator)
{
    const std::string name(48, 'w'), label = "File name : "; // a 60-character path under C:\Data\Cnv\ .
    EXPECT_EQ(ShortenLabel(label, "C:\\Data\\Cnv\\" + name), label + "...\\" + name);
    EXPECT_EQ(ShortenLabel(label, "/data/cnv/" + name), label + ".../" + name);
    EXPECT_EQ(ShortenLabel(label, std::string(28, 'a') + "0123456789AB"), label + "...0123456789AB");
    EXPECT_EQ(ShortenLabel(std::string(40, 'L'), std::string(30, 'v')), std::string(40, 'L') + std::string(30, 'v'));
    EXPECT_EQ(ShortenLabel(std::string(19, 'L'), "/" + std::string(30, 'v')), std::string(19, 'L') + "/" + std::string(30, 'v'));
}

TEST(ScanCnvToolTest, ToolNamesByTheFilesFirstByte)
{
    const std::pair<uint8_t, const char*> names[] = {
        {30, "DSI Tool"}, {31, "MAC Tool"},       {32, "XMAC Tool"},         {46, "ISONIC Tool"},
        {47, "FWS Tool"}, {48, "WaveSonic Tool"}, {33, "Unrecognized Tool"}, {255, "Unrecognized Tool"}};
    for (const auto& [code, name] : names) EXPECT_EQ(CScanCnvFile::ToolName(code), name) << int(code);
}

// One line per value, each label followed by its value in the line's format; Cancel
// returns 0 although every value was read.
TEST_F(ScanTest, CnvDataSetDialogShowsTheFilesValues)
{
    using namespace cnv_data_set;
    CnvShape s = Shape(1, 300, 7);
    s.tool = 47;
    s.depthUnits = 0;
    s.top = -1.0; // a depth, not a failure
    s.step = -0.25;
    WriteCnv(cnvPath, s);
    host.ScriptDialog(kIddCnvDataSet).Press(IDCANCEL);
    CScanCnvFile scan;
    EXPECT_EQ(scan.Scan(cnvPath), 0);
    const std::vector<std::string> expected = {
        "File name : " + cnvPath, "Tool type : FWS Tool", "Top depth :    -1.0000", "Bottom depth :    -2.5000",
        "Depth step : -0.2500",   "Sampling rate : 10.0000", "Number frames : 7", "Number receivers : 1",
        "Number samples : 300"};
    EXPECT_EQ(Lines(kIddCnvDataSet, {kIdcFileName, kIdcToolType, kIdcTopDepth, kIdcBottomDepth, kIdcDepthStep,
                                     kIdcSamplingRate, kIdcFrames, kIdcReceivers, kIdcSamples}),
              expected);
    EXPECT_EQ(std::pair(scan.m_depthUnits, scan.m_timeUnits), std::pair(std::string("M"), std::string("US/F")));
}

// A line per datum by its category; a category no format knows shows its mnemonic.
TEST_F(ScanTest, QtxDataSetDialogListsEveryDatum)
{
    using namespace qtx_data_set;
    ASSERT_TRUE(WriteQtx(qtxPath,
                         {{"WMNO", 1, kCategoryWaveform, 8, 512, 1, 10.0f},
                          {"DTCO", 158, kCategorySlowness, 1, 200, 2, 1.5f},
                          {"SMAP", 60, kCategorySemblanceMap, 1, 16, 1, 10.0f, 8},
                          {"FRQ1", 0, 2, 4, 64, 4, 0.25f},
                          {"TRC1", 0, kCategoryTrace, 1, 4},
                          {"ODD9", 0, 9, 1, 4}},
                         3, -1.0, -0.5, DefaultSample, qtx::kLogUp));
    host.ScriptDialog(kIddQtxDataSet).Press(IDOK);
    CScanQtxFile scan;
    EXPECT_EQ(scan.Scan(qtxPath), 1);
    EXPECT_EQ(Lines(kIddQtxDataSet, {kIdcFileName, kIdcTopDepth, kIdcBottomDepth, kIdcDepthStep, kIdcFrames,
                                     kIdcLogDirection}),
              std::vector<std::string>({"File name : " + qtxPath, "Top depth :    -1.0000", "Bottom depth :    -2.0000",
                                        "Depth step : -0.5000", "Number frames : 3", "Log direction : Up"}));
    const ControlState* list = host.LastDialog(kIddQtxDataSet)->Item(kIdcDatums);
    std::vector<std::string> lines;
    for (int i = 0; list && i < list->Count(); ++i) lines.push_back(list->ItemText(i));
    EXPECT_EQ(lines, std::vector<std::string>({"WMNO  - 8 receivers (512 @ 10.000)", "DTCO - (200 @  1.500)",
                                               "SMAP - (16 x 8 @ 10.000)", "FRQ1  - 4 receivers (64 @  0.250)",
                                               "TRC1", "ODD9"}));
}

// Saving the history brings the History dialog back; leaving it any other way returns
// to the data set's dialog.
TEST_F(ScanTest, HistoryComesBackAfterASaveUntilItIsLeft)
{
    ASSERT_TRUE(WriteQtx(qtxPath, {{"WMNO", 1, 1, 2, 4}}, 2));
    host.ScriptDialog(kIddQtxDataSet).Press(qtx_data_set::kIdcHistory).Press(IDOK);
    host.ScriptDialog(kIddHistory).Type(kIdcHistoryText, "*** edited").Press(kIdcSaveHistory);
    host.ExpectMessage("This operation will modify the history.", IDYES);
    host.ScriptDialog(kIddHistory).Press(IDCANCEL);
    CScanQtxFile scan;
    EXPECT_EQ(scan.Scan(qtxPath), 1);
    std::vector<std::pair<int, int>> shown;
    for (const ShownDialog& d : host.Dialogs()) shown.emplace_back(d.templateId, d.endCode);
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{
                         {kIddHistory, kIdcSaveHistory}, {kIddHistory, IDCANCEL}, {kIddQtxDataSet, IDOK}}));
    EXPECT_EQ(host.Dialogs()[1].Item(kIdcHistoryText)->Text(), "*** edited");
}

// The commands keep the chosen paths (a cancelled dialog changes nothing); Convert CNV
// copies the scan into its block and asks for the output only after the scan's OK.
TEST_F(ScanTest, CommandsAskForTheirFilesAndKeepThePaths)
{
    Start();
    WriteCnv(cnvPath, Shape(2, 8, 3));
    ASSERT_TRUE(WriteQtx(dir.File("scan.qtx"), {{"WMNO", 1, 1, 2, 4}}, 2));
    const ConvertCnvValues before = theApp.m_convertCnv;
    frame.Command(ID_FILE_QTX);
    host.ExpectFileDialog("Browse QTX file for scanning.", "");
    frame.Command(ID_SCAN_QTX);
    EXPECT_EQ(theApp.m_convertCnv, before);
    host.ExpectFileDialog("Browse QTX file for scanning.", dir.File("scan.qtx"));
    host.ScriptDialog(kIddQtxDataSet).Press(IDOK);
    frame.Command(ID_SCAN_QTX);
    EXPECT_EQ(theApp.m_convertCnv.qtxPath, dir.File("scan.qtx"));

    frame.Command(ID_FILE_CNV);
    host.ExpectFileDialog("Browse CNV file for converting.", cnvPath);
    host.ScriptDialog(kIddCnvDataSet).Press(IDCANCEL); // no output dialog follows
    frame.Command(ID_CONVERT_CNV);
    EXPECT_EQ(theApp.m_convertCnv.frameCount, 0u);
    host.ExpectFileDialog("Browse CNV file for converting.", cnvPath);
    host.ScriptDialog(kIddCnvDataSet).Press(IDOK);
    host.ExpectFileDialog("Browse QTX file for converting.", qtxPath);
    host.ScriptDialog(kIddDataOrigin).Press(IDOK);
    frame.Command(ID_CONVERT_CNV);
    const ConvertCnvValues& v = theApp.m_convertCnv;
    EXPECT_EQ(std::tuple(v.cnvPath, v.qtxPath, v.frameCount, v.bottomDepth, v.depthUnit, v.sampleAxis),
              std::tuple(cnvPath, qtxPath, 3u, 1001.0, std::string("FT"), std::string("USEC")));
    EXPECT_EQ(ReadBytes(qtxPath).size(), qtx::DataStart(1) + 3 * (8 + 2 * 8 * 4));
    EXPECT_EQ(frame.PaneText(0), "Convert CNV done: wrote " + qtxPath);
    const FileDialogOptions& out = host.FileDialogs().back().options;
    EXPECT_EQ(std::tuple(out.open, out.defaultExt, (out.flags & kOverwritePrompt) != 0),
              std::tuple(false, std::string("qtx"), true));
}

} // namespace
