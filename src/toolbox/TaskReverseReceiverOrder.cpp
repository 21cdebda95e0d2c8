// Reverse Receiver Order: the traces of each selected one-axis datum in the opposite order.
#include "toolbox/ToolsWnd.h"

#include "common/Fft.h"

#include <climits>

namespace {

int ReverseReceivers(CToolsWnd& e, const CQtxDatum& item)
{
    // A two-axis datum keeps its order: it is copied unchanged.
    if (toolbox::IsTwoAxis(item)) return e.Output().CopyItem(item);
    CQtxFile& file = e.Task().primary.file;
    const int frame = e.Task().singleFrameIndex;
    const size_t traces = item.m_traceCount;
    const size_t samples = item.m_axis1.m_sampleCount;
    float* buffer = g_fftData + 1;
    // One read for the whole datum when it fits the read buffer, else one per trace
    // (a trace of at most 65,535 values always fits).
    const bool whole = traces * samples <= kToolSampleCapacity;
    const int offset = item.m_offset > uint32_t(INT_MAX) ? -1 : int(item.m_offset);
    if (whole && !OkOrShow(file.ReadFrameItem(frame, offset, int(traces), int(samples), buffer, kToolSampleCapacity)))
        return 0;
    for (size_t t = traces; t-- > 0;) {
        const float* trace = buffer;
        if (whole) {
            trace = buffer + t * samples;
        } else {
            const uint64_t at = uint64_t(item.m_offset) + uint64_t(t) * samples * sizeof(float);
            const int traceOffset = at > uint64_t(INT_MAX) ? -1 : int(at);
            if (!OkOrShow(file.ReadFrameItem(frame, traceOffset, 1, int(samples), buffer, kToolSampleCapacity)))
                return 0;
        }
        if (!e.Output().StageValues(trace, samples)) return 0;
    }
    return 1;
}

int ReverseReceiverFrame(CToolsWnd& e, double depth)
{
    ToolInput& in = e.Task().primary;
    if (!toolbox::HoldsFrame(in, e.Task().singleFrameIndex) || !e.Output().StageDepth(depth)) return 0;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (!(in.IsSelected(k) ? ReverseReceivers(e, *in.list[k]) : e.Output().CopyItem(*in.list[k]))) return 0;
    return 1;
}

} // namespace

int ReverseReceiverOrder(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection() || !e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit()))
        return -1;
    e.Task().taskLine = "*** Tools (Reverse receiver order)";
    if (!e.Output().WriteOutputHead(in.logDirection, in.top, in.bottom)) return -1;
    return e.Output().RunFrames("Reverse Receiver : ", e.Task().firstIndex, 1, in.top, e.Inputs().InputDepthStep(),
                                [&e](double depth) { return ReverseReceiverFrame(e, depth); });
}
