#include "lis/LisParamScan.h"

#include "platform/Format.h"
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
                file.m_items.push_back(std::make_unique<CWaveformPickItem>());
                file.m_items.back()->m_itemLabel = "FAKE";
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

// Header, DFSR, `frames` frames in one data record from `top` by `step`, trailer.
LisBuilder& LogicalFile(LisBuilder& b, const lisb::Dfsr& d, int frames, double top = 1000.0, double step = 0.5,
                        bool trailer = true)
{
    b.FileHeader("BRONTE.001").Dfsr(d);
    if (frames > 0) b.Data(d, top, step, frames);
    if (trailer) b.FileTrailer("BRONTE.001");
    return b;
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
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
        WriteFile(dir.File("scan.lis"), bytes);
        files.clear();
        scan = std::make_unique<TestScan>();
        return scan->Scan(dir.File("scan.lis"), &files, dir.Path(), toolCode);
    }
    int Run(const lisb::Dfsr& d, int frames, double top = 1000.0, double step = 0.5)
    {
        LisBuilder b;
        return Run(LogicalFile(b, d, frames, top, step).Bytes());
    }

    std::vector<double> Depths() const
    {
        std::vector<double> out;
        for (const auto& e : files.at(0)->m_depths) out.push_back(e.m_depth);
        return out;
    }

    TempDir dir;
    CLisLogicalFileList files;
    std::unique_ptr<TestScan> scan;
};

TEST_F(LisParamScanTest, MissingFileOrDictionaryFails)
{
    CLisLogicalFileList out;
    CLisParamScan plain;
    EXPECT_EQ(plain.Scan(dir.File("absent.lis"), &out, dir.Path(), lis::kToolDsi), 0); // silently
    LisBuilder b;
    LogicalFile(b, WaveDfsr(), 3).Write(dir.File("a.lis"));
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
        Bytes flagged = lisb::DataRecord(d, 7.0, 0.5, 2);
        flagged[1] = 1; // attribute byte set: matches no handler
        Bytes flaggedHeader = lisb::FileRecord(128);
        flaggedHeader[1] = 0x80;
        LisBuilder b(framing);
        b.ReelHeader().TapeHeader().Record(lisb::DataRecord(d, 5.0, 0.5, 2)) // before any file header: skipped
            .FileHeader("BRONTE.001").Record(flaggedHeader).Dfsr(d).Record(flagged)
            .Comment("ignored").Record({47, 0, 1, 2, 3}) // table dump: accepted, ignored
            .Data(d, 1000.0, 0.5, 3).FileTrailer("BRONTE.001").TapeTrailer().ReelTrailer();
        if (framing == lisb::kTifFraming) b.FileMark().FileMark().Raw(Bytes(100, 0xEE)); // two marks end the scan
        ASSERT_EQ(Run(b.Bytes()), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(Depths(), (std::vector<double>{1000.0, 1000.5, 1001.0}));
        EXPECT_EQ(files[0]->m_fileName, "BRONTE.001");
        EXPECT_EQ(files[0]->m_maxPhysicalRecord, 8192u);
        EXPECT_EQ(files[0]->m_framing, framing);
        EXPECT_EQ(FakeTool::calls, 1);
    }
}

