// Dispersion Correction Setup: the input slowness (DTS) data set and its curves; the
// frequency, the borehole and the formation density, each a fixed value or a curve of
// a profile data set; and the output data set. "Run" and "Save Setup" end the dialog
// with their own ids; the group then holds the curve choices of the four lists.
// Also the Slowness units dialog (units and the supported tool) and the shape of the
// correction factor table.
#pragma once

#include "common/SetupDlg.h"
#include "res/DispersionSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <array>
#include <string>

class CDispersionSetupDlg : public CSetupDlg<DispersionSetupGroup> {
public:
    using enum dispersion_setup::Control;
    enum List : int { kInput, kFrequency, kCaliper, kDensity };

    CDispersionSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

    int OnSelect(List list); // the input and the three profile pickers
    int OnSelectOutputFile();
    void OnSelchange(List list);
    void OnFixedFrequency(bool fixed);
    void OnFixedBitSize(bool fixed);
    void OnFixedDensity(bool fixed);
    void OnEnd(int code); // Run or Save Setup
    void OnHelp();
    void UpdatePairControls();

    // Rebuild a list from a data set; 0, with the list as it was, when the data set
    // cannot be read or holds more datums than the list's flags.
    int FillItemList(List list, const std::string& path);
};

class CSlownessUnitsDlg : public CDialog {
public:
    using enum slowness_units::Control;
    enum Tool : int { kWireline, kBat675, kBat800 };

    CSlownessUnitsDlg();
    void DoDataExchange(DataExchange& dx) override;
    void OnUnits(bool english);
    void OnTool(Tool tool);

    uint16_t m_english = 0, m_metric = 0;
    std::array<uint16_t, 3> m_tools{}; // wireline, 6.75-inch BAT, 8.00-inch BAT
};

// The dispersion correction factor table as the correction will read it: blocks of
// rows, each row a frequency in Hz followed by its factors. Only the shape is held:
// the factors themselves are not part of this edition.
struct DispersionTableSection {
    int firstBlock, lastBlock; // from 1
    int rowsPerBlock;
    float firstHz, stepHz;
    int factorsPerRow;
};
inline constexpr std::array<DispersionTableSection, 4> kDispersionTableSections{{
    {1, 66, 71, 1000.0f, 100.0f, 5},
    {67, 99, 71, 1000.0f, 100.0f, 6},
    {100, 165, 71, 1000.0f, 100.0f, 5},
    {166, 228, 37, 2000.0f, 500.0f, 5},
}};

constexpr int DispersionTableValueCount()
{
    int values = 0;
    for (const auto& s : kDispersionTableSections)
        values += (s.lastBlock - s.firstBlock + 1) * s.rowsPerBlock * (1 + s.factorsPerRow);
    return values;
}
static_assert(DispersionTableValueCount() == 86619);
static_assert(kDispersionTableSections.back().lastBlock == 228);
