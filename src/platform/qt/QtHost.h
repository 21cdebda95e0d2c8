// The host on Qt: message boxes, file and folder dialogs, the desktop's shell open,
// the settings file, event pumping, dialogs and PDF print jobs.
#pragma once

#include "platform/Host.h"

#include <deque>
#include <memory>
#include <string>

class QObject;
class QSettings;

class QtHost : public HostBase {
public:
    // Settings live in an INI file under the user's config folder, organisation and
    // application as given.
    QtHost(const std::string& organisation, const std::string& application);
    ~QtHost() override;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    // Queued and shown one after the other from the event loop, never inside a
    // paint event (a box's own loop there would repaint and resize the window
    // that is painting).
    void ShowHeldMessage(const std::string& text, const std::string& caption, unsigned type) override;
    FileDialogResult FileDialog(const FileDialogOptions& options) override;
    bool ChooseFolder(const std::string& title, std::string& folder) override;
    bool ShellOpen(const std::string& target) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    void PumpEvents() override;
    int RunModal(CDialog& dialog) override;
    bool CreateModeless(CDialog& dialog) override;
    void DestroyModeless(CDialog& dialog) override;
    void DialogChanged(CDialog& dialog) override;
    std::unique_ptr<IPrintJob> CreatePrintJob(const std::string& documentName) override;
    void SetProfileOrganisation(const std::string& name) override;

    QSettings& Settings() { return *m_settings; }
    std::string SettingsPath() const;

private:
    struct HeldMessage {
        std::string text, caption;
        unsigned type;
    };
    void ShowHeldMessages();
    void ReportShellFailure(const std::string& target);

    std::string m_application;
    std::unique_ptr<QSettings> m_settings;
    std::deque<HeldMessage> m_held;
    bool m_heldScheduled = false;
    std::unique_ptr<QObject> m_context; // posted calls die with the host
};

// Qt's filter string ("desc (patterns);;...") from the program's "desc|pattern|" form.
std::string QtFilterFrom(const std::string& filter);
