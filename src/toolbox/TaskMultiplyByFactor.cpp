// Multiply By Factor: the selected datums' values times the factor, nulls kept.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

int MultiplyByFactor(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection() || !e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit())
        || !OkOrShow(e.Inputs().HasFramesToConvert()))
        return -1;
    e.Task().taskLine = Format("*** Tools (Multiply by factor) - %8.4f", double(e.Settings().factor));
    if (!e.Output().WriteOutputHead(in.logDirection, e.Inputs().Shallowest(), e.Inputs().Deepest())) return -1;
    return e.Output().RunFrames("Multiply : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e](double depth) { return e.Output().CopyFrame(depth, ToolValueOp::Scale); });
}
