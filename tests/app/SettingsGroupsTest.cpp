#include "app/SettingsGroups.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Store {
    DisplayOptionBlock display;
    DomainSetupGroup domain;
    VdlSetupGroup vdl;
    SemblanceMapSetupGroup map;
    XPlotSetupGroup xplot;
    LogSetupGroup log;
    UtilitiesSetupGroup tools;

    Store()
    {
        display.SetDefaults();
        domain.SetDefaults();
        vdl.SetDefaults();
        map.SetDefaults();
        xplot.SetDefaults();
        log.SetDefaults();
        tools.SetDefaults();
    }
};

struct NumberCase {
    const char* field;
    std::function<double(const Store&)> get;
    double expected;
};

struct TextCase {
    const char* field;
    std::function<std::string(const Store&)> get;
    const char* expected;
};

#define NUM(field, value) NumberCase{#field, [](const Store& s) -> double { return s.field; }, value}
#define TEXT(field, value) TextCase{#field, [](const Store& s) -> std::string { return s.field; }, value}

TEST(SettingsGroups, StartUpNumbersAreThoseOfTheSetupDialogs)
{
    const std::vector<NumberCase> cases = {
        NUM(domain.topDepth, 1.0), NUM(domain.bottomDepth, 50000.0), NUM(domain.depthFrame, 1.0),
        NUM(domain.freqStop, 10000.0), NUM(domain.timeStop, 5000.0),
        NUM(domain.slowMin, 40.0), NUM(domain.slowMax, 240.0), NUM(domain.azimMax, 360.0),
        NUM(vdl.topDepth, 1.0), NUM(vdl.bottomDepth, 50000.0), NUM(vdl.depthScale, 480.0),
        NUM(vdl.freqStop, 10000.0), NUM(vdl.timeStop, 5000.0),
        NUM(vdl.slowMin, 40.0), NUM(vdl.slowMax, 240.0), NUM(vdl.azimMax, 360.0),
        NUM(map.topDepth, 1.0), NUM(map.bottomDepth, 50000.0), NUM(map.timeStart, 0.0), NUM(map.timeStop, 1000.0),
        NUM(map.slowMin, 40.0), NUM(map.slowMax, 240.0),
        NUM(xplot.topDepth, 1.0), NUM(xplot.bottomDepth, 50000.0), NUM(xplot.freqMin, 1000.0),
        NUM(xplot.freqMax, 3000.0), NUM(xplot.slowMin, 80.0), NUM(xplot.slowMax, 480.0),
        // Log Setup option states in store order: on, off, English, Metric, spare, Blue, Beige, Gray.
        NUM(log.depthTrackOn, 0), NUM(log.depthTrackOff, 1), NUM(log.english, 1), NUM(log.metric, 0),
        NUM(log.spareState, 0), NUM(log.backBlue, 1), NUM(log.backBeige, 0), NUM(log.backGray, 0),
        NUM(log.depthScale, 480.0),
        NUM(tools.taskCode, 0), NUM(tools.decimation, 1),
        NUM(tools.primaryStartDepth, 1.0), NUM(tools.primaryStopDepth, 50000.0),
        NUM(tools.secondaryStartDepth, 1.0), NUM(tools.secondaryStopDepth, 50000.0),
        NUM(tools.densityStartDepth, 1.0), NUM(tools.densityStopDepth, 50000.0),
        NUM(display.windowCounter, 0), NUM(display.activeWindowId, 0), NUM(display.currentMode, -1),
        NUM(display.zoomLevel, 0), NUM(display.zoomFactor1, 1.0), NUM(display.zoomFactor2, 1.0),
        NUM(display.zoomFactor3, 1.0), NUM(display.depthZoomRequest, 0), NUM(display.dataAxisZoomRequest, 0),
        NUM(display.penColourChanged, 1), NUM(display.penWidthChanged, 1), NUM(display.backgroundChanged, 1),
        NUM(display.redrawRequest, 1), NUM(display.optionsStored, 0), NUM(display.saveProfile, 0),
        NUM(display.profileOption, 1), NUM(display.singleReceiver, 1),
    };
    const Store store;
    for (const auto& c : cases)
        EXPECT_EQ(c.get(store), c.expected) << c.field;
}

TEST(SettingsGroups, StartUpTextsAreThoseOfTheSetupDialogs)
{
    const char* feet = "Slowness range [uSec/ft]";
    const std::vector<TextCase> cases = {
        TEXT(domain.slownessTitle, feet), TEXT(domain.domain, "Time"), TEXT(domain.ext, ""),
        TEXT(vdl.slownessTitle, feet), TEXT(vdl.domain, "Time"), TEXT(vdl.colour, "Black"),
        TEXT(vdl.type, "VDL"), TEXT(vdl.palette, "Color"),
        TEXT(map.slownessTitle, feet), TEXT(map.colour, "Brown"), TEXT(map.type, "VDL"), TEXT(map.palette, "Color"),
        TEXT(xplot.slownessTitle, feet),
        TEXT(log.itemPens[0].colour, "Brown"), TEXT(log.itemPens[0].width, "Bold"),
        TEXT(log.itemPens[1].colour, "Blue"), TEXT(log.itemPens[1].width, "Bold"),
        TEXT(log.itemPens[2].colour, "White"), TEXT(log.itemPens[2].width, "Bold"),
        TEXT(log.header, ""), TEXT(log.loadPath, ""),
        TEXT(tools.taskName, "Extract Item(s)"), TEXT(tools.outputPath, ""),
    };
    const Store store;
    for (const auto& c : cases)
        EXPECT_EQ(c.get(store), c.expected) << c.field;
}

