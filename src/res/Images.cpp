#include "res/Images.h"

#include "platform/Dc.h"
#include "res/CommandIds.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr Color kInk = Rgb(20, 30, 60);
constexpr Color kEdge = Rgb(90, 100, 120);
constexpr Color kPaper = Rgb(255, 255, 255);
constexpr Color kLine = Rgb(170, 178, 190);
constexpr Color kBlue = Rgb(30, 90, 200);
constexpr Color kSky = Rgb(170, 210, 250);
constexpr Color kRed = Rgb(210, 40, 40);
constexpr Color kGreen = Rgb(30, 150, 70);
constexpr Color kOrange = Rgb(240, 140, 20);
constexpr Color kYellow = Rgb(250, 215, 60);
constexpr Color kNoEdge = 0xFF000000u; // not a colour: Color keeps its top byte clear

struct Pt {
    double x, y;
};

// Drawing on a square design grid of `design` units (toolbar buttons: 24, the
// program's icon: 48), whatever the pixel size. The logical grid is four times
// finer, so coordinates may be fractional.
class Canvas {
public:
    Canvas(Dc& dc, int design, int size) : m_dc(dc)
    {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowOrg(0, 0);
        dc.SetViewportOrg(0, 0);
        dc.SetWindowExt(design * kFine, design * kFine);
        dc.SetViewportExt(size, size);
        dc.SetBkMode(TRANSPARENT);
    }

    void Fill(double left, double top, double right, double bottom, Color c)
    {
        const Point a = P(left, top), b = P(right, bottom);
        m_dc.FillRect({a.x, a.y, b.x, b.y}, c);
    }
    void Shape(const std::vector<Pt>& points, Color fill, Color edge = kNoEdge, double width = 1)
    {
        Pen(edge, width);
        m_dc.SelectBrush({fill == kNoEdge ? 0 : fill, fill == kNoEdge});
        const std::vector<Point> p = Points(points);
        m_dc.Polygon(p.data(), int(p.size()));
    }
    void Line(const std::vector<Pt>& points, Color c, double width = 2)
    {
        Pen(c, width);
        const std::vector<Point> p = Points(points);
        m_dc.Polyline(p.data(), int(p.size()));
    }
    void Ellipse(double cx, double cy, double rx, double ry, Color fill, Color edge = kNoEdge, double width = 1)
    {
        Shape(EllipsePoints(cx, cy, rx, ry), fill, edge, width);
    }
    void Text(double x, double baseline, const std::string& text, double px, Color c, bool bold = true)
    {
        m_dc.SelectFont({"Arial", -int(std::lround(px * kFine)), bold ? FW_BOLD : FW_NORMAL});
        m_dc.SetTextColor(c);
        m_dc.SetTextAlign(TA_CENTER | TA_BASELINE);
        const Point p = P(x, baseline);
        m_dc.TextOut(p.x, p.y, text);
    }
    // A damped wiggle from x0 to x1 about the line y, `cycles` periods long.
    void Wiggle(double x0, double x1, double y, double amplitude, double cycles, double damping, Color c,
                double width = 1.5)
    {
        std::vector<Pt> points;
        for (int i = 0; i <= 40; ++i) {
            const double t = i / 40.0;
            points.push_back({x0 + (x1 - x0) * t,
                              y - amplitude * std::exp(-damping * t) * std::sin(t * cycles * 2 * 3.14159265358979)});
        }
        Line(points, c, width);
    }

    static std::vector<Pt> EllipsePoints(double cx, double cy, double rx, double ry)
    {
        std::vector<Pt> points;
        for (int i = 0; i < 32; ++i) {
            const double a = i * 2 * 3.14159265358979 / 32;
            points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
        }
        return points;
    }

private:
    static constexpr int kFine = 4;
    static Point P(double x, double y) { return {int(std::lround(x * kFine)), int(std::lround(y * kFine))}; }
    static std::vector<Point> Points(const std::vector<Pt>& points)
    {
        std::vector<Point> out;
        out.reserve(points.size());
        for (const Pt& p : points) out.push_back(P(p.x, p.y));
        return out;
    }
    void Pen(Color c, double width)
    {
        if (c == kNoEdge) m_dc.SelectPen({PS_NULL, 0, 0});
        else m_dc.SelectPen({PS_SOLID, int(std::lround(width * kFine)), c});
    }

    Dc& m_dc;
};

// ---- pieces shared by several buttons ----------------------------------------------

// A view's white panel, the ground of the display commands.
void Panel(Canvas& c) { c.Shape({{2, 3}, {22, 3}, {22, 21}, {2, 21}}, kPaper, kEdge); }

