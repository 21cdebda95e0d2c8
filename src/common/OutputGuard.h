// Every command that writes a file asks here, before it creates or truncates
// anything, whether the output would overwrite one of its own inputs.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// Returns true (and tells the user once) when `output` is the same file as one of
// `inputs`; the caller then abandons the operation without touching the output.
bool RefuseOutputOverInput(const std::string& output, const std::vector<std::string>& inputs);
bool RefuseOutputOverInput(const std::string& output, std::initializer_list<std::string> inputs);
