#include "common/DatumChooser.h"

#include "common/QtxFileDlg.h"
#include "dataset/FrameCursor.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <vector>

static_assert(kTabSemblanceMap == CQtxFileDlg::kTabSembMap);

namespace {

const char* DomainItemKind(int domain)
{
    switch (domain) {
    case CQtxFileDlg::kTabTime: return "time";
    case CQtxFileDlg::kTabFrequency: return "frequency";
    case CQtxFileDlg::kTabSlowness: return "slowness";
    case CQtxFileDlg::kTabAzimuth: return "azimuth";
    default: return "semblance map";
    }
}

bool Choose(const CQtxFile& file, const CQtxDatumList& datums, int& domain, bool followTab, ChosenDatum& datum)
{
    const CFrameCursor frames(file.Header());
    CQtxFileDlg dialog;
    dialog.m_fileName = file.Path();
    dialog.m_startDepth = Format("%12.4f", frames.TopDepth());
    dialog.m_stopDepth = Format("%12.4f", frames.BottomDepth());
    dialog.m_depthStep = Format("%12.4f", frames.HeaderStep());
    dialog.m_depthUnits = frames.DepthUnitLabel();
    dialog.m_depthFrames = Format("%u", unsigned(frames.HeaderFrameCount()));
    dialog.m_startTab = domain;
    dialog.m_allowSelectAll = domain == kTabSemblanceMap ? 0 : 1; // a map view shows one map
    dialog.m_datums = &datums;
    if (dialog.DoModal() != IDOK) return false;
    const int shown = dialog.CurrentTab();
    if (followTab && shown >= CQtxFileDlg::kTabTime && shown <= CQtxFileDlg::kTabAzimuth) domain = shown;

    // The other tabs list items of other classes, which the copy below cannot take.
    std::vector<CQtxItem*> chosen;
    if ((domain >= CQtxFileDlg::kTabTime && domain <= CQtxFileDlg::kTabAzimuth) || domain == kTabSemblanceMap)
        chosen = dialog.SelectedItems(domain);
    if (chosen.empty() && dialog.Items(domain).empty()) {
        // An item marked on another tab is not this view's: say which kind the data set lacks.
        MessageBox(Format("The data set %s holds no %s item!\nOperation will be abandoned.", file.Path().c_str(),
                          DomainItemKind(domain)),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    if (chosen.empty()) {
        MessageBox("Encountered empty selection list!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return false;
    }
    if (chosen.size() > 1) {
        MessageBox("Too many items have been selected!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return false;
    }

    const CQtxItem& item = *chosen.front();
    ChosenDatum d;
    d.mnemonic = item.m_mnemonic;
    d.typeCode = item.m_typeCode;
    d.datumNumber = item.m_datumNumber;
    d.offset = item.m_offset;
    // The Time tab lists CQtxTimeItem, the map tab CQtxSembMapItem, the other three
    // tabs CQtxFrequencyItem kinds.
    if (domain == kTabSemblanceMap) {
        const auto& map = static_cast<const CQtxSembMapItem&>(item);
        d.step = map.m_step;
        d.sampleCount = map.m_sampleCount;
        d.firstIndex = map.m_firstIndex;
        d.step2 = map.m_step2;
        d.sampleCount2 = map.m_sampleCount2;
        d.firstIndex2 = map.m_firstIndex2;
        d.traceCount = 1;
    } else if (domain == CQtxFileDlg::kTabTime) {
        const auto& time = static_cast<const CQtxTimeItem&>(item);
        d.unitCode = time.m_unit;
        d.step = time.m_step;
        d.sampleCount = time.m_sampleCount;
        d.traceCount = time.m_traceCount;
    } else {
        const auto& other = static_cast<const CQtxFrequencyItem&>(item);
        d.step = other.m_step;
        d.sampleCount = other.m_sampleCount;
        d.traceCount = other.m_traceCount;
    }
    datum = std::move(d);
    return true;
}

} // namespace

bool ChooseDatum(const CQtxFile& file, const CQtxDatumList& datums, int domain, ChosenDatum& datum)
{
    return Choose(file, datums, domain, false, datum);
}

bool ChooseDatumOfShownTab(const CQtxFile& file, const CQtxDatumList& datums, int& domain, ChosenDatum& datum)
{
    int taken = domain;
    if (!Choose(file, datums, taken, true, datum)) return false;
    domain = taken;
    return true;
}
