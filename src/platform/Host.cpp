#include "platform/Host.h"

#include <cstdio>

namespace {

// Without a desktop: messages go to stderr and every box takes its default answer.
class ConsoleHost : public IHost {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override
    {
        std::fprintf(stderr, "[%s] %s\n", caption.empty() ? DefaultCaption().c_str() : caption.c_str(),
                     text.c_str());
        return DefaultAnswer(type);
    }
};

ConsoleHost g_consoleHost;
IHost* g_host = &g_consoleHost;

} // namespace

IHost& Host() { return *g_host; }

IHost* SetHost(IHost* host)
{
    IHost* previous = g_host;
    g_host = host ? host : &g_consoleHost;
    return previous == &g_consoleHost ? nullptr : previous;
}

const std::string& DefaultCaption()
{
    static const std::string caption = "BronteluxViewer";
    return caption;
}

int MessageBox(const std::string& text, unsigned type, const std::string& caption)
{
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
