#pragma once
// ANSI texts of the program as the wide texts the engine takes (system code page).
#include <windows.h>

#include <string>

namespace qelapp {

std::wstring Widen(const char* text);

} // namespace qelapp
