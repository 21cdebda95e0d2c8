// The "FWS Wave Pick" dialog: when the tool dictionary names none of an FWS file's
// channels, the user assembles its four-receiver waveforms: one packed datum, or four
// individual datums with none or four gain datums, and the sample period.
#pragma once

#include "lis/WavePickDlg.h"
#include "res/FwsWavePickDlgIds.h"

#include <array>
#include <string>

class CFwsWavePickDlg : public CWavePickDlg {
public:
    using enum fws_pick::Control; // ids shared with the template
    static constexpr int kRows = fws_pick::kRows;
    enum WaveformType : int { kPacked = 0, kIndividual = 1 };
    enum Choice : int { kChoice4us = 0, kChoice8us = 1, kChoiceOther = 2 };

    CFwsWavePickDlg();

    std::array<std::string, kRows> m_waves; // R1 to R4
    std::array<std::string, kRows> m_gains;
    int m_periodChoice = -1;      // Choice; -1 none
    unsigned m_otherPeriod = 0;   // microseconds; with "Other", 1 to 256
    int m_waveformType = kPacked;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnWaveformType();
    void OnSetWave(int row);
    void OnSetGain(int row);
    void OnClearRow(int row);
    void OnTransfer();
    void OnClearWaveList();

private:
    void EnableRows();
    void ClearRows();

    std::array<int64_t, kRows> m_waveKeys{}; // -1: none picked
    std::array<int64_t, kRows> m_gainKeys{};
};
