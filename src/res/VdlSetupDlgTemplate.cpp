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
    constexpr int kInputGroup = -2, kDepthGroup = -3, kPresentationGroup = -4;
    constexpr int kRangeGroups = -5; // the time, frequency and azimuth boxes: -5 to -7
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
                DomainRangeRows<C>(kRangeGroups, {"Min:", "Max:"}, {"Min:", "Max:"}),
                RunRows<C>(),
            })};
}
