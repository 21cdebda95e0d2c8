// Path helpers. Paths use '/', but names read from files or typed by users may
// carry '\', so every split accepts both separators.
#pragma once

#include <string>

std::string FullPath(const std::string& path);   // absolute and normalised; the input when that fails
std::string FileName(const std::string& path);   // after the last separator
std::string FileTitle(const std::string& path);  // file name without its extension
std::string FileExt(const std::string& path);    // extension without the dot, "" when none
std::string FolderOf(const std::string& path);   // before the last separator, "" when none
std::string JoinPath(const std::string& folder, const std::string& name);
// Index of the last '/' or '\', or std::string::npos.
size_t LastSeparator(const std::string& path);
