// Whole files through the scan and the conversion: each tool's file, checked value by
// value against the LIS values its traces came from; a data set exported as LIS and
// converted back; every public LIS file converted right or refused with a message.
#include "ToolFiles.h"
#include "lis/FwsSamplePeriodDlg.h"
#include "lis/LisDictionary.h"
#include "lis/LisParamScan.h"
#include "lis/LisToQtx.h"
#include "lis/LssSamplePeriodDlg.h"
#include "lis/QtxToLis.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "res/FwsSamplePeriodDlgIds.h"
#include "res/LssSamplePeriodDlgIds.h"
#include "support/HostFixture.h"
#include "support/LisDictionaryBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

namespace fs = std::filesystem;

namespace {

using namespace toolfiles;
using lis::to_qtx::Variant;
constexpr float kAbsent = -999.25f;

// Frame `k`'s value of element j of a channel slice, from the DFSR's layout (the depth
// channel first) and the builder's sample rule; nothing past the slice.
std::optional<double> LisValue(const lisb::Dfsr& d, int k, const CLisChannelItem& slice, int j)
{
    const int size = lisb::CodeSize(slice.m_reprCode);
    if (uint32_t(j + 1) * uint32_t(size) > slice.m_size) return std::nullopt;
    uint32_t offset = 4;
    for (size_t c = 0; c < d.channels.size(); offset += d.channels[c++].size)
        if (slice.m_offset >= offset && slice.m_offset < offset + d.channels[c].size)
            return lisb::DefaultSample(k, int(c), int((slice.m_offset - offset) / uint32_t(size)) + j);
    return std::nullopt;
}

// Checks every trace of every item converted from the builder's file of `d`: the LIS
// samples times the gain (or multiplier) of the frame, placed behind the delay or start
// time; absent values where the file holds none.
void ExpectTraces(const QtxImage& out, const lisb::Dfsr& d, const std::vector<CWaveformPickItem*>& items)
{
    ASSERT_EQ(out.descriptors.size(), items.size());
    for (size_t f = 0; f < out.frames.size(); ++f) {
        const int k = int(f);
        for (size_t i = 0; i < items.size(); ++i) {
            const CWaveformPickItem& item = *items[i];
            const QtxDatumDescriptor& desc = out.descriptors[i];
            ASSERT_EQ(desc.traceCount, item.m_receiverCount);
            const int length = item.TraceSamples(), n = item.m_samplesPerWaveform;
            for (int r = 0; r < item.m_receiverCount; ++r) {
                auto value = [&](const CLisChannelList& list) {
                    return size_t(r) < list.size() ? LisValue(d, k, *list[size_t(r)], 0).value_or(0) : 0.0;
                };
                const Variant variant = lis::to_qtx::VariantOf(item.m_typeCode);
                double factor = 1.0;
                int64_t start = variant == Variant::Plain ? 0 : item.m_fixedDelay;
                if (variant == Variant::Factor)
                    factor = !item.m_startTimeChannels.empty() ? value(item.m_startTimeChannels)
                                                               : std::pow(10.0, -0.1 * value(item.m_gainChannels));
                if (variant == Variant::GainAndStart) start = int64_t(value(item.m_startTimeChannels) / item.m_samplePeriod);
                if (variant == Variant::GainAndStart || variant == Variant::CheckedGain3)
                    factor = std::pow(10.0, -0.15 * value(item.m_gainChannels));
                if (variant == Variant::CheckedGain1) factor = std::pow(10.0, -0.05 * value(item.m_gainChannels));
                for (int s = 0; s < length; ++s) {
                    const int j = int(s - start);
                    const CLisChannelItem* channel = item.WaveChannel(size_t(r));
                    const std::optional<double> v = channel && j >= 0 && j < n ? LisValue(d, k, *channel, j) : std::nullopt;
                    double want = v ? *v * factor : !channel || (j >= 0 && j < n) || variant == Variant::Plain ? kAbsent : 0.0;
                    const float got = out.frames[f][(desc.offset - 8) / 4 + size_t(r * length + s)];
                    ASSERT_NEAR(got, want, 1e-5 * std::max(1.0, std::fabs(want)))
                        << Format("%s frame %d receiver %d sample %d", item.m_itemLabel.c_str(), k, r, s);
                }
            }
        }
    }
}

class LisToQtxEndToEndTest : public HostTest {
protected:
    TempDir dir;
    std::string lisPath = dir.File("tool.lis");
    std::string qtxPath = dir.File("tool.qtx");

