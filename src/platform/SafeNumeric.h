// Numbers that came from a file on their way to an int, a float or a loop bound.
// NaN, infinities and values beyond the target's range are clamped here, so no
// conversion is undefined and no grid walk runs longer than what can be drawn.
// Viewers use these wherever a file value (a step, a depth, a sample, a count)
// or anything computed from one becomes a pixel, an index or a tick.
#pragma once

#include <cstdint>
#include <string_view>

// int(v) (truncation toward zero) for every double: beyond the int range it gives
// INT_MIN or INT_MAX, NaN gives `nanValue`.
int ClampToInt(double v, int nanValue = 0);

// float(v) for every double: beyond the float range it gives -FLT_MAX or FLT_MAX,
// NaN stays NaN.
float ClampToFloat(double v);

// Checks for a value that must arrive whole or be refused, rather than clamped:
// true when int(v) is defined (v is a number whose truncation lies in the int range).
bool FitsInt(double v);
// True when float(v) keeps what v is: NaN and infinities stay themselves, finite values
// within +-FLT_MAX round to the nearest float, a nonzero one to a nonzero float. False for
// a finite value beyond them, and for a nonzero one so small that it would become 0.
bool FitsFloat(double v);

// The ticks of an axis: the values first + k * step (k = 0, 1, ...) that lie in
// [lo, hi] (both ends included) and in the int range, in increasing order. Empty
// when step is not positive, lo or hi is NaN, or when more than maxCount values
// would lie in the range: a grid denser than the pixels it crosses shows nothing
// and is not walked.
//   for (int value : TickWalk(firstTick, labelStep, start, stop, plotWidth)) ...
class TickWalk {
public:
    TickWalk(int64_t first, int64_t step, double lo, double hi, int maxCount);

    int Count() const { return m_count; }
    int operator[](int i) const { return int(m_first + int64_t(i) * m_step); }

    class Iterator {
    public:
        Iterator(const TickWalk& walk, int i) : m_walk(&walk), m_i(i) {}
        int operator*() const { return (*m_walk)[m_i]; }
        Iterator& operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return m_i != other.m_i; }

    private:
        const TickWalk* m_walk;
        int m_i;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, m_count}; }

private:
    int64_t m_first = 0; // the first value inside the range
    int64_t m_step = 1;
    int m_count = 0;
};

// What a text holds as a number (C locale; what "%lf" writes and strtod reads, without
// the blanks around it).
enum class TextNumber : uint8_t {
    None,   // not one number: text that is not a number never becomes 0
    Number, // a number, "inf" and "nan" included
    Beyond, // a number whose magnitude no double holds: above its largest (1e999), or
            // nonzero below its least (1e-999), where strtod reports ERANGE
};
// Reads the whole of `text` as one number; `value` is set for Number only.
TextNumber ReadTextNumber(std::string_view text, double& value);
// True when ReadTextNumber gives Number.
bool ParseTextNumber(std::string_view text, double& value);
