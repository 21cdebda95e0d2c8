// Any bytes as a QTX data set in the VDL view: the view loads the first datum of its
// domain's tab and renders its page, goes to the last page and back a page, shifts
// its axis, zooms depth and axis both ways (each renders again), reads values under
// the mouse and paints. Two history bytes, which the reader leaves alone, pick the
// view: the first the domain (1 + byte % 4: a blank time, 'A' frequency, 'B'
// slowness, 'C' azimuth), the second the presentation and palette (bit 0 Signature,
// bits 1-2 the palette).
// The program runs headless: a scripted host answers every prompt, a scripted frame
// records the drawing. The view is kept small so that one input stays fast.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "viewers/VdlWnd.h"
#include "viewers/VdlWndFactory.h"

#include "FuzzInput.h"
#include "StartedFrame.h"
#include "settings/VdlSetupGroup.h"

#include <cstdint>
#include <string>

namespace {

void ShowVdl(ScriptedFrame& frame, ScriptedHost& host, int domain, int look, const std::string& path)
{
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    VdlSetupGroup setup = theApp.m_vdlSetup;
    setup.path = path;
    setup.domain = ViewDomainOfCode(domain);
    setup.type = look & 1 ? WaveStyle::kSignature : WaveStyle::kVdl;
    setup.palette = Palette(kPaletteColor + ((look >> 1) & 3));
    setup.topDepth = -100;
    setup.bottomDepth = 50000;
    setup.depthScale = 100;
    CVdlWnd* view = OpenVdlWnd(setup, theViewerApp.ClassName(kClassVdl));
    if (!view) return;
    frame.Command(ReceiverCommand(2));
    frame.Key(*view, VK_END);
    frame.Key(*view, VK_PRIOR);
    frame.HScroll(*view, SB_PAGERIGHT);
    for (int command : {ID_DEPTH_ZOOM_OUT, ID_DATA_ZOOM_IN, ID_DATA_ZOOM_OUT, ID_ZOOM_IN}) frame.Command(command);
    for (int y = 20; y < 120; y += 25)
        for (int x = 30; x < 160; x += 40) frame.Mouse(*view, "move", 0, {x, y});
    frame.WindowOf(*view)->Paint();
    view->OnClose();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedFrame& frame = StartedFrame({160, 120});
    const std::string path = WriteFuzzInput("vdl", ".qtx", data, size);
    ScriptedHost host; // every unscripted box is answered with Cancel and recorded
    ScopedHost scope(&host);
    const int domain = size > qtx::kHdrHistory ? 1 + data[qtx::kHdrHistory] % 4 : kDomainTime;
    const int look = size > qtx::kHdrHistory + 1 ? data[qtx::kHdrHistory + 1] : 0;
    ShowVdl(frame, host, domain, look, path);
    return 0;
}
