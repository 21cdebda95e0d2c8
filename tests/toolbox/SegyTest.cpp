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

#include <algorithm>
#include <bit>
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
        p.itemCount = 5;
        p.selected.fill(0);
        for (int k : selected) {
            p.selected[size_t(k)] = 1;
            p.itemCount = uint16_t(std::max(int(p.itemCount), k + 1));
        }
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = to;
        return RunToolTask(*e, task, from);
    }
    int Export(std::vector<int> selected = {0}) { return Run(T::ConvertQtxToSegy, input, segy, selected); }
    int Import(const std::string& from) { return Run(T::ConvertSegyToQtx, from, output); }

    TempDir dir;
    std::string input = dir.File("in.qtx"), segy = dir.File("out.segy"), output = dir.File("back.qtx");
};

// What a reader of the program's own SEG-Y variant takes from a file, written here from
// its layout and nothing of the program's: every number little-endian; traces per shot
// at 3212 and samples per trace at 3220 (i16), the depth unit, log direction, item type
// and category at 3250 to 3253, the f32 sample interval at 3254; shot k at
// 3596 + k x T x (240 + 4 x S), each trace's depth the i32 at 40 of its header in
// thousandths, its samples IEEE floats from byte 240.
struct VariantFile {
    int traces = 0, samples = 0;
    uint8_t units = 0, direction = 0, type = 0, category = 0;
    float interval = 0.0f;
    std::vector<int32_t> depths;           // of each shot's first trace
    std::vector<std::vector<float>> shots; // trace after trace
};

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = v << 8 | b.at(at + size_t(k));
    return v;
}

VariantFile ReadVariant(const std::vector<uint8_t>& b)
{
    VariantFile f;
    f.traces = int16_t(Le(b, 3212, 2));
    f.samples = int16_t(Le(b, 3220, 2));
    f.units = b.at(3250), f.direction = b.at(3251), f.type = b.at(3252), f.category = b.at(3253);
    f.interval = std::bit_cast<float>(Le(b, 3254, 4));
    const size_t trace = 240 + 4 * size_t(f.samples), shot = size_t(f.traces) * trace;
    for (size_t at = 3596; at + shot <= b.size(); at += shot) {
        f.depths.push_back(int32_t(Le(b, at + 40, 4)));
        std::vector<float> values;
        for (size_t t = 0; t < size_t(f.traces); ++t)
            for (size_t k = 0; k < size_t(f.samples); ++k)
                values.push_back(std::bit_cast<float>(Le(b, at + t * trace + 240 + 4 * k, 4)));
        f.shots.push_back(values);
    }
    return f;
}

