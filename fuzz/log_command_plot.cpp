// Any bytes as a log command file (Display > Log, Load Settings) whose items all read
// one well-formed data set of the datums the test builder's items name (a waveform of 8
// receivers, three curves): what the file loads is plotted, stepped a line, a page and
// to the end, clicked for its read-out, and printed on a small scripted printer.
// The program runs headless: a scripted host answers every prompt, a scripted frame
// records the drawing. The window and the page are kept small so that one input stays fast.
#include "platform/testing/ScriptedFrame.h"
#include "platform/testing/ScriptedHost.h"
#include "plot/PlotWnd.h"
#include "plot/PlotWndFactory.h"
#include "plot/QtxCommand.h"
#include "settings/LogSetupGroup.h"
#include "settings/SettingsStore.h"
#include "support/QtxBuilder.h"

#include "FuzzInput.h"
#include "PlotSteps.h"
#include "StartedFrame.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <unistd.h>

namespace {

const std::string& DataSet()
{
    static const fuzzinput::RemovedAtExit file{[] {
        const std::string path = "/tmp/fuzz_log_command_plot_" + std::to_string(::getpid()) + "_data.qtx";
        WriteQtx(path,
                 {{"WMNO", 7, kCategoryWaveform, 8, 512, kUnitMicroseconds, 10.0f},
                  {"DTCO", 31, kCategoryTrace, 1, 1, kUnitMicrosecondsPerFoot, 1.0f},
                  {"DTSH", 33, kCategoryTrace, 1, 1, kUnitMicrosecondsPerFoot, 1.0f},
                  {"SPCO", 37, kCategoryTrace, 1, 1, kUnitMicrosecondsPerFoot, 1.0f}},
                 21, 1000.0, 0.5, [](int frame, int datum, size_t i) {
                     return datum == 0 ? float(std::sin(double(i % 512) * 0.2)) : 60.0f + float(frame + 10 * datum);
                 });
        return path;
    }()};
    return file.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedFrame& frame = StartedFrame({120, 160});
    const std::string& dataSet = DataSet();
    const std::string path = WriteFuzzInput("log_command_plot", ".cmd", data, size);
    ScriptedHost host; // every unscripted box is answered with Cancel and recorded
    ScopedHost scope(&host);
    LogSetupGroup setup = theApp.m_logSetup;
    LogCommandPage page = PageOf(setup);
    CQtxCommand command;
    if (!command.Read(setup.plotItems, page, path) || setup.plotItems.empty()) return 0;
    SetPage(setup, page);
    setup.depthUnits = setup.english ? "Feet" : "Meters";
    setup.header = "Fuzz";
    for (auto& item : setup.plotItems) item->m_file.path = dataSet;
    ShowAndPrint(frame, setup);
    return 0;
}
