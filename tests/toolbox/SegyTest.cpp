#include "toolbox/SegyFile.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/QtxLayout.h"
#include "platform/Endian.h"
#include "res/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/SegyBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

using T = ToolTask;
const std::string kAbandon = "\nOperation will be abandoned.";
const std::string kNeed = "\nA data set needs evenly spaced depths in one direction.";

class SegyTest : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    int Run(T task, const std::string& from, const std::string& to, std::vector<int> selected = {0})
    {
        std::remove(to.c_str());
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = 3;
        p.selected.fill(0);
        for (int k : selected) p.selected[size_t(k)] = 1;
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = to;
        return RunToolTask(*e, task, from);
    }
    int Export(std::vector<int> selected = {0}) { return Run(T::ConvertQtxToSegy, input, segy, selected); }
    int Import(const std::string& from) { return Run(T::ConvertSegyToQtx, from, output); }

    TempDir dir;
    std::string input = dir.File("in.qtx"), segy = dir.File("out.segy"), output = dir.File("back.qtx");
};

// The published layout (rev 1), which other programs read: a 3600-byte header whose
// text is EBCDIC, every binary field big-endian at its offset (IEEE floats, code 5,
// fixed-length traces, no extended headers) and the data set's flags behind a tag; each
// trace numbered, its depth with the scalar -1000 in the receiver and source depths,
// its samples big-endian, receiver after receiver.
TEST_F(SegyTest, ExportWritesThePublishedLayoutWithEveryFieldAtItsOffset)
{
    const struct {
        uint8_t direction, units;
        double top, step;
        int32_t first, second; // thousandths of the first two shots
    } cases[] = {{0xFF, 0, -0.0015, 0.9891, -2, 988},
                 {1, 0xFF, 1234.5678, -0.5, 1234568, 1234068},
                 {1, 1, -10.2345, -0.5, -10235, -10735}};
    const auto be16 = [](const std::vector<uint8_t>& b, size_t at) { return endian::GetBE16(b.data() + at); };
    const auto be32 = [](const std::vector<uint8_t>& b, size_t at) { return int32_t(endian::GetBE32(b.data() + at)); };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WVF1", .typeCode = 26, .traces = 3, .samples = 5, .step = 12.7f}},
                             3, c.top, c.step, DefaultSample, c.direction));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; }); // 0: feet, as some converters say it
        ASSERT_EQ(Export(), 1);
        const std::vector<uint8_t> b = ReadBytes(segy);
        const size_t trace = 240 + 5 * 4;
        ASSERT_EQ(b.size(), 3600 + 3 * 3 * trace);
        // "C 1 " and "C40 END TEXTUAL HEADER" in EBCDIC.
        EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 4), (std::vector<uint8_t>{0xC3, 0x40, 0xF1, 0x40}));
        const std::vector<uint8_t> end = {0xC3, 0xF4, 0xF0, 0x40, 0xC5, 0xD5, 0xC4};
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + 39 * 80, b.begin() + 39 * 80 + 7), end);
        const bool metres = c.units == 0xFF;
        const std::pair<size_t, uint16_t> fields[] = {
            {3212, 3}, {3214, 0}, {3216, 13}, {3218, 13}, {3220, 5}, {3222, 5}, {3224, 5}, {3226, 1},
            {3228, 1}, {3254, uint16_t(metres ? 1 : 2)}, {3500, 0x0100}, {3502, 1}, {3504, 0}};
        for (const auto& [at, value] : fields) EXPECT_EQ(be16(b, at), value) << at;
        EXPECT_EQ(std::pair(be32(b, 3204), be32(b, 3208)), std::pair(1, 1));
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + 3260, b.begin() + 3268),
                  (std::vector<uint8_t>{'Q', 'T', 'X', ' ', uint8_t(metres ? 0xFF : 1), c.direction, 26, 1}));
        EXPECT_EQ(endian::GetBEFloat(b.data() + 3268), 12.7f);
        EXPECT_EQ(std::pair(int(b[3272]), int(be16(b, 3274))), std::pair(1, 0)); // microseconds, from index 0
        const QtxImage in = LoadQtx(input);
        for (size_t s = 0; s < 3; ++s)
            for (size_t t = 0; t < 3; ++t) {
                const size_t at = 3600 + (s * 3 + t) * trace;
                const int32_t seq = int32_t(s * 3 + t + 1), shot = int32_t(s + 1), receiver = int32_t(t + 1);
                EXPECT_EQ((std::vector<int32_t>{be32(b, at), be32(b, at + 4), be32(b, at + 8), be32(b, at + 12),
                                                be32(b, at + 20), be32(b, at + 24), be32(b, at + 188), be32(b, at + 192)}),
                          (std::vector<int32_t>{seq, seq, shot, receiver, shot, receiver, shot, receiver}));
                EXPECT_EQ((std::vector<uint16_t>{be16(b, at + 28), be16(b, at + 34), be16(b, at + 68),
                                                 be16(b, at + 70), be16(b, at + 114), be16(b, at + 116)}),
                          (std::vector<uint16_t>{1, 2, uint16_t(-1000), 1, 5, 13}));
                const int32_t thousandths = be32(b, at + 48);
                EXPECT_EQ(be32(b, at + 40), thousandths);
                EXPECT_TRUE(s == 2 || thousandths == (s ? c.second : c.first)) << c.top << " " << thousandths;
                for (size_t j = 0; j < 5; ++j)
                    EXPECT_EQ(endian::GetBEFloat(b.data() + at + 240 + 4 * j), in.frames[s][t * 5 + j]) << s << t << j;
            }
    }
}

