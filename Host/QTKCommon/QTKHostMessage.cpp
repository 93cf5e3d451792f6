#include "Host/QTKCommon/QTKHostMessage.h"

#include <mutex>
#include <utility>

namespace {

std::mutex GMessageLock;
TQTKHostMessageCallback GMessageCallback;

}  // namespace

TQTKHostMessageCallback SetHostMessageCallback(TQTKHostMessageCallback callback)
{
    std::lock_guard guard(GMessageLock);
    return std::exchange(GMessageCallback, std::move(callback));
}

void ShowHostMessage(std::string_view message)
{
    TQTKHostMessageCallback callback;
    {
        std::lock_guard guard(GMessageLock);
        callback = GMessageCallback;
    }
    if (callback)
        callback(message);
}
