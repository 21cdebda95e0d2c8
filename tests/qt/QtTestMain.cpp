// Runs the Qt smoke tests inside one QApplication; listing them needs none.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

// A home of the tests' own beside the test program: settings, runtime files and
// caches never reach the user's.
void UsePrivateHome(const char* argv0)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path exe = fs::weakly_canonical(fs::path(argv0), ec);
    const fs::path home = (ec ? fs::temp_directory_path() : exe.parent_path()) / "qt-home";
    fs::create_directories(home / "runtime", ec);
    fs::create_directories(home / "config", ec);
    ::chmod((home / "runtime").c_str(), 0700);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// The offscreen platform says for every window given a minimum size that it
// cannot pass size hints on; every other message is printed as usual.
QtMessageHandler g_defaultHandler = nullptr;
void QuietOffscreenHints(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints"))) return;
    if (g_defaultHandler) g_defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    // InitGoogleTest removes its own flags, so look for the listing request first.
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing |= std::strcmp(argv[i], "--gtest_list_tests") == 0;
    testing::InitGoogleTest(&argc, argv);
    if (listing) return RUN_ALL_TESTS();
    UsePrivateHome(argv[0]);
    g_defaultHandler = qInstallMessageHandler(QuietOffscreenHints);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