// Back from the file: one frame per shot at its depth, the datum with its traces, samples,
// step, type, category, the mnemonic they imply and its axis's unit and first index (a
// slowness per metre from 40 x 2.5). The largest shot (16 x 2048) spans the reader's
// pieces; the input may be read-only.
TEST_F(SegyTest, RoundTripKeepsTheDatumAndItsValues)
{
    const struct {
        QtxDatumShape datum;
        uint8_t direction, units;
        double top, step;
        const char* mnemonic;
    } cases[] = {
        {{.mnemonic = "WAVE", .typeCode = 26, .traces = 8, .samples = 64}, 0xFF, 1, 1000.0, 0.5, "WMNO"},
        {{.mnemonic = "SLOW", .typeCode = 31, .category = 3, .samples = 40, .unit = 3, .step = 2.5f, .first = 40}, 1,
         0xFF, 1503.25, -0.125, "SMNO"},
        {{.mnemonic = "AZIM", .typeCode = 40, .category = 4, .traces = 4, .unit = 5}, 0xFF, 1, -20.0, 0.25, "UDEF"},
        {{.mnemonic = "BIG", .typeCode = 26, .traces = 16, .samples = 2048}, 0xFF, 1, 100.0, 1.0, "WMNO"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, {c.datum}, 10, c.top, c.step, DefaultSample, c.direction));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
        ASSERT_EQ(Export(), 1);
        std::filesystem::permissions(segy, std::filesystem::perms::owner_read);
        ASSERT_EQ(Import(segy), 1) << c.mnemonic;
        const QtxImage in = LoadQtx(input), out = LoadQtx(output);
        EXPECT_EQ(out.depths, in.depths) << c.mnemonic;
        EXPECT_EQ(out.header.logDirection, c.direction);
        EXPECT_EQ(out.header.depthUnits, c.units);
        EXPECT_EQ(out.header.depthStep, c.step);
        EXPECT_EQ(out.frames, in.frames);
        ASSERT_EQ(out.descriptors.size(), 1u);
        const QtxDatumDescriptor& d = out.descriptors[0];
        EXPECT_EQ(std::string(d.mnemonic, 4), c.mnemonic);
        EXPECT_EQ(std::vector<int>({d.typeCode, d.category, d.traceCount, d.axis1.sampleCount, d.axis1.unit,
                                    d.axis1.firstIndex}),
                  std::vector<int>({c.datum.typeCode, c.datum.category, c.datum.traces, c.datum.samples, c.datum.unit,
                                    c.datum.first}));
        EXPECT_EQ(d.axis1.step, c.datum.step);
    }
    // The file's own depth range and unit, after a blank history.
    const std::string lines = " \r\n\r\n*** Input data : " + segy +
                              "\r\n*** Depth range :   100.0000 -   109.0000 FT\r\n*** Tools (Convert SEGY to QTX)";
    EXPECT_EQ(std::string(LoadQtx(output).header.history, lines.size()), lines);
}

