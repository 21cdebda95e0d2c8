#include "lis/LisParamScan.h"

#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A stand-in recogniser: takes the first free channel named `takes` into a waveform
// item and answers `result`.
struct FakeTool {
    static inline int result = 1;
    static inline std::string takes = "WAVE";
    static inline int calls = 0;
    static int Recognise(CLisScanState& scan, CLisLogicalFile& file, int)
    {
        ++calls;
        for (CLisChannelItem* c : scan.m_channelList)
            if (!c->m_used && c->m_mnemonic == takes) {
                c->m_used = 1;
                auto item = std::make_unique<CWaveformPickItem>();
                item->m_itemLabel = "FAKE";
                item->m_category = 1;
                file.m_items.push_back(std::move(item));
                break;
            }
        return result;
    }
};

// The scan with a dictionary that is always there and the fake recogniser for every tool.
class TestScan : public CLisParamScan {
public:
    std::vector<int> asked; // recogniser keys looked up
protected:
    int LoadDictionary(const std::string&) override { return 1; }
    LisRecogniser FindRecogniser(int toolCode) override
    {
        asked.push_back(toolCode);
        return &FakeTool::Recognise;
    }
};

lisb::Dfsr WaveDfsr()
{
    lisb::Dfsr d;
    d.channels = {lisb::Channel("WAVE", "", 256, 1, 79), lisb::Channel("DTCO", "US/F"), lisb::Channel("GR", "GAPI")};
    return d;
}

// Header, DFSR and `frames` frames in one data record from `top` by `step`, trailer.
LisBuilder& LogicalFile(LisBuilder& b, const lisb::Dfsr& d, int frames, double top = 1000.0, double step = 0.5,
                        bool trailer = true)
{
    b.FileHeader("BRONTE.001").Dfsr(d);
    if (frames > 0) b.Data(d, top, step, frames);
    if (trailer) b.FileTrailer("BRONTE.001");
    return b;
}

class LisParamScanTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        FakeTool::result = 1;
        FakeTool::takes = "WAVE";
        FakeTool::calls = 0;
    }

    int Run(const Bytes& bytes, int toolCode = lis::kToolDsi)
    {
        const std::string path = dir.File("scan.lis");
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        files.clear();
        scan = std::make_unique<TestScan>();
        return scan->Scan(path, &files, dir.Path(), toolCode);
    }

    std::vector<double> Depths(size_t file = 0) const
    {
        std::vector<double> out;
        for (const auto& e : files.at(file)->m_depths) out.push_back(e.m_depth);
        return out;
    }

    TempDir dir;
    CLisLogicalFileList files;
    std::unique_ptr<TestScan> scan;
};

TEST_F(LisParamScanTest, EmptyFileSucceedsWithNoLogicalFile)
{
    EXPECT_EQ(Run({}), 1);
    EXPECT_TRUE(files.empty());
}

TEST_F(LisParamScanTest, MissingFileFailsSilentlyAndMissingDictionaryIsReported)
{
    CLisLogicalFileList out;
    CLisParamScan plain;
    EXPECT_EQ(plain.Scan(dir.File("absent.lis"), &out, dir.Path(), lis::kToolDsi), 0);

    LisBuilder b;
    LogicalFile(b, WaveDfsr(), 3);
    b.Write(dir.File("a.lis"));
    host.ExpectMessage("Tool Dictionary File Not Found!");
    EXPECT_EQ(plain.Scan(dir.File("a.lis"), &out, dir.Path(), lis::kToolDsi), 0);
    EXPECT_TRUE(out.empty());
}

