#include "platform/NumberText.h"

#include "platform/Format.h"

#include <cmath>

int StepDecimals(double step)
{
    if (!std::isfinite(step)) return 4;
    if (step == 0.0) return 0;
    // Steps are often stored as floats: 2.54 reads 2.5399999618, a whole 254 hundredths.
    double scaled = std::fabs(step);
    for (int decimals = 0; decimals < 4; ++decimals, scaled *= 10.0)
        if (std::round(scaled) >= 1.0 && std::fabs(scaled - std::round(scaled)) <= 1e-5 * scaled) return decimals;
    return 4;
}

int FloatDecimals(float value)
{
    constexpr int kMostDecimals = 6;
    if (!std::isfinite(value)) return 1;
    for (int decimals = 1; decimals < kMostDecimals; ++decimals)
        if (float(ParseDouble(Format("%.*f", decimals, double(value)))) == value) return decimals;
    return kMostDecimals;
}
