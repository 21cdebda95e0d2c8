// The "QTX File" dialog: shows a summary of a data set, sorts its datums into six
// tabs by category and lets the user mark the items to use.
//
// Ownership: the dialog owns the six item lists. They are rebuilt by each
// OnInitDialog and live on after DoModal until the dialog object dies (or
// ClearItems), so callers read, or move, the items after DoModal returns.
#pragma once

#include "dataset/QtxFile.h"
#include "platform/Dialog.h"
#include "res/QtxFileDlgIds.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What every selectable item has; the tab's own class adds its axis fields.
class CQtxItem {
public:
    virtual ~CQtxItem() = default;
    // The item's line in the Found and Selected lists.
    virtual std::string ListLine() const = 0;

    std::string m_mnemonic;
    std::string m_unitText;
    uint8_t m_typeCode = 0;
    uint16_t m_datumNumber = 0;
    uint32_t m_offset = 0;   // offset in frame, bytes
    uint32_t m_selected = 0; // 1 when the user chose the item
};

class CQtxTimeItem : public CQtxItem {
public:
    std::string ListLine() const override;
    uint8_t m_unit = 0; // axis-1 unit code
    float m_step = 0.0f;
    uint16_t m_sampleCount = 0;
    uint16_t m_traceCount = 0;
};

class CQtxFrequencyItem : public CQtxItem {
public:
    std::string ListLine() const override;
    float m_step = 0.0f; // the waveform's time sampling
    uint16_t m_sampleCount = 0;
    uint16_t m_traceCount = 0;
};

class CQtxSlownessItem : public CQtxFrequencyItem {
public:
    std::string ListLine() const override;
};

class CQtxAzimuthItem : public CQtxFrequencyItem {
public:
    std::string ListLine() const override;
};

class CQtxSembMapItem : public CQtxItem {
public:
    std::string ListLine() const override;
    float m_step = 0.0f; // axis 1
    uint16_t m_sampleCount = 0;
    uint16_t m_firstIndex = 0;
    float m_step2 = 0.0f;
    uint16_t m_sampleCount2 = 0;
    uint16_t m_firstIndex2 = 0;
};

class CQtxTraceItem : public CQtxItem {
public:
    // A curve of several values a frame (a fast channel's samples) says that the log
    // shows the one at the frame's depth.
    std::string ListLine() const override;
    uint32_t m_valueCount = 1; // values per frame
};

template <typename Item> using CQtxItemList = std::vector<std::unique_ptr<Item>>;

class CQtxFileDlg : public CDialog {
public:
    enum Tab : int { kTabTime = 1, kTabFrequency, kTabSlowness, kTabAzimuth, kTabSembMap, kTabTraces };
    using enum qtx_file::Control; // ids shared with the template

    CQtxFileDlg();

    // ---- set by the caller before DoModal ----------------------------------------
    std::string m_fileName;
    std::string m_startDepth;
    std::string m_stopDepth;
    std::string m_depthStep;
    std::string m_depthUnits;
    std::string m_depthFrames;
    int m_allowSelectAll = 1;
    int m_startTab = kTabTime; // 1-6; others are taken as the nearest valid tab
    const CQtxDatumList* m_datums = nullptr; // not owned; may be null (no items)

    // ---- item lists, one per tab; read by the caller after DoModal ---------------
    CQtxItemList<CQtxTimeItem> m_timeItems;
    CQtxItemList<CQtxFrequencyItem> m_frequencyItems;
    CQtxItemList<CQtxSlownessItem> m_slownessItems;
    CQtxItemList<CQtxAzimuthItem> m_azimuthItems;
    CQtxItemList<CQtxSembMapItem> m_sembMapItems;
    CQtxItemList<CQtxTraceItem> m_traceItems;

    // The tab shown last (1-6): the start tab until the dialog has run.
    int CurrentTab() const { return m_currentTab ? m_currentTab : ClampTab(m_startTab); }
    int FoundIndex() const { return m_foundIndex; }
    int SelectedIndex() const { return m_selectedIndex; }

    // The items of a tab (1-6; none for others), in list order, still owned here.
    std::vector<CQtxItem*> Items(int tab) const;
    std::vector<CQtxItem*> SelectedItems(int tab) const;
    template <typename Item> static std::vector<Item*> Selected(const CQtxItemList<Item>& list)
    {
        std::vector<Item*> out;
        for (const auto& item : list)
            if (item->m_selected == 1) out.push_back(item.get());
        return out;
    }
    // Frees every item, as callers do once they have taken what they need.
    void ClearItems();

    // ---- dialog ------------------------------------------------------------------
    bool OnInitDialog() override;
    void SortDatums();
    void OnAdd();
    void OnRemove();
    void OnSelectAll();
    void OnClearAll();
    void OnSelchangeTab();
    void OnSelchangeFound();
    void OnSelchangeSelected();

private:
    static int ClampTab(int tab) { return tab < kTabTime ? kTabTime : tab > kTabTraces ? kTabTraces : tab; }
    void FillFound();
    void FillSelected();

    int m_currentTab = 0; // 0 until OnInitDialog
    int m_foundIndex = -1;
    int m_selectedIndex = -1;
};
