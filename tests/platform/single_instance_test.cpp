// The single-instance rendezvous against a second copy, a crashed first one, another user on the
// same machine and copies started in different environments. Every case runs in a fresh process
// with /tmp and /run of its own, so no real game (or another test run) is ever met. A start while
// the first copy quits is the window tests'.
#include "platform/sdl/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr uid_t Nobody = 65534;
constexpr int NotAllowed = 77;

// Runs `body` in a child once `ready` has made it ready (a status to leave with if not); the
// child's exit status.
template <typename Ready, typename Body>
int InChild(Ready ready, Body body) {
    pid_t child = fork();
    if (child == 0) {
        if (int failed = ready()) _exit(failed);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

// With empty /tmp, /run and home of its own; NotAllowed when the system does not let a process
// have its own mounts.
template <typename Body>
int Isolated(Body body) {
    return InChild(
        [] {
            if (unshare(CLONE_NEWNS) != 0 ||
                mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
                mount("tmpfs", "/tmp", "tmpfs", 0, "mode=1777") ||
                mount("tmpfs", "/run", "tmpfs", 0, "mode=755") || mkdir("/run/user", 0755) ||
                mount("tmpfs", getpwuid(getuid())->pw_dir, "tmpfs", 0, "mode=700"))
                return NotAllowed;
            unsetenv("XDG_RUNTIME_DIR");
            unsetenv("TMPDIR");
            return 0;
        },
        body);
}

#define EXPECT_ISOLATED(...)                                                 \
    do {                                                                     \
        int status = Isolated(__VA_ARGS__);                                  \
        if (status == NotAllowed) GTEST_SKIP() << "needs a mount namespace"; \
        EXPECT_EQ(status, 0);                                                \
    } while (false)

// As another user.
template <typename Body>
int AsNobody(Body body) {
    return InChild([] { return setgid(Nobody) != 0 || setuid(Nobody) != 0 ? 100 : 0; }, body);
}

std::string Folder(const std::string& path, mode_t mode) {
    fs::create_directories(path);
    chmod(path.c_str(), mode);
    return path;
}

int Connect(const std::string& path, int type = SOCK_STREAM) {
    int s = socket(AF_UNIX, type, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return s;
    close(s);
    return -1;
}

// A first copy in a child process that answers at every pump until Stop.
struct FirstCopy {
    pid_t pid = -1;
    int stop = -1;
};

FirstCopy StartFirstCopy() {
    int ready[2], stop[2];
    if (pipe(ready) != 0 || pipe(stop) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        close(stop[1]);
        char claimed = ClaimSingleInstance() ? 1 : 0;
        if (write(ready[1], &claimed, 1) != 1) _exit(1);
        pollfd stopped{stop[0], POLLIN, 0};
        while (poll(&stopped, 1, 10) == 0) TakeShowRequest();
        _exit(0);
    }
    close(ready[1]);
    close(stop[0]);
    char claimed = 0;
    if (read(ready[0], &claimed, 1) != 1) claimed = 0;
    close(ready[0]);
    return {claimed ? pid : -1, stop[1]};
}

void Stop(const FirstCopy& first) {
    close(first.stop);
    waitpid(first.pid, nullptr, 0);
}

// True when a copy started now (in this process) is sent away to the first.
bool SentAway() {
    if (!ClaimSingleInstance()) return true;
    ReleaseSingleInstance();
    return false;
}

// No runtime folder anywhere, started with one TMPDIR and then another, a long one; the desktop's
// runtime folder, with XDG_RUNTIME_DIR and without it (after su, cron); a runtime folder whose
// socket's path is too long, a link or a folder at the lock's name, which copies started alike
// pass by alike to meet elsewhere. Nothing in a folder switches the guard off.
TEST(SingleInstance, OneGamePerUserWhateverTheEnvironment) {
    EXPECT_ISOLATED([] {
        const std::string linked = Folder("/tmp/linked", 0700),
                          filled = Folder("/tmp/filled", 0700);
        if (symlink("/tmp/elsewhere", (linked + "/marvaze.lock").c_str()) != 0 ||
            mkdir((filled + "/marvaze.lock").c_str(), 0700) != 0)
            return 1;
        const std::string lengthy = "/tmp/" + std::string(120, 'r');
        // Each folder is made as its copy starts: the first ones find no runtime folder.
        struct Start {
            const char* variable;
            mode_t mode;
            std::string first, second;  // the variable for each copy; empty: unset
        } starts[] = {
            {"TMPDIR", 01777, "/tmp/one", "/tmp/" + std::string(150, 't')},
            {"XDG_RUNTIME_DIR", 0700, "/run/user/" + std::to_string(getuid()), ""},
            {"XDG_RUNTIME_DIR", 0700, lengthy, lengthy},
            {"XDG_RUNTIME_DIR", 0700, linked, linked},
            {"XDG_RUNTIME_DIR", 0700, filled, filled},
        };
        int step = 2;
        for (const Start& s : starts) {
            auto set = [&](const std::string& value) {
                value.empty() ? unsetenv(s.variable)
                              : setenv(s.variable, Folder(value, s.mode).c_str(), 1);
            };
            set(s.first);
            FirstCopy first = StartFirstCopy();
            set(s.second);
            if (first.pid < 0 || !SentAway()) return step;
            Stop(first);
            unsetenv(s.variable);
            ++step;
        }
        return 0;
    });
}

TEST(SingleInstance, AnotherUserCanNeitherBlockTheStartNorReachTheRendezvous) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    EXPECT_ISOLATED([] {
        // Another user makes the fallback folder first, open to all, and squats the abstract
        // name an earlier version used: the game starts, and a second copy is still sent away.
        std::string fallback = "/tmp/marvaze-" + std::to_string(getuid());
        if (AsNobody([&] { return mkdir(fallback.c_str(), 0777) == 0 ? 0 : 1; }) != 0) return 1;
        chmod(fallback.c_str(), 0777);
        int squat = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un abstract{};
        abstract.sun_family = AF_UNIX;
        std::string name = "marvaze-" + std::to_string(getuid());
        std::memcpy(abstract.sun_path + 1, name.data(), name.size());
        bind(squat, reinterpret_cast<sockaddr*>(&abstract),
             socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size()));
        listen(squat, 4);
        FirstCopy first = StartFirstCopy();
        if (first.pid < 0) return 2;
        if (!SentAway()) return 3;
        Stop(first);
        // With nowhere private left, the game still starts, and says it runs unguarded.
        std::string home = getpwuid(getuid())->pw_dir;
        fs::remove_all(home + "/.cache");
        if (symlink("/tmp/nowhere", (home + "/.cache").c_str()) != 0) return 4;
        int said = open("/tmp/said", O_RDWR | O_CREAT | O_TRUNC, 0600);
        int stderrFd = dup(2);
        dup2(said, 2);
        bool started = ClaimSingleInstance();
        dup2(stderrFd, 2);
        char line[200] = {};
        if (!started || pread(said, line, sizeof line - 1, 0) <= 0 ||
            !std::strstr(line, "second copy"))
            return 6;
        // With a private runtime folder the rendezvous is there, out of the other user's reach.
        std::string runtime = Folder("/tmp/runtime", 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        if (!ClaimSingleInstance()) return 7;
        return AsNobody([&] { return Connect(runtime + "/marvaze.sock") >= 0 ? 1 : 0; }) == 0 ? 0
                                                                                              : 8;
    });
}

// A second copy is sent away and the first is asked to show itself; silent connections cost the
// frame nothing; a first copy that does not accept lets the next start run after a short wait;
// a crashed first copy's socket is taken over.
TEST(SingleInstance, SecondCopiesCrashedCopiesAndSilentAskers) {
    EXPECT_ISOLATED([] {
        std::string runtime = Folder("/tmp/runtime", 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        // A second copy's claim, this process pumping meanwhile when `asked` is given.
        auto start = [](bool* asked) {
            pid_t child = fork();
            if (child == 0) _exit(ClaimSingleInstance() ? 1 : 0);
            int status = 0;
            while (waitpid(child, &status, asked != nullptr ? WNOHANG : 0) == 0) {
                *asked |= TakeShowRequest();
                usleep(10000);
            }
            return WEXITSTATUS(status);
        };
        // A crashed first copy: its socket stays, its lock goes.
        pid_t crashed = fork();
        if (crashed == 0) _exit(ClaimSingleInstance() ? 0 : 1);
        waitpid(crashed, nullptr, 0);
        if (!fs::exists(runtime + "/marvaze.sock")) return 2;
        if (!ClaimSingleInstance()) return 3;

        int silent[6];
        for (int& s : silent) s = Connect(runtime + "/marvaze.sock");
        auto before = Clock::now();
        bool shown = TakeShowRequest();
        if (shown || Clock::now() - before > std::chrono::milliseconds(50)) return 4;

        bool asked = false;
        if (start(&asked) != 0 || !asked) return 5;  // the second copy leaves
        for (int s : silent) close(s);

        // Not accepting with a full backlog: the next start waits a moment, then runs.
        for (int i = 0;
             i < 64 && Connect(runtime + "/marvaze.sock", SOCK_STREAM | SOCK_NONBLOCK) >= 0; ++i) {
        }
        before = Clock::now();
        if (start(nullptr) != 1) return 6;
        if (Clock::now() - before > std::chrono::seconds(3)) return 7;
        return 0;
    });
}

}  // namespace
