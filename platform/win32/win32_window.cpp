// The game's window on Win32: the window class and the window, the message pump, the keyboard
// polled with GetAsyncKeyState and the gamepads with XInput, the multimedia timer, the message box
// and F11 fullscreen; the Direct3D 9 device and DirectSound are made on it.
//
// The project's headers come first: windows.h then defines some of the same names as macros.
#include "platform/core/mixer.h"
#include "platform/core/pad_keys.h"
#include "platform/ring.h"
#include "platform/seam.h"
#include "platform/win32/d3d9_device.h"
#include "platform/win32/win32_sound.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/xinput_pads.h"
// windows_api.h first: mmsystem.h needs its types.
#include <mmsystem.h>

namespace {

constexpr const char* ClassName = "Marvaze";
constexpr WORD IconResource = 1;  // platform/win32/marvaze.rc
// How long a second copy looks for the first copy's window before leaving without raising it.
constexpr DWORD WaitForFirstWindowMs = 5000;

// The one game window of the process, for the key reader (a plain function).
HWND gameWindow = nullptr;
// The keys the gamepads held at the last pump.
uint32_t padKeys = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

// GetAsyncKeyState reads the physical keyboard whatever window has the focus, so the keys count
// only while the game's window is in front: typing elsewhere never flies the aircraft. Any
// non-zero result is down, which includes the "pressed since the last call" bit and so keeps a
// tap shorter than a frame.
bool Win32KeyDown(int virtualKey) {
    if (gameWindow == nullptr || GetForegroundWindow() != gameWindow) return false;
    if (padKeys & InputBit(virtualKey)) return true;
    return GetAsyncKeyState(virtualKey) != 0;
}

class Win32Window : public GameWindow {
  public:
    explicit Win32Window(HWND window) : window_(window) { placement_.length = sizeof placement_; }
    ~Win32Window() override {
        sound_.reset();
        if (IsWindow(window_)) DestroyWindow(window_);
        gameWindow = nullptr;
        padKeys = 0;
        timeEndPeriod(1);
    }

    FrameInput ReadInput() override { return ReadFrameInput(Win32KeyDown); }

    std::unique_ptr<Device> CreateDevice(std::string& error) override {
        std::unique_ptr<Device> created = CreateD3D9Device(window_, error);
        if (created == nullptr) error = "Direct3D 9 could not be started: " + error;
        return created;
    }

    void OpenAudio() override { sound_ = OpenDirectSound(window_, gameMixer); }

    bool PumpMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return true;
            // Bit 30 of lParam is set for the repeats of a held key.
            if (message.message == WM_KEYDOWN && message.wParam == VK_F11 &&
                (message.lParam & (1 << 30)) == 0)
                ToggleFullscreen();
            DispatchMessageA(&message);
        }
        // XInput, like GetAsyncKeyState, reads the pads whatever window is in front: they count
        // only while the game's is, and are not even read otherwise.
        padKeys = GetForegroundWindow() == window_ ? ReadXInputPads(timeGetTime()) : 0;
        return false;
    }

    void GoFullscreen() override {
        if (GetWindowLongA(window_, GWL_STYLE) & WS_OVERLAPPEDWINDOW) ToggleFullscreen();
    }

    uint32_t Ticks() override { return timeGetTime(); }

    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

    // MessageBoxW with the UTF-16 text, so the Japanese shows right on every code page.
    void ShowMessageBox(const std::string& text, const std::string& caption) override {
        MessageBoxW(IsWindow(window_) ? window_ : nullptr, Utf16(text).c_str(),
                    Utf16(caption).c_str(), MB_OK);
    }

  private:
    // Borderless over the whole monitor and back to the window as it was.
    void ToggleFullscreen() {
        LONG style = GetWindowLongA(window_, GWL_STYLE);
        if (style & WS_OVERLAPPEDWINDOW) {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            if (!GetWindowPlacement(window_, &placement_) ||
                !GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor))
                return;
            SetWindowLongA(window_, GWL_STYLE, (style & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
            const RECT& r = monitor.rcMonitor;
            SetWindowPos(window_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
        } else {
            SetWindowLongA(window_, GWL_STYLE, (style & ~WS_POPUP) | WS_OVERLAPPEDWINDOW);
            SetWindowPlacement(window_, &placement_);
            SetWindowPos(
                window_, nullptr, 0, 0, 0, 0,
                SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
        }
    }

    HWND window_;
    WINDOWPLACEMENT placement_{};
    std::unique_ptr<SoundDevice> sound_;
};

}  // namespace

bool ClaimSingleInstance() {
    // The window alone cannot tell: copies started together all look before any has made it. The
    // mutex is claimed at once, and its owner is the game. It is never closed: it goes with the
    // process, and a copy that crashed leaves it abandoned, which the next start may take.
    HANDLE claim = CreateMutexW(nullptr, FALSE, L"Local\\Marvaze.SingleInstance");
    if (claim == nullptr) return true;  // nothing to guard with, so run
    // The first copy makes its window a moment after its claim: this one waits for it to raise
    // it, and takes the claim itself if the first copy ends meanwhile.
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD waited = WaitForSingleObject(claim, 0);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
        HWND first = FindWindowA(ClassName, "Marvaze");
        if (first != nullptr) {
            ShowWindow(first, SW_SHOWNORMAL);
            // Windows lets the process the user just started hand the foreground on.
            SetForegroundWindow(first);
            return false;
        }
        if (GetTickCount() - start > WaitForFirstWindowMs) return false;
        ::Sleep(50);
    }
}

void ShowBoxWithoutWindow(const std::string& text, const std::string& caption) {
    MessageBoxW(nullptr, Utf16(text).c_str(), Utf16(caption).c_str(), MB_OK);
}

std::filesystem::path ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);  // cut short: a longer path than MAX_PATH
    }
}

std::unique_ptr<GameWindow> OpenGameWindow(const std::string& title, int width, int height,
                                           std::string& error) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IconResource));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IconResource),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    // An arrow over the picture; with no class cursor the pointer keeps whatever shape it had.
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = ClassName;
    RegisterClassExA(&windowClass);

    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExA(0, ClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        error = "CreateWindowExA failed (" + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    // Windows' default 15.6 ms sleep granularity would stretch the 50 ms frames.
    timeBeginPeriod(1);
    gameWindow = window;
    return std::make_unique<Win32Window>(window);
}
