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
#include <cmath>
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
    if (!OkOrShow(file.OpenRead(path))) return false;
    DataSetDepths d;
    d.top = file.GetTopDepth();
    d.bottom = file.GetBottomDepth();
    d.step = file.GetDepthStep();
    d.frames = file.GetFrameCount();
    if (d.top == -1.0 || d.bottom == -1.0 || d.step == -1.0 || d.frames == 0xFFFFFFFFu) return false;
    // Depths that are no numbers would reach the depth fields as "nan", which the dialog
    // then refuses without a word of the data set.
    if (!std::isfinite(d.top) || !std::isfinite(d.bottom) || !std::isfinite(d.step)) {
        MessageBox(Format("Data set %s cannot be shown against depth: its depth step or depths are not usable "
                          "numbers.",
                          path.c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    d.direction = file.Header().logDirection;
    d.units = file.Header().depthUnits;
    out = d;
    return true;
}

void ClearNames(CLogPlotItem& item)
{
    item.m_datum.names.fill(std::string());
    item.m_datum.units.fill(std::string());
    item.m_datum.itemTypes.fill(0);
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
    item.m_datum.nameCount = ClampCount(curves.size(), kPlotNameCount);
    for (size_t i = 0; i < size_t(item.m_datum.nameCount); ++i) {
        item.m_datum.names[i] = curves[i]->m_mnemonic;
        item.m_datum.units[i] = curves[i]->m_unitText;
        item.m_datum.itemTypes[i] = curves[i]->m_typeCode;
    }
    item.m_datum.current = int16_t(at);
    item.m_datum.sampleInterval = 1.0f;
    item.m_datum.sampleCount = 1;
    item.m_datum.unitsName = item.m_datum.units[at];
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
        item.m_scale.frequencyImage = InFamily(datum.m_typeCode, ItemFamily::InstFrequency) ? 1 : 0;
        item.m_scale.slownessImage = InFamily(datum.m_typeCode, ItemFamily::InstSlowness) ? 1 : 0;
        if (item.m_scale.slownessImage) item.m_datum.slownessUnit = time.m_unit;
    } else {
        const auto& other = static_cast<const CQtxFrequencyItem&>(datum);
        step = other.m_step;
        samples = other.m_sampleCount;
        traces = other.m_traceCount;
    }
    item.m_datum.sampleInterval = step;
    item.m_datum.sampleCount = ClampCount(samples, size_t(std::numeric_limits<int16_t>::max()));
    item.m_datum.nameCount = ClampCount(traces, kPlotNameCount);
    item.m_datum.current = 0;
    const std::string unit = domain == kPlotTime        ? "[uSec]"
                             : domain == kPlotFrequency ? "[Hz]"
                             : domain == kPlotAzimuth   ? "[deg]"
                                                        : datum.m_unitText;
    const std::vector<std::string> labels = PlotReceiverLabels(datum.m_typeCode);
    for (size_t i = 0; i < size_t(item.m_datum.nameCount); ++i) {
        if (i < labels.size()) item.m_datum.names[i] = labels[i];
        item.m_datum.units[i] = unit;
        item.m_datum.itemTypes[i] = datum.m_typeCode;
    }
    item.m_datum.unitsName = item.m_datum.nameCount > 0 ? unit : std::string();
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
    px::DepthRange(dx, kIdcStartDepth, kIdcStopDepth, it.m_scale.startDepth, it.m_scale.stopDepth, nullptr);
    px::Shift(dx, kIdcShift, it.m_scale.depthShift, nullptr);
    dx.ComboString(kIdcDomain, it.m_datum.domainName);
    px::Choice<WaveStyle>(dx, kIdcWaveStyle, kWaveStyleLines, it.m_style.waveStyle);
    px::Choice<Palette>(dx, kIdcPalette, kPaletteLines, it.m_style.palette);
    // Stored texts are at most 255 characters long.
    dx.Text(kIdcName, it.m_strName);
    dx.MaxChars(it.m_strName, 255);
    dx.Text(kIdcUnitsName, it.m_datum.unitsName);
    dx.MaxChars(it.m_datum.unitsName, 255);
    px::Limit(dx, kIdcLeftLimit, it.m_scale.leftLimit, kMaxLimit, true, nullptr);
    px::Limit(dx, kIdcRightLimit, it.m_scale.rightLimit, kMaxLimit, false, nullptr);
    px::Bounded(dx, kIdcFreqMin, it.m_scale.freqMin, 0.0f, kMaxFrequency,
                "You entered an minimum frequency!.\nValid range : %.1f - %.1f Hz");
    px::Bounded(dx, kIdcFreqMax, it.m_scale.freqMax, 0.0f, kMaxFrequency,
                "You entered an maximum frequency!.\nValid range : %.1f - %.1f Hz");
    px::Bounded(dx, kIdcSlowMin, it.m_scale.slowMin, kMinSlowness, kMaxSlowness,
                "You entered an minimum slowness!.\nValid range : %.1f - %.1f uSec/ft");
    px::Bounded(dx, kIdcSlowMax, it.m_scale.slowMax, kMinSlowness, kMaxSlowness,
                "You entered an maximum slowness!.\nValid range : %.1f - %.1f uSec/ft");
    px::Track(dx, kIdcTrack, it.m_scale.track);
    px::Choice<LineStyle>(dx, kIdcLineStyle, kLineStyleLines, it.m_style.lineStyle);
    px::Choice<LineWidth>(dx, kIdcLineWidth, kLineWidthLines, it.m_style.lineWidth);
    px::Choice<NamedColour>(dx, kIdcColor, kColourLines, it.m_style.color);
    px::Choice<NamedColour>(dx, kIdcShadeColor, kColourLines, it.m_shade.color);
    px::Choice<ShadePattern>(dx, kIdcShadePattern, kShadePatternLines, it.m_shade.pattern);
    px::Limit(dx, kIdcShadeMin, it.m_shade.min, kMaxShadeLimit, true, nullptr);
    px::Limit(dx, kIdcShadeMax, it.m_shade.max, kMaxShadeLimit, false, nullptr);
    // The check box and the radios show the values; only their handlers change them.
    if (dx.Saving() || dx.Failed()) return;
    if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(it.m_scale.normalize ? 1 : 0);
    const std::pair<int, int16_t> modes[] = {{kIdcShadeOff, it.m_shade.off},
                                             {kIdcShadeMinLimit, it.m_shade.minLimit},
                                             {kIdcShadeMaxLimit, it.m_shade.maxLimit},
                                             {kIdcShadeCurveLimit, it.m_shade.curveLimit}};
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
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_item.m_file.path));
    UpdateControls();
    return true;
}

