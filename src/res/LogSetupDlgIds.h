// Control ids of the Log Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddLogSetup = 121;

namespace log_setup {
enum Control : int {
    kIdcTrack1 = 1003,
    kIdcTrack2 = 1004,
    kIdcTrack9 = 1005,
    kIdcTrack3 = 1006,
    kIdcTrack4 = 1007,
    kIdcTrack5 = 1008,
    kIdcTrack6 = 1009,
    kIdcTrack7 = 1010,
    kIdcTrack8 = 1011,
    kIdcTrack10 = 1012,
    kIdcTrack11 = 1013,
    kIdcTrack12 = 1014,
    kIdcDepthTrackOff = 1015, // depth column between tracks 1 and 2
    kIdcTrack13 = 1016,
    kIdcDepthTrackOn = 1017, // depth column left of track 1
    kIdcTrack14 = 1018,
    kIdcTrack15 = 1019,
    kIdcTrack16 = 1020,
    kIdcEnglish = 1147,
    kIdcMetric = 1148,
    kIdcAdd = 1153,
    kIdcApply = 1162,
    kIdcEnabledList = 1163,
    kIdcDisabledList = 1165,
    kIdcDepthScale = 1167,
    kIdcHelp = 1168,
    kIdcViewLog = 1169,
    kIdcPrintLog = 1170,
    kIdcHeader = 1171,
    kIdcBackBlue = 1175,
    kIdcBackBeige = 1176,
    kIdcBackGray = 1177,
    kIdcLoadSettings = 1181,
    kIdcSaveSettings = 1182,
    kIdcBrowseFolder = 1189,
    kIdcEdit = 1197,
    kIdcDelete = 1198,
    kIdcEditCommand = 1205,
    kIdcCopy = 32363,
    kIdcClearAll = 32375,
};

// The width edits of tracks #1 to #16, in track order.
inline constexpr int kTrackWidthIds[16] = {kIdcTrack1,  kIdcTrack2,  kIdcTrack3,  kIdcTrack4,  kIdcTrack5,  kIdcTrack6,
                                           kIdcTrack7,  kIdcTrack8,  kIdcTrack9,  kIdcTrack10, kIdcTrack11, kIdcTrack12,
                                           kIdcTrack13, kIdcTrack14, kIdcTrack15, kIdcTrack16};
} // namespace log_setup
