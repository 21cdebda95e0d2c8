#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/PickingSetupDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

namespace {

using K = ControlKind;
using C = picking_setup::Control;
using enum picking_setup::Control;
using enum picking_setup::Box;

ControlRows TimeRows()
{
    return {
        {kIdcTimeGroup, K::GroupBox, "Response [uSec]", 0, 0},
        {kIdcSingle, K::RadioButton, "Single", kIdcTimeGroup, kGroupStart},
        {kIdcArray, K::RadioButton, "Array", kIdcTimeGroup, 0},
        {kIdcTimeStartLabel, K::Static, "Start :", kIdcTimeGroup, 0},
        {kIdcTimeStart, K::Edit, "", kIdcTimeGroup, 0},
        {kIdcTimeStopLabel, K::Static, "Stop : ", kIdcTimeGroup, 0},
        {kIdcTimeStop, K::Edit, "", kIdcTimeGroup, 0},
        {kIdcTimeWidthLabel, K::Static, "Width :", kIdcTimeGroup, 0},
        {kIdcTimeWidth, K::Edit, "", kIdcTimeGroup, 0},
        {kIdcSelectTimeProfile, K::Button, "Select &Time Profile", kIdcTimeGroup, 0},
        {kIdcTimeProfile, K::Static, "Profile : ", kIdcTimeGroup, kPathEllipsis},
    };
}

ControlRows SlownessRows()
{
    return {
        {kIdcSlownessGroup, K::GroupBox, "Response [uSec/ft]", 0, 0},
        {kIdcSlownessFixed, K::RadioButton, "Fixed", kIdcSlownessGroup, kGroupStart},
        {kIdcSlownessVariable, K::RadioButton, "Variable", kIdcSlownessGroup, 0},
        {kIdcSlownessVpVs, K::RadioButton, "Vp/Vs", kIdcSlownessGroup, 0},
        {kIdcSlownessStartLabel, K::Static, "Start :", kIdcSlownessGroup, 0},
        {kIdcSlownessStart, K::Edit, "", kIdcSlownessGroup, 0},
        {kIdcSlownessStopLabel, K::Static, "Stop : ", kIdcSlownessGroup, 0},
        {kIdcSlownessStop, K::Edit, "", kIdcSlownessGroup, 0},
        {kIdcSlownessWidthLabel, K::Static, "Width :", kIdcSlownessGroup, 0},
        {kIdcSlownessWidth, K::Edit, "", kIdcSlownessGroup, 0},
        {kIdcEnglish, K::RadioButton, "English", kIdcSlownessGroup, kGroupStart},
        {kIdcMetric, K::RadioButton, "Metric", kIdcSlownessGroup, 0},
        {kIdcMinVpVsLabel, K::Static, "Min Vp/Vs :", kIdcSlownessGroup, 0},
        {kIdcMinVpVs, K::Edit, "", kIdcSlownessGroup, 0},
        {kIdcMaxVpVsLabel, K::Static, "Max Vp/Vs :", kIdcSlownessGroup, 0},
        {kIdcMaxVpVs, K::Edit, "", kIdcSlownessGroup, 0},
        {kIdcSelectSlownessProfile, K::Button, "Select &Slowness Profile", kIdcSlownessGroup, 0},
        {kIdcSlownessProfile, K::Static, "Profile : ", kIdcSlownessGroup, kPathEllipsis},
    };
}

ControlRows PickingRows()
{
    return {
        {kBoxPicking, K::GroupBox, "Picking", 0, 0},
        {kIdcIfsAnalysis, K::RadioButton, "IFS Analysis", kBoxPicking, kGroupStart},
        {kIdcGuidedSemblance, K::RadioButton, "Guided Semblance", kBoxPicking, 0},
        {kIdcStcMap, K::RadioButton, "STC Map", kBoxPicking, 0},
        {kIdcSfcMap, K::RadioButton, "SFC Map", kBoxPicking, 0},
        {kIdcResolutionLow, K::RadioButton, "Low        ( x 4 )", kBoxPicking, kGroupStart},
        {kIdcResolutionMedium, K::RadioButton, "Medium   ( x 8 )", kBoxPicking, 0},
        {kIdcResolutionHigh, K::RadioButton, "High        ( x 16 )", kBoxPicking, 0},
        {kIdcResolutionVeryHigh, K::RadioButton, "Very high ( x 32 )", kBoxPicking, 0},
        {kIdcTimePointsLabel, K::Static, "Time points :", kBoxPicking, 0},
        {kIdcTimePoints, K::Edit, "", kBoxPicking, 0},
        {kIdcNoisyData, K::CheckBox, "Noisy Data", kBoxPicking, 0},
        {kIdcDispersionPackage, K::CheckBox, "Dispersion Package", kBoxPicking, 0},
    };
}

} // namespace

// The setup of a picking run: mode, filters and windows, options and excluded receivers.
DialogTemplate PickingSetupDialogTemplate()
{
    return {kIddPickingSetup, "Picking Setup",
            JoinRows({SelectInputRows<C>(),
                      LabelledEditGroup(kBoxDepths, "Depth Range",
                                        {{"Top Depth :", kIdcTopDepth}, {"Bottom Depth :", kIdcBottomDepth}}),
                      FrequencyFilterRows<C>(kBoxFrequency), TimeRows(), SlownessRows(), PickingRows(),
                      {
                          {kBoxReceivers, K::GroupBox, "Receivers", 0, 0},
                          {kIdcExclude, K::CheckBox, "Exclude", kBoxReceivers, 0},
                          {kIdcReceivers, K::MultiListBox, "", kBoxReceivers, 0},
                      },
                      SelectOutputRows<C>(),
                      {
                          {kIdcForceInputs, K::CheckBox, "Force Inputs", 0, 0},
                          {kIdcNormalizeWaveforms, K::CheckBox, "Normalize Waveforms", 0, 0},
                      },
                      RunRows<C>()})};
}
