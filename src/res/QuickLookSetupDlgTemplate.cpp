#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/QuickLookSetupDlgIds.h"
#include "res/ResourceIds.h"

// The setup of a quick-look run: its profiles follow from the wave, the formation and the unit.
DialogTemplate QuickLookSetupDialogTemplate()
{
    using K = ControlKind;
    using enum quick_look_setup::Control;
    using enum quick_look_setup::Box;
    return {kIddQuickLookSetup,
            "Quick Look Setup",
            {
                {kIdcSelectInputFile, K::Button, "Select &Input File", 0, 0},
                {kIdcInputFile, K::Static, "Input File : ", 0, kPathEllipsis},
                {kBoxDepths, K::GroupBox, "Depth Range", 0, 0},
                {kIdcStatic, K::Static, "Top depth frame :", kBoxDepths, 0},
                {kIdcTopDepth, K::Edit, "", kBoxDepths, 0},
                {kIdcStatic, K::Static, "Bottom depth frame :", kBoxDepths, 0},
                {kIdcBottomDepth, K::Edit, "", kBoxDepths, 0},
                {kBoxBitSize, K::GroupBox, "Bit Size [in]", 0, 0},
                {kIdcStatic, K::Static, "ID : ", kBoxBitSize, 0},
                {kIdcBitSize, K::Edit, "", kBoxBitSize, 0},
                {kBoxResolution, K::GroupBox, "Resolution", 0, 0},
                {kIdcMedium, K::RadioButton, "Medium", kBoxResolution, kGroupStart},
                {kIdcHigh, K::RadioButton, "High", kBoxResolution, 0},
                {kBoxTime, K::GroupBox, "Time Profile Setup [uSec]", 0, 0},
                {kIdcStatic, K::Static, "Start :", kBoxTime, 0},
                {kIdcTimeStart, K::Edit, "", kBoxTime, kDisabled},
                {kIdcStatic, K::Static, "Stop : ", kBoxTime, 0},
                {kIdcTimeStop, K::Edit, "", kBoxTime, kDisabled},
                {kIdcStatic, K::Static, "Width : ", kBoxTime, 0},
                {kIdcTimeWidth, K::Edit, "", kBoxTime, kDisabled},
                {kIdcSlownessGroup, K::GroupBox, "Slowness Profile Setup [uSec/ft]", 0, 0},
                {kIdcStatic, K::Static, "Min :", kIdcSlownessGroup, 0},
                {kIdcSlowMin, K::Edit, "", kIdcSlownessGroup, kDisabled},
                {kIdcStatic, K::Static, "Max : ", kIdcSlownessGroup, 0},
                {kIdcSlowMax, K::Edit, "", kIdcSlownessGroup, kDisabled},
                {kIdcEnglish, K::RadioButton, "English", kIdcSlownessGroup, kGroupStart},
                {kIdcMetric, K::RadioButton, "Metric", kIdcSlownessGroup, 0},
                {kBoxOptions, K::GroupBox, "Options", 0, 0},
                {kIdcPWave, K::RadioButton, "Process P Wave", kBoxOptions, kGroupStart},
                {kIdcSWave, K::RadioButton, "Process S Wave", kBoxOptions, 0},
                {kIdcFastFormation, K::RadioButton, "Fast formation", kBoxOptions, kGroupStart},
                {kIdcSlowFormation, K::RadioButton, "Slow formation", kBoxOptions, 0},
                {kIdcCalibrateDelay, K::CheckBox, "Calibrate Recording Delay", kBoxOptions, 0},
                {kIdcDelay, K::Edit, "", kBoxOptions, 0},
                {kIdcSelectOutputFile, K::Button, "Select &Output File", 0, 0},
                {kIdcOutputFile, K::Static, "Output File : ", 0, kPathEllipsis},
                {IDOK, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
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
