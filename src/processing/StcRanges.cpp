#include "processing/StcRanges.h"

#include "processing/SetupFiles.h"

#include <cstdint>

bool ReadStcMapRanges(const CQtxDatumList& datums, StcMapRanges& ranges)
{
    const CQtxDatum* map = nullptr;
    for (const auto& datum : datums)
        if (datum->m_category == kCategorySemblanceMap) map = datum.get();
    if (!map) return false;
    const CQtxDatumAxis& s = map->m_axis1;
    const CQtxDatumAxis& t = map->m_axis2;
    StcMapRanges r;
    r.slownessTitle = SlownessRangeTitle(SlownessUnitOfCode(s.m_unit));
    r.slownessStep = s.m_step;
    r.slownessCount = int16_t(s.m_sampleCount);
    r.slownessMin = float(int16_t(s.m_firstIndex)) * s.m_step;
    r.slownessMax = float(r.slownessCount) * s.m_step + r.slownessMin;
    r.timeStep = t.m_step;
    r.timeField = int16_t(t.m_firstIndex);
    r.timeCount = int16_t(t.m_sampleCount);
    r.timeStart = float(r.timeField) * t.m_step;
    r.timeStop = float(r.timeCount + r.timeField) * t.m_step;
    ranges = r;
    return true;
}
