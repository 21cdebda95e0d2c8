// Control ids of the Slowness Time Coherence Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddStcSetup = 158;

namespace stc_setup {
enum Control : int {
    kIdcSelectInputFile = 1197,
    kIdcInputFile = 1198,
    kIdcTopDepth = 1199,
    kIdcBottomDepth = 1200,
    kIdcTimeStart = 1201,
    kIdcTimeStop = 1202,
    kIdcSlownessGroup = 1260,
    kIdcSlowMin = 1203,
    kIdcSlowMax = 1204,
    kIdcOffset = 1196,
    kIdcToolSize = 1275,
    kIdcSelectSlownessProfile = 1217,
    kIdcSlownessList = 1218,
    kIdcSlownessProfile = 1219,
    kIdcFixedSlownessRange = 32175,
    kIdcPWaveGuided = 32176,
    kIdcVariableCenterSlowness = 32177,
    kIdcMinVpVs = 1283,
    kIdcMaxVpVs = 1284,
    kIdcWidth = 1285,
    kIdcSelectCaliperProfile = 1205,
    kIdcCaliperList = 1206,
    kIdcCaliperProfile = 1207,
    kIdcFixedBitSize = 1208,
    kIdcUseCaliper = 1209,
    kIdcBitSize = 1210,
    kIdcMudSlowness = 1211,
    kIdcSelectOutputFile = 1212,
    kIdcOutputFile = 1213,
    kIdcRun = 1214,
    kIdcSaveSetup = 1215,
    kIdcHelp = 1216,
};
enum Box : int { kBoxOptions = 32400, kBoxDepths, kBoxTime, kBoxTool, kBoxSearching, kBoxBorehole };
} // namespace stc_setup
