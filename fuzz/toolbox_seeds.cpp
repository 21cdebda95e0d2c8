// Seeds for the tool-box harness: data sets of the datums the tasks take (slowness and
// shear curves, waveforms, instantaneous frequencies, the LSS pair, a density), down and
// up, metric, one frame, values that are no numbers, hostile steps and counts, a header
// claiming frames the file does not hold, and datums that do not tile their frames.
// History bytes 1 to 8 choose datums, byte 9 the factor (see toolbox.cpp).
#include "support/QtxBuilder.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

float Value(int frame, int datum, size_t index)
{
    if (datum < 3) return 80.0f + 10.0f * float(datum) + float(frame);
    return float(std::sin(double(index % 64) * 0.3)) * float(1 + datum);
}

void Pick(const std::string& path, uint8_t datums, uint8_t factor)
{
    PatchQtxHeader(path, [&](QtxFileHeader& h) {
        std::memset(h.history + 1, 0, 9);
        h.history[1] = char(datums);
        h.history[9] = char(factor);
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const auto curve = [](const char* m, uint8_t type, uint8_t unit) {
        return QtxDatumShape{.mnemonic = m, .typeCode = type, .category = kCategoryTrace, .unit = unit, .step = 1.0f};
    };
    const auto wave = [](const char* m, uint8_t type, uint16_t samples) {
        return QtxDatumShape{.mnemonic = m, .typeCode = type, .category = kCategoryWaveform, .traces = 2,
                             .samples = samples, .step = 8.0f};
    };
    const std::vector<QtxDatumShape> datums{curve("DTCO", 6, kUnitMicrosecondsPerFoot),
                                            curve("DTSM", 7, kUnitMicrosecondsPerMetre),
                                            curve("RHOB", 8, kUnitDensity),
                                            wave("WAVE", 26, 64),
                                            wave("IFRQ", 158, 16),
                                            wave("LSSA", 224, 16),
                                            wave("LSSB", 225, 16)};
    const std::string all = dir + "/all.qtx";
    WriteQtx(all, datums, 10, 1000.0, 0.5, Value);
    Pick(all, 0, 0);
    for (int k = 0; k < 7; ++k) {
        const std::string one = dir + "/datum" + std::to_string(k) + ".qtx";
        WriteQtx(one, datums, 6, 1000.0, 0.5, Value);
        Pick(one, uint8_t(1u << k), uint8_t(k));
    }
    WriteQtx(dir + "/up.qtx", datums, 6, 1002.5, -0.5, Value, qtx::kLogUp);
    WriteQtx(dir + "/metric.qtx", datums, 6, 300.0, 0.1524, Value);
    PatchQtxHeader(dir + "/metric.qtx", [](QtxFileHeader& h) { h.depthUnits = qtx::kUnitsMetres; });
    WriteQtx(dir + "/one_frame.qtx", datums, 1, 1000.0, 0.5, Value);
    WriteQtx(dir + "/nan_values.qtx", datums, 4, 1000.0, 0.5,
             [](int, int, size_t i) { return i % 5 == 2 ? NAN : i % 7 == 3 ? 3e38f : -999.25f; });
    WriteQtx(dir + "/zero_step.qtx", datums, 3, 1000.0, 0.5, Value);
    PatchQtxHeader(dir + "/zero_step.qtx", [](QtxFileHeader& h) { h.depthStep = 0.0; });
    WriteQtx(dir + "/nan_depths.qtx", datums, 3, 1000.0, 0.5, Value);
    PatchQtxHeader(dir + "/nan_depths.qtx", [](QtxFileHeader& h) {
        h.topDepth = NAN;
        h.bottomDepth = INFINITY;
        h.frameCount = 0x80000000u;
    });
    // Four frames of datums without values under a header of 200,000.
    QtxFileHeader claims;
    claims.frameCount = 200000;
    claims.frameSize = qtx::kDepthSize;
    claims.topDepth = 1000.0;
    claims.bottomDepth = 1000.0 + 0.5 * 199999;
    claims.depthStep = 0.5;
    claims.datumCount = 1;
    std::memset(claims.history, ' ', sizeof claims.history);
    QtxDatumDescriptor empty;
    std::memcpy(empty.mnemonic, "WAVE", 4);
    empty.typeCode = 26;
    empty.category = kCategoryWaveform;
    empty.axisCount = 1;
    empty.offset = qtx::kDepthSize;
    empty.axis1 = {kUnitMicroseconds, 0, 64, 10.0f};
    WriteBytes(dir + "/claims_frames.qtx", RawQtx(claims, {empty}, std::vector<uint8_t>(4 * qtx::kDepthSize, 0)));
    // Two curves with a gap between them, and the second over the first.
    WriteQtx(dir + "/gap.qtx", {curve("DTCO", 6, kUnitMicrosecondsPerFoot), curve("DTSM", 6, kUnitMicrosecondsPerFoot)},
             3, 1000.0, 0.5, Value);
    std::vector<uint8_t> gap = ReadBytes(dir + "/gap.qtx");
    std::vector<uint8_t> over = gap;
    over[qtx::DataStart(1) + qtx::kDscOffset] = qtx::kDepthSize;
    WriteBytes(dir + "/overlap.qtx", over);
    gap[qtx::kHdrFrameSize] += 4;
    gap[qtx::DataStart(1) + qtx::kDscOffset] += 4;
    gap.resize(gap.size() + 3 * 4);
    WriteBytes(dir + "/gap.qtx", gap);
    return 0;
}
