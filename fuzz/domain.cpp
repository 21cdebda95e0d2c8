// Any bytes as a QTX data set in the domain view: the view loads the first datum of
// its domain's tab, paints, goes to the last frame, shifts its window (each paints),
// reads values under the mouse and draws a move-out line. The domain comes from the
// first history byte, which the reader leaves alone: 1 + byte % 4 (a blank: time,
// 'A' frequency, 'B' slowness, 'C' azimuth).
// The program runs headless: a scripted host answers every prompt, a scripted
// frame records the drawing. The view is kept small so that one input stays fast.
#include "app/ViewerApp.h"
#include "common/QtxFileDlg.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "res/CommandIds.h"
#include "res/QtxFileDlgIds.h"
#include "viewers/DomainWnd.h"
#include "viewers/DomainWndFactory.h"

#include "FuzzInput.h"
#include "StartedFrame.h"
#include "settings/DomainSetupGroup.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

void ShowDomain(ScriptedFrame& frame, ScriptedHost& host, int domain, const std::string& path)
{
    host.ScriptDialog(kIddQtxFile).Select(CQtxFileDlg::kIdcFound, 0).Press(CQtxFileDlg::kIdcAdd).Press(IDOK);
    DomainSetupGroup setup = theApp.m_domainSetup;
    setup.path = path;
    setup.depthFrame = 1000.0;
    setup.traceCursor = 1;
    CDomainWnd* view = OpenDomainWnd(setup, domain, theViewerApp.ClassName(kClassDomain));
    if (!view) return;
    // Opening painted the first frame; each move paints again.
    frame.Key(*view, VK_END);
    frame.HScroll(*view, SB_PAGERIGHT);
    for (int x = 30; x < 120; x += 15) frame.Mouse(*view, "move", 0, {x, 40});
    frame.Mouse(*view, "ldown", MK_LBUTTON, {50, 30});
    frame.Mouse(*view, "ldown", MK_LBUTTON, {90, 80});
    view->OnClose();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedFrame& frame = StartedFrame({140, 110});
    const std::string path = WriteFuzzInput("domain", ".qtx", data, size);
    ScriptedHost host; // every unscripted box is answered with Cancel and recorded
    ScopedHost scope(&host);
    const int domain = size > qtx::kHdrHistory ? 1 + data[qtx::kHdrHistory] % 4 : kDomainTime;
    ShowDomain(frame, host, domain, path);
    return 0;
}
