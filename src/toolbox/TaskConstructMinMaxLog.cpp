// Construct Min-Max Log: a curve of the primary against a curve of the secondary, depth
// by depth over the depths both cover, as the two curves "MIN " and "MAX ".
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"

#include <bit>

namespace {

const char kPrimaryCurve[] = "Unproper datum selection in primary file!\nOperation will be abandoned.";
const char kSecondaryCurve[] = "Unproper domain selection in secondary file!\nOperation will be abandoned.";

constexpr uint32_t kNullBits = std::bit_cast<uint32_t>(-999.25f);

int MinMaxFrame(CToolsWnd& e, const CQtxDatum& a, const CQtxDatum& b, double depth)
{
    float p = 0.0f, s = 0.0f;
    if (!e.StageDepth(depth) || !CToolsWnd::ReadValue(e.m_primary, e.m_singleFrameIndex, a, p)
        || !CToolsWnd::ReadValue(e.m_secondary, e.SecondaryFrame(), b, s))
        return 0;
    // A null on either side leaves both values in their input order.
    const bool null = std::bit_cast<uint32_t>(p) == kNullBits || std::bit_cast<uint32_t>(s) == kNullBits;
    const float values[2] = {null || p < s ? p : s, null || p < s ? s : p};
    return e.StageValues(values, 2);
}

} // namespace

int ConstructMinMaxLog(CToolsWnd& e)
{
    ToolInput& p = e.m_primary;
    ToolInput& s = e.m_secondary;
    if (!e.TakeSelections() || !e.OpenInputs() || !e.CheckInputsAgree(false) || !e.RequireSelectedDatums()
        || !e.RequireSelectedCategory(p, kCategoryTrace, kPrimaryCurve)
        || !e.RequireSelectedCategory(s, kCategoryTrace, kSecondaryCurve))
        return -1;
    // With several curves selected in an input, the last one counts.
    const CQtxDatum& a = *CToolsWnd::LastSelected(p);
    const CQtxDatum& b = *CToolsWnd::LastSelected(s);
    e.FindDepthOverlap();
    if (!e.RefuseNothingToConvert()) return -1;
    e.m_taskLine = "*** Tools (Construct Min-Max log)";
    const uint8_t unit = a.m_axis1.m_unit;
    if (!e.WriteOutputHead(
            e.PrimaryHead(p.logDirection, e.m_rangeStart, e.m_rangeEnd),
            {CToolsWnd::CurveDatum("MIN ", kItemTypeCopiedCurve, unit), CToolsWnd::CurveDatum("MAX ", kItemTypeCopiedCurve, unit)}))
        return -1;
    return e.RunFrames("Compute Min-Max : ", e.m_firstIndex, 1, e.m_rangeStart, e.InputDepthStep(),
                       [&e, &a, &b](double depth) { return MinMaxFrame(e, a, b, depth); });
}