    // Builds the tool's file, scans it with the dictionary in `dir` (its items summarised
    // as `items` when given), converts every item and checks every value.
    void ConvertToolFile(const ToolFile& t, const std::vector<std::string>* items = nullptr)
    {
        lisb::Dfsr d;
        d.channels = t.channels;
        d.maxFrames = 3;
        LisBuilder b(t.framing);
        b.ReelHeader().TapeHeader().FileHeader("TOOL.001");
        if (!t.cons.empty()) b.Table("CONS", t.cons);
        if (!t.dim.empty()) b.Table("DIM", t.dim);
        b.Dfsr(d);
        for (int r = 0; r < 2; ++r) {
            const auto record = lisb::DataRecord(d, 1000.0 - 1.5 * r, -0.5, 3, lisb::DefaultSample, 3 * r);
            b.Record(record, std::vector<size_t>((record.size() - 1) / 4000, 4000), lisb::kChecksum);
        }
        b.FileTrailer("TOOL.001").FileMark().TapeTrailer().ReelTrailer().FileMark().FileMark();
        b.Write(lisPath);
        if (t.tool == lis::kToolLss) host.ScriptDialog(kIddLssSamplePeriod).Radio(CLssSamplePeriodDlg::kIdc8us).Press(IDOK);
        if (t.tool == lis::kToolFws) host.ScriptDialog(kIddFwsSamplePeriod).Radio(CFwsSamplePeriodDlg::kIdc8us).Press(IDOK);
        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), t.tool), 1);
        ASSERT_EQ(files.size(), 1u);
        if (items) {
            std::vector<std::string> got;
            for (const auto& item : files[0]->m_items) got.push_back(Summary(*item));
            EXPECT_EQ(got, *items);
        }
        const auto converted = ConvertAll(*files[0]);
        const QtxImage out = LoadQtx(qtxPath);
        EXPECT_EQ(out.depths, (std::vector<double>{1000.0, 999.5, 999.0, 998.5, 998.0, 997.5}));
        EXPECT_EQ(out.header.logDirection, qtx::kLogUp);
        ExpectTraces(out, d, converted);
    }

    // Selects every item of the first data set and converts it; nullptr-free result.
    std::vector<CWaveformPickItem*> ConvertAll(CLisLogicalFile& file, int expected = 1)
    {
        for (auto& item : file.m_items) item->m_selected = 1;
        CLisToQtx converter;
        converter.m_outputConfirmed = true;
        EXPECT_EQ(converter.Convert(&file, lisPath, qtxPath), expected);
        return CLisToQtx::SelectedItems(file);
    }
};

TEST_F(LisToQtxEndToEndTest, EachToolsFileConvertsIntoTheValuesItsChannelsHold)
{
    for (const ToolFile& t : kToolFiles) {
        SCOPED_TRACE(t.dictionary[0]);
        LisDictionaryBuilder dictionary;
        dictionary.Depth({"DEPT"});
        for (const auto& line : t.dictionary) dictionary.Line(line);
        ASSERT_TRUE(dictionary.Line("END::").WriteDit(dir.Path()));
        ConvertToolFile(t);
    }
}