TEST_F(LisParamScanTest, DispatchesOnTypeAndAttributeByteBothFramings)
{
    for (int framing : {lisb::kPlainFraming, lisb::kTifFraming}) {
        SCOPED_TRACE(framing);
        FakeTool::calls = 0;
        const lisb::Dfsr d = WaveDfsr();
        Bytes stray = lisb::DataRecord(d, 5.0, 0.5, 2);
        Bytes flagged = lisb::DataRecord(d, 7.0, 0.5, 2);
        flagged[1] = 1; // attribute byte set: matches no handler
        Bytes flaggedHeader = lisb::FileRecord(128);
        flaggedHeader[1] = 0x80;
        LisBuilder b(framing);
        b.ReelHeader().TapeHeader().Record(stray) // before any file header: skipped
            .FileHeader("BRONTE.001").Record(flaggedHeader).Dfsr(d).Record(flagged)
            .Comment("ignored").Record({47, 0, 1, 2, 3}) // table dump: accepted, ignored
            .Data(d, 1000.0, 0.5, 3).FileTrailer("BRONTE.001").TapeTrailer().ReelTrailer();
        ASSERT_EQ(Run(b.Bytes()), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(Depths(), (std::vector<double>{1000.0, 1000.5, 1001.0}));
        EXPECT_EQ(files[0]->m_fileName, "BRONTE.001");
        EXPECT_EQ(files[0]->m_maxPhysicalRecord, 8192u);
        EXPECT_EQ(files[0]->m_framing, framing);
        EXPECT_EQ(FakeTool::calls, 1);
    }
}

TEST_F(LisParamScanTest, TwoLogicalFilesEachGetTheirItemsAndDepthEntriesKeepTheirRecords)
{
    const lisb::Dfsr d = WaveDfsr();
    LisBuilder b(lisb::kTifFraming);
    LogicalFile(b, d, 2, 100.0);
    LogicalFile(b, d, 4, 200.0);
    ASSERT_EQ(Run(b.Bytes()), 1);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(FakeTool::calls, 2);
    for (const auto& f : files) EXPECT_EQ(f->m_items.size(), 3u) << "WAVE, then DTCO and GR as curves";
    EXPECT_EQ(Depths(1), (std::vector<double>{200.0, 200.5, 201.0, 201.5}));
    const uint32_t frame = d.FrameBytes();
    const auto& e = files[1]->m_depths[2];
    EXPECT_EQ(e.m_recordPosition, b.Starts()[b.Starts().size() - 2]);
    EXPECT_EQ(e.m_dataLength, 4 * frame);
    EXPECT_EQ(e.m_frameOffset, 2 * frame);
    EXPECT_EQ(files[1]->m_channels.size(), 4u) << "DEPT and the three channels, owned by their file";
}

TEST_F(LisParamScanTest, TwoFileMarksEndTheScanWhateverFollows)
{
    LisBuilder b(lisb::kTifFraming);
    LogicalFile(b, WaveDfsr(), 2);
    b.FileMark().FileMark().Raw(Bytes(100, 0xEE));
    EXPECT_EQ(Run(b.Bytes()), 1);
    EXPECT_EQ(files.size(), 1u);
}

TEST_F(LisParamScanTest, CleanUpDropsFilesWithoutDepthsAndInfersDirection)
{
    struct Case {
        uint8_t direction;
        double step;
        uint8_t expected;
    } cases[] = {{0, 0.5, lis::kLogDown}, {0, -0.5, lis::kLogUp}, {1, 0.5, lis::kLogUp}, {255, -0.5, lis::kLogDown}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.direction));
        lisb::Dfsr d = WaveDfsr();
        d.direction = c.direction;
        LisBuilder b;
        LogicalFile(b, d, 0);                     // no data: dropped
        LogicalFile(b, d, 3, 1000.0, c.step);
        LogicalFile(b, d, 3, 500.0, 0.5, false); // no trailer: kept, no items
        ASSERT_EQ(Run(b.Bytes()), 1);
        ASSERT_EQ(files.size(), 2u);
        EXPECT_EQ(files[0]->m_upDown, c.expected);
        EXPECT_EQ(files[0]->m_items.size(), 3u);
        EXPECT_TRUE(files[1]->m_items.empty());
        EXPECT_EQ(scan->m_upDownText, files[1]->m_upDown == lis::kLogUp ? "UP" : "DOWN");
    }
}

TEST_F(LisParamScanTest, EqualConsecutiveDepthsKeepTheLaterEntry)
{
    const lisb::Dfsr d = WaveDfsr();
    LisBuilder b;
    b.FileHeader("BRONTE.001").Dfsr(d).Data(d, 1000.0, 0.5, 1).Data(d, 1000.0, 0.5, 2).FileTrailer("BRONTE.001");
    ASSERT_EQ(Run(b.Bytes()), 1);
    EXPECT_EQ(Depths(), (std::vector<double>{1000.0, 1000.5}));
    EXPECT_EQ(files[0]->m_depths[0].m_recordPosition, b.Starts()[3]) << "the entry of the second record stays";
}

