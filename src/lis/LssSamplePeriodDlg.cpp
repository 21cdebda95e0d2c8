#include "lis/LssSamplePeriodDlg.h"

#include "res/LssSamplePeriodDlgIds.h"

#include <string>

CLssSamplePeriodDlg::CLssSamplePeriodDlg()
    : CSamplePeriodDlg(kIddLssSamplePeriod, {kIdcWaveName, kIdcReceivers, kIdcSamples, kIdc4us, kIdcOtherPeriod,
                                             "Number Receivers: ", std::string::npos})
{
}
