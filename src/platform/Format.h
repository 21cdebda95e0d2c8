// printf-style formatting that always uses the C locale, whatever locale the
// desktop toolkit has switched the process to (depths print "%10.4f" with a dot).
#pragma once

#include <cstdarg>
#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);
// As Format, into `out`, whose storage is reused: painting code keeps one string per
// label and formats into it without allocating once it is large enough.
void FormatInto(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// C-locale number parsing; *ok (when given) tells whether the whole text (blanks
// around it allowed) was a number.
double ParseDouble(const std::string& text, bool* ok = nullptr);
long ParseLong(const std::string& text, bool* ok = nullptr);

// Texts on screen are UTF-8: paths and what the user types are. Texts read from data
// files (mnemonics, histories) are 8-bit Latin-1. A text for the screen keeps each
// well-formed UTF-8 sequence and takes every other byte as the Latin-1 character it
// is, so a path and a file's mnemonic both show right, also in one message.
std::string ScreenText(const std::string& text);
