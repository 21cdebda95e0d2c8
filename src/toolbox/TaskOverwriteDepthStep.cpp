// Overwrite Depth Step: the frames relabelled from the first depth on at the factor as
// the new step; data unchanged.
#include "toolbox/ToolsWnd.h"

#include "dataset/FastDatum.h"
#include "platform/Format.h"

#include <cmath>

int OverwriteDepthStep(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    const double step = double(e.Settings().factor);
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().HasFramesToConvert())
        || !OkOrShow(e.Inputs().NewDepthStepFits(step)))
        return -1;
    e.Settings().startDepth = e.Inputs().Shallowest();
    e.Settings().stopDepth = e.Inputs().Deepest();
    e.Task().taskLine = Format("*** Tools (Overwrite depth step) - %8.4f", double(e.Settings().factor));
    ToolOutputHead head = e.Output().PrimaryHead(in.logDirection, e.Settings().startDepth,
                                                 e.Settings().startDepth + in.frameCount * step);
    head.step = step;
    // A fast curve's samples lie between its frames: they keep their share of the new spacing.
    std::vector<CQtxDatum> datums = e.Output().PrimaryDatums();
    const double before = e.Inputs().InputDepthStep();
    if (before != 0.0) qtx::ScaleDepthOffsets(datums, std::fabs(step / before));
    if (!e.Output().WriteOutputHead(head, datums)) return -1;
    return e.Output().RunFrames("Overwrite Depth : ", 0, 1, in.top, in.logDirection == qtx::kLogUp ? -step : step,
                                [&e](double depth) { return e.Output().CopyFrame(depth); });
}
