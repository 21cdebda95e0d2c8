// Seeds for the processing-window harness: waveforms whose arrivals a search finds, for
// each window (the first history byte: 0 to 3 the depth profile's time, frequency,
// slowness and azimuth, 4 time-frequency, 5 Kalman), an up log, one frame, values that
// are no numbers, and hostile steps (huge and tiny), depths and counts.
#include "ViewSeeds.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

float Arrival(int frame, int, size_t i)
{
    const int trace = int(i / 64), j = int(i % 64);
    return float(std::sin(2 * 3.14159265 * (j + 0.5 - 3 * trace - frame % 3) / 16));
}

void SetKind(const std::string& path, char kind) { SetHistory(path, std::string(1, kind)); }

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const std::vector<QtxDatumShape> tabs = SeedTabs();
    for (char kind = 0; kind < 6; ++kind) {
        const std::string stem = dir + "/kind" + std::to_string(int(kind));
        WriteQtx(stem + ".qtx", tabs, 12, 1000.0, 0.5, Arrival);
        SetKind(stem + ".qtx", kind);
        WriteQtx(stem + "_up.qtx", tabs, 6, 1002.5, -0.5, Arrival, qtx::kLogUp);
        SetKind(stem + "_up.qtx", kind);
        WriteQtx(stem + "_one.qtx", tabs, 1, 1000.0, 0.5, Arrival);
        SetKind(stem + "_one.qtx", kind);
        WriteQtx(stem + "_nan.qtx", tabs, 3, 1000.0, 0.5,
                 [](int, int, size_t i) { return i % 5 == 2 ? NAN : i % 7 == 3 ? 3e38f : Arrival(0, 0, i); });
        SetKind(stem + "_nan.qtx", kind);
        WriteQtx(stem + "_step.qtx", {{"WHUG", 1, kCategoryWaveform, 13, 16, kUnitMicroseconds, 3e38f}}, 2);
        SetKind(stem + "_step.qtx", kind);
        // Sample steps so small that the search limits lie past every index.
        WriteQtx(stem + "_tiny.qtx", {{"WTIN", 1, kCategoryWaveform, 4, 64, kUnitMicroseconds, 1e-38f},
                                      {"DTIN", 33, kCategorySlowness, 1, 100, kUnitMicrosecondsPerFoot, 1e-38f},
                                      {"ATIN", 26, kCategoryAzimuth, 1, 36, kUnitDegrees, 1e-38f}},
                 4, 1000.0, 0.5, Arrival);
        SetKind(stem + "_tiny.qtx", kind);
        WriteQtx(stem + "_depths.qtx", tabs, 3, 1000.0, 0.5, Arrival);
        PatchQtxHeader(stem + "_depths.qtx", [&](QtxFileHeader& h) {
            h.history[0] = kind;
            h.depthStep = kind % 2 ? 0.0 : NAN;
            h.frameCount = 0x80000000u;
        });
    }
    return 0;
}
