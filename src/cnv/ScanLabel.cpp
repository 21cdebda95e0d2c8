#include "cnv/ScanLabel.h"

#include "platform/Path.h"

std::string ShortenLabel(const std::string& label, const std::string& value)
{
    if (label.size() + value.size() <= 50 || value.size() <= 30) return label + value;
    const size_t separator = LastSeparator(value);
    if (separator != std::string::npos) return label + "..." + value.substr(separator);
    return label + "..." + value.substr(value.size() - 12);
}
