#include "support/KilledWriter.h"

#include "platform/OutputFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int g_reportFd = -1;

// Async-signal-safe: tells the parent where the writer stands, then waits to be killed.
void StopAtLimit(int)
{
    const char mark = 'k';
    [[maybe_unused]] const ssize_t put = ::write(g_reportFd, &mark, 1);
    for (;;) ::pause();
}

} // namespace

bool KillWriterAt(int64_t bytes, const std::function<void()>& run, int seconds)
{
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        ::close(fds[0]);
        g_reportFd = fds[1];
        struct sigaction action {};
        action.sa_handler = StopAtLimit;
        ::sigaction(SIGXFSZ, &action, nullptr);
        const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        run();
        ::_exit(0); // the writer ended before the limit
    }
    ::close(fds[1]);
    pollfd wait{fds[0], POLLIN, 0};
    char mark = 0;
    int ready;
    do {
        ready = ::poll(&wait, 1, seconds * 1000);
    } while (ready < 0 && errno == EINTR);
    const bool reached = ready == 1 && ::read(fds[0], &mark, 1) == 1 && mark == 'k';
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(fds[0]);
    return reached && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

std::vector<std::string> PartialOutputsIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const size_t at = name.rfind(OutputFile::kPartialSuffix);
        if (at != std::string::npos && name.size() == at + std::strlen(OutputFile::kPartialSuffix) + 6)
            names.push_back(name);
    }
    return names;
}
