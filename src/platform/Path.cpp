#include "platform/Path.h"

#include <filesystem>
#include <system_error>

size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

std::string FullPath(const std::string& path)
{
    if (path.empty()) return path;
    std::error_code ec;
    auto abs = std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec) return path;
    return abs.lexically_normal().string();
}

std::string FileName(const std::string& path)
{
    const size_t sep = LastSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string FileTitle(const std::string& path)
{
    std::string name = FileName(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

std::string FileExt(const std::string& path)
{
    const std::string name = FileName(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return std::string();
    return name.substr(dot + 1);
}

std::string FolderOf(const std::string& path)
{
    const size_t sep = LastSeparator(path);
    if (sep == std::string::npos) return std::string();
    if (sep == 0) return path.substr(0, 1);
    return path.substr(0, sep);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == '/' || last == '\\') return folder + name;
    return folder + "/" + name;
}
