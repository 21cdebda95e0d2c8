// Construct Min-Max Log: a curve of the primary against a curve of the secondary, depth
// by depth over the depths both cover, as the two curves "MIN " and "MAX ".
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "dataset/QtxLayout.h"

#include <bit>

namespace {

constexpr uint32_t kNullBits = std::bit_cast<uint32_t>(qtx::kAbsentValue);

int MinMaxFrame(CToolsWnd& e, const CQtxDatum& a, const CQtxDatum& b, double depth)
{
    float p = 0.0f, s = 0.0f;
    if (!e.Output().StageDepth(depth) || !toolbox::ReadValue(e.Task().primary, e.Task().singleFrameIndex, a, p)
        || !toolbox::ReadValue(e.Task().secondary, e.Task().SecondaryFrame(), b, s))
        return 0;
    // A null on either side leaves both values in their input order.
    const bool null = std::bit_cast<uint32_t>(p) == kNullBits || std::bit_cast<uint32_t>(s) == kNullBits;
    const float values[2] = {null || p < s ? p : s, null || p < s ? s : p};
    return e.Output().StageValues(values, 2);
}

} // namespace

int ConstructMinMaxLog(CToolsWnd& e)
{
    ToolInput& p = e.Task().primary;
    const auto [first, second] = toolbox::OpenAlignedCurves(e);
    if (!first) return -1;
    const CQtxDatum& a = *first;
    const CQtxDatum& b = *second;
    e.Task().taskLine = "*** Tools (Construct Min-Max log)";
    const uint8_t unit = a.m_axis1.m_unit;
    if (!e.Output().WriteOutputHead(e.Output().PrimaryHead(p.logDirection, e.Task().rangeStart, e.Task().rangeEnd),
                                    {toolbox::CurveDatum("MIN ", kItemTypeCopiedCurve, unit),
                                     toolbox::CurveDatum("MAX ", kItemTypeCopiedCurve, unit)}))
        return -1;
    return e.Output().RunFrames("Compute Min-Max : ", e.Task().firstIndex, 1, e.Task().rangeStart,
                                e.Inputs().InputDepthStep(),
                                [&e, &a, &b](double depth) { return MinMaxFrame(e, a, b, depth); });
}
