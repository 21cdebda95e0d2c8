#include "plot/PlotWndFactory.h"

#include "plot/PlotWnd.h"
#include "settings/SettingsStore.h"
#include "settings/LogSetupGroup.h"
#include "viewers/ViewOptions.h"

#include <memory>

namespace {

// The new plot is the newest viewer and starts at the setup's own depth scale.
void StartPlot(CPlotWnd& plot)
{
    plot.m_windowId = StartNewViewer();
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
}

} // namespace

CPlotWnd* OpenPlotWnd(const LogSetupGroup& setup, const std::string& windowClass)
{
    auto plot = std::make_unique<CPlotWnd>(setup);
    StartPlot(*plot);
    if (!plot->ViewLog(windowClass)) {
        // A window that was made is closed with its plot; otherwise nothing owns it yet.
        if (plot->IsWindow()) plot.release()->DestroyWindow();
        return nullptr;
    }
    return plot.release();
}

bool PrintPlot(const LogSetupGroup& setup)
{
    CPlotWnd plot(setup);
    StartPlot(plot);
    return plot.PrintLog();
}
