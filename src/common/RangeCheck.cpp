#include "common/RangeCheck.h"

#include "platform/Format.h"
#include "platform/Host.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <type_traits>

namespace {

std::string Capitalised(const char* name)
{
    std::string text = name;
    if (!text.empty()) text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// The value the upper end's edit means (DataExchange::NumberMeant), when it is one of
// its type; else the member (whose own exchange then reports the text).
template <typename T> T TypedUpper(const DataExchange& dx, int id, T member)
{
    if (!dx.Saving()) return member;
    const std::optional<double> v = dx.NumberMeant(id);
    if (!v || (std::is_same_v<T, float> && std::fabs(*v) > FLT_MAX)) return member;
    return T(*v);
}

template <typename T> void Exchange(DataExchange& dx, const RangeFields& r, T& lower, T& upper)
{
    const FieldLimits lowerField{r.lower, r.minValue, r.maxValue, r.unit};
    const FieldLimits upperField{r.upper, r.minValue, r.maxValue, r.unit};
    dx.Text(r.lowerId, lower);
    if (!CheckLimits(dx, r.lowerId, double(lower), lowerField)) return;
    if (!(lower < TypedUpper(dx, r.upperId, upper))) {
        dx.Fail(r.lowerId, Format("%s must be less then %s!", Capitalised(r.lower).c_str(), r.upper),
                MB_ICONEXCLAMATION);
        return;
    }
    dx.Text(r.upperId, upper);
    if (!CheckLimits(dx, r.upperId, double(upper), upperField)) return;
    if (!(lower < upper))
        dx.Fail(r.upperId, Format("%s must be greater then %s!", Capitalised(r.upper).c_str(), r.lower),
                MB_ICONEXCLAMATION);
}

} // namespace

bool CheckLimits(DataExchange& dx, int id, double value, const FieldLimits& f)
{
    if (dx.Failed()) return false;
    if (value >= f.minValue && value <= f.maxValue) return true;
    const std::string unit = *f.unit ? std::string(" ") + f.unit : std::string();
    return dx.Fail(id,
                   Format("You entered an invalid %s!.\nValid range : %.1f - %.1f%s.", f.name, f.minValue, f.maxValue,
                          unit.c_str()),
                   MB_ICONEXCLAMATION);
}

void ExchangeRange(DataExchange& dx, const RangeFields& range, float& lower, float& upper)
{
    Exchange(dx, range, lower, upper);
}

void ExchangeRange(DataExchange& dx, const RangeFields& range, double& lower, double& upper)
{
    Exchange(dx, range, lower, upper);
}
