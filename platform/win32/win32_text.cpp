#include "platform/win32/win32_text.h"

#include <cstdio>

#include "platform/win32/windows_api.h"

std::wstring Utf16(const std::string& utf8) {
    if (utf8.empty()) return {};
    int size = static_cast<int>(utf8.size());
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string HresultText(const char* call, long result) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed with HRESULT 0x%08lX", call,
                  static_cast<unsigned long>(result));
    return text;
}
