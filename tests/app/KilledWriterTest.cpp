// A writer killed part-way (SIGKILL: no destructor, no clean-up) leaves the chosen name
// as it was: absent, or the old file byte for byte. What it leaves is a temporary
// "<name>.partial-XXXXXX" beside it, which the user may delete.
#include "cnv/CnvToQtx.h"
#include "dataset/QtxFile.h"
#include "lis/LisScan.h"
#include "lis/QtxToLis.h"
#include "platform/BinaryFile.h"
#include "plot/LogPlotItem.h"
#include "plot/QtxCommand.h"
#include "res/DataOriginDlgIds.h"
#include "res/ResourceIds.h"
#include "toolbox/LasDoc.h"
#include "toolbox/SegyFile.h"
#include "support/CnvBuilder.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/LisBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Writer {
    const char* kind;
    std::string output;                              // its name in the folder
    int64_t killAt;                                  // the bytes of the output written when killed
    std::function<void(const std::string& out)> run; // the whole run, its questions answered
};

// One writer of each kind, on inputs far larger than its kill point.
class KilledWriterTest : public HostTest {
protected:
    TempDir dir;
    CnvShape cnv;
    std::string cnvPath = dir.File("in.cnv"), qtxPath = dir.File("in.qtx"), lisPath = dir.File("in.lis");
    const std::vector<uint8_t> old = std::vector<uint8_t>(3000, 'o');

    std::vector<Writer> Writers()
    {
        cnv.channels = 8;
        cnv.samples = 512;
        cnv.frames = 200;
        WriteCnv(cnvPath, cnv);
        EXPECT_TRUE(WriteQtx(qtxPath, {{"WMNO", 7, 1, 8, 128}}, 600));
        lisb::Dfsr dfsr;
        dfsr.direction = 255;
        dfsr.channels = {{"DT  ", "US/F"}, {"WVF1", "MV  ", 8, 4, 79}};
        LisBuilder lis;
        lis.ReelHeader().TapeHeader().FileHeader().Dfsr(dfsr);
        for (int k = 0; k < 200; ++k) lis.Data(dfsr, 1000.0 + k, 0.5, 2);
        lis.FileTrailer();
        WriteBytes(lisPath, lis.Bytes());

        return {
            {"QTX (Convert CNV)", "out.qtx", int64_t(qtx::DataStart(1)) + 100 * (8 + 8 * 512 * 4),
             [&](const std::string& out) {
                 host.ScriptDialog(kIddDataOrigin).Select(data_origin::kIdcOrigin, 1).Press(IDOK);
                 CCnvToQtx c;
                 c.m_topDepth = cnv.top;
                 c.m_bottomDepth = cnv.top + (cnv.frames - 1) * cnv.step;
                 c.m_depthStep = cnv.step;
                 c.m_depthUnit = "FT";
                 c.m_samplingPeriod = float(cnv.samplingPeriod);
                 c.m_channelCount = cnv.channels;
                 c.m_samplesPerChannel = uint16_t(cnv.samples);
                 c.m_frameCount = uint32_t(cnv.frames);
                 c.m_outputConfirmed = true;
                 c.Convert(cnvPath, out);
             }},
            {"LIS (Qtx to Lis)", "out.lis", 64 * 1024,
             [&](const std::string& out) {
                 host.ExpectFileDialog("Browse Qtx Input File", qtxPath);
                 host.ExpectFileDialog("Browse Lis Output File", out);
                 host.ScriptDialog(kIddWaveformPack).Press(IDOK);
                 CQtxToLis().Run();
             }},
            {"SEG-Y", "out.sgy", 2 << 20,
             [&](const std::string& out) {
                 std::vector<uint8_t> header(segy::kFileHeaderSize), shot(segy::kShotBufferSize);
                 CSegyFile segy;
                 segy.m_shape.tracesPerShot = 4;
                 segy.m_shape.samplesPerTrace = 256;
                 if (!segy.OpenOutput(CSegyFile::HeaderBuffer(header.data(), header.size()), out)) return;
                 for (int k = 0; k < 1000; ++k)
                     if (!segy.WriteShot(CSegyFile::ShotBuffer(shot.data(), shot.size()))) return;
                 segy.CloseOutput();
             }},
            {"LAS", "out.las", 512 * 1024,
             [&](const std::string& out) {
                 CLasDoc doc;
                 if (!doc.OpenOutput(out)) return;
                 doc.WriteLas20Header(1);
                 for (int k = 0; k < 200000; ++k) doc.WriteLine(" 1000.0000     12.5000     3.2500");
                 doc.CloseOutput();
             }},
            {"text report (Scan Lis)", "out.txt", 512,
             [&](const std::string& out) {
                 if (FileExists(out)) host.ExpectMessage(out + " already exists do you want to overwrite?", IDYES);
                 CLisScan scan;
                 (void)OkOrShow(scan.Run(lisPath, out)); // killed part-way
             }},
            {"log command file", "out.cmd", 1000,
             [&](const std::string& out) {
                 PlotItemList items;
                 for (int k = 0; k < 4; ++k) {
                     items.push_back(std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults()));
                     items.back()->m_file.path = qtxPath;
                 }
                 if (!CQtxCommand().Write(items, LogCommandPage(), out)) return; // killed while it writes
             }},
        };
    }
};

