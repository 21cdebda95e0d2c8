#include "plot/PlotLayout.h"

#include <algorithm>
#include <cmath>

DepthGrid DepthGridFor(float scale)
{
    DepthGrid g;
    if (scale > 500.5f) g.major = 100, g.medium = 20, g.minor = 5;
    else if (scale > 250.5f) g.major = 50, g.medium = 10, g.minor = 5;
    else if (scale > 150.5f) g.major = 25, g.medium = 5, g.minor = 1;
    else g.major = 10, g.medium = 2, g.minor = 1;
    g.labelStep = scale >= 500.0f ? 20.0f : scale >= 250.0f ? 10.0f : scale >= 150.0f ? 5.0f : 2.0f;
    return g;
}

void PlotLayout::SetDepthColumn(bool leftOfTrack1)
{
    depthMode = leftOfTrack1 ? 1 : 2;
    leftDepthWidth = leftOfTrack1 ? depthWidth : 0;
    midDepthWidth = leftOfTrack1 ? 0 : depthWidth;
}

float PlotLayout::TotalInches() const
{
    float total = 0;
    for (int t = 1; t <= kPlotTracks; ++t) total += trackInches[size_t(t)];
    return total;
}

void PlotLayout::FitToWindow()
{
    int borders = 0;
    for (int t = 1; t <= kPlotTracks; ++t)
        if (trackInches[size_t(t)] != 0.0f) borders += 2 * pad;
    const int available = std::max(pageWidth - borders - (leftDepthWidth + midDepthWidth + 40), 0);
    const float total = TotalInches();
    for (int t = 1; t <= kPlotTracks; ++t) {
        const float share = total > 0 ? trackInches[size_t(t)] / total : 0.0f;
        trackPixels[size_t(t)] = std::max(int(share * float(available)), 0);
    }
}

void PlotLayout::FitToPaper(int pixelsPerInch)
{
    for (int t = 1; t <= kPlotTracks; ++t)
        trackPixels[size_t(t)] = std::max(int(float(pixelsPerInch) * trackInches[size_t(t)]), 0);
}

int PlotLayout::TrackLeft(int t) const
{
    int x = leftMargin + leftDepthWidth;
    if (t >= 2) x += midDepthWidth;
    for (int k = 1; k < t && k <= kPlotTracks; ++k) x += BoxWidth(k);
    return x;
}

int PlotLayout::HeaderHeightFor(int maxItemsPerTrack, bool waveHeaderShown) const
{
    return fontHeight / 2 + 2 * fontHeight * maxItemsPerTrack + (waveHeaderShown ? waveHeader : 0);
}

std::vector<int> PlotLayout::GridOffsets(int t, bool major) const
{
    const int w = trackPixels[size_t(t)];
    const int n = trackInches[size_t(t)] >= 5.0f ? 19 : 9;
    std::vector<int> offsets;
    if (major) {
        offsets.push_back(w / 2);
        if (n == 19) offsets.push_back(w / 4), offsets.push_back(3 * w / 4);
        return offsets;
    }
    const float division = float(w) / float(n + 1);
    for (int k = 1; k <= n; ++k) {
        if (k == 5 || k == 10 || k == 15) continue;
        offsets.push_back(t == 1 ? w * k / (n + 1) : int(float(k) * division));
    }
    return offsets;
}

int PlotLayout::DepthCentre() const
{
    return leftMargin + (depthMode == 1 ? leftDepthWidth / 2 : trackPixels[1] + midDepthWidth / 2);
}
