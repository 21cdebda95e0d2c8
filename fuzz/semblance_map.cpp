// Any bytes as a QTX data set in the semblance map view: the view loads the first
// map of the "Semb Map" tab and renders it, goes to the last frame and back, pans and
// zooms its slowness window both ways (each renders again), reads values under the
// mouse and paints. The first history byte, which the reader leaves alone, picks the
// presentation: bit 0 Signature, bit 1 the black and white palette; the next two the
// time and slowness windows asked of the view (0: the whole map).
// The program runs headless: a scripted host answers every prompt, a scripted frame
// records the drawing. The view is kept small so that one input stays fast.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "viewers/SemblanceMapWnd.h"
#include "viewers/SemblanceMapWndFactory.h"

#include "FuzzInput.h"
#include "StartedFrame.h"
#include "settings/SemblanceMapSetupGroup.h"

#include <cstdint>
#include <string>

namespace {

void ShowMap(ScriptedFrame& frame, ScriptedHost& host, int look, int time, int slowness, const std::string& path)
{
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    SemblanceMapSetupGroup setup = theApp.m_semblanceMapSetup;
    setup.path = path;
    setup.type = look & 1 ? WaveStyle::kSignature : WaveStyle::kVdl;
    setup.palette = look & 2 ? kPaletteBlackWhite : kPaletteColor;
    setup.topDepth = -10;
    setup.timeStart = float(time * 10), setup.timeStop = time ? float(time * 100) : 30000.0f;
    setup.slowMin = float(slowness), setup.slowMax = slowness ? float(slowness * 4) : 2000.0f;
    CSemblanceMapWnd* view = OpenSemblanceMapWnd(setup, theViewerApp.ClassName(kClassSemblanceMap));
    if (!view) return;
    frame.Key(*view, VK_END);
    frame.Key(*view, VK_PRIOR);
    frame.Key(*view, VK_DOWN);
    frame.HScroll(*view, SB_PAGERIGHT);
    frame.HScroll(*view, SB_THUMBTRACK, 7);
    frame.HScroll(*view, SB_THUMBPOSITION, 1 << 20);
    for (int command : {ID_DATA_ZOOM_IN, ID_DATA_ZOOM_OUT, ID_DATA_ZOOM_OUT, ID_DEPTH_ZOOM_IN}) frame.Command(command);
    for (int y = 20; y < 120; y += 25)
        for (int x = 30; x < 160; x += 40) frame.Mouse(*view, "move", 0, {x, y});
    frame.WindowOf(*view)->Paint();
    view->OnClose();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedFrame& frame = StartedFrame({160, 120});
    const std::string path = WriteFuzzInput("semblance_map", ".qtx", data, size);
    ScriptedHost host; // every unscripted box is answered with Cancel and recorded
    ScopedHost scope(&host);
    auto history = [&](size_t i) { return size > qtx::kHdrHistory + i ? int(data[qtx::kHdrHistory + i]) : 0; };
    ShowMap(frame, host, history(0), history(1), history(2), path);
    return 0;
}
