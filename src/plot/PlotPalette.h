// The log plot's colours: the four named 32-colour scales in which waveforms and
// images are painted, and the colour, width, line style and shading pattern of a
// curve by the names its plot item holds.
#pragma once

#include "platform/Geometry.h"
#include "plot/PlotStyles.h"
#include "viewers/Palettes.h"

inline constexpr int kScaleLevels = kRampColours;

// Level 0 of "Color" is the background chosen in Log Setup; frequency and slowness
// images draw their level 0 in kImageLevelZero instead.
inline constexpr Color kImageLevelZero = Rgb(113, 113, 164);
Color BackgroundLevelZero(bool blue, bool beige, bool gray);

// Colour of `level` (clamped to 0..31) of `scale`; `colorLevelZero` stands for level
// 0 of "Color". kPaletteNone (an item whose palette text names none) gives white.
Color ScaleColour(Palette scale, int level, Color colorLevelZero);

// Curve and shading colours by name ("Red", ... "Black"); false, `colour` untouched,
// for any other text.
bool CurveColour(NamedColour name, Color& colour);
inline int CurvePenWidth(LineWidth width) { return width == LineWidth::kNormal ? 1 : 2; }
inline int CurveLineStyle(LineStyle style) { return int(style); }             // 0 to 3
inline int ShadePatternCode(ShadePattern pattern) { return int(pattern); }    // -1, 1 to 3
