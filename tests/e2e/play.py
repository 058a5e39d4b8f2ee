#!/usr/bin/python3
"""Plays Quimbra in a real X server, the way a child would, one case per run.

The window is read only through its accessibility tree, as a screen reader
reads it: every control is found by its Italian accessible name or
description, never by its position in the tree.

    play.py --game PATH --case NAME     (play.py --list names the cases)
"""

import argparse
import csv
import io
import os
import re
import signal
import sys

# The helpers beside this file, without leaving compiled copies in the sources.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from desktop import Desktop, Failure, TimedOut, run_case, wait_for  # noqa: E402
from reader import NameChanges, Reader  # noqa: E402

# What each value label means, as its accessible description says it.
HEIGHT = "altezza del rettangolo, in centimetri"
NUMERATOR = "numeratore della frazione"
DENOMINATOR = "denominatore della frazione"
VERDICT = "esito della risposta"
RIGHT = "risposte esatte"
WRONG = "risposte errate"
TOTAL = "risposte totali"
CLOCK = "tempo restante"
RECORD_SCORE = "punteggio del record"
RECORD_HOLDER = "nome di chi detiene il record"
PLAYER = "nome del giocatore"
VALUE_LABELS = (HEIGHT, NUMERATOR, DENOMINATOR, VERDICT, RIGHT, WRONG, TOTAL, CLOCK,
                RECORD_SCORE, RECORD_HOLDER, PLAYER)
# Accessible names of the controls that the child uses.
ANSWER = "risposta"
NEXT = "Nuovo calcolo"
EXIT = "Esci"
NEW_GAME = "NUOVO GIOCO"
YES = ("Sì", "Yes")

TITLE = " " * 40 + "Gioca con le frazioni per gli alunni della II Sez.A - Buon carnevale!"
PROMPT = "Come ti chiami?"
GREETING = " vediamo se sei un vero campione  "
CONFIRMATION = "Vuoi veramente lasciarmi  ?"
FAREWELL = "Ciao a presto. Ore "
RECORD_SAVED = "Ok ho registrato il tuo record, C A M P I O N E"
RIGHT_VERDICT = "Esatto, è incredibile!!!"
WRONG_VERDICT = "Sbagliato!! "

CASE_TIMEOUT = 150  # seconds; CTest's own limit lies above it


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, read {actual!r}")


