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
        if (CToolsWnd::IsTwoAxis(d) || CToolsWnd::ItemValueCount(d) > kToolSampleCapacity) return false;
        out.push_back(&d);
    }
    return true;
}

} // namespace

int ConstructQtxDataSet(CToolsWnd& e)
{
    ToolInput& p = e.m_primary;
    ToolInput& s = e.m_secondary;
    if (!e.TakeSelections() || !e.OpenInputs() || !e.CheckInputsAgree(true) || !e.RequireSelectedDatums()) return -1;
    // Only the first selected datums are compared.
    if (!e.Require(CToolsWnd::FirstSelected(p)->m_typeCode != CToolsWnd::FirstSelected(s)->m_typeCode, kSameDatums))
        return -1;
    std::vector<const CQtxDatum*> fromPrimary, fromSecondary;
    if (!e.Require(Selected(p, fromPrimary) && Selected(s, fromSecondary), kShape)) return -1;
    std::vector<CQtxDatum> datums;
    for (const auto* list : {&fromPrimary, &fromSecondary})
        for (const CQtxDatum* d : *list) datums.push_back(*d);
    e.m_taskLine = "*** Tools (Construct QTX data set)";
    if (!e.WriteOutputHead(e.PrimaryHead(p.logDirection, p.bottom, p.top), datums)) return -1;
    // Frame k of both inputs; the depths start at the secondary's first frame.
    return e.RunFrames("Construct QTX data set : ", 0, 1, s.top, e.InputDepthStep(),
                       [&e, &p, &s, &fromPrimary, &fromSecondary](double depth) {
                           if (!e.StageDepth(depth)) return 0;
                           const int k = e.m_singleFrameIndex;
                           for (const CQtxDatum* d : fromPrimary)
                               if (!e.CopyItem(p, k, *d)) return 0;
                           for (const CQtxDatum* d : fromSecondary)
                               if (!e.CopyItem(s, k, *d)) return 0;
                           return 1;
                       });
}
