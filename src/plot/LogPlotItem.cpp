#include "plot/LogPlotItem.h"

CLogPlotItem::CLogPlotItem(const std::string& name, const std::string& filePath, const std::string& fileTitle,
                           const std::string& fileExt, double dataTop, double dataBottom, double depthStep,
                           double startDepth, double stopDepth, double depthShift, int16_t track, float leftLimit,
                           float rightLimit, int32_t enabled)
    : m_bEnabled(enabled), m_nTrack(track), m_fLeftLimit(leftLimit), m_fRightLimit(rightLimit),
      m_dStartDepth(startDepth), m_dStopDepth(stopDepth), m_dDepthShift(depthShift), m_dDataTop(dataTop),
      m_dDataBottom(dataBottom), m_dDepthStep(depthStep), m_strName(name), m_strFilePath(filePath),
      m_strFileTitle(fileTitle), m_strFileExt(fileExt)
{
}

CLogPlotItem CLogPlotItem::NewItemDefaults()
{
    CLogPlotItem item("", "", "", "qtx", 0.0, 0.0, 0.0, 1.0, 50000.0, 0.0, 1, 40.0f, 240.0f, 1);
    item.m_nDomain = kPlotTime;
    item.m_strWaveStyle = "VDL";
    item.m_strDomain = "Time";
    item.m_strPalette = "Color";
    item.m_strLineStyle = "Solid";
    item.m_strLineWidth = "Bold";
    item.m_strColor = "Blue";
    item.m_strShadeColor = "Gray";
    item.m_strShadePattern = "None";
    item.m_nShadeOff = 1;
    item.m_fShadeMin = 40.0f;
    item.m_fShadeMax = 240.0f;
    item.m_fFreqMin = 1000.0f;
    item.m_fFreqMax = 3000.0f;
    item.m_fSlowMin = 80.0f;
    item.m_fSlowMax = 480.0f;
    item.m_byItemType = 7;
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