TEST_F(LisParamScanTest, CleanUpDropsFilesWithoutDepthsAndInfersDirection)
{
    const struct { uint8_t direction; double step; uint8_t expected; } cases[] = {
        {0, 0.5, lis::kLogDown}, {0, -0.5, lis::kLogUp}, {1, 0.5, lis::kLogUp}, {255, -0.5, lis::kLogDown}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.direction));
        lisb::Dfsr d = WaveDfsr();
        d.direction = c.direction;
        lisb::Dfsr old = d;
        old.channels = {lisb::Channel("OLD", "")};
        LisBuilder b;
        LogicalFile(b, old, 0); // no data: dropped, and its channels must not reach the next file
        LogicalFile(b, d, 3, 1000.0, c.step);
        LogicalFile(b, d, 3, 500.0, 0.5, false); // no trailer: kept, no items
        ASSERT_EQ(Run(b.Bytes()), 1);
        ASSERT_EQ(files.size(), 2u);
        EXPECT_EQ(files[0]->m_upDown, c.expected);
        EXPECT_EQ(files[0]->m_items.size(), 3u) << "WAVE, then DTCO and GR as curves; no OLD";
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
    const struct { double spacing, step; int frames; double expectedStep, expectedSpacing; } cases[] = {
        {0.0, 0.5, 3, 0.5, 0.5}, {0.25, 0.1, 4, 0.1, 0.25}, {0.0, 1.0 / 3.0, 4, 0.3333, 0.3333}, // rounded to 4 places
        {0.5, 2.0, 1, 0.5, 0.5}, {0.0, 2.0, 1, 0.0, 0.0}}; // one entry: the DFSR's spacing, no division
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        lisb::Dfsr d = WaveDfsr();
        d.spacing = c.spacing;
        ASSERT_EQ(Run(d, c.frames, 1000.0, c.step), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_DOUBLE_EQ(scan->m_depthStep, c.expectedStep);
        EXPECT_DOUBLE_EQ(files[0]->m_frameSpacing, c.expectedSpacing);
    }
}

TEST_F(LisParamScanTest, DepthsAreScaledAndDepthOnceFramesEachGetAnEntry)
{
    const struct {
        bool once;
        uint8_t direction, code;
        const char *units, *spacingUnits;
        double spacing, first, step;
        std::vector<double> depths;
        uint8_t kind;
    } cases[] = {
        {false, 1, 73, "IN", "FT", 0.5, 120.0, 6.0, {10.0, 10.5, 11.0}, lis::kUnitFeet}, // the depth channel's units
        {true, 1, 68, "FT", "FT", 0.5, 1000.0, 0, {1000.0, 999.5, 999.0}, lis::kUnitFeet}, // up logs count down
        {true, 255, 79, ".1IN", "FT", 0.5, 12000.0, 0, {100.0, 100.5, 101.0}, lis::kUnitFeet},
        {true, 255, 73, "M", "MM", 500.0, 100.0, 0, {100.0, 100.5, 101.0}, lis::kUnitMetres},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        lisb::Dfsr d = WaveDfsr();
        d.depthOnce = c.once;
        d.direction = c.direction;
        d.depthCode = c.code;
        d.depthUnits = c.units;
        d.spacing = c.spacing;
        d.spacingUnits = c.spacingUnits;
        ASSERT_EQ(Run(d, 3, c.first, c.step), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(Depths(), c.depths);
        EXPECT_EQ(files[0]->m_depthUnitKind, c.kind);
        if (!c.once) continue;
        // Each frame's entry points past the record's one depth value.
        const uint32_t depthSize = c.code == 79 ? 2 : 4;
        for (uint32_t k = 0; k < 3; ++k) {
            EXPECT_EQ(files[0]->m_depths[k].m_frameOffset, depthSize + k * d.FrameBytes());
            EXPECT_EQ(files[0]->m_depths[k].m_dataLength, 3 * d.FrameBytes());
        }
    }
}

TEST_F(LisParamScanTest, AQtxTableOverridesTheToolCode)
{
    const struct { const char *table, *firstMnem; int expectedKey; } cases[] = {
        {"QTX", "ANY", lis::kToolQtxWritten}, {"CONS", "QTX", lis::kToolQtxWritten},
        {"CONS", "BS", lis::kToolDsi},        {"TOOL", "QTX", lis::kToolDsi}}; // only a first row "QTX" marks CONS
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + "/" + c.firstMnem);
        const lisb::Dfsr d = WaveDfsr();
        LisBuilder b;
        b.FileHeader("BRONTE.001").Table(c.table, {{{"MNEM", c.firstMnem}, {"VALU", "1"}}}).Dfsr(d).Data(d, 1.0, 0.5, 2)
            .FileTrailer("BRONTE.001");
        ASSERT_EQ(Run(b.Bytes(), 0x100 | lis::kToolDsi), 1);
        EXPECT_EQ(scan->asked, std::vector<int>{c.expectedKey});
    }
}

