#pragma once
// What the voice reads to a pupil who reads with difficulty: the game's own
// texts, with every number in words, every fraction as Italian says it and
// every unit and symbol spelled, so that the speech engine has nothing left
// to guess (engines read "2/3" as a date and "cm" as two letters).

#include <string>
#include <string_view>

#include "game/controls.h"

namespace quimbra {

// "zero", "ventuno", "trentotto", "centotré", "milleduecento", "meno tre".
std::string numberInWords(long long value);

// "un mezzo", "due terzi", "tre quarti", "undici dodicesimi"; a denominator
// below 2 has no Italian name and is read "quattro fratto uno".
std::string fractionInWords(long long numerator, long long denominator);

// Any text the game shows, as a teacher would read it aloud: numbers in
// words ("007" is "sette"), "N/D" as a fraction, "cm 12" as "dodici
// centimetri", a clock "00:14:03" as minutes and seconds, letters spaced out
// for emphasis ("C A M P I O N E") as their word, runs of "!" as one, line
// breaks as pauses, and a quoted file path left to the screen.
std::string spokenText(std::string_view shown);

// The question now on the board, from its labels.
std::string spokenQuestion(const Controls& controls);

// The verdict on the board: "Esatto, è incredibile!" or "Sbagliato, la
// risposta era trentasei."; empty while the question is unanswered.
std::string spokenVerdict(const Controls& controls);

// "Tempo restante: quattordici minuti e tre secondi."
std::string spokenTimeLeft(const Controls& controls);

}  // namespace quimbra
