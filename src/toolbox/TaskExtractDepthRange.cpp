// Extract Depth Range: the frames of the requested depth range, every datum unchanged.
#include "toolbox/ToolsWnd.h"

int ExtractDepthRange(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().OpenSingleInput()) return -1;
    const ToolFrameSpan span = toolbox::FrameRange(in.logDirection, in.top, in.bottom, in.frameCount,
                                                   e.Settings().startDepth, e.Settings().stopDepth);
    e.Task().firstIndex = span.first;
    e.Task().endIndex = span.end;
    if (!OkOrShow(e.Inputs().HasFramesToConvert())) return -1;
    e.Task().taskLine = "*** Tools (Extract depth)";
    if (!e.Output().WriteOutputHead(in.logDirection, e.Settings().startDepth, e.Settings().stopDepth)) return -1;
    // Each frame keeps the depth it has in the input, the first one copied included,
    // whatever depth the range starts at.
    const double step = e.Inputs().InputDepthStep();
    return e.Output().RunFrames("Extract Depth : ", span.first, 1, in.top + span.first * step, step,
                                [&e](double depth) { return e.Output().CopyFrame(depth); });
}