TEST_F(LisParamScanTest, UnknownToolFailingRecogniserOrStoppingFailsTheScan)
{
    LisBuilder b;
    LogicalFile(b, WaveDfsr(), 0);
    LogicalFile(b, WaveDfsr(), 2);
    EXPECT_EQ(Run(b.Bytes(), 0x2e), 0);
    EXPECT_TRUE(scan->asked.empty());
    EXPECT_TRUE(files.empty()) << "nothing handed over on failure";

    FakeTool::result = 0;
    EXPECT_EQ(Run(b.Bytes(), lis::kToolIsonic), 0);
    EXPECT_EQ(FakeTool::calls, 1);

    FakeTool::result = 1;
    host.ScriptDialog(kIddProgress).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop scanning?", IDNO);
    EXPECT_EQ(Run(b.Bytes()), 1);
    host.ScriptDialog(kIddProgress).Pumps(3).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop scanning?", IDYES);
    EXPECT_EQ(Run(b.Bytes()), 0);
    EXPECT_TRUE(files.empty());
}

TEST_F(LisParamScanTest, UnusedChannelsBecomeCurveItemsWithDtcoTyped)
{
    lisb::Dfsr d = WaveDfsr();
    d.channels.push_back(lisb::Channel("SPD", "FPM", 8, 1, 79));
    ASSERT_EQ(Run(d, 2), 1);
    const auto& all = files.at(0)->m_items;
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0]->m_itemLabel, "FAKE");
    std::vector<std::string> curves;
    for (size_t i = 1; i < all.size(); ++i) {
        const CWaveformPickItem& it = *all[i];
        curves.push_back(Format("%s|%s|%s|%d|%d|%d/%d|%d", it.m_mnemonic.c_str(), it.m_displayName.c_str(),
                                it.m_itemLabel.c_str(), it.m_typeCode, it.m_category, it.m_receiverCount,
                                it.m_traceCount, it.m_samplesPerWaveform));
        EXPECT_EQ(it.m_waveChannels.at(0)->m_mnemonic, it.m_mnemonic);
    }
    EXPECT_EQ(curves, (std::vector<std::string>{"DTCO|DTCO US/F|DTCO|36|6|1/1|1", "GR|GR GAPI|UNKNOWN|0|6|1/1|1",
                                                "SPD|SPD FPM|UNKNOWN|0|6|1/1|4"}));
}

TEST_F(LisParamScanTest, DamagedFileRuleAndItsThreeMessages)
{
    const char* proceed = "LIS The File is damaged but there is some data. Do you want to proceed?";
    // A file cut inside its last record, its first logical file `frames` frames long.
    auto damaged = [](const lisb::Dfsr& d, int frames, size_t cut) {
        LisBuilder b;
        Bytes bytes = b.FileHeader("BRONTE.001").Dfsr(d).Data(d, 1000.0, 0.5, frames).Data(d, 2000.0, 0.5, 2).Bytes();
        bytes.resize(bytes.size() - cut);
        return bytes;
    };
    // takes "NONE": only curve items, which count as items; answer 0: the question is not asked.
    const struct { int frames; const char* takes; int answer, result; } cases[] = {
        {10, "WAVE", 0, 0}, {11, "WAVE", IDNO, 0}, {11, "WAVE", IDYES, 1}, {11, "NONE", IDYES, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames * 10 + c.answer);
        FakeTool::takes = c.takes;
        if (c.answer) host.ExpectMessage(proceed, c.answer);
        else host.ExpectMessage("The LIS File is damaged, Data is NOT recoverable!");
        EXPECT_EQ(Run(damaged(WaveDfsr(), c.frames, 10)), c.result);
        ASSERT_EQ(files.size(), size_t(c.result));
        if (c.result) {
            EXPECT_FALSE(files[0]->m_items.empty());
        }
    }

    // Proceeding with a file whose only channel is its depth: no item at all.
    lisb::Dfsr bare;
    bare.channels = {};
    host.ExpectMessage(proceed, IDYES);
    host.ExpectMessage("Sorry, Data is NOT recoverable!");
    const int before = FakeTool::calls;
    EXPECT_EQ(Run(damaged(bare, 12, 3)), 0);
    EXPECT_EQ(FakeTool::calls, before + 1) << "the trailer's work ran for the damaged file";

    // Damage before any logical file: a normal end.
    Bytes junk = LisBuilder().ReelHeader().Bytes();
    junk.pop_back();
    EXPECT_EQ(Run(junk), 1);
    EXPECT_TRUE(files.empty());
}

