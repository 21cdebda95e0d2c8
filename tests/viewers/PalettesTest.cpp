#include "viewers/Palettes.h"

#include "plot/PlotPalette.h"
#include "processing/DepthProfileSetupDlg.h"
#include "res/PlotChoices.h"
#include "viewers/SemblanceMapSetupDlg.h"
#include "viewers/VdlSetupDlg.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

TEST(Palettes, EveryOfferedTextReadsBackAsItselfAndNothingElseNamesAPalette)
{
    // The texts the setup dialogs list and the log plot stores in command files.
    std::vector<std::string> offered;
    for (auto palettes : {std::span<const Palette>(CVdlSetupDlg::kPalettes),
                          std::span<const Palette>(CSemblanceMapSetupDlg::kPalettes),
                          std::span<const Palette>(CDepthProfileSetupDlg::kPalettes)})
        for (Palette p : palettes) offered.push_back(PaletteName(p));
    offered.insert(offered.end(), PlotPaletteEntries().begin(), PlotPaletteEntries().end());
    for (const std::string& text : offered) {
        const Palette p = PaletteOfName(text);
        EXPECT_NE(p, kPaletteNone) << text;
        EXPECT_EQ(PaletteName(p), text);
    }
    // Matching is exact: a stored text spelt otherwise names no palette.
    for (const char* text : {"", "color", "COLOR", "Black & White", "Black&White ", "Grey", "Gray"})
        EXPECT_EQ(PaletteOfName(text), kPaletteNone) << text;
    EXPECT_STREQ(PaletteName(kPaletteNone), "");
    EXPECT_STREQ(PaletteName(kPaletteGrey), "");
}

TEST(Palettes, TheLogPlotAndTheViewsShareTheColourTables)
{
    for (int level = 1; level < kRampColours; ++level) {
        EXPECT_EQ(ToArgb(ScaleColour(kPaletteColor, level, 0)), 0xFF000000u | ColourRampRgb(level)) << level;
        EXPECT_EQ(ToArgb(ScaleColour(kPaletteAnisotropy, level, 0)), 0xFF000000u | AnisotropyRgb(level)) << level;
    }
    EXPECT_EQ(ScaleColour(kPaletteColor, 0, Rgb(1, 2, 3)), Rgb(1, 2, 3));
    EXPECT_EQ(ScaleColour(kPaletteNone, 5, 0), Rgb(255, 255, 255));
    // Indices outside the table are clamped, not read past it.
    EXPECT_EQ(ColourRampRgb(-4), ColourRampRgb(0));
    EXPECT_EQ(AnisotropyRgb(99), AnisotropyRgb(kRampColours - 1));
}