TEST_F(LisParamScanTest, DepthStepIsRoundedAndFillsAMissingFrameSpacing)
{
    struct Case {
        double spacing;
        double step;
        int frames;
        double expectedStep;
        double expectedSpacing;
    } cases[] = {
        {0.0, 0.5, 3, 0.5, 0.5},       // no spacing in the DFSR: the measured step
        {0.25, 0.1, 4, 0.1, 0.25},     // floats of 0.1 steps round to 0.1
        {0.0, 1.0 / 3.0, 4, 0.3333, 0.3333},
        {0.5, 2.0, 1, 0.5, 0.5},       // one entry: the frame spacing
        {0.0, 2.0, 1, 0.0, 0.0},       // one entry, no spacing: 0, no division
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        lisb::Dfsr d = WaveDfsr();
        d.spacing = c.spacing;
        LisBuilder b;
        LogicalFile(b, d, c.frames, 1000.0, c.step);
        ASSERT_EQ(Run(b.Bytes()), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_DOUBLE_EQ(scan->m_depthStep, c.expectedStep);
        EXPECT_DOUBLE_EQ(files[0]->m_frameSpacing, c.expectedSpacing);
    }
}

TEST_F(LisParamScanTest, DepthOnceRecordsGiveEveryFrameItsEntry)
{
    struct Case {
        uint8_t direction;
        uint8_t code;
        std::string units;
        double first;
        std::vector<double> depths;
    } cases[] = {
        {1, 68, "FT", 1000.0, {1000.0, 999.5, 999.0}},
        {255, 73, "FT", 1000.0, {1000.0, 1000.5, 1001.0}},
        {255, 79, ".1IN", 12000.0, {100.0, 100.5, 101.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.code));
        lisb::Dfsr d = WaveDfsr();
        d.depthOnce = true;
        d.direction = c.direction;
        d.depthCode = c.code;
        d.depthUnits = c.units;
        LisBuilder b;
        LogicalFile(b, d, 3, c.first);
        ASSERT_EQ(Run(b.Bytes()), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(Depths(), c.depths);
        const uint32_t depthSize = c.code == 79 ? 2 : 4;
        for (uint32_t k = 0; k < 3; ++k) {
            EXPECT_EQ(files[0]->m_depths[k].m_frameOffset, depthSize + k * d.FrameBytes());
            EXPECT_EQ(files[0]->m_depths[k].m_dataLength, 3 * d.FrameBytes());
        }
        EXPECT_EQ(scan->m_frameCount, 3u);
    }
}

TEST_F(LisParamScanTest, DepthFactorOfTheDepthChannelScalesEveryFrame)
{
    lisb::Dfsr d = WaveDfsr();
    d.depthUnits = "IN";
    d.depthCode = 73;
    LisBuilder b;
    LogicalFile(b, d, 3, 120.0, 6.0);
    ASSERT_EQ(Run(b.Bytes()), 1);
    EXPECT_EQ(Depths(), (std::vector<double>{10.0, 10.5, 11.0}));
    EXPECT_EQ(files[0]->m_depthUnitKind, lis::kUnitFeet);
    EXPECT_EQ(files[0]->m_depthCode, 73);
}

TEST_F(LisParamScanTest, FilesWrittenByThisProgramGoToTheirOwnRecogniser)
{
    struct Case {
        std::string table;
        std::string firstMnem;
        int expectedKey;
    } cases[] = {
        {"QTX", "ANY", lis::kToolQtxWritten},
        {"CONS", "QTX", lis::kToolQtxWritten},
        {"CONS", "BS", lis::kToolDsi},
        {"TOOL", "QTX", lis::kToolDsi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table + "/" + c.firstMnem);
        const lisb::Dfsr d = WaveDfsr();
        LisBuilder b;
        b.FileHeader("BRONTE.001").Table(c.table, {{{"MNEM", c.firstMnem}, {"VALU", "1"}}}).Dfsr(d).Data(d, 1.0, 0.5, 2)
            .FileTrailer("BRONTE.001");
        ASSERT_EQ(Run(b.Bytes(), 0x100 | lis::kToolDsi), 1);
        EXPECT_EQ(scan->asked, std::vector<int>{c.expectedKey});
    }
}

TEST_F(LisParamScanTest, UnknownToolCodeFailsAtTheFirstTrailerWithDepths)
{
    const lisb::Dfsr d = WaveDfsr();
    LisBuilder b;
    LogicalFile(b, d, 0);
    LogicalFile(b, d, 2);
    EXPECT_EQ(Run(b.Bytes(), 0x2e), 0);
    EXPECT_TRUE(scan->asked.empty());
    EXPECT_TRUE(files.empty()) << "nothing handed over on failure";

    FakeTool::result = 0; // a recogniser that fails ends the scan too, without curve items
    EXPECT_EQ(Run(b.Bytes(), lis::kToolIsonic), 0);
    EXPECT_EQ(FakeTool::calls, 1);
}

TEST_F(LisParamScanTest, UnusedChannelsBecomeCurveItemsWithDtcoTyped)
{
    lisb::Dfsr d = WaveDfsr();
    d.channels.push_back(lisb::Channel("SPD", "FPM", 8, 1, 79));
    LisBuilder b;
    LogicalFile(b, d, 2);
    ASSERT_EQ(Run(b.Bytes()), 1);
    const auto& items = files.at(0)->m_items;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0]->m_itemLabel, "FAKE");
    struct Expect {
        const char* mnemonic;
        const char* display;
        const char* label;
        int type;
        int samples;
    } expected[] = {{"DTCO", "DTCO US/F", "DTCO", 36, 1}, {"GR", "GR GAPI", "UNKNOWN", 0, 1}, {"SPD", "SPD FPM", "UNKNOWN", 0, 4}};
    for (size_t i = 0; i < 3; ++i) {
        const CWaveformPickItem& it = *items[i + 1];
        SCOPED_TRACE(expected[i].mnemonic);
        EXPECT_EQ(it.m_toolName, expected[i].mnemonic);
        EXPECT_EQ(it.m_mnemonic, expected[i].mnemonic);
        EXPECT_EQ(it.m_displayName, expected[i].display);
        EXPECT_EQ(it.m_itemLabel, expected[i].label);
        EXPECT_EQ(it.m_typeCode, expected[i].type);
        EXPECT_EQ(it.m_samplesPerWaveform, expected[i].samples);
        EXPECT_EQ(it.m_category, 6);
        EXPECT_EQ(it.m_receiverCount, 1);
        EXPECT_EQ(it.m_traceCount, 1);
        ASSERT_EQ(it.m_waveChannels.size(), 1u);
        EXPECT_EQ(it.m_waveChannels[0]->m_mnemonic, expected[i].mnemonic);
        EXPECT_EQ(it.m_waveChannels[0]->m_used, 1u);
    }
}

