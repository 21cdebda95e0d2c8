#include "common/BrowseFile.h"

#include "platform/FileChoice.h"
#include "platform/Host.h"
#include "platform/Path.h"

#include <utility>

bool BrowseFile(Browse mode, const std::string& caption, const std::string& filter, std::string& path,
                std::string& title, std::string& ext, const std::string& folder)
{
    FileDialogOptions options;
    options.open = mode == Browse::Open;
    options.title = caption;
    options.filter = filter;
    // Without a title the folder is given with a trailing separator: the dialog opens in it.
    options.initialName = folder.empty() ? title : JoinPath(folder, title);
    options.defaultExt = ext;
    options.flags = kHideReadOnly | kPathMustExist | (options.open ? kFileMustExist : kOverwritePrompt);
    FileDialogResult chosen = ChooseFile(options);
    if (!chosen.ok || chosen.path.empty()) return false;
    path = std::move(chosen.path);
    title = std::move(chosen.title);
    ext = std::move(chosen.ext);
    return true;
}
