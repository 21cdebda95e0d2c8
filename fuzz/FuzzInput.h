// The harnesses' readers take a path: each input goes to one file per process (so
// parallel fuzzing jobs never share it), rewritten for every input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

inline std::string WriteFuzzInput(const char* stem, const char* extension, const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/fuzz_" + std::string(stem) + "_" + std::to_string(::getpid()) + extension;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}
