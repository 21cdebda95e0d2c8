#include "support/MiniJson.h"

#include <charconv>
#include <cmath>
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
        case '{': return Members(out, depth, '}');
        case '[': return Members(out, depth, ']');
        case '"': out.kind = Value::Kind::String; return String(out.text);
        case 't': out.kind = Value::Kind::Bool; out.flag = true; return Word("true");
        case 'f': out.kind = Value::Kind::Bool; return Word("false");
        case 'n': return Word("null");
        default: out.kind = Value::Kind::Number; return Number(out.number);
        }
    }

    // An object's members or an array's items, up to `close`.
    bool Members(Value& out, int depth, char close)
    {
        const bool object = close == '}';
        out.kind = object ? Value::Kind::Object : Value::Kind::Array;
        ++m_at; // '{' or '['
        Blanks();
        if (Take(close)) return true;
        for (;;) {
            Blanks();
            Value* value = nullptr;
            if (object) {
                std::string key;
                if (Peek() != '"') return Fail("a member without a quoted name");
                if (!String(key)) return false;
                Blanks();
                if (!Take(':')) return Fail("a member without ':'");
                Blanks();
                out.members.push_back({std::move(key), Value()});
                value = &out.members.back().second;
            } else {
                value = &out.items.emplace_back();
            }
            if (!Read(*value, depth + 1)) return false;
            Blanks();
            if (Take(close)) return true;
            if (!Take(',')) return Fail("a list without ',' or its closing bracket");
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
        default: return Fail("an escape this reader does not take (the descriptions need no \\u)");
        }
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
