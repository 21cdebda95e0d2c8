#include "platform/qt/QtDc.h"

#include "platform/Frame.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextLayout>
#include <QThread>
#include <QTransform>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <utility>

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

namespace {

// Wide solid lines as Qt's aliased rasteriser fills them, kept by shape so that a
// line is stamped into the image rather than rasterised again: Qt spends far more
// on setting up each short line than on its few pixels, and a trace is thousands of
// them. A shape is learnt from Qt itself, by drawing the line once on a scratch
// image. Its pixels repeat wherever the line is moved by whole pixels, provided its
// columns stay between the same powers of two (the rounding of the positions Qt
// computes depends on their magnitude) and the pen's half width is whole (an odd
// width puts edges on pixel centres).
class LineStamps {
public:
    struct Span {
        int16_t row, left, length; // from the line's start
    };
    static constexpr int kReach = 127; // longest extent kept

    // The spans of the line from device column x by (dx, dy), `width` an even
    // 2..8 and the line within one power-of-two band of columns (Band()); a count of
    // -1 for a line left to Qt.
    std::pair<const Span*, int> Of(int x, int dx, int dy, int width, int band)
    {
        std::vector<uint32_t>& table = m_tables[size_t(width / 2 - 1)][size_t(band)];
        const size_t key = size_t((dx + 128) * 256 + dy + 128);
        if (table.empty() || table[key] == kUnknown) {
            if (m_spans.size() > kMaxSpans) Forget(); // a bound no plot comes near
            if (table.empty()) table.assign(size_t(256 * 256), kUnknown);
            table[key] = Learn(x, dx, dy, width);
        }
        const uint32_t entry = table[key];
        if (entry == kNever) return {nullptr, -1};
        return {m_spans.data() + (entry >> 8), int(entry & 0xFF)};
    }
    // The power-of-two band holding columns lo..hi, or -1.
    static int Band(int lo, int hi)
    {
        if (lo < 1) return -1;
        const int band = int(std::bit_width(unsigned(lo))) - 1;
        return int(std::bit_width(unsigned(hi))) - 1 == band ? band : -1;
    }

private:
    static constexpr uint32_t kUnknown = 0xFFFFFFFFu;
    static constexpr uint32_t kNever = 0xFFFFFFFEu; // more spans than an entry holds: Qt draws it
    static constexpr size_t kMaxSpans = size_t(1) << 22;

    uint32_t Learn(int x, int dx, int dy, int width)
    {
        // Drawn at its own columns, so that Qt rounds as it will in the image.
        const int margin = width + 2;
        const int left = std::max(0, std::min(x, x + dx) - margin), right = std::max(x, x + dx) + margin;
        const int y = margin + std::max(0, -dy);
        const int bottom = y + std::max(0, dy) + margin;
        if (m_scratch.width() <= right || m_scratch.height() <= bottom)
            m_scratch = QImage(std::max(m_scratch.width(), right + 1), std::max(m_scratch.height(), bottom + 1),
                               QImage::Format_RGB32);
        {
            QPainter painter(&m_scratch);
            painter.fillRect(QRect(left, 0, right - left + 1, bottom + 1), Qt::black);
            QPen pen(Qt::white);
            pen.setWidth(width);
            pen.setCapStyle(Qt::FlatCap);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.drawLine(QPoint(x, y), QPoint(x + dx, y + dy));
        }
        const uint32_t start = uint32_t(m_spans.size());
        for (int row = 0; row <= bottom; ++row) {
            const auto* pixels = reinterpret_cast<const QRgb*>(m_scratch.constScanLine(row));
            for (int c = left; c <= right; ++c) {
                if (pixels[c] != 0xFFFFFFFFu) continue;
                int end = c;
                while (end <= right && pixels[end] == 0xFFFFFFFFu) ++end;
                m_spans.push_back({int16_t(row - y), int16_t(c - x), int16_t(end - c)});
                c = end;
            }
        }
        const uint32_t count = uint32_t(m_spans.size()) - start;
        if (count < 256) return start << 8 | count;
        m_spans.resize(start);
        return kNever;
    }
    void Forget()
    {
        m_spans.clear();
        for (auto& widths : m_tables)
            for (auto& table : widths) table = {};
    }

