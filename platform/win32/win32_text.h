// The game's texts are UTF-8; Windows' wide functions take UTF-16.
#pragma once

#include <string>

std::wstring Utf16(const std::string& utf8);
