#include "platform/Host.h"

#include "platform/Dialog.h"
#include "platform/FileChoice.h"
#include "platform/Format.h"
#include "platform/Frame.h"
#include "platform/PaintScope.h"
#include "platform/PrintJob.h"
#include "platform/Path.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace {

// Without a desktop: messages go to stderr, every box takes its default answer and
// every dialog is cancelled.
class ConsoleHost : public HostBase {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override
    {
        std::fprintf(stderr, "[%s] %s\n", caption.empty() ? DefaultCaption().c_str() : caption.c_str(),
                     text.c_str());
        return DefaultAnswer(type);
    }
};

// Never destroyed: objects with static storage (the application object) may still
// show a box while the program exits.
ConsoleHost& TheConsoleHost()
{
    static ConsoleHost* host = new ConsoleHost;
    return *host;
}
IHost* g_host = nullptr;

} // namespace

IHost& Host() { return g_host ? *g_host : TheConsoleHost(); }

IHost* SetHost(IHost* host)
{
    IHost* previous = g_host;
    g_host = host;
    ForgetFileChoices(); // a new host is a new run
    return previous;
}

const std::string& DefaultCaption()
{
    static const std::string caption = "BronteluxViewer";
    return caption;
}

namespace {
QuietMessages* g_quiet = nullptr;
} // namespace

QuietMessages::QuietMessages() : m_outer(g_quiet) { g_quiet = this; }
QuietMessages::~QuietMessages() { g_quiet = m_outer; }

int MessageBox(const std::string& text, unsigned type, const std::string& caption)
{
    if (g_quiet) {
        g_quiet->Keep(text);
        return DefaultAnswer(type);
    }
    if (PaintScope::Painting()) {
        PaintScope::Defer(text, caption, type);
        return DefaultAnswer(type);
    }
    return Host().MessageBox(text, caption, type);
}

int DefaultAnswer(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    default: return IDCANCEL;
    }
}

namespace {

// Characters of a line on the screen: UTF-8 sequences count once.
size_t ShownCharacters(std::string_view line)
{
    return size_t(std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// A line cut to one row: after its heading's ":" where it has one there, else at its last
// blank there, else at the row's end (never inside a UTF-8 sequence), with "..." after.
std::string OneRow(std::string_view line)
{
    if (ShownCharacters(line) <= kMessageColumns) return std::string(line);
    const std::string_view row = line.substr(0, kMessageColumns);
    size_t cut = row.find(": ");
    if (cut != std::string_view::npos) return std::string(row.substr(0, cut + 1)) + " ...";
    cut = row.rfind(' ');
    if (cut == std::string_view::npos || cut == 0) {
        cut = row.size();
        while (cut > 1 && (line[cut] & 0xC0) == 0x80) --cut;
    }
    return std::string(row.substr(0, cut)) + " ...";
}

} // namespace

MessageLayout LayOutMessage(const std::string& text)
{
    std::vector<std::string_view> lines;
    for (size_t at = 0;;) {
        const size_t end = text.find('\n', at);
        lines.push_back(std::string_view(text).substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    size_t rows = 0;
    for (const std::string_view line : lines)
        rows += std::max<size_t>(1, (ShownCharacters(line) + kMessageColumns - 1) / kMessageColumns);
    if (rows <= kMessageRows) return {text, ""};
    std::string summary;
    for (size_t k = 0; k < lines.size() && k < kSummaryLines; ++k) {
        if (k > 0) summary += '\n';
        summary += OneRow(lines[k]);
    }
    if (lines.size() > kSummaryLines) summary += "\n...";
    return {summary, text};
}

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue)
{
    bool ok = false;
    const long v = ParseLong(Host().GetProfileString(section, entry, std::string()), &ok);
    // A value outside int's range is as unusable as one that is no number.
    return ok && v >= INT_MIN && v <= INT_MAX ? int(v) : defaultValue;
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value)
{
    return Host().WriteProfileString(section, entry, Format("%d", value));
}

FileDialogResult MakeFileDialogResult(const std::string& path, const std::string& defaultExt)
{
    FileDialogResult r;
    r.ok = true;
    r.path = path;
    if (!defaultExt.empty() && FileExt(path).empty()) r.path += "." + defaultExt;
    r.fileName = FileName(r.path);
    r.title = FileTitle(r.path);
    r.ext = FileExt(r.path);
    return r;
}

std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter)
{
    // The zero-separated form ends with two zeros; the bar form with "||" or "|".
    const char separator = filter.find('\0') != std::string::npos ? '\0' : '|';
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == separator) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    std::vector<std::pair<std::string, std::string>> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty()) break;
        out.emplace_back(parts[i], parts[i + 1]);
    }
    return out;
}

// ---- HostBase ---------------------------------------------------------------------

FileDialogResult HostBase::FileDialog(const FileDialogOptions&) { return {}; }
bool HostBase::ChooseFolder(const std::string&, std::string&) { return false; }
bool HostBase::ShellOpen(const std::string&) { return false; }

uint64_t HostBase::TickCount()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string HostBase::CurrentDirectory()
{
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

bool HostBase::SetCurrentDirectory(const std::string& path)
{
    std::error_code ec;
    std::filesystem::current_path(path, ec);
    return !ec;
}

std::string HostBase::TempDirectory()
{
    std::error_code ec;
    const auto dir = std::filesystem::temp_directory_path(ec);
    return ec ? std::string("/tmp") : dir.string();
}

std::string HostBase::GetProfileString(const std::string& section, const std::string& entry,
                                       const std::string& defaultValue)
{
    const auto it = m_profile.find({section, entry});
    return it == m_profile.end() ? defaultValue : it->second;
}

bool HostBase::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    m_profile[{section, entry}] = value;
    return true;
}

int HostBase::RunModal(CDialog& dialog)
{
    dialog.InitDialog(true);
    dialog.EndDialog(IDCANCEL);
    return IDCANCEL;
}

bool HostBase::CreateModeless(CDialog& dialog)
{
    dialog.InitDialog(false);
    return true;
}

void HostBase::DestroyModeless(CDialog&) {}

// The main window is the installed frame's.
bool HostBase::HasMainWindow() { return Frame() && Frame()->Exists(); }
bool HostBase::IsMainWindowEnabled() { return HasMainWindow() && Frame()->IsEnabled(); }
void HostBase::EnableMainWindow(bool enable)
{
    if (HasMainWindow()) Frame()->Enable(enable);
}

HostBase::HostBase() : m_printerPage(std::make_unique<PageSetup>()) {}
HostBase::~HostBase() = default;

std::unique_ptr<IPrintJob> HostBase::CreatePrintJob(const std::string&) { return nullptr; }

const PageSetup& HostBase::PrinterPage() const { return *m_printerPage; }
void HostBase::SetPrinterPage(const PageSetup& page) { *m_printerPage = page; }

bool HostBase::PrinterSetup()
{
    CPageSetupDlg dialog;
    dialog.m_setup = *m_printerPage;
    if (dialog.DoModal() != IDOK) return false;
    *m_printerPage = dialog.m_setup;
    return true;
}

void HostBase::SetDialogColors(uint32_t background, uint32_t text)
{
    m_dialogBackground = background;
    m_dialogText = text;
}
