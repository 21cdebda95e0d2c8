// Any bytes as a QTX data set in the processing windows: the depth profile in one of its
// four domains, the time-frequency profile or the Kalman window, as the first history
// byte picks (byte % 6), which the reader leaves alone. The window opens on the first
// datum of its tab, steps a line, a page and to the end, runs its search or filter on a
// double click, is edited by hand (a stroke in edit mode), takes a selection by two
// control clicks, reads values under the mouse and is closed with its save.
// The program runs headless: a scripted host answers every prompt, a scripted frame
// records the drawing. The window is kept small so that one input stays fast.
#include "common/QtxFileDlg.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "processing/KalmanWnd.h"
#include "processing/ProfileWnd.h"
#include "processing/ProfileWndFactory.h"
#include "processing/TimeFrequencyWnd.h"
#include "res/QtxFileDlgIds.h"
#include "res/SlownessProfileSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include "FuzzInput.h"
#include "StartedFrame.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// The windows' click flags (shift: into and out of edit mode, control: a selection).
constexpr unsigned kShiftClick = MK_LBUTTON | MK_SHIFT;
constexpr unsigned kControlClick = MK_LBUTTON | MK_CONTROL;

CProcessingWnd* OpenWindow(int kind, const std::string& path, const std::string& output)
{
    const std::string windowClass = theViewerApp.ClassName(kClassSpare9);
    if (kind == 5) {
        KalmanSetupGroup kalman;
        kalman.inputPath = path;
        kalman.outputPath = output;
        kalman.topDepth = 0;
        kalman.bottomDepth = 100000;
        kalman.timeStart = 0;
        kalman.timeStop = 640;
        return OpenKalmanWnd(kalman, windowClass);
    }
    DepthProfileSetupGroup setup;
    setup.SetDefaults();
    setup.inputPath = path;
    setup.inputTitle = "fuzz";
    setup.outputPath = output;
    setup.topDepth = 0;
    setup.bottomDepth = 100000;
    if (kind == 4) {
        setup.domain = ViewDomain::kTimeFrequency;
        setup.timeStop = 2000;
        setup.freqStop = 20000;
        return OpenTimeFrequencyWnd(setup, windowClass);
    }
    setup.domain = ViewDomain(1 + kind);
    return OpenProfileWnd(setup, windowClass);
}

void Drive(ScriptedFrame& frame, CProcessingWnd& view)
{
    frame.VScroll(view, SB_LINEDOWN);
    frame.VScroll(view, SB_PAGEDOWN);
    frame.Key(view, VK_END);
    frame.VScroll(view, SB_PAGEUP);
    const Rect plot = view.Page().plotRect;
    for (int x = plot.left; x < plot.right; x += 9) frame.Mouse(view, "move", 0, {x, (plot.top + plot.bottom) / 2});
    // The search and the filter ask first; their setup takes its defaults. A host of
    // their own drops the answers a window that asks nothing leaves.
    for (const Point p : {Point{plot.left + plot.Width() / 3, plot.top + 2},
                          Point{plot.left + 2 * plot.Width() / 3, (plot.top + plot.bottom) / 2}}) {
        ScriptedHost host;
        ScopedHost scope(&host);
        host.ExpectMessage("Do you want to execute", IDYES);
        host.ScriptDialog(kIddSlownessProfileSetup).Press(IDOK);
        frame.Mouse(view, "ldbl", MK_LBUTTON, p);
    }
    // Edits by hand: into edit mode, a stroke down the page, out keeping them; then a
    // selection of two control clicks and the right button's way into and out of edit mode.
    const int x = plot.left + plot.Width() / 2, top = plot.top + 3, bottom = plot.bottom - 3;
    frame.Mouse(view, "ldown", kShiftClick, {x, top});
    for (int y = top; y < bottom; y += std::max(1, (bottom - top) / 5)) frame.Mouse(view, "ldown", MK_LBUTTON, {x, y});
    frame.Mouse(view, "ldown", kShiftClick, {x, bottom});
    frame.Mouse(view, "ldown", kControlClick, {plot.left + 2, top});
    frame.Mouse(view, "ldown", kControlClick, {plot.right - 2, bottom});
    frame.Mouse(view, "rdown", MK_RBUTTON, {x, top});
    frame.Mouse(view, "ldown", MK_LBUTTON, {x + 5, top + 4});
    frame.Mouse(view, "rdown", MK_RBUTTON, {x, bottom});
    ScriptedHost host;
    ScopedHost scope(&host);
    host.ExpectMessage("Do you want to save output file", IDYES);
    view.OnClose();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedFrame& frame = StartedFrame({160, 120});
    const std::string path = WriteFuzzInput("processing", ".qtx", data, size);
    static const std::string output = "/tmp/fuzz_processing_" + std::to_string(::getpid()) + "_out.qtx";
    ScriptedHost host; // every unscripted box is answered with Cancel and recorded
    ScopedHost scope(&host);
    const int kind = size > qtx::kHdrHistory ? data[qtx::kHdrHistory] % 6 : 0;
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    if (CProcessingWnd* view = OpenWindow(kind, path, output)) Drive(frame, *view);
    std::remove(output.c_str());
    return 0;
}
