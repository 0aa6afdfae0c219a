// Texts for and from Windows: the game's texts are UTF-8, Windows' wide functions take UTF-16,
// and a failed call says why with an HRESULT.
#pragma once

#include <string>

std::wstring Utf16(const std::string& utf8);
// "CALL failed with HRESULT 0x8876086C"; `result` is an HRESULT.
std::string HresultText(const char* call, long result);