TEST_F(LisParamScanTest, ChannelsOfAFileWithoutDepthsDoNotReachTheNextFile)
{
    lisb::Dfsr first = WaveDfsr();
    first.channels = {lisb::Channel("OLD", "")};
    LisBuilder b;
    LogicalFile(b, first, 0);
    LogicalFile(b, WaveDfsr(), 2);
    ASSERT_EQ(Run(b.Bytes()), 1);
    ASSERT_EQ(files.size(), 1u);
    for (const auto& item : files[0]->m_items) EXPECT_NE(item->m_toolName, "OLD");
    EXPECT_EQ(files[0]->m_items.size(), 3u);
}

// A file cut inside its last record, after a first logical file of `frames` frames.
Bytes Damaged(int frames)
{
    const lisb::Dfsr d = WaveDfsr();
    LisBuilder b;
    b.FileHeader("BRONTE.001").Dfsr(d).Data(d, 1000.0, 0.5, frames).Data(d, 2000.0, 0.5, 2);
    Bytes bytes = b.Bytes();
    bytes.resize(bytes.size() - 10);
    return bytes;
}

TEST_F(LisParamScanTest, DamagedFileRuleAndItsThreeMessages)
{
    struct Case {
        int frames;
        std::string takes; // what the recogniser takes; no free channel left -> no items
        int answer;        // to the proceed question; 0: not asked
        const char* last;  // last message, nullptr: none after the question
        int result;
    } cases[] = {
        {10, "WAVE", 0, "The LIS File is damaged, Data is NOT recoverable!", 0},
        {11, "WAVE", IDNO, nullptr, 0},
        {11, "WAVE", IDYES, nullptr, 1},
        {11, "NONE", IDYES, nullptr, 1}, // curve items count as items
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames * 10 + c.answer);
        FakeTool::takes = c.takes;
        if (c.answer) host.ExpectMessage("LIS The File is damaged but there is some data. Do you want to proceed?", c.answer);
        if (c.last) host.ExpectMessage(c.last);
        EXPECT_EQ(Run(Damaged(c.frames)), c.result);
        EXPECT_EQ(files.size(), size_t(c.result));
        if (c.result) {
            EXPECT_FALSE(files[0]->m_items.empty());
        }
    }

    // Proceeding with a file whose only channel is its depth: no item at all.
    lisb::Dfsr bare;
    bare.channels = {};
    LisBuilder b;
    b.FileHeader("BRONTE.001").Dfsr(bare).Data(bare, 1000.0, 0.5, 12).Data(bare, 2000.0, 0.5, 4);
    Bytes bytes = b.Bytes();
    bytes.resize(bytes.size() - 3);
    host.ExpectMessage("LIS The File is damaged but there is some data. Do you want to proceed?", IDYES);
    host.ExpectMessage("Sorry, Data is NOT recoverable!");
    const int before = FakeTool::calls;
    EXPECT_EQ(Run(bytes), 0);
    EXPECT_EQ(FakeTool::calls, before + 1) << "the trailer's work ran for the damaged file";

    // Damage before any logical file: a normal end.
    Bytes junk = LisBuilder().ReelHeader().Bytes();
    junk.resize(junk.size() - 1);
    EXPECT_EQ(Run(junk), 1);
    EXPECT_TRUE(files.empty());
}

