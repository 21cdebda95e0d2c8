#include "common/OutputGuard.h"

#include "platform/BinaryFile.h"
#include "platform/Host.h"

bool RefuseOutputOverInput(const std::string& output, const std::vector<std::string>& inputs)
{
    for (const std::string& input : inputs) {
        if (!IsSameFile(output, input)) continue;
        MessageBox("Output file is the same as input file :\n" + input + "\nOperation will be abandoned.",
                   MB_OK | MB_ICONSTOP);
        return true;
    }
    return false;
}

bool RefuseOutputOverInput(const std::string& output, std::initializer_list<std::string> inputs)
{
    return RefuseOutputOverInput(output, std::vector<std::string>(inputs));
}

bool RefuseToReplaceExisting(const std::string& output)
{
    if (!FileExists(output)) return false;
    return MessageBox(output + " already exists. Do you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES;
}

bool OpenCommandInput(BinaryFile& file, const std::string& path, const InputRule& rule)
{
    return OkOrShow(OpenInputFile(file, path, rule));
}
