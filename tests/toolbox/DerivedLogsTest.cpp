#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "support/HostFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cstdio>
#include <memory>

namespace {

using T = ToolTask;
const std::string kAbandon = "\nOperation will be abandoned.";
constexpr float kNull = -999.25f;

class DerivedLogsTest : public HostTest {
protected:
    void TearDown() override
    {
        theApp.Clear();
        HostTest::TearDown();
    }
    // Writes the input and runs a task on `chosen` of its datums.
    int Run(T task, const std::vector<QtxDatumShape>& datums, const std::vector<int>& chosen, int frames,
            const QtxSampleFn& sample = DefaultSample, double step = 0.5, uint8_t direction = qtx::kLogDown,
            uint8_t units = qtx::kUnitsFeet)
    {
        EXPECT_TRUE(WriteQtx(input, datums, frames, direction == 1 ? 100.0 + 8 : 100.0, direction == 1 ? -step : step,
                             sample, direction));
        PatchQtxHeader(input, [&](QtxFileHeader& h) { h.depthUnits = units; });
        std::remove(output.c_str());
        ToolInputSelection& p = theApp.m_utilitiesSetup.primary;
        p.itemCount = int32_t(datums.size());
        p.selected.fill(0);
        for (int k : chosen) p.selected[size_t(k)] = 1;
        auto e = std::make_unique<CToolsWnd>();
        e->Settings().outputPath = output;
        return RunToolTask(*e, task, input);
    }
    void ExpectRefusal(T task, const std::vector<QtxDatumShape>& datums, const std::vector<int>& chosen,
                       const std::string& message)
    {
        host.ExpectMessage(message);
        EXPECT_EQ(Run(task, datums, chosen, 3), -1) << message;
        EXPECT_FALSE(FileExists(output)) << message;
    }
    static std::string Mnemonic(const QtxDatumDescriptor& d) { return std::string(d.mnemonic, 4); }

    TempDir dir;
    std::string input = dir.File("in.qtx"), output = dir.File("out.qtx");
};

QtxDatumShape Datum(const char* mnemonic, uint8_t type, uint16_t traces, uint16_t samples, uint8_t category = 1)
{
    return {.mnemonic = mnemonic, .typeCode = type, .category = category, .traces = traces, .samples = samples};
}

// Peak to peak per receiver: the largest positive less the most negative sample, zeros
// counting for neither; a slowness datum of any trace count is one curve.
TEST_F(DerivedLogsTest, AmplitudeIsPeakToPeakPerReceiverOrOneSlownessPeak)
{
    const float traces[8][4] = {{1, 5, 3, 2},  {-1, -4, -2, -3}, {0, 0, 0, 0},  {3, -2, 0, 1},
                                {4, -4, 0, 0}, {5, -5, 0, 0},    {6, -6, 0, 0}, {7, -7, 0, 0}};
    const float want[8] = {5, 4, 0, 5, 8, 10, 12, 14};
    auto wave = [&](int, int, size_t i) { return traces[i / 4][i % 4]; };
    ASSERT_EQ(Run(T::ComputeAmplitude, {Datum("CRV", 6, 1, 1, 6), Datum("WAVE", 26, 8, 4)}, {1}, 2, wave), 1);
    QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 8u);
    EXPECT_EQ(Mnemonic(out.descriptors[0]) + Mnemonic(out.descriptors[7]), " AM1 AM8");
    EXPECT_EQ(std::pair(out.descriptors[7].typeCode, out.descriptors[7].axis1.unit),
              std::pair(uint8_t(104), uint8_t(7)));
    EXPECT_EQ(out.frames[1], std::vector<float>(want, want + 8));