// The step is the span of the first and last shots over their count (0.1524 from depths
// cut to thousandths, where two neighbours give 0.152 or 0.153); each frame takes its own
// shot's depth, so no drift builds up over the file.
TEST_F(SegyTest, ImportTakesEachShotsOwnDepth)
{
    for (const bool published : {false, true}) { // the earlier variant, and the published layout
        SegyShape shape;
        shape.published = published;
        shape.depths.clear();
        for (int k = 0; k < 1000; ++k) shape.depths.push_back(1000.0 + 0.1524 * k);
        WriteBytes(segy, SegyBytes(shape));
        ASSERT_EQ(Import(segy), 1) << published;
        const QtxImage out = LoadQtx(output);
        ASSERT_EQ(out.depths.size(), 1000u);
        EXPECT_NEAR(out.header.depthStep, 0.1524, 1e-6);
        EXPECT_EQ(out.depths.back(), 1152.247);
        EXPECT_EQ(out.frames[999][1 * 4 + 3], SegySample(999, 1, 3));
        EXPECT_EQ(out.descriptors.at(0).axis1.step, 10.0f);
    }
}

// Every regular data set comes back with its depths, to the thousandth a shot holds: the
// ends' rounding makes a step of 0.1 wobble between 0.099 and 0.101, never off the grid.
TEST_F(SegyTest, EveryRegularDataSetExportedImportsBackWithItsDepths)
{
    const int frames = 400;
    int checked = 0;
    for (const double step : {0.05, 0.1, 0.2, 0.1524, 0.5})
        for (const double top : {0.0, 0.0005, 17.3, 230.7, 999.95, 1234.5678, 4321.1, 9876.5432})
            for (const uint8_t units : {uint8_t(0xFF), uint8_t(1)})
                for (const uint8_t direction : {uint8_t(0xFF), uint8_t(1)}) {
                    const bool up = direction == 1;
                    const double first = up ? top + step * (frames - 1) : top;
                    ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WAVE", .typeCode = 26, .samples = 2}}, frames, first,
                                         up ? -step : step, DefaultSample, direction));
                    PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = units; });
                    ASSERT_EQ(Export(), 1) << step << " " << top;
                    ASSERT_EQ(Import(segy), 1) << step << " " << top << " " << int(direction);
                    const QtxImage in = LoadQtx(input), out = LoadQtx(output);
                    ASSERT_EQ(out.depths.size(), in.depths.size());
                    for (size_t k = 0; k < in.depths.size(); ++k)
                        ASSERT_NEAR(out.depths[k], in.depths[k], 0.0005 + 1e-9) << step << " " << top << " " << k;
                    EXPECT_NEAR(out.header.depthStep, up ? -step : step, 0.001 / (frames - 1) + 1e-12) << step << " " << top;
                    EXPECT_EQ(std::pair(out.header.logDirection, out.header.depthUnits), std::pair(direction, units));
                    ++checked;
                }
    EXPECT_EQ(checked, 5 * 8 * 2 * 2);
}

