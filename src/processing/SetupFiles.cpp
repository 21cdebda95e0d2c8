#include "processing/SetupFiles.h"

#include "platform/Format.h"

#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

void NoteInputChange(uint32_t& changed, uint32_t& lastSize, bool force, const std::string& path,
                     const std::string& previousPath)
{
    if (force) {
        changed = 1;
        return;
    }
    std::error_code error;
    const uintmax_t bytes = std::filesystem::file_size(path, error);
    // The size is kept in 32 bits: a larger file counts by its low bits, as it always did.
    const uint32_t size = error ? 0u : uint32_t(bytes & std::numeric_limits<uint32_t>::max());
    if (size != lastSize) {
        lastSize = size;
        changed = 1;
        return;
    }
    changed = path != previousPath ? 1 : 0;
}

bool ReadDepthsAndDatums(CQtxFile& file, double& top, double& bottom, CQtxDatumList& datums, bool ordered)
{
    double t = file.GetTopDepth();
    if (t == -1.0) return false;
    double b = file.GetBottomDepth();
    if (b == -1.0) return false;
    CQtxDatumList read;
    if (!file.ReadDatumList(read)) return false;
    file.CloseInput();
    if (ordered && b < t) std::swap(t, b);
    top = t, bottom = b;
    datums = std::move(read);
    return true;
}

std::string DepthText(double depth) { return Format("%10.4f", depth); }

std::string SlownessRangeTitle(bool metres)
{
    return metres ? "Slowness range [uSec/m]" : "Slowness range [uSec/ft]";
}
