#include "support/MiniJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace minijson {

const Value* Value::Find(const std::string& key) const
{
    if (kind != Kind::Object) return nullptr;
    for (const auto& [name, value] : members)
        if (name == key) return &value;
    return nullptr;
}

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    bool Document(Value& out)
    {
        Blanks();
        if (!Read(out, 0)) return false;
        Blanks();
        return m_at == m_text.size() || Fail("text after the value");
    }

    std::string Error() const { return m_error; }

private:
    const std::string& m_text;
    size_t m_at = 0;
    std::string m_error;

    bool Fail(const char* why)
    {
        if (m_error.empty()) {
            char where[32];
            std::snprintf(where, sizeof where, " at byte %zu", m_at);
            m_error = std::string(why) + where;
        }
        return false;
    }
    bool More() const { return m_at < m_text.size(); }
    char Peek() const { return More() ? m_text[m_at] : '\0'; }
    bool Take(char c)
    {
        if (!More() || m_text[m_at] != c) return false;
        ++m_at;
        return true;
    }
    void Blanks()
    {
        while (More() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) ++m_at;
    }
    bool Word(const char* word)
    {
        for (const char* c = word; *c; ++c)
            if (!Take(*c)) return Fail("a misspelt literal");
        return true;
    }

    bool Read(Value& out, int depth)
    {
        if (depth >= kMostDepth) return Fail("nesting too deep");
        out = Value();
        switch (Peek()) {
        case '{': return Object(out, depth);
        case '[': return Array(out, depth);
        case '"': out.kind = Value::Kind::String; return String(out.text);
        case 't': out.kind = Value::Kind::Bool; out.flag = true; return Word("true");
        case 'f': out.kind = Value::Kind::Bool; return Word("false");
        case 'n': return Word("null");
        default: out.kind = Value::Kind::Number; return Number(out.number);
        }
    }

    bool Object(Value& out, int depth)
    {
        out.kind = Value::Kind::Object;
        ++m_at; // '{'
        Blanks();
        if (Take('}')) return true;
        for (;;) {
            Blanks();
            std::string key;
            if (Peek() != '"') return Fail("a member without a quoted name");
            if (!String(key)) return false;
            Blanks();
            if (!Take(':')) return Fail("a member without ':'");
            Blanks();
            out.members.push_back({std::move(key), Value()});
            if (!Read(out.members.back().second, depth + 1)) return false;
            Blanks();
            if (Take('}')) return true;
            if (!Take(',')) return Fail("an object without ',' or '}'");
        }
    }

    bool Array(Value& out, int depth)
    {
        out.kind = Value::Kind::Array;
        ++m_at; // '['
        Blanks();
        if (Take(']')) return true;
        for (;;) {
            Blanks();
            out.items.emplace_back();
            if (!Read(out.items.back(), depth + 1)) return false;
            Blanks();
            if (Take(']')) return true;
            if (!Take(',')) return Fail("an array without ',' or ']'");
        }
    }

    bool Digits()
    {
        const size_t from = m_at;
        while (More() && m_text[m_at] >= '0' && m_text[m_at] <= '9') ++m_at;
        return m_at > from;
    }

    // JSON's grammar first, then the conversion, which is the same in every locale.
    bool Number(double& out)
    {
        const size_t from = m_at;
        Take('-');
        if (Take('0')) {
            if (Peek() >= '0' && Peek() <= '9') return Fail("a number with a leading zero");
        } else if (!Digits()) {
            return Fail("no value");
        }
        if (Take('.') && !Digits()) return Fail("a number without digits after '.'");
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!Digits()) return Fail("a number without an exponent");
        }
        const char* first = m_text.data() + from;
        const char* last = m_text.data() + m_at;
        const auto [end, ec] = std::from_chars(first, last, out);
        if (ec != std::errc() || end != last || !std::isfinite(out)) return Fail("a number out of range");
        return true;
    }

    bool Hex4(uint32_t& out)
    {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            if (!More()) return Fail("a cut \\u escape");
            const char c = m_text[m_at];
            const int v = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (v < 0) return Fail("a \\u escape of no hex digits");
            out = out * 16 + uint32_t(v);
            ++m_at;
        }
        return true;
    }

    static void Utf8(std::string& out, uint32_t c)
    {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }

    bool Escape(std::string& out)
    {
        if (!More()) return Fail("a cut escape");
        const char c = m_text[m_at];
        ++m_at;
        switch (c) {
        case '"': case '\\': case '/': out += c; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return Fail("an unknown escape");
        }
        uint32_t code = 0;
        if (!Hex4(code)) return false;
        if (code >= 0xDC00 && code <= 0xDFFF) return Fail("a lone low surrogate");
        if (code >= 0xD800 && code <= 0xDBFF) {
            uint32_t low = 0;
            if (!Take('\\') || !Take('u')) return Fail("a high surrogate alone");
            if (!Hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return Fail("a high surrogate without its low one");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        Utf8(out, code);
        return true;
    }

    bool String(std::string& out)
    {
        ++m_at; // '"'
        for (;;) {
            if (!More()) return Fail("a string without its closing quote");
            const char c = m_text[m_at];
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return Fail("a control character in a string");
            ++m_at;
            if (c != '\\') out += c;
            else if (!Escape(out)) return false;
        }
    }
};

} // namespace

bool Parse(const std::string& text, Value& out, std::string& error)
{
    Reader reader(text);
    Value value;
    if (!reader.Document(value)) {
        error = reader.Error();
        out = Value();
        return false;
    }
    out = std::move(value);
    error.clear();
    return true;
}

} // namespace minijson
