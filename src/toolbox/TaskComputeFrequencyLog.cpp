// Compute Frequency Log: the mean instantaneous frequency of every receiver of one
// selected instantaneous-frequency datum, and their mean, frame by frame.
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "common/Fft.h"
#include "dataset/QtxLayout.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/SafeNumeric.h"
#include "res/StringTable.h"

#include <array>
#include <vector>

namespace {

const char kMultiple[] = "Encountered multiple selection list!\nOperation will be abandoned.";
const char kDomain[] = "Frequency log requires IFS computed time domain data!\nOperation will be abandoned.";
const char kType[] = "Frequency log requires IFS computed instantaneous frequency data!\nOperation will be abandoned.";

constexpr unsigned kIdsMeanFrequency = 50038; // "FREQ"
constexpr float kNull = qtx::kAbsentValue;

// Per receiver, the mean of the values followed by a positive one, where both are
// positive (a trace's last value only partners the one before it); 0 when none is.
int FrequencyFrame(CToolsWnd& e, const CQtxDatum& d, double depth)
{
    if (!e.Output().StageDepth(depth)) return 0;
    const size_t samples = d.m_axis1.m_sampleCount;
    float* v = g_fftData + 1;
    std::array<float, 1 + 13> out{}; // the mean over receivers, then each receiver's
    double total = 0.0;
    int counted = 0;
    for (size_t t = 0; t < d.m_traceCount; ++t) {
        if (!toolbox::ReadValues(e.Task().primary, e.Task().singleFrameIndex, d, t * samples, samples, v)) return 0;
        double sum = 0.0;
        int n = 0;
        for (size_t k = 0; k + 1 < samples; ++k)
            if (v[k] > 0.0f && v[k + 1] > 0.0f) {
                sum += v[k];
                ++n;
            }
        const float mean = n ? ClampToFloat(sum / n) : 0.0f;
        if (mean != 0.0f) {
            total += mean;
            ++counted;
        }
        out[1 + t] = mean != 0.0f ? mean : kNull;
    }
    out[0] = counted ? ClampToFloat(total / counted) : kNull;
    return e.Output().StageValues(out.data(), 1 + size_t(d.m_traceCount));
}

} // namespace

int ComputeFrequencyLog(CToolsWnd& e)
{
    ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection() || !e.Inputs().Require(in.selectedCount == 1, kMultiple)
        || !e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit())
        || !e.Inputs().RequireSelectedDatums())
        return -1;
    const CQtxDatum& d = *toolbox::FirstSelected(in);
    // Refused before the output exists: no empty output is left behind.
    if (!e.Inputs().Require(d.m_category != kCategoryAzimuth && d.m_category != kCategorySemblanceMap
                                && d.m_category != kCategoryTrace,
                            kDomain)
        || !e.Inputs().Require(InFamily(d.m_typeCode, ItemFamily::InstFrequency), kType)
        || !OkOrShow(e.Inputs().ReceiverCountFits(d)) || !OkOrShow(e.Inputs().HasFramesToConvert()))
        return -1;
    std::vector<CQtxDatum> curves = {
        toolbox::CurveDatum(LoadString(kIdsMeanFrequency), kItemTypeFrequencyCurve, kUnitHertz)};
    for (short r = 0; r < short(d.m_traceCount); ++r)
        curves.push_back(toolbox::CurveDatum(CReceiverGeometry::GetFrequencyMnemonic(r),
                                             CReceiverGeometry::GetFrequencyItemType(r), kUnitHertz));
    e.Task().taskLine = "*** Tools (Frequency log)";
    if (!e.Output().WriteOutputHead(
            e.Output().PrimaryHead(in.logDirection, e.Inputs().Shallowest(), e.Inputs().Deepest()), curves))
        return -1;
    return e.Output().RunFrames("Compute Frequency : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e, &d](double depth) { return FrequencyFrame(e, d, depth); });
}
