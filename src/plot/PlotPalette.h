// The log plot's colours: the four named 32-colour scales in which waveforms and
// images are painted, and the colour, width, line style and shading pattern of a
// curve by the names its plot item holds.
#pragma once

#include "platform/Geometry.h"
#include "viewers/Palettes.h"

#include <string>

inline constexpr int kScaleLevels = kRampColours;

// Level 0 of "Color" is the background chosen in Log Setup; frequency and slowness
// images draw their level 0 in kImageLevelZero instead.
inline constexpr Color kImageLevelZero = Rgb(113, 113, 164);
Color BackgroundLevelZero(bool blue, bool beige, bool gray);

// Colour of `level` (clamped to 0..31) of `scale`; `colorLevelZero` stands for level
// 0 of "Color". kPaletteNone (an item whose palette text names none) gives white.
Color ScaleColour(Palette scale, int level, Color colorLevelZero);

// Curve and shading colours by name ("Red", ... "Black"); false for another name.
bool CurveColour(const std::string& name, Color& colour);
int CurvePenWidth(const std::string& name);    // "Normal" 1, else 2
int CurveLineStyle(const std::string& name);   // "Solid" 0, "Dashed" 1, "Dotted" 2, else 3
int ShadePatternCode(const std::string& name); // "None" -1, "Dashed" 1, "Dotted" 2, else 3
