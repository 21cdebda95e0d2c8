// How a plot item is drawn, as values: a waveform's style and palette, a curve's pen
// width, line style and colour, a shading's colour and pattern. A command file stores
// each as text. The text becomes its value where the file is read; a text the program
// does not know is kept as it came, so that a save writes back what the file held,
// while the plot draws it as the drawing rules say for any other text.
#pragma once

#include "settings/Palette.h"
#include "settings/WaveStyle.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// A curve's pen: "Normal" 1 unit wide, any other text 2.
enum class LineWidth : uint8_t { kNormal, kBold };
// A curve's line, valued as its pen style: "Solid" 0, "Dashed" 1, "Dotted" 2, any other text 3.
enum class LineStyle : uint8_t { kSolid = 0, kDashed = 1, kDotted = 2, kDashdot = 3 };
// A shading's marks, valued as their code: "None" -1 (none), "Dashed" 1, "Dotted" 2,
// any other text 3.
enum class ShadePattern : int8_t { kNone = -1, kDashed = 1, kDotted = 2, kDashdot = 3 };
// A curve or shading colour by its name; kOther, any other text, leaves the colour
// the plot had.
enum class NamedColour : uint8_t {
    kBlue, kCyan, kBrown, kRed, kGreen, kMagenta, kYellow, kGray, kWhite, kBlack, kOther
};

// The texts of each kind: Name(value) is the stored text ("" for a value that has none),
// Of(text) the value a text draws as, matched exactly.
template <typename T> struct StyleNames;

namespace plot_style {
template <typename T, size_t N> struct Table {
    std::array<std::pair<T, const char*>, N> names;
    T other; // what any other text draws as
    constexpr const char* Name(T value) const
    {
        for (const auto& [v, n] : names)
            if (v == value) return n;
        return "";
    }
    constexpr T Of(std::string_view text) const
    {
        for (const auto& [v, n] : names)
            if (text == n) return v;
        return other;
    }
};
} // namespace plot_style

template <> struct StyleNames<LineWidth> {
    static constexpr plot_style::Table<LineWidth, 2> kTable{
        {{{LineWidth::kNormal, "Normal"}, {LineWidth::kBold, "Bold"}}}, LineWidth::kBold};
    static constexpr const char* Name(LineWidth v) { return kTable.Name(v); }
    static constexpr LineWidth Of(std::string_view t) { return kTable.Of(t); }
};
template <> struct StyleNames<LineStyle> {
    static constexpr plot_style::Table<LineStyle, 4> kTable{{{{LineStyle::kSolid, "Solid"},
                                                              {LineStyle::kDashed, "Dashed"},
                                                              {LineStyle::kDotted, "Dotted"},
                                                              {LineStyle::kDashdot, "Dashdot"}}},
                                                            LineStyle::kDashdot};
    static constexpr const char* Name(LineStyle v) { return kTable.Name(v); }
    static constexpr LineStyle Of(std::string_view t) { return kTable.Of(t); }
};
template <> struct StyleNames<ShadePattern> {
    static constexpr plot_style::Table<ShadePattern, 4> kTable{{{{ShadePattern::kNone, "None"},
                                                                 {ShadePattern::kDashed, "Dashed"},
                                                                 {ShadePattern::kDotted, "Dotted"},
                                                                 {ShadePattern::kDashdot, "Dashdot"}}},
                                                               ShadePattern::kDashdot};
    static constexpr const char* Name(ShadePattern v) { return kTable.Name(v); }
    static constexpr ShadePattern Of(std::string_view t) { return kTable.Of(t); }
};
template <> struct StyleNames<NamedColour> {
    static constexpr plot_style::Table<NamedColour, 10> kTable{
        {{{NamedColour::kBlue, "Blue"},
          {NamedColour::kCyan, "Cyan"},
          {NamedColour::kBrown, "Brown"},
          {NamedColour::kRed, "Red"},
          {NamedColour::kGreen, "Green"},
          {NamedColour::kMagenta, "Magenta"},
          {NamedColour::kYellow, "Yellow"},
          {NamedColour::kGray, "Gray"},
          {NamedColour::kWhite, "White"},
          {NamedColour::kBlack, "Black"}}},
        NamedColour::kOther};
    static constexpr const char* Name(NamedColour v) { return kTable.Name(v); }
    static constexpr NamedColour Of(std::string_view t) { return kTable.Of(t); }
};
template <> struct StyleNames<WaveStyle> {
    static constexpr const char* Name(WaveStyle v) { return WaveStyleName(v); }
    static constexpr WaveStyle Of(std::string_view t) { return WaveStyleOfName(t); }
};
template <> struct StyleNames<Palette> {
    static constexpr const char* Name(Palette v) { return PaletteName(v); }
    static constexpr Palette Of(std::string_view t) { return PaletteOfName(t); }
};

// One stored choice: its value and the text it came as.
template <typename T> class StyleChoice {
public:
    StyleChoice() : StyleChoice(FromText({})) {}
    // A value chosen in the program is stored by its own name.
    StyleChoice(T value) : m_text(StyleNames<T>::Name(value)), m_value(StyleNames<T>::Of(m_text)) {}
    static StyleChoice FromText(std::string text)
    {
        StyleChoice c(T{});
        c.m_value = StyleNames<T>::Of(text);
        c.m_text = std::move(text);
        return c;
    }
    T Value() const { return m_value; }
    const std::string& Text() const { return m_text; } // as a command file stores it
    // False for a text the program does not know (kept, and drawn as `Value()`).
    bool Known() const { return m_text == StyleNames<T>::Name(m_value); }
    bool operator==(const StyleChoice&) const = default;

private:
    std::string m_text;
    T m_value{};
};

// The values of the dialogs' drop-down lines, in the order of the lines
// (res/PlotChoices.h): a dialog chooses by a line's place, never by its text.
inline constexpr WaveStyle kWaveStyleLines[] = {WaveStyle::kVdl};
inline constexpr Palette kPaletteLines[] = {kPaletteColor, kPaletteAnisotropy, kPaletteBlackWhite, kPaletteWhiteBlack};
inline constexpr LineStyle kLineStyleLines[] = {LineStyle::kSolid, LineStyle::kDashed, LineStyle::kDotted,
                                                LineStyle::kDashdot};
inline constexpr LineWidth kLineWidthLines[] = {LineWidth::kNormal, LineWidth::kBold};
inline constexpr NamedColour kColourLines[] = {NamedColour::kBlue,   NamedColour::kCyan,    NamedColour::kBrown,
                                               NamedColour::kRed,    NamedColour::kGreen,   NamedColour::kMagenta,
                                               NamedColour::kYellow, NamedColour::kGray,    NamedColour::kWhite,
                                               NamedColour::kBlack};
inline constexpr ShadePattern kShadePatternLines[] = {ShadePattern::kNone, ShadePattern::kDashed, ShadePattern::kDotted,
                                                      ShadePattern::kDashdot};

// The line that shows a choice: the place of its value among `lines`, or -1 for a
// text the program does not know (a line would rewrite it once taken back).
template <typename T> int LineOf(const StyleChoice<T>& choice, std::span<const T> lines)
{
    if (!choice.Known()) return -1;
    for (size_t k = 0; k < lines.size(); ++k)
        if (lines[k] == choice.Value()) return int(k);
    return -1;
}
// The choice a selected line makes; `kept` while no line is selected.
template <typename T> StyleChoice<T> ChoiceAt(int line, std::span<const T> lines, const StyleChoice<T>& kept)
{
    return line >= 0 && size_t(line) < lines.size() ? StyleChoice<T>(lines[size_t(line)]) : kept;
}
