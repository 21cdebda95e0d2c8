// The "MAC/XMAC Waveform Pick" dialog: when a MAC or XMAC file has no usable DIM table,
// the user assembles the waveforms from the file's channels: wave datums (one holding
// every receiver, or one per receiver), optional gain and start-time datums, the
// receivers, the sample period and the waveform mnemonic.
#pragma once

#include "lis/WaveDatumPickDlg.h"
#include "res/MacXmacPickDlgIds.h"

#include <string>

// m_mnemonic: WMNO, WDXX, WDXY, WDYX, WDYY; -1 none.
class CMacXmacPickDlg : public CWaveDatumPickDlg<mac_xmac_pick::Control> {
public:
    using enum mac_xmac_pick::Control; // ids shared with the template

    CMacXmacPickDlg();

    std::string m_start; // the picked start-time datum's mnemonic

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSetStart();
    void OnClearStart();
    void OnTransfer() override;
    void OnClearWave() override;

private:
    int64_t m_startKey = -1; // -1: none picked
};