// The export writes that variant: the model reads every shot back at its frame's depth
// (rounded to the thousandth) with the datum's values; the fields a reader skips hold
// what the layout gives them (the intervals truncated, the marks -1 to -7, each trace
// numbered in its shot, zeros elsewhere), and the datum's axis unit and first index ride
// in the unset bytes 3260 to 3267 behind the tag "QTX ".
TEST_F(SegyTest, ExportWritesTheProgramsOwnVariantAsItsReaderReadsIt)
{
    const struct {
        QtxDatumShape datum;
        uint8_t direction, units;
        double top, step;
        int32_t first, second; // thousandths of the first two shots
        uint16_t whole;        // the interval truncated
    } cases[] = {
        {{.mnemonic = "WVF1", .typeCode = 26, .traces = 3, .samples = 5, .step = 12.7f}, 0xFF, 0, -0.0015, 0.9891, -2,
         988, 12},
        {{.mnemonic = "SLOW", .typeCode = 31, .category = 3, .samples = 40, .unit = 3, .step = 10.5f, .first = 40}, 1,
         0xFF, 1234.5678, -0.5, 1234568, 1234068, 10},
        {{.mnemonic = "AZIM", .typeCode = 40, .category = 4, .traces = 4, .samples = 3, .unit = 5, .step = 0.75f}, 1, 1,
         -10.2345, -0.5, -10235, -10735, 0},
    };
    for (const auto& c : cases) {
        const QtxDatumShape& d = c.datum;
        ASSERT_TRUE(WriteQtx(input, {d}, 3, c.top, c.step, DefaultSample, c.direction));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; }); // 0: feet, as some converters say it
        ASSERT_EQ(Export(), 1) << d.mnemonic;
        const std::vector<uint8_t> b = ReadBytes(segy);
        const size_t trace = 240 + 4 * size_t(d.samples);
        ASSERT_EQ(b.size(), 3596 + 3 * d.traces * trace) << d.mnemonic;
        const VariantFile f = ReadVariant(b);
        const uint8_t units = c.units == 0xFF ? 0xFF : 1;
        EXPECT_EQ(std::vector<int>({f.traces, f.samples, f.units, f.direction, f.type, f.category}),
                  std::vector<int>({d.traces, d.samples, units, c.direction, d.typeCode, d.category}));
        EXPECT_EQ(f.interval, d.step);
        const QtxImage in = LoadQtx(input);
        ASSERT_EQ(f.depths.size(), 3u);
        EXPECT_EQ(std::pair(f.depths[0], f.depths[1]), std::pair(c.first, c.second)) << d.mnemonic;
        EXPECT_EQ(f.depths[2], int32_t(std::lround(in.depths[2] * 1000))) << d.mnemonic;
        EXPECT_EQ(f.shots, in.frames) << d.mnemonic;

        EXPECT_TRUE(std::all_of(b.begin(), b.begin() + 3200, [](uint8_t v) { return v == 0; }));
        std::vector<std::pair<size_t, uint32_t>> fields = {
            {3200, 0}, {3208, 1}, {3216, c.whole}, {3218, c.whole}, {3222, d.samples}, {3224, 1}, {3232, 0}};
        for (size_t k = 0; k < 7; ++k) fields.push_back({3234 + 2 * k, 0xFFFF - k});
        for (const auto& [at, value] : fields) EXPECT_EQ(Le(b, at, 2), value) << at;
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + 3260, b.begin() + 3268),
                  (std::vector<uint8_t>{'Q', 'T', 'X', ' ', d.unit, 0, uint8_t(d.first), uint8_t(d.first >> 8)}));
        std::vector<uint8_t> rest(b.begin() + 3200, b.begin() + 3596); // the header with its fields blanked
        for (const size_t at : {3200, 3208, 3212, 3216, 3218, 3220, 3222, 3224, 3232, 3266})
            rest[at - 3200] = rest[at - 3199] = 0;
        for (size_t at = 3234; at < 3268; ++at) rest[at - 3200] = 0;
        EXPECT_TRUE(std::all_of(rest.begin(), rest.end(), [](uint8_t v) { return v == 0; })) << d.mnemonic;
        for (size_t s = 0; s < 3; ++s)
            for (size_t t = 0; t < d.traces; ++t) {
                const size_t at = 3596 + (s * d.traces + t) * trace;
                EXPECT_EQ((std::vector<uint32_t>{Le(b, at + 10, 2), Le(b, at + 14, 2), Le(b, at + 28, 2),
                                                 Le(b, at + 34, 2), Le(b, at + 40, 4), Le(b, at + 114, 2),
                                                 Le(b, at + 116, 2)}),
                          (std::vector<uint32_t>{uint32_t(s + 1), uint32_t(t + 1), 1, 2, uint32_t(f.depths[s]),
                                                 d.samples, c.whole}))
                    << d.mnemonic << s << t;
                std::vector<uint8_t> header(b.begin() + long(at), b.begin() + long(at) + 240);
                for (const size_t field : {10, 14, 28, 34, 40, 42, 114, 116}) header[field] = header[field + 1] = 0;
                EXPECT_TRUE(std::all_of(header.begin(), header.end(), [](uint8_t v) { return v == 0; }));
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
        {{.mnemonic = "NONE", .typeCode = 26, .traces = 2, .samples = 8, .unit = 0}, 0xFF, 1, 10.0, 0.5, "WMNO"},
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
    for (const bool published : {false, true}) { // the variant, and the earlier export's published layout
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

// Every regular data set comes back with its depths, to the thousandth a shot holds (the
// first two shots may give up to a thousandth to a reader that steps from them): the
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
                        ASSERT_NEAR(out.depths[k], in.depths[k], k < 2 ? 0.001 : 0.0005 + 1e-9)
                            << step << " " << top << " " << k;
                    EXPECT_NEAR(out.header.depthStep, up ? -step : step, 0.001 / (frames - 1) + 1e-12) << step << " " << top;
                    EXPECT_EQ(std::pair(out.header.logDirection, out.header.depthUnits), std::pair(direction, units));
                    ++checked;
                }
    EXPECT_EQ(checked, 5 * 8 * 2 * 2);
}

