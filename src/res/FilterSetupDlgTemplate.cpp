#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/FilterSetupDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

// The setup of a filtering run: input and output data sets, a frequency filter with
// its response preview and a time window, or a slowness window instead.
DialogTemplate FilterSetupDialogTemplate()
{
    using K = ControlKind;
    using C = filter_setup::Control;
    using enum filter_setup::Control;
    using enum filter_setup::Box;
    return {kIddFilterSetup, "Filter Setup",
            JoinRows({
                InputDepthRows<C>(kBoxDepths, "Top Depth :", "Bottom Depth :"),
                FrequencyFilterRows<C>(kBoxFrequency),
                {
                    {kBoxTime, K::GroupBox, "Time Window Setup", 0, 0},
                    {kIdcTimeEnable, K::RadioButton, "Enable", kBoxTime, kGroupStart},
                    {kIdcTimeDisable, K::RadioButton, "Disable", kBoxTime, 0},
                    {kIdcTimeStartLabel, K::Static, "Start :", kBoxTime, 0},
                    {kIdcTimeStart, K::Edit, "", kBoxTime, 0},
                    {kIdcTimeStopLabel, K::Static, "Stop : ", kBoxTime, 0},
                    {kIdcTimeStop, K::Edit, "", kBoxTime, 0},
                    {kIdcSelectTimeProfile, K::Button, "Select &Time Profile", kBoxTime, 0},
                    {kIdcTimeProfile, K::Static, "Profile : ", kBoxTime, kPathEllipsis},
                    {kIdcHannWindow, K::RadioButton, "Hann window", kBoxTime, kGroupStart},
                    {kIdcFrontMute, K::RadioButton, "Front mute", kBoxTime, 0},
                    {kIdcBackMute, K::RadioButton, "Back mute", kBoxTime, 0},
                    {kIdcSlownessGroup, K::GroupBox, "Response [uSec/ft]", 0, 0},
                    {kIdcSlownessEnable, K::RadioButton, "Enable", kIdcSlownessGroup, kGroupStart},
                    {kIdcSlownessDisable, K::RadioButton, "Disable", kIdcSlownessGroup, 0},
                    {kIdcSlownessStartLabel, K::Static, "Start :", kIdcSlownessGroup, 0},
                    {kIdcSlownessStart, K::Edit, "", kIdcSlownessGroup, 0},
                    {kIdcSlownessStopLabel, K::Static, "Stop : ", kIdcSlownessGroup, 0},
                    {kIdcSlownessStop, K::Edit, "", kIdcSlownessGroup, 0},
                    {kIdcSelectSlownessProfile, K::Button, "Select &Slowness Profile", kIdcSlownessGroup, 0},
                    {kIdcSlownessProfile, K::Static, "Profile : ", kIdcSlownessGroup, kPathEllipsis},
                    {kBoxOptions, K::GroupBox, "Options", 0, 0},
                    {kIdcCrossDipole, K::CheckBox, "Cross dipole data", kBoxOptions, 0},
                    {kIdcForceInputs, K::CheckBox, "Force Inputs", kBoxOptions, 0},
                },
                SelectOutputRows<C>(),
                RunRows<C>(),
            })};
}
