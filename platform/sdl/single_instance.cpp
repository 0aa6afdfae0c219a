#include "platform/sdl/single_instance.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int listener = -1;

// An abstract socket: it disappears with its process, so a crashed instance never blocks a start.
sockaddr_un Rendezvous(socklen_t& length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string name = "marvaze-" + std::to_string(getuid());
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

bool AskFirstInstance() {
    socklen_t length = 0;
    sockaddr_un address = Rendezvous(length);
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    bool asked = connect(s, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                 write(s, "show", 4) == 4;
    close(s);
    return asked;
}

}  // namespace

bool ClaimSingleInstance() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        socklen_t length = 0;
        sockaddr_un address = Rendezvous(length);
        int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (s < 0) return true;  // no sockets at all: nothing to guard with, so run
        if (bind(s, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(s, 4) == 0) {
            listener = s;
            return true;
        }
        int error = errno;
        close(s);
        if (error != EADDRINUSE) return true;
        if (AskFirstInstance()) return false;
        // The holder went away between our bind and connect: try to take its place.
    }
    return false;
}

bool TakeShowRequest() {
    if (listener < 0) return false;
    bool show = false;
    for (;;) {
        int peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) break;
        char message[8] = {};
        // The asker writes before it closes; a short wait keeps a slow writer from being missed.
        timeval timeout{0, 200000};
        setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        ssize_t n = read(peer, message, sizeof message);
        if (n == 4 && std::memcmp(message, "show", 4) == 0) show = true;
        close(peer);
    }
    return show;
}
