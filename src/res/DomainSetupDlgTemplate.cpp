#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DomainSetupDlgIds.h"
#include "res/ResourceIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic.
DialogTemplate DomainSetupDialogTemplate()
{
    using K = ControlKind;
    using enum domain_setup::Control;
    constexpr int kInputGroup = -2, kDepthGroup = -3, kOptionsGroup = -4, kTimeGroup = -5, kFreqGroup = -6,
                  kAzimuthGroup = -7;
    return {kIddDomainSetup,
            "Domain Setup",
            {
                {kInputGroup, K::GroupBox, "", 0, 0},
                {kIdcInputFile, K::Static, "Input File : ", kInputGroup, kPathEllipsis},
                {kIdcSelectInputFile, K::Button, "Select &Input File", kInputGroup, 0},

                {kDepthGroup, K::GroupBox, "View Depth", 0, 0},
                {kIdcStatic, K::Static, "Depth frame :", kDepthGroup, 0},
                {kIdcDepthFrame, K::Edit, "", kDepthGroup, 0},
                {kIdcStartDepth, K::Static, "", kDepthGroup, 0},
                {kIdcStopDepth, K::Static, "", kDepthGroup, 0},

                {kOptionsGroup, K::GroupBox, "Options", 0, 0},
                {kIdcTraceCursor, K::CheckBox, "Trace Cursor", kOptionsGroup, 0},

                {kTimeGroup, K::GroupBox, "Time range [uSec]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kTimeGroup, 0},
                {kIdcTimeStart, K::Edit, "", kTimeGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kTimeGroup, 0},
                {kIdcTimeStop, K::Edit, "", kTimeGroup, 0},

                {kFreqGroup, K::GroupBox, "Frequency range [Hz]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kFreqGroup, 0},
                {kIdcFreqStart, K::Edit, "", kFreqGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kFreqGroup, 0},
                {kIdcFreqStop, K::Edit, "", kFreqGroup, 0},

                {kIdcSlownessGroup, K::GroupBox, "Slowness range [uSec/ft]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kIdcSlownessGroup, 0},
                {kIdcSlowMin, K::Edit, "", kIdcSlownessGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kIdcSlownessGroup, 0},
                {kIdcSlowMax, K::Edit, "", kIdcSlownessGroup, 0},

                {kAzimuthGroup, K::GroupBox, "Azimuth range [deg]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kAzimuthGroup, 0},
                {kIdcAzimMin, K::Edit, "", kAzimuthGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kAzimuthGroup, 0},
                {kIdcAzimMax, K::Edit, "", kAzimuthGroup, 0},

                {IDOK, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
