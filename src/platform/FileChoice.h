// The program's file choices: the host's file dialog, starting where the user works.
#pragma once

#include "platform/Host.h"

// The host's file dialog, opening in the folder of the file last chosen for the same
// kind of file (the extension of the filter's first pattern, else the default
// extension) while the host runs, else of any file chosen, when `initialName` names
// no folder of its own. Every file choice of the program goes through it.
FileDialogResult ChooseFile(const FileDialogOptions& options);

// Forgets the folders of earlier choices (a new host is a new run).
void ForgetFileChoices();
