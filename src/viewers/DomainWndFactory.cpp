#include "viewers/DomainWndFactory.h"

#include "viewers/DomainWnd.h"
#include "viewers/ViewOptions.h"

#include <memory>

CDomainWnd* OpenDomainWnd(const DomainSetupGroup& setup, int domain, const std::string& windowClass)
{
    auto view = std::make_unique<CDomainWnd>();
    view->m_domain = int16_t(domain);
    view->m_traceCursor = int16_t(setup.traceCursor);
    view->m_depthFrame = setup.depthFrame;
    view->m_path = setup.path;
    view->m_slownessTitle = setup.slownessTitle;
    view->m_timeStart = setup.timeStart;
    view->m_timeStop = setup.timeStop;
    view->m_freqStart = setup.freqStart;
    view->m_freqStop = setup.freqStop;
    view->m_slowMin = setup.slowMin;
    view->m_slowMax = setup.slowMax;
    view->m_azimMin = setup.azimMin;
    view->m_azimMax = setup.azimMax;
    view->m_windowId = StartNewViewer();
    // A view that could not open has no window to own it.
    if (!view->Open(windowClass)) return nullptr;
    return view.release();
}
