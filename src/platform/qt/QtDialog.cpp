#include "platform/qt/QtDialog.h"

#include "platform/Dialog.h"
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

namespace {

using K = ControlKind;

// Texts are UTF-8 bytes, as paths and typing are; a file's 8-bit text (a mnemonic,
// a history) shows as the Latin-1 it is.
QString ToQt(const std::string& s) { return QString::fromStdString(ScreenText(s)); }

std::string FromQt(const QString& s) { return s.toStdString(); }

// A list's style says how a click selects: a single-selection list takes the line; a
// multiple-selection one toggles it; an extended one replaces the selection unless
// Ctrl or Shift is held.
QAbstractItemView::SelectionMode SelectionModeOf(const ControlState& c)
{
    if (c.kind == K::ListBox) return QAbstractItemView::SingleSelection;
    return (c.style & kExtendedSel) ? QAbstractItemView::ExtendedSelection : QAbstractItemView::MultiSelection;
}

// The model keeps "\r\n" line ends; Qt's widgets use "\n".
QString ToQtLines(const std::string& s)
{
    QString q = ToQt(s);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return q;
}

std::string FromQtLines(const QString& q)
{
    QString s = q;
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(s);
}

// A label without a buddy shows its '&' prefixes literally; drop them as a static control does.
QString LabelText(const std::string& text, bool hasBuddy)
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

QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// A picture shows the image the program draws for its resource number; a number
// it draws nothing for shows as a framed square with the number.
QPixmap PicturePixmap(const std::string& resource)
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
QIcon NodeIcon(int image)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(QColor::fromHsv((image * 67) % 360, 150, 200));
    return QIcon(pixmap);
}

bool IsField(K kind)
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

Qt::CheckState ToCheckState(int check)
{
    return check == 1 ? Qt::Checked : check == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

bool SameShape(const std::vector<TreeNode>& a, const std::vector<TreeNode>& b)
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

QStringList ItemTexts(const ControlState& c)
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
        if (!IsPath()) return QLabel::sizeHint().expandedTo(QSize(pathRoom, LineHeight()));
        // One pixel more: glyph advances are fractional.
        return {std::max(fontMetrics().horizontalAdvance(m_templateText) + margins + 1, pathRoom), LineHeight()};
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

QWidget* DialogParent() { return QtDialogParent(); }

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
    void Typed(size_t index, const std::string& text); // the user's typing, kept as the control's rules allow
    void LayOut(int container, QBoxLayout* box);
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

DialogView* ViewOf(const CDialog& dialog)
{
    return static_cast<DialogView*>(static_cast<QDialog*>(dialog.m_hostView));
}

DialogView::DialogView(CDialog& dialog, const DialogLook& look, QWidget* parent) : QDialog(parent), m_dialog(&dialog)
{
    setObjectName(QStringLiteral("dialog%1").arg(dialog.TemplateId()));
    m_frameless = dialog.Template().style & kDialogNoCaption;
    if (m_frameless) setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, FromColorRef(look.background));
    palette.setColor(QPalette::WindowText, FromColorRef(look.text));
    setPalette(palette);

    const auto& controls = dialog.Controls();
    const size_t n = controls.size();
    m_views.resize(n);
    m_container.assign(n, -1);
    for (size_t i = 0; i < n; ++i) {
        if (!controls[i].group) continue;
        for (size_t g = 0; g < n; ++g)
            if (g != i && controls[g].kind == K::GroupBox && controls[g].id == controls[i].group) {
                m_container[i] = int(g);
                break;
            }
    }
    // Group boxes naming each other would hide both: break any loop at the dialog.
    for (size_t i = 0; i < n; ++i) {
        int at = m_container[i];
        for (size_t steps = 0; at >= 0 && steps <= n; ++steps) at = m_container[size_t(at)];
        if (at >= 0) m_container[i] = -1;
    }
    for (size_t i = 0; i < n; ++i) {
        m_views[i].widget = Make(i);
        m_views[i].widget->setObjectName(QString::number(controls[i].id));
        m_index[m_views[i].widget] = i;
    }
    auto* root = new QVBoxLayout(this);
    // The dialog's size is fixed in Place: no layout here stretches to a larger one.
    root->setSizeConstraint(QLayout::SetNoConstraint);
    setSizeGripEnabled(false);
    LayOut(-1, root);
    m_titleSpace = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    root->addSpacerItem(m_titleSpace);
    for (size_t i = 0; i < n; ++i) Connect(i);

    // The model's focus follows the user's, so a later SetFocus to a control is noticed.
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!m_dialog || m_syncing || !now) return;
        const int index = IndexOf(now);
        if (index < 0) return;
        m_focusApplied = State(size_t(index)).id;
        m_dialog->SetFocus(m_focusApplied);
    });
}

DialogView::~DialogView()
{
    // Deleted with its parent window while the dialog lives on: forget the widget.
    if (m_dialog && m_dialog->m_hostView == static_cast<QDialog*>(this)) m_dialog->m_hostView = nullptr;
    Detach();
    // Children die after this destructor and send signals (focus, current item) as they go.
    disconnect(m_focusConnection);
    for (const View& v : m_views) v.widget->disconnect(this);
}

