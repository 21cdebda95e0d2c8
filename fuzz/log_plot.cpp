// Any bytes as a QTX data set in the log plot: the Log Item Setup dialog takes the first
// datum of each of the curve, time, frequency, slowness and azimuth tabs, one track each,
// as a user picks them; the plot opens, steps a line, a page and to the end, is clicked
// for its depth read-out, and the log is printed on a small scripted printer.
// The program runs headless: a scripted host answers every prompt, a scripted frame
// records the drawing. The window and the page are kept small so that one input stays fast.
#include "common/QtxFileDlg.h"
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "plot/LogItemSetupDlg.h"
#include "plot/PlotWnd.h"
#include "plot/PlotWndFactory.h"
#include "res/LogItemSetupDlgIds.h"
#include "res/QtxFileDlgIds.h"
#include "settings/LogSetupGroup.h"
#include "settings/SettingsStore.h"

#include "FuzzInput.h"
#include "PlotSteps.h"
#include "StartedFrame.h"

#include <cstdint>
#include <memory>
#include <string>

namespace {

// The item the dialog makes of the first datum of `tab` (tabs counted from 0), or null
// when the dialog refused it.
std::shared_ptr<CLogPlotItem> PickItem(ScriptedHost& host, const std::string& path, int tab, int track)
{
    using F = CQtxFileDlg;
    host.ExpectFileDialog("Browse Input QTX File", path);
    host.ScriptDialog(kIddQtxFile).Select(F::kIdcTab, tab).Select(F::kIdcFound, 0).Press(F::kIdcAdd).Press(IDOK);
    host.ScriptDialog(kIddLogItemSetup).Press(log_item_setup::kIdcSelectInputFile).Press(IDOK);
    CLogItemSetupDlg dialog;
    dialog.m_item = CLogPlotItem::NewItemDefaults();
    if (dialog.DoModal() != IDOK || dialog.m_item.m_file.path.empty()) return nullptr;
    auto item = std::make_shared<CLogPlotItem>(dialog.m_item);
    item->m_scale.track = int16_t(track);
    return item;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedFrame& frame = StartedFrame({120, 160});
    const std::string path = WriteFuzzInput("log_plot", ".qtx", data, size);
    ScriptedHost host; // every unscripted box is answered with Cancel and recorded
    ScopedHost scope(&host);
    LogSetupGroup setup = theApp.m_logSetup;
    setup.plotItems.clear();
    setup.depthUnits = "Feet";
    setup.header = "Fuzz";
    setup.trackWidth.fill(0.0f);
    for (size_t t = 0; t < 5; ++t) setup.trackWidth[t] = 1.4f; // the five tracks fit the page
    int track = 1;
    for (const int tab : {int(CQtxFileDlg::kTabTraces), int(CQtxFileDlg::kTabTime), int(CQtxFileDlg::kTabFrequency),
                          int(CQtxFileDlg::kTabSlowness), int(CQtxFileDlg::kTabAzimuth)})
        if (auto item = PickItem(host, path, tab - 1, track)) {
            setup.plotItems.push_back(std::move(item));
            ++track;
        }
    if (!setup.plotItems.empty()) ShowAndPrint(frame, setup);
    return 0;
}