// The example dictionary the repository holds, imported as a user would (saved with
// any line ends, its last line with or without one), makes each tool's items of its
// file, and the data set holds their values.
TEST_F(LisToQtxEndToEndTest, TheExampleDictionaryImportsWithAnyLineEndsAndConvertsEachToolsFile)
{
    const std::vector<uint8_t> example = ReadBytes(BRONTE_EXAMPLES "/tool-dictionary.txt");
    ASSERT_FALSE(example.empty());
    std::string lf(example.begin(), example.end());
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    auto withEnds = [&](const std::string& end, bool finalEnd) {
        std::string text;
        for (char c : lf) text += c == '\n' ? end : std::string(1, c);
        if (!finalEnd) text.resize(text.size() - end.size());
        return text;
    };
    const std::string source = dir.File("tool-dictionary.txt");
    size_t entries = 0;
    for (const auto& [end, finalEnd] : {std::pair{"\r\n", true}, {"\n", true}, {"\r", true}, {"\n", false}, {"\r\n", false}}) {
        SCOPED_TRACE(Format("%zu-byte line ends, final one %d", std::string(end).size(), int(finalEnd)));
        const std::string text = withEnds(end, finalEnd);
        WriteBytes(source, std::vector<uint8_t>(text.begin(), text.end()));
        host.ExpectFileDialog("Dictionary File to Import", source);
        ASSERT_TRUE(OkOrShow(CLisDictionary().Import(dir.Path())));
        CLisDictionary loaded;
        ASSERT_EQ(loaded.Load(dir.Path()), 1);
        if (entries == 0) entries = loaded.Entries().size();
        EXPECT_EQ(loaded.Entries().size(), entries);
        // Every tool the program recognises has its entries.
        for (const char* tool : {"DepthMnemonics", "Xmac", "Apx", "DAL", "Dsi", "SLT", "Qslt", "Isonic", "Wavesonic", "Bat",
                                 "Fws", "Scout", "LSS", "Dslt", "QTX"}) {
            std::vector<CLisDictionaryEntry*> found;
            EXPECT_EQ(loaded.FindTool(found, tool), 1) << tool;
        }
    }
    for (const ToolFile& t : kToolFiles) {
        SCOPED_TRACE(t.dictionary[0]);
        ConvertToolFile(t, &t.items);
    }
}

// Exported as LIS (code 68 values) and converted back: the same datums, depths and values.
TEST_F(LisToQtxEndToEndTest, ADataSetExportedAsLisComesBackWithItsDatumsAndValues)
{
    ASSERT_TRUE(LisDictionaryBuilder()
                    .Depth({"DEPT"})
                    .Section("~QTX", {{"MON1", "MNS", "MSP", "", "MNR", "WMNO"}, {"WMNO", "MNS", "MSP", "", "MNR", "WMNO"},
                                      {"DXX1", "DXNS", "DXSP", "", "DXNR", "WDXX"}, {"WDXX", "DXNS", "DXSP", "", "DXNR", "WDXX"},
                                      {"SMNO", "SPNS", "SPSP", "SPSD", "", "SMNO"}})
                    .WriteDit(dir.Path()));
    const std::string original = dir.File("set.qtx");
    ASSERT_TRUE(WriteQtx(original,
                         {{.mnemonic = "WMNO", .typeCode = 1, .traces = 8, .samples = 64},
                          {.mnemonic = "WDXX", .typeCode = 7, .traces = 4, .samples = 32, .step = 20.3174f},
                          {.mnemonic = "SMNO", .typeCode = 31, .category = 3, .samples = 10, .step = 40.0f}},
                         7, 2000.0, 0.25, [](int k, int datum, size_t i) { return float(k * 1000 + datum * 100) - float(i) * 0.37f; }));
    for (int perReceiver : {0, 1}) {
        SCOPED_TRACE(perReceiver);
        host.ScriptDialog(kIddWaveformPack).Radio(perReceiver == 1 ? 1137 : 1136).Press(IDOK);
        {
            CQtxToLis exporter;
            ASSERT_EQ(exporter.Convert(original, lisPath), 1);
            ASSERT_TRUE(OkOrShow(exporter.m_writer.Close()));
        }
        CLisLogicalFileList files;
        CLisParamScan scan;
        ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolQtxWritten), 1);
        ASSERT_EQ(files.size(), 1u);
        ConvertAll(*files[0]);
        const QtxImage a = LoadQtx(original), b = LoadQtx(qtxPath);
        EXPECT_EQ(std::tuple(b.header.logDirection, b.header.depthUnits, b.header.frameCount, b.header.frameSize, b.header.depthStep),
                  std::tuple(a.header.logDirection, a.header.depthUnits, a.header.frameCount, a.header.frameSize, a.header.depthStep));
        EXPECT_EQ(b.depths, a.depths);
        ASSERT_EQ(b.descriptors.size(), a.descriptors.size());
        for (size_t i = 0; i < a.descriptors.size(); ++i) {
            const QtxDatumDescriptor &x = a.descriptors[i], &y = b.descriptors[i];
            EXPECT_EQ(Format("%.4s %d %d %d %u %u %d %d %.4f", y.mnemonic, y.typeCode, y.category, y.traceCount, y.offset, y.size,
                             y.axis1.unit, y.axis1.sampleCount, double(y.axis1.step)),
                      Format("%.4s %d %d %d %u %u %d %d %.4f", x.mnemonic, x.typeCode, x.category, x.traceCount, x.offset, x.size,
                             x.axis1.unit, x.axis1.sampleCount, double(x.axis1.step)));
        }
        ASSERT_EQ(b.frames.size(), a.frames.size());
        for (size_t k = 0; k < a.frames.size(); ++k)
            for (size_t i = 0; i < a.frames[k].size(); ++i) // code 68 keeps 23 bits of fraction
                ASSERT_NEAR(b.frames[k][i], a.frames[k][i], 2.4e-7 * std::fabs(a.frames[k][i])) << k << ":" << i;
    }
}