QWidget* DialogView::Make(size_t index)
{
    const ControlState& c = State(index);
    switch (c.kind) {
    case K::Static:
    {
        const auto& templates = m_dialog->Template().controls;
        return new StaticText(index < templates.size() ? templates[index] : ControlTemplate{}, this);
    }
    case K::Picture: {
        auto* label = new QLabel(this);
        label->setPixmap(PicturePixmap(c.Text()));
        return label;
    }
    case K::GroupBox:
        return new QGroupBox(this);
    case K::Edit:
        return new QLineEdit(this);
    case K::MultiLineEdit: {
        auto* edit = new QPlainTextEdit(this);
        edit->setTabChangesFocus(true);
        // Texts such as histories and reminders read best with room for a line of ~70 characters.
        edit->setMinimumSize(480, 300);
        return edit;
    }
    case K::Button: {
        auto* button = new QPushButton(this);
        // Enter goes through the dialog's PressEnter, which respects a disabled default button.
        button->setAutoDefault(false);
        button->setDefault(c.style & kDefaultButton);
        return button;
    }
    case K::CheckBox: {
        auto* box = new QCheckBox(this);
        box->setTristate(c.style & kThreeState);
        return box;
    }
    case K::RadioButton: {
        auto* radio = new QRadioButton(this);
        radio->setAutoExclusive(false); // the model decides which one of a set is checked
        return radio;
    }
    case K::DropDownList:
    case K::ComboBox: {
        auto* combo = new QComboBox(this);
        if (c.kind == K::ComboBox) {
            combo->setEditable(true);
            // No completion or insertion of typed texts: the item list is the program's.
            combo->setCompleter(nullptr);
            combo->setInsertPolicy(QComboBox::NoInsert);
        }
        return combo;
    }
    case K::ListBox:
    case K::MultiListBox: {
        auto* list = new QListWidget(this);
        list->setSelectionMode(SelectionModeOf(c));
        list->setUniformItemSizes(true);
        return list;
    }
    case K::TabControl: {
        auto* tabs = new QTabBar(this);
        tabs->setExpanding(false);
        // Every tab stays in sight: the dialog is at least as wide as the strip.
        tabs->setUsesScrollButtons(false);
        // Even without tabs the strip keeps a tab's height.
        tabs->addTab(QStringLiteral("Tab"));
        tabs->setMinimumHeight(tabs->sizeHint().height());
        tabs->removeTab(0);
        return tabs;
    }
    case K::Tree: {
        auto* tree = new QTreeWidget(this);
        tree->setHeaderHidden(true);
        tree->setColumnCount(1);
        tree->setSelectionMode(QAbstractItemView::SingleSelection);
        // Node lines are read whole: wide enough for a usual line, and a longer one
        // scrolls sideways rather than losing its end.
        tree->setMinimumWidth(tree->fontMetrics().averageCharWidth() * 56);
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree->header()->setStretchLastSection(false);
        return tree;
    }
    case K::ProgressBar: {
        auto* bar = new QProgressBar(this);
        bar->setTextVisible(false);
        return bar;
    }
    case K::Trackbar:
        return new QSlider(Qt::Horizontal, this);
    case K::OwnerDraw: {
        const int id = c.id;
        return new OwnerDrawn(*m_dialog, id, [this, id] { Act([id](CDialog& d) { d.Notify(id, Notify::Clicked); }); },
                              this);
    }
    }
    return new QWidget(this);
}

