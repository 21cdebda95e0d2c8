// Any bytes as the stored tool dictionary (LisDic.dit): load it, then look up every
// tool it names and the depth entry, as the recogniser does.
#include "lis/LisDictionary.h"
#include "platform/testing/ScriptedHost.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScriptedHost host;
    ScopedHost scope(&host);
    BinaryFile file;
    file.OpenMemory(std::make_shared<std::vector<uint8_t>>(data, data + size), false);
    CLisDictionary dictionary;
    if (!dictionary.Load(file)) return 0;
    // One look-up a tool named, as the recogniser makes it, each into an empty list.
    std::set<std::string> tools{lisdic::kDepthTool};
    for (const auto& entry : dictionary.Entries()) tools.insert(entry->m_toolName);
    for (const std::string& tool : tools) {
        std::vector<CLisDictionaryEntry*> found;
        dictionary.FindTool(found, tool);
    }
    return 0;
}
