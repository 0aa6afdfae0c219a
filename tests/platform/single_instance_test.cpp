// The single-instance rendezvous against a second copy, a crashed first one and another user on
// the same machine. Every case runs in a fresh process with its own runtime folder.
#include "platform/sdl/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr uid_t Nobody = 65534;

// A fresh folder; `mode` 0700 for a runtime folder, 01777 for a shared temporary one.
std::string Folder(const char* name, mode_t mode) {
    fs::path folder = fs::temp_directory_path() / (name + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directory(folder);
    chmod(folder.c_str(), mode);
    return folder.string();
}

// Runs `body` in a child as another user; its exit status.
template <typename Body>
int AsNobody(Body body) {
    pid_t child = fork();
    if (child == 0) {
        if (setgid(Nobody) != 0 || setuid(Nobody) != 0) _exit(100);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

int Connect(const std::string& path) {
    int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return s;
    close(s);
    return -1;
}

// Another user squats every name it can before the game starts; then it tries to reach the
// game's rendezvous. Exits 0 when the game started and nobody could reach it.
[[noreturn]] void SquattedBeforeStart() {
    std::string runtime = Folder("marvaze-runtime-", 0700);
    std::string tmp = Folder("marvaze-tmp-", 01777);
    setenv("TMPDIR", tmp.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
    std::string fallback = tmp + "/marvaze-" + std::to_string(getuid());
    // The abstract name an earlier version used, and the fallback folder, made open to all.
    int squat = -1;
    int made = AsNobody([&] {
        if (mkdir(fallback.c_str(), 0777) != 0) return 1;
        chmod(fallback.c_str(), 0777);
        return 0;
    });
    squat = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un abstract{};
    abstract.sun_family = AF_UNIX;
    std::string name = "marvaze-" + std::to_string(getuid());
    std::memcpy(abstract.sun_path + 1, name.data(), name.size());
    bind(squat, reinterpret_cast<sockaddr*>(&abstract),
         socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size()));
    listen(squat, 4);
    if (made != 0) std::_Exit(2);
    if (!ClaimSingleInstance()) std::_Exit(3);  // squatted out: it could never start
    close(squat);
    ReleaseSingleInstance();
    // With a private runtime folder the rendezvous is there, out of the other user's reach.
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    if (!ClaimSingleInstance()) std::_Exit(4);
    int reached = AsNobody([&] {
        int s = Connect(runtime + "/marvaze.sock");
        return s >= 0 ? 1 : 0;
    });
    fs::remove_all(runtime);
    fs::remove_all(tmp);
    std::_Exit(reached == 0 ? 0 : 5);
}

TEST(SingleInstance, AnotherUserCanNeitherBlockTheStartNorReachTheRendezvous) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(SquattedBeforeStart(), ::testing::ExitedWithCode(0), "");
}

// A second copy is sent away and the first is asked to show itself; silent connections cost the
// frame nothing; a first copy that does not accept lets the next start run after a short wait;
// a crashed first copy's socket is taken over.
[[noreturn]] void SecondCopies() {
    std::string runtime = Folder("marvaze-runtime-", 0700);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    auto start = [] {
        pid_t child = fork();
        if (child == 0) _exit(ClaimSingleInstance() ? 1 : 0);
        int status = 0;
        waitpid(child, &status, 0);
        return WEXITSTATUS(status);
    };
    // A crashed first copy: its socket stays, its lock goes.
    pid_t crashed = fork();
    if (crashed == 0) _exit(ClaimSingleInstance() ? 0 : 1);
    waitpid(crashed, nullptr, 0);
    if (!fs::exists(runtime + "/marvaze.sock")) std::_Exit(2);
    if (!ClaimSingleInstance()) std::_Exit(3);

    int silent[6];
    for (int& s : silent) s = Connect(runtime + "/marvaze.sock");
    auto before = Clock::now();
    bool shown = TakeShowRequest();
    auto took = Clock::now() - before;
    if (shown || took > std::chrono::milliseconds(50)) std::_Exit(4);

    if (start() != 0) std::_Exit(5);  // the second copy leaves
    bool asked = false;
    for (int i = 0; i < 50 && !asked; ++i, usleep(10000)) asked = TakeShowRequest();
    if (!asked) std::_Exit(6);
    for (int s : silent) close(s);

    // Not accepting with a full backlog: the next start waits a moment, then runs.
    for (int i = 0; i < 64; ++i) {
        int s = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, (runtime + "/marvaze.sock").c_str());
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) break;
    }
    before = Clock::now();
    if (start() != 1) std::_Exit(7);
    if (Clock::now() - before > std::chrono::seconds(3)) std::_Exit(8);
    fs::remove_all(runtime);
    std::_Exit(0);
}

TEST(SingleInstance, SecondCopiesCrashedCopiesAndSilentAskers) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(SecondCopies(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
