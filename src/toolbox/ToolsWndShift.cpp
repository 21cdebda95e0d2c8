// Task 22 "Shift By Factor": the factor added to every value of the selected datums.
#include "toolbox/ToolsWnd.h"

#include <algorithm>

int CToolsWnd::ShiftByFactor(const std::string&, const std::string& primary)
{
    m_taskCode = 22;
    if (!TakeSelection()) return -1;
    m_primary.path = primary;
    if (!OpenSingleInput() || !RefuseTooManyDatums()
        || !WriteOutputHead(m_primary.logDirection, std::min(m_primary.top, m_primary.bottom),
                            std::max(m_primary.top, m_primary.bottom)))
        return -1;
    return RunFrames("Shift : ", m_firstIndex, 1, m_primary.top, InputDepthStep(),
                     [this](double depth) { return ShiftFrame(depth); });
}

int CToolsWnd::ShiftFrame(double depth)
{
    if (!StageDepth(depth)) return 0;
    for (size_t k = 0; k < m_primary.list.size(); ++k)
        if (!CopyItem(*m_primary.list[k], m_primary.IsSelected(k) ? ValueOp::Offset : ValueOp::Copy)) return 0;
    return 1;
}
