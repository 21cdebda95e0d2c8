// Any bytes as a QTX data set through every tool-box task that reads data sets (the
// input is the primary and, for the tasks of two or three inputs, also the secondary
// and the density data set), then through Process > Qtx to Lis, packed or per receiver. History bytes 1 to 8, which the reader leaves alone, pick
// the datums chosen (bit k: datum k; none set: every datum) and byte 9 the factor among
// values the Utilities Setup accepts. Every box is answered with its default, except
// the questions that let a run go on; the outputs go to files of this process.
#include "dataset/QtxLayout.h"
#include "lis/QtxToLis.h"
#include "platform/testing/ScriptedHost.h"
#include "res/ResourceIds.h"
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

void Choose(ToolInputSelection& s, const uint8_t* data, size_t size)
{
    s.itemCount = ToolInput::kMaxDatums;
    s.selected.fill(0);
    bool any = false;
    for (size_t k = 0; k < 64 && qtx::kHdrHistory + 1 + k / 8 < size; ++k)
        if (data[qtx::kHdrHistory + 1 + k / 8] >> (k % 8) & 1) any = s.selected[k] = 1;
    if (!any) s.selected.fill(1);
}

float Factor(const uint8_t* data, size_t size)
{
    constexpr float kFactors[] = {2.0f, 0.5f, -1.0f, 0.001f, 1000.0f, 1.0f, 0.25f, 10.0f};
    return size > qtx::kHdrHistory + 9 ? kFactors[data[qtx::kHdrHistory + 9] % 8] : 2.0f;
}

void Run(const ToolTaskRow& row, const std::string& input, const std::string& output, float factor)
{
    ScriptedHost host; // a host per task: an answer one task leaves unused cannot reach the next
    ScopedHost scope(&host);
    host.ExpectMessage("Would you like to continue?", IDYES);
    auto engine = std::make_unique<CToolsWnd>();
    ToolSettings& s = engine->Settings();
    s.outputPath = output;
    s.outputConfirmed = true;
    s.factor = factor;
    s.factorDouble = factor;
    s.startDepth = 0.0;
    s.stopDepth = 100000.0;
    s.spliceDepth = 1001.0;
    s.startSample = 0;
    s.stopSample = 0;
    (void)RunToolTask(*engine, row.task, input, input, input);
}

void ExportToLis(const std::string& input, const std::string& output, bool perReceiver)
{
    ScriptedHost host;
    ScopedHost scope(&host);
    host.ScriptDialog(kIddWaveformPack).Radio(perReceiver ? 1137 : 1136).Press(IDOK);
    CQtxToLis exporter;
    (void)exporter.Convert(input, output);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzInput("toolbox", ".qtx", data, size);
    static const std::string output = "/tmp/fuzz_toolbox_" + std::to_string(::getpid()) + "_out";
    UtilitiesSetupGroup& setup = theApp.m_utilitiesSetup;
    Choose(setup.primary, data, size);
    Choose(setup.secondary, data, size);
    Choose(setup.density, data, size);
    for (const ToolTaskRow& row : ToolTaskTable()) {
        if (row.inputs == ToolInputs::None || row.primary != ToolFile::Qtx) continue;
        Run(row, path, output, Factor(data, size));
        std::remove(output.c_str());
    }
    ExportToLis(path, output, size > qtx::kHdrHistory + 10 && data[qtx::kHdrHistory + 10] & 1);
    std::remove(output.c_str());
    return 0;
}
