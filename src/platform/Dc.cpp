#include "platform/Dc.h"

#include "platform/Format.h"

#include <cmath>

namespace {

std::string Hex(Color c) { return Format("#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c)); }

// Scales v by num/den rounding to nearest, as the mapping of a device context does.
int MulDivRound(int v, int num, int den)
{
    if (den == 0) return 0;
    const long long p = static_cast<long long>(v) * num;
    const long long q = (p >= 0) == (den > 0) ? (std::llabs(p) + std::llabs(den) / 2) / std::llabs(den)
                                              : -((std::llabs(p) + std::llabs(den) / 2) / std::llabs(den));
    return int(q);
}

// Moves p from one origin to the other, scaled by the ratio of the extents when `scaled`.
Point Remap(Point p, Point fromOrg, Size fromExt, Point toOrg, Size toExt, bool scaled)
{
    if (!scaled) return {p.x - fromOrg.x + toOrg.x, p.y - fromOrg.y + toOrg.y};
    return {MulDivRound(p.x - fromOrg.x, toExt.cx, fromExt.cx) + toOrg.x,
            MulDivRound(p.y - fromOrg.y, toExt.cy, fromExt.cy) + toOrg.y};
}

} // namespace

Pen Dc::SelectPen(const Pen& pen) { return Replace(m_pen, pen, Change::Pen); }
Brush Dc::SelectBrush(const Brush& brush) { return Replace(m_brush, brush, Change::Brush); }
Font Dc::SelectFont(const Font& font) { return Replace(m_font, font, Change::Font); }
Color Dc::SetTextColor(Color color) { return Replace(m_textColor, color, Change::TextColor); }
Color Dc::SetBkColor(Color color) { return Replace(m_bkColor, color, Change::BkColor); }
int Dc::SetBkMode(int mode) { return Replace(m_bkMode, mode, Change::BkMode); }
unsigned Dc::SetTextAlign(unsigned align) { return Replace(m_textAlign, align, Change::TextAlign); }

int Dc::SetMapMode(int mode)
{
    // Text mode is one to one: a later switch to anisotropic starts from there.
    if (mode == MM_TEXT) m_windowExt = m_viewportExt = {1, 1};
    return Replace(m_mapMode, mode, Change::MapMode);
}

Point Dc::SetWindowOrg(int x, int y) { return Replace(m_windowOrg, Point{x, y}, Change::WindowOrg, x, y); }

Size Dc::SetExtent(Size& extent, int cx, int cy, Change what)
{
    // Only the anisotropic mode keeps an extent, and never an empty one.
    const bool kept = m_mapMode == MM_ANISOTROPIC && cx != 0 && cy != 0;
    return Replace(extent, kept ? Size{cx, cy} : extent, what, cx, cy);
}

Size Dc::SetWindowExt(int cx, int cy) { return SetExtent(m_windowExt, cx, cy, Change::WindowExt); }

Point Dc::SetViewportOrg(int x, int y) { return Replace(m_viewportOrg, Point{x, y}, Change::ViewportOrg, x, y); }

Size Dc::SetViewportExt(int cx, int cy) { return SetExtent(m_viewportExt, cx, cy, Change::ViewportExt); }

Point Dc::LPtoDP(Point p) const
{
    return Remap(p, m_windowOrg, m_windowExt, m_viewportOrg, m_viewportExt, m_mapMode == MM_ANISOTROPIC);
}

Point Dc::DPtoLP(Point p) const
{
    return Remap(p, m_viewportOrg, m_viewportExt, m_windowOrg, m_windowExt, m_mapMode == MM_ANISOTROPIC);
}

Point Dc::MoveTo(int x, int y)
{
    const Point old = m_position;
    m_position = {x, y};
    return old;
}

void Dc::LineTo(int x, int y)
{
    DoLine(m_position, {x, y});
    m_position = {x, y};
}

void Dc::Polyline(const Point* points, int count)
{
    if (points && count >= 2) DoPolyline(points, count);
}

void Dc::Polygon(const Point* points, int count)
{
    if (points && count >= 2) DoPolygon(points, count);
}

void Dc::Rectangle(const Rect& r) { DoRectangle(r); }
void Dc::FillRect(const Rect& r, Color color) { DoFillRect(r, color); }
void Dc::SetPixel(int x, int y, Color color) { DoSetPixel(x, y, color); }
void Dc::TextOut(int x, int y, const std::string& text) { DoTextOut(x, y, text); }

void Dc::StretchImage(const Rect& dest, const Image& source, const Rect& sourceRect)
{
    if (source.Empty() || dest.IsEmpty()) return;
    const Rect src = sourceRect.Intersect({0, 0, source.width, source.height});
    if (src.IsEmpty()) return;
    DoStretchImage(dest, source, src);
}

void Dc::IntersectClipRect(const Rect& r)
{
    m_clip = m_clipped ? m_clip.Intersect(r) : r;
    m_clipped = true;
    DoClip(&m_clip);
}

void Dc::ResetClip()
{
    m_clipped = false;
    DoClip(nullptr);
}

int DeviceCapValue(const DeviceCaps& caps, int index)
{
    switch (index) {
    case HORZRES: return caps.horzRes;
    case VERTRES: return caps.vertRes;
    case HORZSIZE: return caps.horzSize;
    case VERTSIZE: return caps.vertSize;
    case LOGPIXELSX: return caps.logPixelsX;
    case LOGPIXELSY: return caps.logPixelsY;
    default: return 0;
    }
}

// ---- RecordingDc -----------------------------------------------------------------------

Size RecordingDc::GetTextExtent(const std::string& text)
{
    return {int(text.size()) * charWidth, charHeight};
}

std::vector<std::string> RecordingDc::OpsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& op : ops)
        if (op.compare(0, prefix.size(), prefix) == 0) out.push_back(op);
    return out;
}

