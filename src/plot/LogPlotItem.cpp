#include "plot/LogPlotItem.h"

CLogPlotItem::CLogPlotItem(const std::string& name, const std::string& filePath, const std::string& fileTitle,
                           const std::string& fileExt, double dataTop, double dataBottom, double depthStep,
                           double startDepth, double stopDepth, double depthShift, int16_t track, float leftLimit,
                           float rightLimit, int32_t enabled)
    : m_bEnabled(enabled), m_strName(name)
{
    m_file.path = filePath;
    m_file.title = fileTitle;
    m_file.ext = fileExt;
    m_file.dataTop = dataTop;
    m_file.dataBottom = dataBottom;
    m_file.depthStep = depthStep;
    m_scale.track = track;
    m_scale.startDepth = startDepth;
    m_scale.stopDepth = stopDepth;
    m_scale.depthShift = depthShift;
    m_scale.leftLimit = leftLimit;
    m_scale.rightLimit = rightLimit;
}

CLogPlotItem CLogPlotItem::NewItemDefaults()
{
    CLogPlotItem item("", "", "", "qtx", 0.0, 0.0, 0.0, 1.0, 50000.0, 0.0, 1, 40.0f, 240.0f, 1);
    item.m_datum.domain = kPlotTime;
    item.m_style.waveStyle = WaveStyle::kVdl;
    item.m_datum.domainName = "Time";
    item.m_style.palette = kPaletteColor;
    item.m_style.lineStyle = LineStyle::kSolid;
    item.m_style.lineWidth = LineWidth::kBold;
    item.m_style.color = NamedColour::kBlue;
    item.m_shade.color = NamedColour::kGray;
    item.m_shade.pattern = ShadePattern::kNone;
    item.m_shade.off = 1;
    item.m_shade.min = 40.0f;
    item.m_shade.max = 240.0f;
    item.m_scale.freqMin = 1000.0f;
    item.m_scale.freqMax = 3000.0f;
    item.m_scale.slowMin = 80.0f;
    item.m_scale.slowMax = 480.0f;
    item.m_datum.itemType = 7;
    return item;
}

PlotItemList DeepCopy(const PlotItemList& list)
{
    PlotItemList copy;
    copy.reserve(list.size());
    for (const auto& item : list)
        if (item) copy.push_back(std::make_shared<CLogPlotItem>(*item));
    return copy;
}
