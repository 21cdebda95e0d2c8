// The "Select Input File Items" dialog: the scanned logical files (data sets) of a LIS
// file as a tree of data sets, their items and the items' receiver channels, and the
// list of items to convert. Items of one data set only may be chosen; a double click
// shows a data set's summary or corrects a waveform item.
//
// The dialog owns nothing: the logical files stay the caller's. Its choice lives in
// the records: each chosen item's selected flag (its wave channels' used flags follow
// it) and the chosen logical file's selected flag.
#pragma once

#include "platform/Dialog.h"
#include "res/SelectInputFileItemsDlgIds.h"

#include <map>
#include <string>
#include <vector>

class CLisLogicalFile;
class CWaveformPickItem;

class CSelectInputFileItemsDlg : public CDialog {
public:
    using enum select_input_items::Control; // ids shared with the template
    // Tree images, in the order of the icons 133 to 137.
    enum Image : int { kImageCurve = 0, kImageChannel, kImageDataSet, kImageWaveform, kImageOther };

    CSelectInputFileItemsDlg();

    std::string m_inputFileName;                  // set by the caller: the file's name without its folder
    std::vector<CLisLogicalFile*> m_logicalFiles; // set by the caller; not owned
    std::string m_dataSetName;                    // shown: the data set items were chosen from

    // The texts of an item's tree node and of its line in the selected list.
    static std::string NodeText(const CLisLogicalFile& file);
    static std::string NodeText(const CWaveformPickItem& item);
    static std::string LineText(const CWaveformPickItem& item);

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnAdd();
    void OnRemove();
    void OnClearAll();
    void OnDblclkTree();

private:
    struct Node {
        CLisLogicalFile* file = nullptr;
        CWaveformPickItem* item = nullptr; // nullptr: the data set's own node
        bool channel = false;              // a receiver channel of `item`
    };

    void FillTree();
    void FillSelected();
    // Marks `item` chosen (true) or not, with the used flags of its wave channels.
    static void Choose(CWaveformPickItem& item, bool chosen);

    std::map<int, Node> m_nodes;                 // by tree node handle
    std::vector<CWaveformPickItem*> m_lineItems; // the item of each selected-list line
    CLisLogicalFile* m_currentDataSet = nullptr; // items were chosen from it; nullptr none
};
