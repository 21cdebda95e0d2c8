// The host: the services the system's code asks of its desktop. The Qt backend and
// the scripted test host implement it; system code reaches it through Host().
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CDialog;
class IPrintJob;
struct PageSetup;

// Message-box buttons and icons (low nibble buttons, next nibble icon).
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = MB_ICONSTOP,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONINFORMATION = 0x40,
    MB_TYPEMASK = 0xF,
    MB_ICONMASK = 0xF0,
};

// Standard answer codes.
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// File dialog flags.
enum : unsigned {
    kHideReadOnly = 0x1,
    kOverwritePrompt = 0x2,
    kPathMustExist = 0x4,
    kFileMustExist = 0x8,
};

struct FileDialogOptions {
    bool open = true;        // false: a save dialog
    std::string title;       // empty: "Open" or "Save As"
    std::string filter;      // "desc|pattern|...|" or the zero-separated form
    std::string initialName; // a file name or a full path
    std::string defaultExt;  // without the dot
    unsigned flags = kHideReadOnly;
};

struct FileDialogResult {
    bool ok = false;
    std::string path;     // full path
    std::string fileName; // with extension
    std::string title;    // without extension
    std::string ext;      // without the dot
};

// The parts of a chosen path; a save dialog's default extension is appended
// when the name has none.
FileDialogResult MakeFileDialogResult(const std::string& path, const std::string& defaultExt = std::string());

// (description, pattern) pairs of a filter in either of its two forms.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter);

class IHost {
public:
    virtual ~IHost() = default;

    // Modal message box; an empty caption means the program's title.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
    // A box held back while a window painted, shown now that the paint is over. A
    // backend whose paint runs inside the toolkit's paint event shows it from the
    // event loop instead, so no box ever runs its loop inside a paint.
    virtual void ShowHeldMessage(const std::string& text, const std::string& caption, unsigned type)
    {
        MessageBox(text, caption, type);
    }
    virtual FileDialogResult FileDialog(const FileDialogOptions& options) = 0;
    // Folder choice: true with the chosen folder in `folder` (in: the initial one).
    virtual bool ChooseFolder(const std::string& title, std::string& folder) = 0;
    // Opens a file or URL with the desktop's own program.
    virtual bool ShellOpen(const std::string& target) = 0;

    virtual uint64_t TickCount() = 0; // milliseconds since an arbitrary start
    virtual std::string CurrentDirectory() = 0;
    virtual bool SetCurrentDirectory(const std::string& path) = 0;
    virtual std::string TempDirectory() = 0;

    // The settings profile, in place of the registry.
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue) = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;

    // Processes waiting user-interface events (long loops call it between steps).
    virtual void PumpEvents() = 0;

    // Dialogs: a modal run returns the end code; a modeless dialog stays until destroyed.
    virtual int RunModal(CDialog& dialog) = 0;
    virtual bool CreateModeless(CDialog& dialog) = 0;
    virtual void DestroyModeless(CDialog& dialog) = 0;
    // A modeless dialog's controls changed outside any handler (a progress step).
    virtual void DialogChanged(CDialog& dialog) = 0;

    // The main window, which long operations disable while they run.
    virtual bool HasMainWindow() = 0;
    virtual bool IsMainWindowEnabled() = 0;
    virtual void EnableMainWindow(bool enable) = 0;

    // Printing: the printer set-up (true when the user took a page), and a job that
    // draws pages on the page chosen there (nullptr when the user cancelled or no
    // printer can be had).
    virtual bool PrinterSetup() = 0;
    virtual std::unique_ptr<IPrintJob> CreatePrintJob(const std::string& documentName) = 0;
    // The page every job is made for: A4 portrait at 300 dpi until the user chooses.
    virtual const PageSetup& PrinterPage() const = 0;
    virtual void SetPrinterPage(const PageSetup& page) = 0;

    // Look of dialogs: background and text colours (0x00BBGGRR).
    virtual void SetDialogColors(uint32_t background, uint32_t text) = 0;
    // The organisation under which the settings profile is kept.
    virtual void SetProfileOrganisation(const std::string& name) = 0;
};

