// Tasks 14 "Reverse Depth Order" and 28 "Reverse Receiver Order".
#include "toolbox/ToolsWnd.h"

#include "common/Fft.h"
#include "platform/Format.h"
#include "platform/Host.h"

int CToolsWnd::ReverseDepthOrder(const std::string&, const std::string& primary)
{
    m_taskCode = 14;
    m_primary.path = primary;
    if (!OpenSingleInput()) return -1;
    if (MessageBox(Format("This data set log direction is : %s.\nWould you like to continue?.",
                          m_logDirectionLabel.c_str()),
                   MB_YESNO)
        != IDYES) {
        CloseInputs();
        return -1;
    }
    const uint8_t direction = m_primary.logDirection == qtx::kLogUp ? qtx::kLogDown : qtx::kLogUp;
    if (!WriteOutputHead(direction, m_primary.bottom, m_primary.top)) return -1;
    // Depths are accumulated from the input's last depth, not read from its frames.
    return RunFrames("Reverse Depth : ", m_primary.frameCount - 1, -1, m_primary.bottom, -InputDepthStep(),
                     [this](double depth) { return CopyFrame(depth); });
}

int CToolsWnd::ReverseReceiverOrder(const std::string&, const std::string& primary)
{
    m_taskCode = 28;
    if (!TakeSelection()) return -1;
    m_primary.path = primary;
    if (!OpenSingleInput() || !RefuseTooManyDatums()
        || !WriteOutputHead(m_primary.logDirection, m_primary.top, m_primary.bottom))
        return -1;
    return RunFrames("Reverse Receiver : ", m_firstIndex, 1, m_primary.top, InputDepthStep(),
                     [this](double depth) { return ReverseReceiverFrame(depth); });
}

int CToolsWnd::ReverseReceiverFrame(double depth)
{
    if (!StageDepth(depth)) return 0;
    for (size_t k = 0; k < m_primary.list.size(); ++k) {
        const CQtxDatum& item = *m_primary.list[k];
        if (!(m_primary.IsSelected(k) ? ReverseReceivers(item) : CopyItem(item))) return 0;
    }
    return 1;
}

int CToolsWnd::ReverseReceivers(const CQtxDatum& item)
{
    // A two-axis datum keeps its order: it is copied unchanged.
    if (IsTwoAxis(item)) return CopyItem(item);
    const size_t traces = item.m_traceCount;
    const size_t samples = item.m_axis1.m_sampleCount;
    float* buffer = g_fftData + 1;
    // One read for the whole datum when it fits the read buffer, else one per trace
    // (a trace of at most 65,535 values always fits).
    const bool whole = traces * samples <= kToolSampleCapacity;
    const int offset = item.m_offset > uint32_t(INT32_MAX) ? -1 : int(item.m_offset);
    if (whole && !m_primary.file.ReadFrameItem(m_singleFrameIndex, offset, int(traces), int(samples), buffer,
                                               kToolSampleCapacity))
        return 0;
    for (size_t t = traces; t-- > 0;) {
        const float* trace = buffer;
        if (whole) {
            trace = buffer + t * samples;
        } else {
            const uint64_t at = uint64_t(item.m_offset) + uint64_t(t) * samples * sizeof(float);
            const int traceOffset = at > uint64_t(INT32_MAX) ? -1 : int(at);
            if (!m_primary.file.ReadFrameItem(m_singleFrameIndex, traceOffset, 1, int(samples), buffer,
                                              kToolSampleCapacity))
                return 0;
        }
        if (!StageValues(trace, samples)) return 0;
    }
    return 1;
}
