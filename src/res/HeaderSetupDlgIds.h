// Control ids of the log-header editor: the Header Setup, Well Info, Fluid Properties
// and Remarks dialogs, for their templates and classes alike.
#pragma once

inline constexpr int kIddHeaderSetup = 32022;
inline constexpr int kIddWellInfo = 32037;
inline constexpr int kIddFluidProperties = 32051;
inline constexpr int kIddRemarks = 32052;

namespace header_setup {
enum Control : int {
    kIdcLoadTemplate = 32034,
    kIdcSaveTemplate = 32036,
    kIdcWellInfo = 32043,
    kIdcRemarks = 32154,
    kIdcRemarksCheck = 32155,
    kIdcSelectImageFile = 32037,
    kIdcBuildHeader = 32040,
    kIdcHelp = 32030,
};
enum Box : int { kBoxOptions = 32400 };
} // namespace header_setup

namespace well_info {
// The edits of Well Info strings 1-31, in string order.
inline constexpr int kEdits[] = {32126, 32053, 32058, 32059, 32060, 32061, 32062, 32129, 32127, 32070, 32142,
                                 32071, 32072, 32073, 32074, 32075, 32076, 32077, 32078, 32079, 32080, 32081,
                                 32139, 32140, 32084, 32088, 32089, 32090, 32143, 32093, 32094};
enum Control : int { kIdcFluidProperties = 32141 };
enum Box : int { kBoxWell = 32400, kBoxLogging, kBoxOther, kBoxDatum };
} // namespace well_info // namespace well_info

namespace fluid_properties {
// The edits of the twelve fluid strings, in string order.
inline constexpr int kEdits[] = {32055, 32144, 32145, 32146, 32147, 32148,
                                 32149, 32150, 32130, 32151, 32152, 32153};
}

namespace remarks {
enum Control : int { kIdcText = 32154 };
}
