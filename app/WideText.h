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

// Whether path can be handed on as the name of one file: not empty and free of the wildcards '?' and
// '*'. An ANSI text puts '?' for every letter the code page lacks, and a file search takes such a name
// as a pattern that also matches other files and folders.
bool NamesOneFile(const char* path);

} // namespace qelapp