// A data set whose frames are off its step keeps its real depths in the file, and the
// export says so and names the first such frame; the import refuses that frame.
TEST_F(SegyTest, IrregularDepthsAreExportedAsTheyAreWithAWord)
{
    const struct {
        uint8_t direction;
        std::vector<double> depths;
        std::string detail; // of the export's notice and the import's refusal
    } cases[] = {
        {0xFF, {1000, 1000.5, 1001.7, 1002},
         "Frame 2 is at depth 1000.5000, off its place 1000.6667 on even steps of 0.6667 DOWN from 1000.0000 to "
         "1002.0000."},
        {0xFF, {1002, 1001.5, 1001, 1000.5}, "Frame 2 is at depth 1001.5000 after 1002.0000: not one step of 0.5000 DOWN."},
    };
    const std::vector<QtxDatumShape> wave = {{.mnemonic = "WAVE", .typeCode = 26, .samples = 2}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, wave, int(c.depths.size()), 1000.0, 0.5, DefaultSample, c.direction));
        std::vector<uint8_t> bytes = ReadBytes(input);
        for (size_t k = 0; k < c.depths.size(); ++k)
            endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + k * (qtx::kDepthSize + 8), c.depths[k]);
        WriteBytes(input, bytes);
        host.ExpectMessage("Wrote each frame's own depth to the SEGY file :\n" + segy +
                           "\nIts depths are not evenly spaced in one direction:\n" + c.detail +
                           "\nConvert SEGY To QTX will not import it as one data set.");
        ASSERT_EQ(Export(), 1);
        const std::vector<uint8_t> b = ReadBytes(segy);
        const size_t shot = 240 + 2 * 4;
        for (size_t k = 0; k < c.depths.size(); ++k)
            EXPECT_EQ(int32_t(endian::GetBE32(b.data() + 3600 + k * shot + 48)), int32_t(c.depths[k] * 1000)) << k;
        host.ExpectMessage("Encountered invalid depth step in file :\n" + segy + "\n" + c.detail + kNeed + kAbandon);
        EXPECT_EQ(Import(segy), -1);
        EXPECT_FALSE(FileExists(output));
    }
}

// A one-frame data set exports and imports back: its one shot keeps its depth and values,
// and the data set takes half a foot for the step the file cannot hold, with a word.
TEST_F(SegyTest, AOneFrameDataSetExportsAndImportsBack)
{
    const struct {
        uint8_t units, direction;
        double step;      // of the data set imported
        const char* word; // the step as the notice names it
    } cases[] = {
        {0xFF, 0xFF, 0.1524, "0.1524 M"},
        {1, 0xFF, 0.5, "0.5000 FT"},
        {1, 1, -0.5, "0.5000 FT"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WAVE", .typeCode = 26, .samples = 2}}, 1, 1234.567, 0.25,
                             DefaultSample, c.direction));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
        ASSERT_EQ(Export(), 1) << c.word;
        host.ExpectMessage("Imported the one shot of file :\n" + segy +
                           "\nA file of one shot holds no depth step: the data set takes a step of " + c.word + ".");
        ASSERT_EQ(Import(segy), 1) << c.word;
        const QtxImage in = LoadQtx(input), out = LoadQtx(output);
        EXPECT_EQ(out.depths, (std::vector<double>{1234.567})) << c.word;
        EXPECT_EQ(out.frames, in.frames) << c.word;
        EXPECT_EQ(out.header.depthStep, c.step) << c.word;
        EXPECT_EQ(std::pair(out.header.logDirection, out.header.depthUnits), std::pair(c.direction, c.units));
    }
}

