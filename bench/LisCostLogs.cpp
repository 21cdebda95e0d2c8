// Writes the LIS logs whose conversion cost bench_lis_cost counts: long logs as files
// hold them (50,000 frames and more, depth per frame or once a record, deep 1/120 ft,
// EB 3 larger than the channels, one depth-once record of 60,000 frames) and the
// layouts that cost the step fit most (no EB 8 with splices every few dozen frames and
// odd depths, depth-once records of one frame, deep 1/120 ft with EB 8 at twice the step).
// Every log holds GR and a fast channel FA of 4 samples; the same seed gives the same
// bytes. A list of the logs goes beside them.
// usage: bench_lis_cost_logs <folder> [scale]; a scale (e.g. 2) writes every log with that
// many times its frames, to see whether a build's cost grows in step with them.
#include "support/LisBuilder.h"
#include "support/LisSweep.h"
#include "support/QtxBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSamples = 4;             // of FA
constexpr size_t kPhysicalBody = 8000;  // larger records are cut into physical records of this

struct Depths {
    uint8_t code = 68;
    const char* units = "F";
    double unit = 1.0; // one recorded unit in feet or metres
};
constexpr Depths kFeet68{68, "F", 1.0}, kMetres68{68, "M", 1.0}, kInch68{68, ".1IN", 1.0 / 120},
    kInch73{73, ".1IN", 1.0 / 120}, kHalfMm73{73, ".5MM", 0.0005};

// What a log is made of: its depths and layout, and how its frames lie.
struct Plan {
    std::string name, what;
    Depths depths;
    bool once = false, up = false;
    double step = 0.5, top = 1000; // feet or metres; top: the first frame's depth
    int frames = 50000;
    double entry8 = 1;             // times the step; 0: EB 8 and EB 9 left out
    int recordsLeast = 16, recordsMost = 16; // frames a data record
    int padBytes = 0;              // EB 3 this much larger than the channels
    bool padZeros = false;         // the padding zeros, otherwise -999.25 words
    int spliceLeast = 0, spliceMost = 0; // frames between splices (0: none)
    int oddEvery = 0;              // about one odd depth (per frame) or record depth (once) in this many
    double oddLeast = 0.01, oddMost = 0.05; // feet or metres, within 0.4 of a step
    uint32_t seed = 1;
};

struct Rng {
    std::mt19937 g;
    int Between(int least, int most) { return least + int(g() % uint32_t(most - least + 1)); }
    double Unit() { return double(g()) / 4294967296.0; }
};

// Where each data record starts, and where the last one ends.
std::vector<size_t> RecordStarts(const Plan& p, Rng& rng)
{
    std::vector<size_t> starts;
    for (size_t at = 0; at < size_t(p.frames); at += size_t(rng.Between(p.recordsLeast, p.recordsMost)))
        starts.push_back(at);
    starts.push_back(size_t(p.frames));
    return starts;
}

// Every frame's true depth (depth once, a record's first frame's is the one written):
// the grid, moved on by 0.2-0.8 of a step at each splice (depth once, at the first record
// start past it), with odd depths oddLeast to oddMost off their place.
std::vector<double> FrameDepths(const Plan& p, const std::vector<size_t>& starts, Rng& rng)
{
    std::vector<double> out;
    const double sign = p.up ? -1.0 : 1.0, oddMost = std::min(p.oddMost, 0.4 * p.step);
    double shift = 0;
    int nextSplice = p.spliceLeast ? rng.Between(p.spliceLeast, p.spliceMost) : -1;
    size_t record = 0;
    bool odd = false;
    double offset = 0;
    for (int j = 0; j < p.frames; ++j) {
        const bool recordStart = size_t(j) == starts[record];
        if (recordStart) ++record;
        if (nextSplice >= 0 && j >= nextSplice && (!p.once || recordStart)) {
            shift += (0.2 + 0.6 * rng.Unit()) * p.step;
            nextSplice = j + rng.Between(p.spliceLeast, p.spliceMost);
        }
        if (!p.once || recordStart) {
            odd = p.oddEvery && j > 0 && rng.Between(1, p.oddEvery) == 1;
            offset = (p.oddLeast + (oddMost - p.oddLeast) * rng.Unit()) * (rng.g() & 1 ? 1 : -1);
        }
        out.push_back(p.top + sign * (j * p.step + shift + (odd ? offset : 0.0)));
    }
    return out;
}

void AppendDepth(std::vector<uint8_t>& r, const Depths& d, double depth)
{
    const double recorded = depth / d.unit;
    if (d.code == 73) return lisb::AppendValue(r, 73, std::round(recorded));
    const uint32_t word = sweep::Word68(recorded, sweep::Words::Rounded);
    for (int shift = 24; shift >= 0; shift -= 8) r.push_back(uint8_t(word >> shift));
}