class Game:
    """The game on its private desktop, played through keys and clicks."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.reader = Reader(desktop)

    @property
    def record_dir(self):
        return os.path.join(self.desktop.data_home, "quimbra")

    def record_files(self):
        """The bytes of the score file and the name file (None for a missing one)."""
        contents = []
        for name in ("vondu.txt", "nvondu.txt"):
            try:
                with open(os.path.join(self.record_dir, name), "rb") as f:
                    contents.append(f.read())
            except (FileNotFoundError, NotADirectoryError):
                contents.append(None)
        return tuple(contents)

    # ---- reading ---------------------------------------------------------

    def main(self, timeout=15):
        return self.reader.window_with("the game window",
                                       lambda top: top.find(description=HEIGHT), timeout)

    def board(self, main=None):
        """What the game window shows now: every value, the answer box, the focus."""
        main = main or self.main()
        seen = {desc: main.one(description=desc).name for desc in VALUE_LABELS}
        box = main.one(role="text", name=ANSWER)
        seen["answer"] = box.obj.queryText().getText(0, -1)
        seen["focus"] = tuple(n.name for n in main.focused() if n.role in ("text", "push button"))
        seen["next enabled"] = "enabled" in main.one(role="push button", name=NEXT).states
        seen["title"] = main.name
        seen["active"] = "active" in main.states
        return seen

    def steady_board(self):
        """The board once it has stopped changing (the clock aside, which always does)."""
        def read():
            seen = self.board()
            seen.pop(CLOCK)
            return seen
        self.reader.settle(read)
        return self.board()

    def wait_board(self, what, predicate, timeout=10):
        def probe():
            board = self.board()
            return board if predicate(board) else None
        return wait_for(what, probe, timeout=timeout)

    def question(self, board):
        """Height, numerator, denominator and the base they give."""
        try:
            height, num, den = (int(board[k]) for k in (HEIGHT, NUMERATOR, DENOMINATOR))
        except ValueError:
            raise Failure(f"the question is not three numbers: {board}") from None
        check(num > 0 and den > 0, f"a fraction with a zero part: {num}/{den}")
        check(height * den % num == 0, f"the base of {height} cm = {num}/{den} is not whole")
        return height, num, den, height * den // num

    def counts(self, board):
        return tuple(board[k] for k in (RIGHT, WRONG, TOTAL))

    # ---- acting ----------------------------------------------------------

    def ready(self):
        """Brings the game window to the front, as the child's click would, and reads it."""
        self.reader.activate(self.main())
        return self.steady_board()

    def answer_dialog(self, text, keys, typed=None):
        """Waits for a window saying text, focuses it, types and presses keys."""
        dialog = self.reader.dialog_saying(text)
        dialog = self.reader.activate(dialog)
        if typed is not None:
            self.type_into(dialog.one(role="text"), typed)
        self.desktop.keys(*keys)
        self.reader.gone(dialog)
        return dialog

    def type_into(self, field, text):
        """Types text into field and reads it back; a key lost by a busy machine
        (an accented letter goes through a remapped key) means one retyping."""
        def reads():
            return field.obj.queryText().getText(0, -1) == text
        self.desktop.type_text(text)
        try:
            wait_for(f"{text!r} in the field", reads, timeout=5)
        except TimedOut:
            self.desktop.keys("ctrl+a", "BackSpace")
            self.desktop.type_text(text)
            wait_for(f"{text!r} in the field, typed again", reads, timeout=5)

    def start(self, name):
        """Starts the game, types the name and closes the greeting."""
        self.desktop.start_game()
        self.enter_name(name)

    def enter_name(self, name):
        """Answers the name prompt: types the name and presses Enter, or Escape for None."""
        if name is None:
            self.answer_dialog(PROMPT, ["Escape"])
            name = ""
        else:
            self.answer_dialog(PROMPT, ["Return"], typed=name)
        greeting = self.reader.dialog_saying(GREETING)
        check(" " + name + GREETING in greeting.texts(),
              f"the greeting for {name!r} reads {greeting.texts()}")
        self.answer_dialog(GREETING, ["Return"])

    def type_answer(self, text):
        board = self.board()
        check(board["focus"] == (ANSWER,), f"the focus is not in the answer box: {board}")
        self.desktop.type_text(text)
        wait_for(f"{text!r} in the answer box", lambda: self.board()["answer"] == text)
        self.desktop.keys("Return")
        return self.wait_board("a verdict", lambda b: b[VERDICT] != "")

    def next_question(self, keys):
        self.desktop.keys(*keys)
        return self.wait_board(
            "a new question",
            lambda b: (b[VERDICT], b["answer"], b["next enabled"], b["focus"])
            == ("", "", False, (ANSWER,)))

    def dismiss(self, top):
        """Focuses a message box and closes it with Enter."""
        self.reader.activate(top)
        self.desktop.keys("Return")
        self.reader.gone(top)

    def answer_right(self):
        board = self.ready()
        *_, base = self.question(board)
        return self.type_answer(str(base))

    def leave(self, confirm):
        """Alt+X; Yes (Tab to it, then Enter) or No (Enter on the default)."""
        hours, minutes, seconds = (int(part) for part in self.ready()[CLOCK].split(":"))
        self.desktop.keys("alt+x")
        box = self.reader.activate(self.reader.dialog_saying(CONFIRMATION))
        check_equal(box.name, "Uscire dal programma", "the confirmation's title")
        check_equal(tuple(n.name for n in box.focused() if n.role == "push button"),
                    ("No",), "the confirmation's default button")
        if confirm:
            for _ in range(4):
                focus = [n.name for n in self.reader.window_with(
                    "the confirmation", lambda t: t.name == box.name).focused()
                    if n.role == "push button"]
                if focus and focus[0] in YES:
                    break
                self.desktop.keys("Tab")
            else:
                raise Failure("Tab never reached the confirmation's Yes button")
        self.desktop.keys("Return")
        self.reader.gone(box)
        if confirm:
            farewell = self.reader.activate(self.reader.dialog_saying(FAREWELL))
            check(re.fullmatch(r"Data .*\d.*", farewell.name),
                  f"the farewell's title is {farewell.name!r}")
            # It says the seconds left, which the clock showed a moment ago.
            said = [t for t in farewell.texts() if t.startswith(FAREWELL)]
            left = re.fullmatch(re.escape(FAREWELL) + r"(\d+)", said[0] if said else "")
            check(left, f"the farewell reads {farewell.texts()}")
            shown = hours * 3600 + minutes * 60 + seconds
            check(shown - 30 <= int(left.group(1)) <= shown,
                  f"the farewell says {left.group(1)} s left; the clock showed {shown} s")
            self.desktop.keys("Return")
            self.reader.gone(farewell)


