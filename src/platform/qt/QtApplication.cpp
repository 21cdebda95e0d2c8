#include "platform/qt/QtApplication.h"

#include "platform/Frame.h"
#include "platform/Host.h"
#include "platform/Input.h"
#include "platform/qt/QtDc.h"
#include "platform/qt/QtFrame.h"
#include "platform/qt/QtHost.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool HasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

} // namespace

int RunQtApplication(int argc, char** argv, const QtRunOptions& options)
{
    if (!HasDisplay()) {
        std::fprintf(stderr, "BronteluxViewer needs a graphical display: set DISPLAY (or run it under Xvfb).\n");
        return 1;
    }
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += argv[i];
    }
    // A write past a file-size limit then fails like a full disk, is told and keeps the
    // older file, instead of ending the program with every window in it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Merrowdyne Revezirider");
    QApplication::setApplicationName("BronteluxViewer");
    InstallFontSubstitutions();

    QtHost host("Merrowdyne Revezirider", "BronteluxViewer");
    QtFrame frame;
    ScopedHost hostScope(&host);
    ScopedFrame frameScope(&frame);
    if (!options.start || !options.start(commandLine, SW_SHOWNORMAL)) return 1;
    const int result = QApplication::exec();
    if (options.stop) options.stop();
    return result;
}
