#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/FrequencyProfileSetupDlgIds.h"

// The dialog that confirms the frequency range of a frequency profile search.
DialogTemplate FrequencyProfileSetupDialogTemplate()
{
    using K = ControlKind;
    using enum frequency_profile_setup::Control;
    constexpr int kRangeGroup = -2;
    return {kIddFrequencyProfileSetup,
            "Frequency Profile Setup",
            {
                {kIdcStatic, K::Static, "Would you like to perform automatic profile routine?", 0, 0},
                {kRangeGroup, K::GroupBox, "Frequency range [Hz]", 0, 0},
                {kIdcStatic, K::Static, "Minimum frequency search :", kRangeGroup, 0},
                {kIdcMinimum, K::Edit, "", kRangeGroup, 0},
                {kIdcStatic, K::Static, "Maximum frequency search :", kRangeGroup, 0},
                {kIdcMaximum, K::Edit, "", kRangeGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
