#include "toolbox/UtilitiesSetupDlg.h"

#include "settings/SettingsStore.h"
#include "settings/UtilitiesSetupGroup.h"
#include "common/BrowseFile.h"
#include "common/Help.h"
#include "common/PathLabel.h"
#include "common/RangeCheck.h"
#include "common/SetupSteps.h"
#include "dataset/QtxFile.h"
#include "platform/Format.h"
#include "platform/BinaryFile.h"
#include "platform/Host.h"
#include "platform/Path.h"
#include "platform/Status.h"
#include "res/UtilitiesSetupDlgIds.h"
#include "toolbox/LasDoc.h"
#include "toolbox/SegyFile.h"
#include "toolbox/TextImport.h"
#include "toolbox/ToolTasks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

using Dlg = CUtilitiesSetupDlg;
using enum utilities_setup::Control;

constexpr RangeFields kPrimaryDepths{kIdcPrimaryStart, kIdcPrimaryStop, "start depth", "stop depth", "ft", -1000.0,
                                     50000.0};
constexpr RangeFields kSecondaryDepths{kIdcSecondaryStart, kIdcSecondaryStop, "start depth", "stop depth", "ft",
                                       -1000.0, 50000.0};
constexpr FieldLimits kSpliceDepth{"splice depth", -1000.0, 50000.0, "ft"};
constexpr FieldLimits kDecimate{"decimate factor", 1.0, 10.0, ""};
constexpr float kMinFactor = -5000.0f;
constexpr float kMaxFactor = 5000.0f;

constexpr Dlg::InputControls kPrimaryControls{kIdcPrimaryList, kIdcPrimaryStart, kIdcPrimaryStop, kIdcPrimaryFile,
                                              "Primary File : "};
constexpr Dlg::InputControls kSecondaryControls{kIdcSecondaryList, kIdcSecondaryStart, kIdcSecondaryStop,
                                                kIdcSecondaryFile, "Secondary File : "};
constexpr Dlg::InputControls kDensityControls{kIdcDensityList, kIdcDensityStart, kIdcDensityStop, kIdcDensityFile,
                                              "Density File : "};
constexpr const char* kOutputLabel = "Output File : ";
// The density label reads differently until a density file is chosen.
constexpr const char* kDensityOpeningLabel = "Density Profile : ";
constexpr char kReadingHeader[] = "Error reading header in file :\n";

// The row of the dialog's task; nullptr while it holds none.
const ToolTaskRow* TaskRow(int task) { return FindToolTask(ToolTask(task)); }

// A primary that is no data set has nothing to list.
bool ListsNothing(int task)
{
    const ToolTaskRow* row = TaskRow(task);
    return row && row->primary != ToolFile::Qtx;
}
// The kind of file a task takes as its primary input.
ToolFile PrimaryKind(int task)
{
    const ToolTaskRow* row = TaskRow(task);
    return row ? row->primary : ToolFile::Qtx;
}
ToolFile OutputKind(int task)
{
    const ToolTaskRow* row = TaskRow(task);
    return row ? row->output : ToolFile::Qtx;
}

// Zero-separated filters: the literal's own terminator is the list's second zero.
template <size_t N> std::string Filter(const char (&text)[N]) { return std::string(text, N); }
const std::string& FilterOf(ToolFile kind)
{
    static const std::string las = Filter("Las Data (*.las)\0*.las\0All Files (*.*)\0*.*\0");
    static const std::string txt = Filter("Txt Data (*.txt)\0*.txt\0All Files (*.*)\0*.*\0");
    static const std::string segy = Filter("Segy Data (*.segy)\0*.segy\0All Files (*.*)\0*.*\0");
    static const std::string qtx = Filter("Qtx Data (*.qtx)\0*.qtx\0All Files (*.*)\0*.*\0");
    switch (kind) {
    case ToolFile::Las: return las;
    case ToolFile::Text: return txt;
    case ToolFile::Segy: return segy;
    case ToolFile::Qtx: break;
    }
    return qtx;
}
// An output's default extension, and the end that replaces the primary's extension.
const char* OutputExtension(ToolFile kind)
{
    return kind == ToolFile::Las ? "las" : kind == ToolFile::Segy ? "segy" : "qtx";
}
const char* OutputSuffix(ToolFile kind)
{
    return kind == ToolFile::Las ? ".las" : kind == ToolFile::Segy ? ".segy" : "_Task.qtx";
}

// Datums the input's flags hold: the count of the last listing, within the arrays.
size_t ListedCount(const ToolInputSelection& in)
{
    return size_t(std::clamp<int32_t>(in.itemCount, 0, kToolBoxFlagCount));
}

} // namespace