// The last place of a depth in LIS code 68, which keeps 23 bits of fraction.
double Code68Unit(double depth) { return std::ldexp(1.0, std::ilogb(depth) - 22); }

// A depth as a LIS depth channel in code 68 gives it: rounded to the nearest ('n'), cut
// toward zero ('c'), or first rounded to an IEEE float and then cut ('f'); 'x' keeps it.
double ThroughCode68(double depth, char how)
{
    if (how == 'x' || depth == 0.0) return depth;
    if (how == 'f') return ThroughCode68(double(float(depth)), 'c');
    const double unit = Code68Unit(depth);
    return (how == 'n' ? std::round(depth / unit) : std::trunc(depth / unit)) * unit;
}

// A reader that takes its step from the first two shots and counts the span over it,
// trunc((last - first) / step + 0.005) + 1, reads every shot of an export at the common
// steps, down and up (rounded alone, 0.3048 made a step of 0.305 and 9,993 of 10,000
// shots). Each shot stays less than a thousandth off its frame's depth, and the import
// gives every depth back to the thousandth. Deep logs whose depths came through code 68
// (up to 0.003 ft off their steps at 20,000 ft) export without a word and import whole;
// their shot 1 may move as much further as one last place of code 68 at the deepest depth.
TEST_F(SegyTest, AReaderSteppingFromTheFirstTwoShotsCountsEveryShot)
{
    const int frames = 10000;
    const struct {
        double step, top;
        uint8_t units, direction;
        char depths = 'x'; // as ThroughCode68 gives them
    } cases[] = {
        {0.3048, 1000.0, 0xFF, 0xFF},
        {0.3048, 1000.0004, 0xFF, 0xFF}, // shot 1 cannot step short enough alone: shot 0 moves up too
        {0.3048, 4000.0006, 0xFF, 1},
        {1.0 / 6, 5000.0, 1, 0xFF},
        {1.0 / 6, 5000.0006, 1, 1},
        {0.0508, 1234.5678, 0xFF, 0xFF},
        {0.0508, 1010.0, 0xFF, 1},
        {0.1, 1000.0, 0xFF, 0xFF},
        {0.1, 2500.0003, 0xFF, 1},
        {1.0 / 12, 3000.0, 1, 0xFF},
        {1.0 / 12, 3000.00049, 1, 1},
        {1.0 / 120, 12000.0, 1, 0xFF, 'n'},
        {1.0 / 120, 12000.0, 1, 1, 'c'},
        {1.0 / 12, 20000.0, 1, 0xFF, 'n'},
        {1.0 / 12, 20480.5, 1, 1, 'c'},
        {1.0 / 6, 20000.0, 1, 0xFF, 'f'},
        {1.0 / 6, 22000.3, 1, 1, 'n'},
        {0.1, 25000.0, 1, 0xFF, 'c'},
        {0.1, 24000.0, 1, 1, 'f'},
        {0.0254, 6100.0, 0xFF, 0xFF, 'n'},
    };
    for (const auto& c : cases) {
        const bool up = c.direction == 1;
        ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WAVE", .typeCode = 26}}, frames, c.top, up ? -c.step : c.step,
                             DefaultSample, c.direction));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
        std::vector<uint8_t> bytes = ReadBytes(input);
        for (size_t k = 0; k < size_t(frames); ++k) {
            uint8_t* at = bytes.data() + qtx::DataStart(1) + k * (qtx::kDepthSize + 4);
            endian::PutLEDouble(at, ThroughCode68(endian::GetLEDouble(at), c.depths));
        }
        WriteBytes(input, bytes);
        ASSERT_EQ(Export(), 1) << c.step << " " << c.top;
        const std::vector<int32_t> shots = ReadVariant(ReadBytes(segy)).depths;
        ASSERT_EQ(shots.size(), size_t(frames));
        const double first = shots[0] * 0.001, step = shots[1] * 0.001 - first;
        const double counted = std::trunc((shots.back() * 0.001 - first) / step + double(0.005f)) + 1;
        EXPECT_GE(counted, frames) << c.step << " " << c.top;
        ASSERT_EQ(Import(segy), 1) << c.step << " " << c.top;
        const QtxImage in = LoadQtx(input), out = LoadQtx(output);
        ASSERT_EQ(out.depths.size(), size_t(frames));
        const double precision = Code68Unit(std::max(in.depths.front(), in.depths.back()));
        for (size_t k = 0; k < size_t(frames); ++k) {
            const double off = 0.001 + (k == 1 && c.depths != 'x' ? precision : 0.0);
            ASSERT_LT(std::fabs(shots[k] - in.depths[k] * 1000), off * 1000) << c.step << " " << c.top << " " << k;
            ASSERT_NEAR(out.depths[k], in.depths[k], off) << c.step << " " << c.top << " " << k;
        }
    }
}

