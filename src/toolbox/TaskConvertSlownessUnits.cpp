// Convert Slowness To Metric / Imperial: slowness axes relabelled and slowness curves
// ("DT..." in uSec/ft or uSec/m) scaled; the direction is the engine's Settings().slownessToMetric.
#include "toolbox/ToolsWnd.h"

#include "platform/Host.h"

#include <vector>

namespace {

// Single-precision factors, as the axis steps and curve values are floats.
constexpr float kPerFootToPerMetre = 3.28084f;
constexpr float kPerMetreToPerFoot = 0.3048f;

} // namespace

int ConvertSlownessUnits(CToolsWnd& e)
{
    ToolInput& in = e.Task().primary;
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit())
        || !OkOrShow(e.Inputs().HasFramesToConvert()))
        return -1;
    const bool toMetric = e.Settings().slownessToMetric != 0;
    const uint8_t from = toMetric ? kUnitMicrosecondsPerFoot : kUnitMicrosecondsPerMetre;
    const uint8_t to = toMetric ? kUnitMicrosecondsPerMetre : kUnitMicrosecondsPerFoot;
    const float factor = toMetric ? kPerFootToPerMetre : kPerMetreToPerFoot;

    // The selection marks the curves whose values are scaled; axes are only relabelled.
    in.selected.fill(0);
    bool converted = false;
    std::vector<CQtxDatum> datums = e.Output().PrimaryDatums();
    for (size_t k = 0; k < datums.size(); ++k) {
        CQtxDatum& d = datums[k];
        if (d.m_axis1.m_unit != from) continue;
        const bool axis = d.m_category == kCategorySlowness || d.m_category == kCategorySemblanceMap;
        const bool curve = d.m_category == kCategoryTrace && d.m_mnemonic.compare(0, 2, "DT") == 0;
        if (!axis && !curve) continue;
        if (axis) d.m_axis1.m_step *= factor;
        in.selected[k] = curve ? 1 : 0;
        d.m_axis1.m_unit = to;
        converted = true;
    }
    // Refused before the output exists: nothing is left behind.
    if (!converted) {
        e.Inputs().CloseInputs();
        MessageBox("Could not find any data to be converted!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return -1;
    }
    e.Settings().factor = factor;
    e.Settings().startDepth = e.Inputs().Shallowest();
    e.Settings().stopDepth = e.Inputs().Deepest();
    e.Task().taskLine = toMetric ? "*** Tools (Convert slowness to metric)" : "*** Tools (Convert slowness to english)";
    if (!e.Output().WriteOutputHead(
            e.Output().PrimaryHead(in.logDirection, e.Settings().startDepth, e.Settings().stopDepth), datums))
        return -1;
    return e.Output().RunFrames("Convert Slowness : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e](double depth) { return e.Output().CopyFrame(depth, ToolValueOp::Scale); });
}
