#include "platform/UserFolders.h"

#include "platform/Path.h"

#include <cstdlib>

std::string UserDataFolder(const std::string& organisation, const std::string& application)
{
    // A relative location is to be ignored, as the desktop's own programs do.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string base;
    if (xdg && xdg[0] == '/') base = xdg;
    else if (home && home[0] == '/') base = JoinPath(home, ".local/share");
    else return std::string();
    return JoinPath(JoinPath(base, organisation), application);
}
