// What Lis to QTX keeps and what it refuses with a word: every sample of a fast
// channel (the public record parts and a log built here), the conversion log that
// names them, and a data set of more items than a data set holds, refused before any
// file exists.
#include "lis/LisParamScan.h"
#include "lis/LisToQtx.h"
#include "lis/SelectInputFileItemsDlg.h"
#include "lis/SelectToolDlg.h"
#include "res/SelectInputFileItemsDlgIds.h"
#include "res/SelectToolDlgIds.h"

#include "LisHelpers.h"
#include "platform/Format.h"
#include "platform/BinaryFile.h"
#include "support/HostFixture.h"
#include "support/KilledWriter.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

using lisb::Channel;

class LisKeptOrRefusedTest : public HostTest {
protected:
    TempDir dir;
    std::string lisPath = dir.File("well.lis");
    std::string qtxPath = dir.File("well.qtx");

    void SetUp() override
    {
        HostTest::SetUp();
        ASSERT_TRUE(LisDictionaryBuilder()
                        .Depth({"DEPT"})
                        .Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}})
                        .WriteDit(dir.Path()));
    }

    // The one data set of the file, every item selected.
    // Lis to Qtx's questions as a user answers them: the file, DSI, every item of `node`, `out`.
    void AnswerLisToQtx(const std::string& node, const std::string& out)
    {
        host.ExpectFileDialog("Browse Input File", lisPath);
        host.ScriptDialog(kIddSelectTool).Radio(CSelectToolDlg::kIdcDsi).Press(IDOK);
        host.ScriptDialog(kIddSelectInputFileItems)
            .SelectNode(CSelectInputFileItemsDlg::kIdcTree, node)
            .Press(CSelectInputFileItemsDlg::kIdcAdd)
            .Press(IDOK);
        host.ExpectFileDialog("Browse Output File", out);
    }
    std::unique_ptr<CLisLogicalFile> ScanAll()
    {
        CLisLogicalFileList files;
        CLisParamScan scan;
        EXPECT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
        EXPECT_EQ(files.size(), 1u);
        if (files.size() != 1) return nullptr;
        for (auto& item : files[0]->m_items) item->m_selected = 1;
        return std::move(files[0]);
    }

    // Writes a file of one logical file, `declared` its DFSR and `frames` frames laid out
    // as `written`; its line in Select Input File Items, and the items it offers.
    std::string WriteAndScan(const char* name, const lisb::Dfsr& declared, const lisb::Dfsr& written, int frames,
                             size_t* items = nullptr)
    {
        LisBuilder b;
        b.FileHeader(name).Dfsr(declared).Data(written, 1000.0, 0.5, frames).FileTrailer(name);
        b.Write(lisPath);
        CLisLogicalFileList files;
        CLisParamScan scan;
        EXPECT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
        if (items) *items = files.empty() ? 0 : files.at(0)->m_items.size();
        return files.empty() ? std::string() : CSelectInputFileItemsDlg::NodeText(*files.at(0));
    }

    // Converts with its log; the log's text.
    std::string ConvertWithLog(CLisLogicalFile& file, int expected = 1)
    {
        {
            CLisToQtx converter;
            converter.m_outputConfirmed = true;
            EXPECT_EQ(converter.OpenLog("well.lis", qtxPath, lisPath), 1);
            converter.LogDataSet("Dsi", file);
            EXPECT_EQ(converter.Convert(&file, lisPath, qtxPath), expected);
        }
        const auto bytes = ReadBytes(dir.File("well.log"));
        return std::string(bytes.begin(), bytes.end());
    }
};

std::vector<std::string> Items(const CLisLogicalFile& file)
{
    std::vector<std::string> out;
    for (const auto& item : file.m_items)
        out.push_back(Format("%s %d %.4f", item->m_displayName.c_str(), int(item->m_samplesPerWaveform),
                             double(item->m_samplePeriod)));
    return out;
}