    std::array<std::array<std::vector<uint32_t>, 31>, 4> m_tables; // [width / 2 - 1][band]: offset << 8 | count
    std::vector<Span> m_spans;
    QImage m_scratch;
};

LineStamps& Stamps()
{
    thread_local LineStamps stamps;
    return stamps;
}

// Thin (cosmetic) lines along a row or a column, dotted, dashed or solid, kept by pen
// and extent: grids and reference lines repeat the same few lengths at many places,
// and Qt's dashed stroker spends far longer on each than its pixels take. Each line
// starts its dash pattern afresh, and its pixels move with it by whole pixels, so a
// shape learnt from Qt once serves every place.
class ThinStamps {
public:
    struct Span {
        int32_t row, left, length; // from the line's start
    };
    static constexpr int kReach = 4096; // longest extent kept
    static constexpr int kMargin = 3;   // how far about the line its shape is looked for

    // The spans of a line by (dx, dy), one of them zero; null for a line left to Qt.
    const std::vector<Span>* Of(const QPen& pen, int style, int dx, int dy)
    {
        const uint64_t key = (uint64_t(style) * 2 + uint64_t(pen.width() > 0)) << 32
                             | uint64_t(dx + kReach) << 16 | uint64_t(dy + kReach);
        auto it = m_shapes.find(key);
        if (it == m_shapes.end()) {
            if (m_shapes.size() >= kMaxShapes) m_shapes.clear(); // a bound no view comes near
            it = m_shapes.emplace(key, Learn(pen, dx, dy)).first;
        }
        return it->second.known ? &it->second.spans : nullptr;
    }

private:
    struct Shape {
        bool known = false;
        std::vector<Span> spans;
    };
    static constexpr size_t kMaxShapes = 512;

    Shape Learn(const QPen& pen, int dx, int dy)
    {
        const int x = kMargin + std::max(0, -dx), y = kMargin + std::max(0, -dy);
        const int width = std::abs(dx) + 2 * kMargin + 1, height = std::abs(dy) + 2 * kMargin + 1;
        if (m_scratch.width() < width || m_scratch.height() < height)
            m_scratch = QImage(std::max(m_scratch.width(), width), std::max(m_scratch.height(), height),
                               QImage::Format_RGB32);
        {
            QPainter painter(&m_scratch);
            painter.fillRect(QRect(0, 0, width, height), Qt::black);
            QPen white(pen);
            white.setColor(Qt::white);
            painter.setPen(white);
            painter.drawLine(QPoint(x, y), QPoint(x + dx, y + dy));
        }
        Shape shape;
        for (int row = 0; row < height; ++row) {
            const auto* pixels = reinterpret_cast<const QRgb*>(m_scratch.constScanLine(row));
            for (int c = 0; c < width; ++c) {
                if (pixels[c] == 0xFF000000u) continue;
                if (pixels[c] != 0xFFFFFFFFu) return {}; // blended: Qt draws it
                int end = c;
                while (end < width && pixels[end] == 0xFFFFFFFFu) ++end;
                shape.spans.push_back({row - y, c - x, end - c});
                c = end - 1;
            }
        }
        shape.known = true;
        return shape;
    }

    std::unordered_map<uint64_t, Shape> m_shapes;
    QImage m_scratch;
};

ThinStamps& ThinLines()
{
    thread_local ThinStamps stamps;
    return stamps;
}

// Where Qt's aliased filler puts the edge of a curve filled down to a base line: the
// curve is a point per column, so a column's pixels lie between the base line and the
// side from its point to the next one, cut where that side passes the column's middle.
// Qt decides a tie (the side through a pixel's centre) by the side's slope and by the
// fill lying above or below it, so each is learnt from Qt once, for a side rising or
// falling by `d` rows, as the first row under it and the row past the last one above it.
class ColumnEdges {
public:
    static constexpr int kReach = 4096; // steepest side kept

