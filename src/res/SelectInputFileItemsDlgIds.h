// Control ids of the Select Input File Items dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddSelectInputFileItems = 138;

namespace select_input_items {
enum Control : int {
    kIdcTree = 1019,
    kIdcSelected = 1020,
    kIdcInputFile = 1021,
    kIdcDataSet = 1022,
    kIdcAdd = 1023,
    kIdcRemove = 1024,
    kIdcClearAll = 1025,
};
} // namespace select_input_items
