#include "plot/PlotWndFactory.h"

#include "plot/PlotWnd.h"
#include "settings/SettingsStore.h"
#include "settings/LogSetupGroup.h"
#include "viewers/ViewOptions.h"

#include <memory>

namespace {

void CopySetup(const LogSetupGroup& setup, CPlotWnd& plot)
{
    for (int t = 1; t <= kPlotTracks; ++t) plot.m_fTrackWidth[size_t(t)] = setup.trackWidth[size_t(t - 1)];
    plot.m_bBackBlue = setup.backBlue != 0;
    plot.m_bBackBeige = setup.backBeige != 0;
    plot.m_bBackGray = setup.backGray != 0;
    plot.m_windowId = StartNewViewer();
    theApp.m_display.depthZoomRequest = 0;
    theApp.m_display.dataAxisZoomRequest = 0;
}

} // namespace

CPlotWnd* OpenPlotWnd(const LogSetupGroup& setup, const std::string& windowClass)
{
    auto plot = std::make_unique<CPlotWnd>();
    CopySetup(setup, *plot);
    if (!plot->ViewLog(windowClass, setup.plotItems, setup.depthScale, setup.depthTrackOn, setup.depthTrackOff,
                       setup.depthUnits)) {
        // A window that was made is closed with its plot; otherwise nothing owns it yet.
        if (plot->IsWindow()) plot.release()->DestroyWindow();
        return nullptr;
    }
    return plot.release();
}

bool PrintPlot(const LogSetupGroup& setup)
{
    CPlotWnd plot;
    CopySetup(setup, plot);
    plot.m_strHeader = setup.header;
    return plot.PrintLog(setup.plotItems, setup.depthScale, setup.depthTrackOn, setup.depthTrackOff,
                         setup.depthUnits);
}
