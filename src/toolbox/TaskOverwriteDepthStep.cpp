// Overwrite Depth Step: the frames relabelled from the first depth on at the factor as
// the new step; data unchanged.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

int OverwriteDepthStep(CToolsWnd& e)
{
    const ToolInput& in = e.m_primary;
    const double step = double(e.m_factor);
    if (!e.OpenSingleInput() || !e.RefuseNothingToConvert() || !e.RefuseNewDepthStep(step)) return -1;
    e.m_startDepth = e.Shallowest();
    e.m_stopDepth = e.Deepest();
    e.m_taskLine = Format("*** Tools (Overwrite depth step) - %8.4f", double(e.m_factor));
    ToolOutputHead head = e.PrimaryHead(in.logDirection, e.m_startDepth, e.m_startDepth + in.frameCount * step);
    head.step = step;
    if (!e.WriteOutputHead(head, e.PrimaryDatums())) return -1;
    return e.RunFrames("Overwrite Depth : ", 0, 1, in.top, in.logDirection == qtx::kLogUp ? -step : step,
                       [&e](double depth) { return e.CopyFrame(depth); });
}
