#include "viewers/DomainWndFactory.h"

#include "viewers/DomainWnd.h"
#include "viewers/ViewOptions.h"
#include "settings/DomainSetupGroup.h"

#include <memory>

CDomainWnd* OpenDomainWnd(const DomainSetupGroup& setup, int domain, const std::string& windowClass)
{
    auto view = std::make_unique<CDomainWnd>(setup, domain);
    view->m_windowId = StartNewViewer();
    // A view that could not open has no window to own it.
    if (!view->Open(windowClass)) return nullptr;
    return view.release();
}
