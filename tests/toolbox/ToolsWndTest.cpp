#include "toolbox/ToolsWnd.h"

#include "app/ViewerApp.h"
#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "res/ResourceIds.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <csignal>
#include <cstring>
#include <limits>
#include <memory>
#include <sys/resource.h>

namespace {

const char kLowHistory[] = "You are running low with the data history buffer.\nWould you like to edit the history?";
const char kStop[] = "Are you sure you want to stop processing?";
const char kAskDown[] = "This data set log direction is : DOWN.\nWould you like to continue?.";
const char kAskUp[] = "This data set log direction is : UP.\nWould you like to continue?.";

// A data set as it lies on disk: header, descriptors, and every whole frame.
struct QtxImage {
    QtxFileHeader header;
    std::vector<QtxDatumDescriptor> descriptors;
    std::vector<double> depths;
    std::vector<std::vector<float>> frames; // the values behind each depth
    size_t tornBytes = 0;                   // bytes after the last whole frame
};

QtxImage Load(const std::string& path)
{
    QtxImage image;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < qtx::kHeaderSize) return image;
    image.header.Decode(bytes.data());
    const size_t start = qtx::DataStart(image.header.datumCount);
    for (size_t i = 0; i < image.header.datumCount; ++i)
        image.descriptors.emplace_back().Decode(bytes.data() + qtx::kHeaderSize + i * qtx::kDescriptorSize);
    const size_t frameSize = image.header.frameSize;
    size_t at = start;
    for (; frameSize >= qtx::kDepthSize && at + frameSize <= bytes.size(); at += frameSize) {
        image.depths.push_back(endian::GetLEDouble(bytes.data() + at));
        std::vector<float> values((frameSize - qtx::kDepthSize) / 4);
        endian::LEBytesToFloats(values.data(), bytes.data() + at + qtx::kDepthSize, values.size());
        image.frames.push_back(std::move(values));
    }
    image.tornBytes = bytes.size() > at ? bytes.size() - at : 0;
    return image;
}

std::string HistoryText(const QtxFileHeader& header) { return std::string(header.history, qtx::kHistorySize); }

void Patch(const std::string& path, size_t offset, const void* data, size_t n)
{
    std::vector<uint8_t> bytes = ReadBytes(path);
    std::memcpy(bytes.data() + offset, data, n);
    WriteBytes(path, bytes);
}

void PatchByte(const std::string& path, size_t offset, uint8_t value) { Patch(path, offset, &value, 1); }

void PatchDouble(const std::string& path, size_t offset, double value)
{
    uint8_t b[8];
    endian::PutLEDouble(b, value);
    Patch(path, offset, b, 8);
}

void PatchHistory(const std::string& path, const std::string& text)
{
    std::string block(qtx::kHistorySize, ' ');
    block.replace(0, text.size(), text);
    Patch(path, qtx::kHdrHistory, block.data(), block.size());
}

QtxDatumShape Wave(const char* mnemonic, uint16_t traces, uint16_t samples, uint8_t type = 26)
{
    QtxDatumShape d;
    d.mnemonic = mnemonic;
    d.typeCode = type;
    d.category = kCategoryWaveform;
    d.traces = traces;
    d.samples = samples;
    return d;
}

QtxDatumShape Map(const char* mnemonic, uint16_t traces, uint16_t samples, uint16_t rows)
{
    QtxDatumShape d = Wave(mnemonic, traces, samples, 60);
    d.category = kCategorySemblanceMap;
    d.samples2 = rows;
    d.step2 = 5.0f;
    return d;
}

std::unique_ptr<CQtxDatum> Datum(uint8_t category, uint8_t type = 1, uint16_t traces = 1, uint16_t samples = 1,
                                 uint16_t axes = 1, uint16_t rows = 0)
{
    return std::make_unique<CQtxDatum>(1u, "DTM ", type, category, type, 1, traces, axes, 8,
                                       uint32_t(traces) * samples * (axes == 1 ? 1 : rows) * 4, 1, 0, samples, 1.0f,
                                       0xFF, 0, rows, 1.0f);
}

class ToolsWndTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        theApp.ResetToStartupState();
        input = dir.File("in.qtx");
        output = dir.File("out.qtx");
    }
    void TearDown() override
    {
        theApp.ResetToStartupState();
        HostTest::TearDown();
    }

    std::unique_ptr<CToolsWnd> Engine()
    {
        auto e = std::make_unique<CToolsWnd>();
        e->m_outputPath = output;
        e->m_startDepth = 1000.0;
        e->m_stopDepth = 1010.0;
        return e;
    }

    static void Select(int count, std::initializer_list<int> selected)
    {
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = count;
        for (int i = 0; i < count && i < kToolBoxFlagCount; ++i) p.listed[size_t(i)] = 1;
        for (int k : selected) p.selected[size_t(k)] = 1;
    }

    TempDir dir;
    std::string input;
    std::string output;
};

// ---- helpers of the engine ------------------------------------------------------------------

TEST_F(ToolsWndTest, ShortPathKeepsTheTailFromTheLastSeparator)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/data/logs/well.qtx", ".../well.qtx"}, {"C:\\logs\\well.qtx", "...\\well.qtx"},
        {"well.qtx", "..."},                     {"", "..."},
        {"/data\\mixed/x.qtx", ".../x.qtx"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(CToolsWnd::ShortPath(path), expected) << path;
}

TEST_F(ToolsWndTest, HistoryLengthScansPositions4094DownTo1)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, char>> marks;
        int length;
    };
    const Case cases[] = {
        {"all blank", {}, 1},
        {"only position 0", {{0, 'x'}}, 1},
        {"only position 4095", {{4095, 'x'}}, 1},
        {"text up to 9", {{0, 'a'}, {9, 'b'}}, 10},
        {"position 4094", {{4094, 'x'}}, 4095},
        {"a zero byte counts as text", {{20, '\0'}}, 21},
    };
    for (const auto& c : cases) {
        char history[qtx::kHistorySize];
        std::memset(history, ' ', sizeof history);
        for (auto [at, ch] : c.marks) history[at] = ch;
        EXPECT_EQ(CToolsWnd::HistoryLength(history), c.length) << c.what;
    }
}

// ---- history ----------------------------------------------------------------------------------

TEST_F(ToolsWndTest, LowHistoryQuestionComesAbove3596CharactersInUse)
{
    for (int length : {1, 3000, 3596, 3597, 4000}) {
        auto e = Engine();
        std::memset(e->m_history, ' ', sizeof e->m_history);
        if (length > 3596) host.ExpectMessage(kLowHistory, IDNO);
        e->AppendHistory(length);
        EXPECT_TRUE(host.PendingExpectations().empty()) << length;
    }
    EXPECT_EQ(MessageTexts().size(), 2u);
}

TEST_F(ToolsWndTest, HistoryNeverWritesAtOrBeyond4094)
{
    for (int length = 4070; length <= 4096; ++length) {
        auto e = Engine();
        e->m_inputPath = "/x.qtx";
        e->m_taskCode = 14;
        std::memset(e->m_history, '#', sizeof e->m_history);
        host.ExpectMessage(kLowHistory, IDNO);
        const int result = e->AppendHistory(length);
        EXPECT_LE(result, std::max(length, 4094)) << length;
        for (size_t i = 4094; i < qtx::kHistorySize; ++i) EXPECT_EQ(e->m_history[i], '#') << length;
        if (length >= 4093) {
            EXPECT_EQ(result, length) << "nothing added at " << length;
        }
    }
}

TEST_F(ToolsWndTest, LineThatDoesNotFitIsLeftOutWholeWhileLaterShorterOnesAreAdded)
{
    auto e = Engine();
    e->m_inputPath = "/" + std::string(200, 'p') + ".qtx";
    e->m_taskCode = 14;
    e->m_depthUnitLabel = " [ft]";
    std::memset(e->m_history, ' ', sizeof e->m_history);
    host.ExpectMessage(kLowHistory, IDNO);
    const int length = e->AppendHistory(3990);
    const std::string added(e->m_history + 3990, size_t(length - 3990));
    EXPECT_EQ(added, "\r\n\r\n\r\n*** Depth range :  1000.0000 -  1010.0000  [ft]\r\n*** Tools (Reverse depth order)");
}

