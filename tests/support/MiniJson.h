// A small JSON reader for the test data's descriptions (objects, arrays, numbers,
// strings without \u escapes, true, false, null), strict about the grammar and safe
// on any input: every read is bounds-checked, nesting is limited, and a malformed text
// is an error, never a partial value.
#pragma once

#include <string>
#include <vector>

namespace minijson {

struct Member;

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool flag = false;    // Bool
    double number = 0.0;  // Number
    std::string text;     // String
    std::vector<Value> items;                           // Array
    std::vector<Member> members; // Object, in the text's order

    bool IsNull() const { return kind == Kind::Null; }
    bool IsNumber() const { return kind == Kind::Number; }
    // The member named `key` (the first of that name), or nullptr: not an object, or no such member.
    const Value* Find(const std::string& key) const;
};

// One member of an object. (A struct of its own, not a pair: a pair of a type not yet
// complete is refused by some standard libraries.)
struct Member {
    std::string first;
    Value second;
};

// Nesting deeper than this is refused: the descriptions are a few levels deep.
constexpr int kMostDepth = 64;

// Reads `text` whole; false, with where and why it stopped in `error`, where it is not
// one JSON value (blanks around it allowed).
bool Parse(const std::string& text, Value& out, std::string& error);

} // namespace minijson
