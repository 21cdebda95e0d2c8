// The drawing context on a QPainter, with GDI conventions: lines leave out their
// end point, rectangles their right and bottom edges, text is placed by the top of
// its cell, a pen of width 0 is one device pixel.
#pragma once

#include "platform/Dc.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPainter>

class QPaintDevice;

// Faces the painting code asks for ("Arial", once misspelt "Ariel") resolve to a
// metric-compatible face installed with the program.
void InstallFontSubstitutions();
QFont ToQFont(const Font& font, QPaintDevice* device);

class QtDc : public Dc {
public:
    // Paints on `device` (an image, a widget or a PDF page); `caps` are its capabilities.
    QtDc(QPaintDevice* device, DeviceCaps caps);
    ~QtDc() override;

    Size GetTextExtent(const std::string& text) override;
    int GetDeviceCaps(int index) const override { return DeviceCapValue(m_caps, index); }
    QPainter& Painter() { return m_painter; }

protected:
    void DoLine(Point from, Point to) override;
    void DoPolyline(const Point* points, int count) override;
    void DoPolygon(const Point* points, int count) override;
    void DoRectangle(const Rect& r) override;
    void DoFillRect(const Rect& r, Color color) override;
    void DoSetPixel(int x, int y, Color color) override;
    void DoTextOut(int x, int y, const std::string& text) override;
    void DoStretchImage(const Rect& dest, const Image& source, const Rect& sourceRect) override;
    void DoClip(const Rect* logical) override;
    void StateChanged(Change what, int x, int y) override;

private:
    void ApplyTransform();
    QPen MakePen() const;

    QPaintDevice* m_device;
    DeviceCaps m_caps;
    QPainter m_painter;
};

QColor ToQColor(Color c);

// Images drawn in code (DrawCommandImage, DrawResourceImage of the platform),
// smoothed, transparent where nothing was drawn; null when there is none.
QImage CommandImage(int id, int size);
QImage ResourceImage(int id, int size);
// A resource's image at the usual icon sizes; null when there is none.
QIcon ResourceIcon(int id);
