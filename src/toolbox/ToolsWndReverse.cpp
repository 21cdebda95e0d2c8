// Tasks 14 "Reverse Depth Order" and 28 "Reverse Receiver Order".
#include "toolbox/ToolsWnd.h"

#include "common/Fft.h"
#include "platform/Format.h"
#include "platform/Host.h"

int CToolsWnd::ReverseDepthOrder(const std::string&, const std::string& primary)
{
    m_taskCode = 14;
    m_inputPath = m_primaryPath = primary;
    m_factor = 0.0f;
    if (!ReadPrimaryHeader() || !RefuseUnknownDirection()) return -1;
    if (MessageBox(Format("This data set log direction is : %s.\nWould you like to continue?.",
                          m_logDirectionLabel.c_str()),
                   MB_YESNO)
        != IDYES) {
        CloseInputs();
        return -1;
    }
    const uint8_t direction = m_inputLogDirection == qtx::kLogUp ? qtx::kLogDown : qtx::kLogUp;
    m_outputFrameCount = m_primaryFrameCount;
    if (!WriteOutputHead(direction, m_primaryBottom, m_primaryTop)) {
        CloseInputs();
        return -1;
    }
    // Depths are accumulated from the input's last depth, not read from its frames.
    m_currentDepth = m_primaryBottom;
    return RunFrames("Reverse Depth : ", m_primaryFrameCount - 1, -1, -InputDepthStep(), &CToolsWnd::CopyFrame);
}

int CToolsWnd::ReverseReceiverOrder(const std::string&, const std::string& primary)
{
    m_taskCode = 28;
    if (!CopyPrimarySelection()) return -1;
    m_inputPath = m_primaryPath = primary;
    m_factor = 1.0f;
    if (!ReadPrimaryHeader() || !RefuseUnknownDirection()) return -1;
    if (!RefuseTooManyDatums() || !WriteOutputHead(m_inputLogDirection, m_primaryTop, m_primaryBottom)) {
        CloseInputs();
        return -1;
    }
    m_currentDepth = m_primaryTop;
    return RunFrames("Reverse Receiver : ", m_firstIndex, 1, InputDepthStep(), &CToolsWnd::ReverseReceiverFrame);
}

int CToolsWnd::ReverseReceiverFrame(double depth)
{
    if (!StageDepth(depth)) return 0;
    for (size_t k = 0; k < m_primaryList.size(); ++k) {
        const CQtxDatum& item = *m_primaryList[k];
        const bool selected = k < size_t(kMaxToolDatums) && m_primaryGroup.selected[k] != 0;
        if (!(selected ? ReverseReceivers(item) : CopyItem(item))) return 0;
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
    if (whole && !m_primaryFile.ReadFrameItem(m_singleFrameIndex, offset, int(traces), int(samples),
                                              buffer, kToolSampleCapacity))
        return 0;
    for (size_t t = traces; t-- > 0;) {
        const float* trace = buffer;
        if (whole) {
            trace = buffer + t * samples;
        } else {
            const uint64_t at = uint64_t(item.m_offset) + uint64_t(t) * samples * sizeof(float);
            const int traceOffset = at > uint64_t(INT32_MAX) ? -1 : int(at);
            if (!m_primaryFile.ReadFrameItem(m_singleFrameIndex, traceOffset, 1, int(samples), buffer, kToolSampleCapacity))
                return 0;
        }
        if (!StageValues(trace, samples, ValueOp::Copy)) return 0;
    }
    return 1;
}
