// Runs the program on Qt: checks for a display, makes the QApplication, installs
// the Qt host and frame, starts the application object and runs the event loop.
#pragma once

#include <functional>
#include <string>

struct QtRunOptions {
    // Starts the application object; false ends the program at once.
    std::function<bool(const std::string& commandLine, unsigned showCommand)> start;
    // Called after the event loop, while the host and frame still exist.
    std::function<void()> stop;
};

int RunQtApplication(int argc, char** argv, const QtRunOptions& options);
