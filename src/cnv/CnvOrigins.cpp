#include "cnv/CnvOrigins.h"

#include "dataset/QtxLayout.h"
#include "res/StringTable.h"

#include <iterator>

namespace {

// String-table ids of the mnemonics.
enum : unsigned {
    kWmno = 61248, kWdxx, kWdxy, kWdyx, kWdyy, kSmno, kSdxx, kSdxy, kSdyx, kSdyy,
    kPmno, kPdxx, kPdxy, kPdyx, kPdyy, kUdef, kWqud = 61323,
};

// Mnemonic of each origin, by list index.
constexpr unsigned kMnemonics[kCnvOriginCount] = {
    kUdef, kWmno, kWdxx, kWdxy, kWdyx, kWdyy,            // 0 unknown, 1-5 DSI
    kWmno, kWdxx, kWdxy, kWdyx, kWdyy,                   // 6-10 XMAC
    kWmno, kWdxx, kWdxy, kWdyx, kWdyy,                   // 11-15 MAC
    kWmno, kWdxx, kWdyy, kWdxy, kWdyx,                   // 16-20 WaveSonic: X AC, Y BD, X BD, Y AC
    kUdef, kWmno, kWmno, kWmno, kWmno,                   // 21 Isonic, 22-25 BAT
    kPmno, kPdxx, kPdyy, kPdxy, kPdyx,                   // 26-30 phase
    kSmno, kSdxx, kSdyy, kSdxy, kSdyx,                   // 31-35 semblance
    kWmno, kWdxx, kWdxy, kWdyx, kWdyy, kWmno,            // 36 FWS, 37-41 XACT
    kWmno, kWmno, kWmno, kWqud,                          // 42-43 CLSS, 44-45 APX
};

// Item types of the origins past the codes that are their own item type.
constexpr int kFirstMapped = 36;
constexpr uint8_t kMappedItemTypes[] = {219, 223, 251, 252, 253, 222, 230, 229, 85, 86};
static_assert(kFirstMapped + std::size(kMappedItemTypes) == kCnvOriginCount);

constexpr bool IsSlownessDomain(int code) { return code >= 26 && code <= 35; }

constexpr float kClssStep = 6.4f; // microseconds, whatever the file says

} // namespace

CnvOrigin CnvOriginOf(int code, float samplingPeriod)
{
    if (code < 0 || code >= kCnvOriginCount) code = 0;
    CnvOrigin o;
    o.mnemonic = LoadString(kMnemonics[code]);
    o.itemType = code >= kFirstMapped ? kMappedItemTypes[code - kFirstMapped] : uint8_t(code);
    const bool slowness = IsSlownessDomain(code);
    o.category = slowness ? kCategorySlowness : kCategoryWaveform;
    o.unit = slowness ? kUnitMicrosecondsPerFoot : kUnitMicroseconds;
    o.step = IsClssOrigin(code) ? kClssStep : slowness ? float(double(samplingPeriod) * 0.001) : samplingPeriod;
    return o;
}
