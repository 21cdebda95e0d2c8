// Kills a writer part-way, as a user's kill or a power cut would: no destructor, no
// clean-up runs. For the checks that a chosen output name then holds nothing or the old
// file, never a part of the new one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Runs `run` in a child process whose files may not grow past `bytes`: the write that
// would cross it stops the child there, which says so through a pipe and waits; the
// parent then kills it with SIGKILL. True when the child was killed at that point;
// false when it ended first or did not get there within `seconds`.
bool KillWriterAt(int64_t bytes, const std::function<void()>& run, int seconds = 60);

// Names in `folder` that are the temporaries of uncommitted outputs ("<name>.partial-XXXXXX").
std::vector<std::string> PartialOutputsIn(const std::string& folder);
