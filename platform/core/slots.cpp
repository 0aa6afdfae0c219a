#include "platform/device.h"
#include "platform/host.h"

Device* device = nullptr;
Host* host = nullptr;

void InstallHost(Host* installed, KeySource keys) {
    host = installed;
    SetKeySource(installed != nullptr ? keys : nullptr);
}
