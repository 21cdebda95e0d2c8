#include "platform/Wnd.h"

#include "platform/Frame.h"
#include "platform/Host.h"
#include "platform/PaintScope.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace {
std::map<std::string, WindowClass>& Classes()
{
    static std::map<std::string, WindowClass> classes;
    return classes;
}
} // namespace

int ScrollInfo::LastPos() const
{
    // In 64 bits: a page near the size of the whole range must not wrap.
    const int64_t last = page > 0 ? int64_t(max) - int64_t(page) + 1 : int64_t(max);
    return int(std::max<int64_t>(min, last));
}

ScrollInfo ScrollInfo::Kept() const
{
    ScrollInfo kept = *this;
    kept.pos = std::clamp(pos, min, LastPos());
    kept.trackPos = kept.pos;
    return kept;
}

std::string RegisterWindowClass(const WindowClass& windowClass)
{
    Classes()[windowClass.name] = windowClass;
    return windowClass.name;
}

const WindowClass* FindWindowClass(const std::string& name)
{
    const auto it = Classes().find(name);
    return it == Classes().end() ? nullptr : &it->second;
}

CWnd::~CWnd()
{
    // A window destroyed with its object: the host must forget it.
    if (m_impl && Frame()) Frame()->DestroyChild(*this);
}

bool CWnd::CreateChild(const std::string& className, const std::string& caption, unsigned style)
{
    IFrame* frame = Frame();
    const WindowClass* windowClass = FindWindowClass(className);
    if (!frame || !windowClass || m_impl) return false;
    return frame->CreateChild(*this, *windowClass, caption, style);
}

void CWnd::DestroyWindow()
{
    if (m_impl && Frame()) Frame()->DestroyChild(*this);
}

void CWnd::Attach(IWindowImpl* impl, const std::string& className, unsigned style)
{
    m_impl = impl;
    m_className = className;
    m_style = style;
}

void CWnd::Detach()
{
    if (!m_impl) return;
    OnDestroy();
    m_impl = nullptr;
    PostNcDestroy();
}

bool CWnd::OnEraseBkgnd(Dc& dc)
{
    const WindowClass* windowClass = FindWindowClass(m_className);
    dc.FillRect(GetClientRect(), windowClass ? windowClass->background : Rgb(255, 255, 255));
    return true;
}

void CWnd::OnSysCommand(unsigned id)
{
    if (!m_impl) return;
    switch (id & 0xFFF0) {
    case SC_CLOSE: OnClose(); break;
    default: break; // minimise, maximise, restore, size and move are the host's to carry out
    }
}

void CWnd::DispatchPaint(Dc& dc, bool erase)
{
    PaintScope scope;
    if (erase) OnEraseBkgnd(dc);
    OnPaint(dc);
}

void CWnd::DispatchDoubleClick(unsigned flags, Point p)
{
    const WindowClass* windowClass = FindWindowClass(m_className);
    if (windowClass && (windowClass->style & CS_DBLCLKS)) OnLButtonDblClk(flags, p);
    else OnLButtonDown(flags, p);
}

Rect CWnd::GetClientRect() const { return m_impl ? m_impl->ClientRect() : Rect{}; }
void CWnd::Invalidate(bool erase)
{
    if (m_impl) m_impl->Invalidate(erase);
}
void CWnd::UpdateWindow()
{
    if (m_impl) m_impl->Update();
}
void CWnd::SetFocus()
{
    if (m_impl) m_impl->SetFocus();
}
bool CWnd::IsIconic() const { return m_impl && m_impl->IsIconic(); }
bool CWnd::IsZoomed() const { return m_impl && m_impl->IsZoomed(); }

void CWnd::SetScrollInfo(int bar, const ScrollInfo& info, bool redraw)
{
    if (m_impl) m_impl->SetScrollInfo(bar, info, redraw);
}

ScrollInfo CWnd::GetScrollInfo(int bar) const { return m_impl ? m_impl->GetScrollInfo(bar) : ScrollInfo{}; }

int CWnd::SetScrollPos(int bar, int pos, bool redraw)
{
    ScrollInfo info = GetScrollInfo(bar);
    const int previous = info.pos;
    info.pos = pos;
    SetScrollInfo(bar, info, redraw);
    return previous;
}

int CWnd::GetScrollPos(int bar) const { return GetScrollInfo(bar).pos; }

void CWnd::SetScrollRange(int bar, int min, int max, bool redraw)
{
    ScrollInfo info = GetScrollInfo(bar);
    info.min = min;
    info.max = max;
    SetScrollInfo(bar, info, redraw);
}

void CWnd::SetCursor(CursorKind cursor)
{
    if (m_impl) m_impl->SetCursor(cursor);
}
void CWnd::SetWindowText(const std::string& caption)
{
    if (m_impl) m_impl->SetCaption(caption);
}
std::string CWnd::GetWindowText() const { return m_impl ? m_impl->Caption() : std::string(); }
std::unique_ptr<Dc> CWnd::GetDC() { return m_impl ? m_impl->BackingDc() : nullptr; }
void CWnd::SetTimer(unsigned id, unsigned milliseconds)
{
    if (m_impl) m_impl->SetTimer(id, milliseconds);
}
void CWnd::KillTimer(unsigned id)
{
    if (m_impl) m_impl->KillTimer(id);
}
Point CWnd::ClientToScreen(Point p) const { return m_impl ? m_impl->ClientToScreen(p) : p; }
