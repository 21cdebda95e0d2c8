// The lines of the CNV and QTX Data Set dialogs: a label and its value in a static
// about 50 characters wide.
#pragma once

#include <string>

// label + value while that has at most 50 characters or the value at most 30.
// Otherwise the value becomes "..." + its tail from the last separator ('\' or '/')
// inclusive, or "..." + its last 12 characters when it has none.
std::string ShortenLabel(const std::string& label, const std::string& value);
