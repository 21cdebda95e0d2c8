// What every viewer window shares: its window id, activation (the window's display
// options become the current ones and it repaints), sizing, erasing only while a
// redraw is requested, closing (its display-option record goes) and the iconic
// state that suspends painting; the receivers of its datum and which of them the
// display options show; the trace pen and brushes the display options choose; the
// scroll steps and read-out texts of a domain axis; and the limits of what a view holds. Viewers are created with new and belong to their
// window once it exists.
#pragma once

#include "dataset/FrameCursor.h"
#include "platform/Dc.h"
#include "platform/Wnd.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class CQtxFile;

// The four domains of a view's horizontal axis, as the item-selection tabs number them.
enum DomainCode : int16_t { kDomainTime = 1, kDomainFrequency = 2, kDomainSlowness = 3, kDomainAzimuth = 4 };

class CViewerWnd : public CWnd {
public:
    // A view holds at most kSlots receivers of kSlotFloats samples each.
    static constexpr int kSlots = 16;
    static constexpr int kSlotFloats = 8192;

    uint16_t m_windowId = 0;
    bool m_iconic = false;

    // The domain word of a domain code ("Time", "Frequency", "Slowness", "Azimuth").
    static const char* DomainWord(int domain);

    void OnMDIActivate(bool activate) override;
    void OnSize(unsigned type, int cx, int cy) override;
    bool OnEraseBkgnd(Dc& dc) override;
    void OnClose() override;
    void OnSysCommand(unsigned id) override;
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }

    // Called before the view repaints because it was sized, activated or its display
    // options changed: a view that shows what it reads reads it here, since the paint
    // only draws (and shows no message).
    virtual void PrepareRepaint() {}

    // The read-out panes (status panes 1 to kLastReadOutPane: depth in pane 1, the
    // cursor's and window's values after it) belong to the active view: each view
    // keeps its own texts, shown whole when the view opens or becomes active, and
    // the panes are cleared when no view is left.
    void SetReadOut(int pane, const std::string& text);
    const std::string& ReadOut(int pane) const;
    void SetDepthReadOut(const std::string& text) { SetReadOut(1, text); }

    // Opens a view's data set: a frame that cannot be read is reported once and
    // leaves the data set open, so the readable frames can still be shown.
    static int OpenDataSet(CQtxFile& file, const std::string& path);

    // ---- the datum's receivers ------------------------------------------------------------
    int m_receivers = 0;                   // traces of the shown datum
    std::array<int, kSlots> m_receiverIndex{}; // the slot of each trace, in trace order
    std::array<bool, kSlots> m_shown{};    // by slot
    int m_shownTraces = 0;


protected:
    CViewerWnd();

    // The datum's sample step must be a positive number; otherwise a message, false.
    static bool AcceptSampleStep(const std::string& mnemonic, float step);
    // Whether `receivers` receivers of `samples` samples fit the view's slots.
    static bool FitsSlots(int64_t receivers, int64_t samples);
    // The transforms' length for `samples` samples: the power of two from `from` up
    // that holds them (past the slots' length it stops, and FitsSlots refuses it).
    static int PaddedLength(int samples, int from = 1);
    // Rows are placed by depth: a log of several frames needs a usable depth step and
    // top depth. Otherwise the message about data set `path`, false.
    static bool AcceptDepths(const CFrameCursor& frames, const std::string& path);
    // The message for a datum that does not fit: `samples` is the count it names.
    // Returns false.
    static bool RefuseDatumSize(const std::string& mnemonic, int receivers, int samples);

    // Fills `outer` but for `inner`, which the caller covers with an opaque image: the
    // grey under a blit is never seen, and the blit is most of the window.
    static void FillAround(Dc& dc, const Rect& outer, const Rect& inner, Color colour);

    // Traces 0 .. m_receivers - 1 take the slots in order; the first `shown` of the
    // first thirteen are switched on in the current display options, and the view's
    // record is added with them. Returns the number of traces mapped.
    int RegisterReceivers(int shown);
    // The k-th receiver that `available` marks is the k-th trace of this view; its
    // shown flag comes from `shown` (traces past the thirteenth are always shown).
    // Counts the shown traces.
    void MapShownReceivers(const uint32_t* available, const uint32_t* shown);

    // ---- trace pen and brushes --------------------------------------------------------------
    // Made from the display options' pen colour and background.
    void MakeDrawingObjects();
    // Remakes them where a display command changed the choice: the pen (now 2 pixels
    // wide; a white pen keeps the traces' colour) and the background, clearing the
    // change flags.
    void RefreshDrawingObjects();
    // Pens, brushes and fonts go with the window.
    virtual void ReleaseDrawingObjects() {}

    Pen m_tracePen;
    Brush m_traceBrush;
    Brush m_backgroundBrush;

    // ---- views that step through frames one at a time -----------------------------------------
    // The vertical bar and the keys move `frames`: a line or an arrow key by one frame, a
    // page by 100, the thumb, Home and End to a scroll position; then OnFramesMoved gets
    // the frame before the move. A tracking thumb only shows the depth under it; other
    // codes and keys do nothing.
    void ScrollFrames(CFrameCursor& frames, int code, int pos);
    void KeyFrames(CFrameCursor& frames, unsigned key);
    virtual void OnFramesMoved(int /*previousFrame*/) {}

    // ---- a horizontal axis of samples, bins, slownesses or angles ------------------------------
    // The steps a horizontal scroll code moves an axis whose first shown step is `first`:
    // a line one, a page ten, the thumb to `pos`. None for codes that do not move it (a
    // tracking thumb among them: the view shows the value under it instead).
    static std::optional<int64_t> AxisScrollSteps(int code, int pos, int64_t first);
    // An axis value as its read-out shows it: `value` in milliseconds, kilohertz, the
    // slowness unit or degrees, by `domain`; and the pane (2 to 4) it goes to.
    static std::string AxisText(int domain, double value, const std::string& slownessUnit);
    static int AxisPane(int domain);
    // The value under a tracking thumb in the domain's pane, the other two cleared.
    void ShowAxisThumb(int domain, double value, const std::string& slownessUnit);

    // The screen's height in pixels and millimetres (depth per pixel of the depth views),
    // read when the window is sized.
    int m_vertRes = 0, m_vertSize = 0;
    void ReadDeviceCaps();

private:
    static constexpr int kLastReadOutPane = kSlots + 1;
    bool IsActiveView() const;
    void ShowReadOuts() const;
    std::array<std::string, kLastReadOutPane + 1> m_readOuts; // by pane; pane 0 (prompts) unused
};
