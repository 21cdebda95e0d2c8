// Control ids of the Utilities Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddUtilitiesSetup = 159;

namespace utilities_setup {
enum Control : int {
    kIdcSelectPrimary = 1219,
    kIdcPrimaryFile = 1220,
    kIdcSelectSecondary = 1221,
    kIdcSecondaryFile = 1222,
    kIdcSelectOutput = 1223,
    kIdcRun = 1224,
    kIdcSaveSetup = 1225,
    kIdcHelp = 1226,
    kIdcOutputFile = 1227,
    kIdcPrimaryStart = 1228,
    kIdcPrimaryStop = 1229,
    kIdcTask = 1230,
    kIdcFactor = 1231,
    kIdcSecondaryStart = 1232,
    kIdcSecondaryStop = 1233,
    kIdcPrimaryList = 1234,
    kIdcSecondaryList = 1235,
    kIdcPrimaryStartLabel = 1236,
    kIdcPrimaryStopLabel = 1237,
    kIdcFactorLabel = 1238,
    kIdcSecondaryStartLabel = 1239,
    kIdcSecondaryStopLabel = 1240,
    kIdcSplice = 1241,
    kIdcSpliceLabel = 1242,
    kIdcSelectDensity = 1243,
    kIdcStartSample = 1244,
    kIdcStopSample = 1245,
    kIdcDecimate = 1246,
    kIdcStartSampleLabel = 1247,
    kIdcStopSampleLabel = 1248,
    kIdcDecimateLabel = 1249,
    kIdcDensityFile = 1250,
    kIdcDensityStartLabel = 1251,
    kIdcDensityStopLabel = 1252,
    kIdcDensityStart = 1253,
    kIdcDensityStop = 1254,
    kIdcDensityList = 1255,
};
} // namespace utilities_setup
