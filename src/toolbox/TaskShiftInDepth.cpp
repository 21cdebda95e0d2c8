// Shift In Depth: every depth moved by the factor; data and depth step unchanged.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

int ShiftInDepth(CToolsWnd& e)
{
    const ToolInput& in = e.m_primary;
    if (!e.OpenSingleInput() || !e.RefuseNothingToConvert()) return -1;
    const double shift = e.m_factorDouble;
    e.m_startDepth = e.Shallowest();
    e.m_stopDepth = e.Deepest();
    e.m_taskLine = Format("*** Tools (Shift in depth) - %10.4f %s", shift, e.m_depthUnitLabel.c_str());
    if (!e.WriteOutputHead(in.logDirection, e.m_startDepth + shift, e.m_stopDepth + shift)) return -1;
    return e.RunFrames("Depth Shift : ", 0, 1, in.top, e.InputDepthStep(),
                       [&e, shift](double depth) { return e.CopyFrame(depth + shift); });
}
