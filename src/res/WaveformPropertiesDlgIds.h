// Control ids of the Waveform Properties dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddWaveformProperties = 32061;

namespace waveform_properties {
enum Control : int {
    kIdcToolType = 1014,
    kIdcWaveName = 1015,
    kIdcReceivers = 1027,
    kIdcSamples = 1028,
    kIdcSamplePeriod = 1029,
    kIdcDataSet = 1030,
    kIdcFixedDelay = 1040,
    kIdcForeRunner = 1041,
    kIdcAfterRunner = 1042,
    kIdcDataOffset = 1043,
};
} // namespace waveform_properties
