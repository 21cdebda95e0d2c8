#include "platform/FileChoice.h"

#include "platform/Path.h"

#include <cctype>
#include <map>
#include <string>

namespace {

// The folder of the file last chosen for each kind of file, and of any file, while
// one host runs.
std::map<std::string, std::string> g_lastFolders;
const std::string kAnyKind = "*";

// A file dialog's kind: the extension of its filter's first pattern ("*.lis;*.tap"
// gives "lis"), else its default extension.
std::string FileKind(const FileDialogOptions& options)
{
    const auto filters = ParseFileFilter(options.filter);
    std::string kind = filters.empty() ? std::string() : filters.front().second;
    kind = kind.substr(0, kind.find(';'));
    const size_t dot = kind.rfind('.');
    kind = dot == std::string::npos ? std::string() : kind.substr(dot + 1);
    if (kind.empty() || kind == "*") kind = options.defaultExt;
    for (char& c : kind) c = char(std::tolower(static_cast<unsigned char>(c)));
    return kind;
}

} // namespace

FileDialogResult ChooseFile(const FileDialogOptions& options)
{
    const std::string kind = FileKind(options);
    FileDialogOptions shown = options;
    // A name without a folder would open the dialog in the start-up folder.
    if (FolderOf(options.initialName).empty()) {
        auto last = g_lastFolders.find(kind);
        if (last == g_lastFolders.end()) last = g_lastFolders.find(kAnyKind);
        if (last != g_lastFolders.end()) shown.initialName = JoinPath(last->second, options.initialName);
    }
    FileDialogResult chosen = Host().FileDialog(shown);
    const std::string folder = chosen.ok ? FolderOf(chosen.path) : std::string();
    if (!folder.empty()) {
        g_lastFolders[kind] = folder;
        g_lastFolders[kAnyKind] = folder;
    }
    return chosen;
}

void ForgetFileChoices() { g_lastFolders.clear(); }
