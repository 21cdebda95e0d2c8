// Control ids of the Kalman Filter Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddKalmanSetup = 149;

namespace kalman_setup {
enum Control : int {
    kIdcSelectInputFile = 1178,
    kIdcInputFile = 1179,
    kIdcTopDepth = 1180,
    kIdcBottomDepth = 1181,
    kIdcDepthScale = 1182,
    kIdcTimeStart = 1183,
    kIdcTimeStop = 1184,
    kIdcSelectOutputFile = 1185,
    kIdcOutputFile = 1186,
    kIdcSaveSetup = 1187,
    kIdcHelp = 1188,
};
} // namespace kalman_setup
