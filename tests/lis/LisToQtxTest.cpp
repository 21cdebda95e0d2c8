// The LIS-to-QTX conversion on small files built here: each variant's traces, the
// repair and log of bad shots, the output's header and descriptors, the refusals, the
// log, a stop, and the command from the input dialog to the output.
#include "lis/LisToQtx.h"

#include "dataset/QtxFile.h"
#include "lis/LisParamScan.h"
#include "lis/SelectInputFileItemsDlg.h"
#include "lis/SelectToolDlg.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "res/SelectInputFileItemsDlgIds.h"
#include "res/SelectToolDlgIds.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <set>

namespace {

using lisb::Channel;
constexpr float A = -999.25f; // absent
namespace fs = std::filesystem;

// A LIS file whose frames hold a depth and the code-68 channels W (`receivers` traces of
// `samples`), G (a gain per receiver) and S (a start time per receiver), in data records
// of `perRecord` frames; and a data set of its frames as the scan would leave it.
struct Sonic {
    CLisLogicalFile set;
    int receivers, samples;

    Sonic(const std::string& path, int frames, int receivers_, int samples_, const lisb::SampleFn& value, int perRecord = 100)
        : receivers(receivers_), samples(samples_)
    {
        lisb::Dfsr d;
        const auto bytes = uint16_t(receivers * 4);
        d.channels = {Channel("W", "US", uint16_t(bytes * samples)), Channel("G", "", bytes), Channel("S", "US", bytes)};
        LisBuilder b;
        b.FileHeader("WAVE  .001").Dfsr(d);
        for (int first = 0; first < frames; first += perRecord) {
            const uint64_t position = b.Bytes().size();
            const int n = std::min(perRecord, frames - first);
            const auto record = lisb::DataRecord(d, 1000.0 + 0.5 * first, 0.5, n, value, first);
            b.Record(record);
            for (int k = 0; k < n; ++k)
                set.m_depths.push_back({1000.0 + 0.5 * (first + k), position, uint32_t(record.size() - 2), uint32_t(k) * d.FrameBytes()});
        }
        b.FileTrailer("WAVE  .001").Write(path);
        set.m_fileName = "WAVE  .001";
        set.m_upDown = lis::kLogDown;
        set.m_frameSpacing = 0.5;
    }
    static std::unique_ptr<CLisChannelItem> Slice(uint32_t offset, uint16_t size, const char* units)
    {
        auto c = std::make_unique<CLisChannelItem>();
        std::tie(c->m_units, c->m_offset, c->m_size, c->m_reprCode) = std::tuple(units, offset, size, 68);
        return c;
    }
    // A selected item of `type` reading W per receiver, with G and S when asked.
    CWaveformPickItem& Item(uint8_t type, bool gain, bool start, const char* mnemonic = "WMNO")
    {
        auto item = std::make_unique<CWaveformPickItem>();
        std::tie(item->m_toolName, item->m_itemLabel, item->m_displayName, item->m_mnemonic) =
            std::tuple("Test", "TESTMONO", "W - TESTMONO", mnemonic);
        std::tie(item->m_typeCode, item->m_category, item->m_receiverCount, item->m_samplesPerWaveform, item->m_samplePeriod,
                 item->m_selected) = std::tuple(type, 1, receivers, samples, 10.0f, 1);
        const uint32_t g = 4 + uint32_t(receivers * samples * 4), s = g + uint32_t(receivers * 4);
        for (uint32_t r = 0; r < uint32_t(receivers); ++r) {
            item->m_waveChannels.push_back(Slice(4 + r * uint32_t(samples) * 4, uint16_t(samples * 4), "US"));
            if (gain) item->m_gainChannels.push_back(Slice(g + 4 * r, 4, ""));
            if (start) item->m_startTimeChannels.push_back(Slice(s + 4 * r, 4, "US"));
        }
        set.m_items.push_back(std::move(item));
        return *set.m_items.back();
    }
};

void ExpectValues(const std::vector<float>& got, const std::vector<float>& want, const std::string& what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-5 * std::max(1.0f, std::fabs(want[i]))) << what << " at " << i;
}