void DialogView::LayOut(int container, QBoxLayout* box)
{
    const size_t n = m_views.size();
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    // A long run of edits with short labels (numbered entries) goes two to a row, down
    // the left pair of columns and on down the right: one per row would waste the width.
    constexpr size_t kLongRun = 8;
    constexpr qsizetype kShortLabel = 5; // characters
    const auto shortPairsFrom = [&](size_t i) {
        size_t pairs = 0;
        for (; i + 1 < n && m_container[i] == container && m_container[i + 1] == container; i += 2, ++pairs)
            if (State(i).kind != K::Static || State(i + 1).kind != K::Edit
                || ToQt(State(i).Text()).trimmed().size() > kShortLabel)
                break;
        return pairs;
    };
    bool paired = false;
    for (size_t i = 0; i < n && !paired; ++i) paired = shortPairsFrom(i) >= kLongRun;
    const int wide = paired ? 4 : 2; // columns a whole row spans
    if (paired) grid->setColumnStretch(3, 1);
    int row = 0;
    bool anyButton = false;
    for (size_t i = 0; i < n; ++i) {
        if (m_container[i] != container) continue;
        const ControlState& c = State(i);
        QWidget* w = m_views[i].widget;
        if (c.kind == K::Button) {
            buttons->addWidget(w);
            anyButton = true;
            continue;
        }
        if (const size_t pairs = shortPairsFrom(i); pairs >= kLongRun) {
            const size_t down = (pairs + 1) / 2;
            for (size_t k = 0; k < pairs; ++k, i += 2) {
                auto* label = static_cast<QLabel*>(m_views[i].widget);
                label->setBuddy(m_views[i + 1].widget);
                const int at = row + int(k % down), column = 2 * int(k / down);
                grid->addWidget(label, at, column, Qt::AlignVCenter | Qt::AlignLeft);
                grid->addWidget(m_views[i + 1].widget, at, column + 1);
            }
            row += int(down);
            --i;
            continue;
        }
        if (c.kind == K::Static && i + 1 < n && m_container[i + 1] == container && IsField(State(i + 1).kind)) {
            auto* label = static_cast<QLabel*>(w);
            QWidget* field = m_views[i + 1].widget;
            label->setBuddy(field);
            const bool tall = State(i + 1).kind != K::Edit && State(i + 1).kind != K::ComboBox
                && State(i + 1).kind != K::DropDownList && State(i + 1).kind != K::ProgressBar;
            if (tall) {
                // Above a list, so a long label (a file's path) takes none of the list's width.
                if (container < 0) {
                    m_glued.resize(size_t(row) + 1);
                    m_glued[size_t(row)] = true;
                }
                grid->addWidget(label, row++, 0, 1, wide);
                grid->addWidget(field, row++, 0, 1, wide);
            } else {
                grid->addWidget(label, row, 0, Qt::AlignVCenter | Qt::AlignLeft);
                grid->addWidget(field, row++, 1);
            }
            ++i;
            continue;
        }
        if (c.kind == K::GroupBox) LayOut(int(i), new QVBoxLayout(w));
        if (container < 0 && c.kind == K::Static) {
            m_glued.resize(size_t(row) + 1);
            m_glued[size_t(row)] = true; // a line of its own leads what follows it
        }
        grid->addWidget(w, row, 0, 1, wide);
        ++row;
    }
    if (container < 0) {
        // The dialog's own buttons stay outside the body, so a body that has to
        // scroll leaves them in sight.
        m_body = new QWidget(this);
        auto* body = new QVBoxLayout(m_body);
        body->setContentsMargins(0, 0, 0, 0);
        body->addLayout(grid);
        body->addStretch(1);
        box->addWidget(m_body, 1);
        m_rows = grid;
        m_glued.resize(size_t(row));
    } else {
        box->addLayout(grid);
    }
    if (anyButton) {
        if (container < 0) buttons->insertStretch(0, 1);
        else buttons->addStretch(1);
        box->addLayout(buttons);
        if (container < 0) m_buttons = buttons;
    } else {
        delete buttons;
    }
}