TEST_F(ToolsWndTest, TaskLinesFollowTheTaskCode)
{
    struct Case {
        int code;
        float factor;
        const char* line;
    };
    const Case cases[] = {
        {1, 0, "*** Tools (Extract depth)"},
        {3, 0, "*** Tools (Shift in depth) -    12.5000  [ft]"},
        {5, 0.7f, "*** Tools (Multiply by factor) -   0.7000"},
        {7, 0, "*** Tools (Convert depth to english)"},
        {8, 0, "*** Tools (Splice at depth) -  1005.2500  [ft]"},
        {14, 0, "*** Tools (Reverse depth order)"},
        {15, 0, ""},
        {21, 2.5f, "*** Tools (Resample depth) -   2.5000"},
        {22, -10.0f, "*** Tools (Shift by factor) - -10.0000"},
        {23, 0.25f, "*** Tools (Overwrite depth step) -   0.2500"},
        {26, 0, "*** Tools (Compute Rms average log)"},
        {28, 0, "*** Tools (Reverse receiver order)"},
        {29, 0, "*** Tools (Construct QTX data set)"},
        {30, 0, ""},
        {31, 0, ""},
        {99, 0, ""},
    };
    for (const auto& c : cases) {
        auto e = Engine();
        e->m_inputPath = "in.qtx";
        e->m_taskCode = uint16_t(c.code);
        e->m_factor = c.factor;
        e->m_factorDouble = 12.5;
        e->m_spliceDepth = 1005.25;
        e->m_depthUnitLabel = " [ft]";
        std::memset(e->m_history, ' ', sizeof e->m_history);
        const int length = e->AppendHistory(1);
        const std::string text(e->m_history, size_t(length));
        EXPECT_EQ(text, std::string(" \r\n\r\n*** Input data : in.qtx\r\n*** Depth range :  1000.0000 -  1010.0000  [ft]\r\n")
                            + c.line)
            << c.code;
    }
}

TEST_F(ToolsWndTest, EditHistoryThatClearsTheInputRestartsTheHistoryAtPosition1)
{
    ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 1, 4)}, 3));
    PatchHistory(input, std::string(3700, 'h'));
    Select(1, {0});
    auto e = Engine();
    e->m_factor = 1.0f;
    host.ExpectMessage(kLowHistory, IDYES);
    host.ScriptDialog(kIddHistory).Press(kIdcClearHistory);
    host.ExpectMessage("This operation will clear the history.", IDYES);
    host.ScriptDialog(kIddHistory).Press(IDCANCEL);
    ASSERT_EQ(e->ShiftByFactor("", input), 1);

    EXPECT_EQ(HistoryText(Load(input).header), std::string(qtx::kHistorySize, ' '));
    const std::string out = HistoryText(Load(output).header);
    EXPECT_EQ(out.substr(0, 20), " \r\n\r\n*** Input data ");
    EXPECT_EQ(Load(output).frames.size(), 3u);
}

TEST_F(ToolsWndTest, EditHistoryThatCannotReopenTheInputKeepsTheOldHistory)
{
    ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 1, 4)}, 3));
    auto e = Engine();
    e->m_inputPath = input;
    ASSERT_TRUE(e->m_primaryFile.OpenRead(input));
    std::memset(e->m_history, 'h', 3700);
    std::memset(e->m_history + 3700, ' ', qtx::kHistorySize - 3700);
    const std::string before(e->m_history, qtx::kHistorySize);
    host.ExpectMessage(kLowHistory, IDYES);
    host.ScriptDialog(kIddHistory).Inspect([&](CDialog&) { std::remove(input.c_str()); }).Press(IDCANCEL);
    host.ExpectMessage("Could not open input file :\n" + input);
    EXPECT_EQ(e->AppendHistory(3700), 3700);
    EXPECT_EQ(std::string(e->m_history, qtx::kHistorySize), before);
}

// ---- two-input frame ------------------------------------------------------------------------