void CLogItemSetupDlg::UpdateControls()
{
    const CLogPlotItem& it = m_item;
    const uint16_t code = it.m_datum.domain;
    if (ControlState* domain = Item(kIdcDomain))
        domain->SetCurSel(code >= kPlotTime && code <= kPlotAzimuth ? code - 1 : -1);

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
    if (it.m_datum.domain == kPlotCurve) {
        enable({kIdcCurveList, kIdcLineStyle, kIdcLineStyleLabel, kIdcLineWidth, kIdcLineWidthLabel, kIdcColor,
                kIdcColorLabel});
        if (!it.m_shade.off) {
            enable({kIdcShadeColor, kIdcShadeColorLabel, kIdcShadePattern, kIdcShadePatternLabel});
            if (it.m_shade.minLimit) enable({kIdcShadeMin, kIdcShadeMinLabel});
            else if (it.m_shade.maxLimit) enable({kIdcShadeMax, kIdcShadeMaxLabel});
            else if (it.m_shade.curveLimit) enable({kIdcPartnerList, kIdcPartnerLabel});
        }
    } else {
        enable({kIdcWaveList, kIdcWaveStyle, kIdcWaveStyleLabel, kIdcPalette, kIdcPaletteLabel});
        if (it.m_datum.domain == kPlotSlowness) enable({kIdcNormalize});
        if (it.m_datum.domain == kPlotTime && it.m_scale.frequencyImage)
            enable({kIdcFreqMin, kIdcFreqMinLabel, kIdcFreqMax, kIdcFreqMaxLabel});
        if (it.m_datum.domain == kPlotTime && it.m_scale.slownessImage)
            enable({kIdcSlowMin, kIdcSlowMinLabel, kIdcSlowMax, kIdcSlowMaxLabel});
    }

    if (!it.m_file.path.empty()) FillNameList(it.m_datum.domain == kPlotCurve ? kIdcCurveList : kIdcWaveList);
    if (it.m_datum.domain == kPlotCurve && it.m_shade.curveLimit) FillPartnerList();
}

void CLogItemSetupDlg::FillNameList(int listId)
{
    ControlState* list = Item(listId);
    if (!list) return;
    list->ResetContent();
    const int count = std::clamp<int>(m_item.m_datum.nameCount, 0, kPlotNameCount);
    for (int i = 0; i < count; ++i) list->AddString(m_item.m_datum.names[size_t(i)]);
    for (int i = 0; i < count; ++i)
        if (m_item.m_datum.names[size_t(i)] == m_item.m_datum.currentName) {
            list->SetCurSel(i);
            m_item.m_datum.current = int16_t(i);
            break;
        }
}

void CLogItemSetupDlg::FillPartnerList()
{
    ControlState* list = Item(kIdcPartnerList);
    if (!list || !m_pPlotItems || m_pPlotItems->empty()) return;
    list->ResetContent();
    for (const auto& item : *m_pPlotItems)
        if (item->m_datum.domain == kPlotCurve) list->AddString(Format("%s  (%d)", item->m_strName.c_str(), int(item->m_scale.track)));
    list->SetCurSel(m_item.m_shade.curve < list->Count() ? m_item.m_shade.curve : -1);
}

