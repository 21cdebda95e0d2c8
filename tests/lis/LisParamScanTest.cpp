#include "lis/LisParamScan.h"

#include "platform/Endian.h"
#include "platform/Format.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/LisBuilder.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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
        WriteBytes(dir.File("scan.lis"), bytes);
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
        lisb::Dfsr old = d, next = d;
        old.channels = {lisb::Channel("OLD", "")};
        next.channels = {lisb::Channel("SPD", "FPM")};
        LisBuilder b;
        LogicalFile(b, old, 0); // no data: dropped
        // No trailer: kept without items, its repeated first depth cleaned all the same
        // (the entry of the later record stays).
        b.FileHeader("BRONTE.001").Dfsr(d).Data(d, 1000.0, c.step, 1).Data(d, 1000.0, c.step, 3);
        const uint64_t later = b.Starts().back();
        LogicalFile(b, next, 2, 500.0, 0.5);
        ASSERT_EQ(Run(b.Bytes()), 1);
        ASSERT_EQ(files.size(), 2u);
        EXPECT_EQ(files[0]->m_upDown, c.expected);
        EXPECT_EQ(Depths(), (std::vector<double>{1000.0, 1000.0 + c.step, 1000.0 + 2 * c.step}));
        EXPECT_EQ(files[0]->m_depths[0].m_recordPosition, later);
        EXPECT_TRUE(files[0]->m_items.empty());
        // Only its own channel: none of the earlier files' reach it.
        ASSERT_EQ(files[1]->m_items.size(), 1u);
        EXPECT_EQ(files[1]->m_items[0]->m_mnemonic, "SPD");
        EXPECT_EQ(files[1]->m_items[0]->m_waveChannels.at(0)->m_offset, 4u);
        EXPECT_EQ(scan->m_upDownText, files[1]->m_upDown == lis::kLogUp ? "UP" : "DOWN");
    }
}

TEST_F(LisParamScanTest, DepthStepIsRoundedAndFillsAMissingFrameSpacing)
{
    const struct { double spacing, step; int frames; double expectedStep, expectedSpacing, held; } cases[] = {
        // The scan's step rounded to 4 places; the data set's measured over the span, exact
        // where the first and last depths are, else to the depths' precision (code 68 at
        // 1,000 ft: 0.00012 ft over 3 steps).
        {0.0, 0.5, 3, 0.5, 0.5, 0.0}, {0.0, 1.0 / 3.0, 4, 0.3333, 1.0 / 3.0, 0.0},
        {0.25, 0.1, 4, 0.1, 0.1, 0.00013 / 3}, // a spacing the frames' depths disagree with gives way to their step
        {0.5, 2.0, 1, 0.5, 0.5, 0.0}, {0.0, 2.0, 1, 0.0, 0.0, 0.0}, // one entry: the DFSR's spacing, no division
        {0.1, 0.1, 4, 0.1, 0.1, 0.0}}; // code 68's 0.1 as releases before wrote it, which holds over the run
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        lisb::Dfsr d = WaveDfsr();
        d.spacing = c.spacing;
        ASSERT_EQ(Run(d, c.frames, 1000.0, c.step), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_DOUBLE_EQ(scan->m_depthStep, c.expectedStep);
        EXPECT_NEAR(files[0]->m_frameSpacing, c.expectedSpacing, c.held);
    }
}

