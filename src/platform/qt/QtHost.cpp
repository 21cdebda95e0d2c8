#include "platform/qt/QtHost.h"

#include "platform/Dialog.h"
#include "platform/Path.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtPrintJob.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

QWidget* DialogParent() { return QApplication::activeWindow(); }

DialogLook LookOf(const HostBase& host)
{
    return {host.DialogBackground(), host.DialogText()};
}

} // namespace

std::string QtFilterFrom(const std::string& filter)
{
    std::string out;
    for (const auto& [description, pattern] : ParseFileFilter(filter)) {
        if (!out.empty()) out += ";;";
        std::string patterns = pattern;
        for (char& c : patterns)
            if (c == ';') c = ' ';
        // Qt takes the patterns from the last parentheses of each entry.
        out += description + " (" + patterns + ")";
    }
    return out;
}

QtHost::QtHost(const std::string& organisation, const std::string& application) : m_application(application)
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
    QMessageBox box(DialogParent());
    box.setWindowTitle(Q(caption.empty() ? DefaultCaption() : caption));
    box.setText(Q(text));
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
    switch (box.exec()) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return DefaultAnswer(type) == IDOK ? IDOK : IDCANCEL;
    }
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
    QString chosen = o.open ? QFileDialog::getOpenFileName(DialogParent(), title, start, filter, nullptr, options)
                            : QFileDialog::getSaveFileName(DialogParent(), title, start, filter, nullptr, options);
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
    return QDesktopServices::openUrl(url);
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

bool QtHost::PrinterSetup()
{
    // Printing writes PDF files; the page is chosen when a job asks for its file.
    MessageBox("Logs are printed to PDF files (A4 pages); the file is chosen when a log is printed.", "",
               MB_OK | MB_ICONINFORMATION);
    return true;
}

std::unique_ptr<IPrintJob> QtHost::CreatePrintJob(const std::string& documentName)
{
    FileDialogOptions o;
    o.open = false;
    o.title = "Print to PDF File";
    o.filter = "PDF files (*.pdf)|*.pdf|All files (*.*)|*.*||";
    o.initialName = documentName + ".pdf";
    o.defaultExt = "pdf";
    o.flags = kHideReadOnly | kOverwritePrompt;
    const FileDialogResult chosen = Host().FileDialog(o);
    if (!chosen.ok) return nullptr;
    return CreatePdfPrintJob(chosen.path);
}