    // The first row below the side (fill below) and the row past the last one above it
    // (fill above), from the side's first point; false for a side left to Qt.
    bool Of(int d, int& below, int& above)
    {
        Edge& e = m_edges[size_t(d + kReach)];
        if (!e.learnt) e = Learn(d);
        below = e.below;
        above = e.above;
        return e.known;
    }

private:
    struct Edge {
        bool learnt = false, known = false;
        int16_t below = 0, above = 0;
    };

    Edge Learn(int d)
    {
        Edge e;
        e.learnt = true;
        const int reach = std::abs(d) + 4, x = 2, y = reach + 1, height = 2 * reach + 3;
        if (m_scratch.width() < x + 3 || m_scratch.height() < height)
            m_scratch = QImage(std::max(m_scratch.width(), x + 3), std::max(m_scratch.height(), height), QImage::Format_RGB32);
        int rows[2][2] = {}; // [fill below, above][first, past last]
        for (int side = 0; side < 2; ++side) {
            const int base = side == 0 ? y + reach : y - reach;
            {
                QPainter painter(&m_scratch);
                painter.fillRect(QRect(0, 0, x + 3, height), Qt::black);
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::white);
                const QPoint corners[] = {{x, base}, {x, y}, {x + 1, y + d}, {x + 1, base}};
                painter.drawPolygon(corners, 4);
            }
            int first = -1, past = -1, stray = 0;
            for (int row = 0; row < height; ++row) {
                const auto* pixels = reinterpret_cast<const QRgb*>(m_scratch.constScanLine(row));
                stray += int(pixels[x - 1] != 0xFF000000u) + int(pixels[x + 1] != 0xFF000000u);
                if (pixels[x] == 0xFF000000u) continue;
                if (pixels[x] != 0xFFFFFFFFu || (past >= 0 && past != row)) return e; // not one run: Qt fills it
                if (first < 0) first = row;
                past = row + 1;
            }
            if (stray != 0) return e;
            rows[side][0] = first;
            rows[side][1] = past;
        }
        // Below: the run ends on the base line; above: it starts there. No run at all
        // (a side on the base line) tells nothing.
        const int baseBelow = y + reach, baseAbove = y - reach;
        if (rows[0][0] < 0 || rows[0][1] != baseBelow || rows[1][0] != baseAbove || rows[1][1] < 0) return e;
        e.below = int16_t(rows[0][0] - y);
        e.above = int16_t(rows[1][1] - y);
        e.known = e.above <= e.below;
        return e;
    }

    std::vector<Edge> m_edges = std::vector<Edge>(size_t(2 * kReach + 1));
    QImage m_scratch;
};

ColumnEdges& Edges()
{
    thread_local ColumnEdges edges;
    return edges;
}

} // namespace

// A label as measured and shaped once: the views draw the same tick labels, names
// and titles on every paint, and shaping them again costs more than drawing them.
struct ShapedText {
    int width = 0;
    bool shaped = false;
    QList<QGlyphRun> runs; // glyph positions from the start of the baseline
};

namespace {

class TextShapes {
public:
    // The entry for `key`, made empty when new; all are forgotten past a bound that a
    // view's labels stay well inside (changing numbers come and go).
    ShapedText& Entry(const std::string& key, bool& added)
    {
        if (m_entries.size() >= kMaxEntries) m_entries.clear();
        auto [it, inserted] = m_entries.try_emplace(key);
        added = inserted;
        return it->second;
    }
    void Clear() { m_entries.clear(); }

private:
    static constexpr size_t kMaxEntries = 1024;
    std::unordered_map<std::string, ShapedText> m_entries;
};

// The application's thread only: the glyphs hold font engines, which must go when
// the application does, before the program's own statics.
TextShapes& Shapes()
{
    static TextShapes shapes;
    static const bool registered = [] {
        qAddPostRoutine([] { shapes.Clear(); });
        return true;
    }();
    (void)registered;
    return shapes;
}

bool OnApplicationThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

QtDc::QtDc(QPaintDevice* device, DeviceCaps caps)
    : m_device(device), m_caps(caps), m_painter(device), m_metrics(QFont()), m_keepsText(OnApplicationThread())
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    UseFont();
    MakePen();
    m_qbrush = QBrush(ToQColor(m_brush.color));
    m_textPen = QPen(ToQColor(m_textColor));
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
    switch (what) {
    case Change::Pen: MakePen(); break;
    case Change::Brush: m_qbrush = m_brush.hollow ? QBrush(Qt::NoBrush) : QBrush(ToQColor(m_brush.color)); break;
    case Change::Font: UseFont(); break;
    case Change::TextColor: m_textPen = QPen(ToQColor(m_textColor)); break;
    case Change::MapMode:
    case Change::WindowOrg:
    case Change::WindowExt:
    case Change::ViewportOrg:
    case Change::ViewportExt: ApplyTransform(); break;
    default: break;
    }
}

