// Seeds for the VDL-view harness: a datum for each tab shown in each domain and
// presentation, the frequency and slowness curves, an up log, a single frame and
// hostile shapes. The first history byte picks the domain (a blank: time, 'A' to
// 'C': the other three), the second the presentation and palette.
#include "ViewSeeds.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

float Wave(int frame, int, size_t index) { return float(std::sin(double(index % 64) * 0.3 + frame * 0.2)); }

void SetView(const std::string& path, char domain, char look = ' ') { SetHistory(path, {domain, look}); }

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const QtxDatumShape& wave = kSeedWave;
    const std::vector<QtxDatumShape> tabs = SeedTabs();
    for (const char domain : {' ', 'A', 'B', 'C'})
        for (const char look : {' ', '!', '"', '%'}) {
            const std::string path = dir + "/tabs_" + std::string(1, domain == ' ' ? 'T' : domain) + "_"
                                     + std::to_string(int(look)) + ".qtx";
            WriteQtx(path, tabs, 40, 1000.0, 0.5, Wave);
            SetView(path, domain, look);
        }
    WriteQtx(dir + "/frequency_curve.qtx", {{"FMRK", 158, kCategoryWaveform, 13, 40, kUnitMicroseconds, 50.0f}}, 20,
             1000.0, 0.5, [](int, int, size_t i) { return float(i % 9) * 1000.0f; });
    WriteQtx(dir + "/slowness_curve.qtx", {{"SMRK", 164, kCategoryWaveform, 2, 40, kUnitMicroseconds, 50.0f}}, 20,
             1000.0, 0.5, [](int, int, size_t i) { return i % 5 == 0 ? 0.0f : 100.0f + float(i % 7); });
    WriteQtx(dir + "/up.qtx", {wave}, 30, 1015.0, -0.5, Wave, qtx::kLogUp);
    WriteQtx(dir + "/one_frame.qtx", {wave}, 1, 1000.0, 0.0, Wave);
    WriteQtx(dir + "/huge_step.qtx", {{"WHUG", 1, kCategoryWaveform, 1, 16, kUnitMicroseconds, 3e38f}}, 4);
    WriteQtx(dir + "/tiny_step.qtx", {{"WTIN", 1, kCategoryWaveform, 1, 16, kUnitMicroseconds, 1e-30f}}, 4);
    SetView(dir + "/tiny_step.qtx", 'A');
    WriteQtx(dir + "/nan_samples.qtx", {wave}, 8, 1000.0, 0.5,
             [](int, int, size_t i) { return i % 7 == 3 ? NAN : i % 11 == 5 ? 3e38f : Wave(0, 0, i); });
    WriteQtx(dir + "/nan_depths.qtx", {wave}, 4, 1000.0, 0.5, Wave);
    PatchQtxHeader(dir + "/nan_depths.qtx", [](QtxFileHeader& h) {
        h.topDepth = NAN;
        h.bottomDepth = INFINITY;
        h.frameCount = 0x80000000u;
    });
    WriteQtx(dir + "/many_frames.qtx", {wave}, 4, 1000.0, 0.5, Wave);
    PatchQtxHeader(dir + "/many_frames.qtx", [](QtxFileHeader& h) { h.frameCount = 0x7FFFFFFFu; });
    return 0;
}
