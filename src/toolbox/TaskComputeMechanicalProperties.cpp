// Compute Mechanical Properties: compressional slowness (primary), shear slowness
// (secondary) and density (density input) at every depth of the primary: the velocity
// logs, the density, and the bulk, shear and Young's moduli and the compressibility.
// The secondary and density values are gathered first onto the primary's frames by depth.
#include "toolbox/ElasticLogs.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace {

constexpr uint32_t kNullBits = std::bit_cast<uint32_t>(kElasticNull);
constexpr double kOnFrame = 0.0001; // an input depth this close below a primary frame is that frame's
constexpr float kFourThirds = 1.3333334f;

bool IsNull(float v) { return std::bit_cast<uint32_t>(v) == kNullBits; }

// The values of one primary frame: null until an input frame lands on its depth.
struct MechanicalSample {
    float dtp = kElasticNull, dts = kElasticNull, density = kElasticNull;
};

struct Mechanical {
    CToolsWnd& e;
    std::vector<MechanicalSample> table; // one row per primary frame
    float scaleP = 1.0f, scaleS = 1.0f;  // velocity scales of the two slowness units

    // The row of a depth: whole primary steps from the primary's first frame (truncated).
    int64_t Row(double depth) const
    {
        const ToolInput& p = e.Task().primary;
        const double step = std::fabs(p.step);
        const double steps = p.logDirection == qtx::kLogUp ? (p.top - depth) / step : (depth - p.top) / step;
        return ClampToInt(steps + kOnFrame, -1);
    }

    // Each frame of an input whose depth lies in the primary's range gives its curve's
    // value to the row of that depth. A failed read leaves the remaining rows null.
    void Fill(ToolInput& in, const CQtxDatum& curve, float MechanicalSample::*value)
    {
        const double step = std::fabs(in.step);
        const bool up = e.Task().primary.logDirection == qtx::kLogUp;
        const double low = e.Inputs().Shallowest(), high = e.Inputs().Deepest();
        // Frames past the last one the file holds fail at the first: no need to walk the rest.
        const int32_t frames = std::min<int64_t>(in.frameCount, int64_t(toolbox::FramesHeld(in)) + 1);
        for (int32_t j = 0; j < frames; ++j) {
            const double depth = up ? in.top - j * step : in.top + j * step;
            if (!(depth >= low && depth <= high)) continue;
            const int64_t row = Row(depth);
            if (row < 0 || row >= int64_t(table.size())) continue;
            float v = kElasticNull;
            if (!toolbox::ReadValue(in, j, curve, v)) break;
            table[size_t(row)].*value = v;
        }
        in.file.CloseInput();
    }

    int Frame(double depth) const
    {
        const MechanicalSample& row = table[size_t(e.Task().singleFrameIndex)];
        const VelocityLogs v = ComputeVelocityLogs(row.dtp, row.dts, scaleP, scaleS);
        const float density = row.density >= 0.0f ? row.density : kElasticNull;
        float k = kElasticNull, g = kElasticNull, young = kElasticNull, compressibility = kElasticNull;
        if (!IsNull(v.poisson) && !IsNull(density)) {
            const double vp = v.vp, vs = v.vs, pr = v.poisson;
            const double bulk = (vp * vp - double(kFourThirds) * vs * vs) * double(density) * 1000.0;
            k = ClampToFloat(bulk);
            g = ClampToFloat(1.5 * (1.0 - 2.0 * pr) * bulk / (1.0 + pr));
            young = ClampToFloat(3.0 * (1.0 - 2.0 * pr) * bulk);
            if (k != 0.0f) compressibility = ClampToFloat(1.0 / double(k));
        }
        const float values[] = {v.dtp, v.dts, v.vp, v.vs, v.ratio, v.poisson, density, k, g, young, compressibility};
        return e.Output().StageDepth(depth) && e.Output().StageValues(values, std::size(values));
    }
};

} // namespace

int ComputeMechanicalProperties(CToolsWnd& e)
{
    ToolInput& p = e.Task().primary;
    ToolInput& s = e.Task().secondary;
    ToolInput& d = e.Task().density;
    if (!e.Inputs().OpenCurveInputs()) return -1;
    const CQtxDatum& a = *toolbox::LastSelected(p);
    const CQtxDatum& b = *toolbox::LastSelected(s);
    const CQtxDatum& c = *toolbox::LastSelected(d);
    // One row per frame the primary holds: a header's count is no measure of memory to take.
    Mechanical m{e, std::vector<MechanicalSample>(size_t(toolbox::FramesHeld(p))), SlownessScale(a.m_axis1.m_unit),
                 SlownessScale(b.m_axis1.m_unit)};
    e.Task().endIndex = int32_t(m.table.size());
    if (!OkOrShow(e.Inputs().HasFramesToConvert())) return -1;
    m.Fill(p, a, &MechanicalSample::dtp);
    m.Fill(s, b, &MechanicalSample::dts);
    m.Fill(d, c, &MechanicalSample::density);
    e.Task().taskLine = ""; // this task adds no task line of its own
    std::vector<CQtxDatum> curves = toolbox::VelocityCurves(a, b);
    curves.insert(curves.end(), {
        toolbox::CurveDatum("RHOZ", kItemTypeDensity, kUnitDensity),
        toolbox::CurveDatum("KMOD", kItemTypeBulkModulus, kUnitModulus),
        toolbox::CurveDatum("GMOD", kItemTypeShearModulus, kUnitModulus),
        toolbox::CurveDatum("EMOD", kItemTypeYoungsModulus, kUnitModulus),
        toolbox::CurveDatum("COMP", kItemTypeCompressibility, kUnitRatio),
    });
    if (!e.Output().WriteOutputHead(
            e.Output().PrimaryHead(p.logDirection, e.Inputs().Shallowest(), e.Inputs().Deepest()), curves))
        return -1;
    return e.Output().RunFrames("Mechanical Properties : ", 0, 1, p.top, e.Inputs().InputDepthStep(),
                                [&m](double depth) { return m.Frame(depth); });
}
