// Seeds for the command-file plot harness: the builder's waveform and curve items, each
// alone and together, in feet and metres, shaded against a limit and against a curve.
#include "support/LogCommandBuilder.h"
#include "support/QtxBuilder.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    CommandItemFields wave = WaveformItemFields(), curve = CurveItemFields();
    wave.startDepth = curve.startDepth = 1000.0;
    wave.stopDepth = curve.stopDepth = 1010.0;
    WriteBytes(dir + "/both.cmd", CommandFileBytes({}, {wave, curve}));
    WriteBytes(dir + "/wave.cmd", CommandFileBytes({}, {wave}));
    WriteBytes(dir + "/curve.cmd", CommandFileBytes({}, {curve}));
    CommandPageFields metric;
    metric.english = 0;
    metric.metric = 1;
    WriteBytes(dir + "/metric.cmd", CommandFileBytes(metric, {wave, curve}));
    CommandItemFields partner = curve;
    partner.track = 2;
    partner.shadeMaxLimit = 0;
    partner.shadeCurveLimit = 1;
    partner.shadeCurve = 0;
    WriteBytes(dir + "/partner.cmd", CommandFileBytes({}, {curve, partner}));
    CommandItemFields image = wave;
    image.frequencyImage = 1;
    WriteBytes(dir + "/image.cmd", CommandFileBytes({}, {image, curve}));
    return 0;
}
