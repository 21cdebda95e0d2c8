// Convert Depth To Metric / Imperial: depths and depth step in the other unit; the
// direction is the engine's Settings().depthToMetric.
#include "toolbox/ToolsWnd.h"

#include "dataset/FastDatum.h"
#include "platform/Host.h"

namespace {

// Feet in a metre as the program has always converted them (not 1 / 0.3048).
constexpr double kMetresToFeet = 3.28084;
constexpr double kFeetToMetres = 0.3048;

} // namespace

int ConvertDepthUnits(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().HasFramesToConvert())) return -1;
    const bool metres = in.depthUnits == qtx::kUnitsMetres;
    if (metres == (e.Settings().depthToMetric != 0)) {
        e.Inputs().CloseInputs();
        MessageBox(metres ? "The depth is already expressed in metric units!\nOperation will be abandoned."
                          : "The depth is already expressed in imperial units!\nOperation will be abandoned.",
                   MB_OK | MB_ICONSTOP);
        return -1;
    }
    const double k = metres ? kMetresToFeet : kFeetToMetres;
    // The history shows the input's range in the input's units.
    e.Settings().startDepth = e.Inputs().Shallowest();
    e.Settings().stopDepth = e.Inputs().Deepest();
    e.Task().taskLine = metres ? "*** Tools (Convert depth to english)" : "*** Tools (Convert depth to metric)";
    ToolOutputHead head =
        e.Output().PrimaryHead(in.logDirection, e.Settings().startDepth * k, e.Settings().stopDepth * k);
    head.depthUnits = metres ? qtx::kUnitsFeet : qtx::kUnitsMetres;
    head.step = in.step * k;
    // A fast curve's samples stand at depth offsets along its axis: they change unit too.
    std::vector<CQtxDatum> datums = e.Output().PrimaryDatums();
    qtx::ScaleDepthOffsets(datums, k);
    if (!e.Output().WriteOutputHead(head, datums)) return -1;
    return e.Output().RunFrames("Convert Depth : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e, k](double depth) { return e.Output().CopyFrame(depth * k); });
}