// Five channels recorded three times per frame, beside a plain one and a waveform: each
// keeps its three samples per frame, in the order recorded, where the scan used to keep
// only the first; the log names each fast channel, its count and where its samples sit.
TEST_F(LisKeptOrRefusedTest, FastChannelsKeepEverySampleAndTheLogNamesThem)
{
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {Channel("DT", "US/F", 12, 3, 68), Channel("GR", "GAPI"), Channel("CAL1", "IN", 6, 3, 79),
                  Channel("SPF", "MV", 12, 3, 73), Channel("RHO", "G/C3", 6, 3, 79), Channel("TEN", "LBF", 6, 3, 49),
                  Channel("WAVE", "", 16, 1, 68)};
    LisBuilder b;
    b.FileHeader("FAST  .001").Dfsr(d).Data(d, 1000.0, 0.5, 4).FileTrailer("FAST  .001");
    b.Write(lisPath);
    auto file = ScanAll();
    ASSERT_TRUE(file);
    EXPECT_EQ(Items(*file), (std::vector<std::string>{
                                "DT US/F (3 samples per frame) 3 0.1667", "GR GAPI 1 0.0000",
                                "CAL1 IN (3 samples per frame) 3 0.1667", "SPF MV (3 samples per frame) 3 0.1667",
                                "RHO G/C3 (3 samples per frame) 3 0.1667", "TEN LBF (3 samples per frame) 3 0.1667",
                                "WAVE  4 0.0000"}));
    const std::string log = ConvertWithLog(*file);
    const QtxImage out = LoadQtx(qtxPath);
    ASSERT_EQ(out.frames.size(), 4u);
    ASSERT_EQ(out.descriptors.size(), 7u);
    for (size_t k = 0; k < 4; ++k) {
        std::vector<float> want;
        for (int c = 0; c < 7; ++c)
            for (int e = 0; e < (c == 1 ? 1 : c == 6 ? 4 : 3); ++e) want.push_back(float(lisb::DefaultSample(int(k), c, e)));
        EXPECT_EQ(out.frames[k], want) << "frame " << k;
    }
    EXPECT_EQ(out.descriptors[0].axis1.sampleCount, 3);
    EXPECT_FLOAT_EQ(out.descriptors[0].axis1.step, 0.5f / 3);
    EXPECT_EQ(int16_t(out.descriptors[0].axis1.firstIndex), -2); // the last sample at the frame's depth
    for (const char* name : {"DT", "CAL1", "SPF", "RHO", "TEN"})
        EXPECT_NE(log.find(Format("Fast channel %s: 3 samples per frame, all kept as datum %s of 3 values in the order "
                                  "recorded; the last sample stands at the frame's depth and each one before it "
                                  "0.1667 F from the next, back toward the frame before (the first at -0.3333 F); the "
                                  "log plot and the LAS export show the last sample of each frame\r\n",
                                  name, name)),
                  std::string::npos)
            << name << "\n"
            << log;
    EXPECT_EQ(log.find("Fast channel GR"), std::string::npos);
    EXPECT_EQ(log.find("Fast channel WAVE"), std::string::npos);
}

// The public record parts of a fast channel: a DFSR with depths once per record in
// tenths of an inch, CH01 of two byte samples and CH02 of one, and its two data records.
TEST_F(LisKeptOrRefusedTest, ThePublicFastChannelRecordsKeepBothSamplesOfEveryFrame)
{
    const std::string shared = SharedDataDir();
    if (shared.empty() || !fs::is_directory(shared + "/lis/records")) GTEST_SKIP() << "../shared/data/lis is absent";
    std::vector<uint8_t> bytes;
    for (const char* part : {"RHLR-1", "THLR-1", "FHLR-1", "curves/dfsr-fast-depth", "curves/fdata-fast-depth-1",
                             "curves/fdata-fast-depth-2", "FTLR-1", "TTLR-1", "RTLR-1"})
        for (uint8_t c : ReadBytes(shared + "/lis/records/" + part + ".lis.part")) bytes.push_back(c);
    WriteBytes(lisPath, bytes);
    auto file = ScanAll();
    ASSERT_TRUE(file);
    ASSERT_EQ(file->m_items.size(), 2u);
    EXPECT_EQ(file->m_items[0]->m_samplesPerWaveform, 2);
    const std::string log = ConvertWithLog(*file);
    const QtxImage out = LoadQtx(qtxPath);
    std::vector<std::vector<float>> values;
    std::vector<double> depths;
    for (size_t k = 0; k < out.frames.size(); ++k) {
        values.push_back(out.frames[k]);
        depths.push_back(std::round(out.depths[k] * 120.0));
    }
    // Data: (2, 3)s, 4; (5, 6)s, 7 at depth 1; (8, 9)s, 10; (11, 12)s, 13 at depth 5.
    EXPECT_EQ(values, (std::vector<std::vector<float>>{{2, 3, 4}, {5, 6, 7}, {8, 9, 10}, {11, 12, 13}}));
    EXPECT_EQ(depths, (std::vector<double>{1, 3, 5, 7}));
    EXPECT_NE(log.find("Fast channel CH01: 2 samples per frame, all kept as datum CH01 of 2 values"), std::string::npos)
        << log;
}

