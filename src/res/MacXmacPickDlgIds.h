// Control ids of the MAC/XMAC Waveform Pick dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddMacXmacPick = 32062;

namespace mac_xmac_pick {
enum Control : int {
    kIdcDatumList = 1051,
    kIdcWaveList = 1052,
    kIdcGain = 1054,
    kIdcStart = 1055,
    kIdcAddWave = 1056,  // ----> beside "Wave:"
    kIdcSetGain = 1057,
    kIdcSetStart = 1058,
    kIdcTransfer = 1059, // to the wave list
    kIdcReceivers = 1060,
    kIdcSamplePeriod = 1061,
    kIdcClearStart = 1062,
    kIdcClearGain = 1063,
    kIdcRemoveWave = 1064,
    kIdcClearWave = 1065, // from the wave list
    kIdcDataSet = 1066,
    kIdcWmno = 1067, // the radio set: WMNO, WDXX, WDXY, WDYX, WDYY
    kIdcWdxx = 1068,
    kIdcWdxy = 1069,
    kIdcWdyx = 1070,
    kIdcWdyy = 1071,
    kIdcWaveDatums = 1208,
};
} // namespace mac_xmac_pick