    const float slowness[6] = {1, -2, 3, 0, 4, -1};
    ASSERT_EQ(
        Run(T::ComputeAmplitude, {Datum("SLOW", 32, 2, 3, 3)}, {0}, 2, [&](int, int, size_t i) { return slowness[i]; }),
        1);
    out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 1u);
    EXPECT_EQ(Mnemonic(out.descriptors[0]), "SPXX");
    EXPECT_EQ(out.header.frameSize, 12u); // one value a frame, as its descriptor says
    EXPECT_EQ(out.frames[0], std::vector<float>{6});

    ExpectRefusal(T::ComputeAmplitude, {Datum("WAVE", 26, 14, 4)}, {0},
                  "Encountered more than 13 receivers in selected datum!" + kAbandon);
    ExpectRefusal(T::ComputeAmplitude, {Datum("CRV", 6, 1, 1, 6)}, {0},
                  "Waveform arithmetic requires either time or slowness domain data!" + kAbandon);
    ExpectRefusal(T::ComputeAmplitude, {Datum("A", 26, 2, 4), Datum("B", 26, 2, 4)}, {0, 1},
                  "Encountered multiple selection list!" + kAbandon);
}

// Absent samples are no values: a receiver of absent samples only has no amplitude, one
// partly absent the amplitude of its real samples.
TEST_F(DerivedLogsTest, AmplitudeLeavesAbsentSamplesOut)
{
    const float traces[4][4] = {{kNull, kNull, kNull, kNull}, {kNull, 3, -1, kNull}, {kNull, 0, kNull, 0}, {2, -2, 1, 0}};
    auto wave = [&](int, int, size_t i) { return traces[i / 4][i % 4]; };
    ASSERT_EQ(Run(T::ComputeAmplitude, {Datum("WAVE", 26, 4, 4)}, {0}, 2, wave), 1);
    EXPECT_EQ(LoadQtx(output).frames[1], (std::vector<float>{kNull, 4, 0, 4}));

    const float slowness[2][6] = {{kNull, kNull, kNull, kNull, kNull, kNull}, {kNull, -2, 3, kNull, kNull, kNull}};
    for (const auto& values : slowness) {
        ASSERT_EQ(Run(T::ComputeAmplitude, {Datum("SLOW", 32, 2, 3, 3)}, {0}, 1,
                      [&](int, int, size_t i) { return values[i]; }),
                  1);
        EXPECT_EQ(LoadQtx(output).frames[0], std::vector<float>{values[1] == kNull ? kNull : 5.0f});
    }
}

// Per receiver the mean of each value followed by a positive one (the last value is only
// a partner); receivers without such a pair are null and left out of FREQ.
TEST_F(DerivedLogsTest, FrequencyLogMeansThePositivePairsOfEveryReceiver)
{
    auto sample = [](int frame, int, size_t i) -> float {
        const size_t t = i / 4, k = i % 4;
        if (frame == 1) return 0.0f;
        if (t == 0) return float(10 * (k + 1));                 // 10 20 30 40: mean 20
        if (t == 1) return k == 1 ? 0.0f : float(10 * (k + 1)); // only 30 pairs with 40
        if (t == 2) return k % 2 ? -1.0f : 5.0f;                // no pair: null
        return k < 2 ? float(t) : 0.0f;                         // t
    };
    ASSERT_EQ(Run(T::ComputeFrequencyLog, {Datum("IFRQ", 158, 13, 4)}, {0}, 2, sample), 1);
    const QtxImage out = LoadQtx(output);
    ASSERT_EQ(out.descriptors.size(), 14u);
    EXPECT_EQ(Mnemonic(out.descriptors[0]) + Mnemonic(out.descriptors[1]) + Mnemonic(out.descriptors[13]),
              "FREQ FQ1FQ13");
    EXPECT_EQ(std::pair(out.descriptors[0].typeCode, out.descriptors[13].typeCode),
              std::pair(uint8_t(54), uint8_t(209)));
    std::vector<float> want = {125.0f / 12, 20, 30, kNull};
    for (int t = 3; t < 13; ++t) want.push_back(float(t));
    EXPECT_EQ(out.frames[0], want);
    EXPECT_EQ(out.frames[1], std::vector<float>(14, kNull));
    EXPECT_NE(std::string(out.header.history, qtx::kHistorySize).find("*** Tools (Frequency log)"), std::string::npos);

    // Instantaneous slowness is refused before the output exists.
    ExpectRefusal(T::ComputeFrequencyLog, {Datum("ISLO", 164, 2, 4)}, {0},
                  "Frequency log requires IFS computed instantaneous frequency data!" + kAbandon);
    ExpectRefusal(T::ComputeFrequencyLog, {Datum("IFRQ", 158, 14, 4)}, {0}, "Encountered more than 13 receivers");
    ExpectRefusal(T::ComputeFrequencyLog, {Datum("CRV", 158, 1, 1, 6)}, {0},
                  "Frequency log requires IFS computed time domain data!");
}

