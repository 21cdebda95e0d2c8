#include "dataset/Vocabulary.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Modules index these lists by position, so positions are pinned at the
// boundaries between groups.
TEST(Vocabulary, ListsByPosition)
{
    const std::pair<std::size_t, const char*> mnemonics[] = {
        {0, "DEPT"},  {1, "Depth"}, {5, ".1IN"},  {7, ".25C"},  {21, "DEG"},  {22, "WVF1"},
        {29, "WVF8"}, {30, "SPCO"}, {35, "PHCM"}, {40, "DTCO"}, {45, "DT12"}, {51, "DT78"},
        {52, "TTR1"}, {59, "TTR8"}, {60, "FREQ"}, {61, "AMP1"}, {68, "AMP8"}, {69, "SMCO"},
        {73, "SMYY"}, {74, "FT"},   {80, "HZ"},   {81, "DEG"},
    };
    for (auto [i, text] : mnemonics) EXPECT_STREQ(g_productMnemonics[i], text) << i;
    const std::pair<std::size_t, const char*> tools[] = {
        {22, "Apx"},           {28, "IsonicPlus"}, {37, "QTX"},  {38, "Semblance Proj"},
        {43, "DepthMnemonics"}, {44, "SEMB"},      {48, "DYY"},
    };
    for (auto [i, text] : tools) EXPECT_STREQ(g_toolNames[i], text) << i;
    // Both lists share the depth and unit head.
    for (std::size_t i = 0; i < 22; ++i) EXPECT_STREQ(g_productMnemonics[i], g_toolNames[i]) << i;
}

} // namespace
