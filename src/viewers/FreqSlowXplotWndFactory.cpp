#include "viewers/FreqSlowXplotWndFactory.h"

#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/ViewOptions.h"
#include "settings/XPlotSetupGroup.h"

#include <memory>

CFreqSlowXplotWnd* OpenFreqSlowXplotWnd(const XPlotSetupGroup& setup, const std::string& windowClass)
{
    auto view = std::make_unique<CFreqSlowXplotWnd>(setup);
    // The zoom level and factors belong to the views opened before; only the requests go.
    view->m_windowId = StartNewViewer(false);
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
    // A view that could not open has no window to own it.
    if (!view->Open(windowClass)) return nullptr;
    return view.release();
}
