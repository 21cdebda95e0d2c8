#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/KalmanSetupDlgIds.h"
#include "res/ResourceIds.h"

// The input and output data sets of the Kalman window, its depth range and scale and
// its time window. Group boxes nobody addresses take ids below -1.
DialogTemplate KalmanSetupDialogTemplate()
{
    using K = ControlKind;
    using enum kalman_setup::Control;
    constexpr int kDepthGroup = -2, kTimeGroup = -3, kOptionsGroup = -4;
    return {kIddKalmanSetup,
            "Kalman Filter Setup",
            {
                {kIdcSelectInputFile, K::Button, "Select &Input File", 0, 0},
                {kIdcInputFile, K::Static, "Input File : ", 0, kPathEllipsis},
                {kDepthGroup, K::GroupBox, "Depth Range", 0, 0},
                {kIdcStatic, K::Static, "Top depth  :", kDepthGroup, 0},
                {kIdcTopDepth, K::Edit, "", kDepthGroup, 0},
                {kIdcStatic, K::Static, "Bottom depth :", kDepthGroup, 0},
                {kIdcBottomDepth, K::Edit, "", kDepthGroup, 0},
                {kIdcStatic, K::Static, "Scale : ", kDepthGroup, 0},
                {kIdcDepthScale, K::Edit, "", kDepthGroup, 0},
                {kTimeGroup, K::GroupBox, "Time range [uSec]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kTimeGroup, 0},
                {kIdcTimeStart, K::Edit, "", kTimeGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kTimeGroup, 0},
                {kIdcTimeStop, K::Edit, "", kTimeGroup, 0},
                {kOptionsGroup, K::GroupBox, "Options", 0, 0},
                {kIdcSelectOutputFile, K::Button, "Select &Output File", 0, 0},
                {kIdcOutputFile, K::Static, "Output File : ", 0, kPathEllipsis},
                {IDOK, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
