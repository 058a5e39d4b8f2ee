"""A private desktop for one end-to-end case.

Starts its own X server (Xvfb), D-Bus session and accessibility bus, starts
the game in it, types and clicks into it through XTest (xdotool) and reads it
back through the accessibility tree (AT-SPI), as a screen reader would. Every
process started here is ended by its id when the case ends, also on failure.
"""

import ctypes
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

SCREEN = "1280x1024x24"
AT_SPI_BUS_LAUNCHER_PATHS = (
    "/usr/libexec/at-spi-bus-launcher",
    "/usr/lib/at-spi2-core/at-spi-bus-launcher",
)

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_driver():
    # If the driver itself is killed (by CTest's timeout), nothing is left behind.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


class Failure(Exception):
    """The game did not do what the case expected."""


class TimedOut(Failure):
    pass


def wait_for(what, probe, timeout=10.0, interval=0.1):
    """Polls probe() until it returns something truthy; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Failure:
            raise
        except Exception as error:  # the tree can change under a walk
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error!r})" if last_error else ""
            raise TimedOut(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


def run_case(name, play, timeout):
    """Runs one case within timeout seconds; prints its verdict, returns the exit status."""
    def overran(signum, frame):
        raise TimedOut(f"the case took longer than {timeout} s")

    signal.signal(signal.SIGALRM, overran)
    signal.alarm(timeout)
    started = time.monotonic()
    try:
        play()
    except Failure as failure:
        print(f"FAILED {name}: {failure}")
        return 1
    finally:
        signal.alarm(0)
    print(f"passed {name} in {time.monotonic() - started:.1f} s")
    return 0


def _read_line(fd, timeout, what):
    """Reads one line that a starting process prints on fd."""
    data = b""
    deadline = time.monotonic() + timeout
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise TimedOut(f"{what} did not start within {timeout:.0f} s")
        chunk = os.read(fd, 4096)
        if not chunk:
            raise Failure(f"{what} ended before it was ready")
        data += chunk
    return data.decode().strip()


def _children_of():
    """Maps every running pid to the pids of its children."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                fields = stat.read().rsplit(b")", 1)[1].split()
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(entry))
    return children


def _carries_tag(pid, tag):
    try:
        with open(f"/proc/{pid}/environ", "rb") as environ:
            return tag in environ.read().split(b"\0")
    except OSError:
        return False


