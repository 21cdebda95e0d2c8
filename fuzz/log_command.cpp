// Any bytes as a log command file: read it; a file that reads is written again, and
// what was written must read back to the same bytes.
#include "platform/BinaryFile.h"
#include "plot/QtxCommand.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

CQtxCommand::Decoded DecodeBytes(std::vector<uint8_t> bytes, PlotItemList& items, LogCommandPage& page)
{
    BinaryFile file;
    file.OpenMemory(std::make_shared<std::vector<uint8_t>>(std::move(bytes)), false);
    return CQtxCommand::Decode(file, items, page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PlotItemList items;
    LogCommandPage page;
    if (DecodeBytes(std::vector<uint8_t>(data, data + size), items, page) != CQtxCommand::Decoded::Ok) return 0;
    std::vector<uint8_t> written;
    if (!CQtxCommand::Encode(items, page, written)) std::abort(); // what was read fits the file
    PlotItemList again;
    LogCommandPage pageAgain;
    std::vector<uint8_t> rewritten;
    if (DecodeBytes(written, again, pageAgain) != CQtxCommand::Decoded::Ok) std::abort();
    if (!CQtxCommand::Encode(again, pageAgain, rewritten) || rewritten != written) std::abort();
    CQtxCommand::RebaseItemPaths(again, "C:\\Logs\\any");
    return 0;
}