TEST_F(ToolsWndTest, CurveInputChecksRunInOrderWithTheirBoundaries)
{
    struct Case {
        const char* what;
        double secondaryStep;
        uint8_t secondaryUnits;
        uint8_t secondaryDirection;
        uint8_t primaryCategory;
        uint8_t secondaryCategory;
        const char* message; // nullptr: the inputs fit
    };
    const Case cases[] = {
        {"steps 0.0005 apart", 1.0005, 1, 0xFF, 6, 6, nullptr},
        {"steps 0.0006 apart", 1.0006, 1, 0xFF, 6, 6, "Different depth increments in input files!"},
        {"units", 1.0, 0xFF, 0xFF, 6, 6, "Different depth units in input files!"},
        {"directions", 1.0, 1, 1, 6, 6, "Different log directions in input files!"},
        {"primary not a curve", 1.0, 1, 0xFF, 1, 6, "Unproper datum selection in primary file!"},
        {"secondary not a curve", 1.0, 1, 0xFF, 6, 3, "Unproper domain selection in secondary file!"},
        {"units before directions", 1.0, 0xFF, 1, 1, 1, "Different depth units in input files!"},
    };
    for (const auto& c : cases) {
        auto e = Engine();
        e->m_primaryStep = 1.0;
        e->m_secondaryStep = c.secondaryStep;
        e->m_primaryGroup.depthUnits = 1;
        e->m_primaryGroup.logDirection = 0xFF;
        e->m_secondaryGroup.depthUnits = c.secondaryUnits;
        e->m_secondaryGroup.logDirection = c.secondaryDirection;
        e->m_primaryList.push_back(Datum(1));
        e->m_primaryList.push_back(Datum(c.primaryCategory, 7));
        e->m_secondaryList.push_back(Datum(c.secondaryCategory));
        e->m_primaryGroup.selected[1] = 1;
        e->m_secondaryGroup.selected[0] = 1;
        if (c.message) host.ExpectMessage(std::string(c.message) + "\nOperation will be abandoned.");
        EXPECT_EQ(e->CheckCurveInputs(), c.message ? 0 : 1) << c.what;
        if (!c.message) {
            EXPECT_EQ(e->m_primaryGroup.curveCategory, 6) << c.what;
        }
    }
}

TEST_F(ToolsWndTest, MergeAndMechanicalChecksHaveTheirOwnRefusals)
{
    struct Case {
        const char* what;
        int task; // 29 or 31
        int secondaryFrames;
        uint8_t secondaryType;
        bool secondarySelected;
        uint8_t densityCategory;
        const char* message;
        int result;
    };
    const Case cases[] = {
        {"merge fits", 29, 10, 8, true, 6, nullptr, 1},
        {"merge frame counts", 29, 11, 8, true, 6, "Different number of depth frames in input files!", 0},
        {"merge same datums", 29, 10, 7, true, 6, "Encountered the same datums in input files!", 0},
        {"merge without selection", 29, 10, 8, false, 6, nullptr, 0},
        {"mechanical fits", 31, 10, 8, true, 6, nullptr, 1},
        {"mechanical density", 31, 10, 8, true, 1, "Unproper domain selection in density file!", 0},
    };
    for (const auto& c : cases) {
        theApp.ResetToStartupState();
        auto e = Engine();
        e->m_primaryFrameCount = 10;
        e->m_secondaryFrameCount = c.secondaryFrames;
        e->m_primaryStep = e->m_secondaryStep = e->m_densityStep = 0.5;
        e->m_primaryList.push_back(Datum(6, 7));
        e->m_secondaryList.push_back(Datum(6, c.secondaryType));
        e->m_densityList.push_back(Datum(c.densityCategory, 9));
        theApp.m_utilitiesSetup.primary.selected[0] = 1;
        theApp.m_utilitiesSetup.secondary.selected[0] = c.secondarySelected ? 1 : 0;
        e->m_primaryGroup.selected[0] = e->m_secondaryGroup.selected[0] = e->m_densityGroup.selected[0] = 1;
        if (c.message) host.ExpectMessage(std::string(c.message) + "\nOperation will be abandoned.");
        EXPECT_EQ(c.task == 29 ? e->CheckMergeInputs() : e->CheckMechanicalInputs(), c.result) << c.what;
    }
}

