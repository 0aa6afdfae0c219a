#include "platform/sdl/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/report.h"

namespace {

// The rendezvous is a socket in a folder only this user can enter, guarded by a lock file: the
// lock goes with its process, so a crashed game never blocks a start, and no other user can
// take the name, connect or fill the backlog.
int lockFd = -1;
int listener = -1;
struct Asker {
    int fd;
    int64_t since;
    bool shown = false;  // answered at the next pump, which a copy that is quitting never reaches
};
std::vector<Asker> askers;  // accepted, not yet answered

constexpr int64_t AskerPatienceMs = 1000;
constexpr int64_t ConnectPatienceMs = 1000;
// A first copy that is quitting may take a while to let go of the claim.
constexpr int64_t LeavingPatienceMs = 5000;
// A first copy showing a modal box does not pump; it is there all the same.
constexpr int64_t AnswerPatienceMs = 2000;

int64_t NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// A folder that is ours alone: a real directory (not a link), owned by us, closed to others.
bool Private(const std::string& folder) {
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}

// Where copies meet, in order; each start takes the first folder that works, so copies started
// alike meet in the same one whatever their environment (after su, sudo -u or from cron):
// $XDG_RUNTIME_DIR, the desktop's own, which tests also use to keep their copies apart; else where
// it normally points, /run/user/UID; else a folder named for the user under /tmp (not $TMPDIR,
// which differs between environments); and when another user has taken that name, one in the
// user's home. The last two are made 0700 when missing.
struct Folder {
    std::string path;
    std::vector<std::string> make;  // folders made 0700, in order, when missing
};

std::vector<Folder> RendezvousFolders() {
    std::vector<Folder> folders;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') folders.push_back({runtime, {}});
    std::string uid = std::to_string(getuid());
    folders.push_back({"/run/user/" + uid, {}});
    std::string tmp = "/tmp/marvaze-" + uid;
    folders.push_back({tmp, {tmp}});
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir[0] == '/') {
        std::string cache = std::string(user->pw_dir) + "/.cache";
        folders.push_back({cache + "/marvaze", {cache, cache + "/marvaze"}});
    }
    return folders;
}

bool Address(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool SameUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == getuid();
}

enum class Answer { Shown, Busy, Leaving, Unreachable };

// Asks the first instance to show its window, and waits for its word that it goes on running: a
// copy that is quitting never gives it, and its going closes the connection.
Answer AskFirstInstance(const sockaddr_un& address) {
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0) return Answer::Unreachable;
    // Refused or missing: the holder has not bound yet; a full backlog: it is not accepting.
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        !SameUser(s)) {
        close(s);
        return Answer::Unreachable;
    }
    Answer answer = Answer::Leaving;
    pollfd reply{s, POLLIN, 0};
    char word[4];
    if (send(s, "show", 4, MSG_NOSIGNAL) == 4) {
        if (poll(&reply, 1, AnswerPatienceMs) == 0)
            answer = Answer::Busy;
        else if (recv(s, word, sizeof word, 0) > 0)
            answer = Answer::Shown;
    }
    close(s);
    return answer;
}

enum class Claim { Ours, Theirs, Unanswered, Unusable };

// Claims the rendezvous in `folder`, or asks its holder to show its window. Unusable when the
// folder is not private, the socket's path is too long for its address, or something other than
// a file (a link, a folder) stands at the lock's name: every copy passes it by alike.
Claim ClaimIn(const Folder& folder) {
    for (const std::string& made : folder.make) mkdir(made.c_str(), 0700);
    sockaddr_un address{};
    if (!Private(folder.path) || !Address(folder.path + "/marvaze.sock", address))
        return Claim::Unusable;
    int fd = open((folder.path + "/marvaze.lock").c_str(),
                  O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0) close(fd);
        return Claim::Unusable;
    }
    // Held: the holder is asked; when it is leaving, the claim is ours as soon as it has gone.
    int64_t deadline = NowMs() + ConnectPatienceMs;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        Answer answer = AskFirstInstance(address);
        if (answer == Answer::Shown || answer == Answer::Busy) {
            close(fd);
            return Claim::Theirs;
        }
        if (answer == Answer::Leaving) deadline = std::max(deadline, NowMs() + LeavingPatienceMs);
        if (NowMs() > deadline) {
            close(fd);
            return Claim::Unanswered;
        }
        usleep(20000);
    }
    // Ours now: whatever socket is left there belongs to a copy that has gone.
    unlink(address.sun_path);
    int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(s, 8) != 0) {
        if (s >= 0) close(s);
        close(fd);
        return Claim::Unusable;
    }
    lockFd = fd;
    listener = s;
    return Claim::Ours;
}

}  // namespace

bool ClaimSingleInstance() {
    for (const Folder& folder : RendezvousFolders()) {
        switch (ClaimIn(folder)) {
            case Claim::Ours:
                return true;
            case Claim::Theirs:
                return false;
            case Claim::Unanswered:
                Report("another copy holds the claim but does not answer; starting anyway");
                return true;
            case Claim::Unusable:
                break;
        }
    }
    Report("no private folder to meet other copies in; a second copy could start beside this one");
    return true;
}

bool TakeShowRequest() {
    if (listener < 0) return false;
    // The copies shown at the last pump: this copy has gone on running since.
    std::erase_if(askers, [](const Asker& a) {
        if (!a.shown) return false;
        send(a.fd, "ok", 2, MSG_NOSIGNAL | MSG_DONTWAIT);
        close(a.fd);
        return true;
    });
    for (;;) {
        int peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (peer < 0) break;
        if (!SameUser(peer) || askers.size() >= 8) {
            close(peer);
            continue;
        }
        askers.push_back({peer, NowMs()});
    }
    // Never waits: an asker that has not written yet is looked at again at the next pump.
    bool show = false;
    int64_t now = NowMs();
    std::erase_if(askers, [&](Asker& a) {
        char message[8] = {};
        ssize_t n = recv(a.fd, message, sizeof message, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && now - a.since < AskerPatienceMs)
            return false;
        if (n == 4 && std::memcmp(message, "show", 4) == 0) {
            show = a.shown = true;
            return false;
        }
        close(a.fd);
        return true;
    });
    return show;
}

void ReleaseSingleInstance() {
    for (const Asker& a : askers) close(a.fd);
    askers.clear();
    if (listener >= 0) close(listener);
    if (lockFd >= 0) close(lockFd);
    listener = lockFd = -1;
}
