#include "viewers/SemblanceMapWndFactory.h"

#include "viewers/SemblanceMapWnd.h"
#include "viewers/ViewOptions.h"

#include <memory>

CSemblanceMapWnd* OpenSemblanceMapWnd(const SemblanceMapSetupGroup& setup, const std::string& windowClass)
{
    auto view = std::make_unique<CSemblanceMapWnd>();
    view->m_path = setup.path;
    view->m_fileTitle = setup.title;
    view->m_fileExt = setup.ext;
    view->m_type = setup.type;
    // The map paints in Black&White or, for any other text, in Color.
    view->m_palette = PaletteOfName(setup.palette) == kPaletteBlackWhite ? kPaletteBlackWhite : kPaletteColor;
    view->m_slownessTitle = setup.slownessTitle;
    view->m_topDepth = setup.topDepth;
    view->m_bottomDepth = setup.bottomDepth;
    view->m_timeStart = setup.timeStart;
    view->m_timeStop = setup.timeStop;
    view->m_slowMin = setup.slowMin;
    view->m_slowMax = setup.slowMax;
    view->m_normalize = setup.normalize ? 1 : 0;
    // The zoom level and factors belong to the views opened before; only the requests go.
    view->m_windowId = StartNewViewer(false);
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
    // A view that could not open has no window to own it.
    if (!view->Open(windowClass)) return nullptr;
    return view.release();
}
