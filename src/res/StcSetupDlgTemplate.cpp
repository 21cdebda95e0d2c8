#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/StcSetupDlgIds.h"

// The setup of a slowness-time coherence run over a semblance map.
DialogTemplate StcSetupDialogTemplate()
{
    using K = ControlKind;
    using enum stc_setup::Control;
    using enum stc_setup::Box;
    return {kIddStcSetup,
            "Slowness Time Coherence Setup",
            {
                {kIdcSelectInputFile, K::Button, "Select &Input Map File", 0, 0},
                {kIdcInputFile, K::Static, "Input Map File : ", 0, kPathEllipsis},
                {kBoxOptions, K::GroupBox, "Processing Options", 0, 0},
                {kBoxDepths, K::GroupBox, "Depth Range", kBoxOptions, 0},
                {kIdcStatic, K::Static, "Top depth :", kBoxDepths, 0},
                {kIdcTopDepth, K::Edit, "", kBoxDepths, 0},
                {kIdcStatic, K::Static, "Bottom depth :", kBoxDepths, 0},
                {kIdcBottomDepth, K::Edit, "", kBoxDepths, 0},
                {kBoxTime, K::GroupBox, "Time range [uSec]", kBoxOptions, 0},
                {kIdcStatic, K::Static, "Start:", kBoxTime, 0},
                {kIdcTimeStart, K::Edit, "", kBoxTime, kDisabled},
                {kIdcStatic, K::Static, "Stop:", kBoxTime, 0},
                {kIdcTimeStop, K::Edit, "", kBoxTime, kDisabled},
                {kIdcSlownessGroup, K::GroupBox, "Slowness range [uSec/ft]", kBoxOptions, 0},
                {kIdcStatic, K::Static, "Min:", kIdcSlownessGroup, 0},
                {kIdcSlowMin, K::Edit, "", kIdcSlownessGroup, 0},
                {kIdcStatic, K::Static, "Max:", kIdcSlownessGroup, 0},
                {kIdcSlowMax, K::Edit, "", kIdcSlownessGroup, 0},
                {kBoxTool, K::GroupBox, "Tool Info", kBoxOptions, 0},
                {kIdcStatic, K::Static, "Offset [ft] :", kBoxTool, 0},
                {kIdcOffset, K::Edit, "", kBoxTool, 0},
                {kIdcStatic, K::Static, "Size [inch] :", kBoxTool, 0},
                {kIdcToolSize, K::Edit, "", kBoxTool, 0},
                {kBoxSearching, K::GroupBox, "Slowness Searching", 0, 0},
                {kIdcFixedSlownessRange, K::RadioButton, "Fixed Slowness Range", kBoxSearching, kGroupStart},
                {kIdcPWaveGuided, K::RadioButton, "P Wave Guided", kBoxSearching, 0},
                {kIdcVariableCenterSlowness, K::RadioButton, "Variable Center Slowness", kBoxSearching, 0},
                {kIdcStatic, K::Static, "Min VpVs :", kBoxSearching, 0},
                {kIdcMinVpVs, K::Edit, "", kBoxSearching, 0},
                {kIdcStatic, K::Static, "Max VpVs :", kBoxSearching, 0},
                {kIdcMaxVpVs, K::Edit, "", kBoxSearching, 0},
                {kIdcStatic, K::Static, "Width : ", kBoxSearching, 0},
                {kIdcWidth, K::Edit, "", kBoxSearching, 0},
                {kIdcSelectSlownessProfile, K::Button, "Select &Slowness Profile", kBoxSearching, 0},
                {kIdcSlownessList, K::ListBox, "", kBoxSearching, 0},
                {kIdcSlownessProfile, K::Static, "Slowness Profile : ", kBoxSearching, kPathEllipsis},
                {kBoxBorehole, K::GroupBox, "Borehole Description [inch]", 0, 0},
                {kIdcFixedBitSize, K::RadioButton, "Fixed Bit Size", kBoxBorehole, kGroupStart},
                {kIdcUseCaliper, K::RadioButton, "Use Caliper", kBoxBorehole, 0},
                {kIdcBitSize, K::Edit, "", kBoxBorehole, 0},
                {kIdcSelectCaliperProfile, K::Button, "Select &Caliper Profile", kBoxBorehole, 0},
                {kIdcCaliperList, K::ListBox, "", kBoxBorehole, 0},
                {kIdcCaliperProfile, K::Static, "Caliper Profile : ", kBoxBorehole, kPathEllipsis},
                {kIdcStatic, K::Static, "Mud Slowness [uSec/ft]", 0, 0},
                {kIdcMudSlowness, K::Edit, "", 0, 0},
                {kIdcSelectOutputFile, K::Button, "Select &Output File", 0, 0},
                {kIdcOutputFile, K::Static, "Output Projection File : ", 0, kPathEllipsis},
                {kIdcRun, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
