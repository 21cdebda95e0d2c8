#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "bronte-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string SharedDataDir()
{
    std::error_code ec;
    const bool there = std::filesystem::is_directory(BRONTE_SHARED_DATA, ec);
    // test.sh counts the tests that read public files, and how many of them ran, by this line.
    std::printf("[ PUBLIC   ] %s %s\n", BRONTE_SHARED_DATA, there ? "found" : "absent");
    return there ? std::string(BRONTE_SHARED_DATA) : std::string();
}
