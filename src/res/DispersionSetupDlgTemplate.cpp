#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DispersionSetupDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

// The setup of a dispersion correction: the input slowness data set and its curves,
// frequency, borehole and formation density as fixed values or profiles, the output.
DialogTemplate DispersionSetupDialogTemplate()
{
    using K = ControlKind;
    using enum dispersion_setup::Control;
    using enum dispersion_setup::Box;
    return {kIddDispersionSetup, "Dispersion Correction Setup",
            JoinRows({
                {
                    {kBoxItems, K::GroupBox, "Data Item(s)", 0, 0},
                    {kIdcSelectInputFile, K::Button, "Select &Input DTS File", kBoxItems, 0},
                    {kIdcInputList, K::ListBox, "", kBoxItems, 0},
                    {kIdcInputFile, K::Static, "Input DTS File : ", kBoxItems, kPathEllipsis},
                    {kBoxFrequency, K::GroupBox, "Frequency Description [Hz]", 0, 0},
                    {kIdcFixedFrequency, K::RadioButton, "Fixed Frequency", kBoxFrequency, kGroupStart},
                    {kIdcVariableFrequency, K::RadioButton, "Variable Frequency", kBoxFrequency, 0},
                    {kIdcFixedFrequencyValue, K::Edit, "", kBoxFrequency, 0},
                },
                ProfileListRows(kBoxFrequency, {kIdcSelectFrequencyProfile, "Select &Frequency Profile",
                                                kIdcFrequencyList, kIdcFrequencyProfile, "Frequency Profile : "}),
                BoreholeRows<dispersion_setup::Control>(
                    kBoxBorehole, LabelledEdits(kBoxBorehole, {{"Mud Slowness [uSec/ft]", kIdcMudSlowness},
                                                               {"Mud Density [g/cc]", kIdcMudDensity}})),
                {
                    {kBoxDensity, K::GroupBox, "Formation Density [g/cc]", 0, 0},
                    {kIdcFixedDensity, K::RadioButton, "Fixed", kBoxDensity, kGroupStart},
                    {kIdcVariableDensity, K::RadioButton, "Variable", kBoxDensity, 0},
                    {kIdcFixedDensityValue, K::Edit, "", kBoxDensity, 0},
                },
                ProfileListRows(kBoxDensity, {kIdcSelectDensityProfile, "Select &Density Profile", kIdcDensityList,
                                              kIdcDensityProfile, "Density Profile : "}),
                {
                    {kIdcSelectOutputFile, K::Button, "Select &Output DTS File", 0, 0},
                    {kIdcOutputFile, K::Static, "Output DTS File : ", 0, kPathEllipsis},
                },
                RunRows<dispersion_setup::Control>(kIdcRun),
            })};
}

DialogTemplate SlownessUnitsDialogTemplate()
{
    using K = ControlKind;
    using enum slowness_units::Control;
    using enum slowness_units::Box;
    return {kIddSlownessUnits,
            "Slowness units",
            {
                {kBoxTools, K::GroupBox, "Supported Tools", 0, 0},
                {kIdcWireline, K::RadioButton, "Wireline tool", kBoxTools, kGroupStart},
                {kIdcBat675, K::RadioButton, "6.75\" BAT tool - Stoneley", kBoxTools, 0},
                {kIdcBat800, K::RadioButton, "8.00\" BAT tool - Stoneley", kBoxTools, 0},
                {kIdcStatic, K::Static, "Decentralization factor", kBoxTools, 0},
                {kIdcDecentralization, K::Edit, "", kBoxTools, 0},
                {kBoxUnits, K::GroupBox, "Select slowness units", 0, 0},
                {kIdcMetric, K::RadioButton, "Metric", kBoxUnits, kGroupStart},
                {kIdcEnglish, K::RadioButton, "English", kBoxUnits, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