// ---- record handlers ------------------------------------------------------------------

// A DFSR from raw entry blocks and 40-byte channel blocks.
struct DfsrBytes {
    Bytes r{64, 0};
    DfsrBytes& Entry(uint8_t type, uint8_t code, const Bytes& value)
    {
        r.insert(r.end(), {type, uint8_t(value.size()), code});
        r.insert(r.end(), value.begin(), value.end());
        return *this;
    }
    DfsrBytes& End() { return Entry(0, 66, {0}); }
    DfsrBytes& Block(const std::string& name, uint16_t size, uint8_t samples, uint8_t code)
    {
        Bytes b(40, ' ');
        std::copy(name.begin(), name.begin() + long(std::min<size_t>(4, name.size())), b.begin());
        b[28] = uint8_t(size >> 8);
        b[29] = uint8_t(size);
        b[33] = samples;
        b[34] = code;
        r.insert(r.end(), b.begin(), b.end());
        return *this;
    }
};

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

TEST_F(LisParamScanRecordTest, TablesKeepTheirRowsByKind)
{
    // Recognisers look values up by name in these rows.
    Information(lisb::TableComponents("CONS", {{{"MNEM", "BS"}, {"VALU", " 8.5 "}},
                                               {{"MNEM", "DT"}, {"DESC", "Delay"}}}));
    auto cons = lisb::TableComponents("CONS", {{{"MNEM", "F"}}});
    cons.push_back(lisb::Component::Number(69, "VALU", 68, 1.5));
    Information(cons);
    cons.push_back(lisb::Component::Text(69, "VALU", std::string("A\x01" "B", 3)));
    Information(cons);
    Information(lisb::TableComponents("DIM", {{{"MNEM", "1"}, {"CHAN", "WF1"}, {"SIZE", "512"}, {"SAMP", "256"}}}));
    Information(lisb::TableComponents("TOOL", {{{"MNEM", "X"}}}));

    const auto& t = file->m_tables;
    ASSERT_EQ(t.size(), 5u);
    ASSERT_EQ(t[0]->m_rows.size(), 2u);
    EXPECT_EQ(t[0]->m_rows[0].m_valu + t[0]->m_rows[1].m_desc, "8.5Delay");
    EXPECT_EQ(t[1]->m_rows.at(0).m_valu, "1.500");
    EXPECT_EQ(t[2]->m_rows.at(0).m_valu, "AB") << "code 65 keeps printable characters; the later VALU wins";
    ASSERT_EQ(t[3]->m_dimRows.size(), 1u);
    EXPECT_EQ(t[3]->m_dimRows[0].m_chan + t[3]->m_dimRows[0].m_size + t[3]->m_dimRows[0].m_samp, "WF1512256");
    EXPECT_TRUE(t[4]->m_rows.empty()) << "other tables keep only their name";
}

TEST_F(LisParamScanRecordTest, DatumBlocksGiveOffsetsSizesAndFrameSize)
{
    Dfsr(DfsrBytes().Entry(16, 66, {1}).End()
             .Block("DEPT", 4, 1, 68).Block("DT", 4, 1, 68).Block("WF", 512, 1, 79)
             .Block("ARR", 16, 4, 68).Block("BIG", 32767, 1, 66).r);
    std::string layout; // offset+size; ARR's size per sample; 32767 means 32768 with subtype 1
    for (const CLisChannelItem* c : scan.m_channelList) layout += Format("%u+%u ", c->m_offset, c->m_size);
    EXPECT_EQ(layout, "0+4 4+4 8+512 520+4 536+32768 ");
    EXPECT_EQ(file->m_frameSize, 536u + 32768u);
    EXPECT_EQ(scan.m_channelList[0]->m_used, 1u) << "the depth channel is no curve";

    Dfsr(DfsrBytes().End().Block("NEW", 4, 1, 68).r);
    EXPECT_EQ(scan.m_channelList.size(), 5u) << "a second DFSR of the same logical file is ignored";
    file = NewFile();
    Dfsr(DfsrBytes().Entry(3, 73, {0, 0, 0, 9}).End().Block("NEW", 4, 1, 68).r);
    EXPECT_EQ(scan.m_channelList.size(), 6u) << "after the next file header it counts";
    EXPECT_EQ(file->m_frameSize, 9u) << "entry block 3 wins over the sum";
}

