// The backend contract on Qt widgets (offscreen): the user acts on the widgets, and
// the screen is what they show.
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDialogView.h"
#include "platform/qt/QtFrame.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtPrintJob.h"
#include "support/BackendContract.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>

namespace {

QString ToQt(const std::string& s) { return QString::fromStdString(s); }
std::string FromQt(const QString& s) { return s.toStdString(); }

Qt::KeyboardModifiers ModifiersOf(unsigned keys)
{
    Qt::KeyboardModifiers modifiers;
    if (keys & MK_SHIFT) modifiers |= Qt::ShiftModifier;
    if (keys & MK_CONTROL) modifiers |= Qt::ControlModifier;
    return modifiers;
}

class QtBackend : public ContractBackend {
public:
    QtBackend()
    {
        EXPECT_TRUE(frame.Create("Contract", nullptr, nullptr));
        frame.Show(SW_SHOWNORMAL);
    }
    ~QtBackend() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void Type(CDialog& d, int id, const std::string& text) override
    {
        QWidget* w = Widget(d, id);
        const QString typed = ToQt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            line->selectAll();
            line->insert(typed);
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
            edit->selectAll();
            edit->insertPlainText(typed);
        } else {
            ADD_FAILURE() << id << " takes no typing";
        }
    }
    void Click(CDialog& d, int id) override
    {
        QWidget* w = Widget(d, id);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->click();
        } else if (w && d.Item(id) && d.Item(id)->kind == ControlKind::OwnerDraw) {
            const QPointF at = w->rect().center();
            QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(w, &press);
        } else {
            ADD_FAILURE() << id << " is no button";
        }
    }
    void SetCheck(CDialog& d, int id, int state) override
    {
        for (int clicks = 0; clicks < 3 && ShownCheck(d, id) != state; ++clicks) Click(d, id);
    }
    std::string ShownText(const CDialog& d, int id) override
    {
        QWidget* w = Widget(d, id);
        if (auto* line = qobject_cast<QLineEdit*>(w)) return FromQt(line->text());
        if (auto* combo = qobject_cast<QComboBox*>(w)) return FromQt(combo->currentText());
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
            return FromQt(edit->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
        return "(no text widget)";
    }
    int ShownCheck(const CDialog& d, int id) override
    {
        QWidget* w = Widget(d, id);
        if (auto* box = qobject_cast<QCheckBox*>(w))
            return box->checkState() == Qt::Checked ? 1 : box->checkState() == Qt::PartiallyChecked ? 2 : 0;
        if (auto* radio = qobject_cast<QRadioButton*>(w)) return radio->isChecked() ? 1 : 0;
        return -1;
    }
    std::string ShownCaption(const CDialog& d) override
    {
        return QtDialogWindow(d) ? FromQt(QtDialogWindow(d)->windowTitle()) : std::string();
    }
    void Settle() override { QApplication::processEvents(); }
    Rect PrimaryArea() override
    {
        // The inside of a window whose frame fills the free area.
        const QRect r = QGuiApplication::primaryScreen()->availableGeometry().marginsRemoved(frame.FrameMargins());
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    void ResizeClient(CWnd& window, int cx, int cy) override
    {
        auto* view = dynamic_cast<QtChildView*>(window.Impl());
        ASSERT_NE(view, nullptr);
        // The frame and the scroll bars around the client stay as they are.
        for (int tries = 0; tries < 3 && view->client->size() != QSize(cx, cy); ++tries) {
            view->sub->resize(view->sub->size() + QSize(cx, cy) - view->client->size());
            QApplication::processEvents();
        }
    }

    std::unique_ptr<IPrintJob> PrintJob(const std::string& path) override
    {
        return CreatePdfPrintJob(path, Host().PrinterPage());
    }
    void ShowDrawn(CDialog& d, int id) override
    {
        QApplication::processEvents();
        if (QWidget* w = Widget(d, id); w && w->isVisible()) w->repaint();
    }
    void ClickLine(CDialog& d, int id, int line, unsigned keys) override
    {
        auto* list = qobject_cast<QListWidget*>(Widget(d, id));
        ASSERT_NE(list, nullptr) << id;
        ASSERT_NE(list->item(line), nullptr) << line;
        list->scrollToItem(list->item(line));
        const QPointF at = list->visualItemRect(list->item(line)).center();
        QWidget* viewport = list->viewport();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, ModifiersOf(keys));
            QApplication::sendEvent(viewport, &event);
        }
        Settle();
    }
    void PressKey(CDialog& d, int id, unsigned key, unsigned keys) override
    {
        QWidget* list = Widget(d, id);
        ASSERT_NE(list, nullptr) << id;
        const int qtKey = key == VK_UP     ? Qt::Key_Up
                          : key == VK_DOWN ? Qt::Key_Down
                          : key == VK_HOME ? Qt::Key_Home
                          : key == VK_END  ? Qt::Key_End
                                           : Qt::Key_Space;
        const QString text = qtKey == Qt::Key_Space ? QStringLiteral(" ") : QString();
        QKeyEvent press(QEvent::KeyPress, qtKey, ModifiersOf(keys), text);
        QApplication::sendEvent(list, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, ModifiersOf(keys), text);
        QApplication::sendEvent(list, &release);
        Settle();
    }
    std::vector<int> ShownSelection(const CDialog& d, int id) override
    {
        std::vector<int> lines;
        if (auto* list = qobject_cast<QListWidget*>(Widget(d, id)))
            for (int k = 0; k < list->count(); ++k)
                if (list->item(k)->isSelected()) lines.push_back(k);
        return lines;
    }
    void ChooseFile(const std::string& path) override
    {
        // The user picks the file in the dialog once it is up.
        auto* user = new QTimer(&m_user);
        QObject::connect(user, &QTimer::timeout, user, [user, path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            user->stop();
            dialog->selectFile(QString::fromStdString(path));
            // The dialog's folder model fills in the background; the whole path typed in the
            // name field does not depend on it, as when a user types it.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QString::fromStdString(path));
            static_cast<QDialog*>(dialog)->accept(); // its own checks of the name run
            user->deleteLater();
        });
        user->start(20);
    }
    std::string ProfileAfterRestart(const std::string& section, const std::string& entry) override
    {
        // A new settings object reads the file as the next start of the program does.
        const QSettings restarted(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Merrowdyne Revezirider"),
                                  QStringLiteral("BronteluxViewer"));
        return FromQt(restarted.value(ToQt(section + "/" + entry)).toString());
    }
    ReadBox ReadMessage(const std::string& text) override
    {
        // The user reads the box once it is up, copies its scrolled text and presses OK.
        ReadBox read;
        auto* user = new QTimer(&m_user);
        QObject::connect(user, &QTimer::timeout, user, [user, &read] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            user->stop();
            read.text = FromQt(box->text());
            if (auto* area = box->findChild<QPlainTextEdit*>()) {
                area->selectAll();
                area->copy();
                read.scrolled = FromQt(QGuiApplication::clipboard()->text());
            }
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            const QRect screen = box->screen()->availableGeometry();
            read.onScreen = ok && ok->isVisible() && screen.contains(box->frameGeometry())
                            && screen.contains(QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size()));
            if (ok) ok->click();
            user->deleteLater();
        });
        user->start(20);
        MessageBox(text, MB_OK | MB_ICONINFORMATION);
        return read;
    }
    bool DocumentKept(const std::string& path) override
    {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly)) return false;
        const QByteArray pdf = file.readAll();
        // Both pages, on turned Letter paper (792 x 612 points).
        return pdf.startsWith("%PDF") && pdf.count("/MediaBox [0 0 792.000000 612.000000]") == 2;
    }

private:
    static QWidget* Widget(const CDialog& d, int id)
    {
        QDialog* view = QtDialogWindow(d);
        return view ? view->findChild<QWidget*>(QString::number(id)) : nullptr;
    }

    QObject m_user; // the user's pending answers
    QtHost host{"Merrowdyne Revezirider", "BronteluxViewer"};
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, BackendContract, QtBackend);
