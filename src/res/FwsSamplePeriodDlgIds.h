// Control ids of the FWS Wave Sample Period dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddFwsSamplePeriod = 32069;

namespace fws_period {
enum Control : int {
    kIdc4us = 1139, // the radio set: 4 uSec, 8 uSec, Other
    kIdc8us = 1140,
    kIdcOther = 1141,
    kIdcOtherPeriod = 1142,
    kIdcWaveName = 1143,
    kIdcReceivers = 1144,
    kIdcSamples = 1145,
};
} // namespace fws_period
