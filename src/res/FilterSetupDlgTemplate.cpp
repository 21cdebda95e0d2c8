#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/FilterSetupDlgIds.h"
#include "res/ResourceIds.h"

// The setup of a filtering run: input and output data sets, a frequency filter with
// its response preview and a time window, or a slowness window instead.
DialogTemplate FilterSetupDialogTemplate()
{
    using K = ControlKind;
    using enum filter_setup::Control;
    using enum filter_setup::Box;
    return {kIddFilterSetup,
            "Filter Setup",
            {
                {kIdcSelectInputFile, K::Button, "Select &Input File", 0, 0},
                {kIdcInputFile, K::Static, "Input File : ", 0, kPathEllipsis},
                {kBoxDepths, K::GroupBox, "Depth Range", 0, 0},
                {kIdcStatic, K::Static, "Top Depth :", kBoxDepths, 0},
                {kIdcTopDepth, K::Edit, "", kBoxDepths, 0},
                {kIdcStatic, K::Static, "Bottom Depth :", kBoxDepths, 0},
                {kIdcBottomDepth, K::Edit, "", kBoxDepths, 0},
                {kBoxFrequency, K::GroupBox, "Frequency Filter Setup", 0, 0},
                {kIdcFrequencyEnable, K::RadioButton, "Enable", kBoxFrequency, kGroupStart},
                {kIdcFrequencyDisable, K::RadioButton, "Disable", kBoxFrequency, 0},
                {kIdcFrequencyStartLabel, K::Static, "Start :", kBoxFrequency, 0},
                {kIdcFrequencyStart, K::Edit, "", kBoxFrequency, 0},
                {kIdcFrequencyStopLabel, K::Static, "Stop : ", kBoxFrequency, 0},
                {kIdcFrequencyStop, K::Edit, "", kBoxFrequency, 0},
                {kIdcResponse, K::OwnerDraw, "", kBoxFrequency, 0},
                {kIdcAxisStart, K::Static, "0 [kHz]", kBoxFrequency, 0},
                {kIdcAxisEnd, K::Static, "50 [kHz]", kBoxFrequency, 0},
                {kIdcSelectFrequencyProfile, K::Button, "Select &Frequency Profile", kBoxFrequency, 0},
                {kIdcFrequencyProfile, K::Static, "Profile : ", kBoxFrequency, kPathEllipsis},
                {kIdcFixedProfile, K::RadioButton, "Fixed profile", kBoxFrequency, kGroupStart},
                {kIdcVariableProfile, K::RadioButton, "Variable profile", kBoxFrequency, 0},
                {kIdcBellShape, K::RadioButton, "Bell shape", kBoxFrequency, kGroupStart},
                {kIdcSemiRectangular, K::RadioButton, "Semi rectangular", kBoxFrequency, 0},
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
                {kIdcSelectOutputFile, K::Button, "Select &Output File", 0, 0},
                {kIdcOutputFile, K::Static, "Output File : ", 0, kPathEllipsis},
                {IDOK, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