class LisToQtxTest : public HostTest {
protected:
    TempDir dir;
    std::string lisPath = dir.File("well.lis");
    std::string qtxPath = dir.File("well.qtx");

    std::string Log() const
    {
        const auto bytes = ReadBytes(dir.File("well.log"));
        return std::string(bytes.begin(), bytes.end());
    }
};

// Each variant on one receiver of one frame, W holding `wave`, G `gain` and S `start`.
TEST_F(LisToQtxTest, EachVariantMakesItsTraceWithinTheTrace)
{
    const float g6 = std::pow(10.0f, -0.6f), g3 = std::pow(10.0f, -0.3f), g1 = std::pow(10.0f, -0.1f);
    const float dead = -32767.0f;
    struct Case {
        const char* what;
        uint8_t type;
        int delay;
        float offset;
        int32_t fore, after;
        std::vector<float> wave;
        float gain, start; // NAN: no such list
        std::vector<float> trace;
        int shot;
    };
    const Case cases[] = {
        {"code 0 reads plainly from the start", 0, 2, 9, 1, 1, {1, 2, 3, 4}, NAN, NAN, {1, 2, 3, 4, A, A}, 1},
        {"code 228 reads plainly", 228, 0, 0, 0, 0, {1, 2, 3, 4}, NAN, NAN, {1, 2, 3, 4}, 1},
        {"XMAC gain 4, start 40 us at 10 us", 6, 8, 0, 0, 0, {1, 2, 3, 4}, 4, 40, {0, 0, 0, 0, g6, 2 * g6, 3 * g6, 4 * g6, 0, 0, 0, 0}, 1},
        {"XMAC negative start time", 6, 8, 0, 0, 0, {1, 2, 3, 4}, 4, -1, std::vector<float>(12, A), 0},
        {"XMAC start past the trace", 6, 2, 0, 0, 0, {1, 2, 3, 4}, 0, 1000, std::vector<float>(6, 0), 1},
        {"XMAC offset and runners on the shifted samples", 6, 2, 1, 1, 1, {1, 2, 3, 4}, 0, 10, {0, 0, 1, 2, 0, 0}, 1},
        {"DAL negative gain", 111, 0, 0, 0, 0, {1, 2}, -2, 0, {A, A}, 0},
        {"APX dead data", 85, 0, 0, 0, 0, std::vector<float>{5, dead, dead, dead, dead, dead, dead, dead, dead, dead, dead, A, A, A, A, A, A, A, A, A, A, 7},
         2, NAN, std::vector<float>(22, A), 0},
        {"APX 3-step gain", 85, 1, 0, 0, 0, {1, 2}, 2, NAN, {0, g3, 2 * g3}, 1},
        {"FWS 1-step gain, offset after the gain", 219, 0, 0.5f, 0, 0, {1, 2}, 2, NAN, {g1 - 0.5f, 2 * g1 - 0.5f}, 1},
        {"DSI start-list multiplier, offset, runners", 1, 0, 1, 1, 1, {1, 2, 3, 4}, NAN, 2.5f, {0, 4, 6.5f, 0}, 1},
        {"DSI negative multiplier: as read", 1, 0, 1, 1, 1, {1, 2, 3, 4}, NAN, -1, {1, 2, 3, 4}, 1},
        {"DSI gain list", 1, 0, 0, 0, 0, {1, 2}, 10, NAN, {0.1f, 0.2f}, 1},
        {"WaveSonic negative delay drops samples", 17, -3, 0, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, NAN, NAN, {4, 5, 6, 7, 8, 9, 10}, 1},
        {"Isonic runner of low bits 0 blanks nothing", 21, 1, 0, 0x10000, 0x10001, {1, 2, 3}, NAN, NAN, {0, 1, 2, 0}, 1},
        {"BAT runners longer than the trace", 22, 0, 0, 9, 9, {1, 2, 3}, NAN, NAN, {0, 0, 0}, 1},
        {"semblance: delay only", 31, 2, 5, 1, 1, {1, 2}, NAN, NAN, {0, 0, 1, 2}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sonic sonic(lisPath, 1, 1, int(c.wave.size()), [&](int, int channel, int e) {
            return channel == 0 ? c.wave[size_t(e)] : channel == 1 ? (std::isnan(c.gain) ? 0 : c.gain) : (std::isnan(c.start) ? 0 : c.start);
        });
        CWaveformPickItem& item = sonic.Item(c.type, !std::isnan(c.gain), !std::isnan(c.start));
        item.m_fixedDelay = c.delay;
        item.m_dataOffset = c.offset;
        item.m_foreRunner = c.fore;
        item.m_afterRunner = c.after;
        CLisToQtx converter;
        ASSERT_TRUE(converter.m_reader.Open(lisPath).Ok());
        EXPECT_EQ(converter.ConvertWaveform(sonic.set.m_depths[0], item, 0), c.shot);
        ExpectValues({converter.m_data.begin(), converter.m_data.begin() + item.TraceSamples()}, c.trace, c.what);
    }
    using lis::to_qtx::Variant;
    using lis::to_qtx::VariantOf;
    EXPECT_EQ(VariantOf(0), Variant::Plain);
    EXPECT_EQ(VariantOf(11), Variant::Plain);
    EXPECT_EQ(VariantOf(79), Variant::Plain);
    EXPECT_EQ(VariantOf(84), Variant::SignedDelay);
    EXPECT_EQ(VariantOf(110), Variant::Offset);
    EXPECT_EQ(VariantOf(227), Variant::Factor);
}

// Receiver 0 bad in frame 0; receiver 1 bad in frame 2 (receiver 0 good); both bad in
// frames 4 to 6; receiver 1 bad in the last frame. A gain of -1 marks a bad shot.
TEST_F(LisToQtxTest, BadShotsRepeatTheLastGoodFrameAndAreLoggedOncePerRun)
{
    const std::set<std::pair<int, int>> bad = {{0, 0}, {2, 1}, {4, 0}, {4, 1}, {5, 0}, {5, 1}, {6, 0}, {6, 1}, {8, 1}};
    Sonic sonic(lisPath, 9, 2, 2, [&](int k, int channel, int e) {
        return channel == 0 ? k * 100.0 + e : channel == 1 && bad.count({k, e}) ? -1.0 : 0.0;
    });
    sonic.Item(6, true, true, "WM");
    {
        CLisToQtx converter;
        ASSERT_EQ(converter.OpenLog("well.lis", qtxPath, lisPath), 1);
        converter.m_outputConfirmed = true;
        ASSERT_EQ(converter.Convert(&sonic.set, lisPath, qtxPath), 1);
    }
    const QtxImage out = LoadQtx(qtxPath);
    ASSERT_EQ(out.frames.size(), 9u);
    // Frame 3 is the last whose receiver 0 was good before frames 4 to 6.
    const std::vector<std::vector<float>> want = {
        {A, A, 2, 3}, {100, 101, 102, 103}, {200, 201, A, A}, {300, 301, 302, 303},
        {300, 301, 302, 303}, {300, 301, 302, 303}, {300, 301, 302, 303}, {700, 701, 702, 703}, {800, 801, A, A}};
    for (size_t k = 0; k < 9; ++k) ExpectValues(out.frames[k], want[k], Format("frame %zu", k));
    const std::string log = Log();
    EXPECT_NE(log.find("Input file: well.lis\r\nBad Shot:  WM   Depth: 1001.0000\r\n"
                       "Bad Shots: WM   Depth: 1002.0000 - 1003.0000\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("1004.0000"), std::string::npos) << "a run still open at the end is not logged";
}

TEST_F(LisToQtxTest, TheOutputHasOneDescriptorPerSelectedItemAndTheHistory)
{
    Sonic sonic(lisPath, 3, 2, 5, [](int k, int c, int e) { return c == 0 ? k * 10.0 + e : 0.0; });
    CWaveformPickItem& wave = sonic.Item(21, false, false);
    wave.m_fixedDelay = 3;
    sonic.Item(0, false, false).m_selected = 0; // taken back in the dialog: not converted
    CWaveformPickItem& curve = sonic.Item(0, false, false, "GR");
    curve.m_category = 6;
    curve.m_receiverCount = 1;
    curve.m_waveChannels[0]->m_units = "us/m";
    CLisToQtx converter;
    converter.m_outputConfirmed = true;
    ASSERT_EQ(converter.Convert(&sonic.set, lisPath, qtxPath), 1);
    const QtxImage out = LoadQtx(qtxPath);
    const QtxFileHeader& h = out.header;
    EXPECT_EQ(Format("%d %d %u %u %.1f %.1f %.1f %u", h.logDirection, h.depthUnits, h.frameCount, h.frameSize, h.topDepth,
                     h.bottomDepth, h.depthStep, h.datumCount),
              Format("255 1 3 %u 1000.0 1001.0 0.5 2", 8 + 2 * 8 * 4 + 5 * 4));
    const std::string history = "LIS File: well.lis  \r\nDataSet WAVE  .001\r\nTest TESTMONO - WMNO  2 Rcvr 5 Samples@ 10.0000uSec\r\n";
    EXPECT_EQ(std::string(h.history, history.size() + 2), history + "  ");
    std::vector<std::string> descriptors;
    for (const auto& d : out.descriptors)
        descriptors.push_back(Format("%.4s %d %d %d %d %u %u %d %d %.1f", d.mnemonic, d.typeCode, d.category, d.traceCount,
                                     d.axisCount, d.offset, d.size, d.axis1.unit, d.axis1.sampleCount, double(d.axis1.step)));
    EXPECT_EQ(descriptors, (std::vector<std::string>{"WMNO 21 1 2 1 8 64 1 8 10.0", "GR   0 6 1 1 72 20 3 5 10.0"}));
    ExpectValues({out.frames[2].begin(), out.frames[2].begin() + 8}, {0, 0, 0, 20, 21, 22, 23, 24}, "delay then samples");
}

TEST_F(LisToQtxTest, DataSetsAndItemsThatCannotBeConvertedAreRefusedBeforeTheOutput)
{
    struct Case {
        const char* what;
        std::function<void(Sonic&)> change;
        std::string message;
    };
    const Case cases[] = {
        {"no frames", [](Sonic& s) { s.set.m_depths.clear(); }, "Data set WAVE  .001 holds no depth frames!"},
        {"nothing selected", [](Sonic& s) { s.set.m_items[0]->m_selected = 0; }, "Output List Empty!       "},
        {"no receivers", [](Sonic& s) { s.set.m_items[0]->m_receiverCount = 0; }, "it has no receivers!\nFile :\n" + lisPath + "\nLeave the item out in Select Input File Items."},
        {"negative delay over the samples", [](Sonic& s) { s.set.m_items[0]->m_fixedDelay = -4; }, "its traces have no samples!"},
        {"trace longer than the buffer", [](Sonic& s) { s.set.m_items[0]->m_fixedDelay = 8189; },
         "its traces of 8193 samples (samples and fixed delay) exceed 8192!"},
        {"start times without a sample period", [](Sonic& s) { s.set.m_items[0]->m_samplePeriod = 0; }, "it has no sample period!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sonic sonic(lisPath, 2, 1, 4, lisb::DefaultSample);
        sonic.Item(6, true, true);
        c.change(sonic);
        host.ExpectMessage(c.message);
        CLisToQtx converter;
        EXPECT_EQ(converter.Convert(&sonic.set, lisPath, qtxPath), 0);
        EXPECT_FALSE(fs::exists(qtxPath));
    }
    // A plain waveform's samples are laid out by its period: without one (a CONS table's
    // PER of 0, below 0 or no number) no view could show the data set.
    for (const float period : {0.0f, -10.0f, std::nanf("")}) {
        Sonic plain(lisPath, 2, 1, 4, lisb::DefaultSample);
        plain.Item(0, false, false).m_samplePeriod = period;
        host.ExpectMessage("it has no sample period!");
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        EXPECT_EQ(converter.Convert(&plain.set, lisPath, qtxPath), 0) << period;
        EXPECT_FALSE(fs::exists(qtxPath)) << period;
    }
    Sonic sonic(lisPath, 2, 1, 4, lisb::DefaultSample);
    sonic.Item(6, true, true);
    host.ExpectMessage("Output file is the same as input file :\n" + lisPath);
    CLisToQtx converter;
    EXPECT_EQ(converter.Convert(&sonic.set, lisPath, lisPath), 0);
}

// Frames beyond 65,535 are converted and counted.
TEST_F(LisToQtxTest, EveryFrameOfALongDataSetIsWritten)
{
    Sonic sonic(lisPath, 70000, 1, 1, [](int k, int, int) { return k % 251; });
    sonic.Item(0, false, false);
    CLisToQtx converter;
    converter.m_outputConfirmed = true;
    ASSERT_EQ(converter.Convert(&sonic.set, lisPath, qtxPath), 1);
    const QtxImage out = LoadQtx(qtxPath);
    ASSERT_EQ(out.header.frameCount, 70000u);
    EXPECT_EQ(out.header.bottomDepth, 1000.0 + 0.5 * 69999);
    EXPECT_EQ(out.frames.back(), std::vector<float>{float(69999 % 251)});
}

// The log beside the output: never over the input or the output, an existing one
// replaced only when the user agrees, and nothing written through one not opened.
TEST_F(LisToQtxTest, ALogThatCannotBeOpenedIsNeverWrittenThrough)
{
    const std::string log = dir.File("well.log");
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string input, output, message;
        int answer, opened;
    };
    const Case cases[] = {
        {"a folder in its place", [&] { fs::create_directory(log); }, lisPath, qtxPath, "Could not create log file :\n" + log, IDOK, 0},
        {"the input's name", [] {}, log, qtxPath, "Output file is the same as input file", IDOK, 0},
        {"the output's name", [] {}, lisPath, log, "The conversion log would replace the output file", IDOK, 0},
        {"an existing log kept", [&] { WriteBytes(log, {'o', 'l', 'd'}); }, lisPath, qtxPath, "already exists. Do you want to replace it?", IDNO, 0},
        {"a read-only log kept", [&] { fs::permissions(log, fs::perms::owner_read); }, lisPath, qtxPath, "well.log exists as Read Only. Continue?", IDNO, 0},
        {"a read-only log released", [] {}, lisPath, qtxPath, "well.log exists as Read Only. Continue?", IDYES, 1},
    };
    WriteBytes(lisPath, {0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        if (c.input == log && !fs::is_regular_file(log)) WriteBytes(log, {'o', 'l', 'd'});
        host.ExpectMessage(c.message, c.answer);
        CLisToQtx converter;
        EXPECT_EQ(converter.OpenLog("well.lis", c.output, c.input), c.opened);
        converter.LogDataSet("Xmac", CLisLogicalFile());
        if (fs::is_directory(log)) fs::remove(log);
    }
    EXPECT_EQ(Log().substr(0, 32), "Brontelux Lis To QTX Converter\r\n");
    EXPECT_NE(Log().find("Input file: well.lis\r\nAcoustic Tool: Xmac\r\n\r\nLIS File: \r\n"), std::string::npos);
}

TEST_F(LisToQtxTest, AStopDeletesTheOutputAndKeepsTheLog)
{
    for (int answer : {IDYES, IDNO}) {
        Sonic sonic(lisPath, 6, 1, 4, lisb::DefaultSample);
        sonic.Item(21, false, false);
        if (answer == IDNO) host.ExpectMessage("well.log already exists", IDYES);
        host.ScriptDialog(kIddProgress).Pumps(3).Press(IDCANCEL);
        host.ExpectMessage("Are you sure you want to stop the conversion?", answer);
        {
            CLisToQtx converter;
            converter.m_outputConfirmed = true;
            ASSERT_EQ(converter.OpenLog("well.lis", qtxPath, lisPath), 1);
            EXPECT_EQ(converter.Convert(&sonic.set, lisPath, qtxPath), answer == IDYES ? 0 : 1);
        }
        EXPECT_EQ(fs::exists(qtxPath), answer == IDNO);
        EXPECT_EQ(Log().substr(0, 32), "Brontelux Lis To QTX Converter\r\n");
    }
    EXPECT_EQ(LoadQtx(qtxPath).header.frameCount, 6u);
}

// Curves in every number code come out as their values; channels whose code holds no
// numbers (a mask, codes the format does not define) are no items, and the log names them.
TEST_F(LisToQtxTest, CurvesOfEveryNumberCodeConvertAndChannelsWithoutNumbersAreLeftOutAndLogged)
{
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}}).WriteDit(dir.Path()));
    // Per channel: its values in frame 0, negated in odd frames.
    const std::vector<std::vector<double>> values = {
        {1.0, -153.0, 32752.0, 1.0 / 2048},          // 49
        {-0.25, 153.0, 32767.0 / 32768 * 0x1p128},   // 50
        {153.25, -32767.5, 1.0 / 65536},             // 70
        {0}, {0},                                    // 77, 170
        {12.0, -7.0},                                // 79
    };
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {Channel("GR", "GAPI", 8, 1, 49), Channel("CALI", "IN", 12, 1, 50), Channel("SP", "MV", 12, 1, 70),
                  Channel("FLAG", "", 4, 1, 77),   Channel("ODD", "", 2, 1, 170),   Channel("BS", "IN", 4, 1, 79)};
    auto sample = [&](int frame, int channel, int element) {
        const auto& v = values[size_t(channel)];
        return size_t(element) < v.size() ? (frame % 2 ? -v[size_t(element)] : v[size_t(element)]) : 0.0;
    };
    LisBuilder b;
    b.FileHeader("WAVE  .001").Dfsr(d).Data(d, 1000.0, 0.5, 3, sample).FileTrailer("WAVE  .001");
    b.Write(lisPath);
    CLisLogicalFileList files;
    CLisParamScan scan;
    ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
    ASSERT_EQ(files.size(), 1u);
    CLisLogicalFile& file = *files[0];
    std::vector<std::string> items;
    for (const auto& item : file.m_items) {
        items.push_back(Format("%s %d", item->m_mnemonic.c_str(), int(item->m_samplesPerWaveform)));
        item->m_selected = 1;
    }
    // The sample counts follow each code's element size.
    EXPECT_EQ(items, (std::vector<std::string>{"GR 4", "CALI 3", "SP 3", "BS 2"}));

    {
        CLisToQtx converter; // its end commits the log
        converter.m_outputConfirmed = true;
        ASSERT_EQ(converter.OpenLog("well.lis", qtxPath, lisPath), 1);
        converter.LogDataSet("Dsi", file);
        ASSERT_EQ(converter.Convert(&file, lisPath, qtxPath), 1);
    }
    const QtxImage out = LoadQtx(qtxPath);
    ASSERT_EQ(out.frames.size(), 3u);
    for (size_t k = 0; k < out.frames.size(); ++k) {
        std::vector<float> want;
        for (size_t c : {0, 1, 2, 5})
            for (double v : values[c]) want.push_back(float(k % 2 ? -v : v));
        EXPECT_EQ(out.frames[k], want) << "frame " << k;
    }
    EXPECT_NE(Log().find("Depth Range: 1000.0000 - 1001.0000 F\r\n"
                         "Channel FLAG left out: representation code 77 holds no numbers\r\n"
                         "Channel ODD left out: representation code 170 holds no numbers\r\n"),
              std::string::npos)
        << Log();
}