// N = trunc(spacing / step + 0.1) frames between the items; F frames give F - N. Depth
// increasing: A is read N frames below B's frame; up logs take B N frames on.
TEST_F(DerivedLogsTest, LssArrayJoinsTheTwoItemsAcrossTheSpacing)
{
    const std::vector<QtxDatumShape> items = {Datum("LSSB", 225, 2, 3), Datum("CRV", 6, 1, 1, 6),
                                              Datum("LSSA", 224, 2, 3)};
    auto sample = [](int frame, int datum, size_t i) { return float(frame * 100 + datum * 10) + float(i); };
    const struct {
        uint8_t units, direction;
        double step;
        int n;
    } cases[] = {{1, 0xFF, 0.5, 4}, {0xFF, 0xFF, 0.1524, 4}, {1, 0xFF, 0.25, 8}, {1, 1, 0.5, 4}};
    for (const auto& c : cases) {
        ASSERT_EQ(Run(T::ConstructLssArray, items, {0, 2}, 12, sample, c.step, c.direction, c.units), 1) << c.step;
        const QtxImage out = LoadQtx(output);
        ASSERT_EQ(out.frames.size(), size_t(12 - c.n)) << c.step;
        ASSERT_EQ(out.descriptors.size(), 1u);
        EXPECT_EQ(Mnemonic(out.descriptors[0]), "LSSB");
        EXPECT_EQ(std::pair(out.descriptors[0].typeCode, out.descriptors[0].traceCount),
                  std::pair(uint8_t(228), uint16_t(3)));
        for (int k = 0; k < 12 - c.n; ++k) {
            const int atA = c.direction == 1 ? k : k + c.n, atB = c.direction == 1 ? k + c.n : k;
            std::vector<float> want;
            for (size_t i = 0; i < 3; ++i) want.push_back(sample(atA, 2, i));
            for (size_t i = 0; i < 3; ++i) want.push_back((sample(atB, 0, i) + sample(atA, 2, 3 + i)) * 0.5f);
            for (size_t i = 0; i < 3; ++i) want.push_back(sample(atB, 0, 3 + i));
            EXPECT_EQ(out.frames[size_t(k)], want) << c.step << " frame " << k;
        }
    }

    ExpectRefusal(T::ConstructLssArray, items, {0}, "Unrecognized selection list!" + kAbandon);
    ExpectRefusal(T::ConstructLssArray, items, {0, 1, 2}, "Unrecognized selection list!" + kAbandon);
    ExpectRefusal(T::ConstructLssArray, {Datum("A1", 224, 2, 3), Datum("A2", 226, 2, 3)}, {0, 1},
                  "Unrecognized secondary item selection!" + kAbandon);
    ExpectRefusal(T::ConstructLssArray, {Datum("A", 224, 1, 3), Datum("B", 225, 1, 3)}, {0, 1},
                  "Encountered selected items of less than two channels!");
    ExpectRefusal(T::ConstructLssArray, {Datum("A", 224, 2, 3), Datum("B", 225, 2, 4)}, {0, 1},
                  "Different number of samples in selected items!");
    ExpectRefusal(T::ConstructLssArray, {Datum("W", 26, 2, 3), Datum("B", 225, 2, 3)}, {0, 1},
                  "Unrecognized primary item selection!");
}

} // namespace
