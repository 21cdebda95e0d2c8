#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"
#include "res/VdlSetupDlgIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic. The
// drop-down lists are filled by the dialog from the entries of its id header.
DialogTemplate VdlSetupDialogTemplate()
{
    using C = vdl_setup::Control;
    using enum vdl_setup::Control;
    constexpr int kInputGroup = -2, kDepthGroup = -3, kPresentationGroup = -4, kTimeGroup = -5, kFreqGroup = -6,
                  kAzimuthGroup = -7;
    return {kIddVdlSetup, "VDL Setup",
            JoinRows({
                InputGroupRows<C>(kInputGroup),
                LabelledEditGroup(kDepthGroup, "Depth Range",
                                  {{"Top depth :", kIdcTopDepth},
                                   {"Bottom depth :", kIdcBottomDepth},
                                   {"Scale : ", kIdcDepthScale}}),
                LabelledListGroup(kPresentationGroup, "Presentation",
                                  {{"Domain", kIdcDomain}, {"Type", kIdcType}, {"Color", kIdcColour},
                                   {"Palette", kIdcPalette}}),
                {{kIdcNormalize, ControlKind::CheckBox, "Normalize", kPresentationGroup, 0}},
                LabelledEditGroup(kTimeGroup, "Time range [uSec]", {{"Start :", kIdcTimeStart}, {"Stop :", kIdcTimeStop}}),
                LabelledEditGroup(kFreqGroup, "Frequency range [Hz]",
                                  {{"Start :", kIdcFreqStart}, {"Stop :", kIdcFreqStop}}),
                LabelledEditGroup(kIdcSlownessGroup, "Slowness range [uSec/ft]",
                                  {{"Min:", kIdcSlowMin}, {"Max:", kIdcSlowMax}}),
                LabelledEditGroup(kAzimuthGroup, "Azimuth range [deg]", {{"Min:", kIdcAzimMin}, {"Max:", kIdcAzimMax}}),
                RunRows<C>(),
            })};
}
