// A drawing context that draws nothing: what a benchmark measures beside it is the
// view's own work, not a rasteriser's.
#pragma once

#include "platform/Dc.h"

#include <string>

class NullDc : public Dc {
public:
    Size GetTextExtent(const std::string&) override { return {}; }
    int GetDeviceCaps(int) const override { return 96; }

protected:
    void DoLine(Point, Point) override {}
    void DoPolyline(const Point*, int) override {}
    void DoPolygon(const Point*, int) override {}
    void DoRectangle(const Rect&) override {}
    void DoFillRect(const Rect&, Color) override {}
    void DoSetPixel(int, int, Color) override {}
    void DoTextOut(int, int, const std::string&) override {}
    void DoStretchImage(const Rect&, const Image&, const Rect&) override {}
    void DoClip(const Rect*) override {}
};
