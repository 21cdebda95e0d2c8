#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SemblanceMapSetupDlgIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic. The
// drop-down lists are filled by the dialog from the entries of its id header.
DialogTemplate SemblanceMapSetupDialogTemplate()
{
    using K = ControlKind;
    using enum semblance_map_setup::Control;
    constexpr int kInputGroup = -2, kDepthGroup = -3, kPresentationGroup = -4, kTimeGroup = -5;
    return {kIddSemblanceMapSetup,
            "Semblance Map Viewer Setup",
            {
                {kInputGroup, K::GroupBox, "", 0, 0},
                {kIdcInputFile, K::Static, "Input File : ", kInputGroup, 0},
                {kIdcSelectInputFile, K::Button, "Select &Input File", kInputGroup, 0},

                {kDepthGroup, K::GroupBox, "Depth Range", 0, 0},
                {kIdcStatic, K::Static, "Top depth :", kDepthGroup, 0},
                {kIdcTopDepth, K::Edit, "", kDepthGroup, 0},
                {kIdcStatic, K::Static, "Bottom depth :", kDepthGroup, 0},
                {kIdcBottomDepth, K::Edit, "", kDepthGroup, 0},

                {kPresentationGroup, K::GroupBox, "Presentation", 0, 0},
                {kIdcStatic, K::Static, "Type :", kPresentationGroup, 0},
                {kIdcType, K::DropDownList, "", kPresentationGroup, kVScroll},
                {kIdcStatic, K::Static, "Palette :", kPresentationGroup, 0},
                {kIdcPalette, K::DropDownList, "", kPresentationGroup, kVScroll},
                {kIdcStatic, K::Static, "Color :", kPresentationGroup, 0},
                {kIdcColour, K::DropDownList, "", kPresentationGroup, kVScroll},
                {kIdcNormalize, K::CheckBox, "Normalize", kPresentationGroup, 0},

                {kTimeGroup, K::GroupBox, "Time range [uSec]", 0, 0},
                {kIdcStatic, K::Static, "Start:", kTimeGroup, 0},
                {kIdcTimeStart, K::Edit, "", kTimeGroup, 0},
                {kIdcStatic, K::Static, "Stop:", kTimeGroup, 0},
                {kIdcTimeStop, K::Edit, "", kTimeGroup, 0},

                {kIdcSlownessGroup, K::GroupBox, "Slowness range [uSec/ft]", 0, 0},
                {kIdcStatic, K::Static, "Min:", kIdcSlownessGroup, 0},
                {kIdcSlowMin, K::Edit, "", kIdcSlownessGroup, 0},
                {kIdcStatic, K::Static, "Max:", kIdcSlownessGroup, 0},
                {kIdcSlowMax, K::Edit, "", kIdcSlownessGroup, 0},

                {IDOK, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
