// Which value of a curve of several values a frame stands at the frame's depth, and
// which datums are fast channels of so many samples a frame.
#include "dataset/FastDatum.h"

#include <gtest/gtest.h>

namespace {

QtxDatumDescriptor Curve(uint16_t values, int16_t firstIndex, uint8_t category = kCategoryTrace, uint16_t traces = 1)
{
    QtxDatumDescriptor d;
    d.category = category;
    d.traceCount = traces;
    d.axisCount = 1;
    d.size = uint32_t(values) * 4u * traces;
    d.axis1.sampleCount = values;
    d.axis1.firstIndex = uint16_t(firstIndex);
    return d;
}

TEST(FastDatum, TheValueAtTheFramesDepthAndTheSamplesOfAFastDatum)
{
    const struct {
        const char* what;
        QtxDatumDescriptor d;
        uint32_t atDepth, samples;
    } cases[] = {
        {"3 samples, the last at the frame's depth", Curve(3, -2), 2, 3},
        {"2 samples of 3 values each", Curve(6, -3), 3, 2},
        {"an older fast datum: the first at the frame's depth", Curve(3, 0), 0, 1},
        {"a first index past the values", Curve(3, -3), 0, 1},
        {"a first index after the frame's depth", Curve(3, 2), 0, 1},
        {"a curve of one value", Curve(1, 0), 0, 1},
        {"values that split into no equal samples", Curve(5, -3), 3, 1},
        {"a waveform", Curve(3, -2, kCategoryWaveform), 0, 1},
        {"two traces", Curve(3, -2, kCategoryTrace, 2), 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CQtxDatum datum(1, "DT  ", 0, c.d.category, 0, 0, c.d.traceCount, 1, 8, c.d.size, 0xFF, c.d.axis1.firstIndex,
                        c.d.axis1.sampleCount, 0.1f);
        EXPECT_EQ(qtx::ValueAtFrameDepth(datum), c.atDepth);
        EXPECT_EQ(qtx::FastSamples(c.d), c.samples);
    }
    // A size that holds fewer values than the axis counts: nothing past the size is named.
    EXPECT_EQ(qtx::ValueAtFrameDepth(uint16_t(int16_t(-2)), 3, 8), 0u);
}

} // namespace
