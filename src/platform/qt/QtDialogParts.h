// Private to the Qt backend's dialog files: the window that shows a live dialog, the
// widgets it makes for the controls the platform does not find in Qt, and the small
// conversions they share. QtDialog.cpp holds the window's life and events; the controls,
// their layout, the data exchange with the model and the fitting to the screen each
// have a file of their own.
#pragma once

#include "platform/Dialog.h"
#include "platform/qt/QtDialog.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtDialogView.h"
#include "platform/qt/QtFrame.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QListWidget>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QSlider>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QStyle>
#include <QTabBar>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

namespace qt_dialog {

using K = ControlKind;

// Texts are UTF-8 bytes, as paths and typing are; a file's 8-bit text (a mnemonic,
// a history) shows as the Latin-1 it is.
inline QString ToQt(const std::string& s) { return QString::fromStdString(ScreenText(s)); }

inline std::string FromQt(const QString& s) { return s.toStdString(); }

// A list's style says how a click selects: a single-selection list takes the line; a
// multiple-selection one toggles it; an extended one replaces the selection unless
// Ctrl or Shift is held.
inline QAbstractItemView::SelectionMode SelectionModeOf(const ControlState& c)
{
    if (c.kind == K::ListBox) return QAbstractItemView::SingleSelection;
    return (c.style & kExtendedSel) ? QAbstractItemView::ExtendedSelection : QAbstractItemView::MultiSelection;
}

// The model keeps "\r\n" line ends; Qt's widgets use "\n".
inline QString ToQtLines(const std::string& s)
{
    QString q = ToQt(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return q;
}

inline std::string FromQtLines(const QString& q)
{
    QString s = q;
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(s);
}

// A label without a buddy shows its '&' prefixes literally; drop them as a static control does.
inline QString LabelText(const std::string& text, bool hasBuddy)
{
    const QString q = ToQtLines(text);
    if (hasBuddy) return q;
    QString out;
    out.reserve(q.size());
    for (qsizetype i = 0; i < q.size(); ++i) {
        if (q[i] == QLatin1Char('&') && i + 1 < q.size()) ++i;
        out += q[i];
    }
    return out;
}

inline QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// A picture shows the image the program draws for its resource number; a number
// it draws nothing for shows as a framed square with the number.
inline QPixmap PicturePixmap(const std::string& resource)
{
    constexpr int kPictureSize = 64;
    bool isNumber = false;
    const int id = ToQt(resource).toInt(&isNumber);
    if (isNumber) {
        const QImage drawn = ResourceImage(id, kPictureSize);
        if (!drawn.isNull()) return QPixmap::fromImage(drawn);
    }
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::darkGray, 2));
    painter.drawRect(1, 1, 38, 38);
    painter.setPen(Qt::black);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, ToQt(resource));
    return pixmap;
}

// A tree's small icon: a square whose colour tells the image index apart.
inline QIcon NodeIcon(int image)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(QColor::fromHsv((image * 67) % 360, 150, 200));
    return QIcon(pixmap);
}

inline bool IsField(K kind)
{
    switch (kind) {
    case K::Edit:
    case K::MultiLineEdit:
    case K::DropDownList:
    case K::ComboBox:
    case K::ListBox:
    case K::MultiListBox:
    case K::ProgressBar:
        return true;
    default:
        return false;
    }
}

inline Qt::CheckState ToCheckState(int check)
{
    return check == 1 ? Qt::Checked : check == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

inline bool SameShape(const std::vector<TreeNode>& a, const std::vector<TreeNode>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TreeNode& x, const TreeNode& y) {
        return x.handle == y.handle && x.parent == y.parent && x.image == y.image;
    });
}

template <typename Widget> bool SameItems(const Widget* w, const ControlState& c)
{
    if (w->count() != c.Count()) return false;
    for (int i = 0; i < c.Count(); ++i)
        if (w->itemText(i) != ToQt(c.ItemText(i))) return false;
    return true;
}

inline QStringList ItemTexts(const ControlState& c)
{
    QStringList list;
    for (int i = 0; i < c.Count(); ++i) list << ToQt(c.ItemText(i));
    return list;
}