void DialogView::Connect(size_t i)
{
    QWidget* w = m_views[i].widget;
    switch (State(i).kind) {
    case K::Static:
    case K::Picture:
    case K::GroupBox:
    case K::ProgressBar:
    case K::OwnerDraw:
        break;
    case K::Trackbar:
        connect(static_cast<QSlider*>(w), &QSlider::valueChanged, this, [this, i](int value) {
            if (m_dialog && !m_syncing && !m_closing) State(i).SetPos(value);
        });
        break;
    case K::Edit:
        connect(static_cast<QLineEdit*>(w), &QLineEdit::textEdited, this,
                [this, i](const QString& text) { Typed(i, FromQt(text)); });
        break;
    case K::MultiLineEdit: {
        auto* edit = static_cast<QPlainTextEdit*>(w);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, i, edit] { Typed(i, FromQtLines(edit->toPlainText())); });
        break;
    }
    case K::Button:
        connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this,
                [this, i] { Act([&](CDialog& d) { d.Notify(State(i).id, Notify::Clicked); }); });
        break;
    case K::CheckBox:
        connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this, [this, i] {
            Act([&](CDialog& d) {
                ControlState& c = State(i);
                // A three-state box goes unchecked, checked, indeterminate, as the system's does.
                const int next = (c.style & kThreeState) ? (c.Check() + 1) % 3 : (c.Check() ? 0 : 1);
                c.SetCheck(next);
                d.Notify(c.id, Notify::Clicked);
            });
        });
        break;
    case K::RadioButton:
        connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this, [this, i] {
            Act([&](CDialog& d) {
                d.CheckRadio(State(i).id);
                d.Notify(State(i).id, Notify::Clicked);
            });
        });
        break;
    case K::DropDownList:
    case K::ComboBox: {
        auto* combo = static_cast<QComboBox*>(w);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i](int index) {
            Act([&](CDialog& d) {
                ControlState& c = State(i);
                if (index < 0 || index == c.CurSel()) return;
                c.SetCurSel(index);
                d.Notify(c.id, Notify::SelChange);
            });
        });
        if (combo->lineEdit())
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [this, i](const QString& text) { Typed(i, FromQt(text)); });
        break;
    }
    case K::ListBox:
    case K::MultiListBox: {
        auto* list = static_cast<QListWidget*>(w);
        if (State(i).kind == K::ListBox) {
            connect(list, &QListWidget::currentRowChanged, this, [this, i](int row) {
                Act([&](CDialog& d) {
                    ControlState& c = State(i);
                    if (row < 0 || row == c.CurSel()) return;
                    c.SetCurSel(row);
                    d.Notify(c.id, Notify::SelChange);
                });
            });
            // A single-selection list always shows its line: Ctrl on it does not clear it.
            connect(list, &QListWidget::itemSelectionChanged, this, [this, i, list] {
                if (!m_dialog || m_syncing || m_closing) return;
                const int row = State(i).CurSel();
                if (row < 0 || !list->item(row) || list->item(row)->isSelected()) return;
                const QSignalBlocker blocker(list);
                list->item(row)->setSelected(true);
            });
        } else {
            connect(list, &QListWidget::itemSelectionChanged, this, [this, i, list] {
                Act([&](CDialog& d) {
                    ControlState& c = State(i);
                    c.SetSel(-1, false);
                    for (int row = 0; row < list->count(); ++row)
                        if (list->item(row)->isSelected()) c.SetSel(row, true);
                    c.SetCaretIndex(list->currentRow());
                    d.Notify(c.id, Notify::SelChange);
                });
            });
            // The caret moves after the selection; it sends nothing of its own.
            connect(list, &QListWidget::currentRowChanged, this, [this, i](int row) {
                if (m_dialog && !m_syncing && !m_closing) State(i).SetCaretIndex(row);
            });
        }
        connect(list, &QListWidget::itemDoubleClicked, this, [this, i, list](QListWidgetItem* item) {
            Act([&](CDialog& d) {
                ControlState& c = State(i);
                const int row = list->row(item);
                if (c.kind == K::ListBox && row >= 0 && row != c.CurSel()) {
                    c.SetCurSel(row);
                    d.Notify(c.id, Notify::SelChange);
                }
                d.Notify(c.id, Notify::DblClick);
            });
        });
        break;
    }
    case K::TabControl:
        connect(static_cast<QTabBar*>(w), &QTabBar::currentChanged, this, [this, i](int index) {
            Act([&](CDialog& d) {
                ControlState& c = State(i);
                if (index < 0 || index == c.CurSel()) return;
                c.SetCurSel(index);
                d.Notify(c.id, Notify::SelChange);
            });
        });
        break;
    case K::Tree: {
        auto* tree = static_cast<QTreeWidget*>(w);
        const auto handleOf = [](const QTreeWidgetItem* item) {
            return item ? item->data(0, Qt::UserRole).toInt() : 0;
        };
        connect(tree, &QTreeWidget::currentItemChanged, this, [this, i, handleOf](QTreeWidgetItem* item) {
            Act([&](CDialog& d) {
                ControlState& c = State(i);
                const int handle = handleOf(item);
                if (handle == c.SelectedNode()) return;
                c.SelectNode(handle);
                d.Notify(c.id, Notify::SelChange);
            });
        });
        connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, i, handleOf](QTreeWidgetItem* item) {
            Act([&](CDialog& d) {
                ControlState& c = State(i);
                const int handle = handleOf(item);
                if (handle && handle != c.SelectedNode()) {
                    c.SelectNode(handle);
                    d.Notify(c.id, Notify::SelChange);
                }
                d.Notify(c.id, Notify::DblClick);
            });
        });
        const auto expanded = [this, i, handleOf](QTreeWidgetItem* item, bool expand) {
            if (m_dialog && !m_syncing && !m_closing) State(i).ExpandNode(handleOf(item), expand);
        };
        connect(tree, &QTreeWidget::itemExpanded, this, [expanded](QTreeWidgetItem* item) { expanded(item, true); });
        connect(tree, &QTreeWidget::itemCollapsed, this, [expanded](QTreeWidgetItem* item) { expanded(item, false); });
        break;
    }
    }
}

void DialogView::Typed(size_t i, const std::string& text)
{
    Act([&](CDialog& d) {
        // The widget shows what the control kept, also when a cut text came out unchanged.
        m_views[i].revision = ~uint64_t(0);
        if (State(i).TypeText(text)) d.Notify(State(i).id, Notify::EditChange);
    });
}

void DialogView::Sync()
{
    if (!m_dialog) return;
    m_syncing = true;
    auto& controls = m_dialog->Controls();
    for (size_t i = 0; i < controls.size() && i < m_views.size(); ++i) {
        if (controls[i].Revision() == m_views[i].revision) continue;
        Apply(controls[i], m_views[i]);
        m_views[i].revision = controls[i].Revision();
    }
    const QString caption = m_dialog->Caption().empty() ? ToQt(DefaultCaption()) : ToQt(m_dialog->Caption());
    if (windowTitle() != caption) {
        setWindowTitle(caption);
        FitTitle(caption);
    }
    ApplyFocus();
    if (m_dialog->Centered() && !m_centered && isVisible()) Centre();
    m_syncing = false;
}

