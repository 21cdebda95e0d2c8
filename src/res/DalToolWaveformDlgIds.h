// Control ids of the DAL Tool Waveform dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddDalToolWaveform = 32066;

namespace dal_tool_waveform {
enum Control : int {
    kIdcSamplePeriod = 1106,
    kIdcWave1 = 1107,
    kIdcGain = 1108,
    kIdcReceivers = 1110,
    kIdcDataSet = 1111,
    kIdcNear = 1113, // the radio set: DAL Near, DAL Far
    kIdcFar = 1114,
    kIdcDatumList = 1116,
    kIdcWaveList = 1117,
    kIdcSetWave1 = 1118,
    kIdcSetGain = 1119,
    kIdcSetStart = 1120,
    kIdcClearWave1 = 1121,
    kIdcClearGain = 1122,
    kIdcClearStart = 1123,
    kIdcTransfer = 1124,  // to the wave list
    kIdcClearWave = 1125, // from the wave list
    kIdcStart = 1126,
    kIdcWave2 = 1127,
    kIdcWave3 = 1128,
    kIdcWave4 = 1129,
    kIdcSetWave2 = 1130,
    kIdcSetWave3 = 1131,
    kIdcSetWave4 = 1132,
    kIdcClearWave2 = 1133,
    kIdcClearWave3 = 1134,
    kIdcClearWave4 = 1135,
};
// The four receiver rows: field, ----> and <---- of R1 to R4.
constexpr int kWaveFields[4] = {kIdcWave1, kIdcWave2, kIdcWave3, kIdcWave4};
constexpr int kSetWaves[4] = {kIdcSetWave1, kIdcSetWave2, kIdcSetWave3, kIdcSetWave4};
constexpr int kClearWaves[4] = {kIdcClearWave1, kIdcClearWave2, kIdcClearWave3, kIdcClearWave4};
} // namespace dal_tool_waveform
