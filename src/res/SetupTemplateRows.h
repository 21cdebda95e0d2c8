// Rows of controls that the setup dialogs' templates repeat: the file steps, the
// groups of labelled edits and the Run row. A template joins them in layout order.
// `Control` is a dialog's id enum; the rows take the ids it names alike.
#pragma once

#include "platform/Controls.h"
#include "platform/Host.h"

#include <initializer_list>
#include <vector>

using ControlRows = std::vector<ControlTemplate>;

// The pieces one after the other.
ControlRows JoinRows(std::initializer_list<ControlRows> pieces);

// An edit after its label, in a group of labelled edits.
struct LabelledEdit {
    const char* label;
    int id;
    unsigned style = 0; // the edit's
};
// Each field's label and edit, in the group box `group` (0: none).
ControlRows LabelledEdits(int group, std::initializer_list<LabelledEdit> fields);
// The group box `box` titled `title`, then each field's label and edit in it.
ControlRows LabelledEditGroup(int box, const char* title, std::initializer_list<LabelledEdit> fields);
// The same with a drop-down list (which scrolls) after each label.
ControlRows LabelledListGroup(int box, const char* title, std::initializer_list<LabelledEdit> fields);
// `rows` whose group box (the first row) sits in the group box `outer`.
ControlRows InBox(int outer, ControlRows rows);

// A profile step whose data set's curves are listed: its button, the list and the
// path label, in the group box `box`.
struct ProfileListStep {
    int selectId;
    const char* button;
    int listId;
    int labelId;
    const char* label;
};
ControlRows ProfileListRows(int box, const ProfileListStep& step);

// The input step of a processing setup: its button, then its path label.
template <typename Control> ControlRows SelectInputRows()
{
    return {{Control::kIdcSelectInputFile, ControlKind::Button, "Select &Input File", 0, 0},
            {Control::kIdcInputFile, ControlKind::Static, "Input File : ", 0, kPathEllipsis}};
}
// The output step of a processing setup, alike.
template <typename Control> ControlRows SelectOutputRows()
{
    return {{Control::kIdcSelectOutputFile, ControlKind::Button, "Select &Output File", 0, 0},
            {Control::kIdcOutputFile, ControlKind::Static, "Output File : ", 0, kPathEllipsis}};
}
// The input step of a processing setup and its depth range in the group box `box`,
// the depth edits after their labels.
template <typename Control> ControlRows InputDepthRows(int box, const char* topLabel, const char* bottomLabel)
{
    return JoinRows({SelectInputRows<Control>(),
                     LabelledEditGroup(box, "Depth Range",
                                       {{topLabel, Control::kIdcTopDepth}, {bottomLabel, Control::kIdcBottomDepth}})});
}
// The input step of a viewer setup: a group box `box` without a title holding the path
// label (of `labelStyle`) and then its button.
template <typename Control> ControlRows InputGroupRows(int box, unsigned labelStyle = 0)
{
    return {{box, ControlKind::GroupBox, "", 0, 0},
            {Control::kIdcInputFile, ControlKind::Static, "Input File : ", box, labelStyle},
            {Control::kIdcSelectInputFile, ControlKind::Button, "Select &Input File", box, 0}};
}
// The time, frequency, slowness and azimuth range groups of the domain views' setups,
// each a start and a stop edit; the setups word the slowness and azimuth labels each
// their own way. The time, frequency and azimuth boxes nobody addresses take the ids
// `firstBox`, `firstBox` - 1 and `firstBox` - 2.
struct RangeLabels {
    const char* low;
    const char* high;
};
template <typename Control>
ControlRows DomainRangeRows(int firstBox, RangeLabels slowness, RangeLabels azimuth)
{
    const int timeBox = firstBox, freqBox = firstBox - 1, azimuthBox = firstBox - 2;
    return JoinRows({
        LabelledEditGroup(timeBox, "Time range [uSec]", {{"Start :", Control::kIdcTimeStart}, {"Stop :", Control::kIdcTimeStop}}),
        LabelledEditGroup(freqBox, "Frequency range [Hz]", {{"Start :", Control::kIdcFreqStart}, {"Stop :", Control::kIdcFreqStop}}),
        LabelledEditGroup(Control::kIdcSlownessGroup, "Slowness range [uSec/ft]",
                          {{slowness.low, Control::kIdcSlowMin}, {slowness.high, Control::kIdcSlowMax}}),
        LabelledEditGroup(azimuthBox, "Azimuth range [deg]",
                          {{azimuth.low, Control::kIdcAzimMin}, {azimuth.high, Control::kIdcAzimMax}}),
    });
}
// The borehole group `box` of the slowness processing setups: a fixed bit size (its
// edit) or the caliper, then `middle` (rows a setup puts in the group before the
// caliper's profile step), then that step.
template <typename Control> ControlRows BoreholeRows(int box, ControlRows middle = {})
{
    return JoinRows({
        {
            {box, ControlKind::GroupBox, "Borehole Description [inch]", 0, 0},
            {Control::kIdcFixedBitSize, ControlKind::RadioButton, "Fixed Bit Size", box, kGroupStart},
            {Control::kIdcUseCaliper, ControlKind::RadioButton, "Use Caliper", box, 0},
            {Control::kIdcBitSize, ControlKind::Edit, "", box, 0},
        },
        middle,
        ProfileListRows(box, {Control::kIdcSelectCaliperProfile, "Select &Caliper Profile", Control::kIdcCaliperList,
                              Control::kIdcCaliperProfile, "Caliper Profile : "}),
    });
}
// Run (the default button, `runId`), Save Setup, Help and Cancel.
template <typename Control> ControlRows RunRows(int runId = IDOK)
{
    return {{runId, ControlKind::Button, "Run", 0, kDefaultButton},
            {Control::kIdcSaveSetup, ControlKind::Button, "Save Setup", 0, 0},
            {Control::kIdcHelp, ControlKind::Button, "Help", 0, 0},
            {IDCANCEL, ControlKind::Button, "Cancel", 0, 0}};
}

