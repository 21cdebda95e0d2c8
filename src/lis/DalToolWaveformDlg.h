// The "DAL Tool Waveform" dialog: the user assembles DAL waveforms from a file's
// channels: four receiver datums, optional gain and start-time datums, the receivers,
// the sample period and the transmitter (near or far).
#pragma once

#include "lis/WavePickDlg.h"
#include "res/DalToolWaveformDlgIds.h"

#include <array>
#include <string>

class CDalToolWaveformDlg : public CWavePickDlg {
public:
    using enum dal_tool_waveform::Control; // ids shared with the template
    static constexpr int kRows = 4;        // R1 to R4
    enum Transmitter : int { kNoTransmitter = -1, kNear = 0, kFar = 1 };

    CDalToolWaveformDlg();

    std::string m_gain;       // the picked gain datum's mnemonic
    unsigned m_receivers = 0; // 0 to 32
    float m_samplePeriod = 0; // microseconds, 0.0 to 2048.0
    std::string m_start;      // the picked start-time datum's mnemonic
    int m_transmitter = kNoTransmitter;
    std::array<std::string, kRows> m_waves; // R1 to R4

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSetWave(int row);
    void OnClearWave(int row);
    void OnSetGain();
    void OnClearGain();
    void OnSetStart();
    void OnClearStart();
    void OnTransfer();
    void OnClearFromWaveList();

private:
    void ClearPicks();

    std::array<int64_t, kRows> m_waveKeys{}; // -1: none picked
    int64_t m_gainKey = -1;
    int64_t m_startKey = -1;
};