// The command: input, tool, scan, items, output, log, conversion.
TEST_F(LisToQtxTest, TheCommandProposesTheOutputAndWritesTheLogBesideIt)
{
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}}).WriteDit(dir.Path()));
    lisb::Dfsr d;
    d.direction = lis::kLogDown;
    d.channels = {Channel("GR", "GAPI")};
    LisBuilder b;
    b.FileHeader("WAVE  .001").Dfsr(d).Data(d, 1000.0, 0.5, 5).FileTrailer("WAVE  .001");
    b.Write(lisPath);
    CLisLogicalFileList files;
    CLisParamScan scan;
    ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
    const std::string node = CSelectInputFileItemsDlg::NodeText(*files.at(0));
    const std::string out = dir.File("well_WAVE_001.qtx");

    enum { kNoData, kNothingChosen, kConverted };
    for (int step : {kNoData, kNothingChosen, kConverted}) {
        if (step == kNoData) WriteBytes(dir.File("empty.lis"), LisBuilder().FileHeader().FileTrailer().Bytes());
        host.ExpectFileDialog("Browse Input File", step == kNoData ? dir.File("empty.lis") : lisPath);
        host.ScriptDialog(kIddSelectTool).Radio(CSelectToolDlg::kIdcDsi).Press(IDOK);
        if (step == kNoData) {
            host.ExpectMessage("Nothing found to convert in file :\n" + dir.File("empty.lis") +
                               "\nIt holds no logical file with depth frames and channels the chosen tool or a "
                               "curve can take.");
        } else {
            DialogScript& items = host.ScriptDialog(kIddSelectInputFileItems);
            if (step == kConverted) items.SelectNode(CSelectInputFileItemsDlg::kIdcTree, node).Press(CSelectInputFileItemsDlg::kIdcAdd);
            items.Press(IDOK);
        }
        if (step == kNothingChosen) host.ExpectMessage("Output List Empty!       ");
        if (step == kConverted) host.ExpectFileDialog("Browse Output File", out);
        CLisToQtx().Run(dir.Path());
    }
    ASSERT_FALSE(host.FileDialogs().empty());
    EXPECT_EQ(host.FileDialogs().back().options.initialName, dir.File("well_WAVE_001"));
    EXPECT_EQ(CLisToQtx::DefaultOutputName("/data/run.2/well.lis", "WAVE  .001"), "well_WAVE_001");
    EXPECT_EQ(CLisToQtx::DefaultOutputName("WELL", "A B.C.D"), "WELL_AB.C_D");
    EXPECT_EQ(CLisToQtx::LogPath("/data/run.2/out"), "/data/run.2/out.log");
    const QtxImage image = LoadQtx(out);
    EXPECT_EQ(image.depths, (std::vector<double>{1000.0, 1000.5, 1001.0, 1001.5, 1002.0}));
    const auto bytes = ReadBytes(dir.File("well_WAVE_001.log"));
    const std::string log(bytes.begin(), bytes.end());
    EXPECT_NE(log.find(" Hrs.\r\nInput file: well.lis\r\nAcoustic Tool: Dsi\r\n\r\nLIS File: WAVE  .001\r\n"
                       "Depth Range: 1000.0000 - 1002.0000 F\r\n"),
              std::string::npos)
        << log;
}

} // namespace
