#include "processing/LogHeader.h"

namespace {
constexpr size_t kSkipped = 8; // the ninth header string is not the Well Info dialog's
size_t HeaderIndex(size_t info) { return info < kSkipped ? info : info + 1; }
} // namespace

WellInfoStrings WellInfoFromHeader(const HeaderStrings& header)
{
    WellInfoStrings info;
    for (size_t i = 0; i < info.size(); ++i) info[i] = header[HeaderIndex(i)];
    return info;
}

void HeaderFromWellInfo(const WellInfoStrings& info, HeaderStrings& header)
{
    for (size_t i = 0; i < info.size(); ++i) header[HeaderIndex(i)] = info[i];
}
