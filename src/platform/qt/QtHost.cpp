#include "platform/qt/QtHost.h"

#include "platform/Dialog.h"
#include "platform/FileChoice.h"
#include "platform/Format.h"
#include "platform/Path.h"
#include "platform/qt/QtChildView.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtDialogView.h"
#include "platform/qt/QtPrintJob.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QStyle>
#include <QTreeView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

QWidget* DialogParent() { return QtDialogParent(); }

DialogLook LookOf(const HostBase& host)
{
    return {host.DialogBackground(), host.DialogText()};
}

// A text too long for a screen, below the box's summary and above its buttons: read-only,
// wrapped, scrolled, selectable and copyable; at most a third of the screen high, so the
// box with its summary and buttons stays on it.
void AddScrolledText(QMessageBox& box, const QString& text)
{
    auto* area = new QPlainTextEdit(text);
    area->setObjectName(QStringLiteral("messageText"));
    area->setReadOnly(true);
    area->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QRect screen = (box.screen() ? box.screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const QFontMetrics metrics(area->font());
    const int frame = 2 * area->frameWidth() + 8;
    area->setMinimumWidth(std::min(metrics.averageCharWidth() * int(kMessageColumns) + frame, screen.width() * 3 / 4));
    area->setFixedHeight(std::min(metrics.lineSpacing() * int(kMessageRows) + frame, screen.height() / 3));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* buttons = box.findChild<QDialogButtonBox*>();
    if (!grid || !buttons || grid->indexOf(buttons) < 0) {
        // A layout of another make: the toolkit's own details area holds the text.
        delete area;
        box.setDetailedText(text);
        return;
    }
    // The buttons move down a row and the text takes their place, across the box.
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(buttons), &row, &column, &rows, &columns);
    grid->removeWidget(buttons);
    grid->addWidget(area, row, 0, 1, grid->columnCount());
    grid->addWidget(buttons, row + 1, column, rows, columns);
}

} // namespace

namespace {

// A trailing "(...)" of a description that lists patterns ("Qtx Data (*.qtx)",
// "Lis file (.lis;)") goes: Qt would read it as the patterns, and the entry shows
// the real ones once.
std::string WithoutPatternNote(std::string description)
{
    while (!description.empty() && description.back() == ' ') description.pop_back();
    if (description.empty() || description.back() != ')') return description;
    const size_t open = description.rfind('(');
    if (open == std::string::npos) return description;
    const std::string inside = description.substr(open + 1, description.size() - open - 2);
    if (inside.find_first_of("*.") == std::string::npos) return description;
    description.resize(open);
    while (!description.empty() && description.back() == ' ') description.pop_back();
    return description;
}

// The toolkit's own file dialog (where the desktop offers none) opens too narrow for
// its columns: size, type and date are cut. Each column gets the width of a long
// value of its kind, the name the rest, and the dialog the width they all need.
void FitFileDialogColumns(QFileDialog& dialog)
{
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!tree || tree->model() == nullptr || tree->model()->columnCount() < 4) return;
    QHeaderView* header = tree->header();
    const QFontMetrics metrics(tree->font());
    const int padding = 2 * tree->style()->pixelMetric(QStyle::PM_HeaderMargin) + 24; // sort arrow
    const QLocale locale = QLocale::system();
    const QString samples[] = {
        QString(),                                                            // the name takes the rest
        locale.formattedDataSize(qint64(999) * 1024 * 1024 * 1024 + 999),     // "1000.0 GiB"
        QStringLiteral("segy File Folder"),
        locale.toString(QDateTime(QDate(2028, 12, 28), QTime(23, 58, 59)), QLocale::ShortFormat),
    };
    constexpr int kNameWidth = 260;
    int columns = kNameWidth;
    for (int c = 1; c < 4; ++c) {
        const int width = std::max(header->sectionSize(c), metrics.horizontalAdvance(samples[c]) + padding);
        header->resizeSection(c, width);
        columns += width;
    }
    header->resizeSection(0, std::max(header->sectionSize(0), kNameWidth));
    // The places list and the frame around the list take what they took before.
    const int around = std::max(0, dialog.width() - tree->viewport()->width());
    QSize size(columns + around, std::max(dialog.height(), 420));
    if (const QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size());
    if (size.width() > dialog.width() || size.height() > dialog.height()) dialog.resize(size.expandedTo(dialog.size()));
}

