"""A private X desktop with a window manager, and Windows programs in it under Wine.

Windows programs are not on the accessibility bus, so they are read through
their window titles, screenshots and the files they leave in the Wine prefix.
Every process started here is ended when the desktop goes, also on failure.
"""

import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from desktop import Desktop, Failure, TimedOut, run_case, wait_for  # noqa: E402,F401

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


class WineDesktop(Desktop):
    """Xvfb and openbox (Wine's windows take keys reliably only with a window
    manager), and a Wine prefix of the caller's."""

    def __init__(self, prefix, keep_dir=False):
        super().__init__(game=None, keep_dir=keep_dir)
        self.prefix = os.path.abspath(prefix)
        self.env.update({
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            # No Mono or Gecko offers, and no copies of the installers'
            # shortcuts in the Linux desktop's menu.
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            "LANG": "it_IT.UTF-8",
            "LC_ALL": "it_IT.UTF-8",
        })

    def start(self):
        for tool, package in (("Xvfb", "xvfb"), ("openbox", "openbox"),
                              ("setxkbmap", "x11-xkb-utils"),
                              ("xdotool", "xdotool"), ("import", "imagemagick")):
            if shutil.which(tool) is None:
                raise Failure(f"{tool} is missing: install {package}")
        if not os.path.exists(WINE):
            raise Failure("Wine is missing: install wine64")
        _, number = self._spawn_printing(
            "xvfb", lambda fd: ["Xvfb", "-displayfd", str(fd), "-screen", "0", "1280x1024x24",
                                "-nolisten", "tcp", "-noreset"])
        self.env["DISPLAY"] = f":{number}"
        # An Italian keyboard, as in the classroom: "ò" has a key of its own,
        # so typing it needs no key remapped behind Wine's back.
        subprocess.run(["setxkbmap", "-layout", "it"], env=self.env, check=True, timeout=10)
        self._spawn("openbox", ["openbox", "--sm-disable"])
        wait_for("the window manager", self._window_manager_up, timeout=15)
        return self

    def _window_manager_up(self):
        result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                capture_output=True, text=True, timeout=5)
        return "window id" in result.stdout

    def stop(self):
        super().stop()
        # The Wine server of this prefix outlives its last program for a while.
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=30)

    # ---- Windows programs --------------------------------------------------

    def run_windows(self, what, *argv):
        """Starts a Windows program under Wine; returns its process."""
        return self._spawn(what, [WINE, *argv])

    def wine_path(self, windows_path):
        """The Linux path of a path in the prefix's drive C:."""
        drive, rest = windows_path.split(":", 1)
        if drive.upper() != "C":
            raise Failure(f"not on drive C: {windows_path}")
        return os.path.join(self.prefix, "drive_c", *rest.strip("\\").split("\\"))

    # ---- windows by title --------------------------------------------------

    def windows_where(self, accepts):
        """The visible windows whose title the predicate accepts."""
        return [wid for wid in self.visible_windows() if accepts(self.title_of(wid) or "")]

    def windows_titled(self, title):
        return self.windows_where(lambda t: t == title)

    def title_of(self, wid):
        result = subprocess.run(["xdotool", "getwindowname", wid], env=self.env,
                                capture_output=True, text=True, timeout=10)
        return result.stdout.rstrip("\n") if result.returncode == 0 else None

    def wait_window(self, title, timeout=30.0):
        """Waits for a visible window with exactly this title and gives it the focus."""
        found = wait_for(f"a window titled {title!r}", lambda: self.windows_titled(title),
                         timeout=timeout)
        wid = found[-1]
        self.xdotool("windowactivate", "--sync", wid)
        time.sleep(0.3)
        return wid

    def visible_windows(self):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                                env=self.env, capture_output=True, text=True, timeout=10)
        return result.stdout.split()

    def wait_window_gone(self, wid, timeout=15.0):
        wait_for(f"window {wid} to close", lambda: wid not in self.visible_windows(),
                 timeout=timeout)

    def answer(self, title, *keys):
        """Waits for the window with this title, presses the keys in it and waits
        for it to close."""
        wid = self.wait_window(title)
        self.keys(*keys)
        self.wait_window_gone(wid)

    def screenshot(self, wid, path):
        subprocess.run(["import", "-window", wid, path], env=self.env, check=True,
                       capture_output=True, timeout=30)
