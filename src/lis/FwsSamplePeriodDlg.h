// The "FWS Wave Sample Period" dialog: FWS files carry no sample period, so the FWS
// recogniser asks for each waveform's: 4 or 8 microseconds, or another whole number.
#pragma once

#include "lis/SamplePeriodDlg.h"
#include "res/FwsSamplePeriodDlgIds.h"

class CFwsSamplePeriodDlg : public CSamplePeriodDlg {
public:
    using enum fws_period::Control; // ids shared with the template

    CFwsSamplePeriodDlg();
};