TEST_F(ToolsWndTest, DepthOverlapFindsTheCommonFrames)
{
    struct Case {
        const char* what;
        uint8_t direction;
        double pTop, pBottom, sTop, sBottom; // step 1.0; frame counts follow from the depths
        int primaryFirst, primaryEnd, secondaryFirst;
        double start, end;
    };
    const Case cases[] = {
        {"down, secondary starts lower", 0xFF, 100, 200, 150, 250, 50, 101, 0, 150, 200},
        {"down, secondary ends first: its bottom frame stays", 0xFF, 100, 200, 50, 150, 0, 51, 50, 100, 150},
        {"down, equal to four decimals", 0xFF, 100, 200, 150.00004, 250, 50, 101, 0, 150.00004, 200},
        {"down, a ten-thousandth lower", 0xFF, 100, 200, 150.0001, 250, 51, 101, 0, 150.0001, 200},
        {"down, no overlap", 0xFF, 100, 200, 300, 400, 101, 101, 0, 300, 200},
        {"up, secondary ends above: its bottom frame goes", 1, 200, 100, 250, 150, 0, 50, 50, 200, 150},
        {"up, secondary inside", 1, 200, 100, 180, 50, 20, 101, 0, 180, 100},
    };
    for (const auto& c : cases) {
        auto e = Engine();
        e->m_primaryGroup.logDirection = c.direction;
        e->m_primaryTop = c.pTop;
        e->m_primaryBottom = c.pBottom;
        e->m_secondaryTop = c.sTop;
        e->m_secondaryBottom = c.sBottom;
        e->m_primaryStep = e->m_secondaryStep = 1.0;
        e->m_primaryFrameCount = int(std::fabs(c.pBottom - c.pTop)) + 1;
        e->m_secondaryFrameCount = int(std::fabs(c.sBottom - c.sTop)) + 1;
        e->FindDepthOverlap();
        EXPECT_EQ(e->m_primaryFirstIndex, c.primaryFirst) << c.what;
        EXPECT_EQ(e->m_primaryEndIndex, c.primaryEnd) << c.what;
        EXPECT_EQ(e->m_secondaryFirstIndex, c.secondaryFirst) << c.what;
        EXPECT_DOUBLE_EQ(e->m_rangeStartDepth, c.start) << c.what;
        EXPECT_DOUBLE_EQ(e->m_rangeEndDepth, c.end) << c.what;
        EXPECT_DOUBLE_EQ(e->m_currentDepth, c.start) << c.what;
    }
    auto e = Engine();
    e->m_primaryGroup.logDirection = 0;
    e->m_primaryFirstIndex = e->m_primaryEndIndex = e->m_secondaryFirstIndex = -7;
    e->FindDepthOverlap();
    EXPECT_EQ(e->m_primaryFirstIndex, -7);
    EXPECT_EQ(e->m_primaryEndIndex, -7);
}

TEST_F(ToolsWndTest, OpeningInputsSetsLabelsRangesAndRefusesMarkers)
{
    const std::string up = dir.File("up.qtx");
    ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 1, 2)}, 5, 100.0, 0.5));
    ASSERT_TRUE(WriteQtx(up, {Wave("WAVE", 1, 2)}, 3, 50.0, 0.5, DefaultSample, qtx::kLogUp));
    PatchByte(up, qtx::kHdrDepthUnits, qtx::kUnitsMetres);
    auto e = Engine();
    e->m_primaryPath = input;
    e->m_secondaryPath = up;
    ASSERT_EQ(e->OpenPrimary(), 1);
    EXPECT_EQ(e->m_multiLogDirectionLabel, "DOWN");
    EXPECT_EQ(e->m_depthSign, 1);
    EXPECT_DOUBLE_EQ(e->m_rangeStartDepth, 100.0);
    EXPECT_DOUBLE_EQ(e->m_rangeEndDepth, 102.0);
    EXPECT_EQ(e->m_progressUpper[0], 5);
    ASSERT_EQ(e->OpenSecondary(), 1);
    EXPECT_EQ(e->m_multiLogDirectionLabel, "UP");
    EXPECT_EQ(e->m_depthSign, -1);
    EXPECT_DOUBLE_EQ(e->m_rangeStartDepth, 51.0);
    EXPECT_DOUBLE_EQ(e->m_currentDepth, 50.0);
    EXPECT_EQ(e->m_depthUnitLabel, " [ft]") << "only the primary and density set the unit label";
    EXPECT_EQ(e->m_secondaryGroup.depthUnits, qtx::kUnitsMetres);

    PatchDouble(input, qtx::kHdrDepthStep, -1.0);
    auto f = Engine();
    f->m_primaryPath = input;
    EXPECT_EQ(f->OpenPrimary(), 0);
    EXPECT_FALSE(f->m_primaryFile.m_fileIn.IsOpen());
}

// ---- the task sequence ------------------------------------------------------------------------

