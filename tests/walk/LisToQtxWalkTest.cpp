// LIS mode > Process > Lis to QTX on a synthetic file: input file, tool, data set,
// output file, all chosen on the real dialogs; the data set and its log are written,
// and the status bar says where.
#include "walk/Walk.h"

#include "lis/LisParamScan.h"
#include "lis/SelectInputFileItemsDlg.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

namespace {

TEST_F(Walk, LisToQtxConvertsASyntheticFileThroughItsDialogs)
{
    TempDir dir;
    const std::string lisPath = dir.File("well.lis"), out = dir.File("well_WAVE_001.qtx");
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}}).WriteDit(dir.Path()));
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {lisb::Channel{"GR", "GAPI"}};
    LisBuilder b;
    b.FileHeader("WAVE  .001").Dfsr(d).Data(d, 1000.0, 0.5, 5).FileTrailer("WAVE  .001");
    b.Write(lisPath);
    std::string node;
    {
        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
        node = CSelectInputFileItemsDlg::NodeText(*files.at(0));
    }
    theViewerApp.m_dataDir = dir.Path(); // the tool dictionary lives there

    ASSERT_NO_FATAL_FAILURE(ConvertLisToQtx(frame, lisPath, node, out, "lis-to-qtx"));

    const QtxImage image = LoadQtx(out);
    EXPECT_EQ(image.depths, (std::vector<double>{1000.0, 1000.5, 1001.0, 1001.5, 1002.0}));
    const auto bytes = ReadBytes(dir.File("well_WAVE_001.log"));
    const std::string log(bytes.begin(), bytes.end());
    EXPECT_NE(log.find("Input file: well.lis\r\nAcoustic Tool: Dsi\r\n"), std::string::npos) << log;
    // The depths of the tree's data-set line keep the step's half units; the run ends with a word.
    EXPECT_NE(node.find("Depth:1000.0 - 1002.0 @0.5000"), std::string::npos) << node;
    EXPECT_EQ(frame.PaneText(0), "Lis to Qtx done: wrote " + out + ", log " + dir.File("well_WAVE_001.log"));
}

} // namespace