// A data set whose frames are off its step keeps its real depths in the file, and the
// export says so and names the first such frame; the import refuses that frame. A frame
// within the precision code 68 holds at its depth is on its step (5 thousandths at 20,000
// ft, not at 1,000 ft); a frame missing from a log of 1/120 ft at 12,000 ft is not, and
// the frame after the gap is named.
TEST_F(SegyTest, IrregularDepthsAreExportedAsTheyAreWithAWord)
{
    const struct {
        uint8_t direction;
        std::vector<double> depths;
        std::string detail; // of the export's notice and the import's refusal; empty: on its steps
    } cases[] = {
        {0xFF, {1000, 1000.5, 1001.7, 1002},
         "Frame 2 is at depth 1000.5000, off its place 1000.6667 on even steps of 0.6667 DOWN from 1000.0000 to "
         "1002.0000."},
        {0xFF, {1002, 1001.5, 1001, 1000.5}, "Frame 2 is at depth 1001.5000 after 1002.0000: not one step of 0.5000 DOWN."},
        {0xFF, {20000, 20000.5, 20001.005, 20001.5}, ""},
        {0xFF, {20000, 20000.5, 20001.006, 20001.5},
         "Frame 3 is at depth 20001.0060, off its place 20001.0000 on even steps of 0.5000 DOWN from 20000.0000 to "
         "20001.5000."},
        {1, {1001.5, 1001.005, 1000.5, 1000},
         "Frame 2 is at depth 1001.0050, off its place 1001.0000 on even steps of 0.5000 UP from 1001.5000 to "
         "1000.0000."},
        {0xFF, {12000, 12000 + 1 / 120.0, 12000 + 2 / 120.0, 12000 + 3 / 120.0, 12000 + 5 / 120.0, 12000 + 6 / 120.0,
                12000 + 7 / 120.0, 12000 + 8 / 120.0},
         "Frame 5 is at depth 12000.0420, off its place 12000.0383 on even steps of 0.0096 DOWN from 12000.0000 to "
         "12000.0670."},
    };
    const std::vector<QtxDatumShape> wave = {{.mnemonic = "WAVE", .typeCode = 26, .samples = 2}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteQtx(input, wave, int(c.depths.size()), 1000.0, 0.5, DefaultSample, c.direction));
        std::vector<uint8_t> bytes = ReadBytes(input);
        for (size_t k = 0; k < c.depths.size(); ++k)
            endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + k * (qtx::kDepthSize + 8), c.depths[k]);
        WriteBytes(input, bytes);
        const bool even = c.detail.empty();
        if (!even)
            host.ExpectMessage("Wrote each frame's own depth to the SEGY file :\n" + segy +
                               "\nIts depths are not evenly spaced in one direction:\n" + c.detail +
                               "\nConvert SEGY To QTX will not import it as one data set.");
        ASSERT_EQ(Export(), 1);
        const std::vector<uint8_t> b = ReadBytes(segy);
        const size_t shot = 240 + 2 * 4;
        for (size_t k = 0; k < c.depths.size(); ++k)
            EXPECT_EQ(int32_t(endian::GetLE32(b.data() + 3596 + k * shot + 40)), std::lround(c.depths[k] * 1000)) << k;
        if (!even)
            host.ExpectMessage("Encountered invalid depth step in file :\n" + segy + "\n" + c.detail + kNeed + kAbandon);
        EXPECT_EQ(Import(segy), even ? 1 : -1) << c.detail;
        EXPECT_EQ(FileExists(output), even);
        if (even) {
            EXPECT_EQ(LoadQtx(output).depths, c.depths);
        }
    }
}

