#include "platform/qt/QtDc.h"

#include "platform/Frame.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>

QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

void InstallFontSubstitutions()
{
    // Liberation Sans has Arial's metrics; the fallbacks keep text visible where it is missing.
    const QStringList faces{"Liberation Sans", "Arimo", "DejaVu Sans", "Sans Serif"};
    QFont::insertSubstitutions("Arial", faces);
    QFont::insertSubstitutions("Ariel", faces);
}

QFont ToQFont(const Font& font, QPaintDevice*)
{
    QFont f(QString::fromStdString(font.face));
    f.setStyleHint(QFont::SansSerif);
    f.setWeight(font.weight >= 700 ? QFont::Bold : font.weight <= 300 ? QFont::Light : QFont::Normal);
    f.setItalic(font.italic);
    // A positive height is the cell height, a negative one the character (em) height.
    const int height = std::max(1, std::abs(font.height));
    f.setPixelSize(height);
    if (font.height > 0) {
        const QFontMetrics m(f);
        if (m.height() > 0) f.setPixelSize(std::max(1, int(std::lround(double(height) * height / m.height()))));
    }
    return f;
}

QtDc::QtDc(QPaintDevice* device, DeviceCaps caps) : m_device(device), m_caps(caps), m_painter(device)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setFont(ToQFont(m_font, m_device));
}

QtDc::~QtDc()
{
    if (m_painter.isActive()) m_painter.end();
}

void QtDc::ApplyTransform()
{
    if (m_mapMode != MM_ANISOTROPIC) {
        m_painter.setTransform(QTransform::fromTranslate(m_viewportOrg.x - m_windowOrg.x, m_viewportOrg.y - m_windowOrg.y));
        return;
    }
    const double sx = double(m_viewportExt.cx) / m_windowExt.cx;
    const double sy = double(m_viewportExt.cy) / m_windowExt.cy;
    QTransform t(sx, 0, 0, sy, m_viewportOrg.x - m_windowOrg.x * sx, m_viewportOrg.y - m_windowOrg.y * sy);
    m_painter.setTransform(t);
}

void QtDc::StateChanged(Change what, int, int)
{
    if (what == Change::Font) m_painter.setFont(ToQFont(m_font, m_device));
    if (what >= Change::MapMode) ApplyTransform();
}

QPen QtDc::MakePen() const
{
    if (m_pen.style == PS_NULL) return QPen(Qt::NoPen);
    QPen pen(ToQColor(m_pen.color));
    pen.setWidth(m_pen.width);
    pen.setCosmetic(m_pen.width <= 1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (m_pen.style) {
    case PS_DASH: pen.setStyle(Qt::DashLine); break;
    case PS_DOT: pen.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    return pen;
}

void QtDc::DoLine(Point from, Point to)
{
    if (from == to) return;
    // An aliased line with a flat cap leaves its end point out, as the painting
    // code expects.
    m_painter.setPen(MakePen());
    m_painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void QtDc::DoPolyline(const Point* points, int count)
{
    for (int i = 1; i < count; ++i) DoLine(points[i - 1], points[i]);
}

void QtDc::DoPolygon(const Point* points, int count)
{
    QPolygon polygon;
    for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
    m_painter.setPen(MakePen());
    m_painter.setBrush(m_brush.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQColor(m_brush.color)));
    m_painter.drawPolygon(polygon);
}

void QtDc::DoRectangle(const Rect& r)
{
    if (r.IsEmpty()) return;
    if (!m_brush.hollow) m_painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(m_brush.color));
    if (m_pen.style == PS_NULL) return;
    m_painter.setPen(MakePen());
    m_painter.setBrush(Qt::NoBrush);
    // A one-pixel outline on the inside: columns left..right-1, rows top..bottom-1.
    m_painter.drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
}

void QtDc::DoFillRect(const Rect& r, Color color)
{
    if (r.IsEmpty()) return;
    m_painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(color));
}

void QtDc::DoSetPixel(int x, int y, Color color) { m_painter.fillRect(QRect(x, y, 1, 1), ToQColor(color)); }

void QtDc::DoTextOut(int x, int y, const std::string& text)
{
    const QString s = QString::fromLatin1(text.data(), int(text.size()));
    const QFontMetrics metrics(m_painter.font());
    const int width = metrics.horizontalAdvance(s);
    int left = x;
    switch (m_textAlign & TA_HMASK) {
    case TA_CENTER: left = x - width / 2; break;
    case TA_RIGHT: left = x - width; break;
    default: break;
    }
    int top = y;
    switch (m_textAlign & TA_VMASK) {
    case TA_BOTTOM: top = y - metrics.height(); break;
    case TA_BASELINE: top = y - metrics.ascent(); break;
    default: break;
    }
    m_painter.save();
    if (m_font.escapement != 0) {
        m_painter.translate(x, y);
        m_painter.rotate(-m_font.escapement / 10.0);
        m_painter.translate(-x, -y);
    }
    if (m_bkMode == OPAQUE) m_painter.fillRect(QRect(left, top, width, metrics.height()), ToQColor(m_bkColor));
    m_painter.setPen(ToQColor(m_textColor));
    m_painter.drawText(QPoint(left, top + metrics.ascent()), s);
    m_painter.restore();
}

void QtDc::DoStretchImage(const Rect& dest, const Image& source, const Rect& s)
{
    // The image's rows are used in place: no copy of the pixels.
    const QImage image(reinterpret_cast<const uchar*>(source.pixels.data()), source.width, source.height,
                       source.width * 4, QImage::Format_RGB32);
    m_painter.drawImage(QRect(dest.left, dest.top, dest.Width(), dest.Height()), image,
                        QRect(s.left, s.top, s.Width(), s.Height()));
}

void QtDc::DoClip(const Rect* logical)
{
    if (!logical) m_painter.setClipping(false);
    else m_painter.setClipRect(QRect(logical->left, logical->top, logical->Width(), logical->Height()));
}

Size QtDc::GetTextExtent(const std::string& text)
{
    const QFontMetrics metrics(m_painter.font());
    return {metrics.horizontalAdvance(QString::fromLatin1(text.data(), int(text.size()))), metrics.height()};
}

namespace {

template <typename Draw> QImage RenderImage(int size, Draw draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    DeviceCaps caps;
    caps.horzRes = caps.vertRes = size;
    bool drawn = false;
    {
        QtDc dc(&image, caps);
        dc.Painter().setRenderHint(QPainter::Antialiasing, true);
        drawn = draw(dc);
    }
    return drawn ? image : QImage();
}

} // namespace

QImage CommandImage(int id, int size)
{
    return RenderImage(size, [&](Dc& dc) { return DrawCommandImage(id, dc, size); });
}

QImage ResourceImage(int id, int size)
{
    return RenderImage(size, [&](Dc& dc) { return DrawResourceImage(id, dc, size); });
}

QIcon ResourceIcon(int id)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image = ResourceImage(id, size);
        if (image.isNull()) return QIcon();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
