#include "support/TempDir.h"

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
    return std::filesystem::is_directory(folder, ec) ? folder : std::string();
}
