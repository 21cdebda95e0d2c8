// Add Waveforms / Subtract Waveforms: one selected datum of the primary plus (or minus)
// one of the secondary, frame by frame and value by value; the sign is the engine's
// Settings().waveformSign.
#include "toolbox/ToolsWnd.h"

#include "common/Fft.h"
#include "platform/SafeNumeric.h"

#include <algorithm>

namespace {

const char kMultiplePrimary[] = "Encountered multiple items in primary selection list!\nOperation will be abandoned.";
const char kMultipleSecondary[] =
    "Encountered multiple items in secondary selection list!\nOperation will be abandoned.";
const char kDomain[] =
    "Waveform arithmetic requires either time or slowness domain data!\nOperation will be abandoned.";
const char kDomains[] = "Different data domains in input files!\nOperation will be abandoned.";
const char kTraces[] = "Different number of channels in input files!\nOperation will be abandoned.";
const char kDatums[] = "Different datums in input files!\nOperation will be abandoned.";
const char kRates[] = "Different sampling rates in input files!\nOperation will be abandoned.";
const char kSamples[] = "Different number of samples in input files!\nOperation will be abandoned.";

bool IsWaveformDomain(const CQtxDatum& d)
{
    return d.m_category != kCategoryAzimuth && d.m_category != kCategorySemblanceMap && d.m_category != kCategoryTrace;
}

// The datum's values of frame k, a read buffer at a time: primary + sign x secondary in
// double precision (nulls get no special treatment).
int CombineFrame(CToolsWnd& e, const CQtxDatum& a, const CQtxDatum& b, double sign, double depth)
{
    if (!e.Output().StageDepth(depth)) return 0;
    const int k = e.Task().singleFrameIndex;
    const uint64_t total = toolbox::ItemValueCount(a);
    float* pa = g_fftData + 1;
    float* pb = g_toolBuffer + 1;
    for (uint64_t done = 0; done < total;) {
        const size_t n = size_t(std::min<uint64_t>(total - done, kToolSampleCapacity));
        if (!toolbox::ReadValues(e.Task().primary, k, a, done, n, pa)
            || !toolbox::ReadValues(e.Task().secondary, k, b, done, n, pb))
            return 0;
        for (size_t i = 0; i < n; ++i) pa[i] = ClampToFloat(sign * double(pb[i]) + double(pa[i]));
        if (!e.Output().StageValues(pa, n)) return 0;
        done += n;
    }
    return 1;
}

} // namespace

int AddSubtractWaveforms(CToolsWnd& e)
{
    ToolInput& p = e.Task().primary;
    ToolInput& s = e.Task().secondary;
    if (!e.Inputs().TakeSelection(p) || !e.Inputs().Require(p.selectedCount == 1, kMultiplePrimary)
        || !e.Inputs().TakeSelection(s) || !e.Inputs().Require(s.selectedCount == 1, kMultipleSecondary))
        return -1;
    if (!e.Inputs().OpenInputs() || !e.Inputs().CheckInputsAgree(true) || !e.Inputs().RequireSelectedDatums())
        return -1;
    const CQtxDatum& a = *toolbox::FirstSelected(p);
    const CQtxDatum& b = *toolbox::FirstSelected(s);
    // Mnemonics are not compared: datums of one shape combine whatever their names.
    if (!e.Inputs().Require(IsWaveformDomain(a) && IsWaveformDomain(b), kDomain)
        || !e.Inputs().Require(a.m_category == b.m_category, kDomains)
        || !e.Inputs().Require(a.m_traceCount == b.m_traceCount, kTraces)
        || !e.Inputs().Require(a.m_size == b.m_size && toolbox::ItemValueCount(a) == toolbox::ItemValueCount(b),
                               kDatums)
        || !e.Inputs().Require(a.m_axis1.m_step == b.m_axis1.m_step, kRates)
        || !e.Inputs().Require(a.m_axis1.m_sampleCount == b.m_axis1.m_sampleCount, kSamples))
        return -1;
    const bool add = e.Settings().waveformSign >= 0;
    e.Task().taskLine = add ? "*** Tools (Add waveforms)" : "*** Tools (Subtract waveforms)";
    if (!e.Output().WriteOutputHead(e.Output().PrimaryHead(p.logDirection, p.top, p.bottom), {a})) return -1;
    // The output takes the secondary's depths, frame by frame on the primary's step.
    return e.Output().RunFrames(
        add ? "Add Waveforms : " : "Subtract Waveforms : ", 0, 1, s.top, e.Inputs().InputDepthStep(),
        [&e, &a, &b, sign = add ? 1.0 : -1.0](double depth) { return CombineFrame(e, a, b, sign, depth); });
}
