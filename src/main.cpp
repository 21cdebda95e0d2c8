// The desktop program: the Qt host and frame, then the application's start-up and
// the event loop.
#include "app/ViewerApp.h"
#include "platform/qt/QtApplication.h"

int main(int argc, char** argv)
{
    QtRunOptions options;
    options.start = [](const std::string& commandLine, unsigned showCommand) {
        theApp.m_commandLine = commandLine;
        theApp.m_showCommand = showCommand;
        return theApp.InitInstance();
    };
    options.stop = [] {
        theApp.ExitInstance();
        theApp.ResetToStartupState();
    };
    return RunQtApplication(argc, argv, options);
}
