// Control ids of the Data Origin dialog and the entries of its list, for its template
// and its class alike. The entry's index is the origin code.
#pragma once

inline constexpr int kIddDataOrigin = 133;

namespace data_origin {
enum Control : int {
    kIdcOrigin = 1134,
};

// The first entry's spelling is the one users have always seen.
inline constexpr const char* kOrigins[] = {
    "Unkonwn",
    "DSI Monopole", "DSI Dipole XX", "DSI Dipole XY", "DSI Dipole YX", "DSI Dipole YY",
    "XMAC Monopole", "XMAC Dipole XX", "XMAC Dipole XY", "XMAC Dipole YX", "XMAC Dipole YY",
    "MAC Monopole", "MAC Dipole XX", "MAC Dipole XY", "MAC Dipole YX", "MAC Dipole YY",
    "WaveSonic Monopole", "WaveSonic Dipole X AC", "WaveSonic Dipole Y BD", "WaveSonic Dipole X BD",
    "WaveSonic Dipole Y AC",
    "Isonic",
    "BAT High Frequency Front", "BAT High Frequency Back", "BAT Low Frequency Front", "BAT Low Frequency Back",
    "Phase Monopole", "Phase Dipole XX", "Phase Dipole YY", "Phase Dipole XY", "Phase Dipole YX",
    "Semblance Monopole", "Semblance Dipole XX", "Semblance Dipole YY", "Semblance Dipole XY",
    "Semblance Dipole YX",
    "FWS Monopole",
    "XACT DipoleXX", "XACT DipoleXY", "XACT DipoleYX", "XACT DipoleYY", "XACT Monopole",
    "CLSS Lower", "CLSS Upper",
    "APX Monopole", "APX Quadrupole",
};
} // namespace data_origin