// A sheet of paper with a folded corner.
void Page(Canvas& c, double left, double top, double right, double bottom)
{
    c.Shape({{left, top}, {right - 4, top}, {right, top + 4}, {right, bottom}, {left, bottom}}, kPaper, kEdge);
    c.Shape({{right - 4, top}, {right - 4, top + 4}, {right, top + 4}}, kLine, kEdge);
}

// A magnifying glass: lens centred at (x, y), handle to the lower right.
void Magnifier(Canvas& c, double x, double y, double r)
{
    c.Line({{x + r * 0.7, y + r * 0.7}, {x + r * 1.9, y + r * 1.9}}, kInk, 3);
    c.Ellipse(x, y, r, r, kSky, kInk, 1.5);
}

// A letter on a coloured square: a data-set format (C, L, Q).
void FormatBox(Canvas& c, double left, double top, const char* letter, Color fill)
{
    c.Shape({{left, top}, {left + 11, top}, {left + 11, top + 11}, {left, top + 11}}, fill, kInk);
    c.Text(left + 5.5, top + 9, letter, 9, kPaper);
}

void Plus(Canvas& c, double x, double y, double r, Color colour)
{
    c.Line({{x - r, y}, {x + r, y}}, colour, 2);
    c.Line({{x, y - r}, {x, y + r}}, colour, 2);
}
void Minus(Canvas& c, double x, double y, double r, Color colour) { c.Line({{x - r, y}, {x + r, y}}, colour, 2); }

// A double-headed arrow: the axis a zoom acts on.
void AxisArrow(Canvas& c, Pt from, Pt to)
{
    c.Line({from, to}, kInk, 1.5);
    const bool vertical = from.x == to.x;
    for (const Pt& tip : {from, to}) {
        const double s = (tip.x == from.x && tip.y == from.y) ? -1 : 1;
        if (vertical) c.Shape({{tip.x, tip.y + s}, {tip.x - 3, tip.y - 3 * s}, {tip.x + 3, tip.y - 3 * s}}, kInk);
        else c.Shape({{tip.x + s, tip.y}, {tip.x - 3 * s, tip.y - 3}, {tip.x - 3 * s, tip.y + 3}}, kInk);
    }
}

// ---- the buttons -------------------------------------------------------------------------

void ScanButton(Canvas& c, const char* letter, Color colour)
{
    Page(c, 1, 1, 16, 18);
    c.Text(7.5, 12.5, letter, 11, colour);
    Magnifier(c, 16, 16, 3.8);
}

void ConvertButton(Canvas& c, const char* from, Color fromColour, const char* to, Color toColour)
{
    FormatBox(c, 1, 1, from, fromColour);
    FormatBox(c, 12, 12, to, toColour);
    c.Line({{6.5, 13}, {6.5, 17.5}, {9, 17.5}}, kGreen, 2);
    c.Shape({{11.5, 17.5}, {8, 14.5}, {8, 20.5}}, kGreen);
}

void TimeButton(Canvas& c)
{
    Panel(c);
    c.Line({{3, 12}, {21, 12}}, kLine, 1);
    c.Wiggle(4, 21, 12, 7, 3, 2.2, kBlue);
}

void FrequencyButton(Canvas& c)
{
    Panel(c);
    const double heights[] = {4, 9, 15, 11, 6, 3};
    for (int i = 0; i < 6; ++i) c.Fill(4 + 3 * i, 20 - heights[i], 6 + 3 * i, 20, kGreen);
}

void SlownessButton(Canvas& c)
{
    Panel(c);
    std::vector<Pt> peak{{3, 20}};
    for (int i = 0; i <= 24; ++i) {
        const double x = 3 + 18.0 * i / 24;
        peak.push_back({x, 20 - 14 * std::exp(-(x - 10) * (x - 10) / 8.0)});
    }
    peak.push_back({21, 20});
    c.Shape(peak, kOrange, kInk, 1);
}

void AzimuthButton(Canvas& c)
{
    c.Ellipse(12, 12, 10, 10, kPaper, kInk, 1.5);
    c.Shape({{12, 3.5}, {15, 12}, {9, 12}}, kRed);
    c.Shape({{12, 20.5}, {15, 12}, {9, 12}}, kEdge);
}

void VdlButton(Canvas& c)
{
    Panel(c);
    for (int x = 3; x < 21; ++x) {
        const double v = std::sin((x - 3) * 1.1) * std::exp(-(x - 3) / 14.0);
        const int grey = int(std::lround(128 + 120 * v));
        c.Fill(x, 4, x + 1, 20, Rgb(grey, grey, grey));
    }
}

