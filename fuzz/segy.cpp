// Any bytes as a SEG-Y file for Convert SEGY To QTX: every box is answered with its
// default; the data set goes to a file of this process.
#include "platform/testing/ScriptedHost.h"
#include "toolbox/ToolTasks.h"
#include "toolbox/ToolsWnd.h"

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("segy", ".segy", data, size);
    static const std::string output = "/tmp/fuzz_segy_" + std::to_string(::getpid()) + ".qtx";
    ScriptedHost host;
    ScopedHost scope(&host);
    auto engine = std::make_unique<CToolsWnd>();
    engine->Settings().outputPath = output;
    engine->Settings().outputConfirmed = true; // no replace question: every input is converted
    RunToolTask(*engine, ToolTask::ConvertSegyToQtx, path);
    std::remove(output.c_str());
    return 0;
}
