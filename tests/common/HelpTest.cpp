#include "common/Help.h"

#include "support/HostFixture.h"
#include "support/TempDir.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Installed help: pages and help files in a folder of the tests' own, which goes at exit.
const TempDir kInstalled;
std::string Installed(const std::string& name)
{
    const std::string path = kInstalled.Path() + "/" + name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "help";
    return path;
}
const std::string kHelp = Installed("BronteluxHtmlHelp.htm");

std::string Page(const std::string& escapedAddress)
{
    return "<html>\r\n<script language=\"Javascript\">\r\n<!--\r\ndocument.location=\"" + escapedAddress +
           "\";\r\n//-->\r\n</script>\r\n</html>";
}

std::string ReadFile(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A loopback socket on an ephemeral port. Answer: takes the first request, sends
// the response and closes (a second probe is refused). Silent: listens and never
// accepts. Closed: does not listen.
class LoopbackServer {
public:
    enum Mode { Answer, Silent, Closed };
    explicit LoopbackServer(Mode mode, std::string response = {})
    {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        EXPECT_TRUE(::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
                    ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0 &&
                    (mode == Closed || ::listen(m_fd, 4) == 0));
        port = ntohs(addr.sin_port);
        if (mode == Answer) m_thread = std::thread([this, response] { Serve(response); });
    }
    ~LoopbackServer()
    {
        if (m_thread.joinable()) m_thread.join();
        if (m_fd >= 0) ::close(m_fd);
    }
    std::string Url(const std::string& rest = "/") const { return "http://127.0.0.1:" + std::to_string(port) + rest; }
    // What the client sent; waits for the server to finish.
    const std::string& Request()
    {
        if (m_thread.joinable()) m_thread.join();
        return m_request;
    }
    int port = 0;

private:
    void Serve(const std::string& response)
    {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return;
        const int client = ::accept(m_fd, nullptr, nullptr);
        ::close(std::exchange(m_fd, -1));
        const timeval limit{5, 0};
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        char buffer[512];
        for (ssize_t n; m_request.find("\r\n\r\n") == std::string::npos &&
                        (n = ::recv(client, buffer, sizeof buffer, 0)) > 0;)
            m_request.append(buffer, size_t(n));
        (void)!::send(client, response.data(), response.size(), MSG_NOSIGNAL);
        ::close(client);
    }
    int m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::string m_request;
    std::thread m_thread;
};

class HelpTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        Fresh();
    }
    // Forgets the module's state and empties the temporary directory.
    void Fresh()
    {
        HelpState() = HelpModuleState{};
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(m_base, ec)) fs::remove_all(entry.path(), ec);
        host.tempDirectory = m_base;
        m_opened = host.ShellOpened().size();
    }
    std::string UserFolder() const { return m_base + "/bronteluxviewer-" + std::to_string(::geteuid()); }
    size_t OpenedSinceFresh() const { return host.ShellOpened().size() - m_opened; }
    TempDir m_dir;
    const std::string m_base = m_dir.Path();
    size_t m_opened = 0;
};

TEST(HelpUrlTest, LocalAndServerAddressesFollowTheCommand)
{
    const std::string srv = "http://srv/robo/server.asp";
    const struct {
        std::string window;
        unsigned command;
        uint32_t context;
        const char* local; // nullptr: refused
        const char* server;
    } cases[] = {
        {"", 0, 7, "#<id=0", "?ctxid=0"},      {"", 1, 7, "#<cmd=toc", "?ctxid=0"},
        {"", 2, 0, "#<cmd=idx", "?ctxid=0"},   {"", 3, 0, "#<cmd=fts", "?ctxid=0"},
        {"", 15, 12, "#<id=12", "?ctxid=12"},  {"main", 15, 12, "#<id=12>>wnd=main", "?ctxid=12>>wnd=main"},
        {"", 4, 12, nullptr, nullptr},         {"", 16, 12, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto local = LocalHelpUrl(kHelp, c.window, c.command, c.context);
        const auto server = ServerHelpUrl(srv, c.window, c.command, c.context);
        ASSERT_EQ(local.has_value(), c.local != nullptr) << c.command;
        ASSERT_EQ(server.has_value(), c.server != nullptr) << c.command;
        if (!c.local) continue;
        EXPECT_EQ(*local, kHelp + c.local);
        EXPECT_EQ(*server, srv + c.server);
    }
    EXPECT_EQ(ServerHelpUrl(srv + "?prj=bv", "", 15, 12), srv + "?prj=bv&ctxid=12") << "a query joins with '&'";
}

TEST(HelpUrlTest, ExtensionRulesLookAtFourCharactersFromTheLastDot)
{
    const struct {
        const char* path;
        bool hlp, chm, htm;
    } cases[] = {
        {"C:\\H\\A.HLP", true, false, false}, {"a.Chm", false, true, false},  {"a.html", false, false, true},
        {"a.hlp.txt", false, false, false},   {"dir.chm/readme", false, true, false}, // last '.', not the file's
        {"a.hl", false, false, false},        {"", false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHlpFile(c.path), c.hlp) << c.path;
        EXPECT_EQ(IsChmFile(c.path), c.chm) << c.path;
        EXPECT_EQ(IsHtmFile(c.path), c.htm) << c.path;
    }
    for (const char* yes : {"http://a", "HTTPS://a"}) EXPECT_TRUE(IsHttpUrl(yes)) << yes;
    for (const char* no : {"http:/a", "ftp://a", "file:///a.htm", " http://a"}) EXPECT_FALSE(IsHttpUrl(no)) << no;
    EXPECT_EQ(DefaultHelpCommand("a.hlp", 5), 1u);
    EXPECT_EQ(DefaultHelpCommand(kHelp, 12), 15u);
    EXPECT_EQ(DefaultHelpCommand(kHelp, 0), 0u);
}

TEST(HelpUrlTest, PageEscapesTheAddressForAScriptString)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/h/x.htm#<id=1>>wnd=w", "file:///h/x.htm#\\x3Cid=1\\x3E\\x3Ewnd=w"},
        {"C:\\Help\\x.htm", "file://C:/Help/x.htm"},
        {"http://s/a\\b?x=1&y='2'", "http://s/a\\\\b?x=1\\x26y=\\'2\\'"},
        {"/h/a\"</script><script>alert(1)//.htm", "file:///h/a\\\"\\x3C/script\\x3E\\x3Cscript\\x3Ealert(1)//.htm"},
        {"/h/a\nb\r\t\x01\x7F.htm", "file:///h/a\\nb\\r\\t\\x01\\x7F.htm"},
        {"/h/caf\xC3\xA9\xE2\x80\xA8.htm", "file:///h/caf%C3%A9%E2%80%A8.htm"},
    };
    for (const auto& [url, address] : cases) EXPECT_EQ(RedirectPageText(url), Page(address)) << url;
}

