// How a waveform is drawn: as a VDL image (a palette) or as Signature wiggles (a
// colour). Setups and log items keep the enum; the text is only what lists show and
// command files store, turned into the enum where it comes in.
#pragma once

#include <cstdint>
#include <string_view>

// kNone, a value-initialised group's or log item's, names no style (a command file's
// empty text) and draws as VDL.
enum class WaveStyle : uint8_t { kNone = 0, kVdl, kSignature };

// The stored and listed text: "VDL", "Signature", or "" for kNone.
constexpr const char* WaveStyleName(WaveStyle style)
{
    return style == WaveStyle::kSignature ? "Signature" : style == WaveStyle::kVdl ? "VDL" : "";
}

// The style of a stored or listed text: "Signature" draws wiggles, "" names none, any
// other text (a command file's "VDL") the image, as the views always read it.
constexpr WaveStyle WaveStyleOfName(std::string_view name)
{
    return name == "Signature" ? WaveStyle::kSignature : name.empty() ? WaveStyle::kNone : WaveStyle::kVdl;
}
