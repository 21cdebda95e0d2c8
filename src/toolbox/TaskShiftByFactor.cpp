// Shift By Factor: the factor added to every value of the selected datums.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

#include <algorithm>

int ShiftByFactor(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection() || !e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit()))
        return -1;
    e.Task().taskLine = Format("*** Tools (Shift by factor) - %8.4f", double(e.Settings().factor));
    if (!e.Output().WriteOutputHead(in.logDirection, std::min(in.top, in.bottom), std::max(in.top, in.bottom)))
        return -1;
    return e.Output().RunFrames("Shift : ", e.Task().firstIndex, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e](double depth) { return e.Output().CopyFrame(depth, ToolValueOp::Offset); });
}
