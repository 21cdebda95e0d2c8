// Any bytes as a QTX data set in the frequency-slowness cross-plot: the two datums the
// first two history bytes name (each byte % 8; the reader leaves the history alone)
// are the pair. The view loads and renders them, shows a second receiver, goes to the
// last frame and back a page, reads the ranges under the mouse and paints. The third
// byte narrows the ranges (0: the widest the setup allows).
// The program runs headless: a scripted host answers every prompt, a scripted frame
// records the drawing. The view is kept small so that one input stays fast.
#include "app/ViewerApp.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/CommandIds.h"
#include "viewers/FreqSlowXplotWnd.h"
#include "viewers/FreqSlowXplotWndFactory.h"

#include "FuzzInput.h"
#include "StartedFrame.h"
#include "settings/XPlotSetupGroup.h"

#include <cstdint>
#include <string>

namespace {

void ShowPlot(ScriptedFrame& frame, int first, int second, int narrow, const std::string& path)
{
    XPlotSetupGroup setup = theApp.m_xplotSetup;
    setup.path = path;
    setup.topDepth = -10;
    setup.bottomDepth = 50000;
    setup.freqMin = 0, setup.freqMax = narrow ? float(narrow * 40) : 30000.0f;
    setup.slowMin = 0, setup.slowMax = narrow ? float(narrow * 3) : 2000.0f;
    setup.datums = {};
    setup.datums.datumCount = 8;
    setup.datums.selected[size_t(first)] = setup.datums.selected[size_t(second)] = 1;
    CFreqSlowXplotWnd* view = OpenFreqSlowXplotWnd(setup, theViewerApp.ClassName(kClassXPlot));
    if (!view) return;
    frame.Command(ReceiverCommand(2));
    frame.Key(*view, VK_END);
    frame.Key(*view, VK_PRIOR);
    frame.VScroll(*view, SB_THUMBPOSITION, 3);
    for (int y = 20; y < 120; y += 25)
        for (int x = 30; x < 160; x += 40) frame.Mouse(*view, "move", 0, {x, y});
    frame.WindowOf(*view)->Paint();
    view->OnClose();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedFrame& frame = StartedFrame({160, 120});
    const std::string path = WriteFuzzInput("xplot", ".qtx", data, size);
    ScriptedHost host; // every unscripted box is answered with Cancel and recorded
    ScopedHost scope(&host);
    auto history = [&](size_t i) { return size > qtx::kHdrHistory + i ? int(data[qtx::kHdrHistory + i]) : 0; };
    ShowPlot(frame, history(0) % 8, history(1) % 8, history(2), path);
    return 0;
}
