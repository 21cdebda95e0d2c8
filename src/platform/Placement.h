// Fitting a saved main-window placement to the screens there are now: a placement
// saved on a larger or a removed monitor, or holding values no window can have,
// must not open the program where the user cannot see or reach it.
#pragma once

#include "platform/Geometry.h"

#include <vector>

struct ScreenArea {
    Rect geometry;
    Rect available; // less the desktop's panels
};

// The least normal rectangle a restored placement may have; a smaller one is ignored.
constexpr int kPlacementMinWidth = 200;
constexpr int kPlacementMinHeight = 150;
// The band along a window's top edge that must show on a screen (its title bar), and
// how much of it, horizontally, is enough to grab it.
constexpr int kTitleBarBand = 30;
constexpr int kTitleBarGrip = 100;

// `normal` fitted to `screens` (the primary first) in `fitted`. A window whose title
// bar shows on a screen's available area stays there; one whose title bar shows on
// none goes onto the primary screen's available area. Its size is bounded by the area
// it lands on, and a window that had to shrink or move lies wholly inside that area.
// With `keepInside` every window is made to lie wholly inside its area (a window
// fitted before the desktop framed it, fitted again with its frame). Works in 64
// bits: any int rectangle is accepted. False (fitted untouched) when there is no
// screen or `normal` is smaller than the least placement.
bool FitPlacement(const Rect& normal, const std::vector<ScreenArea>& screens, Rect& fitted, bool keepInside = false);
