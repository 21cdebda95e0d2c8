// A dialog's controls laid out by their group boxes: no pixel layout.
#include "platform/qt/QtDialogParts.h"

namespace qt_dialog {

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
    Attach(container, box, grid, anyButton ? buttons : nullptr, row);
    if (!anyButton) delete buttons;
}

// A container's rows and buttons into its box; the dialog's own become the body and the
// button row. `buttons` is nullptr when it has none.
void DialogView::Attach(int container, QBoxLayout* box, QGridLayout* grid, QHBoxLayout* buttons, int rows)
{
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
        m_glued.resize(size_t(rows));
    } else {
        box->addLayout(grid);
    }
    if (buttons) {
        if (container < 0) buttons->insertStretch(0, 1);
        else buttons->addStretch(1);
        box->addLayout(buttons);
        if (container < 0) m_buttons = buttons;
    }
}

} // namespace qt_dialog
