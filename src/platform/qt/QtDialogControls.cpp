// The widgets of a dialog's controls and the user's actions on them.
#include "platform/qt/QtDialogParts.h"

namespace qt_dialog {

namespace {

QTabBar* MakeTabs(QWidget* parent)
{
    auto* tabs = new QTabBar(parent);
    tabs->setExpanding(false);
    // Every tab stays in sight: the dialog is at least as wide as the strip.
    tabs->setUsesScrollButtons(false);
    // Even without tabs the strip keeps a tab's height.
    tabs->addTab(QStringLiteral("Tab"));
    tabs->setMinimumHeight(tabs->sizeHint().height());
    tabs->removeTab(0);
    return tabs;
}

QTreeWidget* MakeTree(QWidget* parent)
{
    auto* tree = new QTreeWidget(parent);
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

} // namespace

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
    case K::TabControl:
        return MakeTabs(this);
    case K::Tree:
        return MakeTree(this);
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
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i](int index) { Choose(i, index); });
        if (combo->lineEdit())
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [this, i](const QString& text) { Typed(i, FromQt(text)); });
        break;
    }
    case K::ListBox:
    case K::MultiListBox:
        ConnectList(i, static_cast<QListWidget*>(w));
        break;
    case K::TabControl:
        connect(static_cast<QTabBar*>(w), &QTabBar::currentChanged, this, [this, i](int index) { Choose(i, index); });
        break;
    case K::Tree:
        ConnectTree(i, static_cast<QTreeWidget*>(w));
        break;
    }
}

// The user chose line `index` of a list, a combo or a tab: a new choice is told.
void DialogView::Choose(size_t i, int index)
{
    Act([&](CDialog& d) {
        ControlState& c = State(i);
        if (index < 0 || index == c.CurSel()) return;
        c.SetCurSel(index);
        d.Notify(c.id, Notify::SelChange);
    });
}

void DialogView::ConnectList(size_t i, QListWidget* list)
{
    if (State(i).kind == K::ListBox) {
        connect(list, &QListWidget::currentRowChanged, this, [this, i](int row) { Choose(i, row); });
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
}

void DialogView::ConnectTree(size_t i, QTreeWidget* tree)
{
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
}

void DialogView::Typed(size_t i, const std::string& text)
{
    Act([&](CDialog& d) {
        // The widget shows what the control kept, also when a cut text came out unchanged.
        m_views[i].revision = ~uint64_t(0);
        if (State(i).TypeText(text)) d.Notify(State(i).id, Notify::EditChange);
    });
}

} // namespace qt_dialog
