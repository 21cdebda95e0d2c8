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
    // A checkout elsewhere (a second worktree) names the folder in the environment.
    const char* named = std::getenv("BRONTE_SHARED_DATA");
    const std::string folder = named && *named ? named : BRONTE_SHARED_DATA;
    std::error_code ec;
    const bool there = std::filesystem::is_directory(folder, ec);
    // test.sh counts the tests that read public files, and how many of them ran, by this line.
    std::printf("[ PUBLIC   ] %s %s\n", folder.c_str(), there ? "found" : "absent");
    return there ? folder : std::string();
}
