// The tool box's tasks: name, code and whether this build carries the task.
#pragma once

#include <string>

// The task code of a task name, compared exactly (case-sensitive); 0 for a name
// that is no task.
int ToolTaskCode(const std::string& name);
// The name of a task code ("" for none).
std::string ToolTaskName(int code);
