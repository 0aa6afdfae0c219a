#include "tests/d3d9/d3d9_test_window.h"

#include "platform/win32/windows_api.h"

namespace {
constexpr const char* ClassName = "MarvazeD3D9Test";
}  // namespace

TestWindow::TestWindow() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = ClassName;
    RegisterClassExA(&windowClass);  // fails harmlessly when an earlier test registered it
    RECT frame{0, 0, 640, 480};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    handle = CreateWindowExA(0, ClassName, "Marvaze D3D9 test", WS_OVERLAPPEDWINDOW, 0, 0,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                             windowClass.hInstance, nullptr);
    if (handle == nullptr) return;
    ShowWindow(handle, SW_SHOW);
    UpdateWindow(handle);
    Pump();
}

TestWindow::~TestWindow() {
    if (handle != nullptr) DestroyWindow(handle);
    Pump();
}

void TestWindow::Resize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(handle, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
}

void TestWindow::Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

Image TestWindow::ScreenPixels() const {
    Image image;
    RECT client{};
    GetClientRect(handle, &client);
    POINT origin{0, 0};
    ClientToScreen(handle, &origin);
    const int width = client.right, height = client.bottom;
    HDC source = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, source, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            image.width = width;
            image.height = height;
            image.rgba.resize(size_t(width) * height * 4);
            const auto* from = static_cast<const uint8_t*>(bits);
            for (size_t i = 0; i < image.rgba.size(); i += 4) {
                image.rgba[i] = from[i + 2];
                image.rgba[i + 1] = from[i + 1];
                image.rgba[i + 2] = from[i];
                image.rgba[i + 3] = 255;
            }
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, source);
    return image;
}

Image TestWindow::Pixels() const {
    // Wine shows a presented frame a little later, through its own thread and the X server.
    Image last = ScreenPixels();
    for (int tries = 0; tries < 30; ++tries) {
        Sleep(100);
        Image now = ScreenPixels();
        if (now.rgba == last.rgba) break;
        last = std::move(now);
    }
    return last;
}