TEST_F(ToolsWndTest, StoppingAfterKFramesLeavesExactlyKFrames)
{
    enum Task { kReverseDepth, kShift, kReverseReceiver };
    for (Task task : {kReverseDepth, kShift, kReverseReceiver})
        for (int k : {0, 1, 3}) {
            ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 2, 3)}, 6, 100.0, 0.5));
            std::remove(output.c_str());
            theApp.ResetToStartupState();
            Select(1, {0});
            auto e = Engine();
            if (task == kReverseDepth) host.ExpectMessage(kAskDown, IDYES);
            host.ScriptDialog(kIddProgress).Pumps(2 * k + 1).Press(IDCANCEL);
            host.ExpectMessage(kStop, IDYES);
            const int result = task == kReverseDepth ? e->ReverseDepthOrder("", input)
                               : task == kShift      ? e->ShiftByFactor("", input)
                                                     : e->ReverseReceiverOrder("", input);
            EXPECT_EQ(result, 1);
            const QtxImage out = Load(output);
            EXPECT_EQ(out.header.frameCount, uint32_t(k)) << task << " " << k;
            EXPECT_EQ(out.frames.size(), size_t(k)) << task << " " << k;
            EXPECT_EQ(out.tornBytes, 0u);
            if (task == kReverseDepth && k > 0) {
                EXPECT_DOUBLE_EQ(out.depths.back(), 102.5 - 0.5 * (k - 1));
            }
        }
}

TEST_F(ToolsWndTest, RefusalsCreateNoOutput)
{
    struct Case {
        const char* what;
        int task; // 14, 22, 28
        int datums;
        bool select;
        const char* message;
        int answer;
    };
    const Case cases[] = {
        {"shift without selection", 22, 1, false, "Encountered empty selection list!\nOperation will be abandoned.",
         IDOK},
        {"receivers without selection", 28, 1, false,
         "Encountered empty selection list!\nOperation will be abandoned.", IDOK},
        {"no to the direction", 14, 1, false, kAskDown, IDNO},
        {"more than 256 datums", 22, 257, true,
         "Encountered more than 256 datums in input file!\nOperation will be abandoned.", IDOK},
    };
    for (const auto& c : cases) {
        std::vector<QtxDatumShape> shapes(size_t(c.datums), Wave("CRV", 1, 1));
        ASSERT_TRUE(WriteQtx(input, shapes, 2));
        theApp.ResetToStartupState();
        if (c.select) Select(c.datums, {0});
        auto e = Engine();
        host.ExpectMessage(c.message, c.answer);
        const int result = c.task == 14 ? e->ReverseDepthOrder("", input)
                           : c.task == 22 ? e->ShiftByFactor("", input)
                                          : e->ReverseReceiverOrder("", input);
        EXPECT_EQ(result, -1) << c.what;
        EXPECT_FALSE(FileExists(output)) << c.what;
        EXPECT_FALSE(e->m_primaryFile.m_fileIn.IsOpen()) << c.what;
    }
}

TEST_F(ToolsWndTest, UnreadableFrameEndsWithTheWholeFramesWrittenAndOneMessage)
{
    ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 2, 8)}, 5));
    std::vector<uint8_t> bytes = ReadBytes(input);
    const size_t frameSize = 8 + 2 * 8 * 4;
    bytes.resize(qtx::DataStart(1) + 3 * frameSize + 20); // frame 3 is cut short
    WriteBytes(input, bytes);
    Select(1, {0});
    auto e = Engine();
    host.ExpectMessage("Error reading frame data in file :\n" + input);
    EXPECT_EQ(e->ShiftByFactor("", input), -1);
    const QtxImage out = Load(output);
    EXPECT_EQ(out.header.frameCount, 3u);
    EXPECT_EQ(out.frames.size(), 3u);
    EXPECT_EQ(out.tornBytes, 0u);

    // The reverse order reads the cut frame first: an output of no frame, no second message.
    auto r = Engine();
    host.ExpectMessage(kAskDown, IDYES);
    host.ExpectMessage("Error reading frame data in file :\n" + input);
    EXPECT_EQ(r->ReverseDepthOrder("", input), -1);
    EXPECT_EQ(Load(output).header.frameCount, 0u);
    EXPECT_EQ(ReadBytes(output).size(), qtx::DataStart(1));
}

