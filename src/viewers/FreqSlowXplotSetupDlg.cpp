#include "viewers/FreqSlowXplotSetupDlg.h"

#include "settings/SettingsStore.h"
#include "settings/XPlotSetupGroup.h"
#include "common/BrowseFile.h"
#include "common/PathLabel.h"
#include "common/DomainRangeChecks.h"
#include "common/RangeCheck.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "res/XPlotSetupDlgIds.h"

#include <utility>

namespace {

using enum xplot_setup::Control;

constexpr const char* kInputFileLabel = "Input File : ";
constexpr uint32_t kHelpXPlotSetup = 5;

constexpr RangeFields kDepths{kIdcTopDepth, kIdcBottomDepth, "start depth", "stop depth", "ft", -10.0, 50000.0};
constexpr RangeFields kFrequency{kIdcFreqMin, kIdcFreqMax, "start frequency", "stop frequency", "Hz", 0.0, 30000.0};
constexpr RangeFields kSlowness = SlownessRangeFields<xplot_setup::Control>();

} // namespace

CFreqSlowXplotSetupDlg::CFreqSlowXplotSetupDlg() : CViewerSetupDlg(kIddXPlotSetup, kHelpXPlotSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcDatums, Notify::SelChange, [this] { OnSelchangeDatums(); });
    On(kIdcRun, Notify::Clicked, [this] { OnRun(); });
}

void CFreqSlowXplotSetupDlg::DoDataExchange(DataExchange& dx)
{
    ExchangeRange(dx, kDepths, m_setup.topDepth, m_setup.bottomDepth);
    ExchangeRange(dx, kFrequency, m_setup.freqMin, m_setup.freqMax);
    ExchangeRange(dx, kSlowness, m_setup.slowMin, m_setup.slowMax);
}

bool CFreqSlowXplotSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));
    EnableItem(kIdcDatums, false);
    if (!m_setup.path.empty()) {
        // Reopened: the list is the file's again, with nothing selected.
        EnableItem(kIdcDatums, true);
        LoadDatumList(m_setup.path);
        m_currentIndex = 0xFFFF;
    }
    SetItemText(kIdcSlownessGroup, SlownessRangeTitle(m_setup.slownessUnit));
    CenterWindow();
    return true;
}

int CFreqSlowXplotSetupDlg::LoadDatumList(const std::string& path)
{
    CQtxFile file;
    if (!OkOrShow(file.OpenRead(path))) return 0;
    double start = file.GetTopDepth(), stop = file.GetBottomDepth();
    if (start == -1.0 || stop == -1.0) return 0;
    CQtxDatumList datums;
    if (!OkOrShow(file.ReadDatumList(datums))) return 0;
    file.CloseInput();
    // The flags are kept by position in the file's datum list.
    if (datums.size() > size_t(kXPlotFlagCount)) {
        MessageBox(Format("Data set %s holds %d datums; at most %d can be listed.\nOperation will be abandoned.",
                          path.c_str(), int(datums.size()), kXPlotFlagCount),
                   MB_OK | MB_ICONSTOP);
        return 0;
    }

    ControlState* list = Item(kIdcDatums);
    if (list) list->ResetContent();
    m_lineDatum.clear();
    for (size_t k = 0; k < datums.size(); ++k) {
        if (datums[k]->m_category != kCategoryWaveform) continue;
        if (list) list->AddString(datums[k]->m_mnemonic);
        m_lineDatum.push_back(int(k));
    }
    m_datumCount = int(datums.size());

    if (stop < start) std::swap(start, stop);
    m_setup.topDepth = start;
    m_setup.bottomDepth = stop;
    // The formats of the data exchange: a field never shows one value two ways.
    SetItemNumber(kIdcTopDepth, start);
    SetItemNumber(kIdcBottomDepth, stop);
    return 1;
}

void CFreqSlowXplotSetupDlg::OnSelectInputFile()
{
    std::string path = m_setup.path, title = m_setup.title, ext;
    if (!BrowseFile(Browse::Open, "Select Input Phase Processed File", kQtxFilter, path, title, ext)) return;
    m_setup.path = std::move(path);
    m_setup.title = std::move(title);
    m_setup.ext = std::move(ext);
    if (!LoadDatumList(m_setup.path)) return;
    m_currentIndex = 0xFFFF;
    SetItemText(kIdcInputFile, ShortenPathLabel(kInputFileLabel, m_setup.path));
    EnableItem(kIdcDatums, true);
}

void CFreqSlowXplotSetupDlg::OnSelchangeDatums()
{
    // Only where the caret is: which lines are selected is read from the list at the
    // end, since one change may select or clear many lines at once.
    if (const ControlState* list = Item(kIdcDatums)) m_currentIndex = uint16_t(list->CaretIndex());
}

void CFreqSlowXplotSetupDlg::Finish(int code)
{
    if (!UpdateData(true)) return;
    XPlotDatumFlags flags;
    flags.datumCount = uint32_t(m_datumCount);
    const ControlState* list = Item(kIdcDatums);
    for (size_t line = 0; line < m_lineDatum.size(); ++line) {
        const size_t k = size_t(m_lineDatum[line]);
        flags.listed[k] = 1;
        flags.selected[k] = list && list->IsSelected(int(line)) ? 1 : 0;
    }
    m_setup.datums = flags;
    EndDialog(code);
}

void CFreqSlowXplotSetupDlg::OnRun() { Finish(kRun); }

void CFreqSlowXplotSetupDlg::OnSaveSetup() { Finish(kSavedSetup); }
