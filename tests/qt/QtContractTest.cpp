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
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>

namespace {

QString ToQt(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }
std::string FromQt(const QString& s) { return s.toLatin1().toStdString(); }

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

    QtHost host{"Merrowdyne Revezirider", "BronteluxViewer"};
    QtFrame frame;
    ScopedHost hostScope{&host};
    ScopedFrame frameScope{&frame};
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, BackendContract, QtBackend);
