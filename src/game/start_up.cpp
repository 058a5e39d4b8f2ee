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
    // Another game may be writing its record: the child sees why the game
    // waits, and the game stands still meanwhile, as at the end.
    const auto waiting = [this] { platform_.showBusy(readingRecordText); };
    const RecordRead record = dialogs_.holding([&] {
        RecordRead read = records_.readRecord(waiting);
        platform_.hideBusy();
        return read;
    });
    if (!record.ok()) {
        // The score label is still empty; the holder's label must not keep
        // its design-time text, which would pose as a record holder.
        controls_.lblnome.caption.clear();
        dialogs_.messageBox(record.error +
                            "\n\nSi gioca lo stesso, ma il record di questa partita non potr\u00e0 "
                            "essere registrato.");
        return record.notDone;
    }
    // Exactly as read, line end included.
    controls_.lblpunti.caption = record.score;
    controls_.lblnome.caption = record.name;
    return {};
}

}  // namespace quimbra
