// Any bytes as the stored tool dictionary (LisDic.dit): load it, then look up every
// tool it names and the depth entry, as the recogniser does.
#include "lis/LisDictionary.h"
#include "platform/testing/ScriptedHost.h"

#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedHost host;
    ScopedHost scope(&host);
    BinaryFile file;
    file.OpenMemory(std::make_shared<std::vector<uint8_t>>(data, data + size), false);
    CLisDictionary dictionary;
    if (!dictionary.Load(file)) return 0;
    std::vector<CLisDictionaryEntry*> found;
    for (const auto& entry : dictionary.Entries()) dictionary.FindTool(found, entry->m_toolName);
    dictionary.FindTool(found, lisdic::kDepthTool);
    return 0;
}