void DialogView::Apply(const ControlState& c, View& v)
{
    QWidget* w = v.widget;
    const QSignalBlocker blocker(w);
    // A disabled group box would disable what it holds; the system's frame only greys.
    if (c.kind != K::GroupBox && w->isEnabled() != c.Enabled()) w->setEnabled(c.Enabled());
    if (v.visible != int(c.Visible())) {
        w->setVisible(c.Visible());
        v.visible = int(c.Visible());
    }
    switch (c.kind) {
    case K::Static: {
        auto* label = static_cast<StaticText*>(w);
        label->SetFullText(LabelText(c.Text(), label->buddy() != nullptr));
        break;
    }
    case K::Picture:
        if (w->property("resource").toString() != ToQt(c.Text())) {
            static_cast<QLabel*>(w)->setPixmap(PicturePixmap(c.Text()));
            w->setProperty("resource", ToQt(c.Text()));
        }
        break;
    case K::GroupBox:
        static_cast<QGroupBox*>(w)->setTitle(ToQt(c.Text()));
        break;
    case K::Edit: {
        auto* edit = static_cast<QLineEdit*>(w);
        const QString text = ToQt(c.Text());
        edit->setReadOnly(c.ReadOnly());
        // A limit never cuts a longer text already there, as the system's edit does not.
        edit->setMaxLength(c.LimitText() > 0 ? std::max(c.LimitText(), int(text.size())) : 32767);
        if (edit->text() != text) edit->setText(text);
        break;
    }
    case K::MultiLineEdit: {
        auto* edit = static_cast<QPlainTextEdit*>(w);
        edit->setReadOnly(c.ReadOnly());
        const QString text = ToQtLines(c.Text());
        // Only a real change replaces the text: that would move the caret to the start.
        if (edit->toPlainText() != text) edit->setPlainText(text);
        break;
    }
    case K::Button:
        static_cast<QPushButton*>(w)->setText(ToQt(c.Text()));
        break;
    case K::CheckBox: {
        auto* box = static_cast<QCheckBox*>(w);
        box->setText(ToQt(c.Text()));
        box->setCheckState(ToCheckState(c.Check()));
        break;
    }
    case K::RadioButton: {
        auto* radio = static_cast<QRadioButton*>(w);
        radio->setText(ToQt(c.Text()));
        radio->setChecked(c.Check() != 0);
        break;
    }
    case K::DropDownList:
    case K::ComboBox: {
        auto* combo = static_cast<QComboBox*>(w);
        QLineEdit* line = combo->lineEdit();
        const QString before = combo->currentText();
        const int caret = line ? line->cursorPosition() : 0;
        if (!SameItems(combo, c)) {
            combo->clear();
            combo->addItems(ItemTexts(c));
        }
        if (combo->currentIndex() != c.CurSel()) combo->setCurrentIndex(c.CurSel());
        if (line) {
            const QString text = ToQt(c.Text());
            if (combo->currentText() != text) combo->setEditText(text);
            // The user's typing comes back here: keep the caret where it was.
            if (combo->currentText() == before) line->setCursorPosition(caret);
        }
        break;
    }
    case K::ListBox:
    case K::MultiListBox: {
        auto* list = static_cast<QListWidget*>(w);
        bool same = list->count() == c.Count();
        for (int k = 0; same && k < c.Count(); ++k) same = list->item(k)->text() == ToQt(c.ItemText(k));
        if (!same) {
            list->clear();
            list->addItems(ItemTexts(c));
            v.topIndex = -1;
        }
        if (c.kind == K::ListBox) {
            if (list->currentRow() != c.CurSel()) list->setCurrentRow(c.CurSel());
            if (c.CurSel() < 0) list->clearSelection();
        } else {
            for (int k = 0; k < c.Count(); ++k)
                if (list->item(k)->isSelected() != c.IsSelected(k)) list->item(k)->setSelected(c.IsSelected(k));
            if (list->currentRow() != c.CaretIndex())
                list->selectionModel()->setCurrentIndex(list->model()->index(c.CaretIndex(), 0),
                                                        QItemSelectionModel::NoUpdate);
        }
        if (v.topIndex != c.TopIndex()) {
            v.topIndex = c.TopIndex();
            if (QListWidgetItem* top = list->item(c.TopIndex()))
                list->scrollToItem(top, QAbstractItemView::PositionAtTop);
        }
        break;
    }
    case K::TabControl: {
        auto* tabs = static_cast<QTabBar*>(w);
        bool same = tabs->count() == c.Count();
        for (int k = 0; same && k < c.Count(); ++k) same = tabs->tabText(k) == ToQt(c.ItemText(k));
        if (!same) {
            while (tabs->count()) tabs->removeTab(tabs->count() - 1);
            for (int k = 0; k < c.Count(); ++k) tabs->addTab(ToQt(c.ItemText(k)));
            // A hidden bar does not tell the layout that its size changed.
            tabs->updateGeometry();
        }
        if (c.CurSel() >= 0 && tabs->currentIndex() != c.CurSel()) tabs->setCurrentIndex(c.CurSel());
        break;
    }
    case K::Tree:
        ApplyTree(c, v);
        break;
    case K::ProgressBar: {
        auto* bar = static_cast<QProgressBar*>(w);
        const int lo = std::min(c.RangeLower(), c.RangeUpper());
        const int hi = std::max(c.RangeLower(), c.RangeUpper());
        // An empty range would make Qt's bar a busy indicator; the system's stays empty.
        if (lo == hi) {
            bar->setRange(0, 1);
            bar->setValue(0);
            break;
        }
        bar->setRange(lo, hi);
        bar->setInvertedAppearance(c.RangeUpper() < c.RangeLower());
        bar->setValue(c.Pos());
        break;
    }
    case K::Trackbar: {
        auto* slider = static_cast<QSlider*>(w);
        slider->setRange(std::min(c.RangeLower(), c.RangeUpper()), std::max(c.RangeLower(), c.RangeUpper()));
        slider->setValue(c.Pos());
        break;
    }
    case K::OwnerDraw:
        w->update(); // the dialog's drawing changed
        break;
    }
}

