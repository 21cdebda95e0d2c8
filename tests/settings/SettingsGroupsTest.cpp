#include "settings/DisplayOptions.h"
#include "settings/DomainSetupGroup.h"
#include "settings/LogSetupGroup.h"
#include "settings/ProcessingSetupGroups.h"
#include "settings/SemblanceMapSetupGroup.h"
#include "settings/UtilitiesSetupGroup.h"
#include "settings/VdlSetupGroup.h"
#include "settings/ViewDomain.h"
#include "settings/XPlotSetupGroup.h"

#include <gtest/gtest.h>

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

TEST(SettingsGroups, SetDefaultsRestoresAUsedGroup)
{
    const Store fresh;
    Store used;
    used.display.currentMode = 1;
    used.display.zoomFactor1 = 32.0f;
    used.display.receiverShown[4] = 0;
    used.display.redPen = 1;
    used.domain.domain = ViewDomain::kAzimuth;
    used.domain.path = "C:\\logs\\well1.qtx";
    used.domain.enableSlowness = 1;
    used.vdl.colour = "Magenta";
    used.map.timeStop = 4000.0f;
    used.xplot.slownessUnit = SlownessUnit::kPerMetre;
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

TEST(SettingsGroups, DormantDefaultsClearEveryGroupAndGiveTheDepthProfileItsStartValues)
{
    DormantSetupGroups dormant;
    dormant.filter.changes.slownessProfileSize = 4096;
    dormant.picking.changes.inputChanged = 1;
    dormant.quickLook.metric = 1;
    dormant.stc.caliperList.selected[255] = 1;
    dormant.dispersion.lists[3].itemCount = 7;
    dormant.logHeader.headerStrings[8] = "kept";
    dormant.depthProfile.inputPath = "/old/input.qtx";

    dormant.SetDefaults();

    DormantSetupGroups expected;
    expected.depthProfile.SetDefaults();
    EXPECT_EQ(dormant, expected);
    EXPECT_EQ(dormant.depthProfile.domain, ViewDomain::kTime);
    EXPECT_TRUE(dormant.depthProfile.inputPath.empty());
    // Every range the dialog checks starts inside its limits.
    EXPECT_LT(dormant.depthProfile.timeStart, dormant.depthProfile.timeStop);
    EXPECT_LT(dormant.depthProfile.slowMin, dormant.depthProfile.slowMax);
}

} // namespace

// Every domain has its own list text and comes back from it; a text of none is kNone,
// and only the four single domains have a view's code.
TEST(ViewDomainTest, NamesAndCodesGoBothWays)
{
    for (ViewDomain d : {ViewDomain::kTime, ViewDomain::kFrequency, ViewDomain::kSlowness, ViewDomain::kAzimuth,
                         ViewDomain::kTimeFrequency})
        EXPECT_EQ(ViewDomainOfName(ViewDomainName(d)), d) << ViewDomainName(d);
    EXPECT_EQ(ViewDomainOfName("Tim"), ViewDomain::kNone);
    EXPECT_EQ(ViewDomainOfName(""), ViewDomain::kNone);
    EXPECT_STREQ(ViewDomainName(ViewDomain::kNone), "");
    for (int code = 1; code <= 4; ++code) EXPECT_EQ(ViewDomainCode(ViewDomainOfCode(code)), code);
    EXPECT_EQ(ViewDomainOfCode(5), ViewDomain::kNone);
    EXPECT_EQ(ViewDomainCode(ViewDomain::kTimeFrequency), 0);
}
