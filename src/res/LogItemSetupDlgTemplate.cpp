#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/LogItemSetupDlgIds.h"
#include "res/PlotChoices.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

namespace {

using K = ControlKind;
using C = log_item_setup::Control;
using enum log_item_setup::Control;

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic.
constexpr int kInputGroup = -2, kItemGroup = -4, kWaveGroup = -5, kFreqGroup = -6, kSlowGroup = -7, kCurveGroup = -8,
              kShadeGroup = -9;

// The data set and the depths read from it share one group.
ControlRows InputRows()
{
    return JoinRows({InputGroupRows<C>(kInputGroup),
                     LabelledEdits(kInputGroup,
                                   {{"Start depth :", kIdcStartDepth}, {"Stop depth :", kIdcStopDepth},
                                    {"Shift :", kIdcShift}}),
                     {{kIdcRestoreDepth, K::Button, "&Restore Depth", kInputGroup, 0}}});
}

ControlRows ItemRows()
{
    return JoinRows({{
                         {kItemGroup, K::GroupBox, "Item", 0, 0},
                         {kIdcStatic, K::Static, "Domain :", kItemGroup, 0},
                         {kIdcDomain, K::DropDownList, "", kItemGroup, kDisabled},
                     },
                     LabelledEdits(kItemGroup, {{"Name :", kIdcName},
                                                {"Units name :", kIdcUnitsName},
                                                {"Track number :", kIdcTrack},
                                                {"Left limit :", kIdcLeftLimit},
                                                {"Right limit :", kIdcRightLimit}})});
}

ControlRows WaveRows()
{
    return {
        {kWaveGroup, K::GroupBox, "Waveform", 0, 0},
        {kIdcWaveList, K::ListBox, "", kWaveGroup, kVScroll},
        {kIdcWaveStyleLabel, K::Static, "Style : ", kWaveGroup, 0},
        {kIdcWaveStyle, K::DropDownList, "", kWaveGroup, 0},
        {kIdcPaletteLabel, K::Static, "Palette :", kWaveGroup, 0},
        {kIdcPalette, K::DropDownList, "", kWaveGroup, 0},
        {kIdcNormalize, K::CheckBox, "Normalize :", kWaveGroup, 0},
        {kFreqGroup, K::GroupBox, "Frequency range", kWaveGroup, 0},
        {kIdcFreqMinLabel, K::Static, "Min :", kFreqGroup, 0},
        {kIdcFreqMin, K::Edit, "", kFreqGroup, 0},
        {kIdcFreqMaxLabel, K::Static, "Max :", kFreqGroup, 0},
        {kIdcFreqMax, K::Edit, "", kFreqGroup, 0},
        {kSlowGroup, K::GroupBox, "Slowness range", kWaveGroup, 0},
        {kIdcSlowMinLabel, K::Static, "Min :", kSlowGroup, 0},
        {kIdcSlowMin, K::Edit, "", kSlowGroup, 0},
        {kIdcSlowMaxLabel, K::Static, "Max :", kSlowGroup, 0},
        {kIdcSlowMax, K::Edit, "", kSlowGroup, 0},
    };
}

ControlRows CurveRows()
{
    return {
        {kCurveGroup, K::GroupBox, "Curve", 0, 0},
        {kIdcCurveList, K::ListBox, "", kCurveGroup, kVScroll},
        {kIdcLineStyleLabel, K::Static, "Style :", kCurveGroup, 0},
        {kIdcLineStyle, K::DropDownList, "", kCurveGroup, 0},
        {kIdcLineWidthLabel, K::Static, "Width :", kCurveGroup, 0},
        {kIdcLineWidth, K::DropDownList, "", kCurveGroup, 0},
        {kIdcColorLabel, K::Static, "Color :", kCurveGroup, 0},
        {kIdcColor, K::DropDownList, "", kCurveGroup, 0},
    };
}

ControlRows ShadeRows()
{
    return {
        {kShadeGroup, K::GroupBox, "Shading", 0, 0},
        {kIdcShadeOff, K::RadioButton, "Off :", kShadeGroup, kGroupStart},
        {kIdcShadeMinLimit, K::RadioButton, "Min limit : ", kShadeGroup, 0},
        {kIdcShadeMaxLimit, K::RadioButton, "Max limit :", kShadeGroup, 0},
        {kIdcShadeCurveLimit, K::RadioButton, "Curve limit :", kShadeGroup, 0},
        {kIdcShadeColorLabel, K::Static, "Shade color :", kShadeGroup, 0},
        {kIdcShadeColor, K::DropDownList, "", kShadeGroup, 0},
        {kIdcShadePatternLabel, K::Static, "Pattern :", kShadeGroup, 0},
        {kIdcShadePattern, K::DropDownList, "", kShadeGroup, 0},
        {kIdcShadeMinLabel, K::Static, "Min limit value :", kShadeGroup, 0},
        {kIdcShadeMin, K::Edit, "", kShadeGroup, 0},
        {kIdcShadeMaxLabel, K::Static, "Max limit value :", kShadeGroup, 0},
        {kIdcShadeMax, K::Edit, "", kShadeGroup, 0},
        {kIdcPartnerLabel, K::Static, "Limit curve :", kShadeGroup, 0},
        {kIdcPartnerList, K::ListBox, "", kShadeGroup, kVScroll},
    };
}

} // namespace

DialogTemplate LogItemSetupDialogTemplate()
{
    return {kIddLogItemSetup, "Log Item Setup",
            JoinRows({InputRows(), ItemRows(), WaveRows(), CurveRows(), ShadeRows(),
                      {
                          {IDOK, K::Button, "Apply", 0, kDefaultButton},
                          {IDCANCEL, K::Button, "Cancel", 0, 0},
                          {kIdcHelp, K::Button, "&Help", 0, 0},
                      }})};
}

const std::vector<std::string>& PlotDomainEntries()
{
    static const std::vector<std::string> e = {"Time", "Frequency", "Slowness", "Azimuth"};
    return e;
}
const std::vector<std::string>& PlotWaveStyleEntries()
{
    static const std::vector<std::string> e = {"VDL"};
    return e;
}
const std::vector<std::string>& PlotPaletteEntries()
{
    static const std::vector<std::string> e = {"Color", "Anisotropy", "Black&White", "White&Black"};
    return e;
}
const std::vector<std::string>& PlotLineStyleEntries()
{
    static const std::vector<std::string> e = {"Solid", "Dashed", "Dotted", "Dashdot"};
    return e;
}
const std::vector<std::string>& PlotLineWidthEntries()
{
    static const std::vector<std::string> e = {"Normal", "Bold"};
    return e;
}
const std::vector<std::string>& PlotColourEntries()
{
    static const std::vector<std::string> e = {"Blue",    "Cyan",   "Brown", "Red",   "Green",
                                               "Magenta", "Yellow", "Gray",  "White", "Black"};
    return e;
}
const std::vector<std::string>& PlotShadePatternEntries()
{
    static const std::vector<std::string> e = {"None", "Dashed", "Dotted", "Dashdot"};
    return e;
}
