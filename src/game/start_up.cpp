#include "game/start_up.h"

#include "game/leaving_sequence.h"
#include "game/numbers.h"

namespace quimbra {

std::string StartUp::run() {
    random_.reseed(platform_.timeOfDay());
    random_.reseed(platform_.timeOfDay());
    state_.correct = 0;
    state_.wrong = 0;

    // The clock waits until the child has been greeted.
    controls_.timer1Enabled = false;
    const std::string name = dialogs_.inputBox("Come ti chiami?");
    dialogs_.messageBox(" " + name + " vediamo se sei un vero campione  ");
    controls_.lblnome1.caption = name;

    countdown_.StartCountdown();
    state_.correct = 0;
    state_.wrong = 0;

    const std::string recordFailure = showRecord();

    state_.secondsLeft = toInt16(state_.seconds + 900.0).value_or(900);
    controls_.lblconto.caption = countdown_.clockText();
    return recordFailure;
}

std::string StartUp::showRecord() {
    state_.recordsDir = records_.GetSystemDir();
    // Another game may be writing its record: the child sees why the game
    // waits, and the game stands still meanwhile, as at the end.
    const auto waiting = [this] { platform_.showBusy(readingRecordText); };
    const records::RecordRead read = dialogs_.holding([&] {
        records::RecordRead record = records_.readRecord(state_.recordsDir, waiting);
        platform_.hideBusy();
        return record;
    });
    if (!read.ok()) {
        return recordUnavailable(read.status);
    }
    // Exactly as read, line end included.
    controls_.lblpunti.caption = read.score;
    controls_.lblnome.caption = read.name;
    return {};
}

std::string StartUp::recordUnavailable(const records::Status& failure) {
    // The score label is still empty; the holder's label must not keep its
    // design-time text, which would pose as a record holder.
    controls_.lblnome.caption.clear();
    dialogs_.messageBox(failure.error +
                        "\n\nSi gioca lo stesso, ma il record di questa partita non potr\u00e0 "
                        "essere registrato.");
    switch (failure.action) {
        case records::Action::createFolder:
            return "creare la cartella dei record";
        // The technician's folder, which the game never creates.
        case records::Action::reachFolder:
            return "raggiungere la cartella dei record";
        case records::Action::createFile:
            return "creare i file del record";
        case records::Action::lock:
            return "riservare i file del record";
        case records::Action::read:
            return "leggere i file del record";
        // A write that a crash interrupted, finished or undone at the start.
        case records::Action::write:
            return "scrivere i file del record";
        case records::Action::replace:
            return "sostituire i file del record";
        case records::Action::remove:
            return "eliminare un file del record";
        case records::Action::sync:
            return "confermare la scrittura dei file del record sul disco";
    }
    return "leggere i file del record";
}

}  // namespace quimbra
