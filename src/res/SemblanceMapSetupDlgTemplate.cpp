#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"
#include "res/SemblanceMapSetupDlgIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic. The
// drop-down lists are filled by the dialog from the entries of its id header.
DialogTemplate SemblanceMapSetupDialogTemplate()
{
    using C = semblance_map_setup::Control;
    using enum semblance_map_setup::Control;
    constexpr int kInputGroup = -2, kDepthGroup = -3, kPresentationGroup = -4, kTimeGroup = -5;
    return {kIddSemblanceMapSetup, "Semblance Map Viewer Setup",
            JoinRows({
                InputGroupRows<C>(kInputGroup),
                LabelledEditGroup(kDepthGroup, "Depth Range",
                                  {{"Top depth :", kIdcTopDepth}, {"Bottom depth :", kIdcBottomDepth}}),
                LabelledListGroup(kPresentationGroup, "Presentation",
                                  {{"Type :", kIdcType}, {"Palette :", kIdcPalette}, {"Color :", kIdcColour}}),
                {{kIdcNormalize, ControlKind::CheckBox, "Normalize", kPresentationGroup, 0}},
                LabelledEditGroup(kTimeGroup, "Time range [uSec]", {{"Start:", kIdcTimeStart}, {"Stop:", kIdcTimeStop}}),
                LabelledEditGroup(kIdcSlownessGroup, "Slowness range [uSec/ft]",
                                  {{"Min:", kIdcSlowMin}, {"Max:", kIdcSlowMax}}),
                RunRows<C>(),
            })};
}
