// The browser ring's window: the page's canvas with a WebGL 2 context, its keys, pads and touch
// controls, time, the in-page dialog and Web Audio. The frame loop stays the blocking loop of the
// other rings: Asyncify lets Sleep (and the dialog) give the browser its turn and come back.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/gl/gl_device.h"
#include "platform/report.h"
#include "platform/ring.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_input.h"

// Calls into page.js.
EM_JS(int, DocumentHidden, (), { return document.hidden ? 1 : 0; });
EM_JS(void, PageEnded, (), { MarvazePage.ended(); });
EM_JS(void, WantFullscreen, (), { MarvazePage.wantFullscreen(); });
EM_ASYNC_JS(void, ShowDialog, (const char* caption, const char* text),
            { await MarvazePage.dialog(UTF8ToString(caption), UTF8ToString(text)); });

namespace {

constexpr const char* Canvas = "#canvas";

// The canvas as the OpenGL device sees it. The browser shows what was drawn when the frame
// yields, so there is nothing to swap.
class CanvasSurface : public GLSurface {
  public:
    // A hidden tab, as a minimised window, draws nothing; unlike a window it is also slowed by the
    // browser's throttling of hidden pages' timers, so the world may step slower meanwhile.
    bool Unseen() override { return DocumentHidden() != 0; }
    void DrawableSize(int& width, int& height) override {
        emscripten_get_canvas_element_size(Canvas, &width, &height);
    }
    void Swap() override {}
};

// The drawing buffer follows the canvas's size on the page times the device pixel ratio, so the
// picture is sharp on dense screens; the device letterboxes the 640x480 frame into it.
void FitCanvas() {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(Canvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    int width = std::max(1, static_cast<int>(std::lround(cssWidth * ratio)));
    int height = std::max(1, static_cast<int>(std::lround(cssHeight * ratio)));
    int now = 0, nowHeight = 0;
    emscripten_get_canvas_element_size(Canvas, &now, &nowHeight);
    if (now != width || nowHeight != height)
        emscripten_set_canvas_element_size(Canvas, width, height);
}

class WebWindow : public GameWindow {
  public:
    explicit WebWindow(const std::string& title) {
        emscripten_set_window_title(title.c_str());
        FitCanvas();
        StartWebInput();
    }
    // The program has ended: the page says so and offers to start again.
    ~WebWindow() override {
        if (context_ > 0) emscripten_webgl_destroy_context(context_);
        PageEnded();
    }

    FrameInput ReadInput() override { return ReadFrameInput(WebKeyDown); }

    std::unique_ptr<Device> CreateDevice(std::string& error) override {
        EmscriptenWebGLContextAttributes attributes;
        emscripten_webgl_init_context_attributes(&attributes);
        attributes.majorVersion = 2;
        attributes.minorVersion = 0;
        attributes.alpha = EM_FALSE;  // the page behind never shows through
        attributes.depth = EM_FALSE;  // the device draws into a back buffer of its own
        attributes.stencil = EM_FALSE;
        attributes.antialias = EM_FALSE;
        context_ = emscripten_webgl_create_context(Canvas, &attributes);
        std::unique_ptr<Device> created;
        if (context_ <= 0)
            error = "the browser gives this page no WebGL 2 context";
        else if (emscripten_webgl_make_context_current(context_) != EMSCRIPTEN_RESULT_SUCCESS)
            error = "the WebGL 2 context cannot be made current";
        else
            created = CreateGLDevice(std::make_unique<CanvasSurface>(), error);
        if (created == nullptr) error = "WebGL 2 could not be started: " + error;
        return created;
    }

    void OpenAudio() override {
        if (!OpenWebAudio()) Report("this browser has no Web Audio; running silent");
    }

    // Browsers go fullscreen only inside a player's gesture: at the first key, click or touch.
    void GoFullscreen() override { WantFullscreen(); }

    bool PumpMessages() override {
        // A frame that took its whole 50 ms slept not at all: the browser gets its turn here, to
        // show the last frame and deliver the input.
        if (!yielded_) emscripten_sleep(0);
        yielded_ = false;
        FitCanvas();
        ReadWebInput();
        FeedWebAudio();
        return false;  // a page is closed with its tab, which ends everything at once
    }
    uint32_t Ticks() override { return static_cast<uint32_t>(std::llround(emscripten_get_now())); }
    void Sleep(uint32_t milliseconds) override {
        emscripten_sleep(milliseconds);
        yielded_ = true;
    }
    // The in-page dialog; the game waits for its OK as for a message box.
    void ShowMessageBox(const std::string& text, const std::string& caption) override {
        SetWebInputPaused(true);
        ShowDialog(caption.c_str(), text.c_str());
        SetWebInputPaused(false);
        yielded_ = true;
    }

  private:
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_ = 0;
    bool yielded_ = false;
};

}  // namespace

// Before the window: the same in-page dialog.
void ShowBoxWithoutWindow(const std::string& text, const std::string& caption) {
    ShowDialog(caption.c_str(), text.c_str());
}

// The data package is mounted at the root of the page's file system, beside nothing else.
std::filesystem::path ExecutableFolder() { return "/"; }

// The canvas takes the whole browser window, whatever size is asked for: the device fits the
// 640x480 picture into it.
std::unique_ptr<GameWindow> OpenGameWindow(const std::string& title, int, int, std::string&) {
    return std::make_unique<WebWindow>(title);
}
