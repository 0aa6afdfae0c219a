#include "platform/sdl/sdl_host.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/core/mixer.h"
#include "platform/core/pad_keys.h"
#include "platform/report.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/single_instance.h"
#include "platform/seam.h"

namespace {

SDL_Scancode ScancodeOf(int virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
            return SDL_SCANCODE_RETURN;
        case VK_ESCAPE:
            return SDL_SCANCODE_ESCAPE;
        case VK_SPACE:
            return SDL_SCANCODE_SPACE;
        case VK_LEFT:
            return SDL_SCANCODE_LEFT;
        case VK_UP:
            return SDL_SCANCODE_UP;
        case VK_RIGHT:
            return SDL_SCANCODE_RIGHT;
        case VK_DOWN:
            return SDL_SCANCODE_DOWN;
        case VK_W:
            return SDL_SCANCODE_W;
        case VK_S:
            return SDL_SCANCODE_S;
        case VK_M:
            return SDL_SCANCODE_M;
        default:
            return SDL_SCANCODE_UNKNOWN;
    }
}

// Keys pressed since the pump before the last: a tap that is released again between two pumps
// still reads as down, for one frame, as the polling it stands for reports a press since the
// last poll.
bool tapped[SDL_NUM_SCANCODES] = {};

// The game controllers plugged in, as their events left them.
struct Pad {
    SDL_JoystickID id;
    SDL_GameController* controller;
    PadState state;
};
std::vector<Pad> pads;
// The pads' keys held at the last pump, and those held at any moment since the one before, so
// that a button tapped between two pumps counts once like a key.
uint32_t padsHeld = 0;
uint32_t padsTapped = 0;

Pad* PadWithId(SDL_JoystickID id) {
    for (Pad& pad : pads)
        if (pad.id == id) return &pad;
    return nullptr;
}

void PlugPad(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    // SDL announces the pads present at start-up once more after they were opened.
    if (PadWithId(id) != nullptr)
        SDL_GameControllerClose(controller);
    else
        pads.push_back({id, controller, {}});
}

void UnplugPad(SDL_JoystickID id) {
    for (auto pad = pads.begin(); pad != pads.end(); ++pad)
        if (pad->id == id) {
            SDL_GameControllerClose(pad->controller);
            pads.erase(pad);
            return;
        }
}

void PressPadButton(PadState& state, uint8_t button, bool down) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            state.up = down;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            state.down = down;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            state.left = down;
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            state.right = down;
            break;
        case SDL_CONTROLLER_BUTTON_A:
            state.a = down;
            break;
        case SDL_CONTROLLER_BUTTON_B:
            state.b = down;
            break;
        case SDL_CONTROLLER_BUTTON_START:
            state.start = down;
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
            state.back = down;
            break;
        default:
            break;
    }
}

// SDL's axes in XInput's terms: SDL's stick Y grows downwards, its triggers reach 32767.
void MovePadAxis(PadState& state, uint8_t axis, int16_t value) {
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) state.stickX = value;
    if (axis == SDL_CONTROLLER_AXIS_LEFTY)
        state.stickY = static_cast<int16_t>(std::clamp(-int(value), -32768, 32767));
    if (axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT)
        state.rightTrigger = static_cast<uint8_t>(std::clamp(int(value), 0, 32767) >> 7);
}

// Plugs, unplugs and moves the pads; false for any other event.
bool TakePadEvent(const SDL_Event& event) {
    Pad* pad = nullptr;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            PlugPad(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            UnplugPad(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            pad = PadWithId(event.cbutton.which);
            if (pad != nullptr)
                PressPadButton(pad->state, event.cbutton.button,
                               event.type == SDL_CONTROLLERBUTTONDOWN);
            break;
        case SDL_CONTROLLERAXISMOTION:
            pad = PadWithId(event.caxis.which);
            if (pad != nullptr) MovePadAxis(pad->state, event.caxis.axis, event.caxis.value);
            break;
        case SDL_WINDOWEVENT:
            // Like the keyboard, a pad lets go when the window loses the focus; SDL passes no
            // presses on while it is away.
            if (event.window.event != SDL_WINDOWEVENT_FOCUS_LOST) return false;
            for (Pad& each : pads) each.state = {};
            return true;
        default:
            return false;
    }
    if (pad != nullptr) padsTapped |= PadKeys(pad->state);
    return true;
}

// The keyboard as SDL saw it at the last pump, and the pads as keys.
bool SdlKeyDown(int virtualKey) {
    if ((padsHeld | padsTapped) & PadKeyBit(virtualKey)) return true;
    SDL_Scancode code = ScancodeOf(virtualKey);
    if (code == SDL_SCANCODE_UNKNOWN) return false;
    return SDL_GetKeyboardState(nullptr)[code] != 0 || tapped[code];
}

// SDL's audio thread asks for the next samples: 16-bit stereo frames, four bytes each.
void Mix(void*, Uint8* stream, int length) {
    MixInto(gameMixer, reinterpret_cast<int16_t*>(stream), length / 4);
}

// Sound libraries write their own complaints to stderr when there is no sound card; the game says
// it in one line of its own instead.
int SilenceStderr() {
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO);
    int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDERR_FILENO);
        close(null);
    }
    return saved;
}

void RestoreStderr(int saved) {
    if (saved < 0) return;
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
}

volatile bool showingBox = false;
pid_t boxParent = 0;

// In the child that shows a message box: killed when the game ends, however it ends.
void BoxChildStarts() {
    if (!showingBox) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent) _exit(0);  // the game ended before the line above
    ReleaseSingleInstance();
}

