// Each subsystem adds its commands to the application's table from a file of its own.
#pragma once

#include "platform/Frame.h"

class CViewerApp;

void AddShellCommands(CommandMap& commands, CViewerApp& app);   // modes, control bar, Close All, pop-up, About
void AddDisplayOptionCommands(CommandMap& commands);              // zoom, pens, backgrounds, receivers
void AddViewerCommands(CommandMap& commands, CViewerApp& app);  // Display > Time ... Azimuth, later viewers
void AddLisCommands(CommandMap& commands);                       // Process > Qtx to Lis, Dictionary, scans
void AddToolBoxCommands(CommandMap& commands, CViewerApp& app); // Utilities > Tools
void AddLogPlotCommands(CommandMap& commands, CViewerApp& app);  // Display > Log: the setup loop, the plot
void AddCnvCommands(CommandMap& commands);                       // Scan Qtx, Scan CNV, Convert CNV
