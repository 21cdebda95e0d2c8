// The last word of a command.
#pragma once

#include <string>

// A command that ends without a box of its own says how it ended (what it wrote and
// where) in the message pane of the status bar; nothing happens without a frame.
void ShowCommandResult(const std::string& text);
