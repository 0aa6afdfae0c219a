#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <mutex>

#include "platform/report.h"
#include "platform/sdl/single_instance.h"

namespace {

volatile bool showingBox = false;
pid_t boxParent = 0;

// In the child that shows a message box: killed when the game ends, however it ends.
void BoxChildStarts() {
    if (!showingBox) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent) _exit(0);  // the game ended before the line above
    ReleaseSingleInstance();
}

}  // namespace

void ShowSdlMessageBox(SDL_Window* owner, const std::string& text, const std::string& caption) {
    // SDL shows the box on X11 from a forked child while this process waits for it. The child
    // must die with this process and hold none of its rendezvous, and the usual signals must end
    // the game while the box is up rather than be queued as a quit nobody reads.
    static std::once_flag registered;
    std::call_once(registered, [] { pthread_atfork(nullptr, nullptr, BoxChildStarts); });
    boxParent = getpid();
    struct sigaction fallback {
    }, savedTerm{}, savedInt{};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &fallback, &savedTerm);
    sigaction(SIGINT, &fallback, &savedInt);
    showingBox = true;
    int shown =
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), owner);
    showingBox = false;
    sigaction(SIGTERM, &savedTerm, nullptr);
    sigaction(SIGINT, &savedInt, nullptr);
    if (shown != 0) Report(caption + ": " + text + " (" + SDL_GetError() + ")");
}
