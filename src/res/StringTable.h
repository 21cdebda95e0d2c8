// The program's string table: resource texts addressed by a stable numeric id.
// Every module loads its captions, mnemonics, unit labels and command prompts
// through here, so one definition serves all of them.
#pragma once

#include <string>

// Text of the string-table entry `id`; an empty string for an id the table
// does not hold.
std::string LoadString(unsigned id);

// Whether the table holds an entry for `id` (an entry may itself be blank).
bool HasString(unsigned id);

// Whether entry `id` is a command's status-bar prompt (not a caption, mnemonic or label).
bool IsCommandPrompt(unsigned id);
