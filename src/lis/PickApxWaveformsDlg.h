// The "Pick APX Waveforms" dialog: when the tool dictionary names none of an APX file's
// channels, the user assembles the waveforms from the file's channels: wave datums
// (one holding every receiver, or one per receiver), an optional gain datum, the
// receivers, the sample period and the waveform mnemonic.
#pragma once

#include "lis/WavePickDlg.h"
#include "res/PickApxWaveformsDlgIds.h"

#include <string>

class CPickApxWaveformsDlg : public CWavePickDlg {
public:
    using enum pick_apx::Control; // ids shared with the template
    enum Mnemonic : int { kNoMnemonic = -1, kWmno = 0, kWqud = 1 };

    CPickApxWaveformsDlg();

    std::string m_gain;        // the picked gain datum's mnemonic
    unsigned m_receivers = 0;  // 0 to 32
    float m_samplePeriod = 0;  // microseconds, 0.0 to 2048.0
    int m_mnemonic = kNoMnemonic;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnAddWave();
    void OnRemoveWave();
    void OnSetGain();
    void OnClearGain();
    void OnTransfer();
    void OnClearWave();

private:
    uint32_t m_nextKey = kFirstWaveformKey;
    int64_t m_gainKey = -1; // -1: no gain picked
};
