// Every command that writes a file asks here, before it creates or truncates
// anything, whether the output would overwrite one of its own inputs, and whether
// an existing file may be replaced.
#pragma once

#include <initializer_list>

#include "platform/BinaryFile.h"

#include <string>
#include <vector>

// Returns true (and tells the user once) when `output` is the same file as one of
// `inputs`; the caller then abandons the operation without touching the output.
bool RefuseOutputOverInput(const std::string& output, const std::vector<std::string>& inputs);
bool RefuseOutputOverInput(const std::string& output, std::initializer_list<std::string> inputs);

// Returns true when `output` is an existing file and the user, asked, does not want
// it replaced; the caller then abandons the operation without touching it. Every
// writer whose output name was derived or typed asks here; a name from a save dialog
// that itself asked before replacing needs no second question.
bool RefuseToReplaceExisting(const std::string& output);

// Opens a command's input for reading, before any of its outputs is created: an input
// that cannot be opened or breaks `rule` is told in the form every input is
// (OpenInputFile), false is returned and no output is touched.
bool OpenCommandInput(BinaryFile& file, const std::string& path, const InputRule& rule = {});