TEST_F(ToolsWndTest, FailedFrameWriteFinalizesTheWholeFramesWithoutASecondError)
{
    ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 2, 64)}, 6));
    const size_t frameSize = 8 + 2 * 64 * 4;
    Select(1, {0});
    auto e = Engine();
    host.ExpectMessage("Error writing frame data in file :\n" + output);

    // The file-size limit makes the third frame's data write fail halfway.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(qtx::DataStart(1) + 2 * frameSize + frameSize / 2);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int result = e->ShiftByFactor("", input);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, -1);
    const QtxImage out = Load(output);
    EXPECT_EQ(out.header.frameCount, 2u);
    EXPECT_EQ(out.frames.size(), 2u);
    EXPECT_EQ(out.tornBytes, 0u);
    EXPECT_DOUBLE_EQ(out.header.bottomDepth, 1000.5);
}

// ---- the tools ------------------------------------------------------------------------------------

TEST_F(ToolsWndTest, ReverseDepthOrderReversesFramesAndDirection)
{
    struct Case {
        const char* what;
        uint8_t direction;
        double top, step; // frame depths as written: top + k x step
        const char* question;
        uint8_t outDirection;
        int frames;
        double firstDepth, depthStep; // output frame k at firstDepth + k x depthStep
    };
    const Case cases[] = {
        {"down", 0xFF, 100.0, 0.5, kAskDown, 1, 21, 110.0, -0.5},
        {"up", 1, 110.0, -0.5, kAskUp, 0xFF, 21, 100.0, 0.5},
        {"neither: no frames", 7, 100.0, 0.5, kAskDown, 1, 0, 0, 0},
    };
    const std::vector<QtxDatumShape> shapes = {Wave("WAVE", 3, 5), Map("SMAP", 1, 4, 3)};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, shapes, 21, c.top, c.step, DefaultSample, c.direction));
        PatchDouble(input, qtx::kHdrDepthStep, 0.5); // the header keeps a positive step
        const QtxImage in = Load(input);
        auto e = Engine();
        host.ExpectMessage(c.question, IDYES);
        ASSERT_EQ(e->ReverseDepthOrder("", input), 1) << c.what;
        const QtxImage out = Load(output);
        EXPECT_EQ(out.header.logDirection, c.outDirection) << c.what;
        EXPECT_EQ(out.header.frameCount, uint32_t(c.frames)) << c.what;
        EXPECT_EQ(out.header.depthStep, 0.5);
        ASSERT_EQ(out.descriptors.size(), 2u);
        EXPECT_EQ(out.descriptors[1].axisCount, 2);
        EXPECT_EQ(out.header.frameSize, in.header.frameSize);
        ASSERT_EQ(out.frames.size(), size_t(c.frames)) << c.what;
        for (int k = 0; k < c.frames; ++k) {
            EXPECT_DOUBLE_EQ(out.depths[size_t(k)], c.firstDepth + k * c.depthStep) << c.what << k;
            EXPECT_EQ(out.frames[size_t(k)], in.frames[size_t(c.frames - 1 - k)]) << c.what << k;
        }
        if (c.frames) {
            EXPECT_DOUBLE_EQ(out.header.topDepth, c.firstDepth);
            EXPECT_DOUBLE_EQ(out.header.bottomDepth, c.firstDepth + 20 * c.depthStep);
        }
        const std::string history = HistoryText(out.header);
        EXPECT_NE(history.find("\r\n*** Tools (Reverse depth order)"), std::string::npos);
    }
}

TEST_F(ToolsWndTest, ReverseReceiverOrderReversesSelectedOneAxisDatums)
{
    const std::vector<QtxDatumShape> shapes = {Wave("WAVE", 8, 6), Wave("KEEP", 4, 3), Wave("ONE ", 1, 5),
                                               Map("SMAP", 2, 3, 4)};
    ASSERT_TRUE(WriteQtx(input, shapes, 4));
    Select(4, {0, 2, 3});
    auto e = Engine();
    ASSERT_EQ(e->ReverseReceiverOrder("", input), 1);
    const QtxImage in = Load(input);
    const QtxImage out = Load(output);
    ASSERT_EQ(out.frames.size(), 4u);
    EXPECT_EQ(out.depths, in.depths);
    for (size_t f = 0; f < 4; ++f) {
        const std::vector<float>& a = in.frames[f];
        const std::vector<float>& b = out.frames[f];
        for (size_t t = 0; t < 8; ++t)
            for (size_t s = 0; s < 6; ++s) EXPECT_EQ(b[t * 6 + s], a[(7 - t) * 6 + s]) << f;
        // The unselected datum, the one-trace datum and the whole two-trace map are unchanged.
        EXPECT_TRUE(std::equal(b.begin() + 48, b.end(), a.begin() + 48)) << f;
    }

    // Twice gives the input back.
    const std::string twice = dir.File("twice.qtx");
    auto again = Engine();
    again->m_outputPath = twice;
    ASSERT_EQ(again->ReverseReceiverOrder("", output), 1);
    EXPECT_EQ(Load(twice).frames, in.frames);
}