void LogButton(Canvas& c)
{
    Panel(c);
    for (double x : {8.0, 16.0}) c.Line({{x, 4}, {x, 20}}, kLine, 1);
    std::vector<Pt> curve;
    for (int i = 0; i <= 24; ++i) {
        const double y = 4 + 16.0 * i / 24;
        curve.push_back({12 + 6 * std::sin(y * 0.55) * std::cos(y * 0.21), y});
    }
    c.Line(curve, kRed, 1.5);
}

void MapButton(Canvas& c)
{
    c.Shape({{2, 3}, {22, 3}, {22, 21}, {2, 21}}, Rgb(20, 40, 150), kEdge);
    c.Ellipse(11, 12, 8, 7, Rgb(40, 170, 220));
    c.Ellipse(10.5, 12, 5.5, 4.5, Rgb(120, 210, 80));
    c.Ellipse(10, 12, 3.5, 2.8, kYellow);
    c.Ellipse(10, 12, 1.6, 1.3, kRed);
}

void XPlotButton(Canvas& c)
{
    c.Line({{4, 2}, {4, 20}, {22, 20}}, kInk, 1.5);
    const Pt dots[] = {{7, 17}, {9, 14}, {11, 15}, {12, 11}, {14, 12}, {16, 8}, {18, 9}, {19, 5}};
    for (const Pt& d : dots) c.Fill(d.x - 1, d.y - 1, d.x + 1, d.y + 1, kBlue);
}

void QuickLookButton(Canvas& c)
{
    std::vector<Pt> eye;
    for (int i = 0; i <= 16; ++i) eye.push_back({2 + 20.0 * i / 16, 12 - 7 * std::sin(3.14159265358979 * i / 16)});
    for (int i = 15; i >= 1; --i) eye.push_back({2 + 20.0 * i / 16, 12 + 7 * std::sin(3.14159265358979 * i / 16)});
    c.Shape(eye, kPaper, kInk, 1.5);
    c.Ellipse(12, 12, 4.5, 4.5, kBlue);
    c.Ellipse(12, 12, 2, 2, kInk);
}

void FilterButton(Canvas& c) { c.Shape({{2, 3}, {22, 3}, {14, 12}, {14, 20}, {10, 22}, {10, 12}}, kBlue, kInk); }

void SmoothButton(Canvas& c)
{
    c.Line({{2, 14}, {4, 8}, {6, 16}, {8, 9}, {10, 15}, {12, 7}, {14, 14}, {16, 9}, {18, 15}, {20, 10}, {22, 13}},
           kLine, 1);
    std::vector<Pt> smooth;
    for (int i = 0; i <= 20; ++i) smooth.push_back({2.0 + i, 12 - 2 * std::sin(i * 0.3)});
    c.Line(smooth, kBlue, 2);
}

void ProfileButton(Canvas& c)
{
    for (int k = 0; k < 3; ++k) c.Wiggle(2 + 3 * k, 14 + 3 * k, 5 + 7 * k, 3, 2, 1.5, kInk, 1.2);
}

void PickButton(Canvas& c)
{
    c.Wiggle(2, 22, 14, 6, 2.5, 1.8, kInk);
    c.Line({{8, 4}, {8, 22}}, kRed, 1.5);
    c.Shape({{8, 6}, {4.5, 1}, {11.5, 1}}, kRed);
}

void DispersionButton(Canvas& c)
{
    const Color colours[] = {kBlue, kGreen, kOrange};
    for (int k = 0; k < 3; ++k) {
        std::vector<Pt> curve;
        for (int i = 0; i <= 16; ++i) {
            const double t = i / 16.0;
            curve.push_back({3 + 18 * t, 20 - (6 + 5 * k) * std::pow(t, 0.5 + 0.6 * k)});
        }
        c.Line(curve, colours[k], 1.5);
    }
}

void TimeSlownessButton(Canvas& c)
{
    Panel(c);
    c.Shape(Canvas::EllipsePoints(13, 11, 7, 5), kNoEdge, kOrange, 1.5);
    c.Shape(Canvas::EllipsePoints(13, 11, 3.5, 2.5), kNoEdge, kRed, 1.5);
    c.Line({{13, 4}, {13, 20}}, kInk, 1);
    c.Line({{3, 11}, {21, 11}}, kInk, 1);
}