void QtDc::UseFont()
{
    const QFont font = ToQFont(m_font, m_device);
    m_painter.setFont(font);
    m_metrics = QFontMetrics(m_painter.isActive() ? m_painter.font() : font);
    // The font is a function of these alone; the zero ends the key's font part.
    m_fontKey = m_font.face + '\x01' + std::to_string(m_font.height) + '\x01' + std::to_string(m_font.weight)
                + (m_font.italic ? "i" : "r") + std::to_string(m_font.escapement) + '\0';
}

void QtDc::MakePen()
{
    if (m_pen.style == PS_NULL) {
        m_qpen = QPen(Qt::NoPen);
        return;
    }
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
    m_qpen = pen;
}

bool QtDc::LinesDrawnApart() const
{
    const QPaintEngine* engine = m_painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster && !m_painter.testRenderHint(QPainter::Antialiasing)
           && m_painter.deviceTransform().type() <= QTransform::TxTranslate;
}

bool QtDc::BeginStamping()
{
    m_stampTarget = nullptr;
    if (m_pen.style != PS_SOLID || m_pen.width < 2 || m_pen.width > 8 || m_pen.width % 2 != 0) return false;
    return FindStampTarget();
}

bool QtDc::FindStampTarget()
{
    m_stampTarget = nullptr;
    if (m_device->devType() != QInternal::Image || !LinesDrawnApart()
        || m_painter.compositionMode() != QPainter::CompositionMode_SourceOver || m_painter.opacity() != 1.0)
        return false;
    auto* image = static_cast<QImage*>(m_device);
    const QTransform& t = m_painter.deviceTransform();
    if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied)
        || image->devicePixelRatio() != 1.0 || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    m_stampOffset = QPoint(int(t.dx()), int(t.dy()));
    m_stampArea = image->rect();
    if (m_painter.hasClipping()) m_stampArea &= t.mapRect(m_painter.clipBoundingRect()).toAlignedRect();
    // The very pixels the painter draws in: constBits() leaves the image as it is.
    m_stampTarget = const_cast<uchar*>(image->constBits());
    m_stampLine = image->bytesPerLine();
    m_stampColour = 0xFF000000u | (ToQColor(m_pen.color).rgb() & 0xFFFFFFu);
    return true;
}

bool QtDc::StampThin(Point from, Point to)
{
    if (m_pen.width > 1 || m_pen.style == PS_NULL || (from.x != to.x && from.y != to.y)) return false;
    const int dx = to.x - from.x, dy = to.y - from.y;
    if (std::abs(dx) > ThinStamps::kReach || std::abs(dy) > ThinStamps::kReach || !FindStampTarget()) return false;
    // Wholly inside the image and the clip, where Qt would cut nothing off.
    const int m = ThinStamps::kMargin;
    const QRect inside = m_stampArea.adjusted(m, m, -m, -m);
    const QPoint start = QPoint(from.x, from.y) + m_stampOffset, end = QPoint(to.x, to.y) + m_stampOffset;
    if (!inside.contains(start) || !inside.contains(end)) return false;
    const std::vector<ThinStamps::Span>* spans = ThinLines().Of(m_qpen, m_pen.style, dx, dy);
    if (!spans) return false;
    for (const ThinStamps::Span& s : *spans) {
        auto* row = reinterpret_cast<uint32_t*>(m_stampTarget + qsizetype(start.y() + s.row) * m_stampLine);
        std::fill_n(row + start.x() + s.left, s.length, m_stampColour);
    }
    return true;
}