TEST_F(LisParamScanTest, StopQuestionEndsTheScanOnYesOnly)
{
    LisBuilder b;
    LogicalFile(b, WaveDfsr(), 2);
    host.ScriptDialog(kIddProgress).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop scanning?", IDNO);
    EXPECT_EQ(Run(b.Bytes()), 1);
    host.ScriptDialog(kIddProgress).Pumps(3).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop scanning?", IDYES);
    EXPECT_EQ(Run(b.Bytes()), 0);
    EXPECT_TRUE(files.empty());
}

// ---- record handlers ------------------------------------------------------------------

class LisParamScanRecordTest : public ::testing::Test {
protected:
    CLisLogicalFile* NewFile()
    {
        Bytes header = lisb::FileRecord(128);
        return scan.OnFileHeader(header.data(), uint32_t(header.size()), lis::scan::kFileHeaderExpected);
    }
    void Information(const std::vector<lisb::Component>& components)
    {
        const Bytes r = lisb::InformationRecord(components);
        EXPECT_EQ(scan.OnInformationRecord(r.data(), uint32_t(r.size()), file), 1);
    }
    void Dfsr(const Bytes& r) { EXPECT_EQ(scan.ParseDfsr(r.data(), uint32_t(r.size()), file), 1); }

    TestScan scan;
    CLisLogicalFile* file = NewFile();
};

TEST_F(LisParamScanRecordTest, FileHeaderNeedsTheExpectedArgumentAndReadsNameAndMaxPhysical)
{
    lisb::FileFields fields;
    fields.name = "SVC   .007";
    fields.maxPhysical = 1024;
    Bytes header = lisb::FileRecord(128, fields);
    EXPECT_EQ(scan.OnFileHeader(header.data(), uint32_t(header.size()), 31), nullptr);
    CLisLogicalFile* f = scan.OnFileHeader(header.data(), uint32_t(header.size()), 32);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->m_fileName, "SVC   .007");
    EXPECT_EQ(f->m_maxPhysicalRecord, 1024u);
    EXPECT_EQ(scan.m_logicalFiles.size(), 2u);
}

TEST_F(LisParamScanRecordTest, TablesKeepTheirRowsByKind)
{
    Information(lisb::TableComponents("CONS", {{{"MNEM", "BS"}, {"PUNI", "IN"}, {"TUNI", "IN"}, {"VALU", " 8.5 "}},
                                               {{"MNEM", "DT"}, {"SVC", "X"}, {"DESC", "Delay"}}}));
    auto cons = lisb::TableComponents("CONS", {{{"MNEM", "F"}}});
    cons.push_back(lisb::Component::Number(69, "VALU", 68, 1.5));
    cons.push_back(lisb::Component::Text(69, "VALU", std::string("A\x01" "B", 3)));
    Information(cons);
    Information(lisb::TableComponents("DIM", {{{"MNEM", "1"}, {"CHAN", "WF1"}, {"NDIM", "1"}, {"SIZE", "512"},
                                               {"INCR", "10"}, {"INCU", "US"}, {"OFFS", "0"}, {"SAMP", "256"}}}));
    Information(lisb::TableComponents("TOOL", {{{"MNEM", "X"}}}));
    Information(lisb::TableComponents("QTX", {{{"MNEM", "QTX"}, {"XXXX", "skipped"}, {"VALU", "3"}}}));

    const auto& t = file->m_tables;
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0]->m_name, "CONS");
    ASSERT_EQ(t[0]->m_rows.size(), 2u);
    EXPECT_EQ(t[0]->m_columnCount, 4u);
    EXPECT_EQ(t[0]->m_rows[0].m_valu, "8.5");
    EXPECT_EQ(t[0]->m_rows[0].m_puni, "IN");
    EXPECT_EQ(t[0]->m_rows[1].m_svc, "X");
    EXPECT_EQ(t[0]->m_rows[1].m_desc, "Delay");
    ASSERT_EQ(t[1]->m_rows.size(), 1u);
    EXPECT_EQ(t[1]->m_rows[0].m_valu, "AB") << "code 65 keeps printable characters; the later VALU wins";
    ASSERT_EQ(t[2]->m_dimRows.size(), 1u);
    const CLisDimRow& dim = t[2]->m_dimRows[0];
    EXPECT_EQ(dim.m_chan + dim.m_ndim + dim.m_size + dim.m_incr + dim.m_incu + dim.m_offs + dim.m_samp,
              "WF1151210US0256");
    EXPECT_EQ(t[3]->m_name, "TOOL");
    EXPECT_TRUE(t[3]->m_rows.empty());
    EXPECT_EQ(t[4]->m_rows.at(0).m_valu, "3");
    EXPECT_EQ(t[4]->m_columnCount, 3u);

    auto f68 = lisb::TableComponents("CONS", {{{"MNEM", "F"}}});
    f68.push_back(lisb::Component::Number(69, "VALU", 68, 1.5));
    Information(f68);
    EXPECT_EQ(t[5]->m_rows.at(0).m_valu, "1.500");
}

