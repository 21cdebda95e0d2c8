// The domain a view or a depth profile shows. Setups keep the enum and decide by it;
// the text is only what lists and captions show, turned into the enum where it comes in,
// so rewording a label changes nothing else.
#pragma once

#include <cstdint>
#include <string_view>

// The first four keep the numbers of the views' domain codes (1 to 4). kNone, a
// value-initialised group's, names no domain.
enum class ViewDomain : uint8_t { kNone = 0, kTime, kFrequency, kSlowness, kAzimuth, kTimeFrequency };

// The listed and captioned text: "Time" .. "Time/Frequency", "" for kNone.
constexpr const char* ViewDomainName(ViewDomain domain)
{
    switch (domain) {
    case ViewDomain::kTime: return "Time";
    case ViewDomain::kFrequency: return "Frequency";
    case ViewDomain::kSlowness: return "Slowness";
    case ViewDomain::kAzimuth: return "Azimuth";
    case ViewDomain::kTimeFrequency: return "Time/Frequency";
    case ViewDomain::kNone: break;
    }
    return "";
}

// The domain of a listed text; kNone for any text that names none.
constexpr ViewDomain ViewDomainOfName(std::string_view name)
{
    for (ViewDomain d : {ViewDomain::kTime, ViewDomain::kFrequency, ViewDomain::kSlowness, ViewDomain::kAzimuth,
                         ViewDomain::kTimeFrequency})
        if (name == ViewDomainName(d)) return d;
    return ViewDomain::kNone;
}

// The views' domain code (1 to 4) of a single domain; 0 for kNone and kTimeFrequency.
constexpr int ViewDomainCode(ViewDomain domain)
{
    return domain >= ViewDomain::kTime && domain <= ViewDomain::kAzimuth ? int(domain) : 0;
}

// The domain of a views' domain code (1 to 4); kNone for any other number.
constexpr ViewDomain ViewDomainOfCode(int code)
{
    return code >= int(ViewDomain::kTime) && code <= int(ViewDomain::kAzimuth) ? ViewDomain(code) : ViewDomain::kNone;
}
