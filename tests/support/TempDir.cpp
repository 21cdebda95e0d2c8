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

namespace {

// The folder `variable` names, else `otherwise`; said on the line test.sh
// counts, and empty when absent.
std::string PublicFolder(const char* variable, const std::string& otherwise)
{
    // A checkout elsewhere (a second worktree) names the folder in the environment.
    const char* named = std::getenv(variable);
    const std::string folder = named && *named ? named : otherwise;
    std::error_code ec;
    const bool there = std::filesystem::is_directory(folder, ec);
    // test.sh counts the tests that read public files, and how many of them ran, by this line.
    std::printf("[ PUBLIC   ] %s %s\n", folder.c_str(), there ? "found" : "absent");
    return there ? folder : std::string();
}

} // namespace

std::string SharedDataDir() { return PublicFolder("BRONTE_SHARED_DATA", BRONTE_SHARED_DATA); }

std::string LisTruthDir() { return PublicFolder("BRONTE_LIS_TRUTH", BRONTE_LIS_TRUTH); }
