// Seeds for the log-plot harness: a log of a curve and a datum on every waveform tab
// (a plain and an instantaneous-frequency time datum), an up log, a metric log, one
// frame, values that are no numbers, and hostile steps, depths and counts.
#include "support/QtxBuilder.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

float Value(int frame, int datum, size_t index)
{
    if (datum == 0) return 50.0f + float(frame);
    return float(std::sin(double(index % 64) * 0.3)) * float(1 + datum);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const QtxDatumShape curve{"GR", 250, kCategoryTrace, 1, 1, 0xFF, 1.0f};
    const std::vector<QtxDatumShape> log{curve,
                                         {"WMNO", 1, kCategoryWaveform, 4, 64, kUnitMicroseconds, 10.0f},
                                         {"IFMN", 158, kCategoryWaveform, 2, 32, kUnitMicroseconds, 10.0f},
                                         {"DTCO", 33, kCategorySlowness, 1, 100, kUnitMicrosecondsPerFoot, 2.0f},
                                         {"AZIM", 26, kCategoryAzimuth, 1, 36, kUnitDegrees, 10.0f}};
    WriteQtx(dir + "/log.qtx", log, 40, 1000.0, 0.5, Value);
    WriteQtx(dir + "/up.qtx", log, 6, 1002.5, -0.5, Value, qtx::kLogUp);
    WriteQtx(dir + "/metric.qtx", log, 6, 300.0, 0.1524, Value);
    PatchQtxHeader(dir + "/metric.qtx", [](QtxFileHeader& h) { h.depthUnits = 0xFF; });
    WriteQtx(dir + "/one_frame.qtx", log, 1, 1000.0, 0.5, Value);
    WriteQtx(dir + "/nan_values.qtx", log, 4, 1000.0, 0.5,
             [](int, int, size_t i) { return i % 5 == 2 ? NAN : i % 7 == 3 ? 3e38f : -999.25f; });
    WriteQtx(dir + "/huge_step.qtx", {curve, {"WHUG", 1, kCategoryWaveform, 1, 16, kUnitMicroseconds, 3e38f}}, 2);
    WriteQtx(dir + "/deep.qtx", log, 3, 49999.0, 0.5, Value);
    WriteQtx(dir + "/nan_depths.qtx", log, 3, 1000.0, 0.5, Value);
    PatchQtxHeader(dir + "/nan_depths.qtx", [](QtxFileHeader& h) {
        h.topDepth = NAN;
        h.bottomDepth = INFINITY;
        h.frameCount = 0x80000000u;
    });
    WriteQtx(dir + "/zero_step.qtx", log, 3, 1000.0, 0.5, Value);
    PatchQtxHeader(dir + "/zero_step.qtx", [](QtxFileHeader& h) { h.depthStep = 0.0; });
    return 0;
}
