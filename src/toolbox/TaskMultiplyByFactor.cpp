// Multiply By Factor: the selected datums' values times the factor, nulls kept.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

namespace {

int MultiplyFrame(CToolsWnd& e, double depth)
{
    if (!e.StageDepth(depth)) return 0;
    const ToolInput& in = e.m_primary;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (!e.CopyItem(*in.list[k], in.IsSelected(k) ? CToolsWnd::ValueOp::Scale : CToolsWnd::ValueOp::Copy))
            return 0;
    return 1;
}

} // namespace

int MultiplyByFactor(CToolsWnd& e)
{
    const ToolInput& in = e.m_primary;
    if (!e.TakeSelection() || !e.OpenSingleInput() || !e.RefuseTooManyDatums() || !e.RefuseNothingToConvert())
        return -1;
    e.m_taskLine = Format("*** Tools (Multiply by factor) - %8.4f", double(e.m_factor));
    if (!e.WriteOutputHead(in.logDirection, e.Shallowest(), e.Deepest())) return -1;
    return e.RunFrames("Multiply : ", 0, 1, in.top, e.InputDepthStep(),
                       [&e](double depth) { return MultiplyFrame(e, depth); });
}