void DialogView::ApplyTree(const ControlState& c, View& v)
{
    auto* tree = static_cast<QTreeWidget*>(v.widget);
    const auto& nodes = c.Nodes();
    if (!SameShape(nodes, v.nodes)) {
        tree->clear();
        v.items.clear();
        // Parents come before their children: a node is inserted under an existing one.
        for (const TreeNode& node : nodes) {
            const auto parent = v.items.find(node.parent);
            auto* item = parent != v.items.end() ? new QTreeWidgetItem(parent->second) : new QTreeWidgetItem(tree);
            item->setText(0, ToQt(node.text));
            auto icon = m_icons.find(node.image);
            if (icon == m_icons.end()) icon = m_icons.emplace(node.image, NodeIcon(node.image)).first;
            item->setIcon(0, icon->second);
            item->setData(0, Qt::UserRole, node.handle);
            v.items[node.handle] = item;
        }
        v.nodes = nodes;
        v.firstVisible = -1;
    }
    // A node whose text changed is renamed in place: the tree keeps its scrolling.
    for (size_t k = 0; k < nodes.size(); ++k)
        if (nodes[k].text != v.nodes[k].text) {
            v.items[nodes[k].handle]->setText(0, ToQt(nodes[k].text));
            v.nodes[k].text = nodes[k].text;
        }
    for (const TreeNode& node : nodes) {
        QTreeWidgetItem* item = v.items[node.handle];
        if (item->isExpanded() != node.expanded) item->setExpanded(node.expanded);
    }
    const auto selected = v.items.find(c.SelectedNode());
    QTreeWidgetItem* current = selected != v.items.end() ? selected->second : nullptr;
    if (tree->currentItem() != current) tree->setCurrentItem(current);
    if (!current) tree->clearSelection();
    if (v.firstVisible != c.FirstVisibleNode()) {
        v.firstVisible = c.FirstVisibleNode();
        const auto first = v.items.find(c.FirstVisibleNode());
        if (first != v.items.end()) tree->scrollToItem(first->second, QAbstractItemView::PositionAtTop);
    }
}

void DialogView::ApplyFocus()
{
    const int focus = m_dialog->Focus();
    if (focus == m_focusApplied) return;
    m_focusApplied = focus;
    const auto& controls = m_dialog->Controls();
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].id != focus) continue;
        QWidget* w = m_views[i].widget;
        w->setFocus(Qt::OtherFocusReason);
        if (m_scroll && m_body->isAncestorOf(w)) m_scroll->ensureWidgetVisible(w);
        // A field that failed its check comes back with its text selected, ready to retype.
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
        else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) combo->lineEdit()->selectAll();
        return;
    }
}

int DialogView::IndexOf(const QWidget* w) const
{
    for (; w && w != this; w = w->parentWidget()) {
        const auto it = m_index.find(w);
        if (it != m_index.end()) return int(it->second);
    }
    return -1;
}

QSize DialogView::Room() const
{
    // Most of the screen: the window manager's frame and title come on top.
    const QScreen* s = screen();
    return s ? s->availableGeometry().size() * 9 / 10 : QSize(1152, 691);
}