// Fits the columns when the dialog is first shown: only then are its parts laid out,
// and it is not yet on the screen.
class FileDialogFitter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !m_done) {
            m_done = true;
            if (auto* dialog = qobject_cast<QFileDialog*>(watched)) FitFileDialogColumns(*dialog);
        }
        return false;
    }

private:
    bool m_done = false;
};

// Open or save dialog; the chosen path, or empty when cancelled.
QString RunFileDialog(bool open, const QString& title, const QString& start, const QString& filter,
                      QFileDialog::Options options)
{
    QFileDialog dialog(DialogParent(), title, start, filter);
    dialog.setOptions(options);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    FileDialogFitter fitter;
    dialog.installEventFilter(&fitter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
}

} // namespace

std::string QtFilterFrom(const std::string& filter)
{
    std::string out;
    for (const auto& [description, pattern] : ParseFileFilter(filter)) {
        // Patterns are separated by ';' (spaces tolerated); "*.*" is every file,
        // which Qt writes "*" (its "*.*" wants a dot in the name).
        std::string joined, current;
        for (size_t i = 0; i <= pattern.size(); ++i) {
            const char c = i < pattern.size() ? pattern[i] : ';';
            if (c != ';' && c != ' ' && c != '\t') {
                current += c;
                continue;
            }
            if (current == "*.*") current.resize(1); // "*"
            if (!current.empty()) {
                if (!joined.empty()) joined += ' ';
                joined += current;
            }
            current.clear();
        }
        if (joined.empty()) joined.push_back('*');
        std::string label = WithoutPatternNote(description);
        if (label.empty()) label = joined;
        if (!out.empty()) out += ";;";
        out += label;
        out += " (";
        out += joined;
        out += ')';
    }
    return out;
}

QtHost::QtHost(const std::string& organisation, const std::string& application)
    : m_application(application), m_context(std::make_unique<QObject>())
{
    SetProfileOrganisation(organisation);
}

QtHost::~QtHost() = default;

void QtHost::SetProfileOrganisation(const std::string& name)
{
    HostBase::SetProfileOrganisation(name);
    m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, Q(name), Q(m_application));
}

std::string QtHost::SettingsPath() const { return S(m_settings->fileName()); }

int QtHost::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    // Asked from inside a view's paint event: the box's own loop would paint again.
    if (QtChildView::InPaintEvent()) {
        ShowHeldMessage(text, caption, type);
        return DefaultAnswer(type);
    }
    QMessageBox box(DialogParent());
    // A message may quote a data file's 8-bit text (a mnemonic) beside a path.
    const MessageLayout layout = LayOutMessage(text);
    box.setWindowTitle(Q(ScreenText(caption.empty() ? DefaultCaption() : caption)));
    box.setText(Q(ScreenText(layout.summary)));
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MB_YESNOCANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    if (!layout.scrolled.empty()) AddScrolledText(box, Q(ScreenText(layout.scrolled)));
    switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return DefaultAnswer(type) == IDOK ? IDOK : IDCANCEL;
    }
}

void QtHost::ShowHeldMessage(const std::string& text, const std::string& caption, unsigned type)
{
    m_held.push_back({text, caption, type});
    if (m_heldScheduled) return;
    m_heldScheduled = true;
    QTimer::singleShot(0, m_context.get(), [this] { ShowHeldMessages(); });
}

void QtHost::ShowHeldMessages()
{
    // Boxes held while this one is up join the queue and follow it.
    while (!m_held.empty()) {
        const HeldMessage m = m_held.front();
        m_held.pop_front();
        MessageBox(m.text, m.caption, m.type);
    }
    m_heldScheduled = false;
}