// A file that ends inside a shot: its whole shots are imported and the user is told how
// many, and that the shot after them was cut.
TEST_F(SegyTest, ACutFileImportsItsWholeShotsAndSaysTheRestWasCut)
{
    SegyShape shape; // 2 traces of 4 samples: 2 x 256 bytes a shot
    shape.depths = {1000.0, 1000.5, 1001.0, 1001.5};
    std::vector<uint8_t> bytes = SegyBytes(shape);
    bytes.resize(bytes.size() - 300);
    WriteBytes(segy, bytes);
    host.ExpectMessage("Imported 3 whole shot(s) of file :\n" + segy +
                       "\nThe file ends 212 byte(s) into shot 4: that shot is cut and was left out.");
    ASSERT_EQ(Import(segy), 1);
    const QtxImage out = LoadQtx(output);
    EXPECT_EQ(out.depths, (std::vector<double>{1000.0, 1000.5, 1001.0}));
    EXPECT_EQ(out.frames[2][1 * 4 + 3], SegySample(2, 1, 3));
}

// The program's own files only: anything else is refused with its message, header faults
// with no shot in the file at all, and no output is left.
TEST_F(SegyTest, ImportRefusesForeignAndDamagedFilesBeforeReadingAShot)
{
    const std::string foreign = "Unrecognized SEGY data set in file :\n" + segy +
                                "\nOnly SEGY files written by Convert QTX To SEGY can be read." + kAbandon;
    const auto step = [&](const std::string& detail) {
        return "Encountered invalid depth step in file :\n" + segy + "\n" + detail + kNeed + kAbandon;
    };
    const struct {
        std::string message;
        void (*shape)(SegyShape&);
        void (*bytes)(std::vector<uint8_t>&) = nullptr;
    } cases[] = {
        {"Error reading SEGY header in file :\n" + segy, nullptr, [](auto& b) { b.resize(3595); }},
        {foreign, nullptr, [](auto& b) { endian::PutBE16(b.data() + 3224, 1); }},
        {foreign, nullptr, [](auto& b) { b[3246] = 0; }},
        {"Unrecognized number of traces in SEGY data set!" + kAbandon, [](SegyShape& s) { s.traces = 0; }},
        {"Unrecognized number of traces in SEGY data set!" + kAbandon, [](SegyShape& s) { s.traces = 17; }},
        {"Unrecognized number of samples in SEGY data set!" + kAbandon, [](SegyShape& s) { s.samples = 0; }},
        {"Unrecognized number of samples in SEGY data set!" + kAbandon, [](SegyShape& s) { s.samples = 2049; }},
        {"Unrecognized log direction in SEGY data set!" + kAbandon, [](SegyShape& s) { s.logDirection = 0; }},
        {"Unrecognized depth units in SEGY data set!" + kAbandon, [](SegyShape& s) { s.depthUnits = 2; }},
        {"Unrecognized tool type in SEGY data set!" + kAbandon, [](SegyShape& s) { s.itemType = 231; }},
        // No view could lay the samples out: before this, such files imported as data sets none could show.
        {"Unrecognized sample interval in SEGY data set!" + kAbandon, [](SegyShape& s) { s.interval = 0.0f; }},
        {"Unrecognized sample interval in SEGY data set!" + kAbandon, nullptr,
         [](auto& b) { endian::PutLEFloat(b.data() + segy::kSampleInterval, -8.0f); }},
        {"Unrecognized sample interval in SEGY data set!" + kAbandon, nullptr,
         [](auto& b) { endian::PutLEFloat(b.data() + segy::kSampleInterval, NAN); }},
        {"Unrecognized sample interval in SEGY data set!" + kAbandon, nullptr,
         [](auto& b) { endian::PutLEFloat(b.data() + segy::kSampleInterval, INFINITY); }},
        {"Error reading SEGY first shot header in file :\n" + segy, [](SegyShape& s) { s.depths = {}; }},
        {step("Frame 2 is at depth 1000.0000 after 1000.0000: not one step of 0.0000 DOWN."),
         [](SegyShape& s) { s.depths = {1000.0, 1000.0004}; }},
        {step("Frame 2 is at depth 999.0000 after 1000.0000: not one step of 1.0000 DOWN."),
         [](SegyShape& s) { s.depths = {1000.0, 999.0}; }},
        {step("Frame 2 is at depth 1001.0000 after 1000.0000: not one step of 1.0000 UP."), [](SegyShape& s) {
             s.logDirection = 1;
             s.depths = {1000.0, 1001.0};
         }},
    };
    for (const auto& c : cases) {
        SegyShape shape;
        if (c.shape) c.shape(shape);
        std::vector<uint8_t> bytes = SegyBytes(shape);
        if (c.bytes) c.bytes(bytes);
        if (c.message.find("Unrecognized") == 0) bytes.resize(3596);
        WriteBytes(segy, bytes);
        host.ExpectMessage(c.message);
        EXPECT_EQ(Import(segy), -1) << c.message;
        EXPECT_FALSE(FileExists(output)) << c.message;
    }
    host.ExpectMessage("Could not open input file :\n" + dir.File("none.segy"));
    EXPECT_EQ(Import(dir.File("none.segy")), -1);
    SegyShape accepted;
    accepted.itemType = 230;
    WriteBytes(segy, SegyBytes(accepted));
    EXPECT_EQ(Import(segy), 1);
}

