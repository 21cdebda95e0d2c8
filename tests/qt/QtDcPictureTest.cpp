// The Qt painter draws each shape with one call, its pen made once per selection and
// its wide lines stamped; its pictures are compared pixel for pixel with those of a
// plain painter that draws segment by segment and makes the pen for each shape. Only
// the corners of wide polygon outlines may differ.
#include "platform/Frame.h"
#include "platform/qt/QtDc.h"
#include "res/Images.h"

#include <QTransform>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>

namespace {

// The reference: every segment a line of its own, the pen made for each shape.
class SegmentDc : public Dc {
public:
    explicit SegmentDc(QPaintDevice* device) : m_device(device), m_painter(device)
    {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
        m_painter.setFont(ToQFont(m_font, m_device));
    }
    QPainter& Painter() { return m_painter; }
    std::vector<QPoint> wideCorners; // device points of polygons outlined by a wide pen

    Size GetTextExtent(const std::string& text) override
    {
        const QFontMetrics metrics(m_painter.font());
        return {metrics.horizontalAdvance(QString::fromLatin1(text.data(), int(text.size()))), metrics.height()};
    }
    int GetDeviceCaps(int) const override { return 0; }

protected:
    void StateChanged(Change what, int, int) override
    {
        if (what == Change::Font) m_painter.setFont(ToQFont(m_font, m_device));
        if (what < Change::MapMode) return;
        const double sx = m_mapMode == MM_ANISOTROPIC ? double(m_viewportExt.cx) / m_windowExt.cx : 1;
        const double sy = m_mapMode == MM_ANISOTROPIC ? double(m_viewportExt.cy) / m_windowExt.cy : 1;
        m_painter.setTransform(
            QTransform(sx, 0, 0, sy, m_viewportOrg.x - m_windowOrg.x * sx, m_viewportOrg.y - m_windowOrg.y * sy));
    }
    QPen MakePen() const
    {
        if (m_pen.style == PS_NULL) return QPen(Qt::NoPen);
        QPen pen(ToQColor(m_pen.color));
        pen.setWidth(m_pen.width);
        pen.setCosmetic(m_pen.width <= 1);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
        pen.setStyle(styles[m_pen.style]);
        return pen;
    }
    void DoLine(Point from, Point to) override
    {
        if (from == to) return;
        m_painter.setPen(MakePen());
        m_painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    }
    void DoPolyline(const Point* points, int count) override
    {
        for (int i = 1; i < count; ++i) DoLine(points[i - 1], points[i]);
    }
    void DoPolygon(const Point* points, int count) override
    {
        QPolygon polygon;
        for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
        if (m_pen.style != PS_NULL && m_pen.width > 1)
            for (const QPoint& p : polygon) wideCorners.push_back(m_painter.transform().map(p));
        m_painter.setPen(MakePen());
        m_painter.setBrush(m_brush.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQColor(m_brush.color)));
        m_painter.drawPolygon(polygon);
    }
    void DoRectangle(const Rect& r) override
    {
        if (r.IsEmpty()) return;
        if (!m_brush.hollow) m_painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(m_brush.color));
        if (m_pen.style == PS_NULL) return;
        m_painter.setPen(MakePen());
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
    }
    void DoFillRect(const Rect& r, Color color) override
    {
        if (!r.IsEmpty()) m_painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(color));
    }
    void DoSetPixel(int x, int y, Color color) override { m_painter.fillRect(QRect(x, y, 1, 1), ToQColor(color)); }
    void DoTextOut(int x, int y, const std::string& text) override
    {
        const QString s = QString::fromLatin1(text.data(), int(text.size()));
        const QFontMetrics metrics(m_painter.font());
        const int width = metrics.horizontalAdvance(s);
        const int h = int(m_textAlign & TA_HMASK), v = int(m_textAlign & TA_VMASK);
        const int left = h == TA_CENTER ? x - width / 2 : h == TA_RIGHT ? x - width : x;
        const int top = v == TA_BOTTOM ? y - metrics.height() : v == TA_BASELINE ? y - metrics.ascent() : y;
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
    void DoStretchImage(const Rect&, const Image&, const Rect&) override {}
    void DoClip(const Rect* r) override
    {
        if (!r) m_painter.setClipping(false);
        else m_painter.setClipRect(QRect(r->left, r->top, r->Width(), r->Height()));
    }

private:
    QPaintDevice* m_device;
    QPainter m_painter;
};

using Scene = std::function<void(Dc&)>;

struct Pictures {
    QImage before, now;
    std::vector<QPoint> wideCorners;
};

