// The "Pick APX Waveforms" dialog: when the tool dictionary names none of an APX file's
// channels, the user assembles the waveforms from the file's channels: wave datums
// (one holding every receiver, or one per receiver), an optional gain datum, the
// receivers, the sample period and the waveform mnemonic.
#pragma once

#include "lis/WaveDatumPickDlg.h"
#include "res/PickApxWaveformsDlgIds.h"

#include <string>

class CPickApxWaveformsDlg : public CWaveDatumPickDlg<pick_apx::Control> {
public:
    using enum pick_apx::Control; // ids shared with the template
    enum Mnemonic : int { kNoMnemonic = -1, kWmno = 0, kWqud = 1 }; // m_mnemonic's choices

    CPickApxWaveformsDlg();

    void DoDataExchange(DataExchange& dx) override;
    void OnTransfer() override;
    void OnClearWave() override;
};