// The published layout as the export writes it: a file whose tag, sample code or flag
// bytes are not the export's is refused before a shot is read; a cut one imports its
// whole shots.
TEST_F(SegyTest, ThePublishedLayoutImportsOnlyWhatTheExportWrote)
{
    ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WAVE", .typeCode = 26, .traces = 2, .samples = 4}}, 4));
    ASSERT_EQ(Export(), 1);
    const std::vector<uint8_t> written = ReadBytes(segy);
    const std::string foreign = "Unrecognized SEGY data set in file :\n" + segy +
                                "\nOnly SEGY files written by Convert QTX To SEGY can be read." + kAbandon;
    const struct {
        std::string message;
        void (*bytes)(std::vector<uint8_t>&);
    } cases[] = {
        {foreign, [](auto& b) { b[3260] = 'X'; }},
        {foreign, [](auto& b) { endian::PutBE16(b.data() + 3224, 1); }},
        {"Unrecognized number of traces in SEGY data set!" + kAbandon, [](auto& b) { endian::PutBE16(b.data() + 3212, 17); }},
        {"Unrecognized number of samples in SEGY data set!" + kAbandon, [](auto& b) { endian::PutBE16(b.data() + 3220, 0); }},
        {"Unrecognized depth units in SEGY data set!" + kAbandon, [](auto& b) { b[3264] = 2; }},
        {"Unrecognized log direction in SEGY data set!" + kAbandon, [](auto& b) { b[3265] = 0; }},
        {"Imported 3 whole shot(s) of file :\n" + segy + "\nThe file ends 8 byte(s) into shot 4: that shot is cut "
         "and was left out.", [](auto& b) { b.resize(b.size() - 2 * 256 + 8); }},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = written;
        c.bytes(bytes);
        WriteBytes(segy, bytes);
        host.ExpectMessage(c.message);
        const bool cut = c.message.find("Imported") == 0;
        EXPECT_EQ(Import(segy), cut ? 1 : -1) << c.message;
        EXPECT_EQ(FileExists(output), cut) << c.message;
        if (cut) {
            EXPECT_EQ(LoadQtx(output).depths, (std::vector<double>{1000.0, 1000.5, 1001.0}));
        }
    }
}

