// The "LSS Wave Sample Period" dialog: LSS files carry no usable sample period, so
// the LSS recogniser asks for each waveform's: 4 or 8 microseconds, or another whole
// number of them.
#pragma once

#include "lis/SamplePeriodDlg.h"
#include "res/LssSamplePeriodDlgIds.h"

class CLssSamplePeriodDlg : public CSamplePeriodDlg {
public:
    using enum lss_period::Control; // ids shared with the template

    CLssSamplePeriodDlg();
};
