// The "BAT Waveform Properties" dialog: the BAT counterpart of the Waveform
// Properties dialog, whose sample period is one of the tool's two rates or another.
#pragma once

#include "lis/LisRecognise.h"
#include "platform/Dialog.h"
#include "res/BatWaveformPropertiesDlgIds.h"

#include <string>

class CWaveformPickItem;

class CBatWaveformPropertiesDlg : public CDialog {
public:
    using enum bat_waveform::Control; // ids shared with the template
    // The buttons "5 uSec" and "10 uSec" stand for the tool's two rates.
    enum Choice : int { kChoiceHigh = 0, kChoiceLow = 1, kChoiceOther = 2 };
    static constexpr float kHighPeriod = lis::recognise::kBatHighPeriod;
    static constexpr float kLowPeriod = lis::recognise::kBatLowPeriod;

    CBatWaveformPropertiesDlg();

    float m_dataOffset = 0;     // -32768 to 32768 A/D bits
    std::string m_dataSet;      // shown only
    unsigned m_samples = 0;     // 0 to 2048
    std::string m_waveform;     // shown only
    int m_periodChoice = -1;    // Choice; -1 none
    float m_otherPeriod = 0;    // 0.0 to 256.0 microseconds
    unsigned m_receivers = 0;   // 0 to 32
    unsigned m_fixedDelay = 0;  // 0 to 2048 samples
    unsigned m_foreRunner = 0;  // 0 to 2048 samples
    unsigned m_afterRunner = 0; // 0 to 2048 samples

    // Shows the BAT `item` of the data set `dataSet` and copies back what the dialog
    // holds when it ends, whatever button ends it. True when the receivers, samples or
    // period choice changed, or the choice is "Other" (its period is taken anew).
    bool EditItem(CWaveformPickItem& item, const std::string& dataSet);

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
};
