#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/BatWaveformPropertiesDlgIds.h"
#include "res/ResourceIds.h"

// The texts of the static fields start with their labels; the class keeps them there.
DialogTemplate BatWaveformPropertiesDialogTemplate()
{
    using K = ControlKind;
    using enum bat_waveform::Control;
    constexpr int kPeriodGroup = -2, kOptionsGroup = -3;
    return {kIddBatWaveformProperties,
            "BAT Waveform Properties",
            {
                {kIdcDataSet, K::Static, "Data Set :", 0, 0},
                {kIdcWaveform, K::Static, "Waveform:", 0, 0},
                {kIdcStatic, K::Static, "Number Receivers:", 0, 0},
                {kIdcReceivers, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Number Samples:", 0, 0},
                {kIdcSamples, K::Edit, "", 0, 0},
                {kPeriodGroup, K::GroupBox, "Sample Period", 0, 0},
                {kIdc5us, K::RadioButton, "5 uSec", kPeriodGroup, kGroupStart},
                {kIdc10us, K::RadioButton, "10 uSec", kPeriodGroup, 0},
                {kIdcOther, K::RadioButton, "Other", kPeriodGroup, 0},
                {kIdcStatic, K::Static, "Other [uSec]:", kPeriodGroup, 0},
                {kIdcOtherPeriod, K::Edit, "", kPeriodGroup, 0},
                {kIdcStatic, K::Static, "Fixed Delay", 0, 0},
                {kIdcFixedDelay, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Fore Runner", 0, 0},
                {kIdcForeRunner, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "After Runner", 0, 0},
                {kIdcAfterRunner, K::Edit, "", 0, 0},
                {kOptionsGroup, K::GroupBox, "Options", 0, 0},
                {kIdcStatic, K::Static, "Data Offset:", kOptionsGroup, 0},
                {kIdcDataOffset, K::Edit, "", kOptionsGroup, 0},
                {kIdcStatic, K::Static, "For Data with no zero crossing", kOptionsGroup, 0},
                {kIdcStatic, K::Static, "Usually 1/2 the 14 bit A/D (8192)", kOptionsGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
