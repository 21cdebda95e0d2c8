// Log Item Setup: the dialog in which the user defines one plot item: the data set
// and the one datum drawn from it, the depths, track and limits, and how a waveform
// or a curve is drawn. The caller fills m_item (a new item's defaults, or the item
// to edit) and reads it back after IDOK ("Apply": every value valid).
#pragma once

#include "platform/Dialog.h"
#include "plot/LogPlotItem.h"
#include "res/LogItemSetupDlgIds.h"

#include <cstdint>
#include <string>

class CQtxFileDlg;

class CLogItemSetupDlg : public CDialog {
public:
    using enum log_item_setup::Control; // ids shared with the template
    enum : uint32_t { kHelpContextId = 6 };

    CLogItemSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnSelectInputFile();
    void OnRestoreDepth();
    void OnNormalize();
    void OnShadeMode(int id);
    void OnSelChangeWaveList();
    void OnSelChangeCurveList();
    void OnSelChangePartnerList();
    void OnHelp();

    // Reads `path` and lets the user choose its datum; on success the item takes the
    // data set and the datum. False (item untouched) after the data set's own
    // message, a cancelled choice, or a choice of none or of more than one datum.
    bool SelectItem(const std::string& path, const std::string& title, const std::string& ext);
    // Enables the controls of the item's domain and shading mode and fills its lists.
    void UpdateControls();

    CLogPlotItem m_item;
    // The plot list whose curve items the "Curve limit" partner list offers; may be null.
    const PlotItemList* m_pPlotItems = nullptr;
    // Of the data set last read: "DOWN" with 1 or "UP" with -1, and " [ft]" or " [m]".
    std::string m_strDirection;
    int m_nDirection = 0;
    uint8_t m_byDepthUnits = 0;
    std::string m_strDepthUnits;

private:
    // Takes the one datum chosen in `files` into `item`; false after a message.
    bool TakeChosenDatum(CQtxFileDlg& files, CLogPlotItem& item);
    void FillNameList(int listId);
    void FillPartnerList();
    void OnSelChangeNameList(int listId);
};