// What a data set shows in the dialog: its depths and its datums.
struct CUtilitiesSetupDlg::Listing {
    double top = 0.0, bottom = 0.0;
    std::vector<std::pair<std::string, uint8_t>> datums; // mnemonic and category, in file order
};

namespace {

// The data set's listing, or why it has none: it is no data set by its own header (a
// reader of data sets would take any file of a header's length), does not read as one, or
// holds more datums than the lists' flags.
Status ReadListing(const std::string& path, CUtilitiesSetupDlg::Listing& listing)
{
    BinaryFile raw;
    if (Status opened = OpenInputFile(raw, path, {qtx::kHeaderSize}); !opened) return opened;
    if (!CQtxFile::HoldsDataSet(raw)) return Status::Failure(kReadingHeader + path + "\nThe file is no QTX data set.");
    raw.Close();
    CQtxFile file;
    if (Status opened = file.OpenRead(path); !opened) return opened;
    // The header's own depths: -1.0 is a depth like any other once the file is open.
    listing.top = file.GetTopDepth();
    listing.bottom = file.GetBottomDepth();
    CQtxDatumList datums;
    if (Status read = file.ReadDatumList(datums); !read) return read;
    file.CloseInput();
    if (datums.size() > size_t(kToolBoxFlagCount))
        return Status::Failure(Format("Encountered more than %d data items in file :\n%s\nOperation will be abandoned.",
                                      kToolBoxFlagCount, path.c_str()));
    listing.datums.clear();
    for (const auto& datum : datums) listing.datums.emplace_back(datum->m_mnemonic, datum->m_category);
    return {};
}

// Whether the file reads as the kind of input it is to be, by the header reader of the
// task that reads it; the failure carries that reader's refusal. Shows nothing.
Status ReadsAs(ToolFile kind, const std::string& path, CUtilitiesSetupDlg::Listing& listing)
{
    if (kind == ToolFile::Qtx) return ReadListing(path, listing);
    // The other readers would refuse a data set for what its bytes look like to them
    // ("UTF-16 text"): it is named for what it is.
    if (BinaryFile raw; OpenInputFile(raw, path) && CQtxFile::HoldsDataSet(raw)) {
        const char* wanted = kind == ToolFile::Las    ? "a LAS file"
                             : kind == ToolFile::Text ? "a text table"
                                                      : "a SEG-Y file";
        return Status::Failure(Format("%s%s\nThe file is a QTX data set, not %s.", kReadingHeader, path.c_str(), wanted));
    }
    QuietMessages quiet;
    int read = 0;
    if (kind == ToolFile::Segy) {
        CSegyFile file;
        std::array<uint8_t, segy::kFileHeaderSize> header{};
        read = file.OpenInput(header, path);
        file.CloseInput();
    } else {
        CLasDoc doc;
        TextTable table;
        table.columns = kind == ToolFile::Las ? DataColumns::Blanks : DataColumns::Tens;
        read = kind == ToolFile::Las ? ReadLasHeader(doc, path, table) : ReadTxtHeader(doc, path, table);
    }
    if (read) return {};
    return Status::Failure(quiet.Texts().empty() ? kReadingHeader + path : quiet.Texts().front());
}

} // namespace

const std::vector<std::string>& UtilitiesSetupTaskEntries()
{
    static const std::vector<std::string> entries = [] {
        std::vector<std::string> names;
        for (const ToolTaskRow& row : ToolTaskTable())
            if (row.inTaskBox) names.emplace_back(row.name);
        return names;
    }();
    return entries;
}