// The command says on screen how many channels the data set lacks and that the log
// names them: a code that holds no numbers, and channels that reach past the frame's end
// (its size in the DFSR cuts them); a run that converts every channel whole ends as before.
TEST_F(LisKeptOrRefusedTest, TheCommandSaysHowManyChannelsWereLeftOutAndWhereTheLogIs)
{
    for (const bool past : {false, true}) {
        SCOPED_TRACE(past ? "channels past the frame's end" : "every channel within the frame");
        lisb::Dfsr d;
        d.direction = lis::kLogDown;
        d.channels = {Channel("GR", "GAPI"), Channel("FLAG", "", 4, 1, 77), Channel("DT", "US/F", 8, 2, 68)};
        // The frames hold the channels above; the DFSR lists two more beyond them.
        lisb::Dfsr declared = d;
        if (past) {
            declared.frameSize = d.FrameBytes();
            declared.channels.push_back(Channel("CUT", "", 4, 1, 68));
            declared.channels.push_back(Channel("WIDE", "", 8, 2, 68));
        }
        const std::string node = WriteAndScan("WAVE  .001", declared, d, 3);
        const std::string out = dir.File("well_WAVE_001.qtx"), logPath = dir.File("well_WAVE_001.log");
        fs::remove(out);
        fs::remove(logPath);
        AnswerLisToQtx(node, out);
        host.ExpectMessage("Wrote data set :\n" + out + (past ? "\n3" : "\n1") +
                           " channel(s) of the LIS file were not converted whole; the conversion log names them :\n" +
                           logPath);
        CLisToQtx().Run(dir.Path());
        const QtxImage image = LoadQtx(out);
        ASSERT_EQ(image.frames.size(), 3u);
        EXPECT_EQ(image.frames[0].size(), 3u); // GR and both samples of DT
        const std::vector<uint8_t> bytes = ReadBytes(logPath);
        const std::string log(bytes.begin(), bytes.end());
        for (const char* name : {"CUT", "WIDE"}) {
            const std::string line = Format("Channel %s left out: it reaches past the end of the 20-byte frame\r\n", name);
            EXPECT_EQ(log.find(line) != std::string::npos, past) << log;
        }
    }
}

lisb::Dfsr Declared(lisb::Dfsr d, int64_t frameSize, bool cut = false) // EB 3, a channel past the frame
{
    d.frameSize = frameSize;
    if (cut) d.channels.push_back(Channel("CUT", "", 4, 1, 68));
    return d;
}

lisb::Dfsr Padded(lisb::Dfsr d, uint16_t bytes) // frames written with zeros behind the channels
{
    d.channels.push_back(Channel("PAD", "", bytes, 1, 66));
    return d;
}

lisb::Dfsr Spaced(lisb::Dfsr d, double spacing) // EB 8 (0: none written)
{
    d.spacing = spacing;
    d.spacingEntry = spacing > 0.0;
    return d;
}

std::string ReadAs(unsigned declared, const char* by, unsigned size)
{
    return Format("DFSR frame size (entry 3) of %u bytes disagrees with the 24 bytes of its channels; frames read as "
                  "%s them out, %u bytes each\r\n",
                  declared, by, size);
}

struct LayoutCase {
    const char* what;
    lisb::Dfsr declared, written; // the DFSR, and the frames the data records hold
    std::vector<int> records;     // frames of each data record
    size_t extra;                 // bytes behind the first record's frames
    int frames;                   // the data set's frames; 0: refused, the one line its cause
    std::vector<std::string> lines;
};

