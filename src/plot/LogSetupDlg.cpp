#include "plot/LogSetupDlg.h"

#include "common/BrowseFile.h"
#include "common/Help.h"
#include "platform/FileChoice.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "plot/EditCommandDlg.h"
#include "plot/LogItemSetupDlg.h"
#include "plot/QtxCommand.h"
#include "res/LogSetupDlgIds.h"
#include "settings/SettingsStore.h"
#include "settings/LogSetupGroup.h"

#include <algorithm>

namespace {

using enum log_setup::Control;

constexpr const char* kCommandFilter = "Command (*.cmd)|*.cmd|All Files (*.*)|*.*||";

} // namespace

CLogSetupDlg::CLogSetupDlg() : CSetupDlg(kIddLogSetup)
{
    for (int id : {kIdcDepthTrackOn, kIdcDepthTrackOff}) On(id, Notify::Clicked, [this, id] { OnDepthColumn(id); });
    for (int id : {kIdcEnglish, kIdcMetric}) On(id, Notify::Clicked, [this, id] { OnUnits(id); });
    for (int id : {kIdcBackBlue, kIdcBackBeige, kIdcBackGray})
        On(id, Notify::Clicked, [this, id] { OnBackground(id); });
    On(kIdcEnabledList, Notify::SelChange, [this] { OnSelChangeEnabled(); });
    On(kIdcDisabledList, Notify::SelChange, [this] { OnSelChangeDisabled(); });
    On(kIdcEnabledList, Notify::DblClick, [this] { OnDblClkEnabled(); });
    On(kIdcDisabledList, Notify::DblClick, [this] { OnDblClkDisabled(); });
    On(kIdcAdd, Notify::Clicked, [this] { OnAdd(); });
    On(kIdcEdit, Notify::Clicked, [this] { OnEdit(); });
    On(kIdcCopy, Notify::Clicked, [this] { OnCopy(); });
    On(kIdcDelete, Notify::Clicked, [this] { OnDelete(); });
    On(kIdcClearAll, Notify::Clicked, [this] { OnClearAll(); });
    On(kIdcLoadSettings, Notify::Clicked, [this] { OnLoadSettings(); });
    On(kIdcSaveSettings, Notify::Clicked, [this] { OnSaveSettings(); });
    On(kIdcBrowseFolder, Notify::Clicked, [this] { OnBrowseFolder(); });
    On(kIdcEditCommand, Notify::Clicked, [this] { OnEditCommand(); });
    On(kIdcHelp, Notify::Clicked, [this] { OnHelp(); });
    for (int id : {kIdcApply, kIdcViewLog, kIdcPrintLog}) On(id, Notify::Clicked, [this, id] { EndWith(id); });
}

int CLogSetupDlg::Edit(LogSetupGroup& group)
{
    // The base copies the list's pointers; the items are copied here so that the
    // dialog's edits reach the group only through the copy given back.
    m_setup = group;
    m_setup.plotItems = DeepCopy(group.plotItems);
    const int result = DoModal();
    if (result != IDCANCEL) group = m_setup;
    return result;
}

