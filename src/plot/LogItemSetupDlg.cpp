#include "plot/LogItemSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/QtxFileDlg.h"
#include "dataset/ItemTypes.h"
#include "dataset/QtxFile.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/DialogTemplates.h"
#include "platform/Host.h"
#include "plot/PlotExchange.h"
#include "res/PlotChoices.h"
#include "res/LogItemSetupDlgIds.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace {

using Dlg = CLogItemSetupDlg;
using enum log_item_setup::Control;

constexpr const char* kInputFileLabel = "Input File : ";
constexpr float kMaxLimit = 1000000.0f;
constexpr float kMaxShadeLimit = 50000.0f;
constexpr float kMaxFrequency = 25000.0f;
constexpr float kMinSlowness = 40.0f, kMaxSlowness = 3500.0f;

void FillCombo(CDialog& d, int id, const std::vector<std::string>& entries)
{
    if (ControlState* box = d.Item(id)) {
        box->ResetContent();
        for (const auto& e : entries) box->AddString(e);
    }
}

// The data set's header values, in depth order. False after the data set's message.
struct DataSetDepths {
    double top = 0.0, bottom = 0.0, step = 0.0;
    uint32_t frames = 0;
    uint8_t direction = 0, units = 0;
};
bool ReadDepths(CQtxFile& file, const std::string& path, DataSetDepths& out)
{
    if (!file.OpenRead(path)) return false;
    DataSetDepths d;
    d.top = file.GetTopDepth();
    d.bottom = file.GetBottomDepth();
    d.step = file.GetDepthStep();
    d.frames = file.GetFrameCount();
    if (d.top == -1.0 || d.bottom == -1.0 || d.step == -1.0 || d.frames == 0xFFFFFFFFu) return false;
    d.direction = file.m_header.logDirection;
    d.units = file.m_header.depthUnits;
    out = d;
    return true;
}

void ClearNames(CLogPlotItem& item)
{
    item.m_strNames.fill(std::string());
    item.m_strUnits.fill(std::string());
    item.m_byItemTypes.fill(0);
}

int16_t ClampCount(size_t n, size_t cap) { return int16_t(std::min(n, cap)); }

