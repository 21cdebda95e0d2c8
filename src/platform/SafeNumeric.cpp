#include "platform/SafeNumeric.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>

int ClampToInt(double v, int nanValue)
{
    if (std::isnan(v)) return nanValue;
    if (v <= double(INT_MIN)) return INT_MIN;
    if (v >= double(INT_MAX)) return INT_MAX;
    return int(v);
}

float ClampToFloat(double v)
{
    if (std::isnan(v)) return float(v);
    if (v >= double(FLT_MAX)) return FLT_MAX;
    if (v <= -double(FLT_MAX)) return -FLT_MAX;
    return float(v);
}

bool FitsInt(double v) { return v > double(INT_MIN) - 1.0 && v < double(INT_MAX) + 1.0; }

bool FitsFloat(double v)
{
    return !std::isfinite(v) || (std::fabs(v) <= double(FLT_MAX) && (v == 0.0 || float(v) != 0.0f));
}

TickWalk::TickWalk(int64_t first, int64_t step, double lo, double hi, int maxCount)
{
    // Whole numbers below 2^52 keep every quotient below exact in double, give or take
    // the one step the corrections below take back.
    constexpr int64_t kExact = int64_t(1) << 52;
    if (step <= 0 || step > kExact || first > kExact || first < -kExact || maxCount <= 0 || std::isnan(lo)
        || std::isnan(hi))
        return;
    lo = std::fmax(lo, double(INT_MIN));
    hi = std::fmin(hi, double(INT_MAX));
    if (hi < lo) return;
    auto value = [&](int64_t k) { return double(first + k * step); };
    int64_t k0 = int64_t(std::fmax(std::ceil((lo - double(first)) / double(step)), 0.0));
    int64_t k1 = int64_t(std::floor((hi - double(first)) / double(step)));
    while (k0 > 0 && value(k0 - 1) >= lo) --k0;
    while (value(k0) < lo) ++k0;
    while (value(k1 + 1) <= hi) ++k1;
    while (k1 >= k0 && value(k1) > hi) --k1;
    if (k1 < k0 || k1 - k0 >= int64_t(maxCount)) return;
    m_first = first + k0 * step;
    m_step = step;
    m_count = int(k1 - k0 + 1);
}

namespace {

TextNumber ParseAnyNumber(const char* first, const char* last, double& value)
{
    // from_chars takes a minus sign only.
    if (first != last && *first == '+' && ++first != last && (*first == '-' || *first == '+')) return TextNumber::None;
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (end != last) return TextNumber::None;
    // A whole number text whose magnitude double cannot hold, either way.
    if (error == std::errc::result_out_of_range) return TextNumber::Beyond;
    if (error != std::errc()) return TextNumber::None;
    value = parsed;
    return TextNumber::Number;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

bool ParseTextNumber(std::string_view text, double& value) { return ReadTextNumber(text, value) == TextNumber::Number; }

TextNumber ReadTextNumber(std::string_view text, double& value)
{
    // Most numbers in logs are plain decimals of a few digits. When their digits, read as
    // a whole number, stay below 2^53 (and at most 22 of them follow the point), that
    // number and the power of ten are exact doubles, and one division rounds their
    // quotient exactly as the full parser would. Everything else goes to the full parser.
    const char* const last = text.data() + text.size();
    if (text.size() <= 19) { // at most 19 digits: their whole number fits 64 bits
        const char* p = text.data();
        const bool negative = p != last && *p == '-';
        p += p != last && (*p == '-' || *p == '+');
        uint64_t digits = 0;
        const char* const start = p;
        while (p != last && unsigned(*p - '0') < 10) digits = digits * 10 + unsigned(*p++ - '0');
        const bool whole = p != start;
        int decimals = 0;
        if (p != last && *p == '.') {
            const char* const fraction = ++p;
            while (p != last && unsigned(*p - '0') < 10) digits = digits * 10 + unsigned(*p++ - '0');
            decimals = int(p - fraction);
        }
        if (p == last && (whole || decimals > 0) && digits < (uint64_t(1) << 53)) {
            const double v = double(digits) / kPowersOfTen[decimals];
            value = negative ? -v : v;
            return TextNumber::Number;
        }
    }
    return ParseAnyNumber(text.data(), last, value);
}
