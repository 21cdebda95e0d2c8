#include "common/Help.h"

#include "platform/BinaryFile.h"
#include "platform/Host.h"
#include "platform/Path.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

// No web-browser object is created or released at exit: nothing ever navigated
// with it, so the shell opens every page and the object is left out.

namespace {

constexpr size_t kMaxPagePath = 260;
constexpr const char* kPageName = "robohelp_csh.htm";
constexpr const char* kUserFolderPrefix = "bronteluxviewer-";
constexpr const char* kProbeRequestPath = "/robo/bin/robo.dll?mgr=sys&cmd=ver";
constexpr const char* kProbeAgent = "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)";
constexpr auto kProbeTimeout = std::chrono::milliseconds(3000);
constexpr size_t kMaxStatusBytes = 1024;

bool ExtensionIs(const std::string& path, const char* ext)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.size() - dot < 4) return false;
    return strncasecmp(path.c_str() + dot, ext, 4) == 0;
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return text.size() >= n && strncasecmp(text.c_str(), prefix, n) == 0;
}

void SplitWindow(const std::string& path, std::string& page, std::string& window)
{
    const size_t gt = path.find('>');
    page = path.substr(0, gt);
    window = gt == std::string::npos ? std::string() : path.substr(gt + 1);
}

std::string WithWindow(std::string url, const std::string& window)
{
    if (!window.empty()) url += ">>wnd=" + window;
    return url;
}

// A script string inside HTML: quotes and backslashes would end the string, '<'
// could end the script, line breaks end the statement. Bytes above 0x7F are
// percent-encoded so the page is pure ASCII and its (undeclared) character set
// cannot change the address.
std::string EscapeForScript(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 16);
    char hex[8];
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\'': out += "\\'"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '<':
        case '>':
        case '&':
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else if (c >= 0x80) {
                std::snprintf(hex, sizeof hex, "%%%02X", c);
                out += hex;
            } else {
                out += ch;
            }
        }
    }
    return out;
}

std::string UserFolder() { return JoinPath(Host().TempDirectory(), kUserFolderPrefix + std::to_string(geteuid())); }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// The user's folder, created 0700 when missing. A folder that is a symbolic link,
// belongs to someone else or lets others write could have its page swapped for
// another, so it is refused. Returns an open descriptor of the folder, or -1.
int OpenUserFolder(const std::string& folder)
{
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return -1;
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dir.get() < 0) return -1;
    struct stat st; // filled by fstat before it is read
    if (::fstat(dir.get(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return -1;
    return dir.release();
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// ---- the server probe --------------------------------------------------------------

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Waits for `events` on the socket until the deadline.
bool WaitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, MillisecondsLeft(deadline));
        if (n > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
        if (n == 0 || errno != EINTR) return false;
    }
}

// Host and port between the first "//" and the next '/'; "[v6]:port" allowed.
bool SplitServer(const std::string& url, std::string& host, std::string& port)
{
    const size_t slashes = url.find("//");
    if (slashes == std::string::npos) return false;
    const size_t start = slashes + 2;
    const size_t end = url.find('/', start);
    const std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string rest;
    if (!authority.empty() && authority[0] == '[') {
        const size_t close = authority.find(']');
        if (close == std::string::npos) return false;
        host = authority.substr(1, close - 1);
        rest = authority.substr(close + 1);
    } else {
        const size_t colon = authority.find(':');
        host = authority.substr(0, colon);
        rest = colon == std::string::npos ? std::string() : authority.substr(colon);
    }
    if (host.empty()) return false;
    if (rest.empty()) {
        port = "80";
        return true;
    }
    if (rest[0] != ':' || rest.size() < 2 || rest.size() > 6) return false;
    port = rest.substr(1);
    for (const char c : port)
        if (c < '0' || c > '9') return false;
    const long value = std::stol(port);
    return value >= 1 && value <= 65535;
}

struct Address {
    int family = 0;
    sockaddr_storage storage{};
    socklen_t length = 0;
};

// Name resolution cannot be given a timeout, so it runs on a short thread of its
// own; when the deadline passes first the thread is left to finish by itself.
std::vector<Address> Resolve(const std::string& host, const std::string& port, Clock::time_point deadline)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::vector<Address> addresses;
    };
    auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, host, port] {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_flags = AI_NUMERICSERV;
            addrinfo* list = nullptr;
            std::vector<Address> found;
            if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &list) == 0) {
                for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
                    if (ai->ai_addrlen > sizeof(sockaddr_storage)) continue;
                    Address a;
                    a.family = ai->ai_family;
                    std::memcpy(&a.storage, ai->ai_addr, ai->ai_addrlen);
                    a.length = ai->ai_addrlen;
                    found.push_back(a);
                }
                ::freeaddrinfo(list);
            }
            std::lock_guard<std::mutex> lock(shared->mutex);
            shared->addresses = std::move(found);
            shared->finished = true;
            shared->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (!shared->done.wait_until(lock, deadline, [&] { return shared->finished; })) return {};
    return std::move(shared->addresses);
}