# ---- the cases ---------------------------------------------------------------

def case_first_run(game):
    """First run: both record files are created empty and the board starts at zero."""
    check_equal(game.record_files(), (None, None), "record files before the first run")
    game.start("Giulia")
    board = game.ready()
    check_equal(game.record_files(), (b"", b""), "record files after start-up")
    check_equal((board[RECORD_SCORE], board[RECORD_HOLDER]), ("", ""), "the record shown")
    check_equal(board[PLAYER], "Giulia", "the player's name")
    check_equal(game.counts(board), ("0", "0", "0"), "the score panel")
    check_equal(board["title"], TITLE, "the window title")
    check_equal((board[VERDICT], board["answer"], board["next enabled"]), ("", "", False),
                "a fresh question")
    *_, base = game.question(board)
    # A hidden label (the one holding the expected answer) tells a screen reader nothing.
    hidden = [n for n in game.main().find(role="label") if "showing" not in n.states and n.name]
    check_equal(hidden, [], f"hidden labels that speak (the answer is {base})")
    # The clock runs down from fifteen minutes; a loaded machine may take a
    # few seconds to get here, so only its start is checked, not the second.
    first = board[CLOCK]
    check("00:14:30" <= first <= "00:15:00", f"the clock shows {first!r}")
    later = game.wait_board("the clock to run", lambda b: b[CLOCK] < first, timeout=5)
    check(later[CLOCK].startswith("00:14:"), f"the clock then shows {later[CLOCK]!r}")


def case_answers(game):
    """A wrong answer, then a right one: verdicts and the three counts, read back."""
    game.start("Giulia")
    board = game.ready()
    *_, base = game.question(board)
    wrong = base + 1 if base < 9999 else base - 1
    board = game.type_answer(str(wrong))
    check_equal(board[VERDICT], WRONG_VERDICT + str(base), "the verdict on a wrong answer")
    check_equal(game.counts(board), ("0", "1", "1"), "the score panel after a wrong answer")
    check_equal((board["focus"], board["next enabled"]), ((NEXT,), True),
                "the focus after a judged answer")
    check_equal(board["answer"], str(wrong), "the answer box after the verdict")

    # Enter now asks the next question: the same answer is not judged twice.
    board = game.next_question(["Return"])
    check_equal(game.counts(board), ("0", "1", "1"), "the score panel on a new question")
    *_, base = game.question(board)
    announcements = NameChanges()
    board = game.type_answer(str(base))
    check_equal(board[VERDICT], RIGHT_VERDICT, "the verdict on a right answer")
    check_equal(game.counts(board), ("1", "1", "2"), "the score panel after a right answer")
    # A screen reader is told of the new verdict and score, not only able to read them.
    announcements.wait_for(VERDICT, RIGHT_VERDICT)
    announcements.wait_for(RIGHT, "1")

    # Alt+N asks the next question too; Tab skips the disabled button.
    board = game.next_question(["alt+n"])
    check_equal(game.counts(board), ("1", "1", "2"), "the score panel on a new question")
    game.desktop.keys("Tab")
    game.wait_board("the focus on the exit button", lambda b: b["focus"] == (EXIT,))
    game.desktop.keys("Tab")
    game.wait_board("the focus back in the answer box", lambda b: b["focus"] == (ANSWER,))
    # Letters never reach the box; the digits do.
    game.desktop.type_text("a-1")
    board = game.wait_board("the digit in the answer box", lambda b: b["answer"] != "")
    check_equal(board["answer"], "1", "the answer box after typing a-1")


