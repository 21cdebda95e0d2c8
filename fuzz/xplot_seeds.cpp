// Seeds for the cross-plot harness: an IFS pair (datums 1 and 2, as the first two
// history bytes name them) of picks with zeros between runs, in both log directions,
// with one frame, 13 and 16 receivers, values that are no numbers, and the pairs the
// view refuses (a wrong kind, other receiver or sample counts, another step).
#include "support/QtxBuilder.h"

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

QtxDatumShape Curve(const char* mnemonic, uint8_t type, uint16_t receivers, uint16_t samples, float step = 2.0f)
{
    return {.mnemonic = mnemonic, .typeCode = type, .traces = receivers, .samples = samples,
            .unit = kUnitMicroseconds, .step = step};
}

float Picks(int frame, int datum, size_t i)
{
    if (i % 9 == 0) return 0.0f;
    return datum % 2 ? float(150 + 100 * std::sin(double(i) * 0.1 + frame)) : float(3000 + 2000 * std::cos(double(i) * 0.07));
}

void Pair(const std::string& path, char first = 1, char second = 2, char narrow = 0)
{
    PatchQtxHeader(path, [&](QtxFileHeader& h) {
        h.history[0] = first;
        h.history[1] = second;
        h.history[2] = narrow;
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    const QtxDatumShape wave = Curve("WMNO", 1, 4, 32);
    const std::vector<QtxDatumShape> pair{wave, Curve("ISMN", 164, 4, 64), Curve("IFMN", 158, 4, 64)};
    WriteQtx(dir + "/pair.qtx", pair, 12, 1000.0, 0.5, Picks);
    Pair(dir + "/pair.qtx");
    WriteQtx(dir + "/narrow.qtx", pair, 12, 1000.0, 0.5, Picks);
    Pair(dir + "/narrow.qtx", 2, 1, 90);
    WriteQtx(dir + "/up.qtx", pair, 10, 1004.5, -0.5, Picks, qtx::kLogUp);
    Pair(dir + "/up.qtx");
    WriteQtx(dir + "/one_frame.qtx", pair, 1, 1000.0, 0.0, Picks);
    Pair(dir + "/one_frame.qtx");
    WriteQtx(dir + "/thirteen.qtx", {wave, Curve("ISQD", 169, 13, 40), Curve("IFQD", 163, 13, 40)}, 4, 1000.0, 0.5, Picks);
    Pair(dir + "/thirteen.qtx");
    WriteQtx(dir + "/sixteen.qtx", {wave, Curve("ISXX", 165, 16, 40), Curve("IFXX", 159, 16, 40)}, 4, 1000.0, 0.5, Picks);
    Pair(dir + "/sixteen.qtx");
    WriteQtx(dir + "/nan.qtx", pair, 4, 1000.0, 0.5,
             [](int f, int d, size_t i) { return i % 5 == 2 ? NAN : i % 7 == 3 ? INFINITY : Picks(f, d, i); });
    Pair(dir + "/nan.qtx");
    // Refused: a waveform in the pair, other receivers, other samples, another step.
    for (const auto& [name, first, second] :
         {std::tuple{"refused_kind", 0, 2}, {"refused_receivers", 1, 2}, {"refused_samples", 1, 3},
          {"refused_step", 1, 4}, {"refused_size", 5, 6}}) {
        const std::string path = dir + "/" + name + ".qtx";
        WriteQtx(path,
                 {wave, Curve("ISMN", 164, 4, 64), Curve("IFMN", 158, 2, 64), Curve("IFXX", 159, 4, 32),
                  Curve("IFYY", 162, 4, 64, 4.0f), Curve("ISXX", 165, 17, 8), Curve("IFQD", 163, 17, 8)},
                 3, 1000.0, 0.5, Picks);
        Pair(path, char(first), char(second));
    }
    return 0;
}
