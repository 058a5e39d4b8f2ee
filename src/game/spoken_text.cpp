#include "game/spoken_text.h"

#include <array>
#include <cstddef>
#include <string>

#include "game/numbers.h"

namespace quimbra {
namespace {

constexpr std::array<const char*, 20> smallNumbers = {
    "zero",        "uno",      "due",    "tre",         "quattro",  "cinque",    "sei",
    "sette",       "otto",     "nove",   "dieci",       "undici",   "dodici",    "tredici",
    "quattordici", "quindici", "sedici", "diciassette", "diciotto", "diciannove"};
constexpr std::array<const char*, 10> tens = {"",         "",          "venti",    "trenta",
                                              "quaranta", "cinquanta", "sessanta", "settanta",
                                              "ottanta",  "novanta"};
// The ordinals a fraction's denominator takes up to ten; above, "-esimo".
constexpr std::array<const char*, 11> ordinals = {
    "", "", "mezzo", "terzo", "quarto", "quinto", "sesto", "settimo", "ottavo", "nono", "decimo"};

// 1 to 999, without the final accent.
std::string belowThousand(int n) {
    std::string words;
    const int hundreds = n / 100;
    const int rest = n % 100;
    if (hundreds > 0) {
        words = std::string(hundreds == 1 ? "" : smallNumbers[static_cast<std::size_t>(hundreds)]) +
                "cento";
    }
    if (rest == 0) {
        return words;
    }
    std::string restWords;
    if (rest < 20) {
        restWords = smallNumbers[static_cast<std::size_t>(rest)];
    } else {
        restWords = tens[static_cast<std::size_t>(rest / 10)];
        const int units = rest % 10;
        // "ventuno", "trentotto": the tens lose their vowel before a vowel.
        if (units == 1 || units == 8) {
            restWords.pop_back();
        }
        if (units > 0) {
            restWords += smallNumbers[static_cast<std::size_t>(units)];
        }
    }
    // "centotto", "centottanta".
    if (hundreds > 0 && restWords.starts_with("ott")) {
        words.pop_back();
    }
    return words + restWords;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

std::string measure(long long n, const char* one, const char* many) {
    return n == 1 ? std::string("un ") + one : numberInWords(n) + " " + many;
}

// "quattordici minuti e tre secondi"; hours only when there are some.
std::string duration(int hours, int minutes, int seconds) {
    std::string parts[3];
    int count = 0;
    if (hours > 0) {
        parts[count++] = hours == 1 ? "un'ora" : numberInWords(hours) + " ore";
    }
    if (minutes > 0) {
        parts[count++] = measure(minutes, "minuto", "minuti");
    }
    if (seconds > 0 || count == 0) {
        parts[count++] = measure(seconds, "secondo", "secondi");
    }
    std::string words = parts[0];
    for (int i = 1; i < count; ++i) {
        words += (i == count - 1 ? " e " : ", ") + parts[i];
    }
    return words;
}

// What a symbol is called; nullptr for characters the voice reads or pauses on.
const char* symbolWords(char c) {
    switch (c) {
        case '%':
            return " per cento ";
        case '+':
            return " pi\u00f9 ";
        case '=':
            return " uguale ";
        case '&':
            return " e ";
        case '*':
        case 'x':
            return " per ";
        default:
            return nullptr;
    }
}

bool isPunctuation(char c) {
    return c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?' || c == '\'';
}

// Blanks collapsed, none before punctuation, none at the ends.
std::string tidy(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == ' ') {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
            continue;
        }
        if (isPunctuation(c) && c != '\'' && !out.empty() && out.back() == ' ') {
            out.pop_back();
        }
        out += c;
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::string read() {
        while (i_ < text_.size()) {
            step();
        }
        return tidy(out_);
    }

  private:
    char at(std::size_t k) const { return k < text_.size() ? text_[k] : '\0'; }
    bool wordStart() const { return i_ == 0 || !isAsciiLetter(text_[i_ - 1]); }

    std::size_t digitsEnd(std::size_t k) const {
        while (isDigit(at(k))) {
            ++k;
        }
        return k;
    }

    long long valueOf(std::size_t from, std::size_t to) const {
        return static_cast<long long>(textToNumber(text_.substr(from, to - from)));
    }

    void step() {
        const char c = text_[i_];
        if (isDigit(c)) {
            number();
        } else if (c == 'c' && at(i_ + 1) == 'm' && wordStart() && !isAsciiLetter(at(i_ + 2))) {
            centimetres();
        } else if (isUpper(c) && wordStart() && spacedLetters()) {
        } else if (c == '"') {
            quoted();
        } else if (c == '!' || c == '?') {
            out_ += c;
            while (at(i_) == c) {
                ++i_;
            }
        } else if (c == '\n' || c == '\r') {
            pause();
        } else if (c == '-' && isDigit(at(i_ + 1)) && (i_ == 0 || text_[i_ - 1] == ' ')) {
            out_ += "meno ";
            ++i_;
        } else if (const char* words = symbolWords(c);
                   words != nullptr && (c != 'x' || standsAlone())) {
            out_ += words;
            ++i_;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            // Letters (UTF-8 included), blanks and the pauses are read; any
            // other mark becomes a pause of a blank.
            out_ += byte >= 0x80 || isAsciiLetter(c) || isPunctuation(c) ? c : ' ';
            ++i_;
        }
    }

    // A lone "x" between blanks, before a number, is a times sign.
    bool standsAlone() const {
        return i_ > 0 && text_[i_ - 1] == ' ' && at(i_ + 1) == ' ' && isDigit(at(i_ + 2));
    }

    void number() {
        const std::size_t end = digitsEnd(i_);
        // A clock: 00:14:03 (or its design-time 00.00.00).
        const char sep = at(end);
        if (end - i_ == 2 && (sep == ':' || sep == '.') && digitsEnd(end + 1) == end + 3 &&
            at(end + 3) == sep && digitsEnd(end + 4) == end + 6) {
            out_ += duration(static_cast<int>(valueOf(i_, end)),
                             static_cast<int>(valueOf(end + 1, end + 3)),
                             static_cast<int>(valueOf(end + 4, end + 6)));
            i_ = end + 6;
            return;
        }
        if (end - i_ > 15) {
            // Too long to be a number anyone says: its digits one by one.
            for (std::size_t k = i_; k < end; ++k) {
                out_ += std::string(" ") + smallNumbers[static_cast<std::size_t>(text_[k] - '0')];
            }
            out_ += ' ';
            i_ = end;
            return;
        }
        const long long value = valueOf(i_, end);
        if (sep == '/' && isDigit(at(end + 1))) {
            const std::size_t denominatorEnd = digitsEnd(end + 1);
            if (denominatorEnd - end <= 15) {
                out_ += fractionInWords(value, valueOf(end + 1, denominatorEnd));
                i_ = denominatorEnd;
                return;
            }
        }
        std::size_t k = end;
        while (at(k) == ' ') {
            ++k;
        }
        if (at(k) == 'c' && at(k + 1) == 'm' && !isAsciiLetter(at(k + 2))) {
            out_ += measure(value, "centimetro", "centimetri");
            i_ = k + 2;
            return;
        }
        out_ += numberInWords(value);
        i_ = end;
    }

    // "cm 12", as the question writes it, is said "dodici centimetri".
    void centimetres() {
        std::size_t k = i_ + 2;
        while (at(k) == ' ') {
            ++k;
        }
        const std::size_t end = digitsEnd(k);
        if (end > k && end - k <= 15 && at(end) != '/') {
            out_ += measure(valueOf(k, end), "centimetro", "centimetri");
            i_ = end;
            return;
        }
        out_ += "centimetri";
        i_ += 2;
    }

    // "C A M P I O N E", at least three capitals a blank apart, is a word.
    bool spacedLetters() {
        std::size_t k = i_;
        std::string word;
        while (isUpper(at(k)) && !isAsciiLetter(at(k + 1))) {
            word += static_cast<char>(at(k) - 'A' + 'a');
            if (at(k + 1) != ' ' || !isUpper(at(k + 2))) {
                ++k;
                break;
            }
            k += 2;
        }
        if (word.size() < 3) {
            return false;
        }
        out_ += word;
        i_ = k;
        return true;
    }

    // A file's path in quotes is for the teacher's eyes: the voice skips it.
    void quoted() {
        const std::size_t close = text_.find('"', i_ + 1);
        if (close != std::string_view::npos) {
            const std::string_view inner = text_.substr(i_ + 1, close - i_ - 1);
            if (inner.find_first_of("/\\") != std::string_view::npos) {
                i_ = close + 1;
                return;
            }
        }
        out_ += ' ';
        ++i_;
    }

    // A line break ends what came before as a sentence.
    void pause() {
        while (!out_.empty() && out_.back() == ' ') {
            out_.pop_back();
        }
        if (!out_.empty() && !isPunctuation(out_.back())) {
            out_ += '.';
        }
        out_ += ' ';
        ++i_;
    }

    std::string_view text_;
    std::size_t i_ = 0;
    std::string out_;
};

std::string wordsOf(unsigned long long value) {
    if (value < 20) {
        return smallNumbers[static_cast<std::size_t>(value)];
    }
    std::string words;
    unsigned long long rest = value;
    if (const unsigned long long billions = rest / 1000000000ULL; billions > 0) {
        words += billions == 1 ? "un miliardo " : wordsOf(billions) + " miliardi ";
        rest %= 1000000000ULL;
    }
    if (const unsigned long long millions = rest / 1000000ULL; millions > 0) {
        words += millions == 1 ? "un milione " : wordsOf(millions) + " milioni ";
        rest %= 1000000ULL;
    }
    const int thousands = static_cast<int>(rest / 1000);
    const int units = static_cast<int>(rest % 1000);
    if (thousands == 1) {
        words += "mille";
    } else if (thousands > 1) {
        words += belowThousand(thousands) + "mila";
    }
    if (units > 0) {
        words += belowThousand(units);
    }
    while (!words.empty() && words.back() == ' ') {
        words.pop_back();
    }
    // "ventitré", "centotré": tre ending a longer word takes its accent.
    if (words.ends_with("tre") && words.size() > 3 && words[words.size() - 4] != ' ') {
        words.replace(words.size() - 3, 3, "tr\u00e9");
    }
    return words;
}

}  // namespace

std::string numberInWords(long long value) {
    // The magnitude is taken unsigned, so the most negative value has one too.
    return value < 0 ? "meno " + wordsOf(0ULL - static_cast<unsigned long long>(value))
                     : wordsOf(static_cast<unsigned long long>(value));
}

std::string fractionInWords(long long numerator, long long denominator) {
    if (denominator < 2) {
        return numberInWords(numerator) + " fratto " + numberInWords(denominator);
    }
    std::string ordinal;
    if (denominator <= 10) {
        ordinal = ordinals[static_cast<std::size_t>(denominator)];
    } else {
        ordinal = numberInWords(denominator);
        constexpr std::string_view accented = "tr\u00e9";
        if (ordinal.ends_with(accented)) {
            ordinal.replace(ordinal.size() - accented.size(), accented.size(),
                            "tre");              // "ventitreesimo"
        } else if (!ordinal.ends_with("sei")) {  // "ventiseiesimo"
            ordinal.pop_back();
        }
        ordinal += "esimo";
    }
    if (numerator == 1) {
        return "un " + ordinal;
    }
    ordinal.back() = 'i';
    return numberInWords(numerator) + " " + ordinal;
}

std::string spokenText(std::string_view shown) {
    return Reader(shown).read();
}

std::string spokenQuestion(const Controls& controls) {
    if (controls.Lblmisura.caption.empty()) {
        return {};  // no question posed yet
    }
    return spokenText(controls.Label9.caption + " " + controls.Lblmisura.caption + " " +
                      controls.Label2.caption + controls.lblnum2.caption + "/" +
                      controls.lbldeno.caption + controls.Label10.caption);
}

std::string spokenVerdict(const Controls& controls) {
    const std::string& shown = controls.lblMessage.caption;
    const std::size_t digit = shown.find_first_of("0123456789");
    if (shown.starts_with("Sbagliato") && digit != std::string::npos) {
        return "Sbagliato, la risposta era " +
               numberInWords(static_cast<long long>(textToNumber(shown.substr(digit)))) + ".";
    }
    return spokenText(shown);
}

std::string spokenTimeLeft(const Controls& controls) {
    return spokenText(controls.Label11.caption + ": " + controls.lblconto.caption + ".");
}

}  // namespace quimbra