std::vector<LayoutCase> LayoutCases()
{
    lisb::Dfsr gr;
    gr.direction = lis::kLogDown;
    gr.channels = {Channel("GR", "GAPI")};
    lisb::Dfsr wave = gr, wide = gr, once = gr;
    wave.channels.push_back(Channel("WAVE", "", 400, 1, 68));
    wide.channels = {Channel("GR", "GAPI"), Channel("DT", "US/F", 8, 2, 68), Channel("FA", "", 8, 1, 68)}; // 24 bytes
    once.depthOnce = true;
    once.channels = wide.channels;
    once.channels.push_back(Channel("SP", "MV"));
    // The record's offset is filled in by the test.
    const char* behind = "Data record at offset %%llu: 8 byte(s) behind its %u whole frame(s) of 24 bytes are not read";
    const std::string neither = "its data records fit neither the DFSR frame size (entry 3) of 32 bytes nor the 24 "
                                "bytes of its channels: ";
    return {
        {"EB 3 below the channels", Declared(wave, 40), wave, {5}, 0, 5,
         {"DFSR frame size (entry 3) of 40 bytes disagrees with the 408 bytes of its channels; frames read as the "
          "channels lay them out, 408 bytes each\r\n"}},
        {"EB 3 a whole number of the channels' frames", Declared(gr, 16), gr, {5}, 0, 5,
         {"DFSR frame size (entry 3) of 16 bytes disagrees with the 8 bytes of its channels; frames read as the "
          "channels lay them out, 8 bytes each\r\n"}},
        {"records of EB 3's frames, a channel past them", Declared(gr, 8, true), gr, {5}, 0, 5,
         {"DFSR frame size (entry 3) of 8 bytes disagrees with the 12 bytes of its channels; frames read as entry 3 "
          "lays them out, 8 bytes each\r\n",
          "Channel CUT left out: it reaches past the end of the 8-byte frame\r\n"}},
        {"a record with bytes behind its frames", gr, gr, {5}, 3, 5,
         {"Data record at offset %llu: 3 byte(s) behind its 5 whole frame(s) of 8 bytes are not read\r\n"}},
        {"EB 3 of 8, the first record 3 frames and 8 bytes", Declared(wide, 8), wide, {3, 3, 3, 3}, 8, 12,
         {ReadAs(8, "the channels lay", 24), Format(behind, 3u)}},
        {"EB 3 of 16, the first record 3 frames and 8 bytes", Declared(wide, 16), wide, {3, 3, 3, 3}, 8, 12,
         {ReadAs(16, "the channels lay", 24)}},
        {"EB 3 borne out by the first record alone", Declared(wide, 32), wide, {1, 5, 5}, 8, 11,
         {ReadAs(32, "the channels lay", 24), Format(behind, 1u)}},
        {"frames padded to EB 3", Declared(wide, 32), Padded(wide, 8), {3, 3, 3, 3}, 0, 12,
         {ReadAs(32, "entry 3 lays", 32)}},
        {"frames of 28 bytes", Declared(wide, 32), Padded(wide, 4), {5, 5}, 0, 0,
         {neither + "the frames' depths of either do not run one way across the data records"}},
        {"depth once, EB 3 borne out by the first record alone", Declared(once, 16), once, {2, 3}, 0, 5,
         {ReadAs(16, "the channels lay", 24)}},
        {"depth once, frames padded to EB 3", Declared(once, 32), Padded(once, 8), {3, 3}, 0, 6,
         {ReadAs(32, "entry 3 lays", 32)}},
        // Judged across the records: each record's frames alone would bear out either.
        {"EB 3 above the channels, two frames a record", Declared(wide, 32), wide, {2, 2, 2, 2, 2}, 0, 10,
         {ReadAs(32, "the channels lay", 24)}},
        {"EB 3 below the channels", Declared(wide, 20), wide, {3, 3, 3}, 0, 9, {ReadAs(20, "the channels lay", 24)}},
        {"a frame a record padded by its own size", Declared(wide, 48), Padded(wide, 24), {1, 1, 1, 1, 1, 1}, 0, 6,
         {ReadAs(48, "entry 3 lays", 48)}},
        {"depth once, EB 3 twice the channels", Declared(once, 48), once, {2, 2, 2}, 0, 6,
         {ReadAs(48, "the channels lay", 24)}},
        {"depth once, EB 3 half the channels", Declared(once, 12), once, {2, 2, 2}, 0, 6,
         {ReadAs(12, "the channels lay", 24)}},
        {"depth once, frames of 28 bytes", Declared(once, 32), Padded(once, 4), {3, 3}, 0, 0,
         {neither + "not every data record holds whole frames of either"}},
        // Zeros behind the channels are padding whatever EB 8 says: EB 3 stands.
        {"depth once, padded to EB 3, no EB 8", Declared(Spaced(once, 0.0), 32), Padded(once, 8), {3, 3, 3}, 0, 9,
         {ReadAs(32, "entry 3 lays", 32)}},
        {"depth once, padded by their own size, EB 8 1.5 times", Declared(Spaced(once, 0.75), 48), Padded(once, 24),
         {3, 3, 3}, 0, 9, {ReadAs(48, "entry 3 lays", 48)}},
        {"depth once, padded by their own size, EB 8 half the step", Declared(Spaced(once, 0.25), 48),
         Padded(once, 24), {4, 4, 4, 4, 4}, 0, 20, {ReadAs(48, "entry 3 lays", 48)}},
        // Channel data where padding would be: the channels lay the frames out, and the log says why.
        {"depth once, EB 3 twice the channels, no EB 8", Declared(Spaced(once, 0.0), 48), once, {2, 2, 2}, 0, 6,
         {ReadAs(48, "the channels lay", 24),
          "Entry 3 ruled out: the bytes behind its channels hold channel data, not filler\r\n"}},
    };
}

