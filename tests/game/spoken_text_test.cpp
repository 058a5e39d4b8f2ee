#include "game/spoken_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/question_generator.h"
#include "game/random_source.h"

namespace quimbra {
namespace {

// What a voice would have to guess at: a digit or any mark other than letters,
// blanks and the pauses of a sentence.
bool leavesNothingToGuess(const std::string& text) {
    for (const char c : text) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            static_cast<unsigned char>(c) >= 0x80;
        if (!letter && std::string(" .,;:!?'").find(c) == std::string::npos) {
            return false;
        }
    }
    return !text.empty();
}

TEST(SpokenText, NumbersAndFractionsInItalianWords) {
    const struct {
        std::string words;
        std::string expected;
    } cases[] = {
        {numberInWords(0), "zero"},
        {numberInWords(21), "ventuno"},
        {numberInWords(23), "ventitr\u00e9"},
        {numberInWords(38), "trentotto"},
        {numberInWords(103), "centotr\u00e9"},
        {numberInWords(108), "centotto"},
        {numberInWords(180), "centottanta"},
        {numberInWords(1200), "milleduecento"},
        {numberInWords(1621), "milleseicentoventuno"},
        {numberInWords(32767), "trentaduemilasettecentosessantasette"},
        {numberInWords(2001003), "due milioni milletr\u00e9"},
        {numberInWords(-3), "meno tre"},
        {fractionInWords(1, 2), "un mezzo"},
        {fractionInWords(2, 3), "due terzi"},
        {fractionInWords(1, 4), "un quarto"},
        {fractionInWords(3, 5), "tre quinti"},
        {fractionInWords(5, 6), "cinque sesti"},
        {fractionInWords(6, 7), "sei settimi"},
        {fractionInWords(7, 8), "sette ottavi"},
        {fractionInWords(8, 9), "otto noni"},
        {fractionInWords(7, 10), "sette decimi"},
        {fractionInWords(11, 12), "undici dodicesimi"},
        {fractionInWords(1, 23), "un ventitreesimo"},
        {fractionInWords(4, 1), "quattro fratto uno"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.words, c.expected);
    }
}

// The game's other texts: the verdicts, the clock, the dialogs.
TEST(SpokenText, TheGamesTextsAsATeacherReadsThem) {
    Controls wrong;
    wrong.lblMessage.caption = "Sbagliato!! 36";
    Controls right;
    right.lblMessage.caption = "Esatto, \u00e8 incredibile!!!";
    Controls clock;
    clock.lblconto.caption = "00:14:01";
    const struct {
        std::string spoken;
        std::string expected;
    } cases[] = {
        {spokenVerdict(wrong), "Sbagliato, la risposta era trentasei."},
        {spokenVerdict(right), "Esatto, \u00e8 incredibile!"},
        {spokenVerdict(Controls{}), ""},
        {spokenTimeLeft(clock), "Tempo restante: quattordici minuti e un secondo."},
        {spokenText(" Luca vediamo se sei un vero campione  "),
         "Luca vediamo se sei un vero campione"},
        {spokenText("Ciao a presto. Ore 800"), "Ciao a presto. Ore ottocento"},
        {spokenText("Ok ho registrato il tuo record, C A M P I O N E"),
         "Ok ho registrato il tuo record, campione"},
        {spokenText("Non sono riuscito a registrare il tuo record.\nImpossibile creare il file "
                    "\"C:\\Dati\\vondu.txt\": il disco \u00e8 pieno."),
         "Non sono riuscito a registrare il tuo record. Impossibile creare il file: il disco "
         "\u00e8 "
         "pieno."},
        {spokenText("errore di sistema numero 1224\n\nSi gioca lo stesso"),
         "errore di sistema numero milleduecentoventiquattro. Si gioca lo stesso"},
        {spokenText("12 cm x 3 = 36 cm, 50% -4"),
         "dodici centimetri per tre uguale trentasei centimetri, cinquanta per cento meno quattro"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.spoken, c.expected);
    }
}

// Every kind of question the generator poses, as it poses them: one exact
// sentence per kind, and hundreds of questions with nothing left to guess.
TEST(SpokenText, EveryQuestionKindIsSpokenInWords) {
    const std::string start = "L'altezza di un rettangolo misura ";
    const std::string end = " della base. Calcolate la dimensione della base.";
    const char* expected[8] = {
        "zero centimetri ed \u00e8 tre quarti",
        "otto centimetri ed \u00e8 due terzi",
        "otto centimetri ed \u00e8 due quinti",
        "dieci centimetri ed \u00e8 cinque sesti",
        "ventiquattro centimetri ed \u00e8 sei settimi",
        "novantotto centimetri ed \u00e8 sette ottavi",
        "centoventotto centimetri ed \u00e8 otto noni",
        "centosessantadue centimetri ed \u00e8 nove decimi",
    };
    std::set<std::string> seen[8];
    MixingRandom random(20261209);
    GameState state;
    Controls controls;
    QuestionGenerator generator(state, controls, random);
    for (int question = 0; question < 800; ++question) {
        generator.poseQuestion();
        const std::string spoken = spokenQuestion(controls);
        EXPECT_TRUE(leavesNothingToGuess(spoken)) << spoken;
        ASSERT_TRUE(spoken.starts_with(start) && spoken.ends_with(end)) << spoken;
        seen[state.kind - 1].insert(
            spoken.substr(start.size(), spoken.size() - start.size() - end.size()));
    }
    for (int kind = 1; kind <= 8; ++kind) {
        EXPECT_TRUE(seen[kind - 1].contains(expected[kind - 1])) << "kind " << kind;
    }
}

}  // namespace
}  // namespace quimbra