// A curve: every curve of the data set is a name; the arrays hold the first 256.
bool TakeCurve(const std::vector<CQtxItem*>& curves, const CQtxItem* chosen, CLogPlotItem& item)
{
    const size_t at = size_t(std::find(curves.begin(), curves.end(), chosen) - curves.begin());
    if (at >= size_t(kPlotNameCount)) {
        MessageBox(Format("Only the first %d curves of a data set can be plotted!\nOperation will be abandoned.",
                          kPlotNameCount),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    item.m_nNameCount = ClampCount(curves.size(), kPlotNameCount);
    for (size_t i = 0; i < size_t(item.m_nNameCount); ++i) {
        item.m_strNames[i] = curves[i]->m_mnemonic;
        item.m_strUnits[i] = curves[i]->m_unitText;
        item.m_byItemTypes[i] = curves[i]->m_typeCode;
    }
    item.m_nCurrentName = int16_t(at);
    item.m_fSampleInterval = 1.0f;
    item.m_nSampleCount = 1;
    item.m_strUnitsName = item.m_strUnits[at];
    return true;
}

// A waveform datum: its traces are the names, with the receiver labels of its code.
void TakeWaveform(const CQtxItem& datum, PlotDomain domain, CLogPlotItem& item)
{
    // The other tabs list CQtxFrequencyItem kinds; the Time tab its own class.
    float step = 0.0f;
    uint16_t samples = 0, traces = 0;
    if (domain == kPlotTime) {
        const auto& time = static_cast<const CQtxTimeItem&>(datum);
        step = time.m_step;
        samples = time.m_sampleCount;
        traces = time.m_traceCount;
        item.m_bFrequencyImage = InFamily(datum.m_typeCode, ItemFamily::InstFrequency) ? 1 : 0;
        item.m_bSlownessImage = InFamily(datum.m_typeCode, ItemFamily::InstSlowness) ? 1 : 0;
        if (item.m_bSlownessImage) item.m_bySlownessUnit = time.m_unit;
    } else {
        const auto& other = static_cast<const CQtxFrequencyItem&>(datum);
        step = other.m_step;
        samples = other.m_sampleCount;
        traces = other.m_traceCount;
    }
    item.m_fSampleInterval = step;
    item.m_nSampleCount = ClampCount(samples, size_t(std::numeric_limits<int16_t>::max()));
    item.m_nNameCount = ClampCount(traces, kPlotNameCount);
    item.m_nCurrentName = 0;
    const std::string unit = domain == kPlotTime        ? "[uSec]"
                             : domain == kPlotFrequency ? "[Hz]"
                             : domain == kPlotAzimuth   ? "[deg]"
                                                        : datum.m_unitText;
    const std::vector<std::string> labels = PlotReceiverLabels(datum.m_typeCode);
    for (size_t i = 0; i < size_t(item.m_nNameCount); ++i) {
        if (i < labels.size()) item.m_strNames[i] = labels[i];
        item.m_strUnits[i] = unit;
        item.m_byItemTypes[i] = datum.m_typeCode;
    }
    item.m_strUnitsName = item.m_nNameCount > 0 ? unit : std::string();
}

} // namespace

CLogItemSetupDlg::CLogItemSetupDlg() : CDialog(DialogTemplateFor(kIddLogItemSetup))
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcRestoreDepth, Notify::Clicked, [this] { OnRestoreDepth(); });
    On(kIdcNormalize, Notify::Clicked, [this] { OnNormalize(); });
    for (int id : {kIdcShadeOff, kIdcShadeMinLimit, kIdcShadeMaxLimit, kIdcShadeCurveLimit})
        On(id, Notify::Clicked, [this, id] { OnShadeMode(id); });
    On(kIdcWaveList, Notify::SelChange, [this] { OnSelChangeWaveList(); });
    On(kIdcCurveList, Notify::SelChange, [this] { OnSelChangeCurveList(); });
    On(kIdcPartnerList, Notify::SelChange, [this] { OnSelChangePartnerList(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

void CLogItemSetupDlg::DoDataExchange(DataExchange& dx)
{
    namespace px = plot_exchange;
    CLogPlotItem& it = m_item;
    px::DepthRange(dx, kIdcStartDepth, kIdcStopDepth, it.m_dStartDepth, it.m_dStopDepth, nullptr);
    px::Shift(dx, kIdcShift, it.m_dDepthShift, nullptr);
    dx.ComboString(kIdcDomain, it.m_strDomain);
    dx.ComboString(kIdcWaveStyle, it.m_strWaveStyle);
    dx.ComboString(kIdcPalette, it.m_strPalette);
    // Stored texts are at most 255 characters long.
    dx.Text(kIdcName, it.m_strName);
    dx.MaxChars(it.m_strName, 255);
    dx.Text(kIdcUnitsName, it.m_strUnitsName);
    dx.MaxChars(it.m_strUnitsName, 255);
    px::Limit(dx, kIdcLeftLimit, it.m_fLeftLimit, kMaxLimit, true, nullptr);
    px::Limit(dx, kIdcRightLimit, it.m_fRightLimit, kMaxLimit, false, nullptr);
    px::Bounded(dx, kIdcFreqMin, it.m_fFreqMin, 0.0f, kMaxFrequency,
                "You entered an minimum frequency!.\nValid range : %.1f - %.1f Hz");
    px::Bounded(dx, kIdcFreqMax, it.m_fFreqMax, 0.0f, kMaxFrequency,
                "You entered an maximum frequency!.\nValid range : %.1f - %.1f Hz");
    px::Bounded(dx, kIdcSlowMin, it.m_fSlowMin, kMinSlowness, kMaxSlowness,
                "You entered an minimum slowness!.\nValid range : %.1f - %.1f uSec/ft");
    px::Bounded(dx, kIdcSlowMax, it.m_fSlowMax, kMinSlowness, kMaxSlowness,
                "You entered an maximum slowness!.\nValid range : %.1f - %.1f uSec/ft");
    px::Track(dx, kIdcTrack, it.m_nTrack);
    dx.ComboString(kIdcLineStyle, it.m_strLineStyle);
    dx.ComboString(kIdcLineWidth, it.m_strLineWidth);
    dx.ComboString(kIdcColor, it.m_strColor);
    dx.ComboString(kIdcShadeColor, it.m_strShadeColor);
    dx.ComboString(kIdcShadePattern, it.m_strShadePattern);
    px::Limit(dx, kIdcShadeMin, it.m_fShadeMin, kMaxShadeLimit, true, nullptr);
    px::Limit(dx, kIdcShadeMax, it.m_fShadeMax, kMaxShadeLimit, false, nullptr);
    // The check box and the radios show the values; only their handlers change them.
    if (dx.Saving() || dx.Failed()) return;
    if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(it.m_bNormalize ? 1 : 0);
    const std::pair<int, int16_t> modes[] = {{kIdcShadeOff, it.m_nShadeOff},
                                             {kIdcShadeMinLimit, it.m_nShadeMinLimit},
                                             {kIdcShadeMaxLimit, it.m_nShadeMaxLimit},
                                             {kIdcShadeCurveLimit, it.m_nShadeCurveLimit}};
    for (const auto& [id, on] : modes)
        if (ControlState* radio = Item(id)) radio->SetCheck(on ? 1 : 0);
}

bool CLogItemSetupDlg::OnInitDialog()
{
    FillCombo(*this, kIdcDomain, PlotDomainEntries());
    FillCombo(*this, kIdcWaveStyle, PlotWaveStyleEntries());
    FillCombo(*this, kIdcPalette, PlotPaletteEntries());
    FillCombo(*this, kIdcLineStyle, PlotLineStyleEntries());
    FillCombo(*this, kIdcLineWidth, PlotLineWidthEntries());
    FillCombo(*this, kIdcColor, PlotColourEntries());
    FillCombo(*this, kIdcShadeColor, PlotColourEntries());
    FillCombo(*this, kIdcShadePattern, PlotShadePatternEntries());
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_item.m_strFilePath));
    UpdateControls();
    return true;
}

void CLogItemSetupDlg::UpdateControls()
{
    const CLogPlotItem& it = m_item;
    if (ControlState* domain = Item(kIdcDomain))
        domain->SetCurSel(it.m_nDomain >= kPlotTime && it.m_nDomain <= kPlotAzimuth ? it.m_nDomain - 1 : -1);

    const std::initializer_list<int> options = {
        kIdcWaveList,       kIdcCurveList,      kIdcPartnerList,     kIdcPartnerLabel,      kIdcWaveStyle,
        kIdcWaveStyleLabel, kIdcPalette,        kIdcPaletteLabel,    kIdcNormalize,         kIdcFreqMin,
        kIdcFreqMinLabel,   kIdcFreqMax,        kIdcFreqMaxLabel,    kIdcSlowMin,           kIdcSlowMinLabel,
        kIdcSlowMax,        kIdcSlowMaxLabel,   kIdcLineStyle,       kIdcLineStyleLabel,    kIdcLineWidth,
        kIdcLineWidthLabel, kIdcColor,          kIdcColorLabel,      kIdcShadeColor,        kIdcShadeColorLabel,
        kIdcShadePattern,   kIdcShadePatternLabel, kIdcShadeMin,     kIdcShadeMinLabel,     kIdcShadeMax,
        kIdcShadeMaxLabel};
    for (int id : options) EnableItem(id, false);
    auto enable = [this](std::initializer_list<int> ids) {
        for (int id : ids) EnableItem(id, true);
    };
    if (it.m_nDomain == kPlotCurve) {
        enable({kIdcCurveList, kIdcLineStyle, kIdcLineStyleLabel, kIdcLineWidth, kIdcLineWidthLabel, kIdcColor,
                kIdcColorLabel});
        if (!it.m_nShadeOff) {
            enable({kIdcShadeColor, kIdcShadeColorLabel, kIdcShadePattern, kIdcShadePatternLabel});
            if (it.m_nShadeMinLimit) enable({kIdcShadeMin, kIdcShadeMinLabel});
            else if (it.m_nShadeMaxLimit) enable({kIdcShadeMax, kIdcShadeMaxLabel});
            else if (it.m_nShadeCurveLimit) enable({kIdcPartnerList, kIdcPartnerLabel});
        }
    } else {
        enable({kIdcWaveList, kIdcWaveStyle, kIdcWaveStyleLabel, kIdcPalette, kIdcPaletteLabel});
        if (it.m_nDomain == kPlotSlowness) enable({kIdcNormalize});
        if (it.m_nDomain == kPlotTime && it.m_bFrequencyImage)
            enable({kIdcFreqMin, kIdcFreqMinLabel, kIdcFreqMax, kIdcFreqMaxLabel});
        if (it.m_nDomain == kPlotTime && it.m_bSlownessImage)
            enable({kIdcSlowMin, kIdcSlowMinLabel, kIdcSlowMax, kIdcSlowMaxLabel});
    }

    if (!it.m_strFilePath.empty()) FillNameList(it.m_nDomain == kPlotCurve ? kIdcCurveList : kIdcWaveList);
    if (it.m_nDomain == kPlotCurve && it.m_nShadeCurveLimit) FillPartnerList();
}

void CLogItemSetupDlg::FillNameList(int listId)
{
    ControlState* list = Item(listId);
    if (!list) return;
    list->ResetContent();
    const int count = std::clamp<int>(m_item.m_nNameCount, 0, kPlotNameCount);
    for (int i = 0; i < count; ++i) list->AddString(m_item.m_strNames[size_t(i)]);
    for (int i = 0; i < count; ++i)
        if (m_item.m_strNames[size_t(i)] == m_item.m_strCurrentName) {
            list->SetCurSel(i);
            m_item.m_nCurrentName = int16_t(i);
            break;
        }
}

void CLogItemSetupDlg::FillPartnerList()
{
    ControlState* list = Item(kIdcPartnerList);
    if (!list || !m_pPlotItems || m_pPlotItems->empty()) return;
    list->ResetContent();
    for (const auto& item : *m_pPlotItems)
        if (item->m_nDomain == kPlotCurve) list->AddString(Format("%s  (%d)", item->m_strName.c_str(), int(item->m_nTrack)));
    list->SetCurSel(m_item.m_nShadeCurve < list->Count() ? m_item.m_nShadeCurve : -1);
}

void CLogItemSetupDlg::OnSelectInputFile()
{
    std::string path = m_item.m_strFilePath, title = m_item.m_strFileTitle, ext = m_item.m_strFileExt;
    if (!BrowseFile(Browse::Open, "Browse Input QTX File", kQtxFilter, path, title, ext)) return;
    if (!SelectItem(path, title, ext)) return;
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_item.m_strFilePath));
    UpdateControls();
}

