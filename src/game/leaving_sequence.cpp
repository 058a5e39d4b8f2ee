#include "game/leaving_sequence.h"

#include "game/numbers.h"

namespace quimbra {

LeavingSequence::Outcome LeavingSequence::run() {
    // Only an explicit Yes leaves: a box closed any other way keeps the game.
    if (dialogs_.messageBox("Vuoi veramente lasciarmi  ?", boxes::yesNoQuestionDefaultNo,
                            "Uscire dal programma") != Answer::yes) {
        return Outcome::stayed;
    }
    dialogs_.messageBox("Ciao a presto. Ore " + numberToText(state_.secondsLeft), boxes::okOnly,
                        "Data " + platform_.currentDate());
    keepRecord();
    end_.endProgram();
    return Outcome::ended;
}

void LeavingSequence::keepRecord() {
    const double record = textToNumber(controls_.lblpunti.caption);
    const double score = textToNumber(controls_.lblScore.caption);
    if (!(score > record)) {
        return;
    }
    if (!recordFailure_.empty()) {
        // The record label is empty, so any score of 1 or more gets here.
        dialogs_.messageBox(
            "Non posso registrare il record: all'inizio della partita non sono "
            "riuscito a " +
            recordFailure_ + ".");
        return;
    }
    state_.recordLine = controls_.lblScore.caption;
    // Another game may have registered a record since this one started: the
    // comparison is made again with what is on disk at the moment of writing.
    const auto beats = [score](const std::string& onDisk) { return score > textToNumber(onDisk); };
    // Games that end together write one after the other: the child sees
    // that this one is recording while it waits for its turn.
    const auto waiting = [this] { platform_.showBusy(recordingText); };
    const records::WriteResult written = dialogs_.holding([&] {
        return records_.writeRecord(state_.recordsDir, state_.recordLine,
                                    controls_.lblnome1.caption, beats, waiting);
    });
    using Written = records::WriteResult::Outcome;
    switch (written.outcome) {
        case Written::written:
            dialogs_.messageBox("Ok ho registrato il tuo record, C A M P I O N E");
            break;
        case Written::notARecord:
            break;  // as if the record had never been beaten
        case Written::unsure:
            dialogs_.messageBox(
                "Ho registrato il tuo record, ma il disco non ha confermato di averlo "
                "conservato: potrebbe andare perso se il computer si spegne adesso.\n" +
                written.error);
            break;
        case Written::failed:
        case Written::pending:
            dialogs_.messageBox("Non sono riuscito a registrare il tuo record.\n" + written.error);
            break;
    }
}

}  // namespace quimbra
