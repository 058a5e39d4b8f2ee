#pragma once
// The record files hold single-byte text in the system's code page, so that
// files written on an Italian Windows system read the same everywhere; the
// rest of the program works in UTF-8. Windows-1252 stands in for the system
// code page where there is none (Linux and the like).

#include <string>
#include <string_view>

namespace quimbra::records {

// UTF-8 to Windows-1252. A character the code page cannot hold, and every
// byte that is not part of valid UTF-8, becomes "?".
std::string utf8ToWindows1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) and NUL become U+FFFD, so the result is always
// valid UTF-8 without NUL and can go anywhere a C string goes.
std::string windows1252ToUtf8(std::string_view bytes);

// The system's code page: the ANSI code page on Windows, Windows-1252
// elsewhere. Same rules as above for what cannot be converted.
std::string toSystemCodePage(std::string_view utf8);
std::string fromSystemCodePage(std::string_view bytes);

// The text as one line: every control character (C0, DEL, C1: CR, LF, tab,
// NUL...) becomes a blank, so a pasted text cannot break the one-line format.
std::string oneLine(std::string_view utf8);

#ifdef _WIN32
// UTF-8 to the UTF-16 of the wide-character API (file names); invalid
// sequences become U+FFFD.
std::wstring utf8ToWide(std::string_view utf8);
// And back, for what the system gives as wide text (names, paths, dates).
std::string wideToUtf8(std::wstring_view wide);
#endif

// Whether text is valid UTF-8 throughout.
bool isValidUtf8(std::string_view text);

}  // namespace quimbra::records
