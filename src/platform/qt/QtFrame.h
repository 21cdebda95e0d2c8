// The main frame on Qt: a QMainWindow with a QMdiArea, menus per mode, toolbars,
// the status bar's panes, pop-up menus, timers and the MDI children, each painted
// from a backing image.
#pragma once

#include "platform/Frame.h"

#include <QMargins>
#include <QSize>

#include <map>
#include <memory>
#include <vector>

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QLabel;
class QMenu;
class QToolBar;
class QTimer;
class QObject;
class QRect;
class QtChildView;

class QtFrame : public IFrame {
public:
    QtFrame();
    ~QtFrame() override;

    bool Create(const std::string& title, IFrameHandler* handler, IAppHandler* app) override;
    void Destroy() override;
    bool Exists() const override;
    void Show(unsigned showCmd) override;
    void Update() override;
    bool IsIconic() const override;
    bool IsZoomed() const override;
    bool GetPlacement(WindowPlacement& placement) const override;
    void SetPlacement(const WindowPlacement& placement) override;
    bool IsEnabled() const override;
    void Enable(bool enable) override;
    void SetMenu(const Menu& menu) override;
    int MenuId() const override { return m_menuId; }
    void SetAccelerators(const std::vector<Accelerator>& table) override;
    bool CreateToolBar(const ToolBarDef& toolBar) override;
    bool HasToolBar(int id) const override { return m_toolBars.count(id) != 0; }
    void ShowToolBar(int id, bool show) override;
    bool IsToolBarVisible(int id) const override;
    bool CreateStatusBar(const std::vector<int>& paneWidths) override;
    void SetPaneText(int pane, const std::string& text) override;
    std::string PaneText(int pane) const override;
    void ShowStatusBar(bool show) override;
    bool IsStatusBarVisible() const override;
    void TrackPopupMenu(const Menu& menu, Point screen) override;
    Point ClientToScreen(Point client) const override;
    void SetAppTimer(unsigned id, unsigned milliseconds) override;
    void KillAppTimer(unsigned id) override;
    bool CreateChild(CWnd& window, const WindowClass& windowClass, const std::string& caption,
                     unsigned style) override;
    void DestroyChild(CWnd& window) override;
    CWnd* ActiveChild() const override;
    void ActivateChild(CWnd& window) override;
    std::vector<CWnd*> Children() const override;
    void Cascade() override;
    void TileHorizontal() override;
    void TileVertical() override;

    QMainWindow* Window() const;
    // The main window's frame around its inside (nothing until the desktop framed it).
    QMargins FrameMargins() const;
    // Fits the shown window again, with its frame, after a placement set before it
    // was shown; looks for the frame up to `tries` times.
    void RefitToFrame(int tries = 1);
    QMdiArea* MdiArea() const { return m_mdi; }
    QLabel* Pane(int pane) const;
    // Menu bar entries and toolbar buttons take their enable and check states.
    void UpdateCommandStates();
    void SubWindowActivated(QMdiSubWindow* sub);
    bool FilterInput(QObject* watched, void* event); // the application-wide input filter
    bool CloseRequested(); // the close box: true when the frame may close
    IFrameHandler* Handler() const { return m_handler; }
    // The keyboard focus to the active view, so the frame's next activation keeps it active.
    void FocusActiveChild();
    // Pane 0 (the prompts) stretches over what the other panes leave; when that is
    // too little for its text, empty read-out panes make room.
    void FitPanes();
    // A menu or toolbar prompt in pane 0; an empty one (the pointer left the entry)
    // brings back what the program last put there, such as a command's last word.
    void ShowPrompt(const std::string& prompt);

    // The Window menu's list of open views: numbered, the active one checked.
    void ListWindows(QMenu* menu);

private:
    bool m_refitWhenFramed = false;
    bool m_placementAdjusted = false;
    QSize m_placedSize;
    QMenu* BuildMenu(QMenu* menu, const std::vector<MenuItem>& items);
    QtChildView* ViewOf(const CWnd& window) const;
    enum class Arrangement { Cascade, TileHorizontal, TileVertical };
    void Arrange(Arrangement arrangement);
    void Tile(const std::vector<QMdiSubWindow*>& subs, const QRect& area, bool stacked);

    class MainWindow;
    std::unique_ptr<MainWindow> m_window;
    QMdiArea* m_mdi = nullptr;
    int m_menuId = 0;
    std::map<int, QToolBar*> m_toolBars;
    std::vector<QLabel*> m_panes;
    std::string m_restingPrompt; // pane 0's text when no prompt shows
    bool m_prompting = false;
    std::map<unsigned, QTimer*> m_appTimers;
    QTimer* m_idleTimer = nullptr;
    QObject* m_inputFilter = nullptr;
    std::vector<std::unique_ptr<QtChildView>> m_children;
    // Views whose window is gone, deleted from the event loop: one of their own
    // handlers may still be on the call stack.
    std::vector<std::unique_ptr<QtChildView>> m_retired;
    QtChildView* m_active = nullptr;
    bool m_closing = false;
    bool m_destroyed = false;
};
