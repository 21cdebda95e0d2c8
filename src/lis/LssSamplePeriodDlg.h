// The "LSS Wave Sample Period" dialog: LSS files carry no usable sample period, so
// the LSS recogniser asks for each waveform's: 4 or 8 microseconds, or another whole
// number of them.
#pragma once

#include "platform/Dialog.h"
#include "res/LssSamplePeriodDlgIds.h"

#include <string>

class CLssSamplePeriodDlg : public CDialog {
public:
    using enum lss_period::Control; // ids shared with the template
    enum Choice : int { kChoice4us = 0, kChoice8us = 1, kChoiceOther = 2 };

    CLssSamplePeriodDlg();

    int m_periodChoice = -1;   // Choice; -1 none
    std::string m_receivers;   // shown only
    std::string m_samples;     // shown only
    std::string m_waveName;    // shown only
    unsigned m_otherPeriod = 0; // microseconds; with "Other", OK keeps it 1 to 256

    // The period the choice stands for; `current` for no choice.
    float ChosenPeriod(float current) const;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
};
