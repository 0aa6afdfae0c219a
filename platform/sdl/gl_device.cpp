#include "platform/sdl/gl_device.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>

namespace {

class GLDevice : public Device {
public:
    explicit GLDevice(SDL_Window* window) : window_(window) {}
    ~GLDevice() override {
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(1, &colour_);
        glDeleteRenderbuffers(1, &depth_);
    }

    bool Init(std::string& error) {
        if (epoxy_gl_version() < 33) {
            error = "OpenGL 3.3 is not available";
            return false;
        }
        glGenRenderbuffers(1, &colour_);
        glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, BackBufferWidth, BackBufferHeight);
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, BackBufferWidth,
                              BackBufferHeight);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            error = "the back buffer cannot be made";
            return false;
        }
        glViewport(0, 0, BackBufferWidth, BackBufferHeight);
        return true;
    }

    void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glViewport(0, 0, BackBufferWidth, BackBufferHeight);
        GLbitfield mask = 0;
        if (flags & D3DCLEAR_TARGET) {
            glClearColor(((color >> 16) & 0xff) / 255.0f, ((color >> 8) & 0xff) / 255.0f,
                         (color & 0xff) / 255.0f, ((color >> 24) & 0xff) / 255.0f);
            mask |= GL_COLOR_BUFFER_BIT;
        }
        if (flags & D3DCLEAR_ZBUFFER) {
            glClearDepth(z);
            glDepthMask(GL_TRUE);
            mask |= GL_DEPTH_BUFFER_BIT;
        }
        (void)stencil;
        glClear(mask);
    }
    void BeginScene() override {}
    void EndScene() override {}
    void Present() override {
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(window_, &width, &height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glBlitFramebuffer(0, 0, BackBufferWidth, BackBufferHeight, 0, 0, width, height,
                          GL_COLOR_BUFFER_BIT, GL_NEAREST);
        SDL_GL_SwapWindow(window_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    }

    void SetRenderState(D3DRENDERSTATETYPE, uint32_t) override {}
    void SetTextureStageState(uint32_t, D3DTEXTURESTAGESTATETYPE, uint32_t) override {}
    void SetSamplerState(uint32_t, D3DSAMPLERSTATETYPE, uint32_t) override {}
    void SetLight(uint32_t, const D3DLIGHT9&) override {}
    void LightEnable(uint32_t, bool) override {}
    void SetTransform(D3DTRANSFORMSTATETYPE, const Matrix&) override {}
    void SetFVF(uint32_t) override {}
    void SetTexture(uint32_t, Texture*) override {}
    void SetMaterial(const D3DMATERIAL9&) override {}
    void DrawPrimitiveUP(D3DPRIMITIVETYPE, uint32_t, const void*, uint32_t) override {}
    Texture* CreateTextureFromFile(const std::string&) override { return nullptr; }
    Sprite* CreateSprite() override { return nullptr; }
    Mesh* LoadMeshFromX(const std::string&, std::vector<XMaterial>&, std::string& error) override {
        error = "not built yet";
        return nullptr;
    }

    Image Read() {
        Image image;
        image.width = BackBufferWidth;
        image.height = BackBufferHeight;
        image.rgba.resize(static_cast<size_t>(BackBufferWidth) * BackBufferHeight * 4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        glReadPixels(0, 0, BackBufferWidth, BackBufferHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     image.rgba.data());
        // GL rows run bottom-up.
        size_t row = static_cast<size_t>(BackBufferWidth) * 4;
        for (int y = 0; y < BackBufferHeight / 2; ++y)
            std::swap_ranges(image.rgba.begin() + y * row, image.rgba.begin() + (y + 1) * row,
                             image.rgba.begin() + (BackBufferHeight - 1 - y) * row);
        return image;
    }

private:
    SDL_Window* window_;
    GLuint framebuffer_ = 0, colour_ = 0, depth_ = 0;
};

}  // namespace

std::unique_ptr<Device> CreateGLDevice(SDL_Window* window, std::string& error) {
    auto created = std::make_unique<GLDevice>(window);
    if (!created->Init(error)) return nullptr;
    return created;
}

Image ReadBackBuffer(Device& glDevice) { return static_cast<GLDevice&>(glDevice).Read(); }
