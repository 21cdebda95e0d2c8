#include "processing/FilterResponse.h"
#include "processing/FilterSetupDlg.h"
#include "processing/QuickLookSetupDlg.h"
#include "processing/SetupFiles.h"

#include "platform/Dc.h"
#include "settings/SettingsStore.h"
#include "settings/DomainSetupGroup.h"
#include "settings/ProcessingSetupGroups.h"
#include "settings/VdlSetupGroup.h"
#include "support/HostFixture.h"
#include "support/TempDir.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

class FilterSetupTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        theApp.m_dormant.SetDefaults();
    }
    TempDir dir;
};

TEST(FilterResponseTest, BellRateFactorFollowsTheHalfWidthInStepsOf200Hz)
{
    const std::pair<double, double> cases[] = {{0, 240}, {200, 240}, {200.5, 160}, {1000, 60}, {1001, 52},
                                               {2000, 32}, {1e6, 32}};
    for (auto [h, q] : cases) EXPECT_EQ(BellRateFactor(h), q) << h;
}

TEST(FilterResponseTest, BellPeaksAtItsCentreAndFallsAwayFromIt)
{
    // 4000..6000 Hz at 10 us: centre 0.05 cycles per sample, point 20 of the axis.
    const ResponseValues v = BellResponse(4000, 6000, 10);
    int peak = 0;
    for (int j = 0; j < kResponsePoints; ++j)
        if (v[size_t(j)] > v[size_t(peak)]) peak = j;
    EXPECT_EQ(peak, 20);
    EXPECT_DOUBLE_EQ(v[20], 1.0);
    // Independently: exp(-k a) at the centre over exp(-k sqrt(d^2 + a^2)) one point (0.0025) away.
    const double k = 6.2831854820251465 * 60 * 4.5 / 10, a = 0.01;
    const double near = std::exp(-k * std::sqrt(0.0025 * 0.0025 + a * a)) + std::exp(-k * std::sqrt(0.1025 * 0.1025 + a * a));
    const double centre = std::exp(-k * a) + std::exp(-k * std::sqrt(0.1 * 0.1 + a * a));
    EXPECT_NEAR(v[21], near / centre, 1e-12);
    EXPECT_LT(v[0], 0.01);
    EXPECT_LT(v[200], 0.01);
}

TEST(FilterResponseTest, SemiRectangularEdgesAtZeroAndNyquistLeaveThePassBandWhole)
{
    const ResponseValues whole = SemiRectangularResponse(0, 50000, 10); // Nyquist of 10 us is 50 kHz
    for (double x : whole) EXPECT_EQ(x, 1.0);
    const ResponseValues band = SemiRectangularResponse(5000, 20000, 10); // 250 Hz a point
    EXPECT_LT(band[0], 1.0);
    EXPECT_LT(band[19], 1.0);
    EXPECT_EQ(band[20], 1.0);
    EXPECT_EQ(band[80], 1.0);
    EXPECT_LT(band[81], 1.0);
    EXPECT_LT(band[200], band[81]);
}

TEST(FilterResponseTest, EditTextsReadTheirFirstLineAsANumber)
{
    const std::pair<const char*, double> cases[] = {{"4000", 4000}, {" 12.5 Hz", 12.5}, {"abc", 0}, {"", 0},
                                                    {"7\r\n9", 7}};
    for (auto [text, value] : cases) EXPECT_EQ(ResponseEditValue(text), value) << text;
}

TEST_F(FilterSetupTest, ThePreviewNeedsASampleIntervalAndDrawsTheShapeInA200By100Box)
{
    CFilterSetupDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.SetItemText(CFilterSetupDlg::kIdcFrequencyStart, "4000");
    dlg.SetItemText(CFilterSetupDlg::kIdcFrequencyStop, "6000");
    dlg.OnShape(true);
    // No interval: no axis, only the white box (a division by zero before).
    std::vector<std::string> ops = host.DrawnItem(dlg, CFilterSetupDlg::kIdcResponse);
    for (const auto& op : ops) EXPECT_EQ(op.find("Polygon"), std::string::npos) << op;
    dlg.m_sampleInterval = 10.0f;
    ops = host.DrawnItem(dlg, CFilterSetupDlg::kIdcResponse, 400, 200);
    size_t polygons = 0, polylines = 0;
    for (const auto& op : ops) polygons += op.rfind("Polygon", 0) == 0, polylines += op.rfind("Polyline", 0) == 0;
    EXPECT_EQ(std::make_pair(polygons, polylines), std::make_pair(size_t(1), size_t(1)));
    EXPECT_DOUBLE_EQ(dlg.m_response[20], 1.0);
    dlg.DestroyWindow();
}

