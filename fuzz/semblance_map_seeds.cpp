// Seeds for the semblance-map harness: maps in both presentations and palettes, with
// and without first indices, an up log, one frame, one row or column, values that are
// no numbers, metric slowness, and hostile steps and counts. The first history byte
// picks the presentation, the next two the windows asked (0: the whole map).
#include "support/QtxBuilder.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

QtxDatumShape Map(uint16_t ns, float ds, uint16_t nt, float dt, uint16_t fs = 0, uint16_t ft = 0,
                  uint8_t unit = kUnitMicrosecondsPerFoot)
{
    return {.mnemonic = "SMNO", .typeCode = 60, .category = kCategorySemblanceMap, .samples = ns, .unit = unit,
            .step = ds, .samples2 = nt, .unit2 = kUnitMicroseconds, .step2 = dt, .first = fs, .first2 = ft};
}

float Ridge(int frame, int, size_t i)
{
    const double k = double(i % 40), j = double(i / 40);
    return float(std::exp(-((k - 15 - frame % 5) * (k - 15) / 30.0 + (j - 12) * (j - 12) / 20.0)));
}

void SetView(const std::string& path, char look, char time = 0, char slowness = 0)
{
    PatchQtxHeader(path, [&](QtxFileHeader& h) {
        h.history[0] = look;
        h.history[1] = time;
        h.history[2] = slowness;
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const QtxDatumShape wave{"WMNO", 1, kCategoryWaveform, 4, 64, kUnitMicroseconds, 10.0f};
    for (char look = 0; look < 4; ++look) {
        const std::string path = dir + "/map_" + std::to_string(int(look)) + ".qtx";
        WriteQtx(path, {wave, Map(40, 5, 30, 20, 8, 2)}, 12, 1000.0, 0.5, Ridge);
        SetView(path, look, look == 1 ? 30 : 0, look == 1 ? 50 : 0);
    }
    WriteQtx(dir + "/metric.qtx", {Map(40, 10, 30, 40, 0, 0, kUnitMicrosecondsPerMetre)}, 6, 300.0, 0.1524, Ridge);
    WriteQtx(dir + "/up.qtx", {Map(40, 5, 30, 20)}, 10, 1004.5, -0.5, Ridge, qtx::kLogUp);
    WriteQtx(dir + "/one_frame.qtx", {Map(40, 5, 30, 20)}, 1, 1000.0, 0.0, Ridge);
    WriteQtx(dir + "/one_row.qtx", {Map(40, 5, 1, 20)}, 3, 1000.0, 0.5, Ridge);
    WriteQtx(dir + "/one_column.qtx", {Map(1, 5, 30, 20)}, 3, 1000.0, 0.5, Ridge);
    WriteQtx(dir + "/two_maps.qtx", {Map(40, 5, 30, 20), Map(20, 2, 10, 50)}, 3, 1000.0, 0.5, Ridge);
    WriteQtx(dir + "/nan_values.qtx", {Map(40, 5, 30, 20)}, 3, 1000.0, 0.5,
             [](int, int, size_t i) { return i % 7 == 3 ? NAN : i % 11 == 5 ? 3e38f : i % 13 == 1 ? -3e38f : Ridge(0, 0, i); });
    WriteQtx(dir + "/tiny_steps.qtx", {Map(40, 1e-30f, 30, 1e-30f, 65535, 65535)}, 3, 1000.0, 0.5, Ridge);
    WriteQtx(dir + "/huge_steps.qtx", {Map(40, 3e38f, 30, 3e38f, 9, 9)}, 3, 1000.0, 0.5, Ridge);
    WriteQtx(dir + "/nan_step.qtx", {Map(40, NAN, 30, 20)}, 3, 1000.0, 0.5, Ridge);
    WriteQtx(dir + "/nan_depths.qtx", {Map(40, 5, 30, 20)}, 4, 1000.0, 0.5, Ridge);
    PatchQtxHeader(dir + "/nan_depths.qtx", [](QtxFileHeader& h) {
        h.topDepth = NAN;
        h.bottomDepth = INFINITY;
        h.depthStep = NAN;
        h.frameCount = 0x80000000u;
    });
    return 0;
}
