// Any bytes as a LAS file and as a text curve table: Convert LAS To QTX and Import TXT
// Data Set read them, and a data set either import wrote goes back out through Convert
// QTX To LAS with every datum selected. Every box is answered with its default; the
// outputs go to files of this process.
#include "platform/testing/ScriptedHost.h"
#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

int Run(ToolTask task, const std::string& input, const std::string& output)
{
    auto engine = std::make_unique<CToolsWnd>();
    engine->Settings().outputPath = output;
    engine->Settings().outputConfirmed = true; // no replace question: every input is converted
    return RunToolTask(*engine, task, input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("las", ".las", data, size);
    static const std::string qtx = "/tmp/fuzz_las_" + std::to_string(::getpid()) + ".qtx";
    static const std::string las = "/tmp/fuzz_las_" + std::to_string(::getpid()) + "_out.las";
    ScriptedHost host;
    ScopedHost scope(&host);
    ToolInputSelection& primary = theApp.m_utilitiesSetup.primary;
    primary.itemCount = ToolInput::kMaxDatums;
    primary.selected.fill(1);
    for (const ToolTask task : {ToolTask::ConvertLasToQtx, ToolTask::ImportTxtDataSet})
        if (Run(task, path, qtx) == 1) Run(ToolTask::ConvertQtxToLas, qtx, las);
    std::remove(qtx.c_str());
    std::remove(las.c_str());
    return 0;
}