void ToolsButton(Canvas& c)
{
    c.Shape({{8, 8}, {8, 4}, {16, 4}, {16, 8}, {14, 8}, {14, 6}, {10, 6}, {10, 8}}, kEdge);
    c.Shape({{2, 8}, {22, 8}, {22, 21}, {2, 21}}, kRed, kInk);
    c.Fill(2, 12, 22, 13, kInk);
    c.Fill(10, 11, 14, 15, kYellow);
}

void AnisotropyButton(Canvas& c)
{
    c.Shape(Canvas::EllipsePoints(12, 12, 10, 5.5), kSky, kBlue, 1.5);
    c.Line({{1, 12}, {23, 12}}, kRed, 1.5);
    c.Line({{12, 5}, {12, 19}}, kGreen, 1.5);
}

void KalmanButton(Canvas& c)
{
    const Pt dots[] = {{4, 19}, {7, 15}, {9, 17}, {11, 12}, {14, 13}, {16, 8}, {18, 10}, {20, 5}};
    for (const Pt& d : dots) c.Fill(d.x - 1, d.y - 1, d.x + 1, d.y + 1, kEdge);
    c.Line({{3, 20}, {20, 5}}, kRed, 1.5);
    c.Text(6, 10, "K", 9, kInk);
}

void HeaderButton(Canvas& c)
{
    Page(c, 3, 1, 21, 23);
    c.Fill(5, 5, 16, 9, kBlue);
    for (double y : {12.0, 15.0, 18.0}) c.Fill(5, y, 19, y + 1.2, kLine);
}

void AboutButton(Canvas& c)
{
    c.Ellipse(12, 12, 10, 10, kBlue, kInk, 1);
    c.Fill(10.5, 5, 13.5, 8, kPaper);
    c.Fill(10.5, 10, 13.5, 18, kPaper);
}

void HelpButton(Canvas& c)
{
    c.Shape({{2, 2}, {2, 17}, {5.5, 13.5}, {8, 19}, {10.5, 18}, {8, 12.5}, {12.5, 12.5}}, kPaper, kInk, 1);
    c.Text(17.5, 20, "?", 16, kBlue);
}

void ZoomButton(Canvas& c, int kind)
{
    Magnifier(c, 10, 10, 7);
    if (kind > 0) Plus(c, 10, 10, 3.5, kInk);
    else if (kind < 0) Minus(c, 10, 10, 3.5, kInk);
    else c.Text(10, 14, "1", 10, kInk);
}

void DepthZoomButton(Canvas& c, bool in)
{
    AxisArrow(c, {6, 2}, {6, 22});
    if (in) Plus(c, 16, 12, 5, kGreen);
    else Minus(c, 16, 12, 5, kRed);
}

void DataZoomButton(Canvas& c, bool in)
{
    AxisArrow(c, {2, 6}, {22, 6});
    if (in) Plus(c, 12, 16, 5, kGreen);
    else Minus(c, 12, 16, 5, kRed);
}

void PopUpButton(Canvas& c)
{
    c.Shape({{4, 2}, {21, 2}, {21, 22}, {4, 22}}, kPaper, kEdge);
    c.Fill(5, 9, 20, 14, kBlue);
    c.Fill(7, 5, 18, 6.5, kLine);
    c.Fill(7, 11, 18, 12.5, kPaper);
    c.Fill(7, 17, 16, 18.5, kLine);
}

void ReceiverButton(Canvas& c, int n)
{
    // Receivers 1-8 and 9-13 sit in two groups of the bar; each group its colour.
    const Color fill = n <= 8 ? Rgb(0, 110, 120) : Rgb(110, 50, 150);
    c.Shape({{3, 1}, {21, 1}, {23, 3}, {23, 21}, {21, 23}, {3, 23}, {1, 21}, {1, 3}}, fill, kInk, 1);
    const std::string text = std::to_string(n);
    c.Text(12, text.size() > 1 ? 17 : 18, text, text.size() > 1 ? 13 : 15, kPaper);
}

void MnemonicsButton(Canvas& c)
{
    c.Shape({{12, 6}, {3, 4}, {1, 19}, {12, 21}}, kPaper, kInk, 1);
    c.Shape({{12, 6}, {21, 4}, {23, 19}, {12, 21}}, kPaper, kInk, 1);
    for (int k = 0; k < 3; ++k) {
        const double y = 9 + 3.5 * k;
        c.Line({{4.5, y - 1}, {10, y}}, kBlue, 1);
        c.Line({{14, y}, {19.5, y - 1}}, kBlue, 1);
    }
}

