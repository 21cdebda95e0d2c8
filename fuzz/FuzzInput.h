// The harnesses' readers take a path: each input goes to one file per process (so
// parallel fuzzing jobs never share it), rewritten for every input and removed when
// the process ends.
#pragma once

#include <cstdint>
#include <cstdio>
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
} // namespace fuzzinput

inline std::string WriteFuzzInput(const char* stem, const char* extension, const uint8_t* data, size_t size)
{
    static fuzzinput::RemovedAtExit file{"/tmp/fuzz_" + std::string(stem) + "_" + std::to_string(::getpid()) + extension};
    if (FILE* f = std::fopen(file.path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return file.path;
}
