#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/QuickLookSetupDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

// The setup of a quick-look run: its profiles follow from the wave, the formation and the unit.
DialogTemplate QuickLookSetupDialogTemplate()
{
    using K = ControlKind;
    using C = quick_look_setup::Control;
    using enum quick_look_setup::Control;
    using enum quick_look_setup::Box;
    return {kIddQuickLookSetup, "Quick Look Setup",
            JoinRows({
                InputDepthRows<C>(kBoxDepths, "Top depth frame :", "Bottom depth frame :"),
                LabelledEditGroup(kBoxBitSize, "Bit Size [in]", {{"ID : ", kIdcBitSize}}),
                {
                    {kBoxResolution, K::GroupBox, "Resolution", 0, 0},
                    {kIdcMedium, K::RadioButton, "Medium", kBoxResolution, kGroupStart},
                    {kIdcHigh, K::RadioButton, "High", kBoxResolution, 0},
                },
                LabelledEditGroup(kBoxTime, "Time Profile Setup [uSec]",
                                  {{"Start :", kIdcTimeStart, kDisabled},
                                   {"Stop : ", kIdcTimeStop, kDisabled},
                                   {"Width : ", kIdcTimeWidth, kDisabled}}),
                LabelledEditGroup(kIdcSlownessGroup, "Slowness Profile Setup [uSec/ft]",
                                  {{"Min :", kIdcSlowMin, kDisabled}, {"Max : ", kIdcSlowMax, kDisabled}}),
                {
                    {kIdcEnglish, K::RadioButton, "English", kIdcSlownessGroup, kGroupStart},
                    {kIdcMetric, K::RadioButton, "Metric", kIdcSlownessGroup, 0},
                    {kBoxOptions, K::GroupBox, "Options", 0, 0},
                    {kIdcPWave, K::RadioButton, "Process P Wave", kBoxOptions, kGroupStart},
                    {kIdcSWave, K::RadioButton, "Process S Wave", kBoxOptions, 0},
                    {kIdcFastFormation, K::RadioButton, "Fast formation", kBoxOptions, kGroupStart},
                    {kIdcSlowFormation, K::RadioButton, "Slow formation", kBoxOptions, 0},
                    {kIdcCalibrateDelay, K::CheckBox, "Calibrate Recording Delay", kBoxOptions, 0},
                    {kIdcDelay, K::Edit, "", kBoxOptions, 0},
                },
                SelectOutputRows<C>(),
                RunRows<C>(),
            })};
}

// A three-state light (red, amber, green) of a run.
DialogTemplate StatusLightDialogTemplate()
{
    using K = ControlKind;
    using enum quick_look_setup::Control;
    return {kIddStatusLight,
            "Status",
            {
                {kIdcLight, K::OwnerDraw, "", 0, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
            }};
}
