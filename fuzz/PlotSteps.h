// The log plot harnesses' steps over a log setup: the plot opened, stepped a line, a page
// and to the end, clicked for its read-out, and the log printed on a small scripted
// printer (tracks wider than its page are rescaled).
#pragma once

#include "app/ViewerApp.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "plot/PlotWnd.h"
#include "plot/PlotWndFactory.h"
#include "settings/LogSetupGroup.h"

inline void ShowAndPrint(ScriptedFrame& frame, LogSetupGroup& setup)
{
    if (CPlotWnd* plot = OpenPlotWnd(setup, theViewerApp.ClassName(kClassPlot))) {
        frame.VScroll(*plot, SB_LINEDOWN);
        frame.VScroll(*plot, SB_PAGEDOWN);
        frame.Key(*plot, VK_END);
        frame.VScroll(*plot, SB_PAGEUP);
        frame.Mouse(*plot, "ldbl", MK_LBUTTON, {30, 40});
        plot->OnClose();
    }
    // The print under a host of its own.
    ScriptedHost printing;
    ScopedHost scope(&printing);
    printing.printerCaps = DeviceCaps{400, 600, 203, 305, 50, 50};
    printing.ExpectMessage("Would you like to perform automatic rescaling?", IDYES);
    (void)PrintPlot(setup);
}