TEST_F(LisParamScanRecordTest, LooseParametersFormatNumbersAsFloats)
{
    Information({lisb::Component::Number(0, "BS  ", 79, 12, "IN"), lisb::Component::Text(0, "WELL", "A\tB"),
                 lisb::Component::Number(0, "X", 0, 1), lisb::Component::Number(0, "Y", 66, 2)});
    ASSERT_EQ(scan.m_parameters.size(), 2u) << "a component of code 0 ends the list";
    EXPECT_EQ(scan.m_parameters[0].m_value, "    12.000");
    EXPECT_EQ(scan.m_parameters[0].m_units, "IN  ");
    EXPECT_EQ(scan.m_parameters[1].m_value, "AB");
}

// A DFSR from raw entry blocks and datum specification blocks.
struct DfsrBytes {
    Bytes r{64, 0};
    DfsrBytes& Entry(uint8_t type, uint8_t code, const Bytes& value)
    {
        r.push_back(type);
        r.push_back(uint8_t(value.size()));
        r.push_back(code);
        r.insert(r.end(), value.begin(), value.end());
        return *this;
    }
    DfsrBytes& Text(uint8_t type, const std::string& s) { return Entry(type, 65, Bytes(s.begin(), s.end())); }
    DfsrBytes& F68(uint8_t type, double v)
    {
        Bytes b;
        lisb::AppendValue(b, 68, v);
        return Entry(type, 68, b);
    }
    DfsrBytes& End() { return Entry(0, 66, {0}); }
    DfsrBytes& Block(const std::string& name, const std::string& units, uint16_t size, uint8_t samples, uint8_t code)
    {
        Bytes b(40, ' ');
        for (size_t i = 0; i < 4 && i < name.size(); ++i) b[i] = uint8_t(name[i]);
        for (size_t i = 0; i < 4 && i < units.size(); ++i) b[18 + i] = uint8_t(units[i]);
        b[28] = uint8_t(size >> 8);
        b[29] = uint8_t(size);
        b[33] = samples;
        b[34] = code;
        r.insert(r.end(), b.begin(), b.end());
        return *this;
    }
};

