// The tool box's tasks: one table row per task with its code, its name in the task
// box, the inputs it reads and the function that runs it. A task is added as one file
// that defines its runner and one row that names it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class CToolsWnd;

// The values are the codes the settings store: they never change.
enum class ToolTask : uint16_t {
    None = 0,
    ExtractDepthRange = 1,
    ExtractItems = 2,
    ShiftInDepth = 3,
    ComputeAmplitude = 4,
    MultiplyByFactor = 5,
    ConvertDepthToMetric = 6,
    ConvertDepthToImperial = 7,
    SpliceAtDepth = 8,
    ComputeVpVsPoissonRatio = 9,
    ConvertQtxToLas = 10,
    ConvertLasToQtx = 11,
    ConvertSlownessToMetric = 12,
    ConvertSlownessToImperial = 13,
    ReverseDepthOrder = 14,
    ImportTxtDataSet = 15,
    AddWaveforms = 16,
    SubtractWaveforms = 17,
    ComputeFrequencyLog = 18,
    ConvertQtxToSegy = 19,
    ConvertSegyToQtx = 20,
    ResampleDepth = 21,
    ShiftByFactor = 22,
    OverwriteDepthStep = 23,
    ConstructLssArray = 24,
    ComputeAverageValue = 25,
    ComputeRmsAverageLog = 26,
    ConstructMinMaxLog = 27,
    ReverseReceiverOrder = 28,
    ConstructQtxDataSet = 29,
    ComputeWaveEnergy = 30,
    ComputeMechanicalProperties = 31,
};

// The inputs a task reads, each with the ones before it; the value is their number.
enum class ToolInputs : uint8_t { None = 0, Primary = 1, PrimarySecondary = 2, PrimarySecondaryDensity = 3 };

// Runs a task on an engine whose settings and input paths are filled: 1 when the run
// ended normally or the user stopped it, -1 after a refusal or failure (already shown).
using ToolRunner = int(CToolsWnd& engine);

struct ToolTaskRow {
    ToolTask task;
    const char* name; // the task box's text, matched exactly
    ToolInputs inputs;
    ToolRunner* runner; // nullptr: not in this build yet
};

// Every task, in code order.
std::span<const ToolTaskRow> ToolTaskTable();
// The row of a task; nullptr for None and for codes beyond the table.
const ToolTaskRow* FindToolTask(ToolTask task);
// The task code of a task name, compared exactly (case-sensitive); 0 for a name
// that is no task.
int ToolTaskCode(const std::string& name);

// Hands the engine the paths of the inputs the task reads and runs it; a task this
// build lacks is only announced. No input stays open afterwards.
int RunToolTask(CToolsWnd& engine, ToolTask task, const std::string& primary, const std::string& secondary = {},
                const std::string& density = {});
