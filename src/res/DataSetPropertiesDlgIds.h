// Control ids of the Data Set Properties dialog, for its template and its class alike.
#pragma once

inline constexpr int kIddDataSetProperties = 131;

namespace data_set_properties {
enum Control : int {
    kIdcDataSetName = 1008,
    kIdcStartDepth = 1009,
    kIdcEndDepth = 1010,
    kIdcDepthInterval = 1011,
    kIdcLogDirection = 1012,
    kIdcFrameCount = 1013,
};
} // namespace data_set_properties
