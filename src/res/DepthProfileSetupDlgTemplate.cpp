#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DepthProfileSetupDlgIds.h"
#include "res/ResourceIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic. The
// drop-down lists are filled by the dialog from the entries of its id header.
DialogTemplate DepthProfileSetupDialogTemplate()
{
    using K = ControlKind;
    using enum depth_profile_setup::Control;
    constexpr int kFilesGroup = -2, kDepthGroup = -3, kPresentationGroup = -4, kTimeGroup = -5, kFreqGroup = -6,
                  kAzimuthGroup = -7, kOptionsGroup = -8;
    return {kIddDepthProfileSetup,
            "Depth Profile Setup",
            {
                {kFilesGroup, K::GroupBox, "", 0, 0},
                {kIdcInputFile, K::Static, "Input File : ", kFilesGroup, 0},
                {kIdcSelectInputFile, K::Button, "Select &Input File", kFilesGroup, 0},
                {kIdcOutputFile, K::Static, "Output File : ", kFilesGroup, 0},
                {kIdcSelectOutputFile, K::Button, "Select &Output File", kFilesGroup, 0},

                {kDepthGroup, K::GroupBox, "Depth Range", 0, 0},
                {kIdcStatic, K::Static, "Top depth  :", kDepthGroup, 0},
                {kIdcTopDepth, K::Edit, "", kDepthGroup, 0},
                {kIdcStatic, K::Static, "Bottom depth :", kDepthGroup, 0},
                {kIdcBottomDepth, K::Edit, "", kDepthGroup, 0},
                {kIdcStatic, K::Static, "Scale : ", kDepthGroup, 0},
                {kIdcDepthScale, K::Edit, "", kDepthGroup, 0},

                {kPresentationGroup, K::GroupBox, "Presentation", 0, 0},
                {kIdcStatic, K::Static, "Domain :", kPresentationGroup, 0},
                {kIdcDomain, K::DropDownList, "", kPresentationGroup, kVScroll},
                {kIdcStatic, K::Static, "Type :", kPresentationGroup, 0},
                {kIdcType, K::DropDownList, "", kPresentationGroup, kVScroll},
                {kIdcStatic, K::Static, "Color :", kPresentationGroup, 0},
                {kIdcColour, K::DropDownList, "", kPresentationGroup, kVScroll},
                {kIdcStatic, K::Static, "Palette :", kPresentationGroup, 0},
                {kIdcPalette, K::DropDownList, "", kPresentationGroup, kVScroll},

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
                {kIdcStatic, K::Static, "Min :", kIdcSlownessGroup, 0},
                {kIdcSlowMin, K::Edit, "", kIdcSlownessGroup, 0},
                {kIdcStatic, K::Static, "Max :", kIdcSlownessGroup, 0},
                {kIdcSlowMax, K::Edit, "", kIdcSlownessGroup, 0},

                {kAzimuthGroup, K::GroupBox, "Azimuth range [deg]", 0, 0},
                {kIdcStatic, K::Static, "Min:", kAzimuthGroup, 0},
                {kIdcAzimMin, K::Edit, "", kAzimuthGroup, 0},
                {kIdcStatic, K::Static, "Max:", kAzimuthGroup, 0},
                {kIdcAzimMax, K::Edit, "", kAzimuthGroup, 0},

                {kOptionsGroup, K::GroupBox, "Options", 0, 0},
                {kIdcNormalize, K::CheckBox, "Normalize", kOptionsGroup, 0},

                {IDOK, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