TEST_F(LisParamScanTest, DepthsAreScaledAndDepthOnceFramesFollowTheRecordDepths)
{
    // Every case keeps its frames apart: each its own depth, 0.5 ft (or m) apart.
    const struct {
        bool once;
        uint8_t direction, code;
        const char *units, *spacingUnits;
        double spacing;
        std::vector<double> records; // recorded depth of each record's first frame
        double step;                 // depth channel step (depth per frame)
        std::vector<double> depths;
        uint8_t kind, upDown;
    } cases[] = {
        {false, 1, 73, "IN", "FT", 0.5, {120.0}, 6.0, {10.0, 10.5, 11.0}, lis::kUnitFeet, 1}, // the depth channel's units
        {true, 1, 68, "FT", "FT", 0.5, {1000.0}, 0, {1000.0, 999.5, 999.0}, lis::kUnitFeet, 1}, // up logs count down
        {true, 255, 79, ".1IN", "FT", 0.5, {12000.0}, 0, {100.0, 100.5, 101.0}, lis::kUnitFeet, 255},
        {true, 255, 73, "M", "MM", 500.0, {100.0}, 0, {100.0, 100.5, 101.0}, lis::kUnitMetres, 255},
        // No spacing: the record depths and frame counts give it; the last record takes the one before.
        {true, 255, 68, "FT", "FT", 0.0, {1000.0, 1001.5}, 0, {1000, 1000.5, 1001, 1001.5, 1002, 1002.5}, 1, 255},
        {true, 255, 68, "FT", "FT", 0.0, {1000.0, 998.5}, 0, {1000, 999.5, 999, 998.5, 998, 997.5}, 1, 1},
        // The record depths run against the direction flag: they win.
        {true, 1, 68, "FT", "FT", 0.5, {1000.0, 1001.5}, 0, {1000, 1000.5, 1001, 1001.5, 1002, 1002.5}, 1, 255},
        // A spacing without units is in the depth units.
        {true, 255, 68, "IN", "", 6.0, {1200.0}, 0, {100.0, 100.5, 101.0}, lis::kUnitFeet, 255},
        {false, 255, 73, ".1IN", "", 60.0, {1200.0}, 60.0, {10.0, 10.5, 11.0}, lis::kUnitFeet, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Format("%s %s %g records %zu", c.units, c.spacingUnits, c.spacing, c.records.size()));
        lisb::Dfsr d = WaveDfsr();
        d.depthOnce = c.once;
        d.direction = c.direction;
        d.depthCode = c.code;
        d.depthUnits = c.units;
        d.spacing = c.spacing;
        d.spacingUnits = c.spacingUnits;
        LisBuilder b;
        b.FileHeader("BRONTE.001").Dfsr(d);
        for (double r : c.records) b.Data(d, r, c.step, 3);
        ASSERT_EQ(Run(b.FileTrailer("BRONTE.001").Bytes()), 1);
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(Depths(), c.depths);
        EXPECT_EQ(files[0]->m_depthUnitKind, c.kind);
        EXPECT_EQ(files[0]->m_upDown, c.upDown);
        EXPECT_DOUBLE_EQ(files[0]->m_frameSpacing, 0.5);
        if (!*c.spacingUnits) {
            EXPECT_EQ(files[0]->m_frameSpacingUnits, "F");
        }
        if (!c.once) continue;
        // Each frame's entry points past the record's one depth value.
        const uint32_t depthSize = c.code == 79 ? 2 : 4;
        for (uint32_t k = 0; k < files[0]->m_depths.size(); ++k) {
            EXPECT_EQ(files[0]->m_depths[k].m_frameOffset, depthSize + k % 3 * d.FrameBytes());
            EXPECT_EQ(files[0]->m_depths[k].m_dataLength, 3 * d.FrameBytes());
        }
    }

    // No spacing and no second record to measure one: the further frames have no
    // depth, so they are dropped, and the user is told, rather than given the first's.
    lisb::Dfsr d = WaveDfsr();
    d.depthOnce = true;
    d.spacing = 0.0;
    LisBuilder b;
    b.FileHeader("BRONTE.001").Dfsr(d).Data(d, 1000.0, 0.0, 3).FileTrailer("BRONTE.001");
    b.FileHeader("BRONTE.002").Dfsr(d).Data(d, 2000.0, 0.0, 2).Data(d, 2000.0, 0.0, 2).FileTrailer("BRONTE.002");
    host.ExpectMessage("Encountered data records without frame spacing in file :\n" + dir.File("scan.lis") + "\n");
    ASSERT_EQ(Run(b.Bytes()), 1);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(Depths(), std::vector<double>{1000.0});
    ASSERT_EQ(files[1]->m_depths.size(), 1u) << "a repeated record depth replaces the record before, once";
    EXPECT_EQ(files[1]->m_depths[0].m_recordPosition, b.Starts()[7]);
}