void QtDc::StrokeWide()
{
    if (!BeginStamping()) {
        m_painter.drawLines(m_lines.data(), int(m_lines.size()));
        return;
    }
    LineStamps& stamps = Stamps();
    const int margin = m_pen.width / 2 + 2;
    const QRect inside = m_stampArea.adjusted(margin, margin, -margin, -margin);
    // Compared here rather than through QRect, whose tests are calls into Qt.
    const int insideLeft = inside.left(), insideTop = inside.top(), insideRight = inside.right(), insideBottom = inside.bottom();
    m_rest.clear();
    for (const QLine& logical : m_lines) {
        const QLine line = logical.translated(m_stampOffset);
        const int dx = line.dx(), dy = line.dy();
        const int left = std::min(line.x1(), line.x2()), right = std::max(line.x1(), line.x2());
        const int top = std::min(line.y1(), line.y2()), bottom = std::max(line.y1(), line.y2());
        const int band = LineStamps::Band(left - margin, right + margin);
        if (band < 0 || std::abs(dx) > LineStamps::kReach || std::abs(dy) > LineStamps::kReach || left < insideLeft
            || right > insideRight || top < insideTop || bottom > insideBottom) {
            m_rest.push_back(logical); // Qt draws it, clipped as the painter clips
            continue;
        }
        const auto [spans, count] = stamps.Of(line.x1(), dx, dy, m_pen.width, band);
        if (count < 0) m_rest.push_back(logical);
        for (int i = 0; i < count; ++i) {
            const LineStamps::Span& s = spans[i];
            auto* row = reinterpret_cast<uint32_t*>(m_stampTarget + qsizetype(line.y1() + s.row) * m_stampLine);
            std::fill_n(row + line.x1() + s.left, s.length, m_stampColour);
        }
    }
    if (!m_rest.empty()) m_painter.drawLines(m_rest.data(), int(m_rest.size()));
}

void QtDc::WideCorners(int count)
{
    // A square of the pen's width over the point, as the pen's lines lie about theirs;
    // stamped where it lies wholly in the image, else drawn by Qt.
    const int w = m_pen.width;
    m_corners.clear();
    const QRect& area = m_stampArea;
    const int dx = m_stampOffset.x() - w / 2, dy = m_stampOffset.y() - w / 2;
    for (int i = 0; i < count; ++i) {
        const QPoint& p = m_points[size_t(i)];
        const int left = p.x() + dx, top = p.y() + dy;
        if (!m_stampTarget || left < area.left() || top < area.top() || left + w - 1 > area.right()
            || top + w - 1 > area.bottom()) {
            m_corners.emplace_back(p.x() - w / 2, p.y() - w / 2, w, w);
            continue;
        }
        uchar* line = m_stampTarget + qsizetype(top) * m_stampLine;
        for (int y = 0; y < w; ++y, line += m_stampLine) std::fill_n(reinterpret_cast<uint32_t*>(line) + left, w, m_stampColour);
    }
    if (m_corners.empty()) return;
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ToQColor(m_pen.color));
    m_painter.drawRects(m_corners.data(), int(m_corners.size()));
}

