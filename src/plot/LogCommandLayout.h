// On-disk layout of a log command file (".cmd"): little-endian, packed, with no
// signature or version.
//
//   [header 78] [first-pass record] x N [shading record] x N
//
// Files of older versions end after the first-pass records and carry no shading.
// A string is a u16 length L (at most 255) followed by L bytes, no terminator.
#pragma once

#include <cstddef>
#include <cstdint>

namespace logcmd {

constexpr size_t kHeaderSize = 78;
constexpr size_t kHdrItemCount = 0;     // u16: every item, enabled or not
constexpr size_t kHdrDepthScale = 2;    // f32: the n of 1:n
constexpr size_t kHdrTrackWidths = 6;   // 16 x f32, inches
constexpr size_t kHdrDepthTrackOn = 70; // i16: depth column left of track 1
constexpr size_t kHdrDepthTrackOff = 72; // i16: depth column between tracks 1 and 2
constexpr size_t kHdrEnglish = 74;      // i16
constexpr size_t kHdrMetric = 76;       // i16

constexpr size_t kMaxString = 255;
constexpr size_t kStringPrefix = 2; // u16 length

// First-pass record, field by field in file order:
//   strings   path, title, extension, current name, name, units name, reserved
//   u8        log direction, item type
//   strings   wave style, domain, palette, line style, line width, colour
//   u16 i16 i16 i16 i16 u16   domain, current name, track, name count, sample count, normalize
//   f32 x5    sample interval, left limit, right limit, frequency min, frequency max
//   u8        frequency image
//   f32 x2    slowness min, slowness max
//   u8 u8     slowness image, slowness unit
//   f64 x6    start, stop, shift, data top, data bottom, depth step
//   u32       frame count
//   256 strings names, then 256 x u8 item types
constexpr size_t kItemStrings = 13;
constexpr size_t kItemFixedSize = 97; // every field but the strings and the two arrays
constexpr size_t kNameSlots = 256;
constexpr size_t kEmptyItemSize = kItemFixedSize + (kItemStrings + kNameSlots) * kStringPrefix + kNameSlots; // 891

// Shading record: strings colour, pattern; i16 x5 off, min limit, max limit, curve
// limit, curve; f32 x2 minimum, maximum.
constexpr size_t kShadingStrings = 2;
constexpr size_t kShadingFixedSize = 18;
constexpr size_t kEmptyShadingSize = kShadingFixedSize + kShadingStrings * kStringPrefix; // 22

static_assert(kEmptyItemSize == 891 && kEmptyShadingSize == 22);

} // namespace logcmd
