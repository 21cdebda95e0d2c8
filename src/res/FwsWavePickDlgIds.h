// Control ids of the FWS Wave Pick dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddFwsWavePick = 148;

namespace fws_pick {
enum Control : int {
    kIdcDatumList = 1146,
    kIdcWaveList = 1147,
    kIdcPacked = 1148, // the radio set: Packed, Individual
    kIdcIndividual = 1149,
    kIdc4us = 1150, // the radio set: 4 uSec, 8 uSec, Other
    kIdc8us = 1151,
    kIdcOther = 1152,
    kIdcOtherPeriod = 1153,
    kIdcWave1 = 1154,
    kIdcWave2 = 1155,
    kIdcWave3 = 1156,
    kIdcWave4 = 1157,
    kIdcGain1 = 1158,
    kIdcGain2 = 1159,
    kIdcGain3 = 1160,
    kIdcGain4 = 1161,
    kIdcTransfer = 1162, // To Wave List
    kIdcSetWave1 = 1163,
    kIdcSetWave2 = 1164,
    kIdcSetWave3 = 1165,
    kIdcSetWave4 = 1166,
    kIdcClearWaveList = 1167,
    kIdcClearRow1 = 1168,
    kIdcClearRow2 = 1169,
    kIdcClearRow3 = 1170,
    kIdcClearRow4 = 1171,
    kIdcSetGain1 = 1172,
    kIdcSetGain2 = 1173,
    kIdcSetGain3 = 1174,
    kIdcSetGain4 = 1175,
    kIdcDataSet = 1176,
};
constexpr int kRows = 4;
// Per row R1 to R4: its wave and gain fields and its buttons.
constexpr int kWaveFields[kRows] = {kIdcWave1, kIdcWave2, kIdcWave3, kIdcWave4};
constexpr int kGainFields[kRows] = {kIdcGain1, kIdcGain2, kIdcGain3, kIdcGain4};
constexpr int kSetWaves[kRows] = {kIdcSetWave1, kIdcSetWave2, kIdcSetWave3, kIdcSetWave4};
constexpr int kSetGains[kRows] = {kIdcSetGain1, kIdcSetGain2, kIdcSetGain3, kIdcSetGain4};
constexpr int kClearRows[kRows] = {kIdcClearRow1, kIdcClearRow2, kIdcClearRow3, kIdcClearRow4};
} // namespace fws_pick