void DialogView::FoldWhenTooTall()
{
    // A dialog of many rows taller than the screen puts its later rows in a second
    // column beside the first, so its buttons stay reachable. Each column keeps its
    // own row heights: a tall group beside a short one leaves no gaps in the short one.
    QGridLayout* grid = m_rows;
    const QScreen* screen = this->screen();
    const int available = screen ? screen->availableGeometry().height() : 900;
    const int rows = grid->rowCount();
    const QSize hint = grid->sizeHint();
    if (rows < 4 || hint.height() <= available * 85 / 100 || 2 * hint.width() + 12 > Room().width()) return;
    std::vector<int> height(size_t(rows), 0);
    for (int k = 0; k < grid->count(); ++k) {
        int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
        grid->getItemPosition(k, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem* item = grid->itemAt(k);
        if (!item->isEmpty()) height[size_t(row)] = std::max(height[size_t(row)], item->sizeHint().height());
    }
    // The split that makes the taller column least tall, never between a label and what
    // it names; half the rows each where that is nearly as short and fits as well, as
    // groups often pair.
    int total = 0;
    for (int h : height) total += h;
    std::vector<int> taller(size_t(rows), 0); // 0: no split before that row
    int shortest = total, above = 0;
    for (int r = 1; r < rows; ++r) {
        above += height[size_t(r - 1)];
        if (r - 1 < int(m_glued.size()) && m_glued[size_t(r - 1)]) continue;
        taller[size_t(r)] = std::max(above, total - above);
        shortest = std::min(shortest, taller[size_t(r)]);
    }
    const int fits = Room().height() - (layout()->totalSizeHint().height() - hint.height());
    const int near = shortest <= fits ? std::min(shortest * 5 / 4, fits) : shortest;
    const int half = (rows + 1) / 2;
    int split = 0;
    for (int r = 1; r < rows; ++r) {
        if (!taller[size_t(r)] || taller[size_t(r)] > near) continue;
        if (!split || std::abs(r - half) < std::abs(split - half)) split = r;
    }
    if (!split) return;
    struct Moved {
        QWidget* widget;
        int row, column, columnSpan;
        Qt::Alignment alignment;
    };
    std::vector<Moved> moved;
    for (int k = 0; k < grid->count(); ++k) {
        int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
        grid->getItemPosition(k, &row, &column, &rowSpan, &columnSpan);
        QLayoutItem* item = grid->itemAt(k);
        if (row >= split && item->widget()) moved.push_back({item->widget(), row - split, column, columnSpan, item->alignment()});
    }
    auto* second = new QGridLayout;
    second->setColumnStretch(1, 1);
    for (const Moved& m : moved) {
        grid->removeWidget(m.widget);
        second->addWidget(m.widget, m.row, m.column, 1, m.columnSpan, m.alignment);
    }
    auto* body = static_cast<QBoxLayout*>(m_body->layout());
    body->removeItem(grid);
    grid->setParent(nullptr);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(12);
    for (QGridLayout* column : {grid, second}) {
        auto* stack = new QVBoxLayout;
        stack->addLayout(column);
        stack->addStretch(1);
        columns->addLayout(stack);
    }
    body->insertLayout(0, columns);
}

void DialogView::Scroll()
{
    if (m_scroll) return;
    auto* root = static_cast<QBoxLayout*>(layout());
    const int at = root->indexOf(m_body);
    root->removeWidget(m_body);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    // The body scrolls at the height it asks for: lists keep their rows rather than
    // shrink to their least.
    m_body->setMinimumHeight(m_body->sizeHint().height());
    m_scroll->setWidget(m_body);
    m_body->show();
    root->insertWidget(at, m_scroll, 1);
}

void DialogView::WrapButtons(int width)
{
    // A row of buttons wider than the screen goes on in further rows, in its order.
    if (!m_buttons || m_buttons->sizeHint().width() <= width) return;
    std::vector<QWidget*> buttons;
    for (int k = 0; k < m_buttons->count(); ++k)
        if (QWidget* w = m_buttons->itemAt(k)->widget()) buttons.push_back(w);
    auto* root = static_cast<QBoxLayout*>(layout());
    const int at = root->indexOf(m_buttons);
    const int spacing = std::max(m_buttons->spacing(), 0);
    const QMargins margins = root->contentsMargins();
    root->removeItem(m_buttons);
    delete m_buttons;
    auto* rows = new QVBoxLayout;
    QHBoxLayout* row = nullptr;
    int used = 0;
    for (QWidget* w : buttons) {
        const int need = w->sizeHint().width();
        if (!row || used + spacing + need > width - margins.left() - margins.right()) {
            row = new QHBoxLayout;
            row->addStretch(1);
            rows->addLayout(row);
            used = 0;
        }
        row->addWidget(w);
        used += (used ? spacing : 0) + need;
    }
    root->insertLayout(at, rows);
    m_buttons = rows;
}

void DialogView::Place()
{
    // Texts came in while the widgets were hidden, which tells no layout: every
    // nested one measures again before the window takes its size.
    const auto measureAgain = [this] {
        for (QLayout* nested : findChildren<QLayout*>()) nested->invalidate();
        m_body->updateGeometry();
    };
    measureAgain();
    ensurePolished();
    FoldWhenTooTall();
    measureAgain(); // rows may have moved
    const QSize room = Room();
    WrapButtons(room.width());
    QLayout* root = layout();
    root->activate();
    // What the controls ask for, up to most of the screen (adjustSize would stop at two
    // thirds of it), and never less than they need.
    QSize wanted = root->totalSizeHint();
    if (root->hasHeightForWidth()) wanted.setHeight(std::max(wanted.height(), root->totalHeightForWidth(wanted.width())));
    QSize need = root->totalMinimumSize();
    if (root->hasHeightForWidth())
        need.setHeight(std::max(need.height(), root->totalHeightForWidth(std::min(wanted.width(), room.width()))));
    if (need.width() > room.width() || need.height() > room.height()) {
        // Too much for the screen even squeezed: the body scrolls, the buttons stay.
        Scroll();
        root->activate();
        // As wide as the controls and a scroll bar: where the width fits, only the height scrolls.
        wanted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
        if (wanted.width() <= room.width()) m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    wanted = wanted.boundedTo(room).expandedTo(root->totalMinimumSize());
    // That size is the dialog's from now on: texts set later fit into it (paths are
    // elided), and the user gets no frame to stretch it with.
    setFixedSize(wanted);
}

void DialogView::KeepRoom()
{
    QLayout* root = layout();
    if (!root || minimumSize() != maximumSize()) return; // not placed yet
    const auto needed = [&] {
        QSize need = root->totalMinimumSize();
        if (root->hasHeightForWidth()) need.setHeight(std::max(need.height(), root->totalHeightForWidth(width())));
        return need;
    };
    QSize need = needed();
    if (need.width() <= width() && need.height() <= height()) return;
    const QSize room = Room().expandedTo(size());
    if (!m_scroll && (need.width() > room.width() || need.height() > room.height())) {
        Scroll();
        root->activate();
        need = needed();
    }
    setFixedSize(size().expandedTo(need.boundedTo(m_scroll ? room : need)));
}

bool DialogView::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    // The layout has just measured again: a control shown or filled later may need more.
    if (event->type() == QEvent::LayoutRequest) KeepRoom();
    return handled;
}

void DialogView::FitTitle(const QString& title)
{
    if (m_frameless || !m_titleSpace) return;
    // The window manager's title bar also holds an icon and three buttons.
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(title) + 5 * (metrics.height() + 6);
    m_titleSpace->changeSize(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    if (layout()) layout()->invalidate();
}

void DialogView::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!m_frameless) return;
    // Without the window manager's frame the window draws a raised edge of its own.
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void DialogView::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only now are the widgets polished and the size final.
    if (m_dialog && m_dialog->Centered() && !m_centered) Centre();
}

