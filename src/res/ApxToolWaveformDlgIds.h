// Control ids of the APX Tool Waveform dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddApxToolWaveform = 32064;

namespace apx_tool_waveform {
enum Control : int {
    kIdcReceivers = 1073,
    kIdcSamples = 1074,
    kIdcSamplePeriod = 1075,
    kIdcDataSet = 1076,
    kIdcPrompt = 1077,
    kIdcFixedDelay = 1078,
    kIdcForeRunner = 1079,
    kIdcAfterRunner = 1080,
    kIdcDataOffset = 1081,
    kIdcApxMono = 1082, // the radio set: APXMONO, APXQUAD
    kIdcApxQuad = 1083,
    kIdcWaveform = 1084,
};
} // namespace apx_tool_waveform