// An irregular deep log keeps its own depths, shot 1 among them: the single-precision
// allowance that may move shot 1 of a regular log is not spent on it. Export and import
// name the frame where the depths break, not one before it that a frame missing further
// on puts off its place on the span's step.
TEST_F(SegyTest, AnIrregularDeepLogKeepsItsOwnDepthsAndNamesItsBreak)
{
    const int frames = 5000;
    const struct {
        double step, top; // of the frames before any break
        uint8_t units, direction;
        char depths;         // as ThroughCode68 gives them
        int missing;         // the frame (from 1) left out, its followers one step on; 0: every frame jittered
        std::string detail;  // how the detail begins
    } cases[] = {
        {1.0 / 120, 12000.0, 1, 1, 'c', 0, "Frame 7 is at depth 11999.9550 after 11999.9510: not one step"},
        {0.25, 12000.0, 1, 0xFF, 'x', 2500, "Frame 2500 is at depth 12625.0000, off its place 12624.8750"},
        {1.0 / 120, 12000.0, 1, 0xFF, 'n', 2500, "Frame 2500 is at depth 12020.8340, off its place 12020.8288"},
        {1.0 / 120, 12000.0, 1, 1, 'c', 2500, "Frame 2500 is at depth 11979.1660, off its place 11979.1702"},
        {0.1524, 9000.0, 0xFF, 1, 'n', 2500, "Frame 2500 is at depth 8619.0000, off its place 8619.0762"},
    };
    for (const auto& c : cases) {
        const bool up = c.direction == 1;
        std::vector<double> depths;
        for (int k = 0; k <= frames; ++k) {
            const double jitter = c.missing == 0 && k >= 2 ? 0.003 * ((k * 7919) % 5 - 2) : 0.0;
            if (k + 1 != c.missing) depths.push_back(ThroughCode68(c.top + (up ? -k : k) * c.step + jitter, c.depths));
        }
        depths.resize(frames);
        ASSERT_TRUE(WriteQtx(input, {{.mnemonic = "WAVE", .typeCode = 26}}, frames, c.top, up ? -c.step : c.step,
                             DefaultSample, c.direction));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = c.units; });
        std::vector<uint8_t> bytes = ReadBytes(input);
        for (size_t k = 0; k < size_t(frames); ++k)
            endian::PutLEDouble(bytes.data() + qtx::DataStart(1) + k * (qtx::kDepthSize + 4), depths[k]);
        WriteBytes(input, bytes);
        host.ExpectMessage("Wrote each frame's own depth to the SEGY file :\n" + segy +
                           "\nIts depths are not evenly spaced in one direction:\n" + c.detail);
        ASSERT_EQ(Export(), 1) << c.detail;
        const std::vector<int32_t> shots = ReadVariant(ReadBytes(segy)).depths;
        ASSERT_EQ(shots.size(), size_t(frames));
        for (size_t k = 0; k < size_t(frames); ++k)
            ASSERT_LT(std::fabs(shots[k] - depths[k] * 1000), 1.0) << c.detail << " " << k;
        if (c.missing == 0) { // where the allowance would have moved shot 1
            int32_t wide[2];
            CSegyDepthGrid::LeadShots(depths[0], depths[1], shots.back(), frames, true, &wide[0], &wide[1]);
            EXPECT_NE(wide[1], shots[1]);
        }
        host.ExpectMessage("Encountered invalid depth step in file :\n" + segy + "\n" + c.detail);
        EXPECT_EQ(Import(segy), -1) << c.detail;
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
    const auto numbered = [&](const std::string& detail) {
        return "Unrecognized number of traces in SEGY data set!\n" + detail +
               " traces per shot do not fit the shots of file :\n" + segy + kAbandon;
    };
    const struct {
        std::string message;
        void (*shape)(SegyShape&);
        void (*bytes)(std::vector<uint8_t>&) = nullptr;
        bool shots = false; // the refusal needs the shots (else the header alone is refused)
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
        // Categories and axis units off their tables gave a datum with a blank mnemonic under no tab.
        {"Unrecognized data category in SEGY data set!" + kAbandon, [](SegyShape& s) { s.category = 0; }},
        {"Unrecognized data category in SEGY data set!" + kAbandon, [](SegyShape& s) { s.category = 5; }},
        {"Unrecognized data category in SEGY data set!" + kAbandon, [](SegyShape& s) { s.category = 255; }},
        {"Unrecognized axis units in SEGY data set!" + kAbandon, [](SegyShape& s) {
             s.axisTag = true;
             s.axisUnit = 200;
         }},
        // A header whose trace count is not the shots' read 8 shots of 2 as one of 16.
        {numbered("Trace 16 of frame 1 is numbered 2: the header's 16"),
         [](SegyShape& s) { s.depths = {1000, 1000.5, 1001, 1001.5, 1002, 1002.5, 1003, 1003.5}; },
         [](auto& b) { endian::PutLE16(b.data() + 3212, 16); }, true},
        {numbered("Trace 2 of frame 8 is numbered 4: the header's 2"),
         [](SegyShape& s) {
             s.traces = 4;
             s.depths = {1000, 1000.5, 1001, 1001.5};
         },
         [](auto& b) { endian::PutLE16(b.data() + 3212, 2); }, true},
        {numbered("Trace 1 of frame 2 is numbered 3: the header's 2"), nullptr,
         [](auto& b) { endian::PutLE16(b.data() + 3596 + 2 * 256 + 14, 3); }, true},
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
        if (c.message.find("Unrecognized") == 0 && !c.shots) bytes.resize(3596);
        WriteBytes(segy, bytes);
        host.ExpectMessage(c.message);
        EXPECT_EQ(Import(segy), -1) << c.message;
        EXPECT_FALSE(FileExists(output)) << c.message;
    }
    host.ExpectMessage("Could not open input file :\n" + dir.File("none.segy"));
    EXPECT_EQ(Import(dir.File("none.segy")), -1);
}