int ConnectBefore(const Address& address, Clock::time_point deadline)
{
    FileDescriptor sock(::socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (sock.get() < 0) return -1;
    if (::connect(sock.get(), reinterpret_cast<const sockaddr*>(&address.storage), address.length) != 0) {
        if (errno != EINPROGRESS && errno != EINTR) return -1;
        if (!WaitFor(sock.get(), POLLOUT, deadline)) return -1;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(sock.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return -1;
    }
    return sock.release();
}

bool SendAll(int fd, const std::string& text, Clock::time_point deadline)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, deadline)) return false;
        } else if (!(n < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

// The first line of the answer, read until its end, 1,024 bytes, the end of the
// stream or the deadline.
std::string ReadStatusLine(int fd, Clock::time_point deadline)
{
    std::string text;
    char buffer[kMaxStatusBytes];
    while (text.size() < kMaxStatusBytes && text.find('\n') == std::string::npos) {
        if (!WaitFor(fd, POLLIN, deadline)) break;
        const ssize_t n = ::recv(fd, buffer, kMaxStatusBytes - text.size(), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) break;
        text.append(buffer, size_t(n));
    }
    return text.substr(0, text.find('\n'));
}

} // namespace

HelpModuleState& HelpState()
{
    static HelpModuleState state;
    return state;
}

bool IsHlpFile(const std::string& path) { return ExtensionIs(path, ".hlp"); }
bool IsChmFile(const std::string& path) { return ExtensionIs(path, ".chm"); }
bool IsHtmFile(const std::string& path) { return ExtensionIs(path, ".htm"); }
bool IsHttpUrl(const std::string& path) { return StartsWithNoCase(path, "http://") || StartsWithNoCase(path, "https://"); }

unsigned DefaultHelpCommand(const std::string& path, uint32_t context)
{
    if (IsHlpFile(path)) return kHelpContents;
    return context != 0 ? kHelpContext : kHelpDefault;
}

std::optional<std::string> LocalHelpUrl(const std::string& page, const std::string& window, unsigned command,
                                        uint32_t context)
{
    std::string suffix;
    switch (command) {
    case kHelpDefault: suffix = "#<id=0"; break;
    case kHelpContents: suffix = "#<cmd=toc"; break;
    case kHelpIndex: suffix = "#<cmd=idx"; break;
    case kHelpSearch: suffix = "#<cmd=fts"; break;
    case kHelpContext: suffix = "#<id=" + std::to_string(context); break;
    default: return std::nullopt;
    }
    return WithWindow(page + suffix, window);
}

std::optional<std::string> ServerHelpUrl(const std::string& page, const std::string& window, unsigned command,
                                         uint32_t context)
{
    uint32_t id = 0;
    if (command == kHelpContext)
        id = context;
    else if (command > kHelpSearch)
        return std::nullopt;
    const char* join = page.find('?') == std::string::npos ? "?ctxid=" : "&ctxid=";
    return WithWindow(page + join + std::to_string(id), window);
}

bool BuildLocalHelpUrl(const std::string& page, const std::string& window, unsigned command, uint32_t context)
{
    const auto url = LocalHelpUrl(page, window, command, context);
    if (!url) return false;
    OpenUrlInBrowser(*url);
    return true;
}

bool BuildServerHelpUrl(const std::string& page, const std::string& window, unsigned command, uint32_t context)
{
    const auto url = ServerHelpUrl(page, window, command, context);
    if (!url) return false;
    OpenUrlInBrowser(*url);
    return true;
}

bool ShowWebHelp(const std::string& path, unsigned command, uint32_t context)
{
    if (path.empty()) return false;
    std::string page, window;
    SplitWindow(path, page, window);
    if (IsHtmFile(page)) return BuildLocalHelpUrl(page, window, command, context);
    return BuildServerHelpUrl(page, window, command, context);
}

bool ShowHelpByType(const std::string& path, unsigned command, uint32_t context)
{
    // Help that was not installed is said so: the desktop would be handed a page that
    // leads nowhere, and its answer would blame the desktop.
    std::string page, window;
    SplitWindow(path, page, window);
    if ((IsHlpFile(page) || IsChmFile(page) || IsHtmFile(page)) && !IsHttpUrl(page) && !FileExists(page)) {
        MessageBox("Help is not installed: " + page + " was not found.", MB_OK | MB_ICONINFORMATION);
        return true;
    }
    // No help engine here: the desktop opens the file with whatever it has for it,
    // so the command and context cannot be passed on.
    if (IsHlpFile(path) || IsChmFile(path)) return Host().ShellOpen(path);
    // Browser help counts as shown even when its page could not be written, so a
    // passing failure does not mark the help unavailable for the whole session.
    ShowWebHelp(path, command, context);
    return true;
}

bool ShowHelp(const std::string& path, unsigned command, uint32_t context)
{
    HelpModuleState& state = HelpState();

    std::string alternative;
    if (const auto it = state.alternatives.find(path); it != state.alternatives.end()) {
        alternative = it->second;
    } else {
        std::string page, window;
        SplitWindow(path, page, window);
        if (const auto pit = state.alternatives.find(page);
            pit != state.alternatives.end() && pit->second.find('>') == std::string::npos)
            alternative = pit->second + ">" + window;
    }

    // The machine counts as connected: this platform has no dial-up state to ask.
    if (IsHttpUrl(path) && !IsHtmFile(path) && !state.probed.count(path)) {
        const bool reachable = ProbeHelpServer(path);
        state.probed.insert(path);
        if (!reachable) state.unavailable.insert(path);
    }

    if (!state.unavailable.count(path)) {
        if (ShowHelpByType(path, command, context)) return true;
        state.unavailable.insert(path);
    }

    if (alternative.empty()) return false;
    const unsigned fallback = DefaultHelpCommand(alternative, context);
    return ShowHelpByType(alternative, fallback != 0 ? fallback : command, context);
}

// ---- the redirect page -------------------------------------------------------------------

bool OpenUrlInBrowser(const std::string& url)
{
    const std::string page = WriteRedirectPage(url);
    return !page.empty() && Host().ShellOpen(page);
}

std::string RedirectPagePath() { return JoinPath(UserFolder(), kPageName); }

std::string RedirectPageText(const std::string& url)
{
    std::string address = url;
    if (address.find("://") == std::string::npos) {
        for (char& c : address)
            if (c == '\\') c = '/';
        address = "file://" + address;
    }
    return "<html>\r\n<script language=\"Javascript\">\r\n<!--\r\ndocument.location=\"" + EscapeForScript(address) +
           "\";\r\n//-->\r\n</script>\r\n</html>";
}

std::string WriteRedirectPage(const std::string& url)
{
    const std::string folder = UserFolder();
    const std::string path = JoinPath(folder, kPageName);
    if (path.size() > kMaxPagePath) return std::string();

    FileDescriptor dir(OpenUserFolder(folder));
    if (dir.get() < 0) return std::string();
    FileDescriptor file(::openat(dir.get(), kPageName, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.get() < 0) return std::string();
    if (!WriteAll(file.get(), RedirectPageText(url))) return std::string();
    if (::close(file.release()) != 0) return std::string();
    return path;
}

// ---- the server probe --------------------------------------------------------------------

bool ProbeHelpServer(const std::string& url)
{
    if (StartsWithNoCase(url, "https://")) return true;
    std::string host, port;
    if (!SplitServer(url, host, port)) return false;

    const auto deadline = Clock::now() + kProbeTimeout;
    std::string hostHeader = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    if (port != "80") hostHeader += ":" + port;
    const std::string request = std::string("GET ") + kProbeRequestPath + " HTTP/1.0\r\nHost: " + hostHeader +
                                "\r\nUser-Agent: " + kProbeAgent + "\r\nConnection: close\r\n\r\n";

    for (const Address& address : Resolve(host, port, deadline)) {
        FileDescriptor sock(ConnectBefore(address, deadline));
        if (sock.get() < 0) {
            if (MillisecondsLeft(deadline) == 0) return false;
            continue;
        }
        if (!SendAll(sock.get(), request, deadline)) return false;
        return ReadStatusLine(sock.get(), deadline).find("200 OK") != std::string::npos;
    }
    return false;
}
