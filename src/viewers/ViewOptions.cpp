#include "viewers/ViewOptions.h"

#include "viewers/ViewerWnd.h"
#include "platform/Frame.h"
#include "platform/Wnd.h"
#include "settings/DisplayOptions.h"

#include <algorithm>

namespace {

void ResetZoom(DisplayOptionBlock& d) { d.zoomFactor1 = d.zoomFactor2 = d.zoomFactor3 = 1.0f; }

// The active child, unless there is none or it is minimised.
CWnd* ShownActiveChild()
{
    CWnd* child = Frame() ? Frame()->ActiveChild() : nullptr;
    return child && !child->IsIconic() ? child : nullptr;
}

void Repaint(CWnd& child)
{
    if (auto* viewer = dynamic_cast<CViewerWnd*>(&child)) viewer->PrepareRepaint();
    child.Invalidate(true);
    child.UpdateWindow();
    child.SetFocus();
}

} // namespace

uint16_t StartNewViewer(bool resetZoom)
{
    DisplayOptionBlock& d = theApp.m_display;
    d.activeWindowId = ++d.windowCounter;
    d.penColourChanged = 1;
    d.backgroundChanged = 1;
    if (resetZoom) {
        d.zoomLevel = 0;
        ResetZoom(d);
    }
    return d.windowCounter;
}

size_t AddViewOptions(int windowId, uint16_t kind, const int available[kReceivers], CWnd* window)
{
    DisplayOptionBlock& d = theApp.m_display;
    auto record = std::make_unique<CViewOptions>();
    record->m_windowId = uint16_t(windowId);
    record->m_kind = kind;
    record->m_window = window;
    for (int i = 0; i < kReceivers; ++i) {
        d.receiverAvailable[size_t(i)] = available[i] ? 1 : 0;
        record->m_available[i] = uint32_t(available[i]);
        record->m_shown[i] = d.receiverShown[size_t(i)];
    }
    record->m_zoomFactor1 = d.zoomFactor1;
    record->m_zoomFactor2 = d.zoomFactor2;
    record->m_zoomFactor3 = d.zoomFactor3;
    theApp.m_viewOptions.push_back(std::move(record));
    return theApp.m_viewOptions.size() - 1;
}

void RemoveViewOptions(uint16_t windowId)
{
    auto& records = theApp.m_viewOptions;
    const auto it = std::find_if(records.begin(), records.end(), [windowId](const auto& r) { return r->m_windowId == windowId; });
    if (it == records.end()) return;
    records.erase(it);
    ResetZoom(theApp.m_display);
}

const CViewOptions* FindViewOptions(uint16_t windowId)
{
    for (const auto& r : theApp.m_viewOptions)
        if (r->m_windowId == windowId) return r.get();
    return nullptr;
}

void LoadViewOptions()
{
    DisplayOptionBlock& d = theApp.m_display;
    const CViewOptions* r = FindViewOptions(d.activeWindowId);
    if (!r) {
        ResetZoom(d);
        return;
    }
    for (int i = 0; i < kReceivers; ++i) {
        d.receiverAvailable[size_t(i)] = r->m_available[i];
        d.receiverShown[size_t(i)] = r->m_shown[i];
    }
    d.zoomFactor1 = r->m_zoomFactor1;
    d.zoomFactor2 = r->m_zoomFactor2;
    d.zoomFactor3 = r->m_zoomFactor3;
}

void StoreViewOptions()
{
    DisplayOptionBlock& d = theApp.m_display;
    for (auto& r : theApp.m_viewOptions)
        if (r->m_windowId == d.activeWindowId) {
            for (int i = 0; i < kReceivers; ++i) r->m_shown[i] = d.receiverShown[size_t(i)];
            r->m_zoomFactor1 = d.zoomFactor1;
            r->m_zoomFactor2 = d.zoomFactor2;
            r->m_zoomFactor3 = d.zoomFactor3;
        }
    CWnd* child = ShownActiveChild();
    if (!child) return;
    d.redrawRequest = 0;
    d.optionsStored = 1;
    Repaint(*child);
}

void RepaintActiveView()
{
    CWnd* child = ShownActiveChild();
    if (!child) return;
    theApp.m_display.redrawRequest = 0;
    Repaint(*child);
}

int CountShownReceivers()
{
    const auto& shown = theApp.m_display.receiverShown;
    return int(std::count_if(shown.begin(), shown.end(), [](uint32_t v) { return v != 0; }));
}
