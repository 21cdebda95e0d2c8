// The tool box's tasks: one table row per task with its code, its name in the task
// box, the inputs it reads and the function that runs it. A task is added as one file
// that defines its runner and one row of toolbox/ToolTaskTable.h that names it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class CToolsWnd;
struct ToolSettings;

// The values are the codes the settings store: they never change. One per row of the
// task table (toolbox/ToolTaskTable.h).
enum class ToolTask : uint16_t {
    None = 0,
#define TOOL_TASK(task, code, ...) task = code,
#include "toolbox/ToolTaskTable.h"
#undef TOOL_TASK
};

// The inputs a task reads, each with the ones before it; the value is their number.
enum class ToolInputs : uint8_t { None = 0, Primary = 1, PrimarySecondary = 2, PrimarySecondaryDensity = 3 };

// What a task's primary input is, or what it writes: the Utilities Setup offers the
// files of that kind, lists datums only from data sets and derives the output name.
enum class ToolFile : uint8_t { Qtx, Las, Text, Segy };

// The Utilities Setup fields a task uses (each with its label); the dialog enables
// these and no others.
enum ToolField : uint16_t {
    kUsesDepthRange = 1 << 0, // the primary Start and Stop depth
    kUsesFactor = 1 << 1,
    kUsesSplice = 1 << 2,
    kUsesPrimaryList = 1 << 3,
    kUsesSecondaryFile = 1 << 4, // the secondary button and label
    kUsesSecondaryList = 1 << 5,
    kUsesDensityFile = 1 << 6,
    kUsesDensityList = 1 << 7,
};

// Runs a task on an engine whose settings and input paths are filled: 1 when the run
// ended normally or the user stopped it, -1 after a refusal or failure (already shown).
using ToolRunner = int(CToolsWnd& engine);

// A setting the dispatcher gives the engine before the runner: two tasks that share a
// runner differ only in it (the direction of a unit conversion).
struct ToolPreset {
    int32_t ToolSettings::*setting = nullptr;
    int32_t value = 0;
};

struct ToolTaskRow {
    ToolTask task;
    const char* name; // the task box's text, matched exactly
    ToolInputs inputs;
    uint16_t fields;     // ToolField bits
    ToolFile primary;    // the kind of the primary input
    ToolFile output;     // the kind of the output
    ToolRunner* runner;  // never nullptr
    ToolPreset preset{}; // none when its setting is nullptr
    bool inTaskBox = true; // false: a code and a name, but no entry in the task box
};

// Every task, in code order.
std::span<const ToolTaskRow> ToolTaskTable();
// The row of a task; nullptr for None and for codes beyond the table.
const ToolTaskRow* FindToolTask(ToolTask task);
// The task code of a task name, compared exactly (case-sensitive); 0 for a name
// that is no task.
int ToolTaskCode(const std::string& name);

// Hands the engine the paths of the inputs the task reads and its preset, and runs it.
// No input stays open afterwards, and an
// output the run created without writing a frame into it is removed.
int RunToolTask(CToolsWnd& engine, ToolTask task, const std::string& primary, const std::string& secondary = {},
                const std::string& density = {});