// ---- hostile input --------------------------------------------------------------------

TEST_F(LisParamScanRecordTest, ShortAndHostileRecordsAreReadWithinTheirLength)
{
    // Every prefix of each record, in an exactly sized heap block, then a data record of
    // every length against the frame sizes and depth modes it set.
    const lisb::Dfsr d = WaveDfsr();
    const std::vector<Bytes> records = {
        lisb::FileRecord(128),
        lisb::InformationRecord(lisb::TableComponents("CONS", {{{"MNEM", "BS"}, {"VALU", "8.5"}}})),
        lisb::InformationRecord({lisb::Component::Number(0, "BS", 73, 12)}),
        lisb::DfsrRecord(d),
        DfsrBytes().Entry(3, 73, {0x7F, 0xFF, 0xFF, 0xFF}).Entry(8, 68, {0xFF, 0xFF, 0xFF, 0xFF}).r, // no terminator
        DfsrBytes().Entry(3, 68, {0x7F, 0xFF, 0xFF, 0xFF}).Entry(11, 68, {0x7F, 0xFF, 0xFF, 0xFF}).End()
            .Block("A", 65535, 255, 68).r,
        DfsrBytes().Entry(13, 66, {1}).Entry(15, 66, {68}).End().Block("A", 4, 1, 68).r, // depth once
    };
    const Bytes data = lisb::DataRecord(d, 1000.0, 0.5, 2), header = lisb::FileRecord(128);
    auto exact = [](const Bytes& b, size_t n) {
        auto p = std::make_unique<uint8_t[]>(n + 1);
        std::copy_n(b.begin(), n, p.get());
        return p;
    };
    for (const Bytes& full : records)
        for (size_t n = 0; n <= full.size(); ++n) {
            TestScan s;
            CLisLogicalFile* f = s.OnFileHeader(header.data(), uint32_t(header.size()), 32);
            auto block = exact(full, n);
            switch (full[0]) {
            case 128: s.OnFileHeader(block.get(), uint32_t(n), 32); break;
            case 34: s.OnInformationRecord(block.get(), uint32_t(n), f); break;
            default: s.ParseDfsr(block.get(), uint32_t(n), f); break;
            }
            const size_t m = std::min(n, data.size());
            s.OnDataRecord(exact(data, m).get(), uint32_t(m), 0, f);
        }
    SUCCEED();
}

// Scans with a lenient host: unexpected boxes are answered, not failed.
int LenientScan(const std::string& path)
{
    ScriptedHost lenient;
    ScopedHost scope(&lenient);
    TestScan s;
    CLisLogicalFileList out;
    return s.Scan(path, &out, "", lis::kToolDsi);
}

TEST(LisParamScanHostileTest, TruncatedAndCorruptedFilesNeverCrash)
{
    TempDir dir;
    const std::string path = dir.File("hostile.lis");
    const lisb::Dfsr d = WaveDfsr();
    for (int framing : {lisb::kPlainFraming, lisb::kTifFraming}) {
        LisBuilder b(framing);
        b.ReelHeader().FileHeader("BRONTE.001").Table("CONS", {{{"MNEM", "BS"}, {"VALU", "8.5"}}}).Dfsr(d)
            .Data(d, 1000.0, 0.5, 3).FileTrailer("BRONTE.001").FileMark().FileMark();
        const Bytes full = b.Bytes();
        std::mt19937 rng(1234 + framing);
        // Every 7th prefix, then 300 copies with 4 random bytes changed.
        for (size_t i = 0; i < full.size() / 7 + 300; ++i) {
            Bytes bad(full.begin(), full.begin() + long(std::min(i * 7, full.size())));
            if (bad.size() == full.size())
                for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = uint8_t(rng());
            WriteFile(path, bad);
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
