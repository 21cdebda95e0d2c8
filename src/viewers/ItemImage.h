// What the VDL view and the semblance map share: the item they show out of their
// QTX data set, the frames they move through, and the image they render it into.
#pragma once

#include "dataset/FrameCursor.h"
#include "dataset/QtxFile.h"
#include "platform/Image.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
#include "viewers/Palettes.h"

#include <cstdint>
#include <string>
#include <vector>

struct ItemImage {
    // ---- the item ---------------------------------------------------------------------
    std::string mnemonic;
    uint8_t typeCode = 0;
    uint32_t offset = 0;
    Palette palette = kPaletteColor;
    bool signature = false;
    std::string slownessUnit = "[uSec/ft]";
    std::string axisTitle;

    // ---- frames -----------------------------------------------------------------------
    CFrameCursor frames;
    ScrollInfo vscroll;
    int framesRead = 0;

    // ---- layout and the rendered image ------------------------------------------------
    int fontHeight = 12;
    int clientWidth = 0, clientHeight = 0;
    Image image;
    std::vector<Point> wiggles; // Signature: the polylines, one after another
    std::vector<int> wiggleLengths;

    CQtxFile file;
};
