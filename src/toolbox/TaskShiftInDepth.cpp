// Shift In Depth: every depth moved by the factor; data and depth step unchanged.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

int ShiftInDepth(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().HasFramesToConvert())) return -1;
    const double shift = e.Settings().factorDouble;
    e.Settings().startDepth = e.Inputs().Shallowest();
    e.Settings().stopDepth = e.Inputs().Deepest();
    e.Task().taskLine = Format("*** Tools (Shift in depth) - %10.4f %s", shift, e.Task().depthUnitLabel.c_str());
    if (!e.Output().WriteOutputHead(in.logDirection, e.Settings().startDepth + shift, e.Settings().stopDepth + shift))
        return -1;
    return e.Output().RunFrames("Depth Shift : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e, shift](double depth) { return e.Output().CopyFrame(depth + shift); });
}
