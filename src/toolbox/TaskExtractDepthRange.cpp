// Extract Depth Range: the frames of the requested depth range, every datum unchanged.
#include "toolbox/ToolsWnd.h"

int ExtractDepthRange(CToolsWnd& e)
{
    const ToolInput& in = e.m_primary;
    if (!e.OpenSingleInput()) return -1;
    const ToolFrameSpan span =
        CToolsWnd::FrameRange(in.logDirection, in.top, in.bottom, in.frameCount, e.m_startDepth, e.m_stopDepth);
    e.m_firstIndex = span.first;
    e.m_endIndex = span.end;
    if (!e.RefuseNothingToConvert()) return -1;
    e.m_taskLine = "*** Tools (Extract depth)";
    if (!e.WriteOutputHead(in.logDirection, e.m_startDepth, e.m_stopDepth)) return -1;
    // Each frame keeps the depth it has in the input, the first one copied included,
    // whatever depth the range starts at.
    const double step = e.InputDepthStep();
    return e.RunFrames("Extract Depth : ", span.first, 1, in.top + span.first * step, step,
                       [&e](double depth) { return e.CopyFrame(depth); });
}
