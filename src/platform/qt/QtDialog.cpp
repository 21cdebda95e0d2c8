#include "platform/qt/QtDialog.h"

#include "platform/qt/QtDialogParts.h"

namespace qt_dialog {

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

bool DialogView::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    // The layout has just measured again: a control shown or filled later may need more.
    if (event->type() == QEvent::LayoutRequest) KeepRoom();
    return handled;
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

} // namespace qt_dialog

using namespace qt_dialog;

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
