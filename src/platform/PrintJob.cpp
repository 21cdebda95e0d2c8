#include "platform/PrintJob.h"

#include <cmath>
#include <utility>

namespace {

struct Paper {
    PaperSize size;
    const char* name;
    double width, height; // portrait, millimetres
};

constexpr Paper kPapers[] = {
    {PaperSize::A4, "A4", 210.0, 297.0},
    {PaperSize::Letter, "Letter", 215.9, 279.4},
    {PaperSize::Legal, "Legal", 215.9, 355.6},
    {PaperSize::A3, "A3", 297.0, 420.0},
};

const Paper& PaperOf(PaperSize size)
{
    for (const Paper& p : kPapers)
        if (p.size == size) return p;
    return kPapers[0];
}

int Pixels(double millimetres, int dpi) { return int(std::floor(millimetres * dpi / 25.4 + 1e-9)); }

const DialogTemplate& PageSetupTemplate()
{
    using K = ControlKind;
    using D = CPageSetupDlg;
    static const DialogTemplate t{D::kIddPageSetup, "Printer Setup",
        {{D::kIdcPaperGroup, K::GroupBox, "Paper"},
         {D::kIdcA4, K::RadioButton, "A4 (210 x 297 mm)", D::kIdcPaperGroup, kGroupStart},
         {D::kIdcLetter, K::RadioButton, "Letter (8.5 x 11 in)", D::kIdcPaperGroup},
         {D::kIdcLegal, K::RadioButton, "Legal (8.5 x 14 in)", D::kIdcPaperGroup},
         {D::kIdcA3, K::RadioButton, "A3 (297 x 420 mm)", D::kIdcPaperGroup},
         {D::kIdcOrientationGroup, K::GroupBox, "Orientation"},
         {D::kIdcPortrait, K::RadioButton, "Portrait", D::kIdcOrientationGroup, kGroupStart},
         {D::kIdcLandscape, K::RadioButton, "Landscape", D::kIdcOrientationGroup},
         {1, K::Button, "OK", 0, kDefaultButton},
         {2, K::Button, "Cancel"}}};
    return t;
}

} // namespace

const char* PaperName(PaperSize paper) { return PaperOf(paper).name; }

void PaperMillimetres(const PageSetup& setup, double& width, double& height)
{
    const Paper& p = PaperOf(setup.paper);
    width = p.width;
    height = p.height;
    if (setup.landscape) std::swap(width, height);
}

DeviceCaps PageCaps(const PageSetup& setup)
{
    double width = 0, height = 0;
    PaperMillimetres(setup, width, height);
    const int dpi = setup.dotsPerInch > 0 ? setup.dotsPerInch : 300;
    const double printableWidth = width - 2 * kPageMarginMm, printableHeight = height - 2 * kPageMarginMm;
    DeviceCaps caps;
    caps.horzRes = Pixels(printableWidth, dpi);
    caps.vertRes = Pixels(printableHeight, dpi);
    caps.horzSize = int(std::lround(printableWidth));
    caps.vertSize = int(std::lround(printableHeight));
    caps.logPixelsX = dpi;
    caps.logPixelsY = dpi;
    return caps;
}

CPageSetupDlg::CPageSetupDlg() : CDialog(PageSetupTemplate()) {}

void CPageSetupDlg::DoDataExchange(DataExchange& dx)
{
    int paper = int(m_setup.paper);
    int orientation = m_setup.landscape ? 1 : 0;
    dx.Radio(kIdcA4, paper);
    dx.Radio(kIdcPortrait, orientation);
    if (!dx.Saving()) return;
    if (paper >= int(PaperSize::A4) && paper <= int(PaperSize::A3)) m_setup.paper = PaperSize(paper);
    m_setup.landscape = orientation == 1;
}