// Values code 68 cannot hold leave as the absent value, counted in the end message;
// the largest it holds and ordinary values come back as they were.
TEST_F(LisToQtxEndToEndTest, ValuesCode68CannotHoldComeBackAsAbsentValuesAndAreCounted)
{
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT"}).Section("~QTX", {{"WMNO", "MNS", "MSP", "", "MNR", "WMNO"}}).WriteDit(dir.Path()));
    const float inf = std::numeric_limits<float>::infinity(), big = 1.70141183e38f; // 2^127
    const std::vector<float> sent = {std::nanf(""), inf, -inf, 3e38f, -3e38f, big, std::nextafter(big, 0.0f),
                                     1.7e38f, -1.7e38f, 0.0f, -12.5f, 1234.75f};
    const std::vector<float> back = {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, std::nextafter(big, 0.0f),
                                     1.7e38f, -1.7e38f, 0.0f, -12.5f, 1234.75f};
    const std::string original = dir.File("set.qtx");
    ASSERT_TRUE(WriteQtx(original, {{.mnemonic = "WMNO", .typeCode = 1, .traces = 1, .samples = uint16_t(sent.size())}}, 3,
                         2000.0, 0.25, [&](int, int, size_t i) { return sent[i]; }));
    host.ExpectFileDialog("Browse Qtx Input File", original);
    host.ExpectFileDialog("Browse Lis Output File", lisPath);
    host.ScriptDialog(kIddWaveformPack).Press(IDOK);
    host.ExpectMessage(Format("Wrote 18 value(s) that LIS code 68 cannot hold (not a number, infinite, or of magnitude "
                              "2^127 or more) as absent values (-999.25) in file :\n%s", lisPath.c_str()));
    CQtxToLis exporter;
    exporter.Run();
    EXPECT_EQ(exporter.AbsentWritten(), 18);

    CLisLogicalFileList files;
    CLisParamScan scan;
    ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolQtxWritten), 1);
    ASSERT_EQ(files.size(), 1u);
    ConvertAll(*files[0]);
    const QtxImage out = LoadQtx(qtxPath);
    ASSERT_EQ(out.frames.size(), 3u);
    for (const auto& frame : out.frames) {
        ASSERT_EQ(frame.size(), back.size());
        for (size_t i = 0; i < back.size(); ++i) // code 68 keeps 23 bits of fraction
            EXPECT_NEAR(frame[i], back[i], 2.4e-7 * std::fabs(back[i])) << "value " << i;
    }
}