// The frequency filter of the filtering and picking setups in the group box `box`:
// Enable/Disable, the band's edits, the response preview with its axis, the frequency
// profile's step, fixed or variable profile and the shape.
template <typename Control> ControlRows FrequencyFilterRows(int box)
{
    using K = ControlKind;
    return {
        {box, K::GroupBox, "Frequency Filter Setup", 0, 0},
        {Control::kIdcFrequencyEnable, K::RadioButton, "Enable", box, kGroupStart},
        {Control::kIdcFrequencyDisable, K::RadioButton, "Disable", box, 0},
        {Control::kIdcFrequencyStartLabel, K::Static, "Start :", box, 0},
        {Control::kIdcFrequencyStart, K::Edit, "", box, 0},
        {Control::kIdcFrequencyStopLabel, K::Static, "Stop : ", box, 0},
        {Control::kIdcFrequencyStop, K::Edit, "", box, 0},
        {Control::kIdcResponse, K::OwnerDraw, "", box, 0},
        {Control::kIdcAxisStart, K::Static, "0 [kHz]", box, 0},
        {Control::kIdcAxisEnd, K::Static, "50 [kHz]", box, 0},
        {Control::kIdcSelectFrequencyProfile, K::Button, "Select &Frequency Profile", box, 0},
        {Control::kIdcFrequencyProfile, K::Static, "Profile : ", box, kPathEllipsis},
        {Control::kIdcFixedProfile, K::RadioButton, "Fixed profile", box, kGroupStart},
        {Control::kIdcVariableProfile, K::RadioButton, "Variable profile", box, 0},
        {Control::kIdcBellShape, K::RadioButton, "Bell shape", box, kGroupStart},
        {Control::kIdcSemiRectangular, K::RadioButton, "Semi rectangular", box, 0},
    };
}