Pictures Render(int width, int height, const Scene& scene, bool smooth = false)
{
    Pictures p{QImage(width, height, QImage::Format_RGB32), QImage(width, height, QImage::Format_RGB32), {}};
    p.before.fill(Qt::white);
    p.now.fill(Qt::white);
    {
        SegmentDc dc(&p.before);
        dc.Painter().setRenderHint(QPainter::Antialiasing, smooth);
        scene(dc);
        p.wideCorners = dc.wideCorners;
    }
    QtDc dc(&p.now, DeviceCaps{});
    dc.Painter().setRenderHint(QPainter::Antialiasing, smooth);
    scene(dc);
    return p;
}

std::vector<QPoint> Differences(const QImage& a, const QImage& b)
{
    std::vector<QPoint> out;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) out.emplace_back(x, y);
    return out;
}

// Differing pixels farther than `reach` (in both directions) from every corner.
std::vector<QPoint> AwayFromCorners(const std::vector<QPoint>& differences, const std::vector<QPoint>& corners, int reach)
{
    std::vector<QPoint> out;
    for (const QPoint& d : differences) {
        bool near = false;
        for (const QPoint& c : corners) near = near || (std::abs(d.x() - c.x()) <= reach && std::abs(d.y() - c.y()) <= reach);
        if (!near) out.push_back(d);
    }
    return out;
}

std::string Describe(const std::vector<QPoint>& pixels)
{
    if (pixels.empty()) return "none";
    return std::to_string(pixels.size()) + " pixels, the first at " + std::to_string(pixels[0].x()) + ","
           + std::to_string(pixels[0].y());
}

// Walks with long jumps, spikes that turn back, repeated points and runs of columns,
// as wiggles and spectra draw them.
std::vector<Point> Walk(std::mt19937& random, int count, int width, int height)
{
    std::uniform_int_distribution<int> x(-10, width + 10), y(-10, height + 10), kind(0, 5), step(-3, 3);
    std::vector<Point> out{{x(random), y(random)}};
    for (int i = 1; i < count; ++i) {
        Point p = out.back();
        switch (kind(random)) {
        case 0: p = {x(random), y(random)}; break;
        case 1: break; // the same point again
        case 2: p = i >= 2 ? out[size_t(i - 2)] : p; break; // back where it came from
        default: p = {p.x + 1, y(random)}; break;
        }
        if (kind(random) == 0) p = {p.x + step(random), p.y + step(random)};
        out.push_back(p);
    }
    return out;
}

const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};

void Lines(Dc& dc, bool moveTo)
{
    std::mt19937 random(7);
    for (int style : kStyles)
        for (int width : {0, 1, 2, 3}) {
            dc.SelectPen({style, width, Rgb(40 * width, 90, 200 - 30 * style)});
            const std::vector<Point> points = Walk(random, 40, 240, 180);
            if (!moveTo) {
                dc.Polyline(points.data(), int(points.size()));
                continue;
            }
            dc.MoveTo(points[0].x, points[0].y);
            for (const Point& p : points) dc.LineTo(p.x, p.y);
        }
}