bool CLogItemSetupDlg::SelectItem(const std::string& path, const std::string& title, const std::string& ext)
{
    CQtxFile file;
    DataSetDepths depths;
    if (!ReadDepths(file, path, depths)) return false;
    CQtxDatumList datums;
    if (!file.ReadDatumList(datums)) return false;
    file.CloseInput();

    const bool down = depths.direction == 0xFF;
    if (!down) std::swap(depths.top, depths.bottom);
    const char* unitText = depths.units == 0xFF ? " [m]" : " [ft]";

    CQtxFileDlg files;
    files.m_fileName = path;
    files.m_startDepth = Format("%12.4f", depths.top);
    files.m_stopDepth = Format("%12.4f", depths.bottom);
    files.m_depthStep = Format("%12.4f", depths.step);
    files.m_depthFrames = Format("%u", unsigned(depths.frames));
    files.m_depthUnits = unitText;
    files.m_datums = &datums;
    files.m_startTab = m_item.m_nDomain == kPlotCurve ? int(CQtxFileDlg::kTabTraces) : int(m_item.m_nDomain);
    if (files.DoModal() != IDOK) {
        files.ClearItems();
        return false;
    }
    CLogPlotItem item = m_item;
    const bool taken = TakeChosenDatum(files, item);
    files.ClearItems();
    if (!taken) return false;

    item.m_strFilePath = path;
    item.m_strFileTitle = title;
    item.m_strFileExt = ext;
    item.m_dDataTop = depths.top;
    item.m_dDataBottom = depths.bottom;
    item.m_dDepthStep = depths.step;
    item.m_nFrameCount = depths.frames;
    item.m_byLogDirection = depths.direction;
    item.m_dStartDepth = depths.top;
    item.m_dStopDepth = depths.bottom;
    m_item = std::move(item);
    m_strDirection = down ? "DOWN" : "UP";
    m_nDirection = down ? 1 : -1;
    m_byDepthUnits = depths.units;
    m_strDepthUnits = unitText;

    SetItemText(kIdcStartDepth, Format("%10.4f", m_item.m_dStartDepth));
    SetItemText(kIdcStopDepth, Format("%10.4f", m_item.m_dStopDepth));
    SetItemText(kIdcName, m_item.m_strName);
    SetItemText(kIdcUnitsName, m_item.m_strUnitsName);
    return true;
}