def case_pad(game):
    """A pupil's whole game by touch on a whiteboard: every answer, Invio and No tapped."""
    game.start("Giulia")
    wid = game.desktop.focus_window_at(game.reader.activate(game.main()).box)
    game.desktop.xdotool("windowmove", wid, "0", "0", "windowsize", wid, "1200", "700")

    def tap(keys, what, done):  # each key of the pad found by its accessible name
        for key in keys:
            found = wait_for(key, lambda: game.main().find(role="push button", name=key))
            game.desktop.click(*found[0].centre())
        return game.wait_board(what, done)

    *_, base = game.question(game.steady_board())
    wrong = str(base + 1 if base < 9999 else base - 1)
    tap(["9", "Cancella", *wrong], f"{wrong} in the answer box", lambda b: b["answer"] == wrong)
    tap(["Invio"], "the wrong verdict, the focus on the button",
        lambda b: (b[VERDICT], b["focus"]) == (WRONG_VERDICT + str(base), (NEXT,)))
    *_, base = game.question(tap(["Invio"], "a new question",
                                 lambda b: (b[VERDICT], b["focus"]) == ("", (ANSWER,))))
    # A double tap on Invio, 120 ms apart: judged once, and the verdict stays.
    right = lambda b: (b[VERDICT], game.counts(b)) == (RIGHT_VERDICT, ("1", "1", "2"))
    tap(str(base), f"{base} in the answer box", lambda b: b["answer"] == str(base))
    x, y = game.main().one(role="push button", name="Invio").centre()
    game.desktop.xdotool("mousemove", "--sync", str(x), str(y))
    game.desktop.xdotool("click", "--repeat", "2", "--delay", "120", "1")
    game.wait_board("the right verdict and the counts", right)
    check(right(game.steady_board()), "a bounce of Invio asked the next question")

    # Exit, then No, by touch: the focus stays on Exit, yet the pad types into
    # the answer box, and its Invio asks the next question, never to leave.
    game.desktop.click(*game.main().one(role="push button", name=EXIT).centre())
    box = game.reader.dialog_saying(CONFIRMATION)
    game.desktop.click(*box.one(role="push button", name="No").centre())
    game.reader.gone(box)
    game.reader.activate(game.main())  # as the whiteboard's desktop does
    game.wait_board("the focus on Exit", lambda b: b["focus"] == (EXIT,))
    typed = str(base)[:-1] + "7"
    tap(["Cancella", "7"], f"{typed} in the answer box",
        lambda b: (b["answer"], b["focus"]) == (typed, (ANSWER,)))
    tap(["Invio"], "a new question", lambda b: (b[VERDICT], b["answer"]) == ("", ""))
    check(not [t for t in game.reader.windows() if CONFIRMATION in t.texts()],
          "Invio asked to leave")

    # NUOVO GIOCO: the new game's window as the teacher left it, pad included,
    # and the name tapped on the prompt's letter pad.
    size = game.main().box[2:]
    game.desktop.click(*game.main().one(role="menu item", name=NEW_GAME).centre())
    prompt = game.reader.dialog_saying(PROMPT)
    for key in [*"NICCOL", "ò", "OK"]:
        game.desktop.click(*prompt.one(role="push button", name=key).centre())
    game.reader.gone(prompt)
    greeting = game.reader.dialog_saying(GREETING)
    check(" Niccolò" + GREETING in greeting.texts(), f"the greeting reads {greeting.texts()}")
    game.desktop.click(*greeting.find(role="push button")[0].centre())
    game.reader.gone(greeting)
    check_equal(game.ready()["title"], TITLE, "the new game's title")
    check_equal(game.main().box[2:], size, "the new game's window size")
    tap(["3"], "3 in the new game's answer box", lambda b: b["answer"] == "3")


