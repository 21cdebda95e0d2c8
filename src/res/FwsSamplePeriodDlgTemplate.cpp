#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/FwsSamplePeriodDlgIds.h"
#include "res/ResourceIds.h"

// The texts of the static fields start with their labels; the class keeps them there.
DialogTemplate FwsSamplePeriodDialogTemplate()
{
    using K = ControlKind;
    using enum fws_period::Control;
    constexpr int kPeriodGroup = -2;
    return {kIddFwsSamplePeriod,
            "FWS Wave Sample Period",
            {
                {kIdcWaveName, K::Static, "Wave Name:", 0, 0},
                {kIdcReceivers, K::Static, "Nuumber Receivers:", 0, 0},
                {kIdcSamples, K::Static, "Number Samples:", 0, 0},
                {kPeriodGroup, K::GroupBox, "Sample Period", 0, 0},
                {kIdc4us, K::RadioButton, "4 uSec", kPeriodGroup, kGroupStart},
                {kIdc8us, K::RadioButton, "8 uSec", kPeriodGroup, 0},
                {kIdcOther, K::RadioButton, "Other", kPeriodGroup, 0},
                {kIdcStatic, K::Static, "Other [uSec]:", kPeriodGroup, 0},
                {kIdcOtherPeriod, K::Edit, "", kPeriodGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