TEST_F(FilterSetupTest, GroupsEnableByTheModeTable)
{
    using D = CFilterSetupDlg;
    CFilterSetupDlg dlg;
    ASSERT_TRUE(dlg.Create());
    const auto state = [&] {
        return std::vector<bool>{dlg.IsItemEnabled(D::kIdcFrequencyStart), dlg.IsItemEnabled(D::kIdcSelectFrequencyProfile),
                                 dlg.IsItemEnabled(D::kIdcTimeStart), dlg.IsItemEnabled(D::kIdcSlownessStart)};
    };
    struct Step {
        std::function<void()> act;
        std::vector<bool> enabled; // frequency, its profile, time, slowness
    };
    const Step steps[] = {
        {[&] { dlg.OnFrequencyEnable(true); }, {true, true, true, false}},
        {[&] { dlg.OnProfileKind(true); }, {true, false, true, false}},
        {[&] { dlg.OnTimeEnable(false); }, {true, false, false, false}},
        {[&] { dlg.OnSlownessEnable(true); }, {false, false, false, true}},
        {[&] { dlg.OnCrossDipole(); }, {false, false, false, false}}, // the slowness window left time disabled
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EXPECT_EQ(state(), steps[i].enabled) << "step " << i;
    }
    EXPECT_EQ(dlg.Item(D::kIdcSlownessDisable)->Check(), 1) << "cross dipole turns the slowness window off";
    EXPECT_EQ(dlg.m_setup.frequencyEnabled, 0);
    dlg.DestroyWindow();
}

TEST_F(FilterSetupTest, ChangeBookkeepingGoesBySizeThenByPath)
{
    const std::string a = dir.File("a.qtx"), b = dir.File("b.qtx");
    std::ofstream(a) << "12345";
    std::ofstream(b) << "12345";
    uint32_t changed = 9, size = 0;
    struct Case {
        const char* what;
        std::string path, previous;
        bool force;
        uint32_t changed, size;
    };
    const Case cases[] = {
        {"a new size", a, "", false, 1, 5},
        {"the same file again", a, a, false, 0, 5},
        {"the same size elsewhere", b, a, false, 1, 5},
        {"forced", a, a, true, 1, 5},
    };
    for (const auto& c : cases) {
        NoteInputChange(changed, size, c.force, c.path, c.previous);
        EXPECT_EQ(std::make_pair(changed, size), std::make_pair(c.changed, c.size)) << c.what;
    }
    std::ofstream(a) << "1234567";
    NoteInputChange(changed, size, false, a, a);
    EXPECT_EQ(std::make_pair(changed, size), std::make_pair(1u, 7u)) << "another size under the same path";
}

TEST_F(FilterSetupTest, ForceInputsMarksEveryKindChangedInTheStore)
{
    CFilterSetupDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.OnForceInputs();
    const InputChangeBookkeeping& c = theApp.m_dormant.filter.changes;
    EXPECT_EQ((std::vector<uint32_t>{c.inputChanged, c.timeProfileChanged, c.frequencyProfileChanged,
                                     c.slownessProfileChanged}),
              (std::vector<uint32_t>{1, 1, 1, 1}));
    dlg.OnForceInputs();
    EXPECT_EQ(dlg.m_setup.forceInputs, 0);
    EXPECT_EQ(c.inputChanged, 1u) << "turning it off leaves the store";
    dlg.DestroyWindow();
}

TEST_F(FilterSetupTest, QuickLookDefaultsFollowWaveUnitAndFormation)
{
    struct Case {
        bool p, english, fast;
        QuickLookProfile profile;
    };
    const Case cases[] = {
        {true, true, true, {400, 1400, 100, 40, 120}},      {true, true, false, {400, 2400, 100, 40, 240}},
        {true, false, true, {400, 1400, 100, 120, 420}},    {true, false, false, {400, 2400, 100, 120, 720}},
        {false, true, true, {800, 2800, 250, 80, 280}},     {false, true, false, {1500, 7500, 500, 80, 680}},
        {false, false, true, {800, 2800, 250, 240, 840}},   {false, false, false, {1500, 7500, 500, 250, 2250}},
    };
    for (const auto& c : cases) EXPECT_EQ(QuickLookDefaults(c.p, c.english, c.fast), c.profile) << c.p << c.english << c.fast;

    CQuickLookSetupDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.OnWave(false);
    dlg.OnFormation(false);
    dlg.OnUnits(false);
    EXPECT_EQ(dlg.GetItemText(CQuickLookSetupDlg::kIdcTimeStop), "7500");
    EXPECT_EQ(dlg.GetItemText(CQuickLookSetupDlg::kIdcSlowMax), "2250.0");
    dlg.OnUnits(true);
    EXPECT_EQ(dlg.GetItemText(CQuickLookSetupDlg::kIdcSlowMin), "  80.0");
    EXPECT_EQ(theApp.m_domainSetup.slownessUnit, SlownessUnit::kPerFoot);
    EXPECT_EQ(theApp.m_vdlSetup.slownessUnit, SlownessUnit::kPerFoot);
    EXPECT_EQ(theApp.m_dormant.quickLook.english, 1);
    dlg.DestroyWindow();
}

TEST_F(FilterSetupTest, TheStatusLightLightsOneLampAndNoneOutsideItsRange)
{
    CStatusLightDlg light;
    ASSERT_TRUE(light.Create());
    const auto lit = [&](int16_t value) {
        light.SetLight(value);
        size_t n = 0;
        for (const auto& op : host.DrawnItem(light, quick_look_setup::kIdcLight)) n += op.find("#00FF00") != std::string::npos;
        return n;
    };
    EXPECT_EQ(lit(2), 1u);
    EXPECT_EQ(lit(0), 0u);
    EXPECT_TRUE(host.DrawnItem(light, quick_look_setup::kIdcLight).size() > 0);
    light.SetLight(3);
    EXPECT_TRUE(host.DrawnItem(light, quick_look_setup::kIdcLight).empty());
    light.SetLight(-1);
    EXPECT_TRUE(host.DrawnItem(light, quick_look_setup::kIdcLight).empty());
    light.DestroyWindow();
}

} // namespace