TEST_F(HelpTest, LocalHelpOpensTheRedirectPageWithTheTopic)
{
    const struct {
        std::string path;
        unsigned command;
        uint32_t context;
        std::string address;
    } cases[] = {
        {kHelp, 1, 0, "file://" + kHelp + "#\\x3Ccmd=toc"},
        {Installed("x\"</script.htm") + ">\"</script>", 15, 5, // the first '>' starts the window name
         "file://" + kInstalled.Path() + "/x\\\"\\x3C/script.htm#\\x3Cid=5\\x3E\\x3Ewnd=\\\"\\x3C/script\\x3E"},
        {"/opt/help.hl", 0, 0, "file:///opt/help.hl?ctxid=0"}, // too short for ".hlp": browser help
    };
    for (const auto& c : cases) {
        Fresh();
        EXPECT_TRUE(ShowHelp(c.path, c.command, c.context)) << c.path;
        ASSERT_EQ(OpenedSinceFresh(), 1u) << c.path;
        EXPECT_EQ(host.ShellOpened().back(), UserFolder() + "/robohelp_csh.htm");
        EXPECT_EQ(ReadFile(host.ShellOpened().back()), Page(c.address)) << c.path;
    }
    for (const std::string& path : {Installed("HELP.HLP"), Installed("help.Chm")}) {
        EXPECT_TRUE(ShowHelp(path, 15, 12));
        EXPECT_EQ(host.ShellOpened().back(), path) << "help files go to the shell as they are";
    }
}

// Help that is not installed is said so, and nothing is handed to the desktop.
TEST_F(HelpTest, HelpNotInstalledIsToldAndOpensNothing)
{
    for (const std::string page : {"/opt/none/WebHelp/BronteluxHtmlHelp.htm", "/opt/none/HELP.HLP"}) {
        Fresh();
        host.ExpectMessage("Help is not installed: " + page + " was not found.");
        EXPECT_TRUE(ShowHelp(page + ">main", 15, 12)) << page;
        EXPECT_EQ(OpenedSinceFresh(), 0u) << page;
    }
}