CUtilitiesSetupDlg::CUtilitiesSetupDlg() : CSetupDlg(kIddUtilitiesSetup)
{
    On(kIdcSelectPrimary, Notify::Clicked, [this] { OnSelectPrimary(); });
    On(kIdcSelectSecondary, Notify::Clicked, [this] { OnSelectSecondary(); });
    On(kIdcSelectDensity, Notify::Clicked, [this] { OnSelectDensity(); });
    On(kIdcSelectOutput, Notify::Clicked, [this] { OnSelectOutput(); });
    On(kIdcRun, Notify::Clicked, [this] { OnRun(); });
    On(kIdcSaveSetup, Notify::Clicked, [this] { OnSaveSetup(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
    On(kIdcTask, Notify::SelChange, [this] { OnSelChangeTask(); });
    On(kIdcPrimaryList, Notify::SelChange, [this] { OnSelChangePrimaryList(); });
    On(kIdcSecondaryList, Notify::SelChange, [this] { OnSelChangeSecondaryList(); });
    On(kIdcDensityList, Notify::SelChange, [this] { OnSelChangeDensityList(); });
}

int16_t CUtilitiesSetupDlg::TaskIndex(const std::string& entry) { return int16_t(ToolTaskCode(entry)); }

void CUtilitiesSetupDlg::DoDataExchange(DataExchange& dx)
{
    ExchangeRange(dx, kPrimaryDepths, m_setup.primary.startDepth, m_setup.primary.stopDepth);
    ExchangeRange(dx, kSecondaryDepths, m_setup.secondary.startDepth, m_setup.secondary.stopDepth);

    dx.Text(kIdcSplice, m_setup.spliceDepth);
    CheckLimits(dx, kIdcSplice, m_setup.spliceDepth, kSpliceDepth);

    dx.Text(kIdcFactor, m_setup.factor);
    dx.MinMax(m_setup.factor, kMinFactor, kMaxFactor);

    dx.Text(kIdcStartSample, m_setup.startSample);
    dx.Text(kIdcStopSample, m_setup.stopSample);
    if (dx.Saving() && !dx.Failed() && m_setup.stopSample < m_setup.startSample)
        dx.Fail(kIdcStartSample, "You entered an invalid start sample!", MB_ICONEXCLAMATION);

    dx.Text(kIdcDecimate, m_setup.decimation);
    CheckLimits(dx, kIdcDecimate, m_setup.decimation, kDecimate);

    dx.ComboString(kIdcTask, m_setup.taskName);
}

bool CUtilitiesSetupDlg::OnInitDialog()
{
    m_nTask = int16_t(m_setup.taskCode);
    // The box's entries must be there before the exchange selects the stored task.
    if (ControlState* box = Item(kIdcTask)) {
        box->ResetContent();
        for (const auto& entry : UtilitiesSetupTaskEntries()) box->AddString(entry);
    }
    CDialog::OnInitDialog();
    // The box lists tasks only, so it shows the stored task's entry when its name is none.
    if (ControlState* box = Item(kIdcTask); box && box->CurSel() < 0)
        if (const ToolTaskRow* row = TaskRow(m_nTask); row && row->inTaskBox) box->SelectString(-1, row->name);

    SetItemText(kIdcPrimaryFile, ShortenPathLabel(kPrimaryControls.labelText, m_setup.primary.path));
    SetItemText(kIdcSecondaryFile, ShortenPathLabel(kSecondaryControls.labelText, m_setup.secondary.path));
    SetItemText(kIdcDensityFile, ShortenPathLabel(kDensityOpeningLabel, m_setup.density.path));
    SetItemText(kIdcOutputFile, ShortenPathLabel(kOutputLabel, m_setup.outputPath));
    ApplyFieldRules();
    // A stored input that does not read as what the task takes (a file of another kind,
    // one gone or damaged since) is dropped without a box: nobody chose it just now.
    Listing listing;
    if (ListsNothing(m_nTask)) {
        if (!m_setup.primary.path.empty() && !ReadsAs(PrimaryKind(m_nTask), m_setup.primary.path, listing))
            ClearPrimary();
        return true;
    }
    const std::pair<ToolInputSelection*, const InputControls*> inputs[] = {
        {&m_setup.primary, &kPrimaryControls},
        {&m_setup.secondary, &kSecondaryControls},
        {&m_setup.density, &kDensityControls}};
    for (const auto& [input, controls] : inputs) {
        if (input->path.empty()) continue;
        if (ReadListing(input->path, listing)) ShowList(*input, *controls, listing);
        else if (input == &m_setup.primary) ClearPrimary();
        else ClearInput(*input, *controls);
    }
    return true;
}

void CUtilitiesSetupDlg::UpdateTaskIndex()
{
    const ControlState* box = Item(kIdcTask);
    if (!box || box->CurSel() < 0) return;
    const int16_t index = TaskIndex(box->ItemText(box->CurSel()));
    if (index > 0) m_nTask = index;
}

void CUtilitiesSetupDlg::ApplyFieldRules()
{
    UpdateTaskIndex();
    const ToolTaskRow* row = TaskRow(m_nTask);
    const uint16_t uses = row ? row->fields : 0;
    auto enable = [this](std::initializer_list<int> ids, bool on) {
        for (int id : ids) EnableItem(id, on);
    };
    // Sample and decimation fields and the secondary and density depths show values only.
    enable({kIdcStartSample, kIdcStartSampleLabel, kIdcStopSample, kIdcStopSampleLabel, kIdcDecimate,
            kIdcDecimateLabel, kIdcSecondaryStart, kIdcSecondaryStartLabel, kIdcSecondaryStop,
            kIdcSecondaryStopLabel, kIdcDensityStart, kIdcDensityStartLabel, kIdcDensityStop,
            kIdcDensityStopLabel},
           false);
    enable({kIdcPrimaryStart, kIdcPrimaryStartLabel, kIdcPrimaryStop, kIdcPrimaryStopLabel},
           uses & kUsesDepthRange);
    enable({kIdcFactor, kIdcFactorLabel}, uses & kUsesFactor);
    enable({kIdcSplice, kIdcSpliceLabel}, uses & kUsesSplice);
    enable({kIdcPrimaryList}, uses & kUsesPrimaryList);
    enable({kIdcSelectSecondary, kIdcSecondaryFile}, uses & kUsesSecondaryFile);
    enable({kIdcSecondaryList}, uses & kUsesSecondaryList);
    enable({kIdcSelectDensity, kIdcDensityFile}, uses & kUsesDensityFile);
    enable({kIdcDensityList}, uses & kUsesDensityList);
}

void CUtilitiesSetupDlg::DeriveOutputName()
{
    const size_t dot = m_setup.primary.path.rfind('.');
    if (dot == std::string::npos) return;
    const char* suffix = OutputSuffix(OutputKind(m_nTask));
    m_setup.outputPath = m_setup.primary.path.substr(0, dot) + suffix;
    m_setup.outputTitle = m_setup.primary.title + suffix;
    m_outputConfirmed = false;
    m_outputProposed = true;
    SetItemText(kIdcOutputFile, ShortenPathLabel(kOutputLabel, m_setup.outputPath));
    DropOutputNamingAnInput();
}

void CUtilitiesSetupDlg::ClearList(ToolInputSelection& in, const InputControls& controls)
{
    for (size_t i = 0; i < ListedCount(in); ++i) in.listed[i] = in.selected[i] = 0;
    in.itemCount = 0;
    if (ControlState* list = Item(controls.list)) list->ResetContent();
}

void CUtilitiesSetupDlg::ClearInput(ToolInputSelection& in, const InputControls& controls)
{
    ClearList(in, controls);
    in.path.clear();
    in.title.clear();
    in.ext.clear();
    SetItemText(controls.label, ShortenPathLabel(controls.labelText, in.path));
}

void CUtilitiesSetupDlg::ClearPrimary()
{
    ClearInput(m_setup.primary, kPrimaryControls);
    ClearOutput();
}

void CUtilitiesSetupDlg::ClearOutput()
{
    m_setup.outputPath.clear();
    m_setup.outputTitle.clear();
    m_outputConfirmed = false;
    m_outputProposed = false;
    SetItemText(kIdcOutputFile, ShortenPathLabel(kOutputLabel, m_setup.outputPath));
}

void CUtilitiesSetupDlg::DropOutputNamingAnInput()
{
    if (!m_outputProposed) return;
    for (const ToolInputSelection* in : {&m_setup.primary, &m_setup.secondary, &m_setup.density})
        if (!in->path.empty() && (in->path == m_setup.outputPath || IsSameFile(in->path, m_setup.outputPath))) {
            ClearOutput();
            return;
        }
}

void CUtilitiesSetupDlg::ShowList(ToolInputSelection& in, const InputControls& controls, const Listing& listing)
{
    in.startDepth = listing.top;
    in.stopDepth = listing.bottom;
    ControlState* list = Item(controls.list);
    if (list) list->ResetContent();
    // The flag arrays, here and in the settings, hold one entry per datum (ReadListing
    // refuses a data set of more).
    for (size_t i = 0; i < listing.datums.size(); ++i) {
        in.listed[i] = 0;
        in.selected[i] = 0;
        const auto& [mnemonic, category] = listing.datums[i];
        if (category < 1 || category > 6) continue;
        if (list) list->AddString(mnemonic);
        in.listed[i] = 1;
    }
    in.itemCount = int32_t(listing.datums.size());
    if (in.startDepth > in.stopDepth) std::swap(in.startDepth, in.stopDepth);
    // The exchange's own format: a field never shows one value two ways.
    SetItemNumber(controls.start, in.startDepth);
    SetItemNumber(controls.stop, in.stopDepth);
}

void CUtilitiesSetupDlg::TakeSelection(ToolInputSelection& in, const InputControls& controls)
{
    TakeListedSelection(Item(controls.list), in.listed, in.selected, int(ListedCount(in)));
}

void CUtilitiesSetupDlg::TakeSelections()
{
    TakeSelection(m_setup.primary, kPrimaryControls);
    TakeSelection(m_setup.secondary, kSecondaryControls);
    TakeSelection(m_setup.density, kDensityControls);
}

void CUtilitiesSetupDlg::OnSelChangeTask()
{
    ApplyFieldRules();
    // A primary that does not read as the new task's input goes, with its list and the
    // output proposed for it: it would be read as what it is not.
    Listing listing;
    if (!m_setup.primary.path.empty() && !ReadsAs(PrimaryKind(m_nTask), m_setup.primary.path, listing)) ClearPrimary();
    DeriveOutputName();
}

void CUtilitiesSetupDlg::OnSelChangePrimaryList() { TakeSelection(m_setup.primary, kPrimaryControls); }
void CUtilitiesSetupDlg::OnSelChangeSecondaryList() { TakeSelection(m_setup.secondary, kSecondaryControls); }
void CUtilitiesSetupDlg::OnSelChangeDensityList() { TakeSelection(m_setup.density, kDensityControls); }

bool CUtilitiesSetupDlg::ChooseInput(ToolInputSelection& in, const InputControls& controls, const char* title,
                                     ToolFile kind, Listing& listing)
{
    std::string path = in.path, name = in.title, ext = in.ext;
    if (!BrowseFile(Browse::Open, title, FilterOf(kind), path, name, ext)) return false;
    // Any file may be picked under "All Files": one that does not read as the input is not
    // taken, and the input, its list and the output proposed for it stay as they were.
    if (!OkOrShow(ReadsAs(kind, path, listing))) return false;
    in.path = std::move(path);
    in.title = std::move(name);
    in.ext = std::move(ext);
    SetItemText(controls.label, ShortenPathLabel(controls.labelText, in.path));
    return true;
}

void CUtilitiesSetupDlg::OnSelectPrimary()
{
    Listing listing;
    if (!ChooseInput(m_setup.primary, kPrimaryControls, "Select Primary File", PrimaryKind(m_nTask), listing)) return;
    // A file that is no data set lists nothing: a data set's list chosen before goes.
    if (ListsNothing(m_nTask)) ClearList(m_setup.primary, kPrimaryControls);
    else ShowList(m_setup.primary, kPrimaryControls, listing);
    DeriveOutputName();
}

void CUtilitiesSetupDlg::OnSelectSecondary()
{
    Listing listing;
    if (!ChooseInput(m_setup.secondary, kSecondaryControls, "Select Secondary File", ToolFile::Qtx, listing)) return;
    ShowList(m_setup.secondary, kSecondaryControls, listing);
    DropOutputNamingAnInput();
}

void CUtilitiesSetupDlg::OnSelectDensity()
{
    Listing listing;
    if (!ChooseInput(m_setup.density, kDensityControls, "Select Density File", ToolFile::Qtx, listing)) return;
    ShowList(m_setup.density, kDensityControls, listing);
    DropOutputNamingAnInput();
}

void CUtilitiesSetupDlg::OnSelectOutput()
{
    const ToolFile kind = OutputKind(m_nTask);
    m_setup.outputExt = OutputExtension(kind);
    const std::string& filter = FilterOf(kind);
    // The output usually goes beside the data it is made from, not into the working folder.
    const std::string outputFolder = FolderOf(m_setup.outputPath);
    const std::string folder = outputFolder.empty() ? FolderOf(m_setup.primary.path) : outputFolder;
    if (!BrowseFile(Browse::Save, "Select Output File", filter, m_setup.outputPath, m_setup.outputTitle,
                    m_setup.outputExt, folder))
        return;
    // The save dialog asks before it returns an existing file.
    m_outputConfirmed = FileExists(m_setup.outputPath);
    m_outputProposed = false;
    SetItemText(kIdcOutputFile, ShortenPathLabel(kOutputLabel, m_setup.outputPath));
}

// The task runs on what the lists show selected when the user ends the dialog.
// Run does the task the box shows, and nothing while it shows none.
bool CUtilitiesSetupDlg::TaskChosen()
{
    const ControlState* box = Item(kIdcTask);
    if (box && box->CurSel() >= 0) return true;
    MessageBox("Select a task in the task box.", MB_ICONEXCLAMATION);
    SetFocus(kIdcTask);
    return false;
}

void CUtilitiesSetupDlg::OnRun()
{
    if (!TaskChosen() || !UpdateData(true)) return;
    TakeSelections();
    EndDialog(kRun);
}

void CUtilitiesSetupDlg::OnSaveSetup()
{
    if (!UpdateData(true)) return;
    TakeSelections();
    EndDialog(kSaveSetup);
}

void CUtilitiesSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpContextId); }
