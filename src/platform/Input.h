// Input, scrolling and window-state codes the window handlers receive.
#pragma once

// Mouse modifier flags.
enum : unsigned { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10 };

// Virtual keys.
enum : unsigned {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E,
    VK_APPS = 0x5D, VK_F1 = 0x70, VK_F6 = 0x75, VK_F10 = 0x79,
};

// Scroll requests and bars.
enum : int {
    SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};
enum : int { SB_HORZ = 0, SB_VERT = 1 };

// System commands.
enum : unsigned {
    SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030, SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

// Size types of OnSize.
enum : unsigned { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Show commands and placement flags.
enum : unsigned {
    SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3, SW_SHOW = 5, SW_MINIMIZE = 6,
    SW_RESTORE = 9,
};
enum : unsigned { WPF_SETMINPOSITION = 0x1, WPF_RESTORETOMAXIMIZED = 0x2 };

// Child window styles.
enum : unsigned { WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_MAXIMIZE = 0x01000000 };

// Window-class styles.
enum : unsigned { CS_DBLCLKS = 0x8 };

enum class CursorKind { Arrow, Wait, Cross, SizeNS, SizeWE, Custom };

struct ScrollInfo {
    int min = 0;
    int max = 0;
    unsigned page = 0;
    int pos = 0;
    int trackPos = 0; // where the thumb stands; apart from pos only while it is dragged
    bool disableNoScroll = false;

    // The last position: where the last page starts (the maximum with no page),
    // never below the minimum.
    int LastPos() const;
    // More range than one page: the bar can move.
    bool Scrolls() const { return LastPos() > min; }
    // As every bar keeps what it is given: the position inside min..LastPos, the thumb on it.
    ScrollInfo Kept() const;
};
