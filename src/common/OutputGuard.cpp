#include "common/OutputGuard.h"

#include "platform/BinaryFile.h"
#include "platform/Host.h"

Status OutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs)
{
    for (const std::string& input : inputs)
        if (IsSameFile(output, input))
            return Status::Failure("Output file is the same as input file :\n" + input + "\nOperation will be abandoned.");
    return Status();
}

Status OutputSparesInputs(const std::string& output, std::initializer_list<std::string> inputs)
{
    return OutputSparesInputs(output, std::vector<std::string>(inputs));
}

bool MayReplaceExisting(const std::string& output)
{
    if (!FileExists(output)) return true;
    return MessageBox(output + " already exists. Do you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

bool OpenCommandInput(BinaryFile& file, const std::string& path, const InputRule& rule)
{
    return OkOrShow(OpenInputFile(file, path, rule));
}
