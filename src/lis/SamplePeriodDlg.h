// What the FWS and LSS wave-sample-period dialogs share: their files carry no usable
// sample period, so the recogniser asks for each waveform's: 4 or 8 microseconds, or
// another whole number of them. The wave's name, receivers and samples are shown.
#pragma once

#include "platform/Dialog.h"

#include <cstddef>
#include <string>

class CSamplePeriodDlg : public CDialog {
public:
    enum Choice : int { kChoice4us = 0, kChoice8us = 1, kChoiceOther = 2 };

    int m_periodChoice = -1;    // Choice; -1 none
    std::string m_receivers;    // shown only
    std::string m_samples;      // shown only
    std::string m_waveName;     // shown only
    unsigned m_otherPeriod = 0; // microseconds; with "Other", OK keeps it 1 to 256

    // The period the choice stands for; `current` for no choice.
    float ChosenPeriod(float current) const;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

protected:
    // A dialog's control ids (the radio set starts at its 4 uSec button), the label of
    // its receivers and how many characters of each shown text it keeps.
    struct Controls {
        int waveName, receivers, samples, radio4us, otherPeriod;
        const char* receiversLabel;
        size_t maxText;
    };
    CSamplePeriodDlg(int templateId, const Controls& controls);

private:
    Controls m_controls;
};
