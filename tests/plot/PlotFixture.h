// Plot items and data sets for the log-plot tests: a log of two curves, a time
// waveform and a frequency image over 1000 to 1100 ft every 0.5 ft.
#pragma once

#include "app/ViewerApp.h"
#include "dataset/QtxLayout.h"
#include "plot/LogPlotItem.h"
#include "plot/PlotWnd.h"
#include "plot/PlotWndFactory.h"
#include "settings/SettingsStore.h"
#include "settings/LogSetupGroup.h"
#include "support/AppFixture.h"
#include "support/QtxBuilder.h"
#include "support/TempDir.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace plot_test {

inline constexpr int kFrames = 201; // 1000 to 1100 ft
inline constexpr int kBrokenFrame = 10; // GR is absent (-999.25) at 1005 ft
inline constexpr uint8_t kCurveType = 250, kWaveType = 1, kFrequencyType = 158;

// Datums: GR, DT (curves), WMNO (4 receivers x 300 samples, 10 us), IFMN (2 x 64, Hz).
inline std::vector<QtxDatumShape> LogDatums()
{
    return {{"GR", kCurveType, kCategoryTrace, 1, 1, 0xFF, 1.0f},
            {"DT", kCurveType, kCategoryTrace, 1, 1, 0xFF, 1.0f},
            {"WMNO", kWaveType, kCategoryWaveform, 4, 300, kUnitMicroseconds, 10.0f},
            {"IFMN", kFrequencyType, kCategoryWaveform, 2, 64, kUnitMicroseconds, 10.0f}};
}

inline float LogSample(int frame, int datum, size_t index)
{
    switch (datum) {
    case 0: return frame == kBrokenFrame ? -999.25f : 50.0f + 0.25f * float(frame);
    case 1: return 100.0f + 20.0f * std::sin(0.1f * float(frame));
    case 2: return float(std::sin(0.05 * double(index % 300)) * (1 + index / 300));
    default: return 1000.0f + 10.0f * float(frame) + float(index % 64);
    }
}

inline bool WriteLog(const std::string& path, int frames = kFrames, double top = 1000.0, double step = 0.5,
                     uint8_t direction = qtx::kLogDown)
{
    return WriteQtx(path, LogDatums(), frames, top, step, LogSample, direction);
}

inline std::shared_ptr<CLogPlotItem> Item(const std::string& path, const std::string& name, int track, float left,
                                          float right, double start = 1000.0, double stop = 1100.0)
{
    auto item = std::make_shared<CLogPlotItem>(CLogPlotItem::NewItemDefaults());
    item->m_strName = name;
    item->m_datum.currentName = name;
    item->m_file.path = path;
    item->m_scale.track = int16_t(track);
    item->m_scale.leftLimit = left;
    item->m_scale.rightLimit = right;
    item->m_scale.startDepth = start;
    item->m_scale.stopDepth = stop;
    item->m_file.dataTop = 1000.0;
    item->m_file.dataBottom = 1100.0;
    item->m_file.depthStep = 0.5;
    item->m_file.frameCount = kFrames;
    item->m_file.logDirection = qtx::kLogDown;
    return item;
}

inline std::shared_ptr<CLogPlotItem> Curve(const std::string& path, const std::string& name, int track, float left,
                                           float right, const std::string& colour = "Red")
{
    auto item = Item(path, name, track, left, right);
    item->m_datum.domain = kPlotCurve;
    item->m_datum.itemType = kCurveType;
    item->m_datum.sampleCount = 1;
    item->m_datum.sampleInterval = 1.0f;
    item->m_style.color = StyleChoice<NamedColour>::FromText(colour);
    item->m_datum.unitsName = "API";
    return item;
}

inline std::shared_ptr<CLogPlotItem> Wave(const std::string& path, int track, uint8_t type = kWaveType,
                                          int samples = 300, float left = 0.0f, float right = 2990.0f)
{
    auto item = Item(path, type == kFrequencyType ? "IFMN" : "WMNO", track, left, right);
    item->m_datum.domain = kPlotTime;
    item->m_datum.itemType = type;
    item->m_datum.sampleCount = int16_t(samples);
    item->m_datum.sampleInterval = 10.0f;
    item->m_datum.nameCount = 4;
    item->m_datum.unitsName = "[uSec]";
    item->m_scale.frequencyImage = type == kFrequencyType;
    return item;
}

class PlotTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Start();
        ASSERT_TRUE(WriteLog(path));
        theApp.m_logSetup.depthUnits = "Feet";
    }
    LogSetupGroup& LogSetup() { return theApp.m_logSetup; }
    // The standard log: GR (track 1), DT (track 1), WMNO (track 2), IFMN (track 3).
    PlotItemList StandardItems() const
    {
        return {Curve(path, "GR", 1, 0.0f, 150.0f), Curve(path, "DT", 1, 200.0f, 0.0f, "Blue"), Wave(path, 2),
                Wave(path, 3, kFrequencyType, 64)};
    }
    CPlotWnd* Open(const PlotItemList& items)
    {
        LogSetup().plotItems = items;
        return OpenPlotWnd(LogSetup(), theViewerApp.ClassName(kClassPlot));
    }
    ScriptedWindow* Window(CPlotWnd* plot) { return frame.WindowOf(*plot); }

    TempDir dir;
    std::string path = dir.File("log.qtx");
};

} // namespace plot_test