FileDialogResult QtHost::FileDialog(const FileDialogOptions& o)
{
    const QString title = Q(o.title.empty() ? (o.open ? "Open" : "Save As") : o.title);
    QString start = Q(o.initialName);
    if (!o.initialName.empty() && FolderOf(o.initialName).empty()) start = Q(JoinPath(CurrentDirectory(), o.initialName));
    const QString filter = Q(QtFilterFrom(o.filter));
    QFileDialog::Options options;
    // Save dialogs here never ask before replacing, unless the caller asks for it.
    if (!o.open && !(o.flags & kOverwritePrompt)) options |= QFileDialog::DontConfirmOverwrite;
    const QString chosen = RunFileDialog(o.open, title, start, filter, options);
    if (chosen.isEmpty()) return {};
    return MakeFileDialogResult(S(chosen), o.open ? std::string() : o.defaultExt);
}

bool QtHost::ChooseFolder(const std::string& title, std::string& folder)
{
    const QString chosen = QFileDialog::getExistingDirectory(DialogParent(), Q(title), Q(folder));
    if (chosen.isEmpty()) return false;
    folder = S(chosen);
    return true;
}

bool QtHost::ShellOpen(const std::string& target)
{
    const QString t = Q(target);
    const QUrl url = t.contains("://") ? QUrl(t) : QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath());
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (QDesktopServices::openUrl(url)) return true;
        ReportShellFailure(target);
        return false;
    }
    // The opener's exit status says whether any program took the address, but it
    // may also run as long as the program it started. A small shell waits up to
    // five seconds for it and leaves it running past that, so the program it
    // started never dies with this one.
    static const QString script = QStringLiteral(
        "\"$0\" \"$1\" >/dev/null 2>&1 & p=$!; i=0; "
        "while kill -0 $p 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i+1)); done; "
        "kill -0 $p 2>/dev/null && exit 0; wait $p");
    auto* process = new QProcess(m_context.get());
    QObject::connect(process, &QProcess::finished, process, [this, process, target](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0) ReportShellFailure(target);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [this, process, target](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        ReportShellFailure(target);
        process->deleteLater();
    });
    process->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, opener, url.toString()});
    return true;
}

void QtHost::ReportShellFailure(const std::string& target)
{
    MessageBox("No program of this desktop could open :\n" + target, "", MB_OK | MB_ICONEXCLAMATION);
}

std::string QtHost::GetProfileString(const std::string& section, const std::string& entry,
                                     const std::string& defaultValue)
{
    return S(m_settings->value(Q(section + "/" + entry), Q(defaultValue)).toString());
}

bool QtHost::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value)
{
    m_settings->setValue(Q(section + "/" + entry), Q(value));
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

void QtHost::PumpEvents() { QApplication::processEvents(QEventLoop::AllEvents, 20); }

int QtHost::RunModal(CDialog& dialog)
{
    dialog.InitDialog(true);
    if (dialog.Ended()) return dialog.EndCode();
    return RunQtDialogModal(dialog, LookOf(*this));
}

bool QtHost::CreateModeless(CDialog& dialog)
{
    dialog.InitDialog(false);
    return ShowQtDialogModeless(dialog, LookOf(*this));
}

void QtHost::DestroyModeless(CDialog& dialog) { DestroyQtDialog(dialog); }

void QtHost::DialogChanged(CDialog& dialog) { SyncQtDialog(dialog); }

std::unique_ptr<IPrintJob> QtHost::CreatePrintJob(const std::string& documentName)
{
    FileDialogOptions o;
    o.open = false;
    o.title = "Print to PDF File";
    o.filter = "PDF files (*.pdf)|*.pdf|All files (*.*)|*.*||";
    o.initialName = documentName + ".pdf";
    o.defaultExt = "pdf";
    o.flags = kHideReadOnly | kOverwritePrompt;
    const FileDialogResult chosen = ChooseFile(o);
    if (!chosen.ok) return nullptr;
    return CreatePdfPrintJob(chosen.path, PrinterPage());
}