// A DFSR frame size (EB 3) its channels do not add up to never cuts frames out of other
// frames' or channels' bytes. Every data record is tried: EB 3's layout (padding and
// all) stands unless the bytes rule it out (records not of whole frames of it where they
// are of the channels, depths that turn back and forth, channel data where its padding
// would be), else the channels' where theirs can be read; where neither can, the data
// set is refused, saying why. The log says which was read and why, and names the bytes
// behind a record's last whole frame.
TEST_F(LisKeptOrRefusedTest, AFrameSizeItsChannelsDisagreeWithNeverMakesFramesUp)
{
    for (const LayoutCase& c : LayoutCases()) {
        SCOPED_TRACE(c.what);
        const bool padded = c.written.channels.back().name == "PAD";
        const auto sample = [&](int frame, int channel, int element) {
            const bool padding = padded && size_t(channel) + 1 == c.written.channels.size();
            return padding ? 0.0 : lisb::DefaultSample(frame, channel, element);
        };
        LisBuilder b;
        b.FileHeader("SIZE  .001").Dfsr(c.declared);
        for (size_t r = 0, first = 0; r < c.records.size(); first += size_t(c.records[r++])) {
            std::vector<uint8_t> data =
                lisb::DataRecord(c.written, 1000.0 + 0.5 * double(first), 0.5, c.records[r], sample, int(first));
            if (r == 0) data.resize(data.size() + c.extra, 0x41);
            b.Record(data);
        }
        b.FileTrailer("SIZE  .001").Write(lisPath);
        fs::remove(dir.File("well.log")); // the log of the case before
        auto file = ScanAll();
        ASSERT_TRUE(file);
        if (c.frames == 0)
            host.ExpectMessage("Data set SIZE  .001 cannot be converted: " + c.lines[0] + "!\nFile :\n" + lisPath +
                               "\nOperation will be abandoned.");
        const std::string log = ConvertWithLog(*file, c.frames == 0 ? 0 : 1);
        const auto at = static_cast<unsigned long long>(b.Starts()[2]); // the first data record
        for (const std::string& line : c.lines) {
            const std::string want = c.frames == 0 ? "Frames not read: " + line + "\r\n" : Format(line.c_str(), at);
            EXPECT_NE(log.find(want), std::string::npos) << want << "\n" << log;
        }
        if (c.frames == 0) continue;
        const QtxImage out = LoadQtx(qtxPath);
        ASSERT_EQ(out.depths.size(), size_t(c.frames));
        for (size_t k = 0; k < out.frames.size(); ++k) {
            EXPECT_EQ(out.depths[k], 1000.0 + 0.5 * double(k));
            EXPECT_EQ(out.frames[k].at(0), float(lisb::DefaultSample(int(k), 0, 0)));
            if (c.written.channels.size() == 2 && !padded) {
                EXPECT_EQ(out.frames[k].at(100), float(lisb::DefaultSample(int(k), 1, 99)));
            }
        }
    }
}

// A data set whose only channel is left out says which channel and why, whether the
// user adds the data set or chooses nothing, where "Output List Empty!" said neither.
TEST_F(LisKeptOrRefusedTest, ADataSetWhoseOnlyChannelIsLeftOutNamesIt)
{
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {Channel("WAV", "", 4000, 232, 68)};
    size_t items = 1;
    const std::string node = WriteAndScan("UNEV  .001", d, d, 2, &items);
    ASSERT_EQ(items, 0u);
    for (const bool add : {true, false}) {
        SCOPED_TRACE(add ? "the data set added" : "nothing chosen");
        host.ExpectFileDialog("Browse Input File", lisPath);
        host.ScriptDialog(kIddSelectTool).Radio(CSelectToolDlg::kIdcDsi).Press(IDOK);
        DialogScript& items = host.ScriptDialog(kIddSelectInputFileItems);
        if (add) items.SelectNode(CSelectInputFileItemsDlg::kIdcTree, node).Press(CSelectInputFileItemsDlg::kIdcAdd);
        items.Press(IDOK);
        host.ExpectMessage("Data set UNEV  .001 holds no channel that can be converted :\nChannel WAV left out: its "
                           "4000 bytes a frame do not split into 232 whole samples of representation code 68\nFile :\n" +
                           lisPath + "\nOperation will be abandoned.");
        CLisToQtx().Run(dir.Path());
        EXPECT_TRUE(host.PendingExpectations().empty());
        EXPECT_FALSE(fs::exists(qtxPath));
    }
}

