// Control ids of the Select Tool to Convert dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddSelectTool = 32067;

namespace select_tool {
enum Control : int {
    // One radio set, in the order of the tool indexes 0 to 13.
    kIdcDsi = 1089,
    kIdcIsonic = 1090,
    kIdcSlt = 1091,
    kIdcQslt = 1092,
    kIdcDslt = 1093,
    kIdcXmac = 1094,
    kIdcMac = 1095,
    kIdcApx = 1096,
    kIdcDal = 1097,
    kIdcWaveSonic = 1098,
    kIdcBat = 1099,
    kIdcScout = 1100,
    kIdcFws = 1101,
    kIdcLss = 1102,
    kIdcLisFile = 1103,
};
} // namespace select_tool