def case_leave_no(game):
    """Alt+X then Enter answers No: the game goes on unchanged."""
    game.start("Giulia")
    board = game.ready()
    *_, base = game.question(board)
    game.type_answer(str(base + 1 if base < 9999 else base - 1))
    before = game.steady_board()
    game.leave(confirm=False)
    check(game.desktop.game.poll() is None, "the game ended after No")
    after = game.steady_board()
    for key in before:
        if key not in (CLOCK, "active", "focus"):
            check_equal(after[key], before[key], f"{key} after No")
    wait_for("the clock to go on", lambda: game.board()[CLOCK] < before[CLOCK], timeout=5)
    game.ready()
    game.desktop.keys("Return")  # still the game's own Enter: the next question
    board = game.wait_board("a new question", lambda b: b[VERDICT] == "")
    check_equal(game.counts(board), game.counts(before), "the score panel")


def case_leave_yes_no_record(game):
    """Yes with a score of 0 and an empty record: exit code 0, nothing written."""
    game.start("Giulia")
    game.ready()
    dir_before = sorted(os.listdir(game.record_dir))
    stamps = [os.stat(os.path.join(game.record_dir, f)).st_mtime_ns for f in dir_before]
    game.leave(confirm=True)
    check_equal(game.desktop.wait_game_exit(), 0, "the exit code")
    check_equal(game.record_files(), (b"", b""), "the record files")
    check_equal(sorted(os.listdir(game.record_dir)), sorted(dir_before + ["registro.csv"]),
                "the record directory, but for the class sheet")
    check_equal([os.stat(os.path.join(game.record_dir, f)).st_mtime_ns for f in dir_before],
                stamps, "the record files' times")


def case_new_record(game):
    """A score above the record rewrites both files; an equal score writes nothing."""
    game.start("Giulia")
    board = game.answer_right()
    check_equal(game.counts(board), ("1", "0", "1"), "the score panel")
    game.leave(confirm=True)
    game.answer_dialog(RECORD_SAVED, ["Return"])
    check_equal(game.desktop.wait_game_exit(), 0, "the exit code")
    check_equal(game.record_files(), (b"1\r\n", b"Giulia\r\n"), "the record files")

    # The next game shows the record, and an equal score leaves it as it is.
    game.start("Marco")
    board = game.ready()
    check_equal((board[RECORD_SCORE].strip(), board[RECORD_HOLDER].strip()), ("1", "Giulia"),
                "the record shown")
    game.answer_right()
    game.leave(confirm=True)
    check_equal(game.desktop.wait_game_exit(), 0, "the exit code")
    check_equal(game.record_files(), (b"1\r\n", b"Giulia\r\n"), "the record files")
    # The class sheet: a header, then both games, the first a record, on this computer.
    with open(os.path.join(game.record_dir, "registro.csv"), encoding="utf-8-sig", newline="") as f:
        rows = [row[2:6] + row[7:] for row in csv.reader(f, delimiter=";")]
    check_equal(rows, [["Nome", "Esatte", "Sbagliate", "Totale", "Record", "Computer"],
                       ["Giulia", "1", "0", "1", "sì", os.uname().nodename],
                       ["Marco", "1", "0", "1", "", os.uname().nodename]], "the class sheet")


def case_class_sheet(game):
    """A class of five games: one whole row each on the class sheet, as a spreadsheet reads it."""
    pupils = [("Niccolò", 1, "sì"), ("=1+1", 0, ""), ("Mattè", 2, "sì"), ("Anna Maria", 0, ""),
              ("Zoë", 1, "")]
    for name, right, record in pupils:
        game.start(name)
        for i in range(right):
            if i:
                game.next_question(["Return"])
            game.answer_right()
        game.leave(confirm=True)
        if record:
            game.answer_dialog(RECORD_SAVED, ["Return"])
        check_equal(game.desktop.wait_game_exit(), 0, f"the exit code of {name}'s game")
    with open(os.path.join(game.record_dir, "registro.csv"), "rb") as f:
        raw = f.read()
    check(raw.startswith(b"\xef\xbb\xbf") and raw.endswith(b"\r\n"), f"the sheet's ends: {raw!r}")
    check(b"\r\n'=1+1;" not in raw and b";'=1+1;" in raw, f"the formula guard: {raw!r}")
    rows = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline=""), delimiter=";"))
    check_equal(rows[0], ["Data", "Ora", "Nome", "Esatte", "Sbagliate", "Totale", "Tempo di gioco",
                          "Record", "Computer"], "the header")
    check_equal([(r[2], r[3], r[4], r[5], r[7], r[8]) for r in rows[1:]],
                [("'=1+1" if name == "=1+1" else name, str(right), "0", str(right), record,
                  os.uname().nodename) for name, right, record in pupils], "the five rows")
    for row in rows[1:]:
        check(re.fullmatch(r"\d{4}-\d\d-\d\d", row[0]) and re.fullmatch(r"\d\d:\d\d", row[1])
              and re.fullmatch(r"0:00:[0-5]\d", row[6]), f"the date, time and time played: {row}")
