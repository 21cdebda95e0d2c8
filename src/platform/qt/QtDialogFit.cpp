// A dialog sized to its contents and kept on the screen: folded, scrolled or wrapped
// when it would not fit, centred over its parent.
#include "platform/qt/QtDialogParts.h"

namespace qt_dialog {

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

} // namespace qt_dialog
