#include "viewers/VdlWndFactory.h"

#include "viewers/VdlWnd.h"
#include "viewers/ViewOptions.h"
#include "settings/VdlSetupGroup.h"

#include <memory>

CVdlWnd* OpenVdlWnd(const VdlSetupGroup& setup, const std::string& windowClass)
{
    auto view = std::make_unique<CVdlWnd>(setup);
    view->m_windowId = StartNewViewer();
    // A new view starts without a pending depth or data-axis zoom.
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
    // A view that could not open has no window to own it.
    if (!view->Open(windowClass)) return nullptr;
    return view.release();
}
