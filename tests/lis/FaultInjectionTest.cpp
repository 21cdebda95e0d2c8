// Process > Qtx to Lis, Lis to QTX (with its log), Scan Lis and the dictionary import
// when the disk fills part-way or the user stops: the output is gone or whole (LIS records
// chain to the end; QTX counts its frames; a report, log or dictionary is all there), and
// a failure was told.
#include "LisHelpers.h"
#include "lis/LisDictionary.h"
#include "lis/LisScan.h"
#include "lis/LisParamScan.h"
#include "lis/LisToQtx.h"
#include "res/CommandIds.h"
#include "res/ResourceIds.h"
#include "support/AppFixture.h"
#include "support/KilledWriter.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/OutputChecks.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cstdio>
#include <functional>

namespace {

const std::vector<QtxDatumShape> kDatums = {{.mnemonic = "WMNO", .typeCode = 1, .traces = 4, .samples = 64}};
constexpr int kFrames = 40;
constexpr uint32_t kFrameSize = 8 + 4 * 64 * 4;

std::string LisOutputLies(const std::string& path)
{
    if (!FileExists(path)) return "";
    const Walked w = WalkLis(path);
    const int64_t length = int64_t(ReadBytes(path).size());
    if (w.end != lis::RecordStatus::End || int64_t(w.position) != length)
        return "records stop at " + std::to_string(w.position) + " of " + std::to_string(length);
    return "";
}

class LisFaultTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        host.onUnexpected = [](const std::string&) {}; // the failure messages vary by point
        ASSERT_TRUE(WriteQtx(qtx, kDatums, kFrames));
    }
    void TearDown() override
    {
        WriteFault::Off();
        AppTest::TearDown();
    }
    void Exercise(const char* name, const std::function<void(bool clean)>& run, const std::string& output,
                  const OutputCheck& lies)
    {
        SCOPED_TRACE(name);
        ExpectNoLyingOutput(host, {.run = run,
                                   .output = output,
                                   .lies = lies,
                                   .points = [](int64_t total) { return QtxFaultPoints(1, kFrameSize, total); },
                                   .stops = {1, 5},
                                   .progressId = kIddProgress});
    }

    TempDir dir;
    std::string qtx = dir.File("in.qtx"), lis = dir.File("out.lis"), back = dir.File("back.qtx");
};

TEST_F(LisFaultTest, NeitherConversionLeavesAFileThatLies)
{
    Exercise(
        "Qtx to Lis",
        [&](bool) {
            host.ExpectFileDialog("Browse Qtx Input File", qtx);
            host.ExpectFileDialog("Browse Lis Output File", lis);
            host.ScriptDialog(kIddWaveformPack).Press(IDOK);
            frame.Command(ID_FILE_LIS);
            frame.Command(ID_QTX_TO_LIS);
        },
        lis, LisOutputLies);

    host.ExpectFileDialog("Browse Qtx Input File", qtx);
    host.ExpectFileDialog("Browse Lis Output File", lis);
    host.ScriptDialog(kIddWaveformPack).Press(IDOK);
    frame.Command(ID_QTX_TO_LIS);
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}}).WriteDit(dir.Path()));
    CLisLogicalFileList files;
    CLisParamScan scan;
    ASSERT_EQ(scan.Scan(lis, &files, dir.Path(), lis::kToolQtxWritten), 1);
    ASSERT_EQ(files.size(), 1u);
    for (auto& item : files[0]->m_items) item->m_selected = 1;
    Exercise(
        "Lis to QTX",
        [&](bool clean) {
            CLisToQtx converter;
            converter.m_outputConfirmed = true;
            const int result = converter.Convert(files[0].get(), lis, back);
            if (clean) {
            EXPECT_EQ(result, 1);
        }
        },
        back, QtxOutputLies);

    // The whole command writes its log first: a log with lines missing goes too.
    const std::string log = CLisToQtx::LogPath(back);
    const OutputCheck logWhole = WholeOrAbsent();
    ExpectNoLyingOutput(host, {.run =
                                   [&](bool) {
                                       CLisToQtx converter;
                                       converter.m_clock = [] { return std::time_t(0); };
                                       converter.m_outputConfirmed = true;
                                       if (!converter.OpenLog("out.lis", back, lis)) return;
                                       converter.LogDataSet("QTX", *files[0]);
                                       converter.Convert(files[0].get(), lis, back);
                                   },
                               .output = log,
                               .lies = [&](const std::string& p) { return logWhole(p) + QtxOutputLies(back); },
                               .points = SpreadFaultPoints,
                               .stops = {},
                               .progressId = 0,
                               .stopQuestion = ""});
}

TEST_F(LisFaultTest, NoScanReportOrDictionaryIsLeftTorn)
{
    LisBuilder b;
    lisb::Dfsr d;
    d.direction = 255;
    d.channels = {{"DT  ", "US/F"}, {"WVF1", "MV  ", 8, 4, 79}};
    b.ReelHeader().TapeHeader().FileHeader();
    for (int k = 0; k < 6; ++k) b.Comment("Run " + std::to_string(k) + " logged by unit 7");
    // No trailers: the summary of the last data records is the report's last text, written as it closes.
    b.Dfsr(d).Data(d, 1000.0, 0.5, 8).Data(d, 1004.0, 0.5, 8);
    WriteBytes(lis, b.Bytes());
    const std::string report = dir.File("out.txt");
    const auto succeeds = [](int result, bool clean) {
        EXPECT_TRUE(result == 1 || !clean);
        EXPECT_FALSE(WriteFault::Tripped() && result == 1) << "a failed run returned success";
    };
    ExpectNoLyingOutput(host, {.run = [&](bool clean) { succeeds(OkOrShow(CLisScan().Run(lis, report)) ? 1 : 0, clean); },
                               .output = report,
                               .lies = WholeOrAbsent(),
                               .points = SpreadFaultPoints,
                               .stops = {1, 4},
                               .progressId = kIddProgress});

    const std::string text = dir.File("dictionary.txt"), dit = dir.File(lisdic::kFileName);
    ASSERT_TRUE(LisDictionaryBuilder()
                    .Depth({"DEPT"})
                    .Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}})
                    .WriteText(text));
    const OutputCheck whole = WholeOrAbsent();
    ExpectNoLyingOutput(host, {.run =
                                   [&](bool clean) {
                                       host.ExpectFileDialog("Dictionary File to Import", text);
                                       succeeds(OkOrShow(CLisDictionary().Import(dir.Path())) ? 1 : 0, clean);
                                   },
                               .output = dit,
                               .lies = [&](const std::string& p) {
                                   return PartialOutputsIn(dir.Path()).empty() ? whole(p) : "a partial dictionary is left";
                               },
                               .points = SpreadFaultPoints,
                               .stops = {},
                               .progressId = 0,
                               .stopQuestion = ""});
}

} // namespace
