#include "records/code_page.h"

#include <algorithm>
#include <array>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quimbra::records {
namespace {

constexpr char32_t replacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; 0 marks the bytes the code page leaves undefined.
constexpr std::array<char32_t, 32> high = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c) {
    constexpr std::uint32_t leads[] = {0x00, 0xC0, 0xE0, 0xF0};
    const auto v = static_cast<std::uint32_t>(c);
    const int more = v < 0x80 ? 0 : v < 0x800 ? 1 : v < 0x10000 ? 2 : 3;
    out.push_back(static_cast<char>(leads[more] | (v >> (6 * more))));
    for (int k = more - 1; k >= 0; --k) {
        out.push_back(static_cast<char>(0x80 | ((v >> (6 * k)) & 0x3F)));
    }
}

// Decodes the UTF-8 sequence at text[i]; returns its length, or 0 when the
// bytes there are not valid UTF-8 (overlong forms and surrogates included).
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead < 0xC2 || lead > 0xF4 || text.size() - i < length) {
        return 0;
    }
    std::uint32_t value = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    constexpr std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < minimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    c = static_cast<char32_t>(value);
    return length;
}

char toWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(static_cast<unsigned char>(c));
    }
    const auto* at = std::find(high.begin(), high.end(), c);
    return at == high.end() ? '?' : static_cast<char>(0x80 + (at - high.begin()));
}

#ifdef _WIN32
// Both conversions give 0 on failure (empty text included): an empty result.
std::wstring toWide(std::string_view text, UINT codePage) {
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), n);
    return out;
}

std::string fromWide(std::wstring_view text, UINT codePage) {
    // The ANSI code page may be UTF-8 itself (a Windows option); UTF-8 takes
    // neither flags nor a default character, and the call fails with them.
    const bool utf8 = (codePage == CP_ACP ? GetACP() : codePage) == CP_UTF8;
    // A character outside the BMP is two UTF-16 units, which WideCharToMultiByte
    // would make two "?": it is one character, so one "?", as on other systems.
    // No ANSI code page but UTF-8 holds such a character.
    std::wstring units;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = !utf8 && text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        units.push_back(pair ? L'?' : text[i]);
        i += pair ? 1 : 0;
    }
    const int size = static_cast<int>(units.size());
    // No best-fit mapping: "ā" becomes "?", not quietly "a".
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8 ? nullptr : "?";
    const int n =
        WideCharToMultiByte(codePage, flags, units.data(), size, nullptr, 0, fallback, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, units.data(), size, out.data(), n, fallback, nullptr);
    return out;
}
#endif

}  // namespace

std::string utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = decodeUtf8(utf8, i, c);
        out.push_back(length == 0 ? '?' : toWindows1252(c));
        i += length == 0 ? 1 : length;
    }
    return out;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const char32_t c = b >= 0x80 && b < 0xA0 ? high[b - 0x80u] : b;
        appendUtf8(out, c == 0 ? replacement : c);  // NUL or undefined
    }
    return out;
}

std::string oneLine(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        // C2 80..C2 9F: U+0080..U+009F, the C1 controls (NEL among them).
        const bool c1 = b == 0xC2 && next >= 0x80 && next < 0xA0;
        out.push_back(b < 0x20 || b == 0x7F || c1 ? ' ' : utf8[i]);
        i += c1 ? 1 : 0;
    }
    return out;
}

#ifdef _WIN32

std::wstring utf8ToWide(std::string_view utf8) {
    return toWide(utf8, CP_UTF8);
}

std::string wideToUtf8(std::wstring_view wide) {
    return fromWide(wide, CP_UTF8);
}

std::string toSystemCodePage(std::string_view utf8) {
    // Invalid UTF-8 becomes U+FFFD on the way in and then "?" on the way out.
    return fromWide(utf8ToWide(utf8), CP_ACP);
}

std::string fromSystemCodePage(std::string_view bytes) {
    std::wstring wide = toWide(bytes, CP_ACP);
    // NUL and the C1 controls (what Windows makes of the bytes Windows-1252
    // leaves undefined) as on other systems.
    std::replace_if(
        wide.begin(), wide.end(), [](wchar_t c) { return c == L'\0' || (c >= 0x80 && c < 0xA0); },
        static_cast<wchar_t>(replacement));
    return fromWide(wide, CP_UTF8);
}

#else

std::string toSystemCodePage(std::string_view utf8) {
    return utf8ToWindows1252(utf8);
}
std::string fromSystemCodePage(std::string_view bytes) {
    return windows1252ToUtf8(bytes);
}

#endif

bool isValidUtf8(std::string_view text) {
    char32_t c = 0;
    for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
        length = decodeUtf8(text, i, c);
        if (length == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace quimbra::records
