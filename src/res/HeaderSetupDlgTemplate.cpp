#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/HeaderSetupDlgIds.h"
#include "res/ResourceIds.h"

#include <iterator>

namespace {
using K = ControlKind;

// A label and its edit per string, strings [first, last) in group box `box`;
// multi-line edits where a string may hold lines.
void AddEdits(DialogTemplate& t, const int* ids, const char* const* labels, size_t first, size_t last, int box,
              std::initializer_list<int> multiLine)
{
    for (size_t i = first; i < last; ++i) {
        bool lines = false;
        for (int id : multiLine) lines = lines || id == ids[i];
        if (*labels[i]) t.controls.push_back({kIdcStatic, K::Static, labels[i], box, 0});
        t.controls.push_back({ids[i], lines ? K::MultiLineEdit : K::Edit, "", box, lines ? unsigned(kVScroll) : 0u});
    }
}
} // namespace

// The log header's setup: its template and image files, the well information and remarks.
DialogTemplate HeaderSetupDialogTemplate()
{
    using enum header_setup::Control;
    using enum header_setup::Box;
    return {kIddHeaderSetup,
            "Header Setup",
            {
                {kIdcLoadTemplate, K::Button, "&Load Header Template", 0, 0},
                {kIdcSaveTemplate, K::Button, "&Save Header Template", 0, 0},
                {kBoxOptions, K::GroupBox, "Options", 0, 0},
                {kIdcWellInfo, K::Button, "&Well Info", kBoxOptions, 0},
                {kIdcRemarks, K::Button, "&Remarks", kBoxOptions, 0},
                {kIdcRemarksCheck, K::CheckBox, "", kBoxOptions, 0},
                {kIdcSelectImageFile, K::Button, "Select &Header Image File", 0, 0},
                {kIdcBuildHeader, K::Button, "&Build Header", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {kIdcHelp, K::Button, "&Help", 0, 0},
            }};
}

DialogTemplate WellInfoDialogTemplate()
{
    static const char* const kLabels[] = {"",
                                          "Company",
                                          "API Number",
                                          "Well",
                                          "Field",
                                          "County",
                                          "State",
                                          "Other",
                                          "Location",
                                          "Permanent Datum",
                                          "Elevation",
                                          "Log Measured From",
                                          "Drilling Measured From",
                                          "K. B. :",
                                          "D. F. :",
                                          "G. L. :",
                                          "Logging Date",
                                          "Run Number",
                                          "Bottom Logged Interval",
                                          "Top Logged Interval",
                                          "Depth - Logger",
                                          "Depth - Driller",
                                          "Casing - Logger",
                                          "Casing - Driller",
                                          "Bit Size",
                                          "Maximum Temperature",
                                          "Time End Circulation",
                                          "Logger On Bottom",
                                          "Equipment Number",
                                          "Recorded By:",
                                          "Witnessed By:"};
    static_assert(std::size(kLabels) == std::size(well_info::kEdits));
    DialogTemplate t{kIddWellInfo, "Header - Well Info", {}};
    // Groups in an order that lets a tall dialog fold into two even columns.
    using enum well_info::Box;
    const int* edits = well_info::kEdits;
    t.controls.push_back({kBoxWell, K::GroupBox, "Well", 0, 0});
    AddEdits(t, edits, kLabels, 0, 7, kBoxWell, {32126});
    t.controls.push_back({kBoxLogging, K::GroupBox, "Logging", 0, 0});
    AddEdits(t, edits, kLabels, 16, 31, kBoxLogging, {});
    t.controls.push_back({kBoxOther, K::GroupBox, "Other", 0, 0});
    AddEdits(t, edits, kLabels, 7, 8, kBoxOther, {32129});
    t.controls.push_back({kBoxDatum, K::GroupBox, "Location and Datum", 0, 0});
    AddEdits(t, edits, kLabels, 8, 11, kBoxDatum, {32127});
    t.controls.push_back({kIdcStatic, K::Static, "above datum", kBoxDatum, 0});
    AddEdits(t, edits, kLabels, 11, 16, kBoxDatum, {});
    t.controls.push_back({well_info::kIdcFluidProperties, K::Button, "&Fluid Properties", 0, 0});
    t.controls.push_back({IDOK, K::Button, "OK", 0, kDefaultButton});
    t.controls.push_back({IDCANCEL, K::Button, "Cancel", 0, 0});
    return t;
}

DialogTemplate FluidPropertiesDialogTemplate()
{
    static const char* const kLabels[] = {"Fluid Type",       "Fluid Density",     "Fluid Viscosity",  "pH",
                                          "Fluid Loss",       "Source of Sample",  "Rm @ Temperature", "Rmf @ Temperature",
                                          "Rmc @ Temperature", "Rmf",              "Rmc",              "Rm @ BHT"};
    static_assert(std::size(kLabels) == std::size(fluid_properties::kEdits));
    DialogTemplate t{kIddFluidProperties, "Fluid Properties", {}};
    AddEdits(t, fluid_properties::kEdits, kLabels, 0, std::size(kLabels), 0, {});
    t.controls.push_back({kIdcStatic, K::Static, "Source", 0, 0});
    t.controls.push_back({IDOK, K::Button, "OK", 0, kDefaultButton});
    t.controls.push_back({IDCANCEL, K::Button, "Cancel", 0, 0});
    return t;
}

DialogTemplate RemarksDialogTemplate()
{
    return {kIddRemarks,
            "Header - Remarks",
            {
                {kIdcStatic, K::Static, "REMARKS", 0, 0},
                {remarks::kIdcText, K::MultiLineEdit, "", 0, kVScroll},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