void CLogItemSetupDlg::OnSelectInputFile()
{
    std::string path = m_item.m_file.path, title = m_item.m_file.title, ext = m_item.m_file.ext;
    if (!BrowseFile(Browse::Open, "Browse Input QTX File", kQtxFilter, path, title, ext)) return;
    if (!SelectItem(path, title, ext)) return;
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_item.m_file.path));
    UpdateControls();
}

bool CLogItemSetupDlg::SelectItem(const std::string& path, const std::string& title, const std::string& ext)
{
    CQtxFile file;
    DataSetDepths depths;
    if (!ReadDepths(file, path, depths)) return false;
    CQtxDatumList datums;
    if (!OkOrShow(file.ReadDatumList(datums))) return false;
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
    files.m_startTab = m_item.m_datum.domain == kPlotCurve ? int(CQtxFileDlg::kTabTraces) : int(m_item.m_datum.domain);
    if (files.DoModal() != IDOK) {
        files.ClearItems();
        return false;
    }
    CLogPlotItem item = m_item;
    const bool taken = TakeChosenDatum(files, item);
    files.ClearItems();
    if (!taken) return false;

    item.m_file.path = path;
    item.m_file.title = title;
    item.m_file.ext = ext;
    item.m_file.dataTop = depths.top;
    item.m_file.dataBottom = depths.bottom;
    item.m_file.depthStep = depths.step;
    item.m_file.frameCount = depths.frames;
    item.m_file.logDirection = depths.direction;
    item.m_scale.startDepth = depths.top;
    item.m_scale.stopDepth = depths.bottom;
    m_item = std::move(item);
    m_strDirection = down ? "DOWN" : "UP";
    m_nDirection = down ? 1 : -1;
    m_byDepthUnits = depths.units;
    m_strDepthUnits = unitText;

    SetItemNumber(kIdcStartDepth, m_item.m_scale.startDepth, "%10.4f");
    SetItemNumber(kIdcStopDepth, m_item.m_scale.stopDepth, "%10.4f");
    SetItemText(kIdcName, m_item.m_strName);
    SetItemText(kIdcUnitsName, m_item.m_datum.unitsName);
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
    item.m_datum.domain = domain;
    item.m_datum.itemType = datum.m_typeCode;
    item.m_strName = datum.m_mnemonic;
    item.m_datum.currentName = datum.m_mnemonic;
    item.m_scale.frequencyImage = 0;
    item.m_scale.slownessImage = 0;

    if (domain == kPlotCurve) return TakeCurve(files.Items(CQtxFileDlg::kTabTraces), chosen.first, item);
    TakeWaveform(datum, domain, item);
    return true;
}

void CLogItemSetupDlg::OnRestoreDepth()
{
    CQtxFile file;
    DataSetDepths depths;
    if (!ReadDepths(file, m_item.m_file.path, depths)) return;
    if (depths.bottom < depths.top) std::swap(depths.top, depths.bottom);
    m_item.m_file.dataTop = depths.top;
    m_item.m_file.dataBottom = depths.bottom;
    m_item.m_file.depthStep = depths.step;
    m_item.m_file.frameCount = depths.frames;
    SetItemNumber(kIdcStartDepth, depths.top, "%10.4f");
    SetItemNumber(kIdcStopDepth, depths.bottom, "%10.4f");
}

void CLogItemSetupDlg::OnNormalize()
{
    m_item.m_scale.normalize = m_item.m_scale.normalize ? 0 : 1;
    if (ControlState* box = Item(kIdcNormalize)) box->SetCheck(m_item.m_scale.normalize);
}

void CLogItemSetupDlg::OnShadeMode(int id)
{
    m_item.m_shade.off = id == kIdcShadeOff;
    m_item.m_shade.minLimit = id == kIdcShadeMinLimit;
    m_item.m_shade.maxLimit = id == kIdcShadeMaxLimit;
    m_item.m_shade.curveLimit = id == kIdcShadeCurveLimit;
    CheckRadio(id);
    UpdateControls();
}

void CLogItemSetupDlg::OnSelChangeNameList(int listId)
{
    const ControlState* list = Item(listId);
    if (!list) return;
    const int sel = list->CurSel();
    if (sel < 0 || sel >= std::min<int>(m_item.m_datum.nameCount, kPlotNameCount)) return;
    const size_t i = size_t(sel);
    m_item.m_datum.current = int16_t(sel);
    m_item.m_datum.currentName = m_item.m_datum.names[i];
    m_item.m_datum.itemType = m_item.m_datum.itemTypes[i];
    SetItemText(kIdcName, m_item.m_datum.names[i]);
    SetItemText(kIdcUnitsName, m_item.m_datum.units[i]);
}

void CLogItemSetupDlg::OnSelChangeWaveList() { OnSelChangeNameList(kIdcWaveList); }
void CLogItemSetupDlg::OnSelChangeCurveList() { OnSelChangeNameList(kIdcCurveList); }

void CLogItemSetupDlg::OnSelChangePartnerList()
{
    if (const ControlState* list = Item(kIdcPartnerList)) m_item.m_shade.curve = int16_t(list->CurSel());
}

void CLogItemSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpContextId); }
