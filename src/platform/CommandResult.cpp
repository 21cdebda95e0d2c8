#include "platform/CommandResult.h"

#include "platform/Frame.h"

void ShowCommandResult(const std::string& text)
{
    if (IFrame* frame = Frame()) frame->SetPaneText(0, text);
}