TEST_F(LisParamScanTest, ManySmallLogicalFilesScanInLinearTime)
{
    // Cleaning every logical file again at every trailer made this quadratic: 6,000
    // files took seconds. Linear, it takes a small fraction of the bound.
    lisb::Dfsr d = WaveDfsr();
    d.channels = {lisb::Channel("GR", "GAPI")};
    LisBuilder b;
    constexpr int kFiles = 6000, kFrames = 16;
    for (int i = 0; i < kFiles; ++i) LogicalFile(b, d, kFrames, 1000.0 + 10.0 * i);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(Run(b.Bytes()), 1);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_EQ(files.size(), size_t(kFiles));
    EXPECT_EQ(files.back()->m_depths.back().m_depth, 1000.0 + 10.0 * (kFiles - 1) + 0.5 * (kFrames - 1));
    EXPECT_LT(seconds, 2.5);
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

TEST_F(LisParamScanTest, MissingFileOrDictionaryUnknownToolFailingRecogniserOrStoppingFailsTheScan)
{
    CLisParamScan plain;
    host.ExpectMessage("Could not open input file :\n" + dir.File("absent.lis")); // Lis to Qtx ended silently on it
    EXPECT_EQ(plain.Scan(dir.File("absent.lis"), &files, dir.Path(), lis::kToolDsi), 0);
    LisBuilder(lisb::kPlainFraming).ReelHeader().Write(dir.File("a.lis"));
    host.ExpectMessage("Tool Dictionary File Not Found!\nProcess > Dictionary imports one.");
    EXPECT_EQ(plain.Scan(dir.File("a.lis"), &files, dir.Path(), lis::kToolDsi), 0);
    EXPECT_TRUE(files.empty());

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

TEST_F(LisParamScanTest, DamagedFileRuleAndItsThreeMessagesKeepTheCompleteFilesBefore)
{
    const char* proceed = "LIS The File is damaged but there is some data. Do you want to proceed?";
    // A file cut inside its last record, the damaged logical file `frames` frames long,
    // behind a complete logical file or not.
    auto damaged = [](const lisb::Dfsr& d, int frames, size_t cut, bool before) {
        LisBuilder b;
        if (before) LogicalFile(b, WaveDfsr(), 4, 500.0);
        Bytes bytes = b.FileHeader("BRONTE.002").Dfsr(d).Data(d, 1000.0, 0.5, frames).Data(d, 2000.0, 0.5, 2).Bytes();
        bytes.resize(bytes.size() - cut);
        return bytes;
    };
    // takes "NONE": only curve items, which count as items; answer 0: the question is not asked.
    const struct { int frames; const char* takes; int answer; bool keptDamaged; } cases[] = {
        {10, "WAVE", 0, false}, {11, "WAVE", IDNO, false}, {11, "WAVE", IDYES, true}, {11, "NONE", IDYES, true}};
    for (bool before : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(Format("%d %d %d", before, c.frames, c.answer));
            FakeTool::takes = c.takes;
            if (c.answer) host.ExpectMessage(proceed, c.answer);
            else host.ExpectMessage("The LIS File is damaged, Data is NOT recoverable!");
            const size_t kept = size_t(before) + size_t(c.keptDamaged);
            host.ClearMessages();
            EXPECT_EQ(Run(damaged(WaveDfsr(), c.frames, 10, before)), kept ? 1 : 0);
            // What is kept in spite of the damage is said beside it, and only then.
            if (!c.answer) {
                ASSERT_EQ(host.Messages().size(), 1u);
                EXPECT_EQ(host.Messages()[0].text,
                          std::string("The LIS File is damaged, Data is NOT recoverable!") +
                              (before ? "\nThe 1 complete logical file(s) before the damaged one are kept." : ""));
            }
            ASSERT_EQ(files.size(), kept);
            if (before) {
                EXPECT_EQ(files[0]->m_depths.size(), 4u);
            }
            for (const auto& f : files) EXPECT_FALSE(f->m_items.empty());
        }

    // Proceeding with a file whose only channel is its depth: no item at all.
    lisb::Dfsr bare;
    bare.channels = {};
    for (bool before : {false, true}) {
        host.ExpectMessage(proceed, IDYES);
        host.ExpectMessage(before ? "Sorry, Data is NOT recoverable!\nThe 1 complete logical file(s) before"
                                  : "Sorry, Data is NOT recoverable!");
        const int calls = FakeTool::calls;
        EXPECT_EQ(Run(damaged(bare, 12, 3, before)), before ? 1 : 0);
        EXPECT_EQ(files.size(), before ? 1u : 0u);
        EXPECT_EQ(FakeTool::calls, calls + 1 + before) << "the trailer's work ran for the damaged file";
    }

    // Damage before any logical file, or behind a complete one: a normal end, no question.
    Bytes junk = LisBuilder().ReelHeader().Bytes();
    junk.pop_back();
    EXPECT_EQ(Run(junk), 1);
    EXPECT_TRUE(files.empty());
    LisBuilder b;
    Bytes cut = LogicalFile(b, WaveDfsr(), 3).TapeTrailer().Bytes();
    cut.pop_back();
    EXPECT_EQ(Run(cut), 1);
    EXPECT_EQ(files.size(), 1u);

    // A TIF "next" far past the end of the file ends the scan there.
    LisBuilder far(lisb::kTifFraming);
    Bytes bytes = LogicalFile(far, WaveDfsr(), 3).Bytes();
    endian::PutLE32(bytes.data() + far.Starts().back() + 8, 0xFFFFFFF0u);
    EXPECT_EQ(Run(bytes), 1);
    EXPECT_EQ(files.size(), 1u);
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
    EXPECT_TRUE(scan.m_channelList.empty()) << "a file header ends the last file's channels, trailer or not";
    Dfsr(DfsrBytes().Entry(3, 73, {0, 0, 0, 9}).End().Block("NEW", 4, 1, 68).Block("PAST", 8, 1, 68).r);
    EXPECT_EQ(file->m_frameSize, 9u) << "entry block 3 wins over the sum";
    ASSERT_EQ(scan.m_channelList.size(), 1u) << "after the next file header it counts";
    EXPECT_EQ(scan.m_channelList[0]->m_mnemonic, "NEW") << "a channel reaching past the frame is offered to no one";
}

// ---- hostile input --------------------------------------------------------------------

// What a scan kept, by kind, each in order: file names, channels, table rows, loose
// parameters, depth entries, items. Channels and parameters are the scanner's state.
using Kept = std::vector<std::vector<std::string>>;
Kept KeptBy(const CLisLogicalFileList& files, const CLisScanState* s = nullptr, bool depths = true)
{
    Kept out(6);
    for (const auto& f : files) {
        out[0].push_back(f->m_fileName);
        for (const auto& t : f->m_tables) {
            out[2].push_back("T " + t->m_name);
            for (const auto& r : t->m_rows)
                for (const std::string* v : {&r.m_mnem, &r.m_puni, &r.m_tuni, &r.m_valu, &r.m_svc, &r.m_desc})
                    if (!v->empty()) out[2].push_back(*v);
        }
        if (depths)
            for (const auto& e : f->m_depths) out[4].push_back(Format("%g@%u", e.m_depth, e.m_frameOffset));
        for (const auto& item : f->m_items) out[5].push_back(item->m_mnemonic + " " + item->m_itemLabel);
    }
    if (s) {
        for (const CLisChannelItem* c : s->m_channelList)
            out[1].push_back(Format("%s@%u+%u/%d", c->m_mnemonic.c_str(), c->m_offset, c->m_size, c->m_reprCode));
        for (const auto& p : s->m_parameters) out[3].push_back(p.m_mnemonic + p.m_value);
    }
    return out;
}

// Of each kind, `kept` holds what `clean` holds up to some point; a text cut short (a
// name) may end it.
::testing::AssertionResult IsPrefix(const Kept& kept, const Kept& clean)
{
    for (size_t k = 0; k < kept.size(); ++k) {
        if (kept[k].size() > clean[k].size()) return ::testing::AssertionFailure() << "more kept than the clean scan holds";
        for (size_t i = 0; i < kept[k].size(); ++i) {
            const bool last = i + 1 == kept[k].size();
            if (kept[k][i] != clean[k][i] && !(last && clean[k][i].rfind(kept[k][i], 0) == 0))
                return ::testing::AssertionFailure() << "kept \"" << kept[k][i] << "\" where the clean scan has \""
                                                     << clean[k][i] << "\"";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(LisParamScanRecordTest, ShortAndHostileRecordsAreReadWithinTheirLength)
{
    // Every prefix of each record, in an exactly sized heap block, then a data record cut
    // as short against the frame sizes and depth modes it set: each handler succeeds
    // and keeps a prefix of what the whole records give.
    const lisb::Dfsr d = WaveDfsr();
    const std::vector<Bytes> records = {
        lisb::FileRecord(128),
        lisb::InformationRecord(lisb::TableComponents("CONS", {{{"MNEM", "BS"}, {"VALU", "8.5"}}, {{"MNEM", "X"}}})),
        lisb::InformationRecord({lisb::Component::Number(0, "BS", 73, 12), lisb::Component::Number(0, "DT", 68, 2)}),
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
    // The record (its first n bytes) and the data record (its first m bytes) on a fresh
    // scan. The depths of a data record read under a DFSR cut short are no prefix of
    // anything: they count only under a whole one.
    auto kept = [&](const Bytes& record, size_t n, size_t m) {
        TestScan s;
        CLisLogicalFile* f = s.OnFileHeader(header.data(), uint32_t(header.size()), 32);
        auto block = exact(record, n);
        switch (record[0]) {
        case 128: EXPECT_NE(s.OnFileHeader(block.get(), uint32_t(n), 32), nullptr); break;
        case 34: EXPECT_EQ(s.OnInformationRecord(block.get(), uint32_t(n), f), 1); break;
        default: EXPECT_EQ(s.ParseDfsr(block.get(), uint32_t(n), f), 1); break;
        }
        EXPECT_EQ(s.OnDataRecord(exact(data, m).get(), uint32_t(m), 0, f), 1);
        return KeptBy(s.m_logicalFiles, &s, n == record.size());
    };
    for (const Bytes& full : records) {
        const Kept clean = kept(full, full.size(), data.size());
        for (size_t n = 0; n <= full.size(); ++n) {
            SCOPED_TRACE(Format("record %d cut to %zu", full[0], n));
            EXPECT_TRUE(IsPrefix(kept(full, n, data.size()), clean));
            if (HasFailure()) return;
        }
    }
    // Data records cut short under each whole record.
    for (const Bytes& full : records) {
        const Kept clean = kept(full, full.size(), data.size());
        for (size_t m = 0; m <= data.size(); ++m) {
            SCOPED_TRACE(Format("data under record %d cut to %zu", full[0], m));
            EXPECT_TRUE(IsPrefix(kept(full, full.size(), m), clean));
            if (HasFailure()) return;
        }
    }
}

struct LenientResult {
    int result = 0;
    Kept kept;
};

// Scans with a lenient host: unexpected boxes are answered, not failed.
LenientResult LenientScan(const std::string& path)
{
    ScriptedHost lenient;
    ScopedHost scope(&lenient);
    FakeTool::result = 1;
    FakeTool::takes = "WAVE";
    TestScan s;
    CLisLogicalFileList out;
    LenientResult r;
    r.result = s.Scan(path, &out, "", lis::kToolDsi);
    r.kept = KeptBy(out);
    return r;
}

TEST(LisParamScanHostileTest, TruncatedAndCorruptedFilesNeverCrash)
{
    TempDir dir;
    const std::string path = dir.File("hostile.lis");
    const lisb::Dfsr d = WaveDfsr();
    for (int framing : {lisb::kPlainFraming, lisb::kTifFraming}) {
        SCOPED_TRACE(framing);
        LisBuilder b(framing);
        b.ReelHeader().FileHeader("BRONTE.001").Table("CONS", {{{"MNEM", "BS"}, {"VALU", "8.5"}}}).Dfsr(d)
            .Data(d, 1000.0, 0.5, 3).FileTrailer("BRONTE.001").FileMark().FileMark();
        const Bytes full = b.Bytes();
        const std::vector<uint64_t>& starts = b.Starts();
        WriteBytes(path, full);
        const LenientResult clean = LenientScan(path);
        ASSERT_EQ(clean.result, 1);
        // Cut inside a record of the logical file (after its header, up to its trailer), the
        // scan finds it damaged with too few depths to keep: 0. Cut anywhere else (at a
        // record's start past the first, in the reel header or the header of the file,
        // after its trailer), it ends normally.
        const uint64_t inside = starts[2], complete = framing == lisb::kTifFraming ? starts[6] : full.size();
        std::vector<size_t> cuts;
        for (size_t cut = 0; cut < full.size(); cut += 7) cuts.push_back(cut);
        for (uint64_t start : starts) cuts.insert(cuts.end(), {start + 1, start, start + 13, start + 17});
        for (size_t i = 1; i < starts.size(); ++i) cuts.push_back(starts[i] - 1);
        for (size_t cut : cuts) {
            if (cut >= full.size()) continue;
            SCOPED_TRACE(cut);
            WriteBytes(path, Bytes(full.begin(), full.begin() + long(cut)));
            const LenientResult r = LenientScan(path);
            const bool atStart = std::find(starts.begin(), starts.end(), cut) != starts.end();
            // Shorter than a record's headers: refused at the open.
            const bool refused = cut < lis::kInputRule.headerBytes;
            EXPECT_EQ(r.result, refused || (!atStart && cut > inside && cut < complete) ? 0 : 1);
            EXPECT_TRUE(IsPrefix(r.kept, clean.kept));
            if (r.result == 0) {
                EXPECT_TRUE(r.kept[0].empty()) << "nothing handed over on failure";
            }
            if (HasFailure()) return;
        }
        // 300 copies with 4 random bytes changed: a result, and nothing handed over on failure.
        std::mt19937 rng(1234 + framing);
        for (int i = 0; i < 300; ++i) {
            Bytes bad = full;
            for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = uint8_t(rng());
            WriteBytes(path, bad);
            const LenientResult r = LenientScan(path);
            EXPECT_TRUE(r.result == 0 || r.result == 1);
            if (r.result == 0) {
                EXPECT_TRUE(r.kept[0].empty()) << "nothing handed over on failure";
            }
        }
    }
}

TEST(LisParamScanSharedDataTest, EveryRealFileScansWithoutCrashOrHang)
{
    const std::string root = SharedDataDir();
    if (root.empty() || !std::filesystem::is_directory(root + "/lis")) GTEST_SKIP() << "no shared data folder";
    int scanned = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root + "/lis")) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().string());
        const LenientResult r = LenientScan(entry.path().string());
        EXPECT_TRUE(r.result == 0 || r.result == 1);
        ++scanned;
    }
    EXPECT_GT(scanned, 0);
}

} // namespace
