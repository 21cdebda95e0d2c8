#include "processing/SmoothingSetupDlg.h"

#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/RangeCheck.h"
#include "common/SetupSteps.h"
#include "dataset/QtxLayout.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "processing/DepthProfileSetupDlg.h"
#include "processing/SetupFiles.h"
#include "res/SmoothingSetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/ProcessingSetupGroups.h"

namespace {

using enum smoothing_setup::Control;
using smoothing_setup::kPresetIds;
using smoothing_setup::kWeightIds;

constexpr const char* kInputLabel = "Input File : ";
constexpr const char* kOutputLabel = "Output File : ";
constexpr uint32_t kHelpSmoothingSetup = 13;
constexpr FieldLimits kWeight{"weight", 0.0, 10.0, ""};

} // namespace

const std::array<const char*, 7>& CSmoothingSetupDlg::PresetWeights(Preset preset)
{
    static const std::array<const char*, 7> weights[] = {
        {"0.05", "0.15", "0.45", "1.50", "0.45", "0.15", "0.05"},
        {"0.10", "0.25", "0.60", "1.50", "0.60", "0.25", "0.10"},
        {"0.25", "0.50", "1.00", "1.50", "1.00", "0.50", "0.25"},
        {"0.15", "0.35", "0.75", "1.50", "0.75", "0.35", "0.15"},
    };
    return weights[preset];
}

std::string CSmoothingSetupDlg::OutputName(const std::string& title) { return title + "~.qtx"; }

bool CSmoothingSetupDlg::Smoothable(uint8_t category)
{
    return category == kCategoryWaveform || category == kCategorySlowness || category == kCategoryAzimuth
        || category == kCategoryTrace;
}

