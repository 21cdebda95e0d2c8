// Context help: every Help button and the main frame's help commands end here.
// Help files (".hlp", ".chm") are handed to the desktop as they are; browser help
// (a local ".htm" page or a help server) gets its topic in the address, which a
// small redirect page carries to the browser intact, since the shell drops the
// fragment of a file address it is asked to open.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

// Help commands (the second argument of ShowHelp).
enum : unsigned {
    kHelpDefault = 0,
    kHelpContents = 1,
    kHelpIndex = 2,
    kHelpSearch = 3,
    kHelpContext = 15,
};

// Program-wide state, created on first use.
struct HelpModuleState {
    std::map<std::string, std::string> alternatives; // help path -> alternative path; the program adds none
    std::set<std::string> unavailable;               // help paths known to be unreachable
    std::set<std::string> probed;                    // server addresses already probed
};
HelpModuleState& HelpState();

// Shows the help; true when a help viewer was started. An unreachable help server
// is remembered and not tried again.
bool ShowHelp(const std::string& path, unsigned command, uint32_t context);

// ".hlp" and ".chm" go to the desktop as files (returns the shell's answer);
// anything else is browser help, which returns true. A help file or local page that
// does not exist is told ("Help is not installed: <page> was not found."), true.
bool ShowHelpByType(const std::string& path, unsigned command, uint32_t context);

// False for an empty path. "page>window" names a help window; a ".htm" page is
// local help, anything else a help server.
bool ShowWebHelp(const std::string& path, unsigned command, uint32_t context);

// Address of a topic, or nothing for an unknown command. Local pages take the
// topic in a fragment, servers in a "ctxid" query; a window name follows as
// ">>wnd=" + name.
std::optional<std::string> LocalHelpUrl(const std::string& page, const std::string& window, unsigned command,
                                        uint32_t context);
std::optional<std::string> ServerHelpUrl(const std::string& page, const std::string& window, unsigned command,
                                         uint32_t context);

// Open the address above through the redirect page; false for an unknown command.
// A page that cannot be written is not reported: the help just does not appear.
bool BuildLocalHelpUrl(const std::string& page, const std::string& window, unsigned command,
                       uint32_t context);
bool BuildServerHelpUrl(const std::string& page, const std::string& window, unsigned command,
                        uint32_t context);

// 1 for a ".hlp" path; otherwise 15 with a context, else 0.
unsigned DefaultHelpCommand(const std::string& path, uint32_t context);

// The text from the last '.' on, compared case-insensitively over four characters;
// no '.', or fewer than four characters from it, does not match.
bool IsHlpFile(const std::string& path);
bool IsChmFile(const std::string& path);
bool IsHtmFile(const std::string& path);
// Begins with "http://" or "https://", in any case.
bool IsHttpUrl(const std::string& path);

// Writes the redirect page and opens it with the shell; false when the page could
// not be written (its path over 260 characters, a foreign or unsafe folder, an
// I/O error) or the shell refused it.
bool OpenUrlInBrowser(const std::string& url);

// The redirect page: the user's own folder under the host's temporary directory
// plus "robohelp_csh.htm". The folder is neither created nor checked here.
std::string RedirectPagePath();

// The page's text for an address. An address without "://" is a file: its '\'
// become '/' and "file://" goes in front. The address is escaped for a script
// string inside HTML, so no path can end the string or the script.
std::string RedirectPageText(const std::string& url);

// Writes (or replaces) the redirect page; returns its path, or "" when nothing
// was written.
std::string WriteRedirectPage(const std::string& url);

// Whether a help server answers: an "https://" address counts as reachable at once;
// otherwise the host (with an optional ":port", 80 by default) between the first
// "//" and the next '/' is asked for its version page over HTTP, and "200 OK" in
// the status line means reachable. Gives up after 3,000 ms.
bool ProbeHelpServer(const std::string& url);
