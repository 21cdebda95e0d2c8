// Where a log plot's parts stand on the page, in device units (one per screen or
// printer pixel): margins, the depth column, the tracks and the header block; and
// the depth grid a scale gives.
#pragma once

#include <array>
#include <string>
#include <vector>

inline constexpr int kPlotTracks = 16;

// The depth grid at scale 1:N: major, medium and minor line intervals and the
// interval of the depth numbers, in depth units.
struct DepthGrid {
    int major = 10, medium = 2, minor = 1;
    float labelStep = 2.0f;
};
DepthGrid DepthGridFor(float scale);

struct PlotLayout {
    int pageWidth = 500;
    int pageHeight = 0;
    int leftMargin = 5, rightMargin = 5;
    int pad = 1;             // inner margin on each side of a track box
    int depthWidth = 50;     // the depth column
    int depthMode = 2;       // 1 left of track 1, 2 between tracks 1 and 2
    int leftDepthWidth = 0, midDepthWidth = 50;
    std::array<float, kPlotTracks + 1> trackInches{}; // by track number 1..16
    std::array<int, kPlotTracks + 1> trackPixels{};
    int tracks = 1; // tracks drawn: 1..tracks
    int fontHeight = 14, fontHeight2 = 14, titleFontHeight = 20;
    int titleHeight = 0;
    int waveHeader = 15;   // colour bar of an image item's header block
    int headerHeight = 0;

    void SetDepthColumn(bool leftOfTrack1);
    float TotalInches() const;
    // Screen: the tracks share the page width less the depth column, their borders and
    // 40 units, in proportion to their widths.
    void FitToWindow();
    // Paper: one inch is `pixelsPerInch` units; widths already fit the paper.
    void FitToPaper(int pixelsPerInch);
    // A track of no width takes no room: its box is empty and the next one starts there.
    int TrackLeft(int t) const;
    int BoxWidth(int t) const { return trackPixels[size_t(t)] > 0 ? trackPixels[size_t(t)] + 2 * pad : 0; }
    // h/2 + 2h per block of the fullest track, and the colour bar when one is shown.
    int HeaderHeightFor(int maxItemsPerTrack, bool waveHeaderShown) const;
    // Offsets of the vertical grid lines from a track's inner left edge: the thin ones
    // (k of n + 1 divisions but the 5th, 10th and 15th) or the major ones (half, and
    // quarters when the track is 5 inches or wider).
    std::vector<int> GridOffsets(int t, bool major) const;
    int DepthCentre() const; // x of the depth numbers
};
