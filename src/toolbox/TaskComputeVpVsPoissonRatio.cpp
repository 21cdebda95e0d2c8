// Compute VpVs, Poisson Ratio: a compressional slowness curve of the primary and a shear
// slowness curve of the secondary, over the depths both cover, as six curves: the two
// slownesses, both velocities, their ratio and Poisson's ratio.
#include "toolbox/ElasticLogs.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "platform/SafeNumeric.h"

#include <bit>

namespace {

constexpr uint32_t kNullBits = std::bit_cast<uint32_t>(kElasticNull);
constexpr double kMinimumRatio = 1.41;

bool IsNull(float v) { return std::bit_cast<uint32_t>(v) == kNullBits; }

int VpVsFrame(CToolsWnd& e, const CQtxDatum& a, const CQtxDatum& b, double depth)
{
    float dtp = 0.0f, dts = 0.0f;
    if (!e.Output().StageDepth(depth) || !toolbox::ReadValue(e.Task().primary, e.Task().singleFrameIndex, a, dtp)
        || !toolbox::ReadValue(e.Task().secondary, e.Task().SecondaryFrame(), b, dts))
        return 0;
    const VelocityLogs v =
        ComputeVelocityLogs(dtp, dts, SlownessScale(a.m_axis1.m_unit), SlownessScale(b.m_axis1.m_unit));
    const float values[] = {v.dtp, v.dts, v.vp, v.vs, v.ratio, v.poisson};
    return e.Output().StageValues(values, std::size(values));
}

} // namespace

float SlownessScale(uint8_t unit) { return unit == kUnitMicrosecondsPerFoot ? 0.3048f : 1.0f; }

VelocityLogs ComputeVelocityLogs(float dtp, float dts, float scaleP, float scaleS)
{
    VelocityLogs v;
    // A NaN is no slowness either.
    v.dtp = dtp >= 0.0f ? dtp : kElasticNull;
    v.dts = dts >= 0.0f ? dts : kElasticNull;
    // A slowness of 0 has no finite velocity.
    if (v.dtp > 0.0f) v.vp = ClampToFloat(double(scaleP) * 1000.0 / double(v.dtp));
    if (v.dts > 0.0f) v.vs = ClampToFloat(double(scaleS) * 1000.0 / double(v.dts));
    if (IsNull(v.dtp) || IsNull(v.dts) || v.dtp == 0.0f) return v;
    const float ratio = ClampToFloat(double(v.dts) / double(v.dtp));
    if (!(ratio > kMinimumRatio)) return v;
    const double r2 = double(ratio) * double(ratio);
    v.ratio = ratio;
    v.poisson = ClampToFloat((0.5 * r2 - 1.0) / (r2 - 1.0));
    return v;
}

int ComputeVpVsPoissonRatio(CToolsWnd& e)
{
    ToolInput& p = e.Task().primary;
    const auto [first, second] = toolbox::OpenAlignedCurves(e);
    if (!first) return -1;
    const CQtxDatum& a = *first;
    const CQtxDatum& b = *second;
    e.Task().taskLine = "*** Tools (Vp/Vs ratio)";
    const std::vector<CQtxDatum> curves = toolbox::VelocityCurves(a, b);
    if (!e.Output().WriteOutputHead(e.Output().PrimaryHead(p.logDirection, e.Task().rangeStart, e.Task().rangeEnd),
                                    curves))
        return -1;
    return e.Output().RunFrames("Compute VpVs : ", e.Task().firstIndex, 1, e.Task().rangeStart,
                                e.Inputs().InputDepthStep(),
                                [&e, &a, &b](double depth) { return VpVsFrame(e, a, b, depth); });
}
