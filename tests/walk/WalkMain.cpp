// Runs the desktop walkthrough on the X11 platform of a virtual display of its own,
// started here and stopped at the end; listing the tests needs no display.
#include <QApplication>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path ProgramFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::temp_directory_path() : exe.parent_path();
}

// Settings, runtime files and caches stay beside the test program.
void UsePrivateHome()
{
    const fs::path home = ProgramFolder() / "walk-home";
    std::error_code ec;
    fs::create_directories(home / "runtime", ec);
    fs::create_directories(home / "config", ec);
    ::chmod((home / "runtime").c_str(), 0700);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
}

// An X server on a display number nobody uses. Test programs run side by side, so a
// number that looked free may be taken by the time the server starts: the lock file
// names the server that won it, and a lost race moves on to the next number.
class VirtualDisplay {
public:
    bool Start()
    {
        for (int display = 110; display < 700; ++display) {
            const std::string lock = "/tmp/.X" + std::to_string(display) + "-lock";
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
            if (fs::exists(lock) || fs::exists(socket)) continue;
            const pid_t pid = ::fork();
            if (pid < 0) return false;
            if (pid == 0) {
                ::prctl(PR_SET_PDEATHSIG, SIGTERM); // no server outlives a crashed test
                const int null = ::open("/dev/null", O_WRONLY);
                if (null >= 0) {
                    ::dup2(null, 1);
                    ::dup2(null, 2);
                }
                const std::string name = ":" + std::to_string(display);
                ::execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1600x1000x24", "-nolisten", "tcp",
                         "-noreset", static_cast<char*>(nullptr));
                ::_exit(127);
            }
            if (WaitUntilServing(pid, lock, socket)) {
                m_pid = pid;
                ::setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
                return true;
            }
            Stop(pid);
            if (m_notInstalled) return false;
        }
        return false;
    }
    ~VirtualDisplay()
    {
        if (m_pid > 0) Stop(m_pid);
    }

private:
    bool WaitUntilServing(pid_t pid, const std::string& lock, const std::string& socket)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                m_notInstalled = WIFEXITED(status) && WEXITSTATUS(status) == 127;
                return false;
            }
            std::ifstream in(lock);
            long owner = 0;
            if (in >> owner && owner != pid) return false; // another server won the number
            if (owner == pid && fs::exists(socket)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    static void Stop(pid_t pid)
    {
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }

    pid_t m_pid = -1;
    bool m_notInstalled = false;
};

} // namespace

// The X11 platform talks to the session bus, whose library keeps a buffer it never
// frees; every other leak still fails the walkthrough.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

int main(int argc, char** argv)
{
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing |= std::strcmp(argv[i], "--gtest_list_tests") == 0;
    testing::InitGoogleTest(&argc, argv);
    if (listing) return RUN_ALL_TESTS();
    UsePrivateHome();
    VirtualDisplay display;
    if (!display.Start()) {
        std::fprintf(stderr, "The virtual display (Xvfb) could not be started: the walkthrough needs it.\n");
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int status = 1;
    {
        QApplication app(argc, argv);
        status = RUN_ALL_TESTS();
    }
    return status;
}
