#include "records/code_page.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace quimbra::records {
namespace {

struct Conversion {
    const char* utf8;
    const char* bytes;
};

// Writing: UTF-8 becomes Windows-1252, "?" for what the code page cannot hold
// and for every byte of invalid UTF-8.
TEST(CodePage, EncodesToWindows1252) {
    const Conversion cases[] = {
        {"Anna", "Anna"},
        {"\xC3\xA8", "\xE8"},              // è
        {"Niccol\xC3\xB2", "Niccol\xF2"},  // ò
        {"\xE2\x82\xAC", "\x80"},          // €
        {"\xC5\xA0\xC5\x93", "\x8A\x9C"},  // Š œ
        {"\xE2\x80\x9C"
         "a"
         "\xE2\x80\x9D",
         "\x93"
         "a"
         "\x94"},                      // “a”
        {"\xC4\x81", "?"},             // ā: not in the code page
        {"\xF0\x9F\x98\x80", "?"},     // an emoji
        {"\xC3", "?"},                 // cut short
        {"\xC0\xAF", "??"},            // overlong
        {"\xED\xA0\x80", "???"},       // a surrogate
        {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
        {"a\xFF"
         "b",
         "a?b"},
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(utf8ToWindows1252(c.utf8), c.bytes) << c.utf8;
    }
}

// Reading: Windows-1252 becomes UTF-8; undefined bytes and NUL become U+FFFD.
TEST(CodePage, DecodesFromWindows1252) {
    const Conversion cases[] = {
        {"12\r\n", "12\r\n"},
        {"\xC3\xA8", "\xE8"},
        {"\xC3\xBF", "\xFF"},
        {"\xE2\x82\xAC", "\x80"},
        {"\xC5\xB8", "\x9F"},  // Ÿ
        {"\xEF\xBF\xBD"
         "\xEF\xBF\xBD"
         "\xEF\xBF\xBD"
         "\xEF\xBF\xBD"
         "\xEF\xBF\xBD",
         "\x81\x8D\x8F\x90\x9D"},
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(windows1252ToUtf8(c.bytes), c.utf8) << c.utf8;
    }
    EXPECT_EQ(windows1252ToUtf8(std::string("1\0"
                                            "2",
                                            3)),
              "1\xEF\xBF\xBD"
              "2");
}

// Every byte the code page defines survives a read and a new write unchanged.
TEST(CodePage, DefinedBytesRoundTrip) {
    int checked = 0;
    for (int b = 1; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            continue;
        }
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(byte)), byte) << "byte " << b;
        ++checked;
    }
    EXPECT_EQ(checked, 250);
}

// One line: every control character becomes a blank, everything else stays.
TEST(CodePage, OneLineBlanksControlCharacters) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {"An\r\nna\t", "An  na "},
        {"a\x7F"
         "b",
         "a b"},
        {"a\xC2\x85"
         "b",
         "a b"},                                     // NEL
        {"\xC3\xA8\xC2\xA0x", "\xC3\xA8\xC2\xA0x"},  // è and a no-break space stay
        {std::string("a\0b", 3), "a b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(oneLine(c.input), c.expected) << c.input;
    }
}

#ifndef _WIN32
// One conversion with glibc's iconv; "" when it refuses the input.
std::string iconvConvert(const char* to, const char* from, std::string input) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv has no " << from << " to " << to;
        return {};
    }
    std::string output(16, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) {
        return {};
    }
    output.resize(output.size() - outLeft);
    return output;
}

// Every byte against an independent table, glibc's CP1252, both ways. The
// two differ only where the README says: NUL and the five undefined bytes
// read as U+FFFD (iconv keeps NUL and refuses the others).
TEST(CodePage, AgreesWithIconvForEveryByte) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE("byte " + std::to_string(b));
        const std::string byte(1, static_cast<char>(b));
        const std::string theirs = iconvConvert("UTF-8", "CP1252", byte);
        const std::string ours = windows1252ToUtf8(byte);
        if (b == 0 || theirs.empty()) {
            EXPECT_TRUE(b == 0 || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D);
            EXPECT_EQ(ours, "\xEF\xBF\xBD");
            continue;
        }
        EXPECT_EQ(ours, theirs);
        EXPECT_EQ(utf8ToWindows1252(theirs), byte);
        EXPECT_EQ(iconvConvert("CP1252", "UTF-8", ours), byte);
    }
}
#endif

}  // namespace
}  // namespace quimbra::records
