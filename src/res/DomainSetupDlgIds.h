// Control ids of the Domain Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddDomainSetup = 150;

namespace domain_setup {
enum Control : int {
    kIdcInputFile = 1166,
    kIdcSelectInputFile = 1167,
    kIdcTimeStart = 1168,
    kIdcTimeStop = 1169,
    kIdcFreqStart = 1170,
    kIdcFreqStop = 1171,
    kIdcSlowMin = 1172,
    kIdcSlowMax = 1173,
    kIdcAzimMin = 1174,
    kIdcAzimMax = 1175,
    kIdcSaveSetup = 1176,
    kIdcStartDepth = 1177,
    kIdcStopDepth = 1178,
    kIdcDepthFrame = 1179,
    kIdcHelp = 1180,
    kIdcTraceCursor = 1195,
    kIdcSlownessGroup = 1258, // its title follows the slowness unit of the file
};
} // namespace domain_setup