// Common behaviour of hosts that run on the real machine: clock, directories, and
// an in-memory profile. Backends override what they do differently.
class HostBase : public IHost {
public:
    HostBase();
    ~HostBase() override;
    FileDialogResult FileDialog(const FileDialogOptions& options) override;
    bool ChooseFolder(const std::string& title, std::string& folder) override;
    bool ShellOpen(const std::string& target) override;
    uint64_t TickCount() override;
    std::string CurrentDirectory() override;
    bool SetCurrentDirectory(const std::string& path) override;
    std::string TempDirectory() override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    void PumpEvents() override {}
    int RunModal(CDialog& dialog) override;
    bool CreateModeless(CDialog& dialog) override;
    void DestroyModeless(CDialog& dialog) override;
    void DialogChanged(CDialog&) override {}
    bool HasMainWindow() override;
    bool IsMainWindowEnabled() override;
    void EnableMainWindow(bool enable) override;
    // Runs the Printer Setup dialog on the current page; OK takes the choice.
    bool PrinterSetup() override;
    std::unique_ptr<IPrintJob> CreatePrintJob(const std::string& documentName) override;
    const PageSetup& PrinterPage() const override;
    void SetPrinterPage(const PageSetup& page) override;
    void SetDialogColors(uint32_t background, uint32_t text) override;
    void SetProfileOrganisation(const std::string& name) override { m_organisation = name; }
    uint32_t DialogBackground() const { return m_dialogBackground; }
    uint32_t DialogText() const { return m_dialogText; }
    const std::string& ProfileOrganisation() const { return m_organisation; }

protected:
    std::map<std::pair<std::string, std::string>, std::string> m_profile;
    std::unique_ptr<PageSetup> m_printerPage;
    uint32_t m_dialogBackground = 0x00C0C0C0;
    uint32_t m_dialogText = 0;
    std::string m_organisation;
};

// The installed host; a console host (stderr, default answers) until one is set.
IHost& Host();
// Installs a host (nullptr restores the console host); returns the previous one.
IHost* SetHost(IHost* host);

// The caption used when a message box is given none ("BronteluxViewer").
const std::string& DefaultCaption();

// Shorthand for the system's message boxes.
int MessageBox(const std::string& text, unsigned type = MB_OK, const std::string& caption = std::string());

// The answer a box gives when nobody is there to press a button: OK, else No, else Cancel.
int DefaultAnswer(unsigned type);

// While one lives, MessageBox shows nothing: the raiser gets the default answer and the
// text is kept here. A file nobody chose just now is judged by the reader that would
// refuse it, without a word to the user.
class QuietMessages {
public:
    QuietMessages();
    ~QuietMessages();
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

    // The texts held back, first to last.
    const std::vector<std::string>& Texts() const { return m_texts; }
    void Keep(const std::string& text) { m_texts.push_back(text); }

private:
    QuietMessages* m_outer;
    std::vector<std::string> m_texts;
};

// How every backend's message box shows a text. One that fits a screen (kMessageRows
// rows of kMessageColumns characters, its long lines wrapped) is shown as it stands. A
// longer one (an import's lists of 200 curves) would push the box and its buttons off
// the screen: its first kSummaryLines lines, each cut to a row ("Renamed 200 curve(s)
// whose ...: ..."), stand above a scrolled area that holds the whole text, to read and
// to copy.
inline constexpr size_t kMessageColumns = 80;
inline constexpr size_t kMessageRows = 24;
inline constexpr size_t kSummaryLines = 12;
struct MessageLayout {
    std::string summary;  // above: the text itself where it fits
    std::string scrolled; // the whole text where it does not fit, else ""
};
MessageLayout LayOutMessage(const std::string& text);

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
bool WriteProfileInt(const std::string& section, const std::string& entry, int value);

// Installs a host for the lifetime of the object.
class ScopedHost {
public:
    explicit ScopedHost(IHost* host) : m_previous(SetHost(host)) {}
    ~ScopedHost() { SetHost(m_previous); }
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

private:
    IHost* m_previous;
};
