// The template the FWS and LSS Wave Sample Period dialogs share: the same controls
// under each dialog's own ids, title and receivers label.
#pragma once

#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"

// `Control` is the dialog's id enum. The texts of the static fields start with their
// labels; the class keeps them there.
template <typename Control>
DialogTemplate SamplePeriodDialogTemplate(int dialogId, const char* title, const char* receiversLabel)
{
    using K = ControlKind;
    constexpr int kPeriodGroup = -2;
    return {dialogId,
            title,
            {
                {Control::kIdcWaveName, K::Static, "Wave Name:", 0, 0},
                {Control::kIdcReceivers, K::Static, receiversLabel, 0, 0},
                {Control::kIdcSamples, K::Static, "Number Samples:", 0, 0},
                {kPeriodGroup, K::GroupBox, "Sample Period", 0, 0},
                {Control::kIdc4us, K::RadioButton, "4 uSec", kPeriodGroup, kGroupStart},
                {Control::kIdc8us, K::RadioButton, "8 uSec", kPeriodGroup, 0},
                {Control::kIdcOther, K::RadioButton, "Other", kPeriodGroup, 0},
                {kIdcStatic, K::Static, "Other [uSec]:", kPeriodGroup, 0},
                {Control::kIdcOtherPeriod, K::Edit, "", kPeriodGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