// A static text. A path is shown elided in the middle when it is longer than the
// room it gets, so a new path never widens the dialog nor narrows the field beside
// it; the whole path is in the tool tip. Its room is what the template gives: a
// static meant for paths has room for a line of ~70 characters, any other the
// width of its template text. A long sentence wraps rather than make the dialog
// wider than the screen. Every static keeps a line's height, so one filled later
// does not make the dialog taller.
class StaticText final : public QLabel {
public:
    StaticText(const ControlTemplate& t, QWidget* parent)
        : QLabel(parent), m_templateText(LabelText(t.text, false)), m_forPaths(t.style & kPathEllipsis)
    {
        setTextFormat(Qt::PlainText);
    }

    void SetFullText(const QString& text)
    {
        if (text == m_full) return;
        if (m_first.isNull()) m_first = text;
        m_full = text;
        constexpr int kLongSentence = 60; // characters
        setWordWrap(!IsPath() && !m_full.contains(QLatin1Char('\n')) && m_full.size() > kLongSentence);
        Refit();
        updateGeometry();
    }

    QSize sizeHint() const override
    {
        const int margins = contentsMargins().left() + contentsMargins().right() + 2 * margin();
        constexpr int kPathLineChars = 70; // what the dialogs' texts of a label and a path are shortened to
        const int pathRoom = m_forPaths ? fontMetrics().averageCharWidth() * kPathLineChars + margins : 0;
        if (!IsPath()) {
            const QSize hint = QLabel::sizeHint();
            // What the label's first text asked for: a path shown later asks for no more,
            // so that the controls beside it stay where they are.
            if (m_full == m_first) m_firstWidth = hint.width();
            return hint.expandedTo(QSize(pathRoom, LineHeight()));
        }
        // One pixel more: glyph advances are fractional.
        const int first = m_firstWidth > 0 ? m_firstWidth : fontMetrics().horizontalAdvance(m_templateText) + margins + 1;
        return {std::max(first, pathRoom), LineHeight()};
    }
    QSize minimumSizeHint() const override
    {
        if (!IsPath()) return QLabel::minimumSizeHint().expandedTo(QSize(0, LineHeight()));
        return {std::min(sizeHint().width(), fontMetrics().averageCharWidth() * 12), LineHeight()};
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        Refit();
    }
    void showEvent(QShowEvent* event) override
    {
        QLabel::showEvent(event);
        Refit();
    }

private:
    bool IsPath() const
    {
        return !m_full.contains(QLatin1Char('\n')) && (m_full.contains(QLatin1Char('/')) || m_full.contains(QLatin1Char('\\')));
    }
    int LineHeight() const { return fontMetrics().height() + contentsMargins().top() + contentsMargins().bottom(); }
    void Refit()
    {
        // Before its first show the label has no width of its own yet.
        QString shown = m_full;
        const int room = contentsRect().width();
        if (IsPath() && isVisible() && fontMetrics().horizontalAdvance(m_full) > room)
            shown = fontMetrics().elidedText(m_full, Qt::ElideMiddle, room);
        if (text() != shown) QLabel::setText(shown);
        const QString tip = shown != m_full ? m_full : QString();
        if (toolTip() != tip) setToolTip(tip);
    }

    QString m_full;
    QString m_first;             // the first text set (the template's)
    mutable int m_firstWidth = 0; // the width it asked for; 0 until measured
    const QString m_templateText; // what the room of a path is measured by
    const bool m_forPaths;
};

// A control the dialog draws: each paint gets a fresh context on the widget, whose
// client area starts at 0,0; a press of the left button is a click.
class OwnerDrawn final : public QWidget {
public:
    OwnerDrawn(CDialog& dialog, int id, std::function<void()> clicked, QWidget* parent)
        : QWidget(parent), m_dialog(&dialog), m_id(id), m_clicked(std::move(clicked))
    {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    void Forget() { m_dialog = nullptr; }
    QSize sizeHint() const override { return {240, 100}; }
    QSize minimumSizeHint() const override { return {120, 60}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_dialog) return;
        QtDc dc(this, DeviceCaps{});
        m_dialog->DrawItem(m_id, dc, {0, 0, width(), height()});
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && isEnabled() && m_clicked) m_clicked();
    }