CSmoothingSetupDlg::CSmoothingSetupDlg() : CSetupDlg(kIddSmoothingSetup)
{
    On(kIdcSelectInputFile, Notify::Clicked, [this] { OnSelectInputFile(); });
    On(kIdcSelectOutputFile, Notify::Clicked, [this] { OnSelectOutputFile(); });
    for (int p = kShort; p <= kUser; ++p)
        On(kPresetIds[p], Notify::Clicked, [this, p] { OnPreset(Preset(p)); });
    On(kIdcUnsharpMask, Notify::Clicked, [this] { OnUnsharpMask(); });
    On(kIdcItems, Notify::SelChange, [this] { OnSelChangeItems(); });
    On(kIdcRun, Notify::Clicked, [this] { OnRun(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
}

void CSmoothingSetupDlg::DoDataExchange(DataExchange& dx)
{
    dx.OneHot({{kIdcShort, &m_setup.shortFn}, {kIdcMedium, &m_setup.mediumFn}, {kIdcLong, &m_setup.longFn},
               {kIdcUser, &m_setup.userFn}});
    dx.OneHot({{kIdcUnsharpMask, &m_setup.unsharpMask}});
    for (size_t i = 0; i < 7; ++i) {
        dx.Text(kWeightIds[i], m_setup.weights[i]);
        CheckLimits(dx, kWeightIds[i], m_setup.weights[i], kWeight);
    }
}

bool CSmoothingSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(kIdcInputFile, ShortenPath(kInputLabel, m_setup.inputPath));
    SetItemText(kIdcOutputFile, ShortenPath(kOutputLabel, m_setup.outputPath));
    if (ControlState* slider = Item(kIdcSharpness)) {
        slider->SetRange(-10, 10);
        slider->SetPos(0);
    }
    // The stored function again; a user's weights as they were, a preset's as it has them.
    const std::array<float, 7> weights = m_setup.weights;
    const Preset preset = m_setup.userFn ? kUser : m_setup.longFn ? kLong : m_setup.mediumFn ? kMedium : kShort;
    OnPreset(preset);
    if (preset == kUser && weights != std::array<float, 7>{})
        for (size_t i = 0; i < 7; ++i) SetItemNumber(kWeightIds[i], weights[i], "%.2f");
    CenterWindow();
    return true;
}

void CSmoothingSetupDlg::OnPreset(Preset preset)
{
    uint16_t* flags[] = {&m_setup.shortFn, &m_setup.mediumFn, &m_setup.longFn, &m_setup.userFn};
    for (int p = kShort; p <= kUser; ++p) {
        *flags[p] = p == preset ? 1 : 0;
        if (ControlState* box = Item(kPresetIds[p])) box->SetCheck(*flags[p]);
    }
    const auto& texts = PresetWeights(preset);
    for (size_t i = 0; i < 7; ++i) {
        SetItemText(kWeightIds[i], texts[i]);
        if (ControlState* edit = Item(kWeightIds[i])) edit->SetReadOnly(preset != kUser);
    }
}

void CSmoothingSetupDlg::OnUnsharpMask()
{
    m_setup.unsharpMask = m_setup.unsharpMask ? 0 : 1;
    if (ControlState* box = Item(kIdcUnsharpMask)) box->SetCheck(m_setup.unsharpMask);
}

void CSmoothingSetupDlg::OnSelChangeItems()
{
    const ControlState* list = Item(kIdcItems);
    if (!list) return;
    // The list's rows are the listed datums in order. Each listed datum takes its row's
    // state, so a range selected at once is followed as well as a single click.
    const int count = std::min(m_setup.datumCount, kSmoothingFlagCount);
    int row = 0;
    for (int d = 0; d < count; ++d) {
        if (!m_setup.listed[size_t(d)]) continue;
        m_setup.selected[size_t(d)] = list->IsSelected(row++) ? 1 : 0;
    }
}

bool CSmoothingSetupDlg::ListItems(const CQtxDatumList& datums)
{
    ControlState* list = Item(kIdcItems);
    if (list) list->ResetContent();
    m_setup.listed.fill(0);
    m_setup.selected.fill(0);
    m_setup.datumCount = 0;
    if (datums.size() > size_t(kSmoothingFlagCount)) {
        MessageBox(Format("The input has %zu data items; a smoothing run takes at most %d.", datums.size(),
                          kSmoothingFlagCount),
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    for (size_t d = 0; d < datums.size(); ++d) {
        if (!Smoothable(datums[d]->m_category)) continue;
        if (list) list->AddString(datums[d]->m_mnemonic);
        m_setup.listed[d] = 1;
    }
    m_setup.datumCount = int32_t(datums.size());
    return true;
}

int CSmoothingSetupDlg::OnSelectInputFile()
{
    if (!ChooseQtxInput(*this, kIdcInputFile, InputFileOf(m_setup), kWidePathLabel, kInputLabel, "Select Input File"))
        return 0;

    int read = 0;
    CQtxFile file;
    CQtxDatumList datums;
    if (OkOrShow(file.OpenRead(m_setup.inputPath))
        && ReadDepthsAndDatums(file, m_setup.topDepth, m_setup.bottomDepth, datums, false))
        read = ListItems(datums) ? 1 : 0;

    // The output is proposed whatever the read gave.
    m_setup.outputName = OutputName(m_setup.inputTitle);
    m_setup.outputPath = CDepthProfileSetupDlg::OutputFolder(m_setup.inputPath, m_setup.inputName) + m_setup.outputName;
    m_setup.outputExt = ".qtx";
    SetItemText(kIdcOutputFile, ShortenPath(kOutputLabel, m_setup.outputPath));
    EnableItem(kIdcItems, true);
    return read;
}

int CSmoothingSetupDlg::OnSelectOutputFile()
{
    return ChooseOutputFile(*this, kIdcOutputFile, "Select Output File", kOutputLabel,
                            {m_setup.outputPath, m_setup.outputName, m_setup.outputExt});
}

void CSmoothingSetupDlg::End(int code)
{
    if (UpdateData(true)) EndDialog(code);
}

void CSmoothingSetupDlg::OnRun()
{
    if (m_setup.inputPath.empty()) {
        MessageBox("Select the input QTX file to smooth first.", MB_OK | MB_ICONEXCLAMATION);
        SetFocus(kIdcSelectInputFile);
        return;
    }
    End(kRun);
}

void CSmoothingSetupDlg::OnSaveSetup() { End(kSavedSetup); }

void CSmoothingSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpSmoothingSetup); }