class Desktop:
    """One X server, D-Bus session and accessibility bus, and the game in them."""

    def __init__(self, game, data_home=None, keep_dir=False):
        self.game_path = game
        self.keep_dir = keep_dir
        self.root = tempfile.mkdtemp(prefix="quimbra-e2e-")
        self.data_home = data_home or os.path.join(self.root, "data")
        os.makedirs(self.data_home, exist_ok=True)
        self.processes = []  # (what, Popen) in the order started
        self.game = None
        self.logs = []
        # Every process of this desktop inherits this tag, so that one a bus
        # started for us on its own is still found and ended.
        self.tag = f"QUIMBRA_E2E_DESKTOP={os.path.basename(self.root)}"
        self.env = self._environment()

    # ---- processes -------------------------------------------------------

    def _environment(self):
        env = dict(os.environ)
        for var in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                    "AT_SPI_BUS_ADDRESS", "SESSION_MANAGER", "XAUTHORITY"):
            env.pop(var, None)
        runtime = os.path.join(self.root, "runtime")
        os.makedirs(runtime, mode=0o700)
        for var, sub in (("XDG_CONFIG_HOME", "config"), ("XDG_CACHE_HOME", "cache")):
            env[var] = os.path.join(self.root, sub)
        env["XDG_RUNTIME_DIR"] = runtime
        env["XDG_DATA_HOME"] = self.data_home
        env["QT_QPA_PLATFORM"] = "xcb"
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_ACCESSIBILITY"] = "1"
        env.setdefault("LANG", "C.UTF-8")
        name, value = self.tag.split("=", 1)
        env[name] = value
        return env

    def _log(self, what):
        path = os.path.join(self.root, f"{what}.log")
        self.logs.append((what, path))
        return open(path, "wb")

    def _spawn(self, what, argv, pass_fds=()):
        with self._log(what) as log:
            process = subprocess.Popen(argv, env=self.env, stdin=subprocess.DEVNULL,
                                       stdout=log, stderr=subprocess.STDOUT,
                                       pass_fds=pass_fds, preexec_fn=_die_with_driver)
        self.processes.append((what, process))
        return process

    def _spawn_printing(self, what, argv_with_fd, timeout=15.0):
        """Starts a process that prints one line (its address) on a pipe when ready."""
        read_end, write_end = os.pipe()
        try:
            process = self._spawn(what, argv_with_fd(write_end), pass_fds=(write_end,))
            os.close(write_end)
            write_end = -1
            return process, _read_line(read_end, timeout, what)
        finally:
            os.close(read_end)
            if write_end >= 0:
                os.close(write_end)

    def start(self):
        for tool, package in (("Xvfb", "xvfb"), ("dbus-daemon", "dbus"),
                              ("dbus-send", "dbus"), ("xdotool", "xdotool")):
            if shutil.which(tool) is None:
                raise Failure(f"{tool} is missing: install {package}")
        _, number = self._spawn_printing(
            "xvfb", lambda fd: ["Xvfb", "-displayfd", str(fd), "-screen", "0", SCREEN,
                                "-nolisten", "tcp", "-noreset"])
        self.env["DISPLAY"] = f":{number}"
        _, address = self._spawn_printing(
            "dbus", lambda fd: ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                f"--print-address={fd}"])
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        launcher = next((p for p in AT_SPI_BUS_LAUNCHER_PATHS if os.path.exists(p)), None)
        if launcher is None:
            raise Failure("at-spi-bus-launcher not found: install at-spi2-core")
        self._spawn("at-spi-bus", [launcher, "--launch-immediately"])
        wait_for("the accessibility bus", self._a11y_bus_up, timeout=15)
        # libatspi in this process finds the bus through these.
        for var in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS"):
            os.environ[var] = self.env[var]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        return self

    def _a11y_bus_up(self):
        reply = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
             "string:org.a11y.Bus"], env=self.env, capture_output=True, text=True, timeout=5)
        return "boolean true" in reply.stdout

    def start_game(self):
        if self.game is not None and self.game.poll() is None:
            raise Failure("the game is already running")
        self.game = self._spawn("quimbra", [self.game_path])
        return self.game

    def wait_game_exit(self, timeout=15.0):
        try:
            return self.game.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TimedOut(f"the game did not end within {timeout:.0f} s") from None

    def game_log(self):
        for what, path in reversed(self.logs):
            if what == "quimbra":
                with open(path, "rb") as log:
                    return log.read().decode(errors="replace")
        return ""

    def _ours(self):
        """Every live process of this desktop: those started and their descendants."""
        children = _children_of()
        found = []
        todo = [p.pid for _, p in self.processes if p.poll() is None]
        while todo:
            pid = todo.pop()
            if pid not in found:
                found.append(pid)
                todo.extend(children.get(pid, []))
        tag = self.tag.encode()
        for pid in (p for kids in children.values() for p in kids):
            if pid not in found and pid != os.getpid() and _carries_tag(pid, tag):
                found.append(pid)
        return found

    def stop(self):
        """Ends the game, the buses and the X server by process id, newest first."""
        pids = self._ours()
        for pid in reversed(pids):
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 5
        for _, process in self.processes:
            try:
                process.wait(timeout=max(0.1, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                pass
        for pid in self._ours() + pids:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        for _, process in self.processes:
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
        self.processes.clear()

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.__exit__(None, None, None)
            raise

    def __exit__(self, kind, error, trace):
        self.stop()
        if kind is not None:
            for what, path in self.logs:
                with open(path, "rb") as log:
                    text = log.read().decode(errors="replace").strip()
                if text:
                    print(f"---- {what} output ----\n{text[-6000:]}")
        if not self.keep_dir:
            shutil.rmtree(self.root, ignore_errors=True)
        return False

    # ---- synthetic input -------------------------------------------------

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                                text=True, timeout=10)
        if result.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    def keys(self, *names):
        """Presses keys (X key names, e.g. Return, Tab, alt+x) on the focused window."""
        for name in names:
            self.xdotool("key", "--delay", "60", name)
            time.sleep(0.1)

    def type_text(self, text):
        # A letter the keymap lacks ("è") is typed by mapping a spare key for
        # it and mapping it back after half the delay: a game slowed by a
        # busy machine must have read the key before then.
        self.xdotool("type", "--delay", "60" if text.isascii() else "400", text)

    def click(self, x, y):
        # --sync would wait for ever for a pointer already on the spot.
        if not self.xdotool("getmouselocation", "--shell").startswith(f"X={x}\nY={y}\n"):
            self.xdotool("mousemove", "--sync", str(x), str(y))
        time.sleep(0.1)
        self.xdotool("click", "1")

    def focus_window_at(self, extents):
        """Gives the X input focus to the game's window with these extents (x, y, w, h)."""
        ids = self.xdotool("search", "--onlyvisible", "--pid", str(self.game.pid)).split()
        for wid in ids:
            shell = self.xdotool("getwindowgeometry", "--shell", wid)
            geometry = dict(line.split("=", 1) for line in shell.split())
            box = tuple(int(geometry[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
            if box[2:] == tuple(extents[2:]) and box[:2] == tuple(extents[:2]):
                self.xdotool("windowfocus", "--sync", wid)
                return wid
        raise Failure(f"no X window of the game at {extents}")
