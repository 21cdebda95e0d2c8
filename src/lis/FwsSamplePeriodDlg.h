// The "FWS Wave Sample Period" dialog: FWS files carry no sample period, so the FWS
// recogniser asks for each waveform's: 4 or 8 microseconds, or another whole number.
#pragma once

#include "platform/Dialog.h"
#include "res/FwsSamplePeriodDlgIds.h"

#include <string>

class CFwsSamplePeriodDlg : public CDialog {
public:
    using enum fws_period::Control; // ids shared with the template
    enum Choice : int { kChoice4us = 0, kChoice8us = 1, kChoiceOther = 2 };

    CFwsSamplePeriodDlg();

    int m_periodChoice = -1;    // Choice; -1 none
    std::string m_samples;      // shown only
    std::string m_waveName;     // shown only
    std::string m_receivers;    // shown only
    unsigned m_otherPeriod = 0; // microseconds; with "Other", OK keeps it 1 to 256

    // The period the choice stands for; `current` for no choice.
    float ChosenPeriod(float current) const;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
};
