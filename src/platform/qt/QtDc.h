// The drawing context on a QPainter, with GDI conventions: lines leave out their
// end point, rectangles their right and bottom edges, text is placed by the top of
// its cell, a pen of width 0 is one device pixel.
#pragma once

#include "platform/Dc.h"

#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QString>

#include <utility>
#include <vector>

class QPaintDevice;
struct ShapedText;

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
    void MakePen();
    void UseFont();
    // True when Qt rasterises each line of one drawLines call on its own, exactly as
    // it would draw them one by one: aliased, and mapped by a translation only.
    bool LinesDrawnApart() const;
    const QString& Latin1(const std::string& text);
    // The width of `text` in the selected font, and with `shape` its glyphs, from the
    // kept labels where they may be used; null where text is drawn by Qt as it comes.
    const ShapedText* Kept(const std::string& text, bool shape);
    bool KeepsText() const;
    // Fills the first `count` of m_points with the brush, outline apart.
    void FillPolygon(int count);
    // Fills a curve drawn down to a base line column by column, as Qt fills it;
    // false for any other polygon, or where Qt must draw.
    bool StampColumnFill(int count);
    // Draws m_lines with the wide pen, stamped straight into an image where it can.
    void StrokeWide();
    bool BeginStamping();
    // Finds the image pixels stamps go to, for any pen; false where Qt must draw.
    bool FindStampTarget();
    // Stamps a thin line along a row or column as Qt draws it; false where it cannot.
    bool StampThin(Point from, Point to);
    // Stamps the outline of a rectangle drawn with a solid thin pen; false where Qt must.
    bool StampFrame(const Rect& r);
    // Squares of the wide pen at the first `count` of m_points, after StrokeWide.
    void WideCorners(int count);
    // Polygons from this many points are filled apart from their outline.
    static constexpr int kLongPolygon = 128;

    QPaintDevice* m_device;
    DeviceCaps m_caps;
    QPainter m_painter;
    // Made once per selection, not per shape.
    QPen m_qpen;
    QBrush m_qbrush;
    QPen m_textPen;
    QFontMetrics m_metrics;
    // Buffers kept from shape to shape.
    std::vector<QPoint> m_points;
    std::vector<QPoint> m_fill;
    std::vector<QLine> m_lines;
    std::vector<QLine> m_rest;
    std::vector<QRect> m_corners;
    std::vector<std::pair<int, int>> m_columnRows;
    // Where wide lines are stamped: the image's pixels, or null.
    uchar* m_stampTarget = nullptr;
    qsizetype m_stampLine = 0;
    QPoint m_stampOffset;
    QRect m_stampArea;
    uint32_t m_stampColour = 0;
    QString m_text;
    // The selected font as a key of the kept labels, and a buffer for the full key.
    std::string m_fontKey;
    std::string m_textKey;
    bool m_keepsText;
};

QColor ToQColor(Color c);

// Images drawn in code (DrawCommandImage, DrawResourceImage of the platform),
// smoothed, transparent where nothing was drawn; null when there is none.
QImage CommandImage(int id, int size);
QImage ResourceImage(int id, int size);
// A resource's image at the usual icon sizes; null when there is none.
QIcon ResourceIcon(int id);
