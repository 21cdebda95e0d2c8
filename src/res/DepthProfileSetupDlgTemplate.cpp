#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DepthProfileSetupDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic. The
// drop-down lists are filled by the dialog from the entries of its id header.
DialogTemplate DepthProfileSetupDialogTemplate()
{
    using C = depth_profile_setup::Control;
    using enum depth_profile_setup::Control;
    constexpr int kFilesGroup = -2, kDepthGroup = -3, kPresentationGroup = -4;
    constexpr int kRangeGroups = -5; // the time, frequency and azimuth boxes: -5 to -7
    constexpr int kOptionsGroup = -8;
    return {kIddDepthProfileSetup, "Depth Profile Setup",
            JoinRows({
                InputGroupRows<C>(kFilesGroup),
                {
                    {kIdcOutputFile, ControlKind::Static, "Output File : ", kFilesGroup, 0},
                    {kIdcSelectOutputFile, ControlKind::Button, "Select &Output File", kFilesGroup, 0},
                },
                LabelledEditGroup(kDepthGroup, "Depth Range",
                                  {{"Top depth  :", kIdcTopDepth},
                                   {"Bottom depth :", kIdcBottomDepth},
                                   {"Scale : ", kIdcDepthScale}}),
                LabelledListGroup(kPresentationGroup, "Presentation",
                                  {{"Domain :", kIdcDomain}, {"Type :", kIdcType}, {"Color :", kIdcColour},
                                   {"Palette :", kIdcPalette}}),
                DomainRangeRows<C>(kRangeGroups, {"Min :", "Max :"}, {"Min:", "Max:"}),
                {
                    {kOptionsGroup, ControlKind::GroupBox, "Options", 0, 0},
                    {kIdcNormalize, ControlKind::CheckBox, "Normalize", kOptionsGroup, 0},
                },
                RunRows<C>(),
            })};
}
