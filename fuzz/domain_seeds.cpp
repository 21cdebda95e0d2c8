// Seeds for the domain-view harness: a datum for each tab of the view, shown in
// each domain, the marker curves, an up log, and hostile shapes. The first history
// byte picks the harness's domain (a blank: time, 'A' to 'C': the other three).
#include "ViewSeeds.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

float Wave(int, int, size_t index) { return float(std::sin(double(index % 64) * 0.3)); }

void SetDomain(const std::string& path, char domain) { SetHistory(path, std::string(1, domain)); }

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const QtxDatumShape& wave = kSeedWave;
    const std::vector<QtxDatumShape> tabs = SeedTabs();
    for (const char domain : {' ', 'A', 'B', 'C'}) {
        const std::string path = dir + "/tabs_" + std::string(1, domain == ' ' ? 'T' : domain) + ".qtx";
        WriteQtx(path, tabs, 3, 1000.0, 0.5, Wave);
        SetDomain(path, domain);
    }
    WriteQtx(dir + "/frequency_marker.qtx", {{"FMRK", 158, kCategoryWaveform, 13, 40, kUnitMicroseconds, 50.0f}}, 2);
    WriteQtx(dir + "/slowness_marker.qtx", {{"SMRK", 164, kCategoryWaveform, 2, 40, kUnitMicroseconds, 50.0f}}, 2);
    WriteQtx(dir + "/up.qtx", {wave}, 4, 1001.5, -1.0, Wave, qtx::kLogUp);
    WriteQtx(dir + "/huge_step.qtx", {{"WHUG", 1, kCategoryWaveform, 1, 16, kUnitMicroseconds, 3e38f}}, 2);
    WriteQtx(dir + "/tiny_step.qtx", {{"WTIN", 1, kCategoryWaveform, 1, 16, kUnitMicroseconds, 1e-30f}}, 2);
    SetDomain(dir + "/tiny_step.qtx", 'A');
    for (const char domain : {' ', 'A'}) {
        const std::string path = dir + "/nan_samples_" + std::string(1, domain == ' ' ? 'T' : domain) + ".qtx";
        WriteQtx(path, {wave}, 2, 1000.0, 0.5,
                 [](int, int, size_t i) { return i % 7 == 3 ? NAN : i % 11 == 5 ? 3e38f : Wave(0, 0, i); });
        SetDomain(path, domain);
    }
    WriteQtx(dir + "/nan_depths.qtx", {wave}, 2, 1000.0, 0.5, Wave);
    PatchQtxHeader(dir + "/nan_depths.qtx", [](QtxFileHeader& h) {
        h.topDepth = NAN;
        h.bottomDepth = INFINITY;
        h.frameCount = 0x80000000u;
    });
    return 0;
}
