#pragma once
// The record files hold single-byte text in the system's code page, so that
// files written on an Italian Windows system read the same everywhere; the
// rest of the program works in UTF-8. Windows-1252 stands in for the system
// code page where there is none (Linux and the like).

#include <string>
#include <string_view>

namespace quimbra::records {

// A character the code page cannot hold, and every byte that is not part of
// valid UTF-8, becomes "?".
std::string utf8ToWindows1252(std::string_view utf8);
// NUL and the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become U+FFFD: valid UTF-8 without NUL, fit for a C string.
std::string windows1252ToUtf8(std::string_view bytes);
// The ANSI code page on Windows, Windows-1252 elsewhere; the same rules.
std::string toSystemCodePage(std::string_view utf8);
std::string fromSystemCodePage(std::string_view bytes);

// Every control character (C0, DEL, C1) becomes a blank, so a pasted text
// cannot break the one-line format.
std::string oneLine(std::string_view utf8);

#ifdef _WIN32
// For the wide-character API; invalid sequences become U+FFFD.
std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);
#endif

bool isValidUtf8(std::string_view text);

}  // namespace quimbra::records
