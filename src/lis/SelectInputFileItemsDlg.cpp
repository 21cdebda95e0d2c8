#include "lis/SelectInputFileItemsDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/BatWaveformPropertiesDlg.h"
#include "lis/DataSetPropertiesDlg.h"
#include "lis/LisScanModel.h"
#include "lis/WaveformPropertiesDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/NumberText.h"
#include "res/DialogTemplates.h"
#include "res/SelectInputFileItemsDlgIds.h"

#include <string_view>

namespace {

constexpr const char* kMultipleDataSets =
    "Multiple Data Sets Not Allowed\nClear Selected List before selecting new Data Set     ";

// Categories of the items (QtxDatumCategory).
enum : uint8_t { kWaveform = 1, kFrequency = 2, kSlowness = 3, kAzimuth = 4, kCurve = 6 };

bool IsBat(const CWaveformPickItem& item) { return std::string_view(ItemTypeOf(item.m_typeCode).toolName) == "Bat"; }

// The tree shows waveforms, frequency, slowness and azimuth items, and curves.
bool HasNode(const CWaveformPickItem& item)
{
    return (item.m_category >= kWaveform && item.m_category <= kAzimuth) || item.m_category == kCurve;
}

} // namespace

CSelectInputFileItemsDlg::CSelectInputFileItemsDlg() : CDialog(DialogTemplateFor(kIddSelectInputFileItems))
{
    On(kIdcAdd, Notify::Clicked, [this] { OnAdd(); });
    On(kIdcRemove, Notify::Clicked, [this] { OnRemove(); });
    On(kIdcSelected, Notify::DblClick, [this] { OnRemove(); });
    On(kIdcClearAll, Notify::Clicked, [this] { OnClearAll(); });
    On(kIdcTree, Notify::DblClick, [this] { OnDblclkTree(); });
}

std::string CSelectInputFileItemsDlg::NodeText(const CLisLogicalFile& file)
{
    const double first = file.m_depths.empty() ? 0.0 : file.m_depths.front().m_depth;
    const double last = file.m_depths.empty() ? 0.0 : file.m_depths.back().m_depth;
    // Depths with the step's decimals: a half-unit step's last depth is not rounded away.
    const int decimals = StepDecimals(file.m_frameSpacing);
    return Format("%s     Depth:%5.*f - %5.*f @%6.4f %s", file.m_fileName.c_str(), decimals, first, decimals, last,
                  file.m_frameSpacing, file.m_frameSpacingUnits.c_str());
}

std::string CSelectInputFileItemsDlg::NodeText(const CWaveformPickItem& item)
{
    const char* name = item.m_displayName.c_str();
    const int samples = item.m_samplesPerWaveform;
    const double period = item.m_samplePeriod;
    switch (item.m_category) {
    case kWaveform:
        return Format("%s - %s %d Rcvr, %d @ %4.1f  ", name, item.m_mnemonic.c_str(), int(item.m_receiverCount),
                      samples, period);
    case kFrequency: return Format("%s - %d @ %4.1f HZ", name, samples, period);
    case kSlowness: return Format("%s - %d @ %4.1f US", name, samples, period);
    case kAzimuth: return Format("%s - %d @ %4.1f DEG", name, samples, period);
    case kCurve: {
        if (item.m_waveChannels.empty()) return item.m_mnemonic;
        const CLisChannelItem& c = *item.m_waveChannels.front();
        return c.m_units.empty() ? c.m_mnemonic : c.m_mnemonic + " - " + c.m_units;
    }
    default: return std::string(); // the tree shows no other kind
    }
}

std::string CSelectInputFileItemsDlg::LineText(const CWaveformPickItem& item)
{
    const char* wave = item.m_waveformName.c_str();
    const char* mnemonic = item.m_mnemonic.c_str();
    const char* label = item.m_itemLabel.c_str();
    switch (item.m_category) {
    case kWaveform:
        return Format("%s %s - %s %d Rcvr, %d @ %4.1f  ", wave, mnemonic, label, int(item.m_receiverCount),
                      int(item.m_samplesPerWaveform), double(item.m_samplePeriod));
    case kCurve: return Format("%s ", mnemonic);
    default: // frequency, slowness, azimuth, and any other kind alike
        return Format("%s %s - %s %d @ %4.1f  ", wave, mnemonic, label, int(item.m_samplesPerWaveform),
                      double(item.m_samplePeriod));
    }
}

void CSelectInputFileItemsDlg::Choose(CWaveformPickItem& item, bool chosen)
{
    item.m_selected = chosen ? 1 : 0;
    // The conversion reads the channels' flags too: a removed item must keep none set.
    for (auto& c : item.m_waveChannels) c->m_used = chosen ? 1 : 0;
}

bool CSelectInputFileItemsDlg::OnInitDialog()
{
    for (CLisLogicalFile* file : m_logicalFiles) {
        file->m_selected = 0;
        for (auto& item : file->m_items) Choose(*item, false);
    }
    m_currentDataSet = nullptr;
    CDialog::OnInitDialog();
    FillTree();
    return true;
}

