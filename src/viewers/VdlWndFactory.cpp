#include "viewers/VdlWndFactory.h"

#include "viewers/VdlWnd.h"
#include "viewers/ViewOptions.h"

#include <memory>

CVdlWnd* OpenVdlWnd(const VdlSetupGroup& setup, const std::string& windowClass)
{
    auto view = std::make_unique<CVdlWnd>();
    view->m_path = setup.path;
    view->m_fileName = setup.fileName;
    view->m_fileTitle = setup.title;
    view->m_domainText = setup.domain;
    view->m_type = setup.type;
    view->m_signatureColour = setup.colour;
    // A palette text no view knows paints in Color.
    const Palette palette = PaletteOfName(setup.palette);
    view->m_palette = palette == kPaletteNone ? kPaletteColor : palette;
    view->m_slownessTitle = setup.slownessTitle;
    view->m_displayTop = setup.topDepth;
    view->m_displayBottom = setup.bottomDepth;
    view->m_depthScale = setup.depthScale;
    view->m_timeStart = setup.timeStart;
    view->m_timeStop = setup.timeStop;
    view->m_freqStart = setup.freqStart;
    view->m_freqStop = setup.freqStop;
    view->m_slowMin = setup.slowMin;
    view->m_slowMax = setup.slowMax;
    view->m_azimMin = setup.azimMin;
    view->m_azimMax = setup.azimMax;
    view->m_normalize = setup.normalize ? 1 : 0;
    view->m_windowId = StartNewViewer();
    // A new view starts without a pending depth or data-axis zoom.
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
    // A view that could not open has no window to own it.
    if (!view->Open(windowClass)) return nullptr;
    return view.release();
}