TEST_F(ToolsWndTest, ShiftByFactorAddsTheFactorAndKeepsNulls)
{
    const float payloadNan = std::bit_cast<float>(0x7FC00123u);
    auto sample = [&](int frame, int datum, size_t index) -> float {
        if (index == 1) return -999.25f;
        if (datum == 1 && index == 2) return payloadNan;
        return DefaultSample(frame, datum, index);
    };
    // A datum of 80,000 values goes through the read buffer and the output buffer in pieces.
    const std::vector<QtxDatumShape> shapes = {Wave("WAVE", 2, 40000), Wave("KEEP", 1, 5), Map("SMAP", 1, 3, 2)};
    ASSERT_TRUE(WriteQtx(input, shapes, 3, 1000.0, 0.5, sample));
    Select(3, {0, 2});
    auto e = Engine();
    e->m_factor = -10.0f;
    ASSERT_EQ(e->ShiftByFactor("", input), 1);
    const QtxImage in = Load(input);
    const QtxImage out = Load(output);
    ASSERT_EQ(out.frames.size(), 3u);
    EXPECT_DOUBLE_EQ(out.header.topDepth, 1000.0);
    EXPECT_DOUBLE_EQ(out.header.bottomDepth, 1001.0);
    const size_t keepAt = 80000, mapAt = keepAt + 5;
    for (size_t f = 0; f < 3; ++f) {
        const std::vector<float>& a = in.frames[f];
        const std::vector<float>& b = out.frames[f];
        for (size_t i : {size_t(0), size_t(2), size_t(39999), size_t(40000), size_t(79999), mapAt, mapAt + 5})
            EXPECT_EQ(b[i], float(double(a[i]) - 10.0)) << f << " " << i;
        EXPECT_EQ(b[1], -999.25f);
        EXPECT_EQ(b[mapAt + 1], -999.25f);
        EXPECT_EQ(std::memcmp(&b[keepAt], &a[keepAt], 5 * sizeof(float)), 0) << "unselected: bit for bit";
    }
    EXPECT_NE(HistoryText(out.header).find("\r\n*** Tools (Shift by factor) - -10.0000"), std::string::npos);
}

TEST_F(ToolsWndTest, BlankInputHistoryGivesTheRunLinesFromPosition1)
{
    ASSERT_TRUE(WriteQtx(input, {Wave("WAVE", 1, 2)}, 2));
    Select(1, {0});
    auto e = Engine();
    e->m_factor = 0.5f;
    ASSERT_EQ(e->ShiftByFactor("", input), 1);
    const std::string expected = " \r\n\r\n*** Input data : " + input
                                 + "\r\n*** Depth range :  1000.0000 -  1010.0000  [ft]\r\n"
                                   "*** Tools (Shift by factor) -   0.5000";
    const std::string history = HistoryText(Load(output).header);
    EXPECT_EQ(history.substr(0, expected.size()), expected);
    EXPECT_EQ(history.find_first_not_of(' ', expected.size()), std::string::npos);
}

TEST_F(ToolsWndTest, OversizedItemsAreRefusedBeforeReading)
{
    CQtxDatumList list;
    list.push_back(Datum(1, 1, 256, 256));                // 65,536 values: fits
    list.push_back(Datum(5, 1, 1, 300, 2, 219));          // 65,700 values
    uint32_t selected[CToolsWnd::kMaxToolDatums] = {1};
    EXPECT_EQ(CToolsWnd::RefuseUnfitItems(list, selected), 1);
    host.ExpectMessage("Datum DTM  does not fit into the sample buffer!\nOperation will be abandoned.");
    EXPECT_EQ(CToolsWnd::RefuseUnfitItems(list, nullptr), 0);

    auto e = Engine();
    host.ExpectMessage("does not fit into the sample buffer!");
    EXPECT_EQ(e->ReadPrimaryItem(*list[1], 0), 0);
}

} // namespace
