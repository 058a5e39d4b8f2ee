#include "game/leaving_sequence.h"

#include <algorithm>

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
    const bool beaten = score > record;
    const bool writing = beaten && recordFailure_.empty();
    BeatsRecord beats;
    if (writing) {
        state_.recordLine = controls_.lblScore.caption;
        // Another game may have registered a record since this one started:
        // the comparison is made again with what is on disk at the moment of
        // writing.
        beats = [score](const std::string& onDisk) { return score > textToNumber(onDisk); };
    }
    // Games that end together write one after the other: the child sees
    // what this one is writing while it waits for its turn.
    const auto waiting = [this, writing] {
        platform_.showBusy(writing ? recordingText : sheetWritingText);
    };
    // Nothing of the game runs while the files are being written: the write
    // counts as an open dialog, so no tick or click reaches the game.
    const GameEnded ended = dialogs_.holding([&] {
        return records_.endGame(state_.recordLine, controls_.lblnome1.caption, beats, sheetRow(),
                                waiting);
    });
    const RecordOutcome outcome = ended.record;
    const bool sameFailure =
        (outcome == RecordOutcome::failed || outcome == RecordOutcome::pending) &&
        ended.recordError == ended.sheetError;
    if (writing && sameFailure) {
        // The folder could not be had at all: one reason, told once.
        dialogs_.messageBox(
            "Non sono riuscito a registrare il tuo record n\u00e9 la partita nel registro della "
            "classe.\n" +
            ended.sheetError);
        return;
    }
    if (writing) {
        tellRecord(ended);
    }
    std::string said;
    if (beaten && !recordFailure_.empty()) {
        // The record label is empty, so any score of 1 or more gets here.
        said = "Non posso registrare il record: all'inizio della partita non sono riuscito a " +
               recordFailure_ + ".";
    }
    if (!ended.sheetError.empty()) {
        // Beside the record's failure, in the same box: a share that is
        // still away is one message.
        said +=
            (said.empty() ? "" : "\n") +
            ("Non ho potuto scrivere la partita nel registro della classe: " + ended.sheetError);
    }
    if (!said.empty()) {
        dialogs_.messageBox(said);
    }
}

void LeavingSequence::tellRecord(const GameEnded& ended) {
    using Written = RecordOutcome;
    switch (ended.record) {
        case Written::written:
            dialogs_.messageBox("Ok ho registrato il tuo record, C A M P I O N E");
            break;
        case Written::notARecord:
            break;  // as if the record had never been beaten
        case Written::unsure:
            dialogs_.messageBox(
                "Ho registrato il tuo record, ma il disco non ha confermato di averlo "
                "conservato: potrebbe andare perso se il computer si spegne adesso.\n" +
                ended.recordError);
            break;
        case Written::failed:
        case Written::pending:
            dialogs_.messageBox("Non sono riuscito a registrare il tuo record.\n" +
                                ended.recordError);
            break;
    }
}

// The game as the class sheet keeps it. Time played is the fifteen minutes
// less what the clock has left (nothing left once the time is up).
SheetRow LeavingSequence::sheetRow() {
    const LocalDateTime now = platform_.localDateTime();
    const int played = std::clamp(900 - static_cast<int>(state_.secondsLeft), 0, 900);
    SheetRow row;
    row.date = now.date;
    row.time = now.time;
    row.name = controls_.lblnome1.caption;
    row.right = state_.correct;
    row.wrong = state_.wrong;
    row.total = state_.correct + state_.wrong;
    row.played = formatPattern(played / 60, "00") + ":" + formatPattern(played % 60, "00");
    row.computer = platform_.computerName();
    return row;
}

}  // namespace quimbra