// Item type 230 and category 2 are taken; bytes 3264 to 3267 without the tag before them
// are not the datum's axis (files of other writers may hold anything there); the number
// of a trace inside the file, which no count hangs on, is not judged.
TEST_F(SegyTest, ImportTakesTheTablesEdgesAndUntaggedBytes)
{
    SegyShape accepted;
    accepted.itemType = 230;
    accepted.category = 2;
    accepted.axisUnit = 200;
    accepted.firstIndex = 7;
    std::vector<uint8_t> bytes = SegyBytes(accepted);
    endian::PutLE16(bytes.data() + 3596 + 3 * 256 + 14, 9); // trace 2 of shot 2
    WriteBytes(segy, bytes);
    EXPECT_EQ(Import(segy), 1);
    const QtxDatumDescriptor d = LoadQtx(output).descriptors.at(0);
    EXPECT_EQ(std::vector<int>({d.typeCode, d.category, d.axis1.unit, d.axis1.firstIndex}),
              std::vector<int>({230, 2, 1, 0}));
}

// The published layout (rev 1) that one earlier version exported: users hold such
// files, and they still import, with the depth scalar each trace gives (0 as 1) and the
// datum's axis unit and first index.
TEST_F(SegyTest, AStandardRev1FileOfTheEarlierExportStillImports)
{
    const struct {
        int16_t scalar;
        std::vector<int32_t> raw;
        std::vector<double> depths;
    } cases[] = {
        {-1000, {1000000, 1000500, 1001000}, {1000.0, 1000.5, 1001.0}},
        {-10000, {10000000, 10005000, 10010000}, {1000.0, 1000.5, 1001.0}},
        {-100, {100000, 100050, 100100}, {1000.0, 1000.5, 1001.0}},
        {10, {100, 101, 102}, {1000.0, 1010.0, 1020.0}},
        {0, {1000, 1001, 1002}, {1000.0, 1001.0, 1002.0}},
    };
    for (const auto& c : cases) {
        SegyShape shape;
        shape.published = true;
        shape.itemType = 31;
        shape.category = 3;
        shape.axisUnit = 3;
        shape.firstIndex = 40;
        shape.rawDepths = c.raw;
        shape.scalars.assign(3, c.scalar);
        WriteBytes(segy, SegyBytes(shape));
        ASSERT_EQ(Import(segy), 1) << c.scalar;
        const QtxImage out = LoadQtx(output);
        EXPECT_EQ(out.depths, c.depths) << c.scalar;
        ASSERT_EQ(out.frames.size(), 3u);
        EXPECT_EQ(out.frames[2][1 * 4 + 3], SegySample(2, 1, 3));
        const QtxDatumDescriptor& d = out.descriptors.at(0);
        EXPECT_EQ(std::string(d.mnemonic, 4), "SMNO");
        EXPECT_EQ(std::vector<int>({d.traceCount, d.axis1.sampleCount, d.axis1.unit, d.axis1.firstIndex}),
                  std::vector<int>({2, 4, 3, 40}));
    }
}