TEST_F(LisParamScanRecordTest, FrameSpacingUnitsConvert)
{
    struct Case {
        uint8_t code;
        Bytes value;
        std::string units;
        double spacing;
        std::string spacingUnits;
        uint8_t kind;
    } cases[] = {
        {66, {6}, "IN  ", 0.5, "F", lis::kUnitFeet},
        {79, {0, 60}, ".1IN", 0.5, "F", lis::kUnitFeet},
        {56, {5}, ".5MM", 0.0025, "M", lis::kUnitMetres},
        {73, {0, 0, 0, 4}, ".25C", 0.01, "M", lis::kUnitMetres},
        {66, {200}, "MM  ", 0.2, "M", lis::kUnitMetres},
        {66, {2}, "M   ", 2.0, "M", lis::kUnitMetres},
        {66, {2}, "FT  ", 2.0, "FT", lis::kUnitFeet},
        {66, {2}, "KM  ", 2.0, "KM", lis::kUnitUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        TestScan s;
        Bytes h = lisb::FileRecord(128);
        CLisLogicalFile* f = s.OnFileHeader(h.data(), uint32_t(h.size()), 32);
        const Bytes r = DfsrBytes().Entry(8, c.code, c.value).Text(9, c.units).End().r;
        s.ParseDfsr(r.data(), uint32_t(r.size()), f);
        EXPECT_DOUBLE_EQ(f->m_frameSpacing, c.spacing);
        EXPECT_EQ(f->m_frameSpacingUnits, c.spacingUnits);
        EXPECT_EQ(f->m_depthUnitKind, c.kind);
        EXPECT_EQ(f->m_frameSpacingCode, c.code);
        EXPECT_EQ(s.m_spacingUnits, c.spacingUnits);
        EXPECT_DOUBLE_EQ(s.m_frameSpacing, c.spacing);
    }
}

TEST_F(LisParamScanRecordTest, DatumBlocksGiveOffsetsSizesAndFrameSize)
{
    Dfsr(DfsrBytes().Entry(16, 66, {1}).End()
             .Block("DEPT", "FT", 4, 1, 68).Block("DT", "US/F", 4, 1, 68).Block("WF", "", 512, 1, 79)
             .Block("ARR", "", 16, 4, 68).Block("BIG", "", 32767, 1, 66).r);
    ASSERT_EQ(scan.m_channelList.size(), 5u);
    const uint32_t offsets[] = {0, 4, 8, 520, 536};
    const uint16_t sizes[] = {4, 4, 512, 4, 32768};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(scan.m_channelList[i]->m_offset, offsets[i]) << i;
        EXPECT_EQ(scan.m_channelList[i]->m_size, sizes[i]) << i;
        EXPECT_EQ(scan.m_channelList[i], file->m_channels[i].get()) << "the list points at the file's channels";
    }
    EXPECT_EQ(file->m_frameSize, 536u + 32768u);
    EXPECT_EQ(scan.m_channelList[0]->m_used, 1u);
    EXPECT_EQ(file->m_depthCode, 68);
    EXPECT_EQ(file->m_frameSpacingUnits, "F");

    Dfsr(DfsrBytes().End().Block("NEW", "", 4, 1, 68).r);
    EXPECT_EQ(scan.m_channelList.size(), 5u) << "a second DFSR of the same logical file is ignored";
    file = NewFile();
    Dfsr(DfsrBytes().Entry(3, 73, {0, 0, 0, 9}).End().Block("NEW", "", 4, 1, 68).r);
    EXPECT_EQ(scan.m_channelList.size(), 6u) << "after the next file header it counts";
    EXPECT_EQ(file->m_frameSize, 9u) << "entry block 3 wins over the sum";
}

TEST_F(LisParamScanRecordTest, EntryBlocksSetTheirMembers)
{
    Dfsr(DfsrBytes()
             .Entry(1, 66, {7}).Entry(2, 66, {1}).Entry(4, 66, {255}).Entry(5, 66, {255})
             .Entry(6, 73, {0, 0, 1, 0}).Text(7, "IN  ").Entry(11, 66, {12}).F68(12, -999.25)
             .Entry(13, 66, {1}).Text(14, ".5MM").Entry(15, 66, {73}).Entry(99, 66, {1})
             .End().r);
    EXPECT_EQ(file->m_dataRecordType, 7);
    EXPECT_EQ(file->m_datumSpecBlockType, 1);
    EXPECT_EQ(file->m_upDown, 255);
    EXPECT_EQ(file->m_opticalDepthUnits, 255);
    EXPECT_EQ(file->m_dataReferencePoint, 256);
    EXPECT_EQ(file->m_dataReferenceUnits, "IN  ");
    EXPECT_EQ(file->m_maxFramesPerRecord, 12);
    EXPECT_DOUBLE_EQ(file->m_absentValue, -999.25);
    EXPECT_EQ(file->m_absentValueCode, 68);
    EXPECT_EQ(file->m_depthMode, 1);
    EXPECT_EQ(file->m_depthUnits, ".5MM");
    EXPECT_DOUBLE_EQ(file->m_depthFactor, 0.0005);
    EXPECT_EQ(file->m_depthUnitKind, lis::kUnitMetres);
    EXPECT_EQ(file->m_frameSpacingUnits, "M");
    EXPECT_EQ(file->m_depthCode, 73);
}

// ---- hostile input --------------------------------------------------------------------

