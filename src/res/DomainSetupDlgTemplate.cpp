#include "platform/Controls.h"
#include "res/ResourceIds.h"

// Control ids are shared with CDomainSetupDlg (viewers/DomainSetupDlg.h). Group
// boxes nobody addresses take ids below -1; the labels are kIdcStatic.
DialogTemplate DomainSetupDialogTemplate()
{
    using K = ControlKind;
    constexpr int kInputGroup = -2, kDepthGroup = -3, kOptionsGroup = -4, kTimeGroup = -5, kFreqGroup = -6,
                  kSlownessGroup = 1258, kAzimuthGroup = -7;
    return {kIddDomainSetup,
            "Domain Setup",
            {
                {kInputGroup, K::GroupBox, "", 0, 0},
                {1166, K::Static, "Input File : ", kInputGroup, 0},
                {1167, K::Button, "Select &Input File", kInputGroup, 0},

                {kDepthGroup, K::GroupBox, "View Depth", 0, 0},
                {kIdcStatic, K::Static, "Depth frame :", kDepthGroup, 0},
                {1179, K::Edit, "", kDepthGroup, 0},
                {1177, K::Static, "", kDepthGroup, 0},
                {1178, K::Static, "", kDepthGroup, 0},

                {kOptionsGroup, K::GroupBox, "Options", 0, 0},
                {1195, K::CheckBox, "Trace Cursor", kOptionsGroup, 0},

                {kTimeGroup, K::GroupBox, "Time range [uSec]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kTimeGroup, 0},
                {1168, K::Edit, "", kTimeGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kTimeGroup, 0},
                {1169, K::Edit, "", kTimeGroup, 0},

                {kFreqGroup, K::GroupBox, "Frequency range [Hz]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kFreqGroup, 0},
                {1170, K::Edit, "", kFreqGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kFreqGroup, 0},
                {1171, K::Edit, "", kFreqGroup, 0},

                {kSlownessGroup, K::GroupBox, "Slowness range [uSec/ft]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kSlownessGroup, 0},
                {1172, K::Edit, "", kSlownessGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kSlownessGroup, 0},
                {1173, K::Edit, "", kSlownessGroup, 0},

                {kAzimuthGroup, K::GroupBox, "Azimuth range [deg]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kAzimuthGroup, 0},
                {1174, K::Edit, "", kAzimuthGroup, 0},
                {kIdcStatic, K::Static, "Stop :", kAzimuthGroup, 0},
                {1175, K::Edit, "", kAzimuthGroup, 0},

                {1, K::Button, "Run", 0, kDefaultButton},
                {1176, K::Button, "Save Setup", 0, 0},
                {1180, K::Button, "Help", 0, 0},
                {2, K::Button, "Cancel", 0, 0},
            }};
}