bool CLogItemSetupDlg::TakeChosenDatum(CQtxFileDlg& files, CLogPlotItem& item)
{
    // Curves first, then waveforms by domain: the order in which a choice is taken.
    using Tab = CQtxFileDlg::Tab;
    const std::pair<Tab, PlotDomain> tabs[] = {{CQtxFileDlg::kTabTraces, kPlotCurve},
                                               {CQtxFileDlg::kTabTime, kPlotTime},
                                               {CQtxFileDlg::kTabFrequency, kPlotFrequency},
                                               {CQtxFileDlg::kTabSlowness, kPlotSlowness},
                                               {CQtxFileDlg::kTabAzimuth, kPlotAzimuth}};
    size_t chosenCount = 0;
    std::pair<CQtxItem*, PlotDomain> chosen{nullptr, kPlotTime};
    for (const auto& [tab, domain] : tabs)
        for (CQtxItem* selected : files.SelectedItems(tab)) {
            if (!chosen.first) chosen = {selected, domain};
            ++chosenCount;
        }
    if (chosenCount == 0) {
        MessageBox("Encountered empty selection list!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return false;
    }
    if (chosenCount > 1) {
        MessageBox("Too many items have been selected!\nOperation will be abandoned.", MB_OK | MB_ICONSTOP);
        return false;
    }

    ClearNames(item);
    const CQtxItem& datum = *chosen.first;
    const PlotDomain domain = chosen.second;
    item.m_nDomain = domain;
    item.m_byItemType = datum.m_typeCode;
    item.m_strName = datum.m_mnemonic;
    item.m_strCurrentName = datum.m_mnemonic;
    item.m_bFrequencyImage = 0;
    item.m_bSlownessImage = 0;

    if (domain == kPlotCurve) return TakeCurve(files.Items(CQtxFileDlg::kTabTraces), chosen.first, item);
    TakeWaveform(datum, domain, item);
    return true;
}

void CLogItemSetupDlg::OnRestoreDepth()
{
    CQtxFile file;
    DataSetDepths depths;
    if (!ReadDepths(file, m_item.m_strFilePath, depths)) return;
    if (depths.bottom < depths.top) std::swap(depths.top, depths.bottom);
    m_item.m_dDataTop = depths.top;
    m_item.m_dDataBottom = depths.bottom;
    m_item.m_dDepthStep = depths.step;
    m_item.m_nFrameCount = depths.frames;
    SetItemText(kIdcStartDepth, Format("%10.4f", depths.top));
    SetItemText(kIdcStopDepth, Format("%10.4f", depths.bottom));
}

void CLogItemSetupDlg::OnNormalize()
{
    m_item.m_bNormalize = m_item.m_bNormalize ? 0 : 1;
    if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(m_item.m_bNormalize);
}

void CLogItemSetupDlg::OnShadeMode(int id)
{
    m_item.m_nShadeOff = id == kIdcShadeOff;
    m_item.m_nShadeMinLimit = id == kIdcShadeMinLimit;
    m_item.m_nShadeMaxLimit = id == kIdcShadeMaxLimit;
    m_item.m_nShadeCurveLimit = id == kIdcShadeCurveLimit;
    CheckRadio(id);
    UpdateControls();
}

void CLogItemSetupDlg::OnSelChangeNameList(int listId)
{
    const ControlState* list = Item(listId);
    if (!list) return;
    const int sel = list->CurSel();
    if (sel < 0 || sel >= std::min<int>(m_item.m_nNameCount, kPlotNameCount)) return;
    const size_t i = size_t(sel);
    m_item.m_nCurrentName = int16_t(sel);
    m_item.m_strCurrentName = m_item.m_strNames[i];
    m_item.m_byItemType = m_item.m_byItemTypes[i];
    SetItemText(kIdcName, m_item.m_strNames[i]);
    SetItemText(kIdcUnitsName, m_item.m_strUnits[i]);
}

void CLogItemSetupDlg::OnSelChangeWaveList() { OnSelChangeNameList(kIdcWaveList); }
void CLogItemSetupDlg::OnSelChangeCurveList() { OnSelChangeNameList(kIdcCurveList); }

void CLogItemSetupDlg::OnSelChangePartnerList()
{
    if (const ControlState* list = Item(kIdcPartnerList)) m_item.m_nShadeCurve = int16_t(list->CurSel());
}

void CLogItemSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpContextId); }
