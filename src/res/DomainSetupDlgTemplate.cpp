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
    constexpr int kInputGroup = -2, kDepthGroup = -3, kOptionsGroup = -4;
    constexpr int kRangeGroups = -5; // the time, frequency and azimuth boxes: -5 to -7
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
                DomainRangeRows<C>(kRangeGroups, {"Start :", "Stop :"}, {"Start :", "Stop :"}),
                RunRows<C>(),
            })};
}
