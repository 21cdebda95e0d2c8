#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"
#include "res/StcSetupDlgIds.h"

// The setup of a slowness-time coherence run over a semblance map.
DialogTemplate StcSetupDialogTemplate()
{
    using K = ControlKind;
    using enum stc_setup::Control;
    using enum stc_setup::Box;
    return {kIddStcSetup, "Slowness Time Coherence Setup",
            JoinRows({
                {
                    {kIdcSelectInputFile, K::Button, "Select &Input Map File", 0, 0},
                    {kIdcInputFile, K::Static, "Input Map File : ", 0, kPathEllipsis},
                    {kBoxOptions, K::GroupBox, "Processing Options", 0, 0},
                },
                InBox(kBoxOptions, LabelledEditGroup(kBoxDepths, "Depth Range",
                                                     {{"Top depth :", kIdcTopDepth},
                                                      {"Bottom depth :", kIdcBottomDepth}})),
                InBox(kBoxOptions, LabelledEditGroup(kBoxTime, "Time range [uSec]",
                                                     {{"Start:", kIdcTimeStart, kDisabled},
                                                      {"Stop:", kIdcTimeStop, kDisabled}})),
                InBox(kBoxOptions, LabelledEditGroup(kIdcSlownessGroup, "Slowness range [uSec/ft]",
                                                     {{"Min:", kIdcSlowMin}, {"Max:", kIdcSlowMax}})),
                InBox(kBoxOptions, LabelledEditGroup(kBoxTool, "Tool Info",
                                                     {{"Offset [ft] :", kIdcOffset}, {"Size [inch] :", kIdcToolSize}})),
                {
                    {kBoxSearching, K::GroupBox, "Slowness Searching", 0, 0},
                    {kIdcFixedSlownessRange, K::RadioButton, "Fixed Slowness Range", kBoxSearching, kGroupStart},
                    {kIdcPWaveGuided, K::RadioButton, "P Wave Guided", kBoxSearching, 0},
                    {kIdcVariableCenterSlowness, K::RadioButton, "Variable Center Slowness", kBoxSearching, 0},
                },
                LabelledEdits(kBoxSearching,
                              {{"Min VpVs :", kIdcMinVpVs}, {"Max VpVs :", kIdcMaxVpVs}, {"Width : ", kIdcWidth}}),
                ProfileListRows(kBoxSearching, {kIdcSelectSlownessProfile, "Select &Slowness Profile", kIdcSlownessList,
                                                kIdcSlownessProfile, "Slowness Profile : "}),
                BoreholeRows<stc_setup::Control>(kBoxBorehole),
                LabelledEdits(0, {{"Mud Slowness [uSec/ft]", kIdcMudSlowness}}),
                {
                    {kIdcSelectOutputFile, K::Button, "Select &Output File", 0, 0},
                    {kIdcOutputFile, K::Static, "Output Projection File : ", 0, kPathEllipsis},
                },
                RunRows<stc_setup::Control>(kIdcRun),
            })};
}
