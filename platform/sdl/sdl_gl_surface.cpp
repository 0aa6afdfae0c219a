// The SDL window as the OpenGL device sees it.
#include <SDL.h>

#include "platform/sdl/gl_device.h"

namespace {

class SdlSurface : public GLSurface {
  public:
    explicit SdlSurface(SDL_Window* window) : window_(window) {}
    bool Unseen() override {
        return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
    }
    void DrawableSize(int& width, int& height) override {
        SDL_GL_GetDrawableSize(window_, &width, &height);
    }
    void Swap() override { SDL_GL_SwapWindow(window_); }

  private:
    SDL_Window* window_;
};

}  // namespace

std::unique_ptr<Device> CreateGLDevice(SDL_Window* window, std::string& error) {
    return CreateGLDevice(std::make_unique<SdlSurface>(window), error);
}
