// The drawing context the painting code is written for, with GDI conventions:
// MoveTo/LineTo exclude the end point; Rectangle and FillRect exclude the right and
// bottom edges; text is placed by the top of its cell unless the alignment says
// otherwise; a pen of width 0 is one pixel wide. The base class keeps the selected
// objects and the mapping; implementations draw (a Qt painter, or a recorder).
#pragma once

#include "platform/Geometry.h"
#include "platform/Image.h"

#include <string>
#include <vector>

enum PenStyle : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5 };
enum BkMode : int { TRANSPARENT = 1, OPAQUE = 2 };
enum TextAlign : unsigned {
    TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_HMASK = 6,
    TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24, TA_VMASK = 24,
};
enum MapMode : int { MM_TEXT = 1, MM_ANISOTROPIC = 8 };
enum DeviceCap : int { HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, LOGPIXELSX = 88, LOGPIXELSY = 90 };
enum FontWeight : int { FW_NORMAL = 400, FW_BOLD = 700 };

struct Pen {
    int style = PS_SOLID;
    int width = 0;
    Color color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Color color = Rgb(255, 255, 255);
    bool hollow = false;
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
    std::string face = "Arial";
    int height = 12; // cell height in logical units (a negative height means character height)
    int weight = FW_NORMAL;
    bool italic = false;
    int escapement = 0; // tenths of a degree, anticlockwise
    friend bool operator==(const Font&, const Font&) = default;
};

struct DeviceCaps {
    int horzRes = 1024; // pixels
    int vertRes = 768;
    int horzSize = 270; // millimetres
    int vertSize = 203;
    int logPixelsX = 96;
    int logPixelsY = 96;
};

class Dc {
public:
    virtual ~Dc() = default;

    // ---- selected objects and modes (the previous value is returned) ------------------
    Pen SelectPen(const Pen& pen);
    Brush SelectBrush(const Brush& brush);
    Font SelectFont(const Font& font);
    Color SetTextColor(Color color);
    Color SetBkColor(Color color);
    int SetBkMode(int mode);
    unsigned SetTextAlign(unsigned align);
    const Pen& CurrentPen() const { return m_pen; }
    const Brush& CurrentBrush() const { return m_brush; }
    const Font& CurrentFont() const { return m_font; }
    Color TextColor() const { return m_textColor; }
    Color BkColor() const { return m_bkColor; }
    int BkMode() const { return m_bkMode; }
    unsigned TextAlignment() const { return m_textAlign; }

    // ---- mapping --------------------------------------------------------------------------
    int SetMapMode(int mode);
    int MapModeValue() const { return m_mapMode; }
    Point SetWindowOrg(int x, int y);
    Size SetWindowExt(int cx, int cy);
    Point SetViewportOrg(int x, int y);
    Size SetViewportExt(int cx, int cy);
    Point LPtoDP(Point p) const;
    Point DPtoLP(Point p) const;

    // ---- drawing (logical coordinates) ------------------------------------------------------
    Point MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const Point* points, int count);
    void Polygon(const Point* points, int count);
    void Rectangle(const Rect& r);      // outline with the pen, inside with the brush
    void FillRect(const Rect& r, Color color);
    void SetPixel(int x, int y, Color color);
    void TextOut(int x, int y, const std::string& text);
    // Draws `source` (or its part `sourceRect`) stretched over `dest`.
    void StretchImage(const Rect& dest, const Image& source, const Rect& sourceRect);
    void StretchImage(const Rect& dest, const Image& source) { StretchImage(dest, source, {0, 0, source.width, source.height}); }
    Point CurrentPosition() const { return m_position; }

    // ---- clipping and measuring ---------------------------------------------------------------
    void IntersectClipRect(const Rect& r); // logical
    void ResetClip();
    virtual Size GetTextExtent(const std::string& text) = 0;
    virtual int GetDeviceCaps(int index) const = 0;

protected:
    // Implementations draw in logical coordinates; the mapping is theirs to apply
    // (LPtoDP) or to record.
    virtual void DoLine(Point from, Point to) = 0;
    virtual void DoPolyline(const Point* points, int count) = 0;
    virtual void DoPolygon(const Point* points, int count) = 0;
    virtual void DoRectangle(const Rect& r) = 0;
    virtual void DoFillRect(const Rect& r, Color color) = 0;
    virtual void DoSetPixel(int x, int y, Color color) = 0;
    virtual void DoTextOut(int x, int y, const std::string& text) = 0;
    virtual void DoStretchImage(const Rect& dest, const Image& source, const Rect& sourceRect) = 0;
    virtual void DoClip(const Rect* logical) = 0; // nullptr: no clipping
    // Told after every change of a selected object or mode. The new values are in the
    // members; `x` and `y` are the ones asked of an origin or extent setter (an
    // extent outside the anisotropic mode is asked but not kept).
    enum class Change { Pen, Brush, Font, TextColor, BkColor, BkMode, TextAlign, MapMode, WindowOrg, WindowExt,
                        ViewportOrg, ViewportExt };
    virtual void StateChanged(Change what, int x, int y)
    {
        (void)what;
        (void)x;
        (void)y;
    }

    // Puts `value` in `slot`, tells StateChanged and gives back what was there: the
    // shape of every selector and mode setter.
    template <typename T>
    T Replace(T& slot, const T& value, Change what, int x = 0, int y = 0)
    {
        const T old = slot;
        slot = value;
        StateChanged(what, x, y);
        return old;
    }
    Size SetExtent(Size& extent, int cx, int cy, Change what);

    Pen m_pen;
    Brush m_brush;
    Font m_font;
    Color m_textColor = 0;
    Color m_bkColor = Rgb(255, 255, 255);
    int m_bkMode = OPAQUE;
    unsigned m_textAlign = TA_LEFT | TA_TOP;
    int m_mapMode = MM_TEXT;
    Point m_windowOrg;
    Size m_windowExt{1, 1};
    Point m_viewportOrg;
    Size m_viewportExt{1, 1};
    Point m_position;
    bool m_clipped = false;
    Rect m_clip;
};

// Device capabilities as a helper for implementations.
int DeviceCapValue(const DeviceCaps& caps, int index);

// Records every operation as one line of text ("LineTo(10,20)"), for tests that pin
// what a paint handler draws.
class RecordingDc : public Dc {
public:
    explicit RecordingDc(DeviceCaps caps = {}) : m_caps(caps) {}

    std::vector<std::string> ops;
    int charWidth = 7; // GetTextExtent: fixed width per character
    int charHeight = 14;

    Size GetTextExtent(const std::string& text) override;
    int GetDeviceCaps(int index) const override { return DeviceCapValue(m_caps, index); }
    // Operations whose text starts with `prefix`.
    std::vector<std::string> OpsStartingWith(const std::string& prefix) const;
    size_t Count(const std::string& prefix) const { return OpsStartingWith(prefix).size(); }

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
    // The description, such as "SelectPen(0,1,#FF0000)", is made here only.
    void StateChanged(Change what, int x, int y) override;

private:
    DeviceCaps m_caps;
};