void QtDc::DoLine(Point from, Point to)
{
    if (from == to || StampThin(from, to)) return;
    // An aliased line with a flat cap leaves its end point out, as the painting
    // code expects.
    m_painter.setPen(m_qpen);
    m_painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

namespace {

// The way Qt's thin-line stroker classes a line: by its longer extent and its sign.
unsigned Heading(const QLine& line)
{
    const int dx = line.dx(), dy = line.dy();
    if (std::abs(dx) < std::abs(dy)) return dy > 0 ? 1u : 2u;
    return dx > 0 ? 4u : 8u;
}

unsigned Reversed(unsigned heading) { return ((heading & 5u) << 1) | ((heading & 10u) >> 1); }

} // namespace

void QtDc::DoPolyline(const Point* points, int count)
{
    if (m_pen.style == PS_NULL) return;
    m_painter.setPen(m_qpen);
    // Each segment on its own, flat ends and no joins, as separate lines draw it; a
    // segment of no length draws nothing.
    m_lines.clear();
    for (int i = 1; i < count; ++i)
        if (!(points[i - 1] == points[i])) m_lines.emplace_back(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    const int n = int(m_lines.size());
    if (!LinesDrawnApart()) {
        // Antialiased, scaled or printed, Qt would merge the lines of one call into
        // one outline: icons and pages keep their line-by-line look.
        for (const QLine& line : m_lines) m_painter.drawLine(line);
        return;
    }
    if (m_pen.width > 1) {
        StrokeWide();
        return;
    }
    // Within one call Qt's thin-line stroker gives a line that runs straight back
    // against an earlier one a half-pixel cap (a spike's tip gains a pixel, a dash
    // pattern shifts); lines drawn alone get none. A new call starts there.
    int start = 0;
    unsigned headings = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned heading = Heading(m_lines[size_t(i)]);
        if (headings & Reversed(heading)) {
            m_painter.drawLines(m_lines.data() + start, i - start);
            start = i;
            headings = 0;
        }
        headings |= heading;
    }
    if (start < n) m_painter.drawLines(m_lines.data() + start, n - start);
}

bool QtDc::StampColumnFill(int count)
{
    // A curve of one point per column between two points on a base line: (x, B),
    // (x, y0), (x + 1, y1) ... (x + n - 1, yn-1), (x + n - 1, B).
    if (count < 4 || !FindStampTarget()) return false;
    const QPoint* p = m_points.data();
    const int x0 = p[0].x(), base = p[0].y(), n = count - 2;
    if (p[1].x() != x0 || p[count - 1].y() != base || p[count - 1].x() != x0 + n - 1) return false;
    const QPoint origin = QPoint(x0, base) + m_stampOffset;
    int top = base, bottom = base;
    for (int i = 0; i < n; ++i) {
        if (p[i + 1].x() != x0 + i) return false;
        top = std::min(top, p[i + 1].y());
        bottom = std::max(bottom, p[i + 1].y());
    }
    const QRect inside = m_stampArea.adjusted(1, 1, -1, -1);
    if (!inside.contains(origin.x(), top + m_stampOffset.y()) || !inside.contains(origin.x() + n - 1, bottom + m_stampOffset.y()))
        return false;
    ColumnEdges& edges = Edges();
    m_columnRows.resize(size_t(std::max(n - 1, 0)));
    for (int i = 0; i + 1 < n; ++i) {
        const int y0 = p[i + 1].y(), d = p[i + 2].y() - y0;
        int below = 0, above = 0;
        if (std::abs(d) > ColumnEdges::kReach || !edges.Of(d, below, above)) return false;
        // Rows first..past of this column, none where the side lies on the base line.
        auto& rows = m_columnRows[size_t(i)];
        rows = y0 + below < base ? std::pair{y0 + below, base} : y0 + above > base ? std::pair{base, y0 + above} : std::pair{0, 0};
        rows = {std::max(rows.first, top), std::min(rows.second, bottom + 1)};
    }
    const uint32_t colour = 0xFF000000u | (m_qbrush.color().rgb() & 0xFFFFFFu);
    for (int i = 0; i + 1 < n; ++i) {
        const auto [first, past] = m_columnRows[size_t(i)];
        uchar* pixel = m_stampTarget + qsizetype(first + m_stampOffset.y()) * m_stampLine + qsizetype(origin.x() + i) * 4;
        for (int row = first; row < past; ++row, pixel += m_stampLine) *reinterpret_cast<uint32_t*>(pixel) = colour;
    }
    return true;
}

void QtDc::FillPolygon(int count)
{
    m_painter.setPen(Qt::NoPen);
    if (m_brush.hollow || StampColumnFill(count)) return;
    if (count < kLongPolygon || !LinesDrawnApart()) {
        m_painter.drawPolygon(m_points.data(), count);
        return;
    }
    // Qt's aliased filler keeps the crossings of each row in a search tree, which the
    // edges of a long curve, arriving in order along it, degenerate into a list: a
    // wiggle costs it the square of its crossings on every row. The same outline is
    // given as runs of sides taken middle first, each run closed by vertical sides
    // down to the first point's row and moved between along that row: each vertical
    // side comes twice, in opposite directions, and cancels; sides along a row cross
    // no pixel centre. The pixels filled are the same, the tree stays shallow.
    constexpr int kRun = 32;
    const int y0 = m_points[0].y();
    const int runs = (count + kRun - 1) / kRun;
    int bits = 0;
    while ((1 << bits) < runs) ++bits;
    m_fill.clear();
    for (int i = 0; i < (1 << bits); ++i) {
        int run = 0; // i with its bits reversed
        for (int b = 0; b < bits; ++b)
            if (i & (1 << b)) run |= 1 << (bits - 1 - b);
        if (run >= runs) continue;
        const int first = run * kRun, last = std::min(first + kRun, count);
        m_fill.emplace_back(m_points[size_t(first)].x(), y0);
        for (int k = first; k <= last; ++k) m_fill.push_back(m_points[size_t(k < count ? k : 0)]);
        m_fill.emplace_back(m_fill.back().x(), y0);
    }
    m_painter.drawPolygon(m_fill.data(), int(m_fill.size()));
}

void QtDc::DoPolygon(const Point* points, int count)
{
    m_points.clear();
    for (int i = 0; i < count; ++i) m_points.emplace_back(points[i].x, points[i].y);
    m_painter.setBrush(m_qbrush);
    const bool wideOutline = m_pen.style == PS_SOLID && m_pen.width > 1 && LinesDrawnApart();
    if (!wideOutline && count < kLongPolygon) {
        m_painter.setPen(m_qpen);
        m_painter.drawPolygon(m_points.data(), count);
        return;
    }
    // Filled, then outlined: what one call does, in two.
    FillPolygon(count);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setPen(m_qpen);
    if (!wideOutline) {
        m_painter.drawPolygon(m_points.data(), count);
        return;
    }
    // A wide outline stroked with joins costs Qt much the same degenerate tree: its
    // sides are drawn as the wide lines of a polyline instead, with a square of the
    // pen's width on each corner, where a mitre would reach further out at sharp ones.
    m_lines.clear();
    for (int i = 0; i < count; ++i) {
        const QPoint& a = m_points[size_t(i)];
        const QPoint& b = m_points[size_t(i + 1 < count ? i + 1 : 0)];
        if (a != b) m_lines.emplace_back(a, b);
    }
    StrokeWide();
    WideCorners(count);
}

bool QtDc::StampFrame(const Rect& r)
{
    // A solid one-pixel outline is the rectangle's outermost pixels, as Qt's stroker
    // draws it; Qt sets up a path for each, which costs more than the pixels.
    if (m_pen.style != PS_SOLID || m_pen.width > 1 || r.Width() < 2 || r.Height() < 2 || !FindStampTarget()) return false;
    const QRect frame = QRect(r.left, r.top, r.Width(), r.Height()).translated(m_stampOffset);
    const QRect& area = m_stampArea;
    if (frame.left() < area.left() || frame.top() < area.top() || frame.right() > area.right() || frame.bottom() > area.bottom())
        return false;
    auto row = [&](int y) { return reinterpret_cast<uint32_t*>(m_stampTarget + qsizetype(y) * m_stampLine); };
    std::fill_n(row(frame.top()) + frame.left(), frame.width(), m_stampColour);
    std::fill_n(row(frame.bottom()) + frame.left(), frame.width(), m_stampColour);
    for (int y = frame.top() + 1; y < frame.bottom(); ++y) {
        uint32_t* pixels = row(y);
        pixels[frame.left()] = pixels[frame.right()] = m_stampColour;
    }
    return true;
}

void QtDc::DoRectangle(const Rect& r)
{
    if (r.IsEmpty()) return;
    if (!m_brush.hollow) m_painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(m_brush.color));
    if (m_pen.style == PS_NULL || StampFrame(r)) return;
    m_painter.setPen(m_qpen);
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

const QString& QtDc::Latin1(const std::string& text)
{
    m_text.resize(qsizetype(text.size()));
    QChar* out = m_text.data();
    for (size_t i = 0; i < text.size(); ++i) out[i] = QChar(uchar(text[i]));
    return m_text;
}

bool QtDc::KeepsText() const
{
    // Glyph runs land on the pixels drawText gives only on the raster engine, moved
    // by whole or fractional translations alone; turned text is drawn by Qt, and so
    // is text painted on other threads.
    const QPaintEngine* engine = m_painter.paintEngine();
    return m_keepsText && m_painter.isActive() && engine && engine->type() == QPaintEngine::Raster && m_font.escapement == 0
           && m_painter.deviceTransform().type() <= QTransform::TxTranslate;
}

const ShapedText* QtDc::Kept(const std::string& text, bool shape)
{
    if (!KeepsText()) return nullptr;
    m_textKey.assign(m_fontKey);
    m_textKey.append(text);
    bool added = false;
    ShapedText& entry = Shapes().Entry(m_textKey, added);
    const QString& s = Latin1(text);
    if (added) entry.width = m_metrics.horizontalAdvance(s);
    if (shape && !entry.shaped) {
        // Laid out as one line, as drawText lays out a string with no flags; the runs
        // are kept relative to the baseline's start.
        QTextLayout layout(s, m_painter.font());
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const qreal ascent = line.isValid() ? line.ascent() : 0;
        entry.runs = layout.glyphRuns();
        for (QGlyphRun& run : entry.runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions) p.ry() -= ascent;
            run.setPositions(positions);
        }
        entry.shaped = true;
    }
    return &entry;
}