// Files in the published layout (big- and little-endian, text headers, a broken one).
TEST_F(SegyTest, EveryStandardSegyFileIsRefusedCleanly)
{
    const std::string data = SharedDataDir();
    if (data.empty()) GTEST_SKIP() << "../shared/data is absent";
    host.onUnexpected = nullptr; // each file's message is looked at below
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data + "/segy")) {
        if (entry.path().extension() != ".sgy") continue;
        ++files;
        host.ClearMessages();
        const std::string path = entry.path().string();
        EXPECT_EQ(Import(path), -1) << path;
        ASSERT_EQ(host.Messages().size(), 1u) << path;
        EXPECT_EQ(host.Messages()[0].type, unsigned(MB_OK | MB_ICONSTOP)) << path;
        EXPECT_EQ(host.Messages()[0].text.find("Unrecognized SEGY data set in file :\n" + path), 0u);
        EXPECT_FALSE(FileExists(output)) << path;
    }
    EXPECT_GT(files, 0);
}

// Exporting what the reader would refuse, or stopping before the first shot, leaves no file.
TEST_F(SegyTest, ExportRefusalsAndEmptyRunsLeaveNoFile)
{
    ASSERT_TRUE(WriteQtx(input,
                         {{.mnemonic = "WAVE", .samples = 4},
                          {.mnemonic = "DTCO", .category = 6},
                          {.mnemonic = "WIDE", .traces = 17, .samples = 4}},
                         3));
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{1}, "Segy conversion requires either time, slowness or azimuth domain data!" + kAbandon},
        {{2}, "Segy conversion requires a datum of one axis, 1 to 16 traces of 1 to 2048 samples and a tool type up to "
              "230!" + kAbandon},
    };
    for (const auto& [selected, message] : cases) {
        host.ExpectMessage(message);
        EXPECT_EQ(Export(selected), -1) << message;
        EXPECT_FALSE(FileExists(segy)) << message;
    }
    host.ScriptDialog(kIddProgress).Pumps(1).Press(IDCANCEL);
    host.ExpectMessage("Are you sure you want to stop processing?", IDYES);
    EXPECT_EQ(Export(), 1);
    EXPECT_FALSE(FileExists(segy));
}

// Shots beyond 4 GiB are found where they lie (a sparse file; skipped where the file system
// cannot hold one).
TEST(SegyFile, ShotsBeyondFourGigabytesAreReadWhereTheyLie)
{
    TempDir dir;
    const std::string path = dir.File("big.segy");
    ScriptedHost host;
    ScopedHost scope(&host);
    SegyShape shape;
    shape.traces = 16;
    shape.samples = 2048;
    shape.depths = {10.0};
    const std::vector<uint8_t> first = SegyBytes(shape);
    shape.depths = {4321.5};
    const std::vector<uint8_t> last = SegyBytes(shape);
    const size_t shotSize = first.size() - 3596;
    const int64_t shots = (int64_t(1) << 32) / int64_t(shotSize) + 2;
    {
        BinaryFile file;
        ASSERT_TRUE(file.Open(path, BinaryFile::modeWrite | BinaryFile::modeCreate));
        if (!file.Write(first.data(), first.size())
            || !file.WriteAt(3596 + (shots - 1) * int64_t(shotSize), last.data() + 3596, shotSize))
            GTEST_SKIP() << "no room for a sparse file of 4 GiB";
    }
    std::vector<uint8_t> header(segy::kFileHeaderSize), trace(segy::kTraceHeaderSize), buffer(segy::kShotBufferSize);
    CSegyFile file;
    ASSERT_EQ(file.OpenInput(CSegyFile::HeaderBuffer(header.data(), header.size()), path), 1);
    EXPECT_EQ(file.ShotCount(), shots);
    EXPECT_EQ(file.ReadLastShotDepth(CSegyFile::TraceHeaderBuffer(trace.data(), trace.size())), 4321.5);
    ASSERT_EQ(file.ReadShotAt(CSegyFile::ShotBuffer(buffer.data(), buffer.size()), shots - 1), 1);
    EXPECT_GT(file.SeekOffset(), int64_t(1) << 32);
    EXPECT_EQ(endian::GetLEFloat(buffer.data() + 15 * segy::kSlotSize + 240 + 4 * 2047), SegySample(0, 15, 2047));
}

} // namespace
