#include "toolbox/ToolTasks.h"

#include "toolbox/ToolsWnd.h"

// Runners, each in its own file (Task<Name>.cpp); two tasks may share one. A row names
// a function, so no row lacks one.
#define TOOL_TASK(task, code, name, inputs, fields, primary, output, runner, ...) ToolRunner runner;
#include "toolbox/ToolTaskTable.h"
#undef TOOL_TASK

// "Compute Average Value" is a task by name only: a run of it ends without work.
int EndWithoutWork(CToolsWnd&) { return 1; }

namespace {

using T = ToolTask;
using I = ToolInputs;
constexpr ToolFile Q = ToolFile::Qtx, Las = ToolFile::Las, Txt = ToolFile::Text, Sgy = ToolFile::Segy;
constexpr uint16_t kNone = 0, kDepths = kUsesDepthRange, kFactor = kUsesFactor, kList = kUsesPrimaryList,
                   kFactorList = kUsesFactor | kUsesPrimaryList,
                   kSecondary = kUsesSecondaryFile | kUsesSecondaryList,
                   kDensity = kUsesDensityFile | kUsesDensityList;
constexpr ToolPreset kNoPreset{};
constexpr ToolPreset kToMetricDepth{&ToolSettings::depthToMetric, 1}, kToImperialDepth{&ToolSettings::depthToMetric, 0},
    kToMetricSlowness{&ToolSettings::slownessToMetric, 1}, kToImperialSlowness{&ToolSettings::slownessToMetric, 0};
constexpr ToolPreset kAdd{&ToolSettings::waveformSign, 1}, kSubtract{&ToolSettings::waveformSign, -1};
constexpr bool kInBox = true, kNotInBox = false;

constexpr ToolTaskRow kTasks[] = {
#define TOOL_TASK(task, code, name, inputs, fields, primary, output, runner, preset, inBox) \
    {T::task, name, I::inputs, fields, primary, output, runner, preset, inBox},
#include "toolbox/ToolTaskTable.h"
#undef TOOL_TASK
};

// A row's place is its code less one: look-ups index, and a row out of place breaks the build.
constexpr bool RowsInCodeOrder()
{
    for (size_t i = 0; i < std::size(kTasks); ++i)
        if (size_t(kTasks[i].task) != i + 1) return false;
    return true;
}
static_assert(RowsInCodeOrder());

} // namespace

std::span<const ToolTaskRow> ToolTaskTable() { return kTasks; }

const ToolTaskRow* FindToolTask(ToolTask task)
{
    const size_t code = size_t(task);
    return code >= 1 && code <= std::size(kTasks) ? &kTasks[code - 1] : nullptr;
}

int ToolTaskCode(const std::string& name)
{
    for (const ToolTaskRow& row : kTasks)
        if (name == row.name) return int(row.task);
    return 0;
}

int RunToolTask(CToolsWnd& engine, ToolTask task, const std::string& primary, const std::string& secondary,
                const std::string& density)
{
    const ToolTaskRow* row = FindToolTask(task);
    if (!row) return -1;
    const int inputs = int(row->inputs);
    engine.Settings().inputCount = inputs;
    if (inputs >= 1) engine.Task().primary.path = primary;
    if (inputs >= 2) engine.Task().secondary.path = secondary;
    if (inputs >= 3) engine.Task().density.path = density;
    if (row->preset.setting) engine.Settings().*(row->preset.setting) = row->preset.value;
    const int result = row->runner(engine);
    engine.Inputs().CloseInputs(); // whichever way the task ended
    return engine.Output().SettleOutput(result);
}