void CSelectInputFileItemsDlg::DoDataExchange(DataExchange& dx)
{
    if (dx.Saving()) return; // shown only
    SetItemText(kIdcInputFile, "Input File Name: " + m_inputFileName);
    SetItemText(kIdcDataSet, "Data Set: " + m_dataSetName);
}

void CSelectInputFileItemsDlg::FillTree()
{
    ControlState* tree = Item(kIdcTree);
    if (!tree) return;
    tree->DeleteAllNodes();
    m_nodes.clear();
    int firstDataSet = 0;
    for (CLisLogicalFile* file : m_logicalFiles) {
        const int root = tree->InsertNode(NodeText(*file), kImageDataSet);
        file->m_treeKey = uint32_t(root);
        m_nodes[root] = {file, nullptr, false};
        tree->ExpandNode(root);
        if (!firstDataSet) firstDataSet = root;
        for (auto& item : file->m_items) {
            if (!HasNode(*item)) continue;
            const int image = item->m_category == kWaveform ? kImageWaveform
                              : item->m_category == kCurve  ? kImageCurve
                                                            : kImageOther;
            const int node = tree->InsertNode(NodeText(*item), image, root);
            m_nodes[node] = {file, item.get(), false};
            if (item->m_category != kWaveform) continue;
            for (auto& channel : item->m_waveChannels)
                m_nodes[tree->InsertNode(channel->m_mnemonic, kImageChannel, node)] = {file, item.get(), true};
            if (item->m_receiverCount > 1) tree->ExpandNode(node);
        }
    }
    if (firstDataSet) tree->SetFirstVisibleNode(firstDataSet);
}

void CSelectInputFileItemsDlg::FillSelected()
{
    ControlState* list = Item(kIdcSelected);
    if (!list) return;
    list->ResetContent();
    m_lineItems.clear();
    for (CLisLogicalFile* file : m_logicalFiles)
        for (auto& item : file->m_items) {
            if (item->m_selected != 1) continue;
            const int line = list->AddString(LineText(*item));
            list->SetItemData(line, int64_t(m_lineItems.size()));
            m_lineItems.push_back(item.get());
        }
    if (m_lineItems.empty()) {
        m_dataSetName.clear();
        UpdateData(false);
    }
}

void CSelectInputFileItemsDlg::OnAdd()
{
    const ControlState* tree = Item(kIdcTree);
    const auto found = tree ? m_nodes.find(tree->SelectedNode()) : m_nodes.end();
    if (found == m_nodes.end()) return;
    const Node& node = found->second;
    if (m_currentDataSet && m_currentDataSet != node.file) {
        MessageBox(kMultipleDataSets, MB_OK);
        return;
    }
    m_currentDataSet = node.file;
    node.file->m_selected = 1;
    if (node.channel) return; // a receiver channel moves nothing
    if (node.item)
        Choose(*node.item, true);
    else
        for (auto& item : node.file->m_items) Choose(*item, true);
    m_dataSetName = node.file->m_fileName;
    UpdateData(false);
    FillSelected();
}

void CSelectInputFileItemsDlg::OnRemove()
{
    const ControlState* list = Item(kIdcSelected);
    if (!list || list->CurSel() < 0) return;
    const int64_t line = list->ItemData(list->CurSel());
    if (line < 0 || size_t(line) >= m_lineItems.size()) return;
    Choose(*m_lineItems[size_t(line)], false);
    FillSelected();
}

void CSelectInputFileItemsDlg::OnClearAll()
{
    for (CLisLogicalFile* file : m_logicalFiles) {
        file->m_selected = 0;
        for (auto& item : file->m_items) Choose(*item, false);
    }
    m_currentDataSet = nullptr;
    FillSelected();
}

void CSelectInputFileItemsDlg::OnDblclkTree()
{
    ControlState* tree = Item(kIdcTree);
    const auto found = tree ? m_nodes.find(tree->SelectedNode()) : m_nodes.end();
    if (found == m_nodes.end()) return;
    const int handle = found->first;
    const Node node = found->second;
    if (!node.item) {
        CDataSetPropertiesDlg properties;
        properties.Fill(*node.file);
        properties.DoModal();
        return;
    }
    if (node.channel || node.item->m_category != kWaveform) return;
    CWaveformPickItem& item = *node.item;
    bool changed = false;
    if (IsBat(item)) {
        CBatWaveformPropertiesDlg bat;
        changed = bat.EditItem(item, node.file->m_fileName);
    } else {
        CWaveformPropertiesDlg properties;
        changed = properties.EditItem(item, node.file->m_fileName);
    }
    if (!changed) return;
    tree->SetNodeText(handle, NodeText(item));
    // A chosen item's line shows the same values.
    if (item.m_selected == 1) FillSelected();
}
