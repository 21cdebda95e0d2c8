#include "res/LssSamplePeriodDlgIds.h"
#include "res/SamplePeriodDlgTemplate.h"

DialogTemplate LssSamplePeriodDialogTemplate()
{
    return SamplePeriodDialogTemplate<lss_period::Control>(kIddLssSamplePeriod, "LSS Wave Sample Period",
                                                           "Number Receivers:");
}
