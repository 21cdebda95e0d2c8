// Extract Item(s): every frame with the selected datums only.
#include "toolbox/ToolsWnd.h"

#include "platform/Host.h"

#include <vector>

namespace {

const char kEmptySelection[] = "Encountered empty selection list!\nOperation will be abandoned.";

int ExtractFrame(CToolsWnd& e, double depth)
{
    ToolInput& in = e.Task().primary;
    if (!toolbox::HoldsFrame(in, e.Task().singleFrameIndex) || !e.Output().StageDepth(depth)) return 0;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (in.IsSelected(k) && !e.Output().CopyItem(*in.list[k])) return 0;
    return 1;
}

} // namespace

int ExtractItems(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection() || !e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit())
        || !OkOrShow(e.Inputs().HasFramesToConvert()))
        return -1;
    std::vector<CQtxDatum> kept;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (in.IsSelected(k)) kept.push_back(*in.list[k]);
    // A selection made on another data set may name none of this one's datums.
    if (kept.empty()) {
        e.Inputs().CloseInputs();
        MessageBox(kEmptySelection, MB_OK | MB_ICONSTOP);
        return -1;
    }
    e.Task().taskLine = "*** Tools (Extract datums)";
    if (!e.Output().WriteOutputHead(
            e.Output().PrimaryHead(in.logDirection, e.Inputs().Shallowest(), e.Inputs().Deepest()), kept))
        return -1;
    return e.Output().RunFrames("Extract Items : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e](double depth) { return ExtractFrame(e, depth); });
}
