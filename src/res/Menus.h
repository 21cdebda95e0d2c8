// Menus, toolbars and the accelerator table as resource data.
#pragma once

#include "platform/Frame.h"

// The menu with this resource id (an empty menu for an unknown id).
const Menu& MenuResourceFor(int id);
const ToolBarDef& ToolBarResourceFor(int id);
const std::vector<Accelerator>& AcceleratorTable();
// Every command id a menu, a toolbar or the accelerator table shows, each once: a
// command map adds or holds each of them (a debug start-up checks it).
std::vector<int> ShownCommandIds();
// The ids menus and toolbars show without a handler in this edition (the processing
// commands, Utilities > Header and the pop-up's help entries): held, so that no new command takes one.
const std::vector<int>& DormantCommandIds();

// One line for every command added or held in `maps` under the id of a string-table text
// that is no command prompt (a mnemonic, a caption): the status bar would show that text
// as the command's prompt. A debug start-up refuses them, as it refuses a clash.
std::vector<std::string> CommandIdsOfOtherTexts(std::initializer_list<const CommandMap*> maps);

// Status-bar prompt, tool tip and (optionally) a short button label of a command:
// "prompt\ntip[\nlabel]". The string table's prompt where it has one; the buttons of
// the display toolbar and the framework's commands get texts of their own.
std::string CommandPromptText(int id);
