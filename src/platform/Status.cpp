#include "platform/Status.h"

#include "platform/Host.h"

bool OkOrShow(const Status& status)
{
    if (status) return true;
    if (!status.Message().empty()) MessageBox(status.Message(), MB_OK | MB_ICONSTOP);
    return false;
}