lisb::Dfsr DfsrOf(const Plan& p)
{
    lisb::Dfsr d;
    d.depthOnce = p.once;
    d.depthCode = p.depths.code;
    d.depthUnits = p.depths.units;
    d.direction = uint8_t(p.up ? 1 : 255);
    d.spacingEntry = p.entry8 > 0;
    d.spacing = p.entry8 * p.step / p.depths.unit;
    d.spacingUnits = p.depths.units;
    d.maxFrames = uint8_t(std::min(p.recordsMost, 255)); // one byte: larger records say 255
    d.channels = {lisb::Channel("GR", "GAPI"), lisb::Channel("FA", "US", 4 * kSamples, kSamples)};
    d.frameSize = int64_t(d.FrameBytes()) + p.padBytes;
    return d;
}

std::vector<uint8_t> Write(const Plan& p)
{
    Rng rng{std::mt19937(p.seed)};
    const std::vector<size_t> starts = RecordStarts(p, rng);
    const std::vector<double> depths = FrameDepths(p, starts, rng);
    LisBuilder b;
    b.FileHeader("COST  .001").Dfsr(DfsrOf(p));
    for (size_t r = 0; r + 1 < starts.size(); ++r) {
        std::vector<uint8_t> bytes{0, 0};
        if (p.once) AppendDepth(bytes, p.depths, depths[starts[r]]);
        for (size_t j = starts[r]; j < starts[r + 1]; ++j) {
            if (!p.once) AppendDepth(bytes, p.depths, depths[j]);
            lisb::AppendValue(bytes, 68, sweep::Gr(int(j)));
            for (int s = 0; s < kSamples; ++s) lisb::AppendValue(bytes, 68, sweep::Fa(int(j), s));
            for (int w = 0; w < p.padBytes / 4; ++w) lisb::AppendValue(bytes, 68, p.padZeros ? 0.0 : -999.25);
        }
        b.Record(bytes, std::vector<size_t>((bytes.size() - 1) / kPhysicalBody, kPhysicalBody));
    }
    b.FileTrailer("COST  .001");
    return b.Bytes();
}