void CLogSetupDlg::DoDataExchange(DataExchange& dx)
{
    using namespace log_page;
    LogSetupGroup& s = m_setup;
    dx.Text(kIdcDepthScale, s.depthScale);
    if (dx.Saving() && !dx.Failed() && !(s.depthScale >= kMinDepthScale && s.depthScale <= kMaxDepthScale))
        dx.Fail(kIdcDepthScale,
                Format("You entered an invalid depth scale!.\nValid range : %.1f - %.1f.", double(kMinDepthScale),
                       double(kMaxDepthScale)),
                MB_ICONEXCLAMATION);
    for (int t = 0; t < kTrackCount; ++t) {
        float& width = s.trackWidth[size_t(t)];
        dx.Text(log_setup::kTrackWidthIds[t], width);
        if (dx.Saving() && !dx.Failed() && width < kMinTrackWidth)
            dx.Fail(log_setup::kTrackWidthIds[t],
                    Format("Track #%d is too narrow!.\nMinimum width : %2.1f in.", t + 1, double(kMinTrackWidth)),
                    MB_ICONEXCLAMATION);
    }
    dx.Text(kIdcHeader, s.header);
    if (dx.Saving() && !dx.Failed()) {
        double combined = 0.0;
        for (int t = 0; t < kCombinedTracks; ++t) combined += double(s.trackWidth[size_t(t)]);
        if (combined > double(kMaxCombinedWidth))
            dx.Fail(kIdcTrack1,
                    Format("Tracks are too wide!.\nMaximum combined width : %.1f in.", double(kMaxCombinedWidth)),
                    MB_ICONEXCLAMATION);
    }
    if (dx.Failed()) return;
    // The boxes show the flags; only their handlers change the flags.
    const std::pair<int, int16_t> shown[] = {{kIdcDepthTrackOn, s.depthTrackOn}, {kIdcDepthTrackOff, s.depthTrackOff},
                                             {kIdcEnglish, s.english},           {kIdcMetric, s.metric},
                                             {kIdcBackBlue, s.backBlue},         {kIdcBackBeige, s.backBeige},
                                             {kIdcBackGray, s.backGray}};
    for (const auto& [id, on] : shown)
        if (ControlState* c = Item(id)) c->SetCheck(on ? 1 : 0);
}

bool CLogSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    FillLists();
    return true;
}

void CLogSetupDlg::FillLists()
{
    ControlState* enabled = Item(kIdcEnabledList);
    ControlState* disabled = Item(kIdcDisabledList);
    if (enabled) enabled->ResetContent();
    if (disabled) disabled->ResetContent();
    int on = 0, off = 0;
    for (const auto& item : m_setup.plotItems) {
        ControlState* list = item->m_bEnabled ? enabled : disabled;
        if (list) list->AddString(item->m_strName);
        ++(item->m_bEnabled ? on : off);
    }
    m_nEnabledCount = int16_t(std::min(on, 0x7FFF));
    m_nDisabledCount = int16_t(std::min(off, 0x7FFF));
    // Refilled lists select nothing, and the operations act on what is selected.
    m_nEnabledSel = -1;
    m_nDisabledSel = -1;
}

std::shared_ptr<CLogPlotItem> CLogSetupDlg::ItemAt(bool enabled, int n) const
{
    if (n < 0) return nullptr;
    for (const auto& item : m_setup.plotItems)
        if ((item->m_bEnabled != 0) == enabled && n-- == 0) return item;
    return nullptr;
}

void CLogSetupDlg::Append(const CLogPlotItem& item)
{
    auto copy = std::make_shared<CLogPlotItem>(item);
    copy->m_bEnabled = 1;
    m_setup.plotItems.push_back(std::move(copy));
    FillLists();
}

void CLogSetupDlg::EndWith(int code)
{
    if (UpdateData(true)) EndDialog(code);
}

void CLogSetupDlg::OnDepthColumn(int id)
{
    m_setup.depthTrackOn = id == kIdcDepthTrackOn;
    m_setup.depthTrackOff = id == kIdcDepthTrackOff;
    if (ControlState* c = Item(kIdcDepthTrackOn)) c->SetCheck(m_setup.depthTrackOn);
    if (ControlState* c = Item(kIdcDepthTrackOff)) c->SetCheck(m_setup.depthTrackOff);
}

void CLogSetupDlg::OnUnits(int id)
{
    m_setup.english = id == kIdcEnglish;
    m_setup.metric = id == kIdcMetric;
    CheckRadio(id);
}

void CLogSetupDlg::OnBackground(int id)
{
    m_setup.backBlue = id == kIdcBackBlue;
    m_setup.backBeige = id == kIdcBackBeige;
    m_setup.backGray = id == kIdcBackGray;
    CheckRadio(id);
}

void CLogSetupDlg::OnSelChangeEnabled()
{
    if (const ControlState* list = Item(kIdcEnabledList)) m_nEnabledSel = int16_t(list->CurSel());
}

void CLogSetupDlg::OnSelChangeDisabled()
{
    if (const ControlState* list = Item(kIdcDisabledList)) m_nDisabledSel = int16_t(list->CurSel());
}