TEST_F(KilledWriterTest, AKilledWriterLeavesTheChosenNameAbsentOrTheOldFileByteForByte)
{
    for (const Writer& w : Writers()) {
        for (const bool hadOld : {false, true}) {
            const std::string out = dir.File(w.output);
            std::filesystem::remove(out);
            if (hadOld) WriteBytes(out, old);
            ASSERT_TRUE(KillWriterAt(w.killAt, [&] { w.run(out); })) << w.kind << ": ended before its kill point";
            if (hadOld) {
                EXPECT_EQ(ReadBytes(out), old) << w.kind << ": the old file changed";
            } else {
                EXPECT_FALSE(FileExists(out)) << w.kind << ": a part is under the chosen name";
            }
            // What the kill leaves: one temporary beside the chosen name.
            const std::vector<std::string> left = PartialOutputsIn(dir.Path());
            ASSERT_EQ(left.size(), 1u) << w.kind;
            EXPECT_EQ(left[0].rfind(w.output + ".partial-", 0), 0u) << w.kind << ": " << left[0];
            std::filesystem::remove(dir.File(left[0]));
        }
    }
}

// A run that fails, on a disk that fills in the middle of the output or at the rename
// that would commit it, is told and leaves the replaced file whole and no temporary.
TEST_F(KilledWriterTest, AReplacedFileSurvivesARunThatFailsMidWayOrAtItsCommit)
{
    host.onUnexpected = [](const std::string&) {}; // each writer tells in its own words
    for (const Writer& w : Writers()) {
        for (const bool atRename : {false, true}) {
            const std::string out = dir.File(w.output);
            WriteBytes(out, old);
            const size_t told = host.Messages().size();
            if (atRename) {
                WriteFault::FailRename();
            } else {
                WriteFault::FailAfter(w.killAt);
            }
            w.run(out);
            WriteFault::Off();
            const std::string how = std::string(w.kind) + (atRename ? " at the rename" : " mid-way");
            EXPECT_GT(host.Messages().size(), told) << how << ": not told";
            EXPECT_EQ(ReadBytes(out), old) << how;
            EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>()) << how;
        }
    }
}

// A FIFO picked as an input or an output would block the open until a peer came: it is
// refused at once, with the path named. The alarm ends a test that blocks.
TEST_F(KilledWriterTest, AFifoAsInputOrOutputIsRefusedAtOnce)
{
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string refused = "\n" + fifo + " is not a regular file";
    ::alarm(20);
    {
        CQtxFile file;
        host.ExpectMessage("Could not open input file :\n" + fifo + refused);
        EXPECT_EQ(OkOrShow(file.OpenRead(fifo)), 0);
        host.ExpectMessage("Could not open output file :\n" + fifo + refused);
        EXPECT_EQ(OkOrShow(file.OpenWrite(fifo)), 0);
    }
    PlotItemList items;
    LogCommandPage page;
    host.ExpectMessage("Could not open input command file :\n" + fifo + refused);
    EXPECT_FALSE(CQtxCommand().Read(items, page, fifo));
    items.push_back(std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults()));
    host.ExpectMessage("Could not open output command file :\n" + fifo + refused);
    EXPECT_FALSE(CQtxCommand().Write(items, page, fifo));
    CLasDoc las;
    host.ExpectMessage("Could not open output file :\n" + fifo + refused);
    EXPECT_EQ(las.OpenOutput(fifo), 0);
    host.ExpectMessage("Could not open input file :\n" + fifo + refused);
    EXPECT_EQ(CQtxToLis().Convert(fifo, dir.File("out.lis")), 0);
    ::alarm(0);
    EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
}

} // namespace
