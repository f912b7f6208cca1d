#pragma once
// ANSI texts of the program as the wide texts the engine takes (system code page), and the way back for
// file names: an ANSI name is only good when it names the very file the wide name names.
#include <windows.h>

#include <string>

namespace qelapp {

std::wstring Widen(const char* text);

// The text in the system code page when every character survives the way there and back unchanged
// (no '?' stand-in, no best-fit look-alike); empty otherwise.
std::string NarrowExactly(const wchar_t* text);

// An ANSI path that names the file or folder at widePath: the path itself when the code page holds
// it, else its short (8.3) form; empty when neither exists (no short names on that volume, or the
// file is not there).
std::string AnsiPathOf(const wchar_t* widePath);

} // namespace qelapp
