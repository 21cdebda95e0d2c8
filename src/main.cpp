// The desktop program: the Qt host and frame, then the application's start-up and
// the event loop.
#include "app/ViewerApp.h"
#include "platform/qt/QtApplication.h"

int main(int argc, char** argv)
{
    QtRunOptions options;
    options.start = [](const std::string& commandLine, unsigned showCommand) {
        theViewerApp.m_commandLine = commandLine;
        theViewerApp.m_showCommand = showCommand;
        return theViewerApp.InitInstance();
    };
    options.stop = [] {
        theViewerApp.ExitInstance();
        theViewerApp.ResetToStartupState();
    };
    return RunQtApplication(argc, argv, options);
}
