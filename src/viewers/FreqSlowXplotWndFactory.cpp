#include "viewers/FreqSlowXplotWndFactory.h"

#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/ViewOptions.h"

#include <memory>

CFreqSlowXplotWnd* OpenFreqSlowXplotWnd(const XPlotSetupGroup& setup, const std::string& windowClass)
{
    auto view = std::make_unique<CFreqSlowXplotWnd>();
    view->m_path = setup.path;
    view->m_fileTitle = setup.title;
    view->m_fileExt = setup.ext;
    view->m_startDepth = setup.topDepth;
    view->m_stopDepth = setup.bottomDepth;
    view->m_freqMin = setup.freqMin;
    view->m_freqMax = setup.freqMax;
    view->m_slowMin = setup.slowMin;
    view->m_slowMax = setup.slowMax;
    view->m_flags = setup.datums;
    // The zoom level and factors belong to the views opened before; only the requests go.
    view->m_windowId = StartNewViewer(false);
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
    // A view that could not open has no window to own it.
    if (!view->Open(windowClass)) return nullptr;
    return view.release();
}
