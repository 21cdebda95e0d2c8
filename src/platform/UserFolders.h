// Where the program keeps the user's own files on this platform.
#pragma once

#include <string>

// The folder of the program's data files (the tool dictionary): the desktop's data
// location ($XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share),
// then `organisation`/`application`, as the settings file is named. "" when neither
// variable gives a location. The folder may not exist yet.
std::string UserDataFolder(const std::string& organisation, const std::string& application);
