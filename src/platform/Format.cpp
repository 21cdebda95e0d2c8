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

namespace {

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms, no
// surrogates, nothing past U+10FFFF), or 0 when none starts there.
size_t Utf8SequenceAt(const std::string& text, size_t at)
{
    const auto byte = [&](size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned lead = byte(at);
    const auto follows = [&](size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
        return byte(i) >= low && byte(i) <= high;
    };
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return follows(at + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2) && follows(at + 3) ? 4 : 0;
    }
    return 0;
}

} // namespace

std::string ScreenText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (const size_t n = Utf8SequenceAt(text, i)) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i++]);
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
    return out;
}
