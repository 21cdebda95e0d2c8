#include "lis/FwsSamplePeriodDlg.h"

#include "res/FwsSamplePeriodDlgIds.h"

// The shown texts keep 32 characters each.
CFwsSamplePeriodDlg::CFwsSamplePeriodDlg()
    : CSamplePeriodDlg(kIddFwsSamplePeriod,
                       {kIdcWaveName, kIdcReceivers, kIdcSamples, kIdc4us, kIdcOtherPeriod, "Nuumber Receivers: ", 32})
{
}
