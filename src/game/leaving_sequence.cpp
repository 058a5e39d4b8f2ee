#include "game/leaving_sequence.h"

#include "game/numbers.h"

namespace quimbra {

LeavingSequence::Outcome LeavingSequence::run() {
    // Only an explicit Yes leaves: a box closed any other way keeps the game.
    if (dialogs_.messageBox("Vuoi veramente lasciarmi  ?", boxes::yesNoQuestionDefaultNo,
                            "Uscire dal programma") != boxes::yes) {
        return Outcome::stayed;
    }
    dialogs_.messageBox("Ciao a presto. Ore " + numberToText(state_.secondsLeft), boxes::okOnly,
                        "Data " + platform_.currentDate());
    keepRecord();
    end_.endProgram();
    return Outcome::ended;
}

void LeavingSequence::keepRecord() {
    if (!recordRead_) {
        dialogs_.messageBox(
            "Non posso registrare il record: all'inizio della partita non sono riuscito a "
            "leggere i file del record.");
        return;
    }
    const double record = textToNumber(controls_.lblpunti.caption);
    const double score = textToNumber(controls_.lblScore.caption);
    if (!(score > record)) {
        return;
    }
    state_.recordLine = controls_.lblScore.caption;
    const records::Status written =
        records_.writeRecord(state_.windowsDir, state_.recordLine, controls_.lblnome1.caption);
    if (!written.ok()) {
        dialogs_.messageBox("Non sono riuscito a registrare il tuo record.\n" + written.error);
        return;
    }
    dialogs_.messageBox("Ok ho registrato il tuo record, C A M P I O N E");
}

}  // namespace quimbra