// 300 channels: more items than a data set holds (its datum count is a 16-bit field and
// the tool box keeps 256 selection flags) are refused, naming the LIS file, the count,
// the limit and what to do, before any output or log exists; 256 convert.
TEST_F(LisKeptOrRefusedTest, MoreItemsThanADataSetHoldsAreRefusedBeforeAnyFileExists)
{
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    for (int c = 0; c < 300; ++c) d.channels.push_back(Channel(Format("C%03d", c), "", 4, 1, 68));
    LisBuilder b;
    b.FileHeader("WIDE  .001").Dfsr(d).Data(d, 1000.0, 0.5, 2).FileTrailer("WIDE  .001");
    b.Write(lisPath);
    auto file = ScanAll();
    ASSERT_TRUE(file);
    ASSERT_EQ(file->m_items.size(), 300u);
    host.ExpectMessage("Encountered 300 datums to write from file :\n" + lisPath +
                       "\nA data set holds at most 256 datums: select 256 or fewer items of data set WIDE  .001 in "
                       "Select Input File Items.\nOperation will be abandoned.");
    {
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        EXPECT_EQ(converter.Convert(file.get(), lisPath, qtxPath), 0);
    }
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.Path())) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"LisDic.dit", "well.lis"}));

    for (size_t i = 256; i < file->m_items.size(); ++i) file->m_items[i]->m_selected = 0;
    ConvertWithLog(*file);
    EXPECT_EQ(LoadQtx(qtxPath).descriptors.size(), 256u);
}

} // namespace

namespace {

// A run whose data set cannot be written whole (the disk fills) keeps the older data set
// and its older log: a log of the failed run would describe a data set that is not there.
// A read-only log the user agreed to replace keeps its mode too; only the run that
// commits a new log makes it writable.
TEST_F(LisKeptOrRefusedTest, AFailedRunKeepsTheOlderDataSetAndItsLog)
{
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {Channel("GR", "GAPI"), Channel("DT", "US/F"), Channel("RHOB", "G/C3")};
    LisBuilder b;
    b.FileHeader("BIG   .001").Dfsr(d);
    for (int k = 0; k < 10; ++k) b.Data(d, 1000.0 + 50.0 * k, 0.5, 100);
    b.FileTrailer("BIG   .001").Write(lisPath);
    CLisLogicalFileList files;
    CLisParamScan scan;
    ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
    const std::string node = CSelectInputFileItemsDlg::NodeText(*files.at(0));
    const std::string out = dir.File("well_BIG_001.qtx"), log = dir.File("well_BIG_001.log");
    const std::vector<uint8_t> olderSet = {'s', 'e', 't'}, olderLog = {'l', 'o', 'g'};
    const auto run = [&](bool readOnly, bool fails) {
        AnswerLisToQtx(node, out);
        host.ExpectMessage(readOnly ? "well_BIG_001.log exists as Read Only. Continue?" : log + " already exists", IDYES);
        if (fails)
            host.ExpectMessage("Error writing frame data in file :\n" + out +
                               "\nThe disk is full.\nThe existing file is unchanged.");
        // The log's head, the data set's head, then part of its frames.
        ScopedWriteFault fault(fails ? 12000 : int64_t(1) << 40);
        CLisToQtx().Run(dir.Path());
    };
    const auto mode = [&] { return fs::status(log).permissions() & fs::perms::owner_all; };
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "a read-only log" : "a log");
        WriteBytes(out, olderSet);
        WriteBytes(log, olderLog);
        if (readOnly) fs::permissions(log, fs::perms::owner_read);
        run(readOnly, true);
        EXPECT_EQ(ReadBytes(out), olderSet);
        EXPECT_EQ(ReadBytes(log), olderLog);
        EXPECT_EQ(mode(), readOnly ? fs::perms::owner_read : fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(PartialOutputsIn(dir.Path()), std::vector<std::string>());
    }
    run(true, false);
    EXPECT_NE(ReadBytes(log), olderLog);
    EXPECT_EQ(mode(), fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
