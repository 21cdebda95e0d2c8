// Convert Depth To Metric / Imperial: depths and depth step in the other unit; the
// direction is the engine's m_depthToMetric.
#include "toolbox/ToolsWnd.h"

#include "platform/Host.h"

namespace {

// Feet in a metre as the program has always converted them (not 1 / 0.3048).
constexpr double kMetresToFeet = 3.28084;
constexpr double kFeetToMetres = 0.3048;

} // namespace

int ConvertDepthUnits(CToolsWnd& e)
{
    const ToolInput& in = e.m_primary;
    if (!e.OpenSingleInput() || !e.RefuseNothingToConvert()) return -1;
    const bool metres = in.depthUnits == qtx::kUnitsMetres;
    if (metres == (e.m_depthToMetric != 0)) {
        e.CloseInputs();
        MessageBox(metres ? "The depth is already expressed in metric units!\nOperation will be abandoned."
                          : "The depth is already expressed in imperial units!\nOperation will be abandoned.",
                   MB_OK | MB_ICONSTOP);
        return -1;
    }
    const double k = metres ? kMetresToFeet : kFeetToMetres;
    // The history shows the input's range in the input's units.
    e.m_startDepth = e.Shallowest();
    e.m_stopDepth = e.Deepest();
    e.m_taskLine = metres ? "*** Tools (Convert depth to english)" : "*** Tools (Convert depth to metric)";
    ToolOutputHead head = e.PrimaryHead(in.logDirection, e.m_startDepth * k, e.m_stopDepth * k);
    head.depthUnits = metres ? qtx::kUnitsFeet : qtx::kUnitsMetres;
    head.step = in.step * k;
    if (!e.WriteOutputHead(head, e.PrimaryDatums())) return -1;
    return e.RunFrames("Convert Depth : ", 0, 1, in.top, e.InputDepthStep(),
                       [&e, k](double depth) { return e.CopyFrame(depth * k); });
}
