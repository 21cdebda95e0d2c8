#include "platform/UserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets or clears one environment variable for the scope and puts it back after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* was = std::getenv(name)) m_saved = was;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_saved) setenv(m_name, m_saved->c_str(), 1);
        else unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_saved;
};

TEST(UserFolders, TheDataFolderFollowsTheDesktopsDataLocation)
{
    struct Case {
        const char* xdg;
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {"/srv/data", "/home/ann", "/srv/data/Maker Ltd/Viewer"},
        {"/srv/data/", "/home/ann", "/srv/data/Maker Ltd/Viewer"},
        {nullptr, "/home/ann", "/home/ann/.local/share/Maker Ltd/Viewer"},
        {"", "/home/ann", "/home/ann/.local/share/Maker Ltd/Viewer"},
        {"relative/data", "/home/ann", "/home/ann/.local/share/Maker Ltd/Viewer"}, // ignored
        {nullptr, "relative", ""},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(UserDataFolder("Maker Ltd", "Viewer"), c.folder)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}

} // namespace