bool IsFullscreenToggle(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.repeat == 0 &&
           event.key.keysym.scancode == SDL_SCANCODE_F11;
}

// SDL falls back to drivers that show nothing when no display can be reached; the game would
// then run unseen. They are used only when asked for by name (the tests do).
const char* NoVisibleWindow() {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && *asked != 0) return nullptr;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return "no video driver";
    if (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0) return nullptr;
    const char* display = SDL_getenv("DISPLAY");
    if (display == nullptr || *display == 0) return "no display (DISPLAY is not set)";
    static std::string why;
    why = std::string("no display (the X server at DISPLAY=") + display + " cannot be reached)";
    return why.c_str();
}

}  // namespace

std::unique_ptr<SdlHost> SdlHost::Create(const std::string& title, int width, int height) {
    // Mesa's software renderer churns glibc's allocator when textures change between draws;
    // higher thresholds keep that memory mapped instead of returning it every frame.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return nullptr;
    if (const char* why = NoVisibleWindow()) {
        std::string reason = why;
        SDL_Quit();
        SDL_SetError("%s", reason.c_str());
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow(
        title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr) return nullptr;
    std::unique_ptr<SdlHost> created(new SdlHost);
    created->window_ = window;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    created->x11Keys_ = SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
    if (created->x11Keys_) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    // Without the controller subsystem the game plays on the keyboard alone. The pads already
    // plugged in arrive as events at the first pump, like any plugged in later.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    return created;
}

SdlHost::~SdlHost() {
    for (Pad& pad : pads) SDL_GameControllerClose(pad.controller);
    pads.clear();
    padsHeld = padsTapped = 0;
    if (audioDevice_ != 0) SDL_CloseAudioDevice(audioDevice_);
    if (glContext_ != nullptr) SDL_GL_DeleteContext(glContext_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
}

std::unique_ptr<Device> SdlHost::CreateDevice(std::string& error) {
    glContext_ = SDL_GL_CreateContext(window_);
    std::unique_ptr<Device> created;
    if (glContext_ == nullptr)
        error = SDL_GetError();
    else {
        SDL_GL_SetSwapInterval(0);  // the frame loop paces itself
        created = CreateGLDevice(window_, error);
    }
    if (created == nullptr) error = "OpenGL 3.3 could not be started: " + error;
    return created;
}

void SdlHost::OpenAudio() {
    SDL_AudioSpec wanted{};
    wanted.freq = MixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;  // 23 ms: a shot is heard in the frame it is fired
    wanted.callback = Mix;
    SDL_AudioSpec obtained{};
    int saved = SilenceStderr();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
        audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    std::string reason = audioDevice_ == 0 ? SDL_GetError() : "";
    if (audioDevice_ == 0) {
        // No sound hardware: a silent device keeps the program's behaviour the same.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (SDL_AudioInit("dummy") == 0)
            audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    }
    RestoreStderr(saved);
    if (!reason.empty()) Report("no audio device (" + reason + "); running silent");
    if (audioDevice_ != 0) SDL_PauseAudioDevice(audioDevice_, 0);
}

bool SdlHost::PumpMessages() {
    SDL_Event event;
    std::fill(std::begin(tapped), std::end(tapped), false);
    padsTapped = 0;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) return true;
        if (TakePadEvent(event)) continue;
        if (event.type == SDL_KEYDOWN && event.key.keysym.scancode < SDL_NUM_SCANCODES)
            tapped[event.key.keysym.scancode] = true;
        // On X11, SDL takes a release and a press at the same instant for the key repeating,
        // and quick F11 taps are lost; there the presses are counted from the X events.
        bool toggle = false;
        if (event.type == SDL_SYSWMEVENT && event.syswm.msg->subsystem == SDL_SYSWM_X11) {
            XEvent& x = event.syswm.msg->msg.x11.event;
            if ((x.type == KeyPress || x.type == KeyRelease) &&
                XLookupKeysym(&x.xkey, 0) == XK_F11) {
                toggle = x.type == KeyPress && f11Up_;
                f11Up_ = x.type == KeyRelease;
            }
        } else if (!x11Keys_) {
            toggle = IsFullscreenToggle(event);
        }
        if (toggle) {
            fullscreen_ = !fullscreen_;
            toggledAt_ = SDL_GetTicks();
            SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        }
    }
    padsHeld = 0;
    for (const Pad& pad : pads) padsHeld |= PadKeys(pad.state);
    // The state follows the presses, not the window manager's answers, which come late: for a
    // while after a press an answer to an earlier one is set right again.
    if (SDL_GetTicks() - toggledAt_ < 2000) {
        bool now = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
                   SDL_WINDOW_FULLSCREEN_DESKTOP;
        if (now != fullscreen_)
            SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    }
    if (TakeShowRequest()) {
        SDL_ShowWindow(window_);
        SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }
    return false;
}

FrameInput SdlHost::ReadInput() { return ReadFrameInput(SdlKeyDown); }

void SdlHost::GoFullscreen() {
    fullscreen_ = true;
    toggledAt_ = SDL_GetTicks();
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

uint32_t SdlHost::Ticks() { return SDL_GetTicks(); }

void SdlHost::Sleep(uint32_t milliseconds) { SDL_Delay(milliseconds); }

void SdlHost::ShowMessageBox(const std::string& text, const std::string& caption) {
    ShowSdlBox(window_, text, caption);
}

void ShowSdlBox(SDL_Window* owner, const std::string& text, const std::string& caption) {
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
