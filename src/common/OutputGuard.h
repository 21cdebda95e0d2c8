// Every command that writes a file asks here, before it creates or truncates
// anything, whether the output would overwrite one of its own inputs, and whether
// an existing file may be replaced.
#pragma once

#include "platform/Status.h"

#include <initializer_list>

#include "platform/BinaryFile.h"

#include <string>
#include <vector>

// A failure, carrying "Output file is the same as input file :" with the input, when
// `output` is the same file as one of `inputs` (a link or another spelling of it
// included); shows nothing. The caller abandons the operation without touching the output.
[[nodiscard]] Status OutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs);
[[nodiscard]] Status OutputSparesInputs(const std::string& output, std::initializer_list<std::string> inputs);

// True when `output` is no existing file, or the user, asked, wants it replaced; false
// otherwise, and the caller abandons the operation without touching it. Every writer
// whose output name was derived or typed asks here; a name from a save dialog that
// itself asked before replacing needs no second question.
[[nodiscard]] bool MayReplaceExisting(const std::string& output);

// Opens a command's input for reading, before any of its outputs is created: an input
// that cannot be opened or breaks `rule` is told in the form every input is
// (OpenInputFile), false is returned and no output is touched.
[[nodiscard]] bool OpenCommandInput(BinaryFile& file, const std::string& path, const InputRule& rule = {});
