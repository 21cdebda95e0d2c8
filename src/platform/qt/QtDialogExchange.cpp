// The model's control states mirrored into the widgets.
#include "platform/qt/QtDialogParts.h"

#include <QScrollBar>

namespace qt_dialog {

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

namespace {

void ApplyEdit(const ControlState& c, QLineEdit* edit)
{
    const QString text = ToQt(c.Text());
    edit->setReadOnly(c.ReadOnly());
    // A limit never cuts a longer text already there, as the system's edit does not.
    edit->setMaxLength(c.LimitText() > 0 ? std::max(c.LimitText(), int(text.size())) : 32767);
    if (edit->text() != text) edit->setText(text);
}

void ApplyEdit(const ControlState& c, QPlainTextEdit* edit)
{
    edit->setReadOnly(c.ReadOnly());
    const QString text = ToQtLines(c.Text());
    // Only a real change replaces the text: that would move the caret to the start.
    if (edit->toPlainText() != text) edit->setPlainText(text);
}

// A combo's lines, choice and text; the user's own typing keeps its caret.
void ApplyCombo(const ControlState& c, QComboBox* combo)
{
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
}

// A list's lines, selection, caret and top line (scrolled to only when it changed).
void ApplyList(const ControlState& c, QListWidget* list, int& topIndex)
{
    bool same = list->count() == c.Count();
    for (int k = 0; same && k < c.Count(); ++k) same = list->item(k)->text() == ToQt(c.ItemText(k));
    if (!same) {
        list->clear();
        list->addItems(ItemTexts(c));
        topIndex = -1;
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
    if (topIndex != c.TopIndex()) {
        topIndex = c.TopIndex();
        if (QListWidgetItem* top = list->item(c.TopIndex()))
            list->scrollToItem(top, QAbstractItemView::PositionAtTop);
    }
}

void ApplyTabs(const ControlState& c, QTabBar* tabs)
{
    bool same = tabs->count() == c.Count();
    for (int k = 0; same && k < c.Count(); ++k) same = tabs->tabText(k) == ToQt(c.ItemText(k));
    if (!same) {
        while (tabs->count()) tabs->removeTab(tabs->count() - 1);
        for (int k = 0; k < c.Count(); ++k) tabs->addTab(ToQt(c.ItemText(k)));
        // A hidden bar does not tell the layout that its size changed.
        tabs->updateGeometry();
    }
    if (c.CurSel() >= 0 && tabs->currentIndex() != c.CurSel()) tabs->setCurrentIndex(c.CurSel());
}

void ApplyProgress(const ControlState& c, QProgressBar* bar)
{
    const int lo = std::min(c.RangeLower(), c.RangeUpper());
    const int hi = std::max(c.RangeLower(), c.RangeUpper());
    // An empty range would make Qt's bar a busy indicator; the system's stays empty.
    if (lo == hi) {
        bar->setRange(0, 1);
        bar->setValue(0);
        return;
    }
    bar->setRange(lo, hi);
    bar->setInvertedAppearance(c.RangeUpper() < c.RangeLower());
    bar->setValue(c.Pos());
}

// Node texts are read whole: the tree widens to its longest line (as far as the screen
// leaves room), so no text hides behind a sideways scroll bar.
void FitTreeWidth(QTreeWidget* tree)
{
    tree->resizeColumnToContents(0);
    const int wanted = tree->header()->sectionSize(0) + 2 * tree->frameWidth()
                       + tree->verticalScrollBar()->sizeHint().width() + tree->indentation();
    const QScreen* screen = tree->screen() ? tree->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() * 3 / 4 : wanted;
    const int width = std::min(wanted, room);
    if (width > tree->minimumWidth()) tree->setMinimumWidth(width);
}

} // namespace

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
    case K::Edit:
        ApplyEdit(c, static_cast<QLineEdit*>(w));
        break;
    case K::MultiLineEdit:
        ApplyEdit(c, static_cast<QPlainTextEdit*>(w));
        break;
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
    case K::ComboBox:
        ApplyCombo(c, static_cast<QComboBox*>(w));
        break;
    case K::ListBox:
    case K::MultiListBox:
        ApplyList(c, static_cast<QListWidget*>(w), v.topIndex);
        break;
    case K::TabControl:
        ApplyTabs(c, static_cast<QTabBar*>(w));
        break;
    case K::Tree:
        ApplyTree(c, v);
        break;
    case K::ProgressBar:
        ApplyProgress(c, static_cast<QProgressBar*>(w));
        break;
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
    FitTreeWidth(tree); // after the expansion: only shown lines count
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

} // namespace qt_dialog
