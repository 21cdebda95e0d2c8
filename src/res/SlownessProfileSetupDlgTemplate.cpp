#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SlownessProfileSetupDlgIds.h"

// The dialog that confirms the slowness range of a time or slowness profile search.
DialogTemplate SlownessProfileSetupDialogTemplate()
{
    using K = ControlKind;
    using enum slowness_profile_setup::Control;
    return {kIddSlownessProfileSetup,
            "Slowness Profile Setup",
            {
                {kIdcStatic, K::Static, "Would you like to perform automatic profile routine?", 0, 0},
                {kIdcRangeGroup, K::GroupBox, "Slowness range [uSec/ft]", 0, 0},
                {kIdcStatic, K::Static, "Minimum slowness search :", kIdcRangeGroup, 0},
                {kIdcMinimum, K::Edit, "", kIdcRangeGroup, 0},
                {kIdcStatic, K::Static, "Maximum slowness search :", kIdcRangeGroup, 0},
                {kIdcMaximum, K::Edit, "", kIdcRangeGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
