// Task 22 "Shift By Factor": the factor added to every value of the selected datums.
#include "toolbox/ToolsWnd.h"

#include <algorithm>

int CToolsWnd::ShiftByFactor(const std::string&, const std::string& primary)
{
    m_taskCode = 22;
    if (!CopyPrimarySelection()) return -1;
    m_inputPath = m_primaryPath = primary;
    if (!ReadPrimaryHeader() || !RefuseUnknownDirection()) return -1;
    if (!RefuseTooManyDatums()
        || !WriteOutputHead(m_inputLogDirection, std::min(m_primaryTop, m_primaryBottom),
                            std::max(m_primaryTop, m_primaryBottom))) {
        CloseInputs();
        return -1;
    }
    m_currentDepth = m_primaryTop;
    return RunFrames("Shift : ", m_firstIndex, 1, InputDepthStep(), &CToolsWnd::ShiftFrame);
}

int CToolsWnd::ShiftFrame(double depth)
{
    if (!StageDepth(depth)) return 0;
    for (size_t k = 0; k < m_primaryList.size(); ++k) {
        const CQtxDatum& item = *m_primaryList[k];
        const bool selected = k < size_t(kMaxToolDatums) && m_primaryGroup.selected[k] != 0;
        if (!(selected ? CopyItemOffset(item) : CopyItem(item))) return 0;
    }
    return 1;
}