TEST(SettingsGroups, DisplayOptionsStartWithEveryReceiverAndOneHotBlackThickWhite)
{
    const DisplayOptionBlock& d = Store().display;
    for (size_t i = 0; i < kReceiverCount; ++i) {
        EXPECT_EQ(d.receiverAvailable[i], 1u) << "available R" << i + 1;
        EXPECT_EQ(d.receiverShown[i], 1u) << "shown R" << i + 1;
    }
    EXPECT_EQ((std::vector<uint32_t>{d.redPen, d.greenPen, d.bluePen, d.blackPen, d.whitePen}),
              (std::vector<uint32_t>{0, 0, 0, 1, 0}));
    EXPECT_EQ((std::vector<uint32_t>{d.thinPen, d.thickPen}), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ((std::vector<uint32_t>{d.whiteBackground, d.yellowBackground, d.grayBackground}),
              (std::vector<uint32_t>{1, 0, 0}));
}

TEST(SettingsGroups, LogSetupStartsWithFourTracksOfFourInchesAndAnEmptyPlotList)
{
    const LogSetupGroup log = Store().log;
    for (size_t i = 0; i < kTrackCount; ++i)
        EXPECT_EQ(log.trackWidth[i], i < 4 ? 4.0f : 0.0f) << "track #" << i + 1;
    EXPECT_TRUE(log.plotItems.empty());
}

// Start-up never writes these; they stay zero and empty until their command runs.
TEST(SettingsGroups, ConvertCnvValuesAndXPlotFlagsStartZeroAndEmpty)
{
    const ConvertCnvValues cnv;
    EXPECT_EQ(cnv.topDepth, 0.0);
    EXPECT_EQ(cnv.frameCount, 0u);
    EXPECT_TRUE(cnv.depthUnit.empty());
    EXPECT_TRUE(cnv.qtxPath.empty());
    const XPlotDatumFlags xplot;
    EXPECT_EQ(xplot.datumCount, 0u);
    EXPECT_EQ(xplot.selected[kXPlotFlagCount - 1], 0u);
}

TEST(SettingsGroups, SetDefaultsRestoresAUsedGroup)
{
    const Store fresh;
    Store used;
    used.display.currentMode = 1;
    used.display.zoomFactor1 = 32.0f;
    used.display.receiverShown[4] = 0;
    used.display.redPen = 1;
    used.domain.domain = "Azimuth";
    used.domain.path = "C:\\logs\\well1.qtx";
    used.domain.enableSlowness = 1;
    used.vdl.colour = "Magenta";
    used.map.timeStop = 4000.0f;
    used.xplot.slownessTitle = "Slowness range [uSec/m]";
    used.log.trackWidth[9] = 2.5f;
    used.log.depthUnits = "Meters";
    used.log.itemPens[2].colour = "Gray";
    used.tools.taskCode = 31;
    used.tools.secondary.selected[255] = 1;
    used.tools.factor = -4.5f;

    used.display.SetDefaults();
    used.domain.SetDefaults();
    used.vdl.SetDefaults();
    used.map.SetDefaults();
    used.xplot.SetDefaults();
    used.log.SetDefaults();
    used.tools.SetDefaults();

    EXPECT_EQ(used.display, fresh.display);
    EXPECT_EQ(used.domain, fresh.domain);
    EXPECT_EQ(used.vdl, fresh.vdl);
    EXPECT_EQ(used.map, fresh.map);
    EXPECT_EQ(used.xplot, fresh.xplot);
    EXPECT_EQ(used.log, fresh.log);
    EXPECT_EQ(used.tools, fresh.tools);
}

TEST(SettingsGroups, LogSetupDefaultsReleaseThePlotItems)
{
    // The item class belongs to the plot subsystem; a counting deleter stands in for it.
    int destroyed = 0;
    const auto count = [&destroyed](CLogPlotItem*) { ++destroyed; };
    LogSetupGroup log;
    log.plotItems.push_back(std::shared_ptr<CLogPlotItem>(nullptr, count));
    log.plotItems.push_back(std::shared_ptr<CLogPlotItem>(nullptr, count));
    log.SetDefaults();
    EXPECT_TRUE(log.plotItems.empty());
    EXPECT_EQ(destroyed, 2);
}

struct CountedObject : DormantObject {
    explicit CountedObject(int* destroyed) : destroyed(destroyed) {}
    ~CountedObject() override { ++*destroyed; }
    int* destroyed;
};

TEST(SettingsGroups, DormantDefaultsGiveEightEmptyListsAndClearEveryGroup)
{
    int destroyed = 0;
    DormantSetupGroups dormant;
    dormant.objectLists[0].push_back(std::make_unique<CountedObject>(&destroyed));
    dormant.objectLists[7].push_back(std::make_unique<CountedObject>(&destroyed));
    dormant.filter.changes.slownessProfileSize = 4096;
    dormant.picking.changes.inputChanged = 1;
    dormant.quickLook.metric = 1;
    dormant.stc.caliperList.selected[255] = 1;
    dormant.dispersion.lists[3].itemCount = 7;
    dormant.logHeader.headerStrings[8] = "kept";

    dormant.SetDefaults();

    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(dormant.objectLists.size(), 8u);
    EXPECT_EQ(dormant, DormantSetupGroups{});
}

} // namespace
