// The host: the services the system's code asks of its desktop (message boxes
// today; file dialogs, clock, settings and the rest join here). The Qt backend and
// the scripted test host implement it; system code reaches it through Host().
#pragma once

#include <string>

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

class IHost {
public:
    virtual ~IHost() = default;
    // Shows a modal message box and returns the button pressed. An empty caption
    // means the program's title.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
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