TEST_F(HelpTest, SecondRequestReplacesThePageInAPrivateFolder)
{
    ASSERT_TRUE(ShowHelp(kHelp + ">a-rather-long-window-name", 15, 12));
    ASSERT_TRUE(ShowHelp(kHelp, 15, 18));
    ASSERT_EQ(host.ShellOpened().size(), 2u);
    EXPECT_EQ(host.ShellOpened()[0], host.ShellOpened()[1]);
    EXPECT_EQ(ReadFile(host.ShellOpened()[1]), Page("file://" + kHelp + "#\\x3Cid=18"));

    struct stat st {};
    ASSERT_EQ(::lstat(UserFolder().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::lstat(host.ShellOpened()[1].c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(HelpTest, UnsafeOrUnwritableFolderOpensNothing)
{
    const struct {
        const char* what;
        std::function<void(const std::string& folder, const std::string& elsewhere)> prepare;
    } cases[] = {
        {"folder is a symlink", [](auto& f, auto& e) { fs::create_directory(e); fs::create_directory_symlink(e, f); }},
        {"folder writable by others", [](auto& f, auto&) { fs::create_directory(f); ::chmod(f.c_str(), 0777); }},
        {"page is a symlink", [](auto& f, auto& e) { fs::create_directory(f); fs::create_symlink(e, f + "/robohelp_csh.htm"); }},
        {"folder is a file", [](auto& f, auto&) { std::ofstream(f) << "x"; }},
        {"folder of another user", [](auto& f, auto&) { fs::create_directory(f); (void)!::chown(f.c_str(), 12345, 12345); }},
    };
    for (const auto& c : cases) {
        if (std::string(c.what) == "folder of another user" && ::geteuid() != 0) continue; // only root can give it away
        Fresh();
        const std::string elsewhere = m_base + "/elsewhere";
        c.prepare(UserFolder(), elsewhere);
        EXPECT_TRUE(ShowHelp(kHelp, 15, 12)) << c.what; // not reported, and not marked unavailable
        EXPECT_EQ(OpenedSinceFresh(), 0u) << c.what;
        EXPECT_FALSE(fs::exists(elsewhere + "/robohelp_csh.htm") || fs::is_regular_file(elsewhere)) << c.what;
    }
    Fresh();
    host.tempDirectory = m_base + "/missing";
    EXPECT_TRUE(ShowHelp(kHelp, 15, 12));
    EXPECT_EQ(OpenedSinceFresh(), 0u);
}

TEST_F(HelpTest, PagePathMayHaveAtMost260Characters)
{
    // temp = base + "/" + padding; page = temp + "/bronteluxviewer-<uid>/robohelp_csh.htm"
    const size_t fixed = 1 + UserFolder().size() + 17;
    for (const size_t total : {size_t(260), size_t(261)}) {
        const std::string temp = m_base + "/" + std::string(total - fixed, 'd');
        fs::create_directory(temp);
        host.tempDirectory = temp;
        ASSERT_EQ(RedirectPagePath().size(), total);
        ShowHelp(kHelp, 15, 12);
        EXPECT_EQ(OpenedSinceFresh(), 1u) << total; // only the first fits
    }
}

TEST_F(HelpTest, ServerIsProbedOnceAndAnUnreachableOneIsRemembered)
{
    LoopbackServer ok(LoopbackServer::Answer, "HTTP/1.0 200 OK\r\n\r\n");
    LoopbackServer missing(LoopbackServer::Answer, "HTTP/1.0 404 Not Found\r\n\r\n");
    const std::string good = ok.Url("/robo/server.asp"), bad = missing.Url("/robo/server.asp");
    for (int round = 0; round < 2; ++round) { // the servers answer once: a second probe would fail
        EXPECT_TRUE(ShowHelp(good, 15, 6)) << round;
        EXPECT_FALSE(ShowHelp(bad, 15, 6)) << round;
    }
    ASSERT_EQ(host.ShellOpened().size(), 2u);
    EXPECT_EQ(ReadFile(host.ShellOpened()[1]), Page(good + "?ctxid=6"));
    EXPECT_EQ(HelpState().unavailable, std::set<std::string>{bad});
    const std::string request = ok.Request();
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /robo/bin/robo.dll?mgr=sys&cmd=ver HTTP/1.0");
    EXPECT_NE(request.find("\r\nHost: 127.0.0.1:" + std::to_string(ok.port) + "\r\n"), std::string::npos);

    // A server's ".htm" page and an "https" address are not probed over the network.
    EXPECT_TRUE(ShowHelp("http://127.0.0.1:1/help/index.htm", 1, 0));
    EXPECT_TRUE(ShowHelp("https://help.invalid/robo/server.asp", 15, 6));
    EXPECT_EQ(HelpState().probed.size(), 3u);
    EXPECT_EQ(host.ShellOpened().size(), 4u);
}

TEST(HelpProbeTest, ReachableOnlyWithTwoHundredOkInTheStatusLine)
{
    const std::pair<const char*, bool> answers[] = {
        {"HTTP/1.0 200 OK\r\n\r\n", true},
        {"HTTP/1.1 200 OK", true}, // closed without a line end
        {"HTTP/1.0 404 Not Found\r\n\r\n", false},
        {"HTTP/1.0 500 Error\r\nX: 200 OK\r\n\r\n200 OK", false},
    };
    for (const auto& [answer, reachable] : answers) {
        LoopbackServer server(LoopbackServer::Answer, answer);
        EXPECT_EQ(ProbeHelpServer(server.Url("")), reachable) << answer;
    }
    const auto start = std::chrono::steady_clock::now();
    LoopbackServer closed(LoopbackServer::Closed);
    EXPECT_FALSE(ProbeHelpServer(closed.Url()));
    for (const char* url : {"http:///robo", "no-slashes", "http://127.0.0.1:0/", "http://127.0.0.1:65536/",
                            "http://127.0.0.1:8x/", "http://127.0.0.1:/"})
        EXPECT_FALSE(ProbeHelpServer(url)) << url;
    EXPECT_TRUE(ProbeHelpServer("HTTPS://help.invalid/"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(HelpProbeSlowTest, SilentServerCountsAsUnreachableAfterThreeSeconds)
{
    LoopbackServer silent(LoopbackServer::Silent);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ProbeHelpServer(silent.Url()));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(2900));
    EXPECT_LT(elapsed, std::chrono::milliseconds(4500));
}

} // namespace