TEST_F(LisParamScanRecordTest, ShortAndHostileRecordsAreReadWithinTheirLength)
{
    // Every prefix of each record, in an exactly sized heap block.
    const lisb::Dfsr d = WaveDfsr();
    std::vector<Bytes> records = {
        lisb::FileRecord(128),
        lisb::InformationRecord(lisb::TableComponents("CONS", {{{"MNEM", "BS"}, {"VALU", "8.5"}}})),
        lisb::InformationRecord({lisb::Component::Number(0, "BS", 73, 12)}),
        lisb::DfsrRecord(d),
        DfsrBytes().Entry(3, 73, {0x7F, 0xFF, 0xFF, 0xFF}).Entry(8, 68, {0xFF, 0xFF, 0xFF, 0xFF}).r, // no terminator
        DfsrBytes().Entry(3, 68, {0x7F, 0xFF, 0xFF, 0xFF}).Entry(11, 68, {0x7F, 0xFF, 0xFF, 0xFF}).End()
            .Block("A", "", 65535, 255, 68).r,
    };
    for (const Bytes& full : records)
        for (size_t n = 0; n <= full.size(); ++n) {
            TestScan s;
            Bytes h = lisb::FileRecord(128);
            CLisLogicalFile* f = s.OnFileHeader(h.data(), uint32_t(h.size()), 32);
            auto block = std::make_unique<uint8_t[]>(n + 1);
            std::copy(full.begin(), full.begin() + long(n), block.get());
            switch (full[0]) {
            case 128: s.OnFileHeader(block.get(), uint32_t(n), 32); break;
            case 34: s.OnInformationRecord(block.get(), uint32_t(n), f); break;
            default: s.ParseDfsr(block.get(), uint32_t(n), f); break;
            }
            // A data record of every length against the huge frame sizes above.
            const Bytes data = lisb::DataRecord(d, 1000.0, 0.5, 2);
            const size_t m = std::min(n, data.size());
            auto body = std::make_unique<uint8_t[]>(m + 1);
            std::copy(data.begin(), data.begin() + long(m), body.get());
            s.OnDataRecord(body.get(), uint32_t(m), 0, f);
        }
    SUCCEED();
}

TEST_F(LisParamScanRecordTest, DepthOnceRecordShorterThanItsDepthIsSkipped)
{
    Dfsr(DfsrBytes().Entry(13, 66, {1}).Entry(15, 66, {68}).End().Block("A", "", 4, 1, 68).r);
    const Bytes r = {0, 0, 0x44, 0x10, 0x00};
    scan.OnDataRecord(r.data(), uint32_t(r.size()), 0, file);
    EXPECT_TRUE(file->m_depths.empty());
}

// Scans with a lenient host: unexpected boxes are answered, not failed.
int LenientScan(const std::string& path, int toolCode = lis::kToolDsi)
{
    ScriptedHost lenient;
    ScopedHost scope(&lenient);
    TestScan s;
    CLisLogicalFileList out;
    return s.Scan(path, &out, "", toolCode);
}

TEST(LisParamScanHostileTest, TruncatedAndCorruptedFilesNeverCrash)
{
    TempDir dir;
    const lisb::Dfsr d = WaveDfsr();
    for (int framing : {lisb::kPlainFraming, lisb::kTifFraming}) {
        LisBuilder b(framing);
        b.ReelHeader().FileHeader("BRONTE.001")
            .Table("CONS", {{{"MNEM", "BS"}, {"VALU", "8.5"}}}).Dfsr(d).Data(d, 1000.0, 0.5, 3)
            .FileTrailer("BRONTE.001").FileMark().FileMark();
        const Bytes full = b.Bytes();
        const std::string path = dir.File("hostile.lis");
        auto write = [&](const Bytes& bytes) {
            FILE* f = std::fopen(path.c_str(), "wb");
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        };
        for (size_t n = 0; n < full.size(); n += 7) {
            write(Bytes(full.begin(), full.begin() + long(n)));
            LenientScan(path);
        }
        std::mt19937 rng(1234 + framing);
        for (int i = 0; i < 300; ++i) {
            Bytes bad = full;
            for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = uint8_t(rng());
            write(bad);
            LenientScan(path);
        }
    }
    SUCCEED();
}

TEST(LisParamScanSharedDataTest, EveryRealFileScansWithoutCrashOrHang)
{
    const std::string root = SharedDataDir();
    if (root.empty() || !std::filesystem::is_directory(root + "/lis")) GTEST_SKIP() << "no shared data folder";
    int scanned = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root + "/lis")) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().string());
        LenientScan(entry.path().string());
        ++scanned;
    }
    EXPECT_GT(scanned, 0);
}

} // namespace