void QtDc::DoTextOut(int x, int y, const std::string& text)
{
    const unsigned horizontal = m_textAlign & TA_HMASK;
    const bool opaque = m_bkMode == OPAQUE;
    const ShapedText* kept = Kept(text, true);
    // Left-aligned text on a transparent background needs no measuring.
    int width = 0;
    if (kept) width = kept->width;
    else if (horizontal == TA_CENTER || horizontal == TA_RIGHT || opaque) width = m_metrics.horizontalAdvance(Latin1(text));
    int left = x;
    switch (horizontal) {
    case TA_CENTER: left = x - width / 2; break;
    case TA_RIGHT: left = x - width; break;
    default: break;
    }
    int top = y;
    switch (m_textAlign & TA_VMASK) {
    case TA_BOTTOM: top = y - m_metrics.height(); break;
    case TA_BASELINE: top = y - m_metrics.ascent(); break;
    default: break;
    }
    if (opaque && kept) m_painter.fillRect(QRect(left, top, width, m_metrics.height()), ToQColor(m_bkColor));
    // Every shape sets its own pen, so the text colour need not be taken back.
    if (kept) {
        m_painter.setPen(m_textPen);
        const QPointF origin(left, top + m_metrics.ascent());
        for (const QGlyphRun& run : kept->runs) m_painter.drawGlyphRun(origin, run);
        return;
    }
    const QString& s = Latin1(text);
    const bool turned = m_font.escapement != 0;
    if (turned) {
        m_painter.save();
        m_painter.translate(x, y);
        m_painter.rotate(-m_font.escapement / 10.0);
        m_painter.translate(-x, -y);
    }
    if (opaque) m_painter.fillRect(QRect(left, top, width, m_metrics.height()), ToQColor(m_bkColor));
    m_painter.setPen(m_textPen);
    m_painter.drawText(QPoint(left, top + m_metrics.ascent()), s);
    if (turned) m_painter.restore();
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
    const ShapedText* kept = Kept(text, false);
    return {kept ? kept->width : m_metrics.horizontalAdvance(Latin1(text)), m_metrics.height()};
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
