#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DomainSetupDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic.
DialogTemplate DomainSetupDialogTemplate()
{
    using K = ControlKind;
    using C = domain_setup::Control;
    using enum domain_setup::Control;
    constexpr int kInputGroup = -2, kDepthGroup = -3, kOptionsGroup = -4, kTimeGroup = -5, kFreqGroup = -6,
                  kAzimuthGroup = -7;
    return {kIddDomainSetup, "Domain Setup",
            JoinRows({
                InputGroupRows<C>(kInputGroup, kPathEllipsis),
                LabelledEditGroup(kDepthGroup, "View Depth", {{"Depth frame :", kIdcDepthFrame}}),
                {
                    {kIdcStartDepth, K::Static, "", kDepthGroup, 0},
                    {kIdcStopDepth, K::Static, "", kDepthGroup, 0},
                    {kOptionsGroup, K::GroupBox, "Options", 0, 0},
                    {kIdcTraceCursor, K::CheckBox, "Trace Cursor", kOptionsGroup, 0},
                },
                LabelledEditGroup(kTimeGroup, "Time range [uSec]", {{"Start :", kIdcTimeStart}, {"Stop :", kIdcTimeStop}}),
                LabelledEditGroup(kFreqGroup, "Frequency range [Hz]",
                                  {{"Start :", kIdcFreqStart}, {"Stop :", kIdcFreqStop}}),
                LabelledEditGroup(kIdcSlownessGroup, "Slowness range [uSec/ft]",
                                  {{"Start :", kIdcSlowMin}, {"Stop :", kIdcSlowMax}}),
                LabelledEditGroup(kAzimuthGroup, "Azimuth range [deg]",
                                  {{"Start :", kIdcAzimMin}, {"Stop :", kIdcAzimMax}}),
                RunRows<C>(),
            })};
}
