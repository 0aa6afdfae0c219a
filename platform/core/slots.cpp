#include "platform/device.h"
#include "platform/host.h"

Device* device = nullptr;
Host* host = nullptr;
