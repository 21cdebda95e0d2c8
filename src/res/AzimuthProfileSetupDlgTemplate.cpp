#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/AzimuthProfileSetupDlgIds.h"

// The dialog that confirms the range and the extreme of an azimuth profile search.
DialogTemplate AzimuthProfileSetupDialogTemplate()
{
    using K = ControlKind;
    using enum azimuth_profile_setup::Control;
    constexpr int kRangeGroup = -2;
    return {kIddAzimuthProfileSetup,
            "Azimuth Profile Setup",
            {
                {kIdcStatic, K::Static, "Would you like to perform automatic trackig routine?", 0, 0},
                {kRangeGroup, K::GroupBox, "Azimuth range [deg]", 0, 0},
                {kIdcStatic, K::Static, "Minimum azimuth:", kRangeGroup, 0},
                {kIdcMinimum, K::Edit, "", kRangeGroup, 0},
                {kIdcStatic, K::Static, "Maximum azimuth:", kRangeGroup, 0},
                {kIdcMaximum, K::Edit, "", kRangeGroup, 0},
                {kIdcTrackMinimum, K::CheckBox, "Track minimum", kRangeGroup, 0},
                {kIdcTrackMaximum, K::CheckBox, "Track maximum", kRangeGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