case_class_sheet.timeout = 290

def case_new_game(game):
    """NUOVO GIOCO asks the name again, zeroes the counters and writes no record."""
    game.start("Giulia")
    game.answer_right()
    # Let this game's clock run well down, so that the new game's clock shows
    # it started again rather than went on, however slowly the tree is read.
    game.wait_board("the clock to pass 00:14:40", lambda b: b[CLOCK] <= "00:14:40", timeout=40)
    main = game.reader.activate(game.main())
    menu = main.one(role="menu item", name=NEW_GAME)
    game.desktop.click(*menu.centre())
    # A cancelled name is the empty name.
    game.enter_name(None)
    board = game.ready()
    check_equal(game.counts(board), ("0", "0", "0"), "the score panel of the new game")
    check_equal((board[PLAYER], board[VERDICT]), ("", ""), "the name and verdict")
    check("00:14:40" < board[CLOCK] <= "00:15:00",
          f"the clock of the new game shows {board[CLOCK]!r}")
    check_equal(game.record_files(), (b"", b""), "the record files after a new game")
    check(game.desktop.game.poll() is None, "the game ended")
    board = game.answer_right()
    check_equal(game.counts(board), ("1", "0", "1"), "the score panel")


def case_unusable_record_dir(game):
    """A record directory that cannot be used: a message, and the game still plays."""
    os.makedirs(game.desktop.data_home, exist_ok=True)
    with open(game.record_dir, "wb") as blocker:
        blocker.write(b"not a directory\n")
    game.start("Giulia")
    message = game.reader.window_with(
        "a message about the record files",
        lambda top: not top.find(description=HEIGHT) and top.role in ("alert", "dialog"))
    check(any("quimbra" in t or "vondu" in t for t in message.texts()),
          f"the message names no record file: {message.texts()}")
    game.dismiss(message)
    board = game.answer_right()
    check_equal((board[VERDICT], game.counts(board)), (RIGHT_VERDICT, ("1", "0", "1")),
                "the game after the message")
    # Leaving with a record that cannot be written: a message, never a lost file.
    game.leave(confirm=True)
    said = []
    while game.desktop.game.poll() is None and len(said) < 12:
        try:
            top = game.reader.window_with("a message or the end of the game",
                                          lambda t: t.role in ("alert", "dialog"), timeout=10)
        except Failure:
            if game.desktop.game.poll() is not None:
                break
            raise
        said += top.texts()
        game.dismiss(top)
    check(said, "nothing tells the child that the record could not be kept")
    check(RECORD_SAVED not in said, f"a record that was not written is reported saved: {said}")
    check_equal(game.desktop.wait_game_exit(), 0, "the exit code")
    with open(game.record_dir, "rb") as blocker:
        check_equal(blocker.read(), b"not a directory\n", "the file in the record's place")


CASES = {name[len("case_"):]: f for name, f in globals().items() if name.startswith("case_")}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--game", help="path of the quimbra binary")
    parser.add_argument("--case", choices=sorted(CASES))
    parser.add_argument("--list", action="store_true", help="name the cases")
    parser.add_argument("--keep", action="store_true", help="keep the temporary directory")
    args = parser.parse_args()
    if args.list:
        print("\n".join(sorted(CASES)))
        return 0
    if not args.game or not args.case:
        parser.error("--game and --case are needed")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

    def play():
        with Desktop(os.path.abspath(args.game), keep_dir=args.keep) as desktop:
            CASES[args.case](Game(desktop))

    return run_case(args.case, play, getattr(CASES[args.case], "timeout", CASE_TIMEOUT))

if __name__ == "__main__":
    sys.exit(main())
