// Control ids of the LSS Wave Sample Period dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddLssSamplePeriod = 32070;

namespace lss_period {
enum Control : int {
    kIdcWaveName = 1183,
    kIdcReceivers = 1184,
    kIdcSamples = 1185,
    kIdc4us = 1186, // the radio set: 4 uSec, 8 uSec, Other
    kIdc8us = 1187,
    kIdcOther = 1188,
    kIdcOtherPeriod = 1189,
};
} // namespace lss_period
