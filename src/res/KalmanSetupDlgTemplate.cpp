#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/KalmanSetupDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

// The input and output data sets of the Kalman window, its depth range and scale and
// its time window. Group boxes nobody addresses take ids below -1.
DialogTemplate KalmanSetupDialogTemplate()
{
    using C = kalman_setup::Control;
    using enum kalman_setup::Control;
    constexpr int kDepthGroup = -2, kTimeGroup = -3, kOptionsGroup = -4;
    return {kIddKalmanSetup, "Kalman Filter Setup",
            JoinRows({
                SelectInputRows<C>(),
                LabelledEditGroup(kDepthGroup, "Depth Range",
                                  {{"Top depth  :", kIdcTopDepth},
                                   {"Bottom depth :", kIdcBottomDepth},
                                   {"Scale : ", kIdcDepthScale}}),
                LabelledEditGroup(kTimeGroup, "Time range [uSec]",
                                  {{"Start :", kIdcTimeStart}, {"Stop :", kIdcTimeStop}}),
                {{kOptionsGroup, ControlKind::GroupBox, "Options", 0, 0}},
                SelectOutputRows<C>(),
                RunRows<C>(),
            })};
}
