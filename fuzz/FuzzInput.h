// The harnesses' readers take a path: each input goes to one file per process (so
// parallel fuzzing jobs never share it), rewritten for every input and removed when
// the process ends. A process that dies (a finding, a kill) cannot remove its files:
// the next one sweeps the files of processes that are gone.
#pragma once

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzzinput {
// Removes the process's input file at a normal exit (libFuzzer ends with exit()).
struct RemovedAtExit {
    std::string path;
    ~RemovedAtExit()
    {
        if (!path.empty()) std::remove(path.c_str());
    }
};

// The process id in a name "fuzz_<stem>_<pid>[_more].<ext>": the first part of digits.
inline long PidOf(const std::string& name)
{
    for (size_t at = name.find('_'); at != std::string::npos; at = name.find('_', at + 1)) {
        size_t end = at + 1;
        while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end]))) ++end;
        if (end > at + 1 && (end == name.size() || name[end] == '.' || name[end] == '_'))
            return std::strtol(name.c_str() + at + 1, nullptr, 10);
    }
    return 0;
}

// Removes the harness files in /tmp whose process no longer runs.
inline void SweepFilesOfEndedRuns()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/tmp", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("fuzz_", 0) != 0 || !entry.is_regular_file(error)) continue;
        const long pid = PidOf(name);
        if (pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH) std::filesystem::remove(entry.path(), error);
    }
}
} // namespace fuzzinput

inline std::string WriteFuzzInput(const char* stem, const char* extension, const uint8_t* data, size_t size)
{
    static fuzzinput::RemovedAtExit file{[&] {
        fuzzinput::SweepFilesOfEndedRuns();
        return "/tmp/fuzz_" + std::string(stem) + "_" + std::to_string(::getpid()) + extension;
    }()};
    if (FILE* f = std::fopen(file.path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return file.path;
}