void RecordingDc::DoLine(Point from, Point to) { ops.push_back(Format("Line(%d,%d,%d,%d)", from.x, from.y, to.x, to.y)); }

void RecordingDc::DoPolyline(const Point* points, int count)
{
    std::string op = "Polyline(";
    for (int i = 0; i < count; ++i) op += Format(i ? ",%d,%d" : "%d,%d", points[i].x, points[i].y);
    ops.push_back(op + ")");
}

void RecordingDc::DoPolygon(const Point* points, int count)
{
    std::string op = "Polygon(";
    for (int i = 0; i < count; ++i) op += Format(i ? ",%d,%d" : "%d,%d", points[i].x, points[i].y);
    ops.push_back(op + ")");
}

void RecordingDc::DoRectangle(const Rect& r)
{
    ops.push_back(Format("Rectangle(%d,%d,%d,%d)", r.left, r.top, r.right, r.bottom));
}

void RecordingDc::DoFillRect(const Rect& r, Color color)
{
    ops.push_back(Format("FillRect(%d,%d,%d,%d,%s)", r.left, r.top, r.right, r.bottom, Hex(color).c_str()));
}

void RecordingDc::DoSetPixel(int x, int y, Color color) { ops.push_back(Format("SetPixel(%d,%d,%s)", x, y, Hex(color).c_str())); }

void RecordingDc::DoTextOut(int x, int y, const std::string& text) { ops.push_back(Format("TextOut(%d,%d,%s)", x, y, text.c_str())); }

void RecordingDc::DoStretchImage(const Rect& d, const Image& source, const Rect& s)
{
    ops.push_back(Format("StretchImage(%d,%d,%d,%d <- %dx%d:%d,%d,%d,%d)", d.left, d.top, d.right, d.bottom, source.width,
                         source.height, s.left, s.top, s.right, s.bottom));
}

void RecordingDc::DoClip(const Rect* r)
{
    ops.push_back(r ? Format("Clip(%d,%d,%d,%d)", r->left, r->top, r->right, r->bottom) : std::string("Clip()"));
}

void RecordingDc::StateChanged(Change what, int x, int y)
{
    switch (what) {
    case Change::Pen:
        ops.push_back(Format("SelectPen(%d,%d,%s)", m_pen.style, m_pen.width, Hex(m_pen.color).c_str()));
        break;
    case Change::Brush:
        ops.push_back(m_brush.hollow ? std::string("SelectBrush(hollow)") : "SelectBrush(" + Hex(m_brush.color) + ")");
        break;
    case Change::Font:
        ops.push_back(Format("SelectFont(%s,%d,%d%s,%d)", m_font.face.c_str(), m_font.height, m_font.weight,
                             m_font.italic ? ",italic" : "", m_font.escapement));
        break;
    case Change::TextColor: ops.push_back("SetTextColor(" + Hex(m_textColor) + ")"); break;
    case Change::BkColor: ops.push_back("SetBkColor(" + Hex(m_bkColor) + ")"); break;
    case Change::BkMode: ops.push_back(Format("SetBkMode(%d)", m_bkMode)); break;
    case Change::TextAlign: ops.push_back(Format("SetTextAlign(%u)", m_textAlign)); break;
    case Change::MapMode: ops.push_back(Format("SetMapMode(%d)", m_mapMode)); break;
    case Change::WindowOrg: ops.push_back(Format("SetWindowOrg(%d,%d)", x, y)); break;
    case Change::WindowExt: ops.push_back(Format("SetWindowExt(%d,%d)", x, y)); break;
    case Change::ViewportOrg: ops.push_back(Format("SetViewportOrg(%d,%d)", x, y)); break;
    case Change::ViewportExt: ops.push_back(Format("SetViewportExt(%d,%d)", x, y)); break;
    }
}
