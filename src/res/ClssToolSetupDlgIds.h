// Control ids of the CLSS Tool Setup dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddClssToolSetup = 153;

namespace clss_tool_setup {
enum Control : int {
    kIdcReceiver1 = 1190, // 1190..1193: receivers 1 to 4
    kIdcReceiver2 = 1191,
    kIdcReceiver3 = 1192,
    kIdcReceiver4 = 1193,
    kIdcOk = 1194,        // ends the dialog with its own id
};
inline constexpr int kReceiverButtons = 4;
} // namespace clss_tool_setup