// The program's icon: a borehole with a logging tool on the left, and the
// waveforms its receivers record, arriving later at each farther receiver.
void ProgramIcon(Canvas& c)
{
    c.Shape({{6, 2}, {42, 2}, {46, 6}, {46, 42}, {42, 46}, {6, 46}, {2, 42}, {2, 6}}, Rgb(18, 40, 92),
            Rgb(10, 20, 50), 1.5);
    c.Fill(7, 3, 15, 45, Rgb(150, 112, 68));
    c.Fill(9, 8, 13, 40, Rgb(230, 200, 60));
    c.Fill(9, 10, 13, 12, Rgb(18, 40, 92));
    const Color colours[] = {Rgb(130, 225, 255), Rgb(255, 232, 100), Rgb(255, 255, 255)};
    for (int k = 0; k < 3; ++k) {
        const double y = 14 + 10 * k;
        const double start = 18 + 3 * k;
        c.Line({{17, y}, {start, y}}, colours[k], 2);
        c.Wiggle(start, 44, y, 5, 2.5, 2.0, colours[k], 2.2);
    }
}

} // namespace

bool DrawButtonImage(int command, Dc& dc, int size)
{
    Canvas c(dc, 24, size);
    for (int n = 1; n <= 13; ++n)
        if (command == ReceiverCommand(n)) {
            ReceiverButton(c, n);
            return true;
        }
    switch (command) {
    case ID_SCAN_QTX: ScanButton(c, "Q", kBlue); return true;
    case ID_SCAN_LIS: ScanButton(c, "L", kOrange); return true;
    case ID_SCAN_CNV: ScanButton(c, "C", kGreen); return true;
    case ID_CONVERT_CNV: ConvertButton(c, "C", kGreen, "Q", kBlue); return true;
    case ID_LIS_TO_QTX: ConvertButton(c, "L", kOrange, "Q", kBlue); return true;
    case ID_QTX_TO_LIS: ConvertButton(c, "Q", kBlue, "L", kOrange); return true;
    case ID_DISPLAY_TIME: TimeButton(c); return true;
    case ID_DISPLAY_FREQUENCY: FrequencyButton(c); return true;
    case ID_DISPLAY_SLOWNESS: SlownessButton(c); return true;
    case ID_DISPLAY_AZIMUTH: AzimuthButton(c); return true;
    case ID_DISPLAY_VDL: VdlButton(c); return true;
    case ID_DISPLAY_LOG: LogButton(c); return true;
    case ID_DISPLAY_MAP: MapButton(c); return true;
    case ID_DISPLAY_XPLOT: XPlotButton(c); return true;
    case ID_PROCESS_QUICKLOOK: QuickLookButton(c); return true;
    case ID_PROCESS_FILTER: FilterButton(c); return true;
    case ID_PROCESS_SMOOTH: SmoothButton(c); return true;
    case ID_PROCESS_PROFILE: ProfileButton(c); return true;
    case ID_PROCESS_PICK: PickButton(c); return true;
    case ID_PROCESS_DISPERSION: DispersionButton(c); return true;
    case ID_PROCESS_TIMESLOWNESS: TimeSlownessButton(c); return true;
    case ID_UTILITIES_TOOLS: ToolsButton(c); return true;
    case ID_PROCESS_ANISOTROPY: AnisotropyButton(c); return true;
    case ID_PROCESS_KALMAN: KalmanButton(c); return true;
    case ID_UTILITIES_HEADER: HeaderButton(c); return true;
    case ID_APP_ABOUT: AboutButton(c); return true;
    case ID_CONTEXT_HELP: HelpButton(c); return true;
    case ID_ZOOM_RESET: ZoomButton(c, 0); return true;
    case ID_ZOOM_IN: ZoomButton(c, 1); return true;
    case ID_ZOOM_OUT: ZoomButton(c, -1); return true;
    case ID_DEPTH_ZOOM_IN: DepthZoomButton(c, true); return true;
    case ID_DEPTH_ZOOM_OUT: DepthZoomButton(c, false); return true;
    case ID_DATA_ZOOM_IN: DataZoomButton(c, true); return true;
    case ID_DATA_ZOOM_OUT: DataZoomButton(c, false); return true;
    case ID_POPUP: PopUpButton(c); return true;
    case ID_MNEMONICS: MnemonicsButton(c); return true;
    default: return false;
    }
}

bool DrawProgramImage(int resource, Dc& dc, int size)
{
    // The splash's bitmap (143) shows the program's icon too.
    if (resource != 128 && resource != 143) return false;
    Canvas c(dc, 48, size);
    ProgramIcon(c);
    return true;
}