void DialogView::Centre()
{
    QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    if (!m_centered && over) over->installEventFilter(this);
    m_centered = true;
    QRect area;
    if (over && over->isVisible()) area = over->frameGeometry();
    else if (const QScreen* s = screen()) area = s->availableGeometry();
    if (area.isEmpty()) return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    // A dialog taller than the room above and below the window's centre still goes
    // wholly on the screen; one taller than the screen keeps its title and top rows.
    if (const QScreen* s = screen()) {
        const QRect room = s->availableGeometry();
        if (frame.right() > room.right()) frame.moveRight(room.right());
        if (frame.bottom() > room.bottom()) frame.moveBottom(room.bottom());
        if (frame.left() < room.left()) frame.moveLeft(room.left());
        if (frame.top() < room.top()) frame.moveTop(room.top());
    }
    move(frame.topLeft());
    m_centredAt = pos();
}

bool DialogView::eventFilter(QObject* watched, QEvent* event)
{
    // The window it is centred on was placed or sized after it (the desktop places
    // the main frame once it is shown): it moves along, unless the user moved it.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible() && pos() == m_centredAt
        && parentWidget() && watched == parentWidget()->window())
        Centre();
    return QDialog::eventFilter(watched, event);
}

void DialogView::Settle()
{
    if (!m_dialog) return;
    if (m_dialog->Ended()) Finish();
    else Sync();
}

void DialogView::Finish()
{
    if (m_closing) return;
    m_closing = true;
    if (m_dialog->IsModal()) done(m_dialog->EndCode());
    else hide(); // an ended modeless dialog waits, hidden, for its owner to destroy it
}

void DialogView::reject()
{
    if (!m_dialog || m_closing) {
        QDialog::reject();
        return;
    }
    Act([](CDialog& d) { d.PressEscape(); });
}

void DialogView::keyPressEvent(QKeyEvent* event)
{
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        Act([](CDialog& d) { d.PressEnter(); });
        return;
    }
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        Act([](CDialog& d) { d.PressEscape(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogView::closeEvent(QCloseEvent* event)
{
    if (!m_dialog || m_closing) {
        event->accept();
        return;
    }
    Act([](CDialog& d) { d.PressEscape(); });
    // A dialog that does not end on Cancel (a progress dialog) stays open.
    if (m_dialog && !m_dialog->Ended()) event->ignore();
    else event->accept();
}

} // namespace

QDialog* QtDialogWindow(const CDialog& dialog) { return static_cast<QDialog*>(dialog.m_hostView); }

QWidget* QtDialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    // Nothing active yet (at start-up the desktop may not have activated the frame):
    // the main frame, so the window is centred on it and stays above it.
    const auto* frame = dynamic_cast<const QtFrame*>(Frame());
    QWidget* main = frame ? frame->Window() : nullptr;
    return main && main->isVisible() ? main : nullptr;
}

int RunQtDialogModal(CDialog& dialog, const DialogLook& look)
{
    if (dialog.Ended()) return dialog.EndCode();
    if (dialog.m_hostView) DestroyQtDialog(dialog);
    QPointer<DialogView> view = new DialogView(dialog, look, DialogParent());
    dialog.m_hostView = static_cast<QDialog*>(view.data());
    view->setModal(true);
    view->Sync();
    view->Place();
    view->exec();
    // Closed some other way (the program quitting, the parent window gone): that is a Cancel.
    if (!dialog.Ended()) dialog.EndDialog(IDCANCEL);
    if (view) {
        view->Detach();
        delete view.data();
    }
    dialog.m_hostView = nullptr;
    return dialog.EndCode();
}

bool ShowQtDialogModeless(CDialog& dialog, const DialogLook& look)
{
    if (dialog.m_hostView) DestroyQtDialog(dialog);
    auto* view = new DialogView(dialog, look, DialogParent());
    dialog.m_hostView = static_cast<QDialog*>(view);
    view->setModal(false);
    view->Sync();
    view->Place();
    if (!dialog.Ended()) view->show();
    return true;
}

void SyncQtDialog(CDialog& dialog)
{
    if (DialogView* view = ViewOf(dialog)) view->Settle();
}

void DestroyQtDialog(CDialog& dialog)
{
    DialogView* view = ViewOf(dialog);
    if (!view) return;
    dialog.m_hostView = nullptr;
    view->Detach();
    view->hide();
    // Never at once: the widget may be on the call stack, in one of its own handlers or
    // as the target of the event being delivered (a key that closes the splash).
    view->deleteLater();
}
