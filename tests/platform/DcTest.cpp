#include "platform/Dc.h"
#include "platform/PrintJob.h"
#include "support/HostFixture.h"

namespace {

using Ops = std::vector<std::string>;

TEST(Dc, LinesStartAtTheCurrentPointAndShortPolylinesDrawNothing)
{
    RecordingDc dc;
    EXPECT_EQ(dc.MoveTo(3, 4), (Point{0, 0}));
    dc.LineTo(10, 4);
    dc.LineTo(10, 9);
    EXPECT_EQ(dc.CurrentPosition(), (Point{10, 9}));
    EXPECT_EQ(dc.MoveTo(-1, -2), (Point{10, 9}));

    const Point pts[] = {{0, 0}, {5, 5}, {10, 0}};
    dc.Polyline(pts, 1);
    dc.Polygon(pts, 1);
    dc.Polyline(nullptr, 3);
    dc.Polygon(nullptr, 3);
    dc.Polyline(pts, 3);
    dc.Polygon(pts, 2);
    EXPECT_EQ(dc.ops, (Ops{"Line(3,4,10,4)", "Line(10,4,10,9)", "Polyline(0,0,5,5,10,0)", "Polygon(0,0,5,5)"}));
    EXPECT_EQ(dc.CurrentPosition(), (Point{-1, -2})) << "polylines leave the current point alone";
}

TEST(Dc, ColoursKeepRedInTheLowByteAndRoundTripThroughImagePixels)
{
    struct Case {
        int r, g, b;
        Color color;
        uint32_t argb;
    };
    const Case cases[] = {
        {0x12, 0x34, 0x56, 0x00563412u, 0xFF123456u},
        {255, 0, 0, 0x000000FFu, 0xFFFF0000u},
        {0, 0, 255, 0x00FF0000u, 0xFF0000FFu},
        {0x1FF, -1, 0x100, 0x0000FFFFu, 0xFFFFFF00u}, // out-of-range parts keep their low byte
    };
    for (const auto& c : cases) {
        const Color color = Rgb(c.r, c.g, c.b);
        EXPECT_EQ(color, c.color) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(Rgb(RedOf(color), GreenOf(color), BlueOf(color)), color);
        EXPECT_EQ(ToArgb(color), c.argb);
        EXPECT_EQ(FromArgb(c.argb & 0x00FFFFFFu), color) << "the alpha byte is ignored";
    }
}

TEST(Dc, MappingBetweenLogicalAndDeviceUnits)
{
    struct Case {
        const char* what;
        int mode;
        Point windowOrg;
        Size windowExt;
        Point viewportOrg;
        Size viewportExt;
        Point logical;
        Point device;
        bool inverse; // DPtoLP(device) gives logical back
    };
    const Case cases[] = {
        {"text: origins only", MM_TEXT, {5, 7}, {1, 1}, {20, 30}, {1, 1}, {0, 0}, {15, 23}, true},
        {"anisotropic halves x, flips y", MM_ANISOTROPIC, {0, 0}, {1000, 1000}, {10, 490}, {500, -480}, {100, 100},
         {60, 442}, true},
        {"window origin lands on the viewport origin", MM_ANISOTROPIC, {100, 2000}, {1000, 1000}, {10, 490},
         {500, -480}, {100, 2000}, {10, 490}, true},
        {"a half rounds up", MM_ANISOTROPIC, {0, 0}, {2, 2}, {0, 0}, {1, 1}, {3, 1}, {2, 1}, false},
        {"flipped y rounds to nearest", MM_ANISOTROPIC, {0, 0}, {1000, 1000}, {0, 0}, {500, -480}, {3, 3}, {2, -1},
         false},
        {"large extents do not overflow", MM_ANISOTROPIC, {0, 0}, {3000000, 100}, {0, 0}, {1000, 100}, {2999999, 50},
         {1000, 50}, false},
    };
    for (const auto& c : cases) {
        RecordingDc dc;
        dc.SetMapMode(c.mode);
        dc.SetWindowOrg(c.windowOrg.x, c.windowOrg.y);
        dc.SetWindowExt(c.windowExt.cx, c.windowExt.cy);
        dc.SetViewportOrg(c.viewportOrg.x, c.viewportOrg.y);
        dc.SetViewportExt(c.viewportExt.cx, c.viewportExt.cy);
        EXPECT_EQ(dc.LPtoDP(c.logical), c.device) << c.what;
        if (c.inverse) {
            EXPECT_EQ(dc.DPtoLP(c.device), c.logical) << c.what;
        }
    }
}

TEST(Dc, ExtentsChangeOnlyInAnisotropicModeAndTextModeResetsThem)
{
    RecordingDc dc;
    EXPECT_EQ(dc.SetWindowExt(100, 100), (Size{1, 1}));
    EXPECT_EQ(dc.SetWindowExt(100, 100), (Size{1, 1})) << "ignored in MM_TEXT";
    EXPECT_EQ(dc.SetMapMode(MM_ANISOTROPIC), int(MM_TEXT));
    dc.SetWindowExt(100, 0);
    EXPECT_EQ(dc.SetWindowExt(100, 50), (Size{1, 1})) << "a zero extent is refused";
    dc.SetViewportExt(200, -200);
    EXPECT_EQ(dc.LPtoDP({10, 10}), (Point{20, -40}));

    dc.SetMapMode(MM_TEXT);
    EXPECT_EQ(dc.LPtoDP({10, 10}), (Point{10, 10}));
    dc.SetMapMode(MM_ANISOTROPIC);
    EXPECT_EQ(dc.LPtoDP({10, 10}), (Point{10, 10})) << "extents went back to one to one";
    EXPECT_EQ(dc.ops, (Ops{"SetWindowExt(100,100)", "SetWindowExt(100,100)", "SetMapMode(8)", "SetWindowExt(100,0)",
                           "SetWindowExt(100,50)", "SetViewportExt(200,-200)", "SetMapMode(1)", "SetMapMode(8)"}))
        << "the extents asked are recorded, kept or not";
}

TEST(Dc, ClipRectanglesIntersectUntilReset)
{
    RecordingDc dc;
    dc.IntersectClipRect({0, 0, 100, 100});
    dc.IntersectClipRect({50, 40, 200, 200});
    dc.IntersectClipRect({300, 300, 400, 400});
    dc.ResetClip();
    dc.IntersectClipRect({10, 10, 20, 20});
    EXPECT_EQ(dc.ops,
              (Ops{"Clip(0,0,100,100)", "Clip(50,40,100,100)", "Clip(0,0,0,0)", "Clip()", "Clip(10,10,20,20)"}));
}

TEST(Dc, StretchImageClipsItsSourceToTheImage)
{
    const Image image(4, 3);
    struct Case {
        const char* what;
        Rect dest;
        const Image* source;
        Rect sourceRect;
        const char* expected; // nullptr: nothing drawn
    };
    const Image empty;
    const Case cases[] = {
        {"whole image", {0, 0, 8, 6}, &image, {0, 0, 4, 3}, "StretchImage(0,0,8,6 <- 4x3:0,0,4,3)"},
        {"source overhangs", {0, 0, 8, 6}, &image, {-2, 1, 10, 3}, "StretchImage(0,0,8,6 <- 4x3:0,1,4,3)"},
        {"source beside the image", {0, 0, 8, 6}, &image, {4, 0, 6, 3}, nullptr},
        {"no destination width", {0, 0, 0, 6}, &image, {0, 0, 4, 3}, nullptr},
        {"no destination height", {5, 5, 9, 5}, &image, {0, 0, 4, 3}, nullptr},
        {"empty image", {0, 0, 8, 6}, &empty, {0, 0, 4, 3}, nullptr},
    };
    for (const auto& c : cases) {
        RecordingDc dc;
        dc.StretchImage(c.dest, *c.source, c.sourceRect);
        EXPECT_EQ(dc.ops, c.expected ? Ops{c.expected} : Ops{}) << c.what;
    }
}

TEST(Dc, RectanglesExcludeTheirRightAndBottomEdges)
{
    const Rect r{10, 20, 30, 40};
    const std::pair<Point, bool> points[] = {{{10, 20}, true},  {{29, 39}, true},  {{30, 25}, false},
                                             {{15, 40}, false}, {{9, 25}, false}, {{15, 19}, false}};
    for (const auto& [p, inside] : points) EXPECT_EQ(r.Contains(p), inside) << p.x << "," << p.y;

    const std::pair<Rect, Rect> intersections[] = {
        {{20, 30, 50, 60}, {20, 30, 30, 40}},
        {{30, 20, 50, 40}, {}}, // touching at the excluded edge
        {{0, 0, 100, 100}, r},
        {{12, 22, 12, 30}, {}},
    };
    for (const auto& [other, expected] : intersections) EXPECT_EQ(r.Intersect(other), expected) << other.left;

    EXPECT_TRUE((Rect{5, 5, 10, 4}).IsEmpty());
    EXPECT_FALSE((Rect{5, 5, 5, 10}).Contains({5, 5})) << "an empty rectangle holds no point";
}

// ---- printing -----------------------------------------------------------------------------

using PrintJobTest = HostTest;

TEST_F(PrintJobTest, PagesAreRecordedAndAJobDroppedBeforeItsEndIsAborted)
{
    host.printerCaps = DeviceCaps{4961, 7016, 210, 297, 600, 600}; // A4 at 600 dpi
    {
        auto job = host.CreatePrintJob("Plot");
        ASSERT_TRUE(job);
        EXPECT_FALSE(job->StartPage()) << "no page before the document";
        ASSERT_TRUE(job->StartDoc("Plot 1"));
        for (int page = 1; page <= 2; ++page) {
            ASSERT_TRUE(job->StartPage());
            EXPECT_EQ(job->PageDc().GetDeviceCaps(HORZRES), 4961);
            EXPECT_EQ(job->PageDc().GetDeviceCaps(-1), 0) << "an unknown index";
            job->PageDc().TextOut(0, 0, "page " + std::to_string(page));
            ASSERT_TRUE(job->EndPage());
        }
        EXPECT_FALSE(job->EndPage()) << "no page open";
        EXPECT_TRUE(job->EndDoc());
    }
    {
        auto job = host.CreatePrintJob("Plot");
        job->StartDoc("Plot 2");
        job->StartPage();
        job->PageDc().LineTo(5, 5);
    }
    ASSERT_EQ(host.printed.size(), 2u);
    EXPECT_EQ(host.printed[0].pages, (std::vector<Ops>{{"TextOut(0,0,page 1)"}, {"TextOut(0,0,page 2)"}}));
    EXPECT_EQ(std::make_pair(host.printed[0].ended, host.printed[0].aborted), std::make_pair(true, false));
    EXPECT_TRUE(host.printed[1].pages.empty()) << "an unfinished page is not kept";
    EXPECT_EQ(std::make_pair(host.printed[1].ended, host.printed[1].aborted), std::make_pair(false, true));

    host.printerAvailable = false;
    EXPECT_EQ(host.CreatePrintJob("Plot"), nullptr);
    EXPECT_EQ(host.printed.size(), 2u);
}

} // namespace
