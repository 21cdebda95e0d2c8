#include "platform/UserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(UserFolders, TheDataFolderFollowsTheDesktopsDataLocation)
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedXdg = xdg ? xdg : "", savedHome = home ? home : "";
    struct Case {
        const char *xdg, *home, *folder;
    };
    const Case cases[] = {
        {"/srv/data/", "/home/ann", "/srv/data/Maker Ltd/Viewer"},
        {"", "/home/ann", "/home/ann/.local/share/Maker Ltd/Viewer"},
        {"relative/data", "/home/ann", "/home/ann/.local/share/Maker Ltd/Viewer"}, // ignored
        {"", "relative", ""},
    };
    for (const auto& c : cases) {
        setenv("XDG_DATA_HOME", c.xdg, 1);
        setenv("HOME", c.home, 1);
        EXPECT_EQ(UserDataFolder("Maker Ltd", "Viewer"), c.folder) << c.xdg << " " << c.home;
    }
    if (xdg) setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
    if (home) setenv("HOME", savedHome.c_str(), 1);
    else unsetenv("HOME");
}

} // namespace
