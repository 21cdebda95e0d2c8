// Control ids of the Pick APX Waveforms dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddPickApxWaveforms = 32071;

namespace pick_apx {
enum Control : int {
    kIdcAddWave = 1193,    // ----> beside "Wave"
    kIdcRemoveWave = 1194, // <----
    kIdcSetGain = 1195,
    kIdcClearGain = 1196,
    kIdcDatumList = 1197,
    kIdcWaveList = 1198,
    kIdcWaveDatums = 1199,
    kIdcTransfer = 1200,     // to the wave list
    kIdcClearWave = 1201,    // from the wave list
    kIdcGain = 1202,
    kIdcReceivers = 1203,
    kIdcSamplePeriod = 1204,
    kIdcWmno = 1205, // the radio set: WMNO, WQUD
    kIdcWqud = 1206,
    kIdcDataSet = 1207,
};
} // namespace pick_apx