void CLogSetupDlg::OnDblClkEnabled()
{
    const ControlState* list = Item(kIdcEnabledList);
    if (auto item = ItemAt(true, list ? list->CurSel() : -1)) item->m_bEnabled = 0;
    FillLists();
}

void CLogSetupDlg::OnDblClkDisabled()
{
    const ControlState* list = Item(kIdcDisabledList);
    if (auto item = ItemAt(false, list ? list->CurSel() : -1)) item->m_bEnabled = 1;
    FillLists();
}

void CLogSetupDlg::OnAdd()
{
    CLogItemSetupDlg dialog;
    dialog.m_item = CLogPlotItem::NewItemDefaults();
    dialog.m_pPlotItems = &m_setup.plotItems;
    if (dialog.DoModal() != IDOK || dialog.m_item.m_file.path.empty()) return;
    m_itemBuffer = dialog.m_item;
    Append(m_itemBuffer);
    EndWith(kAdd);
}

void CLogSetupDlg::OnEdit()
{
    const auto item = ItemAt(true, m_nEnabledSel);
    if (!item) return;
    CLogItemSetupDlg dialog;
    dialog.m_item = *item;
    dialog.m_item.m_datum.current = 0; // the dialog finds the current entry by its name
    dialog.m_pPlotItems = &m_setup.plotItems;
    if (dialog.DoModal() != IDOK || dialog.m_item.m_file.path.empty()) return;
    const int32_t enabled = item->m_bEnabled;
    *item = dialog.m_item;
    item->m_bEnabled = enabled;
    FillLists();
    EndWith(kEdit);
}

void CLogSetupDlg::OnCopy()
{
    const auto item = ItemAt(true, m_nEnabledSel);
    if (!item) return;
    m_itemBuffer = *item;
    Append(m_itemBuffer);
    EndWith(kCopy);
}

void CLogSetupDlg::OnDelete()
{
    const auto item = ItemAt(true, m_nEnabledSel);
    if (!item) return;
    auto& list = m_setup.plotItems;
    list.erase(std::find(list.begin(), list.end(), item));
    FillLists();
}

void CLogSetupDlg::OnClearAll()
{
    if (MessageBox("Are you sure you want to clear entire list?", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    m_setup.plotItems.clear();
    FillLists();
    EndWith(kClearAll);
}

void CLogSetupDlg::OnLoadSettings()
{
    if (!BrowseFile(Browse::Open, "Load Settings", kCommandFilter, m_setup.loadPath, m_setup.loadTitle,
                    m_setup.loadExt))
        return;
    EndWith(kLoadSettings);
}

void CLogSetupDlg::OnSaveSettings()
{
    // A name typed without an extension still makes a command file, one that Load
    // Settings lists under its filter.
    if (m_setup.saveExt.empty()) m_setup.saveExt = "cmd";
    if (!BrowseFile(Browse::Save, "Save Settings", kCommandFilter, m_setup.savePath, m_setup.saveTitle,
                    m_setup.saveExt))
        return;
    EndWith(kSaveSettings);
}

void CLogSetupDlg::OnBrowseFolder()
{
    // A file dialog whose chosen name is dropped: only its folder is used.
    FileDialogOptions options;
    options.open = false;
    options.title = "Browse Folder";
    options.filter = kCommandFilter;
    options.initialName = "any";
    options.flags = kHideReadOnly | kPathMustExist;
    const FileDialogResult chosen = ChooseFile(options);
    if (!chosen.ok || chosen.path.empty()) return;
    m_setup.browsePath = chosen.path;
    EndWith(kBrowseFolder);
}

void CLogSetupDlg::OnEditCommand()
{
    if (m_setup.plotItems.empty()) {
        MessageBox("Plot list is empty! Operation will be abandoned", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CEditCommandDlg dialog;
    dialog.m_pPlotItems = &m_setup.plotItems;
    dialog.DoModal();
    FillLists(); // names may have changed
}

void CLogSetupDlg::OnHelp() { ShowHelp(theApp.m_helpPath, kHelpContext, kHelpContextId); }
