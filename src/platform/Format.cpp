#include "platform/Format.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}

// Switches this thread to the C locale for the lifetime of the object.
class CLocaleScope {
public:
    CLocaleScope() : m_old(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_old); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_old;
};

bool OnlyBlanksFrom(const char* p)
{
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    return *p == '\0';
}

} // namespace

std::string FormatV(const char* format, va_list args)
{
    CLocaleScope scope;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) return std::string();
    if (size_t(needed) < sizeof small) return std::string(small, size_t(needed));
    std::string out(size_t(needed) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(size_t(needed));
    return out;
}

void FormatInto(std::string& out, const char* format, ...)
{
    CLocaleScope scope;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    // The string's whole capacity is offered; its terminator's place takes vsnprintf's.
    out.resize(out.capacity());
    const int needed = std::vsnprintf(out.data(), out.size() + 1, format, copy);
    va_end(copy);
    if (needed < 0) {
        out.clear();
    } else {
        if (size_t(needed) > out.size()) {
            out.resize(size_t(needed));
            std::vsnprintf(out.data(), out.size() + 1, format, args);
        }
        out.resize(size_t(needed));
    }
    va_end(args);
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = FormatV(format, args);
    va_end(args);
    return out;
}

double ParseDouble(const std::string& text, bool* ok)
{
    CLocaleScope scope;
    const char* start = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(start, &end);
    if (ok) *ok = end != start && OnlyBlanksFrom(end);
    return end != start ? v : 0.0;
}

long ParseLong(const std::string& text, bool* ok)
{
    const char* start = text.c_str();
    char* end = nullptr;
    const long v = std::strtol(start, &end, 10);
    if (ok) *ok = end != start && OnlyBlanksFrom(end);
    return end != start ? v : 0;
}