// The logs, long ones first, then the step fit's worst layouts.
std::vector<Plan> Plans()
{
    std::vector<Plan> out;
    const auto add = [&](const char* name, const char* what, const Depths& d, auto&& tune) {
        Plan p;
        p.name = name;
        p.what = what;
        p.depths = d;
        p.seed = uint32_t(out.size() + 1);
        tune(p);
        out.push_back(p);
    };
    const auto deep = [](Plan& p) { p.up = true, p.top = 28000, p.step = 1.0 / 120; };
    const auto onceRecords = [](Plan& p) { p.once = true, p.recordsLeast = 8, p.recordsMost = 20; };
    add("L01-pf-ft68", "per frame, code 68 F, 0.5 ft, EB 8 right, records of 16 frames", kFeet68, [](Plan&) {});
    add("L02-once-ft68", "depth once, code 68 F, 0.5 ft, EB 8 right, records of 8-20 frames", kFeet68, onceRecords);
    add("L03-deep-pf-50k", "per frame, code 68 .1IN, 1/120 ft (1 .1IN), up from 28,000 ft, EB 8 right, records of 16",
        kInch68, deep);
    add("L04-deep-pf-100k", "as L03 with 100,000 frames (28,000 to 27,167 ft): twice L03's cost if linear", kInch68,
        [&](Plan& p) { deep(p), p.frames = 100000; });
    add("L05-pf-padded", "per frame, code 68 F, 0.25 ft, EB 8 right, EB 3 8 bytes over the channels (two -999.25 "
        "words a frame), records of 16", kFeet68, [](Plan& p) { p.step = 0.25, p.padBytes = 8; });
    add("L06-pf-m68", "per frame, code 68 M, 0.1 m, from 300 m, EB 8 right, records of 10", kMetres68,
        [](Plan& p) { p.step = 0.1, p.top = 300, p.recordsLeast = p.recordsMost = 10; });
    add("L07-pf-ft73", "per frame, code 73 .1IN, 0.5 ft (60 .1IN), EB 8 right, records of 16", kInch73, [](Plan&) {});
    add("L08-deep-once-50k", "depth once, code 68 .1IN, 1/120 ft, up from 28,000 ft, EB 8 right, records of 8-20",
        kInch68, [&](Plan& p) { deep(p), onceRecords(p); });
    add("L09-once-padded", "depth once, code 68 F, 0.5 ft, EB 8 right, EB 3 8 bytes over the channels (zeros), "
        "records of 8-20", kFeet68, [&](Plan& p) { onceRecords(p), p.padBytes = 8, p.padZeros = true; });
    add("L10-once-m73", "depth once, code 73 .5MM, 0.1 m (200 .5MM), from 300 m, EB 8 right, records of 8-20",
        kHalfMm73, [&](Plan& p) { onceRecords(p), p.step = 0.1, p.top = 300; });
    add("W11-pf-none-splices-odd", "per frame, code 68 F, 0.25 ft, no EB 8, a splice (0.2-0.8 step on) every "
        "20-60 frames, about one frame in 50 0.01-0.05 ft off", kFeet68,
        [](Plan& p) { p.step = 0.25, p.entry8 = 0, p.spliceLeast = 20, p.spliceMost = 60, p.oddEvery = 50; });
    add("W12-once-none-splices-odd", "depth once, code 68 F, 0.5 ft, no EB 8, records of 4-8, a splice at the "
        "first record past every 20-40 frames, about one record depth in 5 0.01-0.05 ft off", kFeet68,
        [&](Plan& p) {
            onceRecords(p), p.recordsLeast = 4, p.recordsMost = 8;
            p.entry8 = 0, p.spliceLeast = 20, p.spliceMost = 40, p.oddEvery = 5;
        });
    add("W13-once-1frame-splices", "depth once, records of one frame, code 68 F, 0.5 ft, EB 8 right, a splice "
        "every 20-60 frames", kFeet68, [](Plan& p) {
        p.once = true, p.recordsLeast = p.recordsMost = 1, p.spliceLeast = 20, p.spliceMost = 60;
    });
    add("W14-once-1frame-none-splices-odd", "depth once, records of one frame, code 68 F, 0.25 ft, no EB 8, a "
        "splice every 20-60 frames, about one depth in 150 0.01-0.05 ft off", kFeet68, [](Plan& p) {
        p.once = true, p.recordsLeast = p.recordsMost = 1, p.step = 0.25, p.entry8 = 0;
        p.spliceLeast = 20, p.spliceMost = 60, p.oddEvery = 150;
    });
    add("W15-deep-pf-e8x2", "per frame, code 68 .1IN, 1/120 ft, up from 28,000 ft, EB 8 twice the step (2 .1IN), "
        "records of 16", kInch68, [&](Plan& p) { deep(p), p.entry8 = 2; });
    add("W16-deep-once-e8x2", "depth once, code 68 .1IN, 1/120 ft, up from 28,000 ft, EB 8 twice the step, "
        "records of 8-20", kInch68, [&](Plan& p) { deep(p), onceRecords(p), p.entry8 = 2; });
    add("W17-pf-m73-none-splices-odd", "per frame, code 73 .5MM, 0.1 m, from 300 m, no EB 8, a splice every "
        "20-60 frames, about one frame in 50 0.003-0.015 m off", kHalfMm73, [](Plan& p) {
        p.step = 0.1, p.top = 300, p.entry8 = 0, p.spliceLeast = 20, p.spliceMost = 60, p.oddEvery = 50;
        p.oddLeast = 0.003, p.oddMost = 0.015;
    });
    add("W18-pf-deep-none-splices-odd", "per frame, code 68 F, 0.01 ft from 17,000 ft (a step the depths' rounding "
        "puts in doubt), no EB 8, a splice every 37 frames, about one frame in 101 0.002-0.004 ft off", kFeet68,
        [](Plan& p) {
            p.step = 0.01, p.top = 17000, p.entry8 = 0, p.spliceLeast = p.spliceMost = 37, p.oddEvery = 101;
            p.oddLeast = 0.002, p.oddMost = 0.004;
        });
    add("L19-once-1record-60k", "depth once, code 68 F, 0.5 ft, EB 8 right, all 60,000 frames in one data record "
        "(what reading a record costs, not a frame)", kFeet68,
        [](Plan& p) { p.once = true, p.frames = 60000, p.recordsLeast = p.recordsMost = 60000; });
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const double scale = argc == 3 ? std::atof(argv[2]) : 1.0;
    if (argc < 2 || argc > 3 || !(scale > 0.0) || scale > 100.0) {
        std::fprintf(stderr, "usage: %s <folder> [scale]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    std::string list = "LIS logs for counting a conversion's instructions (bench_lis_cost), written by "
                       "bench_lis_cost_logs. Each holds GR and FA (4 samples); its frames and bytes in brackets.\n"
                       "L: long logs as files hold them; W: the step fit's worst layouts.\n\n";
    for (Plan p : Plans()) {
        p.frames = std::max(2, int(std::lround(p.frames * scale)));
        const std::vector<uint8_t> bytes = Write(p);
        WriteBytes((dir / (p.name + ".lis")).string(), bytes);
        char line[64];
        std::snprintf(line, sizeof line, " [%d frames, %zu bytes]", p.frames, bytes.size());
        list += p.name + ".lis: " + p.what + line + "\n";
    }
    WriteBytes((dir / "LIST.txt").string(), std::vector<uint8_t>(list.begin(), list.end()));
    std::printf("%zu logs written to %s\n", Plans().size(), dir.c_str());
    return 0;
}
