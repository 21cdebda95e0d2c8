// Construct QTX Data Set: two data sets of one depth sampling merged frame by frame: the
// selected datums of the primary, then those of the secondary, each copied unchanged.
#include "toolbox/ToolsWnd.h"

#include <vector>

namespace {

const char kSameDatums[] = "Encountered the same datums in input files!\nOperation will be abandoned.";
const char kShape[] = "Construct QTX data set requires datums of one axis and at most 65536 values a frame!\n"
                      "Operation will be abandoned.";

// The selected datums of an input, in its order; false when one has a shape the copy refuses.
bool Selected(const ToolInput& in, std::vector<const CQtxDatum*>& out)
{
    for (size_t k = 0; k < in.list.size(); ++k) {
        if (!in.IsSelected(k)) continue;
        const CQtxDatum& d = *in.list[k];
        if (toolbox::IsTwoAxis(d) || toolbox::ItemValueCount(d) > kToolSampleCapacity) return false;
        out.push_back(&d);
    }
    return true;
}

} // namespace

int ConstructQtxDataSet(CToolsWnd& e)
{
    ToolInput& p = e.Task().primary;
    ToolInput& s = e.Task().secondary;
    if (!e.Inputs().TakeSelections() || !e.Inputs().OpenInputs() || !e.Inputs().CheckInputsAgree(true)
        || !e.Inputs().RequireSelectedDatums())
        return -1;
    // Only the first selected datums are compared.
    if (!e.Inputs().Require(toolbox::FirstSelected(p)->m_typeCode != toolbox::FirstSelected(s)->m_typeCode,
                            kSameDatums))
        return -1;
    std::vector<const CQtxDatum*> fromPrimary, fromSecondary;
    if (!e.Inputs().Require(Selected(p, fromPrimary) && Selected(s, fromSecondary), kShape)) return -1;
    std::vector<CQtxDatum> datums;
    for (const auto* list : {&fromPrimary, &fromSecondary})
        for (const CQtxDatum* d : *list) datums.push_back(*d);
    e.Task().taskLine = "*** Tools (Construct QTX data set)";
    if (!e.Output().WriteOutputHead(e.Output().PrimaryHead(p.logDirection, p.bottom, p.top), datums)) return -1;
    // Frame k of both inputs; the depths start at the secondary's first frame.
    return e.Output().RunFrames("Construct QTX data set : ", 0, 1, s.top, e.Inputs().InputDepthStep(),
                                [&e, &p, &s, &fromPrimary, &fromSecondary](double depth) {
                                    if (!e.Output().StageDepth(depth)) return 0;
                                    const int k = e.Task().singleFrameIndex;
                                    for (const CQtxDatum* d : fromPrimary)
                                        if (!e.Output().CopyItem(p, k, *d)) return 0;
                                    for (const CQtxDatum* d : fromSecondary)
                                        if (!e.Output().CopyItem(s, k, *d)) return 0;
                                    return 1;
                                });
}
