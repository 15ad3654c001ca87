#include "platform/Host.h"

namespace platform {

namespace {
Host g_host;
}

Host& CurrentHost() {
    return g_host;
}

void InstallHost(const Host& host) {
    g_host = host;
}

}  // namespace platform
