// What every viewer window shares: its window id, activation (the window's display
// options become the current ones and it repaints), sizing, erasing only while a
// redraw is requested, closing (its display-option record goes) and the iconic
// state that suspends painting. Viewers are created with new and belong to their
// window once it exists.
#pragma once

#include "platform/Wnd.h"

#include <cstdint>
#include <string>

class CQtxFile;

class CViewerWnd : public CWnd {
public:
    uint16_t m_windowId = 0;
    bool m_iconic = false;

    void OnMDIActivate(bool activate) override;
    void OnSize(unsigned type, int cx, int cy) override;
    bool OnEraseBkgnd(Dc& dc) override;
    void OnClose() override;
    void OnSysCommand(unsigned id) override;
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }

    // The depth read-out (status pane 1) belongs to the active view: each view keeps
    // its own text, shown when the view becomes active, and it is cleared when the
    // active view goes.
    void SetDepthReadOut(const std::string& text);
    const std::string& DepthReadOut() const { return m_depthReadOut; }

    // Opens a view's data set: a frame that cannot be read is reported once and
    // leaves the data set open, so the readable frames can still be shown.
    static int OpenDataSet(CQtxFile& file, const std::string& path);

protected:
    // Pens, brushes and fonts go with the window.
    virtual void ReleaseDrawingObjects() {}

private:
    bool IsActiveView() const;
    std::string m_depthReadOut;
};
