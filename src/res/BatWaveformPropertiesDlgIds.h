// Control ids of the BAT Waveform Properties dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddBatWaveformProperties = 32063;

namespace bat_waveform {
enum Control : int {
    kIdcDataOffset = 1031,
    kIdcSamples = 1032,
    kIdcReceivers = 1033,
    kIdc5us = 1034, // the radio set: "5 uSec" (4.8), "10 uSec" (9.6), Other
    kIdc10us = 1035,
    kIdcOther = 1036,
    kIdcOtherPeriod = 1037,
    kIdcDataSet = 1038,
    kIdcWaveform = 1039,
    kIdcFixedDelay = 1085,
    kIdcForeRunner = 1086,
    kIdcAfterRunner = 1087,
};
} // namespace bat_waveform
