// Shift By Factor: the factor added to every value of the selected datums.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

#include <algorithm>

namespace {

int ShiftFrame(CToolsWnd& e, double depth)
{
    if (!e.StageDepth(depth)) return 0;
    const ToolInput& in = e.m_primary;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (!e.CopyItem(*in.list[k], in.IsSelected(k) ? CToolsWnd::ValueOp::Offset : CToolsWnd::ValueOp::Copy))
            return 0;
    return 1;
}

} // namespace

int ShiftByFactor(CToolsWnd& e)
{
    const ToolInput& in = e.m_primary;
    if (!e.TakeSelection() || !e.OpenSingleInput() || !e.RefuseTooManyDatums()) return -1;
    e.m_taskLine = Format("*** Tools (Shift by factor) - %8.4f", double(e.m_factor));
    if (!e.WriteOutputHead(in.logDirection, std::min(in.top, in.bottom), std::max(in.top, in.bottom))) return -1;
    return e.RunFrames("Shift : ", e.m_firstIndex, 1, in.top, e.InputDepthStep(),
                       [&e](double depth) { return ShiftFrame(e, depth); });
}
