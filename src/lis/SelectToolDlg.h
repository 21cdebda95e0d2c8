// The "Select Tool to Convert" dialog: which acoustic tool recorded the LIS file. The
// conversion reads the chosen index and maps it to the tool's name and scan code.
#pragma once

#include "platform/Dialog.h"
#include "res/SelectToolDlgIds.h"

#include <string>

class CSelectToolDlg : public CDialog {
public:
    using enum select_tool::Control; // ids shared with the template

    // The tools in the order of their buttons (index 0 to 13).
    struct Tool {
        const char* name; // written to the conversion log, e.g. "Dsi"
        int code;         // the scan's tool code (lis::kTool...)
    };
    static constexpr int kToolCount = 14;
    // The tool of a button index; an empty name and code 0 for any other index.
    static Tool ToolOf(int index);

    CSelectToolDlg();

    int m_toolIndex = -1;      // -1: no button chosen (OK then asks for one)
    std::string m_lisFileName; // shown, the input file's name without its folder

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
};
