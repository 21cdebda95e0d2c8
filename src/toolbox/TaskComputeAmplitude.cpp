// Compute Amplitude: the peak-to-peak amplitude of one selected datum, frame by frame:
// a curve per receiver of a waveform, one curve for a slowness datum.
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "common/Fft.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <vector>

namespace {

const char kMultiple[] = "Encountered multiple selection list!\nOperation will be abandoned.";
const char kDomain[] =
    "Waveform arithmetic requires either time or slowness domain data!\nOperation will be abandoned.";


// Largest positive value less most negative one over a run of values (zeros count for
// neither). Absent samples are no values: a run without a real one has no amplitude.
struct PeakToPeak {
    double positive = 0.0, negative = 0.0;
    bool any = false;
    void Add(const float* v, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            if (v[i] == qtx::kAbsentValue) continue;
            any = true;
            if (v[i] < 0.0f && v[i] < negative) negative = v[i];
            if (v[i] >= 0.0f && v[i] > positive) positive = v[i];
        }
    }
    float Value() const { return any ? ClampToFloat(positive - negative) : qtx::kAbsentValue; }
};

// A slowness datum has one curve: the peak over all its values; a waveform one per trace.
int AmplitudeFrame(CToolsWnd& e, const CQtxDatum& d, double depth)
{
    if (!e.Output().StageDepth(depth)) return 0;
    const int k = e.Task().singleFrameIndex;
    float* buffer = g_fftData + 1;
    const uint64_t samples = d.m_axis1.m_sampleCount;
    const bool slowness = d.m_category == kCategorySlowness;
    const uint64_t runs = slowness ? 1 : d.m_traceCount;
    const uint64_t length = slowness ? uint64_t(d.m_traceCount) * samples : samples;
    for (uint64_t r = 0; r < runs; ++r) {
        PeakToPeak peak;
        for (uint64_t done = 0; done < length;) {
            const size_t n = size_t(std::min<uint64_t>(length - done, kToolSampleCapacity));
            if (!toolbox::ReadValues(e.Task().primary, k, d, r * length + done, n, buffer)) return 0;
            peak.Add(buffer, n);
            done += n;
        }
        const float value = peak.Value();
        if (!e.Output().StageValues(&value, 1)) return 0;
    }
    return 1;
}

} // namespace

int ComputeAmplitude(CToolsWnd& e)
{
    ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection() || !e.Inputs().Require(in.selectedCount == 1, kMultiple)
        || !e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit())
        || !e.Inputs().RequireSelectedDatums())
        return -1;
    const CQtxDatum& d = *toolbox::FirstSelected(in);
    const bool slowness = d.m_category == kCategorySlowness;
    if (!e.Inputs().Require(d.m_category != kCategoryAzimuth && d.m_category != kCategorySemblanceMap
                                && d.m_category != kCategoryTrace,
                            kDomain)
        || (!slowness && !OkOrShow(e.Inputs().ReceiverCountFits(d))) || !OkOrShow(e.Inputs().HasFramesToConvert()))
        return -1;
    std::vector<CQtxDatum> curves;
    if (slowness) {
        curves.push_back(toolbox::CurveDatum(CReceiverGeometry::GetPeakMnemonic(d.m_typeCode),
                                             CReceiverGeometry::GetPeakItemType(d.m_typeCode), kUnitRatio));
    } else {
        for (short r = 0; r < short(d.m_traceCount); ++r)
            curves.push_back(toolbox::CurveDatum(CReceiverGeometry::GetAmplitudeMnemonic(r),
                                                 CReceiverGeometry::GetAmplitudeItemType(r), kUnitMillivolts));
    }
    e.Task().taskLine = "*** Tools (Amplitude)";
    if (!e.Output().WriteOutputHead(
            e.Output().PrimaryHead(in.logDirection, e.Inputs().Shallowest(), e.Inputs().Deepest()), curves))
        return -1;
    return e.Output().RunFrames("Compute Amplitude : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e, &d](double depth) { return AmplitudeFrame(e, d, depth); });
}