// A published-layout file is refused, before its output exists, when it is not what the
// earlier export wrote (its tag, sample code, counts and flag bytes), when a depth does
// not fit with its scalar (the frame named: scalar 10000 over raw depths 1000 to 1009
// once imported as 1.000 to 1.009) or when its traces do not number the header's shots;
// a cut one imports its whole shots.
TEST_F(SegyTest, AStandardRev1FileIsRefusedWhereTheEarlierExportWroteOtherwise)
{
    const std::string foreign = "Unrecognized SEGY data set in file :\n" + segy +
                                "\nOnly SEGY files written by Convert QTX To SEGY can be read." + kAbandon;
    const auto depth = [&](const std::string& detail) {
        return "Encountered invalid depth in SEGY file :\n" + segy + "\n" + detail +
               ", beyond the depths a shot holds (thousandths in 32 bits)." + kAbandon;
    };
    const struct {
        std::string message;
        void (*shape)(SegyShape&);
        void (*bytes)(std::vector<uint8_t>&);
    } cases[] = {
        {foreign, nullptr, [](auto& b) { b[3260] = 'X'; }},
        {foreign, nullptr, [](auto& b) { endian::PutBE16(b.data() + 3224, 1); }},
        {"Unrecognized number of traces in SEGY data set!" + kAbandon, nullptr,
         [](auto& b) { endian::PutBE16(b.data() + 3212, 17); }},
        {"Unrecognized number of samples in SEGY data set!" + kAbandon, nullptr,
         [](auto& b) { endian::PutBE16(b.data() + 3220, 0); }},
        {"Unrecognized depth units in SEGY data set!" + kAbandon, nullptr, [](auto& b) { b[3264] = 2; }},
        {"Unrecognized log direction in SEGY data set!" + kAbandon, nullptr, [](auto& b) { b[3265] = 0; }},
        {"Unrecognized data category in SEGY data set!" + kAbandon, nullptr, [](auto& b) { b[3267] = 0; }},
        {"Unrecognized data category in SEGY data set!" + kAbandon, nullptr, [](auto& b) { b[3267] = 255; }},
        {"Unrecognized axis units in SEGY data set!" + kAbandon, nullptr, [](auto& b) { b[3272] = 200; }},
        {depth("Frame 1 holds the depth 1000 with the scalar 10000 (10000000.0000)"),
         [](SegyShape& s) {
             s.depths.assign(10, 0.0);
             s.rawDepths = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009};
             s.scalars.assign(10, 10000);
         },
         nullptr},
        {depth("Frame 1 holds the depth 1000 with the scalar 32767 (32767000.0000)"),
         [](SegyShape& s) {
             s.depths.assign(10, 0.0);
             s.rawDepths = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009};
             s.scalars.assign(10, 32767);
         },
         nullptr},
        {depth("Frame 3 holds the depth 1001 with the scalar 10000 (10010000.0000)"),
         [](SegyShape& s) {
             s.depths = {1000, 1000.5, 0.0, 1001.5};
             s.rawDepths = {1000000, 1000500, 1001};
             s.scalars = {-1000, -1000, 10000};
         },
         nullptr},
        {"Unrecognized number of traces in SEGY data set!\nTrace 16 of frame 1 is numbered 2: the header's 16 "
         "traces per shot do not fit the shots of file :\n" + segy + kAbandon,
         [](SegyShape& s) { s.depths = {1000, 1000.5, 1001, 1001.5, 1002, 1002.5, 1003, 1003.5}; },
         [](auto& b) { endian::PutBE16(b.data() + 3212, 16); }},
        {"Imported 3 whole shot(s) of file :\n" + segy + "\nThe file ends 8 byte(s) into shot 4: that shot is cut "
         "and was left out.", [](SegyShape& s) { s.depths = {1000, 1000.5, 1001, 1001.5}; },
         [](auto& b) { b.resize(b.size() - 2 * 256 + 8); }},
    };
    for (const auto& c : cases) {
        SegyShape shape;
        shape.published = true;
        if (c.shape) c.shape(shape);
        std::vector<uint8_t> bytes = SegyBytes(shape);
        if (c.bytes) c.bytes(bytes);
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

// Standard SEG-Y files of other programs (big- and little-endian, text headers, a broken one).
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
                          {.mnemonic = "WIDE", .traces = 17, .samples = 4},
                          {.mnemonic = "NONE", .category = 0, .samples = 4},
                          {.mnemonic = "ODD", .samples = 4, .unit = 200},
                          // What the import would refuse, in its words: an axis step of 0, below 0 or
                          // no number, and category 2, which no view lists.
                          {.mnemonic = "ZERO", .typeCode = 26, .step = 0.0f},
                          {.mnemonic = "NEG", .typeCode = 26, .step = -8.0f},
                          {.mnemonic = "NAN", .typeCode = 26, .step = NAN},
                          {.mnemonic = "INF", .typeCode = 26, .step = INFINITY},
                          {.mnemonic = "FREQ", .typeCode = 26, .category = 2}},
                         3));
    const std::string domain = "Segy conversion requires either time, slowness or azimuth domain data!" + kAbandon;
    const std::string shape = "Segy conversion requires a datum of one axis in a known unit, 1 to 16 traces of 1 to "
                              "2048 samples and a tool type up to 230!" + kAbandon;
    const std::string interval = "Unrecognized sample interval in SEGY data set!" + kAbandon;
    const std::pair<std::vector<int>, std::string> cases[] = {{{1}, domain},   {{2}, shape},    {{3}, domain},
                                                              {{4}, shape},    {{5}, interval}, {{6}, interval},
                                                              {{7}, interval}, {{8}, interval}, {{9}, domain}};
    for (const auto& [selected, message] : cases) {
        host.ExpectMessage(message);
        EXPECT_EQ(Export(selected), -1) << message;
        std::vector<std::string> files; // nothing beside the input, not even a temporary
        for (const auto& entry : std::filesystem::directory_iterator(dir.File("")))
            files.push_back(entry.path().filename().string());
        EXPECT_EQ(files, std::vector<std::string>{"in.qtx"}) << message;
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