// Every public LIS file (and every curve record joined between headers and trailers)
// scanned with a tool and each data set converted: either the data set holds exactly
// the values its channels hold, or a message said why there is none.
TEST_F(LisToQtxEndToEndTest, EveryPublicFileIsConvertedRightOrRefusedWithAMessage)
{
    const std::string shared = SharedDataDir();
    if (shared.empty() || !fs::is_directory(shared + "/lis")) GTEST_SKIP() << "../shared/data/lis is absent";
    ASSERT_TRUE(LisDictionaryBuilder().Depth({"DEPT", "INDX"}).Section("~DSI", {{"DX", "GN", "NRM", "NS", "PER", "NR", "DIP", "DSIMONO"}}).WriteDit(dir.Path()));
    std::vector<std::pair<std::string, std::vector<uint8_t>>> inputs;
    for (const auto& e : fs::recursive_directory_iterator(shared + "/lis"))
        if (e.is_regular_file() && e.path().extension() == ".lis") inputs.push_back({e.path().filename().string(), ReadBytes(e.path().string())});
    // Each DFSR part joined with the data parts of its kind between headers and trailers.
    const std::string records = shared + "/lis/records/";
    auto join = [&](std::vector<std::string> parts) {
        std::vector<uint8_t> bytes;
        parts.insert(parts.begin(), {"RHLR-1", "THLR-1", "FHLR-1"});
        parts.insert(parts.end(), {"FTLR-1", "TTLR-1", "RTLR-1"});
        for (const auto& p : parts)
            for (uint8_t c : ReadBytes(records + p + ".lis.part")) bytes.push_back(c);
        return bytes;
    };
    for (const auto& e : fs::directory_iterator(records + "curves")) {
        const std::string name = e.path().stem().stem().string(); // "dfsr-fast-int"
        if (name.rfind("dfsr-", 0) != 0) continue;
        std::vector<std::string> parts = {"curves/" + name};
        for (const auto& data : fs::directory_iterator(records + "curves"))
            if (data.path().filename().string().rfind("fdata-" + name.substr(5, name.find('-', 5) - 5), 0) == 0)
                parts.push_back("curves/" + data.path().stem().stem().string());
        inputs.push_back({name, join(parts)});
    }
    ASSERT_GT(inputs.size(), 80u);
    int converted = 0;
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        ScriptedHost quiet; // any question of the scan is answered with Cancel
        int told = 0;
        quiet.onUnexpected = [&](const std::string&) { ++told; };
        ScopedHost scope(&quiet);
        WriteBytes(lisPath, bytes);
        fs::remove(qtxPath);
        CLisLogicalFileList files;
        CLisParamScan scan;
        if (!scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi) || files.empty()) {
            EXPECT_TRUE(files.empty());
            // The command says "Nothing found to convert in file" when the scan told nothing.
            continue;
        }
        for (auto& file : files) {
            for (auto& item : file->m_items) item->m_selected = 1;
            const int before = told;
            CLisToQtx converter;
            converter.m_outputConfirmed = true;
            if (!converter.Convert(file.get(), lisPath, qtxPath)) {
                EXPECT_GT(told, before) << "refused without a message";
                EXPECT_FALSE(fs::exists(qtxPath)) << "a refused data set leaves no output";
                continue;
            }
            ++converted;
            // Every value is the channel's value as the reader decodes it, at every depth.
            const QtxImage out = LoadQtx(qtxPath);
            ASSERT_EQ(out.depths.size(), file->m_depths.size());
            CLisRead reader;
            ASSERT_TRUE(reader.Open(lisPath).Ok());
            std::vector<float> values(65536);
            const auto items = CLisToQtx::SelectedItems(*file);
            for (size_t k = 0; k < file->m_depths.size(); ++k) {
                const CLisDepthEntry& e = file->m_depths[k];
                EXPECT_EQ(out.depths[k], e.m_depth);
                size_t at = 0;
                for (const CWaveformPickItem* item : items) {
                    for (int r = 0; r < item->m_receiverCount; ++r) {
                        const CLisChannelItem* c = item->WaveChannel(size_t(r));
                        const LisChannelSlice slice{c->m_offset, c->m_size, c->m_reprCode};
                        const bool read = reader.ReadChannel(values.data(), values.size(), {e.m_recordPosition, e.m_dataLength, e.m_frameOffset, e.m_depth}, slice).Ok();
                        for (int s = 0; s < item->TraceSamples(); ++s, ++at) {
                            const bool text = lis::Is(c->m_reprCode, lis::ReprCode::Text);
                            const float want = read && !text && uint32_t(s) < slice.ElementCount() ? values[size_t(s)] : kAbsent;
                            ASSERT_EQ(out.frames[k][at], want) << item->m_mnemonic << " frame " << k << " sample " << s;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GE(converted, 8);

    // Depths once per record in tenths of an inch, and the values the records hold.
    const std::vector<uint8_t> bytes = join({"curves/dfsr-depth-dir-down", "curves/fdata-depth-down-PR-2", "curves/fdata-depth-down-PR-1",
                                             "curves/fdata-depth-down-PR1", "curves/fdata-depth-down-PR2", "curves/fdata-depth-down-PR3"});
    WriteBytes(lisPath, bytes);
    CLisLogicalFileList files;
    CLisParamScan scan;
    ASSERT_EQ(scan.Scan(lisPath, &files, dir.Path(), lis::kToolDsi), 1);
    ASSERT_EQ(files.size(), 1u);
    ConvertAll(*files[0]);
    const QtxImage out = LoadQtx(qtxPath);
    std::vector<double> depths, values;
    for (size_t k = 0; k < out.depths.size(); ++k) {
        depths.push_back(std::round(out.depths[k] * 120.0));
        values.push_back(out.frames[k].at(0));
    }
    EXPECT_EQ(depths, (std::vector<double>{-3, -2, -1, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(values, (std::vector<double>{12, 13, 14, 15, 16, 17, 18, 19, 20}));

    // Each depth DFSR with every data part in name order: records that turn back and run on
    // bear out no coarser step than EB 8, and no frame is lost to one.
    std::vector<std::string> data;
    for (const auto& e : fs::directory_iterator(records + "curves"))
        if (e.path().filename().string().rfind("fdata-", 0) == 0) data.push_back("curves/" + e.path().stem().stem().string());
    std::sort(data.begin(), data.end());
    const struct {
        const char* dfsr;
        size_t frames;
    } joins[] = {{"dfsr-depth-conversion", 97}, {"dfsr-depth-dir-down", 97}, {"dfsr-depth-dir-up", 97},
                 {"dfsr-depth-dir-no", 97},     {"dfsr-depth-dir-none", 97}, {"dfsr-depth-dir-invalid", 97},
                 {"dfsr-fast-depth", 57}};
    for (const auto& j : joins) {
        std::vector<std::string> parts = {std::string("curves/") + j.dfsr};
        parts.insert(parts.end(), data.begin(), data.end());
        WriteBytes(lisPath, join(parts));
        CLisLogicalFileList joined;
        CLisParamScan again;
        ASSERT_EQ(again.Scan(lisPath, &joined, dir.Path(), lis::kToolDsi), 1) << j.dfsr;
        ASSERT_EQ(joined.size(), 1u) << j.dfsr;
        EXPECT_EQ(joined[0]->m_depths.size(), j.frames) << j.dfsr;
        EXPECT_FALSE(joined[0]->m_spacingOverruled) << j.dfsr << ": " << joined[0]->m_spacingRuling;
    }
}

} // namespace
