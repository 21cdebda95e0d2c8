// The "MAC/XMAC Waveform Pick" dialog: when a MAC or XMAC file has no usable DIM table,
// the user assembles the waveforms from the file's channels: wave datums (one holding
// every receiver, or one per receiver), optional gain and start-time datums, the
// receivers, the sample period and the waveform mnemonic.
#pragma once

#include "lis/WavePickDlg.h"
#include "res/MacXmacPickDlgIds.h"

#include <string>

class CMacXmacPickDlg : public CWavePickDlg {
public:
    using enum mac_xmac_pick::Control; // ids shared with the template

    CMacXmacPickDlg();

    std::string m_gain;       // the picked gain datum's mnemonic
    unsigned m_receivers = 0; // 0 to 32
    float m_samplePeriod = 0; // microseconds, 0.0 to 2048.0
    std::string m_start;      // the picked start-time datum's mnemonic
    int m_mnemonic = -1;      // WMNO, WDXX, WDXY, WDYX, WDYY; -1 none

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnAddWave();
    void OnRemoveWave();
    void OnSetGain();
    void OnClearGain();
    void OnSetStart();
    void OnClearStart();
    void OnTransfer();
    void OnClearWave();

private:
    uint32_t m_nextKey = kFirstWaveformKey;
    int64_t m_gainKey = -1;  // -1: none picked
    int64_t m_startKey = -1;
};