private:
    CDialog* m_dialog;
    int m_id;
    std::function<void()> m_clicked;
};

inline QWidget* DialogParent() { return QtDialogParent(); }

// One live dialog on screen. It owns the widgets; the CDialog owns the truth.
class DialogView final : public QDialog {
public:
    DialogView(CDialog& dialog, const DialogLook& look, QWidget* parent);
    ~DialogView() override;

    // Applies every control whose state changed since the last sync.
    void Sync();
    // After any change: closes when the dialog ended, otherwise syncs.
    void Settle();
    // Sizes the window to its contents before the first show.
    void Place();
    // Grows the fixed size only when the controls no longer fit in it at all.
    void KeepRoom();
    // The dialog is going away: nothing may touch it from now on.
    void Detach()
    {
        m_dialog = nullptr;
        for (const View& v : m_views)
            if (auto* drawn = dynamic_cast<OwnerDrawn*>(v.widget)) drawn->Forget();
    }

    // Escape, the close box and QDialog's own rejections all go to the dialog's Cancel.
    void reject() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct View {
        QWidget* widget = nullptr;
        uint64_t revision = ~uint64_t(0);
        int visible = -1;
        int topIndex = -1;
        int firstVisible = -1;
        std::vector<TreeNode> nodes;
        std::map<int, QTreeWidgetItem*> items; // tree items by node handle
    };

    QWidget* Make(size_t index);
    void Connect(size_t index);
    void ConnectList(size_t index, QListWidget* list);
    void ConnectTree(size_t index, QTreeWidget* tree);
    void Choose(size_t index, int line); // a list's, combo's or tab's new choice
    void Typed(size_t index, const std::string& text); // the user's typing, kept as the control's rules allow
    void LayOut(int container, QBoxLayout* box);
    void Attach(int container, QBoxLayout* box, QGridLayout* grid, QHBoxLayout* buttons, int rows);
    void FoldWhenTooTall();
    void Scroll();
    void WrapButtons(int width);
    QSize Room() const;
    void Apply(const ControlState& c, View& v);
    void ApplyTree(const ControlState& c, View& v);
    void ApplyFocus();
    void Centre();
    void FitTitle(const QString& title);
    void Finish();
    int IndexOf(const QWidget* w) const;
    ControlState& State(size_t index) { return m_dialog->Controls()[index]; }

    // Runs a user action against the model, then mirrors the result or closes.
    template <typename F> void Act(F&& action)
    {
        if (!m_dialog || m_syncing || m_closing) return;
        action(*m_dialog);
        Settle();
    }

    CDialog* m_dialog;
    std::vector<View> m_views;  // parallel to the dialog's controls
    std::vector<int> m_container; // index of each control's group box, -1 the dialog itself
    std::map<const QWidget*, size_t> m_index;
    std::map<int, QIcon> m_icons;
    bool m_syncing = false;
    bool m_closing = false;
    bool m_centered = false;
    QPoint m_centredAt; // where centring put it
    int m_focusApplied = 0;
    bool m_frameless = false;
    QSpacerItem* m_titleSpace = nullptr; // keeps the dialog as wide as its title
    QWidget* m_body = nullptr;           // every control but the dialog's own row of buttons
    QGridLayout* m_rows = nullptr;       // the body's rows
    std::vector<bool> m_glued;           // a body row that must stay above the next one
    QScrollArea* m_scroll = nullptr;     // holds the body when it does not fit on the screen
    QBoxLayout* m_buttons = nullptr;     // the dialog's own row of buttons
    QMetaObject::Connection m_focusConnection;
};

inline DialogView* ViewOf(const CDialog& dialog)
{
    return static_cast<DialogView*>(static_cast<QDialog*>(dialog.m_hostView));
}

} // namespace qt_dialog
