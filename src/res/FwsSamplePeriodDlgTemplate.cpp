#include "res/FwsSamplePeriodDlgIds.h"
#include "res/SamplePeriodDlgTemplate.h"

DialogTemplate FwsSamplePeriodDialogTemplate()
{
    return SamplePeriodDialogTemplate<fws_period::Control>(kIddFwsSamplePeriod, "FWS Wave Sample Period",
                                                           "Nuumber Receivers:");
}