void Shapes(Dc& dc)
{
    std::mt19937 random(11);
    int n = 0;
    for (int style : kStyles)
        for (int width : {0, 1, 2}) {
            if (width > 1 && style == PS_SOLID) continue; // wide solid outlines: their own test
            dc.SelectPen({style, width, Rgb(0, 0, 0)});
            dc.SelectBrush({Rgb(30 * n % 256, 200, 100), n % 3 == 0});
            const std::vector<Point> points = Walk(random, 3 + n % 9, 240, 180);
            dc.Polygon(points.data(), int(points.size()));
            const Point a = points[0], b = points[1];
            dc.Rectangle({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
            dc.Rectangle({a.x, a.y, a.x, a.y + 5});
            dc.FillRect({b.x, b.y, b.x + 7, b.y + 3}, Rgb(255, 0, 0));
            dc.SetPixel(a.x, b.y, Rgb(0, 0, 255));
            ++n;
        }
    for (int style : kStyles) { // long outlines, filled in runs
        dc.SelectPen({style, style == PS_DASH ? 2 : 0, Rgb(0, 0, 0)});
        dc.SelectBrush({Rgb(30 * style, 120, 200), false});
        const std::vector<Point> points = Walk(random, 150 + 60 * style, 240, 180);
        dc.Polygon(points.data(), int(points.size()));
    }
    dc.SelectPen({PS_SOLID, 2, Rgb(0, 0, 0)}); // wide outlines of rectangles keep their joins
    dc.SelectBrush({Rgb(255, 255, 100), false});
    dc.Rectangle({20, 30, 120, 90});
    dc.SelectBrush({0, true});
    dc.Rectangle({100, 80, 101, 150});
}

void Texts(Dc& dc)
{
    const unsigned horizontal[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
    const unsigned vertical[] = {TA_TOP, TA_BOTTOM, TA_BASELINE};
    int y = 12;
    const Font fonts[] = {{"Ariel", 12, FW_NORMAL}, {"Arial", -15, FW_BOLD, true}, {"Arial", 14, FW_NORMAL, false, 900}};
    for (const Font& font : fonts) {
        dc.SelectFont(font);
        for (unsigned h : horizontal)
            for (unsigned v : vertical) {
                dc.SetTextAlign(h | v);
                dc.SetBkMode(v == TA_BOTTOM ? OPAQUE : TRANSPARENT);
                dc.SetBkColor(Rgb(200, 220, 255));
                dc.SetTextColor(Rgb(0, 20 * int(h), 0));
                dc.TextOut(120, y, "12.5 \xB5s Wg");
                y += 8;
            }
    }
}

void Mapped(Dc& dc)
{
    dc.SetWindowOrg(-15, 10); // a translation: the lines of one call, as with none
    Lines(dc, false);
    dc.SetMapMode(MM_ANISOTROPIC); // scaled: line by line
    dc.SetWindowExt(100, 100);
    dc.SetViewportExt(130, 70);
    Lines(dc, true);
    dc.SelectPen({PS_SOLID, 3, Rgb(0, 0, 0)});
    const Point corners[] = {{10, 10}, {150, 40}, {40, 150}};
    dc.Polygon(corners, 3);
}

void Clipped(Dc& dc)
{
    dc.IntersectClipRect({30, 20, 200, 140});
    Lines(dc, false);
    Shapes(dc);
}

// Wide lines are stamped from shapes learnt once: anywhere in a large image, moved by
// a window origin or cut by a clip, they keep Qt's own pixels.
void WideLinesAnywhere(Dc& dc)
{
    std::mt19937 random(3);
    std::uniform_int_distribution<int> step(-150, 150), x(-20, 2120), y(-20, 420);
    for (int round = 0; round < 3; ++round) {
        if (round == 1) dc.SetWindowOrg(-7, 5);
        if (round == 2) dc.IntersectClipRect({300, 40, 1800, 330});
        for (int width : {2, 3, 4, 6, 8}) {
            dc.SelectPen({PS_SOLID, width, Rgb(200, 30 * width, 40 * round)});
            std::vector<Point> points{{x(random), y(random)}};
            for (int i = 0; i < 600; ++i)
                points.push_back({std::clamp(points.back().x + step(random) / (1 + i % 3), -20, 2120),
                                  std::clamp(points.back().y + step(random) / (1 + i % 5), -20, 420)});
            dc.Polyline(points.data(), int(points.size()));
        }
    }
}

// Thin lines along rows and columns are stamped from shapes learnt once: of every
// style and length, either way, anywhere (at the edges, past them and cut by a clip)
// they keep Qt's own pixels, dash patterns starting where each line starts; so do
// rectangles' thin outlines.
void ThinLinesAnywhere(Dc& dc)
{
    std::mt19937 random(9);
    std::uniform_int_distribution<int> x(-30, 830), y(-30, 330), shortLength(1, 40), longLength(41, 900);
    for (int round = 0; round < 3; ++round) {
        if (round == 1) dc.SetWindowOrg(-7, 5);
        if (round == 2) dc.IntersectClipRect({100, 40, 700, 260});
        for (int style : kStyles)
            for (int width : {0, 1}) {
                dc.SelectPen({style, width, Rgb(20 * style, 100 * width, 40 * round)});
                for (int i = 0; i < 120; ++i) {
                    const int length = (i % 3 == 0 ? longLength(random) : shortLength(random)) * (i % 2 ? -1 : 1);
                    const Point a{x(random), y(random)};
                    dc.MoveTo(a.x, a.y);
                    if (i % 4 < 2) dc.LineTo(a.x + length, a.y);
                    else dc.LineTo(a.x, a.y + length);
                }
            }
    }
    for (int i = 0; i < 300; ++i) { // rectangles, their outlines as thin lines
        dc.SelectPen({i % 7 == 0 ? PS_DASH : PS_SOLID, i % 2, Rgb(0, 3 * (i % 80), 0)});
        dc.SelectBrush({Rgb(250, 200, i % 256), i % 3 == 0});
        const Point a{x(random), y(random)};
        const int w = i < 20 ? i % 4 : shortLength(random) + shortLength(random) % 3 * 30, h = i < 20 ? i / 4 : shortLength(random);
        dc.Rectangle({a.x, a.y, a.x + w, a.y + h});
    }
    dc.SelectPen({PS_DOT, 0, Rgb(0, 0, 0)}); // hard against the edges
    for (int edge : {0, 1, 2, 3, 4}) {
        dc.MoveTo(edge, 0);
        dc.LineTo(edge, 300);
        dc.MoveTo(0, 299 - edge);
        dc.LineTo(800, 299 - edge);
    }
}

// Curves of a point per column filled down to a base line, as spectra and wiggles
// are, are filled column by column from edges learnt once: smooth, steep, crossing
// the base line and lying on it, above and below it, moved and clipped, they keep
// the pixels Qt fills.
void CurvesDownToABaseLine(Dc& dc)
{
    std::mt19937 random(13);
    std::uniform_int_distribution<int> x(-40, 440), y(-20, 320), length(2, 300), jump(-120, 120), kind(0, 5);
    for (int round = 0; round < 3; ++round) {
        if (round == 1) dc.SetWindowOrg(-9, 4);
        if (round == 2) dc.IntersectClipRect({60, 30, 600, 250});
        for (int i = 0; i < 30; ++i) {
            const int style = i % 3 == 0 ? PS_NULL : PS_SOLID;
            dc.SelectPen({style, i % 2, Rgb(0, 0, 0)});
            dc.SelectBrush({Rgb(40 * round, 8 * i, 200), false});
            // Most inside the picture (and the clip), every fifth free to leave it.
            const bool free = i % 5 == 0;
            const int low = round == 2 ? 35 : 12, high = round == 2 ? 245 : 287;
            const int n = i < 4 ? length(random) % 3 + 2 : length(random);
            const int left = free ? x(random) : std::clamp(x(random), low + 60, 560 - n);
            const int base = free ? y(random) : std::clamp(y(random), low, high);
            std::vector<Point> points{{left, base}};
            int level = base + jump(random) / 2;
            for (int c = 0; c < n; ++c) {
                switch (kind(random)) {
                case 0: level += jump(random); break; // steep
                case 1: level = base; break; // on the base line
                default: level += jump(random) / 20; break;
                }
                if (!free) level = std::clamp(level, low, high);
                points.push_back({left + c, level});
            }
            points.push_back({left + n - 1, base});
            if (i < 4) points.insert(points.begin(), 126, points[0]); // short, made long enough to be filled apart
            dc.Polygon(points.data(), int(points.size()));
        }
    }
}

TEST(QtDcPicture, ShapesLinesAndTextAreDrawnAsLineByLine)
{
    const struct {
        const char* name;
        Scene scene;
        int width = 240, height = 180;
    } cases[] = {
        {"MoveTo and LineTo", [](Dc& dc) { Lines(dc, true); }},
        {"polygons and rectangles", Shapes},
        {"text", Texts},
        {"mapped", Mapped},
        {"clipped", Clipped},
        {"wide lines anywhere", WideLinesAnywhere, 2100, 400},
        {"thin lines along rows and columns", ThinLinesAnywhere, 800, 300},
        {"curves down to a base line", CurvesDownToABaseLine, 700, 300},
    };
    for (const auto& c : cases) {
        const Pictures p = Render(c.width, c.height, c.scene);
        EXPECT_EQ(Describe(Differences(p.before, p.now)), "none") << c.name;
    }
}

// Labels are measured and shaped once and drawn from what was kept: drawn again, in
// the fonts and alignments the views use, moved by a window origin or drawn on a
// second painter, they keep drawText's pixels and widths.
TEST(QtDcPicture, KeptLabelsDrawAndMeasureAsQtDoes)
{
    const Font fonts[] = {{"Ariel", 12, FW_NORMAL}, {"Ariel", 14, FW_NORMAL}, {"Arial", 16, FW_BOLD},
                          {"Arial", -11, FW_NORMAL, true}};
    const char* texts[] = {"1000", "-12.5", "R3", "Frequency (kHz)", " 0.0e+00 ", "12.5 \xB5s Wg", "", "|"};
    const unsigned horizontal[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
    const unsigned vertical[] = {TA_TOP, TA_BASELINE};
    std::vector<int> widths; // the reference's, then the painter's
    auto labels = [&](Dc& dc) {
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1) dc.SetWindowOrg(-3, 2);
            int y = 4;
            for (const Font& font : fonts) {
                dc.SelectFont(font);
                for (const char* text : texts) {
                    int x = 40;
                    for (unsigned h : horizontal)
                        for (unsigned v : vertical) {
                            dc.SetTextAlign(h | v);
                            dc.SetBkMode(h == TA_RIGHT ? OPAQUE : TRANSPARENT);
                            dc.SetBkColor(Rgb(200, 220, 255));
                            dc.SetTextColor(Rgb(0, 40 * pass, 90 * int(v)));
                            dc.TextOut(x, y, text);
                            x += 110;
                        }
                    widths.push_back(dc.GetTextExtent(text).cx);
                    y += 9;
                }
            }
        }
    };
    for (int round = 0; round < 2; ++round) { // the second on a new painter, from kept labels
        widths.clear();
        Pictures p{QImage(700, 320, QImage::Format_RGB32), QImage(700, 320, QImage::Format_RGB32), {}};
        p.before.fill(Qt::white);
        p.now.fill(Qt::white);
        {
            SegmentDc dc(&p.before);
            labels(dc);
        }
        const size_t measured = widths.size();
        {
            QtDc dc(&p.now, DeviceCaps{});
            labels(dc);
        }
        ASSERT_EQ(widths.size(), 2 * measured);
        for (size_t i = 0; i < measured; ++i) EXPECT_EQ(widths[i], widths[measured + i]) << "width " << i;
        EXPECT_EQ(Describe(Differences(p.before, p.now)), "none") << "round " << round;
    }
}

TEST(QtDcPicture, ButtonsAndTheProgramIconAreUnchanged)
{
    int drawn = 0;
    for (int size : {16, 24, 32}) {
        for (int id = 32000; id < 60000; ++id) {
            RecordingDc probe;
            if (!DrawButtonImage(id, probe, size)) continue;
            const Pictures p = Render(size, size, [&](Dc& dc) { DrawButtonImage(id, dc, size); }, true);
            EXPECT_EQ(Describe(Differences(p.before, p.now)), "none") << "button " << id << " at " << size;
            ++drawn;
        }
        const Pictures p = Render(size * 2, size * 2, [&](Dc& dc) { DrawProgramImage(kProgramIcon, dc, size * 2); }, true);
        EXPECT_EQ(Describe(Differences(p.before, p.now)), "none") << "program icon at " << size * 2;
    }
    EXPECT_GT(drawn, 30);
}

// A wide outline: the sides as the same wide lines a polyline draws, with no gap, and a
// square of the pen's width at each corner; fill and background stay as they were.
TEST(QtDcPicture, WideOutlinesAreTheirSidesWithSquareCorners)
{
    std::mt19937 random(5);
    const QRgb ink = 0xFF0000A0u;
    for (int width : {2, 3, 4})
        for (int round = 0; round < 20; ++round) {
            const std::vector<Point> points = Walk(random, round < 15 ? 3 + round % 8 : 100 * round - 1400, 240, 180);
            std::vector<Point> ring = points;
            ring.push_back(points[0]);
            const Pen pen{PS_SOLID, width, Rgb(0, 0, 160)};
            const Pictures p = Render(240, 180, [&](Dc& dc) {
                dc.SelectPen(pen);
                dc.SelectBrush({Rgb(250, 200, 0), round % 2 == 0});
                dc.Polygon(points.data(), int(points.size()));
            });
            const QImage sides = Render(240, 180, [&](Dc& dc) {
                dc.SelectPen(pen);
                dc.Polyline(ring.data(), int(ring.size()));
            }).before;
            std::vector<QPoint> strays, gaps, beyondCorners, openCorners;
            for (const Point& c : points) // the four pixels about each corner
                for (int k = 0; k < 4; ++k) {
                    const QPoint q(c.x - 1 + k % 2, c.y - 1 + k / 2);
                    if (p.now.rect().contains(q) && p.now.pixel(q) != ink) openCorners.push_back(q);
                }
            for (int y = 0; y < 180; ++y)
                for (int x = 0; x < 240; ++x) {
                    const QRgb before = p.before.pixel(x, y), now = p.now.pixel(x, y), side = sides.pixel(x, y);
                    if (before != now && before != ink && now != ink) strays.emplace_back(x, y);
                    if (side == ink && now != ink) gaps.emplace_back(x, y);
                    if (now == ink && side != ink) beyondCorners.emplace_back(x, y);
                }
            const std::string what = "width " + std::to_string(width) + ", round " + std::to_string(round);
            EXPECT_EQ(Describe(strays), "none") << what;
            EXPECT_EQ(Describe(gaps), "none") << what;
            EXPECT_EQ(Describe(openCorners), "none") << what;
            EXPECT_EQ(Describe(AwayFromCorners(beyondCorners, p.wideCorners, (width + 1) / 2)), "none") << what;
        }
}

} // namespace
