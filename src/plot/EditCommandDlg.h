// Edit Command: steps through the plot list one item at a time ("Next Item",
// "Previous Item", both wrapping) and changes each item's depths, limits, track,
// names and colours in place. An item is stored when the user leaves it, so Cancel
// keeps the items already stored.
#pragma once

#include "platform/Dialog.h"
#include "plot/LogPlotItem.h"
#include "res/EditCommandDlgIds.h"

#include <cstdint>
#include <string>

class CEditCommandDlg : public CDialog {
public:
    using enum edit_command::Control; // ids shared with the template
    enum : uint32_t { kHelpContextId = 6 };

    CEditCommandDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;
    void OnNextItem();
    void OnPreviousItem();
    void OnHelp();

    PlotItemList* m_pPlotItems = nullptr; // set by the caller; its items are edited
    int m_nItemCount = 0;   // widened: a loaded list may hold more items than an i16 counts
    int m_nCurrentItem = 0;

    // The current item's values as the dialog shows them.
    struct Fields {
        double dataTop = 0.0, dataBottom = 0.0;
        double startDepth = 0.0, stopDepth = 0.0, depthShift = 0.0;
        float leftLimit = 0.0f, rightLimit = 0.0f;
        int16_t track = 0;
        std::string fileTitle, name, mnemonic, units;
        StyleChoice<NamedColour> colour;
        StyleChoice<LineWidth> lineWidth;
        StyleChoice<Palette> palette;
    };
    Fields m_fields;

private:
    CLogPlotItem* Current() const;
    void Load();
    bool Store(); // false, with nothing stored, when a value is refused
    void Step(int delta);
};
