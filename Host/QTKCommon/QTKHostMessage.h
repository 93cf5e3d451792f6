// Messages for the user (the library's one message box). The host decides how
// to show them; without a callback they are dropped. Never blocks the
// calculating thread beyond the callback itself.
#pragma once

#include <functional>
#include <string_view>

using TQTKHostMessageCallback = std::function<void(std::string_view message)>;
// Installs the callback (nil: messages are dropped); returns the one it replaces.
TQTKHostMessageCallback SetHostMessageCallback(TQTKHostMessageCallback callback);
void ShowHostMessage(std::string_view message);
